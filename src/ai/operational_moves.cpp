// Executing the operational orders: holders and covers go to their cities,
// attackers close in on enemy cities, reinforcements take the line of
// defence, units go to the fronts and gather at staging cities. Afterwards
// free units that can still strike a nearby enemy city are given the attack.
#include <vector>

#include "ai/ai_order.h"
#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "units/air_support.h"
#include "units/jednostka_ladowa.h"
#include "world/city_rules.h"
#include "world/gra.h"
#include "world/hex_distance.h"
#include "world/hex_geometry.h"
#include "world/hex_marks.h"

namespace tr {
namespace {

// The hexes within a radius of a start, ring by ring outward; a hex reached
// by several routes is listed once, where it was first reached.
class cRingOrder {
 public:
  const std::vector<sPoint>& List(int x, int y, int radius, int width, int height) {
    hexes_.assign(1, {x, y});
    listed_.Reset(width, height);
    listed_.Insert(static_cast<std::size_t>(y) * width + x);
    for (std::size_t i = 0; i < hexes_.size(); ++i) {
      const sPoint hex = hexes_[i];
      const int distance = HexDistance(x, y, hex.x, hex.y);
      if (distance >= radius) continue;
      for (int d = 0; d < kDirectionCount; ++d) {
        const sPoint next = NeighbourPoint(hex.x, hex.y, d);
        if (next.x < 0 || next.x >= width || next.y < 0 || next.y >= height) continue;
        if (HexDistance(x, y, next.x, next.y) <= distance) continue;
        if (listed_.Insert(static_cast<std::size_t>(next.y) * width + next.x)) hexes_.push_back(next);
      }
    }
    return hexes_;
  }
  // The listing from a start in a column of the parity, as steps from it,
  // for a start whose whole radius lies on the map.
  const std::vector<sPoint>& Offsets(int radius, int parity) {
    if (radius != radius_) {
      radius_ = radius;
      for (auto& offsets : offsets_) offsets.clear();
    }
    std::vector<sPoint>& offsets = offsets_[parity];
    if (offsets.empty()) {
      const int x = radius + (radius % 2 != parity ? 1 : 0);
      offsets = List(x, radius, radius, x + radius + 1, 2 * radius + 1);
      for (sPoint& hex : offsets) hex = {hex.x - x, hex.y - radius};
    }
    return offsets;
  }

 private:
  std::vector<sPoint> hexes_;
  cHexMarks listed_;
  int radius_ = 0;
  std::vector<sPoint> offsets_[2];
};

bool AtTarget(const cJednostkaLadowa& unit) { return unit.x == unit.aiTargetX && unit.y == unit.aiTargetY; }

bool HasTargetOnMap(const cMap& map, const cJednostkaLadowa& unit) { return map.IsInside(unit.aiTargetX, unit.aiTargetY); }

bool HasUltimateTarget(const cJednostkaLadowa& unit) {
  return unit.aiUltimateTargetX != -1 && unit.aiUltimateTargetY != -1;
}

// A unit on a fort stronger than the country holds at all cost stays there.
bool OnStrongFort(const cMap& map, const cJednostkaLadowa& unit, const cCountry& country) {
  return map.IsInside(unit.x, unit.y) &&
         map.GetHex(unit.x, unit.y)->fortLevel > country.aiSettings.FortLevelToHoldAtAllCost;
}

// A unit standing on the hex (x, y) whose owner is neither the country nor an ally.
bool HoldsForeignUnit(const cMap& map, const cCountry& country, int x, int y) {
  const cUnit* unit = map.GetHex(x, y)->unit;
  if (!unit || unit->owner == country.id) return false;
  return unit->owner < 1 || !country.IsAlly(unit->owner);
}

}  // namespace

bool cCountryAI::TryStrategicMoveToCity(cJednostkaLadowa& unit, int x, int y, int minimumHops) {
  cGame* game = gGame;
  if (!game || !game->map || !country) return false;
  if (x == -1 || y == -1 || unit.freezeTime > 0) return false;
  cMap& map = *game->map;
  if (!map.IsInside(x, y)) return false;
  const cCity* city = map.GetHex(x, y)->city;
  const cCity* area = unit.GetHexGridEntry();
  if (!city || !area) return false;
  const int hops = GetHopsTo(*area, *city);
  if (hops == -1 || hops < minimumHops) return false;
  int landX = -1;
  int landY = -1;
  if (!unit.FindStrategicMoveHex(*city, landX, landY)) return false;
  PrzeniesStrategicznieJednostke(unit, *city, landX, landY);
  return true;
}

void cCountryAI::ExecuteOperationalMoves() {
  AiPhaseScope scope("ExecuteOperationalMoves");
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  cMap& map = *game->map;

  // Holders: a unit of the country on the city makes way, and the covers of
  // the city are then free again.
  for (cJednostkaLadowa* unit : ownLand) {
    if (unit->aiOrder != kAiOrderHoldCity || AtTarget(*unit)) continue;
    const int tx = unit->aiTargetX;
    const int ty = unit->aiTargetY;
    if (!map.IsInside(tx, ty)) continue;
    unit->ComputeMoveRange(1);
    if (unit->IsHexInMoveRange(tx, ty)) {
      auto* there = dynamic_cast<cJednostkaLadowa*>(map.GetHex(tx, ty)->unit);
      if (there && there != unit && there->owner == country->id && there->OrderMove()) {
        for (cJednostkaLadowa* cover : ownLand) {
          if (cover->aiOrder != kAiOrderCoverCity || cover->aiTargetX != tx || cover->aiTargetY != ty) continue;
          cover->aiOrder = kAiOrderNone;
          cover->aiTargetX = cover->aiTargetY = -1;
        }
        // The range was computed before the hex was freed.
        unit->ComputeMoveRange(1);
      }
      unit->ExecuteMoveOrder(tx, ty);
      continue;
    }
    if (TryStrategicMoveToCity(*unit, unit->aiUltimateTargetX, unit->aiUltimateTargetY, 1)) continue;
    if (unit->MoveTowardUltimateTarget()) continue;
    unit->ExecuteMoveOrder(tx, ty);
  }

  for (cJednostkaLadowa* unit : ownLand) {
    if (unit->aiOrder != kAiOrderCoverCity || AtTarget(*unit)) continue;
    if (TryStrategicMoveToCity(*unit, unit->aiUltimateTargetX, unit->aiUltimateTargetY, 1)) continue;
    if (unit->MoveTowardUltimateTarget() || !HasTargetOnMap(map, *unit)) continue;
    unit->ComputeMoveRange(1);
    unit->ExecuteMoveOrder(unit->aiTargetX, unit->aiTargetY);
  }

  // Attackers close in on a hex beside the enemy nearest to their city.
  for (cJednostkaLadowa* unit : ownLand) {
    if (unit->aiOrder != kAiOrderAttackCity || AtTarget(*unit) || !HasTargetOnMap(map, *unit)) continue;
    if (OnStrongFort(map, *unit, *country)) {
      unit->aiOrder = kAiOrderStay;
      continue;
    }
    unit->ComputeMoveRange(1);
    if (unit->moveRange.empty()) continue;
    const int tx = unit->aiTargetX;
    const int ty = unit->aiTargetY;
    // Only a hex nearer the target than the unit's own is worth the move: a
    // unit beside its city would otherwise step to the next hex beside it, and
    // back again once the enemy has taken the hex it left.
    const sMoveRangeCell* best = nullptr;
    int nearest = HexDistance(unit->x, unit->y, tx, ty);
    for (const sMoveRangeCell& cell : unit->moveRange) {
      if (map.GetHex(cell.x, cell.y)->IsControlledByFriend(country->id)) continue;
      bool facesEnemy = false;
      for (int d = 0; d < kDirectionCount && !facesEnemy; ++d) {
        if (!map.HasNeighbour(cell.x, cell.y, d)) continue;
        const sHex* next = map.GetNeighbour(cell.x, cell.y, d);
        facesEnemy = next && HoldsForeignUnit(map, *country, next->x, next->y);
      }
      if (!facesEnemy) continue;
      const int distance = HexDistance(cell.x, cell.y, tx, ty);
      if (distance < nearest) {
        best = &cell;
        nearest = distance;
      }
    }
    if (best) {
      unit->ExecuteMoveOrder(best->x, best->y);
    } else {
      unit->ExecuteMoveOrder(tx, ty);
    }
  }

  MoveUnitsToLineOfDefence();

  for (cJednostkaLadowa* unit : ownLand) {
    if (unit->aiOrder != kAiOrderGoToFront || AtTarget(*unit) || !HasTargetOnMap(map, *unit)) continue;
    if (OnStrongFort(map, *unit, *country)) {
      unit->aiOrder = kAiOrderStay;
      continue;
    }
    if (HasUltimateTarget(*unit)) {
      const bool moved = TryStrategicMoveToCity(*unit, unit->aiUltimateTargetX, unit->aiUltimateTargetY, 1) ||
                         unit->MoveTowardUltimateTarget();
      if (moved && HasUltimateTarget(*unit)) continue;
    }
    unit->ComputeMoveRange(1);
    unit->ExecuteMoveOrder(unit->aiTargetX, unit->aiTargetY);
  }

  for (cJednostkaLadowa* unit : ownLand) {
    if (unit->aiOrder != kAiOrderGather) continue;
    if (OnStrongFort(map, *unit, *country)) {
      unit->aiOrder = kAiOrderStay;
      continue;
    }
    if (HasUltimateTarget(*unit)) {
      const bool moved = TryStrategicMoveToCity(*unit, unit->aiUltimateTargetX, unit->aiUltimateTargetY, 1) ||
                         unit->MoveTowardUltimateTarget();
      if ((moved && HasUltimateTarget(*unit)) || !HasTargetOnMap(map, *unit)) continue;
      unit->ComputeMoveRange(1);
      unit->ExecuteMoveOrder(unit->aiTargetX, unit->aiTargetY);
      continue;
    }
    // At the staging area: on toward the nearest of the scenario's targets.
    const sAiTarget* nearest = nullptr;
    int nearestDistance = 0;
    for (const sAiTarget& target : country->aiSettings.CurrentTargets) {
      const int distance = HexDistance(unit->x, unit->y, target.x, target.y);
      if (!nearest || distance < nearestDistance) {
        nearest = &target;
        nearestDistance = distance;
      }
    }
    if (!nearest || !map.IsInside(nearest->x, nearest->y)) continue;
    const int before = unit->actionPoints;
    unit->ComputeMoveRange(1);
    unit->ExecuteMoveOrder(nearest->x, nearest->y);
    if (before > 0 && unit->actionPoints == before) unit->aiOrder = kAiOrderBlocked;
  }
}

bool cCountryAI::HasPendingOperationalMoves() {
  AiPhaseScope scope("HasPendingOperationalMoves");
  cGame* game = gGame;
  if (!game || !game->map || !country) return false;
  const int radius = game->constants.AiValueD();
  bool ordered = false;
  cMoveRangeReuse::cPass ranges = rangeReuse.BeginPass(*country, ownLand);
  for (std::size_t k = 0; k < ownLand.size(); ++k) {
    cJednostkaLadowa* unit = ownLand[k];
    if (unit->aiOrder != kAiOrderNone && unit->aiOrder != kAiOrderReserve) continue;
    if (unit->actionPoints <= 0) continue;
    ranges.ComputeRange(k);
    if (unit->moveRange.empty()) continue;
    const cCity* city = FindNearestEnemyCity(unit->x, unit->y, *country, radius);
    if (!city) continue;
    unit->aiOrder = kAiOrderAttackCity;
    unit->aiTargetX = city->x;
    unit->aiTargetY = city->y;
    ordered = true;
  }
  return ordered;
}

cCity* cCountryAI::FindNearestEnemyCity(int x, int y, const cCountry& side, int radius) const {
  cGame* game = gGame;
  if (!game || !game->map || !game->map->IsInside(x, y)) return nullptr;
  const cMap& map = *game->map;
  const int width = map.GetWidth();
  const int height = map.GetHeight();
  // The order of the scan moves with the start wherever no hex within the
  // radius is off the map (it depends on the column's parity alone), so
  // those starts take it from one listing per parity.
  thread_local cRingOrder ring;
  const bool whole = radius >= 0 && x - radius >= 0 && x + radius < width && y - radius >= 0 && y + radius < height;
  const std::vector<sPoint>& hexes = whole ? ring.Offsets(radius, x % 2) : ring.List(x, y, radius, width, height);
  const int dx = whole ? x : 0;
  const int dy = whole ? y : 0;
  cCity* resources = nullptr;
  for (const sPoint& hex : hexes) {
    cCity* city = map.GetHex(hex.x + dx, hex.y + dy)->city;
    if (!city || !AtWar(side.id, GetControllerId(*city))) continue;
    if (city->type != kCityResources) return city;
    if (!resources) resources = city;
  }
  return resources;
}

}  // namespace tr
