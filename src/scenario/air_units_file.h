// "air_units.csv": every air unit of a scenario or saved game, on the map and
// in the reserve pool. An air unit is in the reserve exactly when its hex is
// (-1, -1); rows that break that rule are refused and shown to the player.
#pragma once

#include <string_view>

namespace tr {

class cGame;
struct sSavedTable;

// Replaces the game's air units with the rows of the folder's file (rows of
// fewer than 19 fields are skipped); reserve units stay in the list until the
// post-load pass moves them. A missing file is fatal. Refused rows are logged
// and listed together in one message box after the whole file is read.
void LoadAirUnits(cGame& game, std::u16string_view folder_template);

// Writes "<folder>\air_units.csv": the units on the map, then the air units of
// the reserve pool; false (logged) when it cannot be written.
bool WriteAirUnits(const cGame& game, std::u16string_view folder);

// What the writer writes in each field of the table (saved_fields.h).
extern const sSavedTable kAirUnitsFields;

}  // namespace tr
