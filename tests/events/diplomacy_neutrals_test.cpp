// Pressure on and coups in neutral countries, and the refusal of every action
// for countries whose politics the rules cannot place.
#include <gtest/gtest.h>

#include "diplomacy_fixture.h"
#include "events/diplomacy.h"
#include "foundation/fatal.h"
#include "foundation/random.h"

namespace tr {
namespace {

using test::EnglishText;
using test::Says;
using test::RawDrawFor;

class NeutralActions : public test::DiplomacyTest {
 protected:
  // Country 1 (pro-allied, 200 DPs) acts on the neutral 5; 2 leads the allies,
  // 3 the axis.
  NeutralActions() {
    country(1).orientation = kProAllied;
    country(1).diplomaticPoints = 200;
    country(2).alliance = kAlliesLeader;
    country(3).alliance = kAxisLeader;
    country(3).orientation = kNationalistRegime;
    cCountry& b = country(5);
    b.orientation = kProAxis;
    b.politicalStrength = 60;
    b.allianceEntry = 50;
    SetConstant(113, 2, 1);  // pressure roll 1d10
    SetConstant(113, 3, 10);
    SetConstant(113, 5, 0.5);  // chance factor, target 3 to 5
    SetConstant(113, 6, 0.25);  // target 0 to 2
    SetConstant(113, 7, 1.5);  // cost factor
    SetConstant(114, 2, 1.0);  // coup chance factor, target 0 to 2
    SetConstant(114, 3, 0.5);  // target 3 to 5
    SetConstant(114, 4, 2.0);  // cost factor
    SetConstant(114, 5, 10);  // strength gain after a failed coup
  }
};

TEST_F(NeutralActions, PressureWithinOneCampCostsTheStrengthAlwaysSucceedsAndRaisesTheEntry) {
  country(5).orientation = kFirmDemocracy;
  EXPECT_EQ(GetExertPressureCost(1, 5), 60);
  EXPECT_EQ(GetExertPressureChance(1, 5), 100);
  ASSERT_TRUE(CanExertPressure(1, 5, text));
  EXPECT_EQ(text, Says("diplomacy_can_exert_pressure_hasten_alliance_entry_of_country_cost", u"Country5", 60));
  ScopedRandomDraws draws({32767, RawDrawFor(4, 1, 10)});  // the highest roll of the chance still succeeds
  ExertPressure(1, 5, text);
  EXPECT_EQ(country(5).allianceEntry, 54);
  EXPECT_EQ(country(1).diplomaticPoints, 140);
  EXPECT_EQ(country(5).doneExertPressureAllied, 1);
  EXPECT_EQ(country(5).doneExertPressureAxis + country(5).doneExertPressureComintern, 0);
  EXPECT_EQ(text, Says("diplomacy_exert_pressure_alliance_entry_of_country_changed_pressure_from_country", u"Country5",
                       50, 54, u"Country1"));
}

TEST_F(NeutralActions, PressureAcrossCampsLowersTheEntryOnSuccessOnly) {
  EXPECT_EQ(GetExertPressureCost(1, 5), 90);
  EXPECT_EQ(GetExertPressureChance(1, 5), 20);
  ASSERT_TRUE(CanExertPressure(1, 5, text));
  EXPECT_EQ(text, Says("diplomacy_can_exert_pressure_decrease_alliance_entry_of_country_cost_chance", u"Country5", 90,
                       20));
  {
    ScopedRandomDraws draws({RawDrawFor(20, 1, 100), RawDrawFor(7, 1, 10)});
    ExertPressure(1, 5, text);
  }
  EXPECT_EQ(country(5).allianceEntry, 43);
  country(1).diplomaticPoints = 200;
  country(5).doneExertPressureAllied = 0;
  ScopedRandomDraws draws({RawDrawFor(21, 1, 100)});
  ExertPressure(1, 5, text);
  EXPECT_EQ(country(5).allianceEntry, 43);
  EXPECT_EQ(country(1).diplomaticPoints, 110);
  EXPECT_EQ(text, Says("diplomacy_exert_pressure_country_tries_to_exert_pressure_on_country_but_fails", u"Country1",
                       u"Country5"));
}

TEST_F(NeutralActions, PressureToOneHundredBringsTheTargetIntoItsAlliance) {
  country(5).orientation = kProAllied;
  country(5).allianceEntry = 97;
  ScopedRandomDraws draws({0, RawDrawFor(5, 1, 10)});
  ExertPressure(1, 5, text);
  EXPECT_EQ(country(5).alliance, kAllies);
  EXPECT_EQ(text, Says("diplomacy_exert_pressure_country_joins_alliance_pressure_from_country", u"Country5",
                       GetText("allies"), u"Country1"));
}

TEST_F(NeutralActions, PressureRefusalsComeInOrderAndTheOncePerTurnByteIsTheActorsCamp) {
  cCountry& b = country(5);
  b.alliance = kAxis;
  EXPECT_FALSE(CanExertPressure(1, 5, text));
  EXPECT_EQ(text, Says("diplomacy_can_extern_pressure_country_already_in_alliance", u"Country5"));
  b.alliance = kNeutral;
  b.doneExertPressureAxis = 1;
  b.doneExertPressureComintern = 1;
  country(1).diplomaticPoints = 89;
  EXPECT_FALSE(CanExertPressure(1, 5, text));
  EXPECT_EQ(text, Says("diplomacy_not_enough_dp", 90, 89));
  b.doneExertPressureAllied = 1;
  EXPECT_FALSE(CanExertPressure(1, 5, text));
  EXPECT_EQ(text, Says("diplomacy_can_exert_pressure_only_once_per_turn_note_allies", u"Country5"));
  country(1).orientation = kCommunistRegime;
  EXPECT_FALSE(CanExertPressure(1, 5, text));
  EXPECT_EQ(text, Says("diplomacy_can_exert_pressure_only_once_per_turn_note_comintern", u"Country5"));
}

// Every factor a distinct value, none 0 or 1, so a chance or cost that reads
// another line's factor, or the other orientation group's, or none, shows.
TEST_F(NeutralActions, ChancesAndCostsReadEachTheirOwnFactor) {
  SetConstant(113, 5, 0.5);  // pressure chance, target 3 to 5
  SetConstant(113, 6, 0.25);  // target 0 to 2
  SetConstant(113, 7, 1.5);  // pressure cost
  SetConstant(114, 2, 0.6);  // coup chance, target 0 to 2
  SetConstant(114, 3, 0.3);  // target 3 to 5
  SetConstant(114, 4, 2.2);  // coup cost
  struct Case {
    int actor, target, pressure, coup;
  };
  // Target strength 60: the chances are 40 times the factor.
  for (const Case c : {Case{kProAllied, kNationalistRegime, 10, 24}, Case{kProAllied, kCommunistRegime, 10, 24},
                       Case{kProAllied, kProAxis, 20, 12}, Case{kProAllied, kProCommunist, 20, 12},
                       Case{kProAxis, kFirmDemocracy, 10, 24}, Case{kProAxis, kProAllied, 20, 12}}) {
    country(1).orientation = c.actor;
    country(5).orientation = c.target;
    SCOPED_TRACE(testing::Message() << "actor " << c.actor << " target " << c.target);
    EXPECT_EQ(GetExertPressureChance(1, 5), c.pressure);
    EXPECT_EQ(GetExertPressureCost(1, 5), 90);
    EXPECT_EQ(GetCoupDetatChance(1, 5), c.coup);
    EXPECT_EQ(GetCoupDetatCost(1, 5), 132);
  }
}

class CoupDraw : public NeutralActions, public testing::WithParamInterface<int> {};

// Target strength 60 with factor 1.0: chance 40.
TEST_P(CoupDraw, SucceedsUpToTheChance) {
  cCountry& b = country(5);
  b.orientation = kNationalistRegime;
  ASSERT_EQ(GetCoupDetatChance(1, 5), 40);
  ASSERT_EQ(GetCoupDetatCost(1, 5), 120);
  SetConstant(114, 10, 1);  // success: entry drops 1d10 + 2.5
  SetConstant(114, 11, 10);
  SetConstant(114, 12, 2.5);
  SetConstant(114, 7, 2);  // failure: entry rises 2d6 + 1.5
  SetConstant(114, 8, 6);
  SetConstant(114, 9, 1.5);
  const int roll = GetParam();
  std::deque<int> raw{RawDrawFor(roll, 1, 100)};
  if (roll <= 40) {
    raw.push_back(RawDrawFor(3, 1, 10));
  } else {
    raw.push_back(RawDrawFor(3, 1, 6));
    raw.push_back(RawDrawFor(4, 1, 6));
  }
  ScopedRandomDraws draws(raw);
  StageCoupDetat(1, 5, text);
  EXPECT_EQ(draws.remaining(), 0u);
  EXPECT_EQ(country(1).diplomaticPoints, 80);
  if (roll <= 40) {
    EXPECT_EQ(b.orientation, kProAxis);  // a nationalist regime softens to a lean
    EXPECT_EQ(b.allianceEntry, 45);
    EXPECT_EQ(b.politicalStrength, 60);
    EXPECT_EQ(text, Says("diplomacy_coup_detat_in_country_orientation_changed_alliance_entry_dropped", u"Country5",
                         GetText("nationalist_regime"), u"pro-axis", 50, 45));
  } else {
    EXPECT_EQ(b.orientation, kNationalistRegime);
    EXPECT_EQ(b.allianceEntry, 58);
    EXPECT_EQ(b.politicalStrength, 70);
    EXPECT_EQ(text, Says("diplomacy_coup_detat_attempt_in_country_failed_strength_of_country_increased_alliance_entry_"
                         "increased",
                         u"Country5", u"Country5", 10, 50, 58));
  }
}

INSTANTIATE_TEST_SUITE_P(Draws, CoupDraw, testing::Values(1, 40, 41, 100));

TEST_F(NeutralActions, FailedCoupKeepsStrengthWithinOneHundredAndSparesTheEntryOfTheSameCamp) {
  cCountry& b = country(5);
  b.orientation = kFirmDemocracy;
  b.politicalStrength = 95;
  SetConstant(114, 9, 30);  // the failure's entry rise, skipped within one camp
  ScopedRandomDraws draws({32767});
  StageCoupDetat(1, 5, text);
  EXPECT_EQ(b.politicalStrength, 100);
  EXPECT_EQ(b.allianceEntry, 50);
  EXPECT_EQ(text, Says("diplomacy_coup_detat_attempt_in_country_failed_strength_of_country_increased", u"Country5",
                       u"Country5", 10));
}

TEST_F(NeutralActions, CoupRefusalsComeInOrder) {
  cCountry& b = country(5);
  b.alliance = kAxis;
  SetWar(5, 4);
  b.orientation = kProAllied;
  country(1).diplomaticPoints = 0;
  EXPECT_FALSE(CanStageCoupDetat(1, 5, text));
  EXPECT_EQ(text, Says("diplomacy_can_coup_detat_only_in_neutral"));
  b.alliance = kNeutral;
  EXPECT_FALSE(CanStageCoupDetat(1, 5, text));
  EXPECT_EQ(text, Says("diplomacy_can_coup_detat_only_in_countries_not_at_war"));
  world.game().relations.MakePeaceWithAll(5);
  EXPECT_FALSE(CanStageCoupDetat(1, 5, text));
  EXPECT_EQ(text, Says("diplomacy_can_coup_detat_same_orientation_of_country", u"Country5"));
  b.orientation = kProAxis;
  EXPECT_FALSE(CanStageCoupDetat(1, 5, text));
  EXPECT_EQ(text, Says("diplomacy_not_enough_dp", 120, 0));
  country(1).diplomaticPoints = 120;
  EXPECT_TRUE(CanStageCoupDetat(1, 5, text));
  EXPECT_EQ(text, Says("diplomacy_can_coup_detat_try_to_stage_in_country_cost_chance", u"Country5", 20, 120));
}

TEST_F(NeutralActions, DummyCountryCostsNothing) {
  country(5).politicalStrength = -1;
  SetConstant(103, 6, 300);  // a neutral pro-allied declarer on a pro-axis target
  EXPECT_EQ(GetExertPressureCost(1, 5), 0);
  EXPECT_EQ(GetCoupDetatCost(1, 5), 0);
  EXPECT_EQ(GetChangeOrientationCost(5), 0);
  EXPECT_EQ(GetDeclareWarCost(1, 5), 0);
}

struct BadPolitics {
  const char* name;
  int alliance;
  int orientation;
  const char16_t* line;
};
class UnplaceableCountry : public NeutralActions, public testing::WithParamInterface<BadPolitics> {};

// An event may leave a country with politics no rule knows: every action
// involving it is refused and logged, and nothing ends the program.
TEST_P(UnplaceableCountry, EveryActionIsRefusedWithoutEndingTheGame) {
  country(5).alliance = GetParam().alliance;
  country(5).orientation = GetParam().orientation;
  using Check1 = bool (*)(int, std::u16string&);
  using Check2 = bool (*)(int, int, std::u16string&);
  for (Check1 check : {CanDelayAllianceEntry, CanHasteAllianceEntry, CanHoldElections, CanChangeOrientation}) {
    text = u"stale";
    EXPECT_FALSE(check(5, text));
    EXPECT_TRUE(text.empty());
  }
  for (Check2 check : {CanExertPressure, CanStageCoupDetat, CanDeclareWar}) {
    EXPECT_FALSE(check(1, 5, text));
    EXPECT_FALSE(check(5, 1, text));
  }
  EXPECT_NO_THROW({
    EXPECT_EQ(DeclareWar(1, 5, true), 0);
    EXPECT_EQ(DeclareWar(5, 1, false), 0);
    ExertPressure(1, 5, text);
    StageCoupDetat(1, 5, text);
  });
  EXPECT_EQ(country(1).diplomaticPoints, 200);
  EXPECT_FALSE(War(1, 5));
  EXPECT_TRUE(log.Contains(GetParam().line));
}

INSTANTIATE_TEST_SUITE_P(
    Values, UnplaceableCountry,
    testing::Values(BadPolitics{"Orientation", kNeutral, 6, u"Diplomacy refused: Country5 has orientation 6, outside 0 to 5"},
                    BadPolitics{"NegativeOrientation", kAxisLeader, -1,
                                u"Diplomacy refused: Country5 has orientation -1, outside 0 to 5"},
                    BadPolitics{"Alliance", 7, kProAxis, u"Diplomacy refused: Country5 has alliance 7, outside 0 to 6"}),
    [](const auto& info) { return info.param.name; });

TEST_F(NeutralActions, HasteOfACountryWithoutOrientationStopsAtOneHundred) {
  cCountry& b = country(5);
  b.orientation = 9;
  b.allianceEntry = 99;
  SetConstant(92, 7, 3);
  EXPECT_NO_THROW(HasteAllianceEntry(5, text));
  EXPECT_EQ(b.allianceEntry, 100);
  EXPECT_EQ(b.alliance, kNeutral);
  EXPECT_TRUE(log.Contains(u"Error 1: Orientation not specified"));
  EXPECT_TRUE(log.Contains(u"Diplomacy refused: Country5 has orientation 9, outside 0 to 5"));
}

}  // namespace
}  // namespace tr
