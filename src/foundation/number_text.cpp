#include "foundation/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <type_traits>

namespace tr {
namespace {

template <typename Char>
constexpr bool Blank(Char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

template <typename Char>
constexpr bool Digit(Char c) {
  return c >= '0' && c <= '9';
}

template <typename Char>
std::basic_string_view<Char> Trim(std::basic_string_view<Char> text) {
  while (!text.empty() && Blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && Blank(text.back())) text.remove_suffix(1);
  return text;
}

template <typename Char>
std::size_t SkipBlanks(std::basic_string_view<Char> text) {
  std::size_t i = 0;
  while (i < text.size() && Blank(text[i])) ++i;
  return i;
}

// Skips the digits from i; false when there are none.
template <typename Char>
bool SkipDigits(std::basic_string_view<Char> text, std::size_t& i) {
  const std::size_t from = i;
  while (i < text.size() && Digit(text[i])) ++i;
  return i > from;
}

template <typename Char>
void SkipSign(std::basic_string_view<Char> text, std::size_t& i) {
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
}

template <typename Char>
std::optional<std::int64_t> Whole(std::basic_string_view<Char> text) {
  std::size_t i = SkipBlanks(text);
  const bool negative = i < text.size() && text[i] == '-';
  SkipSign(text, i);
  if (i == text.size() || !Digit(text[i])) return std::nullopt;
  // The magnitude stops growing at 2^63, past which neither bound changes.
  constexpr std::uint64_t kCap = std::uint64_t{1} << 63;
  std::uint64_t magnitude = 0;
  for (; i < text.size() && Digit(text[i]); ++i) {
    const auto digit = static_cast<std::uint64_t>(text[i] - '0');
    magnitude = magnitude > (kCap - digit) / 10 ? kCap : magnitude * 10 + digit;
  }
  if (negative) {
    return magnitude == kCap ? std::numeric_limits<std::int64_t>::min() : -static_cast<std::int64_t>(magnitude);
  }
  return magnitude == kCap ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(magnitude);
}

std::int32_t HeldTo32(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

// Powers of ten are held far past any double's and far inside 64 bits.
constexpr std::int64_t kExponentCap = std::int64_t{1} << 40;

std::int64_t AddExponent(std::int64_t exponent, std::int64_t step) {
  return std::clamp(exponent + step, -kExponentCap, kExponentCap);
}

// Significant digits kept for the conversion. Every double, and every point
// half-way between two, is told apart within 768 of them, so the digits past
// these change the rounding only by being all 0 or not: one 1 stands for any
// that are not, and a number of millions of digits costs no copy of them.
constexpr std::size_t kKeptDigits = 800;

template <typename Char>
std::optional<double> Decimal(std::basic_string_view<Char> text) {
  std::size_t i = SkipBlanks(text);
  std::string number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') number.push_back('-');
    ++i;
  }
  // The power of ten of the first digit that is not 0, once one is met: it
  // alone tells a value too large for a double from one too small.
  std::optional<std::int64_t> magnitude;
  // The value is the kept digits times ten to this.
  std::int64_t scale = 0;
  std::size_t kept = 0;
  bool droppedNonZero = false;
  const auto take = [&](Char c, bool fraction) {
    if (kept == 0 && c == '0') {
      if (fraction) scale = AddExponent(scale, -1);
      return;
    }
    if (kept < kKeptDigits) {
      number.push_back(static_cast<char>(c));
      ++kept;
      if (fraction) scale = AddExponent(scale, -1);
    } else {
      droppedNonZero = droppedNonZero || c != '0';
      if (!fraction) scale = AddExponent(scale, 1);
    }
  };
  std::size_t digits = 0;
  for (; i < text.size() && Digit(text[i]); ++i, ++digits) {
    take(text[i], false);
    if (magnitude) {
      *magnitude = AddExponent(*magnitude, 1);
    } else if (text[i] != '0') {
      magnitude = 0;
    }
  }
  if (i < text.size() && text[i] == '.') {
    std::int64_t place = 0;
    for (++i; i < text.size() && Digit(text[i]); ++i, ++digits) {
      take(text[i], true);
      place = AddExponent(place, -1);
      if (!magnitude && text[i] != '0') magnitude = place;
    }
  }
  if (digits == 0) return std::nullopt;
  if (kept == 0) number.push_back('0');
  if (droppedNonZero) {
    number.push_back('1');
    scale = AddExponent(scale, -1);
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool negativeExponent = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) negativeExponent = text[j++] == '-';
    if (j < text.size() && Digit(text[j])) {
      std::int64_t power = 0;
      for (; j < text.size() && Digit(text[j]); ++j) power = std::min(power * 10 + (text[j] - '0'), kExponentCap);
      scale = AddExponent(scale, negativeExponent ? -power : power);
      if (magnitude) *magnitude = AddExponent(*magnitude, negativeExponent ? -power : power);
    }
  }
  number += 'e';
  number += std::to_string(scale);
  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    const bool negative = number[0] == '-';
    if (!magnitude || *magnitude < 0) return negative ? -0.0 : 0.0;
    return negative ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
  }
  return value;
}

template <typename Char>
bool WholeText(std::basic_string_view<Char> text) {
  text = Trim(text);
  std::size_t i = 0;
  SkipSign(text, i);
  return SkipDigits(text, i) && i == text.size();
}

template <typename Char>
std::optional<std::int32_t> WholeNumberOf(std::basic_string_view<Char> text) {
  if (!WholeText(text)) return std::nullopt;
  const std::int64_t value = *Whole(text);
  if (value > std::numeric_limits<std::int32_t>::max() || value < std::numeric_limits<std::int32_t>::min()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

bool IsBlank(char c) { return Blank(c); }
bool IsBlank(char16_t c) { return Blank(c); }

std::string_view TrimBlanks(std::string_view text) { return Trim(text); }
std::u16string_view TrimBlanks(std::u16string_view text) { return Trim(text); }

std::optional<std::int64_t> LeadingWhole(std::string_view text) { return Whole(text); }
std::optional<std::int64_t> LeadingWhole(std::u16string_view text) { return Whole(text); }

std::int32_t ParseLeadingInt(std::string_view text) { return HeldTo32(Whole(text).value_or(0)); }
std::int32_t ParseLeadingInt(std::u16string_view text) { return HeldTo32(Whole(text).value_or(0)); }

std::optional<double> LeadingDecimal(std::string_view text) { return Decimal(text); }
std::optional<double> LeadingDecimal(std::u16string_view text) { return Decimal(text); }

double ParseLeadingDouble(std::string_view text) { return Decimal(text).value_or(0.0); }
double ParseLeadingDouble(std::u16string_view text) { return Decimal(text).value_or(0.0); }

float ClampToFloat(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (value > kMax) return std::numeric_limits<float>::max();
  if (value < -kMax) return -std::numeric_limits<float>::max();
  return static_cast<float>(value);
}

float ParseLeadingFloat(std::string_view text) { return ClampToFloat(ParseLeadingDouble(text)); }
float ParseLeadingFloat(std::u16string_view text) { return ClampToFloat(ParseLeadingDouble(text)); }

namespace {

template <typename T>
T ReadBack(const std::string& text) {
  if constexpr (std::is_same_v<T, float>) return ParseLeadingFloat(text);
  else return ParseLeadingDouble(text);
}

template <typename T>
std::string ExactDecimalText(T value) {
  char buffer[400];
  const auto fixed = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  std::string text(buffer, fixed.ptr);
  if (!std::isfinite(value) || ReadBack<T>(text) == value) return text;
  // The shortest text that gives the value back; a float is read through a
  // double, so should that rounding ever miss, more digits are written.
  const auto shortest = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  text.assign(buffer, shortest.ptr);
  for (int digits = 7; ReadBack<T>(text) != value && digits <= 20; ++digits) {
    const auto more = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, digits);
    text.assign(buffer, more.ptr);
  }
  return text;
}

}  // namespace

std::string SavedDecimalText(double value) { return ExactDecimalText(value); }
std::string SavedDecimalText(float value) { return ExactDecimalText(value); }

std::uint32_t ParseLeadingHex(std::u16string_view text) {
  std::size_t i = SkipBlanks(text);
  if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) i += 2;
  std::uint32_t value = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    std::uint32_t digit;
    if (c >= u'0' && c <= u'9') {
      digit = c - u'0';
    } else if (c >= u'a' && c <= u'f') {
      digit = c - u'a' + 10;
    } else if (c >= u'A' && c <= u'F') {
      digit = c - u'A' + 10;
    } else {
      break;
    }
    value = value * 16 + digit;
  }
  return value;
}

bool IsWholeNumberText(std::string_view text) { return WholeText(text); }
bool IsWholeNumberText(std::u16string_view text) { return WholeText(text); }

namespace {

template <typename Char>
bool DecimalNumberText(std::basic_string_view<Char> text) {
  text = Trim(text);
  std::size_t i = 0;
  SkipSign(text, i);
  bool digits = SkipDigits(text, i);
  if (i < text.size() && text[i] == Char('.')) {
    ++i;
    digits = SkipDigits(text, i) || digits;
  }
  if (!digits) return false;
  if (i < text.size() && (text[i] == Char('e') || text[i] == Char('E'))) {
    ++i;
    SkipSign(text, i);
    if (!SkipDigits(text, i)) return false;
  }
  return i == text.size();
}

}  // namespace

bool IsDecimalNumberText(std::string_view text) { return DecimalNumberText(text); }
bool IsDecimalNumberText(std::u16string_view text) { return DecimalNumberText(text); }

std::optional<std::int32_t> WholeNumber(std::string_view text) { return WholeNumberOf(text); }
std::optional<std::int32_t> WholeNumber(std::u16string_view text) { return WholeNumberOf(text); }

}  // namespace tr
