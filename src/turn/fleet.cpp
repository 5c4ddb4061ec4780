// The fleet record's own bookkeeping: numbers and names, splitting and
// merging by the ships' marks, the sums over its ships, and its deletion.
#include "turn/fleet.h"

#include <algorithm>
#include <memory>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/string_base.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/object_numbers.h"
#include "world/presentation.h"

namespace tr {

int NewFleetId() { return gGame ? NewFleetNumber(*gGame) : 0; }

std::u16string NewFleetName(int fleetId) {
  std::u16string name = Format(GetText("fleet_#%i"), fleetId);
  if (name.size() > 99) name.resize(99);
  return name;
}

cFleet* cFleet::SplitOff(cFleet& source) {
  if (!gGame) return nullptr;
  auto made = std::make_unique<cFleet>();
  cFleet& fleet = *made;
  fleet.countryId = source.countryId;
  fleet.seaNodeId = source.seaNodeId;
  fleet.formation = source.formation;
  fleet.active = source.active;
  fleet.hasMoved = source.hasMoved;
  fleet.aiOrder = source.aiOrder;
  fleet.aiDestinationNode = source.aiDestinationNode;
  fleet.aiInvasionX = source.aiInvasionX;
  fleet.aiInvasionY = source.aiInvasionY;
  fleet.id = NewFleetId();
  fleet.name = NewFleetName(fleet.id);
  // The screen reads the fleets while the worker splits them.
  GameLockGuard lock(__FILE__, __LINE__);
  for (cJednostkaMorska* ship : source.ships) {
    if (!ship->mark) continue;
    ship->fleet = &fleet;
    ship->fleetId = fleet.id;
    fleet.ships.push_back(ship);
  }
  gGame->fleets.push_back(std::move(made));
  return &fleet;
}

void cFleet::MoveMarkedShipsTo(cFleet& target) {
  if (&target == this) return;
  GameLockGuard lock(__FILE__, __LINE__);
  for (auto it = ships.begin(); it != ships.end();) {
    cJednostkaMorska* ship = *it;
    if (!ship->mark) {
      ++it;
      continue;
    }
    ship->fleet = &target;
    ship->fleetId = target.id;
    target.ships.push_back(ship);
    it = ships.erase(it);
  }
}

void cFleet::RemoveMarkedShips() {
  GameLockGuard lock(__FILE__, __LINE__);
  ships.remove_if([](const cJednostkaMorska* ship) { return ship->mark != 0; });
}

void cFleet::ClearShipMarks() {
  for (cJednostkaMorska* ship : ships) ship->mark = 0;
}

void cFleet::MarkShipsOfGroup(int group) {
  for (cJednostkaMorska* ship : ships) {
    if (ship->group == group) ship->mark = 1;
  }
}

bool cFleet::HasSingleGroup(int& outGroup) const {
  outGroup = -1;
  if (ships.empty()) return true;
  const int first = ships.front()->group;
  if (first == -1) LogLine(u"ERROR: Unexpected assignment of ship to seazone (-1)");
  for (const cJednostkaMorska* ship : ships) {
    if (ship->group != first) {
      outGroup = ship->group;
      return false;
    }
  }
  return true;
}

int cFleet::SumHitPoints() {
  int sum = 0;
  for (cJednostkaMorska* ship : ships) {
    sum += ship->hitPoints;
    ship->group = -1;
  }
  return sum;
}

int cFleet::SumMaxHitPoints() const {
  int sum = 0;
  for (const cJednostkaMorska* ship : ships) sum += ship->maxHitPoints;
  return sum;
}

float cFleet::SumNavalStrength() const {
  float sum = 0.0f;
  for (const cJednostkaMorska* ship : ships) sum += ship->GetCombatStrength();
  return sum;
}

int cFleet::GetConvoyAttackValue() const {
  int sum = 0;
  for (const cJednostkaMorska* ship : ships) sum += ship->RollPerTypeValue();
  return sum;
}

sWezelGrafuMorz& cFleet::GetSeaNode() const { return gGame->seaGraph.GetNode(seaNodeId - 1); }

bool DeleteFleet(cFleet* fleet) {
  if (!fleet || !gGame) return false;
  if (!fleet->ships.empty()) {
    LogFormat(u"ERROR: fleet %s (ID=%i) still has %i ships and is not deleted", fleet->name, fleet->id,
              static_cast<int>(fleet->ships.size()));
    return false;
  }
  GameLockGuard lock(__FILE__, __LINE__);
  Presentation().ForgetFleet(*fleet);
  auto& fleets = gGame->fleets;
  const auto it = std::find_if(fleets.begin(), fleets.end(), [fleet](const auto& f) { return f.get() == fleet; });
  if (it == fleets.end()) {
    LogFormat(u"ERROR: fleet %s (ID=%i) is not in the game's fleet list", fleet->name, fleet->id);
    return false;
  }
  fleets.erase(it);
  return true;
}

}  // namespace tr
