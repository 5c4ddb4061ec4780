// The check after loading that every ship of the naval-unit list finds the
// fleet it names: the ship and the fleet are linked both ways.
#pragma once

namespace tr {

class cGame;

// A ship whose fleet does not exist ends the program (exit code 1); a fleet
// that no ship names is logged and removed.
void CheckFleetIntegrity(cGame& game);

}  // namespace tr
