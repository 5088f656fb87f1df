#include "Installation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "Fichiers.h"
#include "Sha256.h"
#include "Texte.h"

namespace glissaro {

namespace fs = std::filesystem;

namespace {

std::string AvecBarre(std::string dossier) {
  if (dossier.empty() || dossier.back() != '/') dossier += '/';
  return dossier;
}

bool EstPlateauLivre(const std::string& chemin) {
  return chemin.starts_with("plateaux/") && GenreDuFichier(chemin) == GenreFichier::Plateau;
}

// The manifest: path → checksum; empty when there is none.
std::map<std::string, std::string> LireManifeste(const std::string& fichier) {
  std::map<std::string, std::string> manifeste;
  const auto lu = LireFichier(fichier, kTailleMaxRecords);
  std::istringstream lignes(lu.contenu);
  std::string ligne;
  while (std::getline(lignes, ligne)) {
    if (!ligne.empty() && ligne.back() == '\r') ligne.pop_back();
    // "checksum  path": the path is the whole rest of the line.
    const auto espaces = ligne.find("  ");
    if (espaces == std::string::npos || espaces == 0) continue;
    manifeste[ligne.substr(espaces + 2)] = ligne.substr(0, espaces);
  }
  return manifeste;
}

// A board's new version beside the player's: its title is the file's name
// without its rank ("07 - ") and " (nouveau)", in Windows-1252.
std::string NouvelleVersion(const std::string& contenu, const std::string& chemin) {
  std::string nom = fs::path(chemin).stem().string();
  if (nom.size() > 5 && std::isdigit(static_cast<unsigned char>(nom[0])) &&
      std::isdigit(static_cast<unsigned char>(nom[1])) && nom.compare(2, 3, " - ") == 0)
    nom = nom.substr(5);
  const std::string titre = Utf8VersCp1252(nom + " (nouveau)");
  const auto fin1 = contenu.find('\n');
  if (fin1 == std::string::npos) return contenu;
  const auto fin2 = contenu.find('\n', fin1 + 1);
  const std::size_t finTitre = fin2 == std::string::npos ? contenu.size() : fin2;
  const bool cr = finTitre > fin1 + 1 && contenu[finTitre - 1] == '\r';
  return contenu.substr(0, fin1 + 1) + titre + (cr ? "\r" : "") + contenu.substr(finTitre);
}

// Copies a file into place safely, with its mode.
bool Copier(const std::string& source, const std::string& cible, bool executable, std::string& message,
            const std::string* contenu = nullptr) {
  CreerDossiers(fs::path(cible).parent_path().string());
  FichierTemporaire fichier(cible);
  bool ok = fichier.Ouvert();
  if (ok && contenu) {
    ok = fichier.Ecrire(*contenu);
  } else if (ok) {
    std::ifstream entree(source, std::ios::binary);
    char morceau[65536];
    while (ok && (entree.read(morceau, sizeof morceau) || entree.gcount() > 0))
      ok = fichier.Ecrire(std::string_view(morceau, static_cast<std::size_t>(entree.gcount())));
    ok = ok && !entree.bad();
  }
  fichier.DefinirMode(executable ? 0755 : 0644);
  if (ok && fichier.Remplacer()) return true;
  message = MessageEcritureImpossible(cible, fichier.Erreur());
  return false;
}

}  // namespace

DossierDuJeu ChoisirDossierDuJeu(const std::string& dossierExecutable, const LireVariable& variable) {
  const std::string executable = AvecBarre(dossierExecutable);
  if (DossierExiste(executable + "skins") && ::access(executable.c_str(), W_OK) == 0) return {executable, {}, {}};
  std::error_code ec;
  const fs::path livre = fs::weakly_canonical(fs::path(executable) / kDonneesLivrees, ec);
  if (ec || !DossierExiste(livre.string())) return {executable, {}, {}};
  // The player's data folder: XDG_DATA_HOME when it is an absolute path,
  // else ~/.local/share.
  std::string donnees;
  if (const char* xdg = variable("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/')
    donnees = xdg;
  else if (const char* maison = variable("HOME"); maison != nullptr && maison[0] == '/')
    donnees = std::string(maison) + "/.local/share";
  else
    return {executable, {}, "Le dossier du joueur ne peut pas être choisi : ni XDG_DATA_HOME ni HOME ne sont définis."};
  return {AvecBarre(donnees) + "glissaro/", AvecBarre(livre.string()), {}};
}

std::optional<std::vector<FichierLivre>> InventaireLivre(const std::string& livre) {
  std::vector<FichierLivre> fichiers;
  std::error_code ec;
  const fs::path racine(livre);
  fs::recursive_directory_iterator it(racine, ec), fin;
  if (ec) return std::nullopt;
  for (; it != fin; it.increment(ec)) {
    if (ec) return std::nullopt;
    if (!it->is_regular_file(ec)) continue;
    const std::string chemin = fs::relative(it->path(), racine, ec).generic_string();
    if (chemin == kManifeste) continue;
    bool lu = false;
    const std::string somme = Sha256DuFichier(it->path().string(), &lu);
    if (!lu) return std::nullopt;
    const auto droits = it->status(ec).permissions();
    fichiers.push_back({chemin, somme, (droits & fs::perms::owner_exec) != fs::perms::none});
  }
  std::sort(fichiers.begin(), fichiers.end(), [](const auto& a, const auto& b) { return a.chemin < b.chemin; });
  return fichiers;
}

ResultatInstallation MettreAJourDossierJoueur(const std::string& livre, const std::string& joueur) {
  ResultatInstallation r;
  const std::string source = AvecBarre(livre), cible = AvecBarre(joueur);
  const auto echec = [&r](std::string message) {
    r.ok = false;
    r.message = std::move(message);
    return r;
  };
  if (!CreerDossiers(cible) || ::access(cible.c_str(), W_OK) != 0)
    return echec("Impossible de créer le dossier " + cible + " : le jeu ne peut pas y garder vos plateaux, réglages et records.");
  const auto inventaire = InventaireLivre(source);
  if (!inventaire) return echec("Impossible de lire les fichiers du jeu dans " + source);
  const auto ancien = LireManifeste(cible + kManifeste);

  std::string manifeste, message;
  for (const auto& f : *inventaire) {
    manifeste += f.somme + "  " + f.chemin + "\n";
    const std::string destination = cible + f.chemin;
    bool present = false;
    const std::string actuelle = Sha256DuFichier(destination, &present);
    if (present && actuelle == f.somme) continue;
    if (present && EstPlateauLivre(f.chemin)) {
      const auto livreAvant = ancien.find(f.chemin);
      if (livreAvant == ancien.end() || livreAvant->second != actuelle) {
        // Changed by the player: theirs stays, the new one goes beside it.
        const auto lu = LireFichier(source + f.chemin, kTailleMaxPlateau);
        if (!lu.Lu()) return echec(lu.message);
        const std::string nouveau = NouvelleVersion(lu.contenu, f.chemin);
        const std::string chemin = destination.substr(0, destination.size() - 4) + " (nouveau).wbp";
        if (!Copier({}, chemin, false, message, &nouveau)) return echec(message);
        ++r.gardes;
        ++r.nouveaux;
        continue;
      }
    }
    if (!Copier(source + f.chemin, destination, f.executable, message)) return echec(message);
    ++r.copies;
  }
  // Shipped before and no more (a board renamed or moved): removed unless
  // the player changed it.
  for (const auto& [chemin, somme] : ancien) {
    if (std::any_of(inventaire->begin(), inventaire->end(), [&](const auto& f) { return f.chemin == chemin; }))
      continue;
    const std::string fichier = cible + chemin;
    bool present = false;
    if (Sha256DuFichier(fichier, &present) != somme || !present) continue;
    std::error_code ec;
    if (fs::remove(fichier, ec)) ++r.retires;
    fs::remove(fs::path(fichier).parent_path(), ec);  // only when empty
  }
  CreerDossiers(cible + "sequences");
  CreerDossiers(cible + "plateaux");
  const auto ecriture = EcrireFichierSur(cible + kManifeste, manifeste);
  if (!ecriture.ok) return echec(ecriture.message);
  return r;
}

namespace {

constexpr const char* kDatesLivre = ".livres.dates";

// A fingerprint of the shipped files' paths, sizes and dates.
std::string DatesDuLivre(const std::string& livre) {
  std::vector<std::string> lignes;
  std::error_code ec;
  fs::recursive_directory_iterator it(livre, ec), fin;
  for (; !ec && it != fin; it.increment(ec)) {
    struct stat infos {};
    if (::stat(it->path().c_str(), &infos) != 0 || !S_ISREG(infos.st_mode)) continue;
    lignes.push_back(it->path().string() + " " + std::to_string(infos.st_size) + " " +
                     std::to_string(infos.st_mtim.tv_sec) + "." + std::to_string(infos.st_mtim.tv_nsec));
  }
  std::sort(lignes.begin(), lignes.end());
  Sha256 empreinte;
  for (const auto& ligne : lignes) empreinte.Ajouter(ligne + "\n");
  return empreinte.Hexadecimal();
}

}  // namespace

ResultatInstallation MettreAJourSiLivreChange(const std::string& livre, const std::string& joueur) {
  const std::string dates = DatesDuLivre(livre), fichier = AvecBarre(joueur) + kDatesLivre;
  const auto vu = LireFichier(fichier, 1024);
  if (vu.Lu() && vu.contenu == dates && DossierExiste(AvecBarre(joueur) + "plateaux")) return {};
  auto r = MettreAJourDossierJoueur(livre, joueur);
  if (r.ok) EcrireFichierSur(fichier, dates);
  return r;
}

ResultatInstallation RetirerFichiersLivres(const std::string& joueur) {
  ResultatInstallation r;
  const std::string cible = AvecBarre(joueur);
  for (const auto& [chemin, somme] : LireManifeste(cible + kManifeste)) {
    const std::string fichier = cible + chemin;
    bool present = false;
    const std::string actuelle = Sha256DuFichier(fichier, &present);
    if (!present) continue;
    if (EstPlateauLivre(chemin) && actuelle != somme) {
      ++r.gardes;
      continue;
    }
    std::error_code ec;
    if (fs::remove(fichier, ec)) ++r.retires;
  }
  std::error_code ec;
  fs::remove(cible + kManifeste, ec);
  return r;
}

}  // namespace glissaro
