#include "scenario/city_info_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "foundation/fatal.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_constants_layout.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"

namespace tr {
namespace {

class CityInfoFilesTest : public testing::Test {
 protected:
  void SetUp() override {
    SetGameRoot(dir_.path());
    for (sPoint p : {sPoint{1, 1}, sPoint{4, 2}}) {
      auto city = std::make_unique<cCity>();
      city->x = p.x;
      city->y = p.y;
      city->supplyInfo.assign(3, 0);
      city->convoyInfo.assign(3, false);
      world_.hex(p.x, p.y).city = city.get();
      world_.game().cities.push_back(std::move(city));
    }
    dir_.Write("data/save/out/.keep", "");
  }
  void TearDown() override { SetGameRoot({}); }
  cCity& City(int i) { return **std::next(world_.game().cities.begin(), i); }

  test::TempDir dir_;
  test::TestWorld world_{6, 4, 3};
};

TEST_F(CityInfoFilesTest, RowsFillTheVectorsWithoutResizingThem) {
  dir_.Write("data/save/s/cities_supply_info.csv", "# cities supply info:\r\n1;1;5;6;7;8;9;\r\n\r\n4;2;1;\r\n");
  dir_.Write("data/save/s/cities_convoy_info.csv", "# cities convoy info:\r\n1;1;0;1;1;\r\n3;3;1;1;\r\n");
  test::LogCapture log;
  LoadCitiesSupplyAndConvoyInfo(world_.game(), u"data\\save\\s\\%s");
  EXPECT_EQ(City(0).supplyInfo, (std::vector<std::int32_t>{5, 6, 7}));
  EXPECT_EQ(City(1).supplyInfo, (std::vector<std::int32_t>{1, 0, 0}));
  EXPECT_EQ(City(0).convoyInfo, (std::vector<bool>{false, true, true}));
  EXPECT_TRUE(log.Contains(
      u"error_while_loading_data\\save\\s\\cities_convoy_info.csv:_no_city_at_coords_(3,_3)"));
}

TEST_F(CityInfoFilesTest, SavedFilesReadBackTheSame) {
  City(0).supplyInfo = {3, 50, 20};
  City(1).convoyInfo = {true, false, true};
  ASSERT_TRUE(WriteCitiesSupplyInfo(world_.game(), u"data\\save\\out"));
  ASSERT_TRUE(WriteCitiesConvoyInfo(world_.game(), u"data\\save\\out"));
  EXPECT_EQ(dir_.Read("data/save/out/cities_supply_info.csv"),
            "# cities supply info:\r\n1;1;3;50;20;\r\n4;2;0;0;0;");
  EXPECT_EQ(dir_.Read("data/save/out/cities_convoy_info.csv"),
            "# cities convoy info:\r\n1;1;0;0;0;\r\n4;2;1;0;1;");
  City(0).supplyInfo.assign(3, 0);
  City(1).convoyInfo.assign(3, false);
  world_.game().loadedGame = 1;
  LoadCitiesSupplyAndConvoyInfo(world_.game(), u"data\\save\\out\\%s");
  EXPECT_EQ(City(0).supplyInfo, (std::vector<std::int32_t>{3, 50, 20}));
  EXPECT_EQ(City(1).convoyInfo, (std::vector<bool>{true, false, true}));
  // A row of a save shorter than its first, though ended as a row, was cut.
  dir_.Write("data/save/cut/cities_supply_info.csv", "# cities supply info:\r\n1;1;3;50;20;\r\n4;2;0;\r\n");
  dir_.Write("data/save/cut/cities_convoy_info.csv", dir_.Read("data/save/out/cities_convoy_info.csv"));
  test::LogCapture log;
  EXPECT_THROW(LoadCitiesSupplyAndConvoyInfo(world_.game(), u"data\\save\\cut\\%s"), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"cities_supply_info.csv at line 3 (counting from 1) has 3 fields of the 5 of a row"));
  // Before the first supply computation a row holds the place alone; a row
  // after it with half a place was cut.
  dir_.Write("data/save/cut/cities_supply_info.csv", "# cities supply info:\r\n1;1;\r\n4;\r\n");
  log.Clear();
  EXPECT_THROW(LoadCitiesSupplyAndConvoyInfo(world_.game(), u"data\\save\\cut\\%s"), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"cities_supply_info.csv at line 3 (counting from 1) has 1 fields of the 2 of a row"));
}

// A saved row holds a city of the save: a row of a hex without one is
// refused naming the line (a second row of one city is refused before, by
// the fields' check of the load). A scenario's row of no city is logged and
// passed over as before (the first test).
TEST_F(CityInfoFilesTest, SavedRowsNameCitiesOfTheSave) {
  City(0).name = u"Aster";
  const std::string supply = "# cities supply info:\r\n1;1;3;50;20;\r\n4;2;0;0;0;";
  const std::string convoy = "# cities convoy info:\r\n1;1;0;0;0;\r\n4;2;1;0;1;";
  world_.game().loadedGame = 1;
  for (const auto& [supplyFile, convoyFile, what] :
       {std::tuple{"# cities supply info:\r\n1;1;3;50;20;\r\n4;3;0;0;0;", convoy.c_str(),
                   u"cities_supply_info.csv at line 3 (counting from 1) names hex (4, 3), which holds no city;"},
        std::tuple{supply.c_str(), "# cities convoy info:\r\n1;1;0;0;0;\r\n4;2;1;0;1;\r\n2;2;0;0;0;",
                   u"cities_convoy_info.csv at line 4 (counting from 1) names hex (2, 2), which holds no city;"}}) {
    dir_.Write("data/save/bad/cities_supply_info.csv", supplyFile);
    dir_.Write("data/save/bad/cities_convoy_info.csv", convoyFile);
    test::LogCapture log;
    EXPECT_THROW(LoadCitiesSupplyAndConvoyInfo(world_.game(), u"data\\save\\bad\\%s"), FatalExitError);
    EXPECT_TRUE(log.ContainsText(what)) << Utf16ToUtf8(what);
  }
  dir_.Write("data/save/ok/cities_supply_info.csv", supply);
  dir_.Write("data/save/ok/cities_convoy_info.csv", convoy);
  test::LogCapture log;
  LoadCitiesSupplyAndConvoyInfo(world_.game(), u"data\\save\\ok\\%s");
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  EXPECT_EQ(City(0).supplyInfo, (std::vector<std::int32_t>{3, 50, 20}));
}

TEST_F(CityInfoFilesTest, EitherFileMissingIsFatal) {
  EXPECT_THROW(LoadCitiesSupplyAndConvoyInfo(world_.game(), u"data\\save\\none\\%s"), FatalExitError);
  dir_.Write("data/save/half/cities_supply_info.csv", "# only supply\r\n");
  test::LogCapture log;
  EXPECT_THROW(LoadCitiesSupplyAndConvoyInfo(world_.game(), u"data\\save\\half\\%s"), FatalExitError);
  EXPECT_TRUE(log.Contains(u"opening_file_with_convoy_info_for_cities..."));
  EXPECT_TRUE(log.Contains(u"error_opening_file!_(not_exists?)"));
}

// A saved row the game never writes would load as another: one of more
// values than its first or than the countries, one ending in an empty field
// (it would read as a value), and a supply out of the game's range are
// refused naming the line (each field's text was checked before, by the
// fields' check of the load). A scenario's own files keep their lenient
// reading.
TEST_F(CityInfoFilesTest, SavedValuesAreReadAsTheGameWritesThem) {
  const std::string supply = "# cities supply info:\r\n1;1;3;50;20;\r\n4;2;0;0;0;";
  const std::string convoy = "# cities convoy info:\r\n1;1;0;0;0;\r\n4;2;1;0;1;";
  world_.game().loadedGame = 1;
  const auto refused = [&](const std::string& supplyFile, const std::string& convoyFile, const std::u16string& what) {
    dir_.Write("data/save/bad/cities_supply_info.csv", supplyFile);
    dir_.Write("data/save/bad/cities_convoy_info.csv", convoyFile);
    test::LogCapture log;
    EXPECT_THROW(LoadCitiesSupplyAndConvoyInfo(world_.game(), u"data\\save\\bad\\%s"), FatalExitError) << supplyFile;
    EXPECT_TRUE(log.ContainsText(what)) << supplyFile << convoyFile;
  };
  refused("# cities supply info:\r\n8;9;0;0;;10;\r\n4;2;0;0;0;", convoy,
          u"cities_supply_info.csv at line 2 (counting from 1) has 4 values, where the game writes one for each of "
          u"the 3 countries or none;");
  refused("# cities supply info:\r\n1;1;3;\r\n4;2;0;", convoy,
          u"cities_supply_info.csv at line 2 (counting from 1) has 1 values, where the game writes one for each of "
          u"the 3 countries or none;");
  refused("# cities supply info:\r\n1;1;3;50;20;\r\n4;2;0;0;0;0;", convoy,
          u"cities_supply_info.csv at line 3 (counting from 1) has 6 fields, more than the 5 of its first row;");
  refused("# cities supply info:\r\n1;1;-1;50;20;\r\n4;2;0;0;0;", convoy,
          u"cities_supply_info.csv at line 2 (counting from 1) has City supply info of -1, a value the game never "
          u"writes there;");
  refused("# cities supply info:\r\n1;1;3;50;20;\r\n5;5;0;0;0;", convoy,
          u"cities_supply_info.csv at line 3 (counting from 1) names hex (5, 5), which holds no city;");

  // The ends of a supply load: 0 and the highest the rules write.
  const std::string highest =
      std::to_string(std::max(consts_layout::kSupplyLevels - 1, world_.game().constants.FullSupplyLevel()));
  dir_.Write("data/save/ok/cities_supply_info.csv", "# cities supply info:\r\n1;1;0;50;" + highest + ";\r\n4;2;0;0;0;");
  dir_.Write("data/save/ok/cities_convoy_info.csv", convoy);
  City(0).supplyInfo = {7, 7, 7};
  {
    test::LogCapture log;
    LoadCitiesSupplyAndConvoyInfo(world_.game(), u"data\\save\\ok\\%s");
    EXPECT_FALSE(log.ContainsText(u"City supply info"));
    EXPECT_FALSE(log.ContainsText(u"ERROR"));
  }
  EXPECT_EQ(City(0).supplyInfo, (std::vector<std::int32_t>{0, 50, std::stoi(highest)}));

  world_.game().loadedGame = 0;
  dir_.Write("data/scenarios/s/cities_supply_info.csv", "# cities supply info:\r\n1;1;ten;6;7;\r\n");
  dir_.Write("data/scenarios/s/cities_convoy_info.csv", "# cities convoy info:\r\n1;1;7;0;1;\r\n");
  test::LogCapture log;
  LoadCitiesSupplyAndConvoyInfo(world_.game(), u"data\\scenarios\\s\\%s");
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  EXPECT_EQ(City(0).supplyInfo, (std::vector<std::int32_t>{0, 6, 7}));
  EXPECT_EQ(City(0).convoyInfo, (std::vector<bool>{true, false, true}));
}

}  // namespace
}  // namespace tr

namespace tr {
namespace {

// A key of two fields is the pair of values, not the letters they run to:
// cities at (1, 23) and (12, 3) are two lines of a save, the same city twice is one line too many.
TEST(SavedKeyOfTwoFields, IsThePairOfValues) {
  const std::u16string path = u"data\\save\\k\\cities_supply_info.csv";
  EXPECT_NO_THROW(CheckSavedTableText(kCitiesSupplyInfoFields, "# cities supply info:\r\n1;23;0;\r\n12;3;0;\r\n", path));
  test::LogCapture log;
  EXPECT_THROW(CheckSavedTableText(kCitiesSupplyInfoFields, "# cities supply info:\r\n1;23;0;\r\n1;23;0;\r\n", path),
               FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"at line 3 (counting from 1) repeats the line with field 1 (Hex X) 1, field 2 (Hex Y) 23"));
}

}  // namespace
}  // namespace tr
