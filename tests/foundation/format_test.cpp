#include "foundation/format.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "foundation/log_sink.h"

namespace tr {
namespace {

std::vector<std::u16string> gLogged;
void Capture(std::u16string_view line) { gLogged.emplace_back(line); }

class FormatTest : public testing::Test {
 protected:
  void SetUp() override {
    gLogged.clear();
    SetLogSink(&Capture);
  }
  void TearDown() override { SetLogSink(nullptr); }
};

TEST_F(FormatTest, MixedWideArguments) {
  EXPECT_EQ(Format(u"%s has %i PP (%.1f%%)", u"\u0141\u00f3d\u017a", 12, 3.26),
            u"\u0141\u00f3d\u017a has 12 PP (3.3%)");
  EXPECT_EQ(Format(u"[%lS|%ls|%S]", std::u16string(u"a"), u"b", "c"), u"[a|b|c]");
}

struct Case {
  const char16_t* format;
  FormatArg arg;
  const char16_t* expected;
};

void PrintTo(const Case& c, std::ostream* os) {
  for (const char16_t* p = c.format; *p; ++p) *os << static_cast<char>(*p);
}

class FormatCases : public FormatTest, public testing::WithParamInterface<Case> {};

TEST_P(FormatCases, Conversions) {
  const Case& c = GetParam();
  EXPECT_EQ(FormatArgs(c.format, {c.arg}), c.expected);
  EXPECT_TRUE(gLogged.empty());
}

INSTANTIATE_TEST_SUITE_P(
    All, FormatCases,
    testing::Values(Case{u"%3i|", 7, u"  7|"}, Case{u"%4i|", -12, u" -12|"},
                    Case{u"%-4d|", 5, u"5   |"}, Case{u"%02d", 7, u"07"},
                    Case{u"%+i", 5, u"+5"}, Case{u"%+i", -5, u"-5"}, Case{u"%05d", -42, u"-0042"},
                    Case{u"%5.2f", 3.14159, u" 3.14"}, Case{u"%.1f", 0.05, u"0.1"},
                    Case{u"%f", 1.5, u"1.500000"}, Case{u"%.0f", 2.5, u"2"},
                    Case{u"%08x", 0xBEEFu, u"0000beef"}, Case{u"%X", 0xABCDu, u"ABCD"},
                    Case{u"%x", -1, u"ffffffff"}, Case{u"%u", -1, u"4294967295"},
                    Case{u"%ld", 123456, u"123456"}, Case{u"%i", std::int64_t{1} << 32, u"0"},
                    Case{u"%lld", std::int64_t{1} << 32, u"4294967296"},
                    Case{u"%I64d", std::int64_t{1} << 32, u"4294967296"},
                    // I32 keeps the plain width; "64" after a conversion is text.
                    Case{u"%I32d", std::int64_t{1} << 32, u"0"}, Case{u"%d64", 5, u"564"},
                    Case{u"%c", 0x20AC, u"\u20ac"}, Case{u"%.3s", u"abcdef", u"abc"},
                    Case{u"%5s|", u"ab", u"   ab|"}, Case{u"%-5s|", u"ab", u"ab   |"},
                    Case{u"%+.2f", 1.0, u"+1.00"}, Case{u"%08.3f", -3.5, u"-003.500"},
                    // The blank for a sign stands before the padding zeros, as a sign does.
                    Case{u"% 08.2f", 3.25, u" 0003.25"}, Case{u"% 07.1f", -6.75, u"-0006.8"},
                    // The alternate form marks only a value that is not 0.
                    Case{u"%#x", 0u, u"0"}, Case{u"%#x", 255u, u"0xff"}, Case{u"%#X", 255u, u"0XFF"},
                    Case{u"%#o", 8u, u"010"}, Case{u"%#o", 0u, u"0"}));

// Fixed decimals are the exactly rounded binary value, a tie going to the
// even digit, whatever path writes them.
TEST_F(FormatTest, FixedDecimalsRoundAsTheStandardConversion) {
  std::vector<double> values = {0.0, -0.0, 0.125, 0.375, -0.125, 2.5, 3.5, 0.005, 1.005, 0.045, 999999999.995,
                                -999999999.5, 1e9, -1e9, 5e-324, -5e-324, 0.0049999999999999999, 1e-10};
  std::mt19937_64 random(61);
  for (int i = 0; i < 20000; ++i) {
    const double magnitude = std::ldexp(1.0, static_cast<int>(random() % 80) - 50);
    values.push_back((static_cast<double>(random() % 2000001) - 1e6) / 1e6 * magnitude);
    const double any = std::bit_cast<double>(random());
    if (std::isfinite(any)) values.push_back(any);
    values.push_back(static_cast<double>(static_cast<std::int64_t>(random() % 200001) - 100000) / 1000.0);
  }
  for (const double v : values) {
    for (int decimals = 0; decimals <= 12; ++decimals) {
      char expected[400];
      const char* end = std::to_chars(expected, expected + sizeof expected, v, std::chars_format::fixed, decimals).ptr;
      const std::u16string wide(static_cast<const char*>(expected), end);
      ASSERT_EQ(Format(u"%.*f", decimals, v), wide) << v << " with " << decimals;
    }
  }
  EXPECT_TRUE(gLogged.empty());
}

TEST_F(FormatTest, MissingArgumentPrintsNothingAndLogsOnce) {
  EXPECT_EQ(Format(u"%i %i", 1), u"1 ");
  EXPECT_EQ(Format(u"%i %i", 1), u"1 ");
  ASSERT_EQ(gLogged.size(), 1u);
  EXPECT_NE(gLogged[0].find(u"%i %i"), std::u16string::npos);
}

TEST_F(FormatTest, MismatchedArgumentsPrintNothing) {
  EXPECT_EQ(Format(u"<%s>", 5), u"<>");
  EXPECT_EQ(Format(u"<%d>", u"text"), u"<>");
  EXPECT_EQ(Format(u"<%f>", 3), u"<>");
  EXPECT_EQ(Format(u"<%n>", 3), u"<>");
  EXPECT_EQ(Format(u"100%"), u"100");
  EXPECT_EQ(gLogged.size(), 5u);
}

TEST_F(FormatTest, DataIsNeverAFormat) {
  // A text that holds conversions is printed as it stands when it is an argument.
  EXPECT_EQ(Format(u"%s", u"%s%n%i"), u"%s%n%i");
  EXPECT_TRUE(gLogged.empty());
}

// Formats are kept parsed: a buffer that later holds another format, at the
// same address and length, prints the new one; an array longer than its text
// prints the text alone.
TEST_F(FormatTest, AFormatIsItsTextWhereverItLives) {
  std::u16string format = u"<%i|%s>";
  const char16_t* const address = format.data();
  EXPECT_EQ(FormatArgs(format, {7, u"a"}), u"<7|a>");
  format[1] = u'%';
  format[2] = u's';
  format[4] = u'%';
  format[5] = u'i';
  ASSERT_EQ(format.data(), address);
  EXPECT_EQ(FormatArgs(format, {u"b", 8}), u"<b|8>");
  const char16_t padded[16] = u"%i!";
  EXPECT_EQ(Format(padded, 5), u"5!");
  EXPECT_EQ(Format(std::u16string_view(), 5), u"");
  EXPECT_TRUE(gLogged.empty());
}

TEST_F(FormatTest, StarWidthAndHugeWidthsAreBounded) {
  EXPECT_EQ(Format(u"%*d", 4, 7), u"   7");
  // A negative width from an argument left-aligns, as a '-' flag would.
  EXPECT_EQ(Format(u"%*d|", -4, 7), u"7   |");
  EXPECT_EQ(Format(u"%*d|", -1, 7), u"7|");
  EXPECT_EQ(Format(u"%99999999d", 1).size(), 4096u);
}

// A width or precision taken from an argument may be any number a file held.
struct sStarCase {
  const char16_t* format;
  std::int64_t star;
  std::size_t size;
  char16_t first;
};

class StarCases : public FormatTest, public testing::WithParamInterface<sStarCase> {};

TEST_P(StarCases, ExtremeStarArgumentsAreBounded) {
  const std::u16string text = Format(GetParam().format, GetParam().star, 5);
  EXPECT_EQ(text.size(), GetParam().size);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.front(), GetParam().first);
  EXPECT_TRUE(gLogged.empty());
}

INSTANTIATE_TEST_SUITE_P(
    All, StarCases,
    testing::Values(sStarCase{u"%*d", std::numeric_limits<std::int32_t>::min(), 4096u, u'5'},
                    sStarCase{u"%*d", std::numeric_limits<std::int32_t>::max(), 4096u, u' '},
                    sStarCase{u"%*d", std::numeric_limits<std::int64_t>::min(), 4096u, u'5'},
                    sStarCase{u"%*d", std::int64_t{1} << 40, 4096u, u' '},
                    sStarCase{u"%.*d", std::numeric_limits<std::int32_t>::min(), 1u, u'5'},
                    sStarCase{u"%.*d", std::int64_t{1} << 40, 400u, u'0'}));

}  // namespace
}  // namespace tr
