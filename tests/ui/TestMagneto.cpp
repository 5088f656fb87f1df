// The replay window, the sequence files and the choice of skin, through the
// real windows, offscreen.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "AideFenetres.h"
#include "AideImages.h"
#include "AideFichiers.h"
#include "Magneto.h"
#include "Sequence.h"
#include "SkinForm.h"
#include "Uplateau.h"
#include "Session.h"
#include "Uplayer.h"
#include "gestion.h"

using namespace glissaro;
using namespace glissaro::test;

namespace {

// A program folder, the windows in their order, and helpers to play.
class Magnetoscope : public ::testing::Test {
 protected:
  Magnetoscope() { Construire(); }

  void Construire() {
    // A new run: the windows go before the session they show.
    magneto.reset();
    gestion.reset();
    plateau.reset();
    player.reset();
    session = std::make_unique<TSession>(dossier.Chemin(), dialogues);
    player = std::make_unique<TFrmPlayer>(*session, dialogues);
    plateau = std::make_unique<TFrmPlateau>(*session, *player, dialogues);
    gestion = std::make_unique<TFrmGestion>(dossier.Q(), plateau->Images, dialogues);
    magneto = std::make_unique<TFrmMagneto>(*session, *player, *plateau);
    player->DefinirFenetres({plateau.get(), gestion.get(), magneto.get()});
    plateau->DefinirGestion(gestion.get());
    player->show();
  }
  ~Magnetoscope() override {
    magneto->hide();
    plateau->hide();
    player->hide();
  }

  QString Affichage(const QString& id) const {
    for (const auto& d : player->SkinForm1->Displays())
      if (d.ID == id) return d.Value;
    return "?";
  }
  QPoint CentreZone(const QString& id) const {
    for (const auto& h : player->SkinForm1->HotAreas())
      if (h.ID == id) return h.Rect().center();
    return {};
  }
  void Tirer(int ligne, int colonne, std::vector<QPoint> pas) {
    const int t = plateau->TailleCase();
    QPoint p((colonne - 1) * t + t / 2, (ligne - 1) * t + t / 2);
    Appuyer(plateau->ImagePlateau, p);
    for (const QPoint& d : pas) {
      p += d * t;
      Deplacer(plateau->ImagePlateau, p);
    }
    Relacher(plateau->ImagePlateau, p);
  }
  // Loads a board with a door: A opens it, b and A move.
  QString JouerUnePartie() {
    const auto fichier = dossier.Plateau(
        Dessiner({"#DD###", "#..A.#", "#bb..#", "#....#", "######"}, {"......", "......", "....x.", "......", "......"},
                 "Porte"));
    plateau->ChargerPlateau(fichier);
    Tirer(3, 2, {{0, 1}});            // b: 1
    Tirer(2, 4, {{-1, 0}, {-1, 0}});  // A opens the door: 2, and counts: 3
    Tirer(2, 2, {{0, -1}});           // A into the door: same piece
    Tirer(4, 2, {{1, 0}});            // b: 4
    return fichier;
  }
  std::string Photo() const {
    std::string s;
    const auto& p = plateau->Partie().Plateau();
    for (int l = 1; l <= p.Hauteur; ++l)
      for (int c = 1; c <= p.Largeur; ++c)
        s += std::to_string(static_cast<int>(p.Case(l, c).Serie)) + ":" + std::to_string(p.Case(l, c).Map) + ":" +
             p.Case(l, c).Nom + " ";
    return s;
  }
  QImage Image() const { return plateau->ImagePlateau->Picture; }

  DossierProgramme dossier;
  DialoguesScriptes dialogues;
  std::unique_ptr<TSession> session;
  std::unique_ptr<TFrmPlayer> player;
  std::unique_ptr<TFrmPlateau> plateau;
  std::unique_ptr<TFrmGestion> gestion;
  std::unique_ptr<TFrmMagneto> magneto;
};

// Copies a skin of the repository into the program folder.
void CopierSkin(const QString& source, const QString& cible) {
  QDir().mkpath(cible);
  for (const auto& f : QDir(source).entryList(QDir::Files)) QFile::copy(source + "/" + f, cible + "/" + f);
}

}  // namespace

TEST_F(Magnetoscope, DebutEtFinRejouentLaPartieAvecSesPortes) {
  JouerUnePartie();
  ASSERT_EQ(Affichage("TEXT_CPT"), "0004");
  const std::string fin = Photo();
  const QImage imageFin = Image();
  magneto->TbPremier->click();
  EXPECT_EQ(plateau->Partie().Historique().PosHistorique, 0);
  EXPECT_EQ(Affichage("TEXT_CPT"), "0000");
  EXPECT_EQ(plateau->Partie().Plateau().Case(1, 2).Map, kMapPorteFermee);
  EXPECT_EQ(plateau->Partie().Plateau().Case(1, 3).Map, kMapPorteFermee);
  EXPECT_EQ(plateau->Partie().Plateau().Case(2, 4).Serie, TSerieMap::Final);
  EXPECT_NE(Image(), imageFin);
  magneto->TBFin->click();
  EXPECT_EQ(Photo(), fin);
  EXPECT_EQ(Image(), imageFin);  // every changed cell was drawn again
  EXPECT_EQ(Affichage("TEXT_CPT"), "0004");
  EXPECT_EQ(session->Partie().Compteur(), 4);
}

TEST_F(Magnetoscope, UnPasArriereApresUnCoupCompteNEnleveQueLaMarque) {
  JouerUnePartie();
  const std::string fin = Photo();
  magneto->TimerRetourTimer(false);
  EXPECT_EQ(Photo(), fin);
  EXPECT_EQ(Affichage("TEXT_CPT"), "0004");
  magneto->TimerRetourTimer(false);
  EXPECT_NE(Photo(), fin);
  EXPECT_EQ(Affichage("TEXT_CPT"), "0003");
  // A press on the board cuts what could be replayed forward.
  const auto pos = plateau->Partie().Historique().PosHistorique;
  Appuyer(plateau->ImagePlateau, {5, 5});
  Relacher(plateau->ImagePlateau, {5, 5});
  EXPECT_EQ(plateau->Partie().Historique().Fin, pos);
  magneto->TBFin->click();
  EXPECT_EQ(plateau->Partie().Historique().PosHistorique, pos);
}

TEST_F(Magnetoscope, RetourEtAvanceTenusEtVitesses) {
  JouerUnePartie();
  player->Magneto200->trigger();  // 500 ms
  EXPECT_EQ(magneto->TimerRetour.interval(), 500);
  EXPECT_EQ(magneto->TimerAvance.interval(), 250);
  player->Magneto50->trigger();
  magneto->show();
  EXPECT_EQ(magneto->TimerRetour.interval(), 20);
  EXPECT_EQ(magneto->TimerAvance.interval(), 10);
  // A press shorter than an interval makes no step.
  const auto pos = plateau->Partie().Historique().PosHistorique;
  emit magneto->TBRetour->pressed();
  EXPECT_TRUE(magneto->TimerRetour.isActive());
  emit magneto->TBRetour->released();
  EXPECT_FALSE(magneto->TimerRetour.isActive());
  EXPECT_EQ(plateau->Partie().Historique().PosHistorique, pos);
  // Any mouse button holds them.
  for (const auto bouton : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
    for (auto [tb, minuterie] : {std::pair{magneto->TBRetour, &magneto->TimerRetour},
                                 std::pair{magneto->TBAvance, &magneto->TimerAvance}}) {
      Appuyer(tb, {5, 5}, bouton);
      EXPECT_TRUE(minuterie->isActive()) << bouton;
      Relacher(tb, {5, 5}, bouton);
      EXPECT_FALSE(minuterie->isActive()) << bouton;
    }
  EXPECT_EQ(plateau->Partie().Historique().PosHistorique, pos);
  // Held at the start, "Retour" keeps showing 0 and stays armed.
  magneto->TbPremier->click();
  player->SkinForm1->SetDisplayText("TEXT_CPT", "9999");
  emit magneto->TBRetour->pressed();
  magneto->TimerRetourTimer(true);
  EXPECT_EQ(Affichage("TEXT_CPT"), "0000");
  EXPECT_TRUE(magneto->TimerRetour.isActive());
  emit magneto->TBRetour->released();
  // Held, "Avance" steps once an interval and re-arms itself.
  emit magneto->TBAvance->pressed();
  magneto->TimerAvanceTimer(true);
  EXPECT_EQ(plateau->Partie().Historique().PosHistorique, 1);
  EXPECT_TRUE(magneto->TimerAvance.isActive());
  emit magneto->TBAvance->released();
  EXPECT_FALSE(magneto->TimerAvance.isActive());
  // Really held: steps come from the timer itself.
  emit magneto->TBAvance->pressed();
  QTimer arret;
  arret.setSingleShot(true);
  QEventLoop boucle;
  QObject::connect(&arret, &QTimer::timeout, &boucle, &QEventLoop::quit);
  arret.start(200);
  boucle.exec();
  emit magneto->TBAvance->released();
  EXPECT_EQ(plateau->Partie().Historique().PosHistorique, plateau->Partie().Historique().Fin);
}

TEST_F(Magnetoscope, RetourSurLePanneauMontreEtCacheLeMagnetoscope) {
  EXPECT_FALSE(magneto->isVisible());
  Cliquer(player->SkinForm1, CentreZone("RETOUR"));
  EXPECT_TRUE(magneto->isVisible());
  EXPECT_EQ(magneto->windowTitle(), "Magnétoscope");
  EXPECT_EQ(magneto->size(), QSize(223, 39));
  EXPECT_EQ(magneto->TbCharger->toolTip(), "Recharger une séquence");
  EXPECT_EQ(magneto->TBFin->toolTip(), "Fin");
  EXPECT_EQ(magneto->TBAvance->size(), QSize(37, 36));
  Cliquer(player->SkinForm1, CentreZone("RETOUR"));
  EXPECT_FALSE(magneto->isVisible());
  ASSERT_EQ(magneto->ImageListMagnetoOff.size(), 6u);
  ASSERT_EQ(magneto->ImageListMagnetoON.size(), 6u);
  EXPECT_EQ(magneto->ImageListMagnetoOff[0].size(), QSize(30, 30));
}

TEST_F(Magnetoscope, SequenceEnregistreeApresUnRetourPuisRechargee) {
  JouerUnePartie();
  magneto->TimerRetourTimer(false);
  magneto->TimerRetourTimer(false);
  const auto pos = plateau->Partie().Historique().PosHistorique;
  const std::string chemin = dossier.Fichier("sequences/partie.swb");
  QDir().mkpath(dossier.Q() + "sequences");
  dialogues.fichiers = {chemin};
  magneto->TBenreg->click();
  EXPECT_EQ(dialogues.dialoguesFichier.back().titre, "sauvegarde une séquenceGlissaro");
  EXPECT_EQ(dialogues.dialoguesFichier.back().extensionDefaut, "swb");
  ASSERT_EQ(ContenuFichier(chemin)->size(), 4u * (15 + pos));

  // Replacing asks first.
  dialogues.fichiers = {chemin};
  dialogues.confirmations = {false};
  magneto->TBFin->click();
  magneto->TBenreg->click();
  EXPECT_EQ(dialogues.Textes("confirmation").back(), "Ce fichier existe déjà le remplacer ?");
  EXPECT_EQ(ContenuFichier(chemin)->size(), 4u * (15 + pos));

  // Reloaded: the board restarts, then "Fin" plays the saved game.
  dialogues.fichiers = {chemin};
  magneto->TbCharger->click();
  EXPECT_EQ(dialogues.Textes("information").back(), "Séquence rechargée");
  EXPECT_EQ(plateau->Partie().Historique().PosHistorique, 0);
  EXPECT_EQ(plateau->Partie().Historique().Fin, pos);
  EXPECT_EQ(Affichage("TEXT_CPT"), "0000");
  magneto->TBFin->click();
  EXPECT_EQ(Affichage("TEXT_CPT"), "0002");  // the last mark saved
}

TEST_F(Magnetoscope, UneSequenceDUnAutrePlateauOuQuIlNAuraitPasPuJouerEstRefusee) {
  THistorique h;
  h.Ajouter(1, EvDroite);
  const std::string chemin = dossier.Fichier("autre.swb");
  ASSERT_TRUE(EcrireSequence(chemin, "  autre plateau", h).ok);
  JouerUnePartie();
  dialogues.fichiers = {chemin};
  magneto->TbCharger->click();
  EXPECT_EQ(dialogues.Textes("bip").size(), 1u);
  EXPECT_EQ(dialogues.Textes("erreur").back(), "Erreur !!! . Cette sauvegarde appartient au plateau : autre plateau");
  EXPECT_EQ(plateau->Partie().Historique().Fin, 0);
  EXPECT_EQ(Affichage("TEXT_CPT"), "0000");

  // A file that ends inside a record.
  ASSERT_TRUE(EcrireFichierSur(chemin, std::string(61, 'x')).ok);
  dialogues.fichiers = {chemin};
  magneto->TbCharger->click();
  EXPECT_NE(dialogues.Textes("erreur").back().find("autre.swb"), std::string::npos);
  EXPECT_EQ(plateau->Partie().Historique().Fin, 0);

  // Its own title, but a door opened on the master tile, then a step of a
  // border tile: refused at the first, nothing of it reaches the board.
  const auto depart = Photo();
  THistorique hostile;
  hostile.Ajouter(CodePosition({2, 4}), EvPorteOuverte);
  hostile.Ajouter(static_cast<int16_t>(plateau->Partie().Plateau().Case(2, 1).Piece), EvDroite);
  ASSERT_TRUE(EcrireSequence(chemin, "Porte", hostile).ok);
  dialogues.fichiers = {chemin};
  magneto->TbCharger->click();
  EXPECT_EQ(dialogues.Textes("bip").size(), 2u);
  EXPECT_EQ(dialogues.Textes("erreur").back(), "Séquence incorrecte pour ce plateau (événement n° 1)");
  EXPECT_EQ(plateau->Partie().Historique().Fin, 0);
  magneto->TBFin->click();
  EXPECT_EQ(Photo(), depart);
}

TEST_F(Magnetoscope, RechargerSansPlateauDemandeUnPlateauDAbord) {
  QTimer::singleShot(0, gestion->BtCancel, &QPushButton::click);
  magneto->TbCharger->click();
  EXPECT_TRUE(dialogues.Textes("ouvrir").empty());
  EXPECT_TRUE(session->FichierPlateau().empty());
}

TEST_F(Magnetoscope, LeMenuDesSkinsListeLesDossiers) {
  for (const char* nom : {"glissaro", "zinc", "Bois", ".cachee"}) QDir().mkpath(dossier.Q() + "skins/" + nom);
  Construire();
  QStringList textes;
  for (auto* a : player->SkinsMenu->actions()) textes << a->text();
  EXPECT_EQ(textes, (QStringList{"Defaut", "Bois", "zinc"}));
}

TEST_F(Magnetoscope, ChangerDeSkinChangeToutEtRechargeLePlateau) {
  CopierSkin(QString(GLISSARO_SOURCES) + "/data/skins/Ardoise", dossier.Q() + "skins/Ardoise");
  Construire();
  const auto fichier = JouerUnePartie();
  QAction* ardoise = player->SkinsMenu->findChild<QAction*>("Ardoise");
  ASSERT_NE(ardoise, nullptr);
  const QImage boutonAvant = magneto->ImageListMagnetoOff[2].toImage();
  ardoise->trigger();
  EXPECT_EQ(session->Reglages().NomSkin, "Ardoise");
  EXPECT_TRUE(ardoise->isChecked());
  EXPECT_NE(player->SkinForm1->MaskBitmap().size(), QSize(364, 139));
  EXPECT_EQ(plateau->TailleCase(), 24);
  EXPECT_EQ(plateau->size(), QSize(6 * 24, 5 * 24));  // the board restarted at the new size
  EXPECT_EQ(Affichage("TEXT_CPT"), "0000");
  EXPECT_EQ(Affichage("TEXT_TITRE"), "Porte");
  EXPECT_NE(magneto->ImageListMagnetoOff[2].toImage(), boutonAvant);
  player->Defaut1->trigger();
  EXPECT_EQ(session->Reglages().NomSkin, "Glissaro");
  EXPECT_EQ(player->SkinForm1->MaskBitmap().size(), QSize(364, 139));
  EXPECT_EQ(plateau->TailleCase(), 20);
  EXPECT_EQ(magneto->ImageListMagnetoOff[2].toImage(), boutonAvant);
  EXPECT_EQ(session->FichierPlateau(), fichier.toStdString());
}

TEST_F(Magnetoscope, UneSkinAvecSeulementMagnetoOn) {
  const QString skin = dossier.Q() + "skins/Demi";
  CopierSkin(QString(GLISSARO_SOURCES) + "/data/skins/Ardoise", skin);
  QFile::remove(skin + "/magnetoOff.bmp");
  Construire();
  player->SkinsMenu->findChild<QAction*>("Demi")->trigger();
  ASSERT_EQ(session->Reglages().NomSkin, "Demi");
  EXPECT_EQ(magneto->ImageListMagnetoOff[0].toImage(), magneto->ImageListTempoOff[0].toImage());
  EXPECT_NE(magneto->ImageListMagnetoON[0].toImage(), magneto->ImageListTempoOn[0].toImage());
  // Without a board the board window stays hidden.
  EXPECT_FALSE(plateau->isVisible());
}

TEST_F(Magnetoscope, UnChangementRateRemetLaSkinPrecedente) {
  CopierSkin(QString(GLISSARO_SOURCES) + "/data/skins/Ardoise", dossier.Q() + "skins/Ardoise");
  QDir().mkpath(dossier.Q() + "skins/Vide");
  const QString sansPieces = dossier.Q() + "skins/SansPieces";
  CopierSkin(QString(GLISSARO_SOURCES) + "/data/skins/Ardoise", sansPieces);
  QFile::remove(sansPieces + "/pieces.bmp");
  const QString cassee = dossier.Q() + "skins/Cassee";
  CopierSkin(QString(GLISSARO_SOURCES) + "/data/skins/Ardoise", cassee);
  QFile::remove(cassee + "/ardoise_repos.bmp");
  Construire();
  player->SkinsMenu->findChild<QAction*>("Ardoise")->trigger();
  // A game under way: the panel shows its title and its count.
  JouerUnePartie();
  ASSERT_GT(plateau->Partie().Compteur(), 0);
  const QImage panneau = player->SkinForm1->Picture();
  const auto erreurs = dialogues.Textes("erreur").size();
  for (const char* nom : {"Vide", "SansPieces", "Cassee"}) {
    player->SkinsMenu->findChild<QAction*>(nom)->trigger();
    EXPECT_GT(dialogues.Textes("erreur").size(), erreurs) << nom;
    EXPECT_EQ(session->Reglages().NomSkin, "Ardoise") << nom;
    EXPECT_TRUE(player->SkinsMenu->findChild<QAction*>("Ardoise")->isChecked()) << nom;
    EXPECT_EQ(plateau->TailleCase(), 24) << nom;
    EXPECT_EQ(Affichage("TEXT_TITRE"), "Porte") << nom;
    EXPECT_EQ(Affichage("TEXT_CPT").toStdString(), TexteCompteur(plateau->Partie().Compteur())) << nom;
    EXPECT_EQ(player->SkinForm1->Picture(), panneau) << nom;
  }
}

TEST(Skins, UneSkinRetenueEstChargeeAuDemarrage) {
  DossierProgramme dossier;
  CopierSkin(QString(GLISSARO_SOURCES) + "/data/skins/Ardoise", dossier.Q() + "skins/Ardoise");
  ASSERT_TRUE(EcrireFichierSur(dossier.Fichier("Glissaro.ini"), "[skin]\r\nNom= ardoise \r\n[jeu]\r\nZoom=100\r\n").ok);
  DialoguesScriptes dialogues;
  TSession session(dossier.Chemin(), dialogues);
  TFrmPlayer player(session, dialogues);
  TFrmPlateau plateau(session, player, dialogues);
  TFrmMagneto magneto(session, player, plateau);
  EXPECT_EQ(session.Reglages().NomSkin, "ardoise");
  EXPECT_TRUE(player.SkinsMenu->findChild<QAction*>("Ardoise")->isChecked());
  EXPECT_FALSE(player.Defaut1->isChecked());
  EXPECT_NE(player.SkinForm1->MaskBitmap().size(), QSize(364, 139));
  EXPECT_EQ(plateau.TailleCase(), 24);
  EXPECT_NE(magneto.ImageListMagnetoOff[0].toImage(), magneto.ImageListTempoOff[0].toImage());
  EXPECT_TRUE(dialogues.appels.empty());
}

TEST(Skins, UneSkinRetenueSansImageDesPiecesLaisseLaSkinParDefaut) {
  // The remembered skin's tile picture is missing, too small to cut, or a
  // few bytes announcing 5790 × 5790 pixels (refused from its header).
  const long memoire = PicMemoireMio();
  for (const std::string absente : {"absente", "trop petite", "trop grande"}) {
    DossierProgramme dossier;
    const QString skin = dossier.Q() + "skins/Ardoise";
    CopierSkin(QString(GLISSARO_SOURCES) + "/data/skins/Ardoise", skin);
    if (absente == "absente")
      QFile::remove(skin + "/pieces.bmp");
    else if (absente == "trop petite")
      PiecesDeTest(20).scaled(60, 6).save(skin + "/pieces.bmp", "BMP");
    else
      ASSERT_TRUE(EcrireFichierSur((skin + "/pieces.bmp").toStdString(), BmpAnnoncant(5790, 5790)).ok);
    ASSERT_TRUE(EcrireFichierSur(dossier.Fichier("Glissaro.ini"), "[skin]\r\nNom=Ardoise\r\n").ok);
    DialoguesScriptes dialogues;
    TSession session(dossier.Chemin(), dialogues);
    TFrmPlayer player(session, dialogues);
    TFrmPlateau plateau(session, player, dialogues);
    TFrmMagneto magneto(session, player, plateau);
    EXPECT_EQ(session.Reglages().NomSkin, "Glissaro") << absente;
    EXPECT_TRUE(player.Defaut1->isChecked()) << absente;
    EXPECT_EQ(player.SkinForm1->MaskBitmap().size(), QSize(364, 139)) << absente;
    EXPECT_EQ(plateau.TailleCase(), 20) << absente;  // the default skin's tiles
    EXPECT_EQ(magneto.ImageListMagnetoOff[0].toImage(), magneto.ImageListTempoOff[0].toImage()) << absente;
    const auto erreurs = dialogues.Textes("erreur");
    ASSERT_EQ(erreurs.size(), 1u) << absente;
    EXPECT_NE(erreurs[0].find("skins/Ardoise/pieces.bmp"), std::string::npos) << erreurs[0];
    if (absente == "trop grande") {
      EXPECT_NE(erreurs[0].find("mesure 5790 × 5790 pixels : l'image des pièces en a au plus 2560 × 2560."),
                std::string::npos)
          << erreurs[0];
    }
  }
  EXPECT_LT(PicMemoireMio() - memoire, 200);
}
