// A transport and the land unit it carries: where the unit may go ashore, and
// setting it down on the map, which gives the cargo ship's sea-transport
// points back to the country whose turn it is.
#include <algorithm>
#include <memory>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "turn/fleet.h"
#include "units/air_support.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/hex_geometry.h"

namespace tr {
namespace {

inline constexpr std::uint32_t kFlagPlacement = 64;
inline constexpr std::uint32_t kAllFlags = ~std::uint32_t{0};

// The country whose turn it is; the ship's owner where no turn has begun.
int CurrentCountryId(const cUnit& ship) {
  const cCountry* current = gGame->playerControl.currentCountry;
  return current ? current->id : int{ship.owner};
}

bool IsFreeFriendlyLand(const sHex& hex, int countryId) {
  return hex.IsLand() && !hex.unit && countryId >= 1 && hex.IsControlledByFriend(countryId);
}

// A free hex, or one held by an enemy unit the landing attacks.
bool IsLandingHex(const sHex& hex, int owner) {
  if (!hex.IsLand() || !hex.port || hex.seaZone == 0) return false;
  if (!AtWar(hex.controller, owner) && !AtWar(hex.owner, owner)) return false;
  return !hex.unit || AtWar(hex.unit->owner, owner);
}

}  // namespace

int cJednostkaMorska::MarkPlacementPorts(int mark) {
  if (!gGame || !gGame->map) return 0;
  cMap& map = *gGame->map;
  if (mark) map.ClearHexFlags(kAllFlags, true);
  if (!fleet || !gGame->seaGraph.IsNodeId(fleet->seaNodeId)) return 0;
  const sWezelGrafuMorz& node = fleet->GetSeaNode();
  int count = 0;
  const auto take = [&](sHex& hex) {
    ++count;
    if (mark) hex.AddFlags(kFlagPlacement, -1);
  };
  if (node.type == kSeaNodeOpenSea && type == kAmphibiousShip) {
    for (sHex& hex : map.Hexes()) {
      if (hex.seaZone == node.id && IsLandingHex(hex, owner)) take(hex);
    }
  } else if (node.type == kSeaNodePort && map.IsInside(node.x, node.y)) {
    sHex& port = *map.GetHex(node.x, node.y);
    if (IsFreeFriendlyLand(port, owner)) take(port);
    for (int d = 0; d < kDirectionCount; ++d) {
      sHex* next = map.GetNeighbour(node.x, node.y, d);
      if (next && IsFreeFriendlyLand(*next, owner)) take(*next);
    }
  }
  return count;
}

bool cJednostkaMorska::UnloadTransport(int x, int y, int sx, int sy) {
  if (!gGame || !gGame->map) return false;
  cJednostkaLadowa* unit = carriedUnit;
  if (!unit) {
    LogFormat(u"ERROR! Trying to unload non-existing unit from transport! (%s, ID %i)", name, id);
    return false;
  }
  cUnitList<cJednostkaLadowa>* aboard = nullptr;
  if (type == kCargoShip) {
    LogFormat(u"Unloading sea transport into friendly-controlled hex %d, %d with land unit %s [ID %d] transported by "
              u"cargo unit %s [ID %d]",
              x, y, unit->name, unit->id, name, id);
    aboard = &gGame->aboardUnitsA;
  } else if (type == kAmphibiousShip) {
    LogFormat(u"Unloading sea transport into friendly-controlled hex %d, %d with land unit %s [ID %d] transported by "
              u"amphibious unit %s [ID %d]",
              x, y, unit->name, unit->id, name, id);
    aboard = &gGame->aboardUnitsB;
  } else {
    // Only an internal misuse gets here; the game goes on without the unload.
    LogLine(u"ERR: Trying to unload sea transport from sea unit of subtype of neither cargo nor amphibious! Details "
            u"below");
    LogFormat(u"ERR: Unloading sea transport into friendly-controlled hex %d, %d with land unit %s [ID %d] "
              u"transported by sea unit %s [ID %d] of subtype %d (INVALID SUBTYPE FOR THIS ACTION!)",
              x, y, unit->name, unit->id, name, id, type);
    return false;
  }
  cMap& map = *gGame->map;
  if (!map.IsInside(x, y) || map.GetHex(x, y)->unit) {
    LogFormat(u"ERROR: unit %s (ID=%i) cannot go ashore at (%i, %i): the hex is off the map or taken", unit->name,
              unit->id, x, y);
    return false;
  }
  const auto it = std::find_if(aboard->begin(), aboard->end(), [unit](const auto& p) { return p.get() == unit; });
  if (it == aboard->end()) {
    LogFormat(u"ERROR: unit %s (ID=%i) is not in the list of units aboard ships; not unloaded", unit->name, unit->id);
    return false;
  }
  if (type == kCargoShip) {
    if (unit->type >= 0 && unit->type < kLandTypeCount) {
      if (cCountry* current = gGame->GetCountry(CurrentCountryId(*this))) {
        current->AddSeaTransportPoints(gGame->constants.SeaTransportCost(unit->type));
      }
    } else {
      LogFormat(u"ERROR: unit %s (ID=%i) of type %i has no sea-transport cost", unit->name, unit->id, unit->type);
    }
  }
  {
    GameLockGuard lock(__FILE__, __LINE__);
    unit->SetActionPoints(0);
    // Without a city at the supply source the unit keeps the supply it had.
    const sHex* source = map.IsInside(sx, sy) ? map.GetHex(sx, sy) : nullptr;
    if (source && source->city && unit->owner >= 1 &&
        static_cast<std::size_t>(unit->owner) <= source->city->supplyInfo.size()) {
      unit->SetSupply(source->city->supplyInfo[static_cast<std::size_t>(unit->owner - 1)]);
    }
    unit->ComputeCombatValue();
    unit->x = x;
    unit->y = y;
    unit->SetSupplySourceX(sx);
    unit->SetSupplySourceY(sy);
    unit->transporter = nullptr;
    unit->transporterId = -1;
    map.GetHex(x, y)->unit = unit;
    // The entry goes from the aboard list to the map's list.
    gGame->landUnits.push_back(aboard->Take(it));
    carriedUnit = nullptr;
  }
  unit->RevealUnitsAround(0);
  return true;
}

bool cJednostkaMorska::UnloadCarriedUnit(int testOnly) {
  if (!gGame || !gGame->map) return false;
  if (!carriedUnit) {
    LogLine(u"ERROR! Trying to unload non-existing unit from transport!");
    return false;
  }
  if (!fleet || !gGame->seaGraph.IsNodeId(fleet->seaNodeId)) return false;
  const sWezelGrafuMorz& node = fleet->GetSeaNode();
  cMap& map = *gGame->map;
  if (!map.IsInside(node.x, node.y)) return false;
  const int current = CurrentCountryId(*this);
  const sHex* target = map.GetHex(node.x, node.y);
  if (!IsFreeFriendlyLand(*target, current)) {
    target = nullptr;
    for (int d = 0; d < kDirectionCount && !target; ++d) {
      const sHex* next = map.GetNeighbour(node.x, node.y, d);
      if (next && IsFreeFriendlyLand(*next, current)) target = next;
    }
  }
  if (!target) return false;
  if (testOnly) return true;
  return UnloadTransport(target->x, target->y, node.x, node.y);
}

}  // namespace tr
