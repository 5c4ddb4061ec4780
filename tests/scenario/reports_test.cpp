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
#include "world/byte_io.h"
#include "world/value_limits.h"

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
  loaded.Load(u"data\\save\\b\\%s", 2);
  EXPECT_EQ(loaded.Reports(), list.Reports());
}

// Bytes the game would not write are refused with what is wrong: the tag, the
// count against the reports that follow (bytes missing or left over), a text
// length past any file, each field past what the game writes there. Beside
// them the fields at the ends of what it writes read back byte for byte.
TEST_F(ReportsTest, BytesNotAsTheGameWritesThemAreRefusedByTheirFault) {
  cReportList list;
  list.Add(Make(kReportLandAttack, 1, u"first"), {});
  list.Add(Make(kReportCheating, 3, u"second report"), {kMaxTurnCount, 12, 31, kMaxTurnCount});
  const std::string bytes = list.Serialize();
  cReportList loaded;
  EXPECT_EQ(loaded.Deserialize(bytes, 3), u"");
  EXPECT_EQ(loaded.Reports(), list.Reports());
  EXPECT_EQ(loaded.Serialize(), bytes);

  // The second report starts after the first's 32 bytes and 5 units.
  constexpr std::size_t kSecond = 9 + 32 + 10;
  const auto with = [&bytes](std::size_t at, std::uint32_t value) {
    std::string changed = bytes;
    std::string field;
    AppendU32(field, value);
    return changed.replace(at, 4, field);
  };
  const std::pair<std::string, std::u16string> refused[] = {
      {"", u"ends inside its tag and count of reports (cut short?)"},
      {bytes.substr(0, 7), u"ends inside its tag and count of reports (cut short?)"},
      {"Qelv2" + bytes.substr(5), u"does not begin with the tag \"Qelv1\" the game writes"},
      {bytes.substr(0, bytes.size() - 1), u"ends inside report 2 of the 2 its count gives (cut short?)"},
      {bytes.substr(0, kSecond + 3), u"ends inside report 2 of the 2 its count gives (cut short?)"},
      {bytes + "x", u"holds 1 bytes past the last of the 2 reports its count gives"},
      {with(5, 0), u"holds 100 bytes past the last of the 0 reports its count gives"},
      {with(5, 1), u"holds 58 bytes past the last of the 1 reports its count gives"},
      {with(5, 3), u"ends inside report 3 of the 3 its count gives (cut short?)"},
      {with(5, 0xffffffff), u"counts 4294967295 reports, more than a file of 67108864 bytes holds"},
      {with(kSecond, 4), u"gives report 2 a type of 4, which is no kind of report the game makes"},
      {with(kSecond, 31), u"gives report 2 a type of 31, where the game writes 0 to 30"},
      {with(kSecond + 4, 0xffffffff), u"gives report 2 a year of -1, where the game writes 0 to 1000000"},
      {with(kSecond + 8, 13), u"gives report 2 a month of 13, where the game writes 0 to 12"},
      {with(kSecond + 12, 32), u"gives report 2 a day of 32, where the game writes 0 to 31"},
      {with(kSecond + 16, static_cast<std::uint32_t>(-7)),
       u"gives report 2 a turn of -7, where the game writes 0 to 1000000"},
      {with(kSecond + 20, 0), u"gives report 2 a state of 0, where the game writes 1 to 1"},
      {with(kSecond + 24, 4), u"gives report 2 a country of 4, where the game writes 0 to 3"},
      {with(9 + 24, static_cast<std::uint32_t>(-5)), u"gives report 1 a country of -5, where the game writes 0 to 3"},
      {with(9 + 28, 0x7fffffff),
       u"gives report 1 a text of 2147483647 characters, more than a file of 67108864 bytes holds"},
      {with(9 + 28, 100), u"ends inside report 1 of the 2 its count gives (cut short?)"},
  };
  for (const auto& [changed, fault] : refused) {
    EXPECT_EQ(loaded.Deserialize(changed, 3), fault) << Utf16ToUtf8(fault);
    EXPECT_TRUE(loaded.Reports().empty());
  }
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
    loaded.Load(u"data\\save\\e\\%s", 6);
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
  loaded.Load(u"data\\save\\e\\%s", 6);
  EXPECT_TRUE(loaded.Reports() == list.Reports());
  // A list loaded anew counts the bytes it read: its first report past them
  // drops the oldest, told again since the list was emptied for the load.
  list.Load(u"data\\save\\e\\%s", 6);
  list.Add(Make(27, 3, u"Caen"), {1944, 11, 20, 12});
  EXPECT_EQ(toldDropped(), 2);
  ASSERT_EQ(list.Reports().size(), 1u);
  EXPECT_EQ(list.Reports().front().text, u"Caen");
}

// A file the load cannot read is refused naming it and why; one past what the
// earlier release kept is not read at all (the file is sparse).
TEST_F(ReportsTest, FileThatCannotBeReadIsRefusedNamingItsCause) {
  dir_.Write("data/save/d/reports.dat/.keep", "");
  dir_.Write("data/save/e/reports.dat", "");
  std::filesystem::resize_file(dir_.path() / "data/save/e/reports.dat", kReportsReadLimit + 1);
  const std::pair<const char16_t*, std::u16string> refused[] = {
      {u"data\\save\\none\\%s",
       u"ERROR: data\\save\\none\\reports.dat is missing, though the game writes it with every save; the game is "
       u"not loaded"},
      {u"data\\save\\d\\%s", u"ERROR: data\\save\\d\\reports.dat cannot be read (a folder stands in its place); the "
                              u"game is not loaded"},
      {u"data\\save\\e\\%s", u"ERROR: data\\save\\e\\reports.dat holds more than the 67108864 bytes a file of its "
                              u"kind may hold; the game is not loaded"},
  };
  for (const auto& [folder, line] : refused) {
    test::LogCapture log;
    cReportList list;
    EXPECT_THROW(list.Load(folder, 3), FatalExitError);
    EXPECT_TRUE(log.Contains(line)) << Utf16ToUtf8(line);
  }
}

// An earlier release kept reports.dat up to 64 MiB: such a file is read in
// pieces and keeps the newest reports the game would have kept had it added
// them itself, its texts read whole across the pieces, and the load says how
// many were dropped.
TEST_F(ReportsTest, AnEarlierReleasesLargerFileKeepsItsNewestReports) {
  cReportList kept;
  std::string file("Qelv1");
  AppendU32(file, 12);
  for (int i = 0; i < 12; ++i) {
    std::u16string text(300001 + i, u'a');
    for (std::size_t k = 0; k < text.size(); k += 7) text[k] = static_cast<char16_t>(0x100 + k % 50000 + i);
    const sReport report = Make(kReportSiege, 1 + i % 3, text);
    for (const std::int32_t value : {report.type, 1941, 6, 15, 100 + i, 1, report.country}) {
      AppendU32(file, static_cast<std::uint32_t>(value));
    }
    AppendU32(file, static_cast<std::uint32_t>(text.size()));
    for (const char16_t unit : text) AppendU16(file, unit);
    kept.Add(report, {1941, 6, 15, 100 + i});
  }
  dir_.Write("data/save/f/reports.dat", file);
  ASSERT_GT(file.size(), kReportsFileBudget);
  test::LogCapture log;
  cReportList loaded;
  loaded.Load(u"data\\save\\f\\%s", 3);
  ASSERT_EQ(loaded.Reports().size(), 6u);
  EXPECT_TRUE(loaded.Reports() == kept.Reports());
  EXPECT_TRUE(log.Contains(u"Reports: the 6 oldest reports of data\\save\\f\\reports.dat were dropped to keep the "
                           u"list within 4194304 bytes, as the game does when it adds one"));
  EXPECT_LE(loaded.Serialize().size(), kReportsFileBudget);
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
  EXPECT_EQ(loaded.Deserialize(list.Serialize(), 1), u"");
  std::list<sReport> result;
  loaded.Select(result, 1, 21);
  ASSERT_EQ(result.size(), 1u);
  EXPECT_EQ(result.front().text, u"siege");
}

}  // namespace
}  // namespace tr
