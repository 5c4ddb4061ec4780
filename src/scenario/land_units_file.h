// "land_units.csv": every land unit of a scenario or saved game, on the map,
// aboard ships and in the reserve pool, one 33-column row each.
#pragma once

#include <string_view>

namespace tr {

class cGame;
struct sSavedTable;

// Replaces the game's land units on the map with the rows of the folder's
// file (rows of fewer than 33 fields are skipped); reserve and carried units
// stay in that list until the post-load passes move them. A missing file is
// fatal. Harbours are numbered after the highest number of the file, so
// every number stays unique.
void LoadLandUnits(cGame& game, std::u16string_view folder_template);

// Writes "<folder>\land_units.csv": the units on the map, then those aboard
// cargo and amphibious ships, then the land units of the reserve pool; false
// (logged) when it cannot be written.
bool WriteLandUnits(const cGame& game, std::u16string_view folder);

// What the writer writes in each field of the table (saved_fields.h).
extern const sSavedTable kLandUnitsFields;

}  // namespace tr
