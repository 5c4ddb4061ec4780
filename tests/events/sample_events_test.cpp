// The shipped sample scenario's events in a loaded game: a whole check runs
// through them headless, and their listing is written beside the event file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "events/zdarzenia.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/headless_presentation.h"

namespace tr::test {
namespace {


constexpr char kScenario[] = "NorthernTide";

class SampleEventsTest : public testing::Test {
 protected:
  // A copy of the built sample, so the listing never lands in the shared build folder.
  SampleEventsTest() : scoped_(presentation_) {
    test::CopyBuiltScenario(dir_.path(), kScenario);
    SetGameRoot(dir_.path());
    SeedRandom(7);
    game_ = LoadNewScenario(u"data\\scenarios\\NorthernTide\\%s", 0);
  }
  ~SampleEventsTest() override {
    delete gGame;
    gGame = nullptr;
    SetGameRoot({});
  }

  TempDir dir_;
  cHeadlessPresentation presentation_;
  ScopedPresentation scoped_;
  cGame* game_ = nullptr;
};

TEST_F(SampleEventsTest, WholeCheckRunsThroughEveryEvent) {
  ASSERT_NE(game_, nullptr);
  ASSERT_FALSE(game_->events->events.empty());
  // The Amber Sea watch without its flag test: a one-off event whose condition
  // is still true after its own effect.
  const auto watch = std::find_if(game_->events->events.begin(), game_->events->events.end(),
                                  [](const cEvent& e) { return e.eventID == 3; });
  ASSERT_NE(watch, game_->events->events.end());
  cEvent standing = *watch;
  standing.eventID = 90;
  auto& tests = standing.condition.expressions;
  const auto flagTest = std::find_if(tests.begin(), tests.end(),
                                     [](const sExpression& e) { return e.left.method == u"Flag.GetValue"; });
  ASSERT_NE(flagTest, tests.end());
  tests.erase(flagTest);
  ASSERT_EQ(standing.oneTimeChecking, 1);
  game_->events->events.push_back(standing);
  game_->turn = 5;
  game_->date = cGameDate{1, 1, 1940};
  LogCapture log;
  game_->events->CheckEventsAtTurnEnd(*game_);
  EXPECT_EQ(log.lines().back(), u"CHECKING EVENTS FINISHED");
  for (const std::u16string& line : log.lines()) {
    const std::string text(line.begin(), line.end());
    EXPECT_EQ(text.find("ERROR"), std::string::npos) << text;
    EXPECT_EQ(text.find("CRI"), std::string::npos) << text;
  }
  // The Amber Sea watch fires in 1940 from turn 5 on and counts itself in
  // flag 2, which makes it false. The copy that stays true is looked at once a
  // check all the same, so it fires once too and counts itself in flag 2.
  const auto& lines = log.lines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), u"Condition for event with ID=3 is true. Firing..."), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), u"Condition for event with ID=90 is true. Firing..."), 1);
  EXPECT_EQ(game_->flags[2], 2);
}

TEST_F(SampleEventsTest, ListingIsWrittenBesideTheEventFile) {
  ASSERT_NE(game_, nullptr);
  game_->events->ListAllEvents();
  const std::string listing = ReadFileBytes(dir_.path() / "data/scenarios" / kScenario / "events");
  EXPECT_NE(listing.find("Title: The Amber Sea watch"), std::string::npos);
  EXPECT_NE(listing.find("Time of possible occurence: 1-1-1940 to 31-12-1941\r\n"), std::string::npos);
  EXPECT_NE(listing.find("Flag.ChangeValue(2, 1)  #line: "), std::string::npos);
}

}  // namespace
}  // namespace tr::test
