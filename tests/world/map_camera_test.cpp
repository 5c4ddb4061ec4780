// Camera, zoom and weather of the map.
#include <gtest/gtest.h>

#include "foundation/random.h"
#include "foundation/settings.h"
#include "support/log_capture.h"
#include "support/world_builder.h"
#include "world/map_camera.h"

namespace tr {
namespace {

class MapCameraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gScreenWidth = 1024;
    gScreenHeight = 768;
    gZoomLevel = 0.8f;
    gTargetScale = gDisplayedScale = 1.0f;
    gMapDrag = {};
  }
  test::TestWorld world_{20, 10, 2};
  cMap& map_ = world_.map();
};

TEST_F(MapCameraTest, ScrollStopsAtTheLimitsAndKeepsSmallSpeeds) {
  map_.ScrollCamera(1e6f, 0, 1.0f);
  EXPECT_EQ(map_.camera.targetX, static_cast<float>(map_.cameraMaxX));
  map_.camera = {};
  map_.camera.x = map_.camera.targetX = 200.0f;
  map_.camera.y = map_.camera.targetY = 200.0f;
  map_.ScrollCamera(0.05f, 0.05f, 1.0f);
  EXPECT_FLOAT_EQ(map_.camera.glideSpeedX, 0.1f);
  EXPECT_FLOAT_EQ(map_.camera.glideSpeedY, 0.005f);
  map_.ScrollCamera(0, -0.1f, 1.0f);
  EXPECT_FLOAT_EQ(map_.camera.glideSpeedY, -0.1f);
}

struct ZoomCase {
  float from, amount, to;
};
class ZoomSteps : public MapCameraTest, public ::testing::WithParamInterface<ZoomCase> {};
TEST_P(ZoomSteps, ChangeTheLevelByTheStepOfItsRange) {
  gZoomLevel = GetParam().from;
  map_.Zoom(GetParam().amount, 0, 0);
  EXPECT_NEAR(gZoomLevel, GetParam().to, 1e-6);
}
INSTANTIATE_TEST_SUITE_P(Levels, ZoomSteps,
                         ::testing::Values(ZoomCase{0.8f, -1.0f, 0.85f}, ZoomCase{0.5f, -1.0f, 0.51f},
                                           ZoomCase{1.0f, -1.0f, 1.0f}, ZoomCase{0.0f, 1.0f, 0.0f}));

// A fresh map opens at the settings' zoom, kept between the whole map and
// scale 1, with the zoom level the wheel goes on from.
struct OpeningCase {
  float settingsZoom, scale;
};
class OpeningZoom : public MapCameraTest, public ::testing::WithParamInterface<OpeningCase> {
 protected:
  void TearDown() override { gMapZoom = 1.0f; }
};
TEST_P(OpeningZoom, IsTheSettingsZoomWithinTheMapsRange) {
  map_.fitScale = 1024.0f / (20 * 83);  // the map's width fits the screen
  gMapZoom = GetParam().settingsZoom;
  ResetMapView(map_);
  EXPECT_FLOAT_EQ(gTargetScale, GetParam().scale);
  map_.Zoom(0.0f, 0, 0);
  EXPECT_NEAR(gTargetScale, GetParam().scale, 1e-5);
}
INSTANTIATE_TEST_SUITE_P(Settings, OpeningZoom,
                         ::testing::Values(OpeningCase{1.0f, 1.0f}, OpeningCase{0.8f, 0.8f}, OpeningCase{1.5f, 1.0f},
                                           OpeningCase{0.2f, 1024.0f / (20 * 83)}));

// A drag in progress moves the camera and the minimap's outline with it; a
// drag that ends within 9 pixels on both axes is a click.
class MapDrag : public MapCameraTest {
 protected:
  void SetUp() override {
    MapCameraTest::SetUp();
    map_.fitScale = 1024.0f / (20 * 83);
    ResetMapView(map_);
    map_.FrameMove(0.0f);  // settles the limits for the scale
    map_.minimapRect = {600, 500, 160, 80};
    map_.camera.x = map_.camera.targetX = 900.0f;
    map_.camera.y = map_.camera.targetY = 600.0f;
    world_.game().StoreGameState(kGameHumanIdle);
    SetMapClickHandler([this] { ++clicks_; });
  }
  void TearDown() override {
    SetMapClickHandler(nullptr);
    gMapDrag = {};
  }
  void Drag(bool ended, int dx, int dy) {
    gMapDrag = {!ended, ended, dx, dy};
    map_.FrameMove(0.0f);
  }
  int clicks_ = 0;
};

TEST_F(MapDrag, MovesTheCameraAndTheMinimapOutline) {
  Drag(false, 120, -45);
  EXPECT_FLOAT_EQ(map_.camera.x, 780.0f);
  EXPECT_FLOAT_EQ(map_.camera.y, 645.0f);
  const auto outline = map_.minimapOutline;
  EXPECT_GT(outline[0][0], 600.0f);
  EXPECT_GT(outline[1][0], outline[0][0]);
  EXPECT_LT(outline[1][0], 760.0f);
  EXPECT_GT(outline[0][1], 500.0f);
  EXPECT_GT(outline[2][1], outline[0][1]);
  EXPECT_LT(outline[2][1], 580.0f);
  EXPECT_EQ(outline[4], outline[0]);
  Drag(false, 200, -45);
  EXPECT_FLOAT_EQ(map_.camera.x, 700.0f);
  EXPECT_LT(map_.minimapOutline[0][0], outline[0][0]);
  EXPECT_GT(map_.minimapOutline[0][0], 600.0f);
  EXPECT_EQ(clicks_, 0);
}

TEST_F(MapDrag, EndingWithinNinePixelsIsAClick) {
  Drag(true, 9, -9);
  EXPECT_EQ(clicks_, 1);
  EXPECT_FLOAT_EQ(map_.camera.targetX, 891.0f);
  EXPECT_FLOAT_EQ(map_.camera.targetY, 609.0f);
  Drag(true, 10, 4);
  Drag(true, -3, 10);
  Drag(true, -10, 2);
  EXPECT_EQ(clicks_, 1);
}

TEST_F(MapCameraTest, ZoomOutsideTheHumanStatesDropsTheOffsets) {
  world_.game().StoreGameState(kGameComputerTurn);
  map_.camera.zoomOffsetX = 5;
  map_.Zoom(1.0f, 100, 100);
  EXPECT_EQ(map_.camera.zoomOffsetX, 0.0f);
}

TEST_F(MapCameraTest, GlideWithTheFlagEndsInStateSeven) {
  world_.game().StoreGameState(kGameHumanIdle);
  map_.FrameMove(0.0f);
  map_.GlideCamera(400.0f, 300.0f, true);
  EXPECT_EQ(world_.game().GetGameState(), kGameCameraGlide);
  EXPECT_EQ(map_.camera.targetX, 400.0f);
  EXPECT_EQ(map_.camera.targetY, 300.0f);
  // Each axis steps by its own speed, the zoom offsets aside: half the way
  // in a hundredth of a second.
  map_.camera.zoomOffsetX = map_.camera.zoomOffsetY = 0.0f;
  const float startX = map_.camera.x, startY = map_.camera.y;
  ASSERT_NE(startY, 300.0f);
  map_.FrameMove(0.01f);
  EXPECT_FLOAT_EQ(map_.camera.x, (startX + 400.0f) / 2.0f);
  EXPECT_FLOAT_EQ(map_.camera.y, (startY + 300.0f) / 2.0f);
  for (int i = 0; i < 200 && world_.game().GetGameState() == kGameCameraGlide; ++i) map_.FrameMove(0.02f);
  EXPECT_EQ(world_.game().GetGameState(), kGameHumanIdle);
  EXPECT_EQ(map_.camera.x, map_.camera.targetX);
  EXPECT_EQ(map_.camera.y, map_.camera.targetY);
}

TEST_F(MapCameraTest, CenterOffTheMapLogsAndMovesNothing) {
  test::LogCapture log;
  map_.camera.targetX = 300;
  CenterAtHex(map_, -1, 3);
  EXPECT_TRUE(log.ContainsText(u"warning:_attempt_to_center_map_on_hex_(-1,3)_which_is_out_of_range!") ||
              log.ContainsText(u"(-1,3)"));
  EXPECT_EQ(map_.camera.targetX, 300.0f);
}

TEST_F(MapCameraTest, MinimapPointWithoutAMinimapDoesNothing) {
  map_.minimapRect = {0, 0, 0, 0};
  map_.CenterAtMinimapPoint(5, 5);
  EXPECT_EQ(map_.camera.targetX, 0.0f);
}

TEST_F(MapCameraTest, AllSnowTurnsEveryWeatherHexToSnowWithOneDrawEach) {
  for (sHex& hex : map_.Hexes()) hex.winterChance.fill(100);
  map_.GetHex(0, 0)->terrain = kTerrainWater;
  map_.GetHex(1, 0)->takesWeather = 0;
  ScopedRandomDraws draws(std::deque<int>(20 * 10 - 2, 0));
  map_.RollWeather(3);
  EXPECT_EQ(draws.remaining(), 0u);
  int snow = 0;
  for (const sHex& hex : map_.Hexes()) snow += hex.weather == 1 ? 1 : 0;
  EXPECT_EQ(snow, 20 * 10 - 2);
  EXPECT_EQ(map_.GetHex(0, 0)->weather, 0);
}

}  // namespace
}  // namespace tr
