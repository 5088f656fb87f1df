#include <gtest/gtest.h>

#include <map>
#include <string>

#include "AidePlateau.h"
#include "Indice.h"
#include "Plateforme.h"
#include "Vue.h"

using namespace glissaro;
using glissaro::test::Dessiner;

TEST(Vue, TailleAutomatiqueEtRetourAuxPixelsDuPlateau) {
  // L'Âne rouge's 192 × 224 on 1280 × 1024: 614 pixels of height allowed.
  EXPECT_EQ(ZoomAutomatique(192, 224, 1280, 1024), 200);
  EXPECT_EQ(ZoomAutomatique(192, 204, 1280, 1024), 300);  // 612 high fits
  EXPECT_EQ(ZoomAutomatique(640, 512, 1280, 1024), 100);
  EXPECT_EQ(ZoomAutomatique(2000, 2000, 1280, 1024), 100);  // never less
  EXPECT_EQ(ZoomAutomatique(400, 100, 1000, 1000), 150);  // the width decides
  EXPECT_EQ(AEchelle(105, 150), 157);
  EXPECT_EQ(VersPlateau(157, 150), 104);
  EXPECT_EQ(VersPlateau(21, 200), 10);
  EXPECT_EQ(VersPlateau(-1, 200), -1);
  EXPECT_EQ(VersPlateau(-3, 300), -1);
  EXPECT_EQ(VersPlateau(-4, 300), -2);
  EXPECT_TRUE(ZoomValide(0));
  EXPECT_FALSE(ZoomValide(120));
}

TEST(Vue, UneFenetreACoteDUneAutreDansLEcran) {
  const Rectangle ecran{0, 0, 1000, 800};
  EXPECT_EQ(PositionACote({100, 200, 300, 300}, 200, 50, ecran), (std::array<int, 2>{400, 200}));
  EXPECT_EQ(PositionACote({700, 200, 250, 300}, 200, 50, ecran), (std::array<int, 2>{500, 200}));
  // No room on either side: under it, kept on the screen.
  EXPECT_EQ(PositionACote({50, 700, 900, 90}, 200, 50, ecran), (std::array<int, 2>{50, 750}));
}

TEST(Indice, LePremierPasDeLaSolutionOuPourquoiIlNYEnAPas) {
  // A must go right twice; b is in the way and can only make room by
  // going down.
  const auto p = Dessiner({"#####", "#Ab.#", "##.##", "#####"}, {".....", "...x.", ".....", "....."});
  const auto indice = IndiceDuResultat(p, Resoudre(p, OptionsIndice()));
  ASSERT_EQ(indice.issue, IssueIndice::Pas);
  EXPECT_EQ(indice.piece, p.Case(2, 3).Piece);
  EXPECT_EQ(std::pair(indice.dx, indice.dy), std::pair(0, 1));

  const auto resolu = Dessiner({"A"}, {"x"});
  EXPECT_EQ(IndiceDuResultat(resolu, Resoudre(resolu, OptionsIndice())).issue, IssueIndice::DejaResolu);
  const auto bloque = Dessiner({"A#."}, {"..x"});
  const auto aucune = IndiceDuResultat(bloque, Resoudre(bloque, OptionsIndice())).issue;
  EXPECT_EQ(TexteIndice(aucune), "Aucune solution depuis cette position");
  OptionsSolveur limite = OptionsIndice();
  limite.limiteEtats = 2;
  const auto grand = Dessiner({"######", "#bAAc#", "#bAAc#", "#deef#", "#dghf#", "#i..j#", "######"},
                              {"......", "......", "......", "......", "..xx..", "..xx..", "......"});
  EXPECT_EQ(TexteIndice(IndiceDuResultat(grand, Resoudre(grand, limite)).issue), "Indice indisponible sur ce plateau");
}

TEST(Plateforme, UneSessionWaylandAvecUnServeurXPrendX11SaufChoixDuJoueur) {
  const auto demandee = [](std::map<std::string, std::string> env) {
    return PlateformeDemandee([&env](const char* nom) -> const char* {
      const auto it = env.find(nom);
      return it == env.end() ? nullptr : it->second.c_str();
    });
  };
  EXPECT_EQ(demandee({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}), "xcb");
  EXPECT_EQ(demandee({{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":1"}}), "xcb");
  // Wayland alone, X11 alone, or the player's own choice (even empty).
  EXPECT_EQ(demandee({{"WAYLAND_DISPLAY", "wayland-0"}}), "");
  EXPECT_EQ(demandee({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ""}}), "");
  EXPECT_EQ(demandee({{"DISPLAY", ":0"}, {"XDG_SESSION_TYPE", "x11"}}), "");
  EXPECT_EQ(demandee({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}}), "");
  EXPECT_EQ(demandee({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", ""}}), "");
  EXPECT_TRUE(EstPlateformeWayland("wayland-egl"));
  EXPECT_FALSE(EstPlateformeWayland("xcb"));
}
