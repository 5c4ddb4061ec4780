// The path of a move, its walk step by step with the captures, and the undo
// of the last move.
#include <gtest/gtest.h>

#include "foundation/format.h"
#include "foundation/string_base.h"
#include "support/log_capture.h"
#include "units/movement_fixture.h"

namespace tr {
namespace {

using test::LogCapture;
using test::MovementWorld;

class UnitPath : public MovementWorld {
 protected:
  UnitPath() {
    for (sHex& hex : map().Hexes()) hex.controller = hex.owner = 1;
  }

  cPlayerControl& control() { return game().playerControl; }

  // Takes the unit off its hex, builds the path and walks it to the end.
  bool Walk(cJednostkaLadowa& unit, int x, int y) {
    unit.ComputeMoveRange(1);
    map().GetHex(unit.x, unit.y)->unit = nullptr;
    if (!control().FindHexPath(&unit, x, y)) return false;
    int guard = 0;
    while (control().move.AdvanceMovingUnit()) EXPECT_LT(++guard, 50);
    return true;
  }
};

// With points enough to cross the map many times too: what the path is
// traced over is held to the map, not sized from the points. The unit's row
// lies further from the map's edge than its column, beyond its reach.
class UnitPathPoints : public UnitPath, public testing::WithParamInterface<int> {};

TEST_P(UnitPathPoints, LogsEveryStepFromTheTargetBack) {
  cJednostkaLadowa& unit = Mover(1, 2, 6, GetParam());
  unit.ComputeMoveRange(1);
  LogCapture log;
  map().GetHex(2, 6)->unit = nullptr;
  ASSERT_TRUE(control().FindHexPath(&unit, 3, 5));
  const std::vector<std::u16string> expected = {u"Adding hex (3,5) to path (cost 1)", u"Adding hex (2,5) to path (cost 1)"};
  EXPECT_EQ(log.lines(), expected);
  ASSERT_EQ(control().move.path.size(), 2u);
  EXPECT_EQ(control().move.path.front(), (sHexEntry{2, 5, 1}));
  EXPECT_EQ(control().undo.unit, &unit);
}

INSTANTIATE_TEST_SUITE_P(Units, UnitPathPoints, testing::Values(2, 1000000));

// On a map wider than high, a unit whose column lies beyond the map's height
// still finds its path, up to the map's last column: each side of the grid
// is cut to the map by its own.
TEST_F(UnitPath, AWideMapTracesPathsBeyondItsHeight) {
  game().map = std::make_unique<cMap>(20, 8);
  for (sHex& hex : map().Hexes()) {
    hex.terrain = 1;
    hex.controller = hex.owner = 1;
  }
  cJednostkaLadowa& unit = Mover(1, 17, 4, 2);
  ASSERT_TRUE(Walk(unit, 19, 4));
  EXPECT_EQ(unit.x, 19);
  EXPECT_EQ(unit.y, 4);
  EXPECT_EQ(map().GetHex(19, 4)->unit, &unit);
}

TEST_F(UnitPath, OneHexMoveTakesTheRangeCostWithoutLogging) {
  SetLandCost(6, 9);
  map().GetHex(2, 1)->terrain = 6;
  cJednostkaLadowa& unit = Mover(1, 2, 2, 3);
  LogCapture log;
  ASSERT_TRUE(Walk(unit, 2, 1));
  EXPECT_FALSE(log.ContainsText(u"Adding hex"));
  EXPECT_EQ(unit.actionPoints, 0);
  EXPECT_EQ(map().GetHex(2, 1)->unit, &unit);
  EXPECT_EQ(control().lastMoveDestination, (sPoint{2, 1}));
}

TEST_F(UnitPath, TargetOutOfRangeIsRefusedAndTheUnitStays) {
  cJednostkaLadowa& unit = Mover(1, 2, 2, 1);
  EXPECT_FALSE(Walk(unit, 2, 6));
  EXPECT_EQ(map().GetHex(2, 2)->unit, &unit);
  EXPECT_EQ(control().move.unit, nullptr);
}

TEST_F(UnitPath, EnemyOnTheFirstStepStopsTheWalkForFree) {
  cJednostkaLadowa& unit = Mover(1, 5, 5, 3);
  unit.ComputeMoveRange(1);
  AddLand(2, 5, 4);  // revealed after the range was made
  map().GetHex(5, 5)->unit = nullptr;
  ASSERT_TRUE(control().FindHexPath(&unit, 5, 3));
  EXPECT_FALSE(control().move.AdvanceMovingUnit());
  EXPECT_EQ(map().GetHex(5, 5)->unit, &unit);
  EXPECT_EQ(unit.actionPoints, 3);
}

TEST_F(UnitPath, PassesFriendsAndBacksOffAHexItCannotShare) {
  cJednostkaLadowa& unit = Mover(1, 5, 8, 4);
  cJednostkaLadowa& friendUnit = AddLand(1, 5, 6);
  unit.ComputeMoveRange(1);
  AddLand(2, 5, 5);  // blocks the step after the friend
  map().GetHex(5, 8)->unit = nullptr;
  ASSERT_TRUE(control().FindHexPath(&unit, 5, 4));
  while (control().move.AdvanceMovingUnit()) {
  }
  EXPECT_EQ(map().GetHex(5, 6)->unit, &friendUnit);
  EXPECT_EQ(map().GetHex(5, 7)->unit, &unit);
  EXPECT_EQ(unit.y, 7);
  EXPECT_EQ(map().GetHex(5, 8)->unit, nullptr);
}

// Entering the enemy hex (5, 4) from (5, 5), which ally 3 holds, with (5, 4)
// owned by `hexOwner`: who controls it afterwards.
class Capture : public UnitPath, public testing::WithParamInterface<std::tuple<int, int, int, int>> {};

TEST_P(Capture, GoesToTheMoverOrTheAllyItCameFrom) {
  const auto [moverStrength, allyStrength, hexOwner, controllerAfter] = GetParam();
  game().constants.SetSlot(consts_layout::kCaptureMargin, 10);
  country(3).alliance = kAllies;
  game().relations.SetWar(3, 2, true);
  game().relations.SetWar(2, 3, true);
  country(1).politicalStrength = moverStrength;
  country(3).politicalStrength = allyStrength;
  map().GetHex(5, 5)->controller = 3;
  map().GetHex(5, 4)->controller = 2;
  map().GetHex(5, 4)->owner = static_cast<std::uint8_t>(hexOwner);
  cJednostkaLadowa& unit = Mover(1, 5, 5, 1);
  ASSERT_TRUE(Walk(unit, 5, 4));
  EXPECT_EQ(map().GetHex(5, 4)->controller, controllerAfter);
}

INSTANTIATE_TEST_SUITE_P(Margins, Capture,
                         testing::Values(std::tuple{50, 45, 2, 3},    // short of the margin: the ally takes it
                                         std::tuple{55, 45, 2, 1},    // the margin reached: the mover keeps it
                                         std::tuple{55, 45, 3, 3},    // an ally's own hex returns to it
                                         std::tuple{50, 45, 1, 1}));  // the mover's own hex

TEST_F(UnitPath, UndoPutsEverythingBack) {
  for (int y = 0; y < 5; ++y) map().GetHex(5, y)->controller = 2;
  cJednostkaLadowa& unit = Mover(1, 5, 7, 4);
  ASSERT_TRUE(Walk(unit, 5, 4));
  unit.movedThisTurn = 1;
  ASSERT_FALSE(control().undo.changedHexes.empty());
  EXPECT_EQ(map().GetHex(5, 4)->controller, 1);

  LogCapture log;
  control().undo.UndoLastMove(&unit);
  EXPECT_TRUE(log.Contains(Format(GetText("conducting_undo_movement._hexes_to_change:%i,_start_coords(%i,%i)"), 2, 5, 7)));
  EXPECT_EQ(map().GetHex(5, 7)->unit, &unit);
  EXPECT_EQ(map().GetHex(5, 4)->unit, nullptr);
  EXPECT_EQ(unit.actionPoints, 4);
  EXPECT_EQ(unit.movedThisTurn, 0);
  for (int y = 0; y < 5; ++y) EXPECT_EQ(map().GetHex(5, y)->controller, 2) << y;
  EXPECT_EQ(control().undo.unit, nullptr);
  EXPECT_EQ(control().selectedHex, map().GetHex(5, 7));
  EXPECT_EQ(control().actionMode, kActionMove);
}

TEST_F(UnitPath, UndoRefusals) {
  cJednostkaLadowa& unit = Mover(1, 5, 7, 2);
  cJednostkaLadowa& other = Mover(1, 8, 8, 2);
  LogCapture log;
  control().undo.UndoLastMove(&unit);
  EXPECT_TRUE(log.Contains(GetText("undo_impossible._no_unit_has_moved_yet!")));
  ASSERT_TRUE(Walk(unit, 5, 5));
  control().undo.UndoLastMove(&other);
  EXPECT_TRUE(log.Contains(GetText("undo_impossible._only_last_unit_moved_may_undo_its_movement.")));
  EXPECT_EQ(unit.y, 5);
  EXPECT_EQ(control().undo.unit, &unit);
}

}  // namespace
}  // namespace tr
