// Air strikes on ports and sea zones and the nuclear strike on a port: the
// port's size, the ships chosen and sunk, the texts and the reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/scoped_string_base.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "support/naval_world.h"
#include "turn/sea_bombardment.h"
#include "units/combat_result.h"
#include "units/jednostka_lotnicza.h"
#include "world/gra.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

using test::RangeDraw;

int Percent(int value) { return RangeDraw(1, 100, value); }

// Country 3 bombs port 1 (held by country 1, size 3). Port: 50 per aircraft
// level against 10 per artillery level. Ships: 20 spotted, 10 unspotted,
// 5 per hit point, strategic bombers 50 %. No extra losses and, with navy 0,
// no counter-fire.
class SeaBombardment : public testing::Test {
 protected:
  SeaBombardment() : scoped_(presentation_) {
    port = sea.AddPort(1, 3);
    zone = sea.AddSea();
    sea.SetConstant(176, 1, 50);
    sea.SetConstant(176, 2, 10);
    sea.SetConstant(178, 1, 20);
    sea.SetConstant(178, 2, 10);
    sea.SetConstant(178, 3, 5);
    sea.SetConstant(178, 4, 50);
    sea.SetConstant(183, 1, 0);
    sea.SetConstant(184, 1, 0);
    sea.world().country(3).techLevels[kAircraftTech] = 1;
    bomber = &sea.world().PlaceAirUnit(3, 9, 6);
    bomber->SetType(kTacticalBomber);
    bomber->strength = 10;
  }
  sWezelGrafuMorz& node(int id) { return sea.graph().GetNode(id - 1); }
  sHex& hex(int id) { return sea.world().hex(node(id).x, node(id).y); }
  int Reports(int country, int kind = 16) {
    return static_cast<int>(std::count_if(sea.game().reports.Reports().begin(), sea.game().reports.Reports().end(),
                                          [&](const sReport& r) { return r.country == country && r.type == kind; }));
  }
  bool NoShipAtZeroHitPoints() {
    return std::none_of(sea.game().navalUnits.begin(), sea.game().navalUnits.end(),
                        [](const auto& ship) { return ship->hitPoints <= 0; });
  }

  test::NavalWorld sea;
  cHeadlessPresentation presentation_;
  ScopedPresentation scoped_;
  int port = 0;
  int zone = 0;
  cJednostkaLotnicza* bomber = nullptr;
  sCombatResult result;
};

struct PortCase {
  const char* name;
  int aircraft;
  int artillery;
  int size;
  int roll;
  int sizeAfter;
};
class PortHit : public SeaBombardment, public testing::WithParamInterface<PortCase> {};

TEST_P(PortHit, ChanceIsHeldToZeroAndAHundredAndThePortNeverGoesBelowOne) {
  const PortCase& c = GetParam();
  sea.world().country(3).techLevels[kAircraftTech] = c.aircraft;
  sea.world().country(1).techLevels[kArtilleryTech] = c.artillery;
  node(port).portSize = c.size;
  cScopedStringBase texts;
  StringBase().SetText("report_bombardment_port", u"port %s (%s): lost %i of %i, now %i/%i");
  ScopedRandomDraws draws({Percent(c.roll)});
  BombardSeaNode(node(port), result, *bomber, hex(port));
  EXPECT_EQ(node(port).portSize, c.sizeAfter);
  EXPECT_EQ(result.Flag(kFlagPortAffected), c.sizeAfter < c.size);
  const std::u16string told = Format(u": lost %i of 3, now %i/3\n", c.sizeAfter < c.size ? 1 : 0, c.sizeAfter);
  EXPECT_NE(result.defenderDetails.find(told), std::u16string::npos) << Utf16ToUtf8(result.defenderDetails);
  EXPECT_NE(result.defenderDetails.find(u"report_bombardment_port_no_naval_units_affected\n\n"),
            std::u16string::npos);
  EXPECT_EQ(result.defenderLossText, u"report_looses_sea_zone_port_bombardment\n");
}

INSTANTIATE_TEST_SUITE_P(Ports, PortHit,
                         testing::Values(PortCase{"HitBelowTheChance", 1, 0, 3, 49, 2},
                                         PortCase{"MissAtTheChance", 1, 0, 3, 50, 3},
                                         PortCase{"HighAircraftCappedAtAHundred", 5, 0, 3, 99, 2},
                                         PortCase{"ArtilleryPushesItToZero", 1, 9, 3, 1, 3},
                                         PortCase{"SizeTwoShrinksToOne", 5, 0, 2, 1, 1},
                                         PortCase{"SizeOneNeverShrinks", 5, 0, 1, 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ShipCase {
  const char* name;
  int secondRoll;
  bool secondTaken;
};
class ShipsHit : public SeaBombardment, public testing::WithParamInterface<ShipCase> {};

// The spotted first ship: 20 + 6 x 5 = 50. The unspotted second: 10 + 30 =
// 40, lowered by 0.25 x 1 x 50 to 27 once the first was taken.
TEST_P(ShipsHit, EachShipTakenLowersTheChanceOfTheNext) {
  const ShipCase& c = GetParam();
  cFleet& own = sea.AddFleet(1, port, {kCruiser});
  own.ships.front()->spotted = 1;
  cFleet& allied = sea.AddFleet(2, port, {kCruiser});
  sea.AddFleet(3, port, {kCruiser});  // the attacker's own
  ScopedRandomDraws draws({Percent(100), Percent(49), Percent(c.secondRoll)});
  BombardSeaNode(node(port), result, *bomber, hex(port));
  EXPECT_TRUE(result.Flag(kFlagNavalUnitsHit));
  EXPECT_EQ(own.ships.front()->hitPoints, 5);
  EXPECT_EQ(allied.ships.front()->hitPoints, c.secondTaken ? 5 : 6);
  EXPECT_EQ(result.defenderLossText,
            Format(u"report_looses_sea_zone_port_bombardment\n"));
  EXPECT_EQ(Reports(3), 1);
  EXPECT_EQ(Reports(1), 1);
  EXPECT_EQ(Reports(2), c.secondTaken ? 1 : 0);
  const sReport& report = sea.game().reports.Reports().front();
  EXPECT_EQ(report.text.rfind(Format(u"%s (%s) attacked Port1\n\n", bomber->name, sea.world().country(3).name), 0),
            0u);
  // The last ship taken is bombed first.
  const std::u16string& details = result.defenderDetails;
  const std::size_t first = details.find(own.ships.front()->name);
  const std::size_t second = details.find(allied.ships.front()->name);
  ASSERT_NE(first, std::u16string::npos);
  if (c.secondTaken) {
    EXPECT_LT(second, first);
  }
}

INSTANTIATE_TEST_SUITE_P(Ships, ShipsHit,
                         testing::Values(ShipCase{"SecondTakenBelowTheLoweredChance", 26, true},
                                         ShipCase{"SecondMissedAtTheLoweredChance", 27, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SeaBombardment, StrategicBombersHitShipsAtTheirPercentage) {
  bomber->SetType(kStrategicBomber);
  cFleet& own = sea.AddFleet(1, zone, {kCruiser});
  own.ships.front()->spotted = 1;
  // (20 + 30) x 50 % = 25.
  ScopedRandomDraws draws({Percent(25)});
  BombardSeaNode(node(zone), result, *bomber, hex(zone));
  EXPECT_EQ(own.ships.front()->hitPoints, 6);
  EXPECT_NE(result.defenderDetails.find(u"report_bombardment_sea_zone\n"), std::u16string::npos);
  EXPECT_NE(result.defenderDetails.find(u"report_bombardment_sea_zone_no_naval_units_affected"), std::u16string::npos);
}

TEST_F(SeaBombardment, ShipsLeftWithoutHitPointsAreSunkAndNamed) {
  cFleet& own = sea.AddFleet(1, zone, {kCruiser, kSubmarine});
  own.ships.front()->hitPoints = 1;
  own.ships.back()->hitPoints = 1;
  const std::u16string firstName = own.ships.front()->name;
  sea.SetConstant(178, 1, 200);
  sea.SetConstant(178, 2, 200);
  SeedRandom(11);
  BombardSeaNode(node(zone), result, *bomber, hex(zone));
  EXPECT_TRUE(result.Flag(kFlagDefenderDestroyed));
  EXPECT_NE(result.defenderDetails.find(Format(u"\n%s destroyed!\n", firstName)), std::u16string::npos);
  EXPECT_TRUE(sea.game().navalUnits.empty());
  EXPECT_TRUE(sea.game().fleets.empty());
  EXPECT_TRUE(NoShipAtZeroHitPoints());
}

TEST_F(SeaBombardment, AirStrikeOnAWaterHexBombsItsZone) {
  cFleet& own = sea.AddFleet(1, zone, {kCruiser});
  own.ships.front()->hitPoints = 1;
  sea.SetConstant(178, 2, 200);
  bomber->actionPoints = 3;
  SeedRandom(5);
  hex(zone).BombardFromAir(result, *bomber);
  EXPECT_EQ(result.kind, kBattleAirStrikeSea);
  EXPECT_TRUE(result.Flag(kFlagNavalUnitsHit));
  EXPECT_TRUE(sea.game().navalUnits.empty());
  EXPECT_EQ(Reports(3), 1);
  EXPECT_EQ(Reports(1), 1);
}

struct NuclearCase {
  const char* name;
  int roll;
  int sunk;
};
class NuclearPort : public SeaBombardment, public testing::WithParamInterface<NuclearCase> {};

TEST_P(NuclearPort, WrecksThePortToSizeOneAndSinksTheShipsDrawnBelowHalf) {
  const NuclearCase& c = GetParam();
  node(port).portSize = 1;
  cFleet& own = sea.AddFleet(1, port, {kCruiser, kBattleship});
  sea.AddFleet(3, port, {kSubmarine});
  const std::u16string shipLine = Format(u" %s - %s (%s)\n", own.name, own.ships.front()->name,
                                         sea.world().country(1).name);
  ScopedRandomDraws draws({Percent(c.roll), Percent(c.roll), Percent(c.roll)});
  NuclearStrikeOnPort(node(port), result);
  EXPECT_EQ(node(port).portSize, 1);
  EXPECT_EQ(result.defenderLossText.rfind(u"report_nuclear_on_port_size_decreased\n", 0), 0u);
  EXPECT_EQ(static_cast<int>(sea.game().navalUnits.size()), 3 - c.sunk);
  EXPECT_EQ(result.Flag(kFlagDefenderDestroyed), c.sunk > 0);
  if (c.sunk > 0) {
    EXPECT_NE(result.defenderLossText.find(u"report_nuclear_on_port_destroyed_naval_units\n" + shipLine),
              std::u16string::npos);
  } else {
    EXPECT_NE(result.defenderLossText.find(u"report_nuclear_on_port_no_naval_units_destroyed\n\n"),
              std::u16string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Draws, NuclearPort,
                         testing::Values(NuclearCase{"BelowFiftyEveryShip", 49, 3},
                                         NuclearCase{"FiftyNone", 50, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tr
