// Strategic movement of a unit: from the city that supplies it to another
// city its side holds, in the same topography group for land units.
#include <algorithm>

#include "foundation/console_log.h"
#include "units/jednostka.h"
#include "world/city.h"
#include "world/city_rules.h"
#include "world/gra.h"
#include "world/map.h"
#include "world/topography.h"

namespace tr {
namespace {

constexpr std::uint32_t kStrategicTargetFlag = 32;
constexpr std::uint32_t kAllButSelection = ~1u;

}  // namespace

bool cStrategicMovement::CanMoveStrategically(const cJednostka& unit, const cCity& target) const {
  if (!gGame || !gGame->map) return false;
  const cMap& map = *gGame->map;
  if (unit.supplySourceX == -1 || unit.supplySourceY == -1) return false;
  if (!map.IsInside(unit.supplySourceX, unit.supplySourceY)) return false;
  const cCity* source = map.GetHex(unit.supplySourceX, unit.supplySourceY)->city;
  if (!source) return false;
  const cCountry* owner = unit.GetOwnerCountry();
  if (!owner) return false;
  const cTopography* groups = nullptr;
  if (owner->alliance != kNeutral) {
    groups = GetCountryTopography(owner->id);
  } else if (world_) {
    groups = &world_->Groups();
  }
  const int controller = GetControllerId(target);
  if (controller == 0 || (controller != owner->id && !owner->IsAlly(controller))) return false;
  if (unit.category == kCategoryAir) return true;
  if (!groups) return false;
  for (const sTopographyGroup& group : *groups) {
    if (std::find(group.cities.begin(), group.cities.end(), &target) == group.cities.end()) continue;
    return std::find(group.cities.begin(), group.cities.end(), source) != group.cities.end();
  }
  return false;
}

void cStrategicMovement::MarkStrategicMoveTargets(const cJednostka& unit) const {
  if (!gGame || !gGame->map) return;
  cMap& map = *gGame->map;
  map.ClearHexFlags(kAllButSelection, true);
  for (int i = 1; i <= CountryCount(); ++i) {
    LogFormat(u"Kraj o id=%i ma %i grup topograficznych", i,
              static_cast<int>(GetCountryTopography(i)->size()));
  }
  for (const auto& city : gGame->cities) {
    if (!map.IsInside(city->x, city->y) || !CanMoveStrategically(unit, *city)) continue;
    sHex& hex = *map.GetHex(city->x, city->y);
    if (!hex.unit) hex.AddFlags(kStrategicTargetFlag, -1);
    for (int d = 0; d < kDirectionCount; ++d) {
      sHex* n = map.GetNeighbour(city->x, city->y, d);
      if (n && !n->unit && n->IsLand() && n->IsControlledByFriend(hex.controller)) {
        n->AddFlags(kStrategicTargetFlag, -1);
      }
    }
  }
}

}  // namespace tr
