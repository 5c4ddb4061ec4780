#include "foundation/folder_swap.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/text.h"

namespace tr {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kWorkingRole = ".saving%";
constexpr std::string_view kAsideRole = ".old%";
constexpr int kMaxWorkingFolderAttempts = 64;

// "<pid>-<n>": no two writers, in this process or another running now, share it.
std::string UniqueSuffix() {
  static std::atomic<unsigned> counter{0};
  return std::to_string(::getpid()) + "-" + std::to_string(++counter);
}

// "<role><owner>%<unique>". An owner name too long for that is cut, and then
// marked with "%%", so a cut name is never taken for the folder it was cut from.
std::string WorkingName(std::string_view role, const std::string& owner) {
  const std::string unique = UniqueSuffix();
  std::string name = std::string(role) + owner + "%" + unique;
  if (name.size() <= NAME_MAX) return name;
  std::size_t keep = NAME_MAX - role.size() - 2 - unique.size();
  while (keep > 0 && (static_cast<unsigned char>(owner[keep]) & 0xC0) == 0x80) --keep;
  return std::string(role) + owner.substr(0, keep) + "%%" + unique;
}

std::u16string Shown(const fs::path& path) { return Utf8ToUtf16(path.string()); }

std::u16string ErrorText(int error) { return Utf8ToUtf16(std::generic_category().message(error)); }

int OpenFolder(const fs::path& folder) {
  return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Swaps of one parent folder take turns, so a folder left aside by one of
// them is never mistaken for a leftover by another. A file system without
// locks still swaps: the exchange needs none.
class cParentLock {
 public:
  // The parent may be a link (saves kept on another disk): it is followed.
  explicit cParentLock(const fs::path& parent)
      : descriptor_(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (descriptor_ < 0) return;
    while (::flock(descriptor_, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  ~cParentLock() {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  cParentLock(const cParentLock&) = delete;
  cParentLock& operator=(const cParentLock&) = delete;

 private:
  int descriptor_;
};

// A working folder nobody holds belongs to a writer that ended without
// finishing: its lock went with its process. The lock is kept while the
// folder is removed, so a writer that just made it cannot take it meanwhile.
void RemoveIfHeldByNobody(const fs::path& folder) {
  const int descriptor = OpenFolder(folder);
  if (descriptor < 0) return;
  if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
    std::error_code error;
    fs::remove_all(folder, error);
    LogFormat(u"Removed %s, left by a save that did not finish", Shown(folder));
  }
  ::close(descriptor);
}

// Leftovers of swaps that ended part-way: working folders nobody holds are
// removed; a previous folder left aside goes back under its name when that is
// free (the only whole copy then), else it was replaced and is removed.
// Called under the parent's lock, so no swap is using a folder left aside.
void TidyLeftovers(const fs::path& parent) {
  std::vector<fs::path> found;
  std::error_code error;
  for (fs::directory_iterator it(parent, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.starts_with(kWorkingRole) || name.starts_with(kAsideRole)) found.push_back(it->path());
  }
  for (const fs::path& entry : found) {
    if (!fs::is_directory(fs::symlink_status(entry, error))) continue;
    const std::string name = entry.filename().string();
    if (name.starts_with(kWorkingRole)) {
      RemoveIfHeldByNobody(entry);
      continue;
    }
    const std::string rest = name.substr(kAsideRole.size());
    const std::size_t end = rest.find('%');
    const std::string ownerName = rest.substr(0, end);
    if (ownerName.empty() || (end != std::string::npos && rest.compare(end, 2, "%%") == 0)) continue;
    const fs::path owner = parent / ownerName;
    if (fs::exists(fs::symlink_status(owner, error))) {
      fs::remove_all(entry, error);
      LogFormat(u"Removed %s, replaced by a later save", Shown(entry));
    } else if (::rename(entry.c_str(), owner.c_str()) == 0) {
      LogFormat(u"Put %s back in place of the save that did not finish", Shown(entry));
    }
  }
}

int RenameEntry(const fs::path& from, const fs::path& to, unsigned flags, const FolderRenameCheck& check) {
  if (check) {
    if (const int failure = check(from.filename().u16string(), to.filename().u16string())) return failure;
  }
  return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags) == 0 ? 0 : errno;
}

// Without an exchange: the previous folder aside, the new one into its name,
// and the previous one back if that fails.
bool SwapByTwoRenames(const fs::path& written, const fs::path& target, const FolderRenameCheck& check) {
  const fs::path aside = target.parent_path() / WorkingName(kAsideRole, target.filename().string());
  if (const int failure = RenameEntry(target, aside, 0, check)) {
    LogFormat(u"ERROR: Cannot move %s aside (%s)", Shown(target), ErrorText(failure));
    return false;
  }
  if (const int failure = RenameEntry(written, target, 0, check)) {
    LogFormat(u"ERROR: Cannot move %s into place (%s)", Shown(written), ErrorText(failure));
    if (const int back = RenameEntry(aside, target, 0, check)) {
      LogFormat(u"ERROR: The previous %s cannot be put back (%s); it is kept in %s", Shown(target), ErrorText(back),
                Shown(aside));
    }
    return false;
  }
  std::error_code error;
  fs::remove_all(aside, error);
  return true;
}

}  // namespace

cWorkingFolder::cWorkingFolder(const fs::path& target) {
  for (int attempt = 0; attempt < kMaxWorkingFolderAttempts && !made_; ++attempt) {
    path_ = target.parent_path() / WorkingName(kWorkingRole, target.filename().string());
    if (::mkdir(path_.c_str(), 0777) != 0) {
      if (errno == EEXIST) continue;
      return;
    }
    // A tidier of another process may take the folder for a leftover before
    // it is locked and remove it: then another one is made.
    descriptor_ = OpenFolder(path_);
    if (descriptor_ < 0) {
      if (errno == ENOENT) continue;
      ::rmdir(path_.c_str());
      return;
    }
    struct stat held {};
    struct stat named {};
    const bool locked = ::flock(descriptor_, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
    made_ = locked && ::fstat(descriptor_, &held) == 0 && ::lstat(path_.c_str(), &named) == 0 &&
            held.st_ino == named.st_ino && held.st_dev == named.st_dev;
    if (!made_) {
      ::close(descriptor_);
      descriptor_ = -1;
    }
  }
}

cWorkingFolder::~cWorkingFolder() {
  if (made_) {
    std::error_code error;
    fs::remove_all(path_, error);
  }
  if (descriptor_ >= 0) ::close(descriptor_);
}

bool SwapFolderIntoPlace(const cWorkingFolder& written, const fs::path& target, const FolderRenameCheck& check) {
  if (!written.IsMade()) return false;
  const cParentLock lock(target.parent_path());
  TidyLeftovers(target.parent_path());
  std::error_code error;
  const fs::file_status present = fs::symlink_status(target, error);
  if (fs::exists(present) && !fs::is_directory(present)) {
    LogFormat(u"ERROR: %s is not a folder; it is not replaced", Shown(target));
    return false;
  }
  // The exchange leaves the previous folder in the working folder's place,
  // removed with it.
  int failure = fs::exists(present) ? RenameEntry(written.path(), target, RENAME_EXCHANGE, check) : ENOENT;
  if (failure == ENOENT && !fs::exists(fs::symlink_status(target, error))) {
    failure = RenameEntry(written.path(), target, RENAME_NOREPLACE, check);
    if (failure == EINVAL || failure == ENOSYS) failure = RenameEntry(written.path(), target, 0, check);
  } else if (failure == EINVAL || failure == ENOSYS) {
    return SwapByTwoRenames(written.path(), target, check);
  }
  if (failure != 0) {
    LogFormat(u"ERROR: Cannot put %s in place of %s (%s)", Shown(written.path()), Shown(target), ErrorText(failure));
  }
  return failure == 0;
}

}  // namespace tr
