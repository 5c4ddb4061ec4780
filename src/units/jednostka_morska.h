// Ships. A ship stands on no hex: it belongs to a fleet at a node of the sea
// graph, or waits in the naval reserve. Its naval rules (fleets, transport,
// sea battles, sinking) live with the naval code.
#pragma once

#include <cstdint>

#include "units/unit.h"

namespace tr {

class cFleet;
class cJednostkaLadowa;

class cJednostkaMorska : public cUnit {
 public:
  cJednostkaMorska() { category = kCategoryNaval; }
  cJednostkaMorska(const cJednostkaMorska&) = default;
  ~cJednostkaMorska() override;

  // Ships stand under no commander, have no combat value to compute, and are
  // not killed but sunk.
  void AssignCommander() override;
  int ComputeCombatValue() override;
  int ComputeMoveRange(int quiet) override;
  void Kill() override;

  // Operations of the naval code; until it is in place they answer as a ship
  // that can do nothing.
  bool TryIntercept(cUnit* attacker, sCombatResult* result) override;
  int MarkPlacementHexes(int mark) override;
  void OnBombarded(sCombatResult* result, cUnit* attacker, sHex* hex) override;
  // Ends the ship; with killCarried 1 the land unit aboard dies with it.
  void Sink(int killCarried);
  // Hit points after air combat (units/air_interception.cpp): the sum is
  // truncated and held to 0..maximum; the minimum is the share of the
  // maximum that interception losses never go below.
  void AddHitPoints(float amount);
  void RaiseHitPointsToMinimum();

  bool IsBattleshipOrCruiser() const { return type == kBattleship || type == kCruiser; }

  cFleet* fleet = nullptr;      // not owned
  std::int32_t fleetId = -1;    // the fleet's number as read, linked after loading
  std::int32_t hitPoints = 0;
  std::int32_t maxHitPoints = 0;
  cJednostkaLadowa* carriedUnit = nullptr;  // cargo and amphibious ships only; not owned
  std::uint8_t mayAct = 1;      // takes part in the regular sea battle
  std::uint8_t retreated = 0;   // cleared at the start of a battle
  std::uint8_t shoreBombardmentDone = 0;
  std::uint8_t airstrikeDone = 0;
  std::uint8_t reconDone = 0;
  std::uint8_t canBeRepaired = 0;
  std::int32_t group = -1;      // the computer opponent's grouping
  std::int32_t battleColumn = 0;
  std::int32_t battleRow = 0;
  std::uint8_t hasActed = 0;
  std::uint8_t targetable = 0;
  std::uint8_t mark = 0;        // selection for splitting and moving
  std::int32_t selectedForBombardment = 0;  // set by FindShoreBombardmentShips, not saved
};

}  // namespace tr
