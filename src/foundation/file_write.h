// Replacing writes for every writer of game files. A file is written into a
// temporary beside it and renamed over it, so a failed write keeps the old
// file whole. The temporary is always a file made fresh: whatever stood under
// its name (a link a received save carried, a leftover of a failed save) is
// removed, never opened, so a write cannot land outside the folder.
#pragma once

#include <filesystem>
#include <string_view>

namespace tr {

// Writes the bytes to a temporary beside the file and renames it over the
// file, so a failed write keeps the previous file whole.
bool WriteFileReplacing(const std::filesystem::path& file, std::string_view bytes);

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
};

// Opens a new regular file for writing: created here and now, never through
// a link and never one that existed (-1 then, errno set).
int CreateNewFile(const std::filesystem::path& file);

}  // namespace tr
