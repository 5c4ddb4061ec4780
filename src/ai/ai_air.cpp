// The computer's air war: rebasing away from or toward the enemy's land units, fighter sweeps, tactical
// strikes on land units and fleets, and the strategic bombing of enemy cities; and patching fronts whose
// cities are held very unevenly by strategic moves.
#include <algorithm>
#include <climits>
#include <set>
#include <vector>

#include "ai/ai_pacing.h"
#include "ai/ai_phase.h"
#include "ai/air_scans.h"
#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "foundation/random.h"
#include "turn/fleet.h"
#include "units/air_support.h"
#include "units/combat_result.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "world/cities_diagram.h"
#include "world/city.h"
#include "world/gra.h"
#include "world/hex_distance.h"
#include "world/panstwo.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "ai_air";
inline constexpr std::uint32_t kFlagAttackTarget = 2;

bool CarriesLoss(const sCombatResult& result) {
  return result.Flag(kFlagAttackerDestroyed) || result.Flag(kFlagDefenderDestroyed) ||
         result.Flag(kFlagDefenderSurrendered);
}

void ShowResult(const sCombatResult& result) {
  if (gDelays[kDelayAICombatResult] == 0.0f) return;
  SleepAiDelay(kDelayAICombatAfter, kThisFile, __LINE__);
  ShowAiCombatResult(result);
}

bool FollowsComputer() { return gGame && gGame->playerControl.follow; }

// Visible to the viewer and the view follows the computer.
bool Shown(const cUnit& unit) { return ShowsComputerMove(unit); }

sHex* HexAt(int x, int y) {
  if (!gGame || !gGame->map || !gGame->map->IsInside(x, y)) return nullptr;
  return gGame->map->GetHex(x, y);
}

int AirBaseSafetyDistance() { return gGame->constants.AirBaseSafetyDistance(); }

bool HasNotActed(const cJednostkaLotnicza& unit) {
  return unit.actionPoints != 0 && unit.actionPoints == unit.startingActionPoints;
}

}  // namespace

const cEnemyLandUnitQueryCache& cCountryAI::EnemyLandQueries() const {
  if (!enemyLandQueries_) enemyLandQueries_.emplace(enemyLand);
  return *enemyLandQueries_;
}

int cCountryAI::MinDistanceToEnemyLandUnits(int x, int y) const {
  return EnemyLandQueries().MinDistanceToEnemyLandUnits(x, y);
}

int cCountryAI::CountEnemyLandUnitsWithin(int x, int y, int radius) const {
  return EnemyLandQueries().CountEnemyLandUnitsWithin(x, y, radius);
}

sAirBaseCandidate cCountryAI::ChooseRetreatBase(const std::vector<sAirBaseCandidate>& candidates) const {
  sAirBaseCandidate best;
  best.x = -1;
  best.y = -1;
  const int minimum = static_cast<int>(static_cast<float>(AirBaseSafetyDistance()) * 1.3f);
  for (const sAirBaseCandidate& c : candidates) {
    if (c.distanceToEnemy < minimum) continue;
    if (best.x == -1 || c.distanceToEnemy < best.distanceToEnemy ||
        (c.distanceToEnemy == best.distanceToEnemy && c.enemiesWithinRange > best.enemiesWithinRange)) {
      best = c;
    }
  }
  return best;
}

sAirBaseCandidate cCountryAI::ChooseForwardBase(const std::vector<sAirBaseCandidate>& candidates) const {
  sAirBaseCandidate best;
  best.x = -1;
  best.y = -1;
  const int safety = AirBaseSafetyDistance();
  for (const sAirBaseCandidate& c : candidates) {
    if (c.distanceToEnemy <= safety || c.enemiesWithinRange <= 0) continue;
    if (best.x == -1 || c.enemiesWithinRange > best.enemiesWithinRange) best = c;
  }
  return best;
}

void cCountryAI::RebaseAirUnits() {
  AiPhaseScope scope("RebaseAirUnits");
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  const int minimumSupply = static_cast<int>(static_cast<float>(game->constants.FullSupplyLevel()) * 0.33f);
  // A rebase only moves air units: the enemy's places and the answers stay
  // valid through it, but not from an earlier phase.
  enemyLandQueries_.reset();
  const cEnemyLandUnitQueryCache& queries = EnemyLandQueries();
  for (cJednostkaLotnicza* unit : ownAir) {
    if (!HasNotActed(*unit) || unit->supply < minimumSupply) continue;
    std::vector<sAirBaseCandidate> candidates;
    unit->CollectAiTargets(candidates, queries);
    const int distance = queries.MinDistanceToEnemyLandUnits(unit->x, unit->y);
    if (distance < AirBaseSafetyDistance()) {
      const sAirBaseCandidate base = ChooseRetreatBase(candidates);
      if (base.x != -1) {
        LogFormat(u"[AI] %ls: %ls falls back to (%i,%i)", country->name, unit->name, base.x, base.y);
        unit->AiRebaseTo(base.x, base.y);
      }
      continue;
    }
    const int here = queries.CountEnemyLandUnitsWithin(unit->x, unit->y, unit->GetRange());
    const sAirBaseCandidate base = ChooseForwardBase(candidates);
    // Any other hex counts as a move forward.
    if (base.x == -1 || (base.x == unit->x && base.y == unit->y)) continue;
    if (base.enemiesWithinRange <= 3 * here) continue;
    LogFormat(u"[AI] %ls: %ls moves forward to (%i,%i)", country->name, unit->name, base.x, base.y);
    unit->AiRebaseTo(base.x, base.y);
  }
}

void cCountryAI::AirFights() {
  AiPhaseScope scope("AirFights");
  if (!gGame || !country) return;
  BuildUnitLists();
  for (cAirTargetsByType targets(country->id); const int type : {kFighter, kStrategicBomber, kTacticalBomber}) {
    if (AirFight(ownAir, type, targets)) BuildUnitLists();
  }
}

bool cCountryAI::AirFight(const std::vector<cJednostkaLotnicza*>& own, int targetType, cAirTargetsByType& enemies) {
  cGame* game = gGame;
  if (!game || !game->map || !country) return false;
  cMap& map = *game->map;
  bool changed = false;
  // A copy: a fight may kill the fighter, and the caller's list must not be walked past a freed unit.
  const std::vector<cJednostkaLotnicza*> fighters(own.begin(), own.end());
  std::set<const cJednostkaLotnicza*> gone;  // freed: every enemy shot down goes in
  const auto targets = enemies.OfType(targetType);
  for (cJednostkaLotnicza* fighter : fighters) {
    if (gone.count(fighter)) continue;
    if (fighter->type != kFighter || fighter->actionPoints < 1 || fighter->strength < 2) continue;
    cJednostkaLotnicza* target = fighter->FindTargetInRange(targets, gone);
    if (!target) continue;
    const int tx = target->x;
    const int ty = target->y;
    sHex* hex = HexAt(tx, ty);
    if (!hex) continue;
    const cCountry* defender = game->GetCountry(target->owner);
    const bool fighterShown = Shown(*fighter);
    const bool targetShown = Shown(*target);
    // A fight over a human player's unit is shown even when nobody sees it.
    const bool marked = fighterShown || targetShown || (defender && defender->humanControlled);
    if (marked) {
      CenterAtHex(map, tx, ty, true);
      SleepAiDelay(kDelayAICombatBefore, kThisFile, __LINE__);
      hex->AddFlags(kFlagAttackTarget, 0);
      SleepAiDelay(kDelayAICombatBefore, kThisFile, __LINE__);
    }
    cUnit* interceptor = defender ? defender->FindBestInterceptor(tx, ty) : nullptr;
    const auto* airInterceptor = dynamic_cast<const cJednostkaLotnicza*>(interceptor);
    bool stopped = false;
    if (interceptor && targetType != kFighter) {
      sCombatResult interception;
      interception.Reset();
      stopped = fighter->TryIntercept(interceptor, &interception);
      if (stopped) changed = true;
      if (CarriesLoss(interception)) changed = true;
      if (interception.Flag(kFlagDefenderDestroyed) && airInterceptor) gone.insert(airInterceptor);
      if (fighterShown || targetShown) ShowResult(interception);
      if (interception.Flag(kFlagAttackerDestroyed)) {
        // The interceptor shot the fighter down.
        gone.insert(fighter);
        fighter->Kill();
        if (marked) hex->RemoveFlags(kFlagAttackTarget, true);
        continue;
      }
    }
    if (!stopped && !gone.count(target)) {
      sCombatResult fight;
      fight.Reset();
      gone.insert(target);  // until we know it survived
      target->AirFight(fight, *fighter, hex);
      if (!fight.Flag(kFlagDefenderDestroyed)) gone.erase(target);
      if (CarriesLoss(fight)) changed = true;
      // A fight hidden from the player opens nothing either.
      if (marked) ShowResult(fight);
      if (fight.Flag(kFlagAttackerDestroyed)) {
        gone.insert(fighter);
        fighter->Kill();
      }
    }
    if (marked) hex->RemoveFlags(kFlagAttackTarget, true);
  }
  return changed;
}

void cCountryAI::AirStrikes() {
  AiPhaseScope scope("AirStrikes");
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  cMap& map = *game->map;
  const auto& k = game->constants;
  // Each strike costs the bomber an action point, so the loop ends; the bound guards against a rule that pays nothing.
  int strikes = 0;
  cEnemyLandPlaces places(enemyLand);  // a strike moves no land unit; a loss rebuilds the list
  auto it = ownAir.begin();
  LogLine(u"bu bu bu petla 2.5");
  while (it != ownAir.end() && strikes < 1000) {
    cJednostkaLotnicza* bomber = *it;
    LogLine(u"bu bu bu petla 3");
    if (bomber->actionPoints < 1 || bomber->strength < 4 || bomber->type != kTacticalBomber) {
      ++it;
      continue;
    }
    LogLine(u"bu bu bu petla 4");
    cJednostkaLadowa* target = nullptr;
    float best = 0.0f;
    places.ForEachCloserThan(bomber->x, bomber->y, bomber->GetRange(), [&](cJednostkaLadowa& enemy) {
      const float strength = enemy.GetEffectiveStrength();
      if (enemy.level < 1 || enemy.level > 5 || enemy.type < 0 || enemy.type >= kLandTypeCount) return;
      if (strength < 0.5f * k.LandBaseValue(enemy.level, enemy.type)) return;
      if (!target || strength > best) {
        target = &enemy;
        best = strength;
      }
    });
    LogLine(u"bu bu bu petla 5");
    if (!target) {
      ++it;
      continue;
    }
    sHex* hex = HexAt(target->x, target->y);
    if (!hex) {
      ++it;
      continue;
    }
    const int tx = target->x;
    const int ty = target->y;
    const bool shown = Shown(*target);
    if (shown) {
      hex->AddFlags(kFlagAttackTarget, 0);
      CenterAtHex(map, tx, ty, true);
    }
    // The result of a strike on a visible target is shown whether or not the view follows the computer.
    const bool visible = target->spotted != 0;
    LogLine(u"bu bu bu petla 10");
    const cCountry* defender = game->GetCountry(target->owner);
    cUnit* interceptor = defender ? defender->FindBestInterceptor(tx, ty) : nullptr;
    bomber->AddActionPoints(-1);
    ++strikes;
    sCombatResult result;
    result.Reset();
    if (interceptor && bomber->TryIntercept(interceptor, &result)) {
      LogLine(u"Przechwycenie udane, nici z ataku!");
      ShowResult(result);
    } else {
      LogLine(u"bu bu bu petla 15");
      target->OnBombarded(&result, bomber, hex);  // may free the target
      if (visible) ShowResult(result);
    }
    LogLine(u"bu bu bu petla 20");
    if (HexAt(tx, ty)) HexAt(tx, ty)->RemoveFlags(kFlagAttackTarget, true);
    // A bomber shot down or worn out is gone from the map.
    if (result.Flag(kFlagAttackerDestroyed) || bomber->strength <= 0) bomber->Kill();
    if (!CarriesLoss(result)) {
      LogLine(u"bu bu bu petla 27");
      ++it;
      continue;
    }
    LogLine(u"bu bu bu petla 28");
    BuildUnitLists();
    places.Forget();
    if (ownAir.empty() || enemyLand.empty()) break;
    LogLine(u"bu bu bu petla 29");
    it = ownAir.begin();
  }
  LogLine(u"bu bu bu koniec");
}

void cCountryAI::PlanAirOperations() {
  AiPhaseScope scope("PlanAirOperations");
  cGame* game = gGame;
  LogLine(u"bu bu bu bu 1");
  if (!game || !game->map || !country) {
    LogLine(u"bu bu bu bu 21");
    return;
  }
  cMap& map = *game->map;
  // A bomber stopped by an interceptor is not sent again in this call: the
  // stop costs it nothing, and the step starts over after every strike.
  std::set<int> stoppedUnits;
  bool again = true;
  int strikes = 0;
  while (again && strikes < 1000) {
    again = false;
    LogLine(u"bu bu bu bu 2");
    for (cJednostkaLotnicza* bomber : ownAir) {
      if (bomber->actionPoints <= 0 || bomber->type != kTacticalBomber || stoppedUnits.count(bomber->id)) continue;
      LogLine(u"bu bu bu bu 3");
      std::set<int> zones;
      bomber->CollectHexesInRadius(zones);
      std::vector<int> targets;
      for (const int zone : zones) {
        bool enemy = false;
        for (const auto& fleet : game->fleets) {
          if (fleet->seaNodeId != zone || fleet->ships.empty() || !AtWar(fleet->countryId, bomber->owner)) continue;
          enemy = true;
          break;
        }
        if (enemy && game->seaGraph.IsNodeId(zone)) targets.push_back(zone);
      }
      LogLine(u"bu bu bu bu 4");
      if (targets.empty()) continue;
      const int zone = targets[static_cast<std::size_t>(RandomDraw()) % targets.size()];
      const sWezelGrafuMorz& node = game->seaGraph.GetNode(zone - 1);
      sHex* hex = HexAt(node.x, node.y);
      if (!hex) continue;
      LogLine(u"bu bu bu bu 5");
      if ((Shown(*bomber) || node.CountOwnShips() >= 1) && FollowsComputer()) {
        CenterAtHex(map, node.x, node.y, true);
        SleepAiDelay(kDelayAICombatBefore, kThisFile, __LINE__);
        SleepAiDelay(kDelayAICombatBefore, kThisFile, __LINE__);
      }
      const int unitId = bomber->id;
      sCombatResult result;
      result.Reset();
      LogLine(u"bu bu bu bu 10");
      hex->BombardFromAir(result, *bomber);  // may free the bomber
      ++strikes;
      if (result.Flag(kFlagInterceptionStopped) && !result.Flag(kFlagAttackerDestroyed)) {
        stoppedUnits.insert(unitId);
      }
      LogLine(u"bu bu bu bu 15");
      BuildUnitLists();
      if (FollowsComputer()) ShowResult(result);
      LogLine(u"bu bu bu bu 20");
      if (!ownAir.empty()) again = true;
      break;
    }
  }
  LogLine(u"bu bu bu bu 21");
}

void cCountryAI::StrategicBombing() {
  AiPhaseScope scope("StrategicBombing");
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  const auto& k = game->constants;
  const int minimumStrength = k.AirMaxStrength(kStrategicBomber) / 2;
  const float minimumRatio = k.AiValueC();
  std::vector<cJednostkaLotnicza*> destroyed;
  for (cJednostkaLotnicza* bomber : ownAir) {
    if (bomber->type != kStrategicBomber || bomber->strength < minimumStrength || bomber->actionPoints < 1) continue;
    cCity* target = nullptr;
    const int range = bomber->GetRange();
    for (const auto& city : game->cities) {
      if (city->productionPoints <= 0.0f) continue;
      const sHex* hex = HexAt(city->x, city->y);
      if (!hex || !AtWar(country->id, hex->controller)) continue;
      if (HexDistance(bomber->x, bomber->y, city->x, city->y) >= range) continue;
      const float ratio = country->GetAirSuperiorityRatio(city->x, city->y);
      if (ratio != -1.0f && ratio < minimumRatio) continue;
      if (!target || city->productionPoints > target->productionPoints) target = city.get();
    }
    if (!target) continue;
    sHex* hex = HexAt(target->x, target->y);
    const int controller = hex->controller;
    LogFormat(u"[AI] %ls: %ls bombs %ls", country->name, bomber->name, target->name);
    sCombatResult result;
    result.Reset();
    target->StrategicBombardment(result, *bomber, *hex);
    if (result.Flag(kFlagAttackerDestroyed)) destroyed.push_back(bomber);
    const cCountry* owner = game->GetCountry(controller);
    if (owner && owner->humanControlled) ShowResult(result);
  }
  // The list is walked to its end before anyone is freed.
  for (auto it = destroyed.rbegin(); it != destroyed.rend(); ++it) (*it)->Kill();
  if (!destroyed.empty()) BuildUnitLists();
}

void cCountryAI::MoveUnitsStrategically() {
  AiPhaseScope scope("MoveUnitsStrategically");
  cGame* game = gGame;
  if (!game || !country) return;
  const float minimumRatio = country->aiSettings.MinRatioToPatchFront;
  for (const sFront& front : fronts) {
    const std::list<sCitiesDiagramNode*> cities = front.GetFriendlyCities(*country);
    const sCitiesDiagramNode* weakest = nullptr;
    const sCitiesDiagramNode* strongest = nullptr;
    for (const sCitiesDiagramNode* node : cities) {
      if (!node->city) continue;
      if (!weakest || node->stats.landOwn < weakest->stats.landOwn) weakest = node;
      if (!strongest || node->stats.landOwn > strongest->stats.landOwn) strongest = node;
    }
    if (!weakest || weakest == strongest) continue;
    const auto uneven = [&] {
      // An empty city beside a held one is as uneven as it gets.
      if (weakest->stats.landOwn <= 0.0f) return strongest->stats.landOwn > 0.0f;
      return strongest->stats.landOwn / weakest->stats.landOwn > minimumRatio;
    };
    const std::vector<cJednostkaLadowa*> units(ownLand.begin(), ownLand.end());
    for (cJednostkaLadowa* unit : units) {
      if (!uneven()) break;
      int x = -1;
      int y = -1;
      if (!unit->FindStrategicMoveHex(*weakest->city, x, y)) continue;
      LogFormat(u"[AI] %ls: %ls patches the front at %ls", country->name, unit->name, weakest->city->name);
      PrzeniesStrategicznieJednostke(*unit, *weakest->city, x, y);
      ComputeFrontStrengths();
    }
  }
}

}  // namespace tr
