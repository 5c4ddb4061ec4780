// Draws a scenario's menu picture "image.png" and its "minimap.png" from the
// scenario's map text. Usage: make_scenario_pictures <map text> <scenario folder>
//
// The minimap shows the map in flat colours, terrain tinted by its owner, in
// the top-left part of the square picture that the minimap fits to the map's
// shape. The menu picture is a 512-pixel square with the whole map drawn in
// hexes with terrain marks, framed like an old chart.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "art_canvas.h"
#include "world/map_text.h"

using tr::art::Canvas;
using tr::art::Pt;

namespace {

constexpr int kSide = 512;

// Plain, forest, rough, swamp, hill, mountain, desert after the sea.
constexpr std::uint32_t kTerrainColours[8] = {0xFF2F5C8Au, 0xFFA8B878u, 0xFF4F7A3Eu, 0xFF9A8F6Au,
                                              0xFF6F8A6Au, 0xFF8C9A5Au, 0xFF8A7B6Bu, 0xFFD8C48Au};

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, float share) {
  std::uint32_t out = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const float ca = static_cast<float>((a >> shift) & 0xFF), cb = static_cast<float>((b >> shift) & 0xFF);
    out |= static_cast<std::uint32_t>(std::lround(ca + (cb - ca) * share)) << shift;
  }
  return out;
}

// A steady colour per owner, spread round the colour wheel.
std::uint32_t OwnerColour(int owner) {
  const float hue = static_cast<float>(owner * 137 % 360) / 60.0f;
  const float x = 1.0f - std::fabs(std::fmod(hue, 2.0f) - 1.0f);
  float rgb[3] = {0, 0, 0};
  const int sector = static_cast<int>(hue);
  const int order[6][3] = {{0, 1, 2}, {1, 0, 2}, {2, 0, 1}, {2, 1, 0}, {1, 2, 0}, {0, 2, 1}};
  rgb[order[sector][0]] = 1.0f;
  rgb[order[sector][1]] = x;
  return 0xFF000000u | static_cast<std::uint32_t>(rgb[0] * 220) << 16 | static_cast<std::uint32_t>(rgb[1] * 220) << 8 |
         static_cast<std::uint32_t>(rgb[2] * 220);
}

// Hex (x, y) of a map drawn into a box: flat-topped hexes, odd columns half a
// row lower.
struct Layout {
  float left, top, column, row;
  Pt Centre(int x, int y) const {
    return {left + column * (static_cast<float>(x) + 0.5f), top + row * (static_cast<float>(y) + (x % 2 ? 1.0f : 0.5f))};
  }
  std::vector<Pt> Hex(int x, int y) const {
    const Pt c = Centre(x, y);
    const float w = column * 0.67f, h = row * 0.5f;
    return {{c.x - w, c.y}, {c.x - w / 2, c.y - h}, {c.x + w / 2, c.y - h}, {c.x + w, c.y}, {c.x + w / 2, c.y + h},
            {c.x - w / 2, c.y + h}};
  }
};

Layout Fit(const tr::cMap& map, float left, float top, float width, float height) {
  return {left, top, width / static_cast<float>(map.GetWidth()), height / (static_cast<float>(map.GetHeight()) + 0.5f)};
}

void DrawMinimap(const tr::cMap& map, Canvas& canvas) {
  // The part of the picture that shows the map, as the minimap reads it.
  const float aspect = static_cast<float>(map.GetWidth()) / static_cast<float>(map.GetHeight());
  const int contentWidth = aspect > 1.0f ? kSide : static_cast<int>(kSide * aspect);
  const int contentHeight = aspect > 1.0f ? kSide * map.GetHeight() / map.GetWidth() : kSide;
  canvas.Rect(0, 0, static_cast<float>(contentWidth), static_cast<float>(contentHeight), kTerrainColours[0]);
  const Layout layout = Fit(map, 0, 0, static_cast<float>(contentWidth), static_cast<float>(contentHeight));
  for (const tr::sHex& hex : map.Hexes()) {
    if (!hex.IsLand()) continue;
    const std::uint32_t colour = Mix(kTerrainColours[std::min<int>(hex.terrain, 7)], OwnerColour(hex.owner), 0.35f);
    canvas.Polygon(layout.Hex(hex.x, hex.y), colour);
  }
}

void DrawMenuPicture(const tr::cMap& map, Canvas& canvas) {
  canvas.Rect(0, 0, kSide, kSide, 0xFFE6D9B4u);
  const float margin = 24.0f;
  const float width = kSide - 2 * margin;
  const float height = std::min(width * static_cast<float>(map.GetHeight()) / static_cast<float>(map.GetWidth()), width);
  const float top = (kSide - height) / 2;
  canvas.Rect(margin - 6, top - 6, kSide - margin + 6, top + height + 6, 0xFF5A4630u);
  canvas.Rect(margin, top, kSide - margin, top + height, 0xFF3A6A94u);
  const Layout layout = Fit(map, margin, top, width, height);
  for (const tr::sHex& hex : map.Hexes()) {
    if (!hex.IsLand()) {
      if ((hex.x + hex.y) % 5 == 0) {
        const Pt c = layout.Centre(hex.x, hex.y);
        canvas.Line({c.x - 3, c.y}, {c.x + 3, c.y}, 1.0f, 0xFF7FA8CCu);
      }
      continue;
    }
    const std::uint32_t base = kTerrainColours[std::min<int>(hex.terrain, 7)];
    canvas.Polygon(layout.Hex(hex.x, hex.y), Mix(base, OwnerColour(hex.owner), 0.15f));
    const Pt c = layout.Centre(hex.x, hex.y);
    const float r = layout.row * 0.3f;
    if (hex.terrain == tr::kTerrainMountain) {
      canvas.Polygon({{c.x - r, c.y + r}, {c.x, c.y - r}, {c.x + r, c.y + r}}, 0xFF5E4E40u);
    } else if (hex.terrain == 2) {
      canvas.Ellipse(c.x, c.y, r * 0.7f, r * 0.8f, 0xFF2F5A2Au);
    } else if (hex.terrain == 5) {
      canvas.EllipseRing(c.x, c.y + r, r, r * 0.8f, 1.2f, 0xFF55663Au);
    }
    if (hex.fortLevel > 0) canvas.Rect(c.x - 2, c.y - 2, c.x + 2, c.y + 2, 0xFF202020u);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_scenario_pictures <map text> <scenario folder>\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  std::string error;
  const auto map = tr::ParseMapText(text.str(), error);
  if (!map) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
    return 1;
  }
  Canvas minimap(kSide, kSide);
  DrawMinimap(*map, minimap);
  Canvas picture(kSide, kSide);
  DrawMenuPicture(*map, picture);
  const std::string folder = argv[2];
  return minimap.Save(folder + "/minimap.png") && picture.Save(folder + "/image.png") ? 0 : 1;
}
