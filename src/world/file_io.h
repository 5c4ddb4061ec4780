// Whole-file reads and replacing writes for the world's files.
#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/file_read.h"

namespace tr {

// Writes the bytes to a temporary beside the file and renames it over the
// file, so a failed write keeps the previous file whole.
bool WriteFileReplacing(const std::filesystem::path& file, std::string_view bytes);

// A file written through a temporary beside it: Commit renames the temporary
// over the file, so the previous file stays whole until the new one is.
class cReplacingFile {
 public:
  explicit cReplacingFile(std::filesystem::path file);
  ~cReplacingFile();  // an uncommitted temporary is removed
  cReplacingFile(const cReplacingFile&) = delete;
  cReplacingFile& operator=(const cReplacingFile&) = delete;

  bool IsOpen() const { return out_.is_open(); }
  void Write(std::string_view bytes);
  bool Commit();

 private:
  std::filesystem::path file_;
  std::filesystem::path temp_;
  std::ofstream out_;
  bool committed_ = false;
};

// The text lines of 8-bit file text; CR LF, CR and LF all end a line. Each
// entry tells whether a line end followed the line.
struct sTextLine {
  std::string text;
  bool ended = false;
};
std::vector<sTextLine> SplitTextLines(std::string_view bytes);

}  // namespace tr
