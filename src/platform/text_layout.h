// Breaking text into lines and placing them in a rectangle by the DT_ flags.
// Widths are sums of per-unit advances, so layout needs no font library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/geometry.h"

namespace tr {

struct TextLine {
  std::size_t begin = 0;  // first unit
  std::size_t end = 0;    // one past the last unit drawn
  int width = 0;
  int x = 0;              // left edge after alignment
  int y = 0;              // top edge
};

// advances[i] is the width of text[i] (0 for the second unit of a surrogate pair).
std::vector<TextLine> LayoutText(std::u16string_view text, std::span<const int> advances, const Rect& rect,
                                 std::uint32_t format, int line_height);

// The rectangle DT_CALCRECT gives: left and top kept, right and bottom around the lines.
Rect MeasuredRect(const std::vector<TextLine>& lines, const Rect& rect, int line_height);

}  // namespace tr
