// "airrecon_units.csv": for each country, the hexes of the units its air
// reconnaissance has spotted. Optional: without it no country has spotted units.
#pragma once

#include <string_view>

namespace tr {

class cGame;
struct sSavedTable;

// Fills the countries' lists of spotted units with the units standing on the
// file's hexes; a missing file is logged and leaves every list empty. Lines
// before the first valid "Country" line, hexes without a unit and fields
// that are not numbers are ignored; in a saved game a country it does not
// hold, a hex before any Country line and a hex without a unit refuse the
// load (RefuseDamagedTable). A hex off the map is a spotted unit since taken
// off it, and stays unspotted.
void LoadAirReconUnits(cGame& game, std::u16string_view folder_template);

// Writes "<folder>\airrecon_units.csv"; false (logged) when it cannot be written.
bool WriteAirReconUnits(const cGame& game, std::u16string_view folder);

// What the writer writes in each field of the table (saved_fields.h).
extern const sSavedTable kAirReconFields;

}  // namespace tr
