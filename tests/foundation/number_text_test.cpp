// The one reader of blanks and numbers, at the limits of each reading.
#include "foundation/number_text.h"

#include <gtest/gtest.h>

#include <locale.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace tr {
namespace {

constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMax64 = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();

TEST(NumberText, BlanksAreTheClassicWhiteSpaceAndNothingElse) {
  for (const char16_t blank : {u' ', u'\t', u'\n', u'\v', u'\f', u'\r'}) {
    EXPECT_TRUE(IsBlank(blank)) << static_cast<int>(blank);
    EXPECT_TRUE(IsBlank(static_cast<char>(blank))) << static_cast<int>(blank);
  }
  // Each neighbour of the range, and the blanks of other code pages.
  for (const char16_t other : {u'\b', u'\x0E', u'\x1F', u'!', u'\0', u'\u0085', u'\u00A0', u'\u3000'}) {
    EXPECT_FALSE(IsBlank(other)) << static_cast<int>(other);
  }
  EXPECT_FALSE(IsBlank('\xA0'));
  EXPECT_EQ(TrimBlanks(u" \t\v a b\f\r\n"), u"a b");
  EXPECT_EQ(TrimBlanks(" \r\n"), "");
  EXPECT_EQ(TrimBlanks(u"\u00A0x\u00A0"), u"\u00A0x\u00A0");
}

struct sLeadingCase {
  const char16_t* text;
  std::int32_t value;
};

class LeadingInt : public testing::TestWithParam<sLeadingCase> {};

TEST_P(LeadingInt, ReadsTheLeadingNumberHeldTo32Bits) {
  const std::u16string wide = GetParam().text;
  EXPECT_EQ(ParseLeadingInt(wide), GetParam().value);
  EXPECT_EQ(ParseLeadingInt(std::string(wide.begin(), wide.end())), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingInt,
    testing::Values(sLeadingCase{u"150", 150}, sLeadingCase{u" \t-12abc", -12}, sLeadingCase{u"+7;", 7},
                    sLeadingCase{u"x1", 0}, sLeadingCase{u"", 0}, sLeadingCase{u"-", 0}, sLeadingCase{u"+-5", 0},
                    sLeadingCase{u"2147483647", kMax32}, sLeadingCase{u"2147483648", kMax32},
                    sLeadingCase{u"-2147483648", kMin32}, sLeadingCase{u"-2147483649", kMin32},
                    sLeadingCase{u"99999999999999999999999999999999", kMax32},
                    sLeadingCase{u"-99999999999999999999999999999999", kMin32}));

TEST(NumberText, LeadingWholeHoldsTo64BitsAndTellsNoDigitFromZero) {
  EXPECT_EQ(LeadingWhole("9223372036854775807"), kMax64);
  EXPECT_EQ(LeadingWhole("9223372036854775808"), kMax64);
  EXPECT_EQ(LeadingWhole("-9223372036854775808"), kMin64);
  EXPECT_EQ(LeadingWhole("-9223372036854775809"), kMin64);
  EXPECT_EQ(LeadingWhole(u"18446744073709551617"), kMax64);
  EXPECT_EQ(LeadingWhole(std::string(400, '9')), kMax64);
  EXPECT_EQ(LeadingWhole(" -0x"), 0);
  EXPECT_EQ(LeadingWhole("- 1"), std::nullopt);
  EXPECT_EQ(LeadingWhole(u"\u00A01"), std::nullopt);
}

TEST(NumberText, WholeNumberIsTheWholeTextWithin32Bits) {
  EXPECT_EQ(WholeNumber(u" 2147483647\t"), kMax32);
  EXPECT_EQ(WholeNumber("2147483648"), std::nullopt);
  EXPECT_EQ(WholeNumber("-2147483648"), kMin32);
  EXPECT_EQ(WholeNumber("-2147483649"), std::nullopt);
  EXPECT_EQ(WholeNumber("+0012"), 12);
  for (const char* bad : {"", " ", "+", "12x", "1 2", "+-1", "1.0", "1e2", "0x10"}) {
    EXPECT_EQ(WholeNumber(bad), std::nullopt) << bad;
    EXPECT_FALSE(IsWholeNumberText(bad)) << bad;
  }
  // The shape alone, whatever the size.
  EXPECT_TRUE(IsWholeNumberText(u" -99999999999999999999 "));
}

TEST(NumberText, DecimalsReadAsFarAsTheyAreANumber) {
  EXPECT_DOUBLE_EQ(ParseLeadingDouble(u"3.25;"), 3.25);
  EXPECT_DOUBLE_EQ(ParseLeadingDouble("1e"), 1.0);
  EXPECT_DOUBLE_EQ(ParseLeadingDouble("-.5e1x"), -5.0);
  EXPECT_EQ(LeadingDecimal("."), std::nullopt);
  EXPECT_EQ(LeadingDecimal("-e5"), std::nullopt);
  EXPECT_EQ(LeadingDecimal("nan"), std::nullopt);
  EXPECT_EQ(ParseLeadingDouble("."), 0.0);
  EXPECT_EQ(LeadingDecimal("1e400"), std::numeric_limits<double>::max());
  EXPECT_EQ(LeadingDecimal(u"-1e400"), -std::numeric_limits<double>::max());
  EXPECT_EQ(LeadingDecimal("1e-400"), 0.0);
  EXPECT_EQ(ParseLeadingFloat("3.4028235e38"), std::numeric_limits<float>::max());
  EXPECT_EQ(ParseLeadingFloat("1e300"), std::numeric_limits<float>::max());
  EXPECT_EQ(ParseLeadingFloat(u"-1e300"), -std::numeric_limits<float>::max());
  // Wide and 8-bit texts alike.
  for (const char16_t* number : {u"1", u" -.5 ", u"2.", u"+2.5e-3", u"7E+2"}) {
    const std::string narrow(number, number + std::char_traits<char16_t>::length(number));
    EXPECT_TRUE(IsDecimalNumberText(number)) << narrow;
    EXPECT_TRUE(IsDecimalNumberText(std::string_view(narrow))) << narrow;
  }
  for (const char16_t* other : {u"", u".", u"1e", u"1.5x", u"e5", u"1,5", u"- 1"}) {
    const std::string narrow(other, other + std::char_traits<char16_t>::length(other));
    EXPECT_FALSE(IsDecimalNumberText(other)) << narrow;
    EXPECT_FALSE(IsDecimalNumberText(std::string_view(narrow))) << narrow;
  }
}

// Long texts, read as the C library reads them in the "C" locale, except that
// past the double range they read as the largest double of their sign. The
// size of a text's value, not the sign of its exponent, tells the two ends.
TEST(NumberText, LongDecimalsReadAsTheCLibraryReadsThem) {
  const auto zeros = [](std::size_t n) { return std::string(n, '0'); };
  std::vector<std::string> texts = {
      "0." + zeros(400) + "1",
      "1" + zeros(400) + "e-1",
      "-1" + zeros(400) + "e-95",
      "0." + zeros(300) + "7e-30",
      "0." + zeros(320) + "24703282292062328",
      "0." + zeros(320) + "2470328229206232",
      "-0." + zeros(450) + "3e+150",
      "17976931348623157" + zeros(292),
      "17976931348623159" + zeros(292),
      "6" + zeros(310) + "e-3",
      "0." + zeros(5) + "9e99999999999999999999",
      "7e9223372036854775808",
      "4" + zeros(20) + "e-99999999999999999999",
      "-0." + zeros(700) + "5e+400",
      "8." + zeros(600) + "e308",
      // Half-way between two doubles, and past it only at a digit far beyond
      // the significant ones a conversion needs.
      "9007199254740993" + zeros(2000),
      "9007199254740993" + zeros(2000) + "1",
      "9007199254740993." + zeros(1500) + "1",
      "-0." + zeros(1200) + "9007199254740993" + zeros(900) + "1e1216",
      "9007199254740995" + zeros(790) + "00000000000000000000" + "e-810",
  };
  // Long digit strings of every size of value, from a fixed sequence.
  std::uint32_t x = 20261209;
  const auto next = [&x] { return (x = x * 214013 + 2531011) >> 16; };
  for (int i = 0; i < 300; ++i) {
    std::string text = next() % 2 ? "-" : "";
    const std::size_t whole = next() % 1100;
    const std::size_t fraction = next() % 1100;
    for (std::size_t d = 0; d < whole; ++d) text += static_cast<char>('0' + next() % 10);
    text += '.';
    // A third of the texts start their fraction with zeros, down towards the smallest values.
    for (std::size_t d = 0; d < fraction; ++d) {
      text += static_cast<char>('0' + (d < fraction / 2 && i % 3 == 0 ? 0 : next() % 10));
    }
    text += "9e" + std::to_string(static_cast<int>(next() % 1400) - 700);
    texts.push_back(text);
  }
  const locale_t classic = newlocale(LC_ALL_MASK, "C", locale_t{});
  ASSERT_NE(classic, locale_t{});
  for (const std::string& text : texts) {
    double expected = strtod_l(text.c_str(), nullptr, classic);
    if (std::isinf(expected)) expected = std::copysign(std::numeric_limits<double>::max(), expected);
    const double read = ParseLeadingDouble(text);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(read), std::bit_cast<std::uint64_t>(expected))
        << text.substr(0, 80) << "... (" << text.size() << " characters): " << read << " and " << expected;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(ParseLeadingDouble(std::u16string(text.begin(), text.end()))),
              std::bit_cast<std::uint64_t>(expected));
  }
  freelocale(classic);
}

TEST(NumberText, HexDigitsAsTheyAreWritten) {
  EXPECT_EQ(ParseLeadingHex(u"FF102030"), 0xFF102030u);
  EXPECT_EQ(ParseLeadingHex(u" 0x1fg"), 0x1Fu);
  EXPECT_EQ(ParseLeadingHex(u"g"), 0u);
}


// A save writes six decimals where they give the value back, and enough
// digits to give it back where they do not: a loaded game computes on with
// the values the saved one held.
TEST(NumberText, SavedDecimalTextGivesTheValueBack) {
  EXPECT_EQ(SavedDecimalText(101.0), "101.000000");
  EXPECT_EQ(SavedDecimalText(0.25f), "0.250000");
  EXPECT_EQ(SavedDecimalText(-3.5), "-3.500000");
  const double points = 24.583036491234;
  EXPECT_EQ(SavedDecimalText(points), "24.583036491234");
  EXPECT_EQ(ParseLeadingDouble(SavedDecimalText(points)), points);
  for (const float share : {0.1f, 5.1499998f, 1.0f / 3.0f, 123456.79f, 1e-7f, 3.0e38f}) {
    EXPECT_EQ(ParseLeadingFloat(SavedDecimalText(share)), share) << SavedDecimalText(share);
  }
  for (const double value : {1.0 / 3.0, 0.1 + 0.2, 1e-9, 987654321.123456789}) {
    EXPECT_EQ(ParseLeadingDouble(SavedDecimalText(value)), value) << SavedDecimalText(value);
  }
}

}  // namespace
}  // namespace tr
