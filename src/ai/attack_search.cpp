// The computer opponent's attack search: where every own land unit can get
// to, which of those hexes lie next to an enemy, greedy plans of attackers per
// enemy unit with their air support, and the loop that carries out the best
// plan that passes the country's thresholds and then looks again.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <set>
#include <tuple>
#include <vector>

#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "units/air_support.h"
#include "units/attack.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "world/gra.h"
#include "world/hex_distance.h"
#include "world/hex_marks.h"
#include "world/hexes_beside.h"
#include "world/tech_levels.h"

namespace tr {
namespace {

inline constexpr int kBestColumn = 7;
inline constexpr int kEmptySlotCost = 9999;
inline constexpr int kNoApproachCost = 666;

enum eSideState { kSideUnusable = 0, kSideWithdrawal = 1, kSideFree = 2 };

sReachEntry ToReach(const sMoveRangeCell& cell) { return {cell.unit, cell.x, cell.y, cell.direction, cell.cost}; }
sMoveRangeCell ToCell(const sReachEntry& entry) { return {entry.unit, entry.x, entry.y, entry.direction, entry.cost}; }

bool StandsOnCity(const cUnit& unit) {
  const cMap& map = *gGame->map;
  return map.IsInside(unit.x, unit.y) && map.GetHex(unit.x, unit.y)->city != nullptr;
}

int AirRange(const cCountry& country) {
  const sScenarioConstants& k = gGame->constants;
  const float factor = k.AirRangeFactor(TechTableLevel(country.GetTechLevel(3), 0));
  return static_cast<int>(factor * static_cast<float>(k.AirRangeBase(1)));
}

int StrengthPlusLevel(const cUnit* unit) {
  const auto* air = static_cast<const cJednostka*>(unit);
  return air->GetStrength() + air->level;
}

// Side states of the target's hex; an own land unit beside it that can step
// to a free hex away from it leaves that side to an attacker.
struct sSides {
  std::array<int, 6> state{};
  std::array<sReachEntry, 6> withdrawal{};
};

sSides WorkOutSides(const cJednostka& target, int countryId) {
  sSides sides;
  cMap& map = *gGame->map;
  sPoint excluded[6];
  for (sPoint& p : excluded) p = {-1, -1};
  for (int d = 0; d < 6; ++d) {
    sHex* n = map.GetNeighbour(target.x, target.y, d);
    if (!n) {
      sides.state[d] = kSideUnusable;
      continue;
    }
    if (!n->unit) {
      sides.state[d] = kSideFree;
      continue;
    }
    auto* own = dynamic_cast<cJednostkaLadowa*>(n->unit);
    sMoveRangeCell found;
    if (own && own->owner == countryId && own->FindFreeHexAwayFrom(target.x, target.y, excluded, found, d)) {
      sides.state[d] = kSideWithdrawal;
      sides.withdrawal[d] = ToReach(found);
      sides.withdrawal[d].unit = own;
    } else {
      sides.state[d] = kSideUnusable;
    }
  }
  return sides;
}

bool HasUnitOfCountryBeside(const cJednostka& target, int countryId) {
  const sHexesBeside beside = HexesBeside(*gGame->map, target.x, target.y);
  for (const sHex* n : beside.hex) {
    if (n && n->unit && n->unit->owner == countryId) return true;
  }
  return false;
}

void RemoveEntries(std::list<sMoveRangeCell>& entries, const cUnit* unit, int x, int y) {
  entries.remove_if([&](const sMoveRangeCell& e) { return e.unit == unit || (e.x == x && e.y == y); });
}

void RemoveHex(std::list<sMoveRangeCell>& entries, int x, int y) {
  entries.remove_if([&](const sMoveRangeCell& e) { return e.x == x && e.y == y; });
}

// One greedy choice from the approach entries: the strongest attacker (its
// strength cut by a river on its side), the cheaper approach on a tie, the
// earlier entry on a full tie. False when no entry has any strength.
bool ChooseAttacker(std::list<sMoveRangeCell>& entries, const cJednostka& target, sAttack& attack, sAttackPlan& plan) {
  const cMap& map = *gGame->map;
  const sHex& hex = *map.GetHex(target.x, target.y);
  const float riverFactor = gGame->constants.RiverAttackFactor();
  float bestStrength = 0.0f;
  int bestCost = 99999;
  const sMoveRangeCell* best = nullptr;
  int bestSide = -1;
  for (const sMoveRangeCell& entry : entries) {
    const int side = map.GetDirectionTo(target.x, target.y, entry.x, entry.y) - 1;
    if (side < 0 || !entry.unit) continue;
    float strength = static_cast<const cJednostka*>(entry.unit)->GetEffectiveStrength();
    if (hex.HasRiver(side)) strength *= riverFactor;
    if (strength > bestStrength || (strength == bestStrength && best && entry.cost < bestCost)) {
      bestStrength = strength;
      bestCost = entry.cost;
      best = &entry;
      bestSide = side;
    }
  }
  if (!best || bestStrength <= 0.0f) return false;
  attack.SetAttacker(bestSide, static_cast<cJednostka*>(best->unit));
  plan.cost += best->cost;
  plan.hasAttackers = 1;
  if (!plan.approaches[bestSide].unit) {
    plan.approaches[bestSide] = ToReach(*best);
  }
  const cUnit* unit = best->unit;
  const int x = best->x;
  const int y = best->y;
  RemoveEntries(entries, unit, x, y);
  return true;
}

// A new plan of the country against the target, and the attack record,
// still without attackers, that the plan's odds column is computed from.
void StartPlan(cJednostka& target, int countryId, sAttackPlan& plan, sAttack& attack) {
  plan.Reset();
  plan.target = &target;
  plan.attackingCountry = countryId;
  attack.defender = &target;
  attack.targetX = target.x;
  attack.targetY = target.y;
}

// What identifies a plan across the passes of one search: the target and
// who comes from where.
using PlanKey = std::vector<std::intptr_t>;
PlanKey KeyOf(const sAttackPlan& plan) {
  PlanKey key{reinterpret_cast<std::intptr_t>(plan.target)};
  for (const sReachEntry& move : plan.approaches) {
    key.push_back(reinterpret_cast<std::intptr_t>(move.unit));
    key.push_back(move.x);
    key.push_back(move.y);
  }
  return key;
}

// The reach entries of the own land units: every hex of each unit's range,
// and its own hex while it has points left. computeRange(k) fills the range
// of unit k of ownLand.
template <typename ComputeRange>
void CollectReach(cCountryAI& ai, int mode, ComputeRange computeRange) {
  // The entries are written over the list nodes of the last computation: a
  // search computes the ranges many times.
  std::list<sReachEntry>& reach = ai.reach;
  auto next = reach.begin();
  const auto add = [&](const sReachEntry& entry) {
    if (next != reach.end()) {
      *next++ = entry;
    } else {
      reach.push_back(entry);
    }
  };
  for (std::size_t k = 0; k < ai.ownLand.size(); ++k) {
    cJednostkaLadowa* unit = ai.ownLand[k];
    if (StandsOnCity(*unit) || (mode == 1 && unit->attacked)) continue;
    computeRange(k);
    for (const sMoveRangeCell& cell : unit->moveRange) {
      sReachEntry entry = ToReach(cell);
      entry.unit = unit;
      add(entry);
    }
    if (unit->actionPoints > 0) add({unit, unit->x, unit->y, 0, 0});
  }
  reach.erase(next, reach.end());
}

}  // namespace

std::vector<sAttackPlan*> OrderAttackPlans(std::list<sAttackPlan>& plans) {
  std::vector<sAttackPlan*> order;
  for (auto it = plans.rbegin(); it != plans.rend(); ++it) order.push_back(&*it);
  std::stable_sort(order.begin(), order.end(), [](const sAttackPlan* a, const sAttackPlan* b) {
    if (a->oddsColumn != b->oddsColumn) return a->oddsColumn > b->oddsColumn;
    const bool cityA = a->target && StandsOnCity(*a->target);
    const bool cityB = b->target && StandsOnCity(*b->target);
    if (cityA != cityB) return cityA;
    return a->cost < b->cost;
  });
  return order;
}

void sAttackPlan::Reset() {
  target = nullptr;
  oddsColumn = 0;
  hasAttackers = 0;
  cost = 0;
  goodAirStrikes = 0;
  supportingAirUnits.clear();
  interceptors.clear();
  for (sReachEntry& move : withdrawals) move = {nullptr, 0, 0, 0, kEmptySlotCost};
  for (sReachEntry& move : approaches) move = {nullptr, 0, 0, 0, kEmptySlotCost};
}

void sAttackPlan::CollectSupportingAirUnits(const cCountryAI& ai) {
  supportingAirUnits.clear();
  if (!target || target->category != kCategoryLand || !ai.country) return;
  const int range = AirRange(*ai.country);
  for (cJednostkaLotnicza* unit : ai.ownAir) {
    if (unit->type != kTacticalBomber || unit->actionPoints < 1 || unit->GetStrength() < 3) continue;
    if (HexDistance(unit->x, unit->y, target->x, target->y) > range) continue;
    supportingAirUnits.push_back(unit);
  }
  supportingAirUnits.sort([](const cUnit* a, const cUnit* b) { return StrengthPlusLevel(a) > StrengthPlusLevel(b); });
}

void sAttackPlan::CollectInterceptors(const cCountryAI& ai) {
  interceptors.clear();
  if (!target || target->category != kCategoryLand || !ai.country) return;
  const int range = AirRange(*ai.country);
  const int threshold = gGame->constants.AirMaxStrength(kFighter) / 2;
  for (cJednostkaLotnicza* unit : ai.enemyAir) {
    if (unit->type != kFighter || unit->GetStrength() <= threshold) continue;
    if (HexDistance(unit->x, unit->y, target->x, target->y) > range) continue;
    interceptors.push_back(unit);
  }
  interceptors.sort([](const cUnit* a, const cUnit* b) { return StrengthPlusLevel(a) > StrengthPlusLevel(b); });
}

void sAttackPlan::CountGoodAirStrikes() {
  goodAirStrikes = 0;
  const float escortRatio = gGame->constants.AiValueB();
  const int interceptorValue = interceptors.empty() ? 0 : StrengthPlusLevel(interceptors.front());
  for (const cUnit* unit : supportingAirUnits) {
    const auto* bomber = static_cast<const cJednostka*>(unit);
    if (!interceptors.empty()) {
      // An interceptor of no strength and level stops nothing.
      if (interceptorValue > 0 &&
          static_cast<float>(StrengthPlusLevel(bomber)) / static_cast<float>(interceptorValue) < escortRatio) {
        continue;
      }
    }
    goodAirStrikes += bomber->actionPoints;
  }
}

bool sAttackPlan::IsExposed() const {
  if (!target || !gGame || !gGame->map) return false;
  const cCountry* attacker = gGame->GetCountry(attackingCountry);
  if (!attacker) return false;
  const cMap& map = *gGame->map;
  const int reach = attacker->aiSettings.MaxCoveringUnitDistance;
  for (int y = std::max(0, target->y - reach); y <= std::min(map.GetHeight() - 1, target->y + reach); ++y) {
    for (int x = std::max(0, target->x - reach); x <= std::min(map.GetWidth() - 1, target->x + reach); ++x) {
      const cUnit* unit = map.GetHex(x, y)->unit;
      if (!unit || unit->owner < 1 || HexDistance(x, y, target->x, target->y) > reach) continue;
      if (unit->owner == attackingCountry || attacker->IsAlly(unit->owner)) return false;
    }
  }
  int cheapest = kNoApproachCost;
  for (const sReachEntry& move : approaches) cheapest = std::min(cheapest, move.cost);
  return cheapest >= attacker->aiSettings.MaxSafeMoveCost;
}

void cCountryAI::ComputeAttackRanges(int mode) {
  if (mode == 0) {
    cMoveRangeReuse::cPass pass = rangeReuse.BeginWholePass(*country, ownLand);
    CollectReach(*this, mode, [&](std::size_t k) { pass.ComputeRange(k); });
  } else {
    CollectReach(*this, mode, [&](std::size_t k) { ownLand[k]->ComputeMoveRange(1); });
  }
}

void cCountryAI::ComputeApproaches() {
  for (cJednostkaLadowa* unit : enemyLand) unit->approachList.clear();
  for (cJednostkaLotnicza* unit : enemyAir) unit->approachList.clear();
  const cMap& map = *gGame->map;
  // Many entries share a hex; which of its sides hold a unit at war with the
  // country is found once per hex (bit d for side d), as nothing moves here.
  thread_local cHexMarks seen;
  thread_local std::vector<std::uint8_t> enemySides;
  const int width = map.GetWidth();
  seen.Reset(width, map.GetHeight());
  enemySides.resize(static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(map.GetHeight(), 0)));
  const auto sidesOf = [&](int x, int y) {
    unsigned sides = 0;
    const sHexesBeside beside = HexesBeside(map, x, y);
    for (int d = 0; d < 6; ++d) {
      const sHex* n = beside.hex[d];
      if (n && n->unit && AtWar(n->unit->owner, country->id)) sides |= 1u << d;
    }
    return sides;
  };
  for (const sReachEntry& entry : reach) {
    const auto* unit = static_cast<const cJednostka*>(entry.unit);
    if (!unit || entry.cost >= unit->actionPoints) continue;
    unsigned sides;
    if (map.IsInside(entry.x, entry.y)) {
      const std::size_t index = static_cast<std::size_t>(entry.y) * width + entry.x;
      if (seen.Insert(index)) enemySides[index] = static_cast<std::uint8_t>(sidesOf(entry.x, entry.y));
      sides = enemySides[index];
    } else {
      sides = sidesOf(entry.x, entry.y);
    }
    for (; sides != 0; sides &= sides - 1) {
      const sHex* n = map.GetNeighbour(entry.x, entry.y, std::countr_zero(sides));
      if (auto* enemy = dynamic_cast<cJednostka*>(n->unit)) enemy->approachList.push_back(ToCell(entry));
    }
  }
}

// The greedy plan against one target from its approach entries: passes 0
// takes attackers until the column is the best or nothing is left, 1 takes
// one at most.
void cCountryAI::BuildPlan(cJednostka& target, int passes) {
  // Most targets are out of every unit's reach: they get no plan, and only
  // an own unit beside one has its range worked out again by the sides.
  if (target.approachList.empty()) {
    if (HasUnitOfCountryBeside(target, country->id)) WorkOutSides(target, country->id);
    return;
  }
  const sSides sides = WorkOutSides(target, country->id);
  sAttackPlan plan;
  sAttack attack;
  StartPlan(target, country->id, plan, attack);
  std::list<sMoveRangeCell> entries = target.approachList;
  const cMap& map = *gGame->map;
  for (int pass = 0; passes == 0 || pass < passes; ++pass) {
    for (int d = 0; d < 6; ++d) {
      if (sides.state[d] == kSideUnusable) {
        const sHex* n = map.GetNeighbour(target.x, target.y, d);
        if (n) RemoveHex(entries, n->x, n->y);
      } else if (sides.state[d] == kSideWithdrawal) {
        plan.withdrawals[d] = sides.withdrawal[d];
      }
    }
    const bool chosen = ChooseAttacker(entries, target, attack, plan);
    plan.oddsColumn = attack.GetOddsColumn();
    if (!chosen || entries.empty() || plan.oddsColumn >= kBestColumn) break;
  }
  if (plan.hasAttackers) AddPlan(plan, passes == 1);
}

void cCountryAI::FindAdjacentAttack(cJednostka& target) {
  const sHexesBeside beside = HexesBeside(*gGame->map, target.x, target.y);
  const auto attackerBeside = [&](int d) -> cJednostkaLadowa* {
    const sHex* n = beside.hex[d];
    if (!n || !n->unit || n->unit->owner != country->id) return nullptr;
    auto* unit = dynamic_cast<cJednostkaLadowa*>(n->unit);
    if (!unit || unit->attacked || unit->actionPoints < 1) return nullptr;
    return unit;
  };
  // Most targets have no own unit beside them that may attack.
  bool any = false;
  for (int d = 0; d < 6 && !any; ++d) any = attackerBeside(d) != nullptr;
  if (!any) return;
  sAttackPlan plan;
  sAttack attack;
  StartPlan(target, country->id, plan, attack);
  for (int d = 0; d < 6 && plan.oddsColumn < kBestColumn; ++d) {
    cJednostkaLadowa* unit = attackerBeside(d);
    if (!unit) continue;
    attack.SetAttacker(d, unit);
    plan.approaches[d] = {unit, unit->x, unit->y, d, 0};
    plan.hasAttackers = 1;
    plan.oddsColumn = attack.GetOddsColumn();
  }
  if (plan.hasAttackers) AddPlan(plan, false);
}

void cCountryAI::AddPlan(sAttackPlan& plan, bool printBeforeAirSupport) {
  if (printBeforeAirSupport) PrintAttackPlan(plan);
  // An air target gets no air support.
  if (plan.target->category == kCategoryLand) {
    plan.CollectSupportingAirUnits(*this);
    plan.CollectInterceptors(*this);
    plan.CountGoodAirStrikes();
  }
  if (!printBeforeAirSupport) PrintAttackPlan(plan);
  attackPlans.push_back(plan);
  ++attackPlanCount;
}

void cCountryAI::FindMultiDirectionAttacks() {
  for (cJednostkaLadowa* target : enemyLand) {
    if (target->wasAttacked) continue;
    FindAdjacentAttack(*target);
    BuildPlan(*target, 0);
  }
  for (cJednostkaLotnicza* target : enemyAir) {
    if (target->wasAttacked) continue;
    BuildPlan(*target, 0);
  }
}

void cCountryAI::FindOneDirectionAttacks() {
  for (cJednostkaLadowa* target : enemyLand) BuildPlan(*target, 1);
}

void cCountryAI::PlanMultiDirectionAttacks() {
  AiPhaseScope scope("PlanMultiDirectionAttacks");
  RunAttackSearch(true);
}

void cCountryAI::PlanOneDirectionAttacks() {
  AiPhaseScope scope("PlanOneDirectionAttacks");
  RunAttackSearch(false);
}

void cCountryAI::RunAttackSearch(bool multiDirection) {
  cGame* game = gGame;
  if (!game || !game->map || !country) return;
  LogLine(multiDirection ? u"[AI] ATAKI WIELOKIERUNKOWE" : u"[AI] ATAKI JEDNOKIERUNKOWE");
  const sCountryAiSettings& settings = country->aiSettings;
  // Every attack spends action points, so a search never makes more attacks
  // than its units had points at its start; plans that went ahead without a
  // battle are not tried again, since nothing would change.
  long budget = 0;
  for (const cJednostkaLadowa* unit : ownLand) budget += std::max(0, unit->actionPoints);
  LogFormat(u"[AI] %ls: at most %i attacks in this search", country->name, static_cast<int>(budget));
  long attacks = 0;
  std::set<PlanKey> spent;
  bool again = true;
  while (again) {
    again = false;
    ComputeAttackRanges(0);
    obviousMoveFailed_ = false;
    // An obvious move puts its unit on a city, which takes it out of the reach.
    for (std::size_t moves = 0; moves <= ownLand.size() && FindObviousMoves(); ++moves) ComputeAttackRanges(0);
    if (obviousMoveFailed_) {
      ComputeAttackRanges(multiDirection ? 1 : 0);
    } else if (multiDirection) {
      // Nothing changed since the ranges were computed, so they are the same:
      // the units that attacked already only leave the reach.
      reach.remove_if([](const sReachEntry& entry) { return static_cast<const cJednostka*>(entry.unit)->attacked; });
    }
    ComputeApproaches();
    attackPlans.clear();
    attackPlanCount = 0;
    if (multiDirection) {
      FindMultiDirectionAttacks();
    } else {
      FindOneDirectionAttacks();
    }
    if (attackPlans.empty()) break;
    const std::vector<sAttackPlan*> order = OrderAttackPlans(attackPlans);
    LogLine(multiDirection ? u"================= LISTA ATAKÓW WIELOKIER SORT !!!!============="
                           : u"================= LISTA ATAKÓW JEDN. SORT !!!!=============");
    for (auto it = order.rbegin(); it != order.rend(); ++it) PrintAttackCandidate(**it);
    for (sAttackPlan* plan : order) {
      const bool qualifies =
          multiDirection ? plan->oddsColumn >= settings.MultipleSideAttackPreferences[0] ||
                               (plan->oddsColumn >= settings.MultipleSideAttackPreferences[1] &&
                                plan->goodAirStrikes >= settings.MultipleSideAttackPreferences[2])
                         : plan->oddsColumn >= settings.OneSideAttackPreferences[0];
      if (!qualifies || plan->IsExposed()) continue;
      PlanKey key = KeyOf(*plan);
      if (spent.count(key)) continue;
      const bool carried = ExecuteAttack(*plan);
      BuildUnitLists();
      if (!carried) continue;
      ++attacks;
      if (attacks >= budget) {
        LogFormat(u"[AI] %ls: %i attacks made, as many as the search allows; it ends", country->name,
                  static_cast<int>(attacks));
        again = false;
        break;
      }
      // The attack moved units and may have lost bombers the other plans
      // name, so everything is computed again; a plan that went ahead
      // without a battle or a kill would change nothing and is not tried
      // again in this search.
      if (!lastAttackDecided_) spent.insert(std::move(key));
      again = true;
      break;
    }
  }
  if (multiDirection) {
    LogLine(u"Nie było mozliwosci zrobienia ataku wielokier. na 5:1 lub lepiej, kończe wiec");
  }
}

}  // namespace tr
