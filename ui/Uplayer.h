// TFrmPlayer: the main window, a borderless front panel drawn by the skin.
// It holds the state the whole program shares, turns clicks on the panel's
// hot areas into commands, carries the settings menu and ends the program.
#pragma once

#include <QIcon>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

#include "Dialogues.h"
#include "Records.h"

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

class TFrmPlayer : public QWidget {
  Q_OBJECT
 public:
  // chemin: the program folder, ending with "/"; empty for the folder of
  // the executable.
  explicit TFrmPlayer(Dialogues& dialogues, const QString& chemin = {});

  // The windows made after this one, handed over by the program entry.
  void DefinirFenetres(const Fenetres& fenetres);

  // Shared state.
  QString Chemin;
  QString NomSkin;
  int VitesseDeplacement = 2;
  int VitesseMagneto = 200;
  QString FichierPlateau;
  // The player's records (Records.ini in the program folder).
  TCarnetRecords Records;
  // The move count of the current game (kept by the board window's game).
  int32_t Compteur() const;

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
  // The board's size and the final places, as read from the settings.
  int Zoom = 0;
  bool PlacesFinales = true;

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
  // that fails says why and puts the previous skin back whole.
  void ListeSkins();
  void AjouteSkin(const QString& nom);
  void SkinClick(QAction* item);
  void Defaut1Click();
  // The replay buttons' pictures of the current skin: each of the skin's
  // two strips when it has it, else the program's own.
  void ImageMagneto(TFrmMagneto& magneto);

  // The folder of a skin ("/" at the end), its name matched without regard
  // to case when it is not found as written.
  QString DossierSkin(const QString& nom) const;

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
  void Loaded();
  void FormShow();
  void CreerMenu();
  // Puts a skin in place: panel, replay buttons, tiles. False, with
  // nothing changed, when a part cannot be loaded.
  bool ChangerSkin(const QString& nom);
  void CocherSkin();

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
