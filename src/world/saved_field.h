// Fields of a saved game's files read as the game writes them.
#pragma once

#include <string_view>

namespace tr {

// Refuses (RefuseDamagedTable) a field (numbered from 1) of a saved table
// with a blank before or after its value: the game writes none around a
// number, and " 7" would read as 7.
void RefuseBlankAroundSavedField(std::string_view text, int field, std::u16string_view path, int line);

// Refuses a saved table's second line for one key, naming both lines: the
// game writes one line per key, and a second would win over, or be lost
// beside, the first.
[[noreturn]] void RefuseRepeatedSavedKey(std::u16string_view path, int line, std::u16string_view key, int firstLine);

}  // namespace tr
