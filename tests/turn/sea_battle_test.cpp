// Sea battles: the battle's length, the opening stage and its cancellations,
// the starting side, single shots, battle turns, retreats, the damage report
// and what play-by-e-mail players keep of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <set>
#include <utility>
#include <vector>

#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "sea_battle_fixture.h"
#include "support/log_capture.h"
#include "turn/sea_battle.h"
#include "world/commander.h"
#include "world/game_state.h"

namespace tr {
namespace {

using test::DrawFor;
using test::kNavy;
using test::kSub;
using test::SeaBattleTest;

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
  // Transports alone draw no starting side: the first side stays the one to act.
  if (c.cancelled) {
    EXPECT_EQ(battle.actingSide, 1);
  }
  EXPECT_EQ(battle.openingReport.find(GetText(
                "due_to_the_result_of_this_stage_of_the_battle,_regular_part_has_been_cancelled.")) !=
                std::u16string::npos,
            c.cancelled);
}

INSTANTIATE_TEST_SUITE_P(
    Sides, SeaBattleTransports,
    testing::Values(TransportsCase{"BothTransports", {kCargoShip, kAmphibiousShip}, {kAmphibiousShip}, false, true},
                    TransportsCase{"AmphibiousAgainstBetterNavy", {kAmphibiousShip}, {kAmphibiousShip}, true, true},
                    TransportsCase{"WarshipAmongTheFirst", {kCargoShip, kCruiser}, {kAmphibiousShip}, false, false},
                    TransportsCase{"TransportAgainstWarship", {kCargoShip}, {kCruiser}, true, false},
                    TransportsCase{"WarshipAgainstTransport", {kCruiser}, {kCargoShip}, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct CancelCase {
  const char* name;
  int firstCarriers, enemyCarriers;  // a cruiser on a side without them
  int firstNavy, enemyNavy;
  bool submarines;  // two submarines against a cruiser instead
  int roll;
  bool cancelled;
};
class SeaBattleCancel : public SeaBattleTest, public testing::WithParamInterface<CancelCase> {};

// Every carrier strike is scripted to miss and the extra strike of a better
// navy to fail, so only the cancel roll matters. One side's carriers cancel
// below their count + (own navy - other navy + 1) x 20, carriers on both
// sides below both counts + 20, submarines alone below 50 - their count.
TEST_P(SeaBattleCancel, TheOpeningCancelsBelowItsChance) {
  const CancelCase& c = GetParam();
  SetNavy(1, c.firstNavy);
  SetNavy(3, c.enemyNavy);
  std::deque<int> draws;
  sSeaBattle::ShipList first;
  sSeaBattle::ShipList enemy;
  if (c.submarines) {
    first = Ships(1, {kSubmarine, kSubmarine});
    enemy = Ships(3, {kCruiser});
    draws = {0, 0, DrawFor(0, 100, c.roll)};  // two torpedo rolls at submarine level 0, then the chance
  } else {
    const auto side = [&](int owner, int carriers) {
      if (carriers == 0) return Ships(owner, {kCruiser});
      cFleet& fleet = sea.AddFleet(owner, node, {});
      for (int i = 0; i < carriers; ++i) sea.AddShip(fleet, kAircraftCarrier);
      return sSeaBattle::ShipList(fleet.ships.begin(), fleet.ships.end());
    };
    first = side(1, c.firstCarriers);
    enemy = side(3, c.enemyCarriers);
    const int attempts = c.firstCarriers * c.firstNavy + c.enemyCarriers * c.enemyNavy;
    draws.assign(static_cast<std::size_t>(attempts), 32767);
    if ((c.firstCarriers == 0) != (c.enemyCarriers == 0)) draws.push_back(DrawFor(0, 100, 99));
    draws.push_back(DrawFor(0, 100, c.roll));
  }
  sSeaBattle battle(first, enemy);
  ScopedRandomDraws scripted(draws);
  RunSeaBattleOpening(battle);
  EXPECT_EQ(battle.firstSide.size(), first.size());
  EXPECT_EQ(battle.enemySide.size(), enemy.size());
  EXPECT_EQ(battle.regularPartCancelled != 0, c.cancelled);
}

INSTANTIATE_TEST_SUITE_P(Chances, SeaBattleCancel,
                         testing::Values(CancelCase{"CarrierBelow", 1, 0, 0, 0, false, 20, true},
                                         CancelCase{"CarrierAt", 1, 0, 0, 0, false, 21, false},
                                         CancelCase{"TwoCarriersBetterNavyBelow", 2, 0, 2, 1, false, 41, true},
                                         CancelCase{"TwoCarriersBetterNavyAt", 2, 0, 2, 1, false, 42, false},
                                         CancelCase{"EnemyCarriersBetterNavyBelow", 0, 3, 1, 3, false, 62, true},
                                         CancelCase{"EnemyCarriersBetterNavyAt", 0, 3, 1, 3, false, 63, false},
                                         CancelCase{"EnemyCarrierWorseNavyBelow", 0, 1, 1, 0, false, 0, true},
                                         CancelCase{"EnemyCarrierWorseNavyAt", 0, 1, 1, 0, false, 1, false},
                                         CancelCase{"CarriersOnBothSidesBelow", 1, 2, 0, 0, false, 22, true},
                                         CancelCase{"CarriersOnBothSidesAt", 1, 2, 0, 0, false, 23, false},
                                         CancelCase{"SubmarinesBelow", 0, 0, 0, 0, true, 47, true},
                                         CancelCase{"SubmarinesAt", 0, 0, 0, 0, true, 48, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Submarines alone on both sides (two against one) call the regular part
// off below 100 less all the submarines: 97 here.
class SeaBattleSubmarinesOnly : public SeaBattleTest, public testing::WithParamInterface<int> {};

TEST_P(SeaBattleSubmarinesOnly, BothSidesCancelBelowAHundredLessTheirSubmarines) {
  sSeaBattle battle(Ships(1, {kSubmarine, kSubmarine}), Ships(3, {kSubmarine}));
  // Three torpedo rolls that cannot hit, no one-sided cancel (below 48), then the roll.
  ScopedRandomDraws scripted({0, 0, 0, DrawFor(0, 100, 99), DrawFor(0, 100, GetParam())});
  RunSeaBattleOpening(battle);
  EXPECT_EQ(battle.regularPartCancelled != 0, GetParam() < 97);
}

INSTANTIATE_TEST_SUITE_P(Rolls, SeaBattleSubmarinesOnly, testing::Values(96, 97, 98));

struct StrikeCase {
  int navy;
  int roll;  // every attempt's roll
  bool hits;
};
class SeaBattleCarrierStrikes : public SeaBattleTest, public testing::WithParamInterface<StrikeCase> {};

// A carrier makes as many strike attempts as its owner's navy level, each
// hitting below 30 x the level.
TEST_P(SeaBattleCarrierStrikes, OneAttemptPerNavyLevelEachBelowThirtyTimesTheLevel) {
  const StrikeCase& c = GetParam();
  SetNavy(1, c.navy);
  sSeaBattle::ShipList carriers = Ships(1, {kAircraftCarrier});
  sSeaBattle::ShipList targets = Ships(3, {kBattleship, kBattleship});
  for (cJednostkaMorska* ship : targets) ship->hitPoints = 100;
  sSeaBattle battle(carriers, targets);
  std::deque<int> draws;
  for (int attempt = 0; attempt <= c.navy; ++attempt) {  // one attempt more than allowed is scripted
    draws.push_back(DrawFor(0, 1000, c.roll));
    if (c.hits) draws.push_back(DrawFor(0, 1, 0));
  }
  ScopedRandomDraws scripted(draws);
  CarrierAirAttack(battle, battle.firstSide, battle.enemySide);
  EXPECT_EQ(battle.openingEntries.size(), c.hits ? static_cast<std::size_t>(c.navy) : 0u);
  EXPECT_EQ(targets.front()->hitPoints, c.hits ? 100 - c.navy * c.navy : 100);
  EXPECT_EQ(scripted.remaining(), c.hits ? 2u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Levels, SeaBattleCarrierStrikes,
                         testing::Values(StrikeCase{1, 29, true}, StrikeCase{1, 30, false}, StrikeCase{3, 89, true},
                                         StrikeCase{3, 90, false}));

// A submarine of level 9 torpedoes a cruiser of the given hit points: the
// opening's report names the strike under its heading, as a sinking once the
// 9 points take the last of them.
struct TorpedoCase {
  const char* name;
  int hitPoints;
  bool sunk;
};
class SeaBattleTorpedo : public SeaBattleTest, public testing::WithParamInterface<TorpedoCase> {};

TEST_P(SeaBattleTorpedo, TheOpeningReportTellsAHitFromASinking) {
  const TorpedoCase& c = GetParam();
  SetSeaBattleScreen([](sSeaBattle&) {});
  sea.world().country(1).techLevels[kSub] = 9;
  sSeaBattle battle(Ships(1, {kSubmarine}), Ships(3, {kCruiser}));
  battle.enemySide.front()->hitPoints = c.hitPoints;
  const std::u16string sub = battle.firstSide.front()->name + u" (C1)";
  const std::u16string cruiser = battle.enemySide.front()->name + u" (C3)";
  {
    ScopedRandomDraws strike({0, 0});  // the torpedo hits the only target
    ShowSeaBattleStageReport(battle);
  }
  ASSERT_EQ(battle.openingEntries.size(), 1u);
  EXPECT_EQ(battle.openingEntries.front().destroyed != 0, c.sunk);
  EXPECT_EQ(battle.enemySide.empty(), c.sunk);
  const std::u16string line =
      c.sunk ? Format(GetText("___%s_destroyed_%s_(inflicted_%i_hp_loss)"), sub, cruiser, 9)
             : Format(GetText("___%s_attacked_%s_and_inflicted_%i_hp_loss"), sub, cruiser, 9);
  const std::u16string report = battle.openingReport;
  const std::u16string start =
      u"Aircraft carrier groups\n-----------------\n___(none)\n\nSubmarines\n-----------------\n" + line + u"\n";
  EXPECT_EQ(report.substr(0, start.size()), start);
  // With the enemy side sunk before the regular part, the side left starts.
  EXPECT_EQ(battle.startingSide, 1);
}

// A torpedo that sinks the first side's only ship leaves the enemy to start,
// though the first side's owner is the lower number.
TEST_F(SeaBattleTest, AnOpeningThatSinksTheFirstSideLeavesTheEnemyToStart) {
  SetSeaBattleScreen([](sSeaBattle&) {});
  sea.world().country(3).techLevels[kSub] = 7;
  sSeaBattle battle(Ships(1, {kCruiser}), Ships(3, {kSubmarine}));
  battle.firstSide.front()->hitPoints = 6;
  {
    ScopedRandomDraws strike({0, 0});  // the torpedo hits the only target
    ShowSeaBattleStageReport(battle);
  }
  EXPECT_TRUE(battle.firstSide.empty());
  EXPECT_EQ(battle.startingSide, 2);
  EXPECT_EQ(battle.actingSide, 2);
}

INSTANTIATE_TEST_SUITE_P(HitPoints, SeaBattleTorpedo,
                         testing::Values(TorpedoCase{"OneLeft", 10, false}, TorpedoCase{"NoneLeft", 9, true},
                                         TorpedoCase{"MoreThanItHad", 8, true}),
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
  int skillFactor = 9;
};
class SeaBattleShot : public SeaBattleTest, public testing::WithParamInterface<ShotCase> {};

// Navy level 0 gives the base chance 30.
TEST_P(SeaBattleShot, ChanceHalvedAtTheEdgeAndWhenUnseenButKeptAtOne) {
  const ShotCase& c = GetParam();
  sea.SetConstant(180, 1, c.skillFactor);
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
                    ShotCase{"CarrierColumn3ChanceOneMiss", kAircraftCarrier, 3, 3, true, 2, false},
                    ShotCase{"ChanceTwoKept", kCruiser, 20, 1, true, 2, true, 28},
                    ShotCase{"ChanceTwoKeptAbove", kCruiser, 20, 1, true, 3, false, 28}),
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

class SeaBattleActing : public SeaBattleTest, public testing::WithParamInterface<int> {};

// The acting side has two ships and the other side's one has shot already:
// after a shot the side that still has a ship to act goes on acting.
TEST_P(SeaBattleActing, OnlyTheSideWithShipsLeftToActGoesOn) {
  const int acting = GetParam();
  const std::initializer_list<int> two{kCruiser, kCruiser};
  const std::initializer_list<int> one{kCruiser};
  sSeaBattle battle(Ships(1, acting == 1 ? two : one), Ships(3, acting == 2 ? two : one));
  battle.participants = {1, 3};
  for (auto* side : {&battle.firstSide, &battle.enemySide}) {
    for (auto* ship : *side) ship->InitBattleFlags(), ship->targetable = 1;
  }
  (acting == 1 ? battle.enemySide : battle.firstSide).front()->mayAct = 0;
  battle.battleTurnsLeft = 1;
  battle.actingSide = static_cast<std::uint8_t>(acting);
  battle.selectedA = battle.firstSide.front();
  battle.selectedB = battle.enemySide.front();
  ScopedRandomDraws misses({32767, 32767, 32767, 32767});
  RunSeaBattleRound(battle);
  EXPECT_EQ(battle.actingSide, acting);
  EXPECT_FALSE(battle.finished);
}

INSTANTIATE_TEST_SUITE_P(Sides, SeaBattleActing, testing::Values(1, 2));

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

// A ship at 0 hit points or below sinks with what it carries: it leaves its
// side, the selection and the game; a ship at 1 fights on.
TEST_F(SeaBattleTest, ShipsAtNoHitPointsSinkWithTheirCargoAndLeaveTheBattle) {
  sSeaBattle battle(Ships(1, {kCruiser, kCargoShip}), Ships(3, {kBattleship, kCruiser}));
  cJednostkaMorska* keptFirst = battle.firstSide.front();
  cJednostkaMorska* sunkFirst = battle.firstSide.back();
  cJednostkaMorska* sunkEnemy = battle.enemySide.front();
  cJednostkaMorska* keptEnemy = battle.enemySide.back();
  keptFirst->hitPoints = 4;
  sunkFirst->hitPoints = 0;
  sunkEnemy->hitPoints = -2;
  keptEnemy->hitPoints = 1;
  auto cargo = std::make_unique<cJednostkaLadowa>();
  cargo->owner = 1;
  cargo->transporter = sunkFirst;
  sunkFirst->carriedUnit = cargo.get();
  sea.game().aboardUnitsA.push_back(std::move(cargo));
  battle.selectedA = sunkFirst;
  battle.selectedB = keptEnemy;
  const std::size_t before = sea.game().navalUnits.size();
  RemoveSunkShips(battle);
  EXPECT_EQ(battle.firstSide, sSeaBattle::ShipList{keptFirst});
  EXPECT_EQ(battle.enemySide, sSeaBattle::ShipList{keptEnemy});
  EXPECT_EQ(battle.selectedA, nullptr);
  EXPECT_EQ(battle.selectedB, keptEnemy);
  EXPECT_EQ(sea.game().navalUnits.size(), before - 2);
  EXPECT_TRUE(sea.game().aboardUnitsA.empty());
}

struct DamageCase {
  const char* name;
  int firstAfter, enemyAfter;  // of 6 hit points; 0: sunk and gone from its side
  const char16_t* listed;      // what follows the log
};
class SeaBattleDamage : public SeaBattleTest, public testing::WithParamInterface<DamageCase> {};

// A ship that lost nothing is not listed; the enemy's damaged ships come first;
// the sunk ships are listed by name, not by number.
TEST_P(SeaBattleDamage, TheReportListsTheShipsThatLostHitPoints) {
  const DamageCase& c = GetParam();
  sSeaBattle battle(Ships(1, {kCruiser}), Ships(3, {kCruiser}));
  battle.participants = {1};
  battle.log = u"log";
  cJednostkaMorska& first = *battle.firstSide.front();
  cJednostkaMorska& enemy = *battle.enemySide.front();
  first.name = u"Avon";
  enemy.name = u"Brest";
  for (cJednostkaMorska* ship : {&first, &enemy}) {
    battle.initialHitPoints[ship->id] = 6;
    battle.initialNames[ship->id] = ship->name;
  }
  first.hitPoints = c.firstAfter;
  enemy.hitPoints = c.enemyAfter;
  if (c.firstAfter == 0) battle.firstSide.clear();
  if (c.enemyAfter == 0) battle.enemySide.clear();
  ReportSeaBattleDamage(battle);
  ASSERT_FALSE(sea.game().reports.Reports().empty());
  EXPECT_EQ(sea.game().reports.Reports().back().text, u"log" + std::u16string(c.listed));
}

INSTANTIATE_TEST_SUITE_P(
    Losses, SeaBattleDamage,
    testing::Values(DamageCase{"NoneLost", 6, 6, u""},
                    DamageCase{"FirstLostOne", 5, 6, u"\n\nDamaged ships:\nAvon (C1) lost 1 HP\n"},
                    DamageCase{"EnemyLostOne", 6, 5, u"\n\nDamaged ships:\nBrest (C3) lost 1 HP\n"},
                    DamageCase{"BothLost", 4, 5, u"\n\nDamaged ships:\nBrest (C3) lost 1 HP\nAvon (C1) lost 2 HP\n"},
                    DamageCase{"EnemySunk", 6, 0, u"\n\nDestroyed ships:\nBrest\n"},
                    DamageCase{"BothSunk", 0, 0, u"\n\nDestroyed ships:\nAvon\nBrest\n"},
                    DamageCase{"SunkAndDamaged", 5, 0, u"\n\nDestroyed ships:\nBrest\n\n\nDamaged ships:\nAvon (C1) lost 1 HP\n"}),
    [](const auto& info) { return std::string(info.param.name); });

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

// Each side draws its carriers at its back edge, fifteen to a column from the
// middle row outwards, and its other ships in a wedge before them; ships past
// thirty carriers or twenty-two others stay off the board.
TEST_F(SeaBattleTest, ShipsAreLaidOutBySideAndTypeAndTheSurplusStaysOffTheBoard) {
  std::vector<cJednostkaMorska*> first, enemy;
  cFleet& firstFleet = sea.AddFleet(1, node, {});
  for (int i = 0; i < 31; ++i) first.push_back(&sea.AddShip(firstFleet, kAircraftCarrier));
  for (int i = 0; i < 23; ++i) first.push_back(&sea.AddShip(firstFleet, kCruiser));
  cFleet& enemyFleet = sea.AddFleet(3, node, {});
  for (int i = 0; i < 16; ++i) enemy.push_back(&sea.AddShip(enemyFleet, kAircraftCarrier));
  for (int i = 0; i < 3; ++i) enemy.push_back(&sea.AddShip(enemyFleet, kBattleship));
  const sSeaBattle battle({first.begin(), first.end()}, {enemy.begin(), enemy.end()});
  int placed = 0;
  PlaceSeaBattleShips(battle, [&](cJednostkaMorska& ship, int column, int row) {
    EXPECT_EQ(column, ship.battleColumn);
    EXPECT_EQ(row, ship.battleRow);
    ++placed;
  });
  EXPECT_EQ(placed, 30 + 22 + 16 + 3);
  using Cell = std::pair<int, int>;
  const auto at = [](const cJednostkaMorska* ship) { return Cell{ship->battleColumn, ship->battleRow}; };
  EXPECT_EQ(at(first[0]), Cell(3, 16));
  EXPECT_EQ(at(first[1]), Cell(3, 14));
  EXPECT_EQ(at(first[14]), Cell(3, 30));
  EXPECT_EQ(at(first[15]), Cell(1, 16));
  EXPECT_EQ(at(first[16]), Cell(1, 14));
  EXPECT_EQ(at(first[30]), Cell(-1, -1));
  EXPECT_EQ(at(first[31]), Cell(13, 16));
  EXPECT_EQ(at(first[33]), Cell(11, 15));
  EXPECT_EQ(at(first[52]), Cell(13, 22));
  EXPECT_EQ(at(first[53]), Cell(-1, -1));
  EXPECT_EQ(at(enemy[0]), Cell(27, 16));
  EXPECT_EQ(at(enemy[15]), Cell(29, 16));
  EXPECT_EQ(at(enemy[16]), Cell(17, 16));
  EXPECT_EQ(at(enemy[18]), Cell(19, 15));
}

}  // namespace
}  // namespace tr
