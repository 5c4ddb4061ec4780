// Where a land or air unit is: placed from the reserve pool next to a city,
// jumped by strategic movement, taken back into the pool from the map or from
// aboard a ship, or destroyed. A unit is always in exactly one place: the
// pool, the map lists or an aboard list, and a hex holds it only while it
// stands there.
#include <algorithm>
#include <memory>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/game_lock.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "units/player_control.h"
#include "world/city_rules.h"
#include "world/gra.h"
#include "world/presentation.h"

namespace tr {
namespace {

// Takes the owning pointer of the unit out of a list; null when it is not there.
template <typename List, typename T>
auto TakeFrom(List& list, const T* unit) -> typename List::value_type {
  auto it = std::find_if(list.begin(), list.end(), [unit](const auto& p) { return p.get() == unit; });
  if (it == list.end()) return nullptr;
  // Taken by the list itself, which notes the change.
  auto owned = TakeEntry(list, it);
  return owned;
}

template <typename To, typename From>
std::unique_ptr<To> Downcast(std::unique_ptr<From> from) {
  return std::unique_ptr<To>(static_cast<To*>(from.release()));
}

void ClearHexOf(const cUnit& unit) {
  cMap& map = *gGame->map;
  if (!map.IsInside(unit.x, unit.y)) return;
  sHex* hex = map.GetHex(unit.x, unit.y);
  if (hex->unit == &unit) hex->unit = nullptr;
}

// A destroyed unit may still be named by the move, the undo record, the
// selection or a planned attack; none of them may outlive it.
void ForgetUnit(const cUnit& unit) {
  cPlayerControl& control = gGame->playerControl;
  if (control.move.unit == &unit) {
    control.move.unit = nullptr;
    control.move.path.clear();
    control.move.walked.clear();
  }
  if (control.undo.unit == &unit) {
    control.undo.unit = nullptr;
    control.undo.changedHexes.clear();
  }
  if (control.selectedUnit == &unit) control.selectedUnit = nullptr;
  if (sAttack* attack = control.GetPendingAttack()) {
    if (attack->defender == &unit) attack->defender = nullptr;
    for (cJednostka*& attacker : attack->attackers) {
      if (attacker == &unit) attacker = nullptr;
    }
  }
}

// The supplying city of a deployment on (x, y) for country k.
cCity* FindDeploymentCity(const cCountry& k, int x, int y) {
  cMap& map = *gGame->map;
  if (cCity* here = map.GetHex(x, y)->city) return here;
  cCity* found = nullptr;
  for (int d = 0; d < kDirectionCount; ++d) {
    const sHex* n = map.GetNeighbour(x, y, d);
    if (n && n->city && CanSupplyDeployment(*n->city, k)) found = n->city;  // the last one wins
  }
  return found;
}

}  // namespace

void cJednostka::StrategicMove(int newX, int newY) {
  if (!gGame || !gGame->map) return;
  cMap& map = *gGame->map;
  if (!map.IsInside(newX, newY) || (map.GetHex(newX, newY)->unit && map.GetHex(newX, newY)->unit != this)) {
    LogFormat(u"Strategic move of %s to hex (%i,%i) refused: the hex is off the map or taken", name, newX, newY);
    return;
  }
  if (spotted) Presentation().PlaySoundEffect(u"data\\sound\\StrategicDeployLand.wav");
  ClearHexOf(*this);
  x = newX;
  y = newY;
  SetActionPoints(0);
  map.GetHex(newX, newY)->unit = this;
  cCountry* own = GetOwnerCountry();
  if (!own) return;
  if (category == kCategoryLand) {
    own->AddStrategicMovementPoints(-gGame->constants.StrategicMoveCost(type));
  } else {
    own->AddProductionPoints(-gGame->constants.AirStrategicMoveCost(type));
  }
}

bool cJednostka::DeployNearCity(int newX, int newY) {
  if (!gGame || !gGame->map) return false;
  cMap& map = *gGame->map;
  const cCountry* k = gGame->playerControl.currentCountry;
  if (!map.IsInside(newX, newY) || map.GetHex(newX, newY)->unit || !k) {
    LogFormat(u"Error while deploying unit: hex (%i,%i) is off the map or taken", newX, newY);
    return false;
  }
  const cCity* city = FindDeploymentCity(*k, newX, newY);
  if (!city) {
    LogFormat(u"Error while deploying unit: cant find appropriate city near (%i,%i)", newX, newY);
    return false;
  }
  std::unique_ptr<cJednostka> owned = TakeFrom(gGame->reservePool, this);
  if (!owned) {
    LogFormat(u"Error while deploying unit: %s is not in the reserve pool", name);
    return false;
  }
  SetSupplySourceX(city->x);
  SetSupplySourceY(city->y);
  const std::size_t i = static_cast<std::size_t>(k->id - 1);
  SetSupply(i < city->supplyInfo.size() ? city->supplyInfo[i] : 0);
  cJednostkaLadowa* land = nullptr;
  if (category != kCategoryLand) {
    gGame->airUnits.push_back(Downcast<cJednostkaLotnicza>(std::move(owned)));
  } else {
    land = static_cast<cJednostkaLadowa*>(this);
    land->turnsSinceParadrop = 0;
    gGame->landUnits.push_back(Downcast<cJednostkaLadowa>(std::move(owned)));
  }
  inReserve = 0;
  map.GetHex(newX, newY)->unit = this;
  x = newX;
  y = newY;
  if (land) land->movedThisTurn = 1;
  return true;
}

int cJednostkaLadowa::MoveToReservePool() {
  LogFormat(u"map --> reserve pool: %s", name);
  if (!gGame || !gGame->map) return -1;
  std::unique_ptr<cJednostkaLadowa> owned = TakeFrom(gGame->landUnits, this);
  if (!owned) {
    LogFormat(u"%s is not on the map and stays where it is", name);
    return -1;
  }
  ClearHexOf(*this);
  gGame->reservePool.push_back(std::move(owned));
  inReserve = 1;
  x = -1;
  y = -1;
  // The pool holds its units at full supply, as a loaded game puts them there.
  SetSupply(gGame->constants.FullSupplyLevel());
  ComputeCombatValue();
  return -1;
}

bool cJednostkaLadowa::MoveFromShipToReservePool() {
  LogFormat(u"ship --> reserve pool: %s", name);
  if (!gGame) return false;
  cJednostkaMorska* ship = transporter;
  cUnitList<cJednostkaLadowa>* aboard = nullptr;
  if (ship && ship->carriedUnit == this) {
    if (ship->type == kCargoShip) aboard = &gGame->aboardUnitsA;
    if (ship->type == kAmphibiousShip) aboard = &gGame->aboardUnitsB;
  }
  const auto aboardHere = [this](const auto& p) { return p.get() == this; };
  if (!aboard || std::none_of(aboard->begin(), aboard->end(), aboardHere)) {
    LogFormat(u"%s is not aboard a ship and stays where it is", name);
    return false;
  }
  if (ship->type == kCargoShip && type >= 0 && type < kLandTypeCount) {
    const cCountry* current = gGame->playerControl.currentCountry;
    if (cCountry* payee = gGame->GetCountry(current ? current->id : int{owner})) {
      payee->AddSeaTransportPoints(gGame->constants.SeaTransportCost(type));
    }
  }
  GameLockGuard lock(__FILE__, __LINE__);
  transporter = nullptr;
  transporterId = -1;
  inReserve = 1;
  availableInTurns = 0;
  x = -1;
  y = -1;
  SetSupply(gGame->constants.FullSupplyLevel());
  ComputeCombatValue();
  gGame->reservePool.push_back(aboard->Take(std::find_if(aboard->begin(), aboard->end(), aboardHere)));
  ship->carriedUnit = nullptr;
  return true;
}

void cUnit::ReleaseReferences() {
  if (!gGame) return;
  for (const auto& country : gGame->countries) country->reconSpottedUnits.remove(this);
  if (attachedCommander) {
    attachedCommander->state = kCommanderOnHisWay;
    attachedCommander->headquarters = nullptr;
    attachedCommander = nullptr;
  }
  ForgetUnit(*this);
}

void cJednostkaLadowa::Kill() {
  if (!gGame) return;
  ReleaseReferences();
  std::unique_ptr<cJednostkaLadowa> owned;
  if (transporter) {
    if (transporter->type == kCargoShip) {
      owned = TakeFrom(gGame->aboardUnitsA, this);
    } else if (transporter->type == kAmphibiousShip) {
      owned = TakeFrom(gGame->aboardUnitsB, this);
    } else {
      LogLine(u"Data integrity error. Trying to kill unit loaded into non-transport.");
      FatalExit(1);
    }
    if (transporter->carriedUnit == this) transporter->carriedUnit = nullptr;
  } else if (inReserve) {
    owned = Downcast<cJednostkaLadowa>(TakeFrom(gGame->reservePool, static_cast<cJednostka*>(this)));
  } else {
    GameLockGuard lock(__FILE__, __LINE__);
    if (gGame->map) ClearHexOf(*this);
    owned = TakeFrom(gGame->landUnits, this);
  }
  if (!owned) LogFormat(u"Killing %s: the unit is in none of the game's lists", name);
  // `owned` frees the unit as the call returns; nothing of it is touched after this.
}

}  // namespace tr
