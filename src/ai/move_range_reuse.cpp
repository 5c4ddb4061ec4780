#include "ai/move_range_reuse.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <initializer_list>

#include "units/jednostka_ladowa.h"
#include "world/gra.h"
#include "world/hex_marks.h"
#include "world/panstwo.h"

namespace tr {
namespace {

// What the ranges of the country's own land units are worked out from, in
// three parts: how the country stands to every other and the movement
// constants (shared by all its units); each unit's position and movement
// state and the move costs of its kind; and the controller, terrain,
// weather, city and unit's owner of every hex in a unit's window, one hex
// further than any route reaches. Equal values give equal ranges.
// Each visitor stops when visit returns false.
template <typename Visit>
bool ForEachSharedRangeInput(const cCountry& country, Visit visit) {
  const cGame& game = *gGame;
  const sScenarioConstants& k = game.constants;
  if (!visit(country.id) || !visit(std::bit_cast<std::int32_t>(country.mudMove)) ||
      !visit(std::bit_cast<std::int32_t>(country.winterMove)) ||
      !visit(std::bit_cast<std::int32_t>(k.MudMovePercent())) ||
      !visit(std::bit_cast<std::int32_t>(k.WinterMovePercent())) || !visit(game.CountryCount())) {
    return false;
  }
  for (int other = 1; other <= game.CountryCount(); ++other) {
    if (!visit(game.relations.IsAtWar(country.id, other) * 2 + country.IsAlly(other))) return false;
  }
  return true;
}

template <typename Visit>
bool ForEachUnitRangeInput(const cJednostkaLadowa& unit, Visit visit) {
  if (!visit(reinterpret_cast<std::intptr_t>(&unit))) return false;
  for (const std::int64_t v : std::initializer_list<std::int64_t>{
           unit.id, unit.owner, unit.x, unit.y, unit.type, unit.category, unit.actionPoints,
           unit.startingActionPoints, unit.movedThisTurn, unit.freezeTime}) {
    if (!visit(v)) return false;
  }
  // The costs are read only by a unit with points to move, as the range does.
  const sScenarioConstants& k = gGame->constants;
  for (int terrain = 1; unit.actionPoints >= 1 && terrain <= 9; ++terrain) {
    if (!visit(k.MoveCost(unit.category, terrain))) return false;
  }
  return true;
}

struct sWindow {
  int x0, x1, y0, y1;  // on the map; empty when x0 > x1 or y0 > y1
};

sWindow WindowOf(const cMap& map, const cJednostkaLadowa& unit) {
  const int reach = std::max(unit.actionPoints, 0) + 1;
  return {std::max(unit.x - reach, 0), std::min(unit.x + reach, map.GetWidth() - 1), std::max(unit.y - reach, 0),
          std::min(unit.y + reach, map.GetHeight() - 1)};
}

// A range reads of a hex's unit only whether there is one and its owner.
template <typename Visit>
bool VisitHex(const sHex& hex, Visit& visit) {
  return visit(hex.unit ? std::int64_t{1} << 32 | static_cast<std::uint32_t>(hex.unit->owner) : 0) &&
         visit(hex.controller | hex.terrain << 8 | (hex.city != nullptr) << 16 |
               static_cast<std::int64_t>(static_cast<std::uint32_t>(hex.weather)) << 32);
}

// Everything for all the units: the shared values, every unit's own, then
// each hex in any unit's window once, in map order (the windows overlap, and
// the same units at the same places give the same hexes).
template <typename Visit>
bool ForEachRangeInput(const cCountry& country, const std::vector<cJednostkaLadowa*>& units, Visit visit) {
  const cMap& map = *gGame->map;
  if (!ForEachSharedRangeInput(country, visit) || !visit(static_cast<std::int64_t>(units.size()))) return false;
  const int width = map.GetWidth();
  thread_local cHexMarks within;
  within.Reset(width, map.GetHeight());
  int left = width, right = -1, top = map.GetHeight(), bottom = -1;
  for (const cJednostkaLadowa* unit : units) {
    if (!ForEachUnitRangeInput(*unit, visit)) return false;
    const sWindow w = WindowOf(map, *unit);
    if (w.x0 > w.x1 || w.y0 > w.y1) continue;
    for (int y = w.y0; y <= w.y1; ++y) within.InsertRun(static_cast<std::size_t>(y) * width + w.x0, w.x1 - w.x0 + 1);
    left = std::min(left, w.x0), right = std::max(right, w.x1), top = std::min(top, w.y0), bottom = std::max(bottom, w.y1);
  }
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      if (within.Contains(static_cast<std::size_t>(y) * width + x) && !VisitHex(*map.GetHex(x, y), visit)) return false;
    }
  }
  return true;
}

// One unit's own values and the hexes of its window, into out. Written by
// pointer: a search gathers them for every unit whenever anything moved.
void GatherRangeInputsOf(const cJednostkaLadowa& unit, std::vector<std::int64_t>& out) {
  const cMap& map = *gGame->map;
  const sWindow w = WindowOf(map, unit);
  const std::size_t hexes = w.x0 > w.x1 || w.y0 > w.y1 ? 0 : static_cast<std::size_t>(w.x1 - w.x0 + 1) * (w.y1 - w.y0 + 1);
  out.resize(32 + 2 * hexes);
  std::int64_t* to = out.data();
  ForEachUnitRangeInput(unit, [&](std::int64_t v) {
    *to++ = v;
    return true;
  });
  const auto write = [&](std::int64_t v) {
    *to++ = v;
    return true;
  };
  for (int y = w.y0; y <= w.y1 && hexes > 0; ++y) {
    const sHex* row = map.GetHex(w.x0, y);
    for (int x = w.x0; x <= w.x1; ++x) VisitHex(row[x - w.x0], write);
  }
  out.resize(static_cast<std::size_t>(to - out.data()));
}

}  // namespace

cMoveRangeReuse::cPass::cPass(cMoveRangeReuse& reuse, const cCountry& country,
                              const std::vector<cJednostkaLadowa*>& units, bool whole)
    : reuse_(reuse), country_(country), units_(units), whole_(whole) {
  if (whole_) {
    std::size_t at = 0;
    const std::vector<std::int64_t>& kept = reuse_.values_;
    const auto same = [&](std::int64_t v) { return at < kept.size() && kept[at++] == v; };
    unchanged_ = ForEachRangeInput(country_, units_, same) && at == kept.size();
    if (unchanged_) return;
  }
  reuse_.KeepSharedInputs(country_);
}

cMoveRangeReuse::cPass::~cPass() {
  if (!whole_ || unchanged_) return;
  // Every unit's kept range now belongs to this world.
  reuse_.values_.clear();
  ForEachRangeInput(country_, units_, [&](std::int64_t v) {
    reuse_.values_.push_back(v);
    return true;
  });
}

void cMoveRangeReuse::cPass::ComputeRange(std::size_t k) {
  std::vector<sUnit>& kept = reuse_.units_;
  if (kept.size() < units_.size()) kept.resize(units_.size());
  cJednostkaLadowa* unit = units_[k];
  if (unchanged_) {
    unit->moveRange = kept[k].range;
    return;
  }
  std::vector<std::int64_t>& values = reuse_.scratch_;
  GatherRangeInputsOf(*unit, values);
  sUnit& own = kept[k];
  if (!own.values.empty() && own.values == values) {
    unit->moveRange = own.range;
    return;
  }
  unit->ComputeMoveRange(1);
  own.values.swap(values);
  own.range = unit->moveRange;
  // The kept ranges no longer all belong to the world last noted whole.
  reuse_.values_.clear();
}

bool cMoveRangeReuse::KeepSharedInputs(const cCountry& country) {
  std::size_t at = 0;
  if (ForEachSharedRangeInput(country, [&](std::int64_t v) { return at < shared_.size() && shared_[at++] == v; }) &&
      at == shared_.size()) {
    return true;
  }
  shared_.clear();
  ForEachSharedRangeInput(country, [&](std::int64_t v) {
    shared_.push_back(v);
    return true;
  });
  // Every kept range was worked out from the values just replaced.
  for (sUnit& own : units_) own.values.clear();
  return false;
}

}  // namespace tr
