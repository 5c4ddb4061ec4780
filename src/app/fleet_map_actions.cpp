#include "app/fleet_map_actions.h"

#include <vector>

#include "app/game_mouse.h"
#include "app/modal_stack.h"
#include "dialogs/dialog_flot.h"
#include "dialogs/dialog_tekstowy.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "turn/fleet.h"
#include "units/combat_result.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_morska.h"
#include "world/city.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr std::uint32_t kPlacementMark = 64;
constexpr std::uint32_t kStrikeMark = 0x200;
constexpr std::uint32_t kRouteMark = 0x8000;

cMap& Map() { return *gGame->map; }

int CurrentCountryId() {
  const cCountry* country = gGame->playerControl.currentCountry;
  return country != nullptr ? country->id : 0;
}

bool IsFleetAction(int mode) {
  return mode == kActionRecon || mode == kActionBombardment || mode == kActionFleetMove ||
         mode == kActionInvasionTarget || mode == kActionShoreBombardment;
}

// The result popup, or with no popup delay the manager at once. Either way
// the manager comes back: the popup's closing makes it the top again.
void ShowResultOrRefresh(cDialogFlot& manager, const sCombatResult& result) {
  if (gDelays[kDelayHumanCombatResult] != 0.0f) {
    ShowPlayerCombatResult(result);
  } else {
    manager.OnActivate();
  }
}

cJednostkaMorska* ReconShip(const cDialogFlot& manager) {
  for (cJednostkaMorska* ship : manager.selectedShips()) {
    if (ship->type == kAircraftCarrier && ship->reconDone == 0) return ship;
  }
  return manager.GetSelectedEntry(0);
}

}  // namespace

void FleetRecon(cDialogFlot& manager, int column, int row) {
  cJednostkaMorska* ship = ReconShip(manager);
  const sHex& hex = *Map().GetHex(column, row);
  if (ship != nullptr) {
    if (hex.IsLand()) {
      ship->ReconArea(column, row);
      const cCity* city = hex.city;
      if (city != nullptr && (city->type == kCitySupplyPort || city->type == kCityPort) && hex.seaNodeMarker > 0) {
        ship->ReconSeaNode(hex.seaNodeMarker);
      }
    } else if (hex.seaZone > 0) {
      ship->ReconSeaNode(hex.seaZone);
    }
  }
  manager.OnActivate();
}

void FleetAirStrike(cDialogFlot& manager, bool marked, int column, int row) {
  cJednostkaMorska* carrier = manager.GetSelectedEntry(0);
  if (!marked || carrier == nullptr) {
    manager.OnActivate();
    return;
  }
  // An interceptor may sink the carrier: the selection lets go of it first,
  // and the manager's refresh reads its fleet again.
  manager.ForgetShip(carrier);
  sCombatResult result;
  Map().GetHex(column, row)->BombardFromAir(result, *carrier);
  ShowResultOrRefresh(manager, result);
}

void FleetMove(cDialogFlot& manager, bool marked, int column, int row) {
  const int marker = Map().GetHex(column, row)->seaNodeMarker;
  if (marked && marker > 0) {
    const std::vector<cFleet*> fleets = manager.selectedFleets();
    for (cFleet* fleet : fleets) fleet->MoveTo(marker);
    Map().ClearHexFlags(kRouteMark, false);
  }
  manager.OnActivate();
}

void FleetUnload(cDialogFlot& manager, bool marked, int column, int row) {
  cJednostkaMorska* ship = manager.GetSelectedEntry(0);
  if (marked && ship != nullptr && ship->fleet != nullptr && gGame->seaGraph.IsNodeId(ship->fleet->seaNodeId)) {
    sWezelGrafuMorz& node = ship->fleet->GetSeaNode();
    Map().ClearHexFlags(kPlacementMark, false);
    const sHex& target = *Map().GetHex(column, row);
    const sHex& portHex = *Map().GetHex(node.x, node.y);
    const bool friendly = ship->owner > 0 && target.IsControlledByFriend(ship->owner);
    const auto unload = [&] {
      cJednostkaLadowa* unit = ship->carriedUnit;
      if (unit == nullptr || !ship->UnloadTransport(column, row, node.x, node.y)) return;
      unit->spotted = 1;
      // The transport is freed: the selection must not point at it.
      manager.ForgetShip(ship);
      ship->Sink(0);
    };
    if (friendly && portHex.city != nullptr) {
      unload();
    } else if (target.seaZone != 0 && target.port != 0) {
      if (cJednostkaLadowa* unit = ship->carriedUnit) {
        // The landing sinks the ship whatever its outcome.
        manager.ForgetShip(ship);
        unit->AmphibiousInvasion(column, row);
      }
    } else if (friendly) {
      unload();
    }
    node.CalculateNavalVisibilityFor(CurrentCountryId(), false);
  }
  manager.OnActivate();
}

void FleetShoreBombardment(cDialogFlot& manager, bool marked, int column, int row) {
  if (!marked || !Map().GetHex(column, row)->IsLand() || manager.selectedFleets().empty()) {
    manager.OnActivate();
    return;
  }
  sCombatResult result;
  const bool hit = manager.selectedFleets().front()->ShoreBombard(column, row, &result, 0);
  Map().ClearHexFlags(kStrikeMark, false);
  if (hit) {
    ShowResultOrRefresh(manager, result);
    return;
  }
  PushModalDialog(new cDialogTekstowy(GetText("shore_bombardment_result_message_no_unit_or_missed"),
                                      GetText("shore_bombardment_result_title")));
}

void ResumeHiddenFleetsManager() {
  cDialogFlot* manager = TopFleetsManager();
  if (manager == nullptr || manager->GetVisible() || gGame == nullptr) return;
  // A manager whose show is already timed, or whose target is still awaited, stays as it is.
  if (manager->timerPaused == 0 && manager->timerSeconds >= 0.0f) return;
  if (IsFleetAction(gGame->playerControl.actionMode)) return;
  manager->OnActivate();
}

}  // namespace tr
