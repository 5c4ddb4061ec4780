#include "world/file_io.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace tr {

cReplacingFile::cReplacingFile(std::filesystem::path file) : file_(std::move(file)) {
  temp_ = file_;
  temp_ += ".tmp";
  out_.open(temp_, std::ios::binary | std::ios::trunc);
}

cReplacingFile::~cReplacingFile() {
  if (committed_) return;
  if (out_.is_open()) out_.close();
  std::error_code ec;
  std::filesystem::remove(temp_, ec);
}

void cReplacingFile::Write(std::string_view bytes) {
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool cReplacingFile::Commit() {
  if (!out_.is_open()) return false;
  out_.close();
  if (out_.fail()) return false;
  std::error_code ec;
  std::filesystem::rename(temp_, file_, ec);
  if (ec) return false;
  committed_ = true;
  return true;
}

bool WriteFileReplacing(const std::filesystem::path& file, std::string_view bytes) {
  cReplacingFile out(file);
  if (!out.IsOpen()) return false;
  out.Write(bytes);
  return out.Commit();
}

std::vector<sTextLine> SplitTextLines(std::string_view bytes) {
  std::vector<sTextLine> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.push_back({std::string(bytes.substr(start, i - start)), true});
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.push_back({std::string(bytes.substr(start)), false});
  return lines;
}

}  // namespace tr
