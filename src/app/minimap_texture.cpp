#include "app/minimap_texture.h"

#include <cmath>

#include "app/save_folder_pictures.h"
#include "dialogs/minimap_panel.h"
#include "foundation/gui_layout.h"
#include "foundation/settings.h"
#include "platform/graphics.h"
#include "platform/texture.h"
#include "world/gra.h"

namespace tr {

sMinimapView& MinimapView() {
  static sMinimapView view;
  return view;
}
TextureHolder& MinimapImage() {
  static TextureHolder holder;
  return holder;
}
TextureHolder& MinimapTexture() {
  static TextureHolder holder;
  return holder;
}

sMinimapView FitMinimap(int mapWidth, int mapHeight, int imageWidth, int imageHeight,
                        const std::array<std::int32_t, 4>& area) {
  sMinimapView v;
  if (mapWidth <= 0 || mapHeight <= 0 || area[2] <= 0 || area[3] <= 0) return v;
  const float aspect = static_cast<float>(mapWidth) / static_cast<float>(mapHeight);
  const float areaAspect = static_cast<float>(area[2]) / static_cast<float>(area[3]);
  if (aspect > 1.0f) {
    v.contentWidth = imageWidth;
    v.contentHeight = static_cast<std::int32_t>(static_cast<float>(imageWidth) * mapHeight / mapWidth);
  } else {
    v.contentHeight = imageHeight;
    v.contentWidth = static_cast<std::int32_t>(static_cast<float>(imageHeight) * aspect);
  }
  if (v.contentWidth <= 0 || v.contentHeight <= 0) return v;
  const auto [x, y, w, h] = area;
  if (areaAspect < aspect) {
    v.scale = static_cast<float>(w) / v.contentWidth;
    v.rect = {x, static_cast<std::int32_t>(y + (h - v.contentHeight * v.scale) * 0.5f), w,
              static_cast<std::int32_t>(v.contentHeight * v.scale)};
  } else {
    v.scale = static_cast<float>(h) / v.contentHeight;
    v.rect = {static_cast<std::int32_t>(x + (w - v.contentWidth * v.scale) * 0.5f), y,
              static_cast<std::int32_t>(v.contentWidth * v.scale), h};
  }
  v.transform = Matrix2D::Scaling(v.scale, v.scale);
  v.originX = static_cast<std::int32_t>(v.rect[0] / v.scale);
  v.originY = static_cast<std::int32_t>(v.rect[1] / v.scale);
  return v;
}

void RenderMinimapTexture(cMap& map, std::u16string_view imagePath) {
  TextureHolder& image = MinimapImage();
  image.Release();
  image.Load(std::u16string(imagePath), TextureHolder::kModeFile, 1, SaveFolderPictureBound());
  const Texture* picture = image.GetTexture();
  if (picture == nullptr) return;
  MinimapTexture().Release();
  MinimapTexture().CreateEmpty(picture->width(), picture->height());
  const sGuiLayoutEntry& e = sGuiLayoutTable[315];
  const sMinimapView view =
      FitMinimap(map.GetWidth(), map.GetHeight(), picture->width(), picture->height(), {e.x, e.y, e.width, e.height});
  if (view.contentWidth <= 0) return;
  MinimapView() = view;
  map.minimapRect = view.rect;
  if (cMinimapPanel* panel = GetMinimapPanel()) panel->SetViewRect(view.rect);
}

void UpdateOwnershipLayer(const cMap& map, TextureHolder& layer) {
  if (gMinimapOwnershipMode == 0 || gGame == nullptr) return;
  Texture* texture = layer.GetTexture();
  if (texture == nullptr || map.GetWidth() <= 0 || map.GetHeight() <= 0) return;
  const int w = map.ownershipLayerWidth > 0 ? std::min(map.ownershipLayerWidth, texture->width()) : texture->width();
  const int h =
      map.ownershipLayerHeight > 0 ? std::min(map.ownershipLayerHeight, texture->height()) : texture->height();
  Texture::LockedRect locked = texture->Lock();
  for (int j = 0; j < h; ++j) {
    std::uint32_t* row = locked.bits + static_cast<std::size_t>(j) * (locked.pitch / 4);
    for (int i = 0; i < w; ++i) {
      const sHex& hex = *map.GetHex(i * map.GetWidth() / w, j * map.GetHeight() / h);
      const int id = gMinimapOwnershipMode == 1 ? hex.owner : hex.controller;
      const cCountry* country = hex.IsLand() && id > 0 ? gGame->GetCountry(id) : nullptr;
      row[i] = country == nullptr ? 0u : (0x80000000u | (country->colors[0] & 0x00FFFFFFu));
    }
  }
  texture->Unlock();
}

void DrawMinimapViewFrame(Graphics& device, const cMap& map) {
  PointF points[5];
  for (int i = 0; i < 5; ++i) points[i] = {map.minimapOutline[static_cast<std::size_t>(i)][0],
                                          map.minimapOutline[static_cast<std::size_t>(i)][1]};
  device.DrawLines(points, 0xFFFF0000u, 1.0f);
}

}  // namespace tr
