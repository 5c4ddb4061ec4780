#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/format.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "turn/game_steps.h"
#include "turn/supply.h"
#include "turn/turn_steps.h"
#include "turn/supply_fixture.h"
#include "world/topography.h"

namespace tr::test {
namespace {

// Allies hold the west of the map (columns 0-4), the axis the east (5-9).
class SupplyComputeTest : public ::testing::Test, public SupplyWorld {
 protected:
  SupplyComputeTest() {
    SetConstant(game(), 137, 1, 3);
    Control(0, 0, 4, 7, 2);
    Control(5, 0, 9, 7, 3);
  }
  ~SupplyComputeTest() override {
    SetConvoyExecutionStep({});
    SetSupplyClock({});
  }
  void Compute() { game().supply.ComputeSupply(game()); }
  int Info(const cCity* city, int countryId) { return city->supplyInfo.at(countryId - 1); }

  LogCapture log_;
};

struct sCityDrawCase {
  const char* name;
  int sourceType;  // the other city of the group
  int sourceController;
  int ownSupply;
  int expectedInfo;
  int expectedSupply;
};

class UnitOnCity : public SupplyComputeTest, public ::testing::WithParamInterface<sCityDrawCase> {};

TEST_P(UnitOnCity, DrawsTheCitysValueAtNoCost) {
  const sCityDrawCase& c = GetParam();
  cCity* city = AddCity(2, 2, kCityNormal, c.ownSupply);
  AddCity(2, 5, c.sourceType);
  hex(2, 5).controller = static_cast<std::uint8_t>(c.sourceController);
  cJednostkaLadowa* unit = AddLandUnit(1, 2, 2, 2);
  unit->turnsWithoutSupply = 1;
  Compute();
  EXPECT_EQ(Info(city, 2), c.expectedInfo);
  EXPECT_EQ(unit->supply, c.expectedSupply);
  EXPECT_EQ(unit->supplySourceX, 2);
  EXPECT_EQ(unit->supplySourceY, 2);
  EXPECT_EQ(unit->turnsWithoutSupply, 0);
  EXPECT_TRUE(log_.Contains(Format(u"land1 ciagnie zaop z c22(%i). Odl.0 daje zaop = %i", c.expectedInfo, c.expectedInfo)));
}

INSTANTIATE_TEST_SUITE_P(
    Sources, UnitOnCity,
    ::testing::Values(sCityDrawCase{"OwnSupplyCity", kCitySupply, 2, 4, 10, 10},
                      sCityDrawCase{"LeadersSupplyPort", kCitySupplyPort, 1, 4, 10, 10},
                      sCityDrawCase{"AllysSupplyCityIsNoSource", kCitySupply, 5, 4, 4, 4},
                      sCityDrawCase{"PortIsNoSource", kCityPort, 2, 4, 4, 4},
                      sCityDrawCase{"NoSourceAndNoOwnSupplyStillGivesOne", kCityNormal, 2, 0, 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SupplyComputeTest, GroupWithoutSourceKeepsOwnSupplyAndLogsIt) {
  cCity* a = AddCity(1, 1, kCityNormal, 3);
  cCity* b = AddCity(3, 3, kCityPort, 6);
  Compute();
  EXPECT_EQ(Info(a, 2), 3);
  EXPECT_EQ(Info(b, 2), 6);
  EXPECT_TRUE(log_.Contains(u"c11 nie ma poĹ‚Ä…czenia ze Ĺşr. zaop. Zaopatrzenie = 3"));
  EXPECT_TRUE(log_.Contains(u"c33 nie ma poĹ‚Ä…czenia ze Ĺşr. zaop. Zaopatrzenie = 6"));
}

TEST_F(SupplyComputeTest, SupplyFallsWithThePathCost) {
  AddCity(0, 0, kCitySupply);
  SetConstant(game(), 16, 3, 3);  // terrain 2
  hex(0, 1).terrain = 2;
  cJednostkaLadowa* unit = AddLandUnit(1, 2, 0, 2);
  unit->turnsWithoutSupply = 2;
  Compute();
  // (1,2), (1,1), (0,0) cost 1 each, less than 3 + 1 through the dear (0,1).
  EXPECT_EQ(unit->supply, 7);
  EXPECT_EQ(unit->turnsWithoutSupply, 1);
  EXPECT_TRUE(log_.Contains(u"land1 ciagnie zaop z c00(10). Odl.3 daje zaop = 7"));
}

TEST_F(SupplyComputeTest, LandUnitCountsTurnsUntilTheLimitAirUnitIsCutOffAtOnce) {
  AddCity(0, 0, kCitySupply);
  Control(6, 6, 6, 6, 2);  // an allied pocket in axis ground, without a city
  cJednostkaLadowa* land = AddLandUnit(1, 2, 6, 6);
  land->supply = 7;
  land->supplySourceX = 0;
  land->supplySourceY = 0;
  Control(8, 6, 8, 6, 2);
  cJednostkaLotnicza* air = AddAirUnit(2, 2, 8, 6);
  air->supply = 7;
  air->supplySourceX = 0;
  air->supplySourceY = 0;  // both halves of the source are written to a save

  Compute();
  EXPECT_EQ(air->supply, 0);
  EXPECT_EQ(air->supplySourceX, -1);
  EXPECT_EQ(air->supplySourceY, -1);
  EXPECT_TRUE(log_.Contains(u"air2 jest caďż˝kowicie odciďż˝ta od zaopatrzenia!"));
  const std::vector<int> turns{1, 2, 2};
  const std::vector<int> supply{7, 7, 0};
  for (std::size_t impulse = 0; impulse < turns.size(); ++impulse) {
    if (impulse > 0) Compute();
    EXPECT_EQ(land->turnsWithoutSupply, turns[impulse]) << impulse;
    EXPECT_EQ(land->supply, supply[impulse]) << impulse;
    EXPECT_EQ(land->supplySourceX, impulse < 2 ? 0 : -1) << impulse;
    EXPECT_EQ(land->supplySourceY, impulse < 2 ? 0 : -1) << impulse;
  }
  EXPECT_TRUE(log_.Contains(u"land1 jest caďż˝kowicie odciďż˝ta od zaopatrzenia!"));
}

TEST_F(SupplyComputeTest, NeutralAtPeaceGivesEveryUnitHalfTheMaximum) {
  SetConstant(game(), 48, 1, 11);
  Control(0, 0, 9, 0, 4);
  cJednostkaLadowa* land = AddLandUnit(1, 4, 9, 7);  // on axis ground, far from any city
  cJednostkaLotnicza* air = AddAirUnit(2, 4, 0, 0);
  land->turnsWithoutSupply = 2;
  Compute();
  EXPECT_EQ(land->supply, 5);
  EXPECT_EQ(air->supply, 5);
  EXPECT_EQ(land->turnsWithoutSupply, 2);
  EXPECT_TRUE(log_.Contains(u"Country4 nie prowadzi wojny, wszystkie jednostki dostajďż˝ zaop. pokojowe"));
}

TEST_F(SupplyComputeTest, NeutralAtWarDrawsFromItsOwnGroups) {
  War(4, 3);
  Control(0, 7, 9, 7, 4);
  cCity* city = AddCity(0, 7, kCitySupply);
  cJednostkaLadowa* unit = AddLandUnit(1, 4, 3, 7);
  AddLandUnit(2, 2, 3, 6);  // an ally next to it cannot draw from a neutral's city
  Compute();
  EXPECT_EQ(Info(city, 4), 10);
  EXPECT_EQ(unit->supply, 7);
  EXPECT_TRUE(log_.Contains(u"*** Licze zaopatrzenie dla kraju neutralnego Country4 ***"));
  EXPECT_TRUE(log_.Contains(u"Country4 to kraj neutralny."));
  ASSERT_NE(game().strategicMovement->GetCountryTopography(4), nullptr);
  EXPECT_EQ(game().strategicMovement->GetCountryTopography(4)->size(), 1u);
}

TEST_F(SupplyComputeTest, AllianceWithoutLeaderUsesOwnSupplyCitiesOnly) {
  country(5).alliance = kComintern;  // the comintern has no leader
  Control(0, 0, 1, 1, 5);
  cCity* own = AddCity(0, 0, kCitySupply);
  cJednostkaLadowa* unit = AddLandUnit(1, 5, 1, 1);
  Compute();
  EXPECT_EQ(Info(own, 5), 10);
  EXPECT_EQ(unit->supply, 9);
  EXPECT_TRUE(log_.Contains(u"Alliance 3 has no leader: Country5 draws only on its own supply cities"));
  EXPECT_TRUE(log_.Contains(u"Liderem aliantďż˝w jest kraj o id=1"));
  EXPECT_TRUE(log_.Contains(u"Liderem osi jest kraj o id=3"));
}

TEST_F(SupplyComputeTest, ConvoysRunBetweenCityLevelsAndTheUnitsDraw) {
  cCity* city = AddCity(2, 2, kCityNormal, 2);
  cJednostkaLadowa* unit = AddLandUnit(1, 2, 2, 2);
  std::vector<int> countries;
  SetConvoyExecutionStep([&](cGame&, int countryId, SupplyCityGroups& groups, SupplyResults& results) {
    countries.push_back(countryId);
    if (countryId != 2) return;
    // A convoy brought supply into the city after its level was set.
    EXPECT_EQ(Info(city, 2), 2);
    EXPECT_EQ(&groups, &game().supply.alliesGroups);
    EXPECT_EQ(&results, &game().supply.alliesResults);
    city->supplyInfo[1] = 9;
  });
  country(2).seaTransportPoints = 4;
  country(2).seaTransportUsedByConvoys = 6;
  Compute();
  EXPECT_EQ(unit->supply, 9);
  EXPECT_EQ(countries, (std::vector<int>{1, 2, 3, 5, 4}));
  const std::vector<std::u16string> lines = log_.lines();
  const auto before = std::find(lines.begin(), lines.end(), u"PRZED KONWOJAMI Country2, STP obecne:4  z konwojow z poprzedniej tury:6");
  const auto after = std::find(lines.begin(), lines.end(), u"PO KONWOJACH Country2, STP obecne:4  z konwojow wrociďż˝o: 6");
  const auto draw = std::find(lines.begin(), lines.end(), u"land1 ciagnie zaop z c22(9). Odl.0 daje zaop = 9");
  EXPECT_TRUE(before < after && after < draw && draw != lines.end());
}

// With no step put in its place the game's own convoy execution runs: the
// transport its convoys used last turn comes back to each country. The city
// groups are found per alliance, and per country for a neutral at war.
TEST_F(SupplyComputeTest, WithoutAnInstalledStepTheGamesConvoysRun) {
  game().convoys.Reset(game().CountryCount());
  country(2).seaTransportPoints = 4;
  country(2).seaTransportUsedByConvoys = 6;
  War(4, 3);
  Compute();
  EXPECT_EQ(country(2).seaTransportPoints, 10);
  EXPECT_EQ(country(2).seaTransportUsedByConvoys, 0);
  for (const char16_t* line : {u"Wyznaczam grupe miast dla sojuszu = 1", u"Wyznaczam grupe miast dla sojuszu = 3",
                               u"Wyznaczam grupe miast dla kraju = 4"}) {
    EXPECT_TRUE(log_.Contains(line)) << Utf16ToUtf8(line);
  }
  EXPECT_FALSE(log_.ContainsText(u"dla sojuszu = -1"));
}

TEST_F(SupplyComputeTest, NeutralBroughtIntoWarByItsConvoysRunsThemOnceAndKeepsItsSupply) {
  cJednostkaLadowa* unit = AddLandUnit(1, 4, 9, 7);
  unit->supply = 3;
  int runs = 0;
  SetConvoyExecutionStep([&](cGame&, int countryId, SupplyCityGroups&, SupplyResults&) {
    if (countryId != 4) return;
    ++runs;
    War(4, 3);
  });
  Compute();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(unit->supply, 3);
  EXPECT_EQ(unit->turnsWithoutSupply, 0);
  EXPECT_FALSE(log_.Contains(u"Country4 nie prowadzi wojny, wszystkie jednostki dostajďż˝ zaop. pokojowe"));
}

TEST_F(SupplyComputeTest, TimingLinesUseTheClock) {
  std::vector<std::int64_t> ticks{1000, 1030, 2000, 2075};
  std::size_t next = 0;
  SetSupplyClock([&] { return ticks.at(next++); });
  Compute();
  EXPECT_EQ(next, ticks.size());
  EXPECT_TRUE(log_.Contains(u"PERFORMANCE: Determining supply sources for units of alliance countries TIME = 30 ms"));
  EXPECT_TRUE(log_.Contains(
      u"PERFORMANCE: Calculating supply for units of alliance countries (including convoy executions) TIME = 75 ms"));
}

TEST_F(SupplyComputeTest, MisnumberedCountryIsLoggedAndComputed) {
  country(5).id = 9;
  AddCity(1, 1, kCitySupply);
  hex(1, 1).controller = 5;
  cJednostkaLadowa* unit = AddLandUnit(1, 5, 1, 2);
  Compute();
  EXPECT_TRUE(log_.Contains(u"ERROR: Pod indeksem 4 w wektorze paĹ„stw jest panstwo o ID 9 (Country5)!!!"));
  EXPECT_EQ(unit->supply, 9);
}

TEST_F(SupplyComputeTest, AlliesShareTheirGroupsAsTopography) {
  AddCity(1, 1);
  AddCity(3, 6);
  AddCity(7, 7);
  Compute();
  for (int id : {1, 2, 5}) {
    ASSERT_NE(game().strategicMovement->GetCountryTopography(id), nullptr);
    ASSERT_EQ(game().strategicMovement->GetCountryTopography(id)->size(), 1u) << id;
    EXPECT_EQ(game().strategicMovement->GetCountryTopography(id)->front().cities.size(), 2u) << id;
  }
  EXPECT_EQ(game().strategicMovement->GetCountryTopography(3)->front().cities.size(), 1u);
}

// The game's steps: the whole supply step and the computer's turn, which
// here finds no current country to play.
TEST_F(SupplyComputeTest, TheGameInstallsTheWholeSupplyStepAndTheComputersTurn) {
  InstallGameSteps();
  ComputeSupplyStep(game());
  game().playerControl.currentCountry = nullptr;
  PlayComputerTurn(game(), country(3));
  UninstallGameSteps();
  EXPECT_TRUE(log_.Contains(u"[AI] No current country: the computer's turn is not played"));
  const std::vector<std::u16string> lines = log_.lines();
  const auto start = std::find(lines.begin(), lines.end(), u"Rozpoczynam obliczanie zaopatrzenia...");
  const auto harbours = std::find(start, lines.end(), u"Ciagne zaopatrzenie z mulberry...");
  const auto ships = std::find(harbours, lines.end(), u"Ciagne zaopatrzenie ze statkow");
  EXPECT_NE(ships, lines.end());
}

}  // namespace
}  // namespace tr::test
