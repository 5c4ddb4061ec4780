#include "world/file_io.h"

namespace tr {

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
