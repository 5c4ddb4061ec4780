#include "picture_canvas.h"

#include <cstdio>
#include <string>

#include "platform/texture.h"

namespace tr::picture {
namespace {

float Byte(std::uint32_t c, int shift) { return static_cast<float>((c >> shift) & 0xFF); }
float Channel(std::uint32_t c, int shift) { return Byte(c, shift) / 255.0f; }

}  // namespace

float SegmentDistance(Pt p, Pt a, Pt b) {
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float len = dx * dx + dy * dy;
  const float t = len == 0 ? 0 : std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len, 0.0f, 1.0f);
  const float qx = a.x + t * dx - p.x, qy = a.y + t * dy - p.y;
  return std::sqrt(qx * qx + qy * qy);
}

Canvas::Canvas(int width, int height, Rounding rounding)
    : width_(width), height_(height), rounding_(rounding), pixels_(static_cast<std::size_t>(width) * height, 0) {}

void Canvas::Blend(int x, int y, std::uint32_t colour, float coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0) return;
  std::uint32_t& dst = At(x, y);
  const float sa = Channel(colour, 24) * std::min(coverage, 1.0f);
  const float da = Channel(dst, 24);
  const float oa = sa + da * (1 - sa);
  if (oa <= 0) return;
  if (rounding_ == Rounding::kByte) {
    std::uint32_t out = static_cast<std::uint32_t>(oa * 255 + 0.5f) << 24;
    for (int shift : {0, 8, 16}) {
      const float v = (Byte(colour, shift) * sa + Byte(dst, shift) * da * (1 - sa)) / oa;
      out |= static_cast<std::uint32_t>(std::clamp(v, 0.0f, 255.0f) + 0.5f) << shift;
    }
    dst = out;
    return;
  }
  std::uint32_t out = static_cast<std::uint32_t>(std::lround(oa * 255.0f)) << 24;
  for (int shift : {0, 8, 16}) {
    const float v = (Channel(colour, shift) * sa + Channel(dst, shift) * da * (1 - sa)) / oa;
    out |= static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)) << shift;
  }
  dst = out;
}

bool Canvas::Save(const std::filesystem::path& file) const {
  std::string error;
  if (SavePng(file, pixels_.data(), width_, height_, width_, &error)) return true;
  std::fprintf(stderr, "%s: %s\n", file.string().c_str(), error.c_str());
  return false;
}

}  // namespace tr::picture
