// The player's clicks on the map: which hex a screen point picks, the hover,
// selecting own and foreign units, a move with its animation, a rebase, the
// attack plan built, changed, cancelled and launched, and the combat result
// that follows.
#include "app/game_mouse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <memory>
#include <utility>

#include "app/game_commands.h"
#include "app/game_frame_move.h"
#include "app/modal_stack.h"
#include "dialogs/attack_panel.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/unit_panel.h"
#include "foundation/format.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "game_screen_fixture.h"
#include "gui/hint_box.h"
#include "gui/static.h"
#include "scenario/reports.h"
#include "scenario/scenario_constants_layout.h"
#include "support/log_capture.h"
#include "turn/sea_graph.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "world/map_camera.h"

namespace tr {
namespace {

using test::LogCapture;

struct PickCase {
  int x, y;
  int column, row;
};
class HexPicking : public testing::TestWithParam<PickCase> {};

TEST_P(HexPicking, PicksTheHexUnderThePointer) {
  const PickCase& c = GetParam();
  const sPickedHex hex = PickHexAt(c.x, c.y, 1024, 768, 1.0f, 542.0f, 420.0f);
  EXPECT_EQ(hex.column, c.column);
  EXPECT_EQ(hex.row, c.row);
}

// With the camera at (542, 420) a screen point is its own map pixel.
INSTANTIATE_TEST_SUITE_P(
    Points, HexPicking,
    testing::Values(PickCase{259, 201, 2, 1},   // (10, 5) in the box of (3, 2): the upper-left neighbour
                    PickCase{269, 236, 3, 2},   // (20, 40) stays in the cell
                    PickCase{254, 286, 2, 2},   // below the slant of an odd column
                    PickCase{206, 100, 2, 0},   // an even column starts half a row lower
                    PickCase{171, 139, 1, 1},   // below the slant of an even column: the next row on the left
                    PickCase{-10, 201, -1, 2},  // left of the map: a negative column, not column 0
                    PickCase{300, -5, 3, -1}));

class GameMouseTest : public test::GameScreenFixture {
 protected:
  void SetUp() override {
    GameScreenFixture::SetUp();
    savedDelays_ = gDelays;
    gDelays.fill(0.0f);
    gScreenWidth = 1024;
    gScreenHeight = 768;
    cGame& g = game();
    for (int terrain = 0; terrain < consts_layout::kMoveCostRow; ++terrain) {
      g.constants.SetSlot(consts_layout::kMoveCost + terrain, 1);
    }
    for (sHex& hex : map().Hexes()) hex.controller = hex.owner = 1;
    map().camera.x = 542.0f;
    map().camera.y = 420.0f;
    g.relations.SetWar(1, 2, true);
    g.relations.SetWar(2, 1, true);
    InstallGameCommandHandlers();
    GetHintBox().SetControl(nullptr);
  }
  void TearDown() override {
    game().playerControl.DropAttack();
    game().playerControl.move.unit = nullptr;
    gDelays = savedDelays_;
    GameScreenFixture::TearDown();
  }
  cMap& map() { return *game().map; }
  cPlayerControl& control() { return game().playerControl; }

  // The middle of the hex's right part on screen (camera (542, 420), zoom 1).
  static std::pair<int, int> ScreenPoint(int column, int row) {
    return {83 * column + 50, 98 * row + 49 + (column % 2 == 0 ? 49 : 0)};
  }
  static void ClickAt(int x, int y) {
    GameMouseCallback(true, false, false, false, false, 0, x, y);
    GameMouseCallback(false, false, false, false, false, 0, x, y);
  }
  static void Click(int column, int row) {
    const auto [x, y] = ScreenPoint(column, row);
    ClickAt(x, y);
  }
  cJednostkaLadowa& Land(int owner, int x, int y, int points = 3) {
    cJednostkaLadowa& unit = world_->PlaceLandUnit(owner, x, y);
    unit.actionPoints = unit.startingActionPoints = points;
    return unit;
  }
  // Lets the frame walk the move until the player's idle state is back.
  void FinishMove() {
    for (int frame = 0; frame < 100 && game().GetGameState() == kGameHumanMoving; ++frame) {
      clock_.AdvanceMs(20);
      AnimateUnitMove();
    }
  }
  static cDialogWynikuWalki* ResultDialog() { return dynamic_cast<cDialogWynikuWalki*>(TopDialog); }

 private:
  std::array<float, kDelayCount> savedDelays_{};
};

TEST_F(GameMouseTest, ThePointerFollowsTheHexAndAPointOffTheMapSelectsNothing) {
  const auto [x, y] = ScreenPoint(4, 3);
  GameMouseCallback(false, false, false, false, false, 0, x, y);
  EXPECT_EQ(control().hoveredHex, map().GetHex(4, 3));
  // A right click changes nothing but the hovered hex.
  GameMouseCallback(false, true, false, false, false, 0, x, y);
  GameMouseCallback(false, false, false, false, false, 0, x, y);
  EXPECT_EQ(control().selectedHex, nullptr);
  ClickAt(-10, 201);
  EXPECT_EQ(control().hoveredHex, nullptr);
  EXPECT_EQ(control().selectedHex, nullptr);
}

TEST_F(GameMouseTest, TheWheelZoomsOneStepANotchExceptOverAControl) {
  gZoomLevel = 1.0f;
  GameMouseCallback(false, false, false, false, false, 120, 500, 300);
  EXPECT_FLOAT_EQ(gZoomLevel, 0.95f);
  CDXUTControl* field = hexPanel_->GetControl(403);
  ASSERT_NE(field, nullptr);
  GetHintBox().SetControl(field, true);
  GameMouseCallback(false, false, false, false, false, -120, 500, 300);
  EXPECT_FLOAT_EQ(gZoomLevel, 0.95f);
  GetHintBox().SetControl(nullptr);
}

TEST_F(GameMouseTest, TheHintBoxFollowsTheSeaNodeUnderThePointerUntilTheGameGoes) {
  sWezelGrafuMorz node;
  node.id = 1;
  game().seaGraph.nodes.push_back(node);
  map().GetHex(4, 3)->seaNodeMarker = 1;
  const auto [x, y] = ScreenPoint(4, 3);
  GameMouseCallback(false, false, false, false, false, 0, x, y);
  EXPECT_EQ(GetHintBox().GetHoverable(), &game().seaGraph.nodes.front());
  const auto [ox, oy] = ScreenPoint(5, 3);
  GameMouseCallback(false, false, false, false, false, 0, ox, oy);
  EXPECT_EQ(GetHintBox().GetHoverable(), nullptr);
  GameMouseCallback(false, false, false, false, false, 0, x, y);
  ASSERT_NE(GetHintBox().GetHoverable(), nullptr);
  DestroyGamePanels();
  EXPECT_EQ(GetHintBox().GetHoverable(), nullptr);
  game().seaGraph.nodes.clear();
}

TEST_F(GameMouseTest, ClicksActOnlyInThePlayersIdleState) {
  Land(1, 3, 3);
  game().StoreGameState(kGameComputerTurn);
  Click(3, 3);
  EXPECT_EQ(control().selectedHex, nullptr);
  game().StoreGameState(kGameHumanIdle);
  Click(3, 3);
  EXPECT_EQ(control().selectedHex, map().GetHex(3, 3));
}

class OwnUnitClick : public GameMouseTest, public testing::WithParamInterface<bool> {};

TEST_P(OwnUnitClick, PreparesAMoveOrForAnAirUnitARebase) {
  const bool air = GetParam();
  if (air) {
    cJednostkaLotnicza& plane = world_->PlaceAirUnit(1, 3, 3);
    plane.actionPoints = plane.startingActionPoints = 3;
  } else {
    Land(1, 3, 3);
  }
  Click(3, 3);
  EXPECT_EQ(control().actionMode, air ? kActionRebase : kActionMove);
  EXPECT_EQ(control().selectedUnit, map().GetHex(3, 3)->unit);
}

INSTANTIATE_TEST_SUITE_P(Kinds, OwnUnitClick, testing::Bool());

TEST_F(GameMouseTest, AForeignUnitLosesItsRangeAndEndsTheAction) {
  cJednostkaLadowa& enemy = Land(2, 6, 6);
  enemy.moveRange.push_back(sMoveRangeCell{&enemy, 6, 5, 1, 1});
  control().actionMode = kActionMove;
  Click(6, 6);
  EXPECT_TRUE(enemy.moveRange.empty());
  EXPECT_EQ(control().actionMode, kActionNone);
}

TEST_F(GameMouseTest, AMarkedHexMovesTheUnitThereThroughTheMovingState) {
  cJednostkaLadowa& unit = Land(1, 2, 2);
  unit.name = u"1st Rifles";
  Click(2, 2);
  ASSERT_EQ(control().actionMode, kActionMove);
  LogCapture log;
  Click(3, 2);
  EXPECT_TRUE(log.Contains(u"Player action: Move / 1st Rifles from (2, 2) to (3, 2)"));
  EXPECT_EQ(game().GetGameState(), kGameHumanMoving);
  EXPECT_EQ(map().GetHex(2, 2)->unit, nullptr);
  FinishMove();
  EXPECT_EQ(game().GetGameState(), kGameHumanIdle);
  EXPECT_EQ(map().GetHex(3, 2)->unit, &unit);
  EXPECT_EQ(unit.x, 3);
}

TEST_F(GameMouseTest, AnAirUnitRebasesToAMarkedHexAndCanBeUndone) {
  cJednostkaLotnicza& plane = world_->PlaceAirUnit(1, 2, 2);
  plane.name = u"Wing";
  plane.actionPoints = plane.startingActionPoints = 4;
  Click(2, 2);
  ASSERT_EQ(control().actionMode, kActionRebase);
  map().GetHex(5, 5)->AddFlags(0x200, 1);  // marked as a rebase target
  LogCapture log;
  Click(5, 5);
  EXPECT_TRUE(log.Contains(u"Player action: Rebase / Wing from (2, 2) to (5, 5)"));
  EXPECT_EQ(map().GetHex(5, 5)->unit, &plane);
  EXPECT_EQ(control().undo.unit, &plane);
  EXPECT_EQ(control().undo.actionPoints, 4);
  EXPECT_EQ(control().actionMode, kActionNone);
}

TEST_F(GameMouseTest, AParadropOnAMarkedHexReportsInAMessageBox) {
  cJednostkaLadowa& paras = Land(1, 2, 2);
  paras.name = u"Paras";
  paras.type = kAirborneDivision;
  Click(2, 2);
  control().actionMode = kActionAirborneDrop;
  map().GetHex(5, 4)->AddFlags(0x40, 1);
  LogCapture log;
  Click(5, 4);
  EXPECT_TRUE(log.Contains(u"Player action: Airborne assault / Paras on (5, 4)"));
  EXPECT_EQ(map().GetHex(5, 4)->unit, &paras);
  auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(static_cast<CDXUTStatic*>(box->GetControl(box->layoutBase() + 1))->GetText(),
            u"airborne_assault_title_unitParas");
  EXPECT_EQ(control().actionMode, kActionNone);
}

class NuclearClick : public GameMouseTest, public testing::WithParamInterface<float> {};

TEST_P(NuclearClick, LogsTheStrikeAndShowsItsResultWhenTheDelayAsks) {
  gDelays[kDelayHumanCombatResult] = GetParam();
  cJednostkaLotnicza& bomber = world_->PlaceAirUnit(1, 2, 2);
  bomber.name = u"Ares";
  bomber.type = kStrategicBomber;
  bomber.actionPoints = bomber.startingActionPoints = 4;
  Click(2, 2);
  control().actionMode = kActionNuclearStrike;
  map().GetHex(6, 5)->AddFlags(0x40, 1);
  LogCapture log;
  Click(6, 5);
  EXPECT_TRUE(log.Contains(u"Player action: Nuclear bombardment / Ares on (6, 5)"));
  if (GetParam() == 0.0f) {
    EXPECT_EQ(ResultDialog(), nullptr);
  } else {
    ASSERT_NE(ResultDialog(), nullptr);
    EXPECT_EQ(static_cast<CDXUTStatic*>(ResultDialog()->GetControl(cDialogWynikuWalki::kTitle))->GetText(),
              u"combatresult_nuclear_title");
  }
  EXPECT_EQ(control().actionMode, kActionNone);
}

INSTANTIATE_TEST_SUITE_P(Delays, NuclearClick, testing::Values(0.0f, 2500.0f));

TEST_F(GameMouseTest, BombardmentModeEndsWithTheClickMarkedOrNot) {
  cJednostkaLotnicza& bomber = world_->PlaceAirUnit(1, 2, 2);
  bomber.actionPoints = bomber.startingActionPoints = 4;
  Click(2, 2);
  control().actionMode = kActionBombardment;
  map().GetHex(6, 5)->AddFlags(0x40, 1);
  Click(4, 4);
  EXPECT_EQ(control().actionMode, kActionNone);
  EXPECT_EQ(map().GetHex(6, 5)->flags & 0x40, 0u);
}

TEST_F(GameMouseTest, AStrikeTurnedBackByInterceptorsIsFiledForBothCountries) {
  cGame& g = game();
  using namespace consts_layout;
  g.constants.SetSlot(kAirMaxStrength + 0, 10);  // fighters above 5 intercept
  g.constants.SetSlot(kAirRangeBase + 0, 4);
  for (int level = 0; level <= 5; ++level) g.constants.SetSlot(kAirRangeFactor + level, 1.0);
  // Whatever the die, the mission loses 3 and the interceptor 1: the strike is stopped.
  for (int i = 0; i < 54; ++i) {
    g.constants.SetSlot(kAirCombatTableA + i, 3);
    g.constants.SetSlot(kAirCombatTableB + i, 1);
  }
  cJednostkaLotnicza& bomber = world_->PlaceAirUnit(1, 2, 2);
  bomber.name = u"Stuka";
  bomber.type = kTacticalBomber;
  bomber.strength = 10;
  bomber.actionPoints = bomber.startingActionPoints = 4;
  cJednostkaLotnicza& fighter = world_->PlaceAirUnit(2, 6, 4);
  fighter.name = u"Hurricane";
  fighter.strength = 8;
  map().GetHex(6, 5)->controller = 2;
  Click(2, 2);
  control().actionMode = kActionBombardment;
  map().GetHex(6, 5)->AddFlags(0x40, 1);
  Click(6, 5);
  EXPECT_EQ(bomber.strength, 7);
  EXPECT_EQ(fighter.strength, 7);

  // Both countries find the duel among their air-to-air combats and the strike among their air strikes.
  const std::u16string duel = Format(GetText("report_details_interception_att"), u"Stuka", u"Country1", 7, 3) +
                              GetText("report_details_interception_succeeded_att") +
                              Format(GetText("report_details_interception"), u"Hurricane", u"Country2", 7, 1) +
                              GetText("report_details_interception_succeeded");
  const std::u16string strike = Format(GetText("report_air_strike_intercepted"), u"Stuka", u"Country1", 6, 5) + duel;
  for (const auto& [country, strikeKind] : {std::pair{1, 8}, std::pair{2, 9}}) {
    std::list<sReport> reports;
    g.reports.Select(reports, country, 2);
    ASSERT_EQ(reports.size(), 1u) << country;
    EXPECT_EQ(reports.front().text, GetText("report_interception") + u"\n\n" + duel);
    g.reports.Select(reports, country, strikeKind);
    ASSERT_EQ(reports.size(), 1u) << country;
    EXPECT_EQ(reports.front().text, strike);
  }
}

TEST_F(GameMouseTest, AClickOnAnOpenPanelsControlIsNoClickOnTheMap) {
  cPanel* panel = GetUnitPanel();
  ASSERT_NE(panel, nullptr);
  panel->SetMinimized(false);
  const CDXUTControl* field = panel->GetControl(cUnitPanel::kName);
  ASSERT_NE(field, nullptr);
  const Rect box = field->GetBoundingBox();
  ClickAt((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  EXPECT_EQ(control().selectedHex, nullptr);
  panel->SetMinimized(true);
}

TEST_F(GameMouseTest, TheUnitPanelShowsTheClickedUnit) {
  cJednostkaLadowa& unit = Land(1, 3, 3);
  unit.name = u"Lancers";
  unit.spotted = 1;
  Click(3, 3);
  cUnitPanel* panel = GetUnitPanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->shownUnit(), &unit);
}

// Country 1's units beside country 2's defender at (3, 3).
class AttackPlanTest : public GameMouseTest {
 protected:
  void SetUp() override {
    GameMouseTest::SetUp();
    defender_ = &Land(2, 3, 3);
    defender_->spotted = 1;  // an unseen enemy would lie in the move range
    first_ = &Land(1, 3, 2);
    second_ = &Land(1, 2, 3);
    ASSERT_NE(map().GetDirectionTo(3, 3, 3, 2), 0);
    ASSERT_NE(map().GetDirectionTo(3, 3, 2, 3), 0);
  }
  void PlanWithFirst() {
    Click(3, 2);
    Click(3, 3);
  }
  const sAttack* plan() { return control().GetPendingAttack(); }

  cJednostkaLadowa* defender_ = nullptr;
  cJednostkaLadowa* first_ = nullptr;
  cJednostkaLadowa* second_ = nullptr;
};

TEST_F(AttackPlanTest, UnitsJoinAndLeaveThePlanUntilTheLastOneCancelsIt) {
  LogCapture log;
  PlanWithFirst();
  EXPECT_TRUE(log.Contains(u"Player action: new assault plan created"));
  ASSERT_NE(plan(), nullptr);
  EXPECT_EQ(plan()->defender, defender_);
  EXPECT_TRUE(plan()->IsAttacker(first_));
  EXPECT_EQ(control().actionMode, kActionPlanAttack);
  ASSERT_NE(GetAttackPanel(), nullptr);
  EXPECT_EQ(GetAttackPanel()->shownAttack(), plan());

  Click(2, 3);
  EXPECT_TRUE(log.Contains(u"Player action: Unit added to assault plan"));
  EXPECT_EQ(plan()->CountAttackers(), 2);
  EXPECT_EQ(control().actionMode, kActionPlanAttack);
  Click(2, 3);
  EXPECT_TRUE(log.Contains(u"Player action: Unit removed from assault"));
  EXPECT_EQ(plan()->CountAttackers(), 1);
  Click(3, 2);
  EXPECT_TRUE(log.Contains(u"Player action: Last unit removed from assault plan / assault plan canceled"));
  EXPECT_EQ(plan(), nullptr);
  EXPECT_EQ(control().actionMode, kActionNone);
  EXPECT_EQ(GetAttackPanel()->shownAttack(), nullptr);
}

TEST_F(AttackPlanTest, TheDefenderClickedFirstThenAnOwnUnitBeginsAPlanToo) {
  Click(3, 3);
  LogCapture log;
  Click(2, 3);
  EXPECT_TRUE(log.Contains(u"Player action: new assault plan created"));
  ASSERT_NE(plan(), nullptr);
  EXPECT_EQ(plan()->defender, defender_);
  EXPECT_TRUE(plan()->IsAttacker(second_));
}

// Only an own unit with an action point left that has not attacked yet joins
// the enemy clicked first; any other is merely selected.
struct JoinCase {
  const char* name;
  int points;
  std::uint8_t attacked;
  bool joins;
};
class JoinAfterDefender : public AttackPlanTest, public testing::WithParamInterface<JoinCase> {};

TEST_P(JoinAfterDefender, NeedsAnActionPointAndNoAttackMade) {
  second_->actionPoints = GetParam().points;
  second_->attacked = GetParam().attacked;
  Click(3, 3);
  Click(2, 3);
  ASSERT_EQ(plan() != nullptr, GetParam().joins);
  if (GetParam().joins) {
    EXPECT_TRUE(plan()->IsAttacker(second_));
  } else {
    EXPECT_EQ(control().selectedUnit, second_);
    EXPECT_EQ(control().actionMode, kActionMove);
  }
}

INSTANTIATE_TEST_SUITE_P(Attackers, JoinAfterDefender,
                         testing::Values(JoinCase{"OnePointLeft", 1, 0, true}, JoinCase{"NoPointLeft", 0, 0, false},
                                         JoinCase{"AlreadyAttacked", 2, 1, false}),
                         [](const auto& info) { return info.param.name; });

TEST_F(AttackPlanTest, AFarHexCancelsThePlan) {
  PlanWithFirst();
  LogCapture log;
  Click(7, 1);  // a far hex clear of the information panel
  EXPECT_TRUE(log.Contains(u"Player action: assault plan canceled"));
  EXPECT_EQ(plan(), nullptr);
  EXPECT_EQ(control().actionMode, kActionNone);
}

TEST_F(AttackPlanTest, APlanLeftBehindByAnotherActionNoLongerBlocksTheNextMove) {
  PlanWithFirst();
  control().actionMode = kActionNone;  // as a panel's action would leave it
  Click(2, 3);
  EXPECT_EQ(plan(), nullptr);
  Click(2, 3);
  EXPECT_EQ(control().actionMode, kActionMove);
}

class ExecuteAssault : public AttackPlanTest, public testing::WithParamInterface<float> {};

TEST_P(ExecuteAssault, TheDefenderClickedLaunchesThePlanAndShowsTheResult) {
  gDelays[kDelayHumanCombatResult] = GetParam();
  PlanWithFirst();
  LogCapture log;
  Click(3, 3);
  EXPECT_TRUE(log.Contains(u"Player action: Executing assault "));
  EXPECT_EQ(plan(), nullptr);
  EXPECT_EQ(control().actionMode, kActionNone);
  if (GetParam() == 0.0f) {
    EXPECT_EQ(ResultDialog(), nullptr);
    return;
  }
  ASSERT_NE(ResultDialog(), nullptr);
  const auto* title = static_cast<const CDXUTStatic*>(ResultDialog()->GetControl(cDialogWynikuWalki::kTitle));
  EXPECT_EQ(title->GetText(), u"combatresult_land_battle_title");
  EXPECT_EQ(ResultDialog()->timerPaused, GetParam() < 0.0f ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Delays, ExecuteAssault, testing::Values(0.0f, 2500.0f, -1000.0f));

TEST_F(AttackPlanTest, APlanWhoseOnlyAttackerWasKilledIsCancelledAndPlayGoesOn) {
  PlanWithFirst();
  first_->Kill();
  first_ = nullptr;
  LogCapture log;
  Click(3, 3);
  EXPECT_TRUE(log.Contains(u"Player action: assault plan canceled"));
  EXPECT_FALSE(log.ContainsText(u"Executing assault"));
  EXPECT_EQ(plan(), nullptr);
  EXPECT_EQ(ResultDialog(), nullptr);
  // The defender stays selected, and the next own unit beside it plans anew.
  Click(2, 3);
  ASSERT_NE(plan(), nullptr);
  EXPECT_TRUE(plan()->IsAttacker(second_));
}

}  // namespace
}  // namespace tr
