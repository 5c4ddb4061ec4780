// "cities.csv": the cities of a scenario or saved game, in list order.
#pragma once

#include <string_view>

#include "world/value_limits.h"

namespace tr {

class cGame;
struct sSavedTable;

// Replaces the game's cities with the rows of the folder's file (rows of
// fewer than 8 fields are skipped). A missing file is fatal.
void LoadCities(cGame& game, std::u16string_view folder_template);

// Writes "<folder>\cities.csv"; false (logged) when it cannot be written.
bool WriteCities(const cGame& game, std::u16string_view folder);

// What the writer writes in each field of the table (saved_fields.h).
extern const sSavedTable kCitiesFields;

}  // namespace tr
