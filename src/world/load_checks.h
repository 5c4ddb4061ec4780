// The checks of a loaded world that no single reader can make: the links its
// tables draw between each other. A stranger's save can name any number in
// any row, and the rules take every one of these links to hold.
#pragma once

#include <cstdint>
#include <string_view>

namespace tr {

class cGame;
struct sCommander;

// The commander a unit's row names: none for a negative number. One the game
// does not hold is logged and none for a scenario; a saved game was written
// with every commander its units name, so there the load is refused, naming
// the file and line.
sCommander* CommanderOfUnitRow(cGame& game, std::int32_t commanderId, std::u16string_view path, int line);

// Every unit, aboard or in reserve too, belongs to a country of the game: one
// that does not is logged with its file and line and the game is not loaded
// (exit code 1). A commander leads units of his own country: a unit of
// another country that names him is logged with its file and line and left
// without a commander. A commander leads one unit, the first read that names
// him: any later one is logged and left without him. A commander who leads a
// unit is counted as assigned whatever state his row gives (logged). The game
// writes none of these three, so in a saved game each refuses the load,
// naming the file and line.
void CheckUnitLinks(cGame& game);

}  // namespace tr
