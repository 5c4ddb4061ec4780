// The computer opponent's reach entries and attack plans: where an own land
// unit can get to this turn, and one planned attack on an enemy unit with the
// moves that clear and fill the hexes around it.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <vector>

namespace tr {

class cCountryAI;
class cUnit;

// One hex an own land unit can reach this turn. A new entry names no unit and
// no hex; the direction is written only when the entry is filled.
struct sReachEntry {
  cUnit* unit = nullptr;  // not owned
  std::int32_t x = -1;
  std::int32_t y = -1;
  std::int32_t direction = 0;
  std::int32_t cost = -1;
};

struct sAttackPlan {
  cUnit* target = nullptr;  // not owned
  // Per hex side of the target: an own unit stepping aside ("Odejscie")...
  std::array<sReachEntry, 6> withdrawals{};
  // ...and the attacker coming in from that side ("Podejscie").
  std::array<sReachEntry, 6> approaches{};
  std::int32_t oddsColumn = 0;
  std::uint8_t hasAttackers = 0;
  std::int32_t cost = 0;
  std::int32_t goodAirStrikes = 0;
  std::list<cUnit*> supportingAirUnits;  // not owned
  std::list<cUnit*> interceptors;        // not owned
  std::int32_t attackingCountry = 0;

  // Before a new target: no target, column 0, every slot empty at cost 9999.
  void Reset();
  // Own tactical bombers within air range of a land target that can strike.
  void CollectSupportingAirUnits(const cCountryAI& ai);
  // Enemy fighters within air range strong enough to intercept them.
  void CollectInterceptors(const cCountryAI& ai);
  // Action points of the bombers worth flying past the first interceptor.
  void CountGoodAirStrikes();
  // No own or allied unit near the target, and even the cheapest approach
  // is costly: the attack would leave its units hanging.
  bool IsExposed() const;
};

// The plans in the order they are tried: the higher odds column first, then
// a target standing on a city, then the lower cost; plans equal in all three
// latest made first.
std::vector<sAttackPlan*> OrderAttackPlans(std::list<sAttackPlan>& plans);

}  // namespace tr
