// The program entry: the application titled "Glissaro", the game's session
// on its folder, the windows created hidden in their fixed order, each
// handed what it needs, then the message loop until the main window closes.
#include <QApplication>
#include <QGuiApplication>
#include <QWindow>
#include <QStringList>
#include <QTimer>

#include <cstdlib>
#include <initializer_list>
#include <string>

#include "DialoguesQt.h"
#include "Plateforme.h"
#include "Session.h"
#include "Solveur.h"
#include "FormEditeur.h"
#include "Installation.h"
#include "UNouveau.h"
#include "Uplateau.h"
#include "Magneto.h"
#include "UAuteur.h"
#include "UPack.h"
#include "Uabout.h"
#include "Uplayer.h"
#include "gestion.h"

int main(int argc, char** argv) {
  glissaro::GarderLaMemoireDesRecherches();
  // On a Wayland desktop that has an X server (Xwayland), the X11 platform:
  // there the panel is shaped and the board placed under it.
  const auto variable = [](const char* nom) { return std::getenv(nom); };
  const std::string plateforme = glissaro::PlateformeDemandee(variable);
  if (!plateforme.empty()) qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(plateforme));
  QApplication application(argc, argv);
  // Every window keeps its own caption: no display name is added to it.
  QApplication::setApplicationName("Glissaro");
  // Wayland compositors and docks match the windows with the desktop entry.
  QGuiApplication::setDesktopFileName("org.glissaro.Glissaro");
  QApplication::setQuitOnLastWindowClosed(false);
  // Every window, message boxes included, carries the game's icon.
  QApplication::setWindowIcon(glissaro::IconeGlissaro());
  // Qt's standard dialogs and buttons speak French too.
  if (!glissaro::ChargerTraductionsQt(application))
    qWarning("Traductions de Qt introuvables : les dialogues standard restent en anglais.");

  glissaro::DialoguesQt dialogues;
  // The game's folder: the program folder itself, or, for a program
  // installed for the whole machine, the player's own, made or brought up
  // to date from the shipped data.
  const auto dossier = glissaro::ChoisirDossierDuJeu(QCoreApplication::applicationDirPath().toStdString(), variable);
  if (!dossier.erreur.empty()) {
    dialogues.Erreur(dossier.erreur);
    return 1;
  }
  if (dossier.livre) {
    const auto installation = glissaro::MettreAJourSiLivreChange(*dossier.livre, dossier.programme);
    if (!installation.ok) {
      dialogues.Erreur(installation.message);
      return 1;
    }
  }
  // The settings, the records, the current board and its game.
  glissaro::TSession session(dossier.programme, dialogues);
  const QString chemin = QString::fromStdString(session.Chemin());
  glissaro::TFrmPlayer player(session, dialogues);
  glissaro::TFrmPlateau plateau(session, player, dialogues);
  // The editor takes the new-board dialog, made just before it.
  glissaro::TFrmNouveau nouveau(&player);
  glissaro::TFrmEditeur editeur(nouveau, dialogues, chemin);
  glissaro::TFrmGestion gestion(chemin, plateau.Images, dialogues);
  glissaro::TFrmMagneto magneto(session, player, plateau);
  glissaro::TFrmAuteur auteur(chemin, plateau.Images, dialogues, &player);
  glissaro::TFrmPack pack(chemin, dialogues, &player);
  glissaro::TFrmAbout about(chemin, dialogues, &player);
  player.DefinirFenetres({&plateau, &gestion, &magneto, &editeur, &auteur, &about, &pack});
  plateau.DefinirGestion(&gestion);
  if (glissaro::EstPlateformeWayland(QGuiApplication::platformName().toStdString())) {
    // The compositor places every window: the board is drawn under the
    // panel in its window, and the other windows open where the compositor
    // puts them, attached to the panel.
    player.AssemblerPlateau();
    player.winId();
    for (QWidget* fenetre : std::initializer_list<QWidget*>{&gestion, &magneto, &editeur, &nouveau, &auteur, &about, &pack}) {
      fenetre->winId();
      fenetre->windowHandle()->setTransientParent(player.windowHandle());
    }
  }
  gestion.DefinirRecords(session.Records());
  QObject::connect(&player, &glissaro::TFrmPlayer::Fermee, &application, &QApplication::quit);

  player.show();
  // The files named on the command line (a board, a sequence, a pack) are
  // opened in turn once the windows are up.
  const QStringList arguments = QApplication::arguments();
  player.MontrerOfficialiser(arguments.contains("--auteur"));
  QTimer::singleShot(0, &player, [&player, arguments] {
    for (int i = 1; i < arguments.size(); ++i)
      if (!arguments[i].startsWith("--")) player.OuvrirFichier(arguments[i]);
  });
  return application.exec();
}
