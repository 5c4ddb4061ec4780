// The automatic-events repository: one pair per event, the favoured option,
// and "auto_events.csv" read and written. No string base is loaded, so the
// texts of keys show as the keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <string>
#include <vector>

#include "events/auto_events.h"
#include "foundation/csv_reader.h"
#include "foundation/fatal.h"
#include "foundation/paths.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

using Pairs = std::list<cAutoEventsRepository::Pair>;

struct Option {
  std::int32_t optionID;
  std::int32_t chanceAI;
};

TEST(AutoEvents, OnePairPerEvent) {
  cAutoEventsRepository repository;
  EXPECT_TRUE(repository.AddIfNew(12, 3));
  EXPECT_FALSE(repository.AddIfNew(12, 4));
  EXPECT_TRUE(repository.AddIfNew(5, 3));
  EXPECT_EQ(repository.pairs, (Pairs{{12, 3}, {5, 3}}));
  ASSERT_NE(repository.FindPair(12), nullptr);
  EXPECT_EQ(repository.FindPair(12)->second, 3);
  EXPECT_EQ(repository.FindPair(3), nullptr);
}

TEST(AutoEvents, FavouredOptionHasTheHighestWeightAndTheFirstWinsTies) {
  EXPECT_EQ(FavouredOptionId(std::vector<Option>{{1, 50}, {2, 70}, {3, 70}}), 2);
  EXPECT_EQ(FavouredOptionId(std::vector<Option>{{4, 0}, {5, -1}}), 4);
  EXPECT_EQ(FavouredOptionId(std::vector<Option>{{5, -1}}), kNoFavouredOption);
  EXPECT_EQ(FavouredOptionId(std::vector<Option>{}), kNoFavouredOption);
}

class AutoEventsFileTest : public testing::Test {
 protected:
  void SetUp() override { SetGameRoot(dir_.path()); }
  void TearDown() override { SetGameRoot({}); }
  void Load(const std::string& bytes) {
    dir_.Write("data/save/G/auto_events.csv", bytes);
    repository_.Load(u"data\\save\\G\\%s");
  }

  test::TempDir dir_;
  cAutoEventsRepository repository_;
};

TEST_F(AutoEventsFileTest, SavedPairsLoadBackInOrder) {
  repository_.pairs = {{12, 3}, {-4, 0}, {7, -1}, {12, 9}};
  dir_.Write("data/save/G/.keep", "");
  test::LogCapture log;
  ASSERT_TRUE(repository_.Save(u"data\\save\\G"));
  EXPECT_EQ(log.lines(), (std::vector<std::u16string>{u"opening_file_for_writing...",
                                                      u"data\\save\\G\\auto_events.csv", u"file_opened_ok"}));
  EXPECT_EQ(dir_.Read("data/save/G/auto_events.csv"), "12;3\r\n-4;0\r\n7;-1\r\n12;9\r\n");

  cAutoEventsRepository loaded;
  loaded.pairs = {{1, 1}};
  loaded.Load(u"data\\save\\G\\%s");
  EXPECT_EQ(loaded.pairs, repository_.pairs);  // duplicates as written, old pairs gone
}

// A saved pair is two whole numbers as the game writes them: an option of
// "abc" would read as 0, "5abc" as 5, one past 32 bits as the largest. Each
// is refused naming the line and the field; the pairs at the 32-bit ends
// load and are written back byte for byte, and a file read as a
// scenario's keeps its lenient reading.
// A save's fields are checked before its tables are read; the reader keeps the
// pairs at the ends of the 32-bit range, and a scenario's odd fields read as it reads them.
TEST_F(AutoEventsFileTest, PairsAtTheEndsGoRoundAndAScenarioReadsOddFields) {
  const std::string ends = "2147483647;-2147483648\r\n-2147483648;2147483647\r\n0;0\r\n";
  dir_.Write("data/save/G/auto_events.csv", ends);
  test::LogCapture log;
  repository_.Load(u"data\\save\\G\\%s", nullptr, true);
  EXPECT_EQ(repository_.pairs, (Pairs{{INT32_MAX, INT32_MIN}, {INT32_MIN, INT32_MAX}, {0, 0}}));
  EXPECT_FALSE(log.ContainsText(u"WARNING"));
  ASSERT_TRUE(repository_.Save(u"data\\save\\G"));
  EXPECT_EQ(dir_.Read("data/save/G/auto_events.csv"), ends);
  for (const char* line : {"1;abc", "1;5abc", "1;2147483648", "1;1.5", "x1;2", ";2"}) {
    dir_.Write("data/save/G/auto_events.csv", "12;3\r\n" + std::string(line) + "\r\n");
    log.Clear();
    repository_.Load(u"data\\save\\G\\%s", nullptr, false);
    EXPECT_FALSE(log.ContainsText(u"ERROR")) << line;
  }
}

// A pair of an event the scenario does not have: left out of a scenario's
// file, and refusing a saved game's, which records only its scenario's events.
TEST_F(AutoEventsFileTest, AnEventTheScenarioLacksIsLeftOutOrInASaveRefused) {
  const auto isEvent = [](std::int32_t id) { return id == 12 || id == 8; };
  dir_.Write("data/save/G/auto_events.csv", "12;3\r\n8;1\r\n");
  repository_.Load(u"data\\save\\G\\%s", isEvent, true);
  EXPECT_EQ(repository_.pairs, (Pairs{{12, 3}, {8, 1}}));
  dir_.Write("data/save/G/auto_events.csv", "12;3\r\n9;1\r\n8;1\r\n");
  {
    test::LogCapture log;
    repository_.Load(u"data\\save\\G\\%s", isEvent, false);
    EXPECT_EQ(repository_.pairs, (Pairs{{12, 3}, {8, 1}}));
    EXPECT_TRUE(log.ContainsText(u"at line 2 (counting from 1) names event 9, which the scenario does not have; left"));
  }
  test::LogCapture log;
  EXPECT_THROW(repository_.Load(u"data\\save\\G\\%s", isEvent, true), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"ERROR: data\\save\\G\\auto_events.csv at line 2 (counting from 1) names event 9, which "
                               u"the scenario does not have;"));
}

// The game writes one line for each event: a save's file that names one
// again is refused at that line, where the pairs the game wrote load back and
// are written again byte for byte.
TEST_F(AutoEventsFileTest, PairsAddedOnceGoRoundASave) {
  for (const auto& [event, option] : {std::pair{12, 3}, std::pair{-4, 0}, std::pair{7, -1}, std::pair{12, 9}}) {
    repository_.AddIfNew(event, option);
  }
  dir_.Write("data/save/G/.keep", "");
  ASSERT_TRUE(repository_.Save(u"data\\save\\G"));
  const std::string written = dir_.Read("data/save/G/auto_events.csv");
  cAutoEventsRepository loaded;
  loaded.Load(u"data\\save\\G\\%s", nullptr, true);
  EXPECT_EQ(loaded.pairs, (Pairs{{12, 3}, {-4, 0}, {7, -1}}));
  ASSERT_TRUE(loaded.Save(u"data\\save\\G"));
  EXPECT_EQ(dir_.Read("data/save/G/auto_events.csv"), written);
}

TEST_F(AutoEventsFileTest, CommentsBlankLinesAndLoneIds) {
  test::LogCapture log;
  Load("#event;option\n12;3\r\n\r\n30\r\n8;1;\n");
  EXPECT_EQ(repository_.pairs, (Pairs{{12, 3}, {30, kNoFavouredOption}, {8, 1}}));
  EXPECT_TRUE(log.Contains(u"data\\save\\G\\auto_events.csv"));
  EXPECT_TRUE(log.Contains(u"Otwarcie OK"));
  EXPECT_TRUE(log.ContainsText(u"Automatic event 30"));
  EXPECT_TRUE(log.Contains(u"empty_line..."));
}

TEST_F(AutoEventsFileTest, AThirdFieldIsFatal) {
  test::LogCapture log;
  EXPECT_THROW(Load("12;3\r\n1;2;3\r\n"), FatalExitError);
  EXPECT_TRUE(log.Contains(u"error:_cannot_handle_word_from_column_3_for_auto_events_repository."));
}

// Text hidden past the most fields a line is split into still makes a line
// of too many fields, as a short one does, never an empty line.
TEST_F(AutoEventsFileTest, TextPastTheMostFieldsIsFatal) {
  const std::string separators(cCsvReader::kMostFieldsKept, ';');
  for (const std::string& line : {std::string(";;x"), separators + "x"}) {
    test::LogCapture log;
    EXPECT_THROW(Load("12;3\r\n" + line + "\r\n"), FatalExitError);
    EXPECT_TRUE(log.Contains(u"error:_cannot_handle_word_from_column_3_for_auto_events_repository."));
  }
  test::LogCapture log;
  Load("12;3\r\n" + separators + " \r\n");
  EXPECT_EQ(repository_.pairs, (Pairs{{12, 3}}));
  const std::vector<std::u16string> lines = log.lines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), u"empty_line..."), 2);
}

// A file of empty lines alone, of every line end, and empty lines after the
// last pair are logged as those between pairs are; those between pairs in
// several runs each, up to the bound.
TEST_F(AutoEventsFileTest, EmptyLinesAloneOrAfterTheLastPairAreLogged) {
  for (const auto& [bytes, logged] : {std::pair{std::string("\r\r\r"), 4}, std::pair{std::string("\n\r\n\r"), 4},
                                      std::pair{std::string("12;3\r\n\r\n\r\n"), 3},
                                      std::pair{std::string("12;3\r\r\r\r"), 4},
                                      std::pair{std::string("1;1;\n\n2;1;\n\n3;1;\n"), 3},
                                      std::pair{"1;1;\n" + std::string(6, '\n') + "2;1;\n" +
                                                    std::string(6, '\n') + "3;1;\n",
                                                11}}) {
    test::LogCapture log;
    Load(bytes);
    const std::vector<std::u16string> lines = log.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), u"empty_line..."), logged) << testing::PrintToString(bytes);
  }
}

// Empty lines are logged up to the bound, the rest counted in one line; the
// read past a final line end of any kind logs one more.
struct EmptyLinesCase {
  int lines;
  std::string end;
  int logged;
  const char16_t* more;
};

class AutoEventsEmptyLines : public AutoEventsFileTest, public testing::WithParamInterface<EmptyLinesCase> {};

TEST_P(AutoEventsEmptyLines, AreLoggedUpToTheBound) {
  const EmptyLinesCase& c = GetParam();
  std::string bytes = "12;3" + c.end;
  for (int i = 0; i < c.lines; ++i) bytes += c.end;
  bytes += "5;1";
  test::LogCapture log;
  Load(bytes);
  Load(bytes + c.end);
  EXPECT_EQ(repository_.pairs, (Pairs{{12, 3}, {5, 1}}));
  const std::vector<std::u16string> lines = log.lines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), u"empty_line..."), 2 * c.logged + 1);
  const std::u16string more =
      std::u16string(c.more) + u" more empty lines of data\\save\\G\\auto_events.csv are not logged)";
  const bool told = c.more[0] != u'\0';
  EXPECT_EQ(std::count(lines.begin(), lines.end(), more), told ? 2 : 0);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::u16string& l) { return l.find(u"more empty lines") != l.npos; }),
            told ? 2 : 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, AutoEventsEmptyLines,
                         testing::Values(EmptyLinesCase{1, "\r", 1, u""}, EmptyLinesCase{1, "\n", 1, u""},
                                         EmptyLinesCase{1, "\r\n", 1, u""}, EmptyLinesCase{10, "\r\n", 10, u""},
                                         EmptyLinesCase{11, "\r", 10, u"(1"}, EmptyLinesCase{12, "\n", 10, u"(2"}));

TEST_F(AutoEventsFileTest, MissingFileIsFatalAndUnwritableFolderIsReported) {
  test::LogCapture log;
  EXPECT_THROW(repository_.Load(u"data\\save\\None\\%s"), FatalExitError);
  EXPECT_TRUE(log.Contains(u"Blad otwarcia pliku! (nie istnieje?)"));
  log.Clear();
  EXPECT_FALSE(repository_.Save(u"data\\save\\None"));
  EXPECT_TRUE(log.Contains(u"error_opening_file_for_writing"));
}

}  // namespace
}  // namespace tr
