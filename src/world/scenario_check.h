// The headless scenario checker's work: load a scenario or a saved game with
// whatever presentation is installed, print what it holds, and optionally
// save it under a new name. tools/scenario_checker.cpp is its program.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tr {

class cGame;
struct sLocalTime;

// Arguments: --root <game folder>, then --scenario <name> or --save <name>,
// optionally --save-as <name> with --clock "YYYY-MM-DD hh:mm" to stamp the
// save with a fixed time instead of the local one. Returns 0 when the game loaded (and saved),
// 1 when the save failed, 2 on bad arguments; bad data ends the program
// through FatalExit inside the load.
int RunScenarioCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& errors);

// "YYYY-MM-DD hh:mm" into a save time; false when the text is not one.
bool ParseSaveClock(const std::string& text, sLocalTime& time);

// The summary lines: date, turn, countries, cities, units, fleets, sea
// nodes, convoys, reports and events.
void PrintGameSummary(const cGame& game, std::ostream& out);

}  // namespace tr
