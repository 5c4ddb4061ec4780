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
    const std::vector<std::string> fields = tr::menuart::SplitFields(line);
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
    if (!tr::menuart::PaintLine(*canvas, fields, &error)) {
      std::fprintf(stderr, "%s:%d: %s\n", argv[1], number, error.c_str());
      return 1;
    }
  }
  if (canvas && !Save(*canvas, folder / file)) return 1;
  return 0;
}
