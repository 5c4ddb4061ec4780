// The skin loaders: city appearance sections, unit table groups, the row
// parsers and the eyecandies reader.
#include <gtest/gtest.h>

#include <string>

#include "app/eyecandies.h"
#include "app/map_skin.h"
#include "app/skin_rows.h"
#include "app/skin_tables.h"
#include "app/units_skin.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "map_draw_fixture.h"
#include "platform/texture.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/map.h"

namespace tr {
namespace {

std::string Lines(int count, const std::string& line) {
  std::string out;
  for (int i = 0; i < count; ++i) out += line + "\r\n";
  return out;
}

TEST(SkinRows, IntRowIsReadAsAtoiAndMadeRelative) {
  const std::vector<std::u16string> fields = {u"3", u"4x", u"abc", u"10"};
  EXPECT_EQ(ParseSkinIntRow(fields, false), (sPlacement{3, 4, 0, 10}));
  EXPECT_EQ(ParseSkinIntRow(fields, true), (sPlacement{3, 4, 3, 14}));
  EXPECT_EQ(ParseSkinIntRow({u"1", u"2"}, true), (sPlacement{0, 0, 0, 0}));
}

TEST(SkinRows, FontRowTakesColoursModulo256AndShortRowsAsZero) {
  const sGuiFont font =
      ParseSkinUnitRow({u"0", u"0", u"1", u"1", u"Arial", u"14", u"75", u"256", u"1", u"2", u"3"}, {u"skin.csv", 1});
  EXPECT_EQ(font.face, u"Arial");
  EXPECT_EQ(font.height, 14);
  EXPECT_EQ(font.weight, 700);
  EXPECT_EQ(font.color, 0xFF000102u);
  EXPECT_EQ(font.color2, 0xFF030000u);  // the missing blue and green read as 0
}

TEST(CityAppearance, TwoSectionsLeaveTheOthersUnloadedAndValidityFollowsTheRows) {
  test::TempDir dir;
  std::string text = "#AP;0;0;10;10;Arial;12;75;1;2;3;4;5;6\r\n250\r\n";
  text += "0;0;0;5\r\n1;1;4;4\r\n";              // source 0 of width 0: slot 0 invalid
  text += Lines(3, "1;1;4;4");                     // source and placement 1, source 2
  text += "1;1;0;4\r\n";                          // placement 2 of width 0: slot 2 invalid
  text += Lines(6, "1;1;4;4");                     // sources and placements 3 to 5
  text += "1;2;0;8;X;10;75;1;1;1;1;1;1\r\n";      // text rectangle of width 0: slot 6 invalid
  text += "1;2;5;8;X;10;75;1;1;1;1;1;1\r\n";
  text += "#\r\n120\r\n";
  const auto file = dir.Write("appearance.csv", text);
  ASSERT_TRUE(LoadCityAppearance(file));
  const sSkinTables& t = SkinTables();
  EXPECT_EQ(t.headerRect, (Rect{0, 0, 10, 10}));
  EXPECT_EQ(t.cities[0].threshold, 250);
  EXPECT_EQ(t.cities[0].valid[0], 0);
  EXPECT_EQ(t.cities[0].valid[1], 1);
  EXPECT_EQ(t.cities[0].valid[2], 0);
  EXPECT_EQ(t.cities[0].valid[3], 1);
  EXPECT_EQ(t.cities[0].valid[6], 0);
  EXPECT_EQ(t.cities[0].valid[7], 1);
  EXPECT_EQ(t.cities[1].threshold, 120);
  for (int i : {2, 3}) {
    EXPECT_EQ(t.cities[static_cast<std::size_t>(i)].threshold, -100);
    EXPECT_TRUE(t.cities[static_cast<std::size_t>(i)].fonts[0].font.face.empty());
  }
  EXPECT_FALSE(LoadCityAppearance(dir.path() / "missing.csv"));
  EXPECT_EQ(SkinTables().cities[0].threshold, 250);
}

// Fonts taller than a glyph atlas holds a few letters of are read as the
// default height, with a line naming the file and line.
TEST(CityAppearance, FontHeightsBeyondTheBoundAreLoggedAndReadAsZero) {
  test::TempDir dir;
  std::string text = "#AP;0;0;10;10;Arial;-700;75;1;2;3;4;5;6\r\n250\r\n";
  text += Lines(12, "1;1;4;4");
  text += "1;2;5;8;Arial;700;75;1;1;1;1;1;1\r\n";
  text += "1;2;5;8;Arial;128;75;1;1;1;1;1;1\r\n";
  const auto file = dir.Write("appearance.csv", text);
  test::LogCapture log;
  ASSERT_TRUE(LoadCityAppearance(file));
  const sSkinTables& t = SkinTables();
  EXPECT_EQ(t.headerFont.font.height, 0);
  EXPECT_EQ(t.cities[0].fonts[0].font.height, 0);
  EXPECT_EQ(t.cities[0].fonts[1].font.height, 128);
  const std::u16string name = Utf8ToUtf16(file.string());
  EXPECT_TRUE(log.Contains(u"Skin \"" + name + u"\", line 1: font height -700 is outside -128 to 128, 0 used"));
  EXPECT_TRUE(log.Contains(u"Skin \"" + name + u"\", line 15: font height 700 is outside -128 to 128, 0 used"));
}

TEST(UnitAppearance, TwentySixLandLinesMakeOneRecordAndAMissingFileIsLogged) {
  test::TempDir dir;
  std::string text = "first\r\n500\r\n" + Lines(18, "1;1;4;4") + Lines(3, "0;0;9;9;Arial;12;75;1;1;1;0;0;0") +
                     Lines(2, "1;1;4;4") + "second\r\n";
  const auto file = dir.Write("land_units.csv", text);
  LoadUnitAppearanceTable(0, file);
  const auto& records = SkinTables().units[0];
  EXPECT_EQ(records[0].name, u"first");
  EXPECT_EQ(records[0].threshold, 500);
  EXPECT_EQ(records[0].valid[13], 1);
  EXPECT_EQ(records[1].name, u"second");
  EXPECT_EQ(records[1].threshold, -100);
  EXPECT_EQ(records[1].valid[0], 0);
  EXPECT_EQ(SkinTables().activeUnit[0], &records[0]);

  test::LogCapture log;
  LoadUnitAppearanceTable(2, dir.path() / "naval_units.csv");
  EXPECT_TRUE(log.ContainsText(u"ERROR during opening CSV file"));
  EXPECT_EQ(SkinTables().units[2][0].threshold, -100);
}

// The naval table's rows: rectangle and entry pairs for 0 to 2, entry 3 alone,
// then the font rows and the two further rows; an entry of height 0 is unused.
TEST(UnitAppearance, NavalLinesFillTheirOwnEntries) {
  test::TempDir dir;
  std::string text = "ships\r\n320\r\n";
  text += "2;3;40;50\r\n5;6;30;20\r\n";    // source 0, entry 0
  text += "7;8;44;33\r\n9;11;26;0\r\n";    // source 1, entry 1 of height 0
  text += "12;13;28;36\r\n14;15;22;19\r\n";  // source 2, entry 2
  text += "16;17;24;21\r\n";                 // entry 3
  text += Lines(2, "3;4;18;12;Arial;11;75;1;2;3;4;5;6");
  text += "23;25;27;29\r\n31;37;39;41\r\n";
  const auto file = dir.Write("naval_units.csv", text);
  LoadUnitAppearanceTable(2, file);
  const sUnitAppearance& ships = SkinTables().units[2][0];
  EXPECT_EQ(ships.threshold, 320);
  EXPECT_EQ(ships.source[0], (Rect{2, 3, 42, 53}));
  EXPECT_EQ(ships.source[2], (Rect{12, 13, 40, 49}));
  EXPECT_EQ(ships.placement[0], (sPlacement{5, 6, 30, 20}));
  EXPECT_EQ(ships.placement[1], (sPlacement{9, 11, 26, 0}));
  EXPECT_EQ(ships.placement[2], (sPlacement{14, 15, 22, 19}));
  EXPECT_EQ(ships.placement[3], (sPlacement{16, 17, 24, 21}));
  EXPECT_EQ(ships.placement[4], (sPlacement{3, 4, 21, 16}));
  EXPECT_EQ(ships.placement[7], (sPlacement{31, 37, 39, 41}));
  EXPECT_EQ(ships.valid[0], 1);
  EXPECT_EQ(ships.valid[1], 0);
  EXPECT_EQ(ships.valid[2], 1);
  EXPECT_EQ(ships.valid[3], 1);
}

// Every record a zoom can choose has its fonts; an unused one (threshold 0 or
// below) has none.
class AppearanceFonts : public test::MapDrawFixture {};

TEST_F(AppearanceFonts, AreMadeForEveryRecordWithAPositiveThreshold) {
  sSkinTables& t = SkinTables();
  for (std::size_t i = 0; i < 3; ++i) {
    const int threshold = i == 0 ? 1 : i == 1 ? 0 : 140;
    t.cities[i].threshold = t.units[1][i].threshold = threshold;
    for (sAppearanceFont* f : {&t.cities[i].fonts[0], &t.units[1][i].fonts[0]}) {
      f->font.face = u"Arial";
      f->font.height = 12;
      f->font.weight = 400;
    }
  }
  CreateFontSets();
  CreateMapZoomFonts();
  for (const auto* fonts : {&t.cities[0].fonts, &t.units[1][0].fonts}) EXPECT_NE((*fonts)[0].object, nullptr);
  for (const auto* fonts : {&t.cities[1].fonts, &t.units[1][1].fonts}) EXPECT_EQ((*fonts)[0].object, nullptr);
  for (const auto* fonts : {&t.cities[2].fonts, &t.units[1][2].fonts}) EXPECT_NE((*fonts)[0].object, nullptr);
  ReleaseAppearanceFonts();
}

class EyecandiesTest : public ::testing::Test {
 protected:
  void SetUp() override { MapSkinTextures().decorations.CreateEmpty(8, 8); }
  void TearDown() override { MapSkinTextures().decorations.Release(); }
  test::TempDir dir_;
  cMap map_{6, 6};
  test::LogCapture log_;
};

TEST_F(EyecandiesTest, FillsCellsAndSkipsBadLines) {
  // The largest whole number is read (its column is off the map); one more is not a number here.
  dir_.Write("eyecandies.csv",
             "# comment\n3;4;39;0;0;1;0;2;0\n1;1;5;0\nx;1;1;1;1;1;1;1;1\n9;9;1;1;1;1;1;1;1\n"
             "2147483647;2;7;3;5;2;6;4;8\n2147483648;2;7;3;5;2;6;4;8\n");
  LoadEyecandies(map_, dir_.path());
  const sHexPathCell& cell = map_.PathCells()[4 * 6 + 3];
  EXPECT_FLOAT_EQ(cell.depth, 0.6f);
  EXPECT_EQ(cell.layer, 39);
  EXPECT_EQ(cell.texture[0], (sPoint{1, 1}));
  EXPECT_EQ(cell.texture[1], (sPoint{168, 1}));
  EXPECT_EQ(cell.texture[2], (sPoint{335, 1}));
  EXPECT_TRUE(log_.ContainsText(u"WARNING incorrect entry in"));
  EXPECT_TRUE(log_.ContainsText(u"ERROR incorrect entry data format in"));
  int warnings = 0, errors = 0;
  for (const auto& line : log_.lines()) {
    warnings += line.starts_with(u"WARNING") ? 1 : 0;
    errors += line.starts_with(u"ERROR") ? 1 : 0;
  }
  EXPECT_EQ(warnings, 3);  // the short line and the two hexes off the map
  EXPECT_EQ(errors, 2);    // the letter and the number past the largest
}

TEST_F(EyecandiesTest, WithoutDecorationPictureNothingIsRead) {
  MapSkinTextures().decorations.Release();
  dir_.Write("eyecandies.csv", "3;4;39;0;0;1;0;2;0\n");
  LoadEyecandies(map_, dir_.path());
  EXPECT_EQ(map_.PathCells()[4 * 6 + 3].layer, 100);
}

// The map skin reads the running game's scenery from the folder of the
// scenario its save names, and only when that name is a folder name.
struct sSceneryCase {
  const char* name;
  std::u16string scenario;
  int layer;  // of the decorated hex afterwards; 100 when nothing was read
};

class MapSkinScenery : public test::MapDrawFixture, public testing::WithParamInterface<sSceneryCase> {
 protected:
  void SetUp() override {
    MapDrawFixture::SetUp();
    MakeWorld(6, 6, 2);
    const std::filesystem::path skin = "data/gfx/[MapSkin]Normal";
    std::filesystem::copy(std::filesystem::path(TR_GAME_DIR) / skin, folder_.path() / skin,
                          std::filesystem::copy_options::recursive);
    for (const char* folder : {"data/scenarios/Home", "data/save/Planted"}) {
      folder_.Write(std::string(folder) + "/eyecandies.csv", "3;4;39;0;0;1;0;2;0\n");
    }
  }
};

TEST_P(MapSkinScenery, ComesOnlyFromAScenarioFolder) {
  world_->game().scenarioName = GetParam().scenario;
  test::LogCapture log;
  LoadMapSkin(u"Normal");
  ASSERT_NE(MapSkinTextures().decorations.GetTexture(), nullptr);
  EXPECT_EQ(world_->map().PathCells()[4 * 6 + 3].layer, GetParam().layer);
  EXPECT_EQ(log.ContainsText(u"which is not a folder name: no scenery loaded"), GetParam().layer == 100);
}

INSTANTIATE_TEST_SUITE_P(Names, MapSkinScenery,
                         testing::Values(sSceneryCase{"ScenarioFolder", u"Home", 39},
                                         sSceneryCase{"LeavesTheScenarios", u"..\\save\\Planted", 100},
                                         sSceneryCase{"Absolute", u"/etc", 100}),
                         [](const testing::TestParamInfo<sSceneryCase>& info) { return info.param.name; });

}  // namespace
}  // namespace tr
