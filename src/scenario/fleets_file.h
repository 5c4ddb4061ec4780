// "fleets.csv": the fleets, read before the ships, which name their fleet by
// number. The ship lists are not in the file: each ship names its fleet.
#pragma once

#include <string_view>

namespace tr {

class cGame;
struct sSavedTable;

// Replaces the game's fleets with the rows of the folder's file (rows of
// fewer than 11 fields are skipped). A missing file is fatal.
void LoadFleets(cGame& game, std::u16string_view folder_template);

// Writes "<folder>\fleets.csv"; false (logged) when it cannot be written.
bool WriteFleets(const cGame& game, std::u16string_view folder);

// What the writer writes in each field of the table (saved_fields.h).
extern const sSavedTable kFleetsFields;

}  // namespace tr
