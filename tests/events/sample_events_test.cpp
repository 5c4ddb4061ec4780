// The shipped sample scenario's events in a loaded game: a whole check runs
// through them headless, beside events of our own that count or end the
// program, and their listing is written beside the event file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "events/zdarzenia.h"
#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "foundation/text.h"
#include "support/fork_alone.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/headless_presentation.h"

namespace tr::test {
namespace {

namespace fs = std::filesystem;

constexpr char kScenario[] = "NorthernTide";

class SampleEventsTest : public testing::Test {
 protected:
  // A copy of the built sample, so the listing never lands in the shared build folder.
  SampleEventsTest() : scoped_(presentation_) {
    test::CopyBuiltScenario(dir_.path(), kScenario);
    SetGameRoot(dir_.path());
  }
  ~SampleEventsTest() override {
    delete gGame;
    gGame = nullptr;
    SetGameRoot({});
  }
  // Loads the sample with the events given put first in its event file.
  void Load(const std::string& firstEvents = {}) {
    const fs::path file = dir_.path() / "data/scenarios" / kScenario / "events.xml";
    std::string text = ReadFileBytes(file);
    const std::size_t at = text.find("<events>");
    ASSERT_NE(at, std::string::npos);
    text.insert(at + std::string_view("<events>").size(), "\n" + firstEvents);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    SeedRandom(7);
    game_ = LoadNewScenario(u"data\\scenarios\\NorthernTide\\%s", 0);
    ASSERT_NE(game_, nullptr);
  }

  TempDir dir_;
  cHeadlessPresentation presentation_;
  ScopedPresentation scoped_;
  cGame* game_ = nullptr;
};

TEST_F(SampleEventsTest, WholeCheckRunsThroughEveryEvent) {
  Load();
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
  Load();
  game_->events->ListAllEvents();
  const std::string listing = ReadFileBytes(dir_.path() / "data/scenarios" / kScenario / "events");
  EXPECT_NE(listing.find("Title: The Amber Sea watch"), std::string::npos);
  EXPECT_NE(listing.find("Time of possible occurence: 1-1-1940 to 31-12-1941\r\n"), std::string::npos);
  EXPECT_NE(listing.find("Flag.ChangeValue(2, 1)  #line: "), std::string::npos);
}

// An event that is not one-time and counts in a flag of its own until the
// flag reaches the limit.
std::string CountingEvent(int id, int flag, int limit) {
  const std::string f = std::to_string(flag);
  return "<event eventID=\"" + std::to_string(id) +
         "\" countryID=\"1\" visibleByPlayer=\"0\" oneTimeChecking=\"0\"><title>Count</title><condition><and>"
         "<expression><leftOperand method=\"Flag.GetValue\" param0=\"" + f +
         "\"/><operator value=\"less\"/><rightOperand constValue=\"" + std::to_string(limit) +
         "\"/></expression></and></condition><options><option optionID=\"1\" chanceAI=\"100\">"
         "<description>Count</description><effects><effect method=\"Flag.ChangeValue\" param0=\"" + f +
         "\" param1=\"1\"/></effects></option></options></event>\n";
}

// Events that count each fire again in every search until their count is
// reached, however many firings that takes in one check.
TEST_F(SampleEventsTest, CountingEventsEachCountToTheirLimitInOneCheck) {
  ASSERT_NO_FATAL_FAILURE(Load(CountingEvent(901, 60, 50) + CountingEvent(902, 61, 50) + CountingEvent(903, 62, 50)));
  LogCapture log;
  game_->events->CheckEventsAtTurnEnd(*game_);
  EXPECT_EQ(log.lines().back(), u"CHECKING EVENTS FINISHED");
  EXPECT_EQ(game_->flags[60], 50);
  EXPECT_EQ(game_->flags[61], 50);
  EXPECT_EQ(game_->flags[62], 50);
  for (const std::u16string& line : log.lines()) EXPECT_FALSE(line.starts_with(u"WARNING")) << Utf16ToUtf8(line);
}

// The player's dialog of event 902 closes with the hex of the first city
// left without a controller.
class CityLosingPresentation : public cHeadlessPresentation {
 public:
  void PushEventDialog(const cEvent& event) override {
    cHeadlessPresentation::PushEventDialog(event);
    if (event.eventID != 902) return;
    const auto& city = *gGame->cities.front();
    gGame->map->GetHex(city.x, city.y)->SetController(0);
  }
};

// An event looked at again after another has fired keeps its routine lines
// out of the log, but not the reason of a fatal exit: the search after the
// dialog counts the victory points of a city without a controller, and the
// program ends with code 1 saying why.
TEST_F(SampleEventsTest, AFatalErrorOnALookAgainIsLoggedWithItsExit) {
  ASSERT_NO_FATAL_FAILURE(Load(
      "<event eventID=\"901\" countryID=\"1\" visibleByPlayer=\"0\" oneTimeChecking=\"0\"><title>Points</title>"
      "<condition><and><expression><leftOperand method=\"Country.GetVP\" param0=\"1\"/><operator value=\"less\"/>"
      "<rightOperand constValue=\"0\"/></expression></and></condition><options><option optionID=\"1\" "
      "chanceAI=\"100\"><description>D</description></option></options></event>\n"
      "<event eventID=\"902\" countryID=\"1\" visibleByPlayer=\"1\" oneTimeChecking=\"1\"><title>Dialog</title>"
      "<condition><and><expression><leftOperand constValue=\"1\"/><operator value=\"equals\"/>"
      "<rightOperand constValue=\"1\"/></expression></and></condition><options><option optionID=\"1\" "
      "chanceAI=\"100\"><description>D</description></option></options></event>\n"));
  ASSERT_EQ(game_->countries.front()->humanControlled, 1);
  CityLosingPresentation losing;
  ScopedPresentation scoped(losing);
  const fs::path logFile = dir_.path() / "ConsoleOut.txt";
  const pid_t child = test::ForkAlone();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SetFatalExitInterceptor({});
    ConsoleLog().Reopen(logFile);
    game_->events->CheckEventsAtTurnEnd(*game_);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  const std::string bytes = ReadFileBytes(logFile);
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  const std::u16string city = game_->cities.front()->name;
  EXPECT_NE(text.find(u"\r\nCondition for event with ID=901 is false.\r\n"), std::u16string::npos);
  EXPECT_NE(text.find(u"\r\nERROR: City " + city +
                      u" is not controlled by any country (controller id = 0)! (Counting country VPs)\r\nExiting "
                      u"with code 1\r\n"),
            std::u16string::npos)
      << Utf16ToUtf8(text);
}

}  // namespace
}  // namespace tr::test
