#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>
#include <string>

#include "foundation/format.h"
#include "foundation/random.h"
#include "turn/convoy_fixture.h"
#include "world/gra.h"

namespace tr::test {
namespace {

class ConvoyExecutionTest : public ::testing::Test, public ConvoyWorld {
 protected:
  ConvoyExecutionTest() {
    for (int i = 0; i < 4; ++i) AddServedUnit(1, destination);  // need 8
  }
};

// Each case breaks some checks; the first in order writes the details.
struct sCheckCase {
  const char* name;
  int kind;
  int amount;
  std::function<void(ConvoyExecutionTest&)> setUp;
  std::u16string details;
};

class FailedCheck : public ConvoyExecutionTest, public ::testing::WithParamInterface<sCheckCase> {};

TEST_P(FailedCheck, EndsTheConvoyUnexecutedWithTheFirstFailingCheck) {
  const sCheckCase& c = GetParam();
  sConvoy& convoy = AddConvoy(c.kind, c.amount);
  c.setUp(*this);
  const int points = country(1).seaTransportPoints;
  const sConvoyResult result = Execute(convoy);
  EXPECT_EQ(result.result, u"convoy_not_executed");
  EXPECT_EQ(result.details, c.details);
  EXPECT_EQ(result.pointsCarried, 0);
  EXPECT_EQ(country(1).seaTransportPoints, points);
  EXPECT_EQ(country(1).seaTransportUsedByConvoys, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, FailedCheck,
    ::testing::Values(
        sCheckCase{"SameCity", kConvoySupplies, 8, [](ConvoyExecutionTest& t) { t.game().convoys.ConvoysOf(1).front().destination = t.departure; },
                   u"convoy_not_executed:_departure_city_is_the_same_like_arrival_city!"},
        sCheckCase{"NeutralAtPeace", kConvoySupplies, 8, [](ConvoyExecutionTest& t) { t.country(1).alliance = kNeutral; t.game().relations.MakePeaceWithAll(1); },
                   u"convoy_not_executed:_supply_convoys_are_not_executed_for_neutral_countries_not_waging_war_(like_"
                   u"Country1),_all_units_owned_by_such_countries_recieve_peace-time_supply_(half_of_max_supply)_"
                   u"automatically."},
        // Checks 3 and 11 fail: 3 comes first.
        sCheckCase{"ResourcesFromCityNotHeld", kConvoyResources, 0, [](ConvoyExecutionTest& t) { t.hex(t.departure).controller = 2; },
                   u"convoy_not_executed:_for_resource_convoys,_departure_city_must_be_controlled_by_convoy's_owner._"
                   u"Dep_is_not_controlled_by_Country1."},
        // Checks 4, 8 and 9 fail: 4 comes first.
        sCheckCase{"SuppliesToEnemy", kConvoySupplies, 8, [](ConvoyExecutionTest& t) { t.hex(t.destination).controller = 3; t.destination->supplyInfo[0] = 8; },
                   u"convoy_not_executed:_Dest_is_controlled_by_enemy."},
        // Country 1 is an enemy like any other to a convoy of country 3.
        sCheckCase{"SuppliesToEnemyCountry1", kConvoySupplies, 8, [](ConvoyExecutionTest& t) { t.game().convoys.ConvoysOf(1).front().owner = 3; t.hex(t.departure).controller = 3; t.hex(t.destination).controller = 1; },
                   u"convoy_not_executed:_Dest_is_controlled_by_enemy."},
        sCheckCase{"ResourcesWithinOneCountry", kConvoyResources, 4, [](ConvoyExecutionTest& t) { t.hex(t.destination).controller = 1; },
                   u"convoy_not_executed:_both_Dep_and_Dest_are_controlled_by_Country1._transporting_resources_"
                   u"within_one_country_is_not_needed."},
        sCheckCase{"DepartureNeutral", kConvoySupplies, 8, [](ConvoyExecutionTest& t) { t.hex(t.departure).controller = 4; },
                   u"convoy_not_executed:_invalid_departure_city._Dep_must_be_friendly_controlled_to_serve_as_a_"
                   u"departure_city_for_a_convoy"},
        sCheckCase{"DepartureWithoutSource", kConvoySupplies, 8, [](ConvoyExecutionTest& t) { t.departure->supplyInfo[0] = 9; },
                   u"convoy_not_executed:_invalid_departure_city._Dep_must_have_land_connection_with_valid_supply_"
                   u"source_to_serve_as_a_departure_city_for_a_convoy"},
        sCheckCase{"DepartureSuppliedByConvoy", kConvoySupplies, 8, [](ConvoyExecutionTest& t) { t.departure->convoyInfo[0] = true; },
                   u"convoy_not_executed:_invalid_departure_city._Dep_must_have_land_connection_with_valid_supply_"
                   u"source_to_serve_as_a_departure_city_for_a_convoy"},
        sCheckCase{"SuppliesToNeutral", kConvoySupplies, 8, [](ConvoyExecutionTest& t) { t.hex(t.destination).controller = 4; },
                   u"convoy_not_executed:_cannot_send_supplies_to_enemy_or_neutral_countries"},
        sCheckCase{"WellSupplied", kConvoySupplies, 8, [](ConvoyExecutionTest& t) { t.destination->supplyInfo[0] = 8; },
                   u"Convoy not executed: Dest is already well-supplied (supply=8)"},
        sCheckCase{"NoSeaRoute", kConvoySupplies, 8, [](ConvoyExecutionTest& t) { t.graph().GetNode(t.seaNode - 1).edges.clear(); },
                   u"convoy_not_executed:_there_is_no_sea_connection_between_Dep_and_Dest_(at_least_one_strait_on_"
                   u"the_way_is_not_friendly_controlled)"},
        sCheckCase{"ZeroProductionPoints", kConvoyResources, 0, [](ConvoyExecutionTest&) {},
                   u"convoy_not_executed:_convoy_cannot_transport_0_production_points"},
        sCheckCase{"NoProductionPoints", kConvoyResources, 4, [](ConvoyExecutionTest& t) { t.country(1).productionPoints = 0.9; },
                   u"convoy_not_executed:_Country1_has_no_production_points!"},
        sCheckCase{"NoUnitsServed", kConvoySupplies, 8, [](ConvoyExecutionTest& t) { t.results.clear(); },
                   u"convoy_not_executed:_there_aren't_any_units_that_could_use_supplies_provided_by_this_convoy!"},
        sCheckCase{"DestinationInNoGroup", kConvoySupplies, 8, [](ConvoyExecutionTest& t) { t.groups.pop_back(); },
                   u"CRITICAL ERROR! City Dest has not been found in any city group while determining supply convoy "
                   u"cost. Country id=1. Report this as a bug."},
        sCheckCase{"NoTransportPoints", kConvoySupplies, 8, [](ConvoyExecutionTest& t) { t.country(1).seaTransportPoints = 0; },
                   u"convoy_not_executed:_Country1_has_no_sea_transport_points"},
        sCheckCase{"ResourcesShortOfTransport", kConvoyResources, 16, [](ConvoyExecutionTest& t) { t.country(1).seaTransportPoints = 5; },
                   u"convoy_not_executed:_Country1_doesn't_have_enough_sea_transport_points_to_execute_this_convoy_(5_"
                   u"available,_8_needed)"}),
    [](const ::testing::TestParamInfo<sCheckCase>& info) { return std::string(info.param.name); });

TEST_F(ConvoyExecutionTest, ResourcesBeyondTheProductionPointsCarryTheWholePointsAvailable) {
  country(1).productionPoints = 6.5;
  sConvoy& convoy = AddConvoy(kConvoyResources, 10);
  const sConvoyResult result = Execute(convoy);
  EXPECT_EQ(result.result, u"success");
  EXPECT_EQ(result.pointsNeeded, 3);  // 6 x 0.5
  EXPECT_EQ(result.pointsCarried, 3);
  EXPECT_EQ(result.details.rfind(u"note:_this_convoy_was_supposed_to_carry_resources_worth_10_pp,_while_Country1_has_"
                                 u"only_6_pp._amount_of_pp_carried_by_convoy_has_been_set_to_6._convoy_route:_",
                                 0),
            0u);
  EXPECT_DOUBLE_EQ(country(1).productionPoints, 0.5);
  EXPECT_DOUBLE_EQ(country(2).productionPoints, 6.0);
  EXPECT_NE(result.details.find(u"convoy_arrives,_carrying_resources_worth_6.0_production_points._Country2_collects_6.0_"
                                u"pp._"),
            std::u16string::npos);
  EXPECT_EQ(convoy.amount, 10);  // the standing order keeps its amount
}

// A single transport point is some transport: the supplies it carries sail.
TEST_F(ConvoyExecutionTest, OneTransportPointStillCarriesSupplies) {
  country(1).seaTransportPoints = 1;
  const sConvoyResult result = Execute(AddConvoy(kConvoySupplies, 8));
  EXPECT_EQ(result.result, u"success");
  EXPECT_EQ(result.pointsCarried, 1);
  EXPECT_EQ(country(1).seaTransportPoints, 0);
}

TEST_F(ConvoyExecutionTest, SuppliesShortOfTransportCarryWhatIsAvailableWithTheWarning) {
  country(1).seaTransportPoints = 5;
  sConvoy& convoy = AddConvoy(kConvoySupplies, 8);
  const sConvoyResult result = Execute(convoy);
  EXPECT_EQ(result.result, u"success");
  EXPECT_EQ(result.pointsNeeded, 8);
  EXPECT_EQ(result.pointsCarried, 5);
  EXPECT_EQ(result.details.rfind(u"supply_for_4_units" 
                                 u"warning:_Country1_doesn't_have_enough_sea_transport_points_to_carry_all_needed_"
                                 u"supplies_(5_available,_8_needed)._all_available_sea_transport_points_have_been_"
                                 u"used._convoy_route:_\n>>> Port1\n>>> Sea2\n>>> Port3\n",
                                 0),
            0u);
  EXPECT_EQ(country(1).seaTransportPoints, 0);
  EXPECT_EQ(country(1).seaTransportUsedByConvoys, 5);
  EXPECT_EQ(convoy.unitsServed, 4);
  EXPECT_FLOAT_EQ(convoy.transportCost, 8.0f);
  // 5 x 10 / 8
  EXPECT_EQ(destination->supplyInfo[0], 6);
}

TEST_F(ConvoyExecutionTest, NeedOfASupplyConvoyIsCappedByItsAmountAndCountsOnlyTheOwnersUnitsOfTheGroup) {
  AddServedUnit(2, destination);
  AddServedUnit(1, departure);
  AddServedUnit(1, inland, 21);  // an aircraft type: no cost, logged once
  AddServedUnit(1, inland, 21);
  sConvoy& convoy = AddConvoy(kConvoySupplies, 6);
  const sConvoyResult result = Execute(convoy);
  EXPECT_EQ(convoy.unitsServed, 6);
  EXPECT_EQ(result.pointsNeeded, 6);
  const std::vector<std::u16string> lines = log.lines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), u"Unit type 21 has no supply convoy cost, counted as 0"), 1);
}

struct sDeliveryCase {
  const char* name;
  int kind;
  int amount;
  int lost;  // the cruiser's loss, 0 without an attack
  const char16_t* result;
};

class Delivery : public ConvoyExecutionTest, public ::testing::WithParamInterface<sDeliveryCase> {};

TEST_P(Delivery, DeliversWhatSurvivesAndReturnsTheTransportNextTime) {
  const sDeliveryCase& c = GetParam();
  if (c.lost > 0) {
    for (int token = 2; token <= 7; ++token) {
      SetConstant(122, token, c.lost);
      SetConstant(123, token, c.lost);
    }
    AddFleet(3, seaNode, {kCruiser});
  }
  inland->supplyInfo[0] = 7;
  sConvoy& convoy = AddConvoy(c.kind, c.amount);
  ScopedRandomDraws draws({0, 0, 0});  // the fleet is picked and hits
  const sConvoyResult result = Execute(convoy);
  EXPECT_EQ(result.result, c.result);
  EXPECT_EQ(result.pointsLost, c.lost);
  const int carried = result.pointsCarried;
  EXPECT_EQ(carried, 8);
  if (c.kind == kConvoySupplies) {
    const int value = (carried - c.lost) * 10 / 8;
    EXPECT_EQ(destination->supplyInfo[0], std::max(2, value));
    EXPECT_EQ(inland->supplyInfo[0], std::max(7, value));
    EXPECT_TRUE(destination->convoyInfo[0]);
    EXPECT_TRUE(inland->convoyInfo[0]);
    EXPECT_FALSE(departure->convoyInfo[0]);
    if (value > 2) {
      EXPECT_TRUE(log.Contains(Format(u"Dest_takes_supply_from_convoy_(%i)_because_its_own_supply_is_lower_(2)", value)));
    }
    if (value <= 7) {
      EXPECT_TRUE(log.Contains(Format(
          u"Inland_does_not_take_supply_from_convoy_(%i)_because_its_own_supply_is_already_higher_(7)", value)));
    }
  } else {
    EXPECT_DOUBLE_EQ(country(1).productionPoints, 100.0 - c.amount);
    EXPECT_DOUBLE_EQ(country(2).productionPoints, c.amount * (carried - c.lost) / carried);
  }
  // The next execution gives back what survived.
  EXPECT_EQ(country(1).seaTransportPoints, 12);
  game().convoys.ConvoysOf(1).clear();
  ExecuteAllConvoys(game().convoys, 1, groups, results);
  EXPECT_EQ(country(1).seaTransportPoints, 12 + carried - c.lost);
}

INSTANTIATE_TEST_SUITE_P(Loads, Delivery,
                         ::testing::Values(sDeliveryCase{"SuppliesWhole", kConvoySupplies, 8, 0, u"success"},
                                           sDeliveryCase{"SuppliesHalfLost", kConvoySupplies, 8, 4, u"partial_success"},
                                           sDeliveryCase{"SuppliesMostLost", kConvoySupplies, 8, 7, u"partial_success"},
                                           sDeliveryCase{"ResourcesWhole", kConvoyResources, 16, 0, u"success"},
                                           sDeliveryCase{"ResourcesHalfLost", kConvoyResources, 16, 4, u"partial_success"},
                                           sDeliveryCase{"ResourcesThreeQuartersLost", kConvoyResources, 16, 6,
                                                         u"partial_success"}),
                         [](const ::testing::TestParamInfo<sDeliveryCase>& info) { return std::string(info.param.name); });

TEST_F(ConvoyExecutionTest, ADestroyedConvoyDeliversNothing) {
  for (int token = 2; token <= 7; ++token) {
    SetConstant(122, token, 30);
    SetConstant(123, token, 30);
  }
  AddFleet(3, seaNode, {kCruiser});
  sConvoy& convoy = AddConvoy(kConvoyResources, 16);
  ScopedRandomDraws draws({0, 0, 0});
  const sConvoyResult result = Execute(convoy);
  EXPECT_EQ(result.result, u"failure");
  EXPECT_EQ(result.pointsLost, 8);
  EXPECT_NE(result.details.find(u"convoy_was_destroyed_and_did_not_reach_its_destination._"), std::u16string::npos);
  EXPECT_DOUBLE_EQ(country(1).productionPoints, 100.0);
  EXPECT_DOUBLE_EQ(country(2).productionPoints, 0.0);
  EXPECT_EQ(country(1).seaTransportUsedByConvoys, 0);
}

TEST_F(ConvoyExecutionTest, ExecutingAllFilesReportsOnlyAfterTheFirstTurnAndKeepsTheResults) {
  country(1).seaTransportUsedByConvoys = 3;
  AddConvoy(kConvoySupplies, 8);
  AddConvoy(kConvoyResources, 0);
  game().turn = 0;
  ExecuteAllConvoys(game().convoys, 1, groups, results);
  EXPECT_EQ(country(1).seaTransportPoints, 23 - 8);
  EXPECT_TRUE(game().reports.Reports().empty());
  ASSERT_EQ(game().convoys.results[0].size(), 2u);
  EXPECT_EQ(game().convoys.results[0][1].kindText, u"resources_(0_pp)");
  EXPECT_EQ(game().convoys.results[0][0].kindText, u"supplies");

  game().turn = 1;
  destination->supplyInfo[0] = 2;
  ExecuteAllConvoys(game().convoys, 1, groups, results);
  ASSERT_EQ(game().convoys.results[0].size(), 2u);
  ASSERT_EQ(game().reports.Reports().size(), 2u);
  const sReport& first = game().reports.Reports().front();
  EXPECT_EQ(first.type, 24);
  EXPECT_EQ(first.country, 1);
  EXPECT_EQ(first.text.rfind(u"Convoy with 8 of supply from Dep to Dest\n\nResult: success\n\nDetails: supply_for_4_units", 0),
            0u);
  EXPECT_EQ(game().reports.Reports().back().text,
            u"Convoy with 0 of PP from Dep to Dest\n\nResult: convoy_not_executed\n\nDetails: "
            u"convoy_not_executed:_convoy_cannot_transport_0_production_points");
  EXPECT_TRUE(log.Contains(u"Dodawanie raportu o wykonanym konwoju (indeks 1)"));
  EXPECT_TRUE(log.Contains(u"executing_all_convoys_for_Country1"));
}

TEST_F(ConvoyExecutionTest, ACountryMissingFromTheManagerIsLoggedAndGetsItsEntries) {
  game().convoys.convoys.resize(2);
  game().convoys.results.resize(2);
  ExecuteAllConvoys(game().convoys, 4, groups, results);
  EXPECT_TRUE(log.Contains(
      u"Wektor rezultatow konwojow panstw jest za maĹ‚y (2 elementow), nie ma wpisu dla panstwa o ID 4"));
  EXPECT_TRUE(log.Contains(u"Wektor konwojow panstw jest za maĹ‚y (2 elementow), nie ma wpisu dla panstwa o ID 4"));
  EXPECT_EQ(game().convoys.convoys.size(), 4u);
}

}  // namespace
}  // namespace tr::test
