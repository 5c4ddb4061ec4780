#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "foundation/fatal.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"
#include "scenario/saved_fields.h"
#include "world/relations.h"

namespace tr {
namespace {

TEST(Relations, WarIsPerDirectionAndNeverWithItself) {
  cRelations r;
  r.Reset(3);
  r.SetWar(1, 2, true);
  EXPECT_TRUE(r.IsAtWar(1, 2));
  EXPECT_FALSE(r.IsAtWar(2, 1));
  r.cells[0].atWar = 1;  // the diagonal flag of country 1
  EXPECT_FALSE(r.IsAtWar(1, 1));
}

TEST(Relations, CountryZeroIsFatalWithItsText) {
  cRelations r;
  r.Reset(2);
  test::LogCapture log;
  try {
    r.IsAtWar(0, 1);
    FAIL();
  } catch (const FatalExitError& e) {
    EXPECT_EQ(e.code(), 1);
  }
  EXPECT_TRUE(log.Contains(u"ERROR: Country ID parameter was 0 while checking relations"));
  EXPECT_THROW(r.SetWar(1, 0, true), FatalExitError);
  EXPECT_TRUE(log.Contains(u"country_id_parameter_was_0_while_setting_war."));
  EXPECT_THROW(r.AddLosses(0, 1, 1.0f), FatalExitError);
  EXPECT_THROW(r.GetLosses(1, 0), FatalExitError);
  EXPECT_THROW(r.GetLossesShare(0, 2), FatalExitError);
}

TEST(Relations, NumberAboveCountIsLoggedAndNoCountry) {
  cRelations r;
  r.Reset(2);
  test::LogCapture log;
  EXPECT_FALSE(r.IsAtWar(1, 3));
  r.SetWar(3, 1, true);
  r.AddLosses(1, 5, 2.0f);
  EXPECT_EQ(r.GetLosses(1, 5), 0.0f);
  EXPECT_TRUE(log.ContainsText(u"above the number of countries (2)"));
}

TEST(Relations, MakePeaceWithAllClearsBothDirections) {
  cRelations r;
  r.Reset(3);
  for (int b : {2, 3}) {
    r.SetWar(1, b, true);
    r.SetWar(b, 1, true);
  }
  r.SetWar(2, 3, true);
  r.MakePeaceWithAll(1);
  EXPECT_FALSE(r.IsAtWar(1, 2));
  EXPECT_FALSE(r.IsAtWar(3, 1));
  EXPECT_TRUE(r.IsAtWar(2, 3));
}

TEST(Relations, LossesShares) {
  cRelations r;
  r.Reset(3);
  r.AddLosses(1, 3, 30.0f);
  r.AddLosses(2, 3, 10.0f);
  r.AddLosses(2, 3, 20.0f);
  EXPECT_EQ(r.GetTotalLossesSuffered(3), 60.0f);
  r.UpdateLossesShares();
  EXPECT_FLOAT_EQ(r.GetLossesShare(1, 3), 0.5f);
  EXPECT_FLOAT_EQ(r.GetLossesShare(2, 3), 0.5f);
  // Country 1 suffered nothing: every share of it is 0.
  EXPECT_EQ(r.GetLossesShare(2, 1), 0.0f);
  EXPECT_EQ(r.GetLossesShare(3, 1), 0.0f);
  // Losses are kept within a billion either way.
  r.AddLosses(1, 2, 6e8f);
  r.AddLosses(1, 2, 7e8f);
  EXPECT_EQ(r.GetLosses(1, 2), 1e9f);
  r.AddLosses(2, 1, -8e8f);
  r.AddLosses(2, 1, -9e8f);
  EXPECT_EQ(r.GetLosses(2, 1), -1e9f);
}

class RelationsFiles : public testing::Test {
 protected:
  RelationsFiles() : world(1, 1, 3) {
    world.country(1).name = u"A";
    world.country(2).name = u"B";
    world.country(3).name = u"C";
  }
  std::u16string Template() const { return Utf8ToUtf16(dir.path().string()) + u"/%s"; }
  std::u16string Folder() const { return Utf8ToUtf16(dir.path().string()); }
  void Load() { world.game().relations.LoadRelationsAndLosses(Template(), 3); }
  // As a save's load reads them: their fields checked first.
  void LoadSaved() {
    CheckSavedTables(Template());
    world.game().relations.LoadRelationsAndLosses(Template(), 3, true);
  }
  cRelations& relations() { return world.game().relations; }

  test::TempDir dir;
  test::TestWorld world;
  test::LogCapture log;
};

TEST_F(RelationsFiles, WritersProduceTheExactBytes) {
  relations().SetWar(2, 3, true);
  relations().cells[0].atWar = 1;  // a stored diagonal flag is written as 0
  relations().AddLosses(1, 2, 1.5f);
  ASSERT_TRUE(WriteRelations(world.game(), Folder()));
  ASSERT_TRUE(WriteLosses(world.game(), Folder()));
  EXPECT_EQ(dir.Read("relations.csv"),
            "#Relations matrix [0=peace, 1=war]\r\n"
            "#Country ID;Country Name;Relations with all countries [0=peace, 1=war]\r\n"
            "1;A;0;0;0\r\n"
            "2;B;0;0;1\r\n"
            "3;C;0;0;0");
  EXPECT_EQ(dir.Read("losses.csv"),
            "#Losses matrix:\r\n"
            "#Country ID;Country Name;Casualties dealt against all countries\r\n"
            "1;A;0.000000;1.500000;0.000000;\r\n"
            "2;B;0.000000;0.000000;0.000000;\r\n"
            "3;C;0.000000;0.000000;0.000000;");
  EXPECT_TRUE(log.Contains(u"File opened OK"));
}

// Every cell its own loss, wars in the last column and row, read back as a
// saved game's tables (whose rows must be whole) and as a scenario's.
TEST_F(RelationsFiles, WrittenFilesReadBack) {
  world.country(2).name = u"B;with;separators";
  for (const bool savedGame : {false, true}) {
    SCOPED_TRACE(savedGame);
    relations().Reset(3);
    relations().SetWar(2, 3, true);
    relations().SetWar(3, 2, true);
    relations().SetWar(1, 3, true);
    relations().SetWar(3, 1, true);
    for (int a = 1; a <= 3; ++a) {
      for (int b = 1; b <= 3; ++b) relations().AddLosses(a, b, static_cast<float>(a * 10 + b) + 0.25f);
    }
    ASSERT_TRUE(WriteRelations(world.game(), Folder()));
    ASSERT_TRUE(WriteLosses(world.game(), Folder()));
    relations().Reset(3);
    if (savedGame) {
      LoadSaved();
    } else {
      world.game().relations.LoadRelationsAndLosses(Template(), 3, false);
    }
    for (int a = 1; a <= 3; ++a) {
      for (int b = 1; b <= 3; ++b) {
        EXPECT_EQ(relations().IsAtWar(a, b), a != b && (a == 3 || b == 3)) << a << " " << b;
        EXPECT_EQ(relations().GetLosses(a, b), static_cast<float>(a * 10 + b) + 0.25f) << a << " " << b;
      }
    }
  }
  EXPECT_TRUE(log.Contains(u"Otwarcie OK"));
  EXPECT_FALSE(log.ContainsText(u"WARNING"));
  // A saved losses row with a value past the countries' and without the ';'
  // that ends a row, which would be left out, is refused.
  {
    std::string past = dir.Read("losses.csv");
    past.pop_back();
    dir.Write("losses.csv", past + ";7");
    log.Clear();
    EXPECT_THROW(LoadSaved(), FatalExitError);
    EXPECT_TRUE(log.ContainsText(u"losses.csv at line 5 (counting from 1) has 4 values in a row, but "));
    dir.Write("losses.csv", past + ";");
  }
  // A saved losses row cut inside its last value still has a value for each
  // country, but not the ';' that ends the last one: the save is refused.
  std::string losses = dir.Read("losses.csv");
  ASSERT_EQ(losses.substr(losses.size() - 4), "000;");
  losses.resize(losses.size() - 3);
  dir.Write("losses.csv", losses);
  EXPECT_THROW(LoadSaved(), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"losses.csv at line 5 (counting from 1) has 3 of the 3 values of a row (cut short?)"));
}

// A saved loss the game wrote as a number, negative ones too; text, or a
// row number with text after it, would load as another, so is refused naming
// the line and the field. A scenario's losses.csv keeps its lenient reading.
TEST_F(RelationsFiles, ASavesLossesAreNumbers) {
  relations().AddLosses(1, 2, -1.5f);
  relations().AddLosses(2, 1, 2.5f);
  ASSERT_TRUE(WriteRelations(world.game(), Folder()));
  ASSERT_TRUE(WriteLosses(world.game(), Folder()));
  const std::string losses = dir.Read("losses.csv");
  relations().Reset(3);
  LoadSaved();
  EXPECT_EQ(relations().GetLosses(1, 2), -1.5f);
  EXPECT_EQ(relations().GetLosses(2, 1), 2.5f);
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  const std::size_t row = losses.find("\r\n2;B;") + 2;
  for (const auto& [from, to, what] :
       {std::tuple{"2;B;2.500000;", "2;B;lots;", u"has \"lots\" in field 3 (Losses dealt), where the game writes a decimal number from -1000000000 to 1000000000;"},
        std::tuple{"2;B;2.500000;", "2x;B;2.500000;", u"has \"2x\" in field 1 (Country ID), where the game writes a whole number from 1 to 255;"},
        std::tuple{"2;B;2.500000;", "2;B;2000000000;",
                   u"has \"2000000000\" in field 3 (Losses dealt), where the game writes a decimal number from "
                   u"-1000000000 to 1000000000;"}}) {
    dir.Write("losses.csv", std::string(losses).replace(row, std::string_view(from).size(), to));
    log.Clear();
    EXPECT_THROW(LoadSaved(), FatalExitError) << to;
    EXPECT_TRUE(log.ContainsText(u"losses.csv at line 4 (counting from 1) " + std::u16string(what))) << to;
  }
  dir.Write("losses.csv", std::string(losses).replace(row, 13, "2;B;lots;"));
  log.Clear();
  world.game().relations.LoadRelationsAndLosses(Template(), 3, false);
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  EXPECT_EQ(relations().GetLosses(2, 1), 0.0f);
  EXPECT_EQ(relations().GetLosses(1, 2), -1.5f);
}

// A saved war cell is 0 or 1, and every war is written both ways. "abc" or
// a NUL would read as peace, "5abc", "1.5.5" or -1 as war, a war one way
// would be made mutual, a value past the row's left out: each is refused
// naming the line and the field. The cells at both values load and are
// written back byte for byte; a scenario's file keeps its lenient reading.
TEST_F(RelationsFiles, ASavesWarCellsAreZeroOrOne) {
  relations().SetWar(1, 3, true);
  relations().SetWar(3, 1, true);
  ASSERT_TRUE(WriteRelations(world.game(), Folder()));
  ASSERT_TRUE(WriteLosses(world.game(), Folder()));
  const std::string written = dir.Read("relations.csv");
  relations().Reset(3);
  LoadSaved();
  EXPECT_TRUE(relations().IsAtWar(1, 3));
  EXPECT_FALSE(relations().IsAtWar(1, 2));
  EXPECT_FALSE(log.ContainsText(u"WARNING"));
  ASSERT_TRUE(WriteRelations(world.game(), Folder()));
  EXPECT_EQ(dir.Read("relations.csv"), written);
  // Separators past a row's last value hold none: the row loads as it is.
  {
    std::string trailing = written;
    trailing.replace(trailing.find("1;A;0;0;1"), 9, "1;A;0;0;1;;;");
    dir.Write("relations.csv", trailing);
    log.Clear();
    LoadSaved();
    EXPECT_FALSE(log.ContainsText(u"ERROR"));
    EXPECT_TRUE(relations().IsAtWar(1, 3));
  }
  const std::vector<std::tuple<std::string, std::string, std::u16string>> cases{
      {"1;A;0;0;1", "1;A;0;abc;1", u"at line 3 (counting from 1) has \"abc\" in field 4 (At war), where the game writes a whole number from 0 to 1;"},
      {"1;A;0;0;1", std::string("1;A;0;\0;1", 9), u"at line 3 (counting from 1) has \"\\x00\" in field 4 (At war)"},
      {"1;A;0;0;1", "1;A;0;0;5abc", u"at line 3 (counting from 1) has \"5abc\" in field 5 (At war)"},
      {"1;A;0;0;1", "1;A;0;0;1.5.5", u"at line 3 (counting from 1) has \"1.5.5\" in field 5 (At war)"},
      {"1;A;0;0;1", "1;A;0;-1;1", u"at line 3 (counting from 1) has \"-1\" in field 4 (At war), where the game writes a whole number from 0 to 1;"},
      {"1;A;0;0;1", "1;A;0;2;1", u"at line 3 (counting from 1) has \"2\" in field 4 (At war)"},
      {"1;A;0;0;1", "1;A;0;;1", u"at line 3 (counting from 1) has field 4 (At war) empty"},
      {"1;A;0;0;1", "1;A;0;0;1;1", u"at line 3 (counting from 1) has 4 values in a row, but "},
      {"1;A;0;0;1", "1;A;0;0;0",
       u"at line 3 (counting from 1) has country 1 at peace with country 3, which is at war with it;"}};
  for (const auto& [from, to, what] : cases) {
    std::string changed = written;
    changed.replace(changed.find(from), from.size(), to);
    dir.Write("relations.csv", changed);
    log.Clear();
    EXPECT_THROW(LoadSaved(), FatalExitError) << to;
    EXPECT_TRUE(log.ContainsText(u"relations.csv " + what)) << to;
    // A scenario's own relations load as before.
    log.Clear();
    world.game().relations.LoadRelationsAndLosses(Template(), 3, false);
    EXPECT_FALSE(log.ContainsText(u"ERROR")) << to;
  }
}

TEST_F(RelationsFiles, ShortRowsAndLineEnds) {
  // "3;C" sets nothing; "1;" without a line end is two characters and skipped.
  dir.Write("relations.csv", "#head\n2;B;1;0;1;1;1\r\n3;C\n1;");
  dir.Write("losses.csv", "#head\r\n2;B;4.5\n");
  relations().SetWar(3, 1, true);
  Load();
  EXPECT_TRUE(relations().IsAtWar(2, 1));
  EXPECT_TRUE(relations().IsAtWar(2, 3));
  EXPECT_FALSE(relations().IsAtWar(3, 1));  // loading starts from a cleared matrix
  // War goes both ways: the sides the file left at peace are put at war, and said so.
  EXPECT_TRUE(relations().IsAtWar(1, 2));
  EXPECT_TRUE(relations().IsAtWar(3, 2));
  const std::u16string path = Folder() + u"/relations.csv";
  EXPECT_TRUE(log.Contains(u"WARNING: " + path + u" has no row for country 1; it is at war only with the countries "
                           u"at war with it"));
  EXPECT_TRUE(log.Contains(u"WARNING: " + path + u": country 2 is at war with country 3, but country 3 is at peace "
                           u"with country 2 (its row at line 3, counting from 1); both are now at war"));
  EXPECT_TRUE(log.Contains(u"WARNING: " + path + u": country 2 is at war with country 1, but country 1 is at peace "
                           u"with country 2; both are now at war"));
  EXPECT_TRUE(log.Contains(u"WARNING: row of country 3 in " + path + u" at line 3 (counting from 1) has 0 values of "
                           u"3; the countries without one are at peace with it"));
  EXPECT_EQ(relations().GetLosses(2, 1), 4.5f);
  EXPECT_TRUE(relations().IsAtWar(2, 1));  // losses keep the war flags
}

TEST_F(RelationsFiles, LoneShortRowWithLineEndIsARow) {
  dir.Write("relations.csv", "1;\n");
  dir.Write("losses.csv", "");
  Load();
  EXPECT_FALSE(relations().IsAtWar(1, 2));
}

class RelationsBadRow : public RelationsFiles, public testing::WithParamInterface<const char*> {};

TEST_P(RelationsBadRow, IsFatalWithFileAndLine) {
  // The line named counts the empty one before it.
  dir.Write("relations.csv", std::string("#head\n\r\n") + GetParam() + "\n");
  dir.Write("losses.csv", "");
  EXPECT_THROW(Load(), FatalExitError);
  EXPECT_TRUE(log.Contains(u"Error in file " + Folder() + u"/relations.csv line no. 3"));
  EXPECT_TRUE(log.Contains(u"wrong_country_id"));
}

INSTANTIATE_TEST_SUITE_P(BadCountryNumbers, RelationsBadRow, testing::Values("0;X;1", "4;D;1", "x;X;1"));

TEST_F(RelationsFiles, FileWithoutRowsIsRefused) {
  dir.Write("relations.csv", "#Relations matrix [0=peace, 1=war]\r\n");
  dir.Write("losses.csv", "");
  EXPECT_THROW(Load(), FatalExitError);
  EXPECT_TRUE(log.Contains(u"ERROR: " + Folder() + u"/relations.csv holds no row of relations between the 3 "
                           u"countries; the game is not loaded"));
}

TEST_F(RelationsFiles, MissingFileIsFatal) {
  EXPECT_THROW(Load(), FatalExitError);
  EXPECT_TRUE(log.Contains(u"Blad otwarcia pliku! (nie istnieje?)"));
  // The game was torn down before the end: state 15 was logged.
  EXPECT_TRUE(log.Contains(u"---- Game state = 15"));
}

}  // namespace
}  // namespace tr
