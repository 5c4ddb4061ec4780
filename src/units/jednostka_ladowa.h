// Land units, and the artificial harbour: a land unit of type 60 whose
// supply, action points and strength are fixed whatever is set.
#pragma once

#include <cstdint>
#include <string>

#include "units/jednostka.h"

namespace tr {

class cCity;
class cFleet;
class cJednostkaMorska;
struct sMoveRangeWindow;

class cJednostkaLadowa : public cJednostka {
 public:
  // Takes the next number of the game's land-unit counter (raised first).
  cJednostkaLadowa();
  // A copy keeps the template's number.
  cJednostkaLadowa(const cJednostkaLadowa&) = default;
  ~cJednostkaLadowa() override;

  // Unit values and commanders (land_values.cpp).
  int ComputeCombatValue() override;
  void ResetActionPoints() override;
  float GetStrengthValue() const override;
  int GetStrength() const override { return strength; }
  float GetBaseValue() const override;
  float GetEffectiveStrength() const override;
  void Unfreeze();
  // The owner's level of land-warfare doctrine.
  int GetDoctrineLevel() const;

  int SetActionPoints(int value) override;
  int AddStrength(int amount) override;
  // Slot 41.
  virtual int SetStrength(int value);

  // Spotting (spotting.cpp): a free neighbour held by the owner, an ally or an enemy.
  bool HasRetreatHex() const;

  // Move range and placement hexes (move_range.cpp). ComputeMoveRange with
  // quiet 1 is the computer's probe: nothing is highlighted and every enemy
  // counts as seen.
  int MarkPlacementHexes(int mark) override;
  int ComputeMoveRange(int quiet) override;
  // The depth-first relaxation from (x, y) reached at `cost` (zero or more).
  void FloodMoveRange(bool probe, int x, int y, int cost, sMoveRangeWindow& window) const;
  bool IsHexInMoveRange(int hexX, int hexY) const override;

  // Orders of the computer opponent (land_orders.cpp). The moves hand the
  // animation to the main thread and wait for it.
  bool ExecuteMoveOrder(int targetX, int targetY);
  // The computer's path move: the range computed again, the unit lifted off
  // its hex and walked to (x, y) while the worker waits for the walk to end.
  // False, with the unit left on its hex, when no path leads there.
  bool MoveAlongPath(int targetX, int targetY);
  bool OrderMove() override;
  void MoveTowardHex(int targetX, int targetY);
  bool MoveTowardUltimateTarget();
  void SetAiOrder(int order, int targetX, int targetY, int hops);
  // -1 (and the order cleared) when no city stands on (x, y) or none is
  // known for the unit's hex.
  int GetHopsToCity(int cityX, int cityY);
  // Where the unit may end a strategic move to the city; false when it may not.
  bool FindStrategicMoveHex(const cCity& target, int& outX, int& outY) const;

  // Removal (deployment.cpp).
  void Kill() override;
  int MoveToReservePool() override;
  // Takes the unit from aboard its cargo or amphibious ship into the reserve
  // pool, the ship left empty; a cargo ship's sea-transport points go back
  // to the country whose turn it is, as when the unit goes ashore. False
  // (logged) when the unit is aboard no such ship.
  bool MoveFromShipToReservePool();

  // Bombardment from the sea (shore_bombardment.cpp): the fleet's battleships
  // and cruisers (the marked ones, or all) lower the unit's combat value for
  // the turn.
  void ShoreBombardHex(cFleet& fleet, sCombatResult& result, int allShips);
  // Bombardment from the air (land_air_attack.cpp).
  void OnBombarded(sCombatResult* result, cUnit* attacker, sHex* hex) override;
  // Drawing; until that code is in place they draw nothing.
  void DrawCounter(float screenX, float screenY, float depth, int frameParity) override;
  void DrawIcon(const sUnitRect& target) override;

  // Upgrades and level-ups (land_upgrades.cpp) and the unit panel's hints
  // (land_hints.cpp). The changes do not check availability: the panel asks
  // the hint first. A cost of a type without a corps is logged and is 0.
  bool GetEffectivenessHint(std::u16string* text) override;
  bool GetUpgradeHint(std::u16string* text) override;
  float GetUpgradeCost() override;
  void UpgradeToCorps() override;
  bool GetLevelUpHint(std::u16string* text) override;
  float GetLevelUpCost() override;
  void LevelUp() override;
  bool GetStrengthIconHint(std::u16string* text) override;
  bool GetStrategicMoveIconHint(std::u16string* text) override;
  bool GetAirborneAssaultIconHint(std::u16string* text) override;
  bool GetSeaTransportIconHint(std::u16string* text) override;
  bool GetAmphTransportIconHint(std::u16string* text) override;
  bool GetAirfightIconHint(std::u16string* text) override;
  bool GetBombardmentIconHint(std::u16string* text) override;
  bool GetNuclearIconHint(std::u16string* text) override;
  bool GetReconIconHint(std::u16string* text) override;
  // The computer opponent's level-up, paced by its replacement delays.
  void AiLevelUp();
  // The unit's hex, or else the first neighbour, holding a port its side
  // controls; false with (-1, -1) when there is none.
  bool IsInOrNearFriendlyPort(int& outX, int& outY) const;

  // Airborne assault (airborne_assault.cpp): flags the hexes within the drop
  // range, and drops the unit on (x, y). The text receives the report; the
  // flag becomes 1 when the troops landed against enemy air forces and 0
  // when the unit was destroyed, and is left alone when the enemy had none.
  void MarkAirborneDropHexes();
  void AirborneAssault(int targetX, int targetY, std::u16string* text, int* landed);

  // Sea transport (sea_transport.cpp). The computer embarks the unit on a
  // new fleet of one ship of the type (44 cargo, 45 amphibious) at the sea
  // node, paid in the owner's transport or invasion points; null (logged,
  // nothing changed) when the unit is not on the map or the type or node is
  // wrong.
  cFleet* EmbarkOnFleet(int shipType, int seaNodeId, int order);
  // The unit aboard goes ashore on (x, y): its ship sinks, and it lands on a
  // free hex or fights the enemy unit there. True when it holds the hex. A
  // target off the map, at sea or held by a unit of a country not at war
  // with the owner is refused (logged) before anything changes. The human
  // landing reports in a box and clears the selection; the computer's is
  // paced by the computer delays.
  bool AmphibiousInvasion(int targetX, int targetY);
  bool AiUnloadAmphibious(int targetX, int targetY);

  std::int32_t freezeTime = 0;
  std::int32_t eventsEffect = 0;
  std::int32_t aiOrder = 0;
  std::int32_t aiTargetX = -1;
  std::int32_t aiTargetY = -1;
  std::int32_t aiUltimateTargetX = -1;
  std::int32_t aiUltimateTargetY = -1;
  std::int32_t turnsSinceParadrop = 0;
  std::uint8_t movedThisTurn = 0;
  std::int32_t trenchBonusMultiplier = 0;
  std::int32_t lastX = -1;
  std::int32_t lastY = -1;
  std::int32_t transporterId = -1;  // the carrying ship's number as read, linked after loading
};

class cMulberry : public cJednostkaLadowa {
 public:
  cMulberry();
  cMulberry(const cMulberry&) = default;

  int SetSupplySourceX(int value) override;
  int SetSupplySourceY(int value) override;
  int SetSupply(int value) override;
  int AddActionPoints(int amount) override;
  int SetStartingActionPoints(int value) override;
  int SetActionPoints(int value) override;
  void ResetActionPoints() override;
  int AddStrength(int amount) override;
  int SetStrength(int value) override;

  std::int32_t remainingTime = 0;  // months; the harbour disappears when it runs out
};

}  // namespace tr
