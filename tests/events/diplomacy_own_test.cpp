// The actions a country takes on itself: delaying and hastening its alliance
// entry, elections and changing orientation.
#include <gtest/gtest.h>

#include <functional>

#include "diplomacy_fixture.h"
#include "events/diplomacy.h"
#include "foundation/random.h"

namespace tr {
namespace {

using test::EnglishText;
using test::Says;
using test::Rolls;

class OwnActions : public test::DiplomacyTest {
 protected:
  // Country 1 acts; 2 leads the allies, 3 the axis, 4 the comintern.
  OwnActions() {
    country(2).alliance = kAlliesLeader;
    country(3).alliance = kAxisLeader;
    country(3).orientation = kNationalistRegime;
    country(4).alliance = kCominternLeader;
    country(4).orientation = kCommunistRegime;
    for (int line : {91, 92}) {
      SetConstant(line, 2, 0.3);  // 0 or 3
      SetConstant(line, 3, 0.5);  // 4 or 5
      SetConstant(line, 4, 0.7);  // 1 or 2
    }
    cCountry& c = country(1);
    c.politicalStrength = 50;
    c.diplomaticPoints = 100;
    c.allianceEntry = 50;
  }
};

struct CostCase {
  int orientation;
  int strength;
  int cost;
};
class EntryCost : public OwnActions, public testing::WithParamInterface<CostCase> {};

TEST_P(EntryCost, FactorOfTheOrientationGroupTimesStrengthTruncatedAndAtLeastOne) {
  country(1).orientation = GetParam().orientation;
  country(1).politicalStrength = GetParam().strength;
  EXPECT_EQ(GetDelayAllianceEntryCost(1), GetParam().cost);
  EXPECT_EQ(GetHasteAllianceEntryCost(1), GetParam().cost);
}

TEST_F(OwnActions, HasteCostReadsItsOwnLine) {
  country(1).orientation = kProAxis;
  SetConstant(92, 3, 0.6);
  EXPECT_EQ(GetDelayAllianceEntryCost(1), 25);
  EXPECT_EQ(GetHasteAllianceEntryCost(1), 30);
}

INSTANTIATE_TEST_SUITE_P(Orientations, EntryCost,
                         testing::Values(CostCase{0, 50, 15}, CostCase{3, 50, 15}, CostCase{4, 50, 25},
                                         CostCase{5, 50, 25}, CostCase{1, 50, 35}, CostCase{2, 50, 35},
                                         CostCase{1, 1, 1}, CostCase{0, 0, 1}, CostCase{0, -1, 1}));

struct RefusalCase {
  const char* name;
  std::function<void(cCountry&)> setup;
  bool allowed;
  std::function<std::u16string(const cCountry&)> text;
};
class DelayCheck : public OwnActions, public testing::WithParamInterface<RefusalCase> {};

TEST_P(DelayCheck, RefusesInThePartsOrder) {
  GetParam().setup(country(1));
  EXPECT_EQ(CanDelayAllianceEntry(1, text), GetParam().allowed);
  EXPECT_EQ(text, GetParam().text(country(1)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DelayCheck,
    testing::Values(
        RefusalCase{"MemberWithEntryZero",
                    [](cCountry& c) {
                      c.alliance = kAllies;
                      c.allianceEntry = 0;
                      c.doneDelayWarEntry = 1;
                    },
                    false, [](const cCountry& c) { return test::Says("diplomacy_country_already_in_alliance", c.name); }},
        RefusalCase{"EntryZero", [](cCountry& c) { c.allianceEntry = 0; }, false,
                    [](const cCountry&) { return test::Says("diplomacy_alliance_already_at_minimum_level"); }},
        RefusalCase{"DoneThisTurn",
                    [](cCountry& c) {
                      c.doneDelayWarEntry = 1;
                      c.diplomaticPoints = 0;
                    },
                    false,
                    [](const cCountry&) {
                      return test::Says("diplomacy_delaying_alliance_entry_only_once_per_turn");
                    }},
        RefusalCase{"PointsShort", [](cCountry& c) { c.diplomaticPoints = 14; }, false,
                    [](const cCountry&) { return test::Says("diplomacy_not_enough_dp", 15, 14); }},
        RefusalCase{"Allowed", [](cCountry& c) { c.diplomaticPoints = 15; }, true,
                    [](const cCountry&) {
                      return test::Says("diplomacy_attempt_to_keep_away_from_joining_alliance", 15);
                    }}),
    [](const auto& info) { return info.param.name; });

TEST_F(OwnActions, NeutralAtEntryZeroCannotDelayButCanHasten) {
  country(1).allianceEntry = 0;
  EXPECT_FALSE(CanDelayAllianceEntry(1, text));
  EXPECT_EQ(text, Says("diplomacy_alliance_already_at_minimum_level"));
  EXPECT_TRUE(CanHasteAllianceEntry(1, text));
  EXPECT_EQ(text, Says("diplomacy_attempt_to_bring_closer_to_alliance", 15));
  country(1).doneHasteWarEntry = 1;
  EXPECT_FALSE(CanHasteAllianceEntry(1, text));
  EXPECT_EQ(text, Says("diplomacy_hasting_alliance_entry_only_once_per_turn"));
}

TEST_F(OwnActions, DelayRollsAFractionalDiceCountAndPays) {
  SetConstant(91, 5, 2.5);
  SetConstant(91, 6, 3);
  SetConstant(91, 7, 0);
  ScopedRandomDraws draws(Rolls(3, {1, 2, 3}));
  DelayAllianceEntry(1, text);
  EXPECT_EQ(draws.remaining(), 0u);
  EXPECT_EQ(country(1).allianceEntry, 44);
  EXPECT_EQ(country(1).diplomaticPoints, 85);
  EXPECT_EQ(country(1).doneDelayWarEntry, 1);
  EXPECT_EQ(text, Says("diplomacy_country_delay_alliance_entry", u"Country1", 50, 44));
}

TEST_F(OwnActions, HasteReachingOneHundredJoinsTheAllianceOfTheCamp) {
  cCountry& c = country(1);
  c.orientation = kProAllied;
  c.allianceEntry = 95;
  SetWar(2, 5);  // the leader's war comes with the membership
  SetConstant(92, 5, 1);
  SetConstant(92, 6, 10);
  SetConstant(92, 7, 0);
  ScopedRandomDraws draws(Rolls(10, {7}));
  HasteAllianceEntry(1, text);
  EXPECT_EQ(c.allianceEntry, 100);
  EXPECT_EQ(c.alliance, kAllies);
  EXPECT_EQ(c.doneHasteWarEntry, 1);
  EXPECT_EQ(c.diplomaticPoints, 85);
  EXPECT_TRUE(War(1, 5));
  EXPECT_EQ(text, Says("diplomacy_haste_war_entry_country_join_alliance", u"Country1",
                       EnglishText("diplomacy_haste_war_entry_joined_alliance_name_allies")));
}

TEST_F(OwnActions, HasteToOneHundredWithoutALeaderStaysNeutralAtOneHundred) {
  cCountry& c = country(1);
  c.orientation = kProAxis;
  c.allianceEntry = 99;
  country(3).alliance = kNeutral;
  SetConstant(92, 5, 0);
  SetConstant(92, 7, 5);
  HasteAllianceEntry(1, text);
  EXPECT_EQ(c.allianceEntry, 100);
  EXPECT_EQ(c.alliance, kNeutral);
  EXPECT_TRUE(log.ContainsText(u"Country1 cannot join alliance 2"));
  EXPECT_EQ(text, Says("diplomacy_haste_war_entry_country_increase_alliance_entry", u"Country1", 99, 100));
}

struct ElectionCase {
  const char* name;
  int orientation;
  int done;
  int alliance;
  bool war;
  bool allowed;
  const char* key;
};
class ElectionsCheck : public OwnActions, public testing::WithParamInterface<ElectionCase> {};

TEST_P(ElectionsCheck, RefusesInThePartsOrder) {
  const ElectionCase& p = GetParam();
  country(1).orientation = p.orientation;
  country(1).doneParliamentaryElections = p.done;
  country(1).alliance = p.alliance;
  if (p.war) SetWar(1, 5);
  EXPECT_EQ(CanHoldElections(1, text), p.allowed);
  EXPECT_EQ(text, Says(p.key));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ElectionsCheck,
    testing::Values(
        ElectionCase{"Nationalist", 1, 1, 1, true, false, "diplomacy_elections_not_possible_in_regimes"},
        ElectionCase{"Communist", 2, 0, 0, false, false, "diplomacy_elections_not_possible_in_regimes"},
        ElectionCase{"SecondElection", 4, 1, 1, true, false, "diplomacy_elections_only_once_per_game"},
        ElectionCase{"AtWar", 3, 0, 1, true, false, "diplomacy_elections_not_possible_during_war"},
        ElectionCase{"Member", 3, 0, 1, false, false, "diplomacy_elections_not_possible_only_neutral"},
        ElectionCase{"FirmDemocracy", 0, 0, 0, false, true, "diplomacy_elections_firm_democracies_only_to_weaker"},
        ElectionCase{"Leaning", 5, 0, 0, false, true, "diplomacy_elections_choose_winning_orientation"}),
    [](const auto& info) { return info.param.name; });

TEST_F(OwnActions, ProAxisElectingProAlliedLosesTheElectionsRoll) {
  country(1).orientation = kProAxis;
  SetConstant(93, 2, 1);
  SetConstant(93, 3, 10);
  SetConstant(93, 4, 0);
  ScopedRandomDraws draws(Rolls(10, {6}));
  HoldElections(1, kProAllied, text);
  EXPECT_EQ(country(1).orientation, kProAllied);
  EXPECT_EQ(country(1).allianceEntry, 44);
  EXPECT_EQ(country(1).doneParliamentaryElections, 1);
  EXPECT_EQ(text, Says("diplomacy_elections_in_country_orientation_changed_to_pro_allied_alliance_entry_dropped",
                       u"Country1", 50, 44));

  // The elections byte lasts the game: a second election is refused.
  EXPECT_FALSE(CanHoldElections(1, text));
  EXPECT_EQ(text, Says("diplomacy_elections_only_once_per_game"));
}

TEST_F(OwnActions, ElectionsWonByARegimeNameTheNewOrientation) {
  HoldElections(1, kNationalistRegime, text);
  EXPECT_EQ(country(1).orientation, kNationalistRegime);
  EXPECT_EQ(country(1).allianceEntry, 50);
  EXPECT_EQ(text, Says("diplomacy_elections_in_country_country_becomes_orientation", u"Country1", u"Country1",
                       GetText("nationalist_regime")));
}

TEST_F(OwnActions, UnknownElectionWinnerChangesNothingAndDoesNotEndTheGame) {
  HoldElections(1, 6, text);
  EXPECT_TRUE(log.Contains(u"Elections - orientaion unknown. ERROR"));
  EXPECT_TRUE(log.ContainsText(u"Country1"));
  EXPECT_EQ(country(1).orientation, kFirmDemocracy);
  EXPECT_EQ(country(1).doneParliamentaryElections, 0);
  EXPECT_TRUE(text.empty());
}

struct UnrestCase {
  float unrest;
  bool allowed;
};
class OrientationUnrest : public OwnActions, public testing::WithParamInterface<UnrestCase> {};

TEST_P(OrientationUnrest, UnrestAboveSeventyFiveRefuses) {
  country(1).socialUnrest = GetParam().unrest;
  text = u"before";
  EXPECT_EQ(CanChangeOrientation(1, text), GetParam().allowed);
  EXPECT_EQ(text, GetParam().allowed ? u"before" : Says("diplomacy_can_change_orientation_not_possible_social_unrest"));
}

INSTANTIATE_TEST_SUITE_P(Limit, OrientationUnrest,
                         testing::Values(UnrestCase{75.0f, true}, UnrestCase{75.01f, false}, UnrestCase{0.0f, true}));

TEST_F(OwnActions, ChangeOrientationRefusalsComeInOrder) {
  cCountry& c = country(1);
  c.socialUnrest = 80.0f;
  c.alliance = kAllies;
  SetWar(1, 5);
  c.diplomaticPoints = 49;
  c.doneTurnInOrientation = 1;
  const char* keys[] = {"diplomacy_can_change_orientation_only_once_per_turn", "diplomacy_not_enough_dp",
                        "diplomacy_can_change_orientation_not_possible_during_war",
                        "diplomacy_can_change_orientation_not_possible_in_alliance",
                        "diplomacy_can_change_orientation_not_possible_social_unrest"};
  const std::function<void()> clears[] = {[&] { c.doneTurnInOrientation = 0; }, [&] { c.diplomaticPoints = 50; },
                                          [&] { world.game().relations.MakePeaceWithAll(1); },
                                          [&] { c.alliance = kNeutral; }, [&] { c.socialUnrest = 10.0f; }};
  for (int i = 0; i < 5; ++i) {
    EXPECT_FALSE(CanChangeOrientation(1, text)) << keys[i];
    EXPECT_EQ(text, i == 1 ? Says(keys[i], 50, 49) : Says(keys[i]));
    clears[i]();
  }
  EXPECT_TRUE(CanChangeOrientation(1, text));
}

TEST_F(OwnActions, LeavingTheCampOfALeanCostsUnrestAndEntry) {
  cCountry& c = country(1);
  c.orientation = kProAxis;
  c.socialUnrest = 10.0f;
  SetConstant(94, 2, 1);  // entry drop: 1d10
  SetConstant(94, 3, 10);
  SetConstant(94, 5, 1);  // large unrest roll: 1d20
  SetConstant(94, 6, 20);
  ScopedRandomDraws draws({test::RawDrawFor(12, 1, 20), test::RawDrawFor(4, 1, 10)});
  ChangeOrientation(1, kCommunistRegime, text);
  EXPECT_EQ(c.orientation, kCommunistRegime);
  EXPECT_FLOAT_EQ(c.socialUnrest, 22.0f);
  EXPECT_EQ(c.allianceEntry, 46);
  EXPECT_EQ(c.diplomaticPoints, 50);
  EXPECT_EQ(c.doneTurnInOrientation, 1);
  EXPECT_EQ(text, Says("diplomacy_change_orientation_to_other_then_pro_orientation", u"Country1",
                       GetText("communist_regime"), 10.0f, 22.0f, 50, 46));
}

struct StepCase {
  int from;
  int target;
  int to;
  const char* key;
};
class SmallOrientationStep : public OwnActions, public testing::WithParamInterface<StepCase> {};

TEST_P(SmallOrientationStep, StaysInTheCampWithTheSmallUnrestRoll) {
  cCountry& c = country(1);
  c.orientation = GetParam().from;
  c.socialUnrest = 99.0f;
  SetConstant(94, 10, 5);  // small roll: no dice, base 5
  ChangeOrientation(1, GetParam().target, text);
  EXPECT_EQ(c.orientation, GetParam().to);
  EXPECT_FLOAT_EQ(c.socialUnrest, 100.0f);
  EXPECT_EQ(c.allianceEntry, 50);
  EXPECT_EQ(text, Says(GetParam().key, u"Country1", 99.0f, 100.0f));
}

INSTANTIATE_TEST_SUITE_P(
    Orientations, SmallOrientationStep,
    testing::Values(StepCase{0, 5, 3, "diplomacy_change_orientation_to_pro_allied"},
                    StepCase{1, 1, 4, "diplomacy_change_orientation_to_pro_axis"},
                    StepCase{2, 0, 5, "diplomacy_change_orientation_to_pro_communist"},
                    StepCase{3, 0, 0, "diplomacy_change_orientation_to_firm_democracy"},
                    StepCase{4, 1, 1, "diplomacy_change_orientation_to_nationalist_regime"},
                    StepCase{5, 2, 2, "diplomacy_change_orientation_to_communist_regime"}));

TEST_F(OwnActions, ChangeToAnUnknownOrientationIsRefused) {
  country(1).orientation = kProAllied;
  ChangeOrientation(1, 8, text);
  EXPECT_EQ(country(1).orientation, kProAllied);
  EXPECT_EQ(country(1).diplomaticPoints, 100);
  EXPECT_TRUE(log.ContainsText(u"Country1 cannot change its orientation to 8"));
}

}  // namespace
}  // namespace tr
