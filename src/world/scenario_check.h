// The headless scenario checker's work: load a scenario or a saved game with
// whatever presentation is installed, print what it holds, and optionally
// save it under a new name. tools/scenario_checker.cpp is its program.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "foundation/scoped_string_base.h"
#include "scenario/scenario_info.h"

namespace tr {

class cGame;

// The options every headless driver shares: the game folder, the scenario or
// save to load, and the optional save under a new name at a fixed time.
struct sGameFolderArgs {
  std::string root;
  std::string scenario;
  std::string save;
  std::string saveAs;
  std::string clock;
  sLocalTime fixedClock;
};

// The game's texts for a headless run from a game folder: the root becomes the
// game root and its "lang_ENG.db" is read into a fresh string base, as the game
// reads it at start-up, so reports and names are made and saved as texts. The
// process's own string base and game root answer again at the end of the scope.
class cHeadlessTexts {
 public:
  explicit cHeadlessTexts(const std::string& root);
  // The game root goes back to where it was: a run inside another program
  // leaves it as it found it.
  ~cHeadlessTexts();
  cHeadlessTexts(const cHeadlessTexts&) = delete;
  cHeadlessTexts& operator=(const cHeadlessTexts&) = delete;

 private:
  std::filesystem::path previousRoot_;
  cScopedStringBase texts_;
};

// A headless tool keeps its log ("ConsoleOut.txt") in the game folder it is
// given with "--root", as the game keeps it in its own, whatever folder it
// was started from. Called before the first line is logged.
void LogIntoGameFolder(const std::vector<std::string>& args);

// Takes one "--key value" pair of the shared options; false for another key.
bool ParseGameFolderArg(const std::string& key, const std::string& value, sGameFolderArgs& args);
// A root, exactly one of scenario and save, and a clock that parses.
bool GameFolderArgsValid(sGameFolderArgs& args);
// Loads the named scenario or save from the root; the caller owns the game.
cGame* LoadGameFolder(const sGameFolderArgs& args);
// Saves under --save-as, when given, at the fixed clock when given; false and
// a line on errors when the save failed.
bool SaveGameAs(cGame& game, const sGameFolderArgs& args, std::ostream& errors);

// Arguments: --root <game folder>, then --scenario <name> or --save <name>,
// optionally --save-as <name> with --clock "YYYY-MM-DD hh:mm" to stamp the
// save with a fixed time instead of the local one. Prints the summary, then a
// "Warning: " line for each data problem found. Returns 0 when the game loaded (and saved),
// 1 when the save failed, 2 on bad arguments; bad data ends the program
// through FatalExit inside the load.
int RunScenarioCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& errors);

// "YYYY-MM-DD hh:mm" into a save time; false when the text is not one.
bool ParseSaveClock(const std::string& text, sLocalTime& time);

// The summary lines: date, turn, countries, cities, units, fleets, sea
// nodes, convoys, reports and events.
void PrintGameSummary(const cGame& game, std::ostream& out);

}  // namespace tr
