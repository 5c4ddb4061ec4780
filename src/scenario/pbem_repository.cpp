#include "scenario/pbem_repository.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"

namespace tr {

namespace {

constexpr std::size_t kNameBytes = 500;

std::uint32_t RecordPlayer(std::string_view record) {
  std::uint32_t number = 0;
  for (int b = 0; b < 4; ++b) {
    number |= static_cast<std::uint32_t>(static_cast<unsigned char>(record[kNameBytes + b])) << (8 * b);
  }
  return number;
}

// The name of a record: its units up to the terminator.
std::u16string RecordName(std::string_view record) {
  std::u16string name;
  for (std::size_t i = 0; i + 1 < kNameBytes; i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(record[i]) |
                                            (static_cast<unsigned char>(record[i + 1]) << 8));
    if (unit == 0) break;
    name += unit;
  }
  return name;
}

// Where the records of a repository of the given size lie. Records are added
// at the end of the file, so a file that also holds a part of a record (a
// short file another program left, or a record cut off at the end) has its
// records aligned to its end first, then to its start.
std::vector<std::size_t> RecordOffsets(std::size_t size) {
  std::vector<std::size_t> offsets;
  for (std::size_t at = size % kPbemRepoRecordSize; at + kPbemRepoRecordSize <= size; at += kPbemRepoRecordSize) {
    offsets.push_back(at);
  }
  if (size % kPbemRepoRecordSize != 0) {
    for (std::size_t at = 0; at + kPbemRepoRecordSize <= size; at += kPbemRepoRecordSize) offsets.push_back(at);
  }
  return offsets;
}

// The offset of the game's record in the repository's bytes.
std::optional<std::size_t> FindRecord(std::string_view bytes, std::u16string_view name) {
  for (const std::size_t at : RecordOffsets(bytes.size())) {
    if (RecordName(bytes.substr(at, kPbemRepoRecordSize)) == name) return at;
  }
  return std::nullopt;
}

// What keeps the repository from being opened, for the player.
std::u16string OpenFault(int error) {
  switch (error) {
    case EISDIR: return GetText("pbem_repo_is_a_folder");
    case EACCES:
    case EPERM:
    case EROFS: return GetText("pbem_repo_may_not_be_written");
    case ELOOP: return GetText("pbem_repo_not_a_file");
    default: return Utf8ToUtf16(std::strerror(error));
  }
}

// Opens the repository for reading and writing: a regular file only, never
// through a link; a missing one is created. -1 with the fault when neither works.
int OpenRepository(const std::filesystem::path& path, std::u16string& fault) {
  constexpr int kFlags = O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  int descriptor = ::open(path.c_str(), kFlags);
  if (descriptor < 0 && errno == ENOENT) {
    // A fresh installation has no repository yet; the first hand-over makes it.
    descriptor = ::open(path.c_str(), kFlags | O_CREAT | O_EXCL, 0666);
    if (descriptor >= 0) LogLine(u"Created data\\pbem\\repo.dat");
  }
  if (descriptor < 0) {
    fault = OpenFault(errno);
    return -1;
  }
  struct stat info {};
  if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(descriptor);
    fault = GetText("pbem_repo_not_a_file");
    return -1;
  }
  return descriptor;
}

std::optional<std::string> ReadRepository(int descriptor) {
  std::string bytes;
  char chunk[1 << 14];
  for (;;) {
    const ssize_t got = ::read(descriptor, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) return bytes;
    bytes.append(chunk, static_cast<std::size_t>(got));
  }
}

bool WriteAt(int descriptor, std::string_view bytes, std::size_t offset) {
  while (!bytes.empty()) {
    const ssize_t written = ::pwrite(descriptor, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
    offset += static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

std::string MakePbemRepoRecord(std::uint32_t playerNumber, std::u16string_view gameName) {
  std::string record(kPbemRepoRecordSize, '\0');
  const std::size_t units = std::min(gameName.size(), kPbemRepoNameUnits);
  for (std::size_t i = 0; i < units; ++i) {
    record[2 * i] = static_cast<char>(gameName[i] & 0xFF);
    record[2 * i + 1] = static_cast<char>(gameName[i] >> 8);
  }
  for (int b = 0; b < 4; ++b) record[kNameBytes + b] = static_cast<char>((playerNumber >> (8 * b)) & 0xFF);
  return record;
}

std::u16string UpdatePbemRepository(std::uint32_t playerNumber, std::u16string_view gameName) {
  const std::string record = MakePbemRepoRecord(playerNumber, gameName);
  const std::u16string name = RecordName(record);
  std::u16string fault;
  const int descriptor = OpenRepository(ResolveGamePath(u"data\\pbem\\repo.dat"), fault);
  if (descriptor < 0) {
    LogFormat(u"ERROR: Opening data\\pbem\\repo.dat failed: %s; the record of %s is not written", fault, name);
    return fault;
  }
  const std::optional<std::string> bytes = ReadRepository(descriptor);
  bool written = false;
  if (bytes) {
    // The game's own record is replaced; nothing else in the file is overwritten.
    written = WriteAt(descriptor, record, FindRecord(*bytes, name).value_or(bytes->size()));
  }
  if (::close(descriptor) != 0) written = false;
  if (written) return {};
  LogLine(u"ERROR: Writing data\\pbem\\repo.dat failed");
  return GetText("pbem_repo_write_failed");
}

std::optional<std::uint32_t> FindPbemRepoPlayer(std::u16string_view gameName) {
  const std::u16string name = RecordName(MakePbemRepoRecord(0, gameName));
  const std::optional<std::string> bytes = ReadWholeFile(ResolveGamePath(u"data\\pbem\\repo.dat"));
  if (!bytes) return std::nullopt;
  const std::optional<std::size_t> at = FindRecord(*bytes, name);
  if (!at) return std::nullopt;
  return RecordPlayer(std::string_view(*bytes).substr(*at, kPbemRepoRecordSize));
}

}  // namespace tr
