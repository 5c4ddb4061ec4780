// Planning a sea invasion: the computer picks one enemy port, sends its
// strongest suitable land units to its own ports, and loads them onto
// amphibious fleets once every unit is in place and the invasion points
// suffice.
#include <algorithm>
#include <limits>
#include <list>
#include <vector>

#include "ai/ai_order.h"
#include "ai/ai_pacing.h"
#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "ai/fleet_mission.h"
#include "foundation/console_log.h"
#include "turn/fleet.h"
#include "units/air_support.h"
#include "units/jednostka_ladowa.h"
#include "world/cities_diagram.h"
#include "world/city_rules.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "ai_invasion";
// The invasion force is this many times the target's defender.
constexpr float kStrengthMultiple = 12.0f;
constexpr float kEmptyTargetStrength = 0.1f;

bool AreEnemies(int a, int b) { return a >= 1 && b >= 1 && a != b && gGame->relations.IsAtWar(a, b); }

cCity* CityAt(const cGame& game, int x, int y) {
  return game.map && game.map->IsInside(x, y) ? game.map->GetHex(x, y)->city : nullptr;
}

// The effective strength of the land or air unit on the hex; 0 when none.
float StrengthOn(const sHex& hex) {
  const auto* unit = dynamic_cast<const cJednostka*>(hex.unit);
  return unit ? unit->GetEffectiveStrength() : 0.0f;
}

// The port a unit walking to its embarkation port is bound for.
sPoint PortHexOf(const cJednostkaLadowa& unit) {
  if (unit.aiUltimateTargetX != -1) return {unit.aiUltimateTargetX, unit.aiUltimateTargetY};
  return {unit.aiTargetX, unit.aiTargetY};
}

// A unit already in the city's area needs no route to it.
bool HasCityRoute(cGame& game, cCity& from, cCity& to, int countryId) {
  if (&from == &to) return true;
  std::list<cCity*> path;
  return game.citiesDiagram.FindPath(&from, &to, countryId, path);
}

}  // namespace

void cCountryAI::FilterEnemyCities(std::vector<sPoint>& cities, const cCountry& of) {
  cGame* game = gGame;
  if (!game) return;
  std::erase_if(cities, [&](const sPoint& at) {
    const cCity* city = CityAt(*game, at.x, at.y);
    return !city || !AreEnemies(of.id, GetControllerId(*city));
  });
}

void cCountryAI::CollectEmbarkationPorts(const cCountry& of, const cCity& target, std::list<cCity*>& out) const {
  out.clear();
  cGame* game = gGame;
  if (!game) return;
  const int targetNode = game->seaGraph.FindNodeIdByHex(target.x, target.y);
  if (targetNode < 1) return;
  for (const auto& city : game->cities) {
    if (!IsPort(*city)) continue;
    const int controller = GetControllerId(*city);
    if (controller != of.id && (controller < 1 || !of.IsAlly(controller))) continue;
    const int node = game->seaGraph.FindNodeIdByHex(city->x, city->y);
    std::list<std::int32_t> path;
    if (node >= 1 && game->seaGraph.FindPath(targetNode, node, of.id, true, path)) out.push_back(city.get());
  }
}

float cCountryAI::ScoreInvasionTarget(const cCity& city) const {
  cGame* game = gGame;
  const cMap& map = *game->map;
  float score = 0.0f;
  LogLine(u"Checking bonus for unit");
  score -= StrengthOn(*map.GetHex(city.x, city.y));
  LogLine(u"Checking bonus for sea connection");
  if (game->citiesDiagram.HasAlliedNeighbourOfKind1(city.diagramNode, country->id)) score += 10.0f;
  for (int d = 0; d < kDirectionCount; ++d) {
    const sHex* next = map.GetNeighbour(city.x, city.y, d);
    if (!next) continue;
    LogLine(u"Checking bonus for empty hexes");
    if (next->IsLand() && !next->unit) score += 2.0f;
    LogLine(u"Checking bonus for nearby units");
    if (next->unit && next->unit->category == kCategoryLand) score -= StrengthOn(*next) / 2.0f;
  }
  LogLine(u"Getting node");
  if (const sCitiesDiagramNode* node = game->citiesDiagram.GetNode(city.diagramNode)) {
    score += static_cast<float>(node->stats.airStrengthOurs);
  }
  return score;
}

void cCountryAI::ChooseSeaInvasionTarget() {
  AiPhaseScope scope("ChooseSeaInvasionTarget");
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  sCountryAiSettings& settings = country->aiSettings;
  settings.CurrentSeaInvasionTarget = -1;
  if (!settings.MakesSeaInvasions || !settings.CurrentTargets.empty() ||
      static_cast<int>(fronts.size()) > settings.MaxNumberOfFrontsForSeaInvasion) {
    return;
  }
  FilterEnemyCities(settings.ObligatorySeaInvasionTargets, *country);
  LogFormat(u"%s plannning sea invasion. Determining target", country->name);

  int targetNode = -1;
  if (!settings.ObligatorySeaInvasionTargets.empty()) {
    const sPoint first = settings.ObligatorySeaInvasionTargets.front();
    settings.ObligatorySeaInvasionTargets.erase(settings.ObligatorySeaInvasionTargets.begin());
    targetNode = game->seaGraph.FindNodeIdByHex(first.x, first.y);
  } else {
    float best = -2147483648.0f;
    for (const auto& city : game->cities) {
      LogFormat(u"Checking city %s", city->name);
      if (!IsPort(*city) || !AreEnemies(country->id, GetControllerId(*city))) continue;
      LogLine(u"Condition 1 passed");
      std::list<cCity*> ports;
      CollectEmbarkationPorts(*country, *city, ports);
      if (ports.empty()) continue;
      LogLine(u"Condition 2 passed");
      // An invasion of it was just given up: the same landing would fail again.
      if (WasGivenUpLately(city->x, city->y)) {
        LogFormat(u"Invasion of %s given up lately: passed over", city->name);
        continue;
      }
      const float score = ScoreInvasionTarget(*city);
      LogLine(u"----- Sofar the best! :)");
      if (score > best && game->map->GetHex(city->x, city->y)->port) {
        best = score;
        targetNode = game->seaGraph.FindNodeIdByHex(city->x, city->y);
      }
    }
  }
  LogFormat(u"Target for invasion: %i", targetNode);
  settings.CurrentSeaInvasionTarget = targetNode;
  if (targetNode < 1 || !game->seaGraph.IsNodeId(targetNode)) return;

  const sWezelGrafuMorz& node = game->seaGraph.GetNode(targetNode - 1);
  cCity* target = CityAt(*game, node.x, node.y);
  if (!target) return;
  const sHex& targetHex = *game->map->GetHex(node.x, node.y);
  const float needed = targetHex.unit ? StrengthOn(targetHex) : kEmptyTargetStrength;
  std::list<cCity*> ports;
  CollectEmbarkationPorts(*country, *target, ports);

  std::vector<cJednostkaLadowa*> candidates;
  for (cJednostkaLadowa* unit : ownLand) {
    if (unit->aiOrder != kAiOrderNone && unit->aiOrder != kAiOrderReserve) continue;
    cCity* area = unit->GetHexGridEntry();
    if (!area) continue;
    const bool reachable =
        std::any_of(ports.begin(), ports.end(), [&](cCity* port) { return HasCityRoute(*game, *port, *area, country->id); });
    if (reachable) candidates.push_back(unit);
  }
  if (candidates.empty()) {
    LogLine(u"No land units applicable for invasion. Exiting sea invasion procedure.");
    return;
  }
  std::stable_sort(candidates.begin(), candidates.end(), [](const cJednostkaLadowa* a, const cJednostkaLadowa* b) {
    return a->GetEffectiveStrength() > b->GetEffectiveStrength();
  });
  float assigned = 0.0f;
  for (cJednostkaLadowa* unit : candidates) {
    if (assigned >= kStrengthMultiple * needed) break;
    const cCity* area = unit->GetHexGridEntry();
    cCity* chosen = nullptr;
    int fewest = -1;
    for (cCity* port : ports) {
      const int hops = &*port == area ? 0 : GetHopsTo(*port, *area);
      if (hops < 0) continue;
      if (!chosen || hops < fewest) {
        chosen = port;
        fewest = hops;
      }
    }
    // No port with known hops: the first, which the route test let through.
    if (!chosen) chosen = ports.front();
    unit->SetAiOrder(kAiOrderSeaInvasionA, chosen->x, chosen->y, fewest);
    assigned += unit->GetEffectiveStrength();
  }

  for (cJednostkaLadowa* unit : ownLand) {
    if (unit->aiOrder != kAiOrderSeaInvasionA) continue;
    const sPoint port = PortHexOf(*unit);
    // A unit standing on its port has arrived.
    if (unit->x == port.x && unit->y == port.y) {
      unit->aiOrder = kAiOrderSeaInvasionB;
      continue;
    }
    if (TryStrategicMoveToCity(*unit, unit->aiUltimateTargetX, unit->aiUltimateTargetY, 1)) continue;
    if (unit->aiUltimateTargetX != -1 && unit->MoveTowardUltimateTarget()) continue;
    const int before = unit->actionPoints;
    unit->ComputeMoveRange(1);
    unit->MoveTowardHex(port.x, port.y);
    if (before > 0 && unit->actionPoints == before) unit->aiOrder = kAiOrderSeaInvasionB;
  }

  const bool walking = std::any_of(ownLand.begin(), ownLand.end(),
                                   [](const cJednostkaLadowa* unit) { return unit->aiOrder == kAiOrderSeaInvasionA; });
  if (walking) return;
  LogLine(u"All units ready for invasion!");
  long long cost = 0;
  for (const cJednostkaLadowa* unit : ownLand) {
    if (unit->aiOrder != kAiOrderSeaInvasionB || unit->type < 0 || unit->type >= kLandTypeCount) continue;
    cost += game->constants.AmphibiousTransportCost(unit->type);
  }
  if (cost > country->invasionPoints) {
    std::vector<std::int32_t>& queue = settings.PurchaseQueue;
    std::erase(queue, 0);
    queue.insert(queue.begin(), 0);
    LogLine(u"Need to buy more AIP for invasion! Exiting sea invasion procedure");
    return;
  }
  LogLine(u"We have enough AIP. Starting loading units.");
  if (!targetHex.port) {
    // The fleets could not be told where to land: nobody is loaded for this target.
    LogFormat(u"Error! Hex(%i,%i) was targeted for amphib invasion but tasksIt has no seazone attribute", node.x,
              node.y);
    return;
  }
  std::vector<cJednostkaLadowa*> loaded;
  for (cJednostkaLadowa* unit : ownLand) {
    if (unit->aiOrder != kAiOrderSeaInvasionB) continue;
    // Where the unit now heads, not where its route ends: a unit held up on
    // the way boards only if that stop is itself a port.
    const cCity* port = CityAt(*game, unit->aiTargetX, unit->aiTargetY);
    if (!port) {
      LogLine(u"ERROR: No target for unit!");
      continue;
    }
    if (!IsPort(*port)) {
      LogFormat(u"ERROR: cannot load %s, %s is not a port (!)", unit->name, port->name);
      continue;
    }
    const bool shown = ShowsComputerMove(*unit);
    if (shown) {
      LogFormat(u"[AI] %ls: Loading %s onto amphib", country->name, unit->name);
      CenterAtHex(*game->map, unit->x, unit->y, true);
      SleepAiDelay(kDelayAIMoveBefore, kThisFile, __LINE__);
    }
    cFleet* fleet = unit->EmbarkOnFleet(kAmphibiousShip, game->seaGraph.FindNodeIdByHex(port->x, port->y),
                                        kMissionInvasionGather);
    if (fleet) {
      fleet->aiDestinationNode = targetHex.seaZone;
      fleet->aiInvasionX = node.x;
      fleet->aiInvasionY = node.y;
      loaded.push_back(unit);
    }
    if (shown) SleepAiDelay(kDelayAIMoveAfter, kThisFile, __LINE__);
  }
  // Units at sea take no part in the land phases of the turn.
  std::erase_if(ownLand, [&](cJednostkaLadowa* unit) {
    return std::find(loaded.begin(), loaded.end(), unit) != loaded.end();
  });
}

}  // namespace tr
