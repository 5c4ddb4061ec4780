// Paints the menu pictures (wallpapers, logos, cursor, console, unknown flag)
// from their text source.
// Usage: make_menu_pictures <source.txt> <gfx folder>
// A "picture;<file>;<width>;<height>" line starts a picture (the file is
// relative to the gfx folder); the lines after it paint on it, each
// "kind;values" (see data/menus/pictures.txt); '#' starts a comment line.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "menu_painter.h"

// The caches the font libraries keep for the life of the process are not
// leaks of ours; the sanitizer runtime asks for these before main.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libSDL2\nleak:libfreetype\n";
}

namespace {

using tr::menuart::Canvas;
using tr::menuart::Point;

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, ';');) fields.push_back(field);
  return fields;
}

struct Reader {
  const std::vector<std::string>& fields;
  float F(std::size_t i) const { return std::stof(fields.at(i)); }
  int I(std::size_t i) const { return std::stoi(fields.at(i)); }
  std::uint32_t C(std::size_t i) const { return static_cast<std::uint32_t>(std::stoul(fields.at(i), nullptr, 16)); }
};

bool Paint(Canvas& canvas, const std::vector<std::string>& f, std::string* error) {
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
      return tr::menuart::DrawText(canvas, f[7], r.I(4), r.I(3), r.F(1), r.F(2), f[6] == "centre", r.C(5), text,
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

bool Save(const Canvas& canvas, const std::filesystem::path& file) {
  std::filesystem::create_directories(file.parent_path());
  return canvas.Save(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_menu_pictures <source.txt> <gfx folder>\n");
    return 1;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot be read\n", argv[1]);
    return 1;
  }
  const std::filesystem::path folder = argv[2];
  std::unique_ptr<Canvas> canvas;
  std::filesystem::path file;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> fields = Split(line);
    std::string error;
    if (fields[0] == "picture") {
      if (canvas && !Save(*canvas, folder / file)) return 1;
      int width = 0, height = 0;
      if (fields.size() != 4 || (width = std::atoi(fields[2].c_str())) <= 0 ||
          (height = std::atoi(fields[3].c_str())) <= 0 || fields[1].find("..") != std::string::npos) {
        std::fprintf(stderr, "%s:%d: expected picture;<file>;<width>;<height>\n", argv[1], number);
        return 1;
      }
      canvas = std::make_unique<Canvas>(width, height);
      file = fields[1];
      continue;
    }
    if (!canvas) {
      std::fprintf(stderr, "%s:%d: painting before any picture line\n", argv[1], number);
      return 1;
    }
    if (!Paint(*canvas, fields, &error)) {
      std::fprintf(stderr, "%s:%d: %s\n", argv[1], number, error.c_str());
      return 1;
    }
  }
  if (canvas && !Save(*canvas, folder / file)) return 1;
  return 0;
}
