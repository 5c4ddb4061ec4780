// A land attack on one hex: the defender, the target hex and up to six
// attackers, one per hex side. Attacker d stands on the neighbour of the
// target in direction d and attacks across that side. The mouse handler and
// the computer opponent build one by value; the player control keeps its own
// copy while the attack is planned.
#pragma once

#include <array>
#include <cstdint>

#include "world/hex_geometry.h"

namespace tr {

class cCountry;
class cJednostka;
struct sCombatResult;

struct sAttack {
  cJednostka* defender = nullptr;  // not owned
  std::int32_t targetX = 0;
  std::int32_t targetY = 0;
  std::array<cJednostka*, kDirectionCount> attackers{};  // by side; not owned

  // Empties the record: no defender, no attackers, target (0, 0).
  void Clear();
  // A side outside 0..5 changes nothing.
  void SetAttacker(int side, cJednostka* unit);
  void ClearAttacker(int side);
  int CountAttackers() const;
  bool IsAttacker(const cJednostka* unit) const;
  // The owner of the attacker on the lowest side that holds one; null when none.
  cCountry* GetFirstAttackerCountry() const;

  // What the attack is worth before it is fought (attack_strength.cpp). The
  // defender must be set. Products are formed in double and rounded to float
  // where each operation returns.
  float GetAttackersStrength() const;
  // Each attacker's effective strength, times the river factor when it
  // attacks across a river side of the target hex.
  float GetAttackersEffectiveStrength() const;
  float GetDefenderEffectiveStrength() const;
  float GetArmourFactor() const;
  float GetDirectionsFactor() const;
  float GetAttackersWeatherFactor() const;
  float GetFortificationFactor() const;
  float GetAttackModifier() const;
  float GetTerrainFactor() const;
  float GetCityFactor() const;
  float GetDefenderWeatherFactor() const;
  float GetEntrenchmentFactor() const;
  float GetDefenceModifier() const;
  // 1..7; 1 when the defence is 0.
  int GetOddsColumn() const;
  // Each attacker's commander, then the defender's, may gain a point.
  void GainCommanderExperience();

  // Fights the attack to its end (land_battle.cpp); false, with nothing
  // fought, when there is no defender or no attacker.
  bool ResolveLandBattle(sCombatResult& result);
};

}  // namespace tr
