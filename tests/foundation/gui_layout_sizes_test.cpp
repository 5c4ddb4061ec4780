#include "datagen/gui_layout_sizes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace tr {
namespace {

struct Row {
  int id, x, y, w, h;
};

struct Layout {
  std::vector<Row> rows;
  std::vector<int> fonts;
};

Layout Parse(const std::string& text) {
  Layout layout;
  std::istringstream in(text);
  std::string line;
  int headers = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line[0] == '#') {
      ++headers;
      continue;
    }
    std::replace(line.begin(), line.end(), ';', ' ');
    std::istringstream fields(line);
    if (headers == 1) {
      Row r{};
      fields >> r.id >> r.x >> r.y >> r.w >> r.h;
      layout.rows.push_back(r);
    } else if (headers == 2) {
      int number = 0;
      fields >> number;
      layout.fonts.push_back(number);
    }
  }
  return layout;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<int> Ids(const Layout& layout) {
  std::vector<int> ids;
  for (const Row& r : layout.rows) ids.push_back(r.id);
  return ids;
}

Row Placed(const std::string& source, int width, int height, int id) {
  for (const Row& r : Parse(datagen::DeriveGuiLayout(source, width, height)).rows) {
    if (r.id == id) return r;
  }
  ADD_FAILURE() << "row " << id << " missing";
  return {};
}

struct ShippedSize {
  int width, height;
};

class ShippedLayoutTest : public testing::TestWithParam<ShippedSize> {};

// The files the build puts into the game folder hold every row and font of the
// edited 1024 x 768 file, and every screen rectangle lies inside the window.
TEST_P(ShippedLayoutTest, HoldsEverySourceRowInsideTheWindow) {
  const auto [width, height] = GetParam();
  const Layout source = Parse(ReadFile(std::filesystem::path(TR_SOURCE_DIR) / "data" / "GUI_1024x768.csv"));
  const std::string name = "GUI_" + std::to_string(width) + "x" + std::to_string(height) + ".csv";
  const std::string text = ReadFile(std::filesystem::path(TR_GAME_DIR) / "data" / name);
  ASSERT_FALSE(text.empty()) << name << " is not in the game folder";
  const Layout derived = Parse(text);
  ASSERT_FALSE(source.rows.empty());
  EXPECT_EQ(Ids(derived), Ids(source));
  EXPECT_EQ(derived.fonts, source.fonts);
  for (const Row& r : derived.rows) {
    // Rows 1 to 69 are cells of the skin picture, not screen places.
    if (r.id >= 1 && r.id <= 69) continue;
    SCOPED_TRACE("row " + std::to_string(r.id));
    if (r.id == 291) {  // edges, not a size
      EXPECT_GE(r.x, 0);
      EXPECT_GE(r.y, 0);
      EXPECT_LE(r.w, width);
      EXPECT_LE(r.h, height);
      continue;
    }
    EXPECT_GE(r.x, 0);
    EXPECT_GE(r.y, 0);
    EXPECT_LE(r.x + r.w, width);
    EXPECT_LE(r.y + r.h, height);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ShippedLayoutTest,
                         testing::Values(ShippedSize{1024, 768}, ShippedSize{1280, 720}, ShippedSize{1366, 768},
                                         ShippedSize{1920, 1080}));

constexpr const char* kSource =
    "# layout\n"
    "3;0;600;820;100\n"          // skin cell
    "80;0;24;1024;48\n"          // full-width title
    "176;20;84;490;626\n"        // scaled menu
    "291;4;4;1019;763\n"         // edge zone
    "310;820;516;204;252\n"      // bottom-right panel
    "315;828;572;192;192\n"      // inside it
    "451;4;4;300;314\n"          // top-left panel
    "685;16;12;16;24\n"          // an offset row
    "700;212;164;600;440\n"      // centred dialog
    "702;232;500;100;30;extra\n" // its control, with a further field
    "720;312;20;400;680\n"       // a tall dialog: centred, kept below the top
    "750;744;4;276;760\n"        // a side panel as tall as the window
    "758;754;726;256;28\n"       // its bottom button
    "780;162;0;700;768\n"        // a window as tall as the screen, placed by its own code
    "781;172;10;680;30\n"        // its title, an offset from its top
    "900;212;164;600;440\n"      // a dialog that lies in it
    "919;532;520;180;34\n"       // that dialog's button
    "#fonts\n"
    "1;Liberation Sans;14;50;255;255;255;0;0;0\n";

struct PlacementCase {
  int width, height, id;
  Row expected;
};

class PlacementTest : public testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTest, PlacesRowByItsRule) {
  const PlacementCase& c = GetParam();
  const Row r = Placed(kSource, c.width, c.height, c.id);
  EXPECT_EQ(r.x, c.expected.x);
  EXPECT_EQ(r.y, c.expected.y);
  EXPECT_EQ(r.w, c.expected.w);
  EXPECT_EQ(r.h, c.expected.h);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PlacementTest,
    testing::Values(PlacementCase{1920, 1080, 3, {3, 0, 600, 820, 100}},
                    PlacementCase{1920, 1080, 80, {80, 0, 24, 1920, 48}},
                    PlacementCase{1280, 720, 176, {176, 25, 79, 613, 587}},
                    PlacementCase{1366, 768, 291, {291, 4, 4, 1361, 763}},
                    PlacementCase{1920, 1080, 310, {310, 1716, 828, 204, 252}},
                    PlacementCase{1920, 1080, 315, {315, 1724, 884, 192, 192}},
                    PlacementCase{1920, 1080, 451, {451, 4, 4, 300, 314}},
                    PlacementCase{1920, 1080, 685, {685, 16, 12, 16, 24}},
                    PlacementCase{1366, 768, 700, {700, 383, 164, 600, 440}},
                    PlacementCase{1280, 720, 702, {702, 360, 476, 100, 30}},
                    PlacementCase{1280, 720, 720, {720, 440, 0, 400, 680}},
                    PlacementCase{1920, 1080, 720, {720, 760, 176, 400, 680}},
                    PlacementCase{1280, 720, 750, {750, 1000, 4, 276, 712}},
                    PlacementCase{1280, 720, 758, {758, 1010, 681, 256, 26}},
                    PlacementCase{1920, 1080, 758, {758, 1650, 1021, 256, 28}},
                    PlacementCase{1920, 1080, 780, {780, 610, 0, 700, 1080}},
                    PlacementCase{1920, 1080, 781, {781, 620, 14, 680, 30}},
                    PlacementCase{1920, 1080, 900, {900, 660, 320, 600, 440}},
                    PlacementCase{1920, 1080, 919, {919, 980, 676, 180, 34}},
                    PlacementCase{1280, 720, 919, {919, 660, 496, 180, 34}}));

TEST(GuiLayoutSizesTest, KeepsFontsHeadersAndFurtherFields) {
  const std::string out = datagen::DeriveGuiLayout(kSource, 1280, 720);
  EXPECT_NE(out.find("# Screen layout for 1280 x 720"), std::string::npos);
  EXPECT_NE(out.find("\r\n#fonts\r\n1;Liberation Sans;14;50;255;255;255;0;0;0\r\n"), std::string::npos);
  EXPECT_NE(out.find("702;360;476;100;30;extra\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tr
