// Whether a play-by-e-mail game may write its turn into "data\pbem\<name>".
// The folder holds the game's latest turn on this machine: the one this
// machine handed over, or the other player's answer. A game may write there
// only when the folder is its own game's, and only from a later turn than
// the one the folder holds, so no save of a turn already handed over (the
// autosave of the turn's end, a save made during the turn) hands it over
// again, and no game whose name merely looks like another's replaces that
// game's turn.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tr {

class cGame;

// Where a game stands: the impulses played and the countries that have ended
// their turn in the impulse. It only grows while the game is played.
struct sPbemTurnPosition {
  std::int32_t turn = 0;
  std::int32_t finished = 0;
  auto operator<=>(const sPbemTurnPosition&) const = default;
};

sPbemTurnPosition PbemTurnPosition(const cGame& game);

// Where the turn in the game's folder stands ("Save/Turn" of its "Info.ini"
// and the finished countries of its "countries.csv"); none when the folder
// holds no turn.
std::optional<sPbemTurnPosition> PbemFolderTurnPosition(std::u16string_view gameName);

// Whether the turn in the game's folder still waits on a player other than
// the one given: some active human country of another player has not ended
// its turn there. None when the folder holds no readable countries table.
std::optional<bool> PbemFolderWaitsOnOthers(std::u16string_view gameName, std::int32_t player);

// Why the folder of the game's name is not the game's own, ready for a
// message; empty when it is. Another game's folder is one whose name differs
// only in case (the paths would find it in place of the game's own), or one
// whose turn names another game, another scenario or other players.
std::u16string PbemFolderOwnerFault(const cGame& game);

// Why the game's turn may not be written into its folder now, ready for a
// message; empty when it may. A game handing its turn over (its ending
// country already marked) must stand beyond the folder's turn; a game about
// to start may stand at it.
std::u16string PbemTurnWriteFault(const cGame& game, bool handingOver);

}  // namespace tr
