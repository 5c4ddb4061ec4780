// What an air unit can reach: the targets of an air fight, a bombardment, a
// nuclear strike and a reconnaissance flight, and the searches the computer
// opponent makes for its air units.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "units/air_support.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/sea_node_air_ops.h"
#include "world/gra.h"
#include "world/hex_distance.h"

namespace tr {
namespace {

inline constexpr std::uint32_t kFlagRecon = 256;
inline constexpr std::uint32_t kFlagBombard = 1024;
inline constexpr std::uint32_t kFlagNuclear = 4096;
inline constexpr std::uint32_t kFlagAirFight = 8192;
inline constexpr std::uint32_t kFlagSeaZone = 0x4000;
inline constexpr std::uint32_t kFlagSeaZoneBombard = 0x10000;
// Every highlight but the selected hex.
inline constexpr std::uint32_t kAllButSelected = ~std::uint32_t{1};

// Calls visit for every hex within radius of (x, y), row by row; the search
// box is the radius and one more, clipped to the map.
template <typename Visit>
void ForHexesWithin(int x, int y, int radius, Visit visit) {
  cMap& map = *gGame->map;
  const int x0 = std::max(x - radius - 1, 0);
  const int x1 = std::min(x + radius + 1, map.GetWidth() - 1);
  const int y0 = std::max(y - radius - 1, 0);
  const int y1 = std::min(y + radius + 1, map.GetHeight() - 1);
  for (int hy = y0; hy <= y1; ++hy) {
    for (int hx = x0; hx <= x1; ++hx) {
      if (HexDistance(x, y, hx, hy) <= radius) visit(*map.GetHex(hx, hy));
    }
  }
}

bool Ready() { return gGame && gGame->map; }

std::uint64_t QueryKey(int x, int y, int radius) {
  constexpr std::uint64_t kField = 0xFFFFFF;  // far beyond any map side
  return static_cast<std::uint64_t>(static_cast<std::uint16_t>(radius)) << 48 |
         (static_cast<std::uint64_t>(y) & kField) << 24 | (static_cast<std::uint64_t>(x) & kField);
}

}  // namespace

cEnemyLandPoints::cEnemyLandPoints(const std::vector<cJednostkaLadowa*>& units) {
  points_.reserve(units.size());
  const cMap* map = gGame ? gGame->map.get() : nullptr;
  for (const cJednostkaLadowa* unit : units) {
    const bool onMap = map && map->IsInside(unit->x, unit->y);
    points_.push_back({unit->x, unit->y, onMap && map->GetHex(unit->x, unit->y)->fortLevel < 5});
  }
}

int cEnemyLandPoints::CountEnemyLandUnitsWithin(int x, int y, int radius) const {
  // A hex distance is never less than the column or row distance: most
  // units fail that first, cheaper test.
  int count = 0;
  for (const sPoint& p : points_) {
    if (!p.unfortified || std::abs(p.x - x) > radius || std::abs(p.y - y) > radius) continue;
    count += HexDistance(x, y, p.x, p.y) <= radius;
  }
  return count;
}

int cEnemyLandPoints::MinDistanceToEnemyLandUnits(int x, int y) const {
  int best = INT_MAX;
  for (const sPoint& p : points_) {
    if (std::abs(p.x - x) >= best || std::abs(p.y - y) >= best) continue;
    best = std::min(best, HexDistance(x, y, p.x, p.y));
  }
  return best;
}

int cEnemyLandUnitQueryCache::CountEnemyLandUnitsWithin(int x, int y, int radius) const {
  const auto [it, added] = counts_.try_emplace(QueryKey(x, y, radius), 0);
  if (added) it->second = points_.CountEnemyLandUnitsWithin(x, y, radius);
  return it->second;
}

int cEnemyLandUnitQueryCache::MinDistanceToEnemyLandUnits(int x, int y) const {
  const auto [it, added] = distances_.try_emplace(QueryKey(x, y, 0), 0);
  if (added) it->second = points_.MinDistanceToEnemyLandUnits(x, y);
  return it->second;
}

int cJednostkaLotnicza::MarkAirfightTargets(int mark) {
  if (!Ready() || actionPoints < 1) return 0;
  int count = 0;
  ForHexesWithin(x, y, GetRange(), [&](sHex& hex) {
    if (!hex.IsLand() || !hex.unit || !hex.unit->spotted || hex.unit->category != kCategoryAir) return;
    if (!AtWar(hex.unit->owner, owner)) return;
    ++count;
    if (mark) hex.AddFlags(kFlagAirFight, -1);
  });
  return count;
}

int cJednostkaLotnicza::MarkBombardmentTargets(int mark) {
  if (!Ready() || actionPoints < 1) return 0;
  if (mark) gGame->map->ClearHexFlags(kAllButSelected, true);
  int count = 0;
  ForHexesWithin(x, y, GetRange(), [&](sHex& hex) {
    if (!hex.IsLand()) return;
    const bool enemyUnit = hex.unit && hex.unit->spotted && hex.unit->category == kCategoryLand &&
                           AtWar(hex.unit->owner, owner);
    const bool enemyCity = hex.city && AtWar(hex.controller, owner);
    if (!enemyUnit && !enemyCity) return;
    ++count;
    if (mark) hex.AddFlags(kFlagBombard, -1);
  });
  cSeaNodeAirOps& sea = SeaNodeAirOps();
  ForHexesWithin(x, y, gGame->constants.AirSearchRadius(), [&](sHex& hex) {
    if (hex.IsLand() || (hex.flags & kFlagSeaZone) || hex.seaZone == 0) return;
    if (sea.CountSpottedEnemyShips(hex.seaZone) <= 0) return;
    ++count;
    // The whole zone is flagged at its first hex; the others only count.
    if (mark && !(hex.flags & kFlagSeaZoneBombard)) gGame->map->FlagSeaZoneHexes(hex.seaZone, kFlagSeaZoneBombard);
  });
  return count;
}

int cJednostkaLotnicza::MarkNuclearTargets(int mark) {
  if (!Ready() || actionPoints < 1) return 0;
  if (mark) gGame->map->ClearHexFlags(kAllButSelected, true);
  int count = 0;
  ForHexesWithin(x, y, GetRange(), [&](sHex& hex) {
    if (!hex.IsLand() || !AtWar(hex.controller, owner)) return;
    ++count;
    if (mark) hex.AddFlags(kFlagNuclear, -1);
  });
  return count;
}

int cJednostkaLotnicza::MarkReconHexes(int mark) {
  if (!Ready() || airReconDone) return 0;
  if (mark) gGame->map->ClearHexFlags(kAllButSelected, true);
  int count = 0;
  ForHexesWithin(x, y, GetReconRange(), [&](sHex& hex) {
    if (hex.IsLand()) {
      if (!AtWar(hex.controller, owner)) return;
      ++count;
      if (mark) hex.AddFlags(kFlagRecon, -1);
      return;
    }
    if (hex.flags & kFlagSeaZone) return;
    ++count;
    if (mark) gGame->map->FlagSeaZoneHexes(hex.seaZone, kFlagSeaZone);
  });
  return count;
}

cJednostkaLotnicza* cJednostkaLotnicza::FindTargetInRange(const std::vector<cJednostkaLotnicza*>& enemies,
                                                          const std::set<const cJednostkaLotnicza*>& gone) const {
  if (!gGame) return nullptr;
  const int radius = GetRange();
  cJednostkaLotnicza* best = nullptr;
  int bestScore = 0;
  for (cJednostkaLotnicza* unit : enemies) {
    if (gone.count(unit) || HexDistance(x, y, unit->x, unit->y) > radius) continue;
    const int score = gGame->constants.SupplyAirModifier(unit->supply) + unit->strength + unit->level;
    if (!best || score < bestScore) {
      best = unit;
      bestScore = score;
    }
  }
  return best;
}

void cJednostkaLotnicza::CollectHexesInRadius(std::set<int>& seaZones) const {
  if (!Ready()) return;
  ForHexesWithin(x, y, gGame->constants.AirSearchRadius(), [&](sHex& hex) {
    // Zone 0 is no zone at all.
    if (!hex.IsLand() && hex.seaZone > 0) seaZones.insert(hex.seaZone);
  });
}

void cJednostkaLotnicza::CollectAiTargets(std::vector<sAirBaseCandidate>& hexes,
                                          const cEnemyLandUnitQueries& ai) const {
  hexes.clear();
  if (!Ready()) return;
  cMap& map = *gGame->map;
  const int range = GetRange();
  const int reach = GetMoveRange() - 2;
  const auto friendly = [this](int country) {
    return country == owner || (country > 0 && owner > 0 && GetOwnerCountry() && GetOwnerCountry()->IsAlly(country));
  };
  const auto consider = [&](const sHex* hex) {
    if (!hex || !hex->IsLand() || hex->unit || !friendly(hex->controller)) return;
    hexes.push_back({hex->x, hex->y, ai.CountEnemyLandUnitsWithin(hex->x, hex->y, range),
                     ai.MinDistanceToEnemyLandUnits(hex->x, hex->y)});
  };
  for (const auto& city : gGame->cities) {
    if (city->type == kCityResources || !map.IsInside(city->x, city->y)) continue;
    if (!friendly(map.GetHex(city->x, city->y)->controller)) continue;
    if (HexDistance(x, y, city->x, city->y) >= reach) continue;
    for (int d = 0; d < kDirectionCount; ++d) consider(map.GetNeighbour(city->x, city->y, d));
    for (int d = 0; d < kDirectionCount; ++d) {
      const sHex* next = map.GetNeighbour(city->x, city->y, d);
      if (!next) continue;
      for (int e = 0; e < kDirectionCount; ++e) consider(map.GetNeighbour(next->x, next->y, e));
    }
  }
}

}  // namespace tr
