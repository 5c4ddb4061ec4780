// The computer opponent spends production points on the forces it has: lost strength of air and land
// units is replaced, damaged ships are repaired, and free land commanders take the strongest land units.
// Units earlier in the order are served first, while the points last.
#include <algorithm>
#include <cmath>
#include <vector>

#include "ai/ai_pacing.h"
#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "ai/strength_order.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "units/air_support.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "units/replacement_price.h"
#include "world/commander.h"
#include "world/gra.h"
#include "world/map.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "replacements";
constexpr int kTopSupplyLevel = 50;

// The most strength points one unit may receive at once, by supply level:
// line 55 of the constants for land units, line 56 for air units.
int ReplacementLimit(const cJednostka& unit, bool land) {
  const sScenarioConstants& k = gGame->constants;
  const int level = std::clamp(unit.supply, 0, kTopSupplyLevel);
  return land ? k.SupplyReplacementValueA(level) : k.SupplyReplacementValueB(level);
}

// Whole points the production points pay at price p, at most `cap`.
int AffordablePoints(double points, double price, int cap) {
  if (!(price > 0.0) || !(points > 0.0) || cap <= 0) return 0;
  const double n = std::floor(points / price);
  int count = n >= static_cast<double>(cap) ? cap : static_cast<int>(n);
  // The product must never exceed what the country has, also after rounding.
  while (count > 0 && static_cast<double>(count) * price > points) --count;
  return count;
}

// The owner's units still in the game, sorted: an earlier phase may have destroyed some.
template <typename Unit, typename Owned>
std::vector<const Unit*> LiveUnits(const Owned& owned, int owner) {
  std::vector<const Unit*> live;
  ForEachUnit(owned, [&](const Unit& unit) { if (unit.owner == owner) live.push_back(&unit); });
  std::ranges::sort(live);
  return live;
}

// Strength points given and paid for, shown as the computer's moves are.
void Reinforce(cCountry& country, cJednostka& unit, int points, float price, std::u16string& message) {
  cGame& game = *gGame;
  const float cost = static_cast<float>(points) * price;
  const bool shown = ShowsComputerMove(unit);
  if (shown) {
    message =
        Format(u"[AI]: %ls - Replacements for %s (%i strength, cost %.1f PP)", country.name, unit.name, points, cost);
    LogLine(message);
    CenterAtHex(*game.map, unit.x, unit.y, true);
    SleepAiDelay(kDelayAIReplacementBefore, kThisFile, __LINE__);
  }
  {
    GameLockGuard lock(__FILE__, __LINE__);
    unit.SetActionPoints(0);
    unit.AddStrength(points);
    country.AddProductionPoints(-static_cast<double>(points) * price);
  }
  if (shown) SleepAiDelay(kDelayAIReplacementAfter, kThisFile, __LINE__);
}

}  // namespace

void cCountryAI::ReplaceAirLosses(float factor) {
  AiPhaseScope scope("ReplaceAirLosses", factor);
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  const sScenarioConstants& k = game->constants;
  std::stable_sort(ownAir.begin(), ownAir.end(), [](const cJednostkaLotnicza* a, const cJednostkaLotnicza* b) {
    return a->strength + a->level < b->strength + b->level;
  });
  const auto live = LiveUnits<cJednostkaLotnicza>(game->airUnits, country->id);
  for (cJednostkaLotnicza* unit : ownAir) {
    if (!std::ranges::binary_search(live, unit)) continue;
    const int type = unit->type;
    if (type < kFighter || type > kStrategicBomber) continue;
    if (!unit->GetStrengthIconHint(nullptr)) continue;
    if (!(static_cast<float>(unit->strength) <= unit->GetBaseValue() * factor)) continue;
    const float price = ReplacementPrice(*unit, k);
    const int limit = ReplacementLimit(*unit, false);
    const int cap = type == kFighter ? std::min(limit / 2, 4 - unit->strength)
                                     : std::min(limit, 8 - unit->strength);
    const int points = AffordablePoints(country->productionPoints, price, cap);
    if (points > 0) Reinforce(*country, *unit, points, price, messageText);
  }
}

void cCountryAI::ReplaceLandLosses(float factor) {
  AiPhaseScope scope("ReplaceLandLosses", factor);
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  const sScenarioConstants& k = game->constants;
  // The weakest first; kept three lines long, so the pause and lock lines below
  // stay where the log has always named them.
  StableSortByStrength(ownLand, std::less<float>());
  const int below = static_cast<int>(factor * 100.0);
  const auto live = LiveUnits<cJednostkaLadowa>(game->landUnits, country->id);
  for (cJednostkaLadowa* unit : ownLand) {
    if (!std::ranges::binary_search(live, unit)) continue;
    const int type = unit->type;
    if (type < kInfantryDivision || type >= kLandTypeCount) continue;
    if (!unit->GetStrengthIconHint(nullptr) || unit->strength >= below) continue;
    const float price = ReplacementPrice(*unit, k);
    const int cap = std::min(ReplacementLimit(*unit, true), 100 - unit->strength);
    const int points = AffordablePoints(country->productionPoints, price, cap);
    if (points > 0) Reinforce(*country, *unit, points, price, messageText);
  }
}

void cCountryAI::RepairShips() {
  AiPhaseScope scope("RepairShips");
  cGame* game = gGame;
  if (!game || !country) return;
  const sScenarioConstants& k = game->constants;
  std::vector<cJednostkaMorska*> ships;
  for (const auto& ship : game->navalUnits) {
    if (ship->owner == country->id) ships.push_back(ship.get());
  }
  std::stable_sort(ships.begin(), ships.end(),
                   [](const cJednostkaMorska* a, const cJednostkaMorska* b) { return a->hitPoints < b->hitPoints; });
  for (cJednostkaMorska* ship : ships) {
    const int type = ship->type;
    if (type < kAircraftCarrier || type > kAmphibiousShip) continue;
    const float share = static_cast<float>(ship->maxHitPoints) * k.Float(142, 1) * 0.01f;
    const int threshold = static_cast<int>(std::ceil(share));
    if (ship->hitPoints > threshold) continue;
    const double price = k.NavalFactor(type);
    const double points = country->productionPoints;
    // A negative price would pay the country for the repair.
    if (price < 0.0 || !(price < points)) continue;
    int repaired = ship->maxHitPoints - ship->hitPoints;
    double cost = repaired * price;
    if (cost > points) {
      repaired = AffordablePoints(points, price, repaired);
      cost = repaired * price;
    }
    if (repaired <= 0) continue;
    {
      GameLockGuard lock(__FILE__, __LINE__);
      ship->hitPoints += repaired;
      country->AddProductionPoints(-cost);
    }
    messageText =
        Format(u"[AI]: %ls - Repairing %s (%i HP, cost %.1f PP)", country->name, ship->name, repaired, cost);
    LogLine(messageText);
  }
}

void cCountryAI::CollectFreeCommanders(std::list<sCommander*>& commanders) const {
  commanders.clear();
  if (!gGame || !country) return;
  for (const auto& commander : gGame->commanders) {
    // The computer places commanders on land units only, and a commander
    // leads his own kind of forces, as the player's commander dialog offers.
    if (commander->countryId == country->id && commander->state == kCommanderNotAssigned &&
        commander->type == kCategoryLand) {
      commanders.push_back(commander.get());
    }
  }
}

void cCountryAI::AssignCommanders() {
  AiPhaseScope scope("AssignCommanders");
  cGame* game = gGame;
  if (!game || !country) return;
  std::list<sCommander*> commanders;
  CollectFreeCommanders(commanders);
  StableSortByStrength(ownLand, std::greater<float>());
  commanders.sort([](const sCommander* a, const sCommander* b) { return a->skill > b->skill; });
  if (commanders.empty()) return;  // nobody to place: which units still live does not matter
  const auto live = LiveUnits<cJednostkaLadowa>(game->landUnits, country->id);
  auto free = ownLand.begin();  // each search goes on from the unit the last commander took
  for (sCommander* commander : commanders) {
    free = std::find_if(free, ownLand.end(), [&](const cJednostkaLadowa* unit) {
      return std::ranges::binary_search(live, unit) && !unit->attachedCommander;
    });
    if (free == ownLand.end()) break;
    cJednostkaLadowa& unit = **free;
    {
      GameLockGuard lock(__FILE__, __LINE__);
      unit.attachedCommander = commander;
      unit.commanderId = -1;
      commander->headquarters = &unit;
      commander->state = kCommanderAssigned;
      unit.ComputeCombatValue();
    }
    LogFormat(u"%s has been assigned to command %s", commander->name, unit.name);
  }
}

}  // namespace tr
