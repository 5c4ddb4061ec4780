// Carrying out one attack plan of the computer: ships and bombers soften the
// target, own units in the way step aside, the attackers move into their
// hexes, and the battle is fought through the player control's attack.
#include "ai/ai_pacing.h"
#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "turn/fleet.h"
#include "units/air_support.h"
#include "units/attack.h"
#include "units/combat_result.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/shore_bombardment_ships.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "attack_execution";
inline constexpr std::uint32_t kFlagAttackTarget = 2;
inline constexpr int kBestColumn = 7;
inline constexpr int kPauseBeforeAssaultMs = 1000;

bool SameHex(const cUnit& unit, const sReachEntry& move) { return unit.x == move.x && unit.y == move.y; }

// The path move of one plan move; true when the unit's hex changed.
bool MoveTo(cUnit* unit, int x, int y) {
  auto* land = dynamic_cast<cJednostkaLadowa*>(unit);
  if (!land || (land->x == x && land->y == y)) return false;
  const int fromX = land->x;
  const int fromY = land->y;
  land->MoveAlongPath(x, y);
  return land->x != fromX || land->y != fromY;
}

bool IsApproachUnit(const sAttackPlan& plan, const cUnit* unit) {
  for (const sReachEntry& move : plan.approaches) {
    if (unit && move.unit == unit) return true;
  }
  return false;
}

// The attack record of the plan: each approach unit that stands on its side
// of the target. A unit that did not get there attacks from nowhere.
sAttack BuildAttack(const sAttackPlan& plan, cJednostka& target, bool placedOnly) {
  sAttack attack;
  attack.Clear();
  attack.defender = &target;
  attack.targetX = target.x;
  attack.targetY = target.y;
  const cMap& map = *gGame->map;
  for (int side = 0; side < 6; ++side) {
    auto* unit = static_cast<cJednostka*>(plan.approaches[side].unit);
    if (!unit) continue;
    if (placedOnly && map.GetDirectionTo(target.x, target.y, unit->x, unit->y) - 1 != side) continue;
    attack.SetAttacker(side, unit);
  }
  return attack;
}

}  // namespace

bool cCountryAI::ExecuteAttack(sAttackPlan& plan) {
  lastAttackDecided_ = false;
  cGame* game = gGame;
  auto* target = dynamic_cast<cJednostka*>(plan.target);
  if (!game || !game->map || !country || !target || !game->map->IsInside(target->x, target->y)) return false;
  cMap& map = *game->map;
  sHex& hex = *map.GetHex(target->x, target->y);
  const int hx = target->x;
  const int hy = target->y;

  // 1. A unit that both withdraws and approaches, into a hex another
  // attacker of the plan holds, would block the plan's own moves.
  for (const sReachEntry& approach : plan.approaches) {
    if (!approach.unit) continue;
    bool withdraws = false;
    for (const sReachEntry& withdrawal : plan.withdrawals) withdraws = withdraws || withdrawal.unit == approach.unit;
    if (!withdraws || !map.IsInside(approach.x, approach.y)) continue;
    const cUnit* there = map.GetHex(approach.x, approach.y)->unit;
    if (there && there != approach.unit && IsApproachUnit(plan, there)) {
      hex.RemoveFlags(kFlagAttackTarget, true);
      LogFormat(u"[AI] %ls: the moves of the attack on %ls block each other; the plan is dropped", country->name,
                target->name);
      return false;
    }
  }

  const bool shown = ShowsComputerMove(*target);
  if (shown) {
    CenterAtHex(map, hx, hy, true);
    SleepAiDelay(kDelayAICombatBefore, kThisFile, __LINE__);
    hex.AddFlags(kFlagAttackTarget, 0);
    SleepAiDelay(kDelayAICombatBefore, kThisFile, __LINE__);
  }
  const bool landTarget = target->category == kCategoryLand;

  // 3. Ships off the coast bombard first.
  bool destroyed = false;
  if (plan.oddsColumn < kBestColumn && hex.IsLand() && hex.seaZone != 0 && landTarget) {
    if (cFleet* fleet = FindShoreBombardmentShips(*game, country->id, hex.seaZone)) {
      sCombatResult result;
      result.Reset();
      // The chosen fleet's battleships and cruisers that have not fired are
      // the ships just selected; the player's marks play no part here.
      if (fleet->ShoreBombard(hx, hy, &result, 1)) {
        SleepAiDelay(kDelayAICombatAfter, kThisFile, __LINE__);
        if (gDelays[kDelayAICombatResult] != 0.0f) ShowAiCombatResult(result);
        // A defender the guns destroyed is freed: nothing may touch it again.
        if (result.Flag(kFlagDefenderDestroyed)) {
          LogFormat(u"[AI] %ls: the defender did not survive the shore bombardment; the attack ends", country->name);
          destroyed = true;
        }
      }
    }
  }

  // 4. Bombers strike while they are worth flying and the odds are short of the best.
  if (!destroyed && landTarget && plan.oddsColumn < kBestColumn && !plan.supportingAirUnits.empty() && plan.goodAirStrikes > 0) {
    // Every strike spends a bomber's point, so the strikes end; the bound
    // only guards against a bomber that pays nothing.
    for (int strikes = 0; strikes < 1000; ++strikes) {
      sAttack attack = BuildAttack(plan, *target, false);
      auto* bomber = static_cast<cJednostka*>(plan.supportingAirUnits.front());
      bomber->AddActionPoints(-1);
      sCombatResult result;
      result.Reset();
      if (!plan.interceptors.empty()) {
        if (bomber->TryIntercept(plan.interceptors.front(), &result)) {
          LogLine(u"Przechwycenie udane, nici z ataku!");
        } else {
          LogLine(u"Przechwycenie nieudane, bombardujemy!");
          target->OnBombarded(&result, bomber, &hex);
        }
      } else {
        target->OnBombarded(&result, bomber, &hex);
      }
      if (shown && gDelays[kDelayAICombatResult] != 0.0f) ShowAiCombatResult(result);
      if (result.Flag(kFlagDefenderDestroyed)) {
        LogLine(u"Obronca nie przezyl bombardowania... koniec ataku");
        destroyed = true;
        break;
      }
      plan.oddsColumn = attack.GetOddsColumn();
      BuildUnitLists();
      plan.CollectSupportingAirUnits(*this);
      plan.CollectInterceptors(*this);
      plan.CountGoodAirStrikes();
      if (plan.oddsColumn >= kBestColumn || plan.goodAirStrikes <= 0 || plan.supportingAirUnits.empty()) break;
    }
  }
  if (destroyed) {
    // The target is gone: the hex is cleared, nobody moves.
    map.GetHex(hx, hy)->RemoveFlags(kFlagAttackTarget, true);
    lastAttackDecided_ = true;
    return true;
  }

  PrintAttackPlan(plan);

  // 6.1 Free sides first, until a pass moves nobody.
  for (int pass = 0; pass < 7; ++pass) {
    bool moved = false;
    for (int side = 0; side < 6; ++side) {
      sReachEntry& approach = plan.approaches[side];
      if (!approach.unit) continue;
      const bool free = !plan.withdrawals[side].unit || SameHex(*approach.unit, approach);
      if (!free) continue;
      if (!SameHex(*approach.unit, approach)) moved = MoveTo(approach.unit, approach.x, approach.y) || moved;
      for (sReachEntry& withdrawal : plan.withdrawals) {
        if (withdrawal.unit == approach.unit) withdrawal = {nullptr, -1, -1, withdrawal.direction, -1};
      }
    }
    if (!moved) break;
  }
  // 6.2 Occupied sides: the unit in the way steps aside, the attacker comes in.
  for (int side = 0; side < 6; ++side) {
    const sReachEntry& approach = plan.approaches[side];
    sReachEntry& withdrawal = plan.withdrawals[side];
    if (!approach.unit || !withdrawal.unit || withdrawal.unit == approach.unit) continue;
    if (IsApproachUnit(plan, withdrawal.unit)) continue;
    if (!SameHex(*withdrawal.unit, withdrawal)) MoveTo(withdrawal.unit, withdrawal.x, withdrawal.y);
    if (!SameHex(*approach.unit, approach)) MoveTo(approach.unit, approach.x, approach.y);
  }
  // 6.3 The rest.
  for (int side = 0; side < 6; ++side) {
    const sReachEntry& approach = plan.approaches[side];
    if (!approach.unit || !plan.withdrawals[side].unit || SameHex(*approach.unit, approach)) continue;
    MoveTo(approach.unit, approach.x, approach.y);
  }

  // 7. The assault, through the player control as a human's would be.
  sAttack attack = BuildAttack(plan, *target, true);
  if (shown) {
    for (cJednostka* unit : attack.attackers) {
      if (unit) unit->spotted = 1;
    }
  }
  game->playerControl.BeginAttack(attack);
  SleepAiPause(kPauseBeforeAssaultMs, kThisFile, __LINE__);
  if (sAttack* pending = game->playerControl.GetPendingAttack()) {
    sCombatResult result;
    result.Reset();
    const bool fought = pending->ResolveLandBattle(result);
    {
      GameLockGuard lock(kThisFile, __LINE__);
      game->playerControl.DropAttack();
    }
    lastAttackDecided_ = fought;
    if (fought && shown && gDelays[kDelayAICombatResult] != 0.0f) ShowAiCombatResult(result);
  }
  // The target may be gone with its hex's unit; the hex itself stays.
  map.GetHex(hx, hy)->RemoveFlags(kFlagAttackTarget, true);
  return true;
}

}  // namespace tr
