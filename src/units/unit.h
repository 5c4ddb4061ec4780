// The root of every unit of the game, land, air or naval: the unit record
// shared by all kinds, the type codes with the category they imply, and the
// first seven virtual operations through which the map, the panels, the
// battles and the end of impulse act on a unit without knowing its kind.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "units/unit_list_changes.h"

namespace tr {

class cCity;
class cCountry;
class cJednostkaMorska;
struct sCombatResult;
struct sCommander;
struct sHex;

enum eUnitCategory : std::int32_t {
  kCategoryLand = 0,
  kCategoryAir = 1,
  kCategoryNaval = 2,
};

enum eUnitType : std::int32_t {
  kInfantryDivision = 0,
  kInfantryCorps = 1,
  kMechanizedDivision = 2,
  kMechanizedCorps = 3,
  kArmouredDivision = 4,
  kArmouredCorps = 5,
  kAirborneDivision = 6,
  kFighter = 20,
  kTacticalBomber = 21,
  kStrategicBomber = 22,
  kAircraftCarrier = 40,
  kBattleship = 41,
  kCruiser = 42,
  kSubmarine = 43,
  kCargoShip = 44,
  kAmphibiousShip = 45,
  kMulberryType = 60,
};

// Land types 0..6 index the seven columns of the land tables of the constants.
inline constexpr int kLandTypeCount = 7;

// The category a type code gives, or -1 for a code outside the table.
int CategoryOfType(int type);

// One reachable hex of a unit's move range: the direction code leads back to
// the hex it was reached from, cost is the accumulated action points.
struct sMoveRangeCell {
  class cUnit* unit = nullptr;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t direction = 0;
  std::int32_t cost = 0;
};

class cUnit {
 public:
  cUnit() = default;
  cUnit(const cUnit&) = default;
  cUnit& operator=(const cUnit&) = delete;
  virtual ~cUnit();

  // Slot 0: the commander the unit stands under (commander_link.cpp).
  virtual void AssignCommander();
  // Slot 1: true when the attack is stopped; the result record is filled.
  virtual bool TryIntercept(cUnit* attacker, sCombatResult* result);
  // Slot 2: recomputes the combat value; the base has none to compute.
  virtual int ComputeCombatValue();
  // Slot 3: counts, and with mark 1 flags, the hexes where the unit may be deployed.
  virtual int MarkPlacementHexes(int mark) = 0;
  // Slot 4: fills the move range; with quiet 1 nothing is highlighted.
  virtual int ComputeMoveRange(int quiet) = 0;
  // Slot 5: the unit is bombed by an air unit.
  virtual void OnBombarded(sCombatResult* result, cUnit* attacker, sHex* hex);
  // Slot 6: removes the unit from the map and the game and frees it.
  virtual void Kill();

  // The name, cut to its first 99 units.
  void SetName(std::u16string_view text);
  // Stores the code; the category follows it where the code is known.
  void SetType(int code);
  cCountry* GetOwnerCountry() const;
  // The city whose area holds the unit's hex, where its city routes start; null when none.
  cCity* GetHexGridEntry() const;
  // The commander of the commander id (null when none).
  sCommander* GetCommander() const;
  void SetCommander(const sCommander* commander);
  // Moves the unit to a free hex of the map; null (nothing changed) otherwise.
  sHex* PlaceOnHex(int newX, int newY);
  // Before the unit is freed, wherever it is: it leaves the recon sightings,
  // its commander heads back to headquarters without it, and the selection,
  // the move, the undo record and a planned attack forget it (deployment.cpp).
  void ReleaseReferences();

  // Commander links (commander_link.cpp).
  int GetCommanderBonus() const;
  int GetDistanceToCommander() const;
  float GetCommandRangeFactor() const;
  // The commander's dice tests that cancel losses (units/commander_checks.cpp);
  // a unit without a commander always fails them.
  bool RollCommanderCheck() const;
  bool RollCommanderDefenceCheck() const;
  // The chance of the commander's check as a whole percent.
  int GetCommanderCheckChance() const;

  // Fog of war (spotting.cpp).
  void UpdateSpottedFlag(const cCountry* viewer);
  void RevealUnitsAround(int report);

  // The computer scans every unit many times a turn for its place, carrier,
  // type and owner: those come first, so a scan reads one cache line of each
  // unit (transporter, type and owner share 16 bytes); writing any of those
  // three counts a change of the computer's lists (unit_list_changes.h).
  std::int32_t x = -1;
  std::int32_t y = -1;
  // The ship carrying a land unit; not owned. Only land units are carried.
  cListedField<cJednostkaMorska*> transporter = nullptr;
  cListedField<std::int32_t> type = kInfantryDivision;
  cListedField<std::int32_t> owner = 0;
  std::int32_t category = kCategoryLand;
  std::int32_t id = 0;
  sCommander* attachedCommander = nullptr;  // the commander whose headquarters this is; not owned
  std::int32_t commanderId = -1;
  std::uint8_t inReserve = 0;
  std::uint8_t spotted = 0;
  std::int32_t turnsWithoutSupply = 0;
  std::int32_t availableInTurns = 0;
  std::u16string name;
  std::u16string secondName;  // copied with the unit, never written to the unit files
  // The line (counting from 1) of the row the unit was read from, for the
  // load's messages; 0 for a unit made in play.
  std::int32_t fileLine = 0;
};

// The localised name of a unit type code (unit_type_name.cpp).
std::u16string GetUnitTypeName(int type);

}  // namespace tr
