// Effects on the map without new units: forts, ports, forced weather, hex
// stripes, commanders, cities, the events effect of an area and the view.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "foundation/text.h"
#include "event_builders.h"
#include "events/effect_dispatch.h"
#include "support/log_capture.h"
#include "support/naval_world.h"
#include "world/map_camera.h"

namespace tr::test {
namespace {

class MapEffectTest : public testing::Test {
 protected:
  sHex& hex(int x, int y) { return naval_.world().hex(x, y); }
  cGame& game() { return naval_.game(); }

  NavalWorld naval_;  // 16 x 8, four countries; nodes on row 0
  LogCapture log_;
};

struct FortCase {
  const char* name;
  const char16_t* method;
  int before;
  double value;
  int after;
  bool warns = false;
};

class FortEffectTest : public MapEffectTest, public testing::WithParamInterface<FortCase> {};

TEST_P(FortEffectTest, SetsTheLevel) {
  const FortCase& c = GetParam();
  hex(4, 3).fortLevel = static_cast<std::uint8_t>(c.before);
  ExecuteEffect(MakeEffect(c.method, {4, 3, c.value}));
  EXPECT_EQ(hex(4, 3).fortLevel, c.after);
  EXPECT_EQ(log_.lines().size(), c.warns ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Forts, FortEffectTest,
                         testing::Values(FortCase{"ChangeStopsAtNine", u"Hex.ChangeFortLevel", 7, 5, 9},
                                         FortCase{"ChangeStopsAtZero", u"Hex.ChangeFortLevel", 2, -3, 0},
                                         FortCase{"ChangeTruncatesTheSum", u"Hex.ChangeFortLevel", 2, 1.9, 3},
                                         FortCase{"ChangeBringsAHighLevelBackToNine", u"Hex.ChangeFortLevel", 12, -1,
                                                  9},
                                         FortCase{"SetKeepsNine", u"Hex.SetFortLevel", 0, 9, 9},
                                         FortCase{"SetGoesPastNine", u"Hex.SetFortLevel", 3, 12, 12},
                                         FortCase{"SetKeepsTheByteTop", u"Hex.SetFortLevel", 5, 255.7, 255},
                                         FortCase{"SetStopsAtTheByteTop", u"Hex.SetFortLevel", 6, 256, 255, true},
                                         FortCase{"SetNegativeDoesNotWrapRound", u"Hex.SetFortLevel", 4, -1, 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct OffMapCase {
  const char* name;
  sEffect effect;
};

class OffMapEffectTest : public MapEffectTest, public testing::WithParamInterface<OffMapCase> {};

// The map's lookup answers hex (0, 0) for any place off the map; no effect
// may act on that hex instead.
TEST_P(OffMapEffectTest, ChangesNothingAtHexZeroAndSaysSo) {
  sHex& corner = hex(0, 0);
  corner.terrain = 1;
  corner.fortLevel = 3;
  auto& unit = naval_.world().PlaceLandUnit(1, 0, 0);
  unit.freezeTime = 2;
  ExecuteEffect(GetParam().effect);
  EXPECT_EQ(corner.fortLevel, 3);
  EXPECT_EQ(corner.unit, &unit);
  EXPECT_EQ(unit.freezeTime, 2);
  EXPECT_EQ(game().landUnits.size(), 1u);
  EXPECT_TRUE(game().reservePool.empty());
  ASSERT_EQ(log_.lines().size(), 1u);
  EXPECT_NE(log_.lines()[0].find(u"is off the map; nothing changes"), std::u16string::npos) << log_.lines()[0].size();
}

INSTANTIATE_TEST_SUITE_P(
    Hexes, OffMapEffectTest,
    testing::Values(OffMapCase{"SetFort", MakeEffect(u"Hex.SetFortLevel", {16, 0, 5})},
                    OffMapCase{"ChangeFort", MakeEffect(u"Hex.ChangeFortLevel", {-2, 0, 5})},
                    OffMapCase{"Kill", MakeEffect(u"Hex.KillUnit", {0, 8})},
                    OffMapCase{"Freeze", MakeEffect(u"Unit.Freeze", {0, -8, 5})},
                    OffMapCase{"Unfreeze", MakeEffect(u"Unit.Unfreeze", {99, 99})},
                    OffMapCase{"TeleportTarget", MakeEffect(u"Unit.Teleport", {0, 0, 40, 2})},
                    OffMapCase{"AddLandUnit", MakeEffect(u"Hex.AddLandUnit", {-1, 0, 1, 0, 1, 50}, 7, {u"Rifles"})},
                    OffMapCase{"PassControl", MakeEffect(u"Hex.AddUnitAndPassControlOverHexIfEmpty",
                                                         {3, 30, 1, 0, 1, 50}, 7, {u"Rifles"})},
                    OffMapCase{"AirUnit", MakeEffect(u"Hex.AddAirUnit", {1, 20, 1, 20, 1, 5}, 7, {u"Wing"})},
                    OffMapCase{"Mulberry", MakeEffect(u"Hex.AddMulberry", {1, 0, 9}, 7, {u"Harbour"})},
                    OffMapCase{"Partisans",
                               MakeEffect(u"City.FirePartisans", {17, 3, 2, 0, 1, 50}, 7, {u"Partisans"})}),
    [](const auto& info) { return std::string(info.param.name); });

struct PortCase {
  const char* name;
  const char16_t* method;
  double value;
  int after;
};

class PortEffectTest : public MapEffectTest, public testing::WithParamInterface<PortCase> {};

TEST_P(PortEffectTest, KeepsTheMaximumWithinOneToTen) {
  const PortCase& c = GetParam();
  const int port = naval_.AddPort(1, 5);
  const int sea = naval_.AddSea();
  ExecuteEffect(MakeEffect(c.method, {double(port), c.value}));
  ExecuteEffect(MakeEffect(c.method, {double(sea), c.value}));
  EXPECT_EQ(game().seaGraph.GetNode(port - 1).maxPortSize, c.after);
  EXPECT_EQ(game().seaGraph.GetNode(port - 1).portSize, 5);
  EXPECT_EQ(game().seaGraph.GetNode(sea - 1).maxPortSize, 0);
}

INSTANTIATE_TEST_SUITE_P(Ports, PortEffectTest,
                         testing::Values(PortCase{"SetZero", u"Port.SetSize", 0, 1},
                                         PortCase{"SetFifteen", u"Port.SetSize", 15, 10},
                                         PortCase{"SetTruncates", u"Port.SetSize", 4.7, 4},
                                         PortCase{"ChangeDown", u"Port.ChangeSize", -20, 1},
                                         PortCase{"ChangeUp", u"Port.ChangeSize", 2.5, 7},
                                         PortCase{"ChangeUpToTen", u"Port.ChangeSize", 5, 10}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MapEffectTest, PortOfAnUnknownNodeIsLogged) {
  ExecuteEffect(MakeEffect(u"Port.SetSize", {3, 4}, 9));
  EXPECT_EQ(log_.lines(), std::vector<std::u16string>{
                              u"WARNING: effect Port.SetSize at line 9: there is no sea node 3; nothing changes"});
}

struct WeatherCase {
  const char* name;
  sEffect effect;
  int weather;
  int takesWeather;
};

class WeatherEffectTest : public MapEffectTest, public testing::WithParamInterface<WeatherCase> {};

// Row 0 of columns 1 and 2 is sea: the rectangle covers a coast.
TEST_P(WeatherEffectTest, ChangesOnlyTheLandHexesOfTheRectangle) {
  naval_.AddSea();
  naval_.AddSea();
  for (int x = 0; x < 16; ++x) {
    for (int y = 0; y < 8; ++y) {
      hex(x, y).weather = 2;
      hex(x, y).takesWeather = 0;
    }
  }
  const WeatherCase& c = GetParam();
  ExecuteEffect(c.effect);
  for (int x = 0; x < 16; ++x) {
    for (int y = 0; y < 8; ++y) {
      const bool inside = x >= 1 && x <= 3 && y <= 2 && hex(x, y).IsLand();
      EXPECT_EQ(hex(x, y).weather, inside ? c.weather : 2) << x << "," << y;
      EXPECT_EQ(hex(x, y).takesWeather, inside ? c.takesWeather : 0) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Weather, WeatherEffectTest,
    testing::Values(WeatherCase{"StartWinterKeepingTheRollOff", MakeEffect(u"New.StartWinterArea", {1, 0, 3, 2, 0}), 1,
                                0},
                    WeatherCase{"StartWinterWithTheRoll", MakeEffect(u"New.StartWinterArea", {1, 0, 3, 2, 1}), 1, 1},
                    WeatherCase{"StartMud", MakeEffect(u"New.StartMudArea", {1, 0, 3, 2, 0.9}), 2, 0},
                    WeatherCase{"EndWinterClears", MakeEffect(u"New.EndWinterArea", {1, 0, 3, 2}), 0, 1},
                    WeatherCase{"EndMudLeavesTheMud", MakeEffect(u"New.EndMudArea", {1, 0, 3, 2}), 2, 1},
                    // Clipped to the map, never read past its edge.
                    WeatherCase{"ClippedAtTheTopLeft", MakeEffect(u"New.EndWinterArea", {1, -40, 3, 2}), 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MapEffectTest, WeatherRectanglePastTheBottomRightIsClippedAtTheCorner) {
  for (int x = 0; x < 16; ++x) {
    for (int y = 0; y < 8; ++y) hex(x, y).weather = 2;
  }
  ExecuteEffect(MakeEffect(u"New.StartWinterArea", {13, 6, 40, 25, 0}));
  for (int x = 0; x < 16; ++x) {
    for (int y = 0; y < 8; ++y) EXPECT_EQ(hex(x, y).weather, x >= 13 && y >= 6 ? 1 : 2) << x << "," << y;
  }
  EXPECT_TRUE(log_.lines().empty());
}

TEST_F(MapEffectTest, WeatherRectangleWhollyOffTheMapChangesNothing) {
  hex(15, 7).weather = 0;
  ExecuteEffect(MakeEffect(u"New.StartWinterArea", {16, 0, 200, 7, 0}, 4));
  ExecuteEffect(MakeEffect(u"New.StartWinterArea", {5, 3, 2, 3, 0}, 5));  // x1 > x2: empty
  EXPECT_EQ(hex(15, 7).weather, 0);
  EXPECT_EQ(log_.lines(), std::vector<std::u16string>{u"WARNING: effect New.StartWinterArea at line 4: the "
                                                      u"rectangle lies off the map; nothing changes"});
}

struct StripeCase {
  const char* name;
  sEffect effect;
  bool changes;
};

class StripeEffectTest : public MapEffectTest, public testing::WithParamInterface<StripeCase> {};

TEST_P(StripeEffectTest, ChangesTheWholeStripeOrNothing) {
  for (int y = 0; y < 8; ++y) {
    hex(5, y).terrain = 1;
    hex(5, y).SetController(3);
    hex(5, y).SetOwner(3);
    hex(5, y).originalOwner = 3;
  }
  auto& enemy = naval_.world().PlaceLandUnit(3, 5, 6);
  auto& ally = naval_.world().PlaceLandUnit(2, 5, 7);
  const StripeCase& c = GetParam();
  const bool original = c.effect.method == u"HexStripe.ChangeControllerOwnerAndOriginalOwner";
  ExecuteEffect(c.effect);
  for (int y = 0; y < 8; ++y) {
    const bool inStripe = c.changes && y >= 5;
    EXPECT_EQ(hex(5, y).controller, inStripe ? 1 : 3) << y;
    EXPECT_EQ(hex(5, y).owner, inStripe ? 1 : 3) << y;
    EXPECT_EQ(hex(5, y).originalOwner, inStripe && original ? 1 : 3) << y;
  }
  EXPECT_EQ(enemy.inReserve, c.changes ? 1 : 0);
  EXPECT_EQ(ally.inReserve, 0);
  EXPECT_EQ(log_.ContainsText(u"incorrect_parameter(s)!_ignoring_this..."), !c.changes);
}

INSTANTIATE_TEST_SUITE_P(
    Stripes, StripeEffectTest,
    testing::Values(
        StripeCase{"ToTheLastRow", MakeEffect(u"HexStripe.ChangeControllerAndOwner", {5, 5, 3, 1}), true},
        StripeCase{"OriginalOwnerToo", MakeEffect(u"HexStripe.ChangeControllerOwnerAndOriginalOwner", {5, 5, 3, 1}),
                   true},
        // y + n - 1 equal to the map height reaches one row past the map.
        StripeCase{"OnePastTheLastRow", MakeEffect(u"HexStripe.ChangeControllerAndOwner", {5, 5, 4, 1}), false},
        StripeCase{"HugeCountDoesNotWrap",
                   MakeEffect(u"HexStripe.ChangeControllerOwnerAndOriginalOwner", {5, 5, 2147483647.0, 1}), false},
        StripeCase{"NoRows", MakeEffect(u"HexStripe.ChangeControllerAndOwner", {5, 5, 0, 1}), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MapEffectTest, NewCommandersAreNumberedPastTheHighestNumber) {
  for (int id : {20, 12}) {
    auto commander = std::make_unique<sCommander>();
    commander->id = id;
    game().commanders.push_back(std::move(commander));
  }
  const std::u16string longName(120, u'k');
  ExecuteEffect(MakeEffect(u"Commander.AddNew", {2.7, 4.9, 300}, 7, {longName}));
  ExecuteEffect(MakeEffect(u"Commander.AddNew", {1, 150, -3}, 8, {u"Varga"}));
  ExecuteEffect(MakeEffect(u"Commander.AddNew", {9, 1, 1}, 9, {u"Nobody"}));
  ASSERT_EQ(game().commanders.size(), 4u);
  const sCommander& first = *game().commanders[2];
  EXPECT_EQ(first.id, 21);
  EXPECT_EQ(first.countryId, 2);
  EXPECT_EQ(first.skill, 4);
  EXPECT_EQ(first.experience, 300);
  EXPECT_EQ(first.state, kCommanderNotAssigned);
  EXPECT_EQ(first.type, 0);
  EXPECT_EQ(first.name, longName.substr(0, 99));
  const sCommander& second = *game().commanders[3];
  EXPECT_EQ(second.id, 22);
  EXPECT_EQ(second.skill, 100);
  EXPECT_EQ(second.experience, 0);
  EXPECT_EQ(log_.lines(),
            (std::vector<std::u16string>{
                u"WARNING: effect Commander.AddNew at line 8: skill 150 is outside 0 to 100; 100 is used",
                u"WARNING: effect Commander.AddNew at line 8: experience -3 is outside 0 to 1000000; 0 is used",
                u"WARNING: effect Commander.AddNew at line 9: there is no country 9; nothing changes"}));
}

TEST_F(MapEffectTest, CityEffectsChangeTheCityOnTheHex) {
  auto city = std::make_unique<cCity>();
  city->x = 6;
  city->y = 4;
  city->productionPoints = 2.5f;
  hex(6, 4).city = city.get();
  game().cities.push_back(std::move(city));
  cCity& c = *game().cities.back();
  // Points stay within what the city file reads back: below 0 the game's
  // rules break, and far above it the totals summed from them overflow.
  ExecuteEffect(MakeEffect(u"City.ChangeProductionPoints", {6, 4, -4.25}, 3));
  EXPECT_FLOAT_EQ(c.productionPoints, 0.0f);
  ExecuteEffect(MakeEffect(u"City.ChangeProductionPoints", {6, 4, 2.5}));
  EXPECT_FLOAT_EQ(c.productionPoints, 2.5f);
  ExecuteEffect(MakeEffect(u"City.SetProductionPoints", {6, 4, 1.5}));
  EXPECT_FLOAT_EQ(c.productionPoints, 1.5f);
  ExecuteEffect(MakeEffect(u"City.SetProductionPoints", {6, 4, 1e300}, 4));
  EXPECT_FLOAT_EQ(c.productionPoints, 1e6f);
  ExecuteEffect(MakeEffect(u"City.ChangeProductionPoints", {6, 4, 2147483647.0}, 5));
  EXPECT_FLOAT_EQ(c.productionPoints, 1e6f);
  ExecuteEffect(MakeEffect(u"City.SetProductionPoints", {6, 4, -1}, 6));
  EXPECT_FLOAT_EQ(c.productionPoints, 0.0f);
  ExecuteEffect(MakeEffect(u"City.SetType", {6, 4, 3.9}));
  EXPECT_EQ(c.type, kCityPort);
  ExecuteEffect(MakeEffect(u"City.SetType", {6, 4, 5}, 11));
  EXPECT_EQ(c.type, kCityPort);
  // A hex without a city is no error.
  ExecuteEffect(MakeEffect(u"City.SetType", {7, 4, 2}));
  auto held = [](const char16_t* method, int line, const char16_t* value) {
    return std::u16string(u"WARNING: effect ") + method + u" at line " + Utf8ToUtf16(std::to_string(line)) +
           u": city production points held at " + value + u", within 0 to 1000000.000000";
  };
  EXPECT_EQ(log_.lines(), (std::vector<std::u16string>{
                              held(u"City.ChangeProductionPoints", 3, u"0.000000"),
                              held(u"City.SetProductionPoints", 4, u"1000000.000000"),
                              held(u"City.ChangeProductionPoints", 5, u"1000000.000000"),
                              held(u"City.SetProductionPoints", 6, u"0.000000"),
                              u"WARNING: effect City.SetType at line 11: city type 5 is not one of 0 to 4; nothing "
                              u"changes"}));
}

TEST_F(MapEffectTest, AreaEffectivityChangesTheCountrysLandUnitsInTheRectangleOnly) {
  TestWorld& w = naval_.world();
  auto& inside = w.PlaceLandUnit(1, 2, 2);
  auto& corner = w.PlaceLandUnit(1, 4, 5);
  auto& outside = w.PlaceLandUnit(1, 5, 5);
  auto& other = w.PlaceLandUnit(2, 3, 3);
  ExecuteEffect(MakeEffect(u"Area.ChangeEffectivityOfAllUnits", {2, 2, 4, 5, 1, -20}));
  EXPECT_EQ(inside.eventsEffect, -20);
  EXPECT_EQ(corner.eventsEffect, -20);
  EXPECT_EQ(outside.eventsEffect, 0);
  EXPECT_EQ(other.eventsEffect, 0);
  ExecuteEffect(MakeEffect(u"Area.ChangeEffectivityOfAllUnits", {4, 2, 2, 5, 1, -20}));  // x1 > x2
  EXPECT_EQ(inside.eventsEffect, -20);
  // Held where a saved unit reads back, as the country form holds it.
  ExecuteEffect(MakeEffect(u"Area.ChangeEffectivityOfAllUnits", {2, 2, 4, 5, 1, 3e9}));
  EXPECT_EQ(inside.eventsEffect, 10000);
  ExecuteEffect(MakeEffect(u"Area.ChangeEffectivityOfAllUnits", {2, 2, 4, 5, 1, -3e9}));
  ExecuteEffect(MakeEffect(u"Area.ChangeEffectivityOfAllUnits", {2, 2, 4, 5, 1, -3e9}));
  EXPECT_EQ(inside.eventsEffect, -10000);
}

TEST_F(MapEffectTest, ViewCentresAndKeepsTheHexForTheNextHumanTurn) {
  for (int id = 1; id <= 4; ++id) naval_.world().country(id).isActive = 1;
  naval_.world().country(2).humanControlled = 1;
  gZoomLevel = 1.5f;
  ExecuteEffect(MakeEffect(u"View.CenterAt", {3.8, 2}));
  EXPECT_EQ(naval_.world().country(2).GetSavedView(), (std::array<float, 3>{3 * 83.0f, 2 * 98.0f, 1.5f}));
  EXPECT_EQ(naval_.world().country(1).GetSavedView()[2], -100.0f);
  ExecuteEffect(MakeEffect(u"View.CenterAt", {30, 2}));
  EXPECT_EQ(naval_.world().country(2).GetSavedView()[0], 3 * 83.0f);
}

}  // namespace
}  // namespace tr::test
