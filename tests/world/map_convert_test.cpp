#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/fatal.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/byte_io.h"
#include "world/map.h"
#include "world/map_records.h"

namespace tr {
namespace {

// An older-format map: every hex plain land owned by country 1, except the
// hexes listed as sea with the given zone.
std::string HmfFile(int width, int height, std::initializer_list<std::pair<sPoint, int>> sea = {}) {
  std::string bytes(kHmfHeaderSize, '\0');
  std::string size;
  AppendU32(size, static_cast<std::uint32_t>(width));
  AppendU32(size, static_cast<std::uint32_t>(height));
  bytes.replace(4132, 8, size);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::string record(kHmfRecordSize, '\0');
      record[0] = 1;
      record[3] = record[4] = record[5] = 1;
      record[12] = 7;
      record[14] = 2;
      for (const auto& [p, zone] : sea) {
        if (p == sPoint{x, y}) {
          record[0] = 0;
          record[13] = static_cast<char>(zone);
        }
      }
      bytes += record;
    }
  }
  return bytes;
}

class MapConvert : public testing::Test {
 protected:
  void Convert() { map.ConvertHmfMap(Utf8ToUtf16(dir.path().string()) + u"/%s"); }
  test::TempDir dir;
  test::LogCapture log;
  cMap map{1, 1};
};

TEST_F(MapConvert, ReadsRecordsAndWritesOutputMap) {
  dir.Write("map.hmf", HmfFile(3, 2, {{{1, 0}, 5}}));
  Convert();
  ASSERT_EQ(map.GetWidth(), 3);
  ASSERT_EQ(map.GetHeight(), 2);
  const sHex& land = *map.GetHex(2, 1);
  EXPECT_EQ(land.x, 2);
  EXPECT_EQ(land.controller, 1);
  EXPECT_EQ(land.detail, 7);
  EXPECT_EQ(land.fortLevel, 2);
  EXPECT_EQ(land.takesWeather, 1);
  const sHex& sea = *map.GetHex(1, 0);
  EXPECT_EQ(sea.seaZone, 5);
  EXPECT_EQ(sea.port, 1);
  EXPECT_EQ(map.GetHex(1, 1)->seaZone, 5);  // the coast takes the zone
  EXPECT_EQ(map.PathCells().size(), 6u);
  EXPECT_EQ(dir.Read("output_map.qel").size(), kQelHeaderSize + 6 * kQelRecordSize);
  EXPECT_EQ(log.lines().front(), u"------ Converting HMF map to QEL ------");
  // Each missing weather table is logged and skipped.
  int missing = 0;
  for (const auto& line : log.lines()) missing += line == u"ERROR: file does not exist";
  EXPECT_EQ(missing, 3);
}

TEST_F(MapConvert, AreaTablesAddMonthlyChances) {
  dir.Write("map.hmf", HmfFile(2, 2));
  dir.Write("winter_area.csv", "#x0;y0;x1;y1;months\r\n0;0;1;1;10;0;0;0;0;0;0;0;0;0;0;20\r\n");
  dir.Write("mud_area.csv", "0;0;0;2;1;2;3;4;5;6;7;8;9;10;11;12\n\n0;1;0;2;5;;;;;;;;;;;\n");
  Convert();
  for (int x : {0, 1}) {
    EXPECT_EQ(map.GetHex(x, 0)->winterChance[0], 10);
    EXPECT_EQ(map.GetHex(x, 0)->winterChance[11], 20);
    EXPECT_EQ(map.GetHex(x, 1)->winterChance[0], 0);  // y stops before y1
  }
  EXPECT_EQ(map.GetHex(0, 0)->mudChance[11], 12);
  EXPECT_EQ(map.GetHex(0, 1)->mudChance[0], 6);
  EXPECT_EQ(map.GetHex(0, 1)->mudChance[1], 2);
  EXPECT_EQ(map.GetHex(1, 1)->mudChance[0], 0);
  EXPECT_TRUE(log.ContainsText(u"WARNING: empty field in file "));
  EXPECT_TRUE(log.ContainsText(u"mud_area.csv (line 3)"));
}

TEST_F(MapConvert, ChanceSumsStopAt255) {
  dir.Write("map.hmf", HmfFile(1, 1));
  dir.Write("winter_area.csv",
            "0;0;0;1;250;0;0;0;0;0;0;0;0;0;0;0\n"
            "0;0;0;1;10;-5;0;0;0;0;0;0;0;0;0;0\n");
  Convert();
  EXPECT_EQ(map.GetHex(0, 0)->winterChance[0], 255);
  EXPECT_EQ(map.GetHex(0, 0)->winterChance[1], 0);
}

TEST_F(MapConvert, WeatherTableSkipsBadLinesWithALogLine) {
  dir.Write("map.hmf", HmfFile(2, 1));
  dir.Write("weather.csv",
            "0;0;1;0\n"
            "5;0;1;1\n"      // off the map
            "1;0;x;1\n"      // not a number
            "1;0;2\n"        // too few fields
            "1;0;2;1\n");
  Convert();
  EXPECT_EQ(map.GetHex(0, 0)->weather, 1);
  EXPECT_EQ(map.GetHex(0, 0)->takesWeather, 0);
  EXPECT_EQ(map.GetHex(1, 0)->weather, 2);
  EXPECT_EQ(map.GetHex(1, 0)->takesWeather, 1);
  EXPECT_TRUE(log.ContainsText(u"line 2 in file"));
  EXPECT_TRUE(log.ContainsText(u"names hex (5, 0) outside the map"));
  EXPECT_TRUE(log.ContainsText(u"line 3 in file"));
  EXPECT_TRUE(log.ContainsText(u"line 4 in file"));
}

// An older map may hold more hexes than a load of the converted one reads:
// a row past the 532 x 532 hexes within 10 MiB is converted but not written.
TEST_F(MapConvert, AMapPastWhatALoadReadsIsNotWritten) {
  dir.Write("map.hmf", HmfFile(532, 533));
  Convert();
  EXPECT_EQ(map.GetHeight(), 533);
  EXPECT_TRUE(log.Contains(u"ERROR: " + Utf8ToUtf16(dir.path().string()) +
                           u"/output_map.qel would hold 10491840 bytes, more than the 10485760 its load reads; it "
                           u"is not written"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "output_map.qel"));
}

TEST_F(MapConvert, EmptySizeStopsTheConversion) {
  dir.Write("map.hmf", HmfFile(0, 3));
  dir.Write("weather.csv", "0;0;2;1\n");
  Convert();
  EXPECT_TRUE(log.Contains(u"ERROR: map cannot have 0 heigth or 0 width!"));
  EXPECT_EQ(map.GetWidth(), 1);
  EXPECT_EQ(map.GetHex(0, 0)->weather, 0);
}

TEST_F(MapConvert, TruncatedOrMissingFileIsFatal) {
  std::string bytes = HmfFile(2, 2);
  dir.Write("map.hmf", bytes.substr(0, bytes.size() - 5));
  EXPECT_THROW(Convert(), FatalExitError);
  EXPECT_TRUE(log.Contains(u"ERROR: Wrong map file version"));
  std::filesystem::remove(dir.path() / "map.hmf");
  EXPECT_THROW(Convert(), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"map.hmf... FAILED"));
}

}  // namespace
}  // namespace tr
