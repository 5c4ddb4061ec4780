#include "scenario/countries_file.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/gra.h"
#include "world/tech_levels.h"

namespace tr {
namespace {

// A row of `count` fields: ID, IsActive?, Name, four colours, then numbers.
std::string Row(int id, const std::string& name, int count, const std::string& active = "1") {
  std::string row = std::to_string(id) + ";" + active + ";" + name + ";FF102030;0;ABCDEF;1";
  for (int field = 8; field <= count; ++field) row += ';' + std::to_string(field == 70 ? 0 : field % 5);
  return row;
}

class CountriesFileTest : public testing::Test {
 protected:
  void SetUp() override {
    SetGameRoot(dir_.path());
    dir_.Write("data/save/out/.keep", "");
  }
  void TearDown() override { SetGameRoot({}); }
  void Load(const std::string& text) {
    dir_.Write("data/scenarios/s/countries.csv", text);
    LoadCountries(game_, u"data\\scenarios\\s\\%s");
  }
  test::TempDir dir_;
  cGame game_;
};

TEST_F(CountriesFileTest, ShortRowsAreLoggedAndSkipped) {
  test::LogCapture log;
  Load("#group\r\n#columns\r\n" + Row(1, "Poland", 69) + "\r\n" + Row(2, "Short", 68) + "\r\n" +
       Row(2, "France", 70, "2") + "\r\n");
  ASSERT_EQ(game_.CountryCount(), 2);
  EXPECT_TRUE(log.Contains(u"WARNING: wrong tokens (columns/values) amount (68) in "
                           u"data\\scenarios\\s\\countries.csv at line 4 (counting from 1)"));
  EXPECT_TRUE(log.Contains(u"Added country Poland (ID: 1, AllianceID: 3)"));
  const cCountry& poland = *game_.countries[0];
  EXPECT_EQ(poland.skinsName, u"Poland");
  EXPECT_EQ(poland.colors[0], 0xFF102030u);
  EXPECT_EQ(poland.colors[2], 0xABCDEFu);
  EXPECT_EQ(game_.countries[1]->isActive, 1);
  EXPECT_EQ(game_.countries[1]->skinsName, u"0");
}

// Rows whose numbers leave the sequence 1, 2, 3...: the game finds country k
// in row k, and a huge number once made the computer's turn allocate without end.
struct sBadIds {
  std::vector<int> ids;
  int row;
  int id;
};

class CountryIdSequenceTest : public CountriesFileTest, public testing::WithParamInterface<sBadIds> {};

TEST_P(CountryIdSequenceTest, IsRefusedAtLoad) {
  std::string text = "#group\r\n#columns";
  for (int id : GetParam().ids) text += "\r\n" + Row(id, "Land" + std::to_string(id), 70);
  test::LogCapture log;
  try {
    Load(text);
    FAIL() << "the load went on";
  } catch (const FatalExitError& error) {
    EXPECT_EQ(error.code(), 1);
  }
  EXPECT_TRUE(log.Contains(Format(u"ERROR: country in row %i of data\\scenarios\\s\\countries.csv has ID %i; IDs "
                                  u"must follow the sequence 1, 2, 3...",
                                  GetParam().row, GetParam().id)));
}

INSTANTIATE_TEST_SUITE_P(CountriesFile, CountryIdSequenceTest,
                         testing::Values(sBadIds{{2147483647, 2}, 1, 2147483647}, sBadIds{{1, 3}, 2, 3},
                                         sBadIds{{0}, 1, 0}, sBadIds{{1, -1}, 2, -1}, sBadIds{{1, 1}, 2, 1}));

// A hex keeps its country in a byte: country 256 could hold no hex, and
// territory given to country 300 went to country 44.
TEST_F(CountriesFileTest, AsManyCountriesAsAHexCanNameLoadAndOneMoreIsRefused) {
  std::string text = "#group\r\n#columns";
  for (int id = 1; id <= 255; ++id) text += "\r\n" + Row(id, "Land" + std::to_string(id), 70);
  Load(text);
  EXPECT_EQ(game_.CountryCount(), 255);
  test::LogCapture log;
  try {
    Load(text + "\r\n" + Row(256, "Land256", 70));
    FAIL() << "the load went on";
  } catch (const FatalExitError& error) {
    EXPECT_EQ(error.code(), 1);
  }
  EXPECT_TRUE(log.Contains(u"ERROR: country in row 256 of data\\scenarios\\s\\countries.csv has ID 256; a hex of "
                           u"the map keeps its country in one byte, so a game has at most 255 countries"));
}

// Research and events take levels past the tables; only a level past what
// play can make is held, at either end.
TEST_F(CountriesFileTest, TechLevelsReadBeyondTheTablesAndAreHeldOnlyPastThePointsRange) {
  std::string row = Row(1, "Poland", 70);
  const auto setField = [&row](int field, const std::string& value) {
    std::size_t pos = 0;
    for (int i = 1; i < field; ++i) pos = row.find(';', pos) + 1;
    row.replace(pos, row.find(';', pos) - pos, value);
  };
  setField(15, "9");
  setField(16, "-3");
  setField(18, "1000001");
  setField(19, "-1000002");
  test::LogCapture log;
  Load(row + "\r\n");
  const auto& levels = game_.countries[0]->techLevels;
  EXPECT_EQ(levels[0], 9);
  EXPECT_EQ(levels[1], -3);
  EXPECT_EQ(levels[3], kMaxStoredTechLevel);
  EXPECT_EQ(levels[4], -kMaxStoredTechLevel);
  EXPECT_FALSE(log.ContainsText(u"Tech level (9)"));
  EXPECT_FALSE(log.ContainsText(u"Tech level (-3)"));
  EXPECT_TRUE(log.Contains(u"WARNING: Tech level (1000001) out of range in data\\scenarios\\s\\countries.csv at "
                           u"line 1 (counting from 1); held at 1000000"));
  EXPECT_TRUE(log.Contains(u"WARNING: Tech level (-1000002) out of range in data\\scenarios\\s\\countries.csv at "
                           u"line 1 (counting from 1); held at -1000000"));
}

TEST_F(CountriesFileTest, WrittenFileHasTheHeaderAndSeventyFieldRowsAndReadsBack) {
  Load(Row(1, "Poland", 70) + "\r\n" + Row(2, "France", 70) + "\r\n");
  cCountry& poland = *game_.countries[0];
  poland.productionPoints = 123.25;
  poland.techInvestments = {1, 2, 99, 3, 4, 5, 6};
  poland.socialUnrest = 1.5f;
  poland.SetSkinsName(u"Pol;ish");
  ASSERT_TRUE(WriteCountries(game_, u"data\\save\\out"));
  const std::string text = dir_.Read("data/save/out/countries.csv");
  const std::size_t group_end = text.find("\r\n");
  EXPECT_EQ(text.substr(0, group_end),
            "#Important! Ids must follow sequence (1,2,3...etc);;;;;;;;;;;;;;Tech levels;;;;;;;Points;;;;;Points "
            "max/used;;;Tech investments;;;;;;Tech research progress;;;;;;Capital coordinates on diplomacy bmp "
            "image;;DoneDelayWarEntry;DoneHasteWarEntry;DoneParliamentaryElections;DoneTurnInOrientation;;;Data "
            "for settings screen only;Data for settings screen only;;Nuclear;;Months to reach new level of land "
            "warfare doctrine (cumulated);;;;;DoneExertPressureAxis;DoneExertPressureAllied;"
            "DoneExertPressureComintern;;;Weather modifiers;;;;");
  const std::size_t columns_end = text.find("\r\n", group_end + 2);
  const std::string columns = text.substr(group_end + 2, columns_end - group_end - 2);
  EXPECT_EQ(columns.substr(0, 60), "#ID;IsActive?;Name;Color1;Color2;Color3;Color4;Alliance;Orie");
  EXPECT_EQ(std::count(columns.begin(), columns.end(), ';'), 69);
  const std::string first = text.substr(columns_end + 2, text.find("\r\n", columns_end + 2) - columns_end - 2);
  EXPECT_EQ(first,
            // Flags (finished turn, human, the done-action columns) are written as 0 or 1.
            "1;1;Poland;FF102030;0;ABCDEF;1;3;4;0;1;2;1;1;0;1;2;3;4;0;1;123.250000;3;4;0;1;2;3;4;1;2;3;4;5;6;"
            "1;2;3;4;0;1;2;3;1;0;1;1;1.500000;4.000000;0;1;2;3;4;0;1;2;3;4;0;1;1;3;4.000000;0.000000;1.000000;"
            "2.000000;3.000000;4;Pol,ish;");
  EXPECT_EQ(std::count(first.begin(), first.end(), ';'), 70);
  EXPECT_EQ(text.back(), ';');

  cGame loaded;
  LoadCountries(loaded, u"data\\save\\out\\%s");
  ASSERT_EQ(loaded.CountryCount(), 2);
  const cCountry& back = *loaded.countries[0];
  EXPECT_EQ(back.colors, poland.colors);
  EXPECT_DOUBLE_EQ(back.productionPoints, 123.25);
  EXPECT_EQ(back.techInvestments[2], 0);  // the doctrine slot has no column
  EXPECT_EQ(back.techInvestments[6], 6);
  EXPECT_EQ(back.skinsName, u"Pol,ish");
  EXPECT_EQ(back.doctrineMonths, poland.doctrineMonths);
  EXPECT_FLOAT_EQ(back.socialUnrest, 1.5f);
}

// A saved country row is read as the game writes it: loaded and written back
// byte for byte, with its switches at 0 and at 1. A switch past them, a
// colour or number of text, an empty field (which would shift every later
// value) or a field past the row's would load as another: each is refused
// naming the line and the field.
TEST_F(CountriesFileTest, ASavesRowsAreReadAsTheGameWritesThem) {
  Load(Row(1, "Poland", 70) + "\r\n" + Row(2, "France", 70, "0") + "\r\n");
  game_.countries[0]->finishedTurn = 1;
  game_.countries[1]->humanControlled = 1;
  ASSERT_TRUE(WriteCountries(game_, u"data\\save\\out"));
  const std::string text = dir_.Read("data/save/out/countries.csv");
  // Separators past a row's last value hold none: the row loads as written.
  std::string trailing = text;
  trailing.insert(text.find("\r\n", text.find("\r\n1;1;Poland;") + 2), ";");
  dir_.Write("data/save/trailing/countries.csv", trailing);
  for (const char16_t* folder : {u"data\\save\\out\\%s", u"data\\save\\trailing\\%s"}) {
    cGame saved;
    saved.loadedGame = 1;
    test::LogCapture log;
    LoadCountries(saved, folder);
    EXPECT_FALSE(log.ContainsText(u"WARNING")) << Utf16ToUtf8(folder);
    dir_.Write("data/save/again/.keep", "");
    ASSERT_TRUE(WriteCountries(saved, u"data\\save\\again"));
    EXPECT_EQ(dir_.Read("data/save/again/countries.csv"), text) << Utf16ToUtf8(folder);
  }
  const std::size_t rowStart = text.find("\r\n1;1;Poland;") + 2;
  const std::size_t rowEnd = text.find("\r\n", rowStart);
  std::vector<std::string> fields;
  for (std::size_t at = rowStart, next; at < rowEnd; at = next + 1) {
    next = text.find(';', at);
    fields.push_back(text.substr(at, next - at));
  }
  for (const auto& [field, value, what] :
       {std::tuple{1, "-1", u"has -1 in field 2, where the game writes 0 or 1;"},
        std::tuple{12, "99999", u"has 99999 in field 13, where the game writes 0 or 1;"},
        std::tuple{13, "2", u"has 2 in field 14, where the game writes 0 or 1;"},
        std::tuple{43, "2", u"has 2 in field 44, where the game writes 0 or 1;"},
        std::tuple{1, "x", u"has \"x\" in field 2, which is not a whole number;"},
        std::tuple{13, "1x", u"has \"1x\" in field 14, which is not a whole number;"},
        std::tuple{43, "", u"has field 44 empty, where the game writes a number;"},
        std::tuple{7, "1st", u"has \"1st\" in field 8, which is not a whole number;"},
        std::tuple{7, "", u"has field 8 empty, where the game writes a number;"},
        std::tuple{21, "lots", u"has \"lots\" in field 22, which is not a number;"},
        std::tuple{7, "9", u"has Alliance of 9, a value the game never writes there;"},
        std::tuple{47, "150", u"has Social unrest of 150, a value the game never writes there;"},
        std::tuple{11, "-2", u"has Polit. Str. of -2, a value the game never writes there;"},
        std::tuple{69, "Skin;more", u"has more than the 70 fields of a row;"}}) {
    std::vector<std::string> changed = fields;
    changed[static_cast<std::size_t>(field)] = value;
    std::string row;
    for (const std::string& f : changed) row += f + ";";
    dir_.Write("data/save/bad/countries.csv", text.substr(0, rowStart) + row + text.substr(rowEnd));
    cGame bad;
    bad.loadedGame = 1;
    test::LogCapture log;
    EXPECT_THROW(LoadCountries(bad, u"data\\save\\bad\\%s"), FatalExitError) << value;
    EXPECT_TRUE(log.ContainsText(u"countries.csv at line 3 (counting from 1) " + std::u16string(what))) << value;
  }
}

}  // namespace
}  // namespace tr
