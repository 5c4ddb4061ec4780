// From the scenario menu to a running game: LoadNewScenario builds the game
// from a scenario or save folder and finishes the load; cGame::StartGame
// (game_start.cpp) later hands the first turn over.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

namespace tr {

class cGame;

// Builds the game of the folder template (one "%s" where a file name goes)
// and makes it gGame; loadedGame is 1 for a saved game, 0 for a new one.
// Ends in state 1 with the scenario settings menu current. The game belongs
// to whoever destroys gGame.
cGame* LoadNewScenario(std::u16string_view folderTemplate, std::int32_t loadedGame);

// The end of turn asked for while a turn is being handed over; the frame
// runs it once it can.
extern std::atomic<bool> gDeferredEndTurnRequest;

}  // namespace tr
