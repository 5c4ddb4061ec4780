#include "app/menu_wallpaper.h"

#include <array>

#include "app/framework.h"
#include "foundation/gui_layout.h"
#include "foundation/settings.h"
#include "foundation/version.h"
#include "gui/dialog.h"
#include "gui/resource_cache.h"
#include "gui/texture_holder.h"
#include "platform/frame.h"
#include "platform/sprite_batch.h"

namespace tr {
namespace {

constexpr int kVersionStaticId = 7001;

std::array<TextureHolder, kMenuPictureCount>& Pictures() {
  static std::array<TextureHolder, kMenuPictureCount> pictures;
  return pictures;
}

}  // namespace

TextureHolder& MenuPicture(eMenuPicture picture) { return Pictures().at(static_cast<std::size_t>(picture)); }

bool LoadMenuPicture(eMenuPicture picture, std::u16string_view gamePath, PictureBound bound) {
  TextureHolder& record = MenuPicture(picture);
  record.Release();
  return Succeeded(record.Load(std::filesystem::path(std::u16string(gamePath)), TextureHolder::kModeFile, 1, bound)) &&
         record.GetTexture() != nullptr;
}

void ReleaseMenuPicture(eMenuPicture picture) { MenuPicture(picture).Release(); }

int BackBufferWidth() {
  const AppFrame* frame = CurrentFrame();
  return frame != nullptr ? frame->width() : gScreenWidth;
}

int BackBufferHeight() {
  const AppFrame* frame = CurrentFrame();
  return frame != nullptr ? frame->height() : gScreenHeight;
}

void DrawMenuWallpaper(eMenuPicture picture) {
  SpriteBatch* sprite = GetGuiResourceCache().sprite();
  const Texture* texture = MenuPicture(picture).GetTexture();
  if (sprite == nullptr || texture == nullptr) return;
  // Record 1 holds the picture's corners (left, top, right, bottom).
  const sGuiLayoutEntry& source = sGuiLayoutTable[1];
  const int sourceWidth = source.width - source.x;
  const int sourceHeight = source.height - source.y;
  if (sourceWidth <= 0 || sourceHeight <= 0) return;
  const auto width = static_cast<std::uint32_t>(BackBufferWidth());
  const auto height = static_cast<std::uint32_t>(BackBufferHeight());
  const Matrix2D saved = sprite->GetTransform();
  sprite->Begin(0);
  sprite->SetTransform(Matrix2D::Scaling(static_cast<float>(width) / static_cast<float>(sourceWidth),
                                         static_cast<float>(height) / static_cast<float>(sourceHeight)));
  const Rect rect{source.x, source.y, source.width, source.height};
  sprite->Draw(texture, &rect, PointF{0, 0}, 0.0f, 0xFFFFFFFFu);
  sprite->End();
  sprite->SetTransform(saved);
}

std::u16string VersionLine() { return WindowCaption(kGameVersion, kBuildNumber); }

void AddVersionStatic(CDXUTDialog& dialog) {
  dialog.AddStatic(kVersionStaticId, VersionLine(), 30, BackBufferHeight() - 30, 1024, 30);
}

}  // namespace tr
