// Whole-file reads and replacing writes for the world's files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/file_read.h"
#include "foundation/file_write.h"

namespace tr {

// The text lines of 8-bit file text; CR LF, CR and LF all end a line. Each
// entry tells whether a line end followed the line.
struct sTextLine {
  std::string text;
  bool ended = false;
};
std::vector<sTextLine> SplitTextLines(std::string_view bytes);

}  // namespace tr
