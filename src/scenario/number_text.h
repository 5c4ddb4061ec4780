// Numbers in the scenario tables are read the way the tables were always read:
// leading blanks skipped, then as much of a number as the text holds, and 0
// when there is none. The conversions never depend on the process locale.
#pragma once

#include <cstdint>
#include <string_view>

namespace tr {

// Decimal integer with optional sign; saturates at the 32-bit limits.
std::int32_t ParseLeadingInt(std::string_view text);
std::int32_t ParseLeadingInt(std::u16string_view text);

// Decimal number with optional sign, fraction and exponent ('.' as the point).
double ParseLeadingDouble(std::string_view text);
double ParseLeadingDouble(std::u16string_view text);

// The double as a float, held to the float range (a conversion beyond it is undefined).
float ClampToFloat(double value);

// ParseLeadingDouble narrowed with ClampToFloat.
float ParseLeadingFloat(std::string_view text);
float ParseLeadingFloat(std::u16string_view text);

// Hexadecimal digits (an optional "0x" prefix skipped), as "%X" writes them.
std::uint32_t ParseLeadingHex(std::u16string_view text);

}  // namespace tr
