// Carrier strikes of the computer: each carrier fit to fly strikes once a
// turn at the best target of the highest-ranked kind that has one, and the
// strike is shown to the player like the computer's other strikes.
#include <algorithm>
#include <array>
#include <list>
#include <utility>
#include <vector>

#include "ai/ai_pacing.h"
#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "turn/fleet.h"
#include "turn/sea_bombardment.h"
#include "units/combat_result.h"
#include "units/jednostka.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "ai_carriers";
constexpr std::uint32_t kFlagStrikeTarget = 2;
constexpr int kTargetKinds = 9;

enum eCarrierTarget : int {
  kPortWithShipsUnitOnHex = 0,
  kPortWithShipsEmptyHex = 1,
  kPortUnitNoShips = 2,
  kOwnZoneShips = 3,
  kNeighbourShips = 4,
  kEnemyCityAir = 5,
  kOpenLandAir = 6,
  kEnemyCityLand = 7,
  kOpenLandLand = 8,
};

bool IsNodeKind(int kind) { return kind >= kPortWithShipsEmptyHex && kind <= kNeighbourShips; }

bool AtWar(int a, int b) { return a >= 1 && b >= 1 && a != b && gGame->relations.IsAtWar(a, b); }

// The unit on the hex when it belongs to a country at war with the carrier's.
const cJednostka* EnemyUnitOn(const sHex& hex, int countryId) {
  const auto* unit = dynamic_cast<const cJednostka*>(hex.unit);
  return unit && AtWar(countryId, unit->owner) ? unit : nullptr;
}

// The spotted enemy ships of a node as the country sees them now. The other
// countries' ports are looked into too, so the secrecy switch is off for it.
int SpottedEnemyShipsOf(cSeaGraph& graph, int nodeId, int countryId) {
  sWezelGrafuMorz& node = graph.GetNode(nodeId - 1);
  PortSecrecyOffGuard open;
  node.CalculateNavalVisibilityFor(countryId, false);
  return node.CountSpottedEnemyShips();
}

}  // namespace

void cCountryAI::CollectCarrierTargets(const cFleet& fleet, int kind, std::list<sPoint>& hexes,
                                       std::list<int>& nodes) const {
  hexes.clear();
  nodes.clear();
  cGame* game = gGame;
  if (!game || !game->map || !game->seaGraph.IsNodeId(fleet.seaNodeId)) return;
  cSeaGraph& graph = game->seaGraph;
  cMap& map = *game->map;
  const int owner = fleet.countryId;
  const int here = fleet.seaNodeId;
  sWezelGrafuMorz& node = graph.GetNode(here - 1);
  node.CalculateNavalVisibilityFor(owner, false);

  if (kind == kOwnZoneShips) {
    if (!node.IsPort() && node.CountSpottedEnemyShips() > 0) nodes.push_back(here);
    return;
  }
  if (kind <= kNeighbourShips) {
    const std::vector<sSeaEdge> edges = node.edges;
    for (const sSeaEdge& edge : edges) {
      if (!graph.IsNodeId(edge.toNode)) continue;
      const int ships = SpottedEnemyShipsOf(graph, edge.toNode, owner);
      const sWezelGrafuMorz& next = graph.GetNode(edge.toNode - 1);
      const sHex* mainHex = map.IsInside(next.x, next.y) ? map.GetHex(next.x, next.y) : nullptr;
      const cJednostka* enemy = mainHex ? EnemyUnitOn(*mainHex, owner) : nullptr;
      const bool seenEnemy = enemy && enemy->spotted;
      switch (kind) {
        case kPortWithShipsUnitOnHex:
          if (next.IsPort() && ships > 0 && seenEnemy) hexes.push_back({next.x, next.y});
          break;
        case kPortWithShipsEmptyHex:
          if (next.IsPort() && ships > 0 && mainHex && !mainHex->unit) nodes.push_back(edge.toNode);
          break;
        case kPortUnitNoShips:
          if (next.IsPort() && ships == 0 && seenEnemy) nodes.push_back(edge.toNode);
          break;
        default:
          if (ships > 0) nodes.push_back(edge.toNode);
          break;
      }
    }
    return;
  }
  for (int y = 0; y < map.GetHeight(); ++y) {
    for (int x = 0; x < map.GetWidth(); ++x) {
      const sHex& hex = *map.GetHex(x, y);
      if (!hex.IsLand() || hex.seaZone != here || !hex.unit) continue;
      const bool enemyCity = hex.city && AtWar(owner, hex.controller);
      const cJednostka* enemy = EnemyUnitOn(hex, owner);
      const bool seenEnemy = enemy && enemy->spotted;
      const int category = hex.unit->category;
      bool fits = false;
      if (kind == kEnemyCityAir) fits = enemyCity && category == kCategoryAir;
      if (kind == kOpenLandAir) fits = !hex.city && seenEnemy && category == kCategoryAir;
      if (kind == kEnemyCityLand) fits = enemyCity && category == kCategoryLand;
      if (kind == kOpenLandLand) fits = !hex.city && seenEnemy && category == kCategoryLand;
      if (fits) hexes.push_back({x, y});
    }
  }
}

void cCountryAI::CarrierBombardment() {
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  std::array<std::pair<int, int>, kTargetKinds> order{};
  for (int kind = 0; kind < kTargetKinds; ++kind) {
    order[kind] = {kind, country->aiSettings.CarrierTargetsPriorities[kind]};
  }
  std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.second > b.second; });

  // A strike may sink the carrier (counter-fire), so the carriers are
  // looked up again by number.
  std::vector<int> carriers;
  for (const auto& ship : game->navalUnits) {
    if (ship->owner == country->id && ship->type == kAircraftCarrier) carriers.push_back(ship->id);
  }
  const int leastHitPoints = game->constants.CarrierHitPointLimit();
  for (int carrierId : carriers) {
    cJednostkaMorska* carrier = nullptr;
    for (const auto& ship : game->navalUnits) {
      if (ship->id == carrierId && ship->type == kAircraftCarrier) carrier = ship.get();
    }
    if (!carrier || !carrier->fleet || carrier->airstrikeDone || carrier->hitPoints < leastHitPoints) continue;
    const cFleet& fleet = *carrier->fleet;
    for (const auto& [kind, priority] : order) {
      sCombatResult result;
      result.Reset();
      std::list<sPoint> hexes;
      std::list<int> nodes;
      CollectCarrierTargets(fleet, kind, hexes, nodes);
      if (hexes.empty() && nodes.empty()) continue;
      if (!IsNodeKind(kind)) {
        sPoint best = hexes.front();
        float strongest = -1.0f;
        for (const sPoint& at : hexes) {
          const auto* unit = dynamic_cast<const cJednostka*>(game->map->GetHex(at.x, at.y)->unit);
          const float value = unit ? unit->GetStrengthValue() : 0.0f;
          if (value > strongest) {
            strongest = value;
            best = at;
          }
        }
        sHex& hex = *game->map->GetHex(best.x, best.y);
        const bool shown = hex.unit && hex.unit->spotted;
        LogFormat(u"[AI] %ls: carrier %s strikes targets of kind %i at (%i, %i)", country->name, carrier->name, kind,
                  best.x, best.y);
        carrier->airstrikeDone = 1;
        hex.BombardFromAir(result, *carrier);
        ShowAirStrikeResult(result, best.x, best.y, shown);
      } else {
        cSeaGraph& graph = game->seaGraph;
        int best = nodes.front();
        for (int candidate : nodes) {
          if (candidate == best) continue;
          const int bestShips = SpottedEnemyShipsOf(graph, best, fleet.countryId);
          if (SpottedEnemyShipsOf(graph, candidate, fleet.countryId) > bestShips) best = candidate;
        }
        sWezelGrafuMorz& target = graph.GetNode(best - 1);
        LogFormat(u"[AI] %ls: carrier %s strikes targets of kind %i in sea zone %i", country->name, carrier->name,
                  kind, best);
        const int tx = game->map->IsInside(target.x, target.y) ? target.x : 0;
        const int ty = game->map->IsInside(target.x, target.y) ? target.y : 0;
        carrier->airstrikeDone = 1;
        BombardSeaNode(target, result, *carrier, *game->map->GetHex(tx, ty));
        ShowSeaStrikeResult(result, best);
      }
      break;
    }
  }
}

void cCountryAI::ShowAirStrikeResult(sCombatResult& result, int x, int y, bool shown) {
  cGame* game = gGame;
  if (!game || !game->map) return;
  // A marker hex off the map shows nothing, but the pause is the same.
  sHex* hex = game->map->IsInside(x, y) ? game->map->GetHex(x, y) : nullptr;
  if (hex && shown && game->playerControl.follow) {
    CenterAtHex(*game->map, x, y, true);
    SleepAiDelay(kDelayAICombatBefore, kThisFile, __LINE__);
    hex->AddFlags(kFlagStrikeTarget, 0);
    SleepAiDelay(kDelayAICombatBefore, kThisFile, __LINE__);
  }
  SleepAiDelay(kDelayAICombatAfter, kThisFile, __LINE__);
  if (shown && gDelays[kDelayAICombatResult] != 0.0f) ShowAiCombatResult(result);
  result.Reset();
  if (hex) hex->RemoveFlags(kFlagStrikeTarget, true);
}

void cCountryAI::ShowSeaStrikeResult(sCombatResult& result, int seaNodeId) {
  cGame* game = gGame;
  if (!game || !game->seaGraph.IsNodeId(seaNodeId)) return;
  const sWezelGrafuMorz& node = game->seaGraph.GetNode(seaNodeId - 1);
  const bool shown = node.enemyMarkerShip && node.enemyMarkerShip->spotted;
  ShowAirStrikeResult(result, node.enemyMarkerX, node.enemyMarkerY, shown);
}

}  // namespace tr
