// The computer opponent puts its whole reserve on the map in the turn it
// waits there: land units to the weakest front city, air units to the most
// productive city away from the fronts, ships as new fleets in its ports.
// A unit that finds no place waits in the reserve for the next turn.
#include <algorithm>
#include <vector>

#include "ai/ai_pacing.h"
#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "turn/sea_graph.h"
#include "units/air_support.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/city_rules.h"
#include "world/gra.h"
#include "world/map.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "ai_deployment";

// The cities where the country may put a land or air unit now.
std::vector<cCity*> LandDeploymentCities(const cGame& game, const cCountry& country) {
  std::vector<cCity*> found;
  const cMap& map = *game.map;
  for (const auto& city : game.cities) {
    if (!CanSupplyDeployment(*city, country)) continue;
    const sHex* hex = map.GetHex(city->x, city->y);
    bool room = hex->unit == nullptr;
    for (int d = 0; d < kDirectionCount && !room; ++d) {
      const sHex* next = map.GetNeighbour(city->x, city->y, d);
      room = next && !next->unit && next->controller == country.id;
    }
    if (room) found.push_back(city.get());
  }
  return found;
}

// The first of the country's reserve units of one kind, in pool order; null
// when there is none.
cJednostka* FirstReserveUnit(const cGame& game, const cCountry& country, bool land) {
  for (const auto& unit : game.reservePool) {
    if (unit->owner == country.id && (unit->category == kCategoryLand) == land) return unit.get();
  }
  return nullptr;
}

// The city of highest production, compared with the best so far truncated:
// a later city wins when it has more than that whole number.
cCity* MostProductive(const std::vector<cCity*>& cities, bool (*take)(const cCountryAI&, const cCity&),
                      const cCountryAI& ai) {
  cCity* best = nullptr;
  int most = -1;
  for (cCity* city : cities) {
    if (take && !take(ai, *city)) continue;
    if (city->productionPoints > static_cast<float>(most)) {
      best = city;
      most = static_cast<int>(city->productionPoints);
    }
  }
  return best;
}

bool OffTheFronts(const cCountryAI& ai, const cCity& city) { return !ai.IsFrontCity(city); }

}  // namespace

cCity* cCountryAI::ChooseLandDeployCity(const std::vector<cCity*>& cities) const {
  cCity* weakest = nullptr;
  int weakestStrength = 0;
  for (cCity* city : cities) {
    int strength = 0;
    if (!GetFrontCityStrength(*city, strength)) continue;
    if (!weakest || strength < weakestStrength) {
      weakest = city;
      weakestStrength = strength;
    }
  }
  return weakest ? weakest : MostProductive(cities, nullptr, *this);
}

cCity* cCountryAI::ChooseAirDeployCity(const std::vector<cCity*>& cities) const {
  cCity* best = MostProductive(cities, &OffTheFronts, *this);
  return best ? best : MostProductive(cities, nullptr, *this);
}

namespace {

// A placed unit: seen only where the viewing side's units see it, and shown
// when the computer's moves are followed.
void ShowDeployment(cGame& game, cJednostka& unit, bool land) {
  if (land) unit.spotted = 0;
  unit.UpdateSpottedFlag(game.viewingCountry);
  if (ShowsComputerMove(unit)) {
    unit.spotted = 0;
    CenterAtHex(*game.map, unit.x, unit.y, true);
    SleepAiDelay(kDelayAIDeployBefore, kThisFile, __LINE__);
    unit.spotted = 1;
    SleepAiDelay(kDelayAIDeployAfter, kThisFile, __LINE__);
  }
}

// Places the reserve units of one kind one by one, the cities chosen anew
// before each. A city where the deployment refuses a unit (it logs why) is
// left out for the rest of the step, so the units go to the next city rather
// than all waiting, and the step ends once every city has been left out.
void DeployReserve(cCountryAI& ai, bool land) {
  cGame& game = *gGame;
  const cCountry& country = *ai.country;
  std::vector<const cCity*> refused;
  while (true) {
    std::vector<cCity*> cities = LandDeploymentCities(game, country);
    std::erase_if(cities,
                  [&](const cCity* c) { return std::find(refused.begin(), refused.end(), c) != refused.end(); });
    cJednostka* unit = FirstReserveUnit(game, country, land);
    if (cities.empty() || !unit) return;
    cCity* city = land ? ai.ChooseLandDeployCity(cities) : ai.ChooseAirDeployCity(cities);
    if (!city) return;
    const sPoint place = FindFreeHexForCountry(*city, country);
    if (!unit->DeployNearCity(place.x, place.y)) {
      refused.push_back(city);
      continue;
    }
    ShowDeployment(game, *unit, land);
  }
}

}  // namespace

void cCountryAI::DeployLandUnits() {
  AiPhaseScope scope("DeployLandUnits");
  if (!gGame || !gGame->map || !country) return;
  DeployReserve(*this, true);
}

void cCountryAI::DeployAirUnits() {
  AiPhaseScope scope("DeployAirUnits");
  if (!gGame || !gGame->map || !country) return;
  DeployReserve(*this, false);
}

void cCountryAI::DeployNavalUnits() {
  AiPhaseScope scope("DeployNavalUnits");
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  const cMap& map = *game->map;
  while (true) {
    cCity* port = nullptr;
    int nodeId = -1;
    for (const sWezelGrafuMorz& node : game->seaGraph.nodes) {
      if (!node.IsPort() || !map.IsInside(node.x, node.y)) continue;
      const sHex* hex = map.GetHex(node.x, node.y);
      if (hex->controller != country->id || !hex->city) continue;
      port = hex->city;
      nodeId = node.id;
      break;
    }
    cJednostkaMorska* ship = nullptr;
    for (const auto& each : game->navalReserve) {
      if (each->owner == country->id) {
        ship = each.get();
        break;
      }
    }
    if (!port || !ship) return;
    LogFormat(u"%s is deploying %s in %s", country->name, ship->name, port->name);
    ship->FormNewFleet(nodeId);
    if (!ship->fleet) {
      LogFormat(u"%s stays in the naval reserve: no fleet took it", ship->name);
      return;
    }
    LogLine(u"Deployment succesful.");
  }
}

}  // namespace tr
