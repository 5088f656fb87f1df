// Speed of the pack restore: a 64 MiB archive of compressed blocks restored
// by TBackupFile, next to the same blocks inflated by zlib alone from
// memory, in the same run; the heap the restore holds, for a small and a
// large archive; and a pack of 100,000 tiny files.
//
// The ratio restore / zlib alone is printed at the end (target: 0.8 or
// more). Files are written under /dev/shm when it exists, so that the disk
// does not set the pace.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "backup.h"

using namespace glissaro;

namespace {

constexpr std::size_t kBloc = 16384;
constexpr int64_t kMio = 1024 * 1024;

// Board-like text with some noise: about 2.5 : 1 with zlib.
std::string Morceau(uint32_t graine) {
  std::string s;
  while (s.size() < kBloc) {
    graine = graine * 1103515245u + 12345u;
    s += "L" + std::to_string(graine >> 28) + "C" + std::to_string(graine >> 24 & 15) + "\r\n" +
         std::to_string(graine >> 16 & 0xFF) + "\r\n" + std::to_string(graine >> 29) + "\r\n0\r\n1\r\n";
  }
  s.resize(kBloc);
  return s;
}

std::string Compresser(const std::string& donnees) {
  std::string z(compressBound(donnees.size()), '\0');
  uLongf taille = z.size();
  compress2(reinterpret_cast<Bytef*>(z.data()), &taille, reinterpret_cast<const Bytef*>(donnees.data()),
            donnees.size(), 6);
  z.resize(taille);
  return z;
}

void Entier(std::ofstream& f, int32_t v) {
  char o[4];
  for (int i = 0; i < 4; ++i) o[i] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i) & 0xFF);
  f.write(o, 4);
}

std::string Dossier() {
  static const std::string dossier = [] {
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    const auto d = base / ("glissaro-bench-paquets-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    return d.string();
  }();
  return dossier;
}

// 64 distinct compressed blocks, repeated in the archive.
const std::vector<std::string>& Blocs() {
  static const std::vector<std::string> blocs = [] {
    std::vector<std::string> b;
    for (uint32_t i = 0; i < 64; ++i) b.push_back(Compresser(Morceau(i * 7919 + 1)));
    return b;
  }();
  return blocs;
}

struct Archive {
  std::string chemin;
  int64_t octets = 0;       // archive size
  int64_t sortie = 0;       // bytes a restore writes
  std::vector<int> suite;   // the blocks in archive order
};

// An archive of about `taille` bytes: files of 256 blocks (4 MiB each once
// restored).
const Archive& ArchiveDe(int64_t taille) {
  static std::map<int64_t, Archive> archives;
  auto& a = archives[taille];
  if (!a.chemin.empty()) return a;
  a.chemin = Dossier() + "/Pack" + std::to_string(taille / kMio) + ".pkg";
  std::ofstream f(a.chemin, std::ios::binary | std::ios::trunc);
  const std::string entete = "Banc d'essai";
  Entier(f, static_cast<int32_t>(entete.size()));
  f << entete;
  Entier(f, 0);  // total, patched below
  Entier(f, 0);
  a.octets = 12 + static_cast<int64_t>(entete.size());
  int fichier = 0;
  while (a.octets < taille) {
    const std::string nom = "plateau" + std::to_string(fichier++) + ".bin";
    Entier(f, static_cast<int32_t>(nom.size()));
    f << nom;
    Entier(f, DosDateTimeFromTime(std::time(nullptr)));
    f.write("EC2\0", 4);
    a.octets += 4 + static_cast<int64_t>(nom.size()) + 8;
    for (int i = 0; i < 256 && a.octets < taille; ++i) {
      const int k = static_cast<int>((a.suite.size() * 37) % Blocs().size());
      const auto& bloc = Blocs()[static_cast<std::size_t>(k)];
      Entier(f, static_cast<int32_t>(bloc.size()));
      f.write(bloc.data(), static_cast<std::streamsize>(bloc.size()));
      a.suite.push_back(k);
      a.octets += 4 + static_cast<int64_t>(bloc.size());
      a.sortie += static_cast<int64_t>(kBloc);
    }
    Entier(f, 0);
    a.octets += 4;
  }
  Entier(f, 0);
  a.octets += 4;
  f.seekp(4 + static_cast<std::streamoff>(entete.size()));
  Entier(f, static_cast<int32_t>(a.sortie));
  return a;
}

void BM_RestaurationPaquet(benchmark::State& state) {
  const auto& a = ArchiveDe(state.range(0) * kMio);
  const std::string cible = Dossier() + "/cible";
  TBackupFile b;
  for (auto _ : state) {
    if (!b.Restore(a.chemin, cible)) state.SkipWithError("restauration en échec");
  }
  state.SetBytesProcessed(state.iterations() * a.sortie);
  state.counters["archive_Mio"] = static_cast<double>(a.octets) / kMio;
}
BENCHMARK(BM_RestaurationPaquet)->Arg(64)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The same blocks, in the same order, inflated one zlib stream at a time.
void BM_InflateSeul(benchmark::State& state) {
  const auto& a = ArchiveDe(state.range(0) * kMio);
  std::vector<unsigned char> sortie(kBloc);
  for (auto _ : state) {
    for (int k : a.suite) {
      const auto& bloc = Blocs()[static_cast<std::size_t>(k)];
      z_stream z{};
      inflateInit(&z);
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bloc.data()));
      z.avail_in = static_cast<uInt>(bloc.size());
      z.next_out = sortie.data();
      z.avail_out = static_cast<uInt>(kBloc);
      if (inflate(&z, Z_NO_FLUSH) != Z_STREAM_END) state.SkipWithError("bloc illisible");
      inflateEnd(&z);
      benchmark::DoNotOptimize(sortie.data());
    }
  }
  state.SetBytesProcessed(state.iterations() * a.sortie);
}
BENCHMARK(BM_InflateSeul)->Arg(64)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The heap in use, sampled after every block, for archives of 4 and 64 MiB:
// the same peak for both.
void BM_MemoireRestauration(benchmark::State& state) {
  const auto& a = ArchiveDe(state.range(0) * kMio);
  const std::string cible = Dossier() + "/memoire";
  TBackupFile b;
  std::size_t avant = 0, pic = 0;
  b.ProcessMessages = [&] { pic = std::max(pic, mallinfo2().uordblks); };
  for (auto _ : state) {
    avant = mallinfo2().uordblks;
    pic = avant;
    if (!b.Restore(a.chemin, cible)) state.SkipWithError("restauration en échec");
  }
  struct rusage r {};
  getrusage(RUSAGE_SELF, &r);
  state.counters["tas_pic_Kio"] = static_cast<double>(pic - std::min(pic, avant)) / 1024;
  state.counters["rss_max_Mio"] = static_cast<double>(r.ru_maxrss) / 1024;
}
BENCHMARK(BM_MemoireRestauration)->Arg(4)->Arg(64)->Iterations(1)->Unit(benchmark::kMillisecond);

// A pack of 100,000 tiny files (30 bytes each, 3 MB in all) restored onto
// the disk of the temporary folder, not into memory: what flushing every
// file to disk would cost shows here. Target: under 30 s.
void BM_RestaurationPetitsFichiers(benchmark::State& state) {
  const auto base = std::filesystem::temp_directory_path() / ("glissaro-bench-petits-" + std::to_string(::getpid()));
  std::filesystem::create_directories(base);
  const std::string chemin = (base / "Pack.pkg").string();
  const int fichiers = static_cast<int>(state.range(0));
  {
    std::ofstream f(chemin, std::ios::binary | std::ios::trunc);
    Entier(f, 0);
    Entier(f, 30 * fichiers);
    Entier(f, 0);
    const std::string contenu(30, 'x');
    for (int i = 0; i < fichiers; ++i) {
      const std::string nom = "p" + std::to_string(i) + ".wbp";
      Entier(f, static_cast<int32_t>(nom.size()));
      f << nom;
      Entier(f, DosDateTimeFromTime(std::time(nullptr)));
      f.write("EC2\0", 4);
      Entier(f, -30);
      f << contenu;
      Entier(f, 0);
    }
    Entier(f, 0);
  }
  TBackupFile b;
  for (auto _ : state) {
    std::filesystem::remove_all(base / "cible");
    if (!b.Restore(chemin, (base / "cible").string())) state.SkipWithError("restauration en échec");
  }
  state.counters["fichiers"] = b.FilesRestored();
  std::filesystem::remove_all(base);
}
BENCHMARK(BM_RestaurationPetitsFichiers)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints the ratio of the two speeds after the usual table.
class Rapport : public benchmark::ConsoleReporter {
 public:
  Rapport() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& r : runs) {
      const auto it = r.counters.find("bytes_per_second");
      if (it != r.counters.end()) debits_[r.benchmark_name()] = it->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::fflush(nullptr);
    double restauration = 0, zlib = 0;
    for (const auto& [nom, debit] : debits_) {
      if (nom.rfind("BM_RestaurationPaquet/", 0) == 0) restauration = debit;
      if (nom.rfind("BM_InflateSeul/", 0) == 0) zlib = debit;
    }
    if (restauration > 0 && zlib > 0)
      std::printf("restauration %.0f Mio/s, zlib seul %.0f Mio/s : rapport %.2f (objectif 0.80)\n",
                  restauration / kMio, zlib / kMio, restauration / zlib);
  }

 private:
  std::map<std::string, double> debits_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Rapport rapport;
  benchmark::RunSpecifiedBenchmarks(&rapport);
  benchmark::Shutdown();
  std::error_code ec;
  std::filesystem::remove_all(Dossier(), ec);
  return 0;
}
