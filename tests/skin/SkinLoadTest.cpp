// Reading skin descriptions and their images: files, the embedded skin,
// the record lines, and the messages a load stops on.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "AideFichiers.h"
#include "AideImages.h"
#include "SkinFields.h"
#include "SkinForm.h"
#include "SkinImages.h"
#include "SkinTestOutils.h"

namespace glissaro {
namespace {

using test::Avec;
using test::ContenuFichier;
using test::DossierSkin;
using test::EnTeteStandard;
using test::Panneau;
using Textes = std::vector<std::string>;

// ---- the embedded skin ------------------------------------------------------

TEST(DefaultSkin, TablesAndPictures) {
  Panneau panneau;
  int changements = 0;
  QObject::connect(panneau.skin, &TSkinForm::OnSkinChanged, [&] { ++changements; });
  ASSERT_TRUE(panneau.skin->LoadDefaultSkin());
  EXPECT_TRUE(panneau.dialogues.appels.empty());
  EXPECT_EQ(changements, 1);
  const TSkinForm& skin = *panneau.skin;
  EXPECT_EQ(skin.Version(), 210);
  EXPECT_TRUE(skin.HoverEnabled());
  EXPECT_EQ(panneau.fenetre->size(), QSize(364, 139));
  EXPECT_EQ(skin.MouseUpBitmap().size(), QSize(364, 139));
  EXPECT_EQ(skin.MouseDownBitmap().size(), QSize(364, 139));
  EXPECT_EQ(skin.MouseOnBitmap().size(), QSize(364, 139));
  EXPECT_EQ(skin.NumbersBitmap().size(), QSize(165, 21));
  EXPECT_EQ(skin.TextBitmap().size(), QSize(400, 60));

  const QStringList ids{"REDUIRE", "QUITTER", "PARAM", "CHARGER", "RAZ", "AIDE", "RETOUR"};
  ASSERT_EQ(skin.HotAreas().size(), 7u);
  for (int i = 0; i < ids.size(); ++i) {
    EXPECT_EQ(skin.GetHotAreaID(i), ids[i]);
    EXPECT_EQ(skin.IndexOfHotArea(ids[i]), i);
    EXPECT_FALSE(skin.HotAreas()[static_cast<std::size_t>(i)].IsToggle);
  }
  EXPECT_EQ(skin.GetHotAreaID(7), QString());
  EXPECT_EQ(skin.GetHotAreaID(-1), QString());
  EXPECT_EQ(skin.IndexOfHotArea("raz"), -1);
  EXPECT_EQ(skin.HotAreas()[0].Hint, QString::fromUtf8("Réduire"));
  EXPECT_EQ(skin.HotAreas()[2].Hint, QString::fromUtf8("Paramètres"));
  EXPECT_EQ(skin.HotAreas()[5].Hint, "Aide");
  EXPECT_EQ(skin.HotAreas()[6].Hint, QString::fromUtf8("Magnétoscope"));
  EXPECT_EQ(skin.HotAreas()[3].Rect(), QRect(152, 105, 20, 19));

  ASSERT_EQ(skin.Displays().size(), 2u);
  const auto& titre = skin.Displays()[0];
  EXPECT_EQ(titre.ID, "TEXT_TITRE");
  EXPECT_EQ(titre.Kind, "Text");
  EXPECT_EQ(titre.Value, "Version 1.00");
  EXPECT_EQ(titre.Hint, "Titre");
  EXPECT_EQ(titre.Rect(), QRect(150, 62, 198, 19));
  const auto& compteur = skin.Displays()[1];
  EXPECT_EQ(compteur.Kind, "Number");
  EXPECT_EQ(compteur.Value, "0000");
  EXPECT_EQ(compteur.Rect(), QRect(62, 60, 61, 23));
  EXPECT_EQ(compteur.Font.family(), "Arial");
  EXPECT_EQ(compteur.Font.pointSize(), 8);
  EXPECT_EQ(skin.Charset(), 1);
  EXPECT_TRUE(skin.TrackBars().empty());

  // The window takes the mask's shape (white outside).
  const QRegion forme = panneau.fenetre->mask();
  EXPECT_FALSE(forme.isEmpty());
  const QImage& masque = skin.MaskBitmap();
  for (const QPoint p : {QPoint(0, 0), QPoint(363, 0), QPoint(182, 70), QPoint(0, 138)})
    EXPECT_EQ(forme.contains(p), masque.pixel(p) != qRgb(255, 255, 255)) << p.x() << "," << p.y();
}

TEST(DefaultSkin, EmbeddedDescriptionIsTheWindowsText) {
  test::Panneau panneau;  // makes sure the resources are registered
  QFile ressource(":/skin/SKIN.ini");
  ASSERT_TRUE(ressource.open(QIODevice::ReadOnly));
  const QByteArray octets = ressource.readAll();
  EXPECT_TRUE(octets.startsWith("[VERSION]\r\nVer=210\r\n"));
  EXPECT_TRUE(octets.contains("1=REDUIRE, 322, 5, 18, 20, R\xE9" "duire\r\n"));
  EXPECT_TRUE(octets.contains("3=PARAM, 107, 105, 19, 20, Param\xE8tres\r\n"));
  EXPECT_TRUE(octets.contains("6=AIDE, 287, 107, 20, 18,Aide \r\n"));
  EXPECT_TRUE(octets.contains("Magn\xE9toscope\r\n"));
  EXPECT_FALSE(octets.contains('\xC3'));  // no UTF-8 sequence
}

TEST(DefaultSkin, LeavesAFileSkinIniOfTheProgramFolderAlone) {
  const QString chemin = QDir(QCoreApplication::applicationDirPath()).filePath("Skin.ini");
  const bool existait = QFile::exists(chemin);
  std::string avant;
  if (existait) {
    avant = *ContenuFichier(chemin.toStdString());
  } else {
    avant = "[Version]\r\nVer=1\r\n; fichier de l'utilisateur\r\n";
    test::EcrireOctets(chemin, avant);
  }
  Panneau panneau;
  const bool charge = panneau.skin->LoadDefaultSkin();
  const auto apres = ContenuFichier(chemin.toStdString());
  if (!existait) QFile::remove(chemin);
  EXPECT_TRUE(charge);
  ASSERT_TRUE(apres.has_value());
  EXPECT_EQ(*apres, avant);
  // The user's file was not read instead of the embedded one.
  EXPECT_EQ(panneau.skin->Version(), 210);
}

TEST(DefaultSkin, ResourceImagesByUpperCasedName) {
  DialoguesScriptes dialogues;
  EXPECT_EQ(ChargerImageRessource("GlissaroMask.Bmp", dialogues).size(), QSize(364, 139));
  EXPECT_EQ(ExtensionSkin("numbers.bmpx"), "BMP");
  EXPECT_EQ(NomRessourceSkin("glissaroDown.bmp"), "GLISSARODOWN");
  EXPECT_EQ(NomRessourceSkin("a.b.c"), "A");
  const auto erreur = [&](const std::string& nom) -> std::string {
    try {
      ChargerImageRessource(nom, dialogues);
    } catch (const ErreurSkin& e) {
      return e.what();
    }
    return "aucune erreur";
  };
  EXPECT_EQ(erreur("absent.bmp"), "Ressource ABSENT non trouvée");
  // Any extension but BMP is a JPEG resource: the bitmaps are not found there.
  EXPECT_EQ(erreur("numbers.jpg"), "Ressource NUMBERS non trouvée");
  EXPECT_EQ(erreur("NUMBERS"), "Ressource NUMBERS non trouvée");
  EXPECT_TRUE(dialogues.appels.empty());
  // A GIF is announced, then looked for as a JPEG.
  EXPECT_EQ(erreur("text.gif"), "Ressource TEXT non trouvée");
  EXPECT_EQ(dialogues.Textes("message"), Textes{"No GIF support!"});
}

// ---- descriptions from files ------------------------------------------------

TEST(SkinFile, ChainedPictureDefaultsAndHover) {
  DossierSkin dossier;
  Panneau panneau;
  // Only the mask: every picture is the mask, no hover pictures.
  dossier.Description({"[Version]", "Ver=210", "[BITMAPINFO]", "MaskBitmap=mask.bmp"});
  ASSERT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_FALSE(panneau.skin->HoverEnabled());
  EXPECT_EQ(panneau.skin->MouseDownBitmap().pixel(50, 50), qRgb(0, 0, 0));
  EXPECT_EQ(panneau.skin->MouseOnBitmap().pixel(0, 0), qRgb(255, 255, 255));
  // Up and down given, no hover picture: the hover picture is the pressed one.
  dossier.Description({"[Version]", "Ver=210", "[BITMAPINFO]", "MaskBitmap=mask.bmp", "MouseUpBitmap=up.bmp",
                       "MouseDownBitmap=down.bmp"});
  ASSERT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_FALSE(panneau.skin->HoverEnabled());
  EXPECT_EQ(panneau.skin->MouseOnBitmap().pixel(50, 50), test::kEnfonce);
  // A hover picture named like the pressed one: none either.
  dossier.Description({"[Version]", "Ver=210", "[BITMAPINFO]", "MaskBitmap=mask.bmp", "MouseUpBitmap=up.bmp",
                       "MouseDownBitmap=down.bmp", "MouseOnBitmap=down.bmp"});
  ASSERT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_FALSE(panneau.skin->HoverEnabled());
  // Named differently (case counts), even for the same file: hover pictures.
  dossier.Description({"[Version]", "Ver=210", "[BITMAPINFO]", "MaskBitmap=mask.bmp", "MouseUpBitmap=up.bmp",
                       "MouseDownBitmap=down.bmp", "MouseOnBitmap=DOWN.bmp"});
  ASSERT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_TRUE(panneau.skin->HoverEnabled());
  EXPECT_TRUE(panneau.dialogues.appels.empty());
}

TEST(SkinFile, NamesMatchFilesWithoutRegardToCase) {
  DossierSkin dossier;
  test::EcrireImage(dossier.Chemin("Masque.BMP"), test::MasqueTest());
  dossier.Description({"[VERSION]", "Ver=210", "[bitmapinfo]", "maskbitmap=masque.bmp", "MouseUpBitmap=UP.bmp"});
  QFile::rename(dossier.Ini(), dossier.Chemin("SKIN.INI"));
  Panneau panneau;
  ASSERT_TRUE(panneau.skin->LoadSkinFile(dossier.Chemin("skin.ini")));
  EXPECT_TRUE(panneau.dialogues.appels.empty());
  EXPECT_EQ(panneau.skin->MouseUpBitmap().pixel(50, 50), test::kRepos);
  EXPECT_EQ(panneau.skin->Picture().pixel(50, 50), test::kRepos);
}

TEST(SkinFile, VersionWarning) {
  DossierSkin dossier;
  const std::string attendu = "Skin File is an old version.\rPlease use skin builder to update it.";
  for (const auto& [ligne, avertit] : std::vector<std::pair<std::string, bool>>{
           {"Ver=209", true}, {"Ver=", true}, {"Ver=abc", true}, {"Ver=210", false}, {"Ver=300", false}}) {
    auto lignes = EnTeteStandard();
    lignes[1] = ligne;
    dossier.Description(lignes);
    Panneau panneau;
    // The warning does not stop the load.
    EXPECT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini())) << ligne;
    EXPECT_EQ(panneau.dialogues.Textes("avertissement"), avertit ? Textes{attendu} : Textes{}) << ligne;
    EXPECT_TRUE(panneau.Erreurs().empty());
  }
  // A description without a version section is old too.
  dossier.Description({"[BITMAPINFO]", "MaskBitmap=mask.bmp"});
  Panneau panneau;
  EXPECT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_EQ(panneau.skin->Version(), 0);
  EXPECT_EQ(panneau.dialogues.Textes("avertissement"), Textes{attendu});
}

TEST(SkinFile, HotAreaRecords) {
  DossierSkin dossier;
  dossier.Description(Avec(EnTeteStandard(), {
      "[HOTAREAINFO]", "Count=9",
      R"(1=OUVRIR, 1, 2, 3, 4, "Ouvrir, puis jouer")",
      "2=T7, 0, 0, 5, 5, Bascule, TRUE",
      "3=T7B, 0, 0, 5, 5, Bascule, false",
      "4=T7C, 0, 0, 5, 5, Bascule, FALSE",
      "5=G1, 0x10, $20, x5, 5, Radio, FALSE, Vitesse",
      "6=G2, 0, 0, 5, 5, Radio, TRUE, Vitesse",
      "7=T9, 0, 0, 5, 5, Bascule, TRUE, Vitesse, encore",
      "8=H1, 0, 0, 5, 5, Aide, FALSE, Autre",
      // 9 is missing: the default line
  }));
  Panneau panneau;
  ASSERT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini()));
  ASSERT_TRUE(panneau.dialogues.appels.empty());
  const auto& zones = panneau.skin->HotAreas();
  ASSERT_EQ(zones.size(), 9u);
  EXPECT_EQ(zones[0].Hint, "Ouvrir, puis jouer");
  EXPECT_EQ(zones[0].Rect(), QRect(1, 2, 3, 4));
  EXPECT_FALSE(zones[0].IsToggle);
  // 7 fields: a toggle without group; it starts up only for exactly "FALSE".
  EXPECT_TRUE(zones[1].IsToggle);
  EXPECT_TRUE(zones[1].Down);
  EXPECT_TRUE(zones[1].Group.isEmpty());
  EXPECT_TRUE(zones[2].Down);
  EXPECT_FALSE(zones[3].Down);
  // 8 fields: a radio member; integers in their other forms.
  EXPECT_EQ(zones[4].Group, "Vitesse");
  EXPECT_EQ(zones[4].Rect(), QRect(16, 32, 5, 5));
  EXPECT_EQ(zones[5].Group, "Vitesse");
  // 9 fields: a toggle without group.
  EXPECT_TRUE(zones[6].IsToggle);
  EXPECT_TRUE(zones[6].Group.isEmpty());
  EXPECT_EQ(zones[8].ID, "NOT_DEFINED");
  EXPECT_EQ(zones[8].Hint, "Hint");
  EXPECT_EQ(zones[8].Rect(), QRect(0, 0, 0, 0));
  // Groups in order of first appearance with their down member.
  ASSERT_EQ(panneau.skin->Groups().size(), 2u);
  EXPECT_EQ(panneau.skin->Groups()[0].Name, "Vitesse");
  EXPECT_EQ(panneau.skin->Groups()[0].Current, 5);
  EXPECT_EQ(panneau.skin->Groups()[1].Name, "Autre");
  EXPECT_EQ(panneau.skin->Groups()[1].Current, -1);
}

TEST(SkinFile, ErrorsStopTheLoadWhereTheyHappen) {
  DossierSkin dossier;
  Panneau panneau;
  int changements = 0;
  QObject::connect(panneau.skin, &TSkinForm::OnSkinChanged, [&] { ++changements; });
  // A blank between a number and its comma.
  dossier.Description(Avec(EnTeteStandard(), {
      "[HOTAREAINFO]", "Count=3",
      "1=A, 1, 1, 5, 5, a",
      "2=B, 5 , 1, 5, 5, b",
      "3=C, 9, 9, 5, 5, c",
      "[DISPLAYINFO]", "Count=1",
      "1=D, Arial, FALSE, FALSE, 8, 0, 0, 0",
  }));
  EXPECT_FALSE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_EQ(panneau.Erreurs(), Textes{"'5 ' n'est pas une valeur entière correcte"});
  // What was read before stays; the rest was never read.
  const auto& zones = panneau.skin->HotAreas();
  ASSERT_EQ(zones.size(), 3u);
  EXPECT_EQ(zones[0].ID, "A");
  EXPECT_EQ(zones[1].ID, "B");
  EXPECT_EQ(zones[1].Left, 0);
  EXPECT_TRUE(zones[2].ID.isEmpty());
  EXPECT_TRUE(panneau.skin->Displays().empty());
  EXPECT_EQ(changements, 0);
  EXPECT_EQ(panneau.fenetre->size(), QSize(test::kLargeurPanneau, test::kHauteurPanneau));

  // Too few fields: the index of the first missing one.
  panneau.dialogues.appels.clear();
  dossier.Description(Avec(EnTeteStandard(), {"[HOTAREAINFO]", "Count=1", "1=A, 1, 1, 5, 5"}));
  EXPECT_FALSE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_EQ(panneau.Erreurs(), Textes{"Indice de liste hors limites (5)"});
  panneau.dialogues.appels.clear();
  dossier.Description(Avec(EnTeteStandard(), {"[DISPLAYINFO]", "Count=1", "1=D, Arial, FALSE, FALSE, 8, 0, 3"}));
  EXPECT_FALSE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_EQ(panneau.Erreurs(), Textes{"Indice de liste hors limites (7)"});
  EXPECT_EQ(panneau.skin->Displays()[0].Left, 3);
}

TEST(SkinFile, DisplayRecordsAndShorterLines) {
  DossierSkin dossier;
  Panneau panneau;
  dossier.Description(Avec(EnTeteStandard(), {
      "[DISPLAYINFO]", "Count=3", "Charset=0",
      "1=CPT, Courier, TRUE, FALSE, 12, $0000FF, 62, 60, Number, 0000, Compteur, 61, 23",
      "2=TITRE, Arial, FALSE, TRUE, 8, $FF0000, 10, 40, Font, Titre, Le titre, large, 19",
      "3=X, Arial, true, FALSE, 8, 0, 1, 2, Text, abc, indice, 30",
  }));
  ASSERT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini()));
  const auto& affichages = panneau.skin->Displays();
  ASSERT_EQ(affichages.size(), 3u);
  EXPECT_EQ(affichages[0].Font.family(), "Courier");
  EXPECT_TRUE(affichages[0].Font.bold());
  EXPECT_FALSE(affichages[0].Font.italic());
  EXPECT_EQ(affichages[0].Font.pointSize(), 12);
  EXPECT_EQ(affichages[0].FontColor, QColor(255, 0, 0));  // 0x00BBGGRR
  EXPECT_EQ(affichages[0].Charset, 0);
  EXPECT_EQ(affichages[0].Rect(), QRect(62, 60, 61, 23));
  EXPECT_EQ(affichages[1].FontColor, QColor(0, 0, 255));
  EXPECT_TRUE(affichages[1].Font.italic());
  // A width that is not an integer gives 10.
  EXPECT_EQ(affichages[1].Width, 10);
  EXPECT_EQ(affichages[1].Height, 19);
  // Only "TRUE" makes bold; 12 fields leave the size unread.
  EXPECT_FALSE(affichages[2].Font.bold());
  EXPECT_EQ(affichages[2].Kind, "Text");
  EXPECT_EQ(affichages[2].Value, "abc");
  EXPECT_EQ(affichages[2].Width, 0);
  EXPECT_EQ(affichages[2].Height, 0);

  // A second skin with shorter lines and fewer displays: the records that
  // stay keep the kind and size their lines do not set; value and hint are
  // emptied.
  dossier.Description(Avec(EnTeteStandard(), {
      "[DISPLAYINFO]", "Count=2",
      "1=CPT2, Arial, FALSE, FALSE, 8, 0, 5, 6",
      "2=TITRE2, Arial, FALSE, FALSE, 8, 0, 7, 8, Text, v, h, 1, 2, 3",
  }));
  ASSERT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini()));
  ASSERT_EQ(affichages.size(), 2u);
  EXPECT_EQ(affichages[0].ID, "CPT2");
  EXPECT_EQ(affichages[0].Kind, "Number");
  EXPECT_EQ(affichages[0].Rect(), QRect(5, 6, 61, 23));
  EXPECT_TRUE(affichages[0].Value.isEmpty());
  EXPECT_TRUE(affichages[0].Hint.isEmpty());
  EXPECT_EQ(affichages[0].Charset, 1);
  EXPECT_EQ(affichages[1].Rect(), QRect(7, 8, 1, 2));
}

TEST(SkinFile, StripsAreKeptFromThePreviousSkin) {
  DossierSkin dossier;
  Panneau panneau;
  dossier.Description(EnTeteStandard());
  ASSERT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini()));
  DossierSkin autre;
  autre.Description({"[Version]", "Ver=210", "[BITMAPINFO]", "MaskBitmap=mask.bmp", "MouseUpBitmap=up.bmp"});
  ASSERT_TRUE(panneau.skin->LoadSkinFile(autre.Ini()));
  EXPECT_EQ(panneau.skin->NumbersBitmap().pixel(15, 0), test::CouleurChiffre(1));
  EXPECT_EQ(panneau.skin->TextBitmap().size(), QSize(400, 60));
}

TEST(SkinFile, ImageMessages) {
  DossierSkin dossier;
  Panneau panneau;
  const auto charger = [&](const std::vector<std::string>& bitmaps) {
    panneau.dialogues.appels.clear();
    dossier.Description(Avec({"[Version]", "Ver=210", "[BITMAPINFO]"}, bitmaps));
    return panneau.skin->LoadSkinFile(dossier.Ini());
  };
  EXPECT_FALSE(charger({"MaskBitmap=absent.bmp"}));
  EXPECT_EQ(panneau.Erreurs(), Textes{"Impossible d'ouvrir le fichier " + dossier.Dossier() + "absent.bmp"});
  EXPECT_FALSE(charger({"MaskBitmap=mask.xyz"}));
  EXPECT_EQ(panneau.Erreurs(), Textes{"Extension de fichier graphique inconnue (.xyz)"});
  // No mask named: the folder alone has no extension.
  EXPECT_FALSE(charger({"MouseUpBitmap=up.bmp"}));
  EXPECT_EQ(panneau.Erreurs(), Textes{"Extension de fichier graphique inconnue (.)"});
  EXPECT_FALSE(charger({"MaskBitmap=mask.bmp", "MouseUpBitmap=up.bmp", "NumbersBitmap=chiffres"}));
  EXPECT_EQ(panneau.Erreurs(), Textes{"Extension de fichier graphique inconnue (.)"});
  test::EcrireOctets(dossier.Chemin("casse.bmp"), "BM pas une image");
  EXPECT_FALSE(charger({"MaskBitmap=mask.bmp", "MouseUpBitmap=casse.bmp"}));
  EXPECT_EQ(panneau.Erreurs(), Textes{"Le fichier " + dossier.Dossier() + "casse.bmp n'est pas une image valide"});

  // A GIF is announced, keeps the picture it had and the load goes on.
  ASSERT_TRUE(charger({"MaskBitmap=mask.bmp", "MouseUpBitmap=up.bmp"}));
  EXPECT_TRUE(charger({"MaskBitmap=mask.bmp", "MouseUpBitmap=anime.gif", "MouseDownBitmap=down.bmp"}));
  EXPECT_EQ(panneau.dialogues.Textes("message"), Textes{"No GIF support!"});
  EXPECT_TRUE(panneau.Erreurs().empty());
  EXPECT_EQ(panneau.skin->MouseUpBitmap().pixel(50, 50), test::kRepos);
  EXPECT_EQ(panneau.skin->MouseDownBitmap().pixel(50, 50), test::kEnfonce);
}

TEST(SkinFile, JpegPictures) {
  DossierSkin dossier;
  QImage image = test::Uni(test::kLargeurPanneau, test::kHauteurPanneau, qRgb(200, 40, 90));
  test::EcrireOctets(dossier.Chemin("repos.jpg"), test::EncoderJpeg(image));
  test::EcrireOctets(dossier.Chemin("abime.jpeg"), test::EncoderJpeg(image).substr(0, 40));
  dossier.Description({"[Version]", "Ver=210", "[BITMAPINFO]", "MaskBitmap=mask.bmp", "MouseUpBitmap=REPOS.JPG"});
  Panneau panneau;
  ASSERT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini()));
  const QColor pixel(panneau.skin->MouseUpBitmap().pixel(100, 50));
  EXPECT_NEAR(pixel.red(), 200, 3);
  EXPECT_NEAR(pixel.green(), 40, 3);
  EXPECT_NEAR(pixel.blue(), 90, 3);

  dossier.Description({"[Version]", "Ver=210", "[BITMAPINFO]", "MaskBitmap=mask.bmp", "MouseUpBitmap=abime.jpeg"});
  EXPECT_FALSE(panneau.skin->LoadSkinFile(dossier.Ini()));
  ASSERT_EQ(panneau.Erreurs().size(), 1u);
  EXPECT_EQ(panneau.Erreurs()[0].rfind("Le fichier " + dossier.Dossier() + "abime.jpeg n'est pas une image valide", 0),
            0u);
}

TEST(SkinFile, TrackBarRecords) {
  DossierSkin dossier;
  test::EcrireImage(dossier.Chemin("pouce.bmp"), test::Uni(10, 6, qRgb(1, 1, 1)));
  test::EcrireImage(dossier.Chemin("actif.bmp"), test::Uni(12, 8, qRgb(2, 2, 2)));
  dossier.Description(Avec(EnTeteStandard(), {
      "[TRACKBARINFO]", "Count=3",
      "1=VOLUME, pouce.bmp, actif.bmp, 20, 30, 112, H, 50, Volume",
      "2=VITESSE, pouce.bmp, actif.bmp, 150, 10, 58, V",
      "3=HUIT, pouce.bmp, actif.bmp, 20, 60, 112, H, 300",
  }));
  Panneau panneau;
  ASSERT_TRUE(panneau.skin->LoadSkinFile(dossier.Ini()));
  ASSERT_TRUE(panneau.dialogues.appels.empty());
  const auto& barres = panneau.skin->TrackBars();
  ASSERT_EQ(barres.size(), 3u);
  // The thumb size comes from the active thumb: (112 - 12) × 50 / 100.
  EXPECT_EQ(barres[0].ThumbWidth, 12);
  EXPECT_EQ(barres[0].ThumbHeight, 8);
  EXPECT_TRUE(barres[0].Horizontal);
  EXPECT_EQ(barres[0].Position, 50);
  EXPECT_EQ(barres[0].Offset, 50);
  EXPECT_EQ(barres[0].Hint, "Volume");
  EXPECT_FALSE(barres[1].Horizontal);
  EXPECT_EQ(barres[1].Position, 0);
  EXPECT_EQ(barres[1].Offset, 0);
  // The position is kept in 8 bits.
  EXPECT_EQ(barres[2].Position, 300 % 256);
  EXPECT_EQ(barres[2].Offset, 100 * 44 / 100);
  // The thumbs are drawn at rest.
  EXPECT_EQ(panneau.skin->Picture().pixel(20 + 50, 30), qRgb(1, 1, 1));
  EXPECT_EQ(panneau.skin->Picture().pixel(150, 10), qRgb(1, 1, 1));
}

TEST(SkinFile, TrackBarFailures) {
  DossierSkin dossier;
  test::EcrireImage(dossier.Chemin("pouce.bmp"), test::Uni(10, 6, qRgb(1, 1, 1)));
  Panneau panneau;
  // A track that its thumb fills cannot be used.
  dossier.Description(Avec(EnTeteStandard(), {"[TRACKBARINFO]", "Count=1", "1=B, pouce.bmp, pouce.bmp, 0, 0, 10, H"}));
  EXPECT_FALSE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_EQ(panneau.Erreurs(),
            Textes{"La barre de défilement B est trop courte pour son curseur (longueur 10, curseur 10)"});
  // A missing line names the images "NOT_DEFINED".
  panneau.dialogues.appels.clear();
  dossier.Description(Avec(EnTeteStandard(), {"[TRACKBARINFO]", "Count=1"}));
  EXPECT_FALSE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_EQ(panneau.Erreurs(), Textes{"Extension de fichier graphique inconnue (.)"});
}

TEST(SkinPlacement, ParentThatIsNotAWindowIsRefused) {
  DialoguesScriptes dialogues;
  QWidget fenetre;
  auto* cadre = new QWidget(&fenetre);
  auto* skin = new TSkinForm(dialogues, cadre);
  EXPECT_EQ(dialogues.Textes("erreur"), Textes{"Please Drop me on a Form"});
  // The component stays inert.
  EXPECT_FALSE(skin->LoadDefaultSkin());
  EXPECT_TRUE(skin->HotAreas().empty());
  test::Cliquer(*skin, QPoint(5, 5));
  test::Deplacer(*skin, QPoint(6, 6));
  skin->RedrawSkin();
  EXPECT_EQ(dialogues.appels.size(), 1u);
  EXPECT_FALSE(fenetre.windowFlags().testFlag(Qt::FramelessWindowHint));

  // Moved onto a window, it works.
  skin->setParent(&fenetre);
  EXPECT_TRUE(skin->LoadDefaultSkin());
  EXPECT_EQ(fenetre.size(), QSize(364, 139));
  // And refused again on a child widget.
  skin->setParent(cadre);
  EXPECT_EQ(dialogues.Textes("erreur").size(), 2u);
  skin->setObjectName("SkinForm1");
  EXPECT_EQ(skin->objectName(), "SkinForm1");
}

TEST(SkinFile, AJpegAnnouncingAHugePictureIsRefusedBeforeAnyAllocation) {
  // Found by the fuzzer: 213 bytes that announce a picture of gigabytes.
  QFile f(QString(GLISSARO_SOURCES) + "/tests/fuzz/corpus/images/regression-jpeg-geant");
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  std::string erreur;
  EXPECT_TRUE(DecoderJpeg(f.readAll(), &erreur).isNull());
  EXPECT_NE(erreur.find("image trop grande"), std::string::npos) << erreur;
}

TEST(SkinFile, AHugeCountIsRefusedBeforeAnyTableIsSized) {
  // Found by the fuzzer: a count of millions made the load crawl.
  DossierSkin dossier;
  Panneau panneau;
  dossier.Description({"[Version]", "Ver=210", "[BITMAPINFO]", "MaskBitmap=mask.bmp", "[HOTAREAINFO]",
                       "Count=2000000000"});
  EXPECT_FALSE(panneau.skin->LoadSkinFile(dossier.Ini()));
  ASSERT_EQ(panneau.dialogues.Textes("erreur").size(), 1u);
  EXPECT_EQ(panneau.dialogues.Textes("erreur")[0], "Trop d'éléments dans la section [HOTAREAINFO] : 2000000000 (1000 au plus)");
  EXPECT_TRUE(panneau.skin->HotAreas().empty());
}

TEST(SkinFile, ADescriptionTooLargeOrNotAFileIsRefusedAtOnce) {
  DossierSkin dossier;
  Panneau panneau;
  auto lignes = EnTeteStandard();
  lignes.push_back("; " + std::string(1 << 20, '-'));
  dossier.Description(lignes);
  EXPECT_FALSE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_EQ(panneau.Erreurs(), Textes{"Le fichier " + dossier.Ini().toStdString() + " est trop grand"});
  // A pipe is not waited on.
  QFile::remove(dossier.Ini());
  ASSERT_EQ(::mkfifo(dossier.Ini().toLocal8Bit().constData(), 0600), 0);
  EXPECT_FALSE(panneau.skin->LoadSkinFile(dossier.Ini()));
  ASSERT_EQ(panneau.Erreurs().size(), 2u);
  EXPECT_NE(panneau.Erreurs()[1].find("n'est pas un fichier ordinaire"), std::string::npos);
  // Nor a picture that is a pipe.
  QFile::remove(dossier.Ini());
  ASSERT_EQ(::mkfifo(dossier.Chemin("tube.bmp").toLocal8Bit().constData(), 0600), 0);
  dossier.Description({"[Version]", "Ver=210", "[BITMAPINFO]", "MaskBitmap=tube.bmp"});
  EXPECT_FALSE(panneau.skin->LoadSkinFile(dossier.Ini()));
  ASSERT_EQ(panneau.Erreurs().size(), 3u);
  EXPECT_NE(panneau.Erreurs()[2].find("tube.bmp n'est pas un fichier ordinaire"), std::string::npos);
}

}  // namespace
}  // namespace glissaro

namespace glissaro {
namespace {

// ---- pictures announcing more than a skin may bring ------------------------

TEST(SkinFile, APictureIsMeasuredByItsHeaderBeforeItIsDecoded) {
  DossierSkin dossier;
  test::EcrireOctets(dossier.Chemin("bombe.bmp"), test::BmpAnnoncant(5790, 5790));
  Panneau panneau;
  const long memoire = test::PicMemoireMio();
  const auto message = [&](const char* genre, const char* borne) {
    return "L'image " + dossier.Dossier() + "bombe.bmp mesure 5790 × 5790 pixels : " + genre + " en a au plus " +
           borne + ".";
  };
  dossier.Description({"[Version]", "Ver=210", "[BITMAPINFO]", "MaskBitmap=bombe.bmp"});
  EXPECT_FALSE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_EQ(panneau.Erreurs(), Textes{message("une image du panneau", "4096 × 4096")});
  // Ten track bars whose thumbs name it.
  std::vector<std::string> barres = {"[TRACKBARINFO]", "Count=10"};
  for (int i = 1; i <= 10; ++i) barres.push_back(std::to_string(i) + "=B, bombe.bmp, bombe.bmp, 0, 0, 100, H");
  dossier.Description(Avec(EnTeteStandard(), barres));
  panneau.dialogues.appels.clear();
  EXPECT_FALSE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_EQ(panneau.Erreurs(),
            Textes{message("une bande de caractères, un curseur ou une barre de boutons", "4096 × 512")});
  EXPECT_LT(test::PicMemoireMio() - memoire, 200);

  // A bitmap whose header announces more pixels than the file holds.
  std::string court = test::BmpAnnoncant(100, 100);
  court[30] = 0;  // uncompressed: 100 rows of 100 bytes expected, 2 there
  test::EcrireOctets(dossier.Chemin("court.bmp"), court);
  dossier.Description({"[Version]", "Ver=210", "[BITMAPINFO]", "MaskBitmap=court.bmp"});
  panneau.dialogues.appels.clear();
  EXPECT_FALSE(panneau.skin->LoadSkinFile(dossier.Ini()));
  EXPECT_EQ(panneau.Erreurs(), Textes{"Le fichier " + dossier.Dossier() +
                                      "court.bmp n'est pas une image valide (son en-tête annonce 10000 octets de "
                                      "pixels, le fichier n'en contient que 2)"});
}

TEST(SkinFile, ASkinsPicturesAreDecodedOnceAndWithinABudget) {
  DossierSkin dossier;
  DialoguesScriptes dialogues;
  // Three pictures of 512 × 512 (1 MiB each once decoded) for a budget of
  // 2 MiB: the third does not fit, whatever its bound.
  for (const char* nom : {"a.bmp", "b.bmp", "c.bmp"})
    test::EcrireImage(dossier.Chemin(nom), test::Uni(512, 512, qRgb(1, 2, 3)));
  LecteurImagesSkin lecteur(dialogues, std::size_t{2} << 20);
  for (int fois = 0; fois < 10; ++fois) ASSERT_TRUE(lecteur.Fichier(dossier.Dossier() + "a.bmp", kBornePanneau));
  ASSERT_TRUE(lecteur.Fichier(dossier.Dossier() + "B.BMP", kBorneBande));
  try {
    lecteur.Fichier(dossier.Dossier() + "c.bmp", kBorneBande);
    ADD_FAILURE() << "le budget est dépassé";
  } catch (const ErreurSkin& refus) {
    EXPECT_EQ(std::string(refus.what()), "Les images de cette skin dépassent 2 Mio une fois décodées : l'image " +
                                             dossier.Dossier() + "c.bmp (512 × 512 pixels) n'y tient plus.");
  }
}

TEST(SkinFile, AProgressiveJpegOfEndlessPassesIsRefused) {
  // The last of its ten passes a thousand times more: 131 KB that took
  // ten seconds to decode.
  QImage image(4096, 4096, QImage::Format_RGB32);
  image.fill(qRgb(120, 130, 140));
  const std::string jpeg = test::EncoderJpeg(image, true);
  std::string erreur;
  EXPECT_TRUE(DecoderJpeg(QByteArray::fromStdString(test::RepeterDernierePasse(jpeg, 1000)), &erreur).isNull());
  EXPECT_EQ(erreur.rfind("décodage trop long", 0), 0u) << erreur;
  // The picture as it was made decodes.
  EXPECT_EQ(DecoderJpeg(QByteArray::fromStdString(jpeg), &erreur).size(), QSize(4096, 4096)) << erreur;
}

}  // namespace
}  // namespace glissaro
