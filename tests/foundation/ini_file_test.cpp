#include "foundation/ini_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/format.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

class IniFileTest : public testing::Test {
 protected:
  std::u16string PathOf(std::string_view name) const { return Utf8ToUtf16((dir_.path() / name).string()); }
  cIniFile LoadText(std::string_view text) {
    dir_.Write("a.ini", text);
    cIniFile ini;
    EXPECT_TRUE(ini.Load(PathOf("a.ini")));
    return ini;
  }
  test::TempDir dir_;
};

TEST_F(IniFileTest, ParsesSectionsKeysAndValues) {
  cIniFile ini = LoadText(
      "Top=1\n[Main]\r\n  Key  =  some value  \r\nEmpty=\n; comment\nnoequals\n[Other\nKey=2\nKey=3\n"
      "[Main]\nSecond=x=y\n");
  EXPECT_EQ(ini.GetString("Main/Key", u"d"), u"some value");
  EXPECT_EQ(ini.GetString("Main/Empty", u"d"), u"");
  EXPECT_EQ(ini.GetInt("Main/Empty", 5), 0);
  EXPECT_FALSE(ini.GetBool("Main/Empty", true));
  EXPECT_EQ(ini.GetInt("Othe/Key", 0), 3);  // the closing bracket is not checked; last line wins
  EXPECT_EQ(ini.GetString("Main/Second", u""), u"x=y");
  EXPECT_TRUE(ini.HasKey("Top"));
  EXPECT_FALSE(ini.HasKey("Main/noequals"));
  // Each value's line, counting from 1 over every line end; 0 for a key not
  // loaded and for one set since.
  EXPECT_EQ(ini.LineOf("Top"), 1);
  EXPECT_EQ(ini.LineOf("Main/Key"), 3);
  EXPECT_EQ(ini.LineOf("Othe/Key"), 9);
  EXPECT_EQ(ini.LineOf("Main/Second"), 11);
  EXPECT_EQ(ini.LineOf("Main/noequals"), 0);
  ini.SetString("Main/Key", u"set");
  EXPECT_EQ(ini.LineOf("Main/Key"), 0);
}

// A stranger's file of millions of keys is read up to its limit of entries:
// keys and sections alike count, a section's key named as a loose key too,
// while a key or a section given again adds none. The line the read stops at
// counts the empty lines before it; a file loaded after it is read whole.
TEST_F(IniFileTest, ReadsUpToItsLimitOfKeysAndSections) {
  for (const bool sharedName : {true, false}) {
    for (const bool again : {true, false}) {
      SCOPED_TRACE(testing::Message() << "key named as a loose one " << sharedName << ", keys again " << again);
      // Loose, Main, Main/Loose or Main/Other, k3 up to k4094 and Last: as many entries as are held.
      std::string text = "Loose=1\n\n\r\n[Main]\n";
      text += sharedName ? "Loose=2\n" : "Other=2\n";
      for (std::size_t i = 3; i + 1 < cIniFile::kMostEntries; ++i) {
        text += "k" + std::to_string(i) + "=" + std::to_string(i) + "\n";
      }
      if (again) text += "k3=again\n\n[Main]\n";
      text += "[Last]\n";
      {
        const test::LogCapture log;
        cIniFile ini = LoadText(text);
        EXPECT_EQ(ini.CutAtLine(), 0);
        EXPECT_EQ(ini.EntryCount(), cIniFile::kMostEntries);
        EXPECT_EQ(ini.GetString("Main/k3", u""), again ? u"again" : u"3");
        EXPECT_TRUE(ini.HasKey("Last"));
        EXPECT_FALSE(log.ContainsText(u"WARNING"));
      }
      for (const std::string_view past : {"[Past]\nk4=x\n", "Past=1\n[More]\n"}) {
        const test::LogCapture log;
        cIniFile ini = LoadText(text + std::string(past));
        const int line = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
        EXPECT_EQ(ini.CutAtLine(), line);
        EXPECT_EQ(ini.EntryCount(), cIniFile::kMostEntries);
        EXPECT_FALSE(ini.HasKey("Past"));
        EXPECT_FALSE(ini.HasKey("Last/Past"));
        EXPECT_EQ(ini.GetString("Main/k4", u""), u"4");
        EXPECT_TRUE(log.Contains(Format(u"WARNING: %s holds more than the 4096 keys and sections an INI file of the "
                                        u"game holds; it is read up to its line %i (counting from 1), and that line "
                                        u"and the rest are left out",
                                        PathOf("a.ini"), line)));
        dir_.Write("b.ini", "[Small]\nKey=1\n");
        ASSERT_TRUE(ini.Load(PathOf("b.ini")));
        EXPECT_EQ(ini.CutAtLine(), 0);
        EXPECT_EQ(ini.EntryCount(), 2u);
      }
    }
  }
}

struct BoolCase {
  const char* stored;
  bool expected;
};
class IniBool : public IniFileTest, public testing::WithParamInterface<BoolCase> {};

TEST_P(IniBool, OnlyTrueAndYesAreTrue) {
  cIniFile ini = LoadText(std::string("[M]\nB=") + GetParam().stored + "\n");
  EXPECT_EQ(ini.GetBool("M/B", !GetParam().expected), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, IniBool,
                         testing::Values(BoolCase{"true", true}, BoolCase{"yes", true},
                                         BoolCase{"Yes", false}, BoolCase{"1", false},
                                         BoolCase{"TRUE", false}, BoolCase{"false", false}));

TEST_F(IniFileTest, IntParsesLeadingNumber) {
  cIniFile ini = LoadText("[M]\nA= -12abc\nB=x7\nC=+40\nD=99999999999999\n");
  EXPECT_EQ(ini.GetInt("M/A", 0), -12);
  EXPECT_EQ(ini.GetInt("M/B", 1), 0);
  EXPECT_EQ(ini.GetInt("M/C", 0), 40);
  EXPECT_EQ(ini.GetInt("M/D", 0), 2147483647);
}

TEST_F(IniFileTest, GettersStoreDefaultsAndSaveWritesSortedSections) {
  cIniFile ini = LoadText("# head\n[Main]\nb=2\n[Audio]\nVol = 5\n# trailing comment\n");
  EXPECT_EQ(ini.GetInt("Main/a", 7), 7);
  EXPECT_TRUE(ini.GetBool("Border/On", true));
  EXPECT_EQ(ini.GetString("Border/Name", u"x"), u"x");
  ini.Save();
  EXPECT_EQ(dir_.Read("a.ini"),
            "\r\n[Audio]\r\nVol = 5\r\n"
            "\r\n[Border]\r\nName = x\r\nOn = true\r\n"
            "\r\n# head\r\n[Main]\r\na = 7\r\nb = 2\r\n");
}

TEST_F(IniFileTest, SectionNamedLikeAnotherDoesNotTakeItsKeys) {
  cIniFile ini = LoadText("[Main]\nKey=1\n[Main!]\nOther=2\n[Main Extra]\nZ=3\n");
  ini.Save();
  cIniFile again;
  ASSERT_TRUE(again.Load(PathOf("a.ini")));
  EXPECT_EQ(again.GetInt("Main/Key", 0), 1);
  EXPECT_EQ(again.GetInt("Main!/Other", 0), 2);
  EXPECT_EQ(again.GetInt("Main Extra/Z", 0), 3);
  EXPECT_FALSE(again.HasKey("Main!/Key"));
}

// One object loaded again from another file holds that file's keys only.
TEST_F(IniFileTest, LoadingAgainForgetsTheKeysOfTheFileBefore) {
  cIniFile ini = LoadText("Loose=1\n[Main]\nKey=1\n");
  dir_.Write("b.ini", "[Other]\nKey=2\n");
  ASSERT_TRUE(ini.Load(PathOf("b.ini")));
  EXPECT_FALSE(ini.HasKey("Main/Key"));
  EXPECT_FALSE(ini.HasKey("Loose"));
  EXPECT_TRUE(ini.HasKey("Other/Key"));
}

TEST_F(IniFileTest, KeyWithoutSectionStaysWithoutOne) {
  cIniFile ini = LoadText("Loose=1\n[Audio]\nVol=2\n");
  ini.Save();
  EXPECT_EQ(dir_.Read("a.ini"), "Loose = 1\r\n\r\n[Audio]\r\nVol = 2\r\n");
}

// A file read, the getters of the game run on it, and saved: nothing of it is
// lost or moved to another section.
struct RoundTripCase {
  const char* name;
  const char* text;
  const char* askedKey;  // a key asked with a default of 7, or empty
  const char* saved;
};
class IniRoundTrip : public IniFileTest, public testing::WithParamInterface<RoundTripCase> {};

TEST_P(IniRoundTrip, SavesEveryKeyUnderItsOwnSection) {
  cIniFile ini = LoadText(GetParam().text);
  if (*GetParam().askedKey != '\0') {
    EXPECT_EQ(ini.GetInt(GetParam().askedKey, 7), 7);
  }
  ini.Save();
  EXPECT_EQ(dir_.Read("a.ini"), GetParam().saved);
  cIniFile again;
  ASSERT_TRUE(again.Load(PathOf("a.ini")));
  EXPECT_EQ(again.SaveText(), GetParam().saved);
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniRoundTrip,
    testing::Values(
        RoundTripCase{"SectionNameWithSlash", "[A]\nB = 1\n[A/B]\nk = 2\n", "",
                      "\r\n[A]\r\nB = 1\r\n\r\n[A/B]\r\nk = 2\r\n"},
        RoundTripCase{"SectionNameWithSlashFirst", "[A/B]\nk = 2\n[A]\nB = 1\n", "A/C",
                      "\r\n[A]\r\nB = 1\r\nC = 7\r\n\r\n[A/B]\r\nk = 2\r\n"},
        RoundTripCase{"LooseKeyNamedLikeALaterSection", "Main = 1\n[Main]\nk = 2\n", "",
                      "Main = 1\r\n\r\n[Main]\r\nk = 2\r\n"},
        RoundTripCase{"LooseKeyNamedLikeAnAskedSection", "Audio = 1\n[Main]\nx = 2\n", "Audio/Volume",
                      "Audio = 1\r\n\r\n[Audio]\r\nVolume = 7\r\n\r\n[Main]\r\nx = 2\r\n"}),
    [](const testing::TestParamInfo<RoundTripCase>& info) { return std::string(info.param.name); });

TEST_F(IniFileTest, AKeyOfASectionAndASectionWithASlashStayApart) {
  cIniFile ini = LoadText("[A]\nB = 1\n[A/B]\nk = 2\n");
  EXPECT_EQ(ini.GetInt("A/B", 0), 1);
}

TEST_F(IniFileTest, KeysDifferByCase) {
  cIniFile ini = LoadText("[Main]\nfullscreen=true\n");
  EXPECT_FALSE(ini.HasKey("Main/Fullscreen"));
  EXPECT_TRUE(ini.GetBool("Main/fullscreen", false));
}

TEST_F(IniFileTest, TextWidensAndNarrowsThroughTheCodePage) {
  cIniFile ini = LoadText("[M]\nName=caf\xE9 \x80\n");
  EXPECT_EQ(ini.GetString("M/Name", u""), u"caf\u00E9 \u20AC");
  ini.SetString("M/Name", u"\u00FCber");
  ini.Save();
  EXPECT_EQ(dir_.Read("a.ini"), "\r\n[M]\r\nName = \xFC" "ber\r\n");
}

TEST_F(IniFileTest, FailedLoadIsLoggedAndSaveWritesNothing) {
  test::LogCapture log;
  cIniFile ini;
  const std::u16string missing = PathOf("missing.ini");
  EXPECT_FALSE(ini.Load(missing));
  EXPECT_TRUE(log.Contains(u"ERROR during opening INI file " + missing));
  EXPECT_EQ(ini.GetInt("Main/X", 3), 3);
  ini.Save();
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "missing.ini"));
}

TEST_F(IniFileTest, PointedAtNewFileSaves) {
  cIniFile ini;
  ini.SetInt("Save/Turn", 4);
  ini.SetFileName(PathOf("Info.ini"));
  ini.SetLoaded(true);
  ini.Save();
  EXPECT_EQ(dir_.Read("Info.ini"), "\r\n[Save]\r\nTurn = 4\r\n");
}

TEST_F(IniFileTest, UnwritableFileIsLogged) {
  test::LogCapture log;
  cIniFile ini;
  ini.SetFileName(PathOf("no/such/dir/x.ini"));
  ini.SetLoaded(true);
  ini.Save();
  EXPECT_TRUE(log.ContainsText(u"ERROR during saving INI file"));
}

}  // namespace
}  // namespace tr
