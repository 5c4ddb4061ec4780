// An event file that uses every "Country." and "AI." method, added to the
// shipped sample scenario: it loads and validates with the game, and its
// option fires in the event check without a complaint from any effect.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "events/effect_methods.h"
#include "events/zdarzenia.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/headless_presentation.h"

namespace tr::test {
namespace {

// Nordvik (8) is neutral, Rusmark (5) leads the comintern; Lundmouth (8,9)
// and Carrow (4,12) are ports, Brestoc (14,17) a port, Kaltberg (26,15) a city.
constexpr char kEffects[] = R"(
<effect method="Country.ChangeDiplomaticPoints" param0="8" param1="5"/>
<effect method="Country.ChangeProductionPoints" param0="8" param1="2.5"/>
<effect method="Country.ChangePoliticalStrength" param0="8" param1="5"/>
<effect method="Country.ChangeAllianceEntry" param0="8" param1="5"/>
<effect method="Country.SetAllianceEntry" param0="8" param1="20"/>
<effect method="Country.ChangeSocialUnrest" param0="8" param1="3"/>
<effect method="Country.ChangeWarEconomy" param0="8" param1="5"/>
<effect method="Country.SetDiplomaticPoints" param0="8" param1="12"/>
<effect method="Country.SetProductionPoints" param0="8" param1="30"/>
<effect method="Country.SetPoliticalStrength" param0="8" param1="45"/>
<effect method="Country.SetSocialUnrest" param0="8" param1="4"/>
<effect method="Country.SetWarEconomy" param0="8" param1="20"/>
<effect method="Country.DeclareWarOnCountry" param0="5" param1="8"/>
<effect method="Country.SetZoneOfInfluence" param0="8" param1="1"/>
<effect method="Country.SetOrientation" param0="8" param1="3"/>
<effect method="Country.ChangeTerritoryControllerOwnerAndOriginalOwner" param0="9" param1="7"/>
<effect method="Country.UnFreezeAllUnits" param0="1"/>
<effect method="Country.SetFreezeLevelForAllFreezedUnits" param0="1" param1="2"/>
<effect method="Country.KillAllLandUnits" param0="9"/>
<effect method="Country.KillAllAirUnits" param0="9"/>
<effect method="Country.KillAllNavalUnits" param0="9"/>
<effect method="Country.ChangeOwnershipOfAllNavalUnits" param0="9" param1="7"/>
<effect method="Country.KillAllUnitsInReserve" param0="9"/>
<effect method="Country.SetActive" param0="9" param1="1"/>
<effect method="Country.ChangeEffectivityOfAllUnits" param0="1" param1="1" param2="10"/>
<effect method="Country.AddConvoy" param0="3" param1="1" param2="5" param3="8" param4="9" param5="4" param6="12"/>
<effect method="Country.AddConvoy" param0="3" param1="0" param2="5" param3="8" param4="9" param5="4" param6="12"/>
<effect method="Country.RemoveConvoy" param0="3" param1="1" param2="8" param3="9" param4="4" param5="12"/>
<effect method="Country.NewUnitPurchasePreferences" param0="2" param1="1" param2="5"/>
<effect method="Country.SetTechLevel" param0="8" param1="0" param2="2"/>
<effect method="Country.ChangeTechLevel" param0="8" param1="1" param2="1"/>
<effect method="Country.SetTechResearchProgress" param0="8" param1="0" param2="10"/>
<effect method="Country.SetTechInvestment" param0="8" param1="0" param2="2"/>
<effect method="Country.ChangeSTP" param0="8" param1="2"/>
<effect method="Country.ChangeAIP" param0="8" param1="1"/>
<effect method="Country.SetWinterBattle" param0="8" param1="-0.2"/>
<effect method="Country.SetWinterMove" param0="8" param1="-0.3"/>
<effect method="Country.SetMudBattle" param0="8" param1="-0.1"/>
<effect method="Country.SetMudMove" param0="8" param1="-0.4"/>
<effect method="Country.ChangeSMP" param0="8" param1="3"/>
<effect method="Country.ChangeUpkeepCost" param0="8" param1="0.1"/>
<effect method="Country.SetUpkeepCost" param0="8" param1="1.2"/>
<effect method="Country.SetMaxSafeMoveCost" param0="8" param1="4"/>
<effect method="Country.SetDesiredLandForcesStructure" param0="8" param1="2" param2="25"/>
<effect method="Country.SetMinRatioToPatchFront" param0="8" param1="2"/>
<effect method="Country.SetMaxUnitCountOnFront" param0="8" param1="10"/>
<effect method="Country.SetMaxCoveringUnitDistance" param0="8" param1="2"/>
<effect method="Country.DamageRandomShipsInSeaZone" param0="1" param1="2" param2="0.1" param3="0.2"/>
<effect method="Country.ChangeMonthsToReachWarfareDoctrineLevel" param0="8" param1="-1"/>
<effect method="Country.ChangeTechInvestment" param0="8" param1="1" param2="1"/>
<effect method="Country.ChangeTechResearchProgress" param0="8" param1="1" param2="5"/>
<effect method="Country.SetAICarrierTargetsPriorities" param0="9" param1="8" param2="7" param3="6" param4="5" param5="4" param6="3" param7="2" param8="1"/>
<effect method="Country.ChangeAICarrierTargetsPriorities" param0="8" param1="1" param2="95"/>
<effect method="AI.AddInvasionTarget" param0="1" param1="14" param2="17" param3="-1"/>
<effect method="AI.SetMakesSeaInvasionsParameter" param0="1" param1="1"/>
<effect method="AI.AddDoNotAttackCity" param0="1" param1="8" param2="9"/>
<effect method="AI.RemoveDoNotAttackCity" param0="1" param1="8" param2="9"/>
<effect method="AI.AddCountryToPress" param0="1" param1="7"/>
<effect method="AI.SetDesiredStrategicMovementPoints" param0="1" param1="20"/>
<effect method="AI.SetDesiredTechLevel" param0="1" param1="0" param2="3"/>
<effect method="AI.SetMaxNumberOfFrontsForSeaInvasion" param0="1" param1="3"/>
<effect method="AI.AddExtraCityToGarrison" param0="1" param1="26" param2="15"/>
<effect method="AI.AddInvasionTarget" param0="1" param1="17" param2="20" param3="8"/>
<effect method="AI.RemoveInvasionTarget" param0="1" param1="14" param2="17"/>
<effect method="AI.AddSeaZoneToPatrolList" param0="1" param1="2" param2="5"/>
<effect method="AI.AddSeaZoneToPatrolList" param0="1" param1="1" param2="3"/>
<effect method="AI.RemoveSeaZoneFromPatrolList" param0="1" param1="2"/>
<effect method="AI.AddPortForObligatoryInvasion" param0="1" param1="4" param2="12" param3="1"/>
<effect method="AI.AddPortForObligatoryInvasion" param0="1" param1="14" param2="17" param3="1"/>
<effect method="AI.RemovePortForObligatoryInvasion" param0="1" param1="4" param2="12"/>
<effect method="AI.TransportUnitsToFrontsBySea" param0="1" param1="1"/>
<effect method="AI.SetMultipleSideAttackPreferences" param0="1" param1="5" param2="3" param3="4"/>
<effect method="AI.SetOneSideAttackPreferences" param0="1" param1="4" param2="2" param3="2"/>
<effect method="AI.SetFortLevelToHoldAtAllCost" param0="1" param1="4"/>
<effect method="Country.MakePeace" param0="8" param1="1"/>
)";

std::string AllEffectsFile() {
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<events>\n") +
         R"(<event eventID="90" countryID="8" visibleByPlayer="0" oneTimeChecking="1"><title>Every effect</title>)"
         R"(<options><option optionID="1" chanceAI="100"><description>All</description><effects>)" +
         kEffects + "</effects></option></options></event>\n</events>\n";
}

class SampleEffectsTest : public testing::Test {
 protected:
  SampleEffectsTest() : scoped_(presentation_) {
    CopyBuiltScenario(dir_.path(), "NorthernTide");
    const std::filesystem::path scenario = dir_.path() / "data/scenarios/NorthernTide";
    dir_.Write("data/scenarios/NorthernTide/all_effects.xml", AllEffectsFile());
    const std::string list = ReadFileBytes(scenario / "event_files.txt");
    dir_.Write("data/scenarios/NorthernTide/event_files.txt",
               list + "\r\ndata\\scenarios\\NorthernTide\\all_effects.xml\r\n");
    SetGameRoot(dir_.path());
    SeedRandom(7);
  }
  ~SampleEffectsTest() override {
    delete gGame;
    gGame = nullptr;
    SetGameRoot({});
  }

  TempDir dir_;
  cHeadlessPresentation presentation_;
  ScopedPresentation scoped_;
};

TEST_F(SampleEffectsTest, EveryCountryAndAiMethodIsUsed) {
  std::set<std::string> used;
  const std::string text = kEffects;
  for (std::size_t at = text.find("method=\""); at != std::string::npos; at = text.find("method=\"", at + 1)) {
    const std::size_t begin = at + 8;
    used.insert(text.substr(begin, text.find('"', begin) - begin));
  }
  std::set<std::string> family;
  for (const sEffectMethod& method : EffectMethods()) {
    const std::string name(method.name.begin(), method.name.end());
    if (name.starts_with("Country.") || name.starts_with("AI.")) family.insert(name);
  }
  EXPECT_EQ(family.size(), 71u);
  EXPECT_EQ(used, family);
}

TEST_F(SampleEffectsTest, LoadsValidatesAndFiresWithoutAComplaint) {
  LogCapture log;
  cGame* game = LoadNewScenario(u"data\\scenarios\\NorthernTide\\%s", 0);
  ASSERT_NE(game, nullptr);
  ASSERT_EQ(game->events->events.back().eventID, 90);
  const cCountry& nordvik = *game->countries[7];
  const std::int32_t priorities = nordvik.aiSettings.CarrierTargetsPriorities[0];
  ASSERT_NE(priorities, 95);
  log.Clear();
  game->events->CheckEventsAtTurnEnd(*game);
  EXPECT_TRUE(log.Contains(u"Condition for event with ID=90 is true. Firing..."));
  EXPECT_EQ(log.lines().back(), u"CHECKING EVENTS FINISHED");
  for (const std::u16string& line : log.lines()) {
    const std::string text(line.begin(), line.end());
    EXPECT_EQ(text.find("ERROR"), std::string::npos) << text;
    EXPECT_EQ(text.find("refused"), std::string::npos) << text;
    // The sample's own events may use families still to come; these two are here.
    EXPECT_FALSE(text.starts_with("WARNING: effect Country.")) << text;
    EXPECT_FALSE(text.starts_with("WARNING: effect AI.")) << text;
  }
  // A few of the changes, one per kind of effect.
  EXPECT_EQ(nordvik.diplomaticPoints, 12);
  EXPECT_EQ(nordvik.politicalStrength, 45);
  EXPECT_EQ(nordvik.orientation, 3);
  EXPECT_EQ(nordvik.aiSettings.CarrierTargetsPriorities[0], 95);
  EXPECT_FALSE(nordvik.IsAtWarWithAnyone());
  EXPECT_TRUE(log.Contains(u"Rusmark declares war on Nordvik (CASE 4)"));
  const sCountryAiSettings& kaltheim = game->countries[0]->aiSettings;
  EXPECT_EQ(kaltheim.ObligatorySeaInvasionTargets, (std::vector<sPoint>{{14, 17}}));
  // The sample's Kaltheim patrols zones 1, 2 and 4: the effects set zone 1's value and drop zone 2.
  EXPECT_EQ(kaltheim.SeaZonesToPatrol.size(), 2u);
  EXPECT_EQ(kaltheim.GetSeaZoneToPatrolValue(1), 3);
  EXPECT_EQ(kaltheim.GetSeaZoneToPatrolValue(2), 0);
  EXPECT_EQ(game->convoys.ConvoysOf(3).back().kind, 0);
}

}  // namespace
}  // namespace tr::test
