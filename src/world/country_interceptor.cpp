// The interceptor a country sends against an air attack on a hex: over land
// the strongest fighter of its side within its range, at sea the strongest
// enemy carrier at the hex's sea node. Unlike the hex's own search (made for
// the attacker against its enemies' fighters), the best power starts at 0.
#include "foundation/console_log.h"
#include "units/air_support.h"
#include "units/sea_node_air_ops.h"
#include "world/gra.h"
#include "world/hex_distance.h"

namespace tr {
namespace {

// Keeps the strictly strongest candidate, so the first in list order wins a tie.
class cInterceptorChoice {
 public:
  void Offer(cUnit& unit, int power) {
    LogFormat(u"Possible interceptor: %s, power: %i", unit.name, power);
    if (power > bestPower_) {
      LogLine(u"Interceptor above is best so far!");
      bestPower_ = power;
      best_ = &unit;
    }
  }
  cUnit* Finish() const {
    LogLine(best_ ? u"Searching for interceptor finished" : u"Searching for interceptor finished, no interceptor found");
    return best_;
  }

 private:
  cUnit* best_ = nullptr;
  int bestPower_ = 0;
};

}  // namespace

cUnit* cCountry::FindBestInterceptor(int x, int y) const {
  if (!gGame || !gGame->map) return nullptr;
  const sHex& hex = *gGame->map->GetHex(x, y);
  const sScenarioConstants& k = gGame->constants;
  cInterceptorChoice choice;
  if (hex.IsLand()) {
    LogFormat(u"Searching for interceptor while attacking hex (%i, %i / land)", x, y);
    if (gGame->airUnits.empty()) return choice.Finish();
    const int minimum = k.AirMaxStrength(kFighter) / 2;
    for (const auto& unit : gGame->airUnits) {
      if (unit->type != kFighter || unit->owner < 1) continue;
      if (unit->owner != id && !IsAlly(unit->owner)) continue;
      if (HexDistance(unit->x, unit->y, x, y) > unit->GetRange() || unit->strength <= minimum) continue;
      choice.Offer(*unit, k.SupplyAirModifier(unit->supply) + unit->level + unit->strength);
    }
    return choice.Finish();
  }
  if (hex.seaZone == 0) return choice.Finish();
  LogFormat(u"Searching for interceptor while attacking hex (%i, %i / sea node: %s)", x, y,
            SeaNodeAirOps().NodeName(hex.seaZone));
  for (const auto& ship : gGame->navalUnits) {
    if (ship->type != kAircraftCarrier || ship->hitPoints < k.CarrierHitPointLimit()) continue;
    if (!AtWar(ship->owner, id) || !ship->fleet || ship->fleet->seaNodeId != hex.seaZone) continue;
    choice.Offer(*ship, ship->hitPoints);
  }
  return choice.Finish();
}

}  // namespace tr
