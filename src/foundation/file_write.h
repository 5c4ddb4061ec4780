// Replacing writes for every writer of game files. A file is written into a
// temporary beside it and renamed over it, so a failed write keeps the old
// file whole. The temporary is always a file made fresh: whatever stood under
// its name (a link a received save carried, a leftover of a failed save) is
// removed, never opened, so a write cannot land outside the folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "foundation/fast_digest.h"

namespace tr {

// Writes the bytes to a temporary beside the file and renames it over the
// file, so a failed write keeps the previous file whole.
bool WriteFileReplacing(const std::filesystem::path& file, std::string_view bytes);

// While one lives, every file its thread writes through cReplacingFile (and
// WriteFileReplacing) is recorded once it replaced its target: the file, its
// size and its digest, taken from the bytes as they are written rather than
// read back. Records nest; the innermost one records.
class cWrittenFilesRecord {
 public:
  struct sEntry {
    std::filesystem::path file;
    std::uint64_t size = 0;
    std::uint64_t digest = 0;  // FastDigest
  };

  cWrittenFilesRecord();
  ~cWrittenFilesRecord();
  cWrittenFilesRecord(const cWrittenFilesRecord&) = delete;
  cWrittenFilesRecord& operator=(const cWrittenFilesRecord&) = delete;

  const std::vector<sEntry>& entries() const { return entries_; }

 private:
  friend class cReplacingFile;
  std::vector<sEntry> entries_;
  cWrittenFilesRecord* outer_;
};

// A file written through a temporary "<file>.tmp" beside it: Commit renames
// the temporary over the file, so the previous file stays whole until the
// new one is.
class cReplacingFile {
 public:
  explicit cReplacingFile(std::filesystem::path file);
  ~cReplacingFile();  // an uncommitted temporary is removed
  cReplacingFile(const cReplacingFile&) = delete;
  cReplacingFile& operator=(const cReplacingFile&) = delete;

  bool IsOpen() const { return descriptor_ >= 0; }
  void Write(std::string_view bytes);
  bool Commit();

 private:
  std::filesystem::path file_;
  std::filesystem::path temp_;
  int descriptor_ = -1;
  bool failed_ = false;
  bool committed_ = false;
  cWrittenFilesRecord* record_ = nullptr;
  cFastDigest digest_;
  std::uint64_t size_ = 0;
};

// The error (an errno value) of the last write of game files on this thread
// that failed: a file or folder not made, bytes not written, a flush or a
// rename refused. 0 after ClearWriteFailure, so a failed save can tell the
// player why (a full disk, no permission).
int LastWriteFailure();
void NoteWriteFailure(int error);
void ClearWriteFailure();

// Opens a new regular file for writing: created here and now, never through
// a link and never one that existed (-1 then, errno set).
int CreateNewFile(const std::filesystem::path& file);

}  // namespace tr
