// Sea battles: the battle's length, the opening stage and its cancellations,
// the starting side, single shots, battle turns, retreats, and the meetings
// the generator brings about.
#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <vector>

#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "support/log_capture.h"
#include "support/naval_world.h"
#include "turn/sea_battle.h"
#include "world/commander.h"
#include "world/game_state.h"

namespace tr {
namespace {

// The smallest draw that gives `value` from RandomRange(low, high).
int DrawFor(int low, int high, int value) {
  for (int d = 0; d <= 32767; ++d) {
    ScopedRandomDraws one({d});
    if (RandomRange(low, high) == value) return d;
  }
  ADD_FAILURE() << "no draw gives " << value;
  return 0;
}

constexpr int kNavy = 5;
constexpr int kSub = 4;

class SeaBattleTest : public testing::Test {
 protected:
  SeaBattleTest() {
    node = sea.AddSea();
    for (int k = 1; k <= 5; ++k) sea.SetConstant(129, k, k == 1 ? 1 : 0);  // battles of 1 turn
    for (int c = 1; c <= 4; ++c) sea.world().country(c).name = Format(u"C%i", c);
  }
  ~SeaBattleTest() override { SetSeaBattleScreen({}); }

  sSeaBattle::ShipList Ships(int owner, std::initializer_list<int> types) {
    cFleet& fleet = sea.AddFleet(owner, node, types);
    return {fleet.ships.begin(), fleet.ships.end()};
  }
  void SetNavy(int country, int level) { sea.world().country(country).techLevels[kNavy] = level; }

  test::NavalWorld sea;
  int node = 0;
};

struct LengthCase {
  std::array<int, 5> weights;
  int roll;
  int length;
};
class SeaBattleLength : public SeaBattleTest, public testing::WithParamInterface<LengthCase> {};

TEST_P(SeaBattleLength, WeightedDrawPicksTheFirstReachedWeight) {
  const LengthCase& c = GetParam();
  int sum = 0;
  for (int k = 0; k < 5; ++k) {
    sea.SetConstant(129, k + 1, c.weights[static_cast<std::size_t>(k)]);
    sum += c.weights[static_cast<std::size_t>(k)];
  }
  test::LogCapture log;
  std::deque<int> draws;
  if (sum > 0) draws.push_back(DrawFor(1, sum, c.roll));
  ScopedRandomDraws scripted(draws);
  EXPECT_EQ(DrawSeaBattleLength(), c.length);
  EXPECT_EQ(log.ContainsText(u"add up to 0"), sum == 0);
}

INSTANTIATE_TEST_SUITE_P(Weights, SeaBattleLength,
                         testing::Values(LengthCase{{1, 0, 0, 0, 0}, 1, 1}, LengthCase{{0, 0, 0, 0, 5}, 1, 5},
                                         LengthCase{{0, 0, 0, 0, 5}, 5, 5}, LengthCase{{2, 3, 0, 0, 0}, 2, 1},
                                         LengthCase{{2, 3, 0, 0, 0}, 3, 2}, LengthCase{{0, 0, 0, 0, 0}, 0, 1}));

// The ships are still drawn after the cancellation (the transports cannot
// act, so only the enemy's target), and the player's selection stays.
TEST_F(SeaBattleTest, TransportsOnlyCancelTheRegularPartWithoutAScreen) {
  int screens = 0;
  SetSeaBattleScreen([&](sSeaBattle&) { ++screens; });
  sSeaBattle::ShipList own = Ships(1, {kCargoShip, kAmphibiousShip});
  own.front()->mark = 1;
  own.front()->hasActed = 1;
  sSeaBattle::ShipList enemy = Ships(3, {kAmphibiousShip, kCargoShip});
  for (cJednostkaMorska* ship : enemy) ship->spotted = 1;
  sSeaBattle battle(own, enemy);
  ScopedRandomDraws draws({DrawFor(0, 1, 1), 0});
  ShowSeaBattleStageReport(battle);
  EXPECT_EQ(draws.remaining(), 1u);
  EXPECT_EQ(battle.selectedB, enemy.back());
  EXPECT_EQ(battle.selectedA, nullptr);
  EXPECT_EQ(own.front()->mark, 1);
  EXPECT_EQ(own.front()->hasActed, 0);
  EXPECT_TRUE(battle.regularPartCancelled);
  EXPECT_EQ(screens, 0);
  EXPECT_NE(battle.openingReport.find(GetText(
                "due_to_the_result_of_this_stage_of_the_battle,_regular_part_has_been_cancelled.")),
            std::u16string::npos);
}

struct TransportsCase {
  const char* name;
  std::vector<int> first;
  std::vector<int> enemy;
  bool enemyStarts;  // by a better navy: the side that starts must have a ship that can act
  bool cancelled;
};
class SeaBattleTransports : public SeaBattleTest, public testing::WithParamInterface<TransportsCase> {};

// Only a battle of transports on both sides is called off; one warship on
// either side brings the battle to its screen.
TEST_P(SeaBattleTransports, OnlyTransportsOnBothSidesCancelTheRegularPartWithoutAScreen) {
  const TransportsCase& c = GetParam();
  int screens = 0;
  SetSeaBattleScreen([&](sSeaBattle&) { ++screens; });
  if (c.enemyStarts) SetNavy(3, 1);
  auto ships = [&](int owner, const std::vector<int>& types) {
    sSeaBattle::ShipList list;
    for (int type : types) list.push_back(sea.AddFleet(owner, node, {type}).ships.front());
    return list;
  };
  sSeaBattle battle(ships(1, c.first), ships(3, c.enemy));
  ShowSeaBattleStageReport(battle);
  EXPECT_EQ(battle.regularPartCancelled != 0, c.cancelled);
  EXPECT_EQ(screens, c.cancelled ? 0 : 1);
  EXPECT_EQ(battle.openingReport.find(GetText(
                "due_to_the_result_of_this_stage_of_the_battle,_regular_part_has_been_cancelled.")) !=
                std::u16string::npos,
            c.cancelled);
}

INSTANTIATE_TEST_SUITE_P(
    Sides, SeaBattleTransports,
    testing::Values(TransportsCase{"BothTransports", {kCargoShip, kAmphibiousShip}, {kAmphibiousShip}, false, true},
                    TransportsCase{"WarshipAmongTheFirst", {kCargoShip, kCruiser}, {kAmphibiousShip}, false, false},
                    TransportsCase{"TransportAgainstWarship", {kCargoShip}, {kCruiser}, true, false},
                    TransportsCase{"WarshipAgainstTransport", {kCruiser}, {kCargoShip}, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct CancelCase {
  const char* name;
  bool submarines;  // else a lone carrier
  int roll;
  bool cancelled;
};
class SeaBattleCancel : public SeaBattleTest, public testing::WithParamInterface<CancelCase> {};

// Navy and submarine levels 0: no strike can hit, so only the cancel roll matters.
TEST_P(SeaBattleCancel, OneSidedOpeningCancelsBelowItsChance) {
  const CancelCase& c = GetParam();
  std::deque<int> draws;
  sSeaBattle::ShipList first;
  if (c.submarines) {
    first = Ships(1, {kSubmarine, kSubmarine});
    draws = {0, 0, DrawFor(0, 100, c.roll)};  // two torpedo rolls, then the chance 50 - 2
  } else {
    first = Ships(1, {kAircraftCarrier});
    draws = {DrawFor(0, 100, 99), DrawFor(0, 100, c.roll)};  // no extra strike, then the chance 1 + 20
  }
  sSeaBattle battle(first, Ships(3, {kCruiser}));
  ScopedRandomDraws scripted(draws);
  RunSeaBattleOpening(battle);
  EXPECT_EQ(battle.regularPartCancelled != 0, c.cancelled);
}

INSTANTIATE_TEST_SUITE_P(Chances, SeaBattleCancel,
                         testing::Values(CancelCase{"CarrierBelow", false, 20, true},
                                         CancelCase{"CarrierAt", false, 21, false},
                                         CancelCase{"SubmarinesBelow", true, 47, true},
                                         CancelCase{"SubmarinesAt", true, 48, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct StartCase {
  const char* name;
  int firstOwner, enemyOwner;
  std::vector<int> firstTypes, enemyTypes;
  int firstNavy, enemyNavy;
  int starting;
};
class SeaBattleStart : public SeaBattleTest, public testing::WithParamInterface<StartCase> {};

TEST_P(SeaBattleStart, StartingSideByCarriersNavySizeThenOwner) {
  const StartCase& c = GetParam();
  SetNavy(c.firstOwner, c.firstNavy);
  SetNavy(c.enemyOwner, c.enemyNavy);
  sSeaBattle::ShipList first, enemy;
  for (int t : c.firstTypes) first.push_back(&sea.AddShip(sea.AddFleet(c.firstOwner, node, {}), t));
  for (int t : c.enemyTypes) enemy.push_back(&sea.AddShip(sea.AddFleet(c.enemyOwner, node, {}), t));
  sSeaBattle battle(first, enemy);
  // Scripted misses keep every strike away; the rest draws as it likes.
  ScopedRandomDraws scripted({32767, 32767, 32767, 32767, 32767, 32767});
  RunSeaBattleOpening(battle);
  EXPECT_EQ(battle.startingSide, c.starting);
  EXPECT_EQ(battle.actingSide, c.starting);
}

INSTANTIATE_TEST_SUITE_P(
    Order, SeaBattleStart,
    testing::Values(StartCase{"MoreCarriersFirst", 1, 3, {kAircraftCarrier, kCruiser}, {kCruiser, kCruiser}, 0, 0, 1},
                    StartCase{"MoreCarriersEnemy", 1, 3, {kCruiser}, {kAircraftCarrier}, 0, 0, 2},
                    StartCase{"HigherNavyFirst", 1, 3, {kCruiser}, {kCruiser, kCruiser}, 2, 1, 1},
                    StartCase{"HigherNavyEnemy", 1, 3, {kCruiser, kCruiser}, {kCruiser}, 1, 2, 2},
                    StartCase{"MoreShipsFirst", 1, 3, {kCruiser, kBattleship}, {kCruiser}, 1, 1, 1},
                    StartCase{"MoreShipsEnemy", 1, 3, {kCruiser}, {kCruiser, kBattleship}, 1, 1, 2},
                    StartCase{"LowerOwnerFirst", 1, 3, {kCruiser}, {kCruiser}, 1, 1, 1},
                    StartCase{"LowerOwnerEnemy", 3, 1, {kCruiser}, {kCruiser}, 1, 1, 2}),
    [](const auto& info) { return std::string(info.param.name); });

struct ShotCase {
  const char* name;
  int targetType;
  int column;
  int commanderSkill;  // with a skill factor of 9
  bool spotted;        // the fleet is active
  int roll;
  bool hit;
};
class SeaBattleShot : public SeaBattleTest, public testing::WithParamInterface<ShotCase> {};

// Navy level 0 gives the base chance 30.
TEST_P(SeaBattleShot, ChanceHalvedAtTheEdgeAndWhenUnseenButKeptAtOne) {
  const ShotCase& c = GetParam();
  sea.SetConstant(180, 1, 9);
  sSeaBattle battle(Ships(1, {kCruiser}), Ships(3, {c.targetType}));
  cJednostkaMorska& target = *battle.enemySide.front();
  target.battleColumn = c.column;
  target.spotted = c.spotted ? 1 : 0;
  sCommander admiral;
  admiral.skill = c.commanderSkill;
  if (c.commanderSkill > 0) target.attachedCommander = &admiral;
  battle.actingSide = 1;
  battle.selectedA = battle.firstSide.front();
  battle.selectedB = &target;
  ScopedRandomDraws scripted({DrawFor(1, 100, c.roll), 0});
  SeaBattleShots(battle);
  const bool missed = battle.lastShotEvent == kShotGunsMisses;
  EXPECT_EQ(!missed, c.hit);
  EXPECT_EQ(battle.firstSide.front()->mayAct, 0);
  target.attachedCommander = nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    Chances, SeaBattleShot,
    testing::Values(ShotCase{"PlainAt", kCruiser, 20, 0, true, 30, true},
                    ShotCase{"PlainAbove", kCruiser, 20, 0, true, 31, false},
                    ShotCase{"UnseenActiveHalved", kCruiser, 20, 0, false, 15, true},
                    ShotCase{"UnseenActiveAbove", kCruiser, 20, 0, false, 16, false},
                    ShotCase{"CarrierEdgeHalved", kAircraftCarrier, 27, 0, true, 15, true},
                    ShotCase{"CarrierEdgeAbove", kAircraftCarrier, 27, 0, true, 16, false},
                    ShotCase{"CarrierInsideNotHalved", kAircraftCarrier, 26, 0, true, 30, true},
                    ShotCase{"CarrierColumn3ChanceOne", kAircraftCarrier, 3, 3, true, 1, true},
                    ShotCase{"CarrierColumn3ChanceOneMiss", kAircraftCarrier, 3, 3, true, 2, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SeaBattleTest, AMissingSelectionEndsTheBattleWithItsReport) {
  test::LogCapture log;
  sSeaBattle battle(Ships(1, {kCruiser}), Ships(3, {kCruiser}));
  battle.participants = {1, 3};
  battle.actingSide = 1;
  battle.selectedA = battle.firstSide.front();
  SeaBattleShots(battle);
  EXPECT_TRUE(log.Contains(u"Zabraklo defenderow w bitwie morskiej, zaraz sie wywali pewnie"));
  EXPECT_TRUE(battle.finished);
}

struct TurnCase {
  int turnsLeft;
  bool finished;
};
class SeaBattleTurns : public SeaBattleTest, public testing::WithParamInterface<TurnCase> {};

TEST_P(SeaBattleTurns, ARoundWithoutActorsCountsDownAndMayEndTheBattle) {
  sSeaBattle battle(Ships(1, {kCruiser}), Ships(3, {kCruiser}));
  battle.participants = {1, 3};
  for (auto* side : {&battle.firstSide, &battle.enemySide}) {
    for (auto* ship : *side) ship->InitBattleFlags(), ship->targetable = 1;
  }
  battle.battleTurnsLeft = GetParam().turnsLeft;
  battle.actingSide = 1;
  battle.selectedA = battle.firstSide.front();
  battle.selectedB = battle.enemySide.front();
  ScopedRandomDraws misses({32767, 32767, 32767, 32767});
  RunSeaBattleRound(battle);  // the first side shoots; the enemy acts next
  EXPECT_EQ(battle.actingSide, 2);
  RunSeaBattleRound(battle);  // nobody may act any more
  EXPECT_NE(battle.log.find(u"\nTurn completed\n"), std::u16string::npos);
  EXPECT_EQ(battle.battleTurnsLeft, GetParam().turnsLeft - 1);
  EXPECT_EQ(battle.finished != 0, GetParam().finished);
  EXPECT_EQ(battle.log.find(GetText("seabattle_end")) != std::u16string::npos, GetParam().finished);
}

INSTANTIATE_TEST_SUITE_P(Turns, SeaBattleTurns, testing::Values(TurnCase{1, true}, TurnCase{2, false}));

struct RetreatCase {
  int roll;
  bool success;
};
class SeaBattleRetreat : public SeaBattleTest, public testing::WithParamInterface<RetreatCase> {};

TEST_P(SeaBattleRetreat, ARollBelowTheChanceTakesTheShipOutOfTheBattle) {
  sea.SetConstant(174, 1, 40);
  sSeaBattle battle(Ships(1, {kCruiser}), Ships(3, {kCruiser, kBattleship}));
  battle.participants = {1, 3};
  cJednostkaMorska& ship = *battle.enemySide.front();
  for (auto* side : {&battle.firstSide, &battle.enemySide}) {
    for (auto* s : *side) battle.initialHitPoints[s->id] = s->hitPoints, battle.initialNames[s->id] = s->name;
  }
  ship.battleColumn = 17;
  ship.hitPoints = 2;  // damaged, so it would be listed
  {
    ScopedRandomDraws scripted({DrawFor(1, 100, GetParam().roll)});
    TryRetreatFromSeaBattle(battle, ship);
  }
  EXPECT_EQ(battle.enemySide.size(), GetParam().success ? 1u : 2u);
  EXPECT_TRUE(ship.retreated);
  EXPECT_FALSE(ship.mayAct);
  const std::u16string failed = Format(u"%s (C3) tried to retreat: failed", ship.name);
  EXPECT_EQ(battle.log.find(failed) != std::u16string::npos, !GetParam().success);
  ReportSeaBattleDamage(battle);
  const std::u16string lost = Format(u"%s (C3) lost 4 HP", ship.name);
  bool listed = false;
  for (const sReport& r : sea.game().reports.Reports()) listed |= r.text.find(lost) != std::u16string::npos;
  EXPECT_EQ(listed, !GetParam().success);
}

INSTANTIATE_TEST_SUITE_P(Rolls, SeaBattleRetreat,
                         testing::Values(RetreatCase{40, false}, RetreatCase{39, true}, RetreatCase{1, true}));

TEST_F(SeaBattleTest, DamageReportTellsTwoShipsOfOneNameApart) {
  sSeaBattle battle(Ships(1, {kCruiser, kCruiser}), Ships(3, {kCruiser}));
  battle.participants = {1};
  for (auto* s : battle.firstSide) s->name = u"Twin";
  battle.log = u"x";
  for (auto* side : {&battle.firstSide, &battle.enemySide}) {
    for (auto* s : *side) battle.initialHitPoints[s->id] = s->hitPoints, battle.initialNames[s->id] = s->name;
  }
  battle.firstSide.front()->hitPoints = 5;
  battle.firstSide.back()->hitPoints = 3;
  ReportSeaBattleDamage(battle);
  const std::u16string text = sea.game().reports.Reports().back().text;
  EXPECT_NE(text.find(u"Twin (C1) lost 1 HP\n"), std::u16string::npos);
  EXPECT_NE(text.find(u"Twin (C1) lost 3 HP\n"), std::u16string::npos);
}

struct PbemCase {
  const char* name;
  bool pbemGame;
  int firstPlayer, enemyPlayer;  // the owners' play-by-e-mail player numbers
  std::set<int> recorded;        // empty: nothing is kept
};
class SeaBattlePbem : public SeaBattleTest, public testing::WithParamInterface<PbemCase> {};

// A battle fought to its damage report is kept for the play-by-e-mail players
// it names, with both sides' ships and the opening's strikes.
TEST_P(SeaBattlePbem, TheDamageReportKeepsTheBattleForItsPlayers) {
  const PbemCase& c = GetParam();
  sea.game().pbemGame = c.pbemGame ? 1 : 0;
  sea.world().country(1).pbemPlayerId = c.firstPlayer;
  sea.world().country(3).pbemPlayerId = c.enemyPlayer;
  sea.world().country(1).humanControlled = 1;
  SetNavy(1, 3);
  SetNavy(3, 3);
  sSeaBattle battle(Ships(1, {kCruiser, kSubmarine}), Ships(3, {kBattleship}));
  std::u16string firstNames, enemyNames;
  for (const auto* s : battle.firstSide) firstNames += s->name + u"\n";
  for (const auto* s : battle.enemySide) enemyNames += s->name + u"\n";
  sea.world().country(1).techLevels[kSub] = 9;
  battle.enemySide.front()->hitPoints = 20;
  SeedRandom(3);
  {
    ScopedRandomDraws strike({0, 0});  // the submarine hits the battleship; the rest as seeded
    ShowSeaBattleStageReport(battle);
  }
  ASSERT_TRUE(battle.finished);
  EXPECT_EQ(battle.automatic != 0, c.pbemGame);
  if (c.recorded.empty()) {
    EXPECT_TRUE(sea.game().seaBattles.empty());
    return;
  }
  ASSERT_EQ(sea.game().seaBattles.size(), 1u);
  const sPbemSeaBattleRecord& record = sea.game().seaBattles.front();
  EXPECT_EQ(record.firstSideShips, firstNames);
  EXPECT_EQ(record.enemySideShips, enemyNames);
  std::u16string strikes;
  for (const sSeaBattleEntry& e : battle.openingEntries) strikes += e.text + u"\n";
  EXPECT_EQ(record.openingEvents, strikes);
  EXPECT_EQ(battle.openingEntries.size(), 1u);
  EXPECT_EQ(std::set<int>(record.players.begin(), record.players.end()), c.recorded);
}

INSTANTIATE_TEST_SUITE_P(Games, SeaBattlePbem,
                         testing::Values(PbemCase{"NotByEmail", false, 1, 2, {}},
                                         PbemCase{"NoPlayers", true, 0, -1, {}},
                                         PbemCase{"OnePlayer", true, 0, 2, {2}},
                                         PbemCase{"BothPlayers", true, 2, 1, {1, 2}}),
                         [](const auto& info) { return std::string(info.param.name); });

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
