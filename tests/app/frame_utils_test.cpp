// Frame utilities: square fitting, the layout-editing hook and its groups,
// the sprite-depth table and the appearance records chosen by zoom.
#include "app/frame_utils.h"

#include <gtest/gtest.h>

#include <array>

#include "app/map_render.h"
#include "app/skin_tables.h"
#include "foundation/settings.h"
#include "gui/dialog.h"
#include "gui/gui_hooks.h"
#include "gui/static.h"
#include "support/screen_fixture.h"
#include "support/temp_dir.h"
#include "world/map_camera.h"

namespace tr {
namespace {

struct SquareCase {
  int h, v;
  int x, y;
};
class SquareRectAlignedTest : public testing::TestWithParam<SquareCase> {};

TEST_P(SquareRectAlignedTest, PlacesTheSquareOfTheSmallerSide) {
  int x = 10, y = 20, width = 100, height = 40;
  const float scale = SquareRectAligned(x, y, width, height, GetParam().h, GetParam().v);
  EXPECT_EQ(width, 40);
  EXPECT_EQ(height, 40);
  EXPECT_FLOAT_EQ(scale, 0.4f);
  EXPECT_EQ(x, GetParam().x);
  EXPECT_EQ(y, GetParam().y);
}

INSTANTIATE_TEST_SUITE_P(Modes, SquareRectAlignedTest,
                         testing::Values(SquareCase{0, 0, 10, 20}, SquareCase{2, 0, 70, 20}, SquareCase{1, 0, 40, 20},
                                         SquareCase{5, 2, 40, 20}));

class ControlMovedTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    SetControlMovedHook(&OnControlMoved);
  }
};

TEST_F(ControlMovedTest, MovingAGroupHeadMovesItsFollowersAndStoresEveryRectangle) {
  CDXUTDialog dialog;
  for (int id = 480; id <= 506; ++id) dialog.AddStatic(id, u"", id - 480, 100, 10, 10);
  ASSERT_TRUE(dialog.GetControl(480)->MoveBy(5, 10));
  EXPECT_EQ(dialog.GetControl(505)->x(), 25 + 5);
  EXPECT_EQ(dialog.GetControl(505)->y(), 110);
  EXPECT_EQ(dialog.GetControl(506)->x(), 26);
  EXPECT_EQ(sGuiLayoutTable[480].x, 5);
  EXPECT_EQ(sGuiLayoutTable[480].y, 110);
  EXPECT_EQ(sGuiLayoutTable[480].width, 10);
  EXPECT_EQ(sGuiLayoutTable[505].x, 30);
}

TEST_F(ControlMovedTest, PanelIconLeavingTheScreenIsRefusedAndTheDragUndone) {
  int moves = 0;
  SetPanelMoveHandler([&](int, int, int) { ++moves; });
  CDXUTDialog dialog;
  dialog.AddStatic(400, u"", gScreenWidth - 37, gScreenHeight - 43, 19, 17);
  CDXUTControl& icon = *dialog.GetControl(400);
  // One pixel past the right edge, then exactly on it.
  EXPECT_FALSE(icon.MoveBy(19, 0));
  EXPECT_EQ(icon.x(), gScreenWidth - 37);
  EXPECT_EQ(moves, 0);
  EXPECT_TRUE(icon.MoveBy(18, 0));
  EXPECT_EQ(moves, 1);
  // The same at the bottom edge.
  EXPECT_FALSE(icon.MoveBy(0, 27));
  EXPECT_EQ(icon.y(), gScreenHeight - 43);
  EXPECT_TRUE(icon.MoveBy(0, 26));
  EXPECT_EQ(icon.y(), gScreenHeight - 17);
  EXPECT_EQ(moves, 2);
  SetPanelMoveHandler({});
}

TEST_F(ControlMovedTest, IdsOutsideTheTableAndId780AreAcceptedWithoutStoring) {
  const sGuiLayoutEntry before = sGuiLayoutTable[780];
  EXPECT_TRUE(OnControlMoved(nullptr, 780, Rect{1, 2, 3, 4}, 1, 1));
  EXPECT_TRUE(OnControlMoved(nullptr, 1500, Rect{1, 2, 3, 4}, 1, 1));
  EXPECT_TRUE(OnControlMoved(nullptr, 0, Rect{1, 2, 3, 4}, 1, 1));
  EXPECT_EQ(sGuiLayoutTable[780].x, before.x);
}

TEST_F(ControlMovedTest, SliderWithLabelsPlacesAllThreeAndRightAlignsTheValue) {
  SetLayout(120, 10, 10, 100, 20);
  SetLayout(121, 120, 10, 200, 20);
  SetLayout(122, 330, 10, 60, 20);
  CDXUTDialog dialog;
  CDXUTStatic* value = AddSliderWithLabels(dialog, 121, 0, 100, 40, 120, u"Volume", 122, u"40");
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value, dialog.GetControl(122));
  EXPECT_EQ(value->GetTextFormat(), 6u);
  EXPECT_EQ(dialog.GetControl(121)->GetType(), kControlSlider);
  EXPECT_EQ(dialog.GetControl(121)->GetBoundingBox(), (Rect{120, 10, 320, 30}));
  EXPECT_EQ(dialog.GetControl(120)->GetType(), kControlStatic);
}

TEST(SpriteDepths, FirstEighteenDataLinesGiveTheRowsLimitedTo39) {
  test::TempDir folder;
  std::string text = "# key;comment\r\n45;x\r\n-5\r\n\r\n0\r\n39;a\r\nabc\r\n";
  for (int i = 0; i < 20; ++i) text += "7\r\n";
  LoadSpriteDepths(folder.Write("sprites_depth.csv", text));
  const auto& depths = SkinTables().depths;
  EXPECT_EQ(depths[0].key, 39);
  EXPECT_FLOAT_EQ(depths[0].depth, 0.6f);
  EXPECT_EQ(depths[1].key, -5);
  EXPECT_FLOAT_EQ(depths[1].depth, 1.04f);
  EXPECT_EQ(depths[2].key, 0);
  EXPECT_FLOAT_EQ(depths[2].depth, 0.99f);
  EXPECT_EQ(depths[3].key, 39);
  EXPECT_EQ(depths[4].key, 0);  // a field without a number
  EXPECT_EQ(depths[17].key, 7);
  LoadSpriteDepths(folder.path() / "missing.csv");
  EXPECT_EQ(depths[0].key, 39);
}

TEST(AppearanceByZoom, LastRecordAboveTheZoomWinsAndNoneKeepsTheActiveOne) {
  sSkinTables& tables = SkinTables();
  const bool oldDynamic = gDynamicUnitAppearance;
  gDynamicUnitAppearance = true;
  const int thresholds[] = {300, 200, 150, 120, 80, -100, -100, -100, -100, -100};
  for (auto& table : tables.units) {
    for (int i = 0; i < kUnitAppearanceCount; ++i) table[static_cast<std::size_t>(i)].threshold = thresholds[i];
  }
  SelectMapFontsForZoom(1.0f);
  EXPECT_EQ(tables.activeUnit[0], &tables.units[0][3]);
  SelectMapFontsForZoom(0.5f);
  EXPECT_EQ(tables.activeUnit[2], &tables.units[2][4]);
  SelectMapFontsForZoom(4.0f);
  EXPECT_EQ(tables.activeUnit[1], &tables.units[1][4]);
  // Without dynamic appearance the active records stay.
  gDynamicUnitAppearance = false;
  SelectMapFontsForZoom(1.0f);
  EXPECT_EQ(tables.activeUnit[1], &tables.units[1][4]);
  // Cities follow the zoom whatever the setting.
  tables.cities[0].threshold = 250;
  tables.cities[1].threshold = 110;
  SelectFontSetForZoom(1.0f);
  EXPECT_EQ(tables.activeCity, &tables.cities[1]);
  gDynamicUnitAppearance = oldDynamic;
}

}  // namespace
}  // namespace tr

namespace tr {
namespace {

// The city records a map draws with: a record exactly at the zoom is not
// above it, and before the first zoom has settled (the displayed scale still
// below 0) the zoom the map goes to chooses.
TEST(AppearanceByZoom, ARecordExactlyAtTheZoomIsPassedOverAndTheTargetChoosesBeforeTheFirstZoom) {
  sSkinTables& tables = SkinTables();
  std::array<int, kCityAppearanceCount> savedThresholds{};
  for (std::size_t i = 0; i < tables.cities.size(); ++i) savedThresholds[i] = tables.cities[i].threshold;
  sCityAppearance* const savedActive = tables.activeCity;
  const float savedDisplayed = gDisplayedScale;
  const float savedTarget = gTargetScale;
  const bool savedDynamic = gDynamicUnitAppearance;
  gDynamicUnitAppearance = false;
  const int thresholds[kCityAppearanceCount] = {250, 125, 75, 50, -100};
  for (std::size_t i = 0; i < tables.cities.size(); ++i) tables.cities[i].threshold = thresholds[i];

  SelectFontSetForZoom(1.25f);
  EXPECT_EQ(tables.activeCity, &tables.cities[0]);
  SelectFontSetForZoom(1.0f);
  EXPECT_EQ(tables.activeCity, &tables.cities[1]);

  gDisplayedScale = -1.0f;
  gTargetScale = 0.5f;
  ChooseAppearanceForZoom();
  EXPECT_EQ(tables.activeCity, &tables.cities[2]);
  gDisplayedScale = 0.25f;
  ChooseAppearanceForZoom();
  EXPECT_EQ(tables.activeCity, &tables.cities[3]);

  for (std::size_t i = 0; i < tables.cities.size(); ++i) tables.cities[i].threshold = savedThresholds[i];
  tables.activeCity = savedActive;
  gDisplayedScale = savedDisplayed;
  gTargetScale = savedTarget;
  gDynamicUnitAppearance = savedDynamic;
}

}  // namespace
}  // namespace tr
