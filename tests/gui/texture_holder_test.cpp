// Texture records and the stretched sprite draw.
#include <gtest/gtest.h>

#include "gui/texture_holder.h"
#include "gui_fixture.h"
#include "platform/graphics.h"
#include "platform/sprite_batch.h"
#include "platform/texture.h"
#include "support/log_capture.h"

namespace tr {
namespace {

using TextureHolderTest = test::GuiFixture;

TEST_F(TextureHolderTest, AMissingFileIsLoggedAndLeavesNoTexture) {
  test::LogCapture log;
  TextureHolder holder;
  EXPECT_TRUE(Failed(holder.Load("x.png", TextureHolder::kModeFile, 1)));
  EXPECT_TRUE(log.Contains(u"Loading file \"x.png\" (1) [FAILED]"));
  EXPECT_EQ(holder.GetTexture(), nullptr);
  EXPECT_EQ(holder.mode(), TextureHolder::kModeFile);
  EXPECT_EQ(holder.path(), "x.png");
}

TEST_F(TextureHolderTest, LoadsAGamePathAndLogsIt) {
  test::LogCapture log;
  TextureHolder holder;
  EXPECT_EQ(holder.Load("data\\gfx\\GUI.png", TextureHolder::kModeFile, 3), S_OK);
  ASSERT_NE(holder.GetTexture(), nullptr);
  EXPECT_EQ(holder.GetTexture()->height(), 2048);
  EXPECT_TRUE(log.Contains(u"Loading file \"data\\gfx\\GUI.png\" (3) [OK]"));
  // A bound the caller gives: a picture up to it loads, a larger one is
  // refused with a line saying why.
  const int width = holder.GetTexture()->width();
  EXPECT_EQ(holder.Load("data\\gfx\\GUI.png", TextureHolder::kModeFile, 1, PictureBound{width, 2048}), S_OK);
  EXPECT_TRUE(Failed(holder.Load("data\\gfx\\GUI.png", TextureHolder::kModeFile, 1, PictureBound{width, 2047})));
  EXPECT_EQ(holder.GetTexture(), nullptr);
  EXPECT_TRUE(log.ContainsText(u"Picture \"data\\gfx\\GUI.png\" not loaded: "));
}

struct ModeCase {
  int mode;
  HResult result;
  bool has_texture;
  int needs_reset;
};

class TextureModeTest : public test::GuiFixture, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(TextureModeTest, EachModeLoadsAsItSays) {
  TextureHolder holder;
  EXPECT_EQ(holder.Load("pic.png", GetParam().mode, 1), GetParam().result);
  EXPECT_EQ(holder.GetTexture() != nullptr, GetParam().has_texture);
  EXPECT_EQ(holder.NeedsReset(), GetParam().needs_reset);
}

INSTANTIATE_TEST_SUITE_P(Modes, TextureModeTest,
                         ::testing::Values(ModeCase{0, S_OK, false, 0}, ModeCase{2, S_OK, true, 2},
                                           ModeCase{7, 20, false, 20}));

TEST_F(TextureHolderTest, ABlankTextureKeepsItsSizeAcrossADeviceReset) {
  TextureHolder holder;
  ASSERT_EQ(holder.CreateEmpty(300, 200), S_OK);
  EXPECT_EQ(holder.OnResetDevice(), S_OK);
  ASSERT_NE(holder.GetTexture(), nullptr);
  EXPECT_EQ(holder.GetTexture()->width(), 300);
  EXPECT_EQ(holder.GetTexture()->height(), 200);
  holder.Release();
  EXPECT_EQ(holder.GetTexture(), nullptr);
  EXPECT_EQ(holder.mode(), TextureHolder::kModeEmpty);
}

TEST_F(TextureHolderTest, StretchedDrawScalesAndLeavesTheTransform) {
  auto texture = Texture::CreateEmpty(32, 32, 0xFFFFFFFFu);
  auto sprite = frame_->graphics().CreateSpriteBatch();
  const Matrix2D zoom = Matrix2D::Translation(5, 7);
  sprite->SetTransform(zoom);
  sprite->Begin();
  DrawSpriteStretched(*sprite, texture.get(), {0, 0, 32, 32}, 100, 50, 64, 16, 0xFF808080u, 0.4f, false);
  DrawSpriteStretched(*sprite, texture.get(), {0, 0, 32, 32}, 100, 50, 64, 16, 0xFF808080u, 0.4f, true);
  // A source without width or height draws nothing.
  DrawSpriteStretched(*sprite, texture.get(), {3, 4, 3, 20}, 100, 50, 64, 16, 0xFF808080u, 0.4f, false);
  DrawSpriteStretched(*sprite, texture.get(), {3, 4, 20, 4}, 100, 50, 64, 16, 0xFF808080u, 0.4f, false);
  EXPECT_EQ(sprite->GetTransform(), zoom);
  recorder_.Clear();
  sprite->End();
  const auto sprites = recorder_.OfKind(DrawRecord::Kind::kSprite);
  ASSERT_EQ(sprites.size(), 2u);
  EXPECT_EQ(test::DestOf(*sprites[0]), (Rect{100, 50, 164, 66}));
  EXPECT_EQ(test::DestOf(*sprites[1]), (Rect{105, 57, 169, 73}));
  EXPECT_EQ(sprites[0]->colour, 0xFF808080u);
}

}  // namespace
}  // namespace tr
