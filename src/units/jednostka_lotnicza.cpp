// Air units: construction, the values fixed by type, level-ups, radii, and
// leaving the map (killed or taken into the reserve pool).
#include "units/jednostka_lotnicza.h"

#include <algorithm>

#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "foundation/settings.h"
#include "units/air_support.h"
#include "world/gra.h"
#include "world/object_numbers.h"
#include "world/presentation.h"
#include "world/tech_levels.h"

namespace tr {
namespace {

const sScenarioConstants& Constants() { return gGame->constants; }

// The radius factor of the owner's aircraft technology.
float RangeFactor(const cUnit& unit) {
  const cCountry* owner = unit.GetOwnerCountry();
  return Constants().AirRangeFactor(TechTableLevel(owner ? owner->GetTechLevel(3) : 0, 0));
}

int ScaledRadius(const cUnit& unit, int base) {
  return static_cast<int>(static_cast<float>(Constants().AirRangeBase(base)) * RangeFactor(unit));
}

}  // namespace

int ClampAirColumn(int column) { return std::clamp(column, -4, 4); }

cJednostkaLotnicza::cJednostkaLotnicza() {
  category = kCategoryAir;
  type = kFighter;
  if (gGame) id = NewAirUnitNumber(*gGame);
}

cJednostkaLotnicza::~cJednostkaLotnicza() = default;

int cJednostkaLotnicza::ComputeCombatValue() {
  combatValue = 100;
  return 1;
}

int cJednostkaLotnicza::SetActionPoints(int value) { return actionPoints = value; }

void cJednostkaLotnicza::ResetActionPoints() {
  actionPoints = gGame ? Constants().AirActionPoints(type) : 0;
  // Without supply the unit stays on the ground this turn.
  if (supply != 0) {
    startingActionPoints = actionPoints;
  } else {
    actionPoints = 0;
    startingActionPoints = 0;
  }
}

int cJednostkaLotnicza::AddStrength(int amount) { return strength += amount; }
float cJednostkaLotnicza::GetStrengthValue() const { return static_cast<float>(strength); }
float cJednostkaLotnicza::GetEffectiveStrength() const { return static_cast<float>(strength); }

float cJednostkaLotnicza::GetBaseValue() const {
  return gGame ? static_cast<float>(Constants().AirMaxStrength(type)) : 0.0f;
}

bool cJednostkaLotnicza::IsHexInMoveRange(int, int) const { return false; }
bool cJednostkaLotnicza::OrderMove() { return false; }

float cJednostkaLotnicza::GetUpgradeCost() {
  LogLine(u"Error: jednostek lotniczych nie da sie upgradeowac na korpus");
  return 0.0f;
}

void cJednostkaLotnicza::UpgradeToCorps() {
  LogLine(u"Error: jednostek lotniczych nie da sie upgradeowac na korpus");
}

float cJednostkaLotnicza::GetLevelUpCost() {
  if (!gGame) return 0.0f;
  const float b = static_cast<float>(Constants().AirMaxStrength(type)) * Constants().AirLevelUpFactor(type);
  const float r = static_cast<float>(Constants().AirLevelUpPercent());
  const float lv = static_cast<float>(level);
  return (b + r * b * lv / 100.0f) - (b + r * b * (lv - 1.0f) / 100.0f);
}

void cJednostkaLotnicza::LevelUp() {
  const float cost = GetLevelUpCost();
  if (cCountry* owner = GetOwnerCountry()) owner->AddProductionPoints(-cost);
  level += 1;
  actionPoints = 0;
}

void cJednostkaLotnicza::AiLevelUp() {
  const float cost = GetLevelUpCost();
  cCountry* owner = GetOwnerCountry();
  if (owner) owner->AddProductionPoints(-cost);
  LogFormat(u"[AI]: %s - upgrading %s (level up)", CountryName(this->owner), name);
  if (ShowsComputerMove(*this)) Presentation().CenterCameraOn(x, y, true);
  WaitComputerDelay(kDelayAIReplacementBefore);
  level += 1;
  actionPoints = 0;
  WaitComputerDelay(kDelayAIReplacementAfter);
}

int cJednostkaLotnicza::GetMoveRange() const {
  if (!gGame) return 0;
  return ScaledRadius(*this, type == kStrategicBomber ? 4 : 2);
}

int cJednostkaLotnicza::GetRange() const {
  if (!gGame) return 0;
  return ScaledRadius(*this, type == kStrategicBomber ? 3 : 1);
}

int cJednostkaLotnicza::GetReconRange() const { return gGame ? ScaledRadius(*this, 1) : 0; }

void cJednostkaLotnicza::Kill() {
  if (!gGame) return;
  // The renderer walks the unit lists under the lock.
  GameLockGuard lock;
  ReleaseReferences();
  if (gGame->map && gGame->map->IsInside(x, y)) {
    sHex* hex = gGame->map->GetHex(x, y);
    if (hex->unit == this) hex->unit = nullptr;
  }
  // Erasing the owning pointer frees the unit, so it comes last.
  auto& list = gGame->airUnits;
  const auto onMap = std::find_if(list.begin(), list.end(), [this](const auto& u) { return u.get() == this; });
  if (onMap != list.end()) {
    list.erase(onMap);
    return;
  }
  auto& pool = gGame->reservePool;
  const auto inPool = std::find_if(pool.begin(), pool.end(), [this](const auto& u) { return u.get() == this; });
  if (inPool != pool.end()) pool.erase(inPool);
}

int cJednostkaLotnicza::MoveToReservePool() {
  LogFormat(u"map --> reserve pool: %s", name);
  if (!gGame) return -1;
  GameLockGuard lock;
  if (gGame->map && gGame->map->IsInside(x, y)) {
    sHex* hex = gGame->map->GetHex(x, y);
    if (hex->unit == this) hex->unit = nullptr;
  }
  auto& list = gGame->airUnits;
  const auto it = std::find_if(list.begin(), list.end(), [this](const auto& u) { return u.get() == this; });
  if (it != list.end()) {
    // The entry leaves the air units for the reserve pool.
    gGame->reservePool.push_back(list.Take(it));
  }
  inReserve = 1;
  x = -1;
  y = -1;
  // The pool holds its units at full supply, as a loaded game puts them there.
  SetSupply(Constants().FullSupplyLevel());
  ComputeCombatValue();
  return -1;
}

void cJednostkaLotnicza::DrawCounter(float, float, float, int) {}
void cJednostkaLotnicza::DrawIcon(const sUnitRect&) {}

}  // namespace tr
