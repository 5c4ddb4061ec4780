// Fitting the minimap picture, the ownership layer and the view frame.
#include <gtest/gtest.h>

#include "app/minimap_texture.h"
#include "foundation/settings.h"
#include "platform/texture.h"
#include "support/world_builder.h"

namespace tr {
namespace {

struct FitCase {
  int mapW, mapH, imageW, imageH;
  std::array<std::int32_t, 4> area;
  int contentW, contentH;
  float scale;
  std::array<std::int32_t, 4> rect;
};
class MinimapFit : public ::testing::TestWithParam<FitCase> {};
TEST_P(MinimapFit, KeepsTheMapsProportions) {
  const FitCase& c = GetParam();
  const sMinimapView v = FitMinimap(c.mapW, c.mapH, c.imageW, c.imageH, c.area);
  EXPECT_EQ(v.contentWidth, c.contentW);
  EXPECT_EQ(v.contentHeight, c.contentH);
  EXPECT_FLOAT_EQ(v.scale, c.scale);
  EXPECT_EQ(v.rect, c.rect);
}
INSTANTIATE_TEST_SUITE_P(
    Maps, MinimapFit,
    ::testing::Values(FitCase{100, 50, 512, 512, {10, 20, 200, 200}, 512, 256, 0.390625f, {10, 70, 200, 100}},
                      FitCase{40, 80, 400, 400, {10, 20, 300, 150}, 200, 400, 0.375f, {122, 20, 75, 150}},
                      // A square map keeps the picture's height, whatever its width.
                      FitCase{30, 30, 320, 240, {6, 8, 120, 90}, 240, 240, 0.375f, {21, 8, 90, 90}}));

TEST(MinimapOwnership, LandTakesTheOwnersColourAtHalfOpacity) {
  test::TestWorld world(4, 2, 2);
  world.country(1).colors[0] = 0xFF112233u;
  world.hex(0, 0).owner = 1;
  world.hex(1, 0).terrain = kTerrainWater;
  world.hex(1, 0).owner = 1;
  TextureHolder layer;
  layer.CreateEmpty(4, 2);
  world.map().ownershipLayerWidth = 4;
  world.map().ownershipLayerHeight = 2;
  const int oldMode = gMinimapOwnershipMode;
  gMinimapOwnershipMode = 1;
  UpdateOwnershipLayer(world.map(), layer);
  gMinimapOwnershipMode = oldMode;
  EXPECT_EQ(layer.GetTexture()->Pixel(0, 0), 0x80112233u);
  EXPECT_EQ(layer.GetTexture()->Pixel(1, 0), 0u);  // sea
  EXPECT_EQ(layer.GetTexture()->Pixel(2, 0), 0u);  // no owner
}

}  // namespace
}  // namespace tr
