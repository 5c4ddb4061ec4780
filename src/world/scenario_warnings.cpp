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

void PortsWithoutSeaZone(const cGame& game, std::vector<std::string>& found) {
  for (const auto& city : game.cities) {
    if (city->type != kCitySupplyPort && city->type != kCityPort) continue;
    if (!game.map->IsInside(city->x, city->y) || game.map->GetHex(city->x, city->y)->seaZone != 0) continue;
    found.push_back("port city \"" + Utf16ToUtf8(city->name) + "\" at " + Place(city->x, city->y) +
                    " lies on a hex of sea zone 0: no fleet can sail to it");
  }
}

void AirRangesBelowSafety(const cGame& game, std::vector<std::string>& found) {
  const int safety = game.constants.AirBaseSafetyDistance();
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

// The price of an air type's strategic move is read on past the land types'
// line, out of lines that other rules read too.
void StrategicMovesNobodyCanPay(const cGame& game, std::vector<std::string>& found) {
  int most = 0;
  for (const auto& country : game.countries) {
    most = std::max({most, country->strategicMovementPoints, country->strategicMovementMax});
  }
  // A scenario that gives nobody strategic movement points does without the move.
  if (most == 0) return;
  const sScenarioConstants& k = game.constants;
  const auto check = [&](int type, const std::string& where) {
    const int price = k.StrategicMoveCost(type);
    if (price <= most) return;
    found.push_back("unit type " + std::to_string(type) + " pays " + std::to_string(price) +
                    " strategic movement points for a strategic move (consts.csv " + where +
                    "), more than any country has (" + std::to_string(most) + "): it can never move strategically");
  };
  for (int type = 0; type < kLandTypeCount; ++type) check(type, "line 68 field " + std::to_string(type + 1));
  check(kFighter, "line 70 field 7");
  check(kTacticalBomber, "line 71 field 1");
  check(kStrategicBomber, "line 72 field 1");
}

}  // namespace

std::vector<std::string> FindScenarioWarnings(const cGame& game) {
  std::vector<std::string> found;
  if (!game.map) return found;
  PortsWithoutSeaZone(game, found);
  AirRangesBelowSafety(game, found);
  StrategicMovesNobodyCanPay(game, found);
  return found;
}

}  // namespace tr
