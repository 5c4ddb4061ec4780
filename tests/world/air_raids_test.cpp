// Air raids on the world: the interceptor searches of a hex and of a
// country, the strike on a hex and the strategic bombardment of a city under
// its controller's air cover.
#include <gtest/gtest.h>

#include "support/log_capture.h"
#include "units/air_fixture.h"

namespace tr {
namespace {

using test::AirWorld;
using test::Die;

// Country 2 holds the west of the map (x < 6), country 1 the east with its
// tactical bomber on (7, 5).
class AirRaid : public AirWorld {
 protected:
  AirRaid() {
    for (sHex& hex : map().Hexes()) hex.controller = hex.x < 6 ? 2 : 1;
    bomber_ = &AddPlane(1, 7, 5, kTacticalBomber);
    bomber_->SetName(u"Bomber");
  }

  cJednostkaLotnicza* bomber_;
};

TEST_F(AirRaid, HexSearchSkipsHalfStrengthFightersAndKeepsTheFirstOfEquals) {
  test::LogCapture log;
  AddPlane(2, 3, 5, kFighter, 5).SetName(u"Half");  // exactly half of 10
  cJednostkaLotnicza& first = AddPlane(2, 3, 6, kFighter, 8);
  AddPlane(2, 3, 7, kFighter, 8);
  EXPECT_EQ(map().GetHex(4, 5)->FindBestInterceptor(1), &first);
  EXPECT_FALSE(log.ContainsText(u"Possible interceptor: Half"));
  EXPECT_TRUE(log.Contains(u"Searching for interceptor finished"));
}

TEST_F(AirRaid, CountrySearchUsesItsOwnSideAndKeepsTheFirstOfEquals) {
  AddPlane(2, 3, 5, kFighter, 5);
  cJednostkaLotnicza& first = AddPlane(2, 3, 6, kFighter, 8);
  AddPlane(2, 3, 7, kFighter, 8);
  EXPECT_EQ(country(2).FindBestInterceptor(4, 5), &first);
  EXPECT_EQ(country(1).FindBestInterceptor(4, 5), nullptr);  // only the bomber, no fighter
}

TEST_F(AirRaid, EmptyHexGivesTheNoUnitAndNoPortTexts) {
  bomber_->spotted = 1;
  map().GetHex(3, 5)->controller = 0;
  map().GetHex(3, 5)->BombardFromAir(result_, *bomber_);
  EXPECT_EQ(result_.kind, kBattleAirStrikeLand);
  EXPECT_EQ(result_.defenderDetails,
            GetText("report_bombardment_no_unit") + u"\n\n" + GetText("report_bombardment_no_port") + u"\n\n");
  EXPECT_EQ(bomber_->actionPoints, 3);
  EXPECT_EQ(presentation_.CountEvents(u"sound data\\sound\\AirStrike.wav"), 1);
}

TEST_F(AirRaid, WaterWithoutSeaZoneIsLoggedNotRead) {
  test::LogCapture log;
  sHex& sea = *map().GetHex(2, 2);
  sea.terrain = kTerrainWater;
  sea.seaZone = 0;
  sea.BombardFromAir(result_, *bomber_);
  EXPECT_EQ(result_.kind, kBattleAirStrikeSea);
  EXPECT_TRUE(log.ContainsText(u"no interceptor"));
}

TEST_F(AirRaid, ShotDownBomberIsRemoved) {
  test::LogCapture log;
  FillAirTables(10, 0);
  AddPlane(2, 3, 6, kFighter, 8);
  AddLand(2, 4, 5);
  ScopedRandomDraws draws({Die(1)});
  map().GetHex(4, 5)->BombardFromAir(result_, *bomber_);
  EXPECT_TRUE(log.Contains(u"Przechwycenie przy bombowaniu heksa udane, ataker zabijany"));
  EXPECT_EQ(map().GetHex(7, 5)->unit, nullptr);
  EXPECT_EQ(game().airUnits.size(), 1u);
}

TEST_F(AirRaid, WeakRaiderDestroysNothingButStillPays) {
  Set(consts_layout::kStrategicBombingLoss + 1, 50);
  Set(consts_layout::kStrategicBombingValues, 100);
  FillAirTables(0, 3);
  cCity& city = AddCity(4, 5, 40.0f);
  bomber_->SetType(kStrategicBomber);
  bomber_->strength = 9;  // below the maximum of 10
  ScopedRandomDraws draws({Die(1), Die(1)});
  city.StrategicBombardment(result_, *bomber_, *map().GetHex(4, 5));
  EXPECT_FLOAT_EQ(city.productionPoints, 40.0f);
  EXPECT_EQ(bomber_->strength, 6);
  EXPECT_FALSE(result_.Flag(kFlagCityAffected));
}

TEST_F(AirRaid, RaidLossIsCappedAtTheWholeProduction) {
  Set(consts_layout::kStrategicBombingLoss + 1, 500);
  Set(consts_layout::kStrategicBombingValues, 100);
  FillAirTables(0, 2);
  cCity& city = AddCity(4, 5, 3.7f);
  bomber_->SetType(kStrategicBomber);
  bomber_->SetName(u"Raider");
  ScopedRandomDraws draws({Die(1), Die(1)});
  city.StrategicBombardment(result_, *bomber_, *map().GetHex(4, 5));
  EXPECT_NEAR(city.productionPoints, 0.7f, 1e-5);
  EXPECT_EQ(city.bombedPP, 3);
  EXPECT_TRUE(result_.Flag(kFlagCityAffected));
  const auto& reports = game().reports.Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports.front().type, 13);
  EXPECT_EQ(reports.front().country, 2);
  EXPECT_EQ(reports.front().text,
            u"Strategic bombardment\n\nCity Town (4, 5) was attacked by Raider (Country1) and lost 3 PP");
  EXPECT_EQ(reports.back().type, 12);
  EXPECT_EQ(reports.back().country, 1);
  EXPECT_EQ(reports.back().text,
            u"Strategic bombardment\n\nAttacked city Town (4, 5) controlled by Country2 with Raider. City lost 3 PP");
}

// The raider's level picks its entry of the bombing values: a level-3
// bomber strikes with the third.
TEST_F(AirRaid, TheRaidersLevelPicksItsBombingValue) {
  Set(consts_layout::kStrategicBombingLoss + 1, 50);
  for (int level = 1; level <= 5; ++level) Set(consts_layout::kStrategicBombingValues + level - 1, 11 * level);
  FillAirTables(0, 2);
  cCity& city = AddCity(4, 5, 40.0f);
  bomber_->SetType(kStrategicBomber);
  bomber_->level = 3;
  ScopedRandomDraws draws({Die(1), Die(1)});
  city.StrategicBombardment(result_, *bomber_, *map().GetHex(4, 5));
  EXPECT_EQ(city.bombedPP, 16);  // 50 x 33 / 100
  EXPECT_FLOAT_EQ(city.productionPoints, 24.0f);
}

// The city's controller's fighters against the raider's side's fighters set
// the column of the raider's loss: each column of the table has its own loss.
struct AirCoverCase {
  int ownFighters, enemyFighters, loss;
};
class RaidAirCover : public AirRaid, public testing::WithParamInterface<AirCoverCase> {};
TEST_P(RaidAirCover, SetsTheRaidersLossColumn) {
  for (int column = -4; column <= 4; ++column) Set(consts_layout::kAirCombatTableB + column + 4, column + 5);
  cCity& city = AddCity(4, 5, 40.0f);
  bomber_->SetType(kStrategicBomber);
  for (int i = 0; i < GetParam().ownFighters; ++i) AddPlane(2, 2 + i, 4, kFighter, 8);
  for (int i = 0; i < GetParam().enemyFighters; ++i) AddPlane(1, 5 + i, 6, kFighter, 8);
  ScopedRandomDraws draws({Die(1), Die(1)});
  city.StrategicBombardment(result_, *bomber_, *map().GetHex(4, 5));
  EXPECT_EQ(bomber_->strength, 10 - GetParam().loss);
}
// Column = cover term + 1 (no artillery) + 0 (level 1); the loss is column + 5.
INSTANTIATE_TEST_SUITE_P(Ratios, RaidAirCover,
                         testing::Values(AirCoverCase{0, 0, 2},    // no enemy fighters: -4
                                         AirCoverCase{1, 2, 6},    // 0.5: 0
                                         AirCoverCase{2, 2, 5},    // 1.0: -1
                                         AirCoverCase{3, 2, 4},    // 1.5: -2
                                         AirCoverCase{2, 1, 3},    // 2.0: -3
                                         AirCoverCase{3, 1, 2}));  // 3.0: -4

// A nuclear strike takes its share of a city's production; on a port it hits
// the port node beside the city as well, and no open sea node.
TEST_F(AirRaid, NuclearStrikeHitsTheProductionAndThePortNode) {
  class cPorts : public cSeaNodeAirOps {
   public:
    int NodeType(int id) const override { return id == 2 ? kSeaNodeOpenSea : kSeaNodePort; }
    std::u16string NodeName(int) const override { return u"node"; }
    int CountSpottedEnemyShips(int) const override { return 0; }
    cUnit* SearchInterceptor(int, int) override { return nullptr; }
    void BombardSeaNode(int, sCombatResult&, cUnit&, sHex&) override {}
    void NuclearStrikeOnPort(int id, sCombatResult&) override { struck.push_back(id); }
    void RecalculateNavalVisibilityForRecon(int, bool) override {}
    std::vector<int> struck;
  } ports;
  cSeaNodeAirOps* previous = SetSeaNodeAirOps(&ports);
  Set(consts_layout::kNuclearLossPercent, 30);
  const auto strike = [&](int x, int type, int marker) {
    cCity& city = AddCity(x, 5, 40.0f);
    city.type = type;
    map().GetHex(x, 5)->seaNodeMarker = marker;
    city.NuclearStrike(result_);
    return city.productionPoints;
  };
  EXPECT_FLOAT_EQ(strike(2, kCityPort, 1), 28.0f);
  strike(3, kCitySupplyPort, 3);
  strike(4, kCityNormal, 4);
  strike(5, kCityPort, 2);
  SetSeaNodeAirOps(previous);
  EXPECT_EQ(ports.struck, (std::vector<int>{1, 3}));
}

}  // namespace
}  // namespace tr
