// The human player's end of turn on the main thread: the check of unit
// positions, the autosave, the hand-over of a play-by-e-mail turn, and the
// turn given to the next country, a human one on this screen or a computer
// one to the worker thread.
#pragma once

namespace tr {

class cGame;

// Runs the whole end of turn of the current country. Without a next country
// to act the program ends with code 1.
void EndHumanTurn();

// Saves the running game silently under the text of "autosave"; false when
// the save failed (the previous autosave is kept).
bool Autosave();

// Logs, and shows in a warning box, every unit standing on a sea hex and
// every unit whose own position is not the hex it stands on.
void CheckUnitPositions(const cGame& game);

}  // namespace tr
