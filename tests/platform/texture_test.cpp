// Textures: PNG files, lockable texels that survive a device reset, tiles beyond the size limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "platform/frame.h"
#include "platform/sprite_batch.h"
#include "platform/texture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

TEST(Texture, PngRoundTripKeepsSizeAndTexels) {
  test::TempDir dir;
  const std::uint32_t texels[6] = {0xFFFF0000, 0x8000FF00, 0x000000FF, 0xFFFFFFFF, 0x12345678, 0xFF000000};
  ASSERT_TRUE(SavePng(dir.path() / "t.png", texels, 3, 2, 3));
  auto t = Texture::FromPngFile(dir.path() / "t.png");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->width(), 3);
  EXPECT_EQ(t->height(), 2);
  EXPECT_EQ(t->label(), "t.png");
  for (int i = 0; i < 6; ++i) EXPECT_EQ(t->Pixel(i % 3, i / 3), texels[i]) << i;
  // Outside the picture on any one side there is nothing, not a texel of the next row.
  for (const auto& [x, y] : {std::pair{-1, 1}, std::pair{1, -1}, std::pair{3, 0}, std::pair{0, 2}}) {
    EXPECT_EQ(t->Pixel(x, y), 0u) << x << "," << y;
  }
}

TEST(Texture, MissingOrBrokenFilesGiveNoTexture) {
  test::TempDir dir;
  std::string error;
  EXPECT_EQ(Texture::FromPngFile(dir.path() / "none.png", &error), nullptr);
  EXPECT_FALSE(error.empty());
  dir.Write("bad.png", "\x89PNG\r\n\x1a\nnot really");
  EXPECT_EQ(Texture::FromPngFile(dir.path() / "bad.png"), nullptr);
  // A folder by a picture's name is no picture (its read used to throw).
  std::filesystem::create_directories(dir.path() / "folder.png");
  error.clear();
  EXPECT_EQ(Texture::FromPngFile(dir.path() / "folder.png", &error), nullptr);
  EXPECT_EQ(error, "cannot open " + (dir.path() / "folder.png").string());
}

// The bytes of a PNG whose header names the size; no texel data follows.
std::string PngHeader(std::uint32_t width, std::uint32_t height) {
  const auto big_endian = [](std::uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
  };
  const auto chunk = [&](const std::string& type_and_data) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : type_and_data) {
      crc ^= c;
      for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return big_endian(static_cast<std::uint32_t>(type_and_data.size() - 4)) + type_and_data + big_endian(~crc);
  };
  const std::string ihdr = "IHDR" + big_endian(width) + big_endian(height) + std::string("\x08\x06\0\0\0", 5);
  return "\x89PNG\r\n\x1a\n" + chunk(ihdr) + chunk("IDAT") + chunk("IEND");
}

// A picture is held to its bound's pixels as well as its sides, from its
// header: a 16384 x 16384 flag of 1 MB would take 1 GB of texels.
TEST(Texture, PictureBeyondItsPixelBudgetIsRefusedFromItsHeader) {
  test::TempDir dir;
  const std::uint32_t texels[12] = {};
  ASSERT_TRUE(SavePng(dir.path() / "t.png", texels, 4, 3, 4));
  std::string error;
  EXPECT_NE(Texture::FromPngFile(dir.path() / "t.png", &error, {4, 4, 12}), nullptr) << error;
  EXPECT_EQ(Texture::FromPngFile(dir.path() / "t.png", &error, {4, 4, 11}), nullptr);
  EXPECT_EQ(error, "picture of 4 x 3 pixels is larger than 4 x 4 or 11 pixels");
  const std::string header = PngHeader(8192, 8193);
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(header.data()), header.size());
  EXPECT_EQ(Texture::FromPngBytes(bytes, &error), nullptr);
  EXPECT_EQ(error, "picture of 8192 x 8193 pixels is larger than 16384 x 16384 or 67108864 pixels");
}

TEST(Texture, LockedTexelsSurviveDeviceResetWithTheirSize) {
  auto frame = AppFrame::CreateHeadless(320, 240);
  ASSERT_EQ(frame->CreateWindowAndDevice({u"", 320, 240, false}), S_OK);
  auto t = Texture::CreateEmpty(300, 200);
  Texture::LockedRect locked = t->Lock();
  ASSERT_EQ(locked.pitch, 1200);
  for (int y = 0; y < 200; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(locked.bits) + y * locked.pitch);
    for (int x = 0; x < 300; ++x) row[x] = 0xFF0000FF;
  }
  t->Unlock();
  Graphics& g = frame->graphics();
  auto draw = [&] {
    g.Clear(0xFF000000);
    auto sprite = g.CreateSpriteBatch();
    sprite->Begin();
    sprite->Draw(t.get(), nullptr, {0, 0}, 0, 0xFFFFFFFF);
    sprite->End();
    return g.ReadPixel(299, 199);
  };
  EXPECT_EQ(draw(), 0xFF0000FFu);
  frame->SimulateDeviceReset();
  EXPECT_EQ(t->width(), 300);
  EXPECT_EQ(t->height(), 200);
  EXPECT_EQ(draw(), 0xFF0000FFu);
  EXPECT_EQ(g.ReadPixel(300, 200), 0xFF000000u);
}

TEST(Texture, ChangesAfterTheFirstDrawAreUploaded) {
  auto frame = AppFrame::CreateHeadless(8, 8);
  auto t = Texture::CreateEmpty(1, 1, 0xFFFF0000);
  auto sprite = frame->graphics().CreateSpriteBatch();
  sprite->Draw(t.get(), nullptr, {0, 0}, 0, 0xFFFFFFFF);
  EXPECT_EQ(frame->graphics().ReadPixel(0, 0), 0xFFFF0000u);
  *t->Lock().bits = 0xFF00FF00;
  t->Unlock();
  sprite->Draw(t.get(), nullptr, {0, 0}, 0, 0xFFFFFFFF);
  EXPECT_EQ(frame->graphics().ReadPixel(0, 0), 0xFF00FF00u);
}

TEST(Texture, TexturesBeyondTheMaximumSizeAreDrawnInTiles) {
  auto frame = AppFrame::CreateHeadless(40, 10);
  Graphics& g = frame->graphics();
  g.SetMaxTextureSize(8);
  EXPECT_EQ(g.max_texture_size(), 8);
  auto t = Texture::CreateEmpty(20, 5);
  auto locked = t->Lock();
  for (int x = 0; x < 20; ++x) {
    for (int y = 0; y < 5; ++y) locked.bits[y * 20 + x] = 0xFF000000u | static_cast<std::uint32_t>(x * 10);
  }
  t->Unlock();
  g.Clear(0xFF000000);
  auto sprite = g.CreateSpriteBatch();
  const Rect source{2, 0, 18, 5};
  sprite->SetTransform(Matrix2D::Scaling(2, 2));
  sprite->Draw(t.get(), &source, {1, 0}, 0, 0xFFFFFFFF);
  // Texel x lands at 2 + 2 * (x - 2); every texel of the source shows, across the tile seams.
  for (int x = 2; x < 18; ++x) EXPECT_EQ(ArgbB(g.ReadPixel(2 + 2 * (x - 2), 4)), static_cast<std::uint32_t>(x * 10)) << x;
}

// A crash check, for the sanitizers: the renderer frees its copy of a texture
// released on another thread at its next draw, on the main thread.
TEST(Texture, ReleasedOffTheMainThreadAfterDrawingIsFreedWithoutACrash) {
  auto frame = AppFrame::CreateHeadless(8, 8);
  auto t = Texture::CreateEmpty(2, 2, 0xFFFFFFFF);
  auto sprite = frame->graphics().CreateSpriteBatch();
  sprite->Draw(t.get(), nullptr, {0, 0}, 0, 0xFFFFFFFF);
  std::thread([&] { t.reset(); }).join();
  frame->graphics().Clear(0);
}

}  // namespace
}  // namespace tr
