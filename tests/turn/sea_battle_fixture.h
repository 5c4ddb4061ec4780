// The sea battle tests' world: one sea node, battles of one turn, countries
// named C1 to C4, and the draws that make RandomRange give a chosen value.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "foundation/format.h"
#include "foundation/random.h"
#include "support/naval_world.h"
#include "turn/sea_battle.h"

namespace tr::test {

// The smallest draw that gives `value` from RandomRange(low, high).
inline int DrawFor(int low, int high, int value) {
  for (int d = 0; d <= 32767; ++d) {
    ScopedRandomDraws one({d});
    if (RandomRange(low, high) == value) return d;
  }
  ADD_FAILURE() << "no draw gives " << value;
  return 0;
}

inline constexpr int kNavy = 5;
inline constexpr int kSub = 4;

class SeaBattleTest : public testing::Test {
 protected:
  SeaBattleTest() {
    node = sea.AddSea();
    for (int k = 1; k <= 5; ++k) sea.SetConstant(129, k, k == 1 ? 1 : 0);  // battles of 1 turn
    for (int c = 1; c <= 4; ++c) sea.world().country(c).name = Format(u"C%i", c);
  }
  ~SeaBattleTest() override { SetSeaBattleScreen({}); }

  sSeaBattle::ShipList Ships(int owner, std::initializer_list<int> types) {
    cFleet& fleet = sea.AddFleet(owner, node, types);
    return {fleet.ships.begin(), fleet.ships.end()};
  }
  void SetNavy(int country, int level) { sea.world().country(country).techLevels[kNavy] = level; }

  NavalWorld sea;
  int node = 0;
};

}  // namespace tr::test
