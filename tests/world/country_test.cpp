#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>

#include "foundation/fatal.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"
#include "world/headless_presentation.h"
#include "world/panstwo.h"
#include "world/value_limits.h"

namespace tr {
namespace {

struct UnitTypeCase {
  int type;
  int slot;
};

class CountryUnitTypeName : public testing::TestWithParam<UnitTypeCase> {};

TEST_P(CountryUnitTypeName, SlotOfType) {
  const auto [type, slot] = GetParam();
  EXPECT_EQ(cCountry::UnitTypeSlot(type), slot);
  cCountry c;
  if (slot >= 0) c.SetUnitTypeName(slot, u"name");
  const std::u16string* name = c.GetUnitTypeName(type);
  EXPECT_EQ(name != nullptr, slot >= 0);
}

INSTANTIATE_TEST_SUITE_P(Types, CountryUnitTypeName,
                         testing::Values(UnitTypeCase{0, 0}, UnitTypeCase{6, 6}, UnitTypeCase{7, -1},
                                         UnitTypeCase{20, 7}, UnitTypeCase{22, 9}, UnitTypeCase{23, -1},
                                         UnitTypeCase{40, 10}, UnitTypeCase{45, 15}, UnitTypeCase{60, 16},
                                         UnitTypeCase{-1, -1}, UnitTypeCase{46, -1}));

TEST(Country, UnsetUnitTypeNameIsNull) {
  cCountry c;
  EXPECT_EQ(c.GetUnitTypeName(3), nullptr);
  test::LogCapture log;
  c.SetUnitTypeName(17, u"x");
  EXPECT_TRUE(log.ContainsText(u"slot 17"));
}

// Alliance codes of countries 1..6 in the world: allies, axis leader, comintern,
// allies leader, neutral, axis.
class CountryAlliances : public testing::Test {
 protected:
  CountryAlliances() : world(1, 1, 6) {
    const int codes[] = {1, 5, 3, 4, 0, 2};
    for (int i = 0; i < 6; ++i) world.country(i + 1).alliance = codes[i];
  }
  test::TestWorld world;
};

TEST_F(CountryAlliances, IsAllyPairsMembersWithTheirLeader) {
  EXPECT_TRUE(world.country(1).IsAlly(4));
  EXPECT_TRUE(world.country(4).IsAlly(1));
  EXPECT_TRUE(world.country(2).IsAlly(6));
  EXPECT_TRUE(world.country(1).IsAlly(1));
  EXPECT_FALSE(world.country(1).IsAlly(2));
  EXPECT_FALSE(world.country(5).IsAlly(5));  // a neutral is nobody's ally
  EXPECT_FALSE(world.country(3).IsAlly(5));
}

TEST_F(CountryAlliances, IsAllyOfZeroIsFatalAboveCountIsLogged) {
  test::LogCapture log;
  EXPECT_THROW(world.country(1).IsAlly(0), FatalExitError);
  EXPECT_TRUE(log.Contains(u"ERROR: Country ID parameter was 0 while checking alliance!"));
  EXPECT_FALSE(world.country(1).IsAlly(7));
  EXPECT_TRUE(log.ContainsText(u"Country ID 7 does not exist"));
}

TEST_F(CountryAlliances, BelongsToAlliance) {
  EXPECT_TRUE(world.country(1).BelongsToAlliance(1));
  EXPECT_TRUE(world.country(1).BelongsToAlliance(4));
  EXPECT_TRUE(world.country(2).BelongsToAlliance(2));
  EXPECT_FALSE(world.country(2).BelongsToAlliance(3));
  EXPECT_FALSE(world.country(5).BelongsToAlliance(0));
  EXPECT_TRUE(world.country(3).IsAllianceActive());
  EXPECT_FALSE(world.country(5).IsAllianceActive());
}

struct OrientationCase {
  int a, b;
  bool same;
};

class CountryOrientation : public testing::TestWithParam<OrientationCase> {};

TEST_P(CountryOrientation, Camps) {
  cCountry a, b;
  a.orientation = GetParam().a;
  b.orientation = GetParam().b;
  EXPECT_EQ(a.SharesOrientationWith(b), GetParam().same);
}

INSTANTIATE_TEST_SUITE_P(Pairs, CountryOrientation,
                         testing::Values(OrientationCase{0, 3, true}, OrientationCase{1, 4, true},
                                         OrientationCase{2, 5, true}, OrientationCase{0, 1, false},
                                         OrientationCase{6, 6, false}, OrientationCase{3, 6, false},
                                         OrientationCase{-1, 2, false}));

TEST(Country, ZoneOfInfluence) {
  cCountry c;
  for (auto [orientation, zone, own] : {std::tuple{0, 1, true}, std::tuple{3, 1, true},
                                        std::tuple{4, 2, true}, std::tuple{5, 3, true},
                                        std::tuple{2, 1, false}, std::tuple{1, 0, false},
                                        std::tuple{7, 2, false}}) {
    c.orientation = orientation;
    c.zoneOfInfluence = zone;
    EXPECT_EQ(c.IsInOwnZoneOfInfluence(), own) << orientation << " " << zone;
  }
}

TEST(Country, WarTestsUseTheGamesRelations) {
  test::TestWorld world(1, 1, 3);
  EXPECT_FALSE(world.country(1).IsAtWarWithAnyone());
  world.game().relations.SetWar(1, 3, true);
  EXPECT_TRUE(world.country(1).IsAtWarWith(3));
  EXPECT_FALSE(world.country(3).IsAtWarWith(1));
  EXPECT_TRUE(world.country(1).IsAtWarWithAnyone());
}

TEST(Country, PointsRefreshTheInfoPanel) {
  cHeadlessPresentation screen;
  ScopedPresentation installed(screen);
  cCountry c;
  c.invasionPoints = 8;
  c.AddDiplomaticPoints(3);
  c.AddProductionPoints(-2.5);
  c.AddStrategicMovementPoints(4);
  c.AddSeaTransportPoints(5);
  c.AddInvasionPoints(-6);
  EXPECT_EQ(c.diplomaticPoints, 3);
  EXPECT_EQ(c.productionPoints, -2.5);
  EXPECT_EQ(c.strategicMovementPoints, 4);
  EXPECT_EQ(c.seaTransportPoints, 5);
  EXPECT_EQ(c.invasionPoints, 2);
  EXPECT_EQ(screen.CountEvents(u"info-panel"), 5);
}

// The points stay where the countries table reads them back; payments may
// leave diplomatic, sea transport and invasion points in debt.
TEST(Country, PointsStayWithinTheCountriesTable) {
  cHeadlessPresentation screen;
  ScopedPresentation installed(screen);
  cCountry c;
  c.diplomaticPoints = kMaxPoints - 7;
  c.strategicMovementPoints = 9;
  c.productionPoints = -kMaxProduction + 11.5;
  c.seaTransportPoints = 13;
  c.invasionPoints = -kMaxPoints + 3;
  c.AddDiplomaticPoints(7);
  c.AddStrategicMovementPoints(-4);
  c.AddProductionPoints(-12.25);
  c.AddSeaTransportPoints(-20);
  c.AddInvasionPoints(-2);
  EXPECT_EQ(c.diplomaticPoints, kMaxPoints);
  EXPECT_EQ(c.strategicMovementPoints, 5);
  EXPECT_EQ(c.productionPoints, -kMaxProduction);
  EXPECT_EQ(c.seaTransportPoints, -7);
  EXPECT_EQ(c.invasionPoints, -kMaxPoints + 1);
  c.AddDiplomaticPoints(1);
  c.AddStrategicMovementPoints(-6);
  c.AddSeaTransportPoints(std::numeric_limits<std::int32_t>::min());
  c.AddInvasionPoints(-4);
  EXPECT_EQ(c.diplomaticPoints, kMaxPoints);
  EXPECT_EQ(c.strategicMovementPoints, 0);
  EXPECT_EQ(c.seaTransportPoints, -kMaxPoints);
  EXPECT_EQ(c.invasionPoints, -kMaxPoints);
}

TEST(Country, TexturePaths) {
  EXPECT_EQ(UnitsTexturePath(u"Counters", u"Ruritania"),
            u"data\\gfx\\[UnitsSkin]Counters\\units_Ruritania.png");
  EXPECT_EQ(ScenarioFlagPath(u"Sample", u"Ruritania"), u"data\\scenarios\\Sample\\Flags\\Ruritania.png");
  EXPECT_EQ(DefaultFlagPath(u"Ruritania"), u"data\\gfx\\Flags\\Ruritania.png");
}

TEST(Country, TexturesLoadOnlyFromFilesThatExist) {
  test::TempDir dir;
  SetGameRoot(dir.path());
  dir.Write("data/gfx/[UnitsSkin]Counters/units_Ruritania.png", "png");
  dir.Write("data/scenarios/Sample/Flags/Ruritania.png", "png");
  cHeadlessPresentation screen;
  ScopedPresentation installed(screen);
  cCountry c;
  c.name = u"Ruritania";
  c.LoadUnitsTexture(u"Counters");
  EXPECT_NE(c.unitsTexture, kNoTexture);
  c.LoadUnitsTexture(u"Other");  // the old one goes, no file gives none
  EXPECT_EQ(c.unitsTexture, kNoTexture);
  EXPECT_EQ(screen.CountEvents(u"release-texture"), 1);
  c.LoadFlagTexture(u"Sample");
  EXPECT_TRUE(screen.events().back().ends_with(u"data/scenarios/Sample/Flags/Ruritania.png"));
  c.LoadFlagTexture(u"Elsewhere");
  EXPECT_TRUE(screen.events().back().ends_with(u"data/gfx/Flags/Ruritania.png"));
  // A name from data that would leave its folder loads nothing.
  c.name = u"../Ruritania";
  c.LoadFlagTexture(u"Sample");
  EXPECT_EQ(c.flagTexture, kNoTexture);

  // A name given, or a skins name, loads the units texture of the chosen skin.
  const std::u16string skin = std::exchange(gUnitsSkin, u"Counters");
  cCountry named;
  named.SetName(u"Ruritania");
  EXPECT_NE(named.unitsTexture, kNoTexture);
  EXPECT_EQ(named.skinsName, u"Ruritania");
  named.ReleaseTextures();
  named.SetSkinsName(u"Ruritanian Guard");
  EXPECT_NE(named.unitsTexture, kNoTexture);
  EXPECT_EQ(named.skinsName, u"Ruritanian Guard");
  EXPECT_EQ(named.name, u"Ruritania");
  gUnitsSkin = skin;
  SetGameRoot({});
}

TEST(Country, AiLists) {
  cCountry c;
  c.aiSettings.ExtraCitiesToGarrison = {{1, 2}};
  c.aiSettings.DoNotAttackCities = {{3, 4}, {5, 6}, {3, 4}};
  c.aiSettings.SeaZonesToPatrol = {{7, 40}};
  EXPECT_TRUE(c.IsExtraCityToGarrison(1, 2));
  EXPECT_FALSE(c.IsExtraCityToGarrison(2, 1));
  c.RemoveDoNotAttackCity(3, 4);
  EXPECT_EQ(c.aiSettings.DoNotAttackCities, (std::vector<sPoint>{{5, 6}, {3, 4}}));
  EXPECT_EQ(c.aiSettings.GetSeaZoneToPatrolValue(7), 40);
  EXPECT_EQ(c.aiSettings.GetSeaZoneToPatrolValue(8), 0);
  EXPECT_EQ(c.GetTechLevel(7), 0);
}

}  // namespace
}  // namespace tr
