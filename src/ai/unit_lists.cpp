// The nine unit lists of a computer turn: land and air units split by how
// their owner stands to the country, and the country's own ships.
#include <algorithm>
#include <cstdint>
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
void Split(const cSides& sides, Unit* unit, int owner, std::vector<Unit*>& own, std::vector<Unit*>& allied,
           std::vector<Unit*>& atWar, std::vector<Unit*>& other) {
  switch (sides.Of(owner)) {
    case kOwn: own.push_back(unit); break;
    case kAllied: allied.push_back(unit); break;
    case kAtWar: atWar.push_back(unit); break;
    case kOther: other.push_back(unit); break;
  }
}

// What a split reads of a unit, in the order of the game's list.
template <typename Unit>
struct sListed {
  Unit* unit;
  std::int32_t owner;
  bool harbour;  // an artificial harbour (land units)
};

// What the last walk of the game's lists found: the land units not aboard,
// the air units and the ships, as the game held them when the change count
// stood at `changes`. Most builds find nothing changed since the last one (the
// count covers the lists and every unit's owner, type and carrier), and then
// split from this record: a few contiguous kilobytes instead of every list
// entry and unit of the game, which on the large maps do not fit the cache.
struct sListedUnits {
  const cGame* game = nullptr;
  std::uint64_t changes = 0;
  std::vector<sListed<cJednostkaLadowa>> land;
  std::vector<sListed<cJednostkaLotnicza>> air;
  std::vector<sListed<cJednostkaMorska>> naval;
};

// One record per thread: the computer plays on its own thread.
const sListedUnits& ListedUnits(const cGame& game) {
  static thread_local sListedUnits listed;
  const std::uint64_t changes = UnitListChangeCount();
  if (listed.game == &game && listed.changes == changes) return listed;
  listed.game = &game;
  listed.changes = changes;
  listed.land.clear();
  listed.air.clear();
  listed.naval.clear();
  ForEachUnit(game.landUnits, [&](cJednostkaLadowa& unit) {
    if (unit.transporter) return;
    listed.land.push_back({&unit, unit.owner, unit.type == kMulberryType});
  });
  ForEachUnit(game.airUnits, [&](cJednostkaLotnicza& unit) { listed.air.push_back({&unit, unit.owner, false}); });
  ForEachUnit(game.navalUnits, [&](cJednostkaMorska& ship) { listed.naval.push_back({&ship, ship.owner, false}); });
  return listed;
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
  enemyLandQueries_.reset();
  cGame* game = gGame;
  if (!game || !country) return;
  LogFormat(u"[AI %s] Wyznaczam listy jednostek", country->name);
  const cSides sides(*country);
  const sListedUnits& listed = ListedUnits(*game);
  for (const auto& [unit, owner, harbour] : listed.land) {
    // An artificial harbour takes no orders, moves or replacements, and the
    // tables indexed by land type have no row for it.
    if (harbour && owner == country->id) continue;
    Split(sides, unit, owner, ownLand, alliedLand, enemyLand, otherLand);
  }
  for (const auto& [unit, owner, harbour] : listed.air) Split(sides, unit, owner, ownAir, alliedAir, enemyAir, otherAir);
  for (const auto& [ship, owner, harbour] : listed.naval) {
    if (owner == country->id) ownNaval.push_back(ship);
  }
  // Each strength is computed once; the stable sort keeps equal strengths in
  // the order of the game's list.
  std::vector<std::pair<float, cJednostkaLadowa*>> ranked;
  ranked.reserve(ownLand.size());
  for (cJednostkaLadowa* unit : ownLand) ranked.emplace_back(unit->GetEffectiveStrength(), unit);
  std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (std::size_t i = 0; i < ranked.size(); ++i) ownLand[i] = ranked[i].second;
}

}  // namespace tr
