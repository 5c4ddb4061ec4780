// "naval_units.csv": every ship of a scenario or saved game, in fleets and in
// the naval reserve. A ship has no hex: it stands where its fleet stands.
#pragma once

#include <string_view>

namespace tr {

class cGame;
struct sSavedTable;

// Replaces the game's ships with the rows of the folder's file (rows of fewer
// than 14 fields are skipped). Each ship keeps its fleet's number until the
// fleets are linked; reserve ships stay in the list until the post-load pass
// moves them. A missing file is fatal.
void LoadNavalUnits(cGame& game, std::u16string_view folder_template);

// Writes "<folder>\naval_units.csv": the ships in fleets, then those of the
// naval reserve with fleet and commander -1; false (logged) when it cannot be written.
bool WriteNavalUnits(const cGame& game, std::u16string_view folder);

// What the writer writes in each field of the table (saved_fields.h).
extern const sSavedTable kNavalUnitsFields;

}  // namespace tr
