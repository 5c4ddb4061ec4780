// Declaring war: the cost from the table, the check's order and texts, and
// the six ways a declaration spreads over the alliances.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "diplomacy_fixture.h"
#include "events/diplomacy.h"

namespace tr {
namespace {

using test::EnglishText;
using test::Says;
class WarDeclaration : public test::DiplomacyTest {
 protected:
  // 1 leads the allies with member 2, 3 leads the axis with member 4, 5 and
  // 6 are neutral (pro-communist and pro-axis).
  WarDeclaration() {
    const int politics[6][3] = {{kAlliesLeader, 0, 1}, {kAllies, 3, 1}, {kAxisLeader, 1, 2},
                                {kAxis, 4, 2},         {kNeutral, 5, 0}, {kNeutral, 4, 0}};
    for (int i = 0; i < 6; ++i) {
      cCountry& c = country(i + 1);
      c.alliance = politics[i][0];
      c.orientation = politics[i][1];
      c.zoneOfInfluence = politics[i][2];
      c.politicalStrength = 50;
      c.diplomaticPoints = 100;
      c.socialUnrest = 10.0f;
    }
  }

  // The wars as unordered pairs; every war found must run both ways.
  std::set<std::pair<int, int>> Wars() {
    std::set<std::pair<int, int>> wars;
    for (int a = 1; a <= 6; ++a) {
      for (int b = a + 1; b <= 6; ++b) {
        EXPECT_EQ(War(a, b), War(b, a)) << a << '-' << b;
        if (War(a, b)) wars.insert({a, b});
      }
    }
    return wars;
  }
};

struct CostCase {
  int entry;
  int strength;
  int cost;
};
class DeclareWarCost : public WarDeclaration, public testing::WithParamInterface<CostCase> {};

TEST_P(DeclareWarCost, TableEntryTimesStrengthOverOneHundredTruncated) {
  SetConstant(101, 3, GetParam().entry);  // neutral pro-communist declarer (row 6) on the axis leader (column 1)
  SetConstant(110, 3, 7);
  country(3).politicalStrength = GetParam().strength;
  EXPECT_EQ(GetDeclareWarCost(5, 3), GetParam().cost);
  EXPECT_EQ(GetDeclareWarUnrestIncrease(5, 3), 7);
}

INSTANTIATE_TEST_SUITE_P(Table, DeclareWarCost,
                         testing::Values(CostCase{30, 50, 15}, CostCase{3, 50, 1}, CostCase{30, -1, 0},
                                         CostCase{-30, 50, 0}, CostCase{2147483647, 100, 2147483647}));

// Orientation 0 belongs to a camp like any other: the allies' leader pays by
// the table too (row 2, column 1).
TEST_F(WarDeclaration, CostOfACountryOfTheFirstCampComesFromTheTable) {
  SetConstant(97, 3, 30);
  SetConstant(106, 3, 9);
  EXPECT_EQ(GetDeclareWarCost(1, 3), 15);
  EXPECT_EQ(GetDeclareWarUnrestIncrease(1, 3), 9);
}

TEST_F(WarDeclaration, CheckRefusesInThePartsOrder) {
  SetConstant(101, 3, 30);
  SetConstant(110, 3, 4);
  EXPECT_FALSE(CanDeclareWar(2, 1, text));
  EXPECT_EQ(text, Says("diplomacy_can_declare_war_not_on_ally"));

  country(6).orientation = kProAllied;
  EXPECT_FALSE(CanDeclareWar(1, 6, text));
  EXPECT_EQ(text, Says("diplomacy_can_declare_war_similar_orientation"));

  SetWar(5, 3);
  EXPECT_FALSE(CanDeclareWar(5, 3, text));
  EXPECT_EQ(text, Says("diplomacy_can_declare_war_already_war_with_country", u"Country3"));
  world.game().relations.MakePeaceWithAll(5);

  EXPECT_FALSE(CanDeclareWar(5, 4, text));
  EXPECT_EQ(text, Says("diplomacy_can_declare_war_country_is_member_of_alliance_declare_war_on_leader", u"Country4"));

  country(5).diplomaticPoints = 14;
  EXPECT_FALSE(CanDeclareWar(5, 3, text));
  EXPECT_EQ(text, Says("diplomacy_not_enough_dp", 15, 14));
  country(5).diplomaticPoints = 15;
  EXPECT_TRUE(CanDeclareWar(5, 3, text));
  EXPECT_EQ(text, Says("diplomacy_can_declare_war_on_country_social_unrest_increase", u"Country3", 15, 4));
}

// A member of any of the three alliances is refused as a target (war goes to
// its leader); a neutral or a leader is not refused for that.
struct MemberCase {
  const char* name;
  int alliance;
  bool member;
};
class WarOnAMember : public WarDeclaration, public testing::WithParamInterface<MemberCase> {};

TEST_P(WarOnAMember, OnlyAllianceMembersAreRefused) {
  country(6).alliance = GetParam().alliance;
  CanDeclareWar(5, 6, text);
  EXPECT_EQ(text == Says("diplomacy_can_declare_war_country_is_member_of_alliance_declare_war_on_leader", u"Country6"),
            GetParam().member);
}

INSTANTIATE_TEST_SUITE_P(Alliances, WarOnAMember,
                         testing::Values(MemberCase{"Neutral", kNeutral, false}, MemberCase{"Allies", kAllies, true},
                                         MemberCase{"Comintern", kComintern, true},
                                         MemberCase{"AlliesLeader", kAlliesLeader, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WarDeclaration, CheckOnANeutralInItsOwnZoneNamesTheAllianceItWouldJoin) {
  country(6).zoneOfInfluence = 2;
  EXPECT_TRUE(CanDeclareWar(2, 6, text));
  EXPECT_EQ(text, Says("diplomacy_can_declare_war_on_country_social_unrest_increase_country_join_alliance",
                       u"Country6", 0, 0, u"Country6", GetText("axis")));
}

struct SpreadCase {
  const char* name;
  int declarer;
  int target;
  int targetZone;
  int expectedCase;
  std::vector<std::pair<int, int>> wars;
};
class WarSpread : public WarDeclaration, public testing::WithParamInterface<SpreadCase> {};

TEST_P(WarSpread, EachCaseMakesItsWarsAndReturnsItsNumber) {
  const SpreadCase& p = GetParam();
  country(6).zoneOfInfluence = p.targetZone;
  EXPECT_EQ(DeclareWar(p.declarer, p.target, false), p.expectedCase);
  const std::set<std::pair<int, int>> expected(p.wars.begin(), p.wars.end());
  EXPECT_EQ(Wars(), expected);
  EXPECT_TRUE(log.Contains(Format(u"Country%i declares war on Country%i (CASE %i)", p.declarer, p.target,
                                  p.expectedCase)));
  // Without payment the declarer keeps its points and unrest.
  EXPECT_EQ(country(p.declarer).diplomaticPoints, 100);
  EXPECT_FLOAT_EQ(country(p.declarer).socialUnrest, 10.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WarSpread,
    testing::Values(
        SpreadCase{"NeutralOnNeutral", 5, 6, 0, 1, {{5, 6}}},
        SpreadCase{"NeutralOnNeutralInItsZone", 5, 6, 2, 2, {{5, 6}, {3, 5}, {4, 5}}},
        SpreadCase{"NeutralOnLeader", 5, 3, 0, 3, {{3, 5}, {4, 5}}},
        SpreadCase{"MemberOnNeutral", 2, 6, 0, 4, {{1, 6}, {2, 6}}},
        SpreadCase{"MemberOnNeutralInItsZone", 2, 6, 2, 5, {{1, 3}, {1, 4}, {1, 6}, {2, 3}, {2, 4}, {2, 6}}},
        SpreadCase{"MemberOnLeader", 2, 3, 0, 6, {{1, 3}, {1, 4}, {2, 3}, {2, 4}}}),
    [](const auto& info) { return info.param.name; });

// A member's war on a leader is the leader's alliance declaring on the member's,
// and the log says so.
TEST_F(WarDeclaration, MemberOnLeaderLogsTheLeadersAllianceDeclaring) {
  DeclareWar(2, 3, false);
  const std::u16string declares = GetText("%s_is_now_at_war_with_alliance_%i._wars_are_declared:");
  EXPECT_TRUE(log.Contains(Format(declares, u"Country3", kAllies)));
  EXPECT_TRUE(log.Contains(Format(declares, u"Country4", kAllies)));
  EXPECT_FALSE(log.Contains(Format(declares, u"Country1", kAxisLeader)));
  EXPECT_FALSE(log.Contains(Format(declares, u"Country2", kAxisLeader)));
}

TEST_F(WarDeclaration, NeutralInItsZoneJoinsTheAllianceOfItsCamp) {
  country(6).zoneOfInfluence = 2;
  DeclareWar(5, 6, false);
  EXPECT_EQ(country(6).alliance, kAxis);
  EXPECT_EQ(country(6).allianceEntry, 100);
}

TEST_F(WarDeclaration, PaymentTakesTheCostAndRaisesTheUnrest) {
  SetConstant(101, 3, 30);
  SetConstant(110, 3, 4);
  EXPECT_EQ(DeclareWar(5, 3, true), 3);
  EXPECT_EQ(country(5).diplomaticPoints, 85);
  EXPECT_FLOAT_EQ(country(5).socialUnrest, 14.0f);
}

TEST_F(WarDeclaration, JoinWithoutALeaderStillMakesTheWar) {
  country(6).zoneOfInfluence = 2;
  country(3).alliance = kAxis;  // the axis has no leader now
  EXPECT_NO_THROW(EXPECT_EQ(DeclareWar(5, 6, false), 2));
  EXPECT_TRUE(War(5, 6));
  EXPECT_EQ(country(6).alliance, kNeutral);
  EXPECT_TRUE(log.ContainsText(u"Country6 cannot join alliance 2"));
}

TEST_F(WarDeclaration, NoCountryDeclaresWarOnItself) {
  EXPECT_EQ(DeclareWar(5, 5, true), 0);
  EXPECT_EQ(country(5).diplomaticPoints, 100);
  EXPECT_TRUE(Wars().empty());
}

}  // namespace
}  // namespace tr
