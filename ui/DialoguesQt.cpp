#include "DialoguesQt.h"

#include "Hasard.h"
#include "UHasard.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

namespace glissaro {

namespace {

QString Q(const std::string& texte) { return QString::fromStdString(texte); }

// Messages may end their lines Windows-style (CR, CR LF or LF CR): one line
// break each on screen.
QString Lignes(const std::string& texte) {
  QString t = Q(texte);
  t.replace("\r\n", "\n").replace("\n\r", "\n").replace('\r', '\n');
  return t;
}

void Boite(QMessageBox::Icon icone, const QString& titre, const std::string& texte) {
  QMessageBox boite(icone, titre, Lignes(texte), QMessageBox::Ok, QApplication::activeWindow());
  boite.exec();
}

std::optional<std::string> DialogueDeFichier(const DialogueFichier& d, bool enregistrer) {
  QFileDialog dialogue(QApplication::activeWindow(), Q(d.titre), Q(d.dossierInitial));
  dialogue.setAcceptMode(enregistrer ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialogue.setFileMode(enregistrer || !d.doitExister ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!d.filtreDescription.empty())
    dialogue.setNameFilter(Q(d.filtreDescription) + " (" + Q(d.filtreMotif) + ")");
  if (!d.extensionDefaut.empty()) dialogue.setDefaultSuffix(Q(d.extensionDefaut));
  if (!d.nomFichier.empty()) dialogue.selectFile(Q(d.nomFichier));
  // Replacing an existing file is asked by the program itself where needed.
  dialogue.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (dialogue.exec() != QDialog::Accepted || dialogue.selectedFiles().isEmpty()) return std::nullopt;
  return dialogue.selectedFiles().first().toStdString();
}

}  // namespace

bool ChargerTraductionsQt(QCoreApplication& application) {
  auto* traduction = new QTranslator(&application);
  if (!traduction->load(QLocale(QLocale::French, QLocale::France), "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete traduction;
    return false;
  }
  return QCoreApplication::installTranslator(traduction);
}

void DialoguesQt::Information(const std::string& texte) { Boite(QMessageBox::Information, "Information", texte); }
void DialoguesQt::Avertissement(const std::string& texte) { Boite(QMessageBox::Warning, "Avertissement", texte); }
void DialoguesQt::Erreur(const std::string& texte) { Boite(QMessageBox::Critical, "Erreur", texte); }
void DialoguesQt::Message(const std::string& texte) {
  Boite(QMessageBox::NoIcon, QApplication::applicationName(), texte);
}

bool DialoguesQt::Confirmer(const std::string& texte) {
  QMessageBox boite(QMessageBox::Question, "Confirmation", Lignes(texte), QMessageBox::NoButton,
                    QApplication::activeWindow());
  auto* oui = boite.addButton("&Oui", QMessageBox::YesRole);
  boite.addButton("&Non", QMessageBox::NoRole);
  boite.setDefaultButton(oui);
  boite.exec();
  return boite.clickedButton() == oui;
}

Reponse DialoguesQt::ConfirmerOuAnnuler(const std::string& texte) {
  QMessageBox boite(QMessageBox::Question, "Confirmation", Lignes(texte), QMessageBox::NoButton,
                    QApplication::activeWindow());
  auto* oui = boite.addButton("&Oui", QMessageBox::YesRole);
  auto* non = boite.addButton("&Non", QMessageBox::NoRole);
  auto* annuler = boite.addButton("Annuler", QMessageBox::RejectRole);
  boite.setDefaultButton(oui);
  boite.setEscapeButton(annuler);
  boite.exec();
  if (boite.clickedButton() == oui) return Reponse::Oui;
  if (boite.clickedButton() == non) return Reponse::Non;
  return Reponse::Annuler;
}

bool DialoguesQt::Choisir(const std::string& texte, const std::string& boutonDefaut,
                          const std::string& autreBouton) {
  QMessageBox boite(QMessageBox::Information, "Information", Lignes(texte), QMessageBox::NoButton,
                    QApplication::activeWindow());
  auto* premier = boite.addButton(QString::fromStdString(boutonDefaut), QMessageBox::AcceptRole);
  auto* autre = boite.addButton(QString::fromStdString(autreBouton), QMessageBox::RejectRole);
  boite.setDefaultButton(premier);
  boite.setEscapeButton(autre);
  boite.exec();
  return boite.clickedButton() == premier;
}

void DialoguesQt::Bip() { QApplication::beep(); }

std::optional<std::string> DialoguesQt::OuvrirFichier(const DialogueFichier& dialogue) {
  return DialogueDeFichier(dialogue, false);
}

std::optional<std::string> DialoguesQt::EnregistrerFichier(const DialogueFichier& dialogue) {
  return DialogueDeFichier(dialogue, true);
}

std::optional<std::string> DialoguesQt::Saisir(const std::string& titre, const std::string& invite,
                                               const std::string& valeur) {
  bool ok = false;
  const QString texte =
      QInputDialog::getText(QApplication::activeWindow(), Q(titre), Q(invite), QLineEdit::Normal, Q(valeur), &ok);
  if (!ok) return std::nullopt;
  return texte.toStdString();
}

std::optional<ChoixHasard> DialoguesQt::ChoisirHasard(const ChoixHasard& propose) {
  TFrmHasard fenetre(propose, QApplication::activeWindow());
  if (fenetre.exec() != QDialog::Accepted) return std::nullopt;
  return fenetre.Choix();
}

}  // namespace glissaro
