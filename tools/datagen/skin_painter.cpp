#include "skin_painter.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace tr::skin {
namespace {

float Channel(std::uint32_t c, int shift) { return static_cast<float>((c >> shift) & 0xFF) / 255.0f; }

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, float t) {
  std::uint32_t out = 0;
  for (int shift : {0, 8, 16, 24}) {
    const float v = Channel(a, shift) * (1 - t) + Channel(b, shift) * t;
    out |= static_cast<std::uint32_t>(std::lround(v * 255.0f)) << shift;
  }
  return out;
}

// Distance-style test of a point against a rounded rectangle.
bool InRounded(float x, float y, const Box& b, float r) {
  if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return false;
  const float cx = std::clamp(x, b.left + r, b.right - r);
  const float cy = std::clamp(y, b.top + r, b.bottom - r);
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

}  // namespace

void Canvas::Fill(const Box& box, std::uint32_t colour) {
  ShadeBox(box, [](float, float) { return true; }, colour);
}

void Canvas::RoundedBox(const Box& box, int radius, int border_px, std::uint32_t border, std::uint32_t fill_top,
                        std::uint32_t fill_bottom) {
  const float r = static_cast<float>(radius);
  ShadeBox(box, [&](float x, float y) { return InRounded(x, y, box, r); }, border);
  const Box inner{box.left + border_px, box.top + border_px, box.right - border_px, box.bottom - border_px};
  const float ri = std::max(0.0f, r - border_px);
  const float span = std::max(1, inner.bottom - inner.top - 1);
  // The inner area replaces the border colour rather than blending over it.
  for (int y = inner.top; y < inner.bottom; ++y) {
    for (int x = inner.left; x < inner.right; ++x) {
      At(x, y) = border;
    }
  }
  ShadeBox(inner, [&](float x, float y) { return InRounded(x, y, inner, ri); },
           [&](int, int y) { return Mix(fill_top, fill_bottom, (y - inner.top) / span); });
}

void Canvas::Circle(const Box& box, float inset, std::uint32_t border, std::uint32_t fill) {
  const float cx = (box.left + box.right) / 2.0f, cy = (box.top + box.bottom) / 2.0f;
  const float r = std::min(box.right - box.left, box.bottom - box.top) / 2.0f - inset;
  auto within = [&](float rr) {
    return [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= rr * rr; };
  };
  ShadeBox(box, within(r), border);
  ShadeBox(box, within(r - 2), fill);
}

void Canvas::Tick(const Box& box, std::uint32_t colour) {
  const float w = box.right - box.left, h = box.bottom - box.top;
  const float ax = box.left + w * 0.22f, ay = box.top + h * 0.52f;
  const float bx = box.left + w * 0.42f, by = box.top + h * 0.74f;
  const float cx = box.left + w * 0.80f, cy = box.top + h * 0.26f;
  const float half = std::max(1.5f, w * 0.08f);
  ShadeBox(box,
           [&](float x, float y) {
             return picture::SegmentDistance({x, y}, {ax, ay}, {bx, by}) <= half ||
                    picture::SegmentDistance({x, y}, {bx, by}, {cx, cy}) <= half;
           },
           colour);
}

void Canvas::Arrow(const Box& box, bool up, std::uint32_t colour) {
  const float w = box.right - box.left, h = box.bottom - box.top;
  const float cx = box.left + w / 2, top = box.top + h * 0.35f, bottom = box.top + h * 0.65f;
  const float half = w * 0.28f;
  ShadeBox(box,
           [&](float x, float y) {
             if (y < top || y > bottom) return false;
             const float t = (y - top) / (bottom - top);
             const float reach = half * (up ? t : 1 - t);
             return std::fabs(x - cx) <= reach;
           },
           colour);
}

void Canvas::VerticalLine(const Box& box, std::uint32_t colour) {
  const int cx = (box.left + box.right) / 2;
  Fill({cx - 1, box.top + 2, cx + 1, box.bottom - 2}, colour);
}

void Canvas::Icon(const Box& box, const Pictogram& picture, const IconColours& colours) {
  const float side = static_cast<float>(std::min(box.right - box.left, box.bottom - box.top));
  const float left = (box.left + box.right - side) / 2, top = (box.top + box.bottom - side) / 2;
  const float unit = side / 100.0f;
  for (const Shape& shape : picture) {
    float l = 0, t = 0, r = 0, b = 0;
    ShapeBounds(shape, &l, &t, &r, &b);
    const Box area{static_cast<int>(std::floor(left + l * unit)) - 1, static_cast<int>(std::floor(top + t * unit)) - 1,
                   static_cast<int>(std::ceil(left + r * unit)) + 1, static_cast<int>(std::ceil(top + b * unit)) + 1};
    // A picture never spills out of its box into the next cell.
    const Box clipped{std::max(area.left, box.left), std::max(area.top, box.top), std::min(area.right, box.right),
                      std::min(area.bottom, box.bottom)};
    if (clipped.right <= clipped.left || clipped.bottom <= clipped.top) continue;
    ShadeBox(clipped, [&](float x, float y) { return InsideShape(shape, (x - left) / unit, (y - top) / unit); },
             colours.Of(shape.paint));
  }
}

bool SkinPainter::Line(const std::string& line, std::string* error) {
  if (line.rfind("picture;", 0) == 0) {
    if (!open_.empty()) {
      *error = "picture \"" + open_ + "\" has no end line";
      return false;
    }
    open_ = line.substr(8);
    if (open_.empty() || pictures_.count(open_) != 0) {
      *error = open_.empty() ? "a picture needs a name" : "picture \"" + open_ + "\" is drawn twice";
      return false;
    }
    pictures_[open_];
    return true;
  }
  if (open_.empty()) return DrawLine(line, error);
  if (line == "end") {
    if (pictures_[open_].empty()) {
      *error = "picture \"" + open_ + "\" has no shapes";
      return false;
    }
    open_.clear();
    return true;
  }
  Shape shape;
  if (!ParseShape(line, &shape, error)) return false;
  pictures_[open_].push_back(std::move(shape));
  return true;
}

bool SkinPainter::Finish(std::string* error) const {
  if (open_.empty()) return true;
  *error = "picture \"" + open_ + "\" has no end line";
  return false;
}

bool SkinPainter::DrawLine(const std::string& line, std::string* error) {
  Canvas& canvas = canvas_;
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, ';');) fields.push_back(field);
  if (fields.size() < 5) {
    *error = "expected kind;left;top;right;bottom and the kind's values";
    return false;
  }
  const std::string& kind = fields[0];
  auto number = [&](std::size_t i) { return i < fields.size() ? std::stoi(fields[i]) : 0; };
  auto colour = [&](std::size_t i) {
    return i < fields.size() ? static_cast<std::uint32_t>(std::stoul(fields[i], nullptr, 16)) : 0u;
  };
  try {
    const Box box{number(1), number(2), number(3), number(4)};
    if (box.left < 0 || box.top < 0 || box.right > canvas.width() || box.bottom > canvas.height() ||
        box.right <= box.left || box.bottom <= box.top) {
      *error = "rectangle outside the picture";
      return false;
    }
    if (kind == "box") {
      canvas.RoundedBox(box, number(5), number(6), colour(7), colour(8), colour(9));
    } else if (kind == "fill") {
      canvas.Fill(box, colour(5));
    } else if (kind == "circle") {
      canvas.Circle(box, static_cast<float>(number(5)), colour(6), colour(7));
    } else if (kind == "tick") {
      canvas.Tick(box, colour(5));
    } else if (kind == "arrow_up" || kind == "arrow_down") {
      canvas.Arrow(box, kind == "arrow_up", colour(5));
    } else if (kind == "line") {
      canvas.VerticalLine(box, colour(5));
    } else if (kind == "icon") {
      const auto picture = fields.size() == 9 ? pictures_.find(fields[5]) : pictures_.end();
      if (picture == pictures_.end()) {
        *error = fields.size() == 9 ? "no picture \"" + fields[5] + "\" above this line"
                                    : "expected icon;l;t;r;b;picture;ink;accent;dark";
        return false;
      }
      canvas.Icon(box, picture->second, {colour(6), colour(7), colour(8)});
    } else {
      *error = "unknown kind \"" + kind + "\"";
      return false;
    }
  } catch (const std::exception&) {
    *error = "a number or colour cannot be read";
    return false;
  }
  return true;
}

}  // namespace tr::skin
