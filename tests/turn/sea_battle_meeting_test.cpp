// Sea battles the generator brings about: the meeting roll, the fleets each
// side takes, raiders found, and meetings of the alliances left when one has
// lost its leader.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "sea_battle_fixture.h"
#include "support/log_capture.h"
#include "turn/sea_battle.h"
#include "world/game_state.h"

namespace tr {
namespace {

using test::DrawFor;
using test::SeaBattleTest;

// The generator: country 1 leads the allies, 3 is axis, 4 a neutral.
class SeaBattleMeeting : public SeaBattleTest {
 protected:
  SeaBattleMeeting() {
    sea.world().country(1).alliance = kAlliesLeader;
    sea.SetConstant(72, kCruiser - kAircraftCarrier + 1, 300);
    sea.SetConstant(72, kBattleship - kAircraftCarrier + 1, 300);
    sea.SetConstant(128, 1, 50);
    SetSeaBattleScreen([this](sSeaBattle& battle) {
      for (auto* s : battle.enemySide) enemyOwners.push_back(s->owner);
      sides.emplace_back(battle.firstSide, battle.enemySide);
      ++battles;
      RunSeaBattleHeadless(battle);
    });
  }
  int KindCount(int kind, const std::u16string& text) {
    int n = 0;
    for (const sReport& r : sea.game().reports.Reports()) n += r.type == kind && r.text == text;
    return n;
  }

  std::vector<int> enemyOwners;
  std::vector<std::pair<sSeaBattle::ShipList, sSeaBattle::ShipList>> sides;  // first, enemy of each battle
  int battles = 0;
};

struct MeetingCase {
  int roll;
  bool battle;
};
class SeaBattleMeetingRoll : public SeaBattleMeeting, public testing::WithParamInterface<MeetingCase> {};

// Two ships of 300, one failing its participation roll: the chance is still 600.
TEST_P(SeaBattleMeetingRoll, TheSumCountsShipsWhoseParticipationFailed) {
  Ships(1, {kCruiser, kBattleship});
  Ships(3, {kCruiser});
  test::LogCapture log;
  {
    ScopedRandomDraws scripted({DrawFor(1, 100, 51), DrawFor(1, 100, 50), DrawFor(1, 100, 1),
                                DrawFor(1, 1000, GetParam().roll)});
    cSeaBattleGenerator generator;
    sea.game().SetGameState(kGameSeaBattles);
    generator.Run(sea.game());
  }
  EXPECT_EQ(sea.game().GetGameState(), kGameEndOfImpulse);
  EXPECT_EQ(log.Contains(GetText("check_failed._no_battle_here_this_time.")), !GetParam().battle);
  const std::u16string met = Format(GetText("allied_fleets_have_met_enemy_formations_in_%s"), u"Sea1");
  EXPECT_EQ(KindCount(kReportSeaBattle, met), GetParam().battle ? 4 : 0);
}

INSTANTIATE_TEST_SUITE_P(Rolls, SeaBattleMeetingRoll, testing::Values(MeetingCase{600, true}, MeetingCase{601, false}));

struct JoinCase {
  const char* name;
  int owner;
  int formation;
  bool active;
  bool first, enemy;  // where the ship fights
};
class SeaBattleJoin : public SeaBattleMeeting, public testing::WithParamInterface<JoinCase> {};

// Next to a cruiser of each side, one more ship: the allies take their
// regular active fleets, the enemy side every regular fleet at war with
// the leader, and nobody takes raiders or the ships of a country at peace.
TEST_P(SeaBattleJoin, ASideTakesItsRegularFleets) {
  const JoinCase& c = GetParam();
  sea.SetConstant(128, 1, 100);
  sea.SetConstant(72, kCruiser - kAircraftCarrier + 1, 1000);
  Ships(1, {kCruiser});
  Ships(3, {kCruiser});
  cFleet& fleet = sea.AddFleet(c.owner, node, {kCruiser});
  fleet.formation = c.formation;
  fleet.active = c.active ? 1 : 0;
  cJednostkaMorska* ship = fleet.ships.front();
  cSeaBattleGenerator generator;
  generator.Run(sea.game());
  ASSERT_GE(sides.size(), 1u);
  const auto& [first, enemy] = sides.front();
  EXPECT_EQ(first.size(), c.first ? 2u : 1u);
  EXPECT_EQ(enemy.size(), c.enemy ? 2u : 1u);
  EXPECT_EQ(std::count(first.begin(), first.end(), ship), c.first ? 1 : 0);
  EXPECT_EQ(std::count(enemy.begin(), enemy.end(), ship), c.enemy ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Fleets, SeaBattleJoin,
                         testing::Values(JoinCase{"OwnRegularActive", 1, kFleetRegular, true, true, false},
                                         JoinCase{"AllyRegularActive", 2, kFleetRegular, true, true, false},
                                         JoinCase{"OwnRegularInactive", 1, kFleetRegular, false, false, false},
                                         JoinCase{"OwnRaiders", 1, kFleetRaiders, true, false, false},
                                         JoinCase{"EnemyRegularActive", 3, kFleetRegular, true, false, true},
                                         JoinCase{"EnemyRegularInactive", 3, kFleetRegular, false, false, true},
                                         JoinCase{"EnemyRaiders", 3, kFleetRaiders, true, false, false},
                                         JoinCase{"CountryAtPeace", 4, kFleetRegular, true, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct DetectionCase {
  const char* name;
  bool neutral;  // a neutral's ships look for the raiders, else the allies'
  int roll;
  bool met;
};
class SeaBattleDetection : public SeaBattleMeeting, public testing::WithParamInterface<DetectionCase> {};

// Two cruisers of 300 in regular active fleets against two raiders: each
// raider is found on a roll up to the mean 600 / 2, and fought by those two.
TEST_P(SeaBattleDetection, EachRaiderIsFoundUpToTheWeightsPerRaider) {
  const DetectionCase& c = GetParam();
  sea.SetConstant(128, 1, 100);
  int hunter = 1;
  if (c.neutral) {
    sea.world().country(1).alliance = kAllies;  // no alliance leader: only the neutral looks
    hunter = 4;
    sea.game().relations.SetWar(4, 3, true);
    sea.game().relations.SetWar(3, 4, true);
  }
  Ships(hunter, {kCruiser, kCruiser});
  // Neither counts nor fights: an inactive fleet and a raider fleet of the hunter.
  sea.AddFleet(hunter, node, {kCruiser}).active = 0;
  sea.AddFleet(hunter, node, {kCruiser}).formation = kFleetRaiders;
  cFleet& raiders = sea.AddFleet(3, node, {kCruiser, kCruiser});
  raiders.formation = kFleetRaiders;
  cJednostkaMorska* const firstRaider = raiders.ships.front();
  const std::u16string raider = firstRaider->name;
  test::LogCapture log;
  {
    // Two participation rolls of the regular meeting, which finds no enemy;
    // then the first raider's roll and, if it is not found, the second's.
    ScopedRandomDraws scripted({0, 0, DrawFor(1, 1000, c.roll), 32767});
    cSeaBattleGenerator generator;
    generator.Run(sea.game());
  }
  const std::u16string met =
      c.neutral ? Format(GetText("fleets_of_%s_have_met_enemy_raider_(%s)_in_%s"), u"C4", raider, u"Sea1")
                : Format(GetText("allied_fleets_have_met_enemy_raider_(%s)_in_%s"), raider, u"Sea1");
  EXPECT_EQ(KindCount(kReportSeaBattle, met), c.met ? 4 : 0);
  if (c.met) {
    ASSERT_FALSE(sides.empty());
    EXPECT_EQ(sides.front().first.size(), 2u);
    EXPECT_EQ(sides.front().second, sSeaBattle::ShipList{firstRaider});
  }
  EXPECT_EQ(log.Contains(u"Szansa wykrycia 1 rajdera na Sea1 wynosi 300"), c.neutral);
}

INSTANTIATE_TEST_SUITE_P(Rolls, SeaBattleDetection,
                         testing::Values(DetectionCase{"AlliesAtTheMean", false, 300, true},
                                         DetectionCase{"AlliesAboveTheMean", false, 301, false},
                                         DetectionCase{"NeutralAtTheMean", true, 300, true},
                                         DetectionCase{"NeutralAboveTheMean", true, 301, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct LeaderlessCase {
  const char* name;
  int formation;  // of the comintern fleet the axis meets
  std::u16string (*met)(const std::u16string& ship);
};
class SeaBattleLeaderless : public SeaBattleMeeting, public testing::WithParamInterface<LeaderlessCase> {};

// The allies have lost their leader: the axis (3) and the comintern (4),
// at war, still meet in regular battles and still find raiders.
TEST_P(SeaBattleLeaderless, TheOtherAlliancesStillMeet) {
  sea.world().country(1).alliance = kAllies;
  sea.world().country(3).alliance = kAxisLeader;
  sea.world().country(4).alliance = kCominternLeader;
  sea.game().relations.SetWar(3, 4, true);
  sea.game().relations.SetWar(4, 3, true);
  sea.SetConstant(128, 1, 100);
  sea.SetConstant(72, kCruiser - kAircraftCarrier + 1, 1000);
  Ships(3, {kCruiser});
  cFleet& fleet = sea.AddFleet(4, node, {kCruiser});
  fleet.formation = GetParam().formation;
  cSeaBattleGenerator generator;
  generator.Run(sea.game());
  EXPECT_EQ(KindCount(kReportSeaBattle, GetParam().met(fleet.ships.front()->name)), 4);
}

INSTANTIATE_TEST_SUITE_P(
    Meetings, SeaBattleLeaderless,
    testing::Values(LeaderlessCase{"Regular", kFleetRegular,
                                   [](const std::u16string&) {
                                     return Format(GetText("axis_fleets_have_met_enemy_formations_in_%s"), u"Sea1");
                                   }},
                    LeaderlessCase{"Raider", kFleetRaiders,
                                   [](const std::u16string& ship) {
                                     return Format(GetText("axis_fleets_have_met_enemy_raider_(%s)_in_%s"), ship,
                                                   u"Sea1");
                                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SeaBattleMeeting, CountriesAtWarWithEachOtherNeverShareTheEnemySide) {
  sea.SetConstant(128, 1, 100);
  sea.SetConstant(72, kCruiser - kAircraftCarrier + 1, 1000);
  for (int other : {1, 3}) {
    sea.game().relations.SetWar(4, other, true);
    sea.game().relations.SetWar(other, 4, true);
  }
  Ships(1, {kCruiser});
  Ships(3, {kCruiser});
  Ships(4, {kCruiser});
  cSeaBattleGenerator generator;
  generator.Run(sea.game());
  ASSERT_GE(battles, 1);
  EXPECT_EQ(enemyOwners.front(), 3);
  EXPECT_EQ(std::count(enemyOwners.begin(), enemyOwners.end(), 4), 0);
}

TEST_F(SeaBattleMeeting, BattlesLeaveNoShipAtZeroHitPointsAndReportToParticipants) {
  sea.SetConstant(128, 1, 100);
  sea.SetConstant(72, kCruiser - kAircraftCarrier + 1, 1000);
  for (int k = 1; k <= 5; ++k) sea.SetConstant(129, k, k == 5 ? 1 : 0);
  SetNavy(1, 3);
  SetNavy(3, 3);
  Ships(1, {kCruiser, kCruiser, kBattleship});
  Ships(3, {kCruiser, kBattleship});
  SeedRandom(7);
  cSeaBattleGenerator generator;
  generator.Run(sea.game());
  ASSERT_EQ(battles, 1);
  for (const auto& ship : sea.game().navalUnits) EXPECT_GE(ship->hitPoints, 1);
  int reports = 0;
  for (const sReport& r : sea.game().reports.Reports()) {
    reports += r.type == kReportSeaBattle && r.text.rfind(u"Sea battle at Sea1", 0) == 0;
  }
  EXPECT_EQ(reports, 2);
}
}  // namespace
}  // namespace tr
