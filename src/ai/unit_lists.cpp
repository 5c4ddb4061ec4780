// The nine unit lists of a computer turn: land and air units split by how
// their owner stands to the country, and the country's own ships.
#include <algorithm>
#include <utility>
#include <vector>

#include "ai/ai_phase.h"
#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "world/gra.h"

namespace tr {
namespace {

enum eSide { kOwn, kAllied, kAtWar, kOther };

eSide SideOf(const cCountry& country, int owner) {
  if (owner == country.id) return kOwn;
  // An owner of no country is nobody's ally and at war with nobody.
  if (owner < 1) return kOther;
  if (country.IsAlly(owner)) return kAllied;
  if (gGame->relations.IsAtWar(country.id, owner)) return kAtWar;
  return kOther;
}

// Sides of the owners found once per build: a unit's side depends only on its
// owner. Only numbers that both the country list and the relations know are
// kept; others are asked each time, so what asking logs is logged as before.
class cSides {
 public:
  explicit cSides(const cCountry& country) : country_(country) {
    const int known = std::min(gGame->CountryCount(), static_cast<int>(gGame->relations.count));
    if (country.id < 1 || country.id > known) return;
    sides_.reserve(static_cast<std::size_t>(known));
    for (int owner = 1; owner <= known; ++owner) sides_.push_back(SideOf(country, owner));
  }
  eSide Of(int owner) const {
    if (owner >= 1 && owner <= static_cast<int>(sides_.size())) return sides_[owner - 1];
    return SideOf(country_, owner);
  }

 private:
  const cCountry& country_;
  std::vector<eSide> sides_;
};

template <typename Unit>
void Split(const cSides& sides, Unit* unit, std::vector<Unit*>& own, std::vector<Unit*>& allied,
           std::vector<Unit*>& atWar, std::vector<Unit*>& other) {
  switch (sides.Of(unit->owner)) {
    case kOwn: own.push_back(unit); break;
    case kAllied: allied.push_back(unit); break;
    case kAtWar: atWar.push_back(unit); break;
    case kOther: other.push_back(unit); break;
  }
}

}  // namespace

void cCountryAI::BuildUnitLists() {
  AiPhaseScope scope("BuildUnitLists");
  ownLand.clear();
  alliedLand.clear();
  enemyLand.clear();
  otherLand.clear();
  ownAir.clear();
  alliedAir.clear();
  enemyAir.clear();
  otherAir.clear();
  ownNaval.clear();
  cGame* game = gGame;
  if (!game || !country) return;
  LogFormat(u"[AI %s] Wyznaczam listy jednostek", country->name);
  const cSides sides(*country);
  ForEachUnit(game->landUnits, [&](cJednostkaLadowa& unit) {
    if (unit.transporter) return;
    // An artificial harbour takes no orders, moves or replacements, and the
    // tables indexed by land type have no row for it.
    if (unit.type == kMulberryType && unit.owner == country->id) return;
    Split(sides, &unit, ownLand, alliedLand, enemyLand, otherLand);
  });
  ForEachUnit(game->airUnits,
              [&](cJednostkaLotnicza& unit) { Split(sides, &unit, ownAir, alliedAir, enemyAir, otherAir); });
  ForEachUnit(game->navalUnits, [&](cJednostkaMorska& ship) {
    if (ship.owner == country->id) ownNaval.push_back(&ship);
  });
  // Each strength is computed once; the stable sort keeps equal strengths in
  // the order of the game's list.
  std::vector<std::pair<float, cJednostkaLadowa*>> ranked;
  ranked.reserve(ownLand.size());
  for (cJednostkaLadowa* unit : ownLand) ranked.emplace_back(unit->GetEffectiveStrength(), unit);
  std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (std::size_t i = 0; i < ranked.size(); ++i) ownLand[i] = ranked[i].second;
}

}  // namespace tr
