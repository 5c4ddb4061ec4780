// The game's lists searched and changed in the few fixed ways the readers,
// the country rules, the scripted events and the panels need. Lists are
// walked in list order, so the earliest match wins.
#include <algorithm>
#include <cstdint>

#include "foundation/console_log.h"
#include "world/gra.h"

namespace tr {
namespace {

// The turn-order side of a country: 1 axis, 2 allies, 3 comintern, 4 neutral.
int SideOf(const cCountry* country) {
  if (!country) return 0;
  switch (AllianceBase(country->alliance)) {
    case kAxis: return 1;
    case kAllies: return 2;
    case kComintern: return 3;
    default: return 4;
  }
}

template <typename List>
bool HasUnitId(const List& list, int unitId) {
  return std::any_of(list.begin(), list.end(), [&](const auto& unit) { return unit->id == unitId; });
}

template <typename List>
auto FirstOfCountry(List& list, int countryId) {
  return std::find_if(list.begin(), list.end(), [&](const auto& unit) { return unit->owner == countryId; });
}

// Runs a kill and tells whether it took the unit out of its list; a kill
// that leaves the unit in place is logged, so a repeat-until-false loop ends.
template <typename List, typename Kill>
bool KillMadeProgress(List& list, const cUnit& unit, Kill&& kill) {
  const std::size_t before = list.size();
  const std::int32_t id = unit.id;
  const std::u16string name = unit.name;
  kill();
  if (list.size() < before) return true;
  LogFormat(u"ERROR: unit %s (ID=%i) could not be removed", name, id);
  return false;
}

}  // namespace

cJednostkaMorska* cGame::FindNavalUnitById(int unitId) const {
  for (const auto& ship : navalUnits) {
    if (ship->id == unitId) return ship.get();
  }
  return nullptr;
}

cFleet* cGame::FindFleet(int seaNodeId, int countryId) const {
  for (const auto& fleet : fleets) {
    if (fleet->seaNodeId == seaNodeId && fleet->countryId == countryId) return fleet.get();
  }
  return nullptr;
}

sCommander* cGame::FindCommanderById(int commanderId) const {
  if (commanderId < 0) return nullptr;
  for (const auto& commander : commanders) {
    if (commander->id == commanderId) return commander.get();
  }
  LogFormat(u"Commander with ID=%i not found", commanderId);
  return nullptr;
}

bool cGame::IsLandUnitIdUsed(int unitId) const {
  const bool reserveHasIt = std::any_of(reservePool.begin(), reservePool.end(), [&](const auto& unit) {
    return unit->category == kCategoryLand && unit->id == unitId;
  });
  return reserveHasIt || HasUnitId(landUnits, unitId) || HasUnitId(aboardUnitsA, unitId) ||
         HasUnitId(aboardUnitsB, unitId);
}

bool cGame::IsAirUnitIdUsed(int unitId) const {
  const bool reserveHasIt = std::any_of(reservePool.begin(), reservePool.end(), [&](const auto& unit) {
    return unit->category != kCategoryLand && unit->id == unitId;
  });
  return reserveHasIt || HasUnitId(airUnits, unitId);
}

bool cGame::KillFirstLandUnitOfCountry(int countryId) {
  const auto it = FirstOfCountry(landUnits, countryId);
  if (it == landUnits.end()) return false;
  cJednostkaLadowa* unit = it->get();
  return KillMadeProgress(landUnits, *unit, [unit] { unit->Kill(); });
}

bool cGame::KillFirstAirUnitOfCountry(int countryId) {
  const auto it = FirstOfCountry(airUnits, countryId);
  if (it == airUnits.end()) return false;
  cJednostkaLotnicza* unit = it->get();
  return KillMadeProgress(airUnits, *unit, [unit] { unit->Kill(); });
}

bool cGame::KillFirstNavalUnitOfCountry(int countryId) {
  const auto it = FirstOfCountry(navalUnits, countryId);
  if (it == navalUnits.end()) return false;
  cJednostkaMorska* ship = it->get();
  return KillMadeProgress(navalUnits, *ship, [ship] { ship->Sink(1); });
}

namespace {

// The ship of a carried unit sinks and takes the unit with it. A unit whose
// ship is missing is killed on its own.
template <typename List>
bool KillFirstAboard(List& list, int countryId) {
  const auto it = FirstOfCountry(list, countryId);
  if (it == list.end()) return false;
  cJednostkaLadowa* unit = it->get();
  cJednostkaMorska* ship = unit->transporter;
  return KillMadeProgress(list, *unit, [unit, ship] {
    if (ship) {
      ship->Sink(1);
    } else {
      unit->Kill();
    }
  });
}

}  // namespace

bool cGame::KillFirstAboardUnitOfCountryA(int countryId) { return KillFirstAboard(aboardUnitsA, countryId); }
bool cGame::KillFirstAboardUnitOfCountryB(int countryId) { return KillFirstAboard(aboardUnitsB, countryId); }

void cGame::ClearCityMarks() {
  for (const auto& city : cities) city->visited = 0;
}

void cGame::MarkCitiesOfOriginalOwner(int countryId) {
  if (!map) return;
  for (const auto& city : cities) {
    if (!map->IsInside(city->x, city->y) || map->GetHex(city->x, city->y)->originalOwner != countryId) continue;
    if (city->type == kCitySupply) city->type = kCityNormal;
    if (city->type == kCitySupplyPort) city->type = kCityPort;
  }
}

void cGame::FreeCommandersOfCountry(int countryId) {
  for (const auto& commander : commanders) {
    if (commander->countryId == countryId) commander->state = kCommanderNotAssigned;
  }
}

void cGame::AddEventEffectOnCountryHexes(int originalOwnerId, int side, int value) {
  if (!map) return;
  for (const auto& unit : landUnits) {
    if (SideOf(unit->GetOwnerCountry()) != side || !map->IsInside(unit->x, unit->y)) continue;
    if (map->GetHex(unit->x, unit->y)->originalOwner == originalOwnerId) AddEventsEffect(*unit, value);
  }
}

void cGame::AddEventEffectInArea(int x1, int y1, int x2, int y2, int side, int value) {
  for (const auto& unit : landUnits) {
    if (SideOf(unit->GetOwnerCountry()) != side) continue;
    if (unit->x >= x1 && unit->x <= x2 && unit->y >= y1 && unit->y <= y2) AddEventsEffect(*unit, value);
  }
}

void AddEventsEffect(cJednostkaLadowa& unit, int value) {
  const std::int64_t sum = static_cast<std::int64_t>(unit.eventsEffect) + value;
  unit.eventsEffect = static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, -kMaxEventsEffect, kMaxEventsEffect));
}

bool IsLandUnitAboard(const cJednostkaLadowa& unit) { return unit.transporterId != -1; }

bool IsUnitInReserve(const cUnit& unit) { return unit.inReserve != 0; }

}  // namespace tr
