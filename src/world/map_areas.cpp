// The area searches of the computer opponent's invasion planner: a walk
// outwards from a start hex over land, each hex taken once, in the order in
// which it was first reached.
#include <limits>
#include <vector>

#include "units/jednostka.h"
#include "world/gra.h"
#include "world/hex_distance.h"
#include "world/map.h"

namespace tr {
namespace {

// The controller of the hex is c, an ally of c or at war with c.
bool IsKnownSide(const sHex& hex, int c) {
  if (hex.controller == 0) return false;
  if (hex.controller == c) return true;
  const cCountry* controller = hex.GetControllerCountry();
  return (controller && controller->IsAlly(c)) || gGame->relations.IsAtWar(c, hex.controller);
}

// Walks the land hexes around the start: a hex within the reach adds its land
// neighbours that lie farther out. Each hex is visited once; visiting stops
// when visit returns true.
template <typename Visit>
void WalkArea(const cMap& map, int x0, int y0, int reach, bool expand, Visit visit) {
  if (!map.IsInside(x0, y0)) return;
  std::vector<std::uint8_t> queued(static_cast<std::size_t>(map.GetWidth()) * map.GetHeight(), 0);
  std::vector<sPoint> work{{x0, y0}};
  queued[static_cast<std::size_t>(y0) * map.GetWidth() + x0] = 1;
  for (std::size_t i = 0; i < work.size(); ++i) {
    const sPoint p = work[i];
    if (visit(*map.GetHex(p.x, p.y))) return;
    const int distance = HexDistance(x0, y0, p.x, p.y);
    if (!expand || distance > reach) continue;
    for (int d = 0; d < kDirectionCount; ++d) {
      const sHex* n = map.GetNeighbour(p.x, p.y, d);
      if (!n || !n->IsLand() || HexDistance(x0, y0, n->x, n->y) <= distance) continue;
      std::uint8_t& mark = queued[static_cast<std::size_t>(n->y) * map.GetWidth() + n->x];
      if (mark) continue;
      mark = 1;
      work.push_back({n->x, n->y});
    }
  }
}

}  // namespace

bool cMap::FindAreaPathA(int c, int x0, int y0, int zone, int reach, int& outX, int& outY, bool ownOnly) const {
  bool found = false;
  WalkArea(*this, x0, y0, reach, !ownOnly, [&](const sHex& hex) {
    if (!hex.IsLand() || hex.unit || hex.seaZone != zone || !hex.port) return false;
    if (ownOnly ? hex.controller != c : !IsKnownSide(hex, c)) return false;
    outX = hex.x;
    outY = hex.y;
    found = true;
    return true;
  });
  return found;
}

bool cMap::FindAreaPathB(int c, int x0, int y0, int /*zone*/, int reach, int& outX, int& outY) const {
  bool found = false;
  float weakest = std::numeric_limits<float>::max();
  WalkArea(*this, x0, y0, reach, true, [&](const sHex& hex) {
    if (!hex.IsLand() || !hex.unit || !IsKnownSide(hex, c)) return false;
    const auto* unit = dynamic_cast<const cJednostka*>(hex.unit);
    if (!unit || unit->owner < 1 || !gGame->relations.IsAtWar(c, unit->owner)) return false;
    const float strength = unit->GetEffectiveStrength();
    if (strength < weakest) {
      weakest = strength;
      outX = hex.x;
      outY = hex.y;
      found = true;
    }
    return false;
  });
  return found;
}

}  // namespace tr
