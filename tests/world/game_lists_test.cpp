// The game's lookups over its lists, the kill-first operations, the city
// passes and the scripted effects on land units.
#include <gtest/gtest.h>

#include "support/log_capture.h"
#include "units/unit_fixture.h"

namespace tr {
namespace {

using test::UnitWorld;

// A land unit whose removal is under the test's control.
class ScriptedKillUnit : public cJednostkaLadowa {
 public:
  explicit ScriptedKillUnit(bool leaves) : leaves_(leaves) {}
  void Kill() override {
    if (!leaves_) return;
    gGame->landUnits.remove_if([this](const auto& unit) { return unit.get() == this; });
  }

 private:
  bool leaves_;
};

class GameLists : public UnitWorld {
 protected:
  ScriptedKillUnit& AddScripted(int owner, bool leaves) {
    auto unit = std::make_unique<ScriptedKillUnit>(leaves);
    unit->owner = owner;
    ScriptedKillUnit& ref = *unit;
    game().landUnits.push_back(std::move(unit));
    return ref;
  }
};

TEST_F(GameLists, UnitNumbersInUseAcrossListsAndReserve) {
  EXPECT_FALSE(game().IsLandUnitIdUsed(0));
  AddLand(1, 1, 1).id = 3;
  auto aboard = std::make_unique<cJednostkaLadowa>();
  aboard->id = 4;
  game().aboardUnitsB.push_back(std::move(aboard));
  auto reserveLand = std::make_unique<cJednostkaLadowa>();
  reserveLand->id = 5;
  game().reservePool.push_back(std::move(reserveLand));
  auto reserveAir = std::make_unique<cJednostkaLotnicza>();
  reserveAir->id = 6;
  game().reservePool.push_back(std::move(reserveAir));
  AddAir(1, 2, 2).id = 7;
  for (int id : {3, 4, 5}) EXPECT_TRUE(game().IsLandUnitIdUsed(id)) << id;
  for (int id : {6, 7}) EXPECT_FALSE(game().IsLandUnitIdUsed(id)) << id;
  for (int id : {6, 7}) EXPECT_TRUE(game().IsAirUnitIdUsed(id)) << id;
  for (int id : {3, 4, 5}) EXPECT_FALSE(game().IsAirUnitIdUsed(id)) << id;
}

TEST_F(GameLists, KillLoopsEndWhenAKillMakesNoProgress) {
  AddScripted(2, true);
  AddScripted(1, true);
  AddScripted(1, false);
  test::LogCapture log;
  int kills = 0;
  while (game().KillFirstLandUnitOfCountry(1)) ++kills;
  EXPECT_EQ(kills, 1);
  EXPECT_EQ(game().landUnits.size(), 2u);
  EXPECT_TRUE(log.ContainsText(u"could not be removed"));
  EXPECT_FALSE(game().KillFirstLandUnitOfCountry(3));
  EXPECT_FALSE(game().KillFirstAirUnitOfCountry(1));
  EXPECT_FALSE(game().KillFirstNavalUnitOfCountry(1));
  EXPECT_FALSE(game().KillFirstAboardUnitOfCountryA(1));
  EXPECT_FALSE(game().KillFirstAboardUnitOfCountryB(1));
}

TEST_F(GameLists, FleetOfTheAskedCountryAtTheNode) {
  for (const auto& [id, node, country] : {std::tuple{1, 5, 2}, std::tuple{2, 5, 1}, std::tuple{3, 6, 1}}) {
    auto fleet = std::make_unique<cFleet>();
    fleet->id = id;
    fleet->seaNodeId = node;
    fleet->countryId = country;
    game().fleets.push_back(std::move(fleet));
  }
  ASSERT_NE(game().FindFleet(5, 1), nullptr);
  EXPECT_EQ(game().FindFleet(5, 1)->id, 2);
  EXPECT_EQ(game().FindFleet(5, 2)->id, 1);
  EXPECT_EQ(game().FindFleet(6, 2), nullptr);
}

TEST_F(GameLists, SurrenderPassesOnCitiesAndCommanders) {
  const int types[] = {kCitySupply, kCityNormal, kCitySupplyPort, kCityPort, kCityResources, kCitySupply};
  for (int i = 0; i < 6; ++i) {
    auto city = std::make_unique<cCity>();
    city->x = i;
    city->y = 0;
    city->type = types[i];
    city->visited = 1;
    map().GetHex(i, 0)->originalOwner = i < 5 ? 2 : 1;
    game().cities.push_back(std::move(city));
  }
  game().MarkCitiesOfOriginalOwner(2);
  std::vector<int> after;
  for (const auto& city : game().cities) after.push_back(city->type);
  EXPECT_EQ(after, (std::vector<int>{kCityNormal, kCityNormal, kCityPort, kCityPort, kCityResources, kCitySupply}));
  game().ClearCityMarks();
  for (const auto& city : game().cities) EXPECT_EQ(city->visited, 0);

  AddCommander(1, 2, 1, 1).state = kCommanderAssigned;
  AddCommander(2, 1, 1, 1).state = kCommanderAssigned;
  game().FreeCommandersOfCountry(2);
  EXPECT_EQ(game().commanders[0]->state, kCommanderNotAssigned);
  EXPECT_EQ(game().commanders[1]->state, kCommanderAssigned);
}

TEST_F(GameLists, EventEffectsBySideAndPlace) {
  country(1).alliance = kAxisLeader;
  country(2).alliance = kAllies;
  cJednostkaLadowa& corner = AddLand(1, 2, 2);
  cJednostkaLadowa& edge = AddLand(1, 5, 4);
  cJednostkaLadowa& outside = AddLand(1, 6, 4);
  cJednostkaLadowa& allied = AddLand(2, 3, 3);
  country(3).alliance = kComintern;
  cJednostkaLadowa& red = AddLand(3, 4, 3);
  game().AddEventEffectInArea(2, 2, 5, 4, 1, 10);
  EXPECT_EQ(corner.eventsEffect, 10);
  EXPECT_EQ(edge.eventsEffect, 10);
  EXPECT_EQ(outside.eventsEffect, 0);
  EXPECT_EQ(allied.eventsEffect, 0);
  EXPECT_EQ(red.eventsEffect, 0);
  game().AddEventEffectInArea(2, 2, 5, 4, 3, -6);
  EXPECT_EQ(red.eventsEffect, -6);
  EXPECT_EQ(corner.eventsEffect, 10);

  map().GetHex(3, 3)->originalOwner = 3;
  map().GetHex(6, 4)->originalOwner = 3;
  game().AddEventEffectOnCountryHexes(3, 2, -5);
  EXPECT_EQ(allied.eventsEffect, -5);
  EXPECT_EQ(outside.eventsEffect, 0);
  game().AddEventEffectOnCountryHexes(3, 1, 7);
  EXPECT_EQ(outside.eventsEffect, 7);
}

// A land unit entering the reserve has its combat value computed, which
// events may lift up to a million and no further.
TEST_F(GameLists, AUnitEnteringTheReserveHasItsCombatValueUpToAMillion) {
  const int effects[] = {0, 999900, 999950};
  for (int i = 0; i < 3; ++i) {
    cJednostkaLadowa& unit = AddLand(1, 1 + i, 1);
    unit.turnsWithoutSupply = 0;
    unit.eventsEffect = effects[i];
    unit.inReserve = 1;
  }
  game().CollectUnitReserve();
  ASSERT_EQ(game().reservePool.size(), 3u);
  EXPECT_TRUE(game().landUnits.empty());
  EXPECT_EQ(game().reservePool[0]->combatValue, 100);
  EXPECT_EQ(game().reservePool[1]->combatValue, 1000000);
  EXPECT_EQ(game().reservePool[2]->combatValue, 1000000);
}

TEST_F(GameLists, ReserveEntriesOfACountryGo) {
  for (int owner : {1, 2, 1, 3}) {
    auto unit = std::make_unique<cJednostkaLadowa>();
    unit->owner = owner;
    game().reservePool.push_back(std::move(unit));
    auto ship = std::make_unique<cJednostkaMorska>();
    ship->owner = owner;
    game().navalReserve.push_back(std::move(ship));
  }
  game().DestroyReserveUnitsOfCountry(1);
  game().DestroyReserveShipsOfCountry(3);
  ASSERT_EQ(game().reservePool.size(), 2u);
  EXPECT_EQ(game().reservePool[0]->owner, 2);
  EXPECT_EQ(game().reservePool[1]->owner, 3);
  ASSERT_EQ(game().navalReserve.size(), 3u);
  EXPECT_EQ(game().navalReserve[2]->owner, 1);
}

}  // namespace
}  // namespace tr
