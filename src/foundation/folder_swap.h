// Replacing a folder as a whole. A writer fills a folder of its own beside
// the one it replaces and swaps it in only once it is complete and on the
// disk, so the folder under its name is always some writer's whole result or
// the one before it, after a power cut too.
// Any number of writers, in one process or several, may write one name at
// once: each has its own working folder, and the swap is one atomic exchange
// where the file system offers it; elsewhere it takes two renames, made under
// a lock of the parent folder and each checked, with the previous folder put
// back when the second fails.
//
// Working folders are named ".<role>%<name>%<pid>-<n>" (a name too long for
// that is cut and followed by "%%"; a previous folder whose name is cut so is
// kept inside a folder of that name, under its own): the leading '.' keeps
// them out of every list of folders, and names holding '%' are never the
// folders being replaced.
#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace tr {

// Tests make a rename of a swap fail: called before each with the names (no
// path) of the two folders; a nonzero errno value makes it fail with that
// error (EINVAL on the first, the exchange: a file system without one).
using FolderRenameCheck = std::function<int(std::u16string_view from, std::u16string_view to)>;

// Tests make a flush of a swap fail: called before each with the folder
// flushed (the written folder before the swap, its parent after it); a
// nonzero errno value makes it fail with that error (EINVAL on the parent: a
// file system that keeps nothing to flush).
using FolderFlushCheck = std::function<int(const std::filesystem::path& flushed)>;

// A writer's own folder beside the target, ".saving%<target name>%<pid>-<n>":
// always made new, never one that existed, and locked while the object lives
// so that no other writer takes it for the leftover of a crashed one.
class cWorkingFolder {
 public:
  explicit cWorkingFolder(const std::filesystem::path& target);
  // Removes whatever stands at the folder's path by then: the unfinished
  // folder, or after a swap, on a thread of its own, the folder it replaced.
  ~cWorkingFolder();
  cWorkingFolder(const cWorkingFolder&) = delete;
  cWorkingFolder& operator=(const cWorkingFolder&) = delete;

  bool IsMade() const { return made_; }
  const std::filesystem::path& path() const { return path_; }

 private:
  friend bool SwapFolderIntoPlace(const cWorkingFolder& written, const std::filesystem::path& target,
                                  const FolderRenameCheck& check, const FolderFlushCheck& flushCheck);

  std::filesystem::path path_;
  int descriptor_ = -1;
  bool made_ = false;
  // Set by the swap that left the replaced folder here: it is removed in the
  // background (see WaitForFolderRemovals).
  mutable bool holdsReplaced_ = false;
};

// Waits until every folder replaced by a swap of this process is removed
// (tests look at a parent folder after a save).
void WaitForFolderRemovals();

// Puts the written folder in the place of the target folder (made when
// missing). True once the target is the written folder; false leaves the
// target as it was (when even putting it back failed, the log names the
// folder the previous one is kept in, and the next swap in the parent folder
// puts it back). Before the swap, working folders of writers that ended
// without finishing are removed, and a previous folder left aside is put back
// when its name is free, or removed.
bool SwapFolderIntoPlace(const cWorkingFolder& written, const std::filesystem::path& target,
                         const FolderRenameCheck& check, const FolderFlushCheck& flushCheck = {});

}  // namespace tr
