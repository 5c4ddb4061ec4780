// "unit_names.csv": each country's name for every unit type. The table is read
// into the countries and kept as the raw file, which a save writes back byte
// for byte.
#pragma once

#include <string_view>

namespace tr {

class cGame;
struct sSavedTable;

// Sets the countries' unit-type names from the folder's file and keeps its
// bytes in the game. Read after the countries; a missing file is fatal.
void LoadUnitNames(cGame& game, std::u16string_view folder_template);

// Writes the kept bytes to "<folder>\unit_names.csv"; false (logged) on failure.
bool WriteUnitNames(const cGame& game, std::u16string_view folder);

// What the writer writes in each field of the table (saved_fields.h).
extern const sSavedTable kUnitNamesFields;

}  // namespace tr
