// The running game's frame step: edge and arrow scrolling, what stops it,
// the moving unit's steps at their delays, and the minimap outline that
// follows the view.
#include "app/game_frame_move.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/modal_stack.h"
#include "dialogs/dialog_base.h"
#include "events/zdarzenia.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "game_screen_fixture.h"
#include "gui/hint_box.h"
#include "gui/static.h"
#include "scenario/scenario_constants_layout.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "turn/theads.h"
#include "world/game_start.h"
#include "world/map_camera.h"

namespace tr {
namespace {

constexpr int kZone[4] = {4, 4, 1019, 763};
constexpr std::uint16_t kLeft = 1, kUp = 2, kRight = 4, kDown = 8;

struct ScrollCase {
  const char* name;
  int x;
  int y;
  std::uint16_t keys;
  float zoom;
  float dx;
  float dy;
  bool moves;
};
class ScrollStepTest : public testing::TestWithParam<ScrollCase> {};

TEST_P(ScrollStepTest, EdgesAndArrowsMoveAThousandPixelsASecondOverTheZoom) {
  const ScrollCase& c = GetParam();
  const sScrollStep step = ComputeScrollStep(c.x, c.y, 1024, 768, c.keys, kZone, 0.5, 0.25, c.zoom);
  EXPECT_FLOAT_EQ(step.dx, c.dx);
  EXPECT_FLOAT_EQ(step.dy, c.dy);
  EXPECT_EQ(step.moves, c.moves);
}

INSTANTIATE_TEST_SUITE_P(
    Pointer, ScrollStepTest,
    testing::Values(ScrollCase{"OnTheRightEdge", 1019, 300, 0, 1.0f, 500.0f, 0.0f, true},
                    ScrollCase{"InsideTheZone", 1018, 300, 0, 1.0f, 0.0f, 0.0f, false},
                    ScrollCase{"OnTheLeftEdgeZoomedOut", 4, 300, 0, 0.5f, -1000.0f, 0.0f, true},
                    ScrollCase{"BottomRightCorner", 1023, 767, 0, 1.0f, 500.0f, 250.0f, true},
                    ScrollCase{"TopEdge", 300, 2, 0, 2.0f, 0.0f, -125.0f, true},
                    ScrollCase{"RightWinsOverLeft", 300, 300, kLeft | kRight, 1.0f, 500.0f, 0.0f, true},
                    ScrollCase{"DownWinsOverUp", 300, 300, kUp | kDown, 1.0f, 0.0f, 250.0f, true},
                    ScrollCase{"OutsideTheScreenWithAnArrow", 1024, 300, kRight, 1.0f, 0.0f, 0.0f, false},
                    ScrollCase{"AboveTheScreenWithAnArrow", 300, -1, kUp, 1.0f, 0.0f, 0.0f, false}),
    [](const auto& info) { return info.param.name; });

class GameFrameMoveTest : public test::GameScreenFixture {
 protected:
  void SetUp() override {
    GameScreenFixture::SetUp();
    savedDelays_ = gDelays;
    savedZoom_ = gMapZoom;
    gMapZoom = 1.0f;
    // A drag or a zoom glide left over by another test would move the camera
    // or change its limits.
    gMapDrag = {};
    savedScales_ = {gTargetScale, gDisplayedScale};
    gTargetScale = gDisplayedScale = 1.0f;
    unit_ = std::make_unique<cJednostkaLadowa>();
    unit_->owner = 1;
  }
  void TearDown() override {
    SetPendingMoveStep({});
    game().playerControl.move.unit = nullptr;
    gDelays = savedDelays_;
    gMapZoom = savedZoom_;
    gTargetScale = savedScales_[0];
    gDisplayedScale = savedScales_[1];
    GameScreenFixture::TearDown();
  }
  // A move of the given number of steps handed over as the rules hand it over.
  void StartMove(eGameState state, int steps) {
    game().StoreGameState(state);
    game().playerControl.move.unit = unit_.get();
    stepsLeft_ = steps;
    SetPendingMoveStep([this] {
      ++stepsRun_;
      if (--stepsLeft_ > 0) return true;
      game().EndMoveAnimationState();
      return false;
    });
  }
  void Frame(double time, float elapsed) { MoveGameFrame(frame_->graphics(), time, elapsed); }
  void PointAt(int x, int y) { GetHintBox().OnMouse(false, false, x, y); }

  std::array<float, kDelayCount> savedDelays_{};
  float savedZoom_ = 1.0f;
  std::array<float, 2> savedScales_{};
  std::unique_ptr<cJednostkaLadowa> unit_;
  int stepsLeft_ = 0;
  int stepsRun_ = 0;
};

TEST_F(GameFrameMoveTest, ThePointerOnTheRightEdgeScrollsByTheTimeSinceTheLastFrame) {
  // A first frame with the pointer inside sets the last frame times.
  PointAt(500, 300);
  Frame(10.0, 0.0f);
  PointAt(1020, 300);
  const float before = game().map->camera.targetX;
  Frame(10.25, 0.25f);
  EXPECT_FLOAT_EQ(game().map->camera.targetX - before, 250.0f);
  EXPECT_EQ(static_cast<CDXUTStatic*>(info().GetControl(cInfoPanel::kStatusLine))->GetText(),
            GetText("statusbar_hint_no_action"));
}

TEST_F(GameFrameMoveTest, AnExitTheWorkerAskedForEndsTheLoopAtTheNextFrame) {
  Frame(10.0, 0.0f);
  ASSERT_FALSE(frame_->closing());
  port_.RequestProgramExit(3);
  Frame(10.25, 0.25f);
  EXPECT_TRUE(frame_->closing());
  EXPECT_EQ(frame_->exit_code(), 3);
  EXPECT_EQ(TakeRequestedProgramExit(), -1) << "taken once";
}

// The window scrolls at its edge only while it stands in front and draws.
struct WindowCase {
  const char* name;
  std::vector<RawInput::Type> events;
  bool renderingPaused;
  bool scrolls;
};
class WindowStateScroll : public GameFrameMoveTest, public testing::WithParamInterface<WindowCase> {};

TEST_P(WindowStateScroll, ScrollsOnlyInFrontAndDrawing) {
  for (const RawInput::Type type : GetParam().events) frame_->Inject(RawInput::Of(type));
  frame_->PumpEvents();
  if (GetParam().renderingPaused) frame_->Pause(false, true);
  // A first frame with the pointer inside sets the last frame times.
  PointAt(500, 300);
  Frame(10.0, 0.0f);
  PointAt(1020, 300);
  const float before = game().map->camera.targetX;
  Frame(10.25, 0.25f);
  if (GetParam().renderingPaused) frame_->Pause(false, false);
  EXPECT_FLOAT_EQ(game().map->camera.targetX - before, GetParam().scrolls ? 250.0f : 0.0f);
}

INSTANTIATE_TEST_SUITE_P(
    States, WindowStateScroll,
    testing::Values(WindowCase{"InFront", {}, false, true},
                    WindowCase{"BehindAnother", {RawInput::Type::kFocusLost}, false, false},
                    WindowCase{"BackInFront", {RawInput::Type::kFocusLost, RawInput::Type::kFocusGained}, false, true},
                    WindowCase{"RenderingPaused", {}, true, false}),
    [](const testing::TestParamInfo<WindowCase>& info) { return std::string(info.param.name); });

TEST_F(GameFrameMoveTest, ADialogControlUnderThePointerStopsScrollingButNotTheMovingUnit) {
  auto* dialog = new cDialog(700, RectFromSize(900, 200, 124, 200));
  dialog->AddButton(701, u"OK", 910, 250, 100, 40);
  PushModalDialog(dialog);
  dialog->MsgProc(WM_MOUSEMOVE, 0, MakeLParam(1020, 260));
  ASSERT_NE(dialog->GetControlUnderMouse(), nullptr);
  PointAt(1020, 260);
  gDelays[kDelayHumanMoveBetween] = 0.0f;
  StartMove(kGameHumanMoving, 2);
  clock_.AdvanceMs(20);
  frame_->Tick();
  Frame(10.0, 0.0f);
  clock_.AdvanceMs(20);
  frame_->Tick();
  const float before = game().map->camera.targetX;
  Frame(10.5, 0.5f);
  EXPECT_EQ(game().map->camera.targetX, before);
  EXPECT_EQ(stepsRun_, 2);
  EXPECT_EQ(game().GetGameState(), kGameHumanIdle);
}

// The prompt follows the action mode at every frame, also while the pointer
// rests on the control that started the action: moving a fleet, it asks for
// the hex bearing a sea zone's name.
TEST_F(GameFrameMoveTest, TheStatusLineFollowsTheActionModeUnderADialogControl) {
  auto* dialog = new cDialog(700, RectFromSize(900, 200, 124, 200));
  dialog->AddButton(701, u"OK", 910, 250, 100, 40);
  PushModalDialog(dialog);
  dialog->MsgProc(WM_MOUSEMOVE, 0, MakeLParam(1020, 260));
  PointAt(1020, 260);
  Frame(10.0, 0.0f);
  const auto statusLine = [&] {
    return static_cast<CDXUTStatic*>(info().GetControl(cInfoPanel::kStatusLine))->GetText();
  };
  EXPECT_EQ(statusLine(), GetText("statusbar_hint_no_action"));
  game().playerControl.actionMode = kActionFleetMove;
  Frame(10.25, 0.25f);
  EXPECT_EQ(statusLine(), GetText("statusbar_hint_fleet_move_zone_name_hex"));
}

// The minimap's outline follows the view through the frames, whether the
// camera was set at once (a centring without a glide, as at the start of a
// player's turn) or glided there; zoomed in, so the outline stays inside the
// minimap and moves by the view's own displacement.
TEST_F(GameFrameMoveTest, TheMinimapOutlineFollowsAJumpAndAGlideOfTheView) {
  cMap& map = *game().map;
  map.minimapRect = {712, 526, 240, 176};
  gTargetScale = gDisplayedScale = 4.0f;
  PointAt(500, 300);
  CenterAtHex(map, 4, 3, false);
  Frame(10.0, 0.0f);
  const auto jumped = map.minimapOutline;
  EXPECT_GT(jumped[0][0], 712.0f);
  EXPECT_LT(jumped[1][0], 952.0f);
  EXPECT_GT(jumped[0][1], 526.0f);
  EXPECT_LT(jumped[2][1], 702.0f);
  EXPECT_EQ(jumped[4], jumped[0]);

  CenterAtHex(map, 6, 6, true);
  double time = 10.0;
  for (int frame = 0; frame < 200 && (map.camera.x != map.camera.targetX || map.camera.y != map.camera.targetY); ++frame) {
    time += 0.005;
    Frame(time, 0.005f);
  }
  ASSERT_EQ(map.camera.x, map.camera.targetX);
  ASSERT_EQ(map.camera.y, map.camera.targetY);
  for (std::size_t corner = 0; corner < 5; ++corner) {
    EXPECT_FLOAT_EQ(map.minimapOutline[corner][0] - jumped[corner][0], 2.0f / 8 * 240) << corner;
    EXPECT_FLOAT_EQ(map.minimapOutline[corner][1] - jumped[corner][1], 3.0f / 8 * 176) << corner;
  }

  // Back at once: the next frame puts the outline where the jump had it.
  CenterAtHex(map, 4, 3, false);
  time += 0.005;
  Frame(time, 0.005f);
  EXPECT_EQ(map.minimapOutline, jumped);
}

struct DelayCase {
  const char* name;
  bool humanOwner;
  eGameState state;
  double waitMs;
  int steps;
};
class MoveDelayTest : public GameFrameMoveTest, public testing::WithParamInterface<DelayCase> {};

TEST_P(MoveDelayTest, AUnitStepsAtItsOwnersDelayInEitherMovingState) {
  gDelays[kDelayHumanMoveBetween] = 100.0f;
  gDelays[kDelayAIMoveBetween] = 300.0f;
  country(1).humanControlled = GetParam().humanOwner ? 1 : 0;
  StartMove(GetParam().state, 10);
  AnimateUnitMove();  // the first step starts the clock of the delay
  const int first = stepsRun_;
  clock_.AdvanceMs(GetParam().waitMs);
  frame_->Tick();
  AnimateUnitMove();
  EXPECT_EQ(stepsRun_ - first, GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(Owners, MoveDelayTest,
                         testing::Values(DelayCase{"HumanAfterItsDelay", true, kGameComputerMoving, 150.0, 1},
                                         DelayCase{"ComputerBeforeItsDelay", false, kGameHumanMoving, 150.0, 0},
                                         DelayCase{"ComputerAfterItsDelay", false, kGameComputerMoving, 350.0, 1},
                                         DelayCase{"HumanBeforeItsDelay", true, kGameHumanMoving, 50.0, 0}),
                         [](const auto& info) { return info.param.name; });

TEST_F(GameFrameMoveTest, ANewGamesFirstStepDoesNotWaitOnThePreviousGamesLastStep) {
  gDelays[kDelayHumanMoveBetween] = 100.0f;
  StartMove(kGameHumanMoving, 10);
  clock_.AdvanceMs(500);
  frame_->Tick();
  AnimateUnitMove();
  ASSERT_EQ(stepsRun_, 1);
  // The next game starts and moves a unit within the delay of that step.
  port_.CreateGamePanels();
  StartMove(kGameHumanMoving, 10);
  AnimateUnitMove();
  EXPECT_EQ(stepsRun_, 2);
}

// A human unit's whole walk through the real steps, after a computer's move
// handed over in steps has ended: it ends on its target, the hex is selected,
// and a unit that can still move is ready for its next move (land) or rebase
// (air); one that cannot leaves the mode as it was.
struct ArrivalCase {
  const char* name;
  bool air;
  int points;
  int expectedMode;
};
class HumanMoveArrivalTest : public GameFrameMoveTest, public testing::WithParamInterface<ArrivalCase> {};

TEST_P(HumanMoveArrivalTest, TheWalkEndsWithItsHexSelectedAndTheUnitReadyWhenItCanStillMove) {
  const ArrivalCase& c = GetParam();
  gDelays[kDelayHumanMoveBetween] = 0.0f;
  world_->map().GetHex(3, 5)->controller = 1;  // a friendly field for an air unit to rebase to
  cJednostka* unit = nullptr;
  if (c.air) {
    // A move radius of 2 hexes.
    game().constants.SetSlot(consts_layout::kAirRangeBase + 1, 2);
    for (int level = 0; level <= 5; ++level) game().constants.SetSlot(consts_layout::kAirRangeFactor + level, 1.0);
    cJednostkaLotnicza& plane = world_->PlaceAirUnit(1, 2, 2);
    plane.actionPoints = plane.startingActionPoints = 2;
    plane.moveRange.push_back({&plane, 2, 3, 0, 0});
    plane.moveRange.push_back({&plane, 2, 4, 0, 0});
    unit = &plane;
  } else {
    cJednostkaLadowa& land = world_->PlaceLandUnit(1, 2, 2);
    land.actionPoints = land.startingActionPoints = c.points;
    ASSERT_GT(land.ComputeMoveRange(0), 0);
    unit = &land;
  }
  // The computer's last move, handed over in steps, ended before this turn:
  // its steps must not stand in for the walk's own.
  StartMove(kGameComputerMoving, 3);
  for (int frame = 0; frame < 5 && game().GetGameState() == kGameComputerMoving; ++frame) {
    clock_.AdvanceMs(20);
    AnimateUnitMove();
  }
  ASSERT_EQ(stepsRun_, 3);
  game().playerControl.move.unit = nullptr;
  // The order takes the unit off its hex before its path is built.
  world_->hex(2, 2).unit = nullptr;
  ASSERT_TRUE(game().playerControl.FindHexPath(unit, 2, 4));
  game().playerControl.actionMode = kActionNone;
  game().StoreGameState(kGameHumanMoving);
  double time = 10.0;
  for (int frame = 0; frame < 10 && game().GetGameState() == kGameHumanMoving; ++frame) {
    clock_.AdvanceMs(20);
    frame_->Tick();
    time += 0.02;
    Frame(time, 0.02f);
  }
  EXPECT_EQ(game().GetGameState(), kGameHumanIdle);
  EXPECT_EQ(unit->x, 2);
  EXPECT_EQ(unit->y, 4);
  EXPECT_EQ(world_->hex(2, 4).unit, unit);
  EXPECT_EQ(world_->hex(2, 2).unit, nullptr);
  EXPECT_EQ(game().playerControl.move.unit, nullptr);
  EXPECT_EQ(game().playerControl.selectedHex, &world_->hex(2, 4));
  EXPECT_EQ(game().playerControl.selectedUnit, unit);
  EXPECT_EQ(game().playerControl.actionMode, c.expectedMode);
}

INSTANTIATE_TEST_SUITE_P(Units, HumanMoveArrivalTest,
                         testing::Values(ArrivalCase{"LandWithPointsLeftMovesOn", false, 4, kActionMove},
                                         ArrivalCase{"LandWithoutPointsLeftStays", false, 2, kActionNone},
                                         ArrivalCase{"AirWithARangeRebases", true, 0, kActionRebase}),
                         [](const auto& info) { return info.param.name; });

// The start of play and the worker's events check each raise their own request.
class EndTurnRequestTest : public GameFrameMoveTest, public testing::WithParamInterface<bool> {};

TEST_P(EndTurnRequestTest, TheRequestRunsTheEndOfTurnOnceFromTheFrame) {
  if (GetParam()) {
    gEndTurnRequested.store(1);
  } else {
    gDeferredEndTurnRequest.store(true);
  }
  Frame(1.0, 0.0f);
  EXPECT_FALSE(gDeferredEndTurnRequest.load());
  EXPECT_EQ(gEndTurnRequested.load(), 0);
  EXPECT_EQ(country(1).finishedTurn, 1);
  EXPECT_EQ(game().GetGameState(), kGameComputerTurn);
}

TEST_F(GameFrameMoveTest, TheStartOfPlaysEndOfTurnWaitsForTheEventsCheckItAskedFor) {
  gEventsCheckRequested.store(1);
  gDeferredEndTurnRequest.store(true);
  Frame(1.0, 0.0f);
  EXPECT_EQ(country(1).finishedTurn, 0);
  EXPECT_EQ(game().GetGameState(), kGameHumanIdle);
  EXPECT_TRUE(gDeferredEndTurnRequest.load());

  // The worker's check is done (in a play-by-e-mail game it also asks for
  // the end of turn): one end of turn answers both requests.
  gEventsCheckRequested.store(0);
  gEndTurnRequested.store(1);
  Frame(1.1, 0.1f);
  EXPECT_EQ(country(1).finishedTurn, 1);
  EXPECT_EQ(game().playerControl.currentCountry, &country(2));
  EXPECT_FALSE(gDeferredEndTurnRequest.load());
  EXPECT_EQ(gEndTurnRequested.load(), 0);
  Frame(1.2, 0.1f);
  EXPECT_EQ(game().playerControl.currentCountry, &country(2));
}

INSTANTIATE_TEST_SUITE_P(Requests, EndTurnRequestTest, testing::Bool(),
                         [](const auto& info) { return info.param ? "AfterEventsCheck" : "AtStartOfPlay"; });

}  // namespace
}  // namespace tr
