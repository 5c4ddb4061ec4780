// The fleets manager's actions of a fleet (carrier strike, shore bombardment,
// recon from the sea) with the targets they can reach inland, and the
// computer opponent's estimates of the naval strength at a node.
#include <algorithm>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/random.h"
#include "turn/fleet.h"
#include "units/air_support.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/hex_distance.h"
#include "world/presentation.h"
#include "world/tech_levels.h"

namespace tr {
namespace {

inline constexpr std::uint32_t kFlagRecon = 0x100;
inline constexpr std::uint32_t kFlagStrike = 0x200;
inline constexpr std::uint32_t kFlagSeaZone = 0x4000;
// Every highlight but the selected hex.
inline constexpr std::uint32_t kAllButSelected = ~std::uint32_t{1};

// A land unit the fleet's owner is at war with, that the owner sees.
cJednostkaLadowa* VisibleEnemyLandUnit(const sHex& hex, int owner) {
  if (!hex.unit || !hex.unit->spotted || hex.unit->category != kCategoryLand) return nullptr;
  if (!AtWar(hex.unit->owner, owner)) return nullptr;
  return dynamic_cast<cJednostkaLadowa*>(hex.unit);
}

// The coastal hexes of the fleet's zone that qualify, and every qualifying
// land hex within the range of one. Each hex counts once, whether the flags
// are set or only counted.
template <typename Qualifies>
int MarkInland(const cFleet& fleet, int mark, std::uint32_t flag, Qualifies qualifies) {
  cMap& map = *gGame->map;
  const int range = fleet.GetActionRange();
  const int width = map.GetWidth();
  std::vector<std::uint8_t> taken(static_cast<std::size_t>(width) * map.GetHeight(), 0);
  int count = 0;
  const auto take = [&](sHex& hex) {
    std::uint8_t& seen = taken[static_cast<std::size_t>(hex.y) * width + hex.x];
    if (seen || (hex.flags & flag)) return;
    seen = 1;
    ++count;
    if (mark) hex.AddFlags(flag, -1);
  };
  for (sHex& coast : map.Hexes()) {
    if (!coast.IsLand() || coast.seaZone != fleet.seaNodeId || !qualifies(coast)) continue;
    take(coast);
    const int x0 = std::max(coast.x - range, 0);
    const int x1 = std::min(coast.x + range, width - 1);
    const int y0 = std::max(coast.y - range, 0);
    const int y1 = std::min(coast.y + range, map.GetHeight() - 1);
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        sHex& hex = *map.GetHex(x, y);
        if (hex.IsLand() && HexDistance(coast.x, coast.y, x, y) <= range && qualifies(hex)) take(hex);
      }
    }
  }
  return count;
}

bool Ready(const cFleet& fleet) {
  return gGame && gGame->map && gGame->seaGraph.IsNodeId(fleet.seaNodeId);
}

// The fleet's node and the nodes its edges lead to, each once.
template <typename Visit>
void ForNodeAndNeighbours(const cFleet& fleet, Visit visit) {
  cSeaGraph& graph = gGame->seaGraph;
  sWezelGrafuMorz& own = graph.GetNode(fleet.seaNodeId - 1);
  visit(own, true);
  std::vector<int> done{own.id};
  for (const sSeaEdge& edge : own.edges) {
    if (!graph.IsNodeId(edge.toNode) || std::find(done.begin(), done.end(), edge.toNode) != done.end()) continue;
    done.push_back(edge.toNode);
    visit(graph.GetNode(edge.toNode - 1), false);
  }
}

// Whether the ship's fleet stands on the node.
bool StandsOn(const cJednostkaMorska& ship, int nodeId) { return ship.fleet && ship.fleet->seaNodeId == nodeId; }

bool IncludedByRoll(int percent) { return RandomRange(1, 100) <= percent; }

}  // namespace

int cFleet::GetActionRange() const {
  if (!gGame) return 0;
  const cCountry* owner = gGame->GetCountry(countryId);
  const int level = owner ? owner->GetTechLevel(kAircraftTech) : 0;
  const int read = TechTableLevel(level);
  if (read != level) {
    LogFormat(u"WARNING: fleet %s: aircraft technology level %i has no range factor; level %i is used", name, level,
              read);
  }
  return static_cast<int>(gGame->constants.AirRangeFactor(read) *
                          static_cast<float>(gGame->constants.FleetRangeBase()));
}

bool cFleet::ShoreBombard(int x, int y, sCombatResult* result, int allShips) {
  Presentation().PlaySoundEffect(u"data\\sound\\NavalGun.wav");
  if (!gGame || !gGame->map || !gGame->map->IsInside(x, y) || !result) return false;
  auto* unit = dynamic_cast<cJednostkaLadowa*>(gGame->map->GetHex(x, y)->unit);
  if (!unit || unit->shoreBombardmentEffect != 0.0f || !AtWar(countryId, unit->owner)) return false;
  unit->ShoreBombardHex(*this, *result, allShips);
  for (cJednostkaMorska* ship : ships) ship->shoreBombardmentDone = 1;
  return true;
}

int cFleet::MarkBombardmentTargets(int mark) {
  if (!Ready(*this)) return 0;
  if (mark) gGame->map->ClearHexFlags(kAllButSelected, false);
  int count = MarkInland(*this, mark, kFlagStrike, [this](const sHex& hex) {
    if (hex.unit && hex.unit->spotted && AtWar(hex.unit->owner, countryId)) return true;
    return hex.city != nullptr && AtWar(hex.controller, countryId);
  });
  ForNodeAndNeighbours(*this, [&](const sWezelGrafuMorz& node, bool) {
    if (node.CountSpottedEnemyShips() <= 0) return;
    ++count;
    if (mark) gGame->map->FlagSeaZoneHexes(node.id, kFlagSeaZone);
  });
  return count;
}

int cFleet::MarkShoreBombardmentTargets(int mark) {
  if (!Ready(*this)) return 0;
  if (mark) gGame->map->ClearHexFlags(kAllButSelected, false);
  return MarkInland(*this, mark, kFlagStrike, [this](const sHex& hex) {
    const cJednostkaLadowa* unit = VisibleEnemyLandUnit(hex, countryId);
    return unit && unit->shoreBombardmentEffect == 0.0f;
  });
}

int cFleet::MarkReconTargets(int mark) {
  if (!Ready(*this)) return 0;
  if (mark) gGame->map->ClearHexFlags(kAllButSelected, false);
  int count = MarkInland(*this, mark, kFlagRecon, [](const sHex&) { return true; });
  ForNodeAndNeighbours(*this, [&](const sWezelGrafuMorz& node, bool own) {
    if (!own) ++count;
    if (mark) gGame->map->FlagSeaZoneHexes(node.id, kFlagSeaZone);
  });
  return count;
}

float SumFriendlyNavalStrengthInZone(int countryId, int nodeId, std::list<cJednostkaMorska*>& ships,
                                     int& transports) {
  ships.clear();
  transports = 0;
  float sum = 0.0f;
  if (!gGame) return sum;
  const cCountry* country = gGame->GetCountry(countryId);
  if (!country) return sum;
  const int percent = gGame->constants.FriendlyNavalLimit();
  for (const auto& ship : gGame->navalUnits) {
    if (!StandsOn(*ship, nodeId)) continue;
    if (ship->owner != countryId && (ship->owner < 1 || !country->IsAlly(ship->owner))) continue;
    if (!IncludedByRoll(percent)) continue;
    ships.push_back(ship.get());
    sum += ship->GetCombatStrength();
    if (ship->type == kCargoShip || ship->type == kAmphibiousShip) ++transports;
  }
  return sum;
}

float SumEnemyNavalStrengthInZone(int countryId, int nodeId, std::list<cJednostkaMorska*>& ships) {
  ships.clear();
  float sum = 0.0f;
  if (!gGame) return sum;
  const cSeaGraph& graph = gGame->seaGraph;
  const int percent = gGame->constants.EnemyNavalLimit();
  for (const auto& ship : gGame->navalUnits) {
    if (!ship->fleet || !AtWar(ship->owner, countryId)) continue;
    const int at = ship->fleet->seaNodeId;
    if (at != nodeId && !graph.HasPassableEdge(at, nodeId, ship->owner)) continue;
    if (!IncludedByRoll(percent)) continue;
    ships.push_back(ship.get());
    sum += ship->GetCombatStrength();
  }
  return sum;
}

}  // namespace tr
