#include "scenario/save_manifest.h"

#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>

#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/md5.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "foundation/text_file.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHeaderLine = "# file;bytes;md5;\r\n";
constexpr std::string_view kClosingMark = "#end";
// No file of a save may be larger (the budgets of its readers), so a list
// naming a larger one is damaged, and no check reads more.
constexpr std::uint64_t kLargestListedSize = kReportsFileBudget > kMapFileBudget ? kReportsFileBudget : kMapFileBudget;

struct sListedFile {
  std::u16string name;
  std::uint64_t size = 0;
  std::string digest;  // 32 lowercase hexadecimal digits
};

bool IsDigestText(std::string_view text) {
  if (text.size() != 32) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::u16string ByteCount(std::uint64_t count) { return Utf8ToUtf16(std::to_string(count)); }

std::u16string_view RefusalText(eFileRefusal refusal) {
  switch (refusal) {
    case eFileRefusal::kFolder:
      return u"a folder stands in its place";
    case eFileRefusal::kLink:
      return u"it is reached through a link";
    case eFileRefusal::kNotRegular:
      return u"it is not a regular file";
    case eFileRefusal::kTooLarge:
      return u"it is larger than a file of its kind may be";
    case eFileRefusal::kOutsideGameFolder:
      return u"it lies outside the game folder";
    default:
      return u"it cannot be opened";
  }
}

// Reads the opened file to its end, or past `limit` bytes at most, handing
// the bytes on. False on a read error.
template <typename Take>
bool ReadOpened(const cGameFile& file, std::uint64_t limit, Take take) {
  char chunk[1 << 16];
  std::uint64_t total = 0;
  while (total <= limit) {
    const ssize_t got = ::read(file.descriptor(), chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    total += static_cast<std::uint64_t>(got);
    take(std::string_view(chunk, static_cast<std::size_t>(got)));
  }
  return true;
}

// The files the list names, or why the list is damaged.
std::optional<std::vector<sListedFile>> ParseList(std::string_view bytes, std::u16string& fault) {
  if (!bytes.ends_with("\r\n")) {
    fault = u"does not end with its closing line (cut short?)";
    return std::nullopt;
  }
  const std::string_view body = bytes.substr(0, bytes.size() - 2);
  const std::size_t closingStart = body.rfind('\n') == std::string_view::npos ? 0 : body.rfind('\n') + 1;
  const std::vector<std::string_view> closing = SplitTokens(body.substr(closingStart));
  if (closing.size() != 3 || closing[0] != kClosingMark || !body.ends_with(';')) {
    fault = u"does not end with its closing line (cut short?)";
    return std::nullopt;
  }
  const std::string_view covered = bytes.substr(0, closingStart);
  if (!IsDigestText(closing[2]) || Md5Hex(covered) != closing[2]) {
    fault = u"differs from what its closing line's digest was taken of (changed on its way?)";
    return std::nullopt;
  }
  std::vector<sListedFile> files;
  int lineNumber = 0;
  for (const std::string_view line : TextLineViews(covered)) {
    ++lineNumber;
    if (line.empty() || line.front() == '#') continue;
    const std::vector<std::string_view> fields = SplitTokens(line);
    const std::optional<std::int32_t> size = fields.size() == 3 ? WholeNumber(fields[1]) : std::nullopt;
    sListedFile file;
    if (fields.size() == 3) file.name = CodePageToUtf16(fields[0]);
    if (!size || *size < 0 || static_cast<std::uint64_t>(*size) > kLargestListedSize || !line.ends_with(';') ||
        !IsSafeFileName(file.name) || !IsDigestText(fields[2])) {
      fault = Format(u"at line %i (counting from 1) holds no file's name, size and digest", lineNumber);
      return std::nullopt;
    }
    file.size = static_cast<std::uint64_t>(*size);
    file.digest = std::string(fields[2]);
    files.push_back(std::move(file));
  }
  if (WholeNumber(closing[1]) != static_cast<std::int32_t>(files.size())) {
    fault = Format(u"names %i files where its closing line counts %s", static_cast<int>(files.size()),
                   CodePageToUtf16(closing[1]));
    return std::nullopt;
  }
  return files;
}

enum class eListRead { kMissing, kRead, kRefused };

// The folder's list, parsed; logs why when it is there but cannot be used.
eListRead ReadList(std::u16string_view folder, std::vector<sListedFile>& files, bool quiet) {
  const std::u16string path = SaveFilePath(folder, kSaveManifestFile);
  eFileRefusal refusal = eFileRefusal::kNone;
  const cGameFile file = OpenGameFile(ResolveGamePath(path), kTextFileBudget, &refusal, true);
  if (!file.is_open()) {
    if (refusal == eFileRefusal::kMissing) return eListRead::kMissing;
    if (!quiet) {
      LogFormat(u"ERROR: %s cannot be read (%s); the game is not loaded", path, RefusalText(refusal));
    }
    return eListRead::kRefused;
  }
  std::string bytes;
  bytes.reserve(file.size());
  if (!ReadOpened(file, kTextFileBudget, [&bytes](std::string_view got) { bytes.append(got); })) {
    if (!quiet) LogFormat(u"ERROR: %s cannot be read (a read error); the game is not loaded", path);
    return eListRead::kRefused;
  }
  std::u16string fault;
  std::optional<std::vector<sListedFile>> parsed = ParseList(bytes, fault);
  if (!parsed) {
    if (!quiet) {
      LogFormat(u"ERROR: %s %s; the list of the save's files is damaged and the game is not loaded", path, fault);
    }
    return eListRead::kRefused;
  }
  files = std::move(*parsed);
  return eListRead::kRead;
}

// One file against its line of the list; logs why it differs.
bool CheckListedFile(std::u16string_view folder, const sListedFile& listed) {
  const std::u16string path = SaveFilePath(folder, listed.name);
  eFileRefusal refusal = eFileRefusal::kNone;
  // A budget of the listed size: a file grown on its way is not read at all.
  const cGameFile file = OpenGameFile(ResolveGamePath(path), listed.size, &refusal, true);
  if (!file.is_open()) {
    if (refusal == eFileRefusal::kMissing) {
      LogFormat(u"ERROR: %s is missing, though the save was written with it; the game is not loaded", path);
    } else if (refusal == eFileRefusal::kTooLarge) {
      LogFormat(u"ERROR: %s holds more than the %s bytes it was written with; the file is damaged and the game is "
                u"not loaded",
                path, ByteCount(listed.size));
    } else {
      LogFormat(u"ERROR: %s cannot be read (%s); the game is not loaded", path, RefusalText(refusal));
    }
    return false;
  }
  cMd5 md5;
  std::uint64_t size = 0;
  const bool read = ReadOpened(file, listed.size, [&](std::string_view got) {
    md5.Update(got);
    size += got.size();
  });
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
  if (Md5Hex(md5.Final()) != listed.digest) {
    LogFormat(u"ERROR: %s holds other bytes than it was written with (changed on its way?); the file is damaged "
              u"and the game is not loaded",
              path);
    return false;
  }
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
    bytes += Md5Hex(entry.digest);
    bytes += ";\r\n";
    ++count;
  }
  const std::string closing = std::string(kClosingMark) + ";" + std::to_string(count) + ";" + Md5Hex(bytes) + ";\r\n";
  bytes += closing;
  const std::u16string path = SaveFilePath(folder, kSaveManifestFile);
  if (!WriteFileReplacing(ResolveGamePath(path), bytes)) {
    LogFormat(u"ERROR: Cannot write %s", path);
    return false;
  }
  return true;
}

bool CheckSaveManifest(std::u16string_view folder) {
  std::vector<sListedFile> files;
  switch (ReadList(folder, files, false)) {
    case eListRead::kMissing:
      LogFormat(u"No %s: a save from before it was written; its files are not compared with it", kSaveManifestFile);
      return true;
    case eListRead::kRefused:
      return false;
    case eListRead::kRead:
      break;
  }
  for (const sListedFile& listed : files) {
    if (!CheckListedFile(folder, listed)) return false;
  }
  return true;
}

bool SaveManifestNames(std::u16string_view folder, std::u16string_view file) {
  std::vector<sListedFile> files;
  if (ReadList(folder, files, true) != eListRead::kRead) return false;
  for (const sListedFile& listed : files) {
    if (listed.name == file) return true;
  }
  return false;
}

}  // namespace tr
