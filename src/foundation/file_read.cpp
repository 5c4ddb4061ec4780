#include "foundation/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <utility>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/fast_digest.h"
#include "foundation/file_budgets.h"
#include "foundation/paths.h"
#include "foundation/text.h"

namespace fs = std::filesystem;

namespace tr {
namespace {

bool HasNul(const fs::path& file) { return file.native().find('\0') != fs::path::string_type::npos; }

fs::path AbsoluteNormal(const fs::path& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(path.empty() ? fs::path(".") : path, ec);
  if (ec) return {};
  absolute = absolute.lexically_normal();
  // "/a/b/" and "/a/b" are the same folder.
  if (absolute.has_relative_path() && absolute.filename().empty()) absolute = absolute.parent_path();
  return absolute;
}

class Descriptor {
 public:
  explicit Descriptor(int descriptor = -1) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  void Reset(int descriptor) {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = descriptor;
  }
  int get() const { return descriptor_; }
  int Release() { return std::exchange(descriptor_, -1); }

 private:
  int descriptor_;
};

eFileRefusal RefusalOfType(mode_t mode) {
  if (S_ISLNK(mode)) return eFileRefusal::kLink;
  return S_ISDIR(mode) ? eFileRefusal::kFolder : eFileRefusal::kNotRegular;
}

// The game's own folders that a player may keep elsewhere through a link: the
// saves on another disk, the turns in a folder two players share. They hold
// the save, scenario and turn folders, whose names and contents may come from
// a stranger; from those down nothing is followed. The writers follow these
// links too (the system does), and refuse a link in the place of a save folder.
bool IsLinkableGameFolder(const fs::path& inside) {
  static const std::u16string_view kFolders[][2] = {
      {u"data", u""}, {u"data", u"save"}, {u"data", u"pbem"}, {u"data", u"scenarios"}};
  std::vector<std::u16string> parts;
  for (const fs::path& part : inside) {
    if (parts.size() == 2) return false;
    parts.push_back(Utf8ToUtf16(part.string()));
  }
  for (const auto& folder : kFolders) {
    const std::size_t count = folder[1].empty() ? 1 : 2;
    if (parts.size() == count && EqualsIgnoreCase(parts[0], folder[0]) &&
        (count == 1 || EqualsIgnoreCase(parts[1], folder[1]))) {
      return true;
    }
  }
  return false;
}

// Opens the file part by part from the game folder. The game folder itself may
// be reached through links (a home folder often is), and so may the game's own
// folders of saves, turns and scenarios; nothing else below it is followed.
cGameFile OpenUnderRoot(const fs::path& file, std::uint64_t budget, eFileRefusal& refusal) {
  const fs::path root = AbsoluteNormal(GameRoot());
  const fs::path target = AbsoluteNormal(file);
  if (root.empty() || target.empty()) {
    refusal = eFileRefusal::kUnreadable;
    return {};
  }
  const fs::path inside = target.lexically_relative(root);
  if (inside == ".") {
    refusal = eFileRefusal::kFolder;  // the game folder itself
    return {};
  }
  if (inside.empty() || *inside.begin() == "..") {
    refusal = eFileRefusal::kOutsideGameFolder;
    return {};
  }
  Descriptor folder(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0) {
    refusal = errno == ENOENT ? eFileRefusal::kMissing : eFileRefusal::kUnreadable;
    return {};
  }
  const fs::path name = inside.filename();
  fs::path reached;
  for (const fs::path& part : inside.parent_path()) {
    reached /= part;
    struct stat info {};
    if (::fstatat(folder.get(), part.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
      refusal = errno == ENOENT ? eFileRefusal::kMissing : eFileRefusal::kUnreadable;
      return {};
    }
    const bool followed = S_ISLNK(info.st_mode) && IsLinkableGameFolder(reached);
    if (followed && ::fstatat(folder.get(), part.c_str(), &info, 0) != 0) {
      refusal = errno == ENOENT ? eFileRefusal::kMissing : eFileRefusal::kUnreadable;
      return {};
    }
    if (!S_ISDIR(info.st_mode)) {
      // A file where a folder should be leaves the file as missing as a missing folder would.
      refusal = S_ISREG(info.st_mode) ? eFileRefusal::kMissing : RefusalOfType(info.st_mode);
      return {};
    }
    const int next =
        ::openat(folder.get(), part.c_str(), O_RDONLY | O_DIRECTORY | (followed ? 0 : O_NOFOLLOW) | O_CLOEXEC);
    if (next < 0) {
      refusal = errno == ELOOP || errno == ENOTDIR ? eFileRefusal::kLink : eFileRefusal::kUnreadable;
      return {};
    }
    folder.Reset(next);
  }
  // Looked at before opening: opening a device can act on it, and a pipe has no end.
  struct stat info {};
  if (::fstatat(folder.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    refusal = errno == ENOENT ? eFileRefusal::kMissing : eFileRefusal::kUnreadable;
    return {};
  }
  if (!S_ISREG(info.st_mode)) {
    refusal = RefusalOfType(info.st_mode);
    return {};
  }
  Descriptor opened(::openat(folder.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (opened.get() < 0) {
    refusal = errno == ELOOP ? eFileRefusal::kLink : errno == ENOENT ? eFileRefusal::kMissing : eFileRefusal::kUnreadable;
    return {};
  }
  // Again on what was opened, in case the name changed in between.
  if (::fstat(opened.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    refusal = eFileRefusal::kNotRegular;
    return {};
  }
  const std::uint64_t size = static_cast<std::uint64_t>(info.st_size);
  if (size > budget) {
    refusal = eFileRefusal::kTooLarge;
    return cGameFile(-1, size);
  }
  // Reads of a regular file never wait; clearing the flag keeps later users (the
  // sound decoders) from meeting a would-block they do not expect.
  const int flags = ::fcntl(opened.get(), F_GETFL);
  if (flags >= 0) ::fcntl(opened.get(), F_SETFL, flags & ~O_NONBLOCK);
  refusal = eFileRefusal::kNone;
  return cGameFile(opened.Release(), size);
}

void LogRefusal(const fs::path& file, eFileRefusal refusal, std::uint64_t size, std::uint64_t budget) {
  const std::u16string name = Utf8ToUtf16(file.string());
  switch (refusal) {
    case eFileRefusal::kTooLarge:
      LogFormat(u"ERROR: %s holds %s bytes, more than the %s bytes a file of its kind may hold; it is not read", name,
                std::to_string(size), std::to_string(budget));
      break;
    case eFileRefusal::kOutsideGameFolder:
      LogFormat(u"ERROR: %s lies outside the game folder; it is not read", name);
      break;
    case eFileRefusal::kLink:
      LogFormat(u"ERROR: %s is reached through a link; it is not read", name);
      break;
    case eFileRefusal::kNotRegular:
      LogFormat(u"ERROR: %s is not a regular file (a device or pipe stands on its path); it is not read", name);
      break;
    case eFileRefusal::kUnreadable:
      LogFormat(u"ERROR: %s cannot be opened; it is not read", name);
      break;
    case eFileRefusal::kNone:
    case eFileRefusal::kMissing:
    case eFileRefusal::kFolder:
      break;
  }
}

}  // namespace

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
    case eFileRefusal::kMissing:
      return u"it is missing";
    default:
      return u"it cannot be opened";
  }
}

cGameFile::~cGameFile() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

cGameFile::cGameFile(cGameFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), size_(other.size_) {}

cGameFile& cGameFile::operator=(cGameFile&& other) noexcept {
  if (this != &other) {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = std::exchange(other.descriptor_, -1);
    size_ = other.size_;
  }
  return *this;
}

int cGameFile::Release() { return std::exchange(descriptor_, -1); }

cGameFile OpenGameFile(const fs::path& file, std::uint64_t budget, eFileRefusal* refusal, bool quiet) {
  eFileRefusal why = eFileRefusal::kMissing;
  cGameFile opened;
  if (!HasNul(file) && !file.empty()) opened = OpenUnderRoot(file, budget, why);
  if (refusal != nullptr) *refusal = why;
  if (!opened.is_open()) {
    if (!quiet) LogRefusal(file, why, opened.size(), budget);
    return {};
  }
  return opened;
}

namespace {

thread_local cCheckedFiles* tChecked = nullptr;

sFileBytes ReadFromDisk(const fs::path& file, std::uint64_t budget) {
  sFileBytes result;
  const cGameFile opened = OpenGameFile(file, budget);
  if (!opened.is_open()) return result;
  result.opened = true;
  result.bytes.reserve(opened.size());
  char chunk[1 << 16];
  for (;;) {
    const ssize_t got = ::read(opened.descriptor(), chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return result;
    if (got == 0) break;
    // A file that grows while it is read is held to its budget all the same.
    if (result.bytes.size() + static_cast<std::size_t>(got) > budget) {
      LogRefusal(file, eFileRefusal::kTooLarge, result.bytes.size() + static_cast<std::size_t>(got), budget);
      result.bytes.clear();
      result.opened = false;
      return result;
    }
    result.bytes.append(chunk, static_cast<std::size_t>(got));
  }
  result.complete = true;
  return result;
}

fs::path HeldKey(const fs::path& file) { return file.lexically_normal(); }

}  // namespace

bool ReadOpenedFile(const cGameFile& file, std::uint64_t limit, const std::function<void(std::string_view)>& take) {
  constexpr std::uint64_t kPiece = 256 * 1024;
  // No larger than the file: most files are small, and a large buffer made
  // afresh for each costs more than reading it.
  std::string piece(static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, limit + 1)), '\0');
  std::uint64_t total = 0;
  while (total <= limit) {
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), limit + 1 - total));
    const ssize_t got = ::pread(file.descriptor(), piece.data(), wanted, static_cast<off_t>(total));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    take(std::string_view(piece.data(), static_cast<std::size_t>(got)));
    total += static_cast<std::uint64_t>(got);
  }
  return true;
}

cCheckedFiles::cCheckedFiles(std::function<void()> refuse) : refuse_(std::move(refuse)), outer_(tChecked) {
  tChecked = this;
}
cCheckedFiles::~cCheckedFiles() { tChecked = outer_; }

cCheckedFiles* cCheckedFiles::Current() { return tChecked; }

void cCheckedFiles::Hold(const fs::path& file, cGameFile opened, std::uint64_t size, std::uint64_t digest) {
  held_[HeldKey(file)] = sHeld{std::move(opened), size, digest};
}

bool cCheckedFiles::Holds(const fs::path& file) const { return held_.count(HeldKey(file)) != 0; }

std::optional<sFileBytes> cCheckedFiles::Take(const fs::path& file, std::uint64_t budget) const {
  std::string bytes;
  std::optional<sFileBytes> read = Stream(file, budget, [&bytes](std::string_view piece) { bytes += piece; });
  if (read && read->complete) read->bytes = std::move(bytes);
  return read;
}

std::optional<sFileBytes> cCheckedFiles::Stream(const fs::path& file, std::uint64_t budget,
                                                const std::function<void(std::string_view)>& take) const {
  const auto found = held_.find(HeldKey(file));
  if (found == held_.end()) return std::nullopt;
  const sHeld& held = found->second;
  if (held.size > budget) {
    LogRefusal(file, eFileRefusal::kTooLarge, held.size, budget);
    if (refuse_) refuse_();
    return sFileBytes{};
  }
  // One byte past the size checked tells a file grown since.
  cFastDigest digest;
  std::uint64_t size = 0;
  const bool read = ReadOpenedFile(held.file, held.size, [&](std::string_view piece) {
    digest.Update(piece);
    size += piece.size();
    take(piece);
  });
  if (!read) {
    if (refuse_) {
      LogLine(u"ERROR: " + Utf8ToUtf16(file.string()) + u" cannot be read (a read error); the game is not loaded");
      refuse_();
    }
    return sFileBytes{true, false, {}};
  }
  if (size != held.size || digest.Value() != held.digest) {
    LogLine(u"ERROR: " + Utf8ToUtf16(file.string()) +
            u" changed on the disk while the game was loaded from it; the game is not loaded");
    foundAChange_ = true;
    if (refuse_) refuse_();
    return sFileBytes{};
  }
  return sFileBytes{true, true, {}};
}

sFileStream ReadFileInPieces(const fs::path& file, std::uint64_t budget,
                             const std::function<void(std::string_view)>& take) {
  if (tChecked != nullptr) {
    if (std::optional<sFileBytes> held = tChecked->Stream(file, budget, take)) {
      return {held->opened ? eFileRefusal::kNone : eFileRefusal::kUnreadable, held->complete};
    }
  }
  sFileStream result;
  const cGameFile opened = OpenGameFile(file, budget, &result.refusal, true);
  if (!opened.is_open()) return result;
  // A file that grows while it is read is held to its budget all the same.
  std::uint64_t total = 0;
  const bool read = ReadOpenedFile(opened, budget, [&](std::string_view piece) {
    if (total + piece.size() <= budget) take(piece);
    total += piece.size();
  });
  if (total > budget) return {eFileRefusal::kTooLarge, false};
  result.complete = read;
  return result;
}

sFileBytes ReadRegularFile(const fs::path& file, std::uint64_t budget) {
  // A file of a save or a scenario is held to its own budget, which its writer knows too.
  budget = std::min(budget, FileBudgetOf(file.filename().string(), budget));
  if (tChecked != nullptr) {
    if (std::optional<sFileBytes> held = tChecked->Take(file, budget)) return std::move(*held);
  }
  return ReadFromDisk(file, budget);
}

std::optional<std::string> ReadWholeFile(const fs::path& file, std::uint64_t budget) {
  sFileBytes read = ReadRegularFile(file, budget);
  if (!read.complete) return std::nullopt;
  return std::move(read.bytes);
}

bool IsReadableRegularFile(const fs::path& file) {
  eFileRefusal refusal = eFileRefusal::kNone;
  if (OpenGameFile(file, UINT64_MAX, &refusal, true).is_open()) return true;
  return false;
}

}  // namespace tr
