// Draws the GUI skin picture from its text source.
// Usage: make_skin_atlas <source.txt> <output.png>
// The source starts with "size;<width>;<height>"; every further line draws one
// shape or belongs to a button picture (see skin_painter.h and pictogram.h);
// '#' starts a comment line.
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "skin_painter.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_skin_atlas <source.txt> <output.png>\n");
    return 1;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot be read\n", argv[1]);
    return 1;
  }
  int width = 2048, height = 2048;
  std::string line;
  int number = 0;
  std::unique_ptr<tr::skin::Canvas> canvas;
  std::unique_ptr<tr::skin::SkinPainter> painter;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("size;", 0) == 0 && !canvas) {
      if (std::sscanf(line.c_str(), "size;%d;%d", &width, &height) != 2 || width <= 0 || height <= 0) {
        std::fprintf(stderr, "%s:%d: bad size line\n", argv[1], number);
        return 1;
      }
      continue;
    }
    if (!canvas) {
      canvas = std::make_unique<tr::skin::Canvas>(width, height);
      painter = std::make_unique<tr::skin::SkinPainter>(*canvas);
    }
    std::string error;
    if (!painter->Line(line, &error)) {
      std::fprintf(stderr, "%s:%d: %s\n", argv[1], number, error.c_str());
      return 1;
    }
  }
  if (!canvas) canvas = std::make_unique<tr::skin::Canvas>(width, height);
  std::string error;
  if (painter && !painter->Finish(&error)) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
    return 1;
  }
  return canvas->Save(argv[2]) ? 0 : 1;
}
