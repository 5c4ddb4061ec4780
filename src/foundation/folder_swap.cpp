#include "foundation/folder_swap.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/file_write.h"
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

// A marked name whose owner's name was cut: owner names hold no '%'.
bool IsCutName(std::string_view rest) { return rest.find("%%") != std::string_view::npos; }

std::u16string Shown(const fs::path& path) { return Utf8ToUtf16(path.string()); }

std::u16string ErrorText(int error) { return Utf8ToUtf16(std::generic_category().message(error)); }

int OpenFolder(const fs::path& folder) {
  return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Waits until the disk holds what the descriptor names (a file's bytes, a
// folder's names) and closes it. 0, or the error; a file system that keeps
// nothing to flush counts as done.
int FlushAndClose(int descriptor, const fs::path& path, const FolderFlushCheck& check) {
  if (descriptor < 0) return errno;
  int failure = check ? check(path) : 0;
  if (failure == 0 && ::fsync(descriptor) != 0) failure = errno;
  ::close(descriptor);
  return failure == EINVAL ? 0 : failure;
}

// Every file and folder of the written folder, and the folder itself, is on
// the disk before the folder takes the target's name: a power cut after the
// swap must find the new save whole, not empty files in its place. One sync
// of the file system does it with one commit and one flush of the disk's
// cache, where a flush of each file would pay both for every file (some
// milliseconds each on a disk, two saves of 25 files at the end of a turn).
bool FlushWritten(const fs::path& written, const FolderFlushCheck& check) {
  const int descriptor = OpenFolder(written);
  int failure = descriptor < 0 ? errno : check ? check(written) : 0;
  if (failure == 0 && ::syncfs(descriptor) != 0) failure = errno;
  if (descriptor >= 0) ::close(descriptor);
  if (failure != 0) {
    NoteWriteFailure(failure);
    LogFormat(u"ERROR: Cannot write %s to the disk (%s)", Shown(written), ErrorText(failure));
    return false;
  }
  return true;
}

// The names a swap changed in the parent (a link to saves kept elsewhere is
// followed), on the disk.
void FlushNames(const fs::path& parent, const FolderFlushCheck& check) {
  if (const int failure = FlushAndClose(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), parent, check)) {
    LogFormat(u"WARNING: The new names in %s may not be on the disk yet (%s)", Shown(parent), ErrorText(failure));
  }
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

// A folder left aside whose marked name had to be cut holds it, under its
// whole name: that name, or "" when the holder holds anything else.
std::string HeldFolderName(const fs::path& holder) {
  std::error_code error;
  std::string held;
  int count = 0;
  for (fs::directory_iterator it(holder, error), end; !error && it != end; it.increment(error)) {
    if (++count > 1 || !fs::is_directory(it->symlink_status(error))) return {};
    held = it->path().filename().string();
  }
  return error ? std::string() : held;
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
  bool putBack = false;
  for (const fs::path& entry : found) {
    if (!fs::is_directory(fs::symlink_status(entry, error))) continue;
    const std::string name = entry.filename().string();
    if (name.starts_with(kWorkingRole)) {
      RemoveIfHeldByNobody(entry);
      continue;
    }
    const std::string rest = name.substr(kAsideRole.size());
    const bool holder = IsCutName(rest);
    const std::string ownerName = holder ? HeldFolderName(entry) : rest.substr(0, rest.find('%'));
    if (ownerName.empty()) {
      // A holder left empty: its folder never went in, or came back.
      if (holder) ::rmdir(entry.c_str());
      continue;
    }
    const fs::path kept = holder ? entry / ownerName : entry;
    const fs::path owner = parent / ownerName;
    if (fs::exists(fs::symlink_status(owner, error))) {
      fs::remove_all(entry, error);
      LogFormat(u"Removed %s, replaced by a later save", Shown(kept));
    } else if (::rename(kept.c_str(), owner.c_str()) == 0) {
      if (holder) ::rmdir(entry.c_str());
      LogFormat(u"Put %s back in place of the save that did not finish", Shown(kept));
      putBack = true;
    }
  }
  if (putBack) FlushNames(parent, {});
}

// Removals of replaced folders still running.
std::atomic<int> gRemovals{0};

// Removes a folder that a swap replaced on a thread of its own: freeing the
// blocks of files already on the disk takes milliseconds a file, which the
// player would wait for at every save. The folder stays locked until it is
// gone, so no tidy-up takes it meanwhile; one left by a process that ended
// first is a leftover, removed by the next swap in its parent.
void RemoveInBackground(const fs::path& folder, int lock) {
  // A child process has none of its parent's threads, so none of its removals.
  static const int forgetInChild = ::pthread_atfork(nullptr, nullptr, [] { gRemovals.store(0); });
  (void)forgetInChild;
  gRemovals.fetch_add(1);
  const auto remove = [folder, lock] {
    std::error_code error;
    fs::remove_all(folder, error);
    if (lock >= 0) ::close(lock);
    if (gRemovals.fetch_sub(1) == 1) gRemovals.notify_all();
  };
  try {
    std::thread(remove).detach();
  } catch (const std::system_error&) {
    remove();
  }
}

int RenameEntry(const fs::path& from, const fs::path& to, unsigned flags, const FolderRenameCheck& check) {
  if (check) {
    if (const int failure = check(from.filename().u16string(), to.filename().u16string())) return failure;
  }
  return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags) == 0 ? 0 : errno;
}

// Without an exchange: the previous folder aside, the new one into its name,
// and the previous one back if that fails. A name too long to be marked in
// full goes aside, whole, inside a folder of the cut name, so the tidy-up
// knows where to put it back.
bool SwapByTwoRenames(const fs::path& written, const fs::path& target, const FolderRenameCheck& check,
                      const FolderFlushCheck& flushCheck) {
  const fs::path parent = target.parent_path();
  const std::string ownerName = target.filename().string();
  const fs::path marked = parent / WorkingName(kAsideRole, ownerName);
  const bool held = IsCutName(marked.filename().string().substr(kAsideRole.size()));
  if (held && ::mkdir(marked.c_str(), 0777) != 0) {
    NoteWriteFailure(errno);
    LogFormat(u"ERROR: Cannot move %s aside (%s)", Shown(target), ErrorText(errno));
    return false;
  }
  const fs::path aside = held ? marked / ownerName : marked;
  if (const int failure = RenameEntry(target, aside, 0, check)) {
    if (held) ::rmdir(marked.c_str());
    NoteWriteFailure(failure);
    LogFormat(u"ERROR: Cannot move %s aside (%s)", Shown(target), ErrorText(failure));
    return false;
  }
  if (const int failure = RenameEntry(written, target, 0, check)) {
    NoteWriteFailure(failure);
    LogFormat(u"ERROR: Cannot move %s into place (%s)", Shown(written), ErrorText(failure));
    if (const int back = RenameEntry(aside, target, 0, check)) {
      LogFormat(u"ERROR: The previous %s cannot be put back (%s); it is kept in %s", Shown(target), ErrorText(back),
                Shown(aside));
    } else if (held) {
      ::rmdir(marked.c_str());
    }
    FlushNames(parent, flushCheck);
    return false;
  }
  FlushNames(parent, flushCheck);
  std::error_code error;
  fs::remove_all(marked, error);
  return true;
}

}  // namespace

cWorkingFolder::cWorkingFolder(const fs::path& target) {
  for (int attempt = 0; attempt < kMaxWorkingFolderAttempts && !made_; ++attempt) {
    path_ = target.parent_path() / WorkingName(kWorkingRole, target.filename().string());
    if (::mkdir(path_.c_str(), 0777) != 0) {
      if (errno == EEXIST) continue;
      NoteWriteFailure(errno);
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
  if (made_ && holdsReplaced_) {
    RemoveInBackground(path_, std::exchange(descriptor_, -1));
  } else if (made_) {
    std::error_code error;
    fs::remove_all(path_, error);
  }
  if (descriptor_ >= 0) ::close(descriptor_);
}

void WaitForFolderRemovals() {
  for (int running = gRemovals.load(); running != 0; running = gRemovals.load()) gRemovals.wait(running);
}

bool SwapFolderIntoPlace(const cWorkingFolder& written, const fs::path& target, const FolderRenameCheck& check,
                         const FolderFlushCheck& flushCheck) {
  if (!written.IsMade() || !FlushWritten(written.path(), flushCheck)) return false;
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
    return SwapByTwoRenames(written.path(), target, check, flushCheck);
  }
  if (failure != 0) {
    NoteWriteFailure(failure);
    LogFormat(u"ERROR: Cannot put %s in place of %s (%s)", Shown(written.path()), Shown(target), ErrorText(failure));
    return false;
  }
  // After an exchange the working folder's name holds the previous folder.
  written.holdsReplaced_ = fs::exists(present);
  FlushNames(target.parent_path(), flushCheck);
  return true;
}

}  // namespace tr
