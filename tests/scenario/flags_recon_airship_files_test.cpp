// "flags.txt" and "airrecon_units.csv": what is read, what is ignored, and
// the exact bytes written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "foundation/fatal.h"
#include "foundation/file_budgets.h"
#include "foundation/file_read.h"
#include "foundation/text.h"
#include "scenario/air_recon_file.h"
#include "scenario/airship_attacks_file.h"
#include "scenario/flags_file.h"
#include "scenario/unit_state_file.h"
#include "support/log_capture.h"
#include "units/unit_files_fixture.h"

namespace tr {
namespace {

using test::UnitFiles;

class StateFiles : public UnitFiles {};

TEST_F(StateFiles, FlagLinesWithAUsableSemicolon) {
  game().flags[3] = 9;
  Scenario("flags.txt",
           "# flag no;flag value\r\n12;5;\r\n;5\r\n13;4;\r\n13;\r\n7;8;\r\n39999;-2;\n40000;3;\r\n-1;4;\r\n#14;1;\r\n15;6");
  test::LogCapture log;
  LoadFlags(game(), test::kScenario);
  EXPECT_EQ(game().flags[3], 0);
  EXPECT_EQ(game().flags[0], 0);  // a line without a number before its ';'
  EXPECT_EQ(game().flags[7], 8);
  EXPECT_EQ(game().flags[12], 5);
  EXPECT_EQ(game().flags[13], 4);  // a line with nothing after its ';' sets nothing
  EXPECT_EQ(game().flags[14], 0);
  EXPECT_EQ(game().flags[15], 6);
  EXPECT_EQ(game().flags[39999], -2);
  EXPECT_TRUE(log.ContainsText(u"Flag number (40000) out of range"));
  EXPECT_TRUE(log.ContainsText(u"Flag number (-1) out of range"));
  EXPECT_TRUE(log.Contains(u"Otwieram plik flag ze sciezka..."));

  ASSERT_TRUE(WriteFlags(game(), test::kSaveFolder));
  EXPECT_EQ(Saved("flags.txt"), "# flag no;flag value\r\n7;8;\r\n12;5;\r\n13;4;\r\n15;6;\r\n39999;-2;\r\n");
  game().flags[12] = 0;
  LoadFlags(game(), test::kSaveTemplate);
  EXPECT_EQ(game().flags[12], 5);
}

// A saved flag the game wrote as whole numbers; text or a number past 32
// bits would load as another flag or value, so is refused naming the line
// and the field. The file as written, at the 32-bit ends, loads.
TEST_F(StateFiles, ASavesFlagsAreWholeNumbers) {
  game().flags[7] = INT32_MAX;
  game().flags[12] = INT32_MIN;
  ASSERT_TRUE(WriteFlags(game(), test::kSaveFolder));
  const std::string written = Saved("flags.txt");
  game().loadedGame = 1;
  for (const auto& [line, what] : {std::pair{"2;abc;", u"has no whole number in field 2;"},
                                   std::pair{"x3;1;", u"has no whole number in field 1;"},
                                   std::pair{"3;99999999999;", u"has a number beyond the 32-bit range in field 2;"},
                                   std::pair{"3;;", u"has a line cut short;"}, std::pair{";3;", u"has a line cut short;"},
                                   std::pair{"3;5;7;", u"has 3 fields, more than the 2 of a line;"},
                                   std::pair{"40000;5;", u"has Flag number of 40000, a value the game never writes there;"}}) {
    dir_.Write("data/save/out/flags.txt", written + line + "\r\n");
    test::LogCapture log;
    EXPECT_THROW(LoadFlags(game(), test::kSaveTemplate), FatalExitError) << line;
    EXPECT_TRUE(log.ContainsText(u"flags.txt at line 4 (counting from 1) " + std::u16string(what))) << line;
  }
  // A line of more fields than any table has is counted to that many.
  std::string longLine = "3;";
  for (int i = 0; i < 5000; ++i) longLine += "5;";
  dir_.Write("data/save/out/flags.txt", written + longLine + "\r\n");
  {
    test::LogCapture log;
    EXPECT_THROW(LoadFlags(game(), test::kSaveTemplate), FatalExitError);
    EXPECT_TRUE(log.ContainsText(u"flags.txt at line 4 (counting from 1) has 4096 fields, more than the 2 of a line;"));
  }
  dir_.Write("data/save/out/flags.txt", written);
  game().flags[7] = game().flags[12] = 0;
  test::LogCapture log;
  LoadFlags(game(), test::kSaveTemplate);
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  EXPECT_EQ(game().flags[7], INT32_MAX);
  EXPECT_EQ(game().flags[12], INT32_MIN);
}

// The game writes no more flags than its load reads back: every flag set to
// its longest value fits the file's budget and comes back.
TEST_F(StateFiles, EveryFlagAtItsLongestIsReadBack) {
  for (int number = 0; number < kGameFlagCount; ++number) game().flags[number] = INT32_MIN + number;
  ASSERT_TRUE(WriteFlags(game(), test::kSaveFolder));
  EXPECT_LE(Saved("flags.txt").size(), FileBudgetOf("flags.txt", kTextFileBudget));
  const auto written = game().flags;
  std::fill(game().flags.begin(), game().flags.end(), 0);
  game().loadedGame = 1;
  test::LogCapture log;
  LoadFlags(game(), test::kSaveTemplate);
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  EXPECT_TRUE(game().flags == written);
}

TEST_F(StateFiles, MissingFlagsFileIsFatal) {
  test::LogCapture log;
  EXPECT_THROW(LoadFlags(game(), test::kScenario), FatalExitError);
  EXPECT_TRUE(log.Contains(u"Blad otwarcia pliku (nie istnieje?)"));
}

TEST_F(StateFiles, SpottedUnitsByHexRoundTrip) {
  cJednostkaLadowa& seen = AddLand(1, 8, 9);
  cJednostkaLotnicza& plane = AddAir(2, 3, 4);
  country(3).reconSpottedUnits = {&seen, &plane};
  ASSERT_TRUE(WriteAirReconUnits(game(), test::kSaveFolder));
  EXPECT_EQ(Saved("airrecon_units.csv"), "#Hexes with units spoted with air recon\r\nCountry;3;\r\n8;9;\r\n3;4;");
  country(3).reconSpottedUnits.clear();
  country(1).reconSpottedUnits = {&plane};
  game().loadedGame = 1;
  LoadAirReconUnits(game(), test::kSaveTemplate);
  EXPECT_TRUE(country(1).reconSpottedUnits.empty());
  EXPECT_EQ(country(3).reconSpottedUnits, (std::list<cUnit*>{&seen, &plane}));

  // A saved hex line holding one number where the game writes two is damage.
  dir_.Write("data/save/out/airrecon_units.csv", "#Hexes with units spoted with air recon\r\nCountry;3;\r\n8;\r\n3;4;");
  test::LogCapture log;
  EXPECT_THROW(LoadAirReconUnits(game(), test::kSaveTemplate), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"airrecon_units.csv at line 3 (counting from 1) has a line cut short"));
  // A hex or country as text, or a third field: each would drop the spotted
  // unit or read as another, so is refused naming the line and field.
  for (const auto& [file, what] :
       {std::pair{"Country;3;\r\nx;9;", u"at line 3 (counting from 1) has no whole number in field 1;"},
        std::pair{"Country;3;\r\n8;9abc;", u"at line 3 (counting from 1) has no whole number in field 2;"},
        std::pair{"Country;3;\r\n;9;", u"at line 3 (counting from 1) has no whole number in field 1;"},
        std::pair{"Country;3x;\r\n8;9;", u"at line 2 (counting from 1) has no whole number in field 2;"},
        std::pair{"Country;3;\r\n8;9;1;", u"at line 3 (counting from 1) has 3 fields, more than the 2 of a line;"}}) {
    dir_.Write("data/save/out/airrecon_units.csv", "#Hexes with units spoted with air recon\r\n" + std::string(file));
    log.Clear();
    EXPECT_THROW(LoadAirReconUnits(game(), test::kSaveTemplate), FatalExitError) << file;
    EXPECT_TRUE(log.ContainsText(u"airrecon_units.csv " + std::u16string(what))) << file;
  }
  // And one whose header line is gone.
  dir_.Write("data/save/out/airrecon_units.csv", "Country;3;\r\n8;9;\r\n3;4;");
  EXPECT_THROW(LoadAirReconUnits(game(), test::kSaveTemplate), FatalExitError);
  EXPECT_TRUE(log.ContainsText(
      u"airrecon_units.csv at line 1 (counting from 1) does not begin with the table's '#' header line"));
}

// What a saved recon line names must be in the save: a country, a Country
// line before the hexes, a unit on the hex. Each is refused naming the line;
// a hex off the map (a spotted unit since taken off it) stays unspotted.
TEST_F(StateFiles, ASavesSpottedHexesNameWhatTheSaveHolds) {
  cJednostkaLadowa& seen = AddLand(1, 8, 9);
  game().loadedGame = 1;
  const std::string header = "#Hexes with units spoted with air recon";
  for (const auto& [lines, what] :
       {std::pair{"\r\nCountry;4;\r\n8;9;", u"at line 2 (counting from 1) names in field 2 no country the save holds"},
        std::pair{"\r\nCountry;0;", u"at line 2 (counting from 1) names in field 2 no country the save holds"},
        std::pair{"\r\nCountry;4;", u"at line 2 (counting from 1) names in field 2 no country the save holds"},
        std::pair{"\r\n8;9;\r\nCountry;3;", u"at line 2 (counting from 1) gives a hex before any Country line"},
        std::pair{"\r\nCountry;3;\r\n8;9;\r\n7;9;", u"at line 4 (counting from 1) names hex (7, 9), on which the "
                                                       u"save holds no unit"}}) {
    dir_.Write("data/save/out/airrecon_units.csv", header + lines);
    test::LogCapture log;
    EXPECT_THROW(LoadAirReconUnits(game(), test::kSaveTemplate), FatalExitError) << lines;
    EXPECT_TRUE(log.ContainsText(u"airrecon_units.csv " + std::u16string(what))) << lines;
  }
  dir_.Write("data/save/out/airrecon_units.csv", header + "\r\nCountry;3;\r\n-1;-1;\r\n8;9;");
  test::LogCapture log;
  LoadAirReconUnits(game(), test::kSaveTemplate);
  EXPECT_EQ(country(3).reconSpottedUnits, (std::list<cUnit*>{&seen}));
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
}

TEST_F(StateFiles, ReconLinesThatAreIgnored) {
  cJednostkaLadowa& seen = AddLand(1, 8, 9);
  Scenario("airrecon_units.csv",
           "#x\n8;9;\nCountry;7;\n8;9;\nCountry;2;\nx;9;\n1;1;\n8;99;\n8;9;\nCountry;\n8;9;");
  test::LogCapture log;
  LoadAirReconUnits(game(), test::kScenario);
  EXPECT_EQ(country(2).reconSpottedUnits, (std::list<cUnit*>{&seen, &seen}));
  EXPECT_TRUE(country(1).reconSpottedUnits.empty());
  EXPECT_TRUE(log.ContainsText(u"bad country"));
}

// In a save, the reports and the spotted units are absent only where the
// save is from before them: missing, they load as none; a folder in their
// place, or a file past its budget, refuses the load naming it, where it
// would otherwise load as if the save never had it.
TEST_F(StateFiles, ASavesReportsOrSpottedUnitsThereButUnreadableRefuseTheLoad) {
  game().loadedGame = 1;
  for (const char* file : {"airship_attacks.csv", "airrecon_units.csv"}) {
    SCOPED_TRACE(file);
    const auto load = [this, file] {
      if (std::string(file) == "airship_attacks.csv") {
        LoadAirshipAttacks(game(), test::kSaveTemplate);
      } else {
        LoadAirReconUnits(game(), test::kSaveTemplate);
      }
    };
    const std::filesystem::path path = dir_.path() / "data/save/out" / file;
    {
      test::LogCapture log;
      load();
      EXPECT_FALSE(log.ContainsText(u"ERROR"));
      EXPECT_TRUE(log.ContainsText(u"Nie uda?o si? otworzy? pliku - mo?e nie istnie?"));
    }
    for (const bool folder : {true, false}) {
      if (folder) {
        dir_.Write(std::string("data/save/out/") + file + "/kept.txt", "a folder, not a table");
      } else {
        std::filesystem::remove_all(path);
        dir_.Write(std::string("data/save/out/") + file, "#" + std::string(16 * 1024 * 1024 + 3, ';'));
      }
      test::LogCapture log;
      EXPECT_THROW(load(), FatalExitError);
      EXPECT_TRUE(log.Contains(u"ERROR: data\\save\\out\\" + Utf8ToUtf16(file) +
                               u" is there but cannot be read; only a save from before it was written lacks it, so "
                               u"the game is not loaded"));
      std::filesystem::remove_all(path);
    }
  }
}

// A save's spotted units and units' state are read as text: saved by an
// editor as UTF-8 with a mark, they load as written. A save from before the
// units' state loads without it.
TEST_F(StateFiles, ASavesLaterTablesAreReadAsTextAndMayBeAbsent) {
  cJednostkaLadowa& seen = AddLand(1, 8, 9);
  game().loadedGame = 1;
  {
    test::LogCapture log;
    LoadUnitState(game(), test::kSaveTemplate);
    EXPECT_TRUE(log.ContainsText(u"No unit_state.csv: a save from before it was written"));
    EXPECT_FALSE(log.ContainsText(u"ERROR"));
  }
  dir_.Write("data/save/out/airrecon_units.csv", "\xEF\xBB\xBF#Hexes\r\nCountry;3;\r\n8;9;\r\n");
  LoadAirReconUnits(game(), test::kSaveTemplate);
  EXPECT_EQ(country(3).reconSpottedUnits, (std::list<cUnit*>{&seen}));
}

TEST_F(StateFiles, MissingReconFileLeavesTheListsEmpty) {
  country(1).reconSpottedUnits = {&AddLand(1, 1, 1)};
  test::LogCapture log;
  LoadAirReconUnits(game(), test::kScenario);
  EXPECT_TRUE(country(1).reconSpottedUnits.empty());
  EXPECT_TRUE(log.Contains(u"Nie uda?o si? otworzy? pliku - mo?e nie istnie? (zadnych odkrytych jednostek)"));
}

}  // namespace
}  // namespace tr

namespace tr {
namespace {

class AirshipFile : public test::UnitFiles {};

TEST_F(AirshipFile, ReportsKeepEveryCharacterInUtf16) {
  const std::u16string polish = u"\u0141\u00f3d\u017a";
  const std::u16string cyrillic = u"\u041c\u043e\u0441\u043a\u0432\u0430 attacked";
  country(1).airshipAttackReports = {polish, u"a;b"};
  country(3).airshipAttackReports = {cyrillic};
  ASSERT_TRUE(WriteAirshipAttacks(game(), test::kSaveFolder));
  const std::string bytes = Saved("airship_attacks.csv");
  std::u16string expected = u"#Defender country ID;report\n1;" + polish + u";\n1;a,b;\n3;" + cyrillic + u";";
  std::string expectedBytes = Utf16ToUtf16Le(expected);
  EXPECT_EQ(bytes, expectedBytes);

  for (int id = 1; id <= 3; ++id) country(id).airshipAttackReports.clear();
  LoadAirshipAttacks(game(), test::kSaveTemplate);
  EXPECT_EQ(country(1).airshipAttackReports, (std::list<std::u16string>{polish, u"a,b"}));
  EXPECT_EQ(country(3).airshipAttackReports, (std::list<std::u16string>{cyrillic}));
  EXPECT_TRUE(country(2).airshipAttackReports.empty());
}

// A save's reports are UTF-16 and read as bytes: a UTF-8 mark in front of
// them is no mark of theirs, and the table then lacks its header line.
TEST_F(AirshipFile, ASavesReportsBehindAUtf8MarkAreRefused) {
  game().loadedGame = 1;
  std::string bytes = "\xEF\xBB\xBF";
  bytes += Utf16ToUtf16Le(u"#h\n1;r;");
  dir_.Write("data/save/out/airship_attacks.csv", bytes);
  EXPECT_THROW(LoadAirshipAttacks(game(), test::kSaveTemplate), FatalExitError);
  EXPECT_TRUE(country(1).airshipAttackReports.empty());
}

// A saved report line of text for its country or of a second report would
// lose the report: refused, naming the line and the field.
TEST_F(AirshipFile, ASavesReportsOfTextCountryOrTwoReportsAreRefused) {
  game().loadedGame = 1;
  for (const auto& [line, what] :
       {std::pair{u"x;bad;", u"at line 2 (counting from 1) names in field 1 no country the save holds;"},
        std::pair{u"2;one;two;", u"at line 2 (counting from 1) has more than the 2 fields of a line;"}}) {
    dir_.Write("data/save/out/airship_attacks.csv", Utf16ToUtf16Le(u"#h\n" + std::u16string(line) + u"\n1;kept;"));
    test::LogCapture log;
    EXPECT_THROW(LoadAirshipAttacks(game(), test::kSaveTemplate), FatalExitError);
    EXPECT_TRUE(log.ContainsText(u"airship_attacks.csv " + std::u16string(what)));
  }
  // A line of separators only, and separators past a report, hold nothing: they load as no report, the
  // last line without a line end as well.
  for (const char16_t* text : {u"#h\n;;;;\n1;kept;;;\n", u"#h\n1;kept;\n;;"}) {
    dir_.Write("data/save/out/airship_attacks.csv", Utf16ToUtf16Le(text));
    country(1).airshipAttackReports.clear();
    test::LogCapture log;
    LoadAirshipAttacks(game(), test::kSaveTemplate);
    EXPECT_FALSE(log.ContainsText(u"ERROR"));
    EXPECT_EQ(country(1).airshipAttackReports, (std::list<std::u16string>{u"kept"}));
  }
}

// A saved report of a country the save does not hold is refused naming its
// line; the report of the last country beside it loads.
TEST_F(AirshipFile, ASavesReportsNameItsCountries) {
  game().loadedGame = 1;
  for (const auto& [text, refusedAt] : {std::pair{u"#h\n3;kept;", u""}, std::pair{u"#h\n3;kept;\n4;far;", u"3"},
                                        std::pair{u"#h\n0;none;", u"2"}}) {
    const bool refused = *refusedAt != u'\0';
    dir_.Write("data/save/out/airship_attacks.csv", Utf16ToUtf16Le(text));
    country(3).airshipAttackReports.clear();
    test::LogCapture log;
    if (!refused) {
      LoadAirshipAttacks(game(), test::kSaveTemplate);
      EXPECT_EQ(country(3).airshipAttackReports, (std::list<std::u16string>{u"kept"}));
      continue;
    }
    EXPECT_THROW(LoadAirshipAttacks(game(), test::kSaveTemplate), FatalExitError);
    EXPECT_TRUE(log.ContainsText(u"airship_attacks.csv at line " + std::u16string(refusedAt) +
                                 u" (counting from 1) names in field 1 no country the save holds"));
  }
}

// A save's report line ends in ';' as the game writes it: one that does not,
// or that holds no ';' at all, was cut short and refuses the load at its line.
TEST_F(AirshipFile, ASavesReportLineCutShortIsRefused) {
  game().loadedGame = 1;
  const auto write = [this](std::u16string_view text) {
    dir_.Write("data/save/out/airship_attacks.csv", Utf16ToUtf16Le(text));
  };
  write(u"#h\n1;r;\n2;report;");
  LoadAirshipAttacks(game(), test::kSaveTemplate);
  EXPECT_EQ(country(1).airshipAttackReports, (std::list<std::u16string>{u"r"}));
  EXPECT_EQ(country(2).airshipAttackReports, (std::list<std::u16string>{u"report"}));
  for (const auto& [text, line] : {std::pair{u"#h\n1;r;\n2;report", 3}, std::pair{u"#h\n1;report\n2;r;", 2},
                                   std::pair{u"#h\n1;r;\n2\n", 3}}) {
    SCOPED_TRACE(line);
    write(text);
    test::LogCapture log;
    EXPECT_THROW(LoadAirshipAttacks(game(), test::kSaveTemplate), FatalExitError);
    EXPECT_TRUE(log.ContainsText(u"airship_attacks.csv at line " + Utf8ToUtf16(std::to_string(line)) +
                                 u" (counting from 1) has a line cut short"));
  }
}

// As many reports as the game keeps go into a save and come back whole; a
// save's file with one more is refused at its line, and a scenario's keeps
// the first ones. A line's fields after the report are not read.
TEST_F(AirshipFile, ReportsUpToTheLimitTheGameKeeps) {
  std::list<std::u16string> reports;
  for (int i = 0; i < 4096; ++i) reports.push_back(u"r" + Utf8ToUtf16(std::to_string(i)));
  country(2).airshipAttackReports = reports;
  ASSERT_TRUE(WriteAirshipAttacks(game(), test::kSaveFolder));
  const std::string bytes = Saved("airship_attacks.csv");
  country(2).airshipAttackReports.clear();
  game().loadedGame = 1;
  LoadAirshipAttacks(game(), test::kSaveTemplate);
  EXPECT_EQ(country(2).airshipAttackReports, reports);
  ASSERT_TRUE(WriteAirshipAttacks(game(), test::kSaveFolder));
  EXPECT_EQ(Saved("airship_attacks.csv"), bytes);

  std::string more = bytes;
  more += Utf16ToUtf16Le(u"\n3;late;");
  dir_.Write("data/save/out/airship_attacks.csv", more);
  {
    test::LogCapture log;
    EXPECT_THROW(LoadAirshipAttacks(game(), test::kSaveTemplate), FatalExitError);
    EXPECT_TRUE(log.ContainsText(u"airship_attacks.csv at line 4098 (counting from 1) has a report past the 4096 the "
                                 u"game keeps"));
  }
  game().loadedGame = 0;
  Scenario("airship_attacks.csv", more);
  test::LogCapture log;
  LoadAirshipAttacks(game(), test::kScenario);
  EXPECT_EQ(country(2).airshipAttackReports, reports);
  EXPECT_TRUE(country(3).airshipAttackReports.empty());
  EXPECT_TRUE(log.ContainsText(u"airship_attacks.csv holds more than the 4096 reports the game keeps; those from line "
                               u"4098 (counting from 1) on are left out"));
  std::string fields = Utf16ToUtf16Le(u"#h\n1;first;second;third;\n3;;\n2;x");
  Scenario("airship_attacks.csv", fields);
  LoadAirshipAttacks(game(), test::kScenario);
  EXPECT_EQ(country(1).airshipAttackReports, (std::list<std::u16string>{u"first"}));
  EXPECT_EQ(country(2).airshipAttackReports, (std::list<std::u16string>{u"x"}));
  EXPECT_EQ(country(3).airshipAttackReports, (std::list<std::u16string>{u""}));
}

TEST_F(AirshipFile, BadCountriesAndAMissingFile) {
  // The last line has no ';' after its report, and a stray odd byte follows it.
  const std::u16string text = u"#h\n9;far;\nx;bad;\n2\n2;kept";
  std::string bytes = Utf16ToUtf16Le(text);
  bytes.push_back('\x01');  // a stray odd byte is no unit
  Scenario("airship_attacks.csv", bytes);
  LoadAirshipAttacks(game(), test::kScenario);
  EXPECT_EQ(country(2).airshipAttackReports, (std::list<std::u16string>{u"kept"}));

  test::LogCapture log;
  LoadAirshipAttacks(game(), test::kSaveTemplate);
  EXPECT_TRUE(country(2).airshipAttackReports.empty());
  EXPECT_TRUE(log.Contains(u"Nie uda?o si? otworzy? pliku - mo?e nie istnie? (zadnych raportow do wyswietlenia)"));
}

}  // namespace
}  // namespace tr
