// Runs a fuzz target once on every file of the folders and files named on
// the command line: the committed seed corpora and every crash found so
// far, replayed by the test suite (under the sanitizers in their build).
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, std::size_t taille);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  std::vector<std::filesystem::path> fichiers;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path chemin(argv[i]);
    if (std::filesystem::is_directory(chemin)) {
      for (const auto& entree : std::filesystem::recursive_directory_iterator(chemin))
        if (entree.is_regular_file()) fichiers.push_back(entree.path());
    } else {
      fichiers.push_back(chemin);
    }
  }
  if (fichiers.empty()) {
    std::fprintf(stderr, "Aucune entrée à rejouer.\n");
    return 1;
  }
  for (const auto& f : fichiers) {
    std::ifstream entree(f, std::ios::binary);
    const std::vector<char> octets((std::istreambuf_iterator<char>(entree)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(octets.data()), octets.size());
  }
  std::printf("%zu entrées rejouées\n", fichiers.size());
  return 0;
}
