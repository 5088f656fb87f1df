// Speed of the windows: from nothing to the first shown front panel, and
// the redraw of the board after one drag step on a 20 × 16 board, at its
// own size and at 300 % (under 2 ms).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "DialoguesQt.h"
#include "FichierPlateau.h"
#include "SkinForm.h"
#include "Uplateau.h"
#include "Session.h"
#include "Uplayer.h"
#include "gestion.h"

using namespace glissaro;

namespace {

// A program folder with the default skin's tiles.
struct Programme {
  QTemporaryDir dossier;
  QString Chemin() const { return dossier.path() + "/"; }
  Programme() {
    QDir().mkpath(Chemin() + "skins/Glissaro");
    QFile::copy(QString(GLISSARO_SOURCES) + "/data/skins/Glissaro/pieces.bmp", Chemin() + "skins/Glissaro/pieces.bmp");
  }
};

void DemarrageJusquAuPanneau(benchmark::State& etat) {
  Programme programme;
  DialoguesQt dialogues;
  for (auto _ : etat) {
    TSession session(programme.Chemin().toStdString(), dialogues);
    TFrmPlayer player(session, dialogues);
    TFrmPlateau plateau(session, player, dialogues);
    TFrmGestion gestion(programme.Chemin(), plateau.Images, dialogues);
    player.DefinirFenetres({&plateau, &gestion});
    player.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(player.SkinForm1->Picture().width());
    player.hide();
  }
}
BENCHMARK(DemarrageJusquAuPanneau)->Unit(benchmark::kMillisecond);

// One drag step on a 20 × 16 board and the repaint it asks for, at the
// scale given in percent (the board scaled with smooth filtering).
void RedessinApresUnPas(benchmark::State& etat) {
  Programme programme;
  DialoguesQt dialogues;
  TSession session(programme.Chemin().toStdString(), dialogues);
  TFrmPlayer player(session, dialogues);
  session.DefinirZoom(static_cast<int>(etat.range(0)));
  TFrmPlateau plateau(session, player, dialogues);
  player.DefinirFenetres({&plateau, nullptr});
  // 20 × 16: a border, full of one-tile pieces but one floor cell, final
  // places under some of them.
  TPlateau p;
  p.Largeur = 20;
  p.Hauteur = 16;
  p.Titre = "Grand";
  for (int l = 1; l <= 16; ++l)
    for (int c = 1; c <= 20; ++c) {
      p.Case(l, c).Serie = (l == 1 || l == 16 || c == 1 || c == 20) ? TSerieMap::Bord : TSerieMap::Normal;
      p.Case(l, c).PlaceFinal = (l + c) % 3 == 0;
    }
  p.Case(8, 11).Serie = TSerieMap::Vide;
  NumeroterPieces(p);
  const QString fichier = programme.Chemin() + "Grand.wbp";
  EcrirePlateau(fichier.toStdString(), p, "1");
  player.show();
  plateau.ChargerPlateau(fichier);
  QApplication::processEvents();
  QWidget* image = plateau.ImagePlateau;
  const int t = image->width() / 20;
  auto souris = [image](QEvent::Type type, QPoint p, Qt::MouseButton b, Qt::MouseButtons bs) {
    QMouseEvent e(type, QPointF(p), QPointF(image->mapToGlobal(p)), b, bs, Qt::NoModifier);
    QApplication::sendEvent(image, &e);
  };
  const QPoint depart(9 * t + t / 2, 7 * t + t / 2);
  QPoint p0 = depart;
  souris(QEvent::MouseButtonPress, p0, Qt::LeftButton, Qt::LeftButton);
  int sens = 1, pas = 0;
  for (auto _ : etat) {
    p0.rx() += sens * t;
    sens = -sens;
    souris(QEvent::MouseMove, p0, Qt::NoButton, Qt::LeftButton);
    // The repaint of what the step changed.
    QApplication::processEvents();
    // Each step is recorded: a new game, untimed, well before the history
    // is full (after an even count of steps, the piece is back at the start).
    if (++pas == THistorique::kCapacite - 1001) {
      etat.PauseTiming();
      souris(QEvent::MouseButtonRelease, p0, Qt::LeftButton, Qt::NoButton);
      plateau.ChargerPlateau(fichier);
      QApplication::processEvents();
      p0 = depart;
      souris(QEvent::MouseButtonPress, p0, Qt::LeftButton, Qt::LeftButton);
      pas = 0;
      etat.ResumeTiming();
    }
  }
  etat.counters["zoom"] = plateau.ZoomEffectif();
}
BENCHMARK(RedessinApresUnPas)->Arg(100)->Arg(300)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
