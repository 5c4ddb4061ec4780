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

// The records looked at per read.
constexpr std::size_t kRecordsPerRead = 256;

// Reads the bytes at the offset whole; false when the file cannot give them.
bool ReadAt(int descriptor, char* into, std::size_t count, std::size_t offset) {
  while (count > 0) {
    const ssize_t got = ::pread(descriptor, into, count, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    into += got;
    count -= static_cast<std::size_t>(got);
    offset += static_cast<std::size_t>(got);
  }
  return true;
}

struct sFoundRecord {
  std::size_t offset = 0;
  std::uint32_t player = 0;
};

// Looks for the game's record in a repository of the given size, a few
// records per read, so the memory it takes does not grow with the file.
// Records are added at the end of the file, so a file that also holds a part
// of a record (a short file another program left, or a record cut off at the
// end) has its records aligned to its end first, then to its start. False
// when the file cannot be read.
bool FindRecord(int descriptor, std::size_t size, std::u16string_view name, std::optional<sFoundRecord>& found) {
  found.reset();
  std::string block(kRecordsPerRead * kPbemRepoRecordSize, '\0');
  std::vector<std::size_t> firsts{size % kPbemRepoRecordSize};
  if (firsts[0] != 0) firsts.push_back(0);
  for (const std::size_t first : firsts) {
    for (std::size_t at = first; at + kPbemRepoRecordSize <= size;) {
      const std::size_t records = std::min(kRecordsPerRead, (size - at) / kPbemRepoRecordSize);
      if (!ReadAt(descriptor, block.data(), records * kPbemRepoRecordSize, at)) return false;
      for (std::size_t r = 0; r < records; ++r, at += kPbemRepoRecordSize) {
        const std::string_view record = std::string_view(block).substr(r * kPbemRepoRecordSize, kPbemRepoRecordSize);
        if (RecordName(record) == name) {
          found = sFoundRecord{at, RecordPlayer(record)};
          return true;
        }
      }
    }
  }
  return true;
}

// The size of the open repository, when it can be known.
std::optional<std::size_t> FileSize(int descriptor) {
  struct stat info {};
  if (fstat(descriptor, &info) != 0 || info.st_size < 0) return std::nullopt;
  return static_cast<std::size_t>(info.st_size);
}

// A repository past the budget was made by no hand-over of the game: it is
// neither read nor written, and said so.
bool WithinBudget(std::size_t size) {
  if (size <= kPbemRepoBudget) return true;
  LogFormat(u"ERROR: data\\pbem\\repo.dat holds %lli bytes, more than the %lli bytes of records the game keeps; "
            u"it is neither read nor written",
            static_cast<long long>(size), static_cast<long long>(kPbemRepoBudget));
  return false;
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
  const std::optional<std::size_t> size = FileSize(descriptor);
  const bool readable = size && WithinBudget(*size);
  std::optional<sFoundRecord> found;
  const bool read = readable && FindRecord(descriptor, *size, name, found);
  // A record added must leave the file within what the look-up reads.
  const bool fits = read && (found || *size + kPbemRepoRecordSize <= kPbemRepoBudget);
  if (read && !fits) {
    LogFormat(u"ERROR: data\\pbem\\repo.dat holds %lli bytes; the record of %s would take it past the %lli bytes "
              u"of records the game keeps, so it is not written",
              static_cast<long long>(*size), name, static_cast<long long>(kPbemRepoBudget));
  }
  // The game's own record is replaced; nothing else in the file is overwritten.
  bool written = fits && WriteAt(descriptor, record, found ? found->offset : *size);
  if (::close(descriptor) != 0) written = false;
  if (written) return {};
  if ((size && !readable) || (read && !fits)) return GetText("pbem_repo_too_large");
  LogLine(u"ERROR: Writing data\\pbem\\repo.dat failed");
  return GetText("pbem_repo_write_failed");
}

std::optional<std::uint32_t> FindPbemRepoPlayer(std::u16string_view gameName) {
  const std::u16string name = RecordName(MakePbemRepoRecord(0, gameName));
  const int descriptor =
      ::open(ResolveGamePath(u"data\\pbem\\repo.dat").c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return std::nullopt;
  struct stat info {};
  std::optional<sFoundRecord> found;
  if (fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0) {
    const auto size = static_cast<std::size_t>(info.st_size);
    if (WithinBudget(size) && !FindRecord(descriptor, size, name, found)) found.reset();
  }
  ::close(descriptor);
  if (!found) return std::nullopt;
  return found->player;
}

}  // namespace tr
