#include "pictogram.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>

namespace tr::skin {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, separator);) fields.push_back(field);
  return fields;
}

float Number(const std::string& text) {
  std::size_t used = 0;
  const float value = std::stof(text, &used);
  if (used != text.size() || !std::isfinite(value)) throw std::invalid_argument(text);
  return value;
}

bool InPolygon(const std::vector<picture::Pt>& p, float x, float y) {
  bool inside = false;
  for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
    if ((p[i].y > y) != (p[j].y > y) && x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x) {
      inside = !inside;
    }
  }
  return inside;
}

// The angle of the point seen from the centre, in degrees clockwise from the top, 0 to 360.
float Bearing(float dx, float dy) {
  float degrees = std::atan2(dx, -dy) * 180.0f / kPi;
  return degrees < 0 ? degrees + 360.0f : degrees;
}

std::vector<picture::Pt> StarPoints(float cx, float cy, float outer, float inner, int n) {
  std::vector<picture::Pt> points;
  for (int i = 0; i < 2 * n; ++i) {
    const float r = i % 2 == 0 ? outer : inner;
    const float a = kPi * static_cast<float>(i) / static_cast<float>(n);
    points.push_back({cx + r * std::sin(a), cy - r * std::cos(a)});
  }
  return points;
}

struct KindInfo {
  const char* name;
  Shape::Kind kind;
  std::size_t numbers;  // before the points; a kind with points takes at least one more
  bool points;
};
constexpr KindInfo kKinds[] = {
    {"poly", Shape::Kind::kPoly, 0, true},    {"path", Shape::Kind::kPath, 1, true},
    {"disc", Shape::Kind::kDisc, 3, false},   {"ring", Shape::Kind::kRing, 4, false},
    {"arc", Shape::Kind::kArc, 6, false},     {"rect", Shape::Kind::kRect, 4, false},
    {"star", Shape::Kind::kStar, 5, false},   {"spokes", Shape::Kind::kSpokes, 6, false},
};

}  // namespace

bool ParseShape(const std::string& line, Shape* shape, std::string* error) {
  const std::vector<std::string> fields = Split(line, ';');
  const KindInfo* info = nullptr;
  for (const KindInfo& k : kKinds) {
    if (!fields.empty() && fields[0] == k.name) info = &k;
  }
  if (info == nullptr) {
    *error = "unknown shape \"" + (fields.empty() ? std::string() : fields[0]) + "\"";
    return false;
  }
  if (fields.size() < 2) {
    *error = "a shape needs a paint";
    return false;
  }
  Shape out;
  out.kind = info->kind;
  if (fields[1] == "ink") {
    out.paint = Paint::kInk;
  } else if (fields[1] == "accent") {
    out.paint = Paint::kAccent;
  } else if (fields[1] == "dark") {
    out.paint = Paint::kDark;
  } else {
    *error = "unknown paint \"" + fields[1] + "\" (ink, accent or dark)";
    return false;
  }
  try {
    std::size_t i = 2;
    for (; i < fields.size() && i < 2 + info->numbers; ++i) out.numbers.push_back(Number(fields[i]));
    // An ellipse may give its second radius.
    if (info->kind == Shape::Kind::kDisc && i < fields.size()) out.numbers.push_back(Number(fields[i++]));
    for (; info->points && i < fields.size(); ++i) {
      const std::vector<std::string> xy = Split(fields[i], ',');
      if (xy.size() != 2) throw std::invalid_argument(fields[i]);
      out.points.push_back({Number(xy[0]), Number(xy[1])});
    }
    if (out.numbers.size() < info->numbers || i != fields.size()) {
      *error = "wrong count of numbers for \"" + fields[0] + "\"";
      return false;
    }
  } catch (const std::exception&) {
    *error = "a number or point (x,y) cannot be read";
    return false;
  }
  const std::size_t least = info->kind == Shape::Kind::kPoly ? 3 : info->kind == Shape::Kind::kPath ? 2 : 0;
  if (out.points.size() < least) {
    *error = "too few points for \"" + fields[0] + "\"";
    return false;
  }
  if ((info->kind == Shape::Kind::kStar && out.numbers[4] < 2) ||
      (info->kind == Shape::Kind::kSpokes && out.numbers[4] < 1)) {
    *error = "too few points or rays";
    return false;
  }
  if (info->kind == Shape::Kind::kStar || info->kind == Shape::Kind::kSpokes) {
    if (out.numbers[4] > 64) {
      *error = "more than 64 points or rays";
      return false;
    }
  }
  *shape = std::move(out);
  return true;
}

bool InsideShape(const Shape& s, float x, float y) {
  const std::vector<float>& n = s.numbers;
  switch (s.kind) {
    case Shape::Kind::kPoly:
      return InPolygon(s.points, x, y);
    case Shape::Kind::kPath: {
      const float half = n[0] / 2;
      for (std::size_t i = 0; i + 1 < s.points.size(); ++i) {
        if (picture::SegmentDistance({x, y}, s.points[i], s.points[i + 1]) <= half) return true;
      }
      return false;
    }
    case Shape::Kind::kDisc: {
      const float rx = n[2], ry = n.size() > 3 ? n[3] : n[2];
      if (rx <= 0 || ry <= 0) return false;
      const float dx = (x - n[0]) / rx, dy = (y - n[1]) / ry;
      return dx * dx + dy * dy <= 1;
    }
    case Shape::Kind::kRing:
    case Shape::Kind::kArc: {
      const float d = std::hypot(x - n[0], y - n[1]);
      if (std::fabs(d - n[2]) > n[3] / 2) return false;
      if (s.kind == Shape::Kind::kRing) return true;
      const float a = Bearing(x - n[0], y - n[1]);
      const float from = std::fmod(std::fmod(n[4], 360.0f) + 360.0f, 360.0f);
      float span = n[5] - n[4];
      if (span >= 360) return true;
      span = std::fmod(std::fmod(span, 360.0f) + 360.0f, 360.0f);
      return std::fmod(a - from + 360.0f, 360.0f) <= span;
    }
    case Shape::Kind::kRect:
      return x >= n[0] && x < n[2] && y >= n[1] && y < n[3];
    case Shape::Kind::kStar:
      return InPolygon(StarPoints(n[0], n[1], n[2], n[3], static_cast<int>(n[4])), x, y);
    case Shape::Kind::kSpokes: {
      const float d = std::hypot(x - n[0], y - n[1]);
      if (d < n[2] || d > n[3]) return false;
      const int count = static_cast<int>(n[4]);
      for (int i = 0; i < count; ++i) {
        const float a = 2 * kPi * static_cast<float>(i) / static_cast<float>(count);
        const picture::Pt from{n[0] + n[2] * std::sin(a), n[1] - n[2] * std::cos(a)};
        const picture::Pt to{n[0] + n[3] * std::sin(a), n[1] - n[3] * std::cos(a)};
        if (picture::SegmentDistance({x, y}, from, to) <= n[5] / 2) return true;
      }
      return false;
    }
  }
  return false;
}

void ShapeBounds(const Shape& s, float* l, float* t, float* r, float* b) {
  const std::vector<float>& n = s.numbers;
  float reach = 0;
  switch (s.kind) {
    case Shape::Kind::kPoly:
    case Shape::Kind::kPath: {
      const float half = s.kind == Shape::Kind::kPath ? n[0] / 2 : 0.0f;
      *l = *r = s.points[0].x, *t = *b = s.points[0].y;
      for (const picture::Pt& p : s.points) {
        *l = std::min(*l, p.x), *r = std::max(*r, p.x), *t = std::min(*t, p.y), *b = std::max(*b, p.y);
      }
      *l -= half, *t -= half, *r += half, *b += half;
      return;
    }
    case Shape::Kind::kRect:
      *l = n[0], *t = n[1], *r = n[2], *b = n[3];
      return;
    case Shape::Kind::kDisc: {
      const float ry = n.size() > 3 ? n[3] : n[2];
      *l = n[0] - n[2], *r = n[0] + n[2], *t = n[1] - ry, *b = n[1] + ry;
      return;
    }
    case Shape::Kind::kRing:
    case Shape::Kind::kArc:
      reach = n[2] + n[3] / 2;
      break;
    case Shape::Kind::kStar:
      reach = std::max(n[2], n[3]);
      break;
    case Shape::Kind::kSpokes:
      reach = n[3] + n[5] / 2;
      break;
  }
  *l = n[0] - reach, *r = n[0] + reach, *t = n[1] - reach, *b = n[1] + reach;
}

}  // namespace tr::skin
