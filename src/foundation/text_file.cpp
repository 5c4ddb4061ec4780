#include "foundation/text_file.h"

#include <bit>
#include <cstring>

#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/text.h"

namespace tr {

namespace {

// Each byte of the word that equals `byte`, as its top bit; exact for every byte.
std::uint64_t BytesEqual(std::uint64_t word, char byte) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  const std::uint64_t x = word ^ (0x0101010101010101ULL * static_cast<unsigned char>(byte));
  return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// How many bytes of a word BytesEqual marked: the marks as 0 or 1, summed
// into the top byte (the library's bit count is a call on this target).
int Marked(std::uint64_t marks) {
  return static_cast<int>(((marks >> 7) * 0x0101010101010101ULL) >> 56);
}

// A byte of every word marked.
constexpr std::uint64_t kTops = 0x8080808080808080ULL;

std::uint64_t WordAt(std::string_view text, std::size_t at) {
  std::uint64_t word;
  std::memcpy(&word, text.data() + at, sizeof word);
  return word;
}

// The line ends the word at `at` holds, given its CR and LF marks, in a run
// of them that started at `from`: a CR LF is one, also across two words.
std::uint64_t LineEndsInWord(std::string_view text, std::size_t from, std::size_t at, std::uint64_t cr,
                             std::uint64_t lf) {
  // Little-endian: the byte after another is eight bits up.
  const std::uint64_t pairs = lf & (cr << 8);
  const bool pairAcross = at > from && text[at - 1] == '\r' && text[at] == '\n';
  return static_cast<std::uint64_t>(Marked(cr) + Marked(lf) - Marked(pairs) - (pairAcross ? 1 : 0));
}

template <typename Char>
std::size_t SkipEndsOneByOne(std::basic_string_view<Char> text, std::size_t from, std::size_t at,
                             std::uint64_t& lineEnds) {
  for (; at < text.size() && (text[at] == Char('\r') || text[at] == Char('\n')); ++at) {
    // An LF right after a CR of the run is that CR's line end.
    if (text[at] == Char('\r') || at == from || text[at - 1] != Char('\r')) ++lineEnds;
  }
  return at;
}

template <typename Char>
std::size_t SeparatorLinesOneByOne(std::basic_string_view<Char> text, std::size_t from, std::size_t at,
                                   std::size_t lineStart, std::uint64_t ends, std::uint64_t& lineEnds) {
  for (; at < text.size() && (text[at] == Char(';') || text[at] == Char('\r') || text[at] == Char('\n')); ++at) {
    if (text[at] == Char(';')) continue;
    if (text[at] == Char('\r') || at == from || text[at - 1] != Char('\r')) ++ends;
    lineStart = at + 1;
  }
  lineEnds += ends;
  return lineStart;
}

}  // namespace

std::size_t SkipLineEnds(std::string_view text, std::size_t at, std::uint64_t& lineEnds) {
  static_assert(std::endian::native == std::endian::little);
  const std::size_t from = at;
  while (at + 8 <= text.size()) {
    const std::uint64_t word = WordAt(text, at);
    const std::uint64_t cr = BytesEqual(word, '\r');
    const std::uint64_t lf = BytesEqual(word, '\n');
    if ((cr | lf) != kTops) break;
    lineEnds += LineEndsInWord(text, from, at, cr, lf);
    at += 8;
  }
  return SkipEndsOneByOne(text, from, at, lineEnds);
}

std::size_t SkipSeparatorLines(std::string_view text, std::size_t at, std::uint64_t& lineEnds) {
  const std::size_t from = at;
  std::size_t lineStart = at;  // past the last line end met
  std::uint64_t ends = 0;
  while (at + 8 <= text.size()) {
    const std::uint64_t word = WordAt(text, at);
    const std::uint64_t cr = BytesEqual(word, '\r');
    const std::uint64_t lf = BytesEqual(word, '\n');
    if ((cr | lf | BytesEqual(word, ';')) != kTops) break;
    if ((cr | lf) != 0) {
      ends += LineEndsInWord(text, from, at, cr, lf);
      // The highest marked byte is the last line end of the word.
      lineStart = at + static_cast<std::size_t>((63 - std::countl_zero(cr | lf)) / 8) + 1;
    }
    at += 8;
  }
  return SeparatorLinesOneByOne(text, from, at, lineStart, ends, lineEnds);
}

std::size_t SkipSeparatorLines(std::u16string_view text, std::size_t at, std::uint64_t& lineEnds) {
  return SeparatorLinesOneByOne(text, at, at, at, 0, lineEnds);
}

std::size_t SkipLineEnds(std::u16string_view text, std::size_t at, std::uint64_t& lineEnds) {
  return SkipEndsOneByOne(text, at, at, lineEnds);
}

std::size_t ByteOrderMarkLength(std::string_view bytes) {
  return bytes.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
}

bool DecodeMarkedText(std::string& bytes, std::u16string_view fileName) {
  const std::size_t mark = ByteOrderMarkLength(bytes);
  if (mark == 0) return false;
  LogFormat(u"NOTE: %s starts with a UTF-8 byte-order mark; the mark is skipped", fileName);
  const std::u16string text = Utf8ToUtf16(std::string_view(bytes).substr(mark));
  std::string narrowed;
  narrowed.reserve(text.size());
  int line = 1;
  int firstLost = 0;
  char16_t previous = 0;
  for (const char16_t unit : text) {
    if (unit == u'\r' || (unit == u'\n' && previous != u'\r')) ++line;
    previous = unit;
    const char byte = CodePageFromUnit(unit);
    // A letter the code page lacks, or a byte that was not UTF-8, is kept as
    // '?' in every reader and every file the game writes from it.
    if (firstLost == 0 && CodePageToUnit(static_cast<unsigned char>(byte)) != unit) firstLost = line;
    narrowed += byte;
  }
  if (firstLost != 0) {
    LogFormat(u"WARNING: %s holds letters that the Windows-1252 code page of the game's texts cannot keep, first at "
              u"line %i (counting from 1); they are read as '?'",
              fileName, firstLost);
  }
  bytes = std::move(narrowed);
  return true;
}

std::optional<std::string> ReadTextFile(const std::filesystem::path& file) {
  std::optional<std::string> bytes = ReadWholeFile(file);
  if (bytes) DecodeMarkedText(*bytes, Utf8ToUtf16(file.string()));
  return bytes;
}

}  // namespace tr
