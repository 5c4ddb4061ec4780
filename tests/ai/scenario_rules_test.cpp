// The air-base rule of the three named scenarios.
#include <gtest/gtest.h>

#include <string>

#include "ai_fixture.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr int kRuleCountry = 53;

class ScenarioGarrisonRuleTest : public testing::Test {
 protected:
  ScenarioGarrisonRuleTest() : world(40, 80, kRuleCountry) {}

  cCountryAI& Ai() {
    cCountryAI& ai = world.AiOf(kRuleCountry);
    ai.BuildUnitLists();
    return ai;
  }

  test::AiWorld world;
};

struct sRuleCase {
  std::u16string scenario;
  bool applies;
};

class ScenarioNameTest : public ScenarioGarrisonRuleTest, public testing::WithParamInterface<sRuleCase> {};

TEST_P(ScenarioNameTest, OnlyTheFirstWesternAirUnitMovesToTheBase) {
  world.game().scenarioName = GetParam().scenario;
  cJednostkaLotnicza& first = world.AddAir(kRuleCountry, 15, 3);
  cJednostkaLotnicza& second = world.AddAir(kRuleCountry, 2, 4);

  Ai().ScenarioGarrisonRule();

  if (GetParam().applies) {
    EXPECT_EQ(world.hex(37, 78).unit, &first);
    EXPECT_EQ(first.x, 37);
    EXPECT_EQ(first.y, 78);
  } else {
    EXPECT_EQ(world.hex(37, 78).unit, nullptr);
    EXPECT_EQ(first.x, 15);
  }
  EXPECT_EQ(second.x, 2);
  EXPECT_EQ(world.hex(2, 4).unit, &second);
}

INSTANTIATE_TEST_SUITE_P(Names, ScenarioNameTest,
                         testing::Values(sRuleCase{u"EUROPE 1939", true}, sRuleCase{u"EUROPE 1940", true},
                                         sRuleCase{u"EUROPE 1941", true}, sRuleCase{u"Europe 1940", false},
                                         sRuleCase{u"EUROPE 1940 ", false}, sRuleCase{u"EUROPE 1942", false}));

TEST_F(ScenarioGarrisonRuleTest, AnotherCountryIsNotAffected) {
  world.game().scenarioName = u"EUROPE 1940";
  cJednostkaLotnicza& unit = world.AddAir(52, 3, 3);
  cCountryAI& ai = world.AiOf(52);
  ai.BuildUnitLists();
  ai.ScenarioGarrisonRule();
  EXPECT_EQ(unit.x, 3);
}

TEST_F(ScenarioGarrisonRuleTest, ColumnSixteenStaysAndATakenBaseStopsTheRule) {
  world.game().scenarioName = u"EUROPE 1941";
  cJednostkaLotnicza& east = world.AddAir(kRuleCountry, 16, 3);
  Ai().ScenarioGarrisonRule();
  EXPECT_EQ(east.x, 16);

  cJednostkaLadowa& holder = world.AddLand(1, 37, 78);
  cJednostkaLotnicza& west = world.AddAir(kRuleCountry, 0, 3);
  Ai().ScenarioGarrisonRule();
  EXPECT_EQ(west.x, 0);
  EXPECT_EQ(world.hex(37, 78).unit, &holder);
}

}  // namespace
}  // namespace tr
