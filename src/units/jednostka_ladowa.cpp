// Land units and the artificial harbour: construction, the stored values and
// the harbour's fixed ones. The operations of combat, drawing and the unit
// panel answer as a unit that can do nothing until their code is in place.
#include "units/jednostka_ladowa.h"

#include "world/gra.h"

namespace tr {

cJednostkaLadowa::cJednostkaLadowa() {
  category = kCategoryLand;
  // Unlike a new air unit, a new land unit starts one turn short of supply.
  turnsWithoutSupply = 1;
  if (gGame) {
    id = ++gGame->nextLandUnitId;
    turnsSinceParadrop = gGame->constants.ParadropInterval();
  }
}

cJednostkaLadowa::~cJednostkaLadowa() = default;

int cJednostkaLadowa::SetActionPoints(int value) { return actionPoints = value; }
int cJednostkaLadowa::AddStrength(int amount) { return strength += amount; }
int cJednostkaLadowa::SetStrength(int value) { return strength = value; }

bool cJednostkaLadowa::GetEffectivenessHint(std::u16string*) { return false; }
void cJednostkaLadowa::DrawCounter(float, float, float, int) {}
void cJednostkaLadowa::DrawIcon(const sUnitRect&) {}
bool cJednostkaLadowa::GetUpgradeHint(std::u16string*) { return false; }
float cJednostkaLadowa::GetUpgradeCost() { return 0.0f; }
void cJednostkaLadowa::UpgradeToCorps() {}
bool cJednostkaLadowa::GetLevelUpHint(std::u16string*) { return false; }
float cJednostkaLadowa::GetLevelUpCost() { return 0.0f; }
void cJednostkaLadowa::LevelUp() {}
bool cJednostkaLadowa::GetStrengthIconHint(std::u16string*) { return false; }
bool cJednostkaLadowa::GetStrategicMoveIconHint(std::u16string*) { return false; }
bool cJednostkaLadowa::GetAirborneAssaultIconHint(std::u16string*) { return false; }
bool cJednostkaLadowa::GetSeaTransportIconHint(std::u16string*) { return false; }
bool cJednostkaLadowa::GetAmphTransportIconHint(std::u16string*) { return false; }
bool cJednostkaLadowa::GetAirfightIconHint(std::u16string*) { return false; }
bool cJednostkaLadowa::GetBombardmentIconHint(std::u16string*) { return false; }
bool cJednostkaLadowa::GetNuclearIconHint(std::u16string*) { return false; }
bool cJednostkaLadowa::GetReconIconHint(std::u16string*) { return false; }

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
