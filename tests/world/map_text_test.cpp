// The readable map text the build turns into the scenario's map: a weather
// line is read within its codes and refused, with its line, outside them.
#include <gtest/gtest.h>

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
  const auto map = ParseMapText(MapWithWeather("weather 1 1 2 0"), error);
  ASSERT_NE(map, nullptr) << error;
  EXPECT_EQ(map->GetHex(1, 1)->weather, 2);
  EXPECT_EQ(map->GetHex(1, 1)->takesWeather, 0);
  EXPECT_EQ(map->GetHex(1, 0)->owner, 2);
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
