// The panel at work: drawing of displays, mouse press, movement and
// release, toggles and radio groups, track bars, window dragging, hints.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QToolTip>

#include "SkinForm.h"
#include "SkinTestOutils.h"

namespace glissaro {
namespace {

using test::kEnfonce;
using test::kRepos;
using test::kSurvol;

const QRgb kPouce = qRgb(1, 1, 1);
const QRgb kPouceActif = qRgb(2, 2, 2);

class SkinPanneau : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EcrireImage(dossier.Chemin("pouce.bmp"), test::Uni(10, 6, kPouce));
    test::EcrireImage(dossier.Chemin("actif.bmp"), test::Uni(12, 8, kPouceActif));
    Charger(test::EnTeteStandard());
    QObject::connect(skin, &TSkinForm::OnMouseDownNotify,
                     [this](const QString& id, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { appuis.push_back(id); });
    QObject::connect(skin, &TSkinForm::OnMouseUpNotify,
                     [this](const QString& id, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { relachers.push_back(id); });
    QObject::connect(skin, &TSkinForm::OnTrackBarNotify,
                     [this](const QString& id, int position) { positions.push_back(id + "=" + QString::number(position)); });
  }

  void Charger(std::vector<std::string> entete) {
    dossier.Description(test::Avec(std::move(entete), {
        "[HOTAREAINFO]", "Count=7",
        "1=A, 20, 20, 20, 10, Aide A",
        "2=B, 40, 20, 20, 10, Aide B",
        R"(3=C, 100, 20, 10, 10, "")",
        "4=R1, 20, 40, 10, 10, Radio 1, FALSE, Vitesse",
        "5=R2, 35, 40, 10, 10, Radio 2, TRUE, Vitesse",
        "6=R3, 50, 40, 10, 10, Radio 3, FALSE, Vitesse",
        "7=T, 70, 40, 10, 10, Bascule, FALSE",
        "[DISPLAYINFO]", "Count=3",
        "1=CPT, Arial, FALSE, FALSE, 8, 0, 62, 60, Number, 0000, Compteur, 61, 23",
        "2=TXT, Arial, FALSE, FALSE, 8, 0, 120, 5, Text, , , 70, 20",
        "3=FNT, Arial, TRUE, FALSE, 12, $FFFFFF, 130, 40, Font, , , 30, 15",
        "[TRACKBARINFO]", "Count=2",
        "1=VOL, pouce.bmp, actif.bmp, 10, 85, 112, H, 50, Volume",
        "2=VERT, pouce.bmp, actif.bmp, 180, 30, 58, V",
    }));
    ASSERT_TRUE(skin->LoadSkinFile(dossier.Ini()));
    ASSERT_TRUE(panneau.dialogues.appels.empty());
  }

  QRgb Pixel(int x, int y) const { return skin->Picture().pixel(x, y); }
  const HotAreaInfoRec& Zone(const char* id) const {
    return skin->HotAreas()[static_cast<std::size_t>(skin->IndexOfHotArea(id))];
  }
  std::vector<QString> Enfoncees() const {
    std::vector<QString> ids;
    for (const auto& zone : skin->HotAreas())
      if (zone.Down) ids.push_back(zone.ID);
    return ids;
  }

  test::DossierSkin dossier;
  test::Panneau panneau;
  TSkinForm* skin = panneau.skin;
  std::vector<QString> appuis;
  std::vector<QString> relachers;
  std::vector<QString> positions;
};

TEST_F(SkinPanneau, NumberStrip) {
  EXPECT_EQ(Pixel(62, 60), test::CouleurChiffre(0));
  skin->SetDisplayText("CPT", "12");
  EXPECT_EQ(Pixel(62, 60), test::CouleurChiffre(1));
  EXPECT_EQ(Pixel(76, 80), test::CouleurChiffre(1));
  EXPECT_EQ(Pixel(77, 60), test::CouleurChiffre(2));
  EXPECT_EQ(Pixel(91, 80), test::CouleurChiffre(2));
  EXPECT_EQ(Pixel(92, 60), kRepos);
  EXPECT_EQ(Pixel(62, 81), kRepos);
  // Letters show as 0, a blank as the blank glyph; nothing is clipped to
  // the display's width (62 + 61).
  skin->SetDisplayText("CPT", "A 3456789");
  EXPECT_EQ(Pixel(62, 60), test::CouleurChiffre(0));
  EXPECT_EQ(Pixel(77, 60), test::CouleurChiffre(10));
  EXPECT_EQ(Pixel(62 + 8 * 15, 70), test::CouleurChiffre(9));
}

TEST_F(SkinPanneau, TextStrip) {
  // Glyph i of the display, as (row, column) of the strip.
  auto verifier = [this](const char* texte, std::vector<std::pair<int, int>> cellules) {
    skin->SetDisplayText("TXT", QString::fromUtf8(texte));
    for (std::size_t i = 0; i < cellules.size(); ++i)
      EXPECT_EQ(Pixel(120 + int(i) * 13 + 6, 15), test::CouleurTexte(cellules[i].first, cellules[i].second))
          << texte << " " << i;
  };
  verifier("Aa1*z", {{0, 0}, {2, 0}, {1, 1}, {0, 29}, {2, 25}});
  EXPECT_EQ(Pixel(120, 24), test::CouleurTexte(0, 0));
  EXPECT_EQ(Pixel(120, 25), kRepos);
  // Accented letters as their plain letters, ligatures as two; what has no
  // plain letter is the blank.
  verifier("ÉçœÀ’", {{0, 4}, {2, 2}, {2, 14}, {2, 4}, {0, 0}, {1, 16}});
  verifier("øé", {{1, 10}, {2, 4}});
}

TEST_F(SkinPanneau, FontDisplayIsClippedToItsRectangle) {
  skin->SetDisplayText("FNT", "WWWWWWWWWWWW");
  const QRect rect(130, 40, 30, 15);
  int dedans = 0;
  int dehors = 0;
  for (int y = 30; y < 70; ++y)
    for (int x = 125; x < 200; ++x) {
      if (Pixel(x, y) == kRepos) continue;
      if (rect.contains(x, y))
        ++dedans;
      else if (!skin->TrackBars()[1].TrackRect().contains(x, y))
        ++dehors;
    }
  EXPECT_GT(dedans, 20);
  EXPECT_EQ(dehors, 0);
}

TEST_F(SkinPanneau, PressAndReleaseReportTheReleasePoint) {
  test::Presser(*skin, {25, 25});
  EXPECT_TRUE(Zone("A").Pressed);
  EXPECT_TRUE(skin->HotPressed());
  EXPECT_EQ(Pixel(25, 25), kEnfonce);
  EXPECT_EQ(Pixel(45, 25), kRepos);
  test::Relacher(*skin, {45, 25});
  EXPECT_EQ(appuis, std::vector<QString>{"A"});
  EXPECT_EQ(relachers, std::vector<QString>{"B"});
  // The release repaints; the release point's area loses its pressed state,
  // A keeps it until the mouse moves off it.
  EXPECT_TRUE(Zone("A").Pressed);
  test::Deplacer(*skin, {5, 95});
  EXPECT_FALSE(Zone("A").Pressed);

  // Other buttons press nothing but still report the element released on.
  test::Presser(*skin, {65, 70}, Qt::RightButton);
  test::Relacher(*skin, {25, 25}, Qt::RightButton);
  test::Relacher(*skin, {65, 70}, Qt::MiddleButton);
  test::Relacher(*skin, {5, 95}, Qt::RightButton);
  EXPECT_EQ(appuis, (std::vector<QString>{"A", ""}));
  EXPECT_EQ(relachers, (std::vector<QString>{"B", "A", "CPT", ""}));
  EXPECT_FALSE(Zone("A").Pressed);
}

TEST_F(SkinPanneau, MovingOffAnAreaClearsPressedStatesScannedBeforeTheOneUnderTheMouse) {
  test::Presser(*skin, {45, 25});
  test::Deplacer(*skin, {25, 25}, Qt::LeftButton);
  EXPECT_EQ(skin->CurrentID(), "A");
  EXPECT_TRUE(Zone("B").Pressed);
  test::Deplacer(*skin, {45, 35}, Qt::LeftButton);
  EXPECT_FALSE(Zone("B").Pressed);
}

TEST_F(SkinPanneau, HoverPicturesOfAdjacentAreas) {
  test::Deplacer(*skin, {25, 25});
  EXPECT_TRUE(skin->IsOver());
  EXPECT_EQ(Pixel(25, 25), kSurvol);
  EXPECT_EQ(Pixel(20, 30), kRepos);
  EXPECT_TRUE(skin->NeedsRedraw());
  test::Deplacer(*skin, {26, 25});
  EXPECT_FALSE(skin->NeedsRedraw());
  // Straight onto the adjacent area: A keeps its hover picture.
  test::Deplacer(*skin, {45, 25});
  EXPECT_EQ(skin->CurrentID(), "B");
  EXPECT_EQ(Pixel(25, 25), kSurvol);
  EXPECT_EQ(Pixel(45, 25), kSurvol);
  // Off every area: the next movement repaints.
  test::Deplacer(*skin, {5, 95});
  EXPECT_FALSE(skin->IsOver());
  EXPECT_TRUE(skin->NeedsRedraw());
  test::Deplacer(*skin, {6, 95});
  EXPECT_EQ(Pixel(25, 25), kRepos);
  EXPECT_EQ(Pixel(45, 25), kRepos);
  // Over a display: its ID and hint, no over state.
  test::Deplacer(*skin, {70, 70});
  EXPECT_EQ(skin->CurrentID(), "CPT");
  EXPECT_EQ(skin->Hint(), "Compteur");
  EXPECT_FALSE(skin->IsOver());
  // Out of the window straight from an area: nothing stays lit.
  test::Deplacer(*skin, {25, 25});
  test::Deplacer(*skin, {45, 25});
  QEvent sortie(QEvent::Leave);
  QApplication::sendEvent(skin, &sortie);
  EXPECT_EQ(Pixel(25, 25), kRepos);
  EXPECT_EQ(Pixel(45, 25), kRepos);
  EXPECT_FALSE(skin->IsOver());
  EXPECT_TRUE(skin->Hint().isEmpty());
}

TEST_F(SkinPanneau, NoHoverPicturesWithoutMouseOnBitmap) {
  auto entete = test::EnTeteStandard();
  entete.erase(std::find(entete.begin(), entete.end(), "MouseOnBitmap=over.bmp"));
  Charger(entete);
  EXPECT_FALSE(skin->HoverEnabled());
  test::Deplacer(*skin, {25, 25});
  EXPECT_TRUE(skin->IsOver());
  EXPECT_EQ(Pixel(25, 25), kRepos);
}

TEST_F(SkinPanneau, TogglesAndRadioGroups) {
  EXPECT_EQ(Enfoncees(), std::vector<QString>{"R2"});
  EXPECT_EQ(Pixel(35, 40), kEnfonce);
  test::Cliquer(*skin, {22, 42});
  EXPECT_EQ(Enfoncees(), std::vector<QString>{"R1"});
  EXPECT_EQ(skin->Groups()[0].Current, 3);
  EXPECT_EQ(Pixel(22, 42), kEnfonce);
  EXPECT_EQ(Pixel(35, 40), kRepos);
  test::Cliquer(*skin, {55, 45});
  test::Cliquer(*skin, {55, 45});
  EXPECT_EQ(Enfoncees(), std::vector<QString>{"R3"});
  EXPECT_EQ(Pixel(55, 45), kEnfonce);

  // A toggle outside a group flips at each press.
  test::Cliquer(*skin, {75, 45});
  EXPECT_EQ(Enfoncees(), (std::vector<QString>{"R3", "T"}));
  EXPECT_EQ(Pixel(75, 45), kEnfonce);
  test::Cliquer(*skin, {75, 45});
  EXPECT_FALSE(Zone("T").Down);
  EXPECT_EQ(Pixel(75, 45), kRepos);

  // The owner's side.
  skin->SetHotAreaDown("T", true);
  EXPECT_EQ(Pixel(75, 45), kEnfonce);
  skin->SetHotAreaDown("t", false);
  EXPECT_TRUE(Zone("T").Down);
}

TEST_F(SkinPanneau, ValueChangesRepaintTheWholePanel) {
  test::Deplacer(*skin, {25, 25});
  ASSERT_EQ(Pixel(25, 25), kSurvol);
  skin->SetDisplayText("INCONNU", "5");
  EXPECT_EQ(Pixel(25, 25), kRepos);
  EXPECT_EQ(skin->Displays()[0].Value, "0000");
}

TEST_F(SkinPanneau, TrackBars) {
  const TrackBarInfoRec& vol = skin->TrackBars()[0];
  ASSERT_EQ(vol.Offset, 50);
  // A press on the track centres the thumb on the point: 30 - 10 - 12 / 2.
  test::Presser(*skin, {30, 88});
  EXPECT_EQ(vol.Offset, 14);
  EXPECT_EQ(vol.Position, 14);
  EXPECT_EQ(skin->CurrentID(), "VOL");
  EXPECT_FALSE(skin->Dragging());
  test::Relacher(*skin, {30, 88});
  test::Presser(*skin, {121, 88});
  EXPECT_EQ(vol.Position, 100);
  EXPECT_EQ(vol.Offset, 100);
  test::Relacher(*skin, {121, 88});
  EXPECT_EQ(positions, (std::vector<QString>{"VOL=14", "VOL=100"}));

  // Dragging the thumb keeps the grab point under the mouse.
  test::Presser(*skin, {115, 86});
  EXPECT_TRUE(skin->Dragging());
  EXPECT_EQ(skin->ActiveTrackBar(), 0);
  test::Deplacer(*skin, {60, 20}, Qt::LeftButton);
  EXPECT_EQ(vol.Offset, 45);
  EXPECT_EQ(vol.Position, 45);
  EXPECT_EQ(Pixel(10 + 45, 85), kPouceActif);
  // Beyond the track's span the thumb stays; its end is still inside.
  test::Deplacer(*skin, {123, 88}, Qt::LeftButton);
  EXPECT_EQ(vol.Offset, 45);
  test::Deplacer(*skin, {122, 88}, Qt::LeftButton);
  EXPECT_EQ(vol.Position, 100);
  test::Relacher(*skin, {122, 88});
  EXPECT_FALSE(skin->Dragging());
  EXPECT_EQ(Pixel(110, 85), kPouce);
  EXPECT_EQ(positions.size(), 4u);

  // Vertical: the thumb's height counts; the position is rounded back to
  // whole percent of the course (58 - 8).
  const TrackBarInfoRec& vert = skin->TrackBars()[1];
  test::Presser(*skin, {185, 60});
  EXPECT_EQ(vert.Position, 52);
  EXPECT_EQ(vert.Offset, 26);
  test::Relacher(*skin, {185, 60});
  test::Deplacer(*skin, {15, 90});
  EXPECT_EQ(skin->Hint(), "Volume");

  TrackBarInfoRec barre = vol;
  barre.Position = 200;
  TSkinForm::ClampTrackBar(barre);
  EXPECT_EQ(barre.Position, 100);
  EXPECT_EQ(barre.Offset, 100);
  barre.Position = 33;
  TSkinForm::ClampTrackBar(barre);
  EXPECT_EQ(barre.Offset, 33);
}

TEST_F(SkinPanneau, PressOutsideEveryElementDragsTheWindow) {
  panneau.fenetre->move(300, 200);
  test::Presser(*skin, {195, 5});
  test::Deplacer(*skin, {225, 25}, Qt::LeftButton);
  EXPECT_EQ(panneau.fenetre->pos(), QPoint(330, 220));
  test::Deplacer(*skin, {195, 0}, Qt::LeftButton);
  EXPECT_EQ(panneau.fenetre->pos(), QPoint(330, 215));
  // The release ends the move and reaches no element.
  test::Relacher(*skin, {25, 25});
  EXPECT_EQ(appuis, std::vector<QString>{""});
  EXPECT_TRUE(relachers.empty());

  // A press on an area or a display does not move the window.
  for (const QPoint point : {QPoint(25, 25), QPoint(70, 70)}) {
    test::Presser(*skin, point);
    test::Deplacer(*skin, point + QPoint(40, 40), Qt::LeftButton);
    test::Relacher(*skin, point + QPoint(40, 40));
    EXPECT_EQ(panneau.fenetre->pos(), QPoint(330, 215));
  }
  EXPECT_EQ(relachers.size(), 2u);
}

// Waits until no hint is shown (hiding one is delayed).
void AttendreSansInfobulle() {
  QToolTip::hideText();
  QElapsedTimer minuteur;
  minuteur.start();
  while (QToolTip::isVisible() && minuteur.elapsed() < 2000) QApplication::processEvents(QEventLoop::AllEvents, 50);
}

TEST_F(SkinPanneau, HintsFollowTheElementUnderTheMouse) {
  const auto demander = [&](QPoint point) {
    QHelpEvent aide(QEvent::ToolTip, point, skin->mapToGlobal(point));
    QApplication::sendEvent(skin, &aide);
  };
  panneau.fenetre->show();
  AttendreSansInfobulle();
  test::Deplacer(*skin, {105, 25});
  EXPECT_EQ(skin->CurrentID(), "C");
  demander({105, 25});
  EXPECT_FALSE(QToolTip::isVisible());
  test::Deplacer(*skin, {25, 25});
  demander({25, 25});
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), "Aide A");
  test::Deplacer(*skin, {45, 25});
  demander({45, 25});
  EXPECT_EQ(QToolTip::text(), "Aide B");
  test::Deplacer(*skin, {5, 95});
  EXPECT_TRUE(skin->Hint().isEmpty());
  AttendreSansInfobulle();
}

}  // namespace
}  // namespace glissaro
