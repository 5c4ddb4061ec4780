// Every file of the game is read under one rule: a regular file inside the
// game folder, reached without a link in any part of its path below the game
// folder but the game's own folders of saves, turns and scenarios ("data",
// "data/save", "data/pbem", "data/scenarios", which a player may keep on
// another disk), never a folder, device or pipe, and no larger than the budget of its
// kind. Anything else counts as a file that cannot be opened, so each reader
// fails with its own line instead of reading something that never ends,
// filling memory, or reading a file outside the game folder. A refusal other
// than a missing file is logged with the file named.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tr {

// The most bytes a file of each kind may hold. The shipped files and a
// generous author's fit many times over; a received save or scenario padded
// beyond them is refused before anything is read. The files of a save and a
// scenario have budgets of their own by name (file_budgets.h), which every
// read below holds a file to whatever budget its caller gives.
inline constexpr std::uint64_t kMiB = 1024 * 1024;
// Tables, INI files, lists, layouts, the string base: the default.
inline constexpr std::uint64_t kTextFileBudget = 16 * kMiB;
// "map.qel": 37 bytes a hex, so 283,000 hexes: the large generated scenario
// grows to nine times its size (270,000 hexes) within it, and loads then in
// 64 MiB; the memory of a map and the time of its impulses grow with it.
inline constexpr std::uint64_t kMapFileBudget = 10 * kMiB;
// "reports.dat", which grows with the length of a game: the game keeps the
// newest reports within it, tens of thousands of them.
inline constexpr std::uint64_t kReportsFileBudget = 4 * kMiB;
// An earlier release let it grow to this: a load reads such a file in pieces
// and keeps its newest reports within the budget above, as the game does.
inline constexpr std::uint64_t kReportsReadLimit = 64 * kMiB;
// A PNG picture; its pixels have a budget of their own (PictureBound).
inline constexpr std::uint64_t kPictureFileBudget = 32 * kMiB;
// A WAV effect, decoded whole into memory.
inline constexpr std::uint64_t kSoundFileBudget = 16 * kMiB;
// A music track, streamed (some formats are read whole by their decoder).
inline constexpr std::uint64_t kMusicFileBudget = 256 * kMiB;
// A movie, streamed by its decoder.
inline constexpr std::uint64_t kMovieFileBudget = 1024 * kMiB;
// (The event files of a scenario share one budget of their own, kept by their reader.)

// Why a file was not opened.
enum class eFileRefusal {
  kNone,
  kMissing,
  kOutsideGameFolder,  // the path leads out of the game folder
  kLink,               // a part of the path below the game's own folders is a link
  kFolder,             // a folder where the file should be: as good as missing, not logged
  kNotRegular,         // a device or pipe where the file (or a folder on the way) should be
  kTooLarge,           // larger than the budget
  kUnreadable,
};

// Why a file was not opened, in words that follow its name ("it is ...").
std::u16string_view RefusalText(eFileRefusal refusal);

// A file opened under the rule; closes its descriptor when it goes.
class cGameFile {
 public:
  cGameFile() = default;
  cGameFile(int descriptor, std::uint64_t size) : descriptor_(descriptor), size_(size) {}
  ~cGameFile();
  cGameFile(cGameFile&& other) noexcept;
  cGameFile& operator=(cGameFile&& other) noexcept;
  cGameFile(const cGameFile&) = delete;
  cGameFile& operator=(const cGameFile&) = delete;

  bool is_open() const { return descriptor_ >= 0; }
  int descriptor() const { return descriptor_; }
  std::uint64_t size() const { return size_; }
  // Hands the descriptor over to the caller, who closes it.
  int Release();

 private:
  int descriptor_ = -1;
  std::uint64_t size_ = 0;
};

// Opens the file for reading under the rule: each part of the path below the
// game folder is opened from the one before without following a link, and a
// pipe or device is never waited on. refusal says why nothing opened; the
// refusal is logged (naming the file) unless the file is missing, a folder
// stands in its place, or quiet is set.
cGameFile OpenGameFile(const std::filesystem::path& file, std::uint64_t budget = kTextFileBudget,
                       eFileRefusal* refusal = nullptr, bool quiet = false);

// Reads an opened file from its start to its end, or to one byte past `limit`
// at most (so a file grown since it was checked is told), handing each piece
// read to `take`; no piece is larger than 256 KiB. False on a read error.
bool ReadOpenedFile(const cGameFile& file, std::uint64_t limit, const std::function<void(std::string_view)>& take);

// What a read of a whole file gave: opened is false for a file refused by the
// rule; complete is false when a read error stopped the read, and bytes then
// holds what arrived before it.
struct sFileBytes {
  bool opened = false;
  bool complete = false;
  std::string bytes;
};
// (The bytes of a file a cCheckedFiles holds come from it.)
sFileBytes ReadRegularFile(const std::filesystem::path& file, std::uint64_t budget = kTextFileBudget);

// The file's bytes, or nothing when it is refused or cannot be read whole. A
// path holding a NUL is refused: the system would open only the part before it.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file, std::uint64_t budget = kTextFileBudget);

// While one lives, the files a check has read and found as they were written
// (a save's, against its list) stay open, and the readers on its thread read
// them through ReadRegularFile and ReadWholeFile from the very file checked,
// whatever becomes of its name meanwhile. A reader is handed the bytes only
// when they are still those checked (their size and FastDigest); no file's
// bytes are held in memory between the check and its reader. Records nest;
// the innermost one holds.
class cCheckedFiles {
 public:
  // refuse, when given, is called once a held file is refused to its reader
  // (changed since the check, past the reader's budget, a read error), after
  // the reason is logged; it must not return. A reader would otherwise go on
  // as if the file were not there, and a save may lack some files.
  explicit cCheckedFiles(std::function<void()> refuse = {});
  ~cCheckedFiles();
  cCheckedFiles(const cCheckedFiles&) = delete;
  cCheckedFiles& operator=(const cCheckedFiles&) = delete;

  // The innermost on this thread, or null.
  static cCheckedFiles* Current();
  // The file as the check opened it, with the size and FastDigest of what it read.
  void Hold(const std::filesystem::path& file, cGameFile opened, std::uint64_t size, std::uint64_t digest);
  bool Holds(const std::filesystem::path& file) const;
  // The bytes of a file held, read again from the start of the file checked,
  // or nothing when it is not held. Bytes that are no longer those checked
  // are logged and refused (not opened); a read error gives none of them.
  // Either calls refuse, when given.
  std::optional<sFileBytes> Take(const std::filesystem::path& file, std::uint64_t budget) const;
  // The same read, handing the bytes to take in pieces instead (bytes stays
  // empty): they are found as checked only once the last piece is taken.
  std::optional<sFileBytes> Stream(const std::filesystem::path& file, std::uint64_t budget,
                                   const std::function<void(std::string_view)>& take) const;
  // Whether a file held was refused because it changed since the check, or
  // a check found one changing as it read it (NoteChange).
  bool FoundAChange() const { return foundAChange_; }
  void NoteChange() { foundAChange_ = true; }

 private:
  struct sHeld {
    cGameFile file;
    std::uint64_t size = 0;
    std::uint64_t digest = 0;
  };
  std::map<std::filesystem::path, sHeld> held_;
  std::function<void()> refuse_;
  mutable bool foundAChange_ = false;
  cCheckedFiles* outer_;
};

// What a read in pieces gave: why the file was not opened or read (kNone
// when it was), and whether it was read to its end.
struct sFileStream {
  eFileRefusal refusal = eFileRefusal::kNone;
  bool complete = false;
};
// Reads the file as ReadRegularFile does (from the file a cCheckedFiles
// holds, when it holds it), to the budget given rather than that of its
// name, handing it to take in pieces of at most 256 KiB: for a file whose
// reader keeps only part of it. No refusal is logged but those of a file held
// (which call its refuse); a file held and found changed gives kUnreadable,
// and the pieces taken before are to be dropped whenever complete is false.
sFileStream ReadFileInPieces(const std::filesystem::path& file, std::uint64_t budget,
                             const std::function<void(std::string_view)>& take);

// True when the file would be opened under the rule (whatever its size); logs nothing.
bool IsReadableRegularFile(const std::filesystem::path& file);

}  // namespace tr
