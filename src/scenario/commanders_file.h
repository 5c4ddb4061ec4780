// "commanders.csv": the commanders, read before any unit so that units can
// name the commander whose headquarters they are.
#pragma once

#include <string_view>

namespace tr {

class cGame;
struct sSavedTable;

// Replaces the game's commanders with the rows of the folder's file (rows of
// fewer than 7 fields are skipped). A missing file is fatal.
void LoadCommanders(cGame& game, std::u16string_view folder_template);

// Writes "<folder>\commanders.csv"; false (logged) when it cannot be written.
bool WriteCommanders(const cGame& game, std::u16string_view folder);

// What the writer writes in each field of the table (saved_fields.h).
extern const sSavedTable kCommandersFields;

}  // namespace tr
