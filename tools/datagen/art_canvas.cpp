#include "art_canvas.h"

#include <algorithm>
#include <cmath>

namespace tr::art {
namespace {

bool InPolygon(const std::vector<Pt>& p, float x, float y) {
  bool inside = false;
  for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
    if ((p[i].y > y) != (p[j].y > y) && x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x) {
      inside = !inside;
    }
  }
  return inside;
}

}  // namespace

void Canvas::Rect(float l, float t, float r, float b, std::uint32_t colour) {
  Shade<3>(l, t, r, b, [&](float x, float y) { return x >= l && x < r && y >= t && y < b; }, colour);
}

void Canvas::Polygon(const std::vector<Pt>& points, std::uint32_t colour) {
  if (points.size() < 3) return;
  float l = points[0].x, r = l, t = points[0].y, b = t;
  for (const Pt& p : points) {
    l = std::min(l, p.x), r = std::max(r, p.x), t = std::min(t, p.y), b = std::max(b, p.y);
  }
  Shade<3>(l, t, r + 1, b + 1, [&](float x, float y) { return InPolygon(points, x, y); }, colour);
}

void Canvas::Ellipse(float cx, float cy, float rx, float ry, std::uint32_t colour) {
  Shade<3>(cx - rx, cy - ry, cx + rx + 1, cy + ry + 1,
           [&](float x, float y) { return (x - cx) * (x - cx) / (rx * rx) + (y - cy) * (y - cy) / (ry * ry) <= 1; },
           colour);
}

void Canvas::EllipseRing(float cx, float cy, float rx, float ry, float thickness, std::uint32_t colour) {
  const float ix = rx - thickness, iy = ry - thickness;
  Shade<3>(cx - rx, cy - ry, cx + rx + 1, cy + ry + 1,
           [&](float x, float y) {
             const float dx = x - cx, dy = y - cy;
             return dx * dx / (rx * rx) + dy * dy / (ry * ry) <= 1 && dx * dx / (ix * ix) + dy * dy / (iy * iy) > 1;
           },
           colour);
}

void Canvas::Line(Pt a, Pt b, float thickness, std::uint32_t colour) {
  const float h = thickness / 2;
  Shade<3>(std::min(a.x, b.x) - h, std::min(a.y, b.y) - h, std::max(a.x, b.x) + h + 1, std::max(a.y, b.y) + h + 1,
           [&](float x, float y) { return picture::SegmentDistance({x, y}, a, b) <= h; }, colour);
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
