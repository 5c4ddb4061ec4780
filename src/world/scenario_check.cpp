#include "world/scenario_check.h"

#include <cstdio>
#include <memory>

#include "foundation/console_log.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/save_game.h"
#include "scenario/scenario_paths.h"
#include "turn/game_steps.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/scenario_warnings.h"

namespace tr {

namespace {

bool ParseArgs(const std::vector<std::string>& args, sGameFolderArgs& parsed) {
  if (args.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < args.size(); i += 2) {
    if (!ParseGameFolderArg(args[i], args[i + 1], parsed)) return false;
  }
  return GameFolderArgsValid(parsed);
}

std::size_t CountReserve(const cGame& game, int category) {
  std::size_t count = 0;
  for (const auto& unit : game.reservePool) count += unit->category == category ? 1 : 0;
  return count;
}

// The game made by the load is freed with the checker's run, also when the
// printing or the save throws.
struct sGameOwner {
  ~sGameOwner() {
    if (gGame == game) gGame = nullptr;
    delete game;
  }
  cGame* game = nullptr;
};

}  // namespace

// A fixed save time makes two saves of one game compare byte for byte.
bool ParseSaveClock(const std::string& text, sLocalTime& time) {
  char tail = 0;
  return std::sscanf(text.c_str(), "%d-%d-%d %d:%d%c", &time.year, &time.month, &time.day, &time.hour,
                     &time.minute, &tail) == 5;
}

cHeadlessTexts::cHeadlessTexts(const std::string& root) : previousRoot_(GameRoot()) {
  SetGameRoot(root);
  StringBase().Load("lang_LANGID.db", true);
}

cHeadlessTexts::~cHeadlessTexts() { SetGameRoot(previousRoot_); }

void LogIntoGameFolder(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == "--root" && !args[i + 1].empty()) {
      ConsoleLog().Reopen(std::filesystem::path(args[i + 1]) / "ConsoleOut.txt");
      return;
    }
  }
}

bool ParseGameFolderArg(const std::string& key, const std::string& value, sGameFolderArgs& args) {
  if (key == "--root") {
    args.root = value;
  } else if (key == "--scenario") {
    args.scenario = value;
  } else if (key == "--save") {
    args.save = value;
  } else if (key == "--save-as") {
    args.saveAs = value;
  } else if (key == "--clock") {
    args.clock = value;
  } else {
    return false;
  }
  return true;
}

bool GameFolderArgsValid(sGameFolderArgs& args) {
  return !args.root.empty() && args.scenario.empty() != args.save.empty() &&
         (args.clock.empty() || ParseSaveClock(args.clock, args.fixedClock));
}

cGame* LoadGameFolder(const sGameFolderArgs& args) {
  SetGameRoot(args.root);
  const bool saved = !args.save.empty();
  const std::u16string name = Utf8ToUtf16(saved ? args.save : args.scenario);
  return LoadNewScenario(MakeFolderTemplate(saved ? kSaveFolderTemplate : kScenarioFolderTemplate, name),
                         saved ? 1 : 0);
}

bool SaveGameAs(cGame& game, const sGameFolderArgs& args, std::ostream& errors) {
  if (args.saveAs.empty()) return true;
  if (!args.clock.empty()) game.saveContext->clock = [clock = args.fixedClock] { return clock; };
  const std::u16string name = Utf8ToUtf16(args.saveAs);
  if (game.saveContext->SaveGame(name, true)) return true;
  errors << "the game could not be saved as " << args.saveAs;
  if (SaveFolderPath(name).empty()) errors << ": " << Utf16ToUtf8(SaveNameRule());
  errors << '\n';
  return false;
}

void PrintGameSummary(const cGame& game, std::ostream& out) {
  std::size_t convoys = 0;
  for (const auto& list : game.convoys.convoys) convoys += list.size();
  out << "Scenario: " << Utf16ToUtf8(game.scenarioName) << '\n'
      << "Date: impulse " << game.date.impulse << ", month " << game.date.month << ", year " << game.date.year << '\n'
      << "Turn: " << game.turn << " (" << game.turnsLeft << " left)\n"
      << "Countries: " << game.countries.size() << '\n'
      << "Cities: " << game.cities.size() << '\n'
      << "Land units: " << game.landUnits.size() << " on the map, "
      << game.aboardUnitsA.size() + game.aboardUnitsB.size() << " aboard, " << CountReserve(game, kCategoryLand)
      << " in reserve\n"
      << "Air units: " << game.airUnits.size() << " on the map, " << CountReserve(game, kCategoryAir)
      << " in reserve\n"
      << "Naval units: " << game.navalUnits.size() << " in fleets, " << game.navalReserve.size() << " in reserve\n"
      << "Fleets: " << game.fleets.size() << '\n'
      << "Sea nodes: " << game.seaGraph.NodeCount() << '\n'
      << "Convoys: " << convoys << '\n'
      << "Reports: " << game.reports.Reports().size() << '\n'
      << "Events: " << game.events->events.size() << " (" << game.autoEvents.pairs.size() << " automatic)\n";
}

int RunScenarioCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& errors) {
  sGameFolderArgs parsed;
  if (!ParseArgs(args, parsed)) {
    errors << "usage: scenario_checker --root <game folder> (--scenario <name> | --save <name>) "
              "[--save-as <name> [--clock \"YYYY-MM-DD hh:mm\"]]\n";
    return 2;
  }
  // A new game runs its first short end of impulse, supply included, as in the game.
  InstallGameSteps();
  struct sStepsScope {
    ~sStepsScope() { UninstallGameSteps(); }
  } steps;
  const cHeadlessTexts texts(parsed.root);
  sGameOwner owner;
  owner.game = LoadGameFolder(parsed);
  PrintGameSummary(*owner.game, out);
  for (const std::string& warning : FindScenarioWarnings(*owner.game)) {
    LogLine(u"Warning: " + Utf8ToUtf16(warning));
    out << "Warning: " << warning << '\n';
  }
  if (!SaveGameAs(*owner.game, parsed, errors)) return 1;
  if (!parsed.saveAs.empty()) out << "Saved as: " << parsed.saveAs << '\n';
  return 0;
}

}  // namespace tr
