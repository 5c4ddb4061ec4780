#include "scenario/strict_number.h"

#include <cstdint>

namespace tr {
namespace {

template <typename Char>
std::optional<int> Parse(std::basic_string_view<Char> text) {
  auto blank = [](Char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  bool negative = false;
  if (begin < end && (text[begin] == '-' || text[begin] == '+')) negative = text[begin++] == '-';
  if (begin == end) return std::nullopt;
  std::int64_t value = 0;
  for (std::size_t i = begin; i < end; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > 2147483647) return std::nullopt;
  }
  return static_cast<int>(negative ? -value : value);
}

}  // namespace

std::optional<int> WholeNumber(std::string_view text) { return Parse(text); }
std::optional<int> WholeNumber(std::u16string_view text) { return Parse(text); }

}  // namespace tr
