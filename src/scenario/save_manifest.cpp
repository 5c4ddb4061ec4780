#include "scenario/save_manifest.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <optional>
#include <string>
#include <tuple>

#include "foundation/console_log.h"
#include "foundation/fast_digest.h"
#include "foundation/file_budgets.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/ini_file.h"
#include "foundation/md5.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/save_game.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

// Lists are written with the fast digest; those of the round before were
// written with MD5 under their own header, and still load.
constexpr std::string_view kHeaderLine = "# file;bytes;xxh3;\r\n";
constexpr std::string_view kMd5HeaderLine = "# file;bytes;md5;\r\n";
constexpr std::string_view kClosingMark = "#end";
// No file of a save may be larger (the budgets of its readers), so a list
// naming a larger one is damaged, and no check reads more.
const std::uint64_t kLargestListedSize = std::max(LargestNamedFileBudget(), kReportsReadLimit);

thread_local bool tLoadedAsItIs = false;

std::function<void(const fs::path&)>& CheckHook() {
  static std::function<void(const fs::path&)> hook;
  return hook;
}

// A file's size and times of change, which any writer of it moves.
using tStamp = std::tuple<std::int64_t, std::int64_t, std::int64_t, std::int64_t, std::int64_t>;

tStamp StampOf(const struct stat& info) {
  return {info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec, info.st_ctim.tv_sec, info.st_ctim.tv_nsec};
}

tStamp StampOf(const cGameFile& file) {
  struct stat info {};
  return ::fstat(file.descriptor(), &info) == 0 ? StampOf(info) : tStamp{};
}

timespec Now() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return now;
}

// Whether the file was written in since the check of its folder began.
bool ChangedSince(const tStamp& stamp, timespec began) {
  return std::tuple(std::get<3>(stamp), std::get<4>(stamp)) >=
         std::tuple<std::int64_t, std::int64_t>(began.tv_sec, began.tv_nsec);
}

bool ChangedSince(const fs::path& file, timespec began) {
  struct stat info {};
  return ::lstat(file.c_str(), &info) == 0 && ChangedSince(StampOf(info), began);
}

// A file that differs because something on this computer wrote in it during
// the load (as its check read it, or since the check began) is not the
// sender's to mend: it is told as a change on this disk.
bool RefuseAsChangedHere(std::u16string_view path) {
  LogFormat(u"ERROR: %s changed on the disk while the game was loaded from it; the game is not loaded", path);
  if (cCheckedFiles* checked = cCheckedFiles::Current()) checked->NoteChange();
  return false;
}

struct sListedFile {
  std::u16string name;
  std::uint64_t size = 0;
  std::string digest;  // lowercase hexadecimal digits
};

// How a list's digests were taken.
struct sDigestKind {
  bool fast = true;
  std::size_t digits() const { return fast ? 16 : 32; }
  std::string Of(std::string_view bytes) const { return fast ? FastDigestHex(FastDigest(bytes)) : Md5Hex(bytes); }
};

bool IsDigestText(std::string_view text, sDigestKind kind) {
  if (text.size() != kind.digits()) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::u16string ByteCount(std::uint64_t count) { return Utf8ToUtf16(std::to_string(count)); }

// The budget the file's reader holds it to: a file listed past it is
// refused before another file is read.
std::uint64_t ReaderBudget(std::u16string_view name) { return FileReadLimitOf(name, kTextFileBudget); }

// Names that a folder searched without regard to case (as the readers'
// paths are) would take for one.
std::u16string FoldedName(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return folded;
}

// What the save's "Info.ini" says of the list: nothing for a save from
// before it, else the name of the file it was written in.
std::optional<std::u16string> MarkedList(std::u16string_view folder) {
  const std::u16string path = SaveFilePath(folder, u"Info.ini");
  if (!IsReadableRegularFile(ResolveGamePath(path))) return std::nullopt;
  cIniFile ini;
  if (!ini.Load(path) || !ini.HasKey(kSaveManifestMark)) return std::nullopt;
  return ini.GetString(kSaveManifestMark, u"");
}

bool IsMarked(std::u16string_view folder) { return MarkedList(folder).has_value(); }

// One line of the list as the game writes it ("name;bytes;digest;"), or
// nothing. Its separators are counted first: a line of millions is not split.
std::optional<sListedFile> ParseListedFile(std::string_view line, sDigestKind kind) {
  if (std::count(line.begin(), line.end(), ';') != 3) return std::nullopt;
  const std::vector<std::string_view> fields = SplitTokens(line);
  if (fields.size() != 3 || !line.ends_with(';') || !IsDigestText(fields[2], kind)) return std::nullopt;
  const std::int32_t size = WholeNumber(fields[1]).value_or(-1);
  if (size < 0 || static_cast<std::uint64_t>(size) > kLargestListedSize) return std::nullopt;
  sListedFile file{CodePageToUtf16(fields[0]), static_cast<std::uint64_t>(size), std::string(fields[2])};
  if (!IsSafeFileName(file.name)) return std::nullopt;
  return file;
}

// The files the list names, or why the list is damaged.
std::optional<std::vector<sListedFile>> ParseList(std::string_view bytes, std::u16string& fault, sDigestKind& kind) {
  if (!bytes.ends_with("\r\n")) {
    fault = u"does not end with its closing line (cut short?)";
    return std::nullopt;
  }
  const std::string_view body = bytes.substr(0, bytes.size() - 2);
  const std::size_t closingStart = body.rfind('\n') == std::string_view::npos ? 0 : body.rfind('\n') + 1;
  // Its separators are counted first: a closing line of millions is not split.
  const std::string_view closingLine = body.substr(closingStart);
  if (std::count(closingLine.begin(), closingLine.end(), ';') != 3) {
    fault = u"does not end with its closing line (cut short?)";
    return std::nullopt;
  }
  const std::vector<std::string_view> closing = SplitTokens(closingLine);
  if (closing.size() != 3 || closing[0] != kClosingMark || !body.ends_with(';')) {
    fault = u"does not end with its closing line (cut short?)";
    return std::nullopt;
  }
  const std::string_view covered = bytes.substr(0, closingStart);
  kind.fast = !covered.starts_with(kMd5HeaderLine);
  if (!IsDigestText(closing[2], kind) || kind.Of(covered) != closing[2]) {
    fault = u"differs from what its closing line's digest was taken of (changed on its way?)";
    return std::nullopt;
  }
  // A save is written with a fixed set of files, so a list naming more is
  // damage, told at the first line past them.
  const std::size_t most = SaveFileNames().size();
  std::vector<sListedFile> files;
  std::vector<std::u16string> folded;
  int lineNumber = 0;
  // Line by line as TextLineViews cuts them (CR LF, CR or LF), without
  // holding a view of every line of a long list.
  for (std::size_t start = 0; start < covered.size();) {
    const std::size_t end = std::min(covered.find_first_of("\r\n", start), covered.size());
    const std::string_view line = covered.substr(start, end - start);
    start = end + (covered.substr(end).starts_with("\r\n") ? 2 : 1);
    ++lineNumber;
    if (line.empty() || line.front() == '#') continue;
    std::optional<sListedFile> file = ParseListedFile(line, kind);
    if (!file) {
      fault = files.size() == most
                  ? Format(u"at line %i (counting from 1) names more files than a save is written with", lineNumber)
                  : Format(u"at line %i (counting from 1) holds no file's name, size and digest", lineNumber);
      return std::nullopt;
    }
    // Each file is read and compared once; the game writes no two names a
    // folder could take for one. A name given again is told as such, past
    // a save's count of files too.
    std::u16string name = FoldedName(file->name);
    if (std::find(folded.begin(), folded.end(), name) != folded.end()) {
      fault = Format(u"at line %i (counting from 1) names %s a second time", lineNumber, file->name);
      return std::nullopt;
    }
    if (files.size() == most) {
      fault = Format(u"at line %i (counting from 1) names more files than a save is written with", lineNumber);
      return std::nullopt;
    }
    folded.push_back(std::move(name));
    files.push_back(std::move(*file));
  }
  if (WholeNumber(closing[1]).value_or(-1) != static_cast<std::int32_t>(files.size())) {
    fault = Format(u"names %i files where its closing line counts %s", static_cast<int>(files.size()),
                   CodePageToUtf16(closing[1]));
    return std::nullopt;
  }
  // Every save is written with the same files, and the readers read them all:
  // one left out would be read unchecked.
  for (const std::u16string_view name : SaveFileNames()) {
    if (std::none_of(files.begin(), files.end(), [name](const sListedFile& file) { return file.name == name; })) {
      fault = Format(u"does not name %s, which every save is written with", name);
      return std::nullopt;
    }
  }
  return files;
}

enum class eListRead { kMissing, kRead, kRefused };

// The folder's list, parsed; logs why when it is there but cannot be used.
eListRead ReadList(std::u16string_view folder, std::vector<sListedFile>& files, sDigestKind& kind, bool quiet) {
  const std::u16string path = SaveFilePath(folder, kSaveManifestFile);
  eFileRefusal refusal = eFileRefusal::kNone;
  const cGameFile file = OpenGameFile(ResolveGamePath(path), ReaderBudget(kSaveManifestFile), &refusal, true);
  if (!file.is_open()) {
    if (refusal == eFileRefusal::kMissing) return eListRead::kMissing;
    if (!quiet) {
      LogFormat(u"ERROR: %s cannot be read (%s); the game is not loaded", path, RefusalText(refusal));
    }
    return eListRead::kRefused;
  }
  std::string bytes;
  bytes.reserve(file.size());
  if (!ReadOpenedFile(file, file.size(), [&bytes](std::string_view piece) { bytes += piece; })) {
    if (!quiet) LogFormat(u"ERROR: %s cannot be read (a read error); the game is not loaded", path);
    return eListRead::kRefused;
  }
  std::u16string fault;
  std::optional<std::vector<sListedFile>> parsed = ParseList(bytes, fault, kind);
  if (!parsed) {
    if (!quiet) {
      LogFormat(u"ERROR: %s %s; the list of the save's files is damaged and the game is not loaded", path, fault);
    }
    return eListRead::kRefused;
  }
  files = std::move(*parsed);
  return eListRead::kRead;
}

// One file against its line of the list, read once in pieces; logs why it
// differs. A file found as written stays open for its reader in the checked
// files held, if any, with the digest its reader's bytes must have.
bool CheckListedFile(std::u16string_view folder, const sListedFile& listed, sDigestKind kind, timespec began) {
  const std::u16string path = SaveFilePath(folder, listed.name);
  const std::uint64_t budget = ReaderBudget(listed.name);
  if (listed.size > budget) {
    LogFormat(u"ERROR: %s was written with %s bytes, says the list, more than the %s bytes a file of its kind may "
              u"hold; the game is not loaded",
              path, ByteCount(listed.size), ByteCount(budget));
    return false;
  }
  const std::filesystem::path resolved = ResolveGamePath(path);
  eFileRefusal refusal = eFileRefusal::kNone;
  // A budget of the listed size: a file grown on its way is not read at all.
  cGameFile file = OpenGameFile(resolved, listed.size, &refusal, true);
  if (!file.is_open()) {
    if (refusal == eFileRefusal::kMissing) {
      LogFormat(u"ERROR: %s is missing, though the save was written with it; the game is not loaded", path);
    } else if (refusal == eFileRefusal::kTooLarge && ChangedSince(resolved, began)) {
      return RefuseAsChangedHere(path);
    } else if (refusal == eFileRefusal::kTooLarge) {
      LogFormat(u"ERROR: %s holds more than the %s bytes it was written with; the file is damaged and the game is "
                u"not loaded",
                path, ByteCount(listed.size));
    } else {
      LogFormat(u"ERROR: %s cannot be read (%s); the game is not loaded", path, RefusalText(refusal));
    }
    return false;
  }
  const tStamp opened = StampOf(file);
  if (CheckHook()) CheckHook()(resolved);
  cFastDigest fast;
  cMd5 md5;
  std::uint64_t size = 0;
  const bool read = ReadOpenedFile(file, listed.size, [&](std::string_view piece) {
    fast.Update(piece);
    if (!kind.fast) md5.Update(piece);
    size += piece.size();
  });
  const std::uint64_t digest = fast.Value();
  const bool asWritten =
      read && size == listed.size && (kind.fast ? FastDigestHex(digest) : Md5Hex(md5.Final())) == listed.digest;
  if (const tStamp now = StampOf(file); !asWritten && (now != opened || ChangedSince(now, began))) {
    return RefuseAsChangedHere(path);
  }
  if (!read) {
    LogFormat(u"ERROR: %s cannot be read (a read error); the game is not loaded", path);
    return false;
  }
  if (size != listed.size) {
    LogFormat(u"ERROR: %s holds %s bytes, not the %s it was written with (cut short?); the file is damaged and the "
              u"game is not loaded",
              path, ByteCount(size), ByteCount(listed.size));
    return false;
  }
  if (!asWritten) {
    LogFormat(u"ERROR: %s holds other bytes than it was written with (changed on its way?); the file is damaged "
              u"and the game is not loaded",
              path);
    return false;
  }
  if (cCheckedFiles* checked = cCheckedFiles::Current()) checked->Hold(resolved, std::move(file), size, digest);
  return true;
}

}  // namespace

bool WriteSaveManifest(std::u16string_view folder, const std::vector<cWrittenFilesRecord::sEntry>& written) {
  const fs::path where = ResolveGamePath(folder).lexically_normal();
  std::string bytes(kHeaderLine);
  int count = 0;
  for (const cWrittenFilesRecord::sEntry& entry : written) {
    if (entry.file.parent_path().lexically_normal() != where) continue;
    bytes += entry.file.filename().string();
    bytes += ';';
    bytes += std::to_string(entry.size);
    bytes += ';';
    bytes += FastDigestHex(entry.digest);
    bytes += ";\r\n";
    ++count;
  }
  const std::string closing = std::string(kClosingMark) + ";" + std::to_string(count) + ";" + FastDigestHex(FastDigest(bytes)) + ";\r\n";
  bytes += closing;
  const std::u16string path = SaveFilePath(folder, kSaveManifestFile);
  if (!WriteFileReplacing(ResolveGamePath(path), bytes)) {
    LogFormat(u"ERROR: Cannot write %s", path);
    return false;
  }
  return true;
}

bool CheckSaveManifest(std::u16string_view folder) {
  if (tLoadedAsItIs) {
    LogFormat(u"The files of %s are not compared with its %s: the save is loaded as it is", folder,
              kSaveManifestFile);
    return true;
  }
  std::vector<sListedFile> files;
  sDigestKind kind;
  switch (ReadList(folder, files, kind, false)) {
    case eListRead::kMissing:
      // A folder that drops its list with the mark would load unchecked,
      // whatever its tables lost on the way. Only the mark tells: a save
      // written without the list says the same version as one with it.
      if (IsMarked(folder)) {
        LogFormat(u"ERROR: %s is missing, though %s says the save was written with it; the list of the save's files "
                  u"is lost and the game is not loaded",
                  SaveFilePath(folder, kSaveManifestFile), SaveFilePath(folder, u"Info.ini"));
        return false;
      }
      LogFormat(u"No %s: a save from before it was written; its files are not compared with it", kSaveManifestFile);
      return true;
    case eListRead::kRefused:
      return false;
    case eListRead::kRead:
      break;
  }
  const timespec began = Now();
  for (const sListedFile& listed : files) {
    if (!CheckListedFile(folder, listed, kind, began)) return false;
  }
  // Read from the Info.ini just checked: a mark naming any other list
  // than the one there was written by no game.
  const std::optional<std::u16string> mark = MarkedList(folder);
  if (mark && *mark != kSaveManifestFile) {
    LogFormat(u"ERROR: %s says the save was written with %s, not %s; the file is damaged and the game is not loaded",
              SaveFilePath(folder, u"Info.ini"), *mark, kSaveManifestFile);
    return false;
  }
  return true;
}

void SetListedFileCheckHook(std::function<void(const std::filesystem::path&)> hook) { CheckHook() = std::move(hook); }

cSaveLoadedAsItIs::cSaveLoadedAsItIs() : outer_(tLoadedAsItIs) { tLoadedAsItIs = true; }
cSaveLoadedAsItIs::~cSaveLoadedAsItIs() { tLoadedAsItIs = outer_; }

bool SaveManifestNames(std::u16string_view folder, std::u16string_view file) {
  std::vector<sListedFile> files;
  sDigestKind kind;
  if (ReadList(folder, files, kind, true) == eListRead::kRead) {
    for (const sListedFile& listed : files) {
      if (listed.name == file) return true;
    }
  }
  const std::vector<std::u16string_view> written = SaveFileNames();
  return std::find(written.begin(), written.end(), file) != written.end() && IsMarked(folder);
}

}  // namespace tr
