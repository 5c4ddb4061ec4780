// Country rules that walk the cities or the units: the surrender test, the
// main city, destroying, freezing and handing over forces, transport points,
// the unit statistics and the withdrawal from foreign hexes.
#include <algorithm>
#include <array>

#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/city_rules.h"
#include "world/gra.h"
#include "world/panstwo.h"

namespace tr {
namespace {

// Land type 0..6 of a carried unit; other types carry no transport cost.
bool IsLandType(int type) { return type >= 0 && type < kLandTypeCount; }

// The display row (0..15) of a unit type, or -1.
int DisplayRow(int type) {
  static constexpr std::array<int, 16> kTypes = {0, 1, 2, 3, 4, 5, 6, 22, 21, 20, 42, 41, 40, 43, 44, 45};
  for (std::size_t i = 0; i < kTypes.size(); ++i) {
    if (kTypes[i] == type) return static_cast<int>(i);
  }
  return -1;
}

// The row (16..31) of a unit type counted by type code, or -1.
int CodeRow(int type) {
  if (IsLandType(type)) return 16 + type;
  if (type >= kFighter && type <= kStrategicBomber) return 23 + type - kFighter;
  if (type >= kAircraftCarrier && type <= kAmphibiousShip) return 26 + type - kAircraftCarrier;
  return -1;
}

void Count(UnitTypeCountTable& table, const cUnit& unit, int column) {
  const int display = DisplayRow(unit.type);
  const int code = CodeRow(unit.type);
  if (display >= 0) ++table[static_cast<std::size_t>(display)][static_cast<std::size_t>(column)];
  if (code >= 0) ++table[static_cast<std::size_t>(code)][static_cast<std::size_t>(column)];
}

}  // namespace

bool cCountry::HasLostAllVictoryCities() const {
  if (politicalStrength == -1 || !IsAtWarWithAnyone()) return false;
  for (const auto& city : gGame->cities) {
    if (city->type == kCityResources || city->victoryPoints < 1) continue;
    if (GetOwnerId(*city) == id && GetControllerId(*city) == id) return false;
  }
  return true;
}

cCity* cCountry::FindMainCity() const {
  cCity* supply = nullptr;
  cCity* other = nullptr;
  for (const auto& city : gGame->cities) {
    if (GetControllerId(*city) != id || city->type == kCityResources) continue;
    cCity*& best = (city->type == kCitySupply || city->type == kCitySupplyPort) ? supply : other;
    if (!best || city->productionPoints > best->productionPoints) best = city.get();
  }
  return supply ? supply : other;
}

void cCountry::DestroyAllLandUnits() {
  while (gGame->KillFirstLandUnitOfCountry(id)) {
  }
  while (gGame->KillFirstAboardUnitOfCountryA(id)) {
  }
  while (gGame->KillFirstAboardUnitOfCountryB(id)) {
  }
}

void cCountry::DestroyAllAirUnits() {
  while (gGame->KillFirstAirUnitOfCountry(id)) {
  }
}

void cCountry::DestroyAllNavalUnits() {
  while (gGame->KillFirstNavalUnitOfCountry(id)) {
  }
}

void cCountry::UnfreezeAllLandUnits() {
  for (const auto& unit : gGame->landUnits) {
    if (unit->owner == id && unit->freezeTime > 0) unit->Unfreeze();
  }
}

void cCountry::SetFreezeTimeOfFrozenLandUnits(std::int32_t time) {
  for (const auto& unit : gGame->landUnits) {
    if (unit->owner == id && unit->freezeTime >= 1) unit->freezeTime = time;
  }
}

void cCountry::TransferForcesTo(int countryId) {
  for (const auto& fleet : gGame->fleets) {
    if (fleet->countryId == id) fleet->countryId = countryId;
  }
  for (const auto& ship : gGame->navalUnits) {
    if (ship->owner != id) continue;
    ship->owner = countryId;
    if (ship->carriedUnit) ship->carriedUnit->owner = countryId;
  }
  for (const auto& ship : gGame->navalReserve) {
    if (ship->owner == id) ship->owner = countryId;
  }
}

void cCountry::AddAmphibiousShipCapacity() {
  for (const auto& ship : gGame->navalUnits) {
    if (ship->owner != id || ship->type != kAmphibiousShip || !ship->carriedUnit) continue;
    if (IsLandType(ship->carriedUnit->type)) {
      // Held where the countries table reads it back.
      invasionPointsUsed = static_cast<std::int32_t>(std::clamp<std::int64_t>(
          std::int64_t{invasionPointsUsed} + gGame->constants.AmphibiousTransportCost(ship->carriedUnit->type),
          -kMaxPoints, kMaxPoints));
    }
  }
}

std::int32_t cCountry::GetTotalSeaTransportPoints() const {
  std::int32_t total = seaTransportPoints + seaTransportUsedByConvoys;
  for (const auto& ship : gGame->navalUnits) {
    if (ship->owner != id || ship->type != kCargoShip || !ship->carriedUnit) continue;
    if (IsLandType(ship->carriedUnit->type)) total += gGame->constants.SeaTransportCost(ship->carriedUnit->type);
  }
  return total;
}

void cCountry::CountUnitsByType(UnitTypeCountTable& table) const {
  table = {};
  const auto countList = [&](const auto& list, int column) {
    for (const auto& unit : list) {
      if (unit->owner == id) Count(table, *unit, column);
    }
  };
  countList(gGame->landUnits, 0);
  countList(gGame->aboardUnitsA, 0);
  countList(gGame->aboardUnitsB, 0);
  countList(gGame->airUnits, 0);
  countList(gGame->navalUnits, 0);
  countList(gGame->reservePool, 1);
  countList(gGame->navalReserve, 1);
}

void cCountry::WithdrawUnitsFromForeignHexes(bool restoreControl) {
  if (!IsAtWarWithAnyone() || !gGame->map) return;
  cMap& map = *gGame->map;
  if (restoreControl) map.RestoreControlToOwners(id);
  std::vector<cJednostka*> leaving;
  const auto collect = [&](const auto& list) {
    for (const auto& unit : list) {
      if (!map.IsInside(unit->x, unit->y)) continue;
      const int controller = map.GetHex(unit->x, unit->y)->controller;
      if (controller != unit->owner && (controller == id || unit->owner == id)) leaving.push_back(unit.get());
    }
  };
  collect(gGame->landUnits);
  collect(gGame->airUnits);
  for (cJednostka* unit : leaving) unit->MoveToReservePool();
  gGame->relations.MakePeaceWithAll(id);
}

}  // namespace tr
