// "airship_attacks.csv": for each country, the texts of the attack reports
// waiting for it as defender. The one UTF-16 table: little-endian, no
// byte-order mark, LF line ends. Optional.
#pragma once

#include <string_view>

namespace tr {

class cGame;
struct sSavedTable;

// Fills the countries' report lists from the folder's file; a missing file is
// logged and leaves every list empty. Lines with a country number that is
// not a country are ignored; in a saved game they refuse the load.
void LoadAirshipAttacks(cGame& game, std::u16string_view folder_template);

// Writes "<folder>\airship_attacks.csv"; false (logged) when it cannot be written.
bool WriteAirshipAttacks(const cGame& game, std::u16string_view folder);

// What the writer writes in each field of the table (saved_fields.h).
extern const sSavedTable kAirshipAttacksFields;

}  // namespace tr
