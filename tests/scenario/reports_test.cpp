#include "scenario/reports.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <utility>

#include <gtest/gtest.h>

#include "foundation/fatal.h"
#include "foundation/file_read.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/report_kinds.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"

namespace tr {
namespace {

class ReportsTest : public testing::Test {
 protected:
  void SetUp() override { SetGameRoot(dir_.path()); }
  void TearDown() override { SetGameRoot({}); }

  static sReport Make(int type, int country, std::u16string text) {
    sReport r;
    r.type = type;
    r.country = country;
    r.text = std::move(text);
    return r;
  }

  test::TempDir dir_;
};

TEST_F(ReportsTest, EmptyListIsTheTagAndACountOfZero) {
  cReportList list;
  dir_.Write("data/save/a/.keep", "");
  ASSERT_TRUE(list.Save(u"data\\save\\a"));
  EXPECT_EQ(dir_.Read("data/save/a/reports.dat"), std::string("Qelv1\0\0\0\0", 9));
}

TEST_F(ReportsTest, ByteLayoutPutsStateBeforeCountry) {
  cReportList list;
  sReport r = Make(22, 3, u"A\u0141");
  r.state = 1;
  list.Add(r, {1941, 6, 15, 7});
  const std::string expected = std::string("Qelv1\x01\0\0\0", 9) +
                               std::string("\x16\0\0\0\x95\x07\0\0\x06\0\0\0\x0f\0\0\0\x07\0\0\0", 20) +
                               std::string("\x01\0\0\0\x03\0\0\0\x02\0\0\0", 12) + std::string("A\0\x41\x01", 4);
  EXPECT_EQ(list.Serialize(), expected);
}

TEST_F(ReportsTest, SaveThenLoadKeepsEveryReportInOrder) {
  cReportList list;
  list.Add(Make(0, 1, u"Attack on Brest"), {1940, 5, 10, 3});
  list.Add(Make(29, 2, u""), {1940, 5, 10, 3});
  list.Add(Make(23, 1, u"Research \u00e9t\u00e9\nline two"), {1941, 1, 2, 9});
  dir_.Write("data/save/b/.keep", "");
  ASSERT_TRUE(list.Save(u"data\\save\\b"));

  cReportList loaded;
  loaded.Add(Make(1, 1, u"stale"), {});
  loaded.Load(u"data\\save\\b\\%s");
  EXPECT_EQ(loaded.Reports(), list.Reports());
}

TEST_F(ReportsTest, TruncatedFileLoadsItsWholeReportsOnly) {
  cReportList list;
  list.Add(Make(0, 1, u"first"), {});
  list.Add(Make(0, 1, u"second report"), {});
  const std::string bytes = list.Serialize();
  for (std::size_t cut : {bytes.size() - 1, bytes.size() - 26, std::size_t{9 + 32 + 10 + 4}}) {
    dir_.Write("data/save/c/reports.dat", bytes.substr(0, cut));
    test::LogCapture log;
    cReportList loaded;
    loaded.Load(u"data\\save\\c\\%s");
    ASSERT_EQ(loaded.Reports().size(), 1u) << cut;
    EXPECT_EQ(loaded.Reports().front().text, u"first");
  }
  dir_.Write("data/save/c/reports.dat", std::string("Qelv1\xff\xff\xff\xff", 9));
  cReportList huge;
  huge.Load(u"data\\save\\c\\%s");
  EXPECT_TRUE(huge.Reports().empty());
}

// The list stays within the bytes a load reads: a file one byte short of the
// budget is kept whole; a report past it drops the oldest until it fits, even
// when one byte over is all that is left, and a text longer than a whole file
// may be is cut to what fits. The dropping is logged once until the list is
// emptied, as a load empties it.
TEST_F(ReportsTest, ListStaysWithinTheBytesALoadReads) {
  constexpr std::uint64_t kBudget = kReportsFileBudget;
  // The tag and count, three reports of 32 bytes and their texts: one byte short.
  const std::size_t third = (kBudget - 9 - 3 * 32) / 2 - 687500 - 750000;
  cReportList list;
  list.Add(Make(22, 3, std::u16string(687500, u'a')), {1941, 6, 15, 7});
  list.Add(Make(23, 4, std::u16string(750000, u'b')), {1941, 7, 16, 8});
  list.Add(Make(24, 5, std::u16string(third, u'c')), {1942, 8, 17, 9});
  dir_.Write("data/save/e/.keep", "");
  test::LogCapture log;
  ASSERT_TRUE(list.Save(u"data\\save\\e"));
  EXPECT_EQ(std::filesystem::file_size(dir_.path() / "data/save/e/reports.dat"), kBudget - 1);
  EXPECT_FALSE(log.ContainsText(u"dropped"));
  {
    cReportList loaded;
    loaded.Load(u"data\\save\\e\\%s");
    EXPECT_TRUE(loaded.Reports() == list.Reports());
  }

  // Without the first report the file would be one byte past the budget.
  list.Add(Make(25, 6, std::u16string(687501, u'e')), {1943, 9, 18, 10});
  EXPECT_TRUE(log.Contains(u"Reports: the 2 oldest reports were dropped to keep reports.dat within " +
                           Utf8ToUtf16(std::to_string(kBudget)) +
                           u" bytes; from now on each new report drops the oldest ones"));
  ASSERT_EQ(list.Reports().size(), 2u);
  EXPECT_EQ(list.Reports().front().type, 24);
  EXPECT_EQ(list.Reports().back().type, 25);

  list.Add(Make(26, 2, std::u16string(kBudget / 2 + 13, u'd')), {1944, 10, 19, 11});
  // A full list drops at every report: told once, not at each.
  const auto toldDropped = [&log] {
    const std::vector<std::u16string> lines = log.lines();
    return std::count_if(lines.begin(), lines.end(),
                         [](const std::u16string& line) { return line.find(u"dropped") != std::u16string::npos; });
  };
  EXPECT_EQ(toldDropped(), 1);
  ASSERT_EQ(list.Reports().size(), 1u);
  EXPECT_EQ(list.Reports().front().text.size(), (kBudget - 9 - 32) / 2);
  ASSERT_TRUE(list.Save(u"data\\save\\e"));
  EXPECT_EQ(std::filesystem::file_size(dir_.path() / "data/save/e/reports.dat"), kBudget - 1);
  cReportList loaded;
  loaded.Load(u"data\\save\\e\\%s");
  EXPECT_TRUE(loaded.Reports() == list.Reports());
  // A list loaded anew counts the bytes it read: its first report past them
  // drops the oldest, told again since the list was emptied for the load.
  list.Load(u"data\\save\\e\\%s");
  list.Add(Make(27, 3, u"Caen"), {1944, 11, 20, 12});
  EXPECT_EQ(toldDropped(), 2);
  ASSERT_EQ(list.Reports().size(), 1u);
  EXPECT_EQ(list.Reports().front().text, u"Caen");
}

TEST_F(ReportsTest, ForeignTagLoadsNothingAndMissingFileIsFatal) {
  dir_.Write("data/save/d/reports.dat", "Other\0\0\0\0");
  cReportList list;
  list.Add(Make(0, 1, u"old"), {});
  list.Load(u"data\\save\\d\\%s");
  EXPECT_TRUE(list.Reports().empty());

  test::LogCapture log;
  EXPECT_THROW(list.Load(u"data\\save\\none\\%s"), FatalExitError);
  EXPECT_TRUE(log.Contains(u"ERROR: Opening reports file for reading"));
}

TEST_F(ReportsTest, UnwritableFolderIsReportedNotFatal) {
  test::LogCapture log;
  cReportList list;
  EXPECT_FALSE(list.Save(u"data\\save\\missing-folder"));
  EXPECT_TRUE(log.Contains(u"ERROR: Opening reports file for writing"));
}

TEST_F(ReportsTest, AddStampsTheRunningGamesDateAndTurn) {
  test::TestWorld world(2, 2, 1);
  world.game().date = {2, 6, 1941};
  world.game().turn = 17;
  cReportList list;
  sReport r = Make(22, 1, u"x");
  r.year = 5;
  list.Add(r);
  const sReport& added = list.Reports().front();
  EXPECT_EQ(added.year, 1941);
  EXPECT_EQ(added.month, 6);
  EXPECT_EQ(added.day, world.game().date.GetDayOfMonth());
  EXPECT_EQ(added.turn, 17);
  EXPECT_EQ(added.state, 1);
}

TEST_F(ReportsTest, SelectCopiesMatchesInOrder) {
  cReportList list;
  list.Add(Make(0, 1, u"a"), {});
  list.Add(Make(0, 2, u"b"), {});
  list.Add(Make(1, 1, u"c"), {});
  list.Add(Make(0, 1, u"d"), {});
  std::list<sReport> result{Make(5, 5, u"stale")};
  list.Select(result, 1, 0);
  ASSERT_EQ(result.size(), 2u);
  EXPECT_EQ(result.front().text, u"a");
  EXPECT_EQ(result.back().text, u"d");
  list.Select(result, 9, 9);
  EXPECT_TRUE(result.empty());
  EXPECT_EQ(list.Reports().size(), 4u);
}

// The kinds' numbers are what reports.dat holds and what the reports dialog's
// tabs select by: a renumbered or doubled kind files old saves' reports under
// another tab, so the numbers are pinned here, each with its own meaning.
TEST_F(ReportsTest, KindsKeepTheirStoredNumbersEachItsOwn) {
  const std::pair<eReportKind, int> stored[] = {
      {kReportLandAttack, 0},
      {kReportLandDefence, 1},
      {kReportAirToAir, 2},
      {kReportAirToAirSuffered, 3},
      {kReportAirStrike, 8},
      {kReportAirStrikeSuffered, 9},
      {kReportStrategicBombardment, 12},
      {kReportStrategicBombardmentSuffered, 13},
      {kReportShoreBombardment, 14},
      {kReportShoreBombardmentSuffered, 15},
      {kReportSeaZoneAttack, 16},
      {kReportRaiders, 18},
      {kReportSeaBattle, 20},
      {kReportSiege, 21},
      {kReportProduction, 22},
      {kReportResearch, 23},
      {kReportConvoys, 24},
      {kReportEventChoice, 25},
      {kReportUpkeep, 26},
      {kReportGeneralSummary, 28},
      {kReportVictoryPoints, 29},
      {kReportCheating, 30},
  };
  std::set<int> seen;
  for (const auto& [kind, number] : stored) {
    EXPECT_EQ(static_cast<int>(kind), number);
    EXPECT_TRUE(seen.insert(kind).second) << "kind " << number << " shares its number";
  }
  // A report saved under a number comes back under the kind of that number.
  cReportList list;
  list.Add(Make(kReportSiege, 1, u"siege"), {});
  list.Add(Make(kReportProduction, 1, u"production"), {});
  cReportList loaded;
  loaded.Deserialize(list.Serialize());
  std::list<sReport> result;
  loaded.Select(result, 1, 21);
  ASSERT_EQ(result.size(), 1u);
  EXPECT_EQ(result.front().text, u"siege");
}

}  // namespace
}  // namespace tr
