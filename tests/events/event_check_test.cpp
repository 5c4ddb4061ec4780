// The event check: searches in list order, the one-time rule, date windows,
// the computer's and the player's choice, queued messages, forced firing and
// the bounds on events that stay true.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <vector>

#include "event_builders.h"
#include "events/zdarzenia.h"
#include "foundation/game_date.h"
#include "foundation/game_lock.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "support/log_capture.h"
#include "support/world_builder.h"
#include "turn/game_steps.h"
#include "turn/turn_steps.h"
#include "world/headless_presentation.h"

namespace tr::test {
namespace {

class EventCheckTest : public testing::Test {
 protected:
  EventCheckTest() : presentation_(true), scoped_(presentation_) {
    for (int month = 1; month <= 12; ++month) savedImpulses_[month - 1] = ImpulsesInMonth(month);
    gEndTurnRequested.store(0);
  }
  ~EventCheckTest() override {
    SetImpulsesPerMonth(savedImpulses_);
    gEndTurnRequested.store(0);
    gExitAfterEventDialog.store(0);
  }

  cEventEngine& engine() { return *world_.game().events; }
  void Add(cEvent event) { engine().events.push_back(std::move(event)); }
  void Check() { engine().CheckEventsAtTurnEnd(world_.game()); }
  int Firings(int id) const {
    const std::u16string fired = u"Condition for event with ID=" + std::u16string(1, char16_t(u'0' + id)) +
                                 u" is true. Firing...";
    const auto lines = log_.lines();
    return static_cast<int>(std::count(lines.begin(), lines.end(), fired));
  }
  std::int32_t& flag(int index) { return world_.game().flags[static_cast<std::size_t>(index)]; }
  std::vector<sReport> Reports() {
    const auto& reports = world_.game().reports.Reports();
    return {reports.begin(), reports.end()};
  }

  TestWorld world_{4, 3, 3};
  cHeadlessPresentation presentation_;
  ScopedPresentation scoped_;
  LogCapture log_;
  std::array<int, 12> savedImpulses_{};
};

TEST_F(EventCheckTest, TrueEventsFireInListOrderEachInItsOwnSearch) {
  Add(MakeEvent(1));
  Add(MakeEvent(2));
  Check();
  EXPECT_EQ(log_.lines(), (std::vector<std::u16string>{
                              u"CHECKING EVENTS...",
                              u"NEW ITERATION FOR EVENTS...",
                              u"Checking event 1",
                              u"Condition for event with ID=1 is true. Firing...",
                              u"NEW ITERATION FOR EVENTS...",
                              u"Checking event 2",
                              u"Condition for event with ID=2 is true. Firing...",
                              u"NEW ITERATION FOR EVENTS...",
                              u"New event search iteration ended with no results",
                              u"CHECKING EVENTS FINISHED",
                          }));
  EXPECT_EQ(gEndTurnRequested.load(), 0);
}

TEST_F(EventCheckTest, TheGamesEventStepIsThisCheck) {
  Add(MakeEvent(1));
  InstallGameSteps();
  CheckEventsAtTurnEnd(world_.game());
  UninstallGameSteps();
  EXPECT_EQ(Firings(1), 1);
  EXPECT_EQ(log_.lines().back(), u"CHECKING EVENTS FINISHED");
}

TEST_F(EventCheckTest, OneTimeEventIsLookedAtOncePerCheck) {
  cEvent waiting = MakeEvent(1);
  waiting.condition.expressions.push_back(FlagEquals(7, 1));
  Add(waiting);
  Add(MakeEvent(2, {MakeOption(100, {SetFlag(7, 1)})}));
  ScopedRandomDraws draws({32767, 32767});
  Check();
  EXPECT_EQ(flag(7), 1);
  EXPECT_EQ(Firings(1), 0);
  EXPECT_TRUE(log_.Contains(u"Condition for event with ID=1 is false."));
  EXPECT_EQ(Firings(2), 1);
  log_.Clear();
  Check();
  EXPECT_EQ(Firings(1), 1);
  // A one-time event is looked at again in every check.
  EXPECT_EQ(Firings(2), 1);
}

TEST_F(EventCheckTest, EventThatStaysTrueFiresABoundedNumberOfTimes) {
  cEvent repeating = MakeEvent(3, {MakeOption(100, {SetFlag(7, 1)})});
  repeating.oneTimeChecking = 0;
  Add(repeating);
  Check();
  EXPECT_EQ(Firings(3), kMaxFiringsPerCheck);
  EXPECT_TRUE(log_.Contains(u"WARNING: event 3 has fired 100 times in this check and stays true; it is not looked "
                            u"at again before the next check"));
  EXPECT_EQ(log_.lines().back(), u"CHECKING EVENTS FINISHED");
  log_.Clear();
  Check();
  EXPECT_EQ(Firings(3), kMaxFiringsPerCheck);
}

// Every firing starts the search again from the top: an event above that is
// looked at again and found as before is logged once in the check.
TEST_F(EventCheckTest, EventLookedAtAgainIsLoggedOnce) {
  cEvent waiting = MakeEvent(1);
  waiting.oneTimeChecking = 0;
  waiting.condition.expressions.push_back(FlagEquals(7, 1));
  Add(waiting);
  cEvent repeating = MakeEvent(2, {MakeOption(100, {SetFlag(8, 1)})});
  repeating.oneTimeChecking = 0;
  Add(repeating);
  Check();
  EXPECT_EQ(Firings(2), kMaxFiringsPerCheck);
  const auto lines = log_.lines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), u"Condition for event with ID=1 is false."), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), u"Checking event 1"), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), u"Checking event 2"), kMaxFiringsPerCheck);
}

// An event whose options have no effect would fire the same way in every
// search after its first: it fires once a check, beside one with an effect.
TEST_F(EventCheckTest, EventWhoseOptionsHaveNoEffectFiresOncePerCheck) {
  for (const int id : {3, 4}) {
    cEvent repeating = MakeEvent(id, {MakeOption(50), MakeOption(50)});
    repeating.oneTimeChecking = 0;
    Add(repeating);
  }
  cEvent changing = MakeEvent(5, {MakeOption(100, {SetFlag(8, 1)})});
  changing.oneTimeChecking = 0;
  Add(changing);
  for (int check = 0; check < 2; ++check) {
    log_.Clear();
    Check();
    EXPECT_EQ(Firings(3), 1);
    EXPECT_EQ(Firings(4), 1);
    EXPECT_EQ(Firings(5), kMaxFiringsPerCheck);
    EXPECT_EQ(log_.lines().back(), u"CHECKING EVENTS FINISHED");
  }
}

// A condition that draws a random number may fail at the next search though
// nothing changed: such an event fires again until the draw fails, each
// search drawing anew, and the draw after the failing one is the next check's.
TEST_F(EventCheckTest, EventWithoutEffectWhoseConditionDrawsFiresUntilTheDrawFails) {
  cEvent drawing = MakeEvent(6, {MakeOption(40), MakeOption(60)});
  drawing.oneTimeChecking = 0;
  sExpression lowDraw = FlagEquals(0, 3);
  lowDraw.left.method = u"System.GetRandomNumber";
  lowDraw.left.params[0] = 3;
  lowDraw.left.params[1] = 8;
  drawing.condition.expressions.push_back(lowDraw);
  Add(drawing);
  // Condition, option, condition, option, condition (8: false), then the next check's condition.
  ScopedRandomDraws draws({0, 17000, 2, 29000, 32767, 5});
  Check();
  EXPECT_EQ(Firings(6), 2);
  EXPECT_EQ(draws.remaining(), 1u);
  EXPECT_EQ(log_.lines().back(), u"CHECKING EVENTS FINISHED");
}

// Events that fire below many that stay false make every search look at
// those again: the looks of a check are bounded, and the check then ends.
TEST_F(EventCheckTest, LooksOfACheckAreBounded) {
  constexpr int kWaiting = 1000;
  for (int id = 1; id <= 2 * kWaiting; ++id) {
    cEvent event = MakeEvent(id, {MakeOption(100, {SetFlag(8, 1)})});
    event.oneTimeChecking = 0;
    if (id <= kWaiting) event.condition.expressions.push_back(FlagEquals(7, 1));
    Add(event);
  }
  Check();
  EXPECT_TRUE(log_.Contains(u"WARNING: the events have been looked at 1000000 times in this check; the check ends "
                            u"here"));
  EXPECT_EQ(log_.lines().back(), u"CHECKING EVENTS FINISHED");
}

TEST_F(EventCheckTest, CountryAndPlayByEmailRulesSkipEvents) {
  cEvent noPbem = MakeEvent(1);
  noPbem.enableInPbem = 0;
  Add(noPbem);
  cEvent inactive = MakeEvent(2);
  inactive.countryID = 2;
  Add(inactive);
  world_.country(2).isActive = 0;
  world_.game().pbemGame = 1;
  world_.country(1).pbemPlayerId = 1;
  Check();
  EXPECT_EQ(Firings(1), 0);
  EXPECT_EQ(Firings(2), 0);
  EXPECT_EQ(gEndTurnRequested.load(), 1);

  world_.country(1).pbemPlayerId = 0;
  Check();
  EXPECT_EQ(Firings(1), 1);
  EXPECT_EQ(Firings(2), 0);
}

// Every country of the game, the last one too, owns events that fire; a
// number past the last names no country and its event never fires.
class EventOwnerTest : public EventCheckTest, public testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(EventOwnerTest, FiresForEveryCountryOfTheGame) {
  const auto [owner, firings] = GetParam();
  cEvent event = MakeEvent(1);
  event.countryID = owner;
  Add(event);
  Check();
  EXPECT_EQ(Firings(1), firings);
}

INSTANTIATE_TEST_SUITE_P(Owners, EventOwnerTest,
                         testing::Values(std::pair{1, 1}, std::pair{3, 1}, std::pair{4, 0}, std::pair{0, 0}));

// With 4 impulses a month the impulses fall on days 1, 9, 16 and 24.
class EventDateTest : public EventCheckTest, public testing::WithParamInterface<int> {};

TEST_P(EventDateTest, EventOfOneDayFiresOnlyOnThatDay) {
  std::array<int, 12> impulses;
  impulses.fill(4);
  SetImpulsesPerMonth(impulses);
  cEvent event = MakeEvent(1);
  event.beginDate = {9, 9, 1939};
  event.endDate = {9, 9, 1939};
  Add(event);
  world_.game().date = cGameDate{GetParam(), 9, 1939};
  Check();
  EXPECT_EQ(Firings(1), GetParam() == 2 ? 1 : 0);
  if (GetParam() != 2) {
    EXPECT_TRUE(log_.Contains(u"Event 1: Current date is outside date range for event"));
  }
}

INSTANTIATE_TEST_SUITE_P(Impulses, EventDateTest, testing::Values(1, 2, 3, 4));

TEST(EventDateWindow, OpenSidesAndCrossedWindows) {
  std::array<int, 12> saved;
  for (int month = 1; month <= 12; ++month) saved[month - 1] = ImpulsesInMonth(month);
  std::array<int, 12> impulses;
  impulses.fill(4);
  SetImpulsesPerMonth(impulses);
  const cGameDate day9{2, 9, 1939};
  cEvent event;
  EXPECT_TRUE(event.IsDateInWindow(day9));
  event.beginDate = {10, 9, 1939};
  EXPECT_FALSE(event.IsDateInWindow(day9));
  event.beginDate = {9, 9, 1939};
  EXPECT_TRUE(event.IsDateInWindow(day9));
  event.beginDate = {kIntNotSet, kIntNotSet, kIntNotSet};
  event.endDate = {8, 9, 1939};
  EXPECT_FALSE(event.IsDateInWindow(day9));
  event.endDate = {1, 1, 1940};
  EXPECT_TRUE(event.IsDateInWindow(day9));
  // A window whose end lies before its begin still holds its two days.
  event.beginDate = {9, 9, 1939};
  event.endDate = {1, 1, 1939};
  EXPECT_TRUE(event.IsDateInWindow(day9));
  SetImpulsesPerMonth(saved);
}

struct ChoiceCase {
  std::vector<int> weights;
  int draw;
  int option;
};

class ComputerChoiceTest : public testing::TestWithParam<ChoiceCase> {};

TEST_P(ComputerChoiceTest, DrawPicksByRunningSums) {
  cEvent event = MakeEvent(1);
  for (int weight : GetParam().weights) event.options.push_back(MakeOption(weight));
  ScopedRandomDraws draws({GetParam().draw});
  EXPECT_EQ(event.ChooseOptionForAI(), GetParam().option);
}

// RandomRange(0, 100) gives 30 for the draw 9831 and 31 for 10158. A negative
// total is drawn from as it stands: RandomRange(0, -5) gives -5 for the draw
// 32767, which the running sums -10, -5 give to the second option. Totals past
// the 32-bit range are drawn from without overflow.
INSTANTIATE_TEST_SUITE_P(Weights, ComputerChoiceTest,
                         testing::Values(ChoiceCase{{30, 70}, 0, -1}, ChoiceCase{{30, 70}, 328, 1},
                                         ChoiceCase{{30, 70}, 9831, 1}, ChoiceCase{{30, 70}, 10158, 2},
                                         ChoiceCase{{30, 70}, 32767, 2}, ChoiceCase{{-10, 5}, 32767, 2},
                                         ChoiceCase{{-10, 5}, 0, -1},
                                         ChoiceCase{{INT32_MAX, INT32_MAX}, 32767, 1}));

TEST_F(EventCheckTest, VisibleComputerChoiceIsReportedToEveryCountry) {
  cEvent visible = MakeEvent(1, {MakeOption(30, {SetFlag(4, 1)}, u"Peace"), MakeOption(70, {SetFlag(4, 2)}, u"War")});
  visible.visibleByPlayer = 1;
  Add(visible);
  ScopedRandomDraws draws({10158});
  Check();
  EXPECT_EQ(flag(4), 2);
  const std::vector<sReport> reports = Reports();
  ASSERT_EQ(reports.size(), 3u);
  for (int id = 1; id <= 3; ++id) {
    EXPECT_EQ(reports[id - 1].type, 25);
    EXPECT_EQ(reports[id - 1].country, id);
    EXPECT_EQ(reports[id - 1].text, u"Country1 in Event1 went with option War");
  }
  EXPECT_EQ(presentation_.CountEvents(u"event-dialog"), 0);
}

TEST_F(EventCheckTest, InvisibleEventOfAHumanCountryIsDecidedWithoutReport) {
  world_.country(1).humanControlled = 1;
  Add(MakeEvent(1, {MakeOption(100, {SetFlag(4, 9)})}));
  ScopedRandomDraws draws({32767});
  Check();
  EXPECT_EQ(flag(4), 9);
  EXPECT_TRUE(Reports().empty());
  EXPECT_EQ(presentation_.CountEvents(u"event-dialog"), 0);
}

TEST_F(EventCheckTest, PlayerPicksTheOptionInTheEventDialog) {
  world_.country(1).humanControlled = 1;
  cEvent shown = MakeEvent(5, {MakeOption(90, {SetFlag(1, 11)}, u"First"), MakeOption(10, {SetFlag(1, 22)}, u"Second")});
  shown.visibleByPlayer = 1;
  shown.description = u"Text";
  shown.options[1].tooltip = u"Tip";
  Add(shown);
  presentation_.SetEventDialogAnswers({2});
  SetGameLockActive(true);
  Check();
  SetGameLockActive(false);
  EXPECT_EQ(flag(1), 22);
  EXPECT_TRUE(log_.Contains(u"Event fired (ID=5 / Title=\"Event5\")"));
  const auto lines = log_.lines();
  const auto at = [&](std::u16string_view line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
  EXPECT_LT(at(u"AC:gra_endturn:402"), at(u"AC:zdarzenia:707"));
  EXPECT_LT(at(u"RC:zdarzenia:2140"), at(u"RC:gra_endturn:408"));
  EXPECT_LT(at(u"RC:gra_endturn:408"), static_cast<std::ptrdiff_t>(lines.size()));
  EXPECT_EQ(presentation_.CountEvents(u"event-dialog 5|Event5"), 1);
  EXPECT_EQ(presentation_.CountEvents(u"event-dialog-wait gra_endturn:409"), 1);
  const std::vector<sReport> reports = Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].type, 25);
  EXPECT_EQ(reports[0].country, 1);
  EXPECT_EQ(reports[0].text, u"Event for country Country1: Event5\n\nText\n\nChosen option: Second (Tip)");
}

TEST_F(EventCheckTest, OptionNumbersOutsideTheListRunNothing) {
  const cEvent event = MakeEvent(1, {MakeOption(50, {SetFlag(2, 5)}), MakeOption(50, {SetFlag(2, 6)})});
  engine().messages.push_back(u"kept");
  EXPECT_FALSE(event.ExecuteOption(0));
  EXPECT_FALSE(event.ExecuteOption(3));
  EXPECT_EQ(flag(2), 0);
  EXPECT_EQ(engine().messages, std::vector<std::u16string>{u"kept"});
  EXPECT_TRUE(event.ExecuteOption(2));
  EXPECT_EQ(flag(2), 6);
  EXPECT_TRUE(engine().messages.empty());

  std::u16string description = u"d";
  std::u16string tooltip = u"t";
  event.GetOptionTexts(3, description, tooltip);
  EXPECT_EQ(description, u"d");
  EXPECT_EQ(tooltip, u"t");
}

// A port whose dialog's option queues two messages, as some effects do.
class QueuingPresentation : public cHeadlessPresentation {
 public:
  void PushEventDialog(const cEvent& event) override {
    cHeadlessPresentation::PushEventDialog(event);
    gGame->events->messages = {u"first", u"second"};
  }
};

// The dialog and its messages show under the deciding country's own
// information panel, which goes back to the current country after them.
TEST_F(EventCheckTest, QueuedMessagesFollowTheDialogInOrderUnderTheCountrysPanel) {
  QueuingPresentation queuing;
  ScopedPresentation scoped(queuing);
  world_.country(1).humanControlled = 1;
  cEvent shown = MakeEvent(1, {MakeOption(1)});
  shown.visibleByPlayer = 1;
  Add(shown);
  Check();
  const std::u16string caption = GetText("information");
  std::vector<std::u16string> shownEvents;
  for (const auto& e : queuing.events()) {
    if (e.starts_with(u"event-dialog ") || e.starts_with(u"text ") || e.starts_with(u"info-panel-country ")) {
      shownEvents.push_back(e);
    }
  }
  EXPECT_EQ(shownEvents, (std::vector<std::u16string>{u"info-panel-country 1", u"event-dialog 1|Event1",
                                                      u"text " + caption + u"|first", u"text " + caption + u"|second",
                                                      u"info-panel-country 0"}));
}

// A port whose wait ends because the game is being torn down.
class StoppingPresentation : public cHeadlessPresentation {
 public:
  void WaitForEventDialog(const char*, int) override { gGame->StoreGameState(kGameTeardown); }
};

TEST_F(EventCheckTest, CheckUnwindsWhenTheWorkerMustStop) {
  StoppingPresentation stopping;
  ScopedPresentation scoped(stopping);
  world_.country(1).humanControlled = 1;
  cEvent shown = MakeEvent(1);
  shown.visibleByPlayer = 1;
  Add(shown);
  Add(MakeEvent(2));
  Check();
  EXPECT_EQ(Firings(2), 0);
  EXPECT_FALSE(log_.Contains(u"CHECKING EVENTS FINISHED"));
}

TEST_F(EventCheckTest, SaveAndExitOfAPlayByEmailGameEndsTheCheck) {
  world_.game().pbemGame = 1;
  world_.country(1).humanControlled = 1;
  cEvent shown = MakeEvent(1, {MakeOption(1, {SetFlag(3, 1)})});
  shown.visibleByPlayer = 1;
  Add(shown);
  Add(MakeEvent(2));
  presentation_.SetEventDialogAnswers({2});
  Check();
  EXPECT_EQ(flag(3), 0);
  EXPECT_EQ(presentation_.CountEvents(u"exit 0"), 1);
  EXPECT_EQ(Firings(2), 0);
}

TEST_F(EventCheckTest, ForcedFiringIgnoresCountryAndCondition) {
  cEvent event = MakeEvent(4);
  event.countryID = 2;
  event.condition.expressions.push_back(FlagEquals(1, 99));
  Add(event);
  world_.country(2).isActive = 0;
  EXPECT_TRUE(engine().ForceFireEvent(4));
  EXPECT_EQ(engine().firedEvent.eventID, 4);
  EXPECT_FALSE(engine().ForceFireEvent(5));
  EXPECT_EQ(log_.lines(), (std::vector<std::u16string>{
                              u"USER FORCED FIRING OF EVENT ID=4. Searching for this event...",
                              u"Event found! Returning...",
                              u"USER FORCED FIRING OF EVENT ID=5. Searching for this event...",
                              u"Event was not found!",
                          }));
}

}  // namespace
}  // namespace tr::test
