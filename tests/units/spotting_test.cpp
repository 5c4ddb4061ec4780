// Fog of war, retreat hexes and the names of unit types.
#include <gtest/gtest.h>

#include "scenario/scenario_info.h"
#include "units/unit_fixture.h"

namespace tr {
namespace {

using test::UnitWorld;

class Spotting : public UnitWorld {
 protected:
  Spotting() {
    country(1).alliance = kAllies;
    country(2).alliance = kAllies;
    country(3).alliance = kAxis;
  }
};

TEST_F(Spotting, FogOffSpotsEveryUnit) {
  gFogOfWar = 0;
  cJednostkaLadowa& far = AddLand(3, 11, 11);
  far.UpdateSpottedFlag(nullptr);
  EXPECT_EQ(far.spotted, 1);
  cJednostkaLotnicza& air = AddAir(3, 0, 11);
  AddLand(1, 0, 0).RevealUnitsAround(0);
  EXPECT_EQ(air.spotted, 1);
}

class SpottingDistance : public Spotting, public testing::WithParamInterface<std::tuple<int, int, bool>> {};

TEST_P(SpottingDistance, FriendlyUnitsSeeAsFarAsTheSetting) {
  gFogOfWar = 3;
  const auto [watcherOwner, rows, seen] = GetParam();
  AddAir(watcherOwner, 6, 2);
  cJednostkaLadowa& target = AddLand(3, 6, 2 + rows);
  target.UpdateSpottedFlag(&country(1));
  EXPECT_EQ(target.spotted, seen ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Distances, SpottingDistance,
                         testing::Values(std::tuple{1, 3, true}, std::tuple{1, 4, false}, std::tuple{2, 3, true},
                                         std::tuple{3, 1, false}));

TEST_F(Spotting, RevealingFlagsNewEnemiesOnlyWhenReporting) {
  gFogOfWar = 2;
  cJednostkaLadowa& scout = AddLand(1, 5, 5);
  cJednostkaLadowa& friendUnit = AddLand(2, 5, 6);
  cJednostkaLadowa& enemy = AddLand(3, 5, 7);
  cJednostkaLadowa& farEnemy = AddLand(3, 5, 8);
  scout.RevealUnitsAround(0);
  EXPECT_EQ(scout.newEnemyRevealed, 0);
  EXPECT_EQ(enemy.spotted, 1);
  EXPECT_EQ(friendUnit.spotted, 1);
  EXPECT_EQ(scout.spotted, 1);
  EXPECT_EQ(farEnemy.spotted, 0);

  enemy.spotted = 0;
  friendUnit.spotted = 0;
  scout.RevealUnitsAround(1);
  EXPECT_EQ(scout.newEnemyRevealed, 1);

  scout.newEnemyRevealed = 0;
  friendUnit.spotted = 0;
  scout.RevealUnitsAround(1);  // the enemy was seen already
  EXPECT_EQ(scout.newEnemyRevealed, 0);
}

TEST_F(Spotting, RetreatHexes) {
  cJednostkaLadowa& unit = AddLand(1, 5, 5);
  for (int d = 0; d < kDirectionCount; ++d) {
    sHex* hex = map().GetNeighbour(5, 5, d);
    hex->controller = 0;
  }
  EXPECT_FALSE(unit.HasRetreatHex());  // nobody controls the neighbours

  map().GetNeighbour(5, 5, 0)->controller = 3;  // neither ally nor at war
  EXPECT_FALSE(unit.HasRetreatHex());

  game().relations.SetWar(1, 3, true);
  EXPECT_TRUE(unit.HasRetreatHex());  // an empty enemy hex counts
  AddLand(3, map().GetNeighbourPoint(5, 5, 0).x, map().GetNeighbourPoint(5, 5, 0).y);
  EXPECT_FALSE(unit.HasRetreatHex());

  map().GetNeighbour(5, 5, 3)->controller = 2;  // an ally
  EXPECT_TRUE(unit.HasRetreatHex());
}

struct NameCase {
  int type;
  const char16_t* name;
};
class UnitTypeNames : public testing::TestWithParam<NameCase> {};

TEST_P(UnitTypeNames, KeyOfTheCode) {
  const sUnitCounterSizes saved = UnitCounterSizes();
  UnitCounterSizes() = {2, 3};
  EXPECT_EQ(GetUnitTypeName(GetParam().type), GetParam().name);
  UnitCounterSizes() = saved;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, UnitTypeNames,
    testing::Values(NameCase{0, u"unit_subtype_infantry_size_3"}, NameCase{1, u"unit_subtype_infantry_size_4"},
                    NameCase{3, u"unit_subtype_mechanized_size_4"}, NameCase{4, u"unit_subtype_armoured_size_3"},
                    NameCase{6, u"unit_subtype_airborne_size_3"}, NameCase{21, u"unit_subtype_tactical_bomber"},
                    NameCase{44, u"unit_subtype_cargo"}, NameCase{60, u"unit_subtype_unknown"},
                    NameCase{7, u"unit_subtype_unknown"}));

}  // namespace
}  // namespace tr
