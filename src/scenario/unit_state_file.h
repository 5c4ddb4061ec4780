// "unit_state.csv" of a save: the values of the units and seas that the
// game works out as it plays and the unit tables do not hold. What the map
// shows (the units seen, the country the seas are seen for, each sea node's
// counters and marker ships) is the game's history of reveals, deployments
// and spotting rolls; a unit's combat value was worked out at the last end of
// impulse, from what held then. The computer reads both, so a loaded game
// without them would play on differently from the one that was saved. Which
// land units moved or were placed this turn is kept too: a save between two
// countries' turns is read on within the impulse.
#pragma once

#include <string_view>

namespace tr {

class cGame;
struct sSavedTable;

// Writes "<folder>\unit_state.csv"; false (logged) when it cannot be written.
bool WriteUnitState(const cGame& game, std::u16string_view folder);

// Sets the spotted flags, combat values and moved marks of the units and the
// sea nodes' view from the saved game's file. A save written before the file existed
// has none: the units keep what the unit readers gave them (logged). A file
// cut short or with a line that is not the game's is refused as any damaged
// saved table is, and so is a line naming a unit, ship, sea node or country
// the save does not hold, and a unit of the save without its line.
void LoadUnitState(cGame& game, std::u16string_view folderTemplate);

// What the writer writes in each field of the table (saved_fields.h).
extern const sSavedTable kUnitStateFields;

}  // namespace tr
