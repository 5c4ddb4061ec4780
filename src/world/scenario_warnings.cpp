#include "world/scenario_warnings.h"

#include <algorithm>
#include <map>

#include "foundation/text.h"
#include "world/gra.h"

namespace tr {
namespace {

std::string Place(int x, int y) {
  std::string text = "(";
  text += std::to_string(x);
  text += ',';
  text += std::to_string(y);
  text += ')';
  return text;
}

// The terrains the land move costs name; every other one, sea included,
// costs the default step.
bool HasOwnMoveCost(const sHex& hex) { return hex.terrain >= 1 && hex.terrain <= 7; }

void PortsWithoutSeaZone(const cGame& game, std::vector<std::string>& found) {
  for (const auto& city : game.cities) {
    if (city->type != kCitySupplyPort && city->type != kCityPort) continue;
    if (!game.map->IsInside(city->x, city->y) || game.map->GetHex(city->x, city->y)->seaZone != 0) continue;
    found.push_back("port city \"" + Utf16ToUtf8(city->name) + "\" at " + Place(city->x, city->y) +
                    " lies on a hex of sea zone 0: no fleet can sail to it");
  }
}

void LandStepOntoSea(const cGame& game, std::vector<std::string>& found) {
  const auto& hexes = game.map->Hexes();
  if (std::all_of(hexes.begin(), hexes.end(), HasOwnMoveCost)) return;
  const sScenarioConstants& k = game.constants;
  // Foot soldiers always have one point to step with.
  int most = 1;
  for (int doctrine = 0; doctrine <= 5; ++doctrine) {
    for (int type = 0; type <= 6; ++type) most = std::max(most, k.LandActionPoints(doctrine, type));
  }
  // A step never costs less than one point.
  const int step = std::max(k.MoveCostDefault(kCategoryLand), 1);
  if (step > most) return;
  found.push_back("consts.csv line 15 field 9 gives land units a default step cost of " +
                  std::to_string(k.MoveCostDefault(kCategoryLand)) +
                  ", within the most action points a land unit can have (" + std::to_string(most) +
                  "): land units can walk onto sea hexes");
}

void AirRangesBelowSafety(const cGame& game, std::vector<std::string>& found) {
  // The computer keeps its air units this many hexes from enemy land units.
  const int safety = game.constants.LandActionPoints(2, 4);
  std::map<int, int> shortest;  // by air type, over the units of the scenario
  const auto note = [&shortest](const cJednostkaLotnicza& unit) {
    const int range = unit.GetRange();
    const auto [at, added] = shortest.try_emplace(unit.type, range);
    if (!added) at->second = std::min(at->second, range);
  };
  for (const auto& unit : game.airUnits) note(*unit);
  for (const auto& unit : game.reservePool) {
    if (const auto* air = dynamic_cast<const cJednostkaLotnicza*>(unit.get())) note(*air);
  }
  for (const auto& [type, range] : shortest) {
    if (range >= safety) continue;
    const char* kind = type == kFighter ? "fighters" : type == kTacticalBomber ? "tactical bombers"
                       : type == kStrategicBomber ? "strategic bombers" : "air units";
    found.push_back("air unit type " + std::to_string(type) + " (" + kind + ") has a range of " +
                    std::to_string(range) + ", below the safety distance of " + std::to_string(safety) +
                    " (consts.csv line 4 field 6) the computer keeps its air bases from the enemy: its units "
                    "never get a target in range");
  }
}

}  // namespace

std::vector<std::string> FindScenarioWarnings(const cGame& game) {
  std::vector<std::string> found;
  if (!game.map) return found;
  PortsWithoutSeaZone(game, found);
  LandStepOntoSea(game, found);
  AirRangesBelowSafety(game, found);
  return found;
}

}  // namespace tr
