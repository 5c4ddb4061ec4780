#include <gtest/gtest.h>

#include "foundation/format.h"
#include "foundation/string_base.h"

#include "foundation/random.h"
#include "scenario/scenario_constants_layout.h"
#include "support/log_capture.h"
#include "turn/convoy.h"
#include "units/jednostka_morska.h"
#include "world/commander.h"
#include "world/headless_presentation.h"
#include "rules_fixture.h"

namespace tr {
namespace {

class CountryEconomy : public testing::Test {
 protected:
  CountryEconomy() : world(4, 1, 3) {
    test::HoldAll(world, 1);
    for (int i = 1; i <= 3; ++i) world.country(i).warEconomy = 100.0f;
  }
  cCountry& c1() { return world.country(1); }
  void Constant(int slot, double value) { world.game().constants.SetSlot(slot, value); }

  cHeadlessPresentation screen;
  ScopedPresentation scoped{screen};
  test::TestWorld world;
};

TEST_F(CountryEconomy, DoctrineCountersReachLevelTwoInOneCheck) {
  c1().doctrineMonths = {0, 0, 5, 5, 5};
  c1().humanControlled = 1;
  c1().CheckDoctrineLevel();
  EXPECT_EQ(c1().techLevels[2], 2);
  EXPECT_EQ(c1().doctrineMonths, (std::array<std::int32_t, 5>{-1, -1, 4, 4, 4}));
  EXPECT_EQ(screen.CountEvents(u"text"), 2);
  c1().humanControlled = 0;
  c1().techLevels[2] = 5;
  c1().doctrineMonths = {};
  c1().CheckDoctrineLevel();
  EXPECT_EQ(c1().techLevels[2], 5);
}

TEST_F(CountryEconomy, ProductionAddsCitiesByKindAndModifiers) {
  Constant(consts_layout::kCountryValues, 0.5);      // occupied
  Constant(consts_layout::kCountryValues + 1, 0.25);  // annexed
  Constant(consts_layout::kCountryValues + 2, 1.0);   // share
  const auto city = [&](int x, int type, float pp, int controller, int owner, int original) {
    test::AddCity(world, x, 0, type).productionPoints = pp;
    sHex& hex = world.hex(x, 0);
    hex.controller = static_cast<std::uint8_t>(controller);
    hex.owner = static_cast<std::uint8_t>(owner);
    hex.originalOwner = static_cast<std::uint8_t>(original);
  };
  city(0, kCityResources, 7, 1, 2, 2);
  city(1, kCitySupply, 10, 1, 2, 1);  // own: originally its own
  city(2, kCityNormal, 8, 1, 2, 2);   // occupied
  city(3, kCityNormal, 4, 1, 1, 3);   // annexed, with a share of country 3's losses
  world.game().relations.AddLosses(1, 3, 1.0f);
  world.game().relations.UpdateLossesShares();
  c1().socialUnrest = 20.0f;
  c1().humanControlled = 1;
  c1().difficulty = 3;
  const sCountryReport report = c1().CollectProduction();
  // 7 + 10 + 4 + 1 + 4 = 26, times 0.8 x 1.0 x 1.5.
  EXPECT_NEAR(c1().productionPoints, 31.2, 1e-4);
  EXPECT_NE(report.text.find(u"Resources: 7.0 PP\nOwn cities: 10.0 PP\nOccupied cities: 4.0 PP\n"
                             u"Annexed cities: 1.0 PP\nShare from annexed cities: 4.0 PP\n\nTotal production: 26.0 PP"),
            std::u16string::npos);
  EXPECT_NE(report.text.find(u"Civil Order: 80.0%\nWar Economy: 100.0%\nDifficulty level: 150.0%\n\n"
                             u"Total modifier: 120.0%\n\n\nCollected: 31.2 PP"),
            std::u16string::npos);
}

TEST_F(CountryEconomy, UpkeepChargesLandAndAirStrength) {
  Constant(consts_layout::kCountryFactor, 0.1);
  Constant(consts_layout::kLandBaseValue + 7, 100.0);
  c1().unitUpkeepModifier = 2.0f;
  c1().productionPoints = 50.0;
  test::AddLandUnit(world, 0, 0, 1, 20);
  test::AddLandUnit(world, 1, 0, 2, 50);  // another country's
  const sCountryReport report = c1().PayUnitUpkeep();
  EXPECT_NEAR(c1().productionPoints, 46.0, 1e-4);
  EXPECT_NE(report.text.find(u"20.00"), std::u16string::npos);
  EXPECT_NE(report.text.find(u"4.00"), std::u16string::npos);
}

TEST_F(CountryEconomy, ResearchFollowsItsReportWithASeededGenerator) {
  Constant(consts_layout::kResearchTableA + 0, 10);  // cost of an artillery level
  Constant(consts_layout::kResearchTableB + 0, 3);   // artillery maximum
  Constant(consts_layout::kResearchTableA + 1, 1000);
  Constant(consts_layout::kResearchTableB + 1, 5);
  Constant(consts_layout::kResearchTableB + 6, 0);   // the bomb is at its maximum
  c1().techInvestments = {3, 2, 0, 0, 0, 0, 1};
  c1().researchProgress = {7, 0, 0, 0, 0, 0, 0};
  SeedRandom(42);
  const int artillery = RandomSum(3, 1, 6);
  const int tanks = RandomSum(2, 1, 6);
  SeedRandom(42);
  const sCountryReport report = c1().ProgressResearch();
  ASSERT_GE(7 + artillery, 10);  // three dice from 7 always reach the cost
  EXPECT_EQ(c1().techLevels[0], 1);
  EXPECT_EQ(c1().techInvestments[0], 0);
  EXPECT_EQ(c1().researchProgress[0], 0);
  EXPECT_EQ(c1().researchProgress[1], tanks);
  EXPECT_EQ(c1().nuclearBombs, 1);
  const int months = static_cast<int>((1000 - tanks) / 7.0 + 0.5);
  const std::u16string tankLine = Format(GetText("progress_increased_from_%i_to_%i._estimated_completion_time:_%i_months."),
                                         0, tanks, months);
  EXPECT_NE(report.text.find(tankLine), std::u16string::npos);
  EXPECT_NE(report.text.find(GetText("no_investments.")), std::u16string::npos);
  EXPECT_NE(report.text.find(Format(GetText("level_%i_reached!"), 1)), std::u16string::npos);
}

// A human country's production scales with its difficulty level, 0 to 4;
// a computer country and an unknown level produce the plain amount.
struct DifficultyCase {
  int difficulty;
  bool human;
  double collected;
};
class ProductionDifficulty : public CountryEconomy, public testing::WithParamInterface<DifficultyCase> {};

TEST_P(ProductionDifficulty, ScalesAHumanCountrysProduction) {
  const DifficultyCase& c = GetParam();
  test::AddCity(world, 0, 0, kCityResources).productionPoints = 10.0f;
  c1().humanControlled = c.human ? 1 : 0;
  c1().difficulty = c.difficulty;
  c1().CollectProduction();
  EXPECT_NEAR(c1().productionPoints, c.collected, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(Levels, ProductionDifficulty,
                         testing::Values(DifficultyCase{0, true, 5.0}, DifficultyCase{3, true, 15.0},
                                         DifficultyCase{4, true, 20.0}, DifficultyCase{5, true, 10.0},
                                         DifficultyCase{4, false, 10.0}));

// One die of research (a 1, from draw 0) on a cost of 10: progress that lands
// exactly on the cost raises the level.
class ResearchCost : public CountryEconomy, public testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(ResearchCost, ALevelIsReachedWhenProgressMeetsTheCost) {
  const auto [progress, level] = GetParam();
  Constant(consts_layout::kResearchTableA + 0, 10);
  Constant(consts_layout::kResearchTableB + 0, 3);
  c1().techInvestments = {1, 0, 0, 0, 0, 0, 0};
  c1().researchProgress = {progress, 0, 0, 0, 0, 0, 0};
  ScopedRandomDraws draws({0});
  c1().ProgressResearch();
  EXPECT_EQ(draws.remaining(), 0u);
  EXPECT_EQ(c1().techLevels[0], level);
  EXPECT_EQ(c1().researchProgress[0], level == 1 ? 0 : progress + 1);
}

INSTANTIATE_TEST_SUITE_P(Progress, ResearchCost, testing::Values(std::pair{8, 0}, std::pair{9, 1}));

// The doctrine's next level comes with the monthly check that runs its
// counter down to 0.
class DoctrineMonths : public CountryEconomy, public testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(DoctrineMonths, TheNextLevelComesWhenItsCounterRunsOut) {
  const auto [months, level] = GetParam();
  c1().techLevels[2] = 0;
  c1().doctrineMonths = {months, 5, 5, 5, 5};
  c1().CheckDoctrineLevel();
  EXPECT_EQ(c1().techLevels[2], level);
}

INSTANTIATE_TEST_SUITE_P(Counters, DoctrineMonths, testing::Values(std::pair{1, 1}, std::pair{2, 0}));

TEST_F(CountryEconomy, SurrenderSharesVictoryAndHandsOverTerritory) {
  test::SetWar(world, 1, 2);
  test::SetWar(world, 1, 3);
  world.game().relations.AddLosses(3, 1, 3.0f);
  world.game().relations.AddLosses(2, 1, 1.0f);
  const sCountryReport report = c1().Surrender();
  EXPECT_EQ(report.title, Format(GetText("%s_surrenders_to_%s"), u"Country1", u"Country3"));
  const std::u16string first = Format(GetText("%s:_%.2f%%"), u"Country3", 75.0f);
  const std::u16string second = Format(GetText("%s:_%.2f%%"), u"Country2", 25.0f);
  EXPECT_LT(report.text.find(first), report.text.find(second));
  EXPECT_EQ(world.hex(0, 0).controller, 3);
  EXPECT_FALSE(c1().isActive);
  EXPECT_FALSE(world.game().relations.IsAtWar(1, 2));
}

TEST_F(CountryEconomy, SurrenderWithoutLossesSharesEquallyAndWithoutVictorKeepsTerritory) {
  test::SetWar(world, 1, 2);
  test::SetWar(world, 1, 3);
  const sCountryReport report = c1().Surrender();
  EXPECT_NE(report.text.find(Format(GetText("%s:_%.2f%%"), u"Country2", 50.0f)), std::u16string::npos);
  EXPECT_EQ(world.hex(0, 0).controller, 2);

  test::TestWorld lone(2, 1, 2);
  test::HoldAll(lone, 1);
  test::LogCapture log;
  lone.country(1).Surrender();
  EXPECT_TRUE(log.ContainsText(u"no active country dealt it losses"));
  EXPECT_EQ(lone.hex(0, 0).controller, 1);
}

// A country that is gone can never place its reserve: land and air units go,
// and a headquarters among them lets its commander go first.
TEST_F(CountryEconomy, SurrenderDestroysTheWholeReserve) {
  test::SetWar(world, 1, 2);
  auto commander = std::make_unique<sCommander>();
  commander->countryId = 1;
  sCommander& general = *commander;
  world.game().commanders.push_back(std::move(commander));
  const auto reserve = [&](auto unit, int owner) {
    unit->owner = owner;
    unit->inReserve = 1;
    auto& made = *unit;
    world.game().reservePool.push_back(std::move(unit));
    return &made;
  };
  cJednostkaLadowa* headquarters = reserve(std::make_unique<cJednostkaLadowa>(), 1);
  headquarters->attachedCommander = &general;
  general.headquarters = headquarters;
  reserve(std::make_unique<cJednostkaLotnicza>(), 1);
  const cJednostka* kept = reserve(std::make_unique<cJednostkaLadowa>(), 2);
  // The ships in reserve go too, and the first of its convoys.
  for (const int owner : {2, 1, 3}) {
    world.game().navalReserve.push_back(std::make_unique<cJednostkaMorska>());
    world.game().navalReserve.back()->owner = owner;
    world.game().navalReserve.back()->id = owner + 20;
  }
  world.game().convoys.Reset(3);
  for (const int id : {34, 35}) world.game().convoys.ConvoysOf(1).push_back(sConvoy{.id = id, .owner = 1});
  world.game().convoys.ConvoysOf(2).push_back(sConvoy{.id = 36, .owner = 2});

  c1().Surrender();

  ASSERT_EQ(world.game().reservePool.size(), 1u);
  EXPECT_EQ(world.game().reservePool.front().get(), kept);
  EXPECT_EQ(general.headquarters, nullptr);
  std::vector<int> ships;
  for (const auto& ship : world.game().navalReserve) ships.push_back(ship->id);
  EXPECT_EQ(ships, (std::vector<int>{22, 23}));
  ASSERT_EQ(world.game().convoys.ConvoysOf(1).size(), 1u);
  EXPECT_EQ(world.game().convoys.ConvoysOf(1).front().id, 35);
  EXPECT_EQ(world.game().convoys.ConvoysOf(2).size(), 1u);
}

TEST_F(CountryEconomy, VictoryCitiesDecideSurrender) {
  cCity& city = test::AddCity(world, 0, 0);
  city.victoryPoints = 1;
  EXPECT_FALSE(c1().HasLostAllVictoryCities());  // at war with nobody
  test::SetWar(world, 1, 2);
  EXPECT_FALSE(c1().HasLostAllVictoryCities());
  world.hex(0, 0).controller = 2;  // owned but not controlled
  EXPECT_TRUE(c1().HasLostAllVictoryCities());
  c1().politicalStrength = -1;
  EXPECT_FALSE(c1().HasLostAllVictoryCities());
}

}  // namespace
}  // namespace tr
