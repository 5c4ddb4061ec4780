// The "AI." effects, run from an event file through the loader, and the
// settings they leave read back from a saved "ai_data.csv".
#include <gtest/gtest.h>

#include <string>

#include "event_fixture.h"
#include "scenario/ai_data_file.h"
#include "world/gra.h"

namespace tr::test {
namespace {

class AiEffectTest : public EventFilesTest {
 protected:
  AiEffectTest() {
    AddCity(1, 1, kCityPort);        // P
    AddCity(4, 2, kCitySupplyPort);  // Q
    AddCity(2, 3, kCityNormal);
    world_.game().seaGraph.nodes.resize(8);
  }
  void AddCity(int x, int y, int type) {
    auto city = std::make_unique<cCity>();
    city->x = x;
    city->y = y;
    city->type = type;
    world_.hex(x, y).city = city.get();
    world_.game().cities.push_back(std::move(city));
  }
  // Saves the settings of every country and reads them back into fresh ones.
  void SaveAndReload() {
    dir_.Write("data/save/ai/.keep", "");
    ASSERT_TRUE(WriteAIData(world_.game(), u"data\\save\\ai"));
    for (int id = 1; id <= 3; ++id) world_.country(id).aiSettings = sCountryAiSettings();
    LoadAIData(world_.game(), u"data\\save\\ai\\%s");
  }
  sCountryAiSettings& ai() { return world_.country(2).aiSettings; }
  std::vector<std::u16string> Complaints() const { return LinesStartingWith({u"ERROR", u"WARNING"}); }
};

TEST_F(AiEffectTest, ListRulesHoldAndSurviveASave) {
  FireSingleOption(EffectElement("AI.AddDoNotAttackCity", {"2", "1", "1"}) +
                   EffectElement("AI.AddDoNotAttackCity", {"2", "1", "1"}) +
                   EffectElement("AI.AddDoNotAttackCity", {"2", "2", "3"}) +
                   EffectElement("AI.AddInvasionTarget", {"2", "3", "2", "50"}) +
                   EffectElement("AI.AddInvasionTarget", {"2", "3", "2", "-1"}) +
                   EffectElement("AI.AddInvasionTarget", {"2", "5", "0", "9"}) +
                   // A port added at the back, then one at the front: swapped ends would give Q, P.
                   EffectElement("AI.AddPortForObligatoryInvasion", {"2", "4", "2", "0"}) +
                   EffectElement("AI.AddPortForObligatoryInvasion", {"2", "1", "1", "1"}) +
                   EffectElement("AI.AddSeaZoneToPatrolList", {"2", "7", "2"}) +
                   EffectElement("AI.AddSeaZoneToPatrolList", {"2", "3", "1"}) +
                   EffectElement("AI.AddSeaZoneToPatrolList", {"2", "7", "5"}) +
                   EffectElement("AI.AddExtraCityToGarrison", {"2", "4", "2"}) +
                   EffectElement("AI.AddExtraCityToGarrison", {"2", "4", "2"}) +
                   EffectElement("AI.AddCountryToPress", {"2", "3"}) +
                   EffectElement("AI.AddCountryToPress", {"2", "3"}));
  EXPECT_TRUE(Complaints().empty());
  const std::vector<sPoint> doNotAttack{{1, 1}, {2, 3}};
  const std::vector<sPoint> invasions{{1, 1}, {4, 2}};
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "as set" : "read back");
    EXPECT_EQ(ai().DoNotAttackCities, doNotAttack);
    ASSERT_EQ(ai().CurrentTargets.size(), 3u);
    EXPECT_EQ(ai().CurrentTargets[1].value, -1);
    EXPECT_EQ(ai().ObligatorySeaInvasionTargets, invasions);
    ASSERT_EQ(ai().SeaZonesToPatrol.size(), 2u);
    EXPECT_EQ(ai().SeaZonesToPatrol[0].seaZone, 7);
    EXPECT_EQ(ai().SeaZonesToPatrol[0].value, 5);
    EXPECT_EQ(ai().ExtraCitiesToGarrison, (std::vector<sPoint>{{4, 2}}));
    EXPECT_EQ(ai().CountriesToPress, (std::vector<std::int32_t>{3, 3}));
    EXPECT_TRUE(world_.country(1).aiSettings.CurrentTargets.empty());
    if (round == 0) SaveAndReload();
  }

  FireSingleOption(EffectElement("AI.RemoveInvasionTarget", {"2", "3", "2"}) +
                   EffectElement("AI.RemoveDoNotAttackCity", {"2", "1", "1"}) +
                   EffectElement("AI.RemovePortForObligatoryInvasion", {"2", "4", "2"}) +
                   EffectElement("AI.RemoveSeaZoneFromPatrolList", {"2", "7"}) +
                   EffectElement("AI.RemoveSeaZoneFromPatrolList", {"2", "6"}));
  ASSERT_EQ(ai().CurrentTargets.size(), 1u);
  EXPECT_EQ(ai().CurrentTargets[0].x, 5);
  EXPECT_EQ(ai().DoNotAttackCities, (std::vector<sPoint>{{2, 3}}));
  EXPECT_EQ(ai().ObligatorySeaInvasionTargets, (std::vector<sPoint>{{1, 1}}));
  ASSERT_EQ(ai().SeaZonesToPatrol.size(), 1u);
  EXPECT_EQ(ai().SeaZonesToPatrol[0].seaZone, 3);
  EXPECT_TRUE(Complaints().empty());
}

TEST_F(AiEffectTest, SettingsAndFlagsSurviveASave) {
  ai().TransportsUnitsToFrontsBySea = 1;  // 0.5 truncates to 0 and clears it
  FireSingleOption(EffectElement("AI.SetMakesSeaInvasionsParameter", {"2", "0.5"}) +
                   EffectElement("AI.TransportUnitsToFrontsBySea", {"2", "0.5"}) +
                   EffectElement("AI.SetMaxNumberOfFrontsForSeaInvasion", {"2", "4"}) +
                   EffectElement("AI.SetDesiredStrategicMovementPoints", {"2", "12.8"}) +
                   EffectElement("AI.SetDesiredTechLevel", {"2", "6", "3"}) +
                   EffectElement("AI.SetDesiredTechLevel", {"2", "7", "9"}) +
                   EffectElement("AI.SetMultipleSideAttackPreferences", {"2", "7", "8", "9"}) +
                   EffectElement("AI.SetOneSideAttackPreferences", {"2", "1", "2", "3"}) +
                   EffectElement("AI.SetFortLevelToHoldAtAllCost", {"2", "2"}));
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "as set" : "read back");
    EXPECT_EQ(ai().MakesSeaInvasions, 1);
    EXPECT_EQ(ai().TransportsUnitsToFrontsBySea, 0);
    EXPECT_EQ(ai().MaxNumberOfFrontsForSeaInvasion, 4);
    EXPECT_EQ(ai().DesiredStrategicMovementPoints, 12);
    EXPECT_EQ(ai().DesiredTechLevels, (std::array<std::int32_t, 7>{1, 1, 1, 1, 1, 1, 3}));
    EXPECT_EQ(ai().MultipleSideAttackPreferences, (std::array<std::int32_t, 3>{7, 8, 9}));
    EXPECT_EQ(ai().OneSideAttackPreferences, (std::array<std::int32_t, 3>{1, 2, 3}));
    EXPECT_EQ(ai().FortLevelToHoldAtAllCost, 2);
    if (round == 0) SaveAndReload();
  }
}

struct RefusalCase {
  const char* name;
  std::string effect;
  std::u16string complaint;
};

class AiEffectRefusalTest : public AiEffectTest, public testing::WithParamInterface<RefusalCase> {};

// What names nothing, or what a saved game could not read back, changes nothing.
TEST_P(AiEffectRefusalTest, ChangesNothingAndSaysWhy) {
  const sCountryAiSettings before = ai();
  FireSingleOption(GetParam().effect);
  EXPECT_EQ(Complaints(), (std::vector<std::u16string>{GetParam().complaint}));
  EXPECT_EQ(ai().DoNotAttackCities, before.DoNotAttackCities);
  EXPECT_EQ(ai().ExtraCitiesToGarrison, before.ExtraCitiesToGarrison);
  EXPECT_EQ(ai().ObligatorySeaInvasionTargets, before.ObligatorySeaInvasionTargets);
  EXPECT_TRUE(ai().CurrentTargets.empty());
  EXPECT_TRUE(ai().SeaZonesToPatrol.empty());
  EXPECT_TRUE(ai().CountriesToPress.empty());
  EXPECT_EQ(ai().DesiredTechLevels, before.DesiredTechLevels);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, AiEffectRefusalTest,
    testing::Values(
        RefusalCase{"GarrisonWithoutCity", EffectElement("AI.AddExtraCityToGarrison", {"2", "3", "3"}),
                    u"WARNING: effect AI.AddExtraCityToGarrison at line 3: there is no city on hex (3, 3); nothing "
                    u"changes"},
        RefusalCase{"DoNotAttackOffTheMap", EffectElement("AI.AddDoNotAttackCity", {"2", "-1", "0"}),
                    u"WARNING: effect AI.AddDoNotAttackCity at line 3: hex (-1, 0) is off the map; nothing changes"},
        RefusalCase{"InvasionOfACityThatIsNoPort",
                    EffectElement("AI.AddPortForObligatoryInvasion", {"2", "2", "3", "0"}),
                    u"WARNING: effect AI.AddPortForObligatoryInvasion at line 3: the city on hex (2, 3) is not a port; "
                    u"nothing changes"},
        RefusalCase{"TargetOffTheMap", EffectElement("AI.AddInvasionTarget", {"2", "6", "0", "1"}),
                    u"WARNING: effect AI.AddInvasionTarget at line 3: hex (6, 0) is off the map; nothing changes"},
        RefusalCase{"PatrolOfANodeThatDoesNotExist", EffectElement("AI.AddSeaZoneToPatrolList", {"2", "9", "1"}),
                    u"WARNING: effect AI.AddSeaZoneToPatrolList at line 3: there is no sea node 9; nothing changes"},
        RefusalCase{"PressingNobody", EffectElement("AI.AddCountryToPress", {"2", "4"}),
                    u"WARNING: effect AI.AddCountryToPress at line 3: there is no country 4; nothing changes"},
        RefusalCase{"TechnologySeven", EffectElement("AI.SetDesiredTechLevel", {"2", "7", "1"}),
                    u"WARNING: effect AI.SetDesiredTechLevel at line 3: there is no technology 7 (0 to 6); nothing "
                    u"changes"},
        RefusalCase{"CountryThatDoesNotExist", EffectElement("AI.AddDoNotAttackCity", {"9", "1", "1"}),
                    u"WARNING: effect AI.AddDoNotAttackCity at line 3: there is no country 9; nothing changes"}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tr::test
