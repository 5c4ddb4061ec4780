#include "menu_painter.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>

#include "foundation/text.h"
#include "platform/font.h"

namespace tr::menuart {
namespace {

constexpr int kSubRows = 4;

struct Reader {
  const std::vector<std::string>& fields;
  float F(std::size_t i) const { return std::stof(fields.at(i)); }
  int I(std::size_t i) const { return std::stoi(fields.at(i)); }
  std::uint32_t C(std::size_t i) const { return static_cast<std::uint32_t>(std::stoul(fields.at(i), nullptr, 16)); }
};

float Channel(std::uint32_t colour, int shift) { return static_cast<float>((colour >> shift) & 0xFF); }

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, float t) {
  std::uint32_t out = 0;
  for (int shift : {0, 8, 16, 24}) {
    const float v = Channel(a, shift) + (Channel(b, shift) - Channel(a, shift)) * t;
    out |= static_cast<std::uint32_t>(std::clamp(v, 0.0f, 255.0f) + 0.5f) << shift;
  }
  return out;
}

}  // namespace

void Canvas::VerticalGradient(std::uint32_t top, std::uint32_t bottom) {
  for (int y = 0; y < height(); ++y) {
    const std::uint32_t c = Mix(top, bottom, height() > 1 ? static_cast<float>(y) / (height() - 1) : 0);
    std::fill_n(&At(0, y), width(), c);
  }
}

void Canvas::Glow(float cx, float cy, float radius, std::uint32_t colour) {
  for (int y = std::max(0, static_cast<int>(cy - radius)); y < std::min(height(), static_cast<int>(cy + radius) + 1); ++y) {
    for (int x = std::max(0, static_cast<int>(cx - radius)); x < std::min(width(), static_cast<int>(cx + radius) + 1); ++x) {
      const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
      if (d < 1) Blend(x, y, colour, (1 - d) * (1 - d));
    }
  }
}

void Canvas::Vignette(int strength) {
  const float cx = width() / 2.0f, cy = height() / 2.0f;
  const float reach = std::hypot(cx, cy);
  for (int y = 0; y < height(); ++y) {
    for (int x = 0; x < width(); ++x) {
      const float d = std::hypot(x - cx, y - cy) / reach;
      Blend(x, y, static_cast<std::uint32_t>(std::clamp(strength, 0, 255)) << 24, d * d);
    }
  }
}

void Canvas::HexGrid(float side, float thickness, std::uint32_t colour) {
  const float h = side * std::sqrt(3.0f);
  for (int column = -1; column * side * 1.5f < width() + side; ++column) {
    const float cx = column * side * 1.5f;
    const float offset = (column % 2 != 0) ? h / 2 : 0;
    for (float cy = offset - h; cy < height() + h; cy += h) {
      Point corners[6];
      for (int i = 0; i < 6; ++i) {
        const float angle = static_cast<float>(std::numbers::pi) / 3 * i;
        corners[i] = {cx + side * std::cos(angle), cy + side * std::sin(angle)};
      }
      // Three sides per hex draw every edge of the grid once.
      for (int i = 0; i < 3; ++i) Line(corners[i], corners[i + 1], thickness, colour);
    }
  }
}

void Canvas::Polygon(const std::vector<Point>& points, std::uint32_t colour) {
  if (points.size() < 3) return;
  float top = points[0].y, bottom = points[0].y;
  for (const Point& p : points) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  const int y0 = std::max(0, static_cast<int>(std::floor(top)));
  const int y1 = std::min(height() - 1, static_cast<int>(std::ceil(bottom)));
  std::vector<float> coverage(static_cast<std::size_t>(width()));
  std::vector<float> crossings;
  for (int y = y0; y <= y1; ++y) {
    std::fill(coverage.begin(), coverage.end(), 0.0f);
    for (int sub = 0; sub < kSubRows; ++sub) {
      const float sy = y + (sub + 0.5f) / kSubRows;
      crossings.clear();
      for (std::size_t i = 0; i < points.size(); ++i) {
        const Point a = points[i], b = points[(i + 1) % points.size()];
        if ((a.y <= sy) != (b.y <= sy)) crossings.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
      }
      std::sort(crossings.begin(), crossings.end());
      for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
        const float left = std::max(0.0f, crossings[i]);
        const float right = std::min(static_cast<float>(width()), crossings[i + 1]);
        for (int x = static_cast<int>(left); x < right && x < width(); ++x) {
          const float overlap = std::min(right, x + 1.0f) - std::max(left, static_cast<float>(x));
          if (overlap > 0) coverage[static_cast<std::size_t>(x)] += overlap / kSubRows;
        }
      }
    }
    for (int x = 0; x < width(); ++x) Blend(x, y, colour, coverage[static_cast<std::size_t>(x)]);
  }
}

void Canvas::Blob(float cx, float cy, float radius, float roughness, unsigned seed, std::uint32_t colour) {
  // Seeded harmonics give each land mass its own coast.
  float amplitude[6], phase[6];
  unsigned state = seed * 2654435761u + 1;
  for (int k = 0; k < 6; ++k) {
    state = state * 1103515245u + 12345u;
    amplitude[k] = roughness * ((state >> 8) % 1000) / 1000.0f / (k + 1);
    state = state * 1103515245u + 12345u;
    phase[k] = ((state >> 8) % 6283) / 1000.0f;
  }
  std::vector<Point> outline;
  constexpr int kSteps = 180;
  for (int i = 0; i < kSteps; ++i) {
    const float angle = 2 * static_cast<float>(std::numbers::pi) * i / kSteps;
    float r = 1;
    for (int k = 0; k < 6; ++k) r += amplitude[k] * std::sin((k + 2) * angle + phase[k]);
    outline.push_back({cx + radius * r * std::cos(angle), cy + radius * 0.7f * r * std::sin(angle)});
  }
  Polygon(outline, colour);
}

void Canvas::Line(Point a, Point b, float thickness, std::uint32_t colour) {
  const float half = thickness / 2;
  const int l = std::max(0, static_cast<int>(std::min(a.x, b.x) - half - 1));
  const int r = std::min(width() - 1, static_cast<int>(std::max(a.x, b.x) + half + 1));
  const int t = std::max(0, static_cast<int>(std::min(a.y, b.y) - half - 1));
  const int btm = std::min(height() - 1, static_cast<int>(std::max(a.y, b.y) + half + 1));
  for (int y = t; y <= btm; ++y) {
    for (int x = l; x <= r; ++x) {
      const float d = picture::SegmentDistance({x + 0.5f, y + 0.5f}, a, b);
      Blend(x, y, colour, std::clamp(half + 0.5f - d, 0.0f, 1.0f));
    }
  }
}

void Canvas::Wave(float y, float amplitude, float wavelength, float phase, float thickness, std::uint32_t colour) {
  Point previous{0, y + amplitude * std::sin(phase)};
  for (int x = 4; x <= width() + 4; x += 4) {
    const Point next{static_cast<float>(x),
                     y + amplitude * std::sin(phase + 2 * static_cast<float>(std::numbers::pi) * x / wavelength)};
    Line(previous, next, thickness, colour);
    previous = next;
  }
}

void Canvas::Ring(float cx, float cy, float radius, float thickness, std::uint32_t colour) {
  const float reach = radius + thickness;
  for (int y = std::max(0, static_cast<int>(cy - reach)); y < std::min(height(), static_cast<int>(cy + reach) + 1); ++y) {
    for (int x = std::max(0, static_cast<int>(cx - reach)); x < std::min(width(), static_cast<int>(cx + reach) + 1); ++x) {
      const float d = std::fabs(std::hypot(x + 0.5f - cx, y + 0.5f - cy) - radius);
      Blend(x, y, colour, std::clamp(thickness / 2 + 0.5f - d, 0.0f, 1.0f));
    }
  }
}

void Canvas::Star(float cx, float cy, float outer, float inner, int points, std::uint32_t colour) {
  std::vector<Point> outline;
  for (int i = 0; i < points * 2; ++i) {
    const float angle = static_cast<float>(std::numbers::pi) * i / points - static_cast<float>(std::numbers::pi) / 2;
    const float r = i % 2 == 0 ? outer : inner;
    outline.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle)});
  }
  Polygon(outline, colour);
}

void Canvas::Fill(float l, float t, float r, float b, std::uint32_t colour) {
  Polygon({{l, t}, {r, t}, {r, b}, {l, b}}, colour);
}

bool DrawText(Canvas& canvas, const std::string& face, int weight, int height, float x, float y, bool centred,
              std::uint32_t colour, const std::string& utf8, std::string* error) {
  if (TTF_WasInit() == 0 && TTF_Init() != 0) {
    *error = std::string("the font library cannot start: ") + TTF_GetError();
    return false;
  }
  const std::string file = ResolveFontFile(Utf8ToUtf16(face), weight);
  TTF_Font* font = file.empty() ? nullptr : TTF_OpenFont(file.c_str(), height);
  if (font == nullptr) {
    *error = "no installed font for \"" + face + "\"";
    return false;
  }
  SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, utf8.c_str(), SDL_Color{255, 255, 255, 255});
  SDL_Surface* argb = rendered ? SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0) : nullptr;
  SDL_FreeSurface(rendered);
  TTF_CloseFont(font);
  if (argb == nullptr) {
    *error = std::string("the text cannot be drawn: ") + TTF_GetError();
    return false;
  }
  const int left = static_cast<int>(centred ? x - argb->w / 2.0f : x);
  const int top = static_cast<int>(y);
  for (int row = 0; row < argb->h; ++row) {
    const auto* line = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(argb->pixels) +
                                                              static_cast<std::ptrdiff_t>(row) * argb->pitch);
    for (int column = 0; column < argb->w; ++column) {
      canvas.Blend(left + column, top + row, colour, ((line[column] >> 24) & 0xFF) / 255.0f);
    }
  }
  SDL_FreeSurface(argb);
  return true;
}

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, ';');) fields.push_back(field);
  return fields;
}

bool PaintLine(Canvas& canvas, const std::vector<std::string>& f, std::string* error) {
  const std::string& kind = f[0];
  const Reader r{f};
  auto need = [&](std::size_t count) {
    if (f.size() >= count) return true;
    *error = "\"" + kind + "\" needs " + std::to_string(count - 1) + " values";
    return false;
  };
  try {
    if (kind == "gradient") {
      if (!need(3)) return false;
      canvas.VerticalGradient(r.C(1), r.C(2));
    } else if (kind == "glow") {
      if (!need(5)) return false;
      canvas.Glow(r.F(1), r.F(2), r.F(3), r.C(4));
    } else if (kind == "vignette") {
      if (!need(2)) return false;
      canvas.Vignette(r.I(1));
    } else if (kind == "hexgrid") {
      if (!need(4)) return false;
      canvas.HexGrid(r.F(1), r.F(2), r.C(3));
    } else if (kind == "blob") {
      if (!need(7)) return false;
      canvas.Blob(r.F(1), r.F(2), r.F(3), r.F(4), static_cast<unsigned>(r.I(5)), r.C(6));
    } else if (kind == "poly") {
      if (!need(5)) return false;
      std::vector<Point> points;
      for (std::size_t i = 2; i < f.size(); ++i) {
        const std::size_t comma = f[i].find(',');
        if (comma == std::string::npos) {
          *error = "a point is written x,y";
          return false;
        }
        points.push_back({std::stof(f[i].substr(0, comma)), std::stof(f[i].substr(comma + 1))});
      }
      canvas.Polygon(points, r.C(1));
    } else if (kind == "line") {
      if (!need(7)) return false;
      canvas.Line({r.F(1), r.F(2)}, {r.F(3), r.F(4)}, r.F(5), r.C(6));
    } else if (kind == "wave") {
      if (!need(7)) return false;
      canvas.Wave(r.F(1), r.F(2), r.F(3), r.F(4), r.F(5), r.C(6));
    } else if (kind == "ring") {
      if (!need(6)) return false;
      canvas.Ring(r.F(1), r.F(2), r.F(3), r.F(4), r.C(5));
    } else if (kind == "star") {
      if (!need(7)) return false;
      canvas.Star(r.F(1), r.F(2), r.F(3), r.F(4), r.I(5), r.C(6));
    } else if (kind == "fill") {
      if (!need(6)) return false;
      canvas.Fill(r.F(1), r.F(2), r.F(3), r.F(4), r.C(5));
    } else if (kind == "text") {
      if (!need(9)) return false;
      std::string text = f[8];
      for (std::size_t i = 9; i < f.size(); ++i) text += ";" + f[i];
      return DrawText(canvas, f[7], r.I(4), r.I(3), r.F(1), r.F(2), f[6] == "centre", r.C(5), text,
                                   error);
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

}  // namespace tr::menuart
