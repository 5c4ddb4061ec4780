// The worker thread against the headless port: the computer's phase of one
// impulse with the hand-over, the wait for an animated move, and stopping.
#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <thread>

#include "foundation/game_lock.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "support/log_capture.h"
#include "turn/theads.h"
#include "turn/turn_fixture.h"
#include "world/game_services.h"
#include "world/rules_fixture.h"

namespace tr {
namespace {

using test::HandOverRecorder;
using test::LogCapture;

// Human A leads the axis (first in turn order), computer B leads the allies,
// C is an active dummy; A has finished and B is current, as the main thread
// leaves it when it hands over the computer's phase.
class WorkerTest : public testing::Test {
 protected:
  WorkerTest() : world_(4, 4, 3), screen_(recorder_) {
    cGame& game = world_.game();
    test::SetGameImpulses(game, 2);
    game.turnsLeft = 10;
    game.turn = 1;
    A().alliance = kAxisLeader;
    A().humanControlled = 1;
    A().politicalStrength = 50;
    A().finishedTurn = 1;
    B().alliance = kAlliesLeader;
    B().politicalStrength = 40;
    C().politicalStrength = -1;
    game.playerControl.currentCountry = &B();
    game.StoreGameState(kGameComputerTurn);
  }
  ~WorkerTest() override {
    StopWorkerThread();
    SetWorkerStopWaits(std::chrono::milliseconds(200), std::chrono::milliseconds(5000));
  }

  cCountry& A() { return world_.country(1); }
  cCountry& B() { return world_.country(2); }
  cCountry& C() { return world_.country(3); }

  std::size_t Count(std::u16string_view line) const {
    const auto lines = log_.lines();
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
  }
  bool LogHasPrefix(std::u16string_view prefix) const {
    for (const auto& line : log_.lines()) {
      if (line.starts_with(prefix)) return true;
    }
    return false;
  }

  LogCapture log_;
  test::ScopedTurnSteps steps_;
  test::TestWorld world_;
  HandOverRecorder recorder_;
  ScopedPresentation screen_;
};

TEST_F(WorkerTest, ComputerPhaseEndsTheImpulseAndHandsOverToTheHuman) {
  std::atomic<int> turnsOfB{0};
  SetComputerTurnStep([&](cGame&, cCountry& country) {
    if (country.id == 2) turnsOfB.fetch_add(1);
  });
  // What the player had selected before the computer's phase.
  world_.game().playerControl.selectedHex = &world_.hex(1, 1);
  StartWorkerThread();
  StartWorkerThread();  // a second start while one runs does nothing
  ASSERT_TRUE(recorder_.WaitForHandOvers(1));
  EXPECT_EQ(StopWorkerThread(), 0);

  cGame& game = world_.game();
  EXPECT_EQ(game.GetGameState(), kGameHumanIdle);
  EXPECT_EQ(game.playerControl.currentCountry, &A());
  EXPECT_EQ(game.viewingCountry, &A());
  EXPECT_EQ(game.playerControl.selectedHex, nullptr);
  EXPECT_EQ(turnsOfB.load(), 1);
  EXPECT_EQ(recorder_.newTurnDialogs.load(), 1);
  EXPECT_EQ(recorder_.lastNewTurnCountry.load(), 1);
  EXPECT_EQ(Count(u"==== STARTING AI THREAD ====="), 1u);
  EXPECT_EQ(Count(GetText("dummy_country,_ending_sequence")), 1u);
  EXPECT_EQ(Count(u"Zaczynam wykonywanie konca impulsu"), 1u);
  EXPECT_EQ(Count(u"Koniec impulsu wykonany"), 1u);
  EXPECT_EQ(Count(u"CHECKING FOR GAME OVER..."), 1u);
  EXPECT_EQ(Count(u"==== AI THREAD FINISHED ====="), 1u);
  EXPECT_EQ(game.date.impulse, 2);
  // The impulse's finished marks were cleared for the new impulse.
  EXPECT_EQ(B().finishedTurn, 0);
}

// The human country the worker hands over to: one whose special flags are 1
// has the events checked instead of its view and banner; any other gets both.
class SpecialHandOverTest : public WorkerTest, public testing::WithParamInterface<int> {};

TEST_P(SpecialHandOverTest, TheHumanCountryGetsItsViewAndBannerOrItsEventsChecked) {
  world_.hex(0, 0).controller = 1;
  test::AddCity(world_, 0, 0);
  A().specialFlags = GetParam();
  std::atomic<int> checks{0};
  SetEventCheckStep([&](cGame&) { checks.fetch_add(1); });
  StartWorkerThread();
  ASSERT_TRUE(recorder_.WaitForHandOvers(1));
  EXPECT_EQ(StopWorkerThread(), 0);

  const bool special = GetParam() == 1;
  // The end of impulse checks the events once in either case.
  EXPECT_EQ(checks.load(), special ? 2 : 1);
  EXPECT_EQ(recorder_.newTurnDialogs.load(), special ? 0 : 1);
  EXPECT_EQ(recorder_.CountEvents(u"camera 0 0 0"), special ? 0 : 1);
  EXPECT_EQ(world_.game().GetGameState(), kGameHumanIdle);
  EXPECT_EQ(world_.game().playerControl.currentCountry, &A());
  EXPECT_EQ(world_.game().viewingCountry, &A());
}

INSTANTIATE_TEST_SUITE_P(Flags, SpecialHandOverTest, testing::Values(0, 1),
                         [](const auto& info) { return info.param == 1 ? "EventsCountry" : "PlainCountry"; });

// A saved view (zoom 0 or more) glides the camera to it; without one the
// camera centres on the country's main city.
class SavedViewHandOverTest : public WorkerTest, public testing::WithParamInterface<float> {};

TEST_P(SavedViewHandOverTest, GlidesToASavedViewFromZoomZeroUp) {
  world_.hex(0, 0).controller = 1;
  test::AddCity(world_, 0, 0);
  A().SetSavedView(1.0f, 1.0f, GetParam());
  StartWorkerThread();
  ASSERT_TRUE(recorder_.WaitForHandOvers(1));
  EXPECT_EQ(StopWorkerThread(), 0);
  EXPECT_EQ(recorder_.CountEvents(u"camera 0 0 0"), GetParam() >= 0.0f ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Zooms, SavedViewHandOverTest, testing::Values(-1.0f, 0.0f, 0.5f));

// Outside the computer's turn a requested events check runs once and the
// request is cleared; the computer's turn started from inside the check
// shows the worker's next pass and what the first one left.
TEST_F(WorkerTest, RequestedEventsCheckOutsideTheComputersTurnRunsOnceAndClears) {
  world_.game().StoreGameState(kGameHumanIdle);
  gEventsCheckRequested.store(1);
  std::atomic<int> checks{0};
  SetEventCheckStep([&](cGame& game) {
    if (checks.fetch_add(1) == 0) game.StoreGameState(kGameComputerTurn);
  });
  std::promise<std::pair<int, int>> nextPass;
  std::atomic<bool> seen{false};
  SetComputerTurnStep([&](cGame&, cCountry&) {
    if (!seen.exchange(true)) nextPass.set_value({checks.load(), gEventsCheckRequested.load()});
  });
  StartWorkerThread();
  const auto [checksBefore, request] = nextPass.get_future().get();
  StopWorkerThread();
  gEventsCheckRequested.store(0);
  EXPECT_EQ(checksBefore, 1);
  EXPECT_EQ(request, 0);
}

// The war ends inside the end of impulse: nobody gets the game back, not the
// human country first in the new impulse nor a computer one, and the screen
// is asked for the menus.
TEST_F(WorkerTest, AGameEndingInsideTheEndOfImpulseHandsNothingOverAndAsksForTheMenus) {
  world_.game().turnsLeft = 0;
  world_.game().date = {2, 5, 1940};
  StartWorkerThread();
  ASSERT_TRUE(recorder_.WaitForMenusRequest());
  EXPECT_EQ(StopWorkerThread(), 0);

  cGame& game = world_.game();
  EXPECT_EQ(game.gameOver, 1);
  EXPECT_EQ(recorder_.CountEvents(u"text " + GetText("game_over") + u"|"), 1);
  // Nothing after the game-over check ran: the date and the turns stay.
  EXPECT_FALSE(log_.Contains(u"Koniec impulsu wykonany"));
  EXPECT_EQ(game.date.impulse, 2);
  EXPECT_EQ(game.date.month, 5);
  EXPECT_EQ(game.turnsLeft, 0);
  EXPECT_EQ(Count(u"==== STARTING AI THREAD ====="), 1u);
  EXPECT_EQ(Count(u"==== AI THREAD FINISHED ====="), 1u);
  EXPECT_EQ(Count(u"rekalkuluje fog of war"), 0u);
  EXPECT_EQ(recorder_.handOvers(), 0);
  EXPECT_EQ(recorder_.newTurnDialogs.load(), 0);
  EXPECT_EQ(recorder_.CountEvents(u"menus"), 1);
  // The end-of-impulse state: the worker stays idle and the player commands nothing.
  EXPECT_EQ(game.GetGameState(), kGameEndOfImpulse);
}

TEST_F(WorkerTest, AnimatedComputerMoveHoldsTheCountryLoop) {
  std::promise<void> moving;
  SetComputerTurnStep([&](cGame& game, cCountry&) {
    game.SetGameState(kGameComputerMoving);
    moving.set_value();
  });
  StartWorkerThread();
  moving.get_future().wait();
  // The worker's own 50 ms wait shows in the log while the move is animated.
  while (!LogHasPrefix(u"S: theads : ")) std::this_thread::yield();
  EXPECT_EQ(B().finishedTurn, 0);
  EXPECT_EQ(world_.game().GetGameState(), kGameComputerMoving);
  world_.game().EndMoveAnimationState();
  ASSERT_TRUE(recorder_.WaitForHandOvers(1));
  EXPECT_TRUE(LogHasPrefix(u"S: theads : "));
  EXPECT_TRUE(log_.ContainsText(u" : 50 ms"));
  EXPECT_EQ(world_.game().GetGameState(), kGameHumanIdle);
}

TEST_F(WorkerTest, IdleWorkerStopsAtOnce) {
  world_.game().StoreGameState(kGameHumanIdle);
  StartWorkerThread();
  EXPECT_TRUE(IsWorkerThreadRunning());
  EXPECT_EQ(StopWorkerThread(), 0);
  EXPECT_FALSE(IsWorkerThreadRunning());
  EXPECT_EQ(StopWorkerThread(), 0);  // nothing left to stop
}

TEST_F(WorkerTest, LongComputerTurnUnwindsThroughItsWaits) {
  std::promise<void> started;
  std::atomic<bool> unwound{false};
  SetComputerTurnStep([&](cGame&, cCountry&) {
    started.set_value();
    SleepLogged(20000, "ai", 1);
    unwound.store(ThreadStopRequested());
  });
  StartWorkerThread();
  started.get_future().wait();
  EXPECT_EQ(StopWorkerThread(), 0);
  EXPECT_TRUE(unwound.load());
  EXPECT_FALSE(IsWorkerThreadRunning());
  // Told to stop inside the computer's phase, the worker neither ends the
  // impulse nor hands over.
  EXPECT_FALSE(log_.Contains(u"Zaczynam wykonywanie konca impulsu"));
  EXPECT_EQ(recorder_.newTurnDialogs.load(), 0);
}

// Unless a seed is set, the worker's draws start from the clock, so no two
// games draw alike; a seed set starts them from it, alike every time.
TEST_F(WorkerTest, WorkerDrawsFromTheClockUnlessASeedIsSet) {
  struct sSeedReset {
    ~sSeedReset() { SetWorkerSeed(0); }
  } reset;
  const auto stateAtTheComputersTurn = [this] {
    std::promise<std::uint32_t> state;
    SetComputerTurnStep([&state](cGame&, cCountry&) {
      state.set_value(RandomState());
      SleepLogged(20000, "ai", 1);  // until told to stop
    });
    StartWorkerThread();
    const std::uint32_t seen = state.get_future().get();
    EXPECT_EQ(StopWorkerThread(), 0);
    return seen;
  };
  const std::uint32_t fromTheClock = stateAtTheComputersTurn();
  SetWorkerSeed(1);
  const std::uint32_t fromOne = stateAtTheComputersTurn();
  EXPECT_EQ(stateAtTheComputersTurn(), fromOne);
  EXPECT_NE(fromTheClock, fromOne);
}

TEST_F(WorkerTest, TurnThatIgnoresTheStopIsJoinedBeforeTheGameIsFreed) {
  SetWorkerStopWaits(std::chrono::milliseconds(0), std::chrono::milliseconds(20));
  std::promise<void> started;
  std::atomic<bool> sawGame{false};
  SetComputerTurnStep([&](cGame& game, cCountry&) {
    started.set_value();
    // Busy with its own work until the stop has given up waiting.
    while (!log_.ContainsText(u"Worker thread did not stop within")) std::this_thread::yield();
    sawGame.store(game.CountryCount() == 3 && game.GetGameState() == kGameTeardown);
  });
  StartWorkerThread();
  started.get_future().wait();
  // The teardown stops the worker through the service before freeing anything.
  world_.DestroyGame();
  EXPECT_TRUE(sawGame.load());
  EXPECT_FALSE(IsWorkerThreadRunning());
  EXPECT_TRUE(log_.ContainsText(u"Worker thread stopped after"));
}

}  // namespace
}  // namespace tr
