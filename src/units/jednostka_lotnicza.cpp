// Air units: construction and the values fixed by their kind. The operations
// of the air war, drawing and the unit panel answer as a unit that can do
// nothing until their code is in place.
#include "units/jednostka_lotnicza.h"

#include "world/gra.h"

namespace tr {

cJednostkaLotnicza::cJednostkaLotnicza() {
  category = kCategoryAir;
  type = kFighter;
  if (gGame) id = ++gGame->nextAirUnitId;
}

cJednostkaLotnicza::~cJednostkaLotnicza() = default;

int cJednostkaLotnicza::ComputeCombatValue() {
  combatValue = 100;
  return 1;
}

int cJednostkaLotnicza::SetActionPoints(int value) { return actionPoints = value; }
int cJednostkaLotnicza::AddStrength(int amount) { return strength += amount; }
float cJednostkaLotnicza::GetStrengthValue() const { return static_cast<float>(strength); }
float cJednostkaLotnicza::GetEffectiveStrength() const { return static_cast<float>(strength); }
bool cJednostkaLotnicza::IsHexInMoveRange(int, int) const { return false; }
bool cJednostkaLotnicza::OrderMove() { return false; }

bool cJednostkaLotnicza::TryIntercept(cUnit*, sCombatResult*) { return false; }
int cJednostkaLotnicza::MarkPlacementHexes(int) { return 0; }
int cJednostkaLotnicza::ComputeMoveRange(int) { return 0; }
void cJednostkaLotnicza::OnBombarded(sCombatResult*, cUnit*, sHex*) {}
void cJednostkaLotnicza::Kill() {}
void cJednostkaLotnicza::ResetActionPoints() {}
bool cJednostkaLotnicza::GetEffectivenessHint(std::u16string*) { return false; }
float cJednostkaLotnicza::GetBaseValue() const { return 0.0f; }
void cJednostkaLotnicza::DrawCounter(float, float, float, int) {}
void cJednostkaLotnicza::DrawIcon(const sUnitRect&) {}
bool cJednostkaLotnicza::GetUpgradeHint(std::u16string*) { return false; }
float cJednostkaLotnicza::GetUpgradeCost() { return 0.0f; }
void cJednostkaLotnicza::UpgradeToCorps() {}
bool cJednostkaLotnicza::GetLevelUpHint(std::u16string*) { return false; }
float cJednostkaLotnicza::GetLevelUpCost() { return 0.0f; }
void cJednostkaLotnicza::LevelUp() {}
bool cJednostkaLotnicza::GetStrengthIconHint(std::u16string*) { return false; }
bool cJednostkaLotnicza::GetStrategicMoveIconHint(std::u16string*) { return false; }
bool cJednostkaLotnicza::GetAirborneAssaultIconHint(std::u16string*) { return false; }
bool cJednostkaLotnicza::GetSeaTransportIconHint(std::u16string*) { return false; }
bool cJednostkaLotnicza::GetAmphTransportIconHint(std::u16string*) { return false; }
bool cJednostkaLotnicza::GetAirfightIconHint(std::u16string*) { return false; }
bool cJednostkaLotnicza::GetBombardmentIconHint(std::u16string*) { return false; }
bool cJednostkaLotnicza::GetNuclearIconHint(std::u16string*) { return false; }
bool cJednostkaLotnicza::GetReconIconHint(std::u16string*) { return false; }
int cJednostkaLotnicza::MoveToReservePool() { return -1; }

}  // namespace tr
