#include "scenario/scenario_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "foundation/fatal.h"
#include "foundation/file_budgets.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/ini_file.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/saved_info.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/gra.h"

namespace tr {
namespace {

class ScenarioInfoTest : public testing::Test {
 protected:
  void SetUp() override { SetGameRoot(dir_.path()); }
  void TearDown() override {
    SetGameRoot({});
    UnitCounterSizes() = {};
  }
  void LoadFrom(const std::string& text) {
    dir_.Write("data/scenarios/s/Info.ini", text);
    LoadScenarioInfo(game_, u"data\\scenarios\\s\\%s");
  }
  // The save's Info.ini of this text is refused, the log holding each part.
  void ExpectSaveRefused(const std::string& text, std::initializer_list<std::u16string> parts,
                         const std::string& trace = "") {
    dir_.Write("data/save/g/Info.ini", text);
    cGame saved;
    saved.loadedGame = 1;
    test::LogCapture log;
    EXPECT_THROW(LoadScenarioInfo(saved, u"data\\save\\g\\%s"), FatalExitError) << trace;
    for (const std::u16string& part : parts) EXPECT_TRUE(log.ContainsText(part)) << trace << Utf16ToUtf8(part);
  }
  test::TempDir dir_;
  cGame game_;
};

// The year and the scenario's name every folder must give.
constexpr char kRequired[] = "[Save]\r\nGameYear=1939\r\nScenarioName=s\r\n";

TEST_F(ScenarioInfoTest, ScenarioWithOnlyTheRequiredKeysTakesTheDefaults) {
  LoadFrom(std::string("[Duration]\r\nTurns=60\r\n") + kRequired);
  EXPECT_EQ(game_.date.impulse, 0);
  EXPECT_EQ(game_.date.month, 0);
  EXPECT_EQ(game_.date.year, 1939);
  EXPECT_EQ(game_.turn, 0);
  EXPECT_EQ(game_.turnsLeft, 60);
  EXPECT_FLOAT_EQ(game_.gameVersion, 1.0f);
  EXPECT_EQ(game_.gameDay, 1);
  EXPECT_EQ(game_.scenarioName, u"s");
  EXPECT_EQ(game_.pbemGame, 0);
  EXPECT_EQ(game_.pbemGameName, u"unknown");
  EXPECT_EQ(UnitCounterSizes().small, 0);
  EXPECT_EQ(UnitCounterSizes().large, 1);
}

// Without the file, or without the year or the scenario's name, nothing
// tells which game this is: the load stops with a line saying what is missing.
TEST_F(ScenarioInfoTest, MissingFileIsRefused) {
  test::LogCapture log;
  EXPECT_THROW(LoadScenarioInfo(game_, u"data\\scenarios\\none\\%s"), FatalExitError);
  EXPECT_TRUE(log.Contains(u"ERROR during opening INI file data\\scenarios\\none\\Info.ini"));
  EXPECT_TRUE(log.Contains(u"ERROR: data\\scenarios\\none\\Info.ini cannot be read; the game is not loaded"));
}

TEST_F(ScenarioInfoTest, MissingScenarioNameOrImpossibleYearIsRefused) {
  const std::u16string path = u"data\\scenarios\\s\\Info.ini";
  for (const auto& [text, line] : {
           std::pair{std::string("[Save]\r\nGameYear=1939\r\n"),
                     u"ERROR: " + path + u" has no Save/ScenarioName, the name of the folder of data\\scenarios the "
                                         u"game belongs to; the game is not loaded"},
           std::pair{std::string("[Save]\r\nGameYear=0\r\nScenarioName=s\r\n"),
                     u"ERROR: Save/GameYear (0) in " + path + u" is not a year from 1 to 100000; the game is not "
                                                              u"loaded"},
           std::pair{std::string("[Save]\r\nScenarioName=s\r\n"), u"ERROR: Save/GameYear (0) in " + path},
           std::pair{std::string("[Save]\r\nGameYear=-1939\r\nScenarioName=s\r\n"),
                     u"ERROR: Save/GameYear (-1939) in " + path},
           // Text reads as 0 in a scenario's file; the player is told the text.
           std::pair{std::string("[Save]\r\nGameYear=nineteen\r\nScenarioName=s\r\n"),
                     u"ERROR: " + path + u" gives the year of the game as nineteen, not a year from 1 to 100000"}}) {
    test::LogCapture log;
    EXPECT_THROW(LoadFrom(text), FatalExitError) << text;
    EXPECT_TRUE(log.ContainsText(line)) << text;
  }
}

// Names a received save gives for folders: the scenario's, whose tables and
// events are read, and the play-by-e-mail game's, where its turn is saved.
TEST_F(ScenarioInfoTest, FolderNamesThatLeaveTheirFolderAreFatal) {
  for (const std::string& line : {std::string("ScenarioName=..\\save\\evil"), std::string("ScenarioName=/etc"),
                                  std::string("ScenarioName=C:x"), std::string("PBEMGameName=..\\..\\x"),
                                  std::string("PBEMGameName=a%sb"), std::string("PBEMGameName=repo.dat"),
                                  std::string("PBEMGameName=.saving")}) {
    test::LogCapture log;
    int code = -1;
    try {
      const bool named = line.starts_with("ScenarioName");
      LoadFrom("[Save]\r\nGameYear=1939\r\n" + std::string(named ? "" : "ScenarioName=s\r\n") + line + "\r\n");
    } catch (const FatalExitError& error) {
      code = error.code();
    }
    EXPECT_EQ(code, 1) << line;
    const std::string key = line.substr(0, line.find('='));
    const std::u16string value = Utf8ToUtf16(line.substr(key.size() + 1));
    EXPECT_TRUE(key == "ScenarioName"
                    ? log.ContainsText(u"ERROR: Save/ScenarioName (\"" + value +
                                       u"\") in data\\scenarios\\s\\Info.ini is not the name of a folder of data\\")
                    : log.ContainsText(u"ERROR: The play-by-e-mail game's name \"" + value +
                                       u"\" (in data\\scenarios\\s\\Info.ini) cannot name its folder in data\\pbem: "))
        << line;
  }
}

// A received turn lies in the folder its game's turns are handed over in; in
// another game's folder it is refused, for that cause, and loads in its own.
TEST_F(ScenarioInfoTest, AReceivedTurnInAnotherGamesFolderIsRefusedForThatCause) {
  const std::string info = "[Save]\r\nGameYear=1939\r\nScenarioName=s\r\nPBEMGameName=Duel\r\n";
  dir_.Write("data/pbem/Other/Info.ini", info);
  dir_.Write("data/pbem/Duel/Info.ini", info);
  NoteLoadRefusal(eLoadRefusal::kOther);
  test::LogCapture log;
  EXPECT_THROW(LoadScenarioInfo(game_, u"data\\pbem\\Other\\%s"), FatalExitError);
  EXPECT_EQ(LastLoadRefusal(), eLoadRefusal::kAnotherGamesTurn);
  EXPECT_TRUE(log.ContainsText(u"ERROR: This turn belongs to the play-by-e-mail game \"Duel\""));
  NoteLoadRefusal(eLoadRefusal::kOther);
  LoadScenarioInfo(game_, u"data\\pbem\\Duel\\%s");
  EXPECT_EQ(game_.pbemGameName, u"Duel");
  EXPECT_EQ(LastLoadRefusal(), eLoadRefusal::kOther);
}

struct SizeCase {
  const char* key;
  int value;
  int small;
  int large;
};

class CounterSizeTest : public ScenarioInfoTest, public testing::WithParamInterface<SizeCase> {};

TEST_P(CounterSizeTest, StoredMinusOneWithinOneToFive) {
  const SizeCase& c = GetParam();
  LoadFrom(std::string(kRequired) + "[Map]\r\n" + c.key + "=" + std::to_string(c.value) + "\r\n");
  EXPECT_EQ(UnitCounterSizes().small, c.small);
  EXPECT_EQ(UnitCounterSizes().large, c.large);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CounterSizeTest,
                         testing::Values(SizeCase{"SmallUnitsSize", 4, 3, 1}, SizeCase{"SmallUnitsSize", 7, 0, 1},
                                         SizeCase{"LargeUnitsSize", 1, 0, 1}, SizeCase{"LargeUnitsSize", 6, 0, 5}));

TEST_F(ScenarioInfoTest, PlayersStopAtTheFirstGap) {
  LoadFrom(
      "[Save]\r\nGameYear=1939\r\nScenarioName=s\r\nPBEMGameName=Duel\r\nPBEMPlayer1Name=Ann\r\nPBEMPlayer1Email=a@x\r\n"
      "PBEMPlayer2Name=Bob\r\nPBEMPlayer2Email=b@x\r\nPBEMPlayer3Name=Cyd\r\nPBEMPlayer4Name=Dan\r\n"
      "PBEMPlayer4Email=d@x\r\n");
  EXPECT_EQ(game_.pbemGame, 1);
  EXPECT_EQ(game_.pbemGameName, u"Duel");
  ASSERT_EQ(game_.pbemPlayers.size(), 2u);
  EXPECT_EQ(game_.pbemPlayers[1], (sPbemPlayer{2, u"Bob", u"b@x"}));
}

// A day of the month is read from 0 to 31; one outside is logged and read as the first.
TEST_F(ScenarioInfoTest, GameDaysAtTheirBoundsAreReadAndOnePastIsNot) {
  for (const auto& [day, read, warned] : {std::tuple{0, 0, false}, std::tuple{31, 31, false},
                                          std::tuple{-1, 1, true}, std::tuple{32, 1, true}}) {
    test::LogCapture log;
    LoadFrom("[Save]\r\nGameDay=" + std::to_string(day) + "\r\nGameYear=1939\r\nScenarioName=s\r\n");
    EXPECT_EQ(game_.gameDay, read) << day;
    EXPECT_EQ(log.ContainsText(u"is outside 0 to 31; 1 used"), warned) << day;
  }
}

// December is a month; past it the game goes on from January, and says so.
TEST_F(ScenarioInfoTest, MonthsRunFromOneToTwelve) {
  for (const auto& [month, read, warned] : {std::tuple{1, 1, false}, std::tuple{12, 12, false},
                                            std::tuple{13, 1, true}, std::tuple{0, 0, true}}) {
    test::LogCapture log;
    LoadFrom("[Save]\r\nGameMonth=" + std::to_string(month) + "\r\nGameYear=1939\r\nScenarioName=s\r\n");
    EXPECT_EQ(game_.date.month, read) << month;
    EXPECT_EQ(log.ContainsText(u"is not a month from 1 to 12"), warned) << month;
  }
}

// A scenario's own file reads text where a number belongs as 0, or as the
// digits before it, and says nothing: its authors may rely on that.
TEST_F(ScenarioInfoTest, AScenarioReadsTextForANumberAsBefore) {
  test::LogCapture log;
  LoadFrom(std::string(kRequired) + "Turn=abc\r\nImpulse=x3\r\nGameDay=first\r\nGameMonth=9x\r\n");
  EXPECT_EQ(game_.turn, 0);
  EXPECT_EQ(game_.date.impulse, 0);
  EXPECT_EQ(game_.gameDay, 0);
  EXPECT_EQ(game_.date.month, 9);
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  EXPECT_FALSE(log.ContainsText(u"WARNING"));
}

// A scenario's length its author wrote as text reads by its digits, or as 0;
// the save writes the length the game plays to as a number, so the save,
// which must hold a number there, loads with the turns the scenario left. A
// length short of the turn, a war over at once, is saved as the turn.
TEST_F(ScenarioInfoTest, ALengthWrittenAsTextIsSavedAsTheNumberPlayedTo) {
  dir_.Write("data/save/g/.keep", "");
  for (const auto& [written, saved] :
       {std::pair{"abc", "5"}, std::pair{"3", "5"}, std::pair{"72 turns", "72"}, std::pair{"60", "60"}}) {
    LoadFrom(std::string("[Duration]\r\nTurns=") + written + "\r\n" + kRequired + "Turn=5\r\n");
    const int turnsLeft = std::max(game_.turnsLeft, 0);
    ASSERT_TRUE(WriteSaveInfo(game_, u"data\\save\\g", sLocalTime{2010, 7, 15, 14, 5}));
    EXPECT_NE(dir_.Read("data/save/g/Info.ini").find(std::string("\r\nTurns = ") + saved + "\r\n"),
              std::string::npos)
        << written;
    cGame loaded;
    loaded.loadedGame = 1;
    test::LogCapture log;
    LoadScenarioInfo(loaded, u"data\\save\\g\\%s");
    EXPECT_EQ(loaded.turnsLeft, turnsLeft) << written;
    EXPECT_FALSE(log.ContainsText(u"ERROR")) << written;
  }
}

// A scenario's file of as many keys as a save may hold with its own is saved
// and loaded back whole; one key more is not saved, and a save's file given
// one more is refused at the line that adds it.
TEST_F(ScenarioInfoTest, SavedInfoHoldsUpToTheLimitOfKeys) {
  dir_.Write("data/save/g/.keep", "");
  game_.scenarioName = u"s";
  game_.date = {1, 9, 1939};
  const auto scenarioOf = [](std::size_t keys) {
    std::string text = "[Misc]\r\n";
    for (std::size_t i = 0; i < keys; ++i) text += "k" + std::to_string(i) + "=1\r\n";
    return text;
  };
  const auto savedEntries = [this] {
    cIniFile ini;
    EXPECT_TRUE(ini.Load(u"data\\save\\g\\Info.ini"));
    return ini.EntryCount();
  };
  dir_.Write("data/scenarios/s/Info.ini", scenarioOf(0));
  ASSERT_TRUE(WriteSaveInfo(game_, u"data\\save\\g", sLocalTime{2010, 7, 15, 14, 5}));
  const std::size_t keys = cIniFile::kMostEntries - savedEntries();
  dir_.Write("data/scenarios/s/Info.ini", scenarioOf(keys));
  ASSERT_TRUE(WriteSaveInfo(game_, u"data\\save\\g", sLocalTime{2010, 7, 15, 14, 5}));
  EXPECT_EQ(savedEntries(), cIniFile::kMostEntries);
  const std::string text = dir_.Read("data/save/g/Info.ini");
  {
    cGame whole;
    whole.loadedGame = 1;
    LoadScenarioInfo(whole, u"data\\save\\g\\%s");
    EXPECT_EQ(whole.date.year, 1939);
  }
  const auto line = std::count(text.begin(), text.end(), '\n') + 2;
  ExpectSaveRefused(text + "[Misc]\r\nk=1\r\n",
                    {u"data\\save\\g\\Info.ini at line " + Utf8ToUtf16(std::to_string(line)) +
                     u" (counting from 1) adds a key or section past the 4096 the game writes at most"});
  dir_.Write("data/scenarios/s/Info.ini", scenarioOf(keys + 1));
  const test::LogCapture log;
  EXPECT_FALSE(WriteSaveInfo(game_, u"data\\save\\g", sLocalTime{2010, 7, 15, 14, 5}));
  EXPECT_TRUE(log.ContainsText(u"data\\save\\g\\Info.ini would hold 4097 keys and sections, more than the 4096 a "
                               u"load reads"));
}

TEST_F(ScenarioInfoTest, SaveWritesTheSaveSectionAndReadsBack) {
  dir_.Write("data/scenarios/s/Info.ini", "[Duration]\r\nTurns=60\r\n[Misc]\r\nAuthor=Us\r\n");
  dir_.Write("data/save/g/.keep", "");
  game_.scenarioName = u"s";
  game_.turn = 12;
  game_.date = {3, 7, 1941};
  game_.gameDay = 15;
  // The month the game started at (or was loaded at) is long past.
  game_.displayedMonth = 9;
  game_.displayedYear = 1939;
  // The harbours' last monthly step, taken before the month the game stands at.
  game_.lastMonthProcessed = 6;
  ASSERT_TRUE(WriteSaveInfo(game_, u"data\\save\\g", sLocalTime{2010, 7, 15, 14, 5}));
  const std::string text = dir_.Read("data/save/g/Info.ini");
  EXPECT_NE(text.find("Date = 10.07.15 14:05\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("GameMonthDisplayed = 7\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("GameYearDisplayed = 1941\r\n"), std::string::npos) << text;
  // The day of the date the game stands at, not the day it started at.
  EXPECT_NE(text.find("GameDayDisplayed = " + std::to_string(game_.date.GetDayOfMonth()) + "\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("GameVersion = 1.02\r\n"), std::string::npos);
  EXPECT_NE(text.find("Author = Us"), std::string::npos);
  EXPECT_EQ(text.find("PBEMGameName"), std::string::npos);

  cGame loaded;
  LoadScenarioInfo(loaded, u"data\\save\\g\\%s");
  EXPECT_EQ(loaded.turn, 12);
  EXPECT_EQ(loaded.turnsLeft, 48);
  EXPECT_EQ(loaded.date.impulse, 3);
  EXPECT_EQ(loaded.date.month, 7);
  EXPECT_EQ(loaded.date.year, 1941);
  EXPECT_EQ(loaded.gameDay, 15);
  EXPECT_EQ(loaded.scenarioName, u"s");
  EXPECT_FLOAT_EQ(loaded.gameVersion, 1.02f);
  EXPECT_EQ(loaded.pbemGame, 0);
  // Loaded as a save, the whole file goes in; one without its turn's line was cut on its way.
  const std::size_t turn = text.find("\r\nTurn = 12\r\n");
  ASSERT_NE(turn, std::string::npos);
  {
    cGame whole;
    whole.loadedGame = 1;
    LoadScenarioInfo(whole, u"data\\save\\g\\%s");
    EXPECT_EQ(whole.turn, 12);
    ExpectSaveRefused(std::string(text).erase(turn, 11),
                      {u"data\\save\\g\\Info.ini lacks a line the game writes into every save (cut short?)"});
  }
  // Text for a number the save writes would read as 0: refused, naming the key, and the line and the number as
  // the player says it.
  for (const auto& [key, what] : {std::pair{"Impulse", u"the impulse of the turn"},
                                  std::pair{"GameMonth", u"the month of the game"},
                                  std::pair{"GameYear", u"the year of the game"},
                                  std::pair{"Turn", u"the turn of the game"},
                                  std::pair{"GameDay", u"the day of the game"},
                                  std::pair{"LastFleetId", u"the numbering of the fleets"},
                                  std::pair{"LastNavalUnitId", u"the numbering of the ships"},
                                  std::pair{"LastLandUnitId", u"the numbering of the land units"},
                                  std::pair{"LastAirUnitId", u"the numbering of the air units"},
                                  std::pair{"LastConvoyId", u"the numbering of the convoys"},
                                  std::pair{"LastMonthProcessed", u"the month whose monthly steps last ran"},
                                  std::pair{"Duration/Turns", u"the number of turns the game lasts"}}) {
    const std::string_view fullKey = key;
    const std::string section = fullKey.find('/') == std::string_view::npos ? "Save/" : "";
    const std::string line = std::string("\r\n") + std::string(fullKey.substr(fullKey.find('/') + 1)) + " = ";
    const std::size_t at = text.find(line);
    ASSERT_NE(at, std::string::npos) << key;
    const std::size_t end = text.find("\r\n", at + line.size());
    const std::string written = text.substr(at + line.size(), end - at - line.size()) + "x";
    const std::string lineNumber = std::to_string(std::count(text.begin(), text.begin() + at + 2, '\n') + 1);
    ExpectSaveRefused(std::string(text).replace(at + line.size(), end - at - line.size(), written),
                      {u"data\\save\\g\\Info.ini has \"" + Utf8ToUtf16(written) + u"\" for " +
                           Utf8ToUtf16(section + key) + u", not a whole number",
                       u"data\\save\\g\\Info.ini at line " + Utf8ToUtf16(lineNumber) + u" (counting from 1) gives \"" +
                           Utf8ToUtf16(written) + u"\" as " + what + u", where the game writes a whole number"},
                      key);
  }
  dir_.Write("data/save/g/Info.ini", text);
  // With its unit state beside it the save gives its counters and that month back.
  dir_.Write("data/save/g/unit_state.csv", "#\r\n");
  RestoreSavedCounters(loaded, u"data\\save\\g\\%s");
  EXPECT_EQ(loaded.lastMonthProcessed, 6);
  EXPECT_TRUE(SaveKeepsItsNumbering(u"data\\save\\g\\%s"));
  // Month 0 (none processed yet) to 12 read back; 13 is no month and leaves the month as it was.
  const std::size_t month = text.find("LastMonthProcessed = 6\r\n");
  ASSERT_NE(month, std::string::npos);
  for (const auto& [written, read, warned] :
       {std::tuple{"0", 0, false}, std::tuple{"12", 12, false}, std::tuple{"13", 5, true}}) {
    std::string edited = text;
    edited.replace(month, 24, std::string("LastMonthProcessed = ") + written + "\r\n");
    dir_.Write("data/save/g/Info.ini", edited);
    loaded.lastMonthProcessed = 5;
    test::LogCapture log;
    RestoreSavedCounters(loaded, u"data\\save\\g\\%s");
    EXPECT_EQ(loaded.lastMonthProcessed, read) << written;
    EXPECT_EQ(log.ContainsText(u"LastMonthProcessed"), warned) << written;
  }
  // A save that lost one of its counters is numbered as a scenario is, and gives back nothing.
  const std::size_t fleet = text.find("LastFleetId = ");
  ASSERT_NE(fleet, std::string::npos);
  std::string lost = text;
  lost.erase(fleet, text.find("\r\n", fleet) + 2 - fleet);
  dir_.Write("data/save/g/Info.ini", lost);
  EXPECT_FALSE(SaveKeepsItsNumbering(u"data\\save\\g\\%s"));
  loaded.lastMonthProcessed = 5;
  RestoreSavedCounters(loaded, u"data\\save\\g\\%s");
  EXPECT_EQ(loaded.lastMonthProcessed, 5);
  // Read again after the load read it first, an Info.ini gone since refuses
  // the load: the scenario's counters would give numbers in use out again.
  std::filesystem::remove(dir_.path() / "data/save/g/Info.ini");
  for (const std::function<void()>& read : std::initializer_list<std::function<void()>>{
           [] { SaveKeepsItsNumbering(u"data\\save\\g\\%s"); },
           [&loaded] { RestoreSavedCounters(loaded, u"data\\save\\g\\%s"); }}) {
    test::LogCapture log;
    int code = 0;
    try {
      read();
    } catch (const FatalExitError& error) {
      code = error.code();
    }
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(log.Contains(u"ERROR: data\\save\\g\\Info.ini cannot be read; the game is not loaded"));
  }
}

// Every key the save writes is read back only as the game writes it: any
// other text, value or form of its line, a NUL, a repeated key or section,
// or a turn past the game's length refuses the save, naming the line and the
// key; the save as written loads.
TEST_F(ScenarioInfoTest, ASavedKeyIsReadOnlyAsTheGameWritesIt) {
  dir_.Write("data/scenarios/s/Info.ini", "[Duration]\r\nTurns=60\r\n[Misc]\r\nAuthor=Us\r\n");
  dir_.Write("data/save/g/.keep", "");
  game_.scenarioName = u"s";
  game_.turn = 12;
  game_.turnsLeft = 48;
  game_.date = {3, 7, 1941};
  game_.gameDay = 15;
  ASSERT_TRUE(WriteSaveInfo(game_, u"data\\save\\g", sLocalTime{2010, 7, 15, 14, 5}));
  const std::string text = dir_.Read("data/save/g/Info.ini");
  // Where the key's value stands in the text, and its line.
  struct sAt {
    std::size_t start = 0;
    std::size_t end = 0;
    std::u16string line;
  };
  const auto find = [&text](std::string_view key) {
    const std::string name = "\r\n" + std::string(IniNameOf(key)) + " = ";
    const std::size_t at = text.find(name);
    EXPECT_NE(at, std::string::npos) << key;
    const auto line = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at) + 2, '\n') + 1;
    return sAt{at + name.size(), text.find("\r\n", at + name.size()), Utf8ToUtf16(std::to_string(line))};
  };
  const auto refused = [this](const std::string& edited, const sAt& at, std::u16string_view what,
                              const std::string& trace) {
    ExpectSaveRefused(edited, {u"data\\save\\g\\Info.ini at line " + at.line + u" (counting from 1) ", std::u16string(what)},
                      trace);
  };
  {
    cGame sound;
    sound.loadedGame = 1;
    test::LogCapture log;
    LoadScenarioInfo(sound, u"data\\save\\g\\%s");
    EXPECT_EQ(sound.turnsLeft, 48);
    EXPECT_FALSE(log.ContainsText(u"ERROR"));
  }
  for (const sSavedInfoKey& key : SavedInfoKeys()) {
    if (key.kind == eSavedValue::kText) continue;
    const sAt at = find(key.key);
    std::vector<std::string> values{"abc", "5abc", "1.5.5", "", "2147483648", "-1"};
    if (key.kind == eSavedValue::kWhole) {
      values.insert(values.end(), {std::to_string(key.low - 1), std::to_string(key.high + 1), "0" + std::to_string(key.low)});
    }
    if (key.kind == eSavedValue::kVersion) values.insert(values.end(), {"99999", "0.99", "1.03", "1.020"});
    const std::u16string name = Utf8ToUtf16(key.key);
    for (const std::string& value : values) {
      const std::string trace = std::string(key.key) + " = " + value;
      if (key.kind == eSavedValue::kWhole && value == "-1" && key.low <= -1) continue;
      refused(std::string(text).replace(at.start, at.end - at.start, value), at, u"Info.ini key " + name + u" gives", trace);
    }
    const std::string written = text.substr(at.start, at.end - at.start);
    refused(std::string(text).insert(at.start, " "), at, u"other than as \"key = value\"", "blank");
    refused(std::string(text).insert(at.start + 1, std::string(1, '\0')), at, u"holds a NUL byte", "NUL");
    // The key's line again, right after it.
    const std::string line = std::string(IniNameOf(key.key)) + " = " + written + "\r\n";
    sAt again = at;
    again.line = Utf8ToUtf16(std::to_string(std::stoi(Utf16ToUtf8(at.line)) + 1));
    refused(std::string(text).insert(at.end + 2, line), again, u"repeats " + name + u", which the game writes once",
            "repeat");
  }
  // A section again, and a key of the scenario's own again.
  const auto lines = std::count(text.begin(), text.end(), '\n');
  ExpectSaveRefused(text + "[Misc]\r\n",
                    {u"Info.ini at line " + Utf8ToUtf16(std::to_string(lines + 1)) + u" (counting from 1) repeats [Misc]"});
  const sAt author = find("Misc/Author");
  ExpectSaveRefused(std::string(text).insert(author.end + 2, "Author = Us\r\n"), {u"repeats Misc/Author"});
  // The game is not saved past its last turn, which it may be saved at.
  const sAt turn = find("Save/Turn");
  refused(std::string(text).replace(turn.start, turn.end - turn.start, "61"), turn,
          u"gives 61 as the turn of the game, past the 60 turns the game lasts", "61");
  dir_.Write("data/save/g/Info.ini", std::string(text).replace(turn.start, turn.end - turn.start, "60"));
  cGame last;
  last.loadedGame = 1;
  LoadScenarioInfo(last, u"data\\save\\g\\%s");
  EXPECT_EQ(last.turnsLeft, 0);
}

// Info.ini is written up to the bytes its load reads and not one more: the
// scenario's own settings copied into it can fill it.
TEST_F(ScenarioInfoTest, ASaveInfoAtTheLoadBudgetIsWrittenAndOnePastIsNot) {
  dir_.Write("data/save/b/.keep", "");
  game_.scenarioName = u"s";
  const auto saved = [&](std::size_t author) {
    dir_.Write("data/scenarios/s/Info.ini", "[Misc]\r\nAuthor=" + std::string(author, 'w') + "\r\n");
    return WriteSaveInfo(game_, u"data\\save\\b", sLocalTime{2011, 8, 16, 15, 6});
  };
  ASSERT_TRUE(saved(3));
  const std::filesystem::path info = dir_.path() / "data/save/b/Info.ini";
  const std::size_t rest = std::filesystem::file_size(info) - 3;
  const std::uint64_t budget = FileBudgetOf("Info.ini", kTextFileBudget);
  test::LogCapture log;
  EXPECT_TRUE(saved(budget - rest));
  EXPECT_EQ(std::filesystem::file_size(info), budget);
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  EXPECT_FALSE(saved(budget - rest + 1));
  EXPECT_TRUE(log.Contains(Format(u"ERROR: data\\save\\b\\Info.ini would hold %lli bytes, more than the %lli its "
                                  u"load reads; it is not written",
                                  static_cast<long long>(budget + 1), static_cast<long long>(budget))));
  EXPECT_EQ(std::filesystem::file_size(info), budget);
}

// A scenario is started only when every save of its game fits what a save's
// load reads: the largest scenario that starts saves a game of the widest
// values and the most players by e-mail, and one letter or one key more
// refuses the scenario at its start rather than every save of the war.
TEST_F(ScenarioInfoTest, AScenarioIsStartedOnlyWhenItsSavesFit) {
  dir_.Write("data/save/w/.keep", "");
  const auto starts = [this](const std::string& misc) {
    dir_.Write("data/scenarios/s/Info.ini", std::string(kRequired) + "[Misc]\r\n" + misc);
    cGame fresh;
    test::LogCapture log;
    try {
      LoadScenarioInfo(fresh, u"data\\scenarios\\s\\%s");
    } catch (const FatalExitError&) {
      EXPECT_TRUE(log.ContainsText(u"ERROR: data\\scenarios\\s\\Info.ini is too large to be saved with a game"));
      return false;
    }
    return true;
  };
  // The widest game the scenario can reach, saved.
  const auto savesWidest = [this] {
    cGame widest;
    LoadScenarioInfo(widest, u"data\\scenarios\\s\\%s");
    widest.turn = 1000000;
    widest.date = {1, 12, 100000};
    widest.gameDay = 31;
    widest.nextFleetId = widest.nextLandUnitId = widest.nextAirUnitId = widest.nextNavalUnitId =
        widest.nextConvoyId = 999999999;
    widest.pbemGame = 1;
    widest.pbemGameName = std::u16string(249, u'g');
    for (int i = 1; i <= 8; ++i) PushBackSetupRecord(widest.pbemPlayers, i, std::u16string(99, u'n'), std::u16string(99, u'e'));
    return WriteSaveInfo(widest, u"data\\save\\w", sLocalTime{2010, 7, 15, 14, 5});
  };
  // The most the scenario's section Misc may hold and start.
  // Under the bytes and keys a scenario's file is read to, past those its save may hold.
  const auto most = [&starts](const std::function<std::string(std::size_t)>& misc, std::size_t high) {
    std::size_t low = 0;
    while (low + 1 < high) {
      const std::size_t mid = (low + high) / 2;
      (starts(misc(mid)) ? low : high) = mid;
    }
    return low;
  };
  const auto author = [](std::size_t n) { return "Author=" + std::string(n, 'w') + "\r\n"; };
  const std::size_t letters = most(author, 65000);
  ASSERT_GT(letters, 60000u);
  EXPECT_TRUE(starts(author(letters)));
  EXPECT_TRUE(savesWidest());
  EXPECT_FALSE(starts(author(letters + 1)));
  const auto keys = [](std::size_t n) {
    std::string text;
    for (std::size_t i = 0; i < n; ++i) text += "k" + std::to_string(i) + "=1\r\n";
    return text;
  };
  const std::size_t count = most(keys, 4096);
  ASSERT_GT(count, 4000u);
  EXPECT_TRUE(starts(keys(count)));
  EXPECT_TRUE(savesWidest());
  EXPECT_FALSE(starts(keys(count + 1)));
}

TEST_F(ScenarioInfoTest, PbemSaveKeepsThePlayers) {
  dir_.Write("data/save/p/.keep", "");
  game_.scenarioName = u"missing";
  game_.pbemGame = 1;
  game_.pbemGameName = u"Duel";
  PushBackSetupRecord(game_.pbemPlayers, 1, u"Ann", u"a@x");
  PushBackSetupRecord(game_.pbemPlayers, 2, std::u16string(150, u'b'), u"b@x");
  ASSERT_TRUE(WriteSaveInfo(game_, u"data\\save\\p", sLocalTime{}));
  cGame loaded;
  LoadScenarioInfo(loaded, u"data\\save\\p\\%s");
  EXPECT_EQ(loaded.pbemGameName, u"Duel");
  EXPECT_EQ(loaded.pbemPlayers, game_.pbemPlayers);
  EXPECT_EQ(loaded.pbemPlayers[1].name.size(), 99u);
}

}  // namespace
}  // namespace tr
