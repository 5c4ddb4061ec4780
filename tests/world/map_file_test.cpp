#include <gtest/gtest.h>

#include <cstring>

#include "foundation/fatal.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/byte_io.h"
#include "world/folder_path.h"
#include "world/map.h"
#include "world/map_records.h"

namespace tr {
namespace {

std::u16string TemplateOf(const test::TempDir& dir) {
  return Utf8ToUtf16(dir.path().string()) + u"/%s";
}

std::u16string FolderOf(const test::TempDir& dir) { return Utf8ToUtf16(dir.path().string()); }

// A folder without a place for the name takes the file after one separator.
TEST(MapFile, FilePathsOfAFolderAndOfATemplate) {
  EXPECT_EQ(FolderFilePath(u"data\\saves\\Dunmere", u"map.qel"), u"data\\saves\\Dunmere\\map.qel");
  EXPECT_EQ(FolderFilePath(u"data\\saves\\Dunmere\\", u"cities.csv"), u"data\\saves\\Dunmere\\cities.csv");
  EXPECT_EQ(FolderFilePath(u"", u"flags.txt"), u"flags.txt");
  EXPECT_EQ(FolderFilePath(u"data\\%s\\x%s", u"fleets.csv"), u"data\\%s\\xfleets.csv");
}

TEST(MapFile, TwoByOneMapIs342BytesWithTagAndComment) {
  test::TempDir dir;
  cMap map(2, 1);
  ASSERT_TRUE(map.Save(FolderOf(dir), u""));
  const std::string bytes = dir.Read("map.qel");
  ASSERT_EQ(bytes.size(), 342u);
  EXPECT_EQ(bytes.substr(0, 5), "Qelv1");
  EXPECT_EQ(std::string(bytes.c_str() + 5), "Map for Tidereach created by Morrowfen.");
  float one;
  const std::uint32_t bits = ReadU32(bytes, 260);
  std::memcpy(&one, &bits, 4);
  EXPECT_EQ(one, 1.0f);
  EXPECT_EQ(ReadU16(bytes, 264), 2);
  EXPECT_EQ(ReadU16(bytes, 266), 1);
}

TEST(MapFile, SaveThenLoadKeepsPersistentFieldsOnly) {
  test::TempDir dir;
  cMap map(3, 2);
  for (int m = 0; m < 12; ++m) {
    map.GetHex(1, 1)->mudChance[m] = static_cast<std::uint8_t>(m + 1);
    map.GetHex(1, 1)->winterChance[m] = static_cast<std::uint8_t>(89 + m);  // up to 100, the highest chance
  }
  sHex& hex = *map.GetHex(1, 1);
  hex.terrain = 5;
  hex.detail = 9;
  hex.rivers = 0b010010;
  hex.seaZone = 0x1234;
  hex.variant = 4;
  hex.controller = 2;
  hex.owner = 3;
  hex.originalOwner = 4;
  hex.fortLevel = 2;
  hex.weather = 2;  // mud, the highest code
  hex.borders = 0x1FF;
  hex.flags = 64;
  ASSERT_TRUE(map.Save(FolderOf(dir), u""));

  cMap loaded;
  loaded.Load(TemplateOf(dir));
  ASSERT_EQ(loaded.GetWidth(), 3);
  ASSERT_EQ(loaded.GetHeight(), 2);
  const sHex& back = *loaded.GetHex(1, 1);
  EXPECT_EQ(back.x, 1);
  EXPECT_EQ(back.y, 1);
  EXPECT_EQ(back.terrain, 5);
  EXPECT_EQ(back.detail, 9);
  EXPECT_EQ(back.rivers, 0b010010);
  EXPECT_EQ(back.seaZone, 0x1234);
  EXPECT_EQ(back.variant, 4);
  EXPECT_EQ(back.controller, 2);
  EXPECT_EQ(back.owner, 3);
  EXPECT_EQ(back.originalOwner, 4);
  EXPECT_EQ(back.fortLevel, 2);
  EXPECT_EQ(back.weather, 2);
  EXPECT_EQ(back.mudChance, hex.mudChance);
  EXPECT_EQ(back.winterChance, hex.winterChance);
  EXPECT_EQ(back.borders, 0);
  EXPECT_EQ(back.flags, 0u);
  EXPECT_EQ(back.flagValue, -1);
}

struct KindCase {
  std::uint8_t port;
  std::uint8_t takesWeather;
  std::uint16_t code;
  std::uint8_t takesWeatherBack;
};

class MapFileKind : public testing::TestWithParam<KindCase> {};

TEST_P(MapFileKind, CodeAtOffset35) {
  const KindCase& c = GetParam();
  sHex hex;
  hex.port = c.port;
  hex.takesWeather = c.takesWeather;
  std::string record;
  AppendQelHexRecord(record, hex);
  ASSERT_EQ(record.size(), kQelRecordSize);
  EXPECT_EQ(ReadU16(record, 35), c.code);
  sHex back;
  ReadQelHexRecord(back, record);
  EXPECT_EQ(back.port, c.port);
  EXPECT_EQ(back.takesWeather, c.takesWeatherBack);
}

INSTANTIATE_TEST_SUITE_P(PortAndWeather, MapFileKind,
                         testing::Values(KindCase{0, 1, 0, 1}, KindCase{0, 0, 2, 0},
                                         KindCase{1, 1, 1, 1}, KindCase{1, 0, 1, 1}));

// Every broken file is refused with exit code 1: another tag with the version
// error, a cut file with a line naming it.
class MapFileRefused : public testing::TestWithParam<int> {};

TEST_P(MapFileRefused, WrongTagOrShortFile) {
  test::TempDir dir;
  cMap(2, 2).Save(FolderOf(dir), u"");
  std::string bytes = dir.Read("map.qel");
  switch (GetParam()) {
    case 0: bytes[4] = '2'; break;                 // "Qelv2"
    case 1: bytes[0] = 'q'; break;                 // "qelv1"
    case 2: bytes.resize(100); break;              // header cut
    case 3: bytes.resize(bytes.size() - 1); break; // last record cut
    case 4: bytes.resize(3); break;
  }
  dir.Write("map.qel", bytes);
  test::LogCapture log;
  cMap map;
  try {
    map.Load(TemplateOf(dir));
    FAIL() << "loaded a broken file";
  } catch (const FatalExitError& e) {
    EXPECT_EQ(e.code(), 1);
  }
  // A cut file is named, since it is no other version.
  if (GetParam() >= 2) {
    EXPECT_TRUE(log.ContainsText(u"map.qel ends after ")) << GetParam();
  } else {
    EXPECT_TRUE(log.Contains(u"ERROR: Wrong map file version"));
    EXPECT_EQ(log.lines().back(), u"ERROR: Wrong map file version");  // and nothing is read after it
  }
  EXPECT_EQ(map.GetWidth(), 0);
}

INSTANTIATE_TEST_SUITE_P(BrokenFiles, MapFileRefused, testing::Range(0, 5));

TEST(MapFile, MissingFileIsFatal) {
  test::TempDir dir;
  test::LogCapture log;
  EXPECT_THROW(cMap().Load(TemplateOf(dir)), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"map.qel... FAILED"));
}

TEST(MapFile, EmptyMapIsFatal) {
  test::TempDir dir;
  cMap(1, 1).Save(FolderOf(dir), u"");
  std::string bytes = dir.Read("map.qel");
  bytes[264] = 0;
  dir.Write("map.qel", bytes.substr(0, kQelHeaderSize));
  test::LogCapture log;
  EXPECT_THROW(cMap().Load(TemplateOf(dir)), FatalExitError);
  EXPECT_TRUE(log.Contains(u"ERROR: Map cannot have 0 heigth or 0 width"));
}

// Values the rules do not know are held at load, each named with its hex;
// values at their limits are kept as they are. A fort keeps any level an
// event may set, past the scale of built ones.
TEST(MapFile, HexFieldsBeyondTheRulesAreHeldAtTheirLimits) {
  test::TempDir dir;
  cMap map(2, 2);
  sHex& beyond = *map.GetHex(1, 0);
  beyond.fortLevel = kMaxFortLevel + 3;
  beyond.weather = kMaxWeatherCode + 1;
  beyond.mudChance[11] = kMaxChancePercent + 1;
  beyond.winterChance[0] = 255;
  beyond.terrain = 200;
  beyond.variant = 13;
  beyond.rivers = 0xC1;
  sHex& limits = *map.GetHex(0, 1);
  limits.terrain = kTerrainKinds - 1;
  limits.variant = kTerrainVariants - 1;
  limits.rivers = kRiverSides;
  limits.fortLevel = kMaxStoredFortLevel;
  limits.weather = kMaxWeatherCode;
  limits.mudChance.fill(kMaxChancePercent);
  ASSERT_TRUE(map.Save(FolderOf(dir), u""));

  test::LogCapture log;
  cMap loaded;
  loaded.Load(TemplateOf(dir));
  const sHex& held = *loaded.GetHex(1, 0);
  EXPECT_EQ(held.fortLevel, kMaxFortLevel + 3);
  EXPECT_EQ(held.weather, 0);
  EXPECT_EQ(held.mudChance[11], kMaxChancePercent);
  EXPECT_EQ(held.winterChance[0], kMaxChancePercent);
  EXPECT_EQ(held.terrain, kTerrainClear);
  EXPECT_EQ(held.variant, 1);  // drawn as before, the sixth variant after the sixth
  EXPECT_EQ(held.rivers, 0x41);
  const std::u16string path = FolderOf(dir) + u"/map.qel";
  EXPECT_TRUE(log.Contains(u"WARNING: hex (1, 0) in " + path +
                           u" has a mud chance of 101 percent in month 12; held at 100"));
  EXPECT_TRUE(log.Contains(u"WARNING: hex (1, 0) in " + path +
                           u" has the weather code 3, which is no weather; made clear (0)"));
  EXPECT_TRUE(log.Contains(u"WARNING: hex (1, 0) in " + path +
                           u" has the terrain 200, which the game knows none of; read as 1"));
  EXPECT_TRUE(log.Contains(u"WARNING: hex (1, 0) in " + path +
                           u" has the river byte 193, which the game knows none of; read as 65"));
  const sHex& kept = *loaded.GetHex(0, 1);
  EXPECT_EQ(kept.fortLevel, kMaxStoredFortLevel);
  EXPECT_EQ(kept.weather, kMaxWeatherCode);
  EXPECT_EQ(kept.mudChance, limits.mudChance);
  EXPECT_EQ(kept.terrain, limits.terrain);
  EXPECT_EQ(kept.variant, limits.variant);
  EXPECT_EQ(kept.rivers, limits.rivers);
  EXPECT_FALSE(log.ContainsText(u"hex (0, 1)"));
}

TEST(MapFile, LoadLogsAndCompletesTheMap) {
  test::TempDir dir;
  cMap map(3, 3);
  for (sHex& hex : map.Hexes()) hex.terrain = 1;
  map.GetHex(1, 0)->terrain = 0;
  map.GetHex(1, 0)->seaZone = 6;
  map.Save(FolderOf(dir), u"");
  test::LogCapture log;
  cMap loaded;
  loaded.Load(TemplateOf(dir));
  EXPECT_TRUE(log.Contains(u"------ Loading map ------"));
  EXPECT_TRUE(log.Contains(u"Map size: 3x3"));
  EXPECT_TRUE(log.Contains(u"Loading hexes data..."));
  EXPECT_EQ(loaded.GetHex(1, 1)->seaZone, 6);  // the coast took its zone
  EXPECT_EQ(loaded.GetFrontNodeMark(2, 2), 0);
  EXPECT_GT(loaded.fitScale, 0.0f);
  EXPECT_EQ(loaded.cameraMaxX, 3 * 83);
  EXPECT_EQ(loaded.cameraMinY, 83);
}

// A port's marker hex carries the port's zone while its coast belongs to the
// open sea; a saved game must come back with that coast, not the port's zone.
TEST(MapFile, SavedGameKeepsTheCoastZonesItWasSavedWith) {
  test::TempDir dir;
  cMap map(3, 3);
  for (sHex& hex : map.Hexes()) hex.terrain = 1;
  map.GetHex(1, 0)->terrain = 0;
  map.GetHex(1, 0)->seaZone = 13;
  map.GetHex(1, 1)->seaZone = 2;
  map.Save(FolderOf(dir), u"");

  cMap saved;
  saved.Load(TemplateOf(dir), true);
  EXPECT_EQ(saved.GetHex(1, 1)->seaZone, 2);
  EXPECT_EQ(saved.GetHex(1, 0)->seaZone, 13);
  cMap scenario;
  scenario.Load(TemplateOf(dir));
  EXPECT_EQ(scenario.GetHex(1, 1)->seaZone, 13);
}

// The game writes no map its load would refuse: 532 x 532 hexes, of 37 bytes
// each, are within the 10 MiB a load reads, and are saved and load back; a
// row more is past it, and is not written, the map saved before kept.
TEST(MapFile, AMapPastWhatALoadReadsIsNotWritten) {
  test::TempDir dir;
  ASSERT_TRUE(cMap(532, 532).Save(FolderOf(dir), u""));
  const std::string largest = dir.Read("map.qel");
  ASSERT_EQ(largest.size(), kQelHeaderSize + 532 * 532 * kQelRecordSize);
  cMap loaded;
  loaded.Load(TemplateOf(dir), true);
  EXPECT_EQ(loaded.GetHeight(), 532);
  test::LogCapture log;
  EXPECT_FALSE(cMap(532, 533).Save(FolderOf(dir), u""));
  EXPECT_TRUE(log.Contains(u"ERROR: " + FolderOf(dir) +
                           u"\\map.qel would hold 10491840 bytes, more than the 10485760 its load reads; it is not "
                           u"written"));
  EXPECT_TRUE(dir.Read("map.qel") == largest);
}

TEST(MapFile, FailedSaveIsLoggedAndKeepsGoing) {
  test::TempDir dir;
  test::LogCapture log;
  cMap map(1, 1);
  EXPECT_FALSE(map.Save(FolderOf(dir) + u"/missing-folder", u""));
  EXPECT_TRUE(log.ContainsText(u"Saving map using Qelv1 format to \""));
}

}  // namespace
}  // namespace tr
