// The base of land and air units: the per-turn values (supply, level, combat
// value, action points, strength), the move-range lists, and the virtual
// operations 8 to 40 that the panels, the battles and the computer opponent
// use on either kind.
#pragma once

#include <cstdint>
#include <list>
#include <string>

#include "units/unit.h"
#include "world/hex_geometry.h"

namespace tr {

// A target rectangle of a panel, in screen pixels.
struct sUnitRect {
  float left = 0.0f;
  float top = 0.0f;
  float right = 0.0f;
  float bottom = 0.0f;
};

class cJednostka : public cUnit {
 public:
  cJednostka() = default;
  cJednostka(const cJednostka&) = default;
  // Slot 7: the lists go with the unit.
  ~cJednostka() override;

  int ComputeCombatValue() override = 0;
  int MarkPlacementHexes(int mark) override = 0;
  int ComputeMoveRange(int quiet) override = 0;

  // Slots 8 to 13: the setters store their argument and return it; the adders add a signed amount.
  virtual int SetSupplySourceX(int value);
  virtual int SetSupplySourceY(int value);
  virtual int SetSupply(int value);
  virtual int AddActionPoints(int amount);
  virtual int SetStartingActionPoints(int value);
  virtual int SetActionPoints(int value) = 0;
  // Slot 14: the action points of a new turn.
  virtual void ResetActionPoints() = 0;
  // Slots 15 to 22: values. A hint operation writes its text when given a
  // buffer and returns whether the action is available now.
  virtual bool GetEffectivenessHint(std::u16string* text) = 0;
  virtual float GetStrengthValue() const = 0;
  virtual int GetStrength() const = 0;
  virtual int AddStrength(int amount) = 0;
  virtual float GetBaseValue() const = 0;
  virtual bool IsHexInMoveRange(int hexX, int hexY) const = 0;
  virtual float GetEffectiveStrength() const = 0;
  virtual bool OrderMove() = 0;
  // Slots 23 and 24: drawing on the map (frame parity odd: highlighted) and into a panel.
  virtual void DrawCounter(float screenX, float screenY, float depth, int frameParity) = 0;
  virtual void DrawIcon(const sUnitRect& target) = 0;
  // Slots 25 to 39: upgrades, level-ups and the unit panel's hints.
  virtual bool GetUpgradeHint(std::u16string* text) = 0;
  virtual float GetUpgradeCost() = 0;
  virtual void UpgradeToCorps() = 0;
  virtual bool GetLevelUpHint(std::u16string* text) = 0;
  virtual float GetLevelUpCost() = 0;
  virtual void LevelUp() = 0;
  virtual bool GetStrengthIconHint(std::u16string* text) = 0;
  virtual bool GetStrategicMoveIconHint(std::u16string* text) = 0;
  virtual bool GetAirborneAssaultIconHint(std::u16string* text) = 0;
  virtual bool GetSeaTransportIconHint(std::u16string* text) = 0;
  virtual bool GetAmphTransportIconHint(std::u16string* text) = 0;
  virtual bool GetAirfightIconHint(std::u16string* text) = 0;
  virtual bool GetBombardmentIconHint(std::u16string* text) = 0;
  virtual bool GetNuclearIconHint(std::u16string* text) = 0;
  virtual bool GetReconIconHint(std::u16string* text) = 0;
  // Slot 40: takes the unit off the map into the reserve pool; returns -1.
  virtual int MoveToReservePool() = 0;

  bool IsCorps() const { return type == kInfantryCorps || type == kMechanizedCorps || type == kArmouredCorps; }
  // Adds levels when the result stays above 0, then recomputes the combat value.
  void AddLevel(int delta);

  // For the computer opponent (move_range.cpp): the cheapest free hex of the
  // range that is not next to the target and not one of the six excluded
  // hexes; it is stored in excluded[slot]. False when there is none.
  bool FindFreeHexAwayFrom(int targetX, int targetY, sPoint (&excluded)[6], sMoveRangeCell& out, int slot);
  // Moves the unit at once and charges its owner (deployment.cpp).
  void StrategicMove(int newX, int newY);
  // Places a unit of the reserve pool on (x, y), supplied by the city there
  // or the last suitable one beside it; false (logged) when there is none.
  bool DeployNearCity(int newX, int newY);

  std::int32_t supplySourceX = -1;
  std::int32_t supplySourceY = -1;
  std::int32_t level = 1;
  std::int32_t combatValue = 100;
  std::int32_t actionPoints = 0;
  std::int32_t startingActionPoints = 0;
  std::int32_t supply = 0;
  std::uint8_t attacked = 0;
  std::uint8_t wasAttacked = 0;
  std::list<sMoveRangeCell> moveRange;
  std::list<sMoveRangeCell> approachList;  // kept for the computer opponent
  float shoreBombardmentEffect = 0.0f;
  std::uint8_t newEnemyRevealed = 0;
  std::int32_t strength = 0;
};

}  // namespace tr
