// "countries.csv": every country of a scenario or saved game, one row per
// country in country-number order.
#pragma once

#include <string_view>

#include "world/value_limits.h"

namespace tr {

class cGame;
struct sSavedTable;

// Replaces the game's countries with the rows of the folder's file. A missing
// file is fatal; a row of fewer than 69 fields is logged and skipped.
void LoadCountries(cGame& game, std::u16string_view folder_template);

// Writes "<folder>\countries.csv"; false (logged) when it cannot be written.
bool WriteCountries(const cGame& game, std::u16string_view folder);

// What the writer writes in each field of the table (saved_fields.h).
extern const sSavedTable kCountriesFields;

}  // namespace tr
