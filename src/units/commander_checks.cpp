// The commander checks: a unit's commander may cancel its losses in air
// fights and bombardments. The chance falls with the distance to the
// commander's headquarters unless the commander is attached to the unit.
#include "foundation/random.h"
#include "units/unit.h"
#include "world/gra.h"

namespace tr {
namespace {

const sCommander* CheckingCommander(const cUnit& unit) {
  return unit.attachedCommander ? unit.attachedCommander : unit.GetCommander();
}

// The chance in percent for a factor of the constants, 0 without a commander.
int Chance(const cUnit& unit, int factor) {
  const sCommander* commander = CheckingCommander(unit);
  if (!commander) return 0;
  return static_cast<int>(unit.GetCommandRangeFactor() * static_cast<float>(factor * commander->skill));
}

bool Roll(const cUnit& unit, int factor) {
  // No die is thrown for a unit without a commander.
  if (!CheckingCommander(unit)) return false;
  return RandomRange(1, 100) < Chance(unit, factor);
}

}  // namespace

bool cUnit::RollCommanderCheck() const {
  return gGame && Roll(*this, gGame->constants.CommanderCheckFactor());
}

bool cUnit::RollCommanderDefenceCheck() const {
  return gGame && Roll(*this, gGame->constants.CommanderDefenceCheckFactor());
}

int cUnit::GetCommanderCheckChance() const {
  return gGame ? Chance(*this, gGame->constants.CommanderChanceFactor()) : 0;
}

}  // namespace tr
