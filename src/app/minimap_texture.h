// The minimap: the scenario's "minimap.png" fitted without distortion into
// the minimap area (layout entry 315), the ownership layer drawn over it, and
// the red frame of the part of the map in view.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "gui/texture_holder.h"
#include "platform/geometry.h"

namespace tr {

class cMap;
class Graphics;

struct sMinimapView {
  float scale = 1.0f;  // screen pixels per image pixel
  Matrix2D transform;
  std::array<std::int32_t, 4> rect{};  // x, y, width, height on screen
  std::int32_t originX = 0;
  std::int32_t originY = 0;
  std::int32_t contentWidth = 0;
  std::int32_t contentHeight = 0;
};
sMinimapView& MinimapView();
TextureHolder& MinimapImage();
TextureHolder& MinimapTexture();

// Where an image of the size shows a map of the size inside the area (x, y, w, h).
sMinimapView FitMinimap(int mapWidth, int mapHeight, int imageWidth, int imageHeight,
                        const std::array<std::int32_t, 4>& area);

// Loads the picture, makes the texture of its size and fits it into layout
// entry 315; the map's minimap rectangle follows. A picture that does not
// load leaves everything as it was.
void RenderMinimapTexture(cMap& map, std::u16string_view imagePath);

// Redraws the ownership texels (mode 1 owners, mode 2 controllers; 0 nothing):
// a land hex takes its country's first colour at half opacity, sea and hexes
// without a country stay transparent.
void UpdateOwnershipLayer(const cMap& map, TextureHolder& layer);

// The map's five outline points as one red polyline.
void DrawMinimapViewFrame(Graphics& device, const cMap& map);

}  // namespace tr
