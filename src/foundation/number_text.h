// Blanks and numbers in text read from files, edit boxes and attributes: one
// definition of a blank and one reader of number text for the whole program.
// The conversions never depend on the process locale ('.' is the point).
//
// Two ways of reading a number:
// - leading: blanks skipped, then as much of a number as the text holds, the
//   rest ignored, and 0 when there is none (the way the tables were always read);
// - whole: the text holds one number with blanks around it and nothing else,
//   or it holds no number at all (where a line with a wrong field is unusable).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tr {

// Space, tab, line feed, vertical tab, form feed and carriage return: the
// white space of the classic locale. Nothing else is a blank, not even a
// no-break space.
bool IsBlank(char c);
bool IsBlank(char16_t c);

// The text without the blanks around it.
std::string_view TrimBlanks(std::string_view text);
std::u16string_view TrimBlanks(std::u16string_view text);

// Leading decimal integer with an optional sign; none without a digit. Values
// past 64 bits read as the nearest 64-bit bound.
std::optional<std::int64_t> LeadingWhole(std::string_view text);
std::optional<std::int64_t> LeadingWhole(std::u16string_view text);

// LeadingWhole held to the 32-bit range; 0 without a digit.
std::int32_t ParseLeadingInt(std::string_view text);
std::int32_t ParseLeadingInt(std::u16string_view text);

// Leading decimal number with an optional sign, fraction and exponent (an
// exponent counts only when a digit follows it); none without a digit. Past
// the double range it reads as the largest double of its sign, below it as 0.
std::optional<double> LeadingDecimal(std::string_view text);
std::optional<double> LeadingDecimal(std::u16string_view text);

// LeadingDecimal, 0 without a digit.
double ParseLeadingDouble(std::string_view text);
double ParseLeadingDouble(std::u16string_view text);

// The double as a float, held to the float range (a conversion beyond it is undefined).
float ClampToFloat(double value);

// ParseLeadingDouble narrowed with ClampToFloat.
float ParseLeadingFloat(std::string_view text);
float ParseLeadingFloat(std::u16string_view text);

// The value as a table of a save writes it: "%f" (six decimals) when that
// reads back as the same value, else the shortest fixed-point text that does,
// so a value the game computed comes back from its save unchanged. A float is
// read back as ParseLeadingFloat reads it.
std::string SavedDecimalText(double value);
std::string SavedDecimalText(float value);

// Leading hexadecimal digits (an optional "0x" prefix skipped), as "%X" writes them.
std::uint32_t ParseLeadingHex(std::u16string_view text);

// The text is an optional sign and decimal digits, with blanks around them
// and nothing else; of any size.
bool IsWholeNumberText(std::string_view text);
bool IsWholeNumberText(std::u16string_view text);

// The text is a number LeadingDecimal reads whole, with blanks around it and
// nothing else; of any size.
bool IsDecimalNumberText(std::string_view text);
bool IsDecimalNumberText(std::u16string_view text);

// The whole text as a 32-bit integer; none when it is not IsWholeNumberText
// or lies beyond the 32-bit range.
std::optional<std::int32_t> WholeNumber(std::string_view text);
std::optional<std::int32_t> WholeNumber(std::u16string_view text);

}  // namespace tr
