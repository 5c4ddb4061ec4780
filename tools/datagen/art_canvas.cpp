#include "art_canvas.h"

#include <algorithm>
#include <cmath>

namespace tr::art {
namespace {

float Channel(std::uint32_t c, int shift) { return static_cast<float>((c >> shift) & 0xFF) / 255.0f; }

bool InPolygon(const std::vector<Pt>& p, float x, float y) {
  bool inside = false;
  for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
    if ((p[i].y > y) != (p[j].y > y) && x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x) {
      inside = !inside;
    }
  }
  return inside;
}

float SegmentDistance(Pt p, Pt a, Pt b) {
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float len = dx * dx + dy * dy;
  const float t = len == 0 ? 0 : std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len, 0.0f, 1.0f);
  const float qx = a.x + t * dx - p.x, qy = a.y + t * dy - p.y;
  return std::sqrt(qx * qx + qy * qy);
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, 0) {}

void Canvas::Blend(int x, int y, std::uint32_t colour, float coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0) return;
  std::uint32_t& dst = pixels_[static_cast<std::size_t>(y) * width_ + x];
  const float sa = Channel(colour, 24) * coverage;
  const float da = Channel(dst, 24);
  const float oa = sa + da * (1 - sa);
  if (oa <= 0) return;
  std::uint32_t out = static_cast<std::uint32_t>(std::lround(oa * 255.0f)) << 24;
  for (int shift : {0, 8, 16}) {
    const float v = (Channel(colour, shift) * sa + Channel(dst, shift) * da * (1 - sa)) / oa;
    out |= static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)) << shift;
  }
  dst = out;
}

template <typename Inside>
void Canvas::Shade(float l, float t, float r, float b, Inside inside, std::uint32_t colour) {
  const int x0 = std::max(0, static_cast<int>(std::floor(l))), x1 = std::min(width_, static_cast<int>(std::ceil(r)));
  const int y0 = std::max(0, static_cast<int>(std::floor(t))), y1 = std::min(height_, static_cast<int>(std::ceil(b)));
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      int hits = 0;
      for (int sy = 0; sy < 3; ++sy) {
        for (int sx = 0; sx < 3; ++sx) hits += inside(x + (sx + 0.5f) / 3, y + (sy + 0.5f) / 3) ? 1 : 0;
      }
      if (hits > 0) Blend(x, y, colour, hits / 9.0f);
    }
  }
}

void Canvas::Rect(float l, float t, float r, float b, std::uint32_t colour) {
  Shade(l, t, r, b, [&](float x, float y) { return x >= l && x < r && y >= t && y < b; }, colour);
}

void Canvas::Polygon(const std::vector<Pt>& points, std::uint32_t colour) {
  if (points.size() < 3) return;
  float l = points[0].x, r = l, t = points[0].y, b = t;
  for (const Pt& p : points) {
    l = std::min(l, p.x), r = std::max(r, p.x), t = std::min(t, p.y), b = std::max(b, p.y);
  }
  Shade(l, t, r + 1, b + 1, [&](float x, float y) { return InPolygon(points, x, y); }, colour);
}

void Canvas::Ellipse(float cx, float cy, float rx, float ry, std::uint32_t colour) {
  Shade(cx - rx, cy - ry, cx + rx + 1, cy + ry + 1,
        [&](float x, float y) { return (x - cx) * (x - cx) / (rx * rx) + (y - cy) * (y - cy) / (ry * ry) <= 1; },
        colour);
}

void Canvas::EllipseRing(float cx, float cy, float rx, float ry, float thickness, std::uint32_t colour) {
  const float ix = rx - thickness, iy = ry - thickness;
  Shade(cx - rx, cy - ry, cx + rx + 1, cy + ry + 1,
        [&](float x, float y) {
          const float dx = x - cx, dy = y - cy;
          return dx * dx / (rx * rx) + dy * dy / (ry * ry) <= 1 && dx * dx / (ix * ix) + dy * dy / (iy * iy) > 1;
        },
        colour);
}

void Canvas::Line(Pt a, Pt b, float thickness, std::uint32_t colour) {
  const float h = thickness / 2;
  Shade(std::min(a.x, b.x) - h, std::min(a.y, b.y) - h, std::max(a.x, b.x) + h + 1, std::max(a.y, b.y) + h + 1,
        [&](float x, float y) { return SegmentDistance({x, y}, a, b) <= h; }, colour);
}

std::vector<Pt> Canvas::Hex(int column, int row, float margin) {
  // 111 wide and 98 high, so that columns 83 apart and rows 98 apart tile.
  const Pt c = CellCentre(column, row);
  const float rx = 56.0f - margin, half = 28.0f - margin / 2, ry = 49.5f - margin;
  return {{c.x - rx, c.y}, {c.x - half, c.y - ry}, {c.x + half, c.y - ry},
          {c.x + rx, c.y}, {c.x + half, c.y + ry}, {c.x - half, c.y + ry}};
}

void Canvas::Speckle(int column, int row, int count, float radius, std::uint32_t colour, unsigned seed) {
  const std::vector<Pt> hex = Hex(column, row, 6.0f);
  const Pt c = CellCentre(column, row);
  for (int i = 0; i < count; ++i) {
    seed = seed * 1103515245u + 12345u;
    const float x = c.x - 50 + static_cast<float>((seed >> 8) % 100);
    seed = seed * 1103515245u + 12345u;
    const float y = c.y - 45 + static_cast<float>((seed >> 8) % 90);
    if (InPolygon(hex, x, y)) Ellipse(x, y, radius, radius, colour);
  }
}

}  // namespace tr::art
