// The "Country." effects on points, politics, technologies and settings, run
// as a scenario author meets them: an event file read by the loader, checked,
// and its option fired.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "event_fixture.h"
#include "world/gra.h"

namespace tr::test {
namespace {

class CountryEffectFileTest : public EventFilesTest {
 protected:
  cCountry& c1() { return world_.country(1); }
  // The log lines an effect writes about its parameters or its results.
  std::vector<std::u16string> Complaints() const { return LinesStartingWith({u"ERROR", u"WARNING", u"ERR"}); }
};

struct PointCase {
  const char* name;
  std::string effects;
  std::function<void(cCountry&)> setup;
  std::function<void(const cCountry&)> check;
  std::vector<std::u16string> complaints;
};

class CountryPointEffectTest : public CountryEffectFileTest, public testing::WithParamInterface<PointCase> {};

TEST_P(CountryPointEffectTest, ChangesTheCountryAsTheRuleSays) {
  const PointCase& c = GetParam();
  c.setup(c1());
  FireSingleOption(c.effects);
  c.check(c1());
  EXPECT_EQ(Complaints(), c.complaints);
  EXPECT_TRUE(engine_.messages.empty());
}

void Nothing(cCountry&) {}

INSTANTIATE_TEST_SUITE_P(
    Points, CountryPointEffectTest,
    testing::Values(
        PointCase{"SetDiplomaticPoints",
                  EffectElement("Country.SetDiplomaticPoints", {"1", "10"}),
                  [](cCountry& c) { c.diplomaticPoints = 25; },
                  [](const cCountry& c) { EXPECT_EQ(c.diplomaticPoints, 10); },
                  {}},
        PointCase{"ChangeDiplomaticPoints",
                  EffectElement("Country.ChangeDiplomaticPoints", {"1", "10.9"}),
                  [](cCountry& c) { c.diplomaticPoints = 25; },
                  [](const cCountry& c) { EXPECT_EQ(c.diplomaticPoints, 35); },
                  {}},
        PointCase{"DiplomaticPointsStayWhereASaveKeepsThem",
                  EffectElement("Country.ChangeDiplomaticPoints", {"1", "2000000000"}),
                  [](cCountry& c) { c.diplomaticPoints = 2000000000; },
                  [](const cCountry& c) { EXPECT_EQ(c.diplomaticPoints, 1000000); },
                  {u"WARNING: effect Country.ChangeDiplomaticPoints at line 3: DPs of Country1 held at 1000000, "
                   u"within -1000000 to 1000000"}},
        PointCase{"DiplomaticPointsGoIntoDebtAsFarAsASaveKeepsThem",
                  EffectElement("Country.ChangeDiplomaticPoints", {"1", "-50"}) +
                      EffectElement("Country.SetDiplomaticPoints", {"2", "-2000000000"}),
                  [](cCountry& c) { c.diplomaticPoints = 20; },
                  [](const cCountry& c) { EXPECT_EQ(c.diplomaticPoints, -30); },
                  {u"WARNING: effect Country.SetDiplomaticPoints at line 3: DPs of Country2 held at -1000000, "
                   u"within -1000000 to 1000000"}},
        PointCase{"ProductionPointsKeepTheirFraction",
                  EffectElement("Country.ChangeProductionPoints", {"1", "-2.5"}),
                  [](cCountry& c) { c.productionPoints = 10.0; },
                  [](const cCountry& c) { EXPECT_DOUBLE_EQ(c.productionPoints, 7.5); },
                  {}},
        PointCase{"SetProductionPoints",
                  EffectElement("Country.SetProductionPoints", {"1", "4.25"}),
                  Nothing,
                  [](const cCountry& c) { EXPECT_DOUBLE_EQ(c.productionPoints, 4.25); },
                  {}},
        PointCase{"PoliticalStrengthChangeClampsTo0",
                  EffectElement("Country.ChangePoliticalStrength", {"1", "0"}),
                  [](cCountry& c) { c.politicalStrength = -1; },
                  [](const cCountry& c) { EXPECT_EQ(c.politicalStrength, 0); },
                  {}},
        PointCase{"PoliticalStrengthChangeClampsTo100",
                  EffectElement("Country.ChangePoliticalStrength", {"1", "30"}),
                  [](cCountry& c) { c.politicalStrength = 80; },
                  [](const cCountry& c) { EXPECT_EQ(c.politicalStrength, 100); },
                  {}},
        PointCase{"PoliticalStrengthSetIsUnbounded",
                  EffectElement("Country.SetPoliticalStrength", {"1", "150"}),
                  Nothing,
                  [](const cCountry& c) { EXPECT_EQ(c.politicalStrength, 150); },
                  {}},
        PointCase{"AllianceEntryBelow100IsStoredAsGiven",
                  EffectElement("Country.SetAllianceEntry", {"1", "-20"}),
                  Nothing,
                  [](const cCountry& c) { EXPECT_EQ(c.allianceEntry, -20); },
                  {}},
        PointCase{"AllianceEntryChangeStopsAt0",
                  EffectElement("Country.ChangeAllianceEntry", {"1", "-30"}),
                  [](cCountry& c) { c.allianceEntry = 20; },
                  [](const cCountry& c) { EXPECT_EQ(c.allianceEntry, 0); },
                  {}},
        PointCase{"SocialUnrestChangeStopsAt0",
                  EffectElement("Country.ChangeSocialUnrest", {"1", "-30"}),
                  [](cCountry& c) { c.socialUnrest = 20.0f; },
                  [](const cCountry& c) { EXPECT_EQ(c.socialUnrest, 0.0f); },
                  {}},
        PointCase{"SocialUnrestSetStopsAt100",
                  EffectElement("Country.SetSocialUnrest", {"1", "130"}),
                  Nothing,
                  [](const cCountry& c) { EXPECT_EQ(c.socialUnrest, 100.0f); },
                  {}},
        PointCase{"WarEconomy",
                  EffectElement("Country.ChangeWarEconomy", {"1", "5.5"}) +
                      EffectElement("Country.ChangeWarEconomy", {"1", "2"}),
                  [](cCountry& c) { c.warEconomy = 40.0f; },
                  [](const cCountry& c) { EXPECT_FLOAT_EQ(c.warEconomy, 47.5f); },
                  {}},
        PointCase{"SetWarEconomyKeepsItsFraction",
                  EffectElement("Country.SetWarEconomy", {"1", "12.5"}),
                  [](cCountry& c) { c.warEconomy = 40.0f; },
                  [](const cCountry& c) { EXPECT_FLOAT_EQ(c.warEconomy, 12.5f); },
                  {}},
        PointCase{"SmpsStopAt0AndTheAllowanceStays",
                  EffectElement("Country.ChangeSMP", {"1", "-10"}),
                  [](cCountry& c) {
                    c.strategicMovementPoints = 4;
                    c.strategicMovementMax = 20;
                  },
                  [](const cCountry& c) {
                    EXPECT_EQ(c.strategicMovementPoints, 0);
                    EXPECT_EQ(c.strategicMovementMax, 20);
                  },
                  {}},
        PointCase{"TransportAndInvasionPoints",
                  EffectElement("Country.ChangeSTP", {"1", "-3"}) + EffectElement("Country.ChangeAIP", {"1", "7"}),
                  [](cCountry& c) {
                    c.seaTransportPoints = 10;
                    c.invasionPoints = 1;
                  },
                  [](const cCountry& c) {
                    EXPECT_EQ(c.seaTransportPoints, 7);
                    EXPECT_EQ(c.invasionPoints, 8);
                  },
                  {}},
        PointCase{"TransportAndInvasionPointsGoIntoDebt",
                  EffectElement("Country.ChangeSTP", {"1", "-14"}) + EffectElement("Country.ChangeAIP", {"1", "-6"}),
                  [](cCountry& c) {
                    c.seaTransportPoints = 11;
                    c.invasionPoints = 2;
                  },
                  [](const cCountry& c) {
                    EXPECT_EQ(c.seaTransportPoints, -3);
                    EXPECT_EQ(c.invasionPoints, -4);
                  },
                  {}},
        PointCase{"ActiveFromAFraction",
                  EffectElement("Country.SetActive", {"1", "0.5"}),
                  [](cCountry& c) { c.isActive = 0; },
                  [](const cCountry& c) { EXPECT_EQ(c.isActive, 1); },
                  {}},
        PointCase{"Inactive",
                  EffectElement("Country.SetActive", {"1", "0"}),
                  Nothing,
                  [](const cCountry& c) { EXPECT_EQ(c.isActive, 0); },
                  {}},
        PointCase{"ZoneAndOrientation",
                  EffectElement("Country.SetZoneOfInfluence", {"1", "3"}) +
                      EffectElement("Country.SetOrientation", {"1", "4.7"}),
                  Nothing,
                  [](const cCountry& c) {
                    EXPECT_EQ(c.zoneOfInfluence, 3);
                    EXPECT_EQ(c.orientation, 4);
                  },
                  {}},
        PointCase{
            "OrientationAndZoneThatNameNothingAreRefused",
            EffectElement("Country.SetZoneOfInfluence", {"1", "4"}) +
                EffectElement("Country.SetOrientation", {"1", "6"}),
            [](cCountry& c) {
              c.zoneOfInfluence = 2;
              c.orientation = 1;
            },
            [](const cCountry& c) {
              EXPECT_EQ(c.zoneOfInfluence, 2);
              EXPECT_EQ(c.orientation, 1);
            },
            {u"WARNING: effect Country.SetZoneOfInfluence at line 3: zone of influence 4 is outside 0 to 3; "
             u"nothing changes",
             u"WARNING: effect Country.SetOrientation at line 3: orientation 6 is outside 0 to 5; nothing changes"}},
        PointCase{"TechnologyLevelsAreKeptPastTheTables",
                  EffectElement("Country.SetTechLevel", {"1", "3", "9"}) +
                      EffectElement("Country.ChangeTechLevel", {"1", "5", "-1"}) +
                      EffectElement("Country.ChangeTechLevel", {"1", "0", "2"}),
                  [](cCountry& c) {
                    c.techLevels[5] = 0;
                    c.techLevels[0] = 2;
                  },
                  [](const cCountry& c) {
                    EXPECT_EQ(c.techLevels[3], 9);
                    EXPECT_EQ(c.techLevels[5], -1);
                    EXPECT_EQ(c.techLevels[0], 4);
                  },
                  {}},
        PointCase{"TechInvestmentChangeStaysIn0To3",
                  EffectElement("Country.ChangeTechInvestment", {"1", "1", "5"}) +
                      EffectElement("Country.ChangeTechInvestment", {"1", "4", "-5"}),
                  [](cCountry& c) {
                    c.techInvestments[1] = 1;
                    c.techInvestments[4] = 1;
                  },
                  [](const cCountry& c) {
                    EXPECT_EQ(c.techInvestments[1], 3);
                    EXPECT_EQ(c.techInvestments[4], 0);
                  },
                  {}},
        PointCase{"ResearchAndInvestmentSets",
                  EffectElement("Country.SetTechResearchProgress", {"1", "6", "12"}) +
                      EffectElement("Country.SetTechInvestment", {"1", "6", "7"}) +
                      EffectElement("Country.ChangeTechResearchProgress", {"1", "0", "-9"}),
                  [](cCountry& c) { c.researchProgress[0] = 4; },
                  [](const cCountry& c) {
                    EXPECT_EQ(c.researchProgress[6], 12);
                    EXPECT_EQ(c.techInvestments[6], 7);
                    EXPECT_EQ(c.researchProgress[0], 0);
                  },
                  {}},
        PointCase{"TechnologyOutside0To6ChangesNothing",
                  EffectElement("Country.SetTechLevel", {"1", "7", "3"}),
                  Nothing,
                  [](const cCountry& c) { EXPECT_EQ(c.techLevels, (std::array<std::int32_t, 7>{})); },
                  {u"WARNING: effect Country.SetTechLevel at line 3: there is no technology 7 (0 to 6); nothing "
                   u"changes"}},
        PointCase{"WeatherAndUpkeep",
                  EffectElement("Country.SetWinterBattle", {"1", "-0.5"}) +
                      EffectElement("Country.SetWinterMove", {"1", "0.25"}) +
                      EffectElement("Country.SetMudBattle", {"1", "-1"}) +
                      EffectElement("Country.SetMudMove", {"1", "2"}) +
                      EffectElement("Country.SetUpkeepCost", {"1", "1.5"}) +
                      EffectElement("Country.ChangeUpkeepCost", {"1", "-0.25"}),
                  Nothing,
                  [](const cCountry& c) {
                    EXPECT_FLOAT_EQ(c.winterBattle, -0.5f);
                    EXPECT_FLOAT_EQ(c.winterMove, 0.25f);
                    EXPECT_FLOAT_EQ(c.mudBattle, -1.0f);
                    EXPECT_FLOAT_EQ(c.mudMove, 2.0f);
                    EXPECT_FLOAT_EQ(c.unitUpkeepModifier, 1.25f);
                  },
                  {}},
        PointCase{"ComputerOpponentSettings",
                  EffectElement("Country.NewUnitPurchasePreferences", {"1", "1", "42"}) +
                      EffectElement("Country.NewUnitPurchasePreferences", {"1", "14", "7"}) +
                      EffectElement("Country.SetDesiredLandForcesStructure", {"1", "5", "33"}) +
                      EffectElement("Country.SetMaxSafeMoveCost", {"1", "9.9"}) +
                      EffectElement("Country.SetMinRatioToPatchFront", {"1", "1.75"}) +
                      EffectElement("Country.SetMaxUnitCountOnFront", {"1", "4"}) +
                      EffectElement("Country.SetMaxCoveringUnitDistance", {"1", "6"}) +
                      EffectElement("Country.ChangeAICarrierTargetsPriorities", {"1", "9", "1"}),
                  Nothing,
                  [](const cCountry& c) {
                    const sCountryAiSettings& ai = c.aiSettings;
                    EXPECT_EQ(ai.NewUnitPurchasePreferences[0], 42);
                    EXPECT_EQ(ai.NewUnitPurchasePreferences[13], 7);
                    EXPECT_EQ(ai.DesiredLandForcesStructure[4], 33);
                    EXPECT_EQ(ai.MaxSafeMoveCost, 9);
                    EXPECT_FLOAT_EQ(ai.MinRatioToPatchFront, 1.75f);
                    EXPECT_EQ(ai.MaxUnitCountOnFront, 4);
                    EXPECT_EQ(ai.MaxCoveringUnitDistance, 6);
                    EXPECT_EQ(ai.CarrierTargetsPriorities[8], 1);
                  },
                  {}},
        // Limits the computer opponent's searches add to coordinates and costs.
        PointCase{"ComputerOpponentLimitsAreHeld",
                  EffectElement("Country.SetMaxCoveringUnitDistance", {"1", "2147483647"}) +
                      EffectElement("Country.SetMaxUnitCountOnFront", {"1", "-2147483648"}) +
                      EffectElement("Country.SetMaxSafeMoveCost", {"1", "-2147483648"}) +
                      EffectElement("Country.SetMinRatioToPatchFront", {"1", "-1"}),
                  Nothing,
                  [](const cCountry& c) {
                    EXPECT_EQ(c.aiSettings.MaxCoveringUnitDistance, 1000000);
                    EXPECT_EQ(c.aiSettings.MaxUnitCountOnFront, 0);
                    EXPECT_EQ(c.aiSettings.MaxSafeMoveCost, -1000000);
                    EXPECT_FLOAT_EQ(c.aiSettings.MinRatioToPatchFront, 0.0f);
                  },
                  {u"WARNING: effect Country.SetMaxCoveringUnitDistance at line 3: MaxCoveringUnitDistance of Country1 "
                   u"held at 1000000, within 0 to 1000000",
                   u"WARNING: effect Country.SetMaxUnitCountOnFront at line 3: MaxUnitCountOnFront of Country1 held at "
                   u"0, within 0 to 1000000",
                   u"WARNING: effect Country.SetMaxSafeMoveCost at line 3: MaxSafeMoveCost of Country1 held at "
                   u"-1000000, within -1000000 to 1000000",
                   u"WARNING: effect Country.SetMinRatioToPatchFront at line 3: MinRatioToPatchFront of Country1 held "
                   u"at 0.000000, within 0.000000 to 1000.000000"}},
        PointCase{"PositionsOutsideTheListChangeNothing",
                  EffectElement("Country.NewUnitPurchasePreferences", {"1", "15", "42"}) +
                      EffectElement("Country.SetDesiredLandForcesStructure", {"1", "0", "33"}) +
                      EffectElement("Country.ChangeAICarrierTargetsPriorities", {"1", "10", "1"}),
                  Nothing,
                  [](const cCountry& c) {
                    const sCountryAiSettings defaults;
                    EXPECT_EQ(c.aiSettings.NewUnitPurchasePreferences, defaults.NewUnitPurchasePreferences);
                    EXPECT_EQ(c.aiSettings.DesiredLandForcesStructure, defaults.DesiredLandForcesStructure);
                    EXPECT_EQ(c.aiSettings.CarrierTargetsPriorities, defaults.CarrierTargetsPriorities);
                  },
                  {u"WARNING: effect Country.NewUnitPurchasePreferences at line 3: position 15 is outside 1 to 14; "
                   u"nothing changes",
                   u"WARNING: effect Country.SetDesiredLandForcesStructure at line 3: position 0 is outside 1 to 5; "
                   u"nothing changes",
                   u"WARNING: effect Country.ChangeAICarrierTargetsPriorities at line 3: position 10 is outside 1 to "
                   u"9; nothing changes"}},
        PointCase{"DoctrineMonthsStopAt0AndTheReachedLevelIsTaken",
                  EffectElement("Country.ChangeMonthsToReachWarfareDoctrineLevel", {"1", "-3"}),
                  [](cCountry& c) {
                    c.doctrineMonths = {2, 5, 12, 18, 24};
                  },
                  [](const cCountry& c) {
                    EXPECT_EQ(c.doctrineMonths, (std::array<std::int32_t, 5>{0, 2, 9, 15, 21}));
                    EXPECT_EQ(c.techLevels[2], 1);
                  },
                  {}},
        PointCase{"DoctrineMonthsRise",
                  EffectElement("Country.ChangeMonthsToReachWarfareDoctrineLevel", {"1", "4"}),
                  [](cCountry& c) {
                    c.doctrineMonths = {-2, 5, 12, 18, 24};
                    c.techLevels[2] = 1;
                  },
                  [](const cCountry& c) {
                    EXPECT_EQ(c.doctrineMonths, (std::array<std::int32_t, 5>{2, 9, 16, 22, 28}));
                    EXPECT_EQ(c.techLevels[2], 1);
                  },
                  {}},
        PointCase{"CountryThatDoesNotExist",
                  EffectElement("Country.ChangeDiplomaticPoints", {"4", "10"}) +
                      EffectElement("Country.SetTechLevel", {"0", "1", "2"}),
                  Nothing,
                  [](const cCountry& c) { EXPECT_EQ(c.diplomaticPoints, 0); },
                  {u"WARNING: effect Country.ChangeDiplomaticPoints at line 3: there is no country 4; nothing changes",
                   u"WARNING: effect Country.SetTechLevel at line 3: there is no country 0; nothing changes"}}),
    [](const testing::TestParamInfo<PointCase>& info) { return std::string(info.param.name); });

TEST_F(CountryEffectFileTest, CarrierPrioritiesOfEveryCountryWhateverTheFirstNumber) {
  FireSingleOption(
      R"(<effect method="Country.SetAICarrierTargetsPriorities" param0="77" param1="8" param2="7" param3="6" )"
      R"(param4="5" param5="4" param6="3" param7="2" param8="1"/>)");
  for (int id = 1; id <= 3; ++id) {
    EXPECT_EQ(world_.country(id).aiSettings.CarrierTargetsPriorities,
              (std::array<std::int32_t, 9>{77, 8, 7, 6, 5, 4, 3, 2, 1}));
  }
}

// Countries 2 and 3 lead the axis and the comintern; country 1 leans to the axis.
class AllianceEntryTest : public CountryEffectFileTest {
 protected:
  AllianceEntryTest() {
    world_.country(2).alliance = kAxisLeader;
    world_.country(3).alliance = kCominternLeader;
    c1().orientation = kProAxis;
    c1().allianceEntry = 80;
    // The leader's war comes with the alliance.
    world_.game().relations.SetWar(2, 3, true);
    world_.game().relations.SetWar(3, 2, true);
  }
  std::u16string JoinText() const {
    return u"Alliance entry level in Country1 reaches 100%% and Country1 joins " + std::u16string(u"axis");
  }
};

TEST_F(AllianceEntryTest, ReachingHundredJoinsTheCampsAllianceWithItsText) {
  FireSingleOption(EffectElement("Country.ChangeAllianceEntry", {"1", "30"}));
  EXPECT_EQ(c1().allianceEntry, 100);
  EXPECT_EQ(c1().alliance, kAxis);
  EXPECT_TRUE(world_.game().relations.IsAtWar(1, 3));
  EXPECT_EQ(engine_.messages, (std::vector<std::u16string>{JoinText()}));
}

TEST_F(AllianceEntryTest, SettingAboveHundredJoinsAtHundredAndAMemberJoinsAgain) {
  FireSingleOption(EffectElement("Country.SetAllianceEntry", {"1", "150"}) +
                   EffectElement("Country.ChangeAllianceEntry", {"1", "0"}));
  EXPECT_EQ(c1().allianceEntry, 100);
  EXPECT_EQ(c1().alliance, kAxis);
  EXPECT_EQ(engine_.messages, (std::vector<std::u16string>{JoinText(), JoinText()}));
}

// From 80: the level is kept at 100 at most, and only 100 joins.
struct EntryCase {
  const char* name;
  const char* method;
  const char* value;
  int entry;
  bool joins;
};
class AllianceEntryBound : public AllianceEntryTest, public testing::WithParamInterface<EntryCase> {};

TEST_P(AllianceEntryBound, OnlyAHundredJoinsAndNothingGoesAboveIt) {
  const EntryCase& c = GetParam();
  FireSingleOption(EffectElement(c.method, {"1", c.value}));
  EXPECT_EQ(c1().allianceEntry, c.entry);
  EXPECT_EQ(c1().alliance, c.joins ? kAxis : kNeutral);
  EXPECT_EQ(engine_.messages.size(), c.joins ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Levels, AllianceEntryBound,
                         testing::Values(EntryCase{"Set99", "Country.SetAllianceEntry", "99", 99, false},
                                         EntryCase{"Set100", "Country.SetAllianceEntry", "100", 100, true},
                                         EntryCase{"Set101", "Country.SetAllianceEntry", "101", 100, true},
                                         EntryCase{"ChangeTo99", "Country.ChangeAllianceEntry", "19", 99, false},
                                         EntryCase{"ChangeTo100", "Country.ChangeAllianceEntry", "20", 100, true},
                                         EntryCase{"ChangeTo101", "Country.ChangeAllianceEntry", "21", 100, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Every leader, the first and the last, stays a leader; a member joins its camp's alliance. Either way
// a level above 100 is kept at 100.
struct LeaderCase {
  const char* name;
  int alliance;
  bool stays;
};
class AllianceLeaderBound : public AllianceEntryTest, public testing::WithParamInterface<LeaderCase> {};

TEST_P(AllianceLeaderBound, LeadersStayLeaders) {
  const LeaderCase& c = GetParam();
  c1().alliance = c.alliance;
  FireSingleOption(EffectElement("Country.SetAllianceEntry", {"1", "101"}));
  EXPECT_EQ(c1().alliance, c.stays ? c.alliance : kAxis);
  EXPECT_EQ(c1().allianceEntry, 100);  // kept at 100 also when nobody joins
  EXPECT_EQ(Complaints().size(), c.stays ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Alliances, AllianceLeaderBound,
                         testing::Values(LeaderCase{"CominternMember", kComintern, false},
                                         LeaderCase{"AlliesLeader", kAlliesLeader, true},
                                         LeaderCase{"CominternLeader", kCominternLeader, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AllianceEntryTest, ALeaderStaysLeaderAndAnAllianceWithoutLeaderTakesNobody) {
  world_.country(2).allianceEntry = 100;
  world_.country(2).orientation = kNationalistRegime;
  c1().orientation = kProAllied;  // the allies have no leader here
  FireSingleOption(EffectElement("Country.ChangeAllianceEntry", {"2", "0"}) +
                   EffectElement("Country.SetAllianceEntry", {"1", "100"}));
  EXPECT_EQ(world_.country(2).alliance, kAxisLeader);
  EXPECT_EQ(c1().alliance, kNeutral);
  EXPECT_EQ(c1().allianceEntry, 100);
  EXPECT_TRUE(engine_.messages.empty());
  EXPECT_EQ(Complaints(), (std::vector<std::u16string>{
                              u"WARNING: effect Country.ChangeAllianceEntry at line 3: Country2 leads alliance 2 "
                              u"and stays its leader"}));
  EXPECT_TRUE(log_.Contains(u"Country1 cannot join alliance 1: nobody leads it; the alliance entry stays at 100"));
}

TEST_F(CountryEffectFileTest, DoctrineReachedByAHumanCountryQueuesItsTextInsteadOfWaiting) {
  c1().humanControlled = 1;
  c1().doctrineMonths = {1, 1, 9, 9, 9};
  FireSingleOption(EffectElement("Country.ChangeMonthsToReachWarfareDoctrineLevel", {"1", "-1"}));
  EXPECT_EQ(c1().techLevels[2], 2);
  ASSERT_EQ(engine_.messages.size(), 2u);
  EXPECT_NE(engine_.messages[1].find(u"Country1"), std::u16string::npos);
  EXPECT_NE(engine_.messages[1].find(u"2"), std::u16string::npos);
}

}  // namespace
}  // namespace tr::test
