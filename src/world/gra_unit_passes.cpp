// The passes over the unit lists once every table of a game is read: reserve
// ships into the naval reserve, carried units into their ships, reserve land
// and air units into the reserve pool, and the next free numbers.
#include <algorithm>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "scenario/table_reader.h"
#include "world/folder_path.h"
#include "world/gra.h"

namespace tr {
namespace {

// Takes a unit off the hex it was placed on; a reserve or carried unit stands on none.
void TakeOffHex(cGame& game, cUnit& unit) {
  if (game.map && game.map->IsInside(unit.x, unit.y)) {
    sHex* hex = game.map->GetHex(unit.x, unit.y);
    if (hex->unit == &unit) hex->unit = nullptr;
  }
  unit.x = -1;
  unit.y = -1;
}

void PutIntoReserve(cGame& game, std::unique_ptr<cJednostka> unit) {
  TakeOffHex(game, *unit);
  unit->inReserve = 1;
  unit->SetSupply(game.constants.FullSupplyLevel());
  unit->ComputeCombatValue();
  game.reservePool.push_back(std::move(unit));
}

template <typename List>
void MoveReserveEntries(cGame& game, List& list) {
  for (auto it = list.begin(); it != list.end();) {
    if ((*it)->inReserve) {
      const auto next = std::next(it);
      PutIntoReserve(game, list.Take(it));
      it = next;
    } else {
      ++it;
    }
  }
}

template <typename List>
int HighestId(const List& list, int highest) {
  for (const auto& unit : list) highest = std::max<int>(highest, unit->id);
  return highest;
}

}  // namespace

void cGame::CollectNavalReserve() {
  navalReserve.clear();
  for (auto it = navalUnits.begin(); it != navalUnits.end();) {
    if ((*it)->inReserve) {
      const auto next = std::next(it);
      navalReserve.push_back(navalUnits.Take(it));
      it = next;
    } else {
      ++it;
    }
  }
}

void cGame::MoveAboardUnitsOffMap() {
  for (auto it = landUnits.begin(); it != landUnits.end();) {
    cJednostkaLadowa& unit = **it;
    if (unit.transporterId == -1) {
      ++it;
      continue;
    }
    cJednostkaMorska* ship = FindNavalUnitById(unit.transporterId);
    if (ship) LogLine(Format(GetText("loading_%s_into_%s"), unit.name, ship->name));
    // A ship carries its own country's troops only.
    const bool carrier =
        ship && (ship->type == kCargoShip || ship->type == kAmphibiousShip) && ship->owner == unit.owner;
    TakeOffHex(*this, unit);
    if (ship && !carrier) LogLine(Format(GetText("%s_is_supposed_to_be_loaded_into_%s"), unit.name, ship->name));
    if (!carrier || ship->carriedUnit) {
      // The game saves a unit aboard only in a ship of its country that
      // carries it alone.
      if (loadedGame == 1) {
        RefuseDamagedTable(FolderFilePath(folderTemplate, u"land_units.csv"), unit.fileLine,
                           Format(u"puts land unit %s (ID=%i) aboard the ship ID=%i, which cannot carry it", unit.name,
                                  unit.id, unit.transporterId));
      }
      // Nothing can carry it: the reserve pass that follows puts the unit
      // into the reserve pool rather than leave it standing nowhere.
      LogFormat(u"ERROR: land unit %s (ID=%i) names transporter ID=%i, which cannot carry it; moved to the reserve pool",
                unit.name, unit.id, unit.transporterId);
      unit.transporterId = -1;
      unit.transporter = nullptr;
      unit.inReserve = 1;
      ++it;
      continue;
    }
    unit.transporter = ship;
    unit.inReserve = 0;
    unit.spotted = 0;
    ship->carriedUnit = &unit;
    auto& aboard = ship->type == kCargoShip ? aboardUnitsA : aboardUnitsB;
    const auto next = std::next(it);
    aboard.push_back(landUnits.Take(it));
    it = next;
  }
}

void cGame::CollectUnitReserve() {
  reservePool.clear();
  MoveReserveEntries(*this, landUnits);
  MoveReserveEntries(*this, airUnits);
}

void cGame::InitNextIds(bool keepSavedOrder) {
  if (!keepSavedOrder) {
    fleets.sort([](const auto& a, const auto& b) { return a->id < b->id; });
    navalUnits.sort([](const auto& a, const auto& b) { return a->id < b->id; });
  }

  int highestLand = 0;
  int highestAir = 0;
  for (const auto& unit : reservePool) {
    int& highest = unit->category == kCategoryLand ? highestLand : highestAir;
    highest = std::max<int>(highest, unit->id);
  }
  highestLand = HighestId(aboardUnitsB, HighestId(aboardUnitsA, HighestId(landUnits, highestLand)));
  highestAir = HighestId(airUnits, highestAir);
  if (keepSavedOrder) {
    // The save's own counters follow (RestoreSavedCounters): each holds the
    // highest number given, so the next object takes the number it took in
    // the game that was saved.
    nextFleetId = HighestId(fleets, 0);
    nextNavalUnitId = HighestId(navalReserve, HighestId(navalUnits, 0));
    nextLandUnitId = highestLand;
    nextAirUnitId = highestAir;
    nextConvoyId = convoys.HighestId();
    return;
  }
  // A counter stays within what Info.ini reads back; past the top the new
  // numbers are free ones (object_numbers.h).
  auto following = [](int highest) { return std::min<int>(highest, kMaxObjectNumber - 1) + 1; };
  nextFleetId = following(HighestId(fleets, 0));
  const int lastShip = navalUnits.empty() ? 0 : navalUnits.back()->id;
  nextNavalUnitId = following(HighestId(navalReserve, following(lastShip)));
  nextLandUnitId = following(highestLand);
  nextAirUnitId = following(highestAir);
  nextConvoyId = following(convoys.HighestId());
}

void cGame::DestroyReserveUnitsOfCountry(int countryId) {
  // A headquarters keeps its commander in the pool: he must not stay attached to a freed unit.
  for (const auto& unit : reservePool) {
    if (unit->owner == countryId) unit->ReleaseReferences();
  }
  std::erase_if(reservePool, [&](const auto& unit) { return unit->owner == countryId; });
}

void cGame::DestroyReserveShipsOfCountry(int countryId) {
  std::erase_if(navalReserve, [&](const auto& ship) { return ship->owner == countryId; });
}

}  // namespace tr
