// Land units ordered by their effective strength, equal ones keeping their
// order. Each strength is worked out once, not in every comparison: the
// computer sorts its whole army this way several times a turn.
#pragma once

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "units/jednostka_ladowa.h"

namespace tr {

// `before` compares two strengths: std::greater<float>() puts the strongest first.
template <typename Before>
void StableSortByStrength(std::vector<cJednostkaLadowa*>& units, Before before) {
  std::vector<std::pair<float, cJednostkaLadowa*>> ranked;
  ranked.reserve(units.size());
  for (cJednostkaLadowa* unit : units) ranked.emplace_back(unit->GetEffectiveStrength(), unit);
  std::stable_sort(ranked.begin(), ranked.end(),
                   [&](const auto& a, const auto& b) { return before(a.first, b.first); });
  for (std::size_t i = 0; i < ranked.size(); ++i) units[i] = ranked[i].second;
}

}  // namespace tr
