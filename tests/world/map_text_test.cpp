// The readable map text the build turns into the scenario's map: its weather,
// winter and mud lines and the owners of its land.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "world/map_text.h"

namespace tr {
namespace {

std::string MapWithWeather(const std::string& weather) {
  return "size 3 2\n"
         "terrain\n"
         "pp.\n"
         "pf.\n"
         "owner\n"
         "12.\n"
         "11.\n" +
         weather + "\n";
}

TEST(MapText, WeatherIsReadWithinItsCodes) {
  std::string error;
  const auto map = ParseMapText(MapWithWeather("weather 1 1 2 0\nweather 0 1 0 1"), error);
  ASSERT_NE(map, nullptr) << error;
  EXPECT_EQ(map->GetHex(1, 1)->weather, 2);
  EXPECT_EQ(map->GetHex(1, 1)->takesWeather, 0);
  EXPECT_EQ(map->GetHex(0, 1)->takesWeather, 1);  // state 0, the lowest, is read
  EXPECT_EQ(map->GetHex(1, 0)->owner, 2);
}

// Winter and mud chances of overlapping rectangles add up, month by month,
// to 100 at most.
TEST(MapText, AreaChancesAddUpMonthByMonthTo100) {
  std::string error;
  const auto map = ParseMapText(MapWithWeather("winter 0 0 1 1 11 12 13 14 15 16 17 18 19 20 21 22\n"
                                               "winter 1 1 1 1 89 2 3 4 5 6 7 8 9 10 23 24\n"
                                               "mud 0 1 0 1 40 41 42 43 44 45 46 47 48 49 50 51"),
                                error);
  ASSERT_NE(map, nullptr) << error;
  using Months = std::array<std::uint8_t, kMonthsPerYear>;
  EXPECT_EQ(map->GetHex(0, 0)->winterChance, (Months{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}));
  EXPECT_EQ(map->GetHex(1, 1)->winterChance, (Months{100, 14, 16, 18, 20, 22, 24, 26, 28, 30, 44, 46}));
  EXPECT_EQ(map->GetHex(0, 1)->mudChance, (Months{40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51}));
  EXPECT_EQ(map->GetHex(1, 0)->mudChance, Months{});

  EXPECT_EQ(ParseMapText(MapWithWeather("winter 0 0 1 1 11 12 13 14 15 16 17 18 19 20 21 22\n"
                                        "winter 1 1 1 1 90 2 3 4 5 6 7 8 9 10 23 24"),
                         error),
            nullptr);
  EXPECT_EQ(error, "line 9: chances of overlapping areas add up beyond 100");
}

// A land hex without an owner is a fault of the whole map, not of a line.
TEST(MapText, LandWithoutAnOwnerIsRefused) {
  std::string error;
  EXPECT_EQ(ParseMapText("size 3 2\nterrain\npp.\npf.\nowner\n12.\n1..\n", error), nullptr);
  EXPECT_EQ(error, "line 0: land hex (1, 1) has no owner");
}

class MapTextBadWeather : public testing::TestWithParam<const char*> {};
TEST_P(MapTextBadWeather, IsRefusedWithItsLine) {
  std::string error;
  EXPECT_EQ(ParseMapText(MapWithWeather(GetParam()), error), nullptr);
  EXPECT_EQ(error, "line 8: weather state 0-2 and takes-weather 0-1 expected");
}
INSTANTIATE_TEST_SUITE_P(Codes, MapTextBadWeather,
                         testing::Values("weather 1 1 3 1", "weather 1 1 -1 1", "weather 1 1 0 2", "weather 1 1 0 -1"));

}  // namespace
}  // namespace tr
