// Every 8-bit reader of the game takes its text through ReadTextFile (or the
// same decoding): a file as the game writes it, in the code page, comes back
// byte for byte, and a file an editor saved as UTF-8 behind a byte-order mark
// gives the same code-page text, letters the code page lacks becoming '?'.
#include "foundation/text_file.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

struct MarkCase {
  const char* name;
  std::string bytes;  // the file
  std::string text;   // what a reader gets
  int lostAt;         // the line logged for letters the code page lacks; 0 for none
};

class ReadTextFileTest : public testing::TestWithParam<MarkCase> {};

TEST_P(ReadTextFileTest, GivesCodePageText) {
  const MarkCase& c = GetParam();
  test::TempDir dir;
  const auto file = dir.Write("table.csv", c.bytes);
  const std::u16string name = Utf8ToUtf16(file.string());
  test::LogCapture log;
  EXPECT_EQ(ReadTextFile(file), c.text);
  const bool marked = c.bytes.starts_with(kUtf8ByteOrderMark);
  EXPECT_EQ(log.Contains(u"NOTE: " + name + u" starts with a UTF-8 byte-order mark; the mark is skipped"), marked);
  std::u16string lost;
  for (const std::u16string& line : log.lines()) {
    if (line.starts_with(u"WARNING: ")) lost = line;
  }
  if (c.lostAt == 0) {
    EXPECT_EQ(lost, u"");
  } else {
    EXPECT_EQ(lost, u"WARNING: " + name +
                        u" holds letters that the Windows-1252 code page of the game's texts cannot keep, first at "
                        u"line " +
                        AsciiToUtf16(std::to_string(c.lostAt)) + u" (counting from 1); they are read as '?'");
  }
}

INSTANTIATE_TEST_SUITE_P(
    TextFile, ReadTextFileTest,
    testing::Values(
        // The game's own files: code page, no mark, taken as they are.
        MarkCase{"CodePage", "R\xFCsmark;1\r\nN\xF6rdtide;2\r\n", "R\xFCsmark;1\r\nN\xF6rdtide;2\r\n", 0},
        MarkCase{"CodePageThatLooksLikeUtf8", "R\xC3\xBCsmark\r\n", "R\xC3\xBCsmark\r\n", 0},
        MarkCase{"MarkedUtf8", "\xEF\xBB\xBFR\xC3\xBCsmark;1\r\nN\xC3\xB6rdtide;2\r\n\xE2\x82\xAC",
                 "R\xFCsmark;1\r\nN\xF6rdtide;2\r\n\x80", 0},
        MarkCase{"MarkOnly", "\xEF\xBB\xBF", "", 0},
        // "Polyarny korpus" in Cyrillic on the second line, LF line ends.
        MarkCase{"MarkedUtf8BeyondTheCodePage",
                 "\xEF\xBB\xBFR\xC3\xBCsmark\n\xD0\x9F\xD0\xBE\xD0\xBB\xD1\x8F\xD1\x80\xD0\xBD\xD1\x8B\xD0\xB9 "
                 "\xD0\xBA\xD0\xBE\xD1\x80\xD0\xBF\xD1\x83\xD1\x81\n",
                 "R\xFCsmark\n???????? ??????\n", 2},
        // CR and CR LF line ends count one line each; a byte that is not UTF-8 is lost too.
        MarkCase{"MarkedButNotUtf8", "\xEF\xBB\xBF" "a\rb\r\nc\r\xFC\r", "a\rb\r\nc\r?\r", 4}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tr

namespace tr {
namespace {

// Texts of every mix of line ends, runs of them at every length and offset
// from a word's edge, and lines of text between.
std::string MixedText(std::uint32_t seed, std::size_t size) {
  std::string text;
  const auto next = [&seed] { return (seed = seed * 214013 + 2531011) >> 16; };
  while (text.size() < size) {
    const std::uint32_t kind = next() % 8;
    const std::size_t run = next() % 40;
    for (std::size_t i = 0; i < run; ++i) text += kind < 3 ? "\r\n"[next() % 2] : kind == 3 ? '\r' : '\n';
    if (next() % 4 != 0) text += kind < 5 ? std::string(next() % 9 + 1, kind < 2 ? 'x' : ';') : std::string("\r\n");
    if (kind == 7) text += std::string(next() % 12, ';') + "x;";
  }
  return text;
}

// A run is read within the text it is given, however the bytes after that
// text go on: the skips stop at the end of a view cut inside a run.
TEST(TextLines, SkipsStopAtTheEndOfTheText) {
  const std::string run(64, '\r');
  const std::string lines = std::string(40, ';') + "\r\n";
  const std::string twice = lines + lines;
  for (std::size_t size = 1; size < 24; ++size) {
    std::uint64_t ends = 0;
    EXPECT_EQ(SkipLineEnds(std::string_view(run).substr(0, size), 0, ends), size);
    EXPECT_EQ(ends, size);
    std::uint64_t separated = 0;
    const std::string_view cut = std::string_view(twice).substr(0, lines.size() + size);
    EXPECT_EQ(SkipSeparatorLines(cut, 0, separated), lines.size());
    EXPECT_EQ(separated, 1u);
  }
}

// The empty lines a walk passes over a run at a time, and the line ends a
// skip counts, are those of the walk line by line, in 8-bit and UTF-16 text.
TEST(TextLines, EmptyLinesPassedOverInRunsKeepTheLinesNumbers) {
  for (std::uint32_t seed = 1; seed <= 60; ++seed) {
    const std::string text = MixedText(seed, 50 + seed * 37);
    std::vector<std::tuple<std::string_view, bool, int>> expected;
    int number = 0;
    for (const sTextLine line : SplitTextLines(text)) {
      ++number;
      EXPECT_EQ(line.number, number);
      if (!line.text.empty()) expected.emplace_back(line.text, line.ended, number);
    }
    // Lines of nothing but ';' are passed over too when they end in a line end.
    std::vector<std::tuple<std::string_view, bool, int>> withFields;
    for (const auto& [line, ended, n] : expected) {
      if (!ended || line.find_first_not_of(';') != std::string_view::npos) withFields.emplace_back(line, ended, n);
    }
    std::vector<std::tuple<std::string_view, bool, int>> fielded;
    for (const sTextLine line : TextLinesWithFields(text)) fielded.emplace_back(line.text, line.ended, line.number);
    EXPECT_EQ(fielded, withFields) << seed;
    std::vector<std::tuple<std::string_view, bool, int>> walked;
    for (const sTextLine line : NonEmptyTextLines(text)) walked.emplace_back(line.text, line.ended, line.number);
    EXPECT_EQ(walked, expected) << seed;
    const std::u16string wide(text.begin(), text.end());
    std::size_t i = 0;
    for (const sTextLineOf<char16_t> line : NonEmptyTextLines(std::u16string_view(wide))) {
      ASSERT_LT(i, expected.size());
      EXPECT_EQ(std::string(line.text.begin(), line.text.end()), std::get<0>(expected[i]));
      EXPECT_EQ(line.number, std::get<2>(expected[i]));
      ++i;
    }
    EXPECT_EQ(i, expected.size());
    // A run from any place counts its CRs and its LFs but those right after a CR of the run.
    for (std::size_t at = 0; at < text.size(); at += 1 + seed % 3) {
      std::uint64_t ends = 5;
      const std::size_t past = SkipLineEnds(text, at, ends);
      std::size_t end = at;
      std::uint64_t counted = 5;
      for (; end < text.size() && (text[end] == '\r' || text[end] == '\n'); ++end) {
        if (text[end] == '\r' || end == at || text[end - 1] != '\r') ++counted;
      }
      EXPECT_EQ(past, end) << seed << " " << at;
      EXPECT_EQ(ends, counted) << seed << " " << at;
      std::uint64_t wideEnds = 5;
      EXPECT_EQ(SkipLineEnds(std::u16string_view(wide), at, wideEnds), end);
      EXPECT_EQ(wideEnds, counted);
    }
  }
}

}  // namespace
}  // namespace tr
