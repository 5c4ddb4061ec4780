#include <gtest/gtest.h>

#include "foundation/format.h"
#include "foundation/string_base.h"

#include "scenario/scenario_constants_layout.h"
#include "world/city_rules.h"
#include "world/headless_presentation.h"
#include "rules_fixture.h"

namespace tr {
namespace {

// A city on (1, 1) of a 3 x 3 map, held by country 1 at war with country 2;
// its six neighbours are set from a pattern, one letter per direction 0..5:
// E enemy unit, F friendly unit, W water, L free land.
struct SiegeCase {
  const char* name;
  const char* pattern;
  bool defended;
  bool besieged;
};

class CitySiege : public testing::TestWithParam<SiegeCase> {
 protected:
  CitySiege() : world(3, 3, 2) {
    test::HoldAll(world, 1);
    test::SetWar(world, 1, 2);
    city = &test::AddCity(world, 1, 1);
  }
  void Surround(const char* pattern) {
    for (int d = 0; d < 6; ++d) {
      const sPoint p = NeighbourPoint(1, 1, d);
      switch (pattern[d]) {
        case 'E': test::AddLandUnit(world, p.x, p.y, 2); break;
        case 'F': test::AddLandUnit(world, p.x, p.y, 1); break;
        case 'W': world.hex(p.x, p.y).terrain = kTerrainWater; break;
        default: break;
      }
    }
  }
  cHeadlessPresentation screen;
  ScopedPresentation scoped{screen};
  test::TestWorld world;
  cCity* city = nullptr;
};

TEST_P(CitySiege, Besieged) {
  Surround(GetParam().pattern);
  if (GetParam().defended) test::AddLandUnit(world, 1, 1, 1);
  EXPECT_EQ(IsBesieged(*city), GetParam().besieged);
}

INSTANTIATE_TEST_SUITE_P(Neighbours, CitySiege,
                         testing::Values(SiegeCase{"OneEnemyRestWater", "EWWWWW", true, false},
                                         SiegeCase{"TwoEnemiesRestWater", "WEWWEW", true, true},
                                         SiegeCase{"FreeLandNeighbour", "EEWWWL", true, false},
                                         SiegeCase{"FriendBeside", "EEFWWW", true, false},
                                         SiegeCase{"AllEnemies", "EEEEEE", true, true},
                                         SiegeCase{"Undefended", "EEEEEE", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

class SiegeCheck : public CitySiege {
 protected:
  SiegeCheck() {
    Surround("EEWWWW");
    for (int level = 1; level <= 2; ++level) {
      world.game().constants.SetSlot(consts_layout::kLandBaseValue + level * 7, 100.0);
    }
    defender = &test::AddLandUnit(world, 1, 1, 1, 20);
  }
  void BaseChance(double chance) { world.game().constants.SetSlot(consts_layout::kSiegeValues, chance); }
  cJednostkaLadowa* defender = nullptr;
};

TEST_F(SiegeCheck, CertainSuccessCostsALevelThenSurrender) {
  BaseChance(5.0);
  defender->level = 2;
  const std::u16string name = defender->name;  // the surrender frees the unit
  std::u16string text;
  CheckSiege(*city, text);
  EXPECT_EQ(defender->level, 1);
  EXPECT_NE(text.find(Format(GetText("check_succeeded,_%s_loses_1_level"), name)), std::u16string::npos);
  CheckSiege(*city, text);
  EXPECT_NE(text.find(Format(GetText("check_succeeded,_%s_surrenders!"), name)), std::u16string::npos);
  EXPECT_EQ(screen.CountEvents(u"camera"), 2);
}

TEST_F(SiegeCheck, ChanceOfZeroAlwaysFails) {
  BaseChance(-5.0);
  std::u16string text;
  CheckSiege(*city, text);
  EXPECT_EQ(defender->level, 1);
  EXPECT_NE(text.find(GetText("check_failed,_siege_continues...")), std::u16string::npos);
}

}  // namespace
}  // namespace tr
