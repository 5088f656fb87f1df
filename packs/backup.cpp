#include "backup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "Dialogues.h"
#include "Fichiers.h"
#include "Texte.h"

namespace glissaro {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBlockSize = 16384;
constexpr const char* kVersion = "5.10";
constexpr const char* kStreamName = ":STREAM";
constexpr const char* kVolumeMarker = "NEXT:DISK";
constexpr const char* kFileList = "FILE:LIST";
// The volumes after the first are named by three characters: 001 to 999.
constexpr std::size_t kMaxVolumes = 1000;

// Clears Busy however Restore ends.
class BusyFlag {
 public:
  explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyFlag() { flag_ = false; }
  BusyFlag(const BusyFlag&) = delete;
  BusyFlag& operator=(const BusyFlag&) = delete;

 private:
  bool& flag_;
};

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// The archive name with its extension (from the last dot of the last
// component) replaced.
std::string ChangeExtension(const std::string& path, const std::string& extension) {
  const auto separator = path.find_last_of("/\\:");
  const auto dot = path.rfind('.');
  const bool hasExtension = dot != std::string::npos && (separator == std::string::npos || dot > separator);
  return (hasExtension ? path.substr(0, dot) : path) + extension;
}

bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

// The text after the last "\", "/" or ":".
std::string PlainName(const std::string& stored) {
  const auto separator = std::find_if(stored.rbegin(), stored.rend(), IsSeparator);
  return std::string(separator.base(), stored.end());
}

bool FitComponent(const std::string& component) {
  return !component.empty() && component != "." && component != ".." &&
         component.find('\0') == std::string::npos;
}

// A stored path made relative: a drive ("C:") and leading separators are
// dropped, the rest split at "\", "/" and ":" with empty and "." parts left
// out. Nothing when a part is ".." or when nothing remains.
std::optional<std::vector<std::string>> RelativeComponents(std::string_view stored) {
  if (stored.size() >= 2 && stored[1] == ':' &&
      ((stored[0] >= 'A' && stored[0] <= 'Z') || (stored[0] >= 'a' && stored[0] <= 'z')))
    stored.remove_prefix(2);
  std::vector<std::string> parts;
  std::string part;
  auto finish = [&]() {
    if (!part.empty() && part != ".") parts.push_back(Cp1252VersUtf8(part));
    const bool fit = part != ".." && part.find('\0') == std::string::npos;
    part.clear();
    return fit;
  };
  for (char c : stored) {
    if (!IsSeparator(c)) {
      part += c;
      continue;
    }
    if (!finish()) return std::nullopt;
  }
  if (!finish() || parts.empty()) return std::nullopt;
  return parts;
}

bool IsSymbolicLink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// The file's folder, made when it is missing; false when it cannot be.
bool MakeParentFolder(const std::string& path) {
  const std::string parent = fs::path(path).parent_path().string();
  if (parent.empty() || DossierExiste(parent)) return true;
  CreerDossiers(parent);
  return DossierExiste(parent);
}

int32_t ReadInt(const unsigned char* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

// The files restored between two flushes to disk.
constexpr int32_t kFilesPerSync = 1000;

void SetModificationTime(int fd, int32_t fa) {
  const auto instant = TimeFromDosDateTime(fa);
  if (!instant) return;
  const struct timespec times[2] = {{0, UTIME_OMIT}, {*instant, 0}};
  ::futimens(fd, times);
}

}  // namespace

// ------------------------------------------------------------------ dates

int32_t DosDateTimeFromTime(std::time_t instant) {
  struct tm t {};
  if (!localtime_r(&instant, &t)) return 0;
  const int year = t.tm_year + 1900;
  if (year < 1980) return (1 << 21) | (1 << 16);  // 1980-01-01 00:00:00
  if (year > 2107) return static_cast<int32_t>(0xFF9FBF7Du);  // 2107-12-31 23:59:58
  const uint32_t fa = static_cast<uint32_t>(year - 1980) << 25 | static_cast<uint32_t>(t.tm_mon + 1) << 21 |
                      static_cast<uint32_t>(t.tm_mday) << 16 | static_cast<uint32_t>(t.tm_hour) << 11 |
                      static_cast<uint32_t>(t.tm_min) << 5 | static_cast<uint32_t>(std::min(t.tm_sec, 59) / 2);
  return static_cast<int32_t>(fa);
}

std::optional<std::time_t> TimeFromDosDateTime(int32_t fa) {
  const auto v = static_cast<uint32_t>(fa);
  const int year = 1980 + static_cast<int>(v >> 25);
  const int month = static_cast<int>(v >> 21 & 0xF);
  const int day = static_cast<int>(v >> 16 & 0x1F);
  const int hour = static_cast<int>(v >> 11 & 0x1F);
  const int minute = static_cast<int>(v >> 5 & 0x3F);
  const int second = static_cast<int>(v & 0x1F) * 2;
  static constexpr std::array<int, 12> kDays = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (month < 1 || month > 12 || day < 1 || day > kDays[static_cast<std::size_t>(month - 1)] ||
      (month == 2 && day == 29 && !leap) || hour > 23 || minute > 59 || second > 59)
    return std::nullopt;
  struct tm t {};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  t.tm_isdst = -1;
  const std::time_t instant = std::mktime(&t);
  if (instant == static_cast<std::time_t>(-1)) return std::nullopt;
  return instant;
}

std::string BackupErrorMessage(int32_t code) {
  switch (code) {
    case kErrCannotReadFile: return "Cannot read file";
    case kErrOverwriteFailed: return "Overwriting file failed";
    case kErrCannotReadArchive: return "Cannot read archive";
    case kErrCannotWriteArchive: return "Cannot write to archive";
    case kErrInvalidArchive: return "Invalid archive type";
    case kErrCompression: return "Compression error";
    case kErrTempFile: return "Cannot create temporary file to save the file IDs";
    case kErrUnsafeName: return "Unsafe file name in archive";
    case kErrSymbolicLink: return "Symbolic link at a target path";
    case kErrBusy: return "A restore is already running";
    case kErrVolumeAgain: return "Volume already read";
    case kErrTooManyVolumes: return "Too many volumes";
    case kErrTooLarge: return "Paquet refusé, il écrirait trop";
    default: return "";
  }
}

// ------------------------------------------------------------- the volume

// The volume being read: the archive's own file or the owner's stream, with
// its end when the stream can tell it, so that a length running past the
// end is refused before anything is read or allocated.
struct TBackupFile::Volume {
  std::unique_ptr<std::ifstream> file;
  std::istream* in = nullptr;
  int64_t position = 0;
  int64_t end = -1;  // unknown for a stream that cannot seek

  void Open(std::istream& stream) {
    in = &stream;
    end = -1;
    position = 0;
    const auto here = stream.tellg();
    if (here == std::streampos(-1)) return;
    stream.seekg(0, std::ios::end);
    const auto last = stream.tellg();
    stream.clear();
    stream.seekg(here);
    if (last != std::streampos(-1) && stream) {
      position = static_cast<int64_t>(here);
      end = static_cast<int64_t>(last);
    }
  }
  bool OpenFile(const std::string& path) {
    // A pipe or a device is no volume: opening one could wait for ever.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    file = std::make_unique<std::ifstream>(path, std::ios::binary);
    if (!*file) return false;
    Open(*file);
    return true;
  }
  void Close() {
    file.reset();
    in = nullptr;
  }
  bool Fits(int64_t size) const { return size >= 0 && in && (end < 0 || size <= end - position); }
  bool Read(void* data, int64_t size) {
    if (!Fits(size)) return false;
    in->read(static_cast<char*>(data), static_cast<std::streamsize>(size));
    position += in->gcount();
    return in->gcount() == static_cast<std::streamsize>(size);
  }
  // Moves forward; a step past the end is refused.
  bool Skip(int64_t size) {
    if (!Fits(size)) return false;
    if (end >= 0) {
      in->seekg(static_cast<std::streamoff>(size), std::ios::cur);
      position += size;
      return static_cast<bool>(*in);
    }
    std::array<char, 4096> scrap;
    while (size > 0) {
      const auto step = std::min<int64_t>(size, static_cast<int64_t>(scrap.size()));
      if (!Read(scrap.data(), step)) return false;
      size -= step;
    }
    return true;
  }
  int32_t Int() {
    unsigned char bytes[4];
    if (!Read(bytes, 4)) throw EBackupError(kStreamReadError);
    return ReadInt(bytes);
  }
  // A text of n bytes, read in pieces so that a length that the archive
  // does not hold allocates nothing.
  std::string Text(int32_t n) {
    if (!Fits(n)) throw EBackupError(kStreamReadError);
    std::string text;
    char piece[4096];
    while (n > 0) {
      const int32_t step = std::min<int32_t>(n, static_cast<int32_t>(sizeof piece));
      if (!Read(piece, step)) throw EBackupError(kStreamReadError);
      text.append(piece, static_cast<std::size_t>(step));
      n -= step;
    }
    return text;
  }
};

// The file entry that came last: a volume's continuation belongs to it.
// Its data goes into a temporary file, which takes the target's place when
// the next entry (or the end of the archive) shows that nothing follows.
struct TBackupFile::Current {
  std::unique_ptr<FichierTemporaire> file;  // set while the file is being written
  int32_t fa = 0;
  bool whole = false;   // its data ended with its end block
  int64_t written = 0;  // bytes of this file so far
  int64_t limit = 0;    // and the most it may have
};

// ---------------------------------------------------------- the component

TBackupFile::TBackupFile(Dialogues* dialogues) : dialogues_(dialogues) {}
TBackupFile::~TBackupFile() = default;

const std::string& TBackupFile::Version() const {
  static const std::string version = kVersion;
  return version;
}

void TBackupFile::SetBackupMode(TBackupMode mode) {
  backupMode_ = mode;
  if (mode == TBackupMode::bmIncremental) SetArchiveFlag = true;
}

void TBackupFile::Fail(int32_t code, const std::string& detail) {
  errorCode_ = code;
  errorDetail_ = detail;
  continue_ = false;
}

int64_t TBackupFile::MaxFileBytes(const std::string& target) {
  // What the game reads of the files it installs: a board at most
  // kTailleMaxPlateau, anything else (a picture) at most kTailleMaxImage.
  return GenreDuFichier(target) == GenreFichier::Plateau ? static_cast<int64_t>(kTailleMaxPlateau)
                                                         : static_cast<int64_t>(kTailleMaxImage);
}

void TBackupFile::ReportError(int32_t code) {
  std::string message = BackupErrorMessage(code);
  const bool detailed = code == errorCode_ && !errorDetail_.empty();
  // The refusals of this reader name what they refused; a file that could
  // not be written says why (a full disk, a name too long).
  if (detailed && code >= kErrUnsafeName) message += (code == kErrTooLarge ? " : " : ": ") + errorDetail_;
  if (detailed && code == kErrCannotReadFile) message = errorDetail_;
  if (OnError)
    OnError(*this, code, message);
  else if (dialogues_)
    dialogues_->Erreur(message);
}

int TBackupFile::Percent() const {
  // Rounded to the nearest integer, a half to the even neighbour; an
  // archive that announces no bytes counts as not begun.
  if (archiveSize_ <= 0) return 0;
  const int64_t numerator = bytesRestored_ * 100;
  int64_t q = numerator / archiveSize_;
  const int64_t twice = 2 * (numerator % archiveSize_);
  if (twice > archiveSize_ || (twice == archiveSize_ && q % 2 != 0)) ++q;
  return static_cast<int>(std::clamp<int64_t>(q, 0, 100));
}

bool TBackupFile::Restore(const std::string& archive, const std::string& target) {
  if (busy_) {
    // A restore is running (the windows are served between its blocks):
    // this call changes nothing of it.
    if (OnError)
      OnError(*this, kErrBusy, BackupErrorMessage(kErrBusy));
    else if (dialogues_)
      dialogues_->Erreur(BackupErrorMessage(kErrBusy));
    return false;
  }
  Begin(target);

  std::string name = archive;
  Volume volume;
  if (!OpenFirstVolume(volume, name)) return false;

  BusyFlag busy(busy_);
  if (!in_) {
    in_ = std::make_unique<unsigned char[]>(kBlockSize);
    out_ = std::make_unique<unsigned char[]>(kBlockSize);
    zlib_ = std::make_unique<Zlib>();
  }
  ReadHeader(volume);
  // What a restore killed midway left behind.
  if (!folder_.empty()) SupprimerTemporairesAbandonnes(folder_);

  volumesRead_ = {name};
  volumes_ = 1;
  Current current;
  // Whatever stops the restore, what was written is on disk when it ends.
  struct Flush {
    TBackupFile& backup;
    ~Flush() {
      if (backup.unsynced_ > 0) SynchroniserDossier(backup.folder_);
    }
  } flush{*this};
  ReadEntries(volume, name, current);
  return EndRestore(volume, current);
}

void TBackupFile::Begin(const std::string& target) {
  std::string folder = target;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  folder_ = folder;
  errorCode_ = 0;
  errorDetail_.clear();
  filesRestored_ = 0;
  unsynced_ = 0;
  continue_ = true;
  archiveSize_ = 0;
  bytesRestored_ = 0;
  currentFile_.clear();
  volumeName_.clear();
}

bool TBackupFile::OpenFirstVolume(Volume& volume, const std::string& archive) {
  if (archive == kStreamName) {
    if (!ArchiveStream) throw EBackupError(BackupErrorMessage(kErrCannotReadArchive));
    volume.Open(*ArchiveStream);
    return true;
  }
  if (!FileExists(archive)) return false;
  if (!volume.OpenFile(archive)) throw EBackupError(BackupErrorMessage(kErrCannotReadArchive));
  return true;
}

void TBackupFile::ReadHeader(Volume& volume) {
  try {
    const int32_t headerLength = volume.Int();
    if (!volume.Skip(headerLength)) throw EBackupError(kStreamReadError);
    archiveSize_ = volume.Int();
    volume.Int();  // header value, unused
  } catch (const EBackupError&) {
    throw EBackupError(BackupErrorMessage(kErrCannotReadArchive));
  }
  // What the header announces, with a margin, bounds what is written.
  maxRestored_ = archiveSize_ > 0 ? std::min(kMaxRestoreBytes, archiveSize_ + archiveSize_ / 8 + 65536)
                                  : kMaxRestoreBytes;
}

void TBackupFile::ReadEntries(Volume& volume, std::string& archive, Current& current) {
  int32_t n = 0;
  try {
    do {
      n = volume.Int();
      if (n <= 0) continue;
      const std::string entry = volume.Text(n);
      if (entry.compare(0, 9, kVolumeMarker) == 0) {
        NextVolume(volume, archive, entry, current);
        continue;
      }
      FinishFile(current);
      const int32_t fa = volume.Int();
      RestoreEntry(volume, folder_, entry, fa, current);
    } while (n != 0 && continue_);
  } catch (...) {
    // The archive cannot be read on: the file whose data ended is whole.
    if (current.whole) FinishFile(current);
    throw;
  }
}

bool TBackupFile::EndRestore(Volume& volume, Current& current) {
  // The last file is whole when its data ended, unless the player stopped
  // while it waited for its next volume; after a compression error it
  // keeps what was inflated.
  const bool stopped = !continue_ && errorCode_ == 0;
  if ((current.whole && !stopped) || errorCode_ == kErrCompression) FinishFile(current);
  current.file.reset();

  volume.Close();
  const bool result = errorCode_ == 0 && continue_;
  bool ignored = true;
  if (OnProgress) OnProgress(*this, "", 100, ignored);
  busy_ = false;
  if (errorCode_ != 0) ReportError(errorCode_);
  return result;
}

void TBackupFile::RestoreEntry(Volume& volume, const std::string& folder, const std::string& name, int32_t fa,
                               Current& current) {
  current.file.reset();
  current.fa = fa;
  current.whole = false;
  const bool fileList = name == kFileList;

  std::string path;
  std::vector<std::string> folders;
  if (!fileList && !TargetPath(folder, name, path, folders)) return;
  currentFile_ = path;

  bool doRestore = !fileList && WantsRestore(path, fa);
  if (doRestore) {
    // Stored folders are created below the target; one of them that is a
    // link could lead anywhere.
    for (const auto& f : folders)
      if (IsSymbolicLink(f)) return Fail(kErrSymbolicLink, f);
    doRestore = MakeParentFolder(path);
  }

  if (!doRestore) {
    RestoreFileData(volume, nullptr);
    return;
  }
  WriteEntry(volume, path, current);
}

bool TBackupFile::TargetPath(const std::string& folder, const std::string& name, std::string& path,
                             std::vector<std::string>& folders) {
  // Whatever the name holds, it lands inside the folder: a plain name, or
  // stored folders without "..", a drive or a root.
  if (!folder.empty() && !RestoreFullPath) {
    const std::string plain = PlainName(name);
    if (!FitComponent(plain)) {
      Fail(kErrUnsafeName, Cp1252VersUtf8(name));
      return false;
    }
    path = folder + Cp1252VersUtf8(plain);
    return true;
  }
  const std::string_view stored =
      folder.empty() ? std::string_view(name) : std::string_view(name).substr(std::min<std::size_t>(3, name.size()));
  const auto parts = RelativeComponents(stored);
  if (!parts) {
    Fail(kErrUnsafeName, Cp1252VersUtf8(name));
    return false;
  }
  path = folder;
  for (std::size_t i = 0; i < parts->size(); ++i) {
    if (i > 0) path += '/';
    path += (*parts)[i];
    if (i + 1 < parts->size()) folders.push_back(path);
  }
  return true;
}

bool TBackupFile::WantsRestore(std::string& path, int32_t fa) {
  struct stat st {};
  const bool exists = ::lstat(path.c_str(), &st) == 0;
  const bool older = exists && DosDateTimeFromTime(st.st_mtime) < fa;
  bool doRestore = false;
  switch (RestoreMode) {
    case TRestoreMode::rmAll: doRestore = true; break;
    case TRestoreMode::rmNoOverwrite: doRestore = !exists; break;
    case TRestoreMode::rmNewer: doRestore = !exists || older; break;
    case TRestoreMode::rmExisting: doRestore = exists; break;
    case TRestoreMode::rmExistingNewer: doRestore = older; break;
  }
  if (OnRestoreFile) {
    OnRestoreFile(*this, path, fa, doRestore);
    currentFile_ = path;
  }
  return doRestore;
}

void TBackupFile::WriteEntry(Volume& volume, const std::string& path, Current& current) {
  if (IsSymbolicLink(path)) return Fail(kErrSymbolicLink, path);
  current.file = std::make_unique<FichierTemporaire>(path);
  current.written = 0;
  current.limit = MaxFileBytes(path);
  if (!current.file->Ouvert()) {
    Fail(kErrCannotReadFile, MessageEcritureImpossible(path, current.file->Erreur()));
    current.file.reset();
    return;
  }
  try {
    current.whole = RestoreFileData(volume, &current);
  } catch (const std::exception&) {
    // The old file, if any, stays as it was.
    if (errorCode_ == 0) Fail(kErrCannotReadFile);
  }
  // A file cut short by a failure or a stop is dropped; after a
  // compression error it keeps what was inflated.
  if (!current.whole && errorCode_ != kErrCompression) current.file.reset();
}

void TBackupFile::FinishFile(Current& current) {
  if (!current.file) return;
  const auto file = std::move(current.file);
  current.whole = false;
  std::string path = file->Cible();
  int fd = file->Descripteur();
  if (OnFileRestored) OnFileRestored(*this, path, fd);
  file->ChangerCible(path);
  SetModificationTime(file->Descripteur(), current.fa);
  // Flushed to disk with the others of its batch.
  if (!file->Remplacer(false)) return Fail(kErrCannotReadFile, MessageEcritureImpossible(path, file->Erreur()));
  ++filesRestored_;
  currentFile_ = path;
  if (++unsynced_ >= kFilesPerSync && SynchroniserDossier(folder_)) unsynced_ = 0;
}

bool TBackupFile::AskForDisk(const std::string& disk) {
  bool go = true;
  if (OnNeedDisk) {
    uint16_t id = 0;
    for (char c : disk) {
      if (c < '0' || c > '9') {
        id = 0;
        break;
      }
      id = static_cast<uint16_t>(id * 10 + (c - '0'));
    }
    OnNeedDisk(*this, id, go);
  } else {
    go = dialogues_ && dialogues_->Confirmer(Remplacer(kInsertDiskPrompt, disk));
  }
  return go;
}

void TBackupFile::NextVolume(Volume& volume, std::string& archive, const std::string& name, Current& current) {
  volume.Close();
  const std::string extension = name.substr(9, 3);
  if (extension.find_first_of(std::string("/\\:\0", 4)) != std::string::npos)
    throw EBackupError(BackupErrorMessage(kErrInvalidArchive));
  const auto digits = extension.find_first_not_of('0');
  const std::string disk = digits == std::string::npos ? std::string() : extension.substr(digits);
  // No more volumes than the three characters of a marker can number.
  if (++volumes_ >= kMaxVolumes) return Fail(kErrTooManyVolumes, std::to_string(kMaxVolumes));

  if (archive == kStreamName) {
    volumeName_ = archive;
    continue_ = AskForDisk(disk);
    if (!continue_) return;
    if (!ArchiveStream) throw EBackupError(BackupErrorMessage(kErrCannotReadArchive));
    volume.Open(*ArchiveStream);
  } else {
    volumeName_ = ChangeExtension(archive, "." + extension);
    // A chain of volumes ends: one that comes round again is a broken
    // archive.
    if (!volumesRead_.insert(volumeName_).second) return Fail(kErrVolumeAgain, volumeName_);
    // Asked at least once, even when the next volume is already there.
    do {
      continue_ = AskForDisk(disk);
      archive = volumeName_;
    } while (!FileExists(archive) && continue_);
    if (!continue_) return;
    if (!volume.OpenFile(archive)) throw EBackupError(kStreamReadError);
  }

  // The next volume opens with the rest of the last file's data.
  if (!current.file) {
    RestoreFileData(volume, nullptr);
    return;
  }
  currentFile_ = current.file->Cible();
  current.whole = false;  // being written again: a failure now drops it
  current.whole = RestoreFileData(volume, &current);
  if (!current.whole && errorCode_ != kErrCompression) current.file.reset();
}

bool TBackupFile::WriteBlock(Current& current, const unsigned char* data, std::size_t size) {
  const auto bytes = static_cast<int64_t>(size);
  if (current.written + bytes > current.limit) {
    Fail(kErrTooLarge, "le fichier " + current.file->Cible() + " dépasserait " + std::to_string(current.limit) +
                           " octets");
    return false;
  }
  if (bytesRestored_ + bytes > maxRestored_) {
    Fail(kErrTooLarge, "il écrirait plus de " + std::to_string(maxRestored_) + " octets" +
                           (archiveSize_ > 0 ? " (il en annonce " + std::to_string(archiveSize_) + ")" : ""));
    return false;
  }
  if (!current.file->Ecrire(std::string_view(reinterpret_cast<const char*>(data), size))) {
    const std::string message = MessageEcritureImpossible(current.file->Cible(), current.file->Erreur());
    Fail(kErrCannotReadFile, message);
    throw EBackupError(message);
  }
  current.written += bytes;
  return true;
}

bool TBackupFile::RestoreFileData(Volume& volume, Current* current) {
  char marker[4];
  if (!volume.Read(marker, 4)) throw EBackupError(kStreamReadError);
  if (std::string_view(marker, strnlen(marker, 4)) != "EC2")
    throw EBackupError(BackupErrorMessage(kErrInvalidArchive));

  while (continue_) {
    const int32_t b = volume.Int();
    const int64_t length = b < 0 ? -static_cast<int64_t>(b) : b;
    // The format never holds a longer block: one is a read error.
    if (length > static_cast<int64_t>(kBlockSize)) throw EBackupError(kStreamReadError);
    std::size_t produced = 0;
    if (!current) {
      if (!volume.Skip(length)) throw EBackupError(kStreamReadError);
    } else if (b != 0) {
      if (!volume.Read(in_.get(), length)) throw EBackupError(kStreamReadError);
      const unsigned char* data = in_.get();
      bool damaged = false;
      if (b > 0) {
        // One zlib stream a block, inflated in one call; what it makes
        // before an error is kept.
        uInt made = 0;
        damaged = !zlib_->Disponible() ||
                  zlib_->Inflater(in_.get(), static_cast<uInt>(length), out_.get(), static_cast<uInt>(kBlockSize), &made) < 0;
        produced = made;
        data = out_.get();
      } else {
        produced = static_cast<std::size_t>(length);
      }
      if (!WriteBlock(*current, data, produced)) return false;
      if (damaged) Fail(kErrCompression);
    }
    if (ProcessMessages) ProcessMessages();
    if (current) {
      bytesRestored_ += static_cast<int64_t>(produced);
      if (OnProgress) OnProgress(*this, currentFile_, Percent(), continue_);
    }
    if (b == 0) return true;
  }
  return false;
}

}  // namespace glissaro
