#include "foundation/gui_layout.h"

#include <gtest/gtest.h>

#include "foundation/fatal.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

class GuiLayoutTest : public testing::Test {
 protected:
  bool Load(std::string_view text) {
    return LoadGuiLayoutFile(Utf8ToUtf16(dir_.Write("GUI.csv", text).string()));
  }
  test::TempDir dir_;
  test::LogCapture log_;
};

TEST_F(GuiLayoutTest, ReadsRowsAndLeavesOthersUnset) {
  sGuiLayoutTable[1200] = {5, 5, 5, 5};  // left from an earlier layout
  ASSERT_TRUE(Load("#header\r\n12;100;200;50;20\r\n14;;7;;8;99\r\n15;1\r\n#fonts\r\n"));
  EXPECT_EQ(sGuiLayoutTable[12].x, 100);
  EXPECT_EQ(sGuiLayoutTable[12].y, 200);
  EXPECT_EQ(sGuiLayoutTable[12].width, 50);
  EXPECT_EQ(sGuiLayoutTable[12].height, 20);
  EXPECT_EQ(sGuiLayoutTable[13].x, -1);
  EXPECT_EQ(sGuiLayoutTable[13].height, -1);
  // Runs of ';' are one separator; further fields are ignored.
  EXPECT_EQ(sGuiLayoutTable[14].x, 7);
  EXPECT_EQ(sGuiLayoutTable[14].height, -1);
  EXPECT_EQ(sGuiLayoutTable[15].x, 1);
  EXPECT_EQ(sGuiLayoutTable[15].y, -1);
  EXPECT_EQ(sGuiLayoutTable[1200].x, -1);
  EXPECT_TRUE(log_.ContainsText(u"... OK"));
}

TEST_F(GuiLayoutTest, CornerEntriesAndClearRect) {
  ASSERT_TRUE(Load("#\n3;10;10;100;30\n2;10;10;100;30\n56;1;2;3;4\n57;1;2;3;4\n315;800;560;200;190\n"));
  EXPECT_EQ(sGuiLayoutTable[3].width, 110);
  EXPECT_EQ(sGuiLayoutTable[3].height, 40);
  EXPECT_EQ(sGuiLayoutTable[2].width, 100);
  EXPECT_EQ(sGuiLayoutTable[56].width, 4);
  EXPECT_EQ(sGuiLayoutTable[57].width, 3);
  EXPECT_EQ(gGuiClearRect.left, 798);
  EXPECT_EQ(gGuiClearRect.top, 558);
  EXPECT_EQ(gGuiClearRect.right, 1004);
  EXPECT_EQ(gGuiClearRect.bottom, 754);
}

TEST_F(GuiLayoutTest, ReadsFontsAndDerivesTheLast) {
  ASSERT_TRUE(Load("#\n#\n1;Sans;14;75;255;0;16;1;2;3\n7;Serif;22;0;1;2;3;4;5;6\n"));
  EXPECT_EQ(gGuiFonts[0].face, u"Sans");
  EXPECT_EQ(gGuiFonts[0].height, 14);
  EXPECT_EQ(gGuiFonts[0].weight, 700);
  EXPECT_EQ(gGuiFonts[0].color, 0xFFFF0010u);
  EXPECT_EQ(gGuiFonts[0].color2, 0xFF010203u);
  EXPECT_EQ(gGuiFonts[6].weight, 100);
  EXPECT_EQ(gGuiFonts[7].face, u"Serif");
  EXPECT_EQ(gGuiFonts[7].height, 16);
  EXPECT_EQ(gGuiFonts[7].color2, 0xFF040506u);

  ASSERT_TRUE(Load("#\n#\n7;Serif;22;0\n8;Mono;9;100\n"));
  EXPECT_EQ(gGuiFonts[7].face, u"Mono");
  EXPECT_EQ(gGuiFonts[7].height, 9);
  EXPECT_EQ(gGuiFonts[7].weight, 900);
}

TEST_F(GuiLayoutTest, OutOfRangeRowsAreLoggedAndSkipped) {
  ASSERT_TRUE(Load("#\n1500;1;1;1;1\n-1;2;2;2;2\nxyz;3\n#\n0;Bad;1;1\n9;Bad;1;1\n2;Good;1;1\n"));
  EXPECT_TRUE(log_.ContainsText(u"control id \"1500\" is outside 0-1499"));
  EXPECT_TRUE(log_.ContainsText(u"control id \"-1\" is outside"));
  EXPECT_TRUE(log_.ContainsText(u"control id \"xyz\" is outside"));
  EXPECT_TRUE(log_.ContainsText(u"font number \"0\" is outside 1-8"));
  EXPECT_TRUE(log_.ContainsText(u"font number \"9\" is outside 1-8"));
  EXPECT_EQ(gGuiFonts[1].face, u"Good");
}

// Numbers beyond a field's range are logged with the line and read as 0, so
// corners, the clear area and font weights are computed without overflow.
struct sExtremeRow {
  const char* name;
  const char* text;
  const char16_t* logged;
};

class GuiLayoutExtremeTest : public GuiLayoutTest, public testing::WithParamInterface<sExtremeRow> {};

TEST_P(GuiLayoutExtremeTest, ValueOutsideItsRangeReadsAsZero) {
  ASSERT_TRUE(Load(GetParam().text));
  EXPECT_TRUE(log_.ContainsText(GetParam().logged)) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GuiLayoutExtremeTest,
    testing::Values(
        sExtremeRow{"CornerEntry", "#\n3;2147483647;0;2147483647;0\n",
                    u"line 2: value \"2147483647\" is outside -100000 to 100000, 0 used"},
        sExtremeRow{"ClearArea", "#\n315;-2147483648;2147483647;99999999999999999999;5\n",
                    u"line 2: value \"99999999999999999999\" is outside -100000 to 100000, 0 used"},
        sExtremeRow{"FontWeight", "#\n#\n1;Sans;14;2147483647;1;2;3\n",
                    u"line 3: value \"2147483647\" is outside 0 to 100, 0 used"},
        sExtremeRow{"FontHeight", "#\n#\n7;Sans;-2147483648;5;1;2;3\n",
                    u"line 3: value \"-2147483648\" is outside -128 to 128, 0 used"},
        // A font taller than its glyph atlas holds a few letters of.
        sExtremeRow{"TallFont", "#\n#\n1;Sans;600;50;1;2;3\n", u"line 3: value \"600\" is outside -128 to 128, 0 used"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GuiLayoutTest, ExtremeCornerAndClearAreaValuesAreZero) {
  ASSERT_TRUE(Load("#\n3;2147483647;7;2147483647;3\n315;-2147483648;10;20;30\n#\n1;Sans;14;2147483647\n"));
  EXPECT_EQ(sGuiLayoutTable[3].x, 0);
  EXPECT_EQ(sGuiLayoutTable[3].width, 0);
  EXPECT_EQ(sGuiLayoutTable[3].height, 10);
  EXPECT_EQ(gGuiClearRect.left, -2);
  EXPECT_EQ(gGuiClearRect.right, 24);
  EXPECT_EQ(gGuiFonts[0].weight, 100);
}

TEST_F(GuiLayoutTest, FileWithoutHeaderReadsNothing) {
  ASSERT_TRUE(Load("12;1;2;3;4\n"));
  EXPECT_EQ(sGuiLayoutTable[12].x, -1);
  EXPECT_TRUE(log_.ContainsText(u"has no header line"));
}

TEST_F(GuiLayoutTest, MissingFileIsFatal) {
  const std::filesystem::path root = GameRoot();
  SetGameRoot(dir_.path());
  const int width = gScreenWidth, height = gScreenHeight;
  gScreenWidth = 800;
  gScreenHeight = 600;
  int code = 0;
  try {
    LoadGuiLayout();
  } catch (const FatalExitError& e) {
    code = e.code();
  }
  SetGameRoot(root);
  gScreenWidth = width;
  gScreenHeight = height;
  EXPECT_EQ(code, 1);
  EXPECT_TRUE(log_.Contains(u"Loading GUI coordinates from \"data\\GUI_800x600.csv\"... FAILED"));
}

// The shipped layout of the default resolution loads and sets what start-up needs.
TEST_F(GuiLayoutTest, ShippedLayoutLoads) {
  const std::filesystem::path root = GameRoot();
  SetGameRoot(TR_GAME_DIR);
  gScreenWidth = 1024;
  gScreenHeight = 768;
  LoadGuiLayout();
  SetGameRoot(root);
  EXPECT_TRUE(log_.Contains(u"Loading GUI coordinates nad fonts from \"data\\GUI_1024x768.csv\"... OK"));
  EXPECT_FALSE(log_.ContainsText(u"ignored"));
  EXPECT_NE(sGuiLayoutTable[315].x, -1);
  for (const sGuiFont& font : gGuiFonts) EXPECT_FALSE(font.face.empty());
}

}  // namespace
}  // namespace tr
