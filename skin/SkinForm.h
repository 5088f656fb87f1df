// TSkinForm: the component that turns a borderless window into a skinned
// panel. It fills its window, gives it the outline of the skin's mask,
// paints the skin's pictures, tracks the mouse over the hot areas (buttons),
// the displays and the track bars, shows their hints, lets the user drag the
// window by any point that is not an element, and tells its owner what was
// clicked by the element's ID.
//
// A skin is a description (skin.ini) and the images it names; it is read
// from a skin folder (LoadSkinFile) or from the copy embedded in the program
// (LoadDefaultSkin).
//
// On a screen of device pixel ratio 1.5 or more, each image's "@2x" file
// (NAME@2x.EXT beside NAME.EXT, exactly twice its size) is drawn instead at
// that ratio, when the skin has one; everything else (the description's
// coordinates, the hot areas, the displays, the window's shape) stays in
// panel pixels.
//
// Where the desktop shapes no window (Wayland), the owner may shape the
// window itself (SetShapedByOwner): the component then keeps its own size
// and place in a larger translucent window, and paints nothing outside its
// mask.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace glissaro {

class Dialogues;
class FichierIni;
class LecteurImagesSkin;
struct BorneImage;

// The description version this program writes and expects.
inline constexpr int SkinFileVersion = 210;

// A hot area: a button of the panel.
struct HotAreaInfoRec {
  QString ID;
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool IsToggle = false;
  bool Down = false;
  QString Group;
  QString Hint;
  bool Pressed = false;

  QRect Rect() const { return {Left, Top, Width, Height}; }
};
using THotAreaInfoArray = std::vector<HotAreaInfoRec>;

// A display area: a value drawn from a glyph strip or with a font.
struct DisplayInfoRec {
  QString ID;
  int Left = 0;
  int Top = 0;
  QFont Font;
  QColor FontColor = Qt::black;
  int Charset = 1;
  QString Kind;  // "Number", "Text", or anything else for font drawing
  QString Value;
  QString Hint;
  int Width = 0;
  int Height = 0;

  QRect Rect() const { return {Left, Top, Width, Height}; }
};
using TDisplayInfoArray = std::vector<DisplayInfoRec>;

// A track bar: a thumb that slides along a track, positions 0 to 100.
struct TrackBarInfoRec {
  QString ID;
  QImage ThumbBitmap;
  QImage ActiveThumbBitmap;
  // Their "@2x" pictures, when drawn at twice the size.
  QImage ThumbBitmap2x;
  QImage ActiveThumbBitmap2x;
  int Left = 0;
  int Top = 0;
  int Length = 0;
  bool Horizontal = true;
  uint8_t Position = 0;
  int Offset = 0;
  int ThumbWidth = 0;
  int ThumbHeight = 0;
  QString Hint;
  int Min = 0;
  int Max = 100;

  // The thumb's size along the track.
  int ThumbSize() const { return Horizontal ? ThumbWidth : ThumbHeight; }
  // The whole track: its length along the bar, the thumb's size across.
  QRect TrackRect() const;
  // The thumb at its current offset.
  QRect ThumbRect() const;
};
using TTrackBarInfoArray = std::vector<TrackBarInfoRec>;

// A radio group of toggles: its name and the index of its current down
// member (-1 for none).
struct GroupInfoRec {
  QString Name;
  int Current = -1;
};

// The platform colour value 0x00BBGGRR as a colour.
QColor CouleurDepuisValeur(int32_t valeur);

class TSkinForm : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QColor KeyColor READ KeyColor WRITE SetKeyColor)
  Q_PROPERTY(QColor Tolerance READ Tolerance WRITE SetTolerance)

 public:
  // Messages (load errors, warnings) go through the dialogues. The parent
  // must be a top-level window (or none yet); the component then fills it
  // and the window loses its border.
  explicit TSkinForm(Dialogues& dialogues, QWidget* parent = nullptr);
  ~TSkinForm() override;

  // The mask colour that lies outside the window, and the per-channel width
  // of its range. Changes take effect at the next skin load.
  QColor KeyColor() const { return keyColor_; }
  void SetKeyColor(const QColor& couleur) { keyColor_ = couleur; }
  QColor Tolerance() const { return tolerance_; }
  void SetTolerance(const QColor& couleur) { tolerance_ = couleur; }

  // Loads a skin from its description file, or the embedded default skin.
  // On failure the message is shown, the load stops where it failed and the
  // function returns false.
  bool LoadSkinFile(const QString& chemin);
  bool LoadDefaultSkin();

  // The first display of that ID gets the text; the panel is repainted in
  // any case.
  void SetDisplayText(const QString& id, const QString& texte);
  // The first hot area of that ID gets its down state and the panel is
  // repainted; nothing when no area has that ID.
  void SetHotAreaDown(const QString& id, bool etat);
  int IndexOfHotArea(const QString& id) const;
  QString GetHotAreaID(int index) const;

  // Repaints the whole panel.
  void RedrawSkin();

  // The window's shape: the union of the rows' runs of pixels that are not
  // of the key colour range. Nothing for a null mask.
  static std::optional<QRegion> BitmapToRegion(const QImage& masque, const QColor& keyColor,
                                               const QColor& tolerance);
  // Sizes the window and the component to the mask and gives the window its
  // shape (only the component, when the owner shapes the window).
  void ApplyMask();

  // The owner places the component in its window and shapes the window:
  // the mask's region is then only given (Region), and the pixels outside it
  // are painted transparent. Set before the first load.
  void SetShapedByOwner(bool parLeProprietaire) { shapedByOwner_ = parLeProprietaire; }
  bool ShapedByOwner() const { return shapedByOwner_; }
  // The panel's shape, in its own coordinates (the whole panel without a
  // mask).
  QRegion Region() const { return region_.value_or(QRegion(rect())); }
  // 2 when the skin is drawn from its "@2x" pictures' ratio, else 1.
  int Scale() const { return echelle_; }

  // Draws a value from the digit strip ("0123456789 ") or the character
  // strip (three rows) with its first glyph at (left, top); not clipped.
  void DrawNumberStrip(int left, int top, const QString& texte);
  void DrawTextStrip(int left, int top, const QString& texte);

  // Makes a hot area the current member of its radio group, setting the
  // previous member up.
  void SelectGroupMember(int index);
  // Brings a track bar's position into its bounds and places its thumb.
  static void ClampTrackBar(TrackBarInfoRec& barre);

  // What the last load read and the state the mouse left.
  const THotAreaInfoArray& HotAreas() const { return hotAreas_; }
  const TDisplayInfoArray& Displays() const { return displays_; }
  const TTrackBarInfoArray& TrackBars() const { return trackBars_; }
  const std::vector<GroupInfoRec>& Groups() const { return groupes_; }
  const QImage& MaskBitmap() const { return masque_.simple; }
  const QImage& MouseUpBitmap() const { return imageRepos_.simple; }
  const QImage& MouseOnBitmap() const { return imageSurvol_.simple; }
  const QImage& MouseDownBitmap() const { return imageEnfonce_.simple; }
  const QImage& NumbersBitmap() const { return chiffres_.simple; }
  const QImage& TextBitmap() const { return caracteres_.simple; }
  // The drawing surface: what the panel shows, at Scale() (its device
  // pixel ratio).
  const QImage& Picture() const { return surface_; }
  const QString& CurrentID() const { return currentID_; }
  const QString& Hint() const { return hint_; }
  bool HoverEnabled() const { return hoverEnabled_; }
  bool IsOver() const { return isOver_; }
  bool NeedsRedraw() const { return needsRedraw_; }
  bool HotPressed() const { return hotPressed_; }
  bool Dragging() const { return dragging_; }
  int ActiveTrackBar() const { return activeTrackBar_; }
  int Version() const { return version_; }
  int Charset() const { return charset_; }

 signals:
  void OnMouseDownNotify(const QString& ID, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void OnMouseUpNotify(const QString& ID, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void OnMouseMoveNotify(const QString& ID, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
  void OnTrackBarNotify(const QString& ID, int position);
  void OnSkinChanged();

 protected:
  bool event(QEvent* evenement) override;
  bool eventFilter(QObject* objet, QEvent* evenement) override;
  void paintEvent(QPaintEvent* evenement) override;
  void mousePressEvent(QMouseEvent* evenement) override;
  void mouseMoveEvent(QMouseEvent* evenement) override;
  void mouseReleaseEvent(QMouseEvent* evenement) override;

 private:
  enum class Source { Fichier, Ressource };

  QWidget* Fenetre() const;
  void PlacerSurParent();
  bool Charger(const std::function<FichierIni()>& ouvrir, Source source, const std::string& dossier);
  void LireDescription(const FichierIni& description, Source source, const std::string& dossier);
  // A picture in panel pixels, and the same drawn at twice the size when
  // the skin is drawn so and has it.
  struct ImageSkin {
    QImage simple;
    QImage double_;
    const QImage& Ecran() const { return double_.isNull() ? simple : double_; }
  };
  void ChargerImage(LecteurImagesSkin& lecteur, ImageSkin& cible, const std::string& nom, Source source,
                    const BorneImage& borne);
  int EchelleEcran() const;
  void LireHotArea(HotAreaInfoRec& zone, int index, const std::string& ligne);
  void LireDisplay(DisplayInfoRec& affichage, const std::string& ligne);
  void LireTrackBar(LecteurImagesSkin& lecteur, TrackBarInfoRec& barre, const std::string& ligne, Source source,
                    const std::string& dossier);
  void CopierRect(const ImageSkin& source, const QRect& rect);
  bool PresserTrackBar(int index, const QPoint& point);
  void DeplacerCurseur(const QPoint& point);
  void PlacerCurseur(TrackBarInfoRec& barre, int64_t offset);
  void CommencerDeplacementFenetre(const QPoint& global);

  Dialogues& dialogues_;
  bool inerte_ = false;
  QPointer<QWidget> fenetreSuivie_;

  QColor keyColor_ = Qt::white;
  QColor tolerance_ = Qt::black;

  ImageSkin masque_;
  ImageSkin imageRepos_;
  ImageSkin imageSurvol_;
  ImageSkin imageEnfonce_;
  ImageSkin chiffres_;
  ImageSkin caracteres_;
  // What the panel shows, at the drawing's ratio (devicePixelRatio).
  QImage surface_;
  int echelle_ = 1;
  bool shapedByOwner_ = false;
  std::optional<QRegion> region_;
  // Where the window is translucent: opaque inside the mask, at the
  // drawing's ratio.
  QImage alphaMasque_;

  THotAreaInfoArray hotAreas_;
  TDisplayInfoArray displays_;
  TTrackBarInfoArray trackBars_;
  std::vector<GroupInfoRec> groupes_;
  int charset_ = 1;
  int version_ = SkinFileVersion;

  QString currentID_;
  QString hint_;
  bool hotPressed_ = false;
  bool dragging_ = false;
  int activeTrackBar_ = -1;
  int grabOffset_ = 0;
  bool isOver_ = false;
  bool needsRedraw_ = true;
  bool hoverEnabled_ = true;

  // Window drag started by a press outside every element: by the system, or
  // followed here when the platform has no system move.
  bool deplacementFenetre_ = false;
  bool deplacementManuel_ = false;
  QPoint origineSouris_;
  QPoint origineFenetre_;
};

}  // namespace glissaro
