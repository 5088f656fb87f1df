// TFrmPlayer: the main window, a borderless front panel drawn by the skin.
// It shows the session's board title and move counter on the panel, turns
// clicks on the panel's hot areas into commands, carries the settings menu
// and ends the program.
#pragma once

#include <QIcon>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

#include "Dialogues.h"
#include "Session.h"

class QMenu;
class QAction;
class QActionGroup;

namespace glissaro {

class TSkinForm;
class TFrmPlateau;
class TFrmGestion;
class TFrmMagneto;
class TFrmEditeur;
class TFrmAuteur;
class TFrmAbout;
class TFrmPack;

// The windows made after the main window, handed to it by the program entry
// (a window that is not there is left null).
struct Fenetres {
  TFrmPlateau* plateau = nullptr;
  TFrmGestion* gestion = nullptr;
  TFrmMagneto* magneto = nullptr;
  TFrmEditeur* editeur = nullptr;
  TFrmAuteur* auteur = nullptr;
  TFrmAbout* about = nullptr;
  TFrmPack* pack = nullptr;
};

class TFrmPlayer : public QWidget, private ObservateurSession {
  Q_OBJECT
 public:
  // The skin of the session's settings is put in place (the default one
  // when it cannot be used), and a message of settings that could not be
  // read is said.
  TFrmPlayer(TSession& session, Dialogues& dialogues);
  ~TFrmPlayer() override;

  // The windows made after this one, handed over by the program entry.
  void DefinirFenetres(const Fenetres& fenetres);

  TSkinForm* SkinForm1 = nullptr;

  // The settings menu and its items.
  QMenu* PopupMenu1 = nullptr;
  QAction* deplace4 = nullptr;
  QAction* deplace2 = nullptr;
  QAction* Deplace1 = nullptr;
  QAction* Magneto50 = nullptr;
  QAction* Magneto100 = nullptr;
  QAction* Magneto200 = nullptr;
  // The board's size ("Taille du plateau") and its goals.
  QAction* Taille0 = nullptr;
  QAction* Taille100 = nullptr;
  QAction* Taille150 = nullptr;
  QAction* Taille200 = nullptr;
  QAction* Taille300 = nullptr;
  QAction* PlacesFinales1 = nullptr;
  QAction* Editeurdeplateau1 = nullptr;
  QMenu* SkinsMenu = nullptr;
  QAction* Defaut1 = nullptr;
  QAction* Plateauxsupplmentaires1 = nullptr;
  QAction* Apropos1 = nullptr;
  QAction* Officialiser1 = nullptr;

  // Handlers.
  void SkinForm1MouseUpNotify(const QString& ID, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
  void voirAide();
  void deplace2Click(QAction* item);
  void Magneto50Click(QAction* item);
  // The board window's size (tag: 0 automatic, else the percentage) and
  // its final places shown or not.
  void TailleClick(QAction* item);
  void PlacesFinales1Click();

  // A file handed over by the desktop or the command line: a board is
  // loaded, a sequence reloaded onto its board (asked for in the board
  // manager when none is loaded), a pack opened in the pack installer.
  void OuvrirFichier(const QString& chemin);
  // Shows the board editor, not modal.
  void Editeurdeplateau1Click();
  // The author screen and the about box, modal.
  void Officialiser1Click();
  void Apropos1Click();
  // The pack installer, modal.
  void Plateauxsupplmentaires1Click();
  // Authors reach "Officialiser" in the menu (the option --auteur).
  void MontrerOfficialiser(bool visible);

  // Skins: the sub-menu of the skin folders, and the switches. A switch
  // that fails says why and puts the previous skin back whole; one that
  // succeeds becomes the session's.
  void ListeSkins();
  void AjouteSkin(const QString& nom);
  void SkinClick(QAction* item);
  void Defaut1Click();
  // The replay buttons' pictures of the current skin: each of the skin's
  // two strips when it has it, else the program's own.
  void ImageMagneto(TFrmMagneto& magneto);

  // The folder of a skin ("/" at the end), its name matched without regard
  // to case when it is not found as written; that of the current skin.
  QString DossierSkin(const QString& nom) const;
  QString DossierSkin() const { return DossierSkin(QString::fromStdString(session_.Reglages().NomSkin)); }

  // Where the desktop places every window itself and shapes none
  // (Wayland): the board window is drawn in this one, under the panel; the
  // window is translucent outside the panel's mask and the board, which
  // are its input region. Called once, before the window is shown, after
  // the windows were handed over.
  void AssemblerPlateau();
  bool Assemble() const { return assemble_; }
  // Lays out the panel and, when shown, the board under it (centred on each
  // other as the board window is under the panel), sizes the window to
  // them and gives it their shape.
  void DisposerAssemblage();

  // How a document is handed to the desktop (tests replace it).
  std::function<void(const QUrl&)> OuvrirUrl;

 signals:
  // The main window closed after confirmation: the program ends.
  void Fermee();

 protected:
  void showEvent(QShowEvent* evenement) override;
  void closeEvent(QCloseEvent* evenement) override;
  void keyPressEvent(QKeyEvent* evenement) override;
  void moveEvent(QMoveEvent* evenement) override;
  bool eventFilter(QObject* objet, QEvent* evenement) override;
  // Tab selects the board's pieces.
  bool focusNextPrevChild(bool) override { return false; }

 private:
  // The program folder, "/" at the end.
  QString Chemin() const { return QString::fromStdString(session_.Chemin()); }
  // The panel shows the session's counter and title.
  void CompteurAffiche(const std::string& texte) override;
  void TitreAffiche(const std::string& titre) override;

  void Loaded();
  // The skin of the settings, or the default one when it cannot be used.
  void ChargerSkinDesReglages();
  void FormShow();
  void CreerMenu();
  // Puts a skin in place: panel, replay buttons, tiles. False, with
  // nothing changed, when a part cannot be loaded.
  bool ChangerSkin(const QString& nom);
  void CocherSkin();

  TSession& session_;
  Dialogues& dialogues_;
  TFrmPlateau* plateau_ = nullptr;
  TFrmGestion* gestion_ = nullptr;
  TFrmMagneto* magneto_ = nullptr;
  TFrmEditeur* editeur_ = nullptr;
  TFrmAuteur* auteur_ = nullptr;
  TFrmAbout* about_ = nullptr;
  TFrmPack* pack_ = nullptr;
  bool dejaMontree_ = false;
  bool assemble_ = false;
  QActionGroup* groupeDeplacement_ = nullptr;
  QActionGroup* groupeMagneto_ = nullptr;
  QActionGroup* groupeSkins_ = nullptr;
  QActionGroup* groupeTaille_ = nullptr;
};

// The game's icon, in every size drawn for it.
QIcon IconeGlissaro();

}  // namespace glissaro
