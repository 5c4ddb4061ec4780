#include "world/scenario_check.h"

#include <cstdio>
#include <memory>

#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/scenario_paths.h"
#include "turn/game_steps.h"
#include "world/game_start.h"
#include "world/gra.h"

namespace tr {

namespace {

struct sCheckArgs {
  std::string root;
  std::string scenario;
  std::string save;
  std::string saveAs;
  std::string clock;
};

bool ParseArgs(const std::vector<std::string>& args, sCheckArgs& parsed) {
  for (std::size_t i = 0; i + 1 < args.size(); i += 2) {
    const std::string& key = args[i];
    const std::string& value = args[i + 1];
    if (key == "--root") {
      parsed.root = value;
    } else if (key == "--scenario") {
      parsed.scenario = value;
    } else if (key == "--save") {
      parsed.save = value;
    } else if (key == "--save-as") {
      parsed.saveAs = value;
    } else if (key == "--clock") {
      parsed.clock = value;
    } else {
      return false;
    }
  }
  return args.size() % 2 == 0 && !parsed.root.empty() && (parsed.scenario.empty() != parsed.save.empty());
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
  sCheckArgs parsed;
  sLocalTime clock;
  if (!ParseArgs(args, parsed) || (!parsed.clock.empty() && !ParseSaveClock(parsed.clock, clock))) {
    errors << "usage: scenario_checker --root <game folder> (--scenario <name> | --save <name>) "
              "[--save-as <name> [--clock \"YYYY-MM-DD hh:mm\"]]\n";
    return 2;
  }
  SetGameRoot(parsed.root);
  const bool saved = !parsed.save.empty();
  const std::u16string name = Utf8ToUtf16(saved ? parsed.save : parsed.scenario);
  const std::u16string folder = MakeFolderTemplate(saved ? kSaveFolderTemplate : kScenarioFolderTemplate, name);
  // A new game runs its first short end of impulse, supply included, as in the game.
  InstallGameSteps();
  struct sStepsScope {
    ~sStepsScope() { UninstallGameSteps(); }
  } steps;
  sGameOwner owner;
  owner.game = LoadNewScenario(folder, saved ? 1 : 0);
  PrintGameSummary(*owner.game, out);
  if (!parsed.saveAs.empty()) {
    if (!parsed.clock.empty()) owner.game->saveContext->clock = [clock] { return clock; };
    if (!owner.game->saveContext->SaveGame(Utf8ToUtf16(parsed.saveAs), true)) {
      errors << "the game could not be saved as " << parsed.saveAs << '\n';
      return 1;
    }
    out << "Saved as: " << parsed.saveAs << '\n';
  }
  return 0;
}

}  // namespace tr
