// The record an attack, bombardment, interception or reconnaissance fills and
// the combat-result popup shows: the kind of battle, both sides' losses as
// figures and as texts, the two countries and the outcome flags. The caller
// resets it before the action; the actions only add to it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tr {

enum eBattleKind : std::int32_t {
  kBattleLand = 0,
  kBattleAirFight = 1,
  kBattleAirStrikeLand = 2,
  kBattleAirStrikeSea = 3,
  kBattleNuclear = 4,
  kBattleRecon = 5,
  kBattleInterception = 6,
  kBattleShoreBombardment = 7,
  kBattleCarrierStrikeLand = 8,
  kBattleCarrierStrikeSea = 9,
};

// Indices of the nine outcome flags.
enum eCombatFlag : int {
  kFlagAttackerDestroyed = 0,
  kFlagDefenderDestroyed = 1,
  kFlagDefenderSurrendered = 2,
  kFlagDefenderRetreated = 3,
  kFlagCityAffected = 4,
  kFlagPortAffected = 5,
  kFlagNavalUnitsHit = 6,
  kFlagInterception = 7,
  kFlagInterceptionStopped = 8,
};

struct sCombatResult {
  sCombatResult() { Reset(); }

  // Kind and losses 0, texts empty, flags clear, both countries -1.
  void Reset();
  bool Flag(eCombatFlag flag) const { return flags[flag] != 0; }
  void SetFlag(eCombatFlag flag) { flags[flag] = 1; }

  std::int32_t kind = kBattleLand;
  float attackerLoss = 0.0f;
  float defenderLoss = 0.0f;
  std::u16string attackerLossText;  // the attackers' loss line
  std::u16string defenderLossText;  // the defender's loss line
  std::u16string attackerDetails;
  std::u16string defenderDetails;
  std::int32_t attackerCountry = -1;
  std::int32_t defenderCountry = -1;
  std::array<std::uint8_t, 9> flags{};
};

}  // namespace tr
