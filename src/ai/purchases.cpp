// The computer opponent's purchases of one turn: wishes are kept in the
// country's purchase queue and carried out, first affordable first, until
// nothing more can be paid; a new wish is chosen only when the queue is
// empty. New units wait in the reserve for the deployment.
#include "ai/purchases.h"

#include <algorithm>
#include <array>
#include <memory>

#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/random.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/object_numbers.h"
#include "world/panstwo.h"
#include "world/unit_room.h"

namespace tr {
namespace {

// Land-warfare doctrine is never researched by purchase.
constexpr int kMaxLevel = 5;
// Every pass pays a positive price, so the passes end; this only guards
// against prices so small that the turn would never finish.
constexpr int kMaxPurchasePasses = 10000;

const sScenarioConstants& Constants() { return gGame->constants; }

bool IsArmour(int type) { return type == kArmouredDivision || type == kArmouredCorps; }

// The common test of the three level-up searches; zeroActionPointsFrozen
// lets a frozen unit without action points qualify too.
bool MayLevelUp(cJednostka& unit, bool zeroActionPointsFrozen) {
  if (unit.level >= kMaxLevel || unit.actionPoints != unit.startingActionPoints) return false;
  if (unit.actionPoints == 0) {
    const auto* land = dynamic_cast<const cJednostkaLadowa*>(&unit);
    if (!zeroActionPointsFrozen || !land || land->freezeTime <= 0) return false;
  }
  return unit.GetLevelUpHint(nullptr);
}

void RemoveEvery(std::vector<std::int32_t>& queue, int code) { std::erase(queue, code); }

int PurchasedCategory(int code) {
  return code == kBuyLandUnit ? kCategoryLand : code == kBuyAirUnit ? kCategoryAir : kCategoryNaval;
}

std::u16string NewUnitName(const cCountry& country, int type) {
  const int number = 10 + RandomDraw() % 90;
  const std::u16string* typeName = country.GetUnitTypeName(type);
  return Format(u"%d %s", number, typeName ? *typeName : std::u16string());
}

// The fields every new unit starts with.
void StartNewUnit(cUnit& unit, const cCountry& country, int type) {
  unit.owner = country.id;
  unit.name = NewUnitName(country, type);
  unit.SetType(type);
  unit.inReserve = 1;
  unit.spotted = 0;
  unit.SetCommander(nullptr);
  unit.x = -1;
  unit.y = -1;
}

void StartNewMapUnit(cJednostka& unit, const cCountry& country, int type) {
  StartNewUnit(unit, country, type);
  unit.SetSupplySourceX(-1);
  unit.SetSupplySourceY(-1);
  unit.level = 1;
  unit.actionPoints = 0;
  unit.startingActionPoints = 0;
  unit.attacked = 0;
  unit.wasAttacked = 0;
}

void BuildLandUnit(cCountry& country, int type) {
  auto unit = std::make_unique<cJednostkaLadowa>();
  StartNewMapUnit(*unit, country, type);
  unit->strength = 100;
  unit->transporter = nullptr;
  unit->transporterId = -1;
  unit->shoreBombardmentEffect = 0.0f;
  unit->freezeTime = 0;
  unit->SetSupply(Constants().FullSupplyLevel());
  unit->ComputeCombatValue();
  GameLockGuard lock(__FILE__, __LINE__);
  gGame->reservePool.push_back(std::move(unit));
}

void BuildAirUnit(cCountry& country, int type) {
  auto unit = std::make_unique<cJednostkaLotnicza>();
  StartNewMapUnit(*unit, country, type);
  unit->strength = Constants().AirMaxStrength(type);
  unit->SetSupply(Constants().FullSupplyLevel());
  unit->ComputeCombatValue();
  GameLockGuard lock(__FILE__, __LINE__);
  gGame->reservePool.push_back(std::move(unit));
}

void BuildNavalUnit(cCountry& country, int type) {
  auto ship = std::make_unique<cJednostkaMorska>();
  ship->id = NewShipNumber(*gGame);
  StartNewUnit(*ship, country, type);
  ship->hitPoints = ship->maxHitPoints = Constants().ShipHitPoints(type);
  ship->fleet = nullptr;
  ship->fleetId = -1;
  ship->shoreBombardmentDone = 0;
  ship->airstrikeDone = 0;
  ship->reconDone = 0;
  ship->canBeRepaired = 1;
  ship->availableInTurns = 0;
  GameLockGuard lock(__FILE__, __LINE__);
  gGame->navalReserve.push_back(std::move(ship));
}

}  // namespace

int PurchaseCategoryType(int category) {
  if (category <= 6) return category;
  if (category <= 9) return category + 13;
  return category + 30;
}

bool IsPurchasableType(int code, int type) {
  switch (code) {
    case kBuyLandUnit: return type >= kInfantryDivision && type <= kAirborneDivision;
    case kBuyAirUnit: return type >= kFighter && type <= kStrategicBomber;
    case kBuyNavalUnit: return type >= kAircraftCarrier && type <= kAmphibiousShip;
    default: return false;
  }
}

float NewUnitPrice(int type) {
  if (!gGame) return 0.0f;
  const sScenarioConstants& k = Constants();
  if (type >= kInfantryDivision && type <= kAirborneDivision) return k.Float(79, type + 2) * k.Float(9, type + 2);
  if (type >= kFighter && type <= kStrategicBomber) {
    return static_cast<float>(k.Int(14, type - 19)) * k.Float(81, type - 18);
  }
  if (type >= kAircraftCarrier && type <= kAmphibiousShip) return k.Float(85, type - 39);
  return 0.0f;
}

float InvasionPointPrice(const cCountry& country) {
  const sScenarioConstants& k = Constants();
  // Points owed make the next point no cheaper than the first.
  return k.Float(86, 3) + static_cast<float>(std::max(country.invasionPointsUsed, 0)) * k.Float(87, 3);
}

float SeaTransportPointsPrice(const cCountry& country) {
  const sScenarioConstants& k = Constants();
  return k.Float(86, 2) + static_cast<float>(std::max(country.GetTotalSeaTransportPoints(), 0) / 10) * k.Float(87, 2);
}

float StrategicMovementPointPrice(const cCountry& country) {
  const sScenarioConstants& k = Constants();
  return k.Float(86, 1) + static_cast<float>(country.strategicMovementMax) * k.Float(87, 1);
}

float ResearchInvestmentPrice(int technology) { return Constants().Float(90, technology + 2); }

void cCountryAI::MakePurchases() {
  AiPhaseScope scope("MakePurchases");
  if (!gGame || !country) return;
  std::vector<std::int32_t>& queue = country->aiSettings.PurchaseQueue;
  // Level-ups and research were chosen for the units and points of an earlier turn.
  RemoveEvery(queue, kBuyLandLevelUp);
  RemoveEvery(queue, kBuyAirLevelUp);
  RemoveEvery(queue, kBuyResearch);
  for (int pass = 0;; ++pass) {
    if (pass == kMaxPurchasePasses) {
      LogFormat(u"[AI]: %ls - purchases stopped after %i passes", country->name, pass);
      return;
    }
    sPurchaseChoice choice;
    ChoosePurchase(choice);
    if (!BuildPurchasedUnits(choice)) return;
  }
}

void cCountryAI::ChoosePurchase(sPurchaseChoice& choice) {
  std::vector<std::int32_t>& queue = country->aiSettings.PurchaseQueue;
  if (!queue.empty()) return;
  if (cJednostkaLotnicza* air = FindAirUnitToLevelUp()) {
    queue.push_back(kBuyAirLevelUp);
    choice.airUnit = air;
    choice.airUnitPrice = air->GetLevelUpCost();
    return;
  }
  cJednostkaLadowa* land = FindArmourToLevelUp();
  if (!land) land = FindLandUnitToLevelUp();
  if (land) {
    queue.push_back(kBuyLandLevelUp);
    choice.landUnit = land;
    choice.landUnitPrice = land->GetLevelUpCost();
    return;
  }
  const int technology = ChooseResearch();
  if (technology != -1) {
    queue.push_back(kBuyResearch);
    choice.technology = technology;
    choice.researchPrice = ResearchInvestmentPrice(technology);
    return;
  }
  if (country->strategicMovementMax < country->aiSettings.DesiredStrategicMovementPoints) {
    queue.push_back(kBuyStrategicMovementPoint);
    return;
  }
  const int category = ChoosePurchaseCategory();
  if (category < 0) return;
  const int type = PurchaseCategoryType(category);
  sNewUnitPurchaseData& pending = country->aiSettings.NewUnitPurchaseData;
  if (category <= 6) {
    pending.landType = type;
    pending.landPrice = NewUnitPrice(type);
    queue.push_back(kBuyLandUnit);
  } else if (category <= 9) {
    pending.airType = type;
    pending.airPrice = NewUnitPrice(type);
    queue.push_back(kBuyAirUnit);
  } else {
    pending.navalType = type;
    pending.navalPrice = NewUnitPrice(type);
    queue.push_back(kBuyNavalUnit);
  }
}

bool cCountryAI::BuildPurchasedUnits(sPurchaseChoice& choice) {
  std::vector<std::int32_t>& queue = country->aiSettings.PurchaseQueue;
  const sNewUnitPurchaseData& pending = country->aiSettings.NewUnitPurchaseData;
  for (std::size_t i = 0; i < queue.size(); ++i) {
    const int code = queue[i];
    float price = 0.0f;
    int pendingType = -1;
    bool hasTarget = true;
    switch (code) {
      case kBuyInvasionPoint: price = InvasionPointPrice(*country); break;
      case kBuySeaTransportPoints: price = SeaTransportPointsPrice(*country); break;
      case kBuyAirLevelUp:
        price = choice.airUnitPrice;
        hasTarget = choice.airUnit != nullptr;
        break;
      case kBuyLandLevelUp:
        price = choice.landUnitPrice;
        hasTarget = choice.landUnit != nullptr;
        break;
      case kBuyResearch:
        price = choice.researchPrice;
        hasTarget = choice.technology >= 0 && choice.technology < kTechCount;
        break;
      case kBuyLandUnit: price = pending.landPrice; pendingType = pending.landType; break;
      case kBuyAirUnit: price = pending.airPrice; pendingType = pending.airType; break;
      case kBuyNavalUnit: price = pending.navalPrice; pendingType = pending.navalType; break;
      case kBuyStrategicMovementPoint: price = StrategicMovementPointPrice(*country); break;
      default: continue;  // never acted on
    }
    // A wish that costs nothing, or has nothing to buy, would be bought again
    // and again: it goes, and so do the purchases of this turn.
    if (!(price > 0.0f) || !hasTarget) {
      LogFormat(u"[AI]: %ls - purchase %i removed: its price is %.2f", country->name, code, price);
      RemoveEvery(queue, code);
      return false;
    }
    if (pendingType != -1 && !IsPurchasableType(code, pendingType)) {
      LogFormat(u"[AI]: %ls - purchase %i removed: unit type %i cannot be bought so", country->name, code,
                pendingType);
      RemoveEvery(queue, code);
      return false;
    }
    if (pendingType != -1 && !RoomForUnit(*gGame, PurchasedCategory(code),
                                          Format(u"[AI]: %ls - purchase %i", country->name, code))) {
      RemoveEvery(queue, code);
      return false;
    }
    const double points = country->productionPoints;
    const bool affordable = points >= static_cast<double>(price);
    switch (code) {
      case kBuyInvasionPoint:
        if (affordable) {
          country->invasionPointsUsed = std::min(country->invasionPointsUsed + 1, kMaxPoints);
          country->AddInvasionPoints(1);
          country->AddProductionPoints(-price);
        } else {
          RemoveEvery(queue, code);
        }
        return true;
      case kBuySeaTransportPoints:
        if (affordable) {
          country->AddSeaTransportPoints(10);
          country->AddProductionPoints(-price);
        } else {
          RemoveEvery(queue, code);
        }
        return true;
      default: break;
    }
    if (!affordable) continue;
    switch (code) {
      case kBuyAirLevelUp: choice.airUnit->AiLevelUp(); break;
      case kBuyLandLevelUp: choice.landUnit->AiLevelUp(); break;
      case kBuyResearch:
        {
          std::int32_t& invested = country->techInvestments[static_cast<std::size_t>(choice.technology)];
          invested = std::min(invested + 1, kMaxPoints);
        }
        country->AddProductionPoints(-price);
        break;
      case kBuyLandUnit:
        BuildLandUnit(*country, pendingType);
        country->AddProductionPoints(-price);
        break;
      case kBuyAirUnit:
        BuildAirUnit(*country, pendingType);
        country->AddProductionPoints(-price);
        break;
      case kBuyNavalUnit:
        BuildNavalUnit(*country, pendingType);
        country->AddProductionPoints(-price);
        LogFormat(u"[AI]: %ls - bought a ship of type %i for %.2f PP", country->name, pendingType, price);
        break;
      case kBuyStrategicMovementPoint:
        country->strategicMovementMax += 1;
        country->AddStrategicMovementPoints(1);
        country->AddProductionPoints(-price);
        break;
      default: break;
    }
    RemoveEvery(queue, code);
    return true;
  }
  return false;
}

int cCountryAI::ChoosePurchaseCategory() {
  const std::array<std::int32_t, kPurchaseCategoryCount>& weights = country->aiSettings.NewUnitPurchasePreferences;
  float total = 0.0f;
  for (std::int32_t weight : weights) total += static_cast<float>(weight);
  const float r = static_cast<float>(RandomDraw() / 32767.0);
  if (!(total > 0.0f)) {
    // Without weights every cumulated chance is undefined: nothing is bought.
    LogFormat(u"Error in determining purchase. Random no = %.2f. Cumulated chance = %.2f", r, 0.0);
    return -1;
  }
  // A category of weight 0 is never drawn, also not by the draw 0; when
  // rounding leaves the last chance below the draw, the last weighted one wins.
  float cumulated = 0.0f;
  int lastWeighted = -1;
  for (int k = 0; k < kPurchaseCategoryCount; ++k) {
    cumulated += static_cast<float>(weights[static_cast<std::size_t>(k)]) / total;
    if (weights[static_cast<std::size_t>(k)] <= 0) continue;
    lastWeighted = k;
    if (cumulated >= r) return k;
  }
  return lastWeighted;
}

int cCountryAI::ChooseResearch() const {
  const sScenarioConstants& k = Constants();
  for (int i = 0; i < kTechCount; ++i) {
    if (i == kDoctrineTech) continue;
    const std::size_t at = static_cast<std::size_t>(i);
    const int level = country->techLevels[at];
    if (level >= k.Int(89, i + 2) || level >= country->aiSettings.DesiredTechLevels[at]) continue;
    const int needed = k.Int(88, i + 2);
    if (needed <= 0) continue;
    const float ratio = static_cast<float>(country->researchProgress[at]) / static_cast<float>(needed);
    const int investments = country->techInvestments[at];
    if ((ratio < 0.25f && investments < 3) || (ratio >= 0.25f && ratio < 0.5f && investments < 2) ||
        (ratio >= 0.5f && ratio < 0.75f && investments < 1)) {
      return i;
    }
  }
  return -1;
}

cJednostkaLotnicza* cCountryAI::FindAirUnitToLevelUp() const {
  for (cJednostkaLotnicza* unit : ownAir) {
    if (MayLevelUp(*unit, false)) return unit;
  }
  return nullptr;
}

cJednostkaLadowa* cCountryAI::FindArmourToLevelUp() const {
  for (cJednostkaLadowa* unit : ownLand) {
    if (IsArmour(unit->type) && MayLevelUp(*unit, false)) return unit;
  }
  return nullptr;
}

cJednostkaLadowa* cCountryAI::FindLandUnitToLevelUp() const {
  const int n = std::min(country->GetTechLevel(0), kMaxLevel);
  if (n < 2) return nullptr;
  std::array<int, kMaxLevel + 1> count{};
  for (const cJednostkaLadowa* unit : ownLand) {
    if (!IsArmour(unit->type) && unit->level >= 1 && unit->level <= kMaxLevel) ++count[unit->level];
  }
  const auto& desired = country->aiSettings.DesiredLandForcesStructure;
  float desiredSum = 0.0f;
  float unitSum = 0.0f;
  for (int level = 1; level <= n; ++level) {
    desiredSum += static_cast<float>(desired[static_cast<std::size_t>(level - 1)]);
    unitSum += static_cast<float>(count[static_cast<std::size_t>(level)]);
  }
  if (desiredSum == 0.0f) desiredSum = 0.00001f;
  if (unitSum == 0.0f) unitSum = 0.00001f;
  // Levelling a unit of level L up raises the share of level L + 1.
  for (int level = n - 1; level >= 1; --level) {
    const float wanted = static_cast<float>(desired[static_cast<std::size_t>(level)]) / desiredSum;
    const float actual = static_cast<float>(count[static_cast<std::size_t>(level + 1)]) / unitSum;
    if (!(wanted > actual)) continue;
    for (cJednostkaLadowa* unit : ownLand) {
      if (!IsArmour(unit->type) && unit->level == level && MayLevelUp(*unit, true)) return unit;
    }
  }
  return nullptr;
}

}  // namespace tr
