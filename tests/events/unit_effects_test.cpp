// Effects on single units: teleport, freeze, unfreeze, kill and remove.
#include <gtest/gtest.h>

#include <string>

#include "event_builders.h"
#include "events/effect_dispatch.h"
#include "foundation/random.h"
#include "support/log_capture.h"
#include "support/naval_world.h"

namespace tr::test {
namespace {

class UnitEffectTest : public testing::Test {
 protected:
  TestWorld& world() { return naval_.world(); }
  cGame& game() { return naval_.game(); }
  bool IsLand(int id) {
    for (const auto& unit : naval_.game().landUnits) {
      if (unit->id == id) return true;
    }
    return false;
  }
  bool IsAir(int id) {
    for (const auto& unit : naval_.game().airUnits) {
      if (unit->id == id) return true;
    }
    return false;
  }

  NavalWorld naval_;
  LogCapture log_;
};

struct RemoveCase {
  const char* name;
  std::vector<double> params;  // country, type, number
  bool landFiveGoes;
  bool airFiveGoes;
  bool landSixGoes;
};

class RemoveEffectTest : public UnitEffectTest, public testing::WithParamInterface<RemoveCase> {};

// Land units 5 (country 1, type 0) and 6 (country 2, type 2); air unit 5
// (country 1, fighter); a land unit 5 aboard is out of reach.
TEST_P(RemoveEffectTest, KillsOneMatchingUnitOnTheMap) {
  auto& land5 = world().PlaceLandUnit(1, 2, 2);
  land5.id = 5;
  auto& land6 = world().PlaceLandUnit(2, 3, 3);
  land6.id = 6;
  land6.SetType(kMechanizedDivision);
  auto& air5 = world().PlaceAirUnit(1, 4, 4);
  air5.id = 5;
  const RemoveCase& c = GetParam();
  ExecuteEffect(MakeEffect(u"Unit.Remove", {c.params[0], c.params[1], c.params[2]}));
  EXPECT_EQ(!IsLand(5), c.landFiveGoes);
  EXPECT_EQ(!IsAir(5), c.airFiveGoes);
  EXPECT_EQ(!IsLand(6), c.landSixGoes);
  EXPECT_EQ(world().hex(2, 2).unit == nullptr, c.landFiveGoes);
  EXPECT_EQ(world().hex(4, 4).unit == nullptr, c.airFiveGoes);
}

INSTANTIATE_TEST_SUITE_P(Numbers, RemoveEffectTest,
                         testing::Values(RemoveCase{"AnyCountryLandFirst", {0, -1, 5}, true, false, false},
                                         RemoveCase{"TypeSkipsTheLandUnit", {0, 20, 5}, false, true, false},
                                         RemoveCase{"CountrySkipsBoth", {2, -1, 5}, false, false, false},
                                         RemoveCase{"NegativeCountryIsAny", {-4, 2, 6}, false, false, true},
                                         RemoveCase{"NoMatch", {3, -1, 6}, false, false, false},
                                         RemoveCase{"UnknownNumber", {0, -1, 77}, false, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnitEffectTest, RemoveWithoutANumberDrawsAmongLandThenAirMatches) {
  auto& a = world().PlaceLandUnit(1, 1, 1);
  auto& b = world().PlaceLandUnit(2, 2, 2);
  auto& c = world().PlaceLandUnit(1, 3, 3);
  auto& d = world().PlaceAirUnit(1, 4, 4);
  (void)b;
  const int idA = a.id, idC = c.id, idD = d.id;
  // Matches of country 1: a, c, then the air unit d. RandomRange(0, 2) with
  // draw 16384 gives 1: the second match.
  {
    ScopedRandomDraws draws({16384});
    ExecuteEffect(MakeEffect(u"Unit.Remove", {1, -1, -1}));
  }
  EXPECT_TRUE(IsLand(idA));
  EXPECT_FALSE(IsLand(idC));
  EXPECT_TRUE(IsAir(idD));
  {
    ScopedRandomDraws draws({32767});
    ExecuteEffect(MakeEffect(u"Unit.Remove", {1, -1, -2}));
  }
  EXPECT_FALSE(IsAir(idD));
}

TEST_F(UnitEffectTest, FreezeActsOnLandUnitsOnly) {
  auto& land = world().PlaceLandUnit(1, 2, 2);
  auto& air = world().PlaceAirUnit(1, 3, 3);
  ExecuteEffect(MakeEffect(u"Unit.Freeze", {3, 3, 4}));
  EXPECT_EQ(air.actionPoints, 0);
  ExecuteEffect(MakeEffect(u"Unit.Freeze", {2, 2, 4.8}));
  EXPECT_EQ(land.freezeTime, 4);
  ExecuteEffect(MakeEffect(u"Unit.FreezeIfOwnedByCountry", {2, 2, 7, 2}));
  EXPECT_EQ(land.freezeTime, 4);
  ExecuteEffect(MakeEffect(u"Unit.FreezeIfOwnedByCountry", {2, 2, 7, 1.5}));  // compared as doubles
  EXPECT_EQ(land.freezeTime, 4);
  ExecuteEffect(MakeEffect(u"Unit.FreezeIfOwnedByCountry", {2, 2, 7, 1}));
  EXPECT_EQ(land.freezeTime, 7);
  ExecuteEffect(MakeEffect(u"Unit.Unfreeze", {3, 3}));
  ExecuteEffect(MakeEffect(u"Unit.Unfreeze", {2, 2}));
  EXPECT_EQ(land.freezeTime, 0);
  EXPECT_TRUE(log_.lines().empty());
}

TEST_F(UnitEffectTest, TeleportMovesToAFreeHexAndNeverPutsALandUnitAtSea) {
  naval_.AddSea();  // (1, 0) is sea
  auto& land = world().PlaceLandUnit(1, 2, 2);
  land.name = u"Rifles";
  auto& air = world().PlaceAirUnit(1, 5, 5);
  ExecuteEffect(MakeEffect(u"Unit.Teleport", {2, 2, 5, 5}));  // taken
  EXPECT_EQ(world().hex(2, 2).unit, &land);
  ExecuteEffect(MakeEffect(u"Unit.Teleport", {2, 2, 1, 0}, 12));
  EXPECT_EQ(world().hex(2, 2).unit, &land);
  EXPECT_EQ(world().hex(1, 0).unit, nullptr);
  ExecuteEffect(MakeEffect(u"Unit.Teleport", {2, 2, 6.9, 3}));
  EXPECT_EQ(world().hex(2, 2).unit, nullptr);
  EXPECT_EQ(world().hex(6, 3).unit, &land);
  EXPECT_EQ(land.x, 6);
  ExecuteEffect(MakeEffect(u"Unit.Teleport", {5, 5, 1, 0}));
  EXPECT_EQ(world().hex(1, 0).unit, &air);
  EXPECT_EQ(log_.lines(),
            std::vector<std::u16string>{u"WARNING: effect Unit.Teleport at line 12: land unit Rifles cannot "
                                        u"stand on the sea hex (1, 0); nothing changes"});
}

TEST_F(UnitEffectTest, KillUnitTakesTheUnitOffTheMapAndOutOfTheGame) {
  world().PlaceLandUnit(1, 2, 2);
  world().PlaceAirUnit(2, 3, 2);
  ExecuteEffect(MakeEffect(u"Hex.KillUnit", {2, 2}));
  ExecuteEffect(MakeEffect(u"Hex.KillUnit", {3, 2}));
  ExecuteEffect(MakeEffect(u"Hex.KillUnit", {4, 2}));
  EXPECT_TRUE(game().landUnits.empty());
  EXPECT_TRUE(game().airUnits.empty());
  EXPECT_EQ(world().hex(2, 2).unit, nullptr);
  EXPECT_EQ(world().hex(3, 2).unit, nullptr);
}

}  // namespace
}  // namespace tr::test
