// Checks of the unit files' values that index the tables of the scenario
// constants: a value out of its range is logged with the file and line and
// replaced by the value a new unit has.
#pragma once

#include <cstdint>
#include <string_view>

namespace tr {

// Levels run 1 to 5; anything else reads as 1.
std::int32_t CheckedLevel(std::int32_t level, std::u16string_view path, int line);
// Supply levels run 0 to 50; anything else reads as 0.
std::int32_t CheckedSupply(std::int32_t supply, std::u16string_view path, int line);
// Whether a type code is one of the kind's codes (land 0-6 and 60, air 20-22, naval 40-45).
bool IsKnownTypeOf(int category, int type);

}  // namespace tr
