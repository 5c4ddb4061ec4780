// "spotted.csv" of a save: what the map shows at the moment of the save. The
// units seen, the country the seas are seen for and each sea node's counters
// and marker ships are the game's history (reveals, deployments, the rolls of
// naval spotting) and cannot be worked out again from the units alone; a
// computer country reads them, so a loaded game without them would play on
// differently from the one that was saved.
#pragma once

#include <string_view>

namespace tr {

class cGame;

// Writes "<folder>\spotted.csv"; false (logged) when it cannot be written.
bool WriteSpotted(const cGame& game, std::u16string_view folder);

// Sets the spotted flags of every unit and the sea nodes' view from the
// saved game's file. A save written before the file existed has none: the
// flags stay as the unit readers left them (logged). A file cut short or with
// a line that is not the game's is refused as any damaged saved table is;
// a unit or node the save does not hold is logged and passed over.
void LoadSpotted(cGame& game, std::u16string_view folderTemplate);

}  // namespace tr
