#include "foundation/text.h"

#include <gtest/gtest.h>

#include <memory>

#include "foundation/text_file.h"

namespace tr {
namespace {

TEST(CodePage, EveryByteRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::u16string wide = CodePageToUtf16(byte);
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(Utf16ToCodePage(wide), byte) << "byte " << b;
  }
}

TEST(CodePage, KnownMappings) {
  EXPECT_EQ(CodePageToUnit(0xE9), u'\u00e9');
  EXPECT_EQ(CodePageToUnit(0x80), u'\u20ac');
  EXPECT_EQ(CodePageFromUnit(u'\u00e9'), static_cast<char>(0xE9));
  EXPECT_EQ(CodePageFromUnit(u'\u20ac'), static_cast<char>(0x80));
  EXPECT_EQ(CodePageFromUnit(u'\u0141'), '?');  // not in the code page
}

TEST(Utf, RoundTripsAcrossPlanes) {
  const std::u16string text = u"a\u00e9\u20ac\u0141\u00f3d\u017a \U0001F600 \u0416";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
  EXPECT_EQ(Utf16ToUtf8(u"\u20ac"), "\xE2\x82\xAC");
  // The last character of one unit, and the first of a pair.
  EXPECT_EQ(Utf8ToUtf16("\xEF\xBF\xBD\xEF\xBF\xBF"), u"\uFFFD\uFFFF");
  EXPECT_EQ(Utf8ToUtf16("\xF0\x90\x80\x80"), u"\U00010000");
}

// A cut never parts a surrogate pair; a cut to nothing is nothing, whatever
// lies before the text's first unit.
TEST(Text, CutsNeverPartASurrogatePair) {
  const std::u16string text = u"ab\U0001F600cd";
  EXPECT_EQ(CutUnits(text, 2), u"ab");
  EXPECT_EQ(CutUnits(text, 3), u"ab");
  EXPECT_EQ(CutUnits(text, 4), u"ab\U0001F600");
  EXPECT_EQ(CutUnits(text, 6), text);
  EXPECT_EQ(CutUnits(text, 9), text);
  EXPECT_EQ(CutUnits(std::u16string_view(text).substr(3), 0), u"");
}

TEST(Utf, MalformedInputBecomesReplacement) {
  EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\uFFFD");          // cut sequence
  EXPECT_EQ(Utf8ToUtf16("\xC3x"), u"\uFFFDx");          // foreign byte resumes decoding
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD");        // overlong
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");    // encoded surrogate
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Text, FoldsCase) {
  EXPECT_TRUE(EqualsIgnoreCase(u"Info.INI", u"info.ini"));
  EXPECT_TRUE(EqualsIgnoreCase(u"\u00c9T\u00c9", u"\u00e9t\u00e9"));
  EXPECT_FALSE(EqualsIgnoreCase(u"abc", u"abd"));
  EXPECT_FALSE(EqualsIgnoreCase(u"abc", u"ab"));
}

// CR LF, CR and LF each end a line; a text ending in a line end has no empty
// last line, and only a last line without one is marked so.
TEST(TextFile, LinesEndAtEveryLineEndAndTheLastEndAddsNoLine) {
  using Lines = std::vector<std::string_view>;
  const auto views = [](auto text) {
    const auto walk = TextLineViews(text);
    return std::vector(walk.begin(), walk.end());
  };
  const auto split = [](std::string_view text) {
    const auto walk = SplitTextLines(text);
    return std::vector<sTextLine>(walk.begin(), walk.end());
  };
  EXPECT_EQ(views(std::string_view("a\r\nb\rc\nd\n")), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(views(std::string_view("a\r\n\r\nb")), (Lines{"a", "", "b"}));
  EXPECT_EQ(views(std::string_view("a\n\r")), (Lines{"a", ""}));
  EXPECT_EQ(views(std::string_view("\r\r\n\n")), (Lines{"", "", ""}));
  EXPECT_TRUE(views(std::string_view("")).empty());
  EXPECT_EQ(views(std::u16string_view(u"x\r\n")), std::vector<std::u16string_view>{u"x"});
  EXPECT_EQ(views(std::u16string_view(u"x\ry\n\nz")), (std::vector<std::u16string_view>{u"x", u"y", u"", u"z"}));
  const std::vector<sTextLine> lines = split("1;2\r\n3;4");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0].ended);
  EXPECT_EQ(lines[1].text, "3;4");
  EXPECT_FALSE(lines[1].ended);
  ASSERT_EQ(split("1;2\n").size(), 1u);
  EXPECT_TRUE(split("1;2\n").back().ended);
  // A last line ended by a lone CR, with nothing after it to look at (the
  // buffer ends there, so a look past it is seen).
  const std::unique_ptr<char[]> bytes(new char[4]{'a', '\r', 'b', '\r'});
  EXPECT_EQ(views(std::string_view(bytes.get(), 4)), (Lines{"a", "b"}));
  ASSERT_EQ(split(std::string_view(bytes.get(), 4)).size(), 2u);
  EXPECT_TRUE(split(std::string_view(bytes.get(), 4)).back().ended);
}

}  // namespace
}  // namespace tr
