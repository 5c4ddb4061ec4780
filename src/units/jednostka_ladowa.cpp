// Land units and the artificial harbour: construction, the stored values and
// the harbour's fixed ones. The drawing operations draw nothing until their
// code is in place.
#include "units/jednostka_ladowa.h"

#include "world/gra.h"
#include "world/object_numbers.h"

namespace tr {

cJednostkaLadowa::cJednostkaLadowa() {
  category = kCategoryLand;
  // Unlike a new air unit, a new land unit starts one turn short of supply.
  turnsWithoutSupply = 1;
  if (gGame) {
    id = NewLandUnitNumber(*gGame);
    turnsSinceParadrop = gGame->constants.ParadropInterval();
  }
}

cJednostkaLadowa::~cJednostkaLadowa() = default;

int cJednostkaLadowa::SetActionPoints(int value) { return actionPoints = value; }
int cJednostkaLadowa::AddStrength(int amount) { return strength += amount; }
int cJednostkaLadowa::SetStrength(int value) { return strength = value; }

void cJednostkaLadowa::DrawCounter(float, float, float, int) {}
void cJednostkaLadowa::DrawIcon(const sUnitRect&) {}

namespace {

int MulberryStrengthPoints() {
  return gGame ? static_cast<int>(gGame->constants.MulberryStrength()) : 0;
}

}  // namespace

cMulberry::cMulberry() { type = kMulberryType; }

int cMulberry::SetSupplySourceX(int) { return supplySourceX = -1; }
int cMulberry::SetSupplySourceY(int) { return supplySourceY = -1; }
int cMulberry::SetSupply(int) { return supply = gGame ? gGame->constants.FullSupplyLevel() : 0; }
int cMulberry::AddActionPoints(int) { return actionPoints = 0; }
int cMulberry::SetStartingActionPoints(int) { return startingActionPoints = 0; }
int cMulberry::SetActionPoints(int) { return actionPoints = 0; }
void cMulberry::ResetActionPoints() { actionPoints = 0; }
int cMulberry::AddStrength(int) { return strength = MulberryStrengthPoints(); }
int cMulberry::SetStrength(int) { return strength = MulberryStrengthPoints(); }

}  // namespace tr
