// Rectangles, points, colours and the 2D transform of sprite drawing.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/codes.h"

namespace tr {

// (left, top, right, bottom); the right and bottom edges lie outside.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t width() const { return right - left; }
  std::int32_t height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const Rect&) const = default;
};

inline Rect RectFromSize(int x, int y, int width, int height) { return Rect{x, y, x + width, y + height}; }

inline Rect Intersect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

struct PointF {
  float x = 0;
  float y = 0;
  bool operator==(const PointF&) const = default;
};

struct RectF {
  float left = 0;
  float top = 0;
  float right = 0;
  float bottom = 0;
  bool operator==(const RectF&) const = default;
};

// A 2D affine transform applied to row vectors: (x, y) -> (x*m11 + y*m21 + dx, x*m12 + y*m22 + dy).
// a * b applies a first, then b, as the game's matrix products do.
struct Matrix2D {
  float m11 = 1, m12 = 0;
  float m21 = 0, m22 = 1;
  float dx = 0, dy = 0;

  static Matrix2D Identity() { return {}; }
  static Matrix2D Scaling(float sx, float sy) { return {sx, 0, 0, sy, 0, 0}; }
  static Matrix2D Translation(float x, float y) { return {1, 0, 0, 1, x, y}; }

  PointF Apply(PointF p) const { return {p.x * m11 + p.y * m21 + dx, p.x * m12 + p.y * m22 + dy}; }
  bool IsIdentity() const { return *this == Matrix2D{}; }
  bool operator==(const Matrix2D&) const = default;
};

inline Matrix2D operator*(const Matrix2D& a, const Matrix2D& b) {
  return {a.m11 * b.m11 + a.m12 * b.m21, a.m11 * b.m12 + a.m12 * b.m22,
          a.m21 * b.m11 + a.m22 * b.m21, a.m21 * b.m12 + a.m22 * b.m22,
          a.dx * b.m11 + a.dy * b.m21 + b.dx, a.dx * b.m12 + a.dy * b.m22 + b.dy};
}

// Colour channels of a 32-bit ARGB value.
constexpr std::uint32_t ArgbA(Argb c) { return c >> 24; }
constexpr std::uint32_t ArgbR(Argb c) { return (c >> 16) & 0xFF; }
constexpr std::uint32_t ArgbG(Argb c) { return (c >> 8) & 0xFF; }
constexpr std::uint32_t ArgbB(Argb c) { return c & 0xFF; }
constexpr Argb MakeArgb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return ((a & 0xFF) << 24) | ((r & 0xFF) << 16) | ((g & 0xFF) << 8) | (b & 0xFF);
}

}  // namespace tr
