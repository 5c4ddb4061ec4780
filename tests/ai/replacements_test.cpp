// The computer's spending on the forces it has: replacements of land and air
// strength, ship repairs, and free commanders given to land units.
#include <gtest/gtest.h>

#include <memory>

#include "ai_fixture.h"
#include "world/commander.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr int kFullSupply = 10;

class ReplacementTest : public testing::Test {
 protected:
  ReplacementTest() {
    SetConstant(48, 1, kFullSupply);
    // Every supply level allows 10 points for land and air units alike.
    for (int field = 2; field <= 11; ++field) {
      SetConstant(55, field, 10);
      SetConstant(56, field, 10);
    }
    world.game().constants.FinishLoading();
  }
  void SetConstant(int line, int field, double value) {
    world.game().constants.SetSlot(sScenarioConstants::SlotOf(line, field), value);
  }
  cCountry& country() { return world.country(1); }
  cCountryAI& ai() {
    cCountryAI& made = world.AiOf(1);
    made.BuildUnitLists();
    return made;
  }
  // A supplied unit that has not acted this turn.
  template <typename Unit>
  Unit& Ready(Unit& unit, int strength) {
    unit.strength = strength;
    unit.supply = kFullSupply;
    unit.turnsWithoutSupply = 0;
    unit.actionPoints = unit.startingActionPoints = 3;
    return unit;
  }

  test::AiWorld world;
};

// Which land units qualify under the factor.
struct sLandFactorCase {
  float factor;
  int strength;
  bool replaced;
};

class LandFactorTest : public ReplacementTest, public testing::WithParamInterface<sLandFactorCase> {};

TEST_P(LandFactorTest, StrengthBelowTheFactorQualifies) {
  SetConstant(78, 2, 100.0);
  country().productionPoints = 1000.0;
  cJednostkaLadowa& unit = Ready(world.AddLand(1, 3, 3), GetParam().strength);

  ai().ReplaceLandLosses(GetParam().factor);

  EXPECT_EQ(unit.strength > GetParam().strength, GetParam().replaced);
  EXPECT_EQ(unit.actionPoints == 0, GetParam().replaced);
}

INSTANTIATE_TEST_SUITE_P(Factors, LandFactorTest,
                         testing::Values(sLandFactorCase{0.5f, 50, false}, sLandFactorCase{0.5f, 49, true},
                                         sLandFactorCase{0.98f, 97, true}, sLandFactorCase{0.98f, 98, false}));

TEST_F(ReplacementTest, LandPointsArePricedByBaseValueAndLevel) {
  SetConstant(11, 2, 10.0);  // level 3 infantry base value
  SetConstant(78, 2, 50.0);
  SetConstant(82, 1, 50.0);
  country().productionPoints = 35.0;
  cJednostkaLadowa& unit = Ready(world.AddLand(1, 3, 3), 40);
  unit.level = 3;

  ai().ReplaceLandLosses(0.98f);

  EXPECT_EQ(unit.strength, 43);
  EXPECT_DOUBLE_EQ(country().productionPoints, 5.0);
}

// The most points one step gives: the points paid for, the limit, the room left.
struct sLandCapCase {
  int strength;
  double points;
  int gained;
};

class LandCapTest : public ReplacementTest, public testing::WithParamInterface<sLandCapCase> {};

TEST_P(LandCapTest, GainIsTheSmallestBound) {
  SetConstant(78, 2, 10.0);  // 1 PP a point at base value 10
  country().productionPoints = GetParam().points;
  cJednostkaLadowa& unit = Ready(world.AddLand(1, 3, 3), GetParam().strength);

  ai().ReplaceLandLosses(0.98f);

  EXPECT_EQ(unit.strength - GetParam().strength, GetParam().gained);
  EXPECT_DOUBLE_EQ(country().productionPoints, GetParam().points - GetParam().gained);
}

INSTANTIATE_TEST_SUITE_P(Caps, LandCapTest,
                         testing::Values(sLandCapCase{95, 100.0, 5}, sLandCapCase{50, 100.0, 10},
                                         sLandCapCase{50, 4.5, 4}, sLandCapCase{50, 0.5, 0},
                                         sLandCapCase{50, -3.0, 0}));

TEST_F(ReplacementTest, WeakestLandUnitIsServedFirst) {
  SetConstant(78, 2, 10.0);
  country().productionPoints = 5.0;
  cJednostkaLadowa& stronger = Ready(world.AddLand(1, 3, 3), 60);
  cJednostkaLadowa& weaker = Ready(world.AddLand(1, 5, 3), 30);

  ai().ReplaceLandLosses(0.98f);

  EXPECT_EQ(weaker.strength, 35);
  EXPECT_EQ(stronger.strength, 60);
}

// Air units: fighters take at most 4 points in all, others 8.
struct sAirCase {
  int type;
  int gained;
};

class AirReplacementTest : public ReplacementTest, public testing::WithParamInterface<sAirCase> {};

TEST_P(AirReplacementTest, AirUnitIsFilledToItsTypeCap) {
  SetConstant(14, 1, 4);
  SetConstant(14, 2, 8);
  SetConstant(80, 2, 1.0);
  SetConstant(80, 3, 1.0);
  country().productionPoints = 100.0;
  cJednostkaLotnicza& unit = Ready(world.AddAir(1, 4, 4, GetParam().type), 3);

  ai().ReplaceAirLosses(0.98f);

  EXPECT_EQ(unit.strength - 3, GetParam().gained);
  EXPECT_DOUBLE_EQ(country().productionPoints, 100.0 - GetParam().gained);
}

INSTANTIATE_TEST_SUITE_P(Types, AirReplacementTest,
                         testing::Values(sAirCase{kFighter, 1}, sAirCase{kTacticalBomber, 5}));

// The supply limit is halved for fighters only, rounding down, and the
// type's cap still bounds it: a fighter of 1 may gain at most 3.
struct sAirLimitCase {
  const char* name;
  int type;
  int limit;
  int gained;
};

class AirLimitTest : public ReplacementTest, public testing::WithParamInterface<sAirLimitCase> {};

TEST_P(AirLimitTest, FightersTakeHalfTheSupplyLimit) {
  const sAirLimitCase& c = GetParam();
  for (int field = 2; field <= 11; ++field) SetConstant(56, field, c.limit);
  world.game().constants.FinishLoading();
  SetConstant(14, 1, 4);
  SetConstant(14, 2, 8);
  SetConstant(80, 2, 1.0);
  SetConstant(80, 3, 1.0);
  country().productionPoints = 100.0;
  cJednostkaLotnicza& unit = Ready(world.AddAir(1, 4, 4, c.type), 1);

  ai().ReplaceAirLosses(0.98f);

  EXPECT_EQ(unit.strength - 1, c.gained);
}

INSTANTIATE_TEST_SUITE_P(Limits, AirLimitTest,
                         testing::Values(sAirLimitCase{"FighterBelowTheCap", kFighter, 4, 2},
                                         sAirLimitCase{"FighterOddLimit", kFighter, 5, 2},
                                         sAirLimitCase{"FighterAtTheCap", kFighter, 6, 3},
                                         sAirLimitCase{"FighterAboveTheCap", kFighter, 8, 3},
                                         sAirLimitCase{"BomberWholeLimit", kTacticalBomber, 5, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReplacementTest, AirPriceGrowsWithLevel) {
  SetConstant(14, 2, 8);
  SetConstant(80, 3, 2.0);
  SetConstant(83, 1, 50.0);
  country().productionPoints = 7.0;
  cJednostkaLotnicza& unit = Ready(world.AddAir(1, 4, 4, kTacticalBomber), 3);
  unit.level = 2;

  ai().ReplaceAirLosses(0.5f);

  EXPECT_EQ(unit.strength, 5);
  EXPECT_DOUBLE_EQ(country().productionPoints, 1.0);
}

TEST_F(ReplacementTest, ReplacementIsShownWhenFollowed) {
  SetConstant(78, 2, 10.0);
  country().productionPoints = 100.0;
  world.game().playerControl.follow = 1;
  cJednostkaLadowa& unit = Ready(world.AddLand(1, 3, 3), 97);
  unit.spotted = 1;

  ai().ReplaceLandLosses(0.98f);

  const std::u16string text = u"[AI]: Country1 - Replacements for " + unit.name + u" (3 strength, cost 3.0 PP)";
  EXPECT_EQ(world.AiOf(1).messageText, text);
  EXPECT_EQ(test::LinesStartingWith(world.log, u"S: replacements").size(), 2u);
}

// Repairs: ships at or below the threshold, as many points as the PP pay for.
struct sRepairCase {
  int hitPoints;
  double points;
  int repaired;
  int type = kCruiser;
  double price = 3.0;
};

class RepairTest : public ReplacementTest, public testing::WithParamInterface<sRepairCase> {};

TEST_P(RepairTest, ShipIsRepairedWithinThresholdAndPoints) {
  SetConstant(142, 1, 45.0);
  SetConstant(76, 4, GetParam().price);  // cruiser
  SetConstant(76, 2, GetParam().price);  // carrier, the first naval type
  country().productionPoints = GetParam().points;
  cJednostkaMorska& ship = world.AddShip(1, GetParam().type);
  ship.maxHitPoints = 10;
  ship.hitPoints = GetParam().hitPoints;

  ai().RepairShips();

  EXPECT_EQ(ship.hitPoints - GetParam().hitPoints, GetParam().repaired);
  EXPECT_DOUBLE_EQ(country().productionPoints, GetParam().points - GetParam().price * GetParam().repaired);
}

INSTANTIATE_TEST_SUITE_P(Ships, RepairTest,
                         testing::Values(sRepairCase{6, 10.0, 0}, sRepairCase{5, 10.0, 3},
                                         sRepairCase{5, 100.0, 5}, sRepairCase{5, 3.0, 0},
                                         sRepairCase{5, 10.0, 3, kAircraftCarrier},
                                         // a price just below the points pays one; a free repair is whole
                                         sRepairCase{5, 3.5, 1}, sRepairCase{5, 10.0, 5, kCruiser, 0.0}));

TEST_F(ReplacementTest, RepairWritesTheMessage) {
  SetConstant(142, 1, 45.0);
  SetConstant(76, 4, 3.0);
  country().productionPoints = 10.0;
  cJednostkaMorska& ship = world.AddShip(1, kCruiser);
  ship.maxHitPoints = 10;
  ship.hitPoints = 5;

  ai().RepairShips();

  EXPECT_EQ(world.AiOf(1).messageText, u"[AI]: Country1 - Repairing " + ship.name + u" (3 HP, cost 9.0 PP)");
}

class CommanderTest : public ReplacementTest {
 protected:
  sCommander& Commander(int countryId, int skill, int state = kCommanderNotAssigned) {
    auto made = std::make_unique<sCommander>();
    made->id = static_cast<int>(world.game().commanders.size()) + 1;
    made->name = u"General" + std::u16string(1, static_cast<char16_t>(u'0' + skill));
    made->countryId = countryId;
    made->skill = skill;
    made->state = state;
    world.game().commanders.push_back(std::move(made));
    return *world.game().commanders.back();
  }
};

TEST_F(CommanderTest, MostSkilledFreeCommanderTakesTheFreeUnit) {
  sCommander& weaker = Commander(1, 3);
  sCommander& better = Commander(1, 5);
  Commander(2, 9);
  Commander(1, 8, kCommanderOnHisWay);
  cJednostkaLadowa& unit = world.AddLand(1, 3, 3);
  unit.commanderId = 4;

  ai().AssignCommanders();

  EXPECT_EQ(unit.attachedCommander, &better);
  EXPECT_EQ(unit.commanderId, -1);
  EXPECT_EQ(better.state, kCommanderAssigned);
  EXPECT_EQ(better.headquarters, &unit);
  EXPECT_EQ(weaker.state, kCommanderNotAssigned);
  EXPECT_EQ(weaker.headquarters, nullptr);
  EXPECT_TRUE(world.log.Contains(u"General5 has been assigned to command " + unit.name));
}

TEST_F(CommanderTest, StrongestUnitsGetTheBestAndEqualsKeepListOrder) {
  sCommander& first = Commander(1, 4);
  sCommander& second = Commander(1, 4);
  sCommander& best = Commander(1, 6);
  cJednostkaLadowa& weak = world.AddLand(1, 3, 3, 40);
  cJednostkaLadowa& strong = world.AddLand(1, 5, 3, 90);
  cJednostkaLadowa& middle = world.AddLand(1, 7, 3, 60);

  ai().AssignCommanders();

  EXPECT_EQ(strong.attachedCommander, &best);
  EXPECT_EQ(middle.attachedCommander, &first);
  EXPECT_EQ(weak.attachedCommander, &second);
}

TEST_F(CommanderTest, OnlyLandCommandersTakeLandUnits) {
  sCommander& admiral = Commander(1, 9);
  admiral.type = kCategoryNaval;
  sCommander& airman = Commander(1, 8);
  airman.type = kCategoryAir;
  sCommander& general = Commander(1, 2);
  cJednostkaLadowa& strong = world.AddLand(1, 5, 3, 90);
  cJednostkaLadowa& weak = world.AddLand(1, 7, 3, 40);

  ai().AssignCommanders();

  EXPECT_EQ(strong.attachedCommander, &general);
  EXPECT_EQ(weak.attachedCommander, nullptr);
  EXPECT_EQ(admiral.state, kCommanderNotAssigned);
  EXPECT_EQ(airman.state, kCommanderNotAssigned);
}

}  // namespace
}  // namespace tr
