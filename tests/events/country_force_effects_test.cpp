// The "Country." effects on territory, war and peace, forces, convoys and the
// ships of a sea zone, dispatched as a fired option runs them.
#include <gtest/gtest.h>

#include "event_builders.h"
#include "events/effect_dispatch.h"
#include "foundation/random.h"
#include "support/log_capture.h"
#include "support/naval_world.h"
#include "world/gra.h"

namespace tr::test {
namespace {

// Countries 1 and 2 allies, 3 the axis at war with both, 4 neutral.
class CountryForceEffectTest : public testing::Test {
 protected:
  cGame& game() { return naval_.game(); }
  TestWorld& world() { return naval_.world(); }
  cCountry& country(int id) { return world().country(id); }
  std::vector<std::u16string> Complaints() const {
    std::vector<std::u16string> found;
    for (const std::u16string& line : log_.lines()) {
      if (line.starts_with(u"ERROR") || line.starts_with(u"WARNING")) found.push_back(line);
    }
    return found;
  }
  cJednostkaLadowa& ReserveUnit(int owner) {
    auto unit = std::make_unique<cJednostkaLadowa>();
    unit->owner = owner;
    unit->x = unit->y = -1;
    unit->inReserve = 1;
    cJednostkaLadowa& made = *unit;
    game().reservePool.push_back(std::move(unit));
    return made;
  }

  NavalWorld naval_;
  LogCapture log_;
};

TEST_F(CountryForceEffectTest, PeaceOfACountryAtPeaceChangesNothing) {
  country(4).alliance = kAxis;
  ExecuteEffect(MakeEffect(u"Country.MakePeace", {4, 1}));
  EXPECT_EQ(country(4).alliance, kAxis);
  EXPECT_TRUE(log_.lines().empty());
}

struct PeaceCase {
  const char* name;
  double restoreFlag;
  int conqueredControllerAfter;  // the hex of country 1 that country 3 took
  int lostControllerAfter;       // the hex of country 3 that country 1 took
  bool allyGoesHome;             // the unit of 3's ally on the conquered hex
  bool enemyGoesHome;            // the unit of country 1 on the lost hex
};

class MakePeaceTest : public CountryForceEffectTest, public testing::WithParamInterface<PeaceCase> {};

// Country 3 makes peace: the units on hexes whose controller is not their
// owner, where country 3 is the controller or the owner, go to the reserve,
// seen after control went back or not.
TEST_P(MakePeaceTest, UnitsGoHomePeaceIsMadeAndTheAllianceIsLeft) {
  const PeaceCase& c = GetParam();
  country(3).alliance = kAxisLeader;
  country(4).alliance = kAxis;
  sHex& conquered = world().hex(5, 5);
  conquered.owner = 1;
  conquered.controller = 3;
  sHex& lost = world().hex(7, 5);
  lost.owner = 3;
  lost.controller = 1;
  cJednostkaLadowa& ally = world().PlaceLandUnit(4, 5, 5);
  cJednostkaLadowa& enemy = world().PlaceLandUnit(1, 7, 5);
  ExecuteEffect(MakeEffect(u"Country.MakePeace", {3, c.restoreFlag}));
  EXPECT_EQ(conquered.controller, c.conqueredControllerAfter);
  EXPECT_EQ(lost.controller, c.lostControllerAfter);
  EXPECT_EQ(IsUnitInReserve(ally), c.allyGoesHome);
  EXPECT_EQ(IsUnitInReserve(enemy), c.enemyGoesHome);
  EXPECT_FALSE(country(3).IsAtWarWithAnyone());
  EXPECT_TRUE(game().relations.IsAtWar(1, 2) == false);
  EXPECT_EQ(country(3).alliance, kNeutral);
  // No successor: the other member stays a member.
  EXPECT_EQ(country(4).alliance, kAxis);
}

INSTANTIATE_TEST_SUITE_P(Peace, MakePeaceTest,
                         testing::Values(PeaceCase{"RestoringControl", 1.9, 1, 3, false, true},
                                         PeaceCase{"KeepingControl", 2, 3, 1, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CountryForceEffectTest, DeclarationQueuesItsTextEvenBetweenCountriesAtWar) {
  ExecuteEffect(MakeEffect(u"Country.DeclareWarOnCountry", {4, 2}));
  ExecuteEffect(MakeEffect(u"Country.DeclareWarOnCountry", {1, 3}));
  EXPECT_TRUE(game().relations.IsAtWar(4, 2));
  EXPECT_TRUE(game().relations.IsAtWar(2, 4));
  EXPECT_EQ(game().events->messages, (std::vector<std::u16string>{u"Country4 declares war on Country2!",
                                                                  u"Country1 declares war on Country3!"}));
}

TEST_F(CountryForceEffectTest, NoWarInsideOneAllianceNorWithCountriesThatDoNotExist) {
  // Country 4 leans to the allies in its own zone: the war would make it one of them.
  country(4).orientation = kProAllied;
  country(4).zoneOfInfluence = 1;
  ExecuteEffect(MakeEffect(u"Country.DeclareWarOnCountry", {1, 4}, 3));
  ExecuteEffect(MakeEffect(u"Country.DeclareWarOnCountry", {1, 2}, 4));
  ExecuteEffect(MakeEffect(u"Country.DeclareWarOnCountry", {5, 0}, 5));
  EXPECT_FALSE(game().relations.IsAtWar(1, 2));
  EXPECT_FALSE(game().relations.IsAtWar(1, 4));
  EXPECT_EQ(country(4).alliance, kNeutral);
  EXPECT_TRUE(game().events->messages.empty());
  EXPECT_EQ(Complaints(),
            (std::vector<std::u16string>{
                u"WARNING: effect Country.DeclareWarOnCountry at line 3: Country4 would join the alliance of "
                u"Country1; no war is declared",
                u"WARNING: effect Country.DeclareWarOnCountry at line 4: Country1 and Country2 are allies and stay at "
                u"peace",
                u"WARNING: effect Country.DeclareWarOnCountry at line 5: there is no country 5; nothing changes",
                u"WARNING: effect Country.DeclareWarOnCountry at line 5: there is no country 0; nothing changes"}));
}

struct DamageCase {
  const char* name;
  double lowest;
  double highest;
  int hitPoints;
  int left;  // 0: sunk
};

class ShipDamageTest : public CountryForceEffectTest, public testing::WithParamInterface<DamageCase> {};

// Every ship at the node is hit, whoever owns it; ships elsewhere are not.
TEST_P(ShipDamageTest, HitsEveryShipOfTheNode) {
  const DamageCase& c = GetParam();
  const int zone = naval_.AddSea();
  const int other = naval_.AddSea();
  cFleet& own = naval_.AddFleet(1, zone, {kCruiser});
  cFleet& enemy = naval_.AddFleet(3, zone, {kSubmarine});
  naval_.AddFleet(3, other, {kSubmarine});
  own.ships.front()->hitPoints = c.hitPoints;
  enemy.ships.front()->hitPoints = c.hitPoints;
  ExecuteEffect(MakeEffect(u"Country.DamageRandomShipsInSeaZone", {4, double(zone), c.lowest, c.highest}));
  int atZone = 0;
  for (const auto& ship : game().navalUnits) {
    if (ship->fleet->seaNodeId == other) {
      EXPECT_EQ(ship->hitPoints, 6);
    } else {
      ++atZone;
      EXPECT_EQ(ship->hitPoints, c.left);
    }
  }
  EXPECT_EQ(atZone, c.left > 0 ? 2 : 0);
  EXPECT_EQ(game().navalUnits.size(), c.left > 0 ? 3u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Damage, ShipDamageTest,
                         testing::Values(DamageCase{"WholeShareSinks", 1, 1, 6, 0},
                                         DamageCase{"HalfOfThreeTruncatesToOne", 0.5, 0.5, 3, 2},
                                         DamageCase{"NothingHappens", 0, 0, 4, 4},
                                         // Shares outside 0 to 1 are held there: no ship is repaired
                                         // past what it had, and none loses more than all.
                                         DamageCase{"NegativeShareRepairsNothing", -1e9, -1e9, 5, 5},
                                         DamageCase{"ShareAboveOneSinks", 2147483647.0, 3e300, 5, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CountryForceEffectTest, DamageInANodeThatDoesNotExistChangesNothing) {
  const int zone = naval_.AddSea();
  naval_.AddFleet(1, zone, {kCruiser});
  ExecuteEffect(MakeEffect(u"Country.DamageRandomShipsInSeaZone", {1, 2, 1, 1}, 9));
  EXPECT_EQ(game().navalUnits.front()->hitPoints, 6);
  EXPECT_EQ(Complaints(), (std::vector<std::u16string>{
                              u"WARNING: effect Country.DamageRandomShipsInSeaZone at line 9: there is no sea node 2; "
                              u"nothing changes"}));
}

TEST_F(CountryForceEffectTest, KillingTheReserveLeavesTheNavalReserve) {
  ReserveUnit(1);
  ReserveUnit(2);
  naval_.AddReserveShip(1, kCruiser);
  ExecuteEffect(MakeEffect(u"Country.KillAllUnitsInReserve", {1}));
  ASSERT_EQ(game().reservePool.size(), 1u);
  EXPECT_EQ(game().reservePool.front()->owner, 2);
  EXPECT_EQ(game().navalReserve.size(), 1u);
}

// A headquarters sent to the reserve keeps its commander. Killing the reserve
// sends him on his way again, and nothing names the freed unit any more: a
// unit he leads computes its combat value without touching it.
TEST_F(CountryForceEffectTest, KillingTheReserveLetsAHeadquartersCommanderGo) {
  cJednostkaLadowa& headquarters = world().PlaceLandUnit(1, 4, 4);
  cJednostkaLadowa& led = world().PlaceLandUnit(1, 5, 4);
  auto made = std::make_unique<sCommander>();
  made->id = 7;
  made->countryId = 1;
  made->type = kCategoryLand;
  made->state = kCommanderAssigned;
  sCommander& general = *made;
  game().commanders.push_back(std::move(made));
  headquarters.attachedCommander = &general;
  general.headquarters = &headquarters;
  led.commanderId = general.id;
  country(3).reconSpottedUnits.push_back(&headquarters);
  game().playerControl.selectedUnit = &headquarters;
  headquarters.MoveToReservePool();
  ASSERT_EQ(general.headquarters, &headquarters);

  ExecuteEffect(MakeEffect(u"Country.KillAllUnitsInReserve", {1}));
  EXPECT_TRUE(game().reservePool.empty());
  EXPECT_EQ(general.state, kCommanderOnHisWay);
  EXPECT_EQ(general.headquarters, nullptr);
  EXPECT_TRUE(country(3).reconSpottedUnits.empty());
  EXPECT_EQ(game().playerControl.selectedUnit, nullptr);
  led.ComputeCombatValue();
}

TEST_F(CountryForceEffectTest, KillingAndFreezingTheCountrysForces) {
  cJednostkaLadowa& frozen = world().PlaceLandUnit(1, 2, 2);
  frozen.freezeTime = 3;
  world().PlaceLandUnit(2, 3, 2);
  ExecuteEffect(MakeEffect(u"Country.SetFreezeLevelForAllFreezedUnits", {1, 7}));
  EXPECT_EQ(frozen.freezeTime, 7);
  ExecuteEffect(MakeEffect(u"Country.UnFreezeAllUnits", {1}));
  EXPECT_EQ(frozen.freezeTime, 0);
  world().PlaceAirUnit(1, 4, 4);
  const int zone = naval_.AddSea();
  naval_.AddFleet(1, zone, {kCruiser});
  ExecuteEffect(MakeEffect(u"Country.KillAllLandUnits", {1}));
  ExecuteEffect(MakeEffect(u"Country.KillAllAirUnits", {1}));
  ExecuteEffect(MakeEffect(u"Country.KillAllNavalUnits", {1}));
  ASSERT_EQ(game().landUnits.size(), 1u);
  EXPECT_EQ(game().landUnits.front()->owner, 2);
  EXPECT_TRUE(game().airUnits.empty());
  EXPECT_TRUE(game().navalUnits.empty());
}

TEST_F(CountryForceEffectTest, ShipsAndTerritoryChangeHands) {
  const int zone = naval_.AddSea();
  naval_.AddFleet(3, zone, {kCruiser});
  naval_.AddReserveShip(3, kSubmarine);
  world().hex(6, 6).controller = 3;
  ExecuteEffect(MakeEffect(u"Country.ChangeOwnershipOfAllNavalUnits", {3, 4}));
  ExecuteEffect(MakeEffect(u"Country.ChangeTerritoryControllerOwnerAndOriginalOwner", {3, 4}));
  EXPECT_EQ(game().fleets.front()->countryId, 4);
  EXPECT_EQ(game().navalUnits.front()->owner, 4);
  EXPECT_EQ(game().navalReserve.front()->owner, 4);
  EXPECT_EQ(world().hex(6, 6).controller, 4);
  EXPECT_EQ(world().hex(6, 6).owner, 4);
  EXPECT_EQ(world().hex(6, 6).originalOwner, 4);
}

TEST_F(CountryForceEffectTest, EffectivityOfTheSideOnTheOriginalOwnersLand) {
  world().hex(2, 3).originalOwner = 4;
  world().hex(3, 3).originalOwner = 3;
  cJednostkaLadowa& allied = world().PlaceLandUnit(1, 2, 3);  // allies: side 2
  cJednostkaLadowa& axis = world().PlaceLandUnit(3, 3, 3);
  ExecuteEffect(MakeEffect(u"Country.ChangeEffectivityOfAllUnits", {4, 2, -10.9}));
  ExecuteEffect(MakeEffect(u"Country.ChangeEffectivityOfAllUnits", {3, 2, 50}));
  EXPECT_EQ(allied.eventsEffect, -10);
  EXPECT_EQ(axis.eventsEffect, 0);
  // Held where a saved unit reads back.
  ExecuteEffect(MakeEffect(u"Country.ChangeEffectivityOfAllUnits", {4, 2, 3e9}));
  EXPECT_EQ(allied.eventsEffect, 10000);
}

class ConvoyEffectTest : public CountryForceEffectTest {
 protected:
  ConvoyEffectTest() {
    game().convoys.Reset(game().CountryCount());
    from_ = naval_.AddPort(1);
    to_ = naval_.AddPort(1);
    AddCity(from_, 0, kCityPort);
    AddCity(to_, 0, kCitySupplyPort);
    AddCity(5, 5, kCityNormal);
  }
  void AddCity(int x, int y, int type) {
    auto city = std::make_unique<cCity>();
    city->x = x;
    city->y = y;
    city->type = type;
    world().hex(x, y).city = city.get();
    game().cities.push_back(std::move(city));
  }

  int from_ = 0;
  int to_ = 0;
};

TEST_F(ConvoyEffectTest, ConvoysBetweenTwoPortsComeAndGo) {
  const double a = from_;
  const double b = to_;
  ExecuteEffect(MakeEffect(u"Country.AddConvoy", {2, 1, 8, a, 0, b, 0}));
  ExecuteEffect(MakeEffect(u"Country.AddConvoy", {2, 0, 3, a, 0, b, 0}));
  ASSERT_EQ(game().convoys.ConvoysOf(2).size(), 2u);
  EXPECT_EQ(game().convoys.ConvoysOf(2)[0].amount, 8);
  EXPECT_EQ(game().convoys.ConvoysOf(2)[0].kind, 1);
  ExecuteEffect(MakeEffect(u"Country.RemoveConvoy", {2, 1, a, 0, b, 0}));
  ASSERT_EQ(game().convoys.ConvoysOf(2).size(), 1u);
  EXPECT_EQ(game().convoys.ConvoysOf(2)[0].kind, 0);
  EXPECT_TRUE(Complaints().empty());
}

TEST_F(ConvoyEffectTest, AConvoyNeedsTwoPortCities) {
  ExecuteEffect(MakeEffect(u"Country.AddConvoy", {2, 1, 8, double(from_), 0, 5, 5}, 4));
  ExecuteEffect(MakeEffect(u"Country.AddConvoy", {2, 1, 8, double(from_), 0, 6, 6}, 5));
  EXPECT_TRUE(game().convoys.ConvoysOf(2).empty());
  EXPECT_EQ(Complaints(),
            (std::vector<std::u16string>{
                u"WARNING: effect Country.AddConvoy at line 4: the city on hex (5, 5) is no port of the sea graph; "
                u"nothing changes",
                u"WARNING: effect Country.AddConvoy at line 5: there is no city on hex (6, 6); nothing changes"}));
}

}  // namespace
}  // namespace tr::test
