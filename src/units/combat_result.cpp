#include "units/combat_result.h"

namespace tr {

void sCombatResult::Reset() {
  kind = kBattleLand;
  attackerLoss = 0.0f;
  defenderLoss = 0.0f;
  attackerLossText.clear();
  defenderLossText.clear();
  attackerDetails.clear();
  defenderDetails.clear();
  attackerCountry = -1;
  defenderCountry = -1;
  flags.fill(0);
}

}  // namespace tr
