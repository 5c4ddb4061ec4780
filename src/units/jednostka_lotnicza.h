// Air units: fighters, tactical and strategic bombers. Their combat value is
// fixed and their rules (radii, rebasing, air fights, bombardment) live with
// the air war code.
#pragma once

#include <cstdint>
#include <string>

#include "units/jednostka.h"

namespace tr {

class cJednostkaLotnicza : public cJednostka {
 public:
  // Takes the next number of the game's air-unit counter (raised first).
  cJednostkaLotnicza();
  // A copy keeps the template's number.
  cJednostkaLotnicza(const cJednostkaLotnicza&) = default;
  ~cJednostkaLotnicza() override;

  // Combat value 100 whatever the circumstances.
  int ComputeCombatValue() override;
  int SetActionPoints(int value) override;
  int GetStrength() const override { return strength; }
  int AddStrength(int amount) override;
  float GetStrengthValue() const override;
  float GetEffectiveStrength() const override;
  bool IsHexInMoveRange(int hexX, int hexY) const override;
  bool OrderMove() override;

  // Operations of the air war, drawing and panel code; until that code is in
  // place they answer as a unit that can do nothing.
  bool TryIntercept(cUnit* attacker, sCombatResult* result) override;
  int MarkPlacementHexes(int mark) override;
  int ComputeMoveRange(int quiet) override;
  void OnBombarded(sCombatResult* result, cUnit* attacker, sHex* hex) override;
  void Kill() override;
  void ResetActionPoints() override;
  bool GetEffectivenessHint(std::u16string* text) override;
  float GetBaseValue() const override;
  void DrawCounter(float screenX, float screenY, float depth, int frameParity) override;
  void DrawIcon(const sUnitRect& target) override;
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
  int MoveToReservePool() override;

  std::uint8_t airReconDone = 0;
};

}  // namespace tr
