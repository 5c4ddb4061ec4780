// Data problems a scenario's files can hold that load without error but make
// the game go wrong: the scenario checker prints one line for each, so an
// author meets them before playing.
#pragma once

#include <string>
#include <vector>

namespace tr {

class cGame;

// One line per problem, in this order: port cities on a hex of sea zone 0
// (no fleet can reach them); air unit types whose range is below the
// computer's air base safety distance (the computer never bases them within
// reach of a target); unit types whose strategic move no country can pay. A
// land unit saved on a sea hex is mended by the load. The game must be the
// loaded one (gGame).
std::vector<std::string> FindScenarioWarnings(const cGame& game);

}  // namespace tr
