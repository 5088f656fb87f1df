// Any bytes as a pack archive, restored the way the installer does it or,
// for inputs of odd length, with the stored paths followed: nothing may ever
// appear beside the target folder (an "outside/" sentinel folder stands next
// to it), and nothing may crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "backup.h"

using namespace glissaro;
namespace fs = std::filesystem;

namespace {

std::size_t Compter(const fs::path& dossier) {
  std::size_t n = 0;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(dossier, ec); it != fs::recursive_directory_iterator(); it.increment(ec))
    ++n;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, std::size_t taille) {
  static const fs::path base = fs::temp_directory_path() / ("glissaro-fuzz-paquet-" + std::to_string(getpid()));
  std::error_code ec;
  const fs::path cible = base / "cible" / "Pack";
  const fs::path dehors = base / "outside";
  fs::remove_all(cible, ec);
  fs::create_directories(cible);
  fs::create_directories(dehors);
  const fs::path archive = base / "Pack.pkg";
  {
    std::ofstream f(archive, std::ios::binary);
    f.write(reinterpret_cast<const char*>(donnees), static_cast<std::streamsize>(taille));
  }
  {
    const bool cheminsComplets = taille % 2 == 1;
    TBackupFile restauration;
    restauration.RestoreMode = TRestoreMode::rmAll;
    restauration.RestoreFullPath = cheminsComplets;
    restauration.OnNeedDisk = [](TBackupFile&, uint16_t, bool& continuer) { continuer = false; };
    try {
      restauration.Restore(archive.string(), cible.string());
    } catch (const std::exception&) {
      // A damaged archive says so: that is the expected way out.
    }
  }
  // Beside the target: only the archive, the two folders and the sentinel.
  if (Compter(dehors) != 0) std::abort();
  std::size_t aCote = 0;
  for (const auto& e : fs::directory_iterator(base, ec)) {
    (void)e;
    ++aCote;
  }
  if (aCote != 3) std::abort();
  if (Compter(base / "cible") == 0) std::abort();  // the target itself is there
  for (const auto& e : fs::directory_iterator(base / "cible", ec))
    if (e.path().filename() != "Pack") std::abort();
  return 0;
}
