// The check after loading that every ship of the naval-unit list finds the
// fleet it names: the ship and the fleet are linked both ways.
#pragma once

namespace tr {

class cGame;

// A ship whose fleet does not exist ends the program (exit code 1); a fleet
// that no ship names is logged and removed, in a saved game refused.
void CheckFleetIntegrity(cGame& game);

// After the sea nodes are loaded: a fleet stands at a sea node that exists,
// belongs to a country that exists, and any destination it was ordered to is
// a sea node. A fleet that breaks one is logged with its file, line and value
// and the game is not loaded (exit code 1).
void CheckFleetReferences(cGame& game);

}  // namespace tr
