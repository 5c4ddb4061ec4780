#include "scenario/number_text.h"

#include <charconv>
#include <limits>
#include <string>

namespace tr {
namespace {

template <typename Char>
bool IsBlank(Char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

template <typename Char>
bool IsDigit(Char c) {
  return c >= '0' && c <= '9';
}

template <typename Char>
std::size_t SkipBlanks(std::basic_string_view<Char> text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return i;
}

template <typename Char>
std::int32_t LeadingInt(std::basic_string_view<Char> text) {
  std::size_t i = SkipBlanks(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) value = kLimit;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

template <typename Char>
double LeadingDouble(std::basic_string_view<Char> text) {
  std::size_t i = SkipBlanks(text);
  std::string number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') number.push_back('-');
    ++i;
  }
  std::size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) number.push_back(static_cast<char>(text[i]));
  if (i < text.size() && text[i] == '.') {
    number.push_back('.');
    for (++i; i < text.size() && IsDigit(text[i]); ++i, ++digits) number.push_back(static_cast<char>(text[i]));
  }
  if (digits == 0) return 0.0;
  // An exponent counts only when at least one digit follows it.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent.push_back(static_cast<char>(text[j++]));
    if (j < text.size() && IsDigit(text[j])) {
      for (; j < text.size() && IsDigit(text[j]); ++j) exponent.push_back(static_cast<char>(text[j]));
      number += exponent;
    }
  }
  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    const bool negative = number[0] == '-';
    const bool tiny = number.find('e') != std::string::npos && number.find("e-") != std::string::npos;
    if (tiny) return negative ? -0.0 : 0.0;
    return negative ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
  }
  return value;
}

}  // namespace

std::int32_t ParseLeadingInt(std::string_view text) { return LeadingInt(text); }
std::int32_t ParseLeadingInt(std::u16string_view text) { return LeadingInt(text); }
double ParseLeadingDouble(std::string_view text) { return LeadingDouble(text); }
double ParseLeadingDouble(std::u16string_view text) { return LeadingDouble(text); }

float ClampToFloat(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (value > kMax) return std::numeric_limits<float>::max();
  if (value < -kMax) return -std::numeric_limits<float>::max();
  return static_cast<float>(value);
}

float ParseLeadingFloat(std::string_view text) { return ClampToFloat(LeadingDouble(text)); }
float ParseLeadingFloat(std::u16string_view text) { return ClampToFloat(LeadingDouble(text)); }

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

}  // namespace tr
