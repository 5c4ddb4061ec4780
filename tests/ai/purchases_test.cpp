// The computer's purchases: the queue carried out as far as the points go,
// the weighted draw of a new unit, level-ups, research and the new units.
#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "ai/purchases.h"
#include "ai_fixture.h"
#include "foundation/random.h"
#include "world/gra.h"

namespace tr {
namespace {

using Queue = std::vector<std::int32_t>;

class PurchaseTest : public testing::Test {
 protected:
  PurchaseTest() {
    settings().NewUnitPurchasePreferences.fill(0);
    settings().DesiredStrategicMovementPoints = 0;
  }
  void SetConstant(int line, int field, double value) {
    world.game().constants.SetSlot(sScenarioConstants::SlotOf(line, field), value);
  }
  // Consecutive fields of one line from `first`.
  void SetLine(int line, int first, std::initializer_list<double> values) {
    for (double value : values) SetConstant(line, first++, value);
  }
  cCountry& country() { return world.country(1); }
  sCountryAiSettings& settings() { return country().aiSettings; }
  cCountryAI& ai() {
    cCountryAI& made = world.AiOf(1);
    made.BuildUnitLists();
    return made;
  }
  // A unit that has not acted this turn and may level up by its technology.
  cJednostkaLadowa& ReadyLand(int x, int type = 0, int level = 1) {
    cJednostkaLadowa& unit = world.AddLand(1, x, 2, 100, type);
    unit.level = level;
    unit.actionPoints = unit.startingActionPoints = 3;
    return unit;
  }

  test::AiWorld world;
};

TEST_F(PurchaseTest, UnaffordableWishesStayOrGoByTheirCode) {
  SetConstant(86, 3, 10.0);
  settings().NewUnitPurchaseData.landType = 0;
  settings().NewUnitPurchaseData.landPrice = 12.0f;
  settings().PurchaseQueue = {3, 0, 2, 5, 4, 3};
  country().productionPoints = 0.0;

  ai().MakePurchases();

  EXPECT_EQ(settings().PurchaseQueue, (Queue{5}));
  EXPECT_TRUE(world.game().reservePool.empty());
  EXPECT_EQ(country().productionPoints, 0.0);
}

// Each kind of point has its own base and step (fields 3, 2 and 1 of lines 86
// and 87 for invasion, sea transport and strategic movement), and the lines
// around them hold other values, so a price read from a neighbouring line or
// field buys a different count. Invasion and sea transport points are bought
// until the next one cannot be paid; a strategic point once.
TEST_F(PurchaseTest, PointsAreBoughtInQueueOrderWhileAffordable) {
  SetLine(85, 1, {33.0, 35.0, 37.0});
  SetLine(86, 1, {2.5, 3.0, 7.0});
  SetLine(87, 1, {1.25, 4.0, 2.25});
  SetLine(88, 2, {60.0, 70.0});
  settings().PurchaseQueue = {kBuyInvasionPoint, kBuySeaTransportPoints, kBuyStrategicMovementPoint};
  country().invasionPointsUsed = 3;
  country().seaTransportPoints = 13;
  country().strategicMovementMax = 4;
  country().productionPoints = 45.75;

  ai().MakePurchases();

  // Invasion 7 + 3 * 2.25 and 7 + 4 * 2.25; sea transport 3 + 13 / 10 * 4;
  // strategic movement 2.5 + 4 * 1.25.
  EXPECT_EQ(country().invasionPoints, 2);
  EXPECT_EQ(country().invasionPointsUsed, 5);
  EXPECT_EQ(country().seaTransportPoints, 23);
  EXPECT_EQ(country().strategicMovementMax, 5);
  EXPECT_EQ(country().strategicMovementPoints, 1);
  EXPECT_DOUBLE_EQ(country().productionPoints, 1.5);
  EXPECT_EQ(settings().PurchaseQueue, Queue{});
}

// Points an event left owed cost what the first point costs: a price below
// it would pay the country for every point it bought.
TEST_F(PurchaseTest, PointsOwedCostWhatTheFirstPointCosts) {
  SetLine(86, 1, {2.5, 3.0, 7.0});
  SetLine(87, 1, {1.25, 4.0, 2.25});
  settings().PurchaseQueue = {kBuyInvasionPoint, kBuySeaTransportPoints};
  country().invasionPoints = -31;
  country().invasionPointsUsed = -30;
  country().seaTransportPoints = -45;
  country().productionPoints = 17.5;

  ai().MakePurchases();

  // Two invasion points at 7, one lot of sea transport points at 3.
  EXPECT_EQ(country().invasionPoints, -29);
  EXPECT_EQ(country().invasionPointsUsed, -28);
  EXPECT_EQ(country().seaTransportPoints, -35);
  EXPECT_DOUBLE_EQ(country().productionPoints, 0.5);
}

// With nothing to level up or research, a country below its desired
// strategic movement buys one more point; at it, none.
TEST_F(PurchaseTest, StrategicMovementIsBoughtBelowTheDesiredMaximumOnly) {
  SetLine(86, 1, {2.5, 3.0, 7.0});
  SetLine(87, 1, {1.25, 4.0, 2.25});
  settings().DesiredStrategicMovementPoints = 6;
  for (const int max : {5, 6}) {
    country().strategicMovementMax = max;
    country().strategicMovementPoints = 3;
    country().productionPoints = 23.75;

    ai().MakePurchases();

    EXPECT_EQ(country().strategicMovementMax, 6) << max;
    EXPECT_EQ(country().strategicMovementPoints, max == 5 ? 4 : 3) << max;
    // 2.5 + 5 * 1.25
    EXPECT_DOUBLE_EQ(country().productionPoints, max == 5 ? 15.0 : 23.75) << max;
  }
}

TEST_F(PurchaseTest, CarriedOutWishRemovesItsEqualCodes) {
  SetConstant(86, 1, 5.0);
  SetConstant(87, 1, 1.0);
  country().strategicMovementMax = 2;
  country().productionPoints = 10.0;
  settings().PurchaseQueue = {8, 10, 10};

  sPurchaseChoice choice;
  EXPECT_TRUE(ai().BuildPurchasedUnits(choice));

  EXPECT_EQ(settings().PurchaseQueue, (Queue{8}));
  EXPECT_EQ(country().strategicMovementMax, 3);
  EXPECT_EQ(country().strategicMovementPoints, 1);
  EXPECT_DOUBLE_EQ(country().productionPoints, 3.0);
  // An unknown code is never acted on.
  EXPECT_FALSE(ai().BuildPurchasedUnits(choice));
}

// The draw: zero weights are never drawn, whatever the number.
struct sDrawCase {
  std::vector<std::pair<int, int>> weights;  // category, weight; the rest 0
  int draw;
  int category;
};

class PurchaseDrawTest : public PurchaseTest, public testing::WithParamInterface<sDrawCase> {};

TEST_P(PurchaseDrawTest, DrawGivesWeightedCategory) {
  for (const auto& [category, weight] : GetParam().weights) settings().NewUnitPurchasePreferences[category] = weight;
  ScopedRandomDraws draws({GetParam().draw});
  EXPECT_EQ(ai().ChoosePurchaseCategory(), GetParam().category);
}

INSTANTIATE_TEST_SUITE_P(Weights, PurchaseDrawTest,
                         testing::Values(sDrawCase{{{3, 7}}, 0, 3}, sDrawCase{{{3, 7}}, 16384, 3},
                                         sDrawCase{{{3, 7}}, 32767, 3}, sDrawCase{{{0, 1}, {1, 1}}, 0, 0},
                                         sDrawCase{{{0, 1}, {1, 1}}, 16383, 0},
                                         sDrawCase{{{0, 1}, {1, 1}}, 16384, 1},
                                         sDrawCase{{{2, 1}, {9, 3}, {12, 0}}, 32767, 9},
                                         sDrawCase{{{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1},
                                                    {7, 1}, {8, 1}, {9, 1}, {10, 1}, {11, 1}, {12, 1}, {13, 1}},
                                                   32767, 13},
                                         // The draw at exactly the first chance, 10000/32767, still takes it.
                                         sDrawCase{{{0, 10000}, {1, 22767}}, 9999, 0},
                                         sDrawCase{{{0, 10000}, {1, 22767}}, 10000, 0},
                                         sDrawCase{{{0, 10000}, {1, 22767}}, 10001, 1}),
                         [](const auto& info) {
                           return "Case" + std::to_string(info.index) + "Draw" + std::to_string(info.param.draw);
                         });

TEST_F(PurchaseTest, NoWeightsLogTheErrorAndBuyNothing) {
  ScopedRandomDraws draws({16384});
  ai().MakePurchases();

  EXPECT_TRUE(world.log.Contains(u"Error in determining purchase. Random no = 0.50. Cumulated chance = 0.00"));
  EXPECT_TRUE(settings().PurchaseQueue.empty());
  EXPECT_TRUE(world.game().reservePool.empty());
}

// A wish that would never make progress ends the purchases of the turn.
struct sBadWishCase {
  const char* name;
  int landType;
  float landPrice;
  const char16_t* says;
};

class PurchaseBadWishTest : public PurchaseTest, public testing::WithParamInterface<sBadWishCase> {};

TEST_P(PurchaseBadWishTest, WishIsRemovedAndPurchasesEnd) {
  settings().NewUnitPurchaseData.landType = GetParam().landType;
  settings().NewUnitPurchaseData.landPrice = GetParam().landPrice;
  settings().PurchaseQueue = {5, 1};
  country().productionPoints = 100.0;
  SetConstant(86, 2, 10.0);

  ai().MakePurchases();

  EXPECT_TRUE(world.log.Contains(GetParam().says));
  EXPECT_EQ(settings().PurchaseQueue, (Queue{1}));
  EXPECT_TRUE(world.game().reservePool.empty());
  EXPECT_EQ(country().seaTransportPoints, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Wishes, PurchaseBadWishTest,
    testing::Values(sBadWishCase{"PricedZero", 0, 0.0f, u"[AI]: Country1 - purchase 5 removed: its price is 0.00"},
                    sBadWishCase{"FileDefault", 99, -1.0f, u"[AI]: Country1 - purchase 5 removed: its price is -1.00"},
                    sBadWishCase{"NotLand", 20, 30.0f,
                                 u"[AI]: Country1 - purchase 5 removed: unit type 20 cannot be bought so"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PurchaseTest, DrawnLandTypePricedZeroEndsPurchases) {
  settings().NewUnitPurchasePreferences[0] = 5;
  country().productionPoints = 50.0;
  ScopedRandomDraws draws({100});

  ai().MakePurchases();

  EXPECT_TRUE(world.log.Contains(u"[AI]: Country1 - purchase 5 removed: its price is 0.00"));
  EXPECT_TRUE(world.game().reservePool.empty());
  EXPECT_EQ(settings().NewUnitPurchaseData.landType, 0);
}

TEST_F(PurchaseTest, NewLandUnitIsPricedNamedAndPutInReserve) {
  SetConstant(79, 2, 3.0);
  SetConstant(9, 2, 4.0);
  SetConstant(48, 1, 10.0);
  country().SetUnitTypeName(cCountry::UnitTypeSlot(0), u"Rifles");
  settings().NewUnitPurchasePreferences[0] = 1;
  country().productionPoints = 20.0;
  // A research wish left from the last turn has no technology chosen now: it
  // is dropped before it can end this turn's purchases.
  settings().PurchaseQueue = {kBuyResearch};
  const int before = world.game().nextLandUnitId;
  // The category draw, then the name's number.
  ScopedRandomDraws draws({0, 5});

  ai().MakePurchases();

  ASSERT_EQ(world.game().reservePool.size(), 1u);
  const cJednostka& unit = *world.game().reservePool.front();
  EXPECT_EQ(unit.name, u"15 Rifles");
  EXPECT_EQ(unit.category, kCategoryLand);
  EXPECT_EQ(unit.type, 0);
  EXPECT_EQ(unit.owner, 1);
  EXPECT_EQ(unit.level, 1);
  EXPECT_EQ(unit.GetStrength(), 100);
  EXPECT_EQ(unit.x, -1);
  EXPECT_EQ(unit.y, -1);
  EXPECT_EQ(unit.inReserve, 1);
  EXPECT_EQ(unit.spotted, 0);
  EXPECT_EQ(unit.commanderId, -1);
  EXPECT_EQ(unit.supply, 10);
  EXPECT_EQ(unit.id, before + 1);
  EXPECT_FLOAT_EQ(settings().NewUnitPurchaseData.landPrice, 12.0f);
  EXPECT_DOUBLE_EQ(country().productionPoints, 8.0);
  // The next wish is drawn again and cannot be paid: it waits.
  EXPECT_EQ(settings().PurchaseQueue, (Queue{5}));
}

TEST_F(PurchaseTest, NewAirUnitAndShipStartWithTheirTypeValues) {
  SetConstant(14, 2, 6.0);   // tactical bomber strength
  SetConstant(81, 3, 2.5);   // its price factor
  SetConstant(85, 3, 40.0);  // cruiser price
  SetConstant(73, 3, 5.0);   // cruiser hit points
  settings().NewUnitPurchasePreferences[8] = 1;
  settings().NewUnitPurchasePreferences[12] = 1;
  country().productionPoints = 55.0;
  ScopedRandomDraws draws({0, 1, 32767, 2, 0});

  ai().MakePurchases();

  ASSERT_EQ(world.game().reservePool.size(), 1u);
  const cJednostka& plane = *world.game().reservePool.front();
  EXPECT_EQ(plane.type, kTacticalBomber);
  EXPECT_EQ(plane.category, kCategoryAir);
  EXPECT_EQ(plane.GetStrength(), 6);
  ASSERT_EQ(world.game().navalReserve.size(), 1u);
  const cJednostkaMorska& ship = *world.game().navalReserve.front();
  EXPECT_EQ(ship.type, kCruiser);
  EXPECT_EQ(ship.hitPoints, 5);
  EXPECT_EQ(ship.maxHitPoints, 5);
  EXPECT_EQ(ship.canBeRepaired, 1);
  EXPECT_EQ(ship.fleet, nullptr);
  EXPECT_EQ(ship.id, world.game().nextNavalUnitId);
  EXPECT_DOUBLE_EQ(country().productionPoints, 0.0);
}

// Each range of buyable types is priced up to its last type and no further:
// land by price factor times cost, air by strength times factor, ships by
// their own price (the price line ends with the submarine: transports are
// not bought as ships). Every field of the lines read and of the lines
// around them holds its own value.
TEST_F(PurchaseTest, NewUnitsArePricedToTheLastTypeOfEachRange) {
  SetLine(8, 1, {21.0, 22.0, 23.0});
  SetLine(9, 2, {11.0, 12.0, 13.0, 14.0, 15.0, 16.0, 17.0});  // land costs
  SetLine(10, 2, {41.0, 42.0, 43.0, 44.0, 45.0, 46.0, 47.0});
  SetLine(13, 2, {51.0, 52.0, 53.0, 54.0, 55.0, 56.0, 57.0});
  SetLine(14, 1, {24.0, 26.0, 28.0});  // air strengths
  SetLine(15, 2, {61.0, 62.0, 63.0});
  SetLine(78, 2, {2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 8.5});
  SetLine(79, 2, {2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0});  // land price factors
  SetLine(80, 2, {9.5, 10.5, 11.5});
  SetLine(81, 2, {1.25, 2.25, 3.25});  // air price factors
  SetLine(82, 1, {18.0});
  SetLine(84, 1, {27.0});
  SetLine(85, 1, {90.0, 70.0, 50.0, 30.0});  // ship prices
  SetLine(86, 1, {3.75, 4.75, 5.75});
  const std::pair<int, float> prices[] = {
      {kInfantryDivision - 1, 0.0f}, {kInfantryDivision, 22.0f}, {1, 36.0f},      {2, 52.0f},
      {3, 70.0f},                    {4, 90.0f},                 {5, 112.0f},     {kAirborneDivision, 136.0f},
      {kAirborneDivision + 1, 0.0f}, {kFighter - 1, 0.0f},       {kFighter, 30.0f}, {kFighter + 1, 58.5f},
      {kStrategicBomber, 91.0f},     {kStrategicBomber + 1, 0.0f}, {kAircraftCarrier - 1, 0.0f},
      {kAircraftCarrier, 90.0f},     {kAircraftCarrier + 1, 70.0f}, {kAircraftCarrier + 2, 50.0f},
      {kSubmarine, 30.0f},           {kSubmarine + 1, 0.0f},     {kAmphibiousShip, 0.0f}};
  for (const auto& [type, price] : prices) EXPECT_FLOAT_EQ(NewUnitPrice(type), price) << type;
}

// The drawn category gives the range and the type: 0-6 land types 0-6,
// 7-9 air types 20-22, 10-13 ships 40-43.
struct sCategoryCase {
  int category;
  int code;
  int type;
};

class PurchaseCategoryTest : public PurchaseTest, public testing::WithParamInterface<sCategoryCase> {};

TEST_P(PurchaseCategoryTest, DrawnCategoryGivesItsRangeAndType) {
  const sCategoryCase& c = GetParam();
  settings().NewUnitPurchasePreferences[static_cast<std::size_t>(c.category)] = 1;
  ScopedRandomDraws draws({0});
  sPurchaseChoice choice;
  ai().ChoosePurchase(choice);
  EXPECT_EQ(settings().PurchaseQueue, (Queue{c.code}));
  const sNewUnitPurchaseData& pending = settings().NewUnitPurchaseData;
  EXPECT_EQ(c.code == kBuyLandUnit ? pending.landType : c.code == kBuyAirUnit ? pending.airType : pending.navalType,
            c.type);
}

INSTANTIATE_TEST_SUITE_P(Ranges, PurchaseCategoryTest,
                         testing::Values(sCategoryCase{0, kBuyLandUnit, kInfantryDivision},
                                         sCategoryCase{6, kBuyLandUnit, kAirborneDivision},
                                         sCategoryCase{7, kBuyAirUnit, kFighter},
                                         sCategoryCase{9, kBuyAirUnit, kFighter + 2},
                                         sCategoryCase{10, kBuyNavalUnit, kAircraftCarrier},
                                         sCategoryCase{13, kBuyNavalUnit, kSubmarine}));

// Units at the top level count for its share: with levels 4 and 5 wanted
// alike, one unit at level 5 of three leaves level 5 short (a level-4 unit
// goes up), two of four fill it (a level-3 unit goes up to fill level 4).
struct sTopLevelCase {
  int topUnits;
  int chosenLevel;
};

class TopLevelShareTest : public PurchaseTest, public testing::WithParamInterface<sTopLevelCase> {};

TEST_P(TopLevelShareTest, UnitsAtTheTopLevelCount) {
  country().techLevels[0] = 5;
  country().productionPoints = 1000.0;
  settings().DesiredLandForcesStructure = {0, 0, 0, 10, 10};
  int x = 1;
  for (int i = 0; i < GetParam().topUnits; ++i) ReadyLand(x++, 0, 5);
  ReadyLand(x++, 0, 4);
  ReadyLand(x++, 0, 3);
  const cJednostkaLadowa* chosen = ai().FindLandUnitToLevelUp();
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(chosen->level, GetParam().chosenLevel);
}

INSTANTIATE_TEST_SUITE_P(Shares, TopLevelShareTest, testing::Values(sTopLevelCase{1, 4}, sTopLevelCase{2, 3}));

TEST_F(PurchaseTest, TechnologyOneLevelNeverLevelsUpNonArmour) {
  country().techLevels[0] = 1;
  country().productionPoints = 1000.0;
  for (int x = 1; x <= 3; ++x) ReadyLand(x);
  EXPECT_EQ(ai().FindLandUnitToLevelUp(), nullptr);
}

TEST_F(PurchaseTest, StructureChoosesFirstQualifyingUnitOfTheLevelBelow) {
  country().techLevels[0] = 2;
  country().productionPoints = 1000.0;
  settings().DesiredLandForcesStructure = {10, 20, 30, 40, 50};
  cJednostkaLadowa& acted = ReadyLand(1);
  acted.actionPoints = 1;
  cJednostkaLadowa& second = ReadyLand(2);
  ReadyLand(3);
  EXPECT_EQ(ai().FindLandUnitToLevelUp(), &second);
}

TEST_F(PurchaseTest, ArmourIsLookedAtBeforeTheStructure) {
  country().techLevels[0] = 2;
  country().techLevels[1] = 2;
  country().productionPoints = 1000.0;
  SetConstant(10, 2, 12.0);  // level 2 infantry
  SetConstant(10, 6, 16.0);  // level 2 armour
  SetConstant(79, 2, 1.0);
  SetConstant(79, 6, 1.0);
  ReadyLand(1);
  cJednostkaLadowa& armour = ReadyLand(2, kArmouredDivision);

  sPurchaseChoice choice;
  ai().ChoosePurchase(choice);

  EXPECT_EQ(settings().PurchaseQueue, (Queue{3}));
  EXPECT_EQ(choice.landUnit, &armour);
  EXPECT_FLOAT_EQ(choice.landUnitPrice, 6.0f);
}

// Research: the lines of the points needed, the highest level and the price,
// and the lines around them, hold a value of their own in every field; each
// test sets the fields of the technology it looks at.
class ResearchFixture : public PurchaseTest {
 protected:
  ResearchFixture() {
    SetLine(87, 1, {33.0, 35.0, 39.0});
    SetLine(88, 2, {48.0, 50.0, 52.0, 54.0, 56.0, 58.0, 62.0});
    SetLine(89, 2, {2.0, 4.0, 6.0, 7.0, 8.0, 9.0, 11.0});
    SetLine(90, 2, {4.5, 6.5, 11.0, 13.5, 15.5, 17.5, 19.5});
    SetLine(91, 2, {21.5, 22.5, 23.5, 24.5, 25.5, 26.5});
  }
};

// Research: invest while progress is low for the investments made.
struct sResearchCase {
  int technology;
  int investments;
  int chosen;
};

class ResearchTest : public ResearchFixture, public testing::WithParamInterface<sResearchCase> {};

TEST_P(ResearchTest, ProgressAndInvestmentsDecide) {
  const int t = GetParam().technology;
  SetConstant(88, t + 2, 100.0);
  SetConstant(89, t + 2, 5.0);
  settings().DesiredTechLevels.fill(0);
  settings().DesiredTechLevels[t] = 3;
  country().researchProgress[t] = 30;
  country().techInvestments[t] = GetParam().investments;
  EXPECT_EQ(ai().ChooseResearch(), GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(Investments, ResearchTest,
                         testing::Values(sResearchCase{0, 1, 0}, sResearchCase{0, 2, -1}, sResearchCase{2, 0, -1},
                                         sResearchCase{5, 1, 5}));

// A technology is researched only below both the country's desired level
// and the scenario's highest level.
struct sResearchLevelCase {
  const char* name;
  int level;
  int desired;
  int highest;
  bool researched;
};

class ResearchLevelTest : public ResearchFixture, public testing::WithParamInterface<sResearchLevelCase> {};

TEST_P(ResearchLevelTest, NoResearchAtTheDesiredOrHighestLevel) {
  const sResearchLevelCase& c = GetParam();
  SetConstant(88, 2, 100.0);
  SetConstant(89, 2, c.highest);
  settings().DesiredTechLevels.fill(0);
  settings().DesiredTechLevels[0] = c.desired;
  country().techLevels[0] = c.level;
  country().researchProgress[0] = 0;
  country().techInvestments[0] = 0;
  EXPECT_EQ(ai().ChooseResearch(), c.researched ? 0 : -1);
}

INSTANTIATE_TEST_SUITE_P(Levels, ResearchLevelTest,
                         testing::Values(sResearchLevelCase{"BelowBoth", 2, 3, 5, true},
                                         sResearchLevelCase{"AtTheDesired", 3, 3, 5, false},
                                         sResearchLevelCase{"AtTheHighest", 3, 5, 3, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ResearchFixture, ResearchInvestmentIsBought) {
  SetConstant(88, 3, 100.0);
  SetConstant(89, 3, 5.0);
  SetConstant(90, 3, 7.0);
  settings().DesiredTechLevels = {0, 2, 0, 0, 0, 0, 0};
  country().productionPoints = 10.0;

  ai().MakePurchases();

  EXPECT_EQ(country().techInvestments[1], 1);
  EXPECT_DOUBLE_EQ(country().productionPoints, 3.0);
  // The second investment cannot be paid; the next turn chooses afresh.
  EXPECT_EQ(settings().PurchaseQueue, (Queue{4}));
}

}  // namespace
}  // namespace tr
