// Text files as every reader of the game takes them. The game's 8-bit texts
// are Windows-1252, but an editor may save a file as UTF-8 with a byte-order
// mark in front, and end lines with CR LF, a lone CR or a lone LF; readers
// see the same code-page text whichever way the file was saved.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tr {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The length of the byte-order mark the text starts with: 3 or 0.
std::size_t ByteOrderMarkLength(std::string_view bytes);

// A text file read whole (ReadWholeFile) as code-page text (DecodeMarkedText).
std::optional<std::string> ReadTextFile(const std::filesystem::path& file);

// Bytes read from the file after a UTF-8 byte-order mark are UTF-8: the mark
// is logged, naming the file, and dropped, and the text is turned into the
// code page. Letters the code page cannot hold become '?', logged with the
// first line that has one. False, with the bytes untouched, without a mark.
bool DecodeMarkedText(std::string& bytes, std::u16string_view fileName);

// The text lines of 8-bit file text; CR LF, CR and LF all end a line. Each
// entry tells whether a line end followed the line.
struct sTextLine {
  std::string text;
  bool ended = false;
};
std::vector<sTextLine> SplitTextLines(std::string_view bytes);

// The same lines as views into the text, 8-bit or UTF-16 (without a line
// end's place: a text ending in a line end has no empty last line).
template <typename Char>
std::vector<std::basic_string_view<Char>> TextLineViews(std::basic_string_view<Char> text) {
  std::vector<std::basic_string_view<Char>> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != Char('\r') && text[i] != Char('\n')) continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == Char('\r') && i + 1 < text.size() && text[i + 1] == Char('\n')) ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace tr
