// Air reconnaissance: a flight over an area of land reveals the hidden units
// around the target hex; a flight over a sea zone refreshes what its viewer
// knows of the ships there. Either may be intercepted first.
#include <deque>
#include <vector>

#include "units/air_support.h"
#include "units/combat_result.h"
#include "units/jednostka_lotnicza.h"
#include "units/sea_node_air_ops.h"
#include "world/gra.h"
#include "world/hex_distance.h"

namespace tr {
namespace {

// A plane shot down while reconnoitring leaves the game like a bomber shot
// down over its target.
void EndFlight(cJednostkaLotnicza& unit, const sCombatResult& result) {
  if (result.Flag(kFlagAttackerDestroyed)) unit.Kill();
}

}  // namespace

void RevealHiddenUnitsWithin(int x, int y, int reach, cCountry* viewer) {
  if (!gGame || !gGame->map || !gGame->map->IsInside(x, y)) return;
  cMap& map = *gGame->map;
  // Breadth-first over the hexes within reach of (x, y).
  std::vector<std::uint8_t> seen(static_cast<std::size_t>(map.GetWidth()) * map.GetHeight(), 0);
  std::deque<sPoint> queue{{x, y}};
  seen[static_cast<std::size_t>(y) * map.GetWidth() + x] = 1;
  while (!queue.empty()) {
    const sPoint at = queue.front();
    queue.pop_front();
    sHex& hex = *map.GetHex(at.x, at.y);
    if (hex.unit && !hex.unit->spotted) {
      hex.unit->spotted = 1;
      if (viewer) viewer->reconSpottedUnits.push_back(hex.unit);
    }
    for (int d = 0; d < kDirectionCount; ++d) {
      const sHex* next = map.GetNeighbour(at.x, at.y, d);
      if (!next) continue;
      const std::size_t index = static_cast<std::size_t>(next->y) * map.GetWidth() + next->x;
      if (seen[index] || HexDistance(x, y, next->x, next->y) > reach) continue;
      seen[index] = 1;
      queue.push_back({next->x, next->y});
    }
  }
}

void cJednostkaLotnicza::ReconHexArea(int targetX, int targetY, sCombatResult& result) {
  if (!gGame || !gGame->map || !gGame->map->IsInside(targetX, targetY)) return;
  cMap& map = *gGame->map;
  actionPoints -= 1;
  airReconDone = 1;
  cJednostkaLotnicza* interceptor = map.GetHex(targetX, targetY)->FindBestInterceptor(owner);
  if (interceptor && TryIntercept(interceptor, &result)) {
    EndFlight(*this, result);
    return;
  }
  if (spotted) PlayAirSound(u"AirRecon.wav");
  result.kind = kBattleRecon;
  cCountry* viewer = GetOwnerCountry();
  RevealHiddenUnitsWithin(targetX, targetY, viewer ? viewer->GetTechLevel(3) : 0, viewer);
}

void cJednostkaLotnicza::ReconSeaZone(int seaNodeId, sCombatResult& result) {
  if (seaNodeId <= 0 || !gGame) return;
  actionPoints -= 1;
  airReconDone = 1;
  cSeaNodeAirOps& sea = SeaNodeAirOps();
  cUnit* interceptor = sea.SearchInterceptor(seaNodeId, owner);
  if (interceptor && TryIntercept(interceptor, &result)) {
    EndFlight(*this, result);
    return;
  }
  if (spotted) PlayAirSound(u"AirRecon.wav");
  result.kind = kBattleRecon;
  sea.RecalculateNavalVisibilityForRecon(seaNodeId, true);
}

}  // namespace tr
