// The per-turn values shared by land and air units.
#include "units/jednostka.h"

namespace tr {

cJednostka::~cJednostka() = default;

int cJednostka::SetSupplySourceX(int value) { return supplySourceX = value; }
int cJednostka::SetSupplySourceY(int value) { return supplySourceY = value; }
int cJednostka::SetSupply(int value) { return supply = value; }
int cJednostka::AddActionPoints(int amount) { return actionPoints += amount; }
int cJednostka::SetStartingActionPoints(int value) { return startingActionPoints = value; }

void cJednostka::AddLevel(int delta) {
  if (level + delta <= 0) return;
  level += delta;
  ComputeCombatValue();
}

}  // namespace tr
