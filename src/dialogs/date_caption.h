// The date caption over the minimap: the game date and the turn count.
#pragma once

#include <string>

namespace tr {

class cGame;
class cMinimapPanel;

// The date and turn text: in the first turn, with a start day of 1 or more,
// that day with the start month's name and the start year; otherwise the
// game date. Inside the caption "%s_(turn_%i/%i)" with the turn and the
// turn plus the turns left.
std::u16string DateCaptionText(const cGame& game);

// Writes the caption of the running game into the panel's static 311;
// without a game or a panel nothing happens.
void UpdateDateCaption(cMinimapPanel* panel);

}  // namespace tr
