#include "world/turn_order.h"

#include <algorithm>
#include <array>

#include "foundation/console_log.h"
#include "world/panstwo.h"

namespace tr {
namespace {

constexpr int kSideCount = 4;

// The side's index 0..3 in turn order: axis, allies, comintern, neutrals.
int SideIndex(const cCountry& country) { return country.GetTurnOrderSide() - 1; }

constexpr std::array<std::u16string_view, kSideCount> kChoiceLines = {
    u"O\u010f\u017c\u02dd. Aktualne panstwo = %s",
    u"Alianci. Aktualne panstwo = %s",
    u"Komintern. Aktualne panstwo = %s",
    u"Neutralni. Aktualne panstwo = %s",
};

}  // namespace

cCountry* DetermineCurrentCountry(const CountryVector& countries) {
  LogLine(u"Wyznaczam aktualne panstwo...");
  if (countries.empty()) return nullptr;
  std::array<cCountry*, kSideCount> best{};
  std::array<int, kSideCount> bestStrength;
  bestStrength.fill(-5);
  for (const auto& country : countries) {
    if (!country->isActive || country->finishedTurn) continue;
    const int side = SideIndex(*country);
    // Strictly greater: the earlier country keeps a tie.
    if (country->politicalStrength > bestStrength[side]) {
      bestStrength[side] = country->politicalStrength;
      best[side] = country.get();
    }
  }
  for (int side = 0; side < kSideCount; ++side) {
    if (best[side]) {
      LogFormat(kChoiceLines[side], best[side]->name);
      return best[side];
    }
  }
  LogLine(u"--=== KONIEC IMPULSU ===--");
  return nullptr;
}

bool ComparePoliticalStrengthDesc(const cCountry* a, const cCountry* b) {
  return a->politicalStrength > b->politicalStrength;
}

void KeepUnfinishedHumanCountries(std::vector<cCountry*>& countries) {
  std::erase_if(countries, [](const cCountry* c) { return c->finishedTurn || !c->humanControlled; });
}

cCountry* FindNextHumanCountry(const CountryVector& countries, const cCountry* current) {
  std::array<std::vector<cCountry*>, kSideCount> sides;
  for (const auto& country : countries) {
    if (country->isActive) sides[SideIndex(*country)].push_back(country.get());
  }
  std::vector<cCountry*> order;
  for (auto& side : sides) {
    std::stable_sort(side.begin(), side.end(), ComparePoliticalStrengthDesc);
    order.insert(order.end(), side.begin(), side.end());
  }
  for (auto& side : sides) {
    KeepUnfinishedHumanCountries(side);
    if (!side.empty()) return side.front();
  }
  const auto at = std::find(order.begin(), order.end(), current);
  // Without the current country in the order the walk starts at the front.
  const std::size_t start = at == order.end() ? 0 : static_cast<std::size_t>(at - order.begin()) + 1;
  for (std::size_t i = 0; i < order.size(); ++i) {
    cCountry* candidate = order[(start + i) % order.size()];
    if (candidate != current && candidate->humanControlled) return candidate;
  }
  return nullptr;
}

}  // namespace tr
