// TBackupFile: the archive component that unpacks board packs. It reads a
// ".pkg" archive, possibly continued in further volume files (PackXX.002,
// PackXX.003...), and writes its files into a target folder.
//
// Archive layout (all integers 32-bit signed little-endian, texts single-byte
// Windows-1252 without terminator):
//
//   first volume   L, header text (L bytes), total, header value, entries
//   entry          N, name (N bytes), then for a file FA and its data;
//                  N = 0 ends the archive, N < 0 is followed by the next N;
//                  a name starting "NEXT:DISK" sends the reader to the
//                  volume file whose extension is the name's next three
//                  characters, and "FILE:LIST" is never written
//   file data      "EC2" and a zero byte, then blocks
//   block          B, then |B| bytes: B > 0 one complete zlib stream, B < 0
//                  bytes stored as they are, B = 0 ends the data; a block
//                  carries at most 16,384 bytes of the file
//   later volume   the data of the file whose entry came last (marker and
//                  blocks), then further entries
//
// FA is the file's modification date in the MS-DOS packed format (bits
// 31-25 year - 1980, 24-21 month, 20-16 day, 15-11 hours, 10-5 minutes, 4-0
// seconds / 2), local time.
//
// Plain C++ (std::filesystem, POSIX, zlib): the installer window and the
// command-line tool share it. Messages go through the program's Dialogues;
// the window hands in its event processing through ProcessMessages.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "Zlib.h"

namespace glissaro {

class Dialogues;

enum class TBackupMode { bmAll, bmIncremental };
enum class TCompressionLevel { clFastest, clNone, clDefault, clMax };
enum class TRestoreMode { rmAll, rmNoOverwrite, rmNewer, rmExisting, rmExistingNewer };
using TPercentage = int;

// Error codes: 1 to 7 are the archive format's own; 8 and above are the
// refusals of this reader.
inline constexpr int32_t kErrCannotReadFile = 1;        // "Cannot read file"
inline constexpr int32_t kErrOverwriteFailed = 2;       // "Overwriting file failed"
inline constexpr int32_t kErrCannotReadArchive = 3;     // "Cannot read archive"
inline constexpr int32_t kErrCannotWriteArchive = 4;    // "Cannot write to archive"
inline constexpr int32_t kErrInvalidArchive = 5;        // "Invalid archive type"
inline constexpr int32_t kErrCompression = 6;           // "Compression error"
inline constexpr int32_t kErrTempFile = 7;              // "Cannot create temporary file to save the file IDs"
inline constexpr int32_t kErrUnsafeName = 8;            // a name that would leave the target folder
inline constexpr int32_t kErrSymbolicLink = 9;          // a symbolic link where a file or folder goes
inline constexpr int32_t kErrBusy = 10;                 // Restore called while one runs
inline constexpr int32_t kErrVolumeAgain = 11;          // a volume marker names a volume already read
inline constexpr int32_t kErrTooManyVolumes = 12;       // more volumes than an archive can name
inline constexpr int32_t kErrTooLarge = 13;             // more bytes than a file or the restore may write

// The message of an error code ("" for an unknown code).
std::string BackupErrorMessage(int32_t code);

// Texts of the exceptions that leave Restore besides the codes' messages.
inline constexpr const char* kStreamReadError = "Stream read error";
inline constexpr const char* kStreamWriteError = "Stream write error";

// The volume prompt; %s is the disk number.
inline constexpr const char* kInsertDiskPrompt = "Please insert disk %s and click OK to continue.";

// What leaves Restore when the archive cannot be read on: "Cannot read
// archive", "Invalid archive type", a stream error. The installer shows the
// text.
class EBackupError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// MS-DOS packed dates. The conversion to a date clamps to the range the
// format holds (1980 to 2107); the conversion from a date gives nothing for
// fields that name no time (month 0, day 31 of April, hour 24...).
int32_t DosDateTimeFromTime(std::time_t instant);
std::optional<std::time_t> TimeFromDosDateTime(int32_t fa);

class TBackupFile;

// Event types; the first parameter is the component.
using TProgressEvent = std::function<void(TBackupFile& Sender, const std::string& Filename, TPercentage Percent,
                                          bool& Continue)>;
using TNeedDiskEvent = std::function<void(TBackupFile& Sender, uint16_t DiskID, bool& Continue)>;
using TRestoreFileEvent =
    std::function<void(TBackupFile& Sender, std::string& Filename, int32_t FA, bool& DoRestore)>;
// Stream: the POSIX descriptor of the open file, once all its data is
// written and before it takes the target's place. A handler may write to
// it; the component closes it.
using TFileRestoredEvent = std::function<void(TBackupFile& Sender, std::string& Filename, int& Stream)>;
using TBackupErrorEvent = std::function<void(TBackupFile& Sender, int32_t Error, const std::string& ErrString)>;

class TBackupFile {
 public:
  // dialogues shows the volume prompt (as a Yes/No question: Yes goes on)
  // and the final error when OnError is not set; without it, no prompt is
  // answered (the restore stops at a volume marker) and errors go only to
  // OnError.
  explicit TBackupFile(Dialogues* dialogues = nullptr);
  ~TBackupFile();
  TBackupFile(const TBackupFile&) = delete;
  TBackupFile& operator=(const TBackupFile&) = delete;

  // ---- Published properties. Restore reads only RestoreMode and
  // RestoreFullPath; the others are kept for the owner.
  const std::string& Version() const;  // always "5.10"
  void SetVersion(const std::string&) {}
  std::string BackupTitle;
  TBackupMode BackupMode() const { return backupMode_; }
  void SetBackupMode(TBackupMode mode);  // bmIncremental also sets SetArchiveFlag
  TCompressionLevel CompressionLevel = TCompressionLevel::clFastest;
  TRestoreMode RestoreMode = TRestoreMode::rmAll;
  int32_t MaxSize = 0;
  bool SetArchiveFlag = false;
  // Keep the folders stored in the names (without their first three
  // characters, a drive such as "C:\") below the target folder.
  bool RestoreFullPath = false;
  bool SaveFileID = false;

  TProgressEvent OnProgress;
  TNeedDiskEvent OnNeedDisk;
  TRestoreFileEvent OnRestoreFile;
  TFileRestoredEvent OnFileRestored;
  TBackupErrorEvent OnError;

  // Called after every block so that the windows stay responsive; the
  // installer sets it to the application's event processing.
  std::function<void()> ProcessMessages;

  // ---- Run-time state.
  // Read instead of a file when the archive name is ":STREAM", from its
  // current position; the owner keeps it. At a volume marker the prompt is
  // asked once and reading goes on from ArchiveStream, which the
  // OnNeedDisk handler may have replaced.
  std::istream* ArchiveStream = nullptr;

  int32_t FilesRestored() const { return filesRestored_; }
  bool Busy() const { return busy_; }
  // The total from the archive's header, and the bytes written so far.
  int64_t ArchiveSize() const { return archiveSize_; }
  int64_t BytesRestored() const { return bytesRestored_; }
  // The target path of the file being read.
  const std::string& CurrentFile() const { return currentFile_; }
  // The most a restore writes: each file at most MaxFileBytes(its target),
  // and all of them at most the header's total with a margin (or
  // kMaxRestoreBytes when the header gives none), never more than
  // kMaxRestoreBytes. Over a bound the restore stops with kErrTooLarge and
  // the file being written is dropped.
  static constexpr int64_t kMaxRestoreBytes = int64_t{1} << 30;
  static int64_t MaxFileBytes(const std::string& target);
  int64_t MaxRestoredBytes() const { return maxRestored_; }
  // The error code of the last Restore (0 = none).
  int32_t ErrorCode() const { return errorCode_; }
  // During the volume prompt: the file the next volume is looked for in.
  const std::string& VolumeName() const { return volumeName_; }

  // Restores the archive into the folder (empty: the paths stored in the
  // archive, below the current folder). True when the archive was read to
  // its end without error and without being stopped. A missing archive
  // gives false at once, without message. Throws EBackupError when the
  // archive cannot be opened or read on (see above); the files already
  // written stay.
  //
  // Each file is written to a temporary file beside its target and renamed
  // over it once its data is complete (its last volume included): a link
  // at the target is replaced, never written through, and a file whose
  // data fails, or whose restore is stopped, leaves the old file whole. A
  // file whose data ended is whole: it is kept however the archive goes
  // wrong after it (its end cut, a volume marker that names a volume
  // already read...), but for a failure within its continuation in the
  // next volume, or a stop asked while it waits for that volume. A
  // compressed block that zlib rejects still gives the bytes made before
  // the error. A volume that comes round again, or a chain of more volumes
  // than three characters can number, stops the restore with an error.
  //
  // The temporary files a killed restore left in the target folder are
  // removed first. The files are flushed to disk a batch at a time, and
  // all of them before Restore returns.
  bool Restore(const std::string& archive, const std::string& target);

  // Hands an error to OnError, or shows its message.
  void ReportError(int32_t code);

  // Stops the restore that runs (the Continue flag), between two blocks:
  // the file being written is dropped, those restored before stay.
  void Cancel() { continue_ = false; }

 private:
  struct Volume;
  struct Current;

  // The steps of Restore: the run's state made afresh, the archive
  // opened (false when it is missing), its header read, its entries read
  // to the end or a stop, and the last file and the error once they are.
  void Begin(const std::string& target);
  bool OpenFirstVolume(Volume& volume, const std::string& archive);
  void ReadHeader(Volume& volume);
  void ReadEntries(Volume& volume, std::string& archive, Current& current);
  bool EndRestore(Volume& volume, Current& current);
  // One file entry: its target, whether it is restored, and its data.
  void RestoreEntry(Volume& volume, const std::string& target, const std::string& name, int32_t fa,
                    Current& current);
  // The target path of a stored name, and the stored folders on its way;
  // false for a name that would leave the folder.
  bool TargetPath(const std::string& folder, const std::string& name, std::string& path,
                  std::vector<std::string>& folders);
  // The restore mode's answer for that target, and then OnRestoreFile's.
  bool WantsRestore(std::string& path, int32_t fa);
  // Writes the entry's data into a temporary file beside its target.
  void WriteEntry(Volume& volume, const std::string& path, Current& current);
  void NextVolume(Volume& volume, std::string& archive, const std::string& name, Current& current);
  bool AskForDisk(const std::string& disk);
  // Reads one file's data into the current file, or past it when current
  // is null. True when the data ended with its end block.
  bool RestoreFileData(Volume& volume, Current* current);
  // Appends produced bytes to the current file, within the bounds.
  bool WriteBlock(Current& current, const unsigned char* data, std::size_t size);
  // The file whose data was read last takes its target's place.
  void FinishFile(Current& current);
  void Fail(int32_t code, const std::string& detail = {});
  int Percent() const;

  Dialogues* dialogues_;
  TBackupMode backupMode_ = TBackupMode::bmAll;

  bool busy_ = false;
  bool continue_ = true;
  int32_t errorCode_ = 0;
  std::string errorDetail_;
  int32_t filesRestored_ = 0;
  int64_t archiveSize_ = 0;
  int64_t bytesRestored_ = 0;
  int64_t maxRestored_ = kMaxRestoreBytes;
  std::string folder_;              // the target folder, "/" at the end
  int32_t unsynced_ = 0;            // files restored since the last flush to disk
  std::string currentFile_;
  std::string volumeName_;
  std::set<std::string> volumesRead_;  // the volume files opened by this Restore
  std::size_t volumes_ = 0;            // and how many volumes, streams included

  // Block data in, inflated data out: the restore's only buffers.
  std::unique_ptr<unsigned char[]> in_;
  std::unique_ptr<unsigned char[]> out_;
  std::unique_ptr<Zlib> zlib_;  // loaded with them
};

}  // namespace glissaro
