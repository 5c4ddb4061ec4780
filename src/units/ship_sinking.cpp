// A ship's reconnaissance of its sea zone or of the coast, and the end of a
// ship: everything that names it lets go before it is freed.
#include <algorithm>
#include <memory>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/string_base.h"
#include "turn/fleet.h"
#include "units/air_support.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_morska.h"
#include "units/sea_node_air_ops.h"
#include "world/gra.h"
#include "world/presentation.h"

namespace tr {
namespace {

template <typename List>
std::unique_ptr<cJednostkaMorska> TakeShip(List& list, const cJednostkaMorska* ship) {
  const auto it = std::find_if(list.begin(), list.end(), [ship](const auto& p) { return p.get() == ship; });
  if (it == list.end()) return nullptr;
  // Taken by the list itself, which notes the change.
  std::unique_ptr<cJednostkaMorska> owned = TakeEntry(list, it);
  return owned;
}

}  // namespace

void cJednostkaMorska::ReconSeaNode(int seaNodeId) {
  if (!gGame) return;
  if (spotted) PlayAirSound(u"AirRecon.wav");
  SeaNodeAirOps().RecalculateNavalVisibilityForRecon(seaNodeId, false);
  reconDone = 1;
}

void cJednostkaMorska::ReconArea(int x, int y) {
  if (!gGame) return;
  if (spotted) PlayAirSound(u"AirRecon.wav");
  cCountry* viewer = GetOwnerCountry();
  RevealHiddenUnitsWithin(x, y, viewer ? viewer->GetTechLevel(kAircraftTech) : 0, viewer);
  reconDone = 1;
}

void cJednostkaMorska::Sink(int killCarried) {
  if (!gGame) return;
  GameLockGuard lock(__FILE__, __LINE__);
  LogLine(Format(GetText("killing_%s_naval_unit"), name));
  const int nodeId = fleet ? fleet->seaNodeId : -1;
  if (gGame->GetGameState() == kGameSeaBattleScreen) Presentation().ClearSeaBattleCell(*this);

  std::vector<sWezelGrafuMorz*> shown;
  for (sWezelGrafuMorz& node : gGame->seaGraph.nodes) {
    const bool player = node.playerMarkerShip == this;
    const bool enemy = node.enemyMarkerShip == this;
    if (player) node.playerMarkerShip = nullptr;
    if (enemy) node.enemyMarkerShip = nullptr;
    if (player || enemy) shown.push_back(&node);
  }

  if (cJednostkaLadowa* unit = carriedUnit) {
    if (killCarried) {
      LogLine(Format(GetText("killing_%s_carried_by_transport/amph."), unit->name));
      unit->Kill();
    } else {
      // The unit stays aboard with no ship to land it.
      unit->transporter = nullptr;
      unit->transporterId = -1;
    }
    carriedUnit = nullptr;
  }

  if (cFleet* own = fleet) {
    own->ships.remove(this);
    fleet = nullptr;
    fleetId = -1;
    if (own->ships.empty()) DeleteFleet(own);
  }

  if (sCommander* commander = attachedCommander) {
    commander->state = kCommanderOnHisWay;
    commander->headquarters = nullptr;
    attachedCommander = nullptr;
    if (gGame->seaGraph.IsNodeId(nodeId)) gGame->seaGraph.GetNode(nodeId - 1).ShareBestCommander(owner);
  }

  cPlayerControl& control = gGame->playerControl;
  if (control.selectedUnit == this) control.selectedUnit = nullptr;
  for (const auto& country : gGame->countries) country->reconSpottedUnits.remove(this);

  std::unique_ptr<cJednostkaMorska> owned = TakeShip(gGame->navalUnits, this);
  if (!owned) owned = TakeShip(gGame->navalReserve, this);
  if (!owned) LogFormat(u"Sinking %s: the ship is in none of the game's lists", name);
  for (sWezelGrafuMorz* node : shown) node->RecalculateSpotting(true, true);
  // `owned` frees the ship as the call returns; nothing of it is touched after this.
}

}  // namespace tr
