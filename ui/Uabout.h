// TFrmAbout: the about box. The logo, the program's version, the web site
// and the addresses of the people behind the program.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

#include "Dialogues.h"
#include "Version.h"

class QPushButton;

namespace glissaro {

// What the about box shows besides the web site (kAdresseSiteWeb): the
// distribution's own values.
inline constexpr const char* kDeveloppeur = "L'équipe Glissaro";
inline constexpr const char* kCourrielDeveloppeur = "equipe@glissaro.org";
inline constexpr const char* kAnimateurSite = "Le club Glissaro";
inline constexpr const char* kCourrielSite = "club@glissaro.org";
inline constexpr const char* kAssociation = "Club Glissaro";
inline constexpr const char* kFichierAssociation = "aide/club.html";

// A label that opens something when clicked.
class TLien : public QLabel {
  Q_OBJECT
 public:
  TLien(const QString& texte, QWidget* parent);
 signals:
  void Clique();

 protected:
  void mouseReleaseEvent(QMouseEvent* evenement) override;
};

class TFrmAbout : public QDialog {
  Q_OBJECT
 public:
  TFrmAbout(const QString& chemin, Dialogues& dialogues, QWidget* parent = nullptr);

  QLabel* Image1 = nullptr;
  TLien* Label2 = nullptr;  // web site
  QLabel* Label6 = nullptr;
  TLien* Label1 = nullptr;  // developer's address
  QLabel* Label8 = nullptr;
  TLien* Label9 = nullptr;  // web site keeper's address
  QPushButton* Button2 = nullptr;
  QLabel* Label3 = nullptr;  // version
  QPushButton* BitBtn1 = nullptr;

  void Label1Click(QLabel* etiquette);
  void Label2Click();
  void Button2Click();

  // How a document or address is handed to the desktop (tests replace it);
  // false when it could not be opened.
  std::function<bool(const QUrl&)> OuvrirUrl;

 protected:
  void showEvent(QShowEvent* evenement) override;

 private:
  QString chemin_;
  Dialogues& dialogues_;
};

}  // namespace glissaro
