#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>

#include "foundation/csv_reader.h"
#include "foundation/format.h"
#include "foundation/string_base.h"

#include "foundation/fatal.h"
#include "scenario/topography_file.h"
#include "support/log_capture.h"
#include "world/headless_presentation.h"
#include "world/topography.h"
#include "world/rules_fixture.h"

namespace tr {
namespace {

constexpr char16_t kTemplate[] = u"data\\save\\Game\\%s";

class TopographyFile : public testing::Test {
 protected:
  TopographyFile() : world(4, 2, 3) {
    for (int x = 0; x < 4; ++x) cities.push_back(&test::AddCity(world, x, 1));
  }
  cStrategicMovement Load(std::string_view text) {
    root.dir().Write("data/save/Game/topography.csv", text);
    cStrategicMovement movement;
    movement.Init(3);
    LoadTopography(movement, world.map(), kTemplate);
    return movement;
  }
  // The saved game's topography of this text is refused, the log naming what.
  void ExpectSaveRefused(std::string_view text, std::u16string_view what, std::string_view trace) {
    root.dir().Write("data/save/Game/topography.csv", text);
    cStrategicMovement movement;
    movement.Init(3);
    test::LogCapture log;
    EXPECT_THROW(LoadTopography(movement, world.map(), kTemplate, true), FatalExitError) << trace;
    EXPECT_TRUE(log.ContainsText(what)) << trace;
  }

  cHeadlessPresentation screen;
  ScopedPresentation scoped{screen};
  test::TempGameRoot root;
  test::TestWorld world;
  std::vector<cCity*> cities;
};

TEST_F(TopographyFile, RoundTripKeepsGroupsAndOrder) {
  cStrategicMovement saved;
  saved.Init(3);
  saved.SetCountryTopography(1, cTopography{{{cities[2], cities[0]}}, {}, {{cities[3]}}});
  saved.SetCountryTopography(3, cTopography{{{cities[1]}}});
  std::filesystem::create_directories(root.dir().path() / "data/save/Game");
  ASSERT_TRUE(WriteTopography(u"data\\save\\Game", saved, world.game().countries));
  EXPECT_EQ(root.dir().Read("data/save/Game/topography.csv"),
            "#Topography of terrain at the beginning of turn:\r\nCountry;1;\r\nNew Group;\r\nCity;2;1;\r\n"
            "City;0;1;\r\nNew Group;\r\nNew Group;\r\nCity;3;1;\r\nCountry;2;\r\nCountry;3;\r\nNew Group;\r\n"
            "City;1;1;");
  cStrategicMovement loaded;
  loaded.Init(3);
  LoadTopography(loaded, world.map(), kTemplate);
  for (int id = 1; id <= 3; ++id) {
    const cTopography& a = *saved.GetCountryTopography(id);
    const cTopography& b = *loaded.GetCountryTopography(id);
    ASSERT_EQ(a.size(), b.size()) << id;
    for (std::size_t g = 0; g < a.size(); ++g) EXPECT_EQ(a[g].cities, b[g].cities);
  }
}

TEST_F(TopographyFile, LinesOutsideTheirPlaceAreLoggedAndIgnored) {
  test::LogCapture log;
  const cStrategicMovement movement = Load(
      "New Group;\nCity;0;1;\nCountry;2;\nNew Group\nCity;1;1;\nCity;9;9;\nCity;0;0;\nUnknown\nCountry;7;\n"
      "New Group;\n");
  EXPECT_TRUE(log.ContainsText(u"a group of no country (id=-1)"));
  EXPECT_TRUE(log.ContainsText(u"city (0, 1) outside a group"));
  EXPECT_TRUE(log.ContainsText(u"city (9, 9) does not exist"));
  EXPECT_TRUE(log.ContainsText(u"a group of no country (id=7)"));
  ASSERT_EQ(movement.GetCountryTopography(2)->size(), 1u);
  EXPECT_EQ(movement.GetCountryTopography(2)->front().cities, std::vector<cCity*>{cities[1]});
  EXPECT_TRUE(movement.GetCountryTopography(1)->empty());
}

// A saved game's groups belong to its countries and hold its cities: a group
// before any Country line, a city it does not hold and a city outside a group
// are each refused naming the line; the sound file beside them loads.
TEST_F(TopographyFile, ASavedGamesGroupsHoldItsCities) {
  const std::string sound = "#T\r\nCountry;1;\r\nNew Group;\r\nCity;0;1;\r\nCountry;2;\r\nCountry;3;\r\n";
  for (const auto& [text, what] :
       {std::pair{"#T\r\nNew Group;\r\nCountry;1;\r\n", u"topography.csv at line 2 (counting from 1) has a group before the "
                                                         u"first Country line;"},
        std::pair{"#T\r\nCountry;1;\r\nNew Group;\r\nCity;9;1;\r\n",
                  u"topography.csv at line 4 (counting from 1) gives city (9, 1), which the save does not hold;"},
        std::pair{"#T\r\nCountry;1;\r\nCity;0;1;\r\nNew Group;\r\n",
                  u"topography.csv at line 3 (counting from 1) gives city (0, 1), which lies outside a group;"}}) {
    ExpectSaveRefused(text, what, text);
  }
  root.dir().Write("data/save/Game/topography.csv", sound);
  cStrategicMovement movement;
  movement.Init(3);
  test::LogCapture log;
  LoadTopography(movement, world.map(), kTemplate, true);
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  EXPECT_EQ(movement.GetCountryTopography(1)->front().cities, std::vector<cCity*>{cities[0]});
}

// A Country line of more ids than any line keeps is read by its first ones,
// the last of them naming the country.
// A saved topography is read as the game writes it: loaded and written back
// byte for byte. A Country line of two numbers (the last would win), of text
// or of a decimal, an empty field, a city of text, a city where none stands
// or a group before any country would load as another: each is refused
// naming the line (and the field).
TEST_F(TopographyFile, ASavesLinesAreReadAsTheGameWritesThem) {
  const std::string written =
      "#Topography of terrain at the beginning of turn:\r\nCountry;1;\r\nNew Group;\r\nCity;2;1;\r\n"
      "Country;2;\r\nCountry;3;\r\nNew Group;\r\nCity;1;1;";
  root.dir().Write("data/save/Game/topography.csv", written);
  cStrategicMovement loaded;
  loaded.Init(3);
  {
    test::LogCapture log;
    LoadTopography(loaded, world.map(), kTemplate, true);
    EXPECT_FALSE(log.ContainsText(u"ERROR"));
  }
  ASSERT_TRUE(WriteTopography(u"data\\save\\Game", loaded, world.game().countries));
  EXPECT_EQ(root.dir().Read("data/save/Game/topography.csv"), written);
  for (const auto& [from, to, what] :
       {std::tuple{"Country;2;", "Country;2;3;", u"at line 5 (counting from 1) has 3 fields, more than the 2 of its line"},
        std::tuple{"Country;2;", "Country;1.5.5;", u"at line 5 (counting from 1) has no whole number in field 2"},
        std::tuple{"Country;2;", "Country;abc;", u"at line 5 (counting from 1) has no whole number in field 2"},
        std::tuple{"Country;2;", "Country;4;", u"at line 5 (counting from 1) has 4 in field 2, where the game writes a country's number"},
        std::tuple{"Country;2;", "Country;0;", u"at line 5 (counting from 1) has 0 in field 2, where the game writes a country's number"},
        std::tuple{"Country;2;", "Country;;2;", u"at line 5 (counting from 1) has field 2 empty"},
        std::tuple{"Country;3;", ";Country;3;", u"at line 6 (counting from 1) has field 1 empty"},
        std::tuple{"New Group;\r\nCity;2;1;", ";New Group;\r\nCity;2;1;", u"at line 3 (counting from 1) has field 1 empty"},
        std::tuple{"City;2;1;", "City;2;7;", u"at line 4 (counting from 1) gives city (2, 7), which the save does not hold"},
        std::tuple{"Country;1;\r\nNew Group;", "New Group;\r\nCountry;1;", u"at line 2 (counting from 1) has a group before the first Country line"},
        std::tuple{"New Group;\r\nCity;2;1;", "City;2;1;\r\nNew Group;", u"at line 3 (counting from 1) gives city (2, 1), which lies outside a group"},
        std::tuple{"New Group;\r\nCity;2;1;", "Old Group;\r\nCity;2;1;", u"topography.csv line 3: unknown line kind \"Old Group\""}}) {
    std::string changed = written;
    changed.replace(changed.find(from), std::string_view(from).size(), to);
    ExpectSaveRefused(changed, what, to);
  }
  // A line of more fields than any table has is counted to that many.
  std::string longLine = "Country;";
  for (int i = 0; i < 5000; ++i) longLine += "2;";
  std::string changed = written;
  changed.replace(changed.find("Country;2;"), 10, longLine);
  ExpectSaveRefused(changed, u"at line 5 (counting from 1) has 4096 fields, more than the 2 of its line", "");
}

TEST_F(TopographyFile, ACountryLineIsReadByItsFirstIds) {
  std::string line = "Country;";
  for (std::size_t i = 2; i < cCsvReader::kMostFieldsKept; ++i) line += "9;";
  const cStrategicMovement movement = Load(line + "2;3;\nNew Group;\nCity;0;1;\n");
  ASSERT_EQ(movement.GetCountryTopography(2)->size(), 1u);
  EXPECT_EQ(movement.GetCountryTopography(2)->front().cities, std::vector<cCity*>{cities[0]});
  EXPECT_TRUE(movement.GetCountryTopography(3)->empty());
}

// The read past a final line end of any kind finds an empty line.
TEST_F(TopographyFile, AFinalLineEndIsReadAsAnEmptyLine) {
  for (const std::string end : {"\r\n", "\r", "\n", ""}) {
    SCOPED_TRACE(testing::PrintToString(end));
    test::LogCapture log;
    Load("Country;1;" + end);
    EXPECT_EQ(log.Contains(GetText("empty_line...")), !end.empty());
  }
}

TEST_F(TopographyFile, UnknownKindWithFieldsIsFatal) {
  test::LogCapture log;
  try {
    Load("Country;1;\nTown;1;\n");
    ADD_FAILURE() << "the load went on";
  } catch (const FatalExitError& error) {
    EXPECT_EQ(error.code(), 1);
  }
  EXPECT_TRUE(log.ContainsText(u"line 2: unknown line kind \"Town\""));
}

TEST_F(TopographyFile, MissingFileIsFatal) {
  cStrategicMovement movement;
  movement.Init(3);
  test::LogCapture log;
  EXPECT_THROW(LoadTopography(movement, world.map(), kTemplate), FatalExitError);
  EXPECT_TRUE(log.Contains(GetText("error_opening_file!_(not_exists?)")));
}

}  // namespace
}  // namespace tr
