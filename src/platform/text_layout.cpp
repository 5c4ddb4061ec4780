#include "platform/text_layout.h"

#include <algorithm>

#include "platform/codes.h"

namespace tr {
namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t'; }

int Width(std::span<const int> advances, std::size_t begin, std::size_t end) {
  int w = 0;
  for (std::size_t i = begin; i < end; ++i) w += advances[i];
  return w;
}

// Greedy word wrap of one paragraph; a word wider than the line stays whole on its own line.
void WrapParagraph(std::u16string_view text, std::span<const int> advances, std::size_t begin, std::size_t end,
                   int max_width, std::vector<TextLine>& lines) {
  std::size_t pos = begin;
  while (pos < end) {
    // A wrapped line does not start with the spaces it was broken at.
    if (pos != begin) {
      while (pos < end && IsSpace(text[pos])) ++pos;
      if (pos >= end) break;
    }
    const std::size_t line_begin = pos;
    std::size_t line_end = pos;
    while (line_end < end) {
      std::size_t word_end = line_end;
      while (word_end < end && IsSpace(text[word_end])) ++word_end;
      while (word_end < end && !IsSpace(text[word_end])) ++word_end;
      if (line_end > line_begin && Width(advances, line_begin, word_end) > max_width) break;
      line_end = word_end;
    }
    std::size_t trimmed = line_end;
    while (trimmed > line_begin && IsSpace(text[trimmed - 1])) --trimmed;
    lines.push_back(TextLine{line_begin, trimmed, Width(advances, line_begin, trimmed)});
    pos = line_end;
  }
}

}  // namespace

std::vector<TextLine> LayoutText(std::u16string_view text, std::span<const int> advances, const Rect& rect,
                                 std::uint32_t format, int line_height) {
  std::vector<TextLine> lines;
  if (text.empty()) return lines;
  if (format & DT_SINGLELINE) {
    lines.push_back(TextLine{0, text.size(), Width(advances, 0, text.size())});
  } else {
    std::size_t begin = 0;
    while (begin <= text.size()) {
      std::size_t end = text.find(u'\n', begin);
      const bool last = end == std::u16string_view::npos;
      if (last) end = text.size();
      std::size_t para_end = end;
      if (para_end > begin && text[para_end - 1] == u'\r') --para_end;
      if (last && para_end == begin && !lines.empty()) break;  // a final line break adds no empty line
      if ((format & DT_WORDBREAK) && para_end > begin) {
        WrapParagraph(text, advances, begin, para_end, rect.width(), lines);
      } else {
        lines.push_back(TextLine{begin, para_end, Width(advances, begin, para_end)});
      }
      if (last) break;
      begin = end + 1;
    }
  }
  const int total = static_cast<int>(lines.size()) * line_height;
  int y = rect.top;
  if (format & DT_VCENTER) {
    y = rect.top + (rect.height() - total) / 2;
  } else if (format & DT_BOTTOM) {
    y = rect.bottom - total;
  }
  for (TextLine& line : lines) {
    if (format & DT_CENTER) {
      line.x = rect.left + (rect.width() - line.width) / 2;
    } else if (format & DT_RIGHT) {
      line.x = rect.right - line.width;
    } else {
      line.x = rect.left;
    }
    line.y = y;
    y += line_height;
  }
  return lines;
}

Rect MeasuredRect(const std::vector<TextLine>& lines, const Rect& rect, int line_height) {
  int widest = 0;
  for (const TextLine& line : lines) widest = std::max(widest, line.width);
  return Rect{rect.left, rect.top, rect.left + widest, rect.top + static_cast<int>(lines.size()) * line_height};
}

}  // namespace tr
