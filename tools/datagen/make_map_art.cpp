// Draws the map skin "Normal" and the units skin "Counters" from a palette.
// Usage: make_map_art <palette.txt> <map skin folder> <units skin folder>
// The palette holds "name;AARRGGBB" lines ('#' starts a comment); every
// colour the pictures use is named there.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "art_canvas.h"

using tr::art::Canvas;
using tr::art::CellCentre;
using tr::art::Pt;

namespace {

std::map<std::string, std::uint32_t> gPalette;

std::uint32_t C(const std::string& name) {
  auto it = gPalette.find(name);
  if (it == gPalette.end()) {
    std::fprintf(stderr, "palette: no colour \"%s\"\n", name.c_str());
    std::exit(1);
  }
  return it->second;
}

bool SaveArt(const Canvas& canvas, const std::string& file) {
  if (!canvas.Save(file)) std::exit(1);
  return true;
}

const char* kTerrainNames[8] = {"water", "plain", "forest", "rough", "swamp", "hill", "mountain", "desert"};
const char* kWeatherSuffix[3] = {"", "_snow", "_mud"};

// The overlay of a terrain (drawn over plain): trees, stones, hills or peaks.
void DrawOverlay(Canvas& c, int terrain, int col, int row, int weather, int variant) {
  const Pt m = CellCentre(col, row);
  const std::string w = kWeatherSuffix[weather];
  const float shift = static_cast<float>(variant * 7 % 20) - 10;
  if (terrain == 2) {
    for (int i = 0; i < 7; ++i) {
      const float x = m.x - 36 + (i * 23 + variant * 9) % 72, y = m.y - 28 + (i * 31 + variant * 5) % 56;
      c.Line({x, y + 8}, {x, y + 16}, 3, C("trunk"));
      c.Ellipse(x, y, 11, 12, C("tree" + w));
    }
  } else if (terrain == 3) {
    for (int i = 0; i < 6; ++i) {
      const float x = m.x - 34 + (i * 29 + variant * 11) % 68, y = m.y - 26 + (i * 17 + variant * 7) % 52;
      c.Polygon({{x - 9, y + 6}, {x - 3, y - 7}, {x + 8, y - 4}, {x + 10, y + 6}}, C("rock" + w));
    }
  } else if (terrain == 5) {
    for (int i = 0; i < 3; ++i) {
      const float x = m.x - 26 + i * 26 + shift / 2, y = m.y + 10 - (i % 2) * 22;
      c.Ellipse(x, y, 24, 14, C("hill" + w));
      c.EllipseRing(x, y, 24, 14, 2, C("hill_edge"));
    }
  } else if (terrain == 6) {
    for (int i = 0; i < 2; ++i) {
      const float x = m.x - 18 + i * 36 + shift / 3, y = m.y + 22 - i * 8;
      c.Polygon({{x - 28, y}, {x, y - 50}, {x + 28, y}}, C("mountain" + w));
      c.Polygon({{x - 9, y - 33}, {x, y - 50}, {x + 9, y - 33}}, C("peak"));
    }
  }
}

void DrawTerrain(const std::string& folder) {
  Canvas c(2004, 2004);
  for (int t = 0; t < 8; ++t) {
    for (int weather = 0; weather < 3; ++weather) {
      for (int v = 0; v < 6; ++v) {
        const int col = (t / 4) * 6 + v, row = (t % 4) * 3 + weather;
        if (t == 0 && weather > 0) continue;  // water has no weather; river mouths live there
        const bool overlay = t == 2 || t == 3 || t == 5 || t == 6;
        if (overlay) {
          DrawOverlay(c, t, col, row, weather, v);
          continue;
        }
        c.Polygon(Canvas::Hex(col, row), C(std::string(kTerrainNames[t]) + kWeatherSuffix[weather]));
        const std::string detail = std::string(kTerrainNames[t]) + "_detail";
        c.Speckle(col, row, t == 0 ? 6 : 14, t == 0 ? 2.0f : 1.5f, C(detail), 17u * t + 101u * v + weather);
        if (t == 4) {
          for (int i = 0; i < 4; ++i) {
            const Pt m = CellCentre(col, row);
            const float y = m.y - 24 + i * 16, x = m.x - 30 + (i * 13 + v * 5) % 30;
            c.Line({x, y}, {x + 24, y}, 2, C("reed"));
          }
        }
      }
    }
  }
  // River mouths: the river reaching the sea across side k, two variants.
  for (int k = 0; k < 6; ++k) {
    for (int v = 0; v < 2; ++v) {
      const Pt m = CellCentre(k, 1 + v);
      const float angles[6] = {-90, -30, 30, 90, 150, 210};
      const float a = angles[k] * 3.14159f / 180;
      c.Line({m.x + std::cos(a) * 46, m.y + std::sin(a) * 46}, {m.x + std::cos(a) * 20, m.y + std::sin(a) * 20},
             6 + v, C("river"));
    }
  }
  SaveArt(c, folder + "/terrain.png");
}

// The hex side s (0 N .. 5 NW) of a cell as a segment.
void Side(const std::vector<Pt>& hex, int s, Pt& a, Pt& b) {
  // Hex corners: 0 W, 1 NW, 2 NE, 3 E, 4 SE, 5 SW.
  const int from[6] = {1, 2, 3, 4, 5, 0};
  a = hex[static_cast<std::size_t>(from[s])];
  b = hex[static_cast<std::size_t>((from[s] + 1) % 6)];
}

void DrawOthers(const std::string& folder) {
  Canvas c(2004, 2004);
  Pt a, b;
  // Row 0: rivers on sides 1, 2, 3 (two variants each).
  for (int s = 1; s <= 3; ++s) {
    for (int v = 0; v < 2; ++v) {
      const int col = (s - 1) * 2 + v;
      Side(Canvas::Hex(col, 0), s, a, b);
      c.Line(a, b, 5 + v * 2, C("river"));
    }
  }
  // Row 1: the alliances of the political map; row 2: no alliance, the two ownership tints and the grid.
  for (int i = 0; i < 6; ++i) c.Polygon(Canvas::Hex(i, 1), C("alliance" + std::to_string(i + 1)));
  c.Polygon(Canvas::Hex(0, 2), C("neutral"));
  c.Polygon(Canvas::Hex(1, 2), C("tint"));
  c.Polygon(Canvas::Hex(2, 2), C("tint"));
  const std::vector<Pt> grid = Canvas::Hex(5, 2);
  for (int s = 0; s < 6; ++s) {
    Side(grid, s, a, b);
    c.Line(a, b, 1.5f, C("grid"));
  }
  // Row 3: three towns and two resource sites.
  for (int v = 0; v < 5; ++v) {
    const Pt m = CellCentre(v, 3);
    if (v < 3) {
      for (int i = 0; i < 4 + v; ++i) {
        const float x = m.x - 26 + (i * 17) % 48, y = m.y - 18 + (i * 13) % 30;
        c.Rect(x, y, x + 14, y + 12, C("house"));
        c.Polygon({{x - 2, y}, {x + 7, y - 8}, {x + 16, y}}, C("roof"));
      }
    } else {
      c.Line({m.x - 12, m.y + 20}, {m.x, m.y - 24}, 4, C("derrick"));
      c.Line({m.x + 12, m.y + 20}, {m.x, m.y - 24}, 4, C("derrick"));
      c.Line({m.x - 8, m.y + 4}, {m.x + 8, m.y + 4}, 3, C("derrick"));
      if (v == 4) c.Ellipse(m.x + 26, m.y + 16, 10, 6, C("oil"));
    }
  }
  // Row 4: borders on sides 1, 2, 3 (white, tinted when drawn), then the sea-zone borders.
  for (int s = 1; s <= 3; ++s) {
    Side(Canvas::Hex(s - 1, 4), s, a, b);
    c.Line(a, b, 5, C("border"));
    Side(Canvas::Hex(s + 2, 4), s, a, b);
    for (int d = 0; d < 5; ++d) {
      const float t0 = d / 5.0f, t1 = t0 + 0.12f;
      c.Line({a.x + (b.x - a.x) * t0, a.y + (b.y - a.y) * t0}, {a.x + (b.x - a.x) * t1, a.y + (b.y - a.y) * t1}, 3,
             C("seazone_border"));
    }
  }
  // Row 5: attack arrows pointing in from each side.
  for (int s = 0; s < 6; ++s) {
    const Pt m = CellCentre(s, 5);
    const float angles[6] = {-90, -30, 30, 90, 150, 210};
    const float r = angles[s] * 3.14159f / 180, cs = std::cos(r), sn = std::sin(r);
    c.Line({m.x + cs * 70, m.y + sn * 70}, {m.x + cs * 36, m.y + sn * 36}, 7, C("arrow"));
    c.Polygon({{m.x + cs * 26, m.y + sn * 26}, {m.x + cs * 42 - sn * 12, m.y + sn * 42 + cs * 12},
               {m.x + cs * 42 + sn * 12, m.y + sn * 42 - cs * 12}},
              C("arrow"));
  }
  // Row 7: weather over the land: nothing in clear weather, snow and mud in two variants.
  for (int v = 0; v < 2; ++v) {
    c.Speckle(2 + v, 7, 40, 2.2f, C("snowflake"), 7u + v);
    c.Speckle(4 + v, 7, 18, 3.5f, C("puddle"), 29u + v);
  }
  // Row 8: the city icons of the appearance table; flag frame, port, supply, resources, victory points.
  c.Rect(1, 1337, 25, 1361, C("icon_back"));
  c.Ellipse(13, 1345, 3, 3, C("anchor"));
  c.Line({13, 1346}, {13, 1357}, 2.5f, C("anchor"));
  c.Line({6, 1353}, {20, 1353}, 2.5f, C("anchor"));
  c.Rect(26, 1337, 50, 1361, C("icon_back"));
  c.Rect(31, 1344, 45, 1356, C("supply"));
  c.Rect(51, 1337, 75, 1361, C("icon_back"));
  c.Polygon({{56, 1357}, {63, 1341}, {70, 1357}}, C("derrick"));
  c.Polygon({{88, 1337}, {91, 1346}, {100, 1346}, {93, 1352}, {96, 1361}, {88, 1355}, {80, 1361}, {83, 1352},
             {76, 1346}, {85, 1346}},
            C("star"));
  // A plain patch, darkened when drawn, behind the texts of a city.
  c.Rect(101, 1337, 125, 1361, 0xFFFFFFFF);
  // Fortification strips of levels 1 to 5, 40 x 8 each, one under the other.
  for (int level = 1; level <= 5; ++level) {
    const float top = 1370 + (level - 1) * 8;
    for (int i = 0; i < level; ++i) c.Rect(1 + i * 8, top + 1, 7 + i * 8, top + 7, C("fort"));
  }
  // Rows 0 to 4, columns 6 to 11: the highlight of each flag bit (the lowest set bit picks it).
  // Bits 17 to 20 mark the sea-battle grid: the selected ship, its move cells,
  // the chosen target and the columns outside the battle.
  const auto highlightOf = [](int bit) -> std::string {
    switch (bit) {
      case 0: case 17: return "selected";
      case 18: return "move";
      case 19: return "target_fire";
      case 20: case 24: return "shade";
      default: return bit >= 10 ? "target_fire" : "target_move";
    }
  };
  for (int bit = 0; bit < 30; ++bit) {
    const int col = 6 + bit % 6, row = bit / 6;
    const std::string name = highlightOf(bit);
    c.Polygon(Canvas::Hex(col, row, 3), C("highlight_" + name));
  }
  // Row 10: forts of levels 1 to 5 on the hex, the port marker in column 11.
  for (int f = 0; f < 5; ++f) {
    const Pt m = CellCentre(f, 10);
    for (int i = 0; i <= f; ++i) {
      const float x = m.x - 40 + i * 18;
      c.Rect(x, m.y + 26, x + 12, m.y + 40, C("fort"));
    }
  }
  const Pt port = CellCentre(11, 10);
  c.Ellipse(port.x + 30, port.y - 30, 13, 13, C("icon_back"));
  c.Line({port.x + 30, port.y - 38}, {port.x + 30, port.y - 20}, 3, C("anchor"));
  c.Line({port.x + 22, port.y - 24}, {port.x + 38, port.y - 24}, 3, C("anchor"));
  // Row 9: the sea-zone marker ships and the sea-battle water.
  for (int v = 0; v < 2; ++v) {
    const Pt m = CellCentre(v, 9);
    c.Polygon({{m.x - 34, m.y}, {m.x + 34, m.y}, {m.x + 24, m.y + 12}, {m.x - 26, m.y + 12}}, C(v ? "enemy" : "own"));
    c.Rect(m.x - 8, m.y - 12, m.x + 10, m.y, C(v ? "enemy" : "own"));
  }
  SaveArt(c, folder + "/others.png");
}

void DrawEyecandies(const std::string& folder) {
  Canvas c(4 * 167, 3 * 167);
  for (int w = 0; w < 3; ++w) {
    const std::string ws = kWeatherSuffix[w];
    Pt m = CellCentre(0, w);  // a lighthouse
    c.Rect(m.x - 6, m.y - 30, m.x + 6, m.y + 20, C("lighthouse"));
    c.Rect(m.x - 6, m.y - 14, m.x + 6, m.y - 6, C("roof"));
    c.Ellipse(m.x, m.y - 34, 6, 6, C("light"));
    m = CellCentre(1, w);  // a castle
    c.Rect(m.x - 24, m.y - 12, m.x + 24, m.y + 18, C("stone" + ws));
    for (int i = 0; i < 4; ++i) c.Rect(m.x - 24 + i * 14, m.y - 20, m.x - 16 + i * 14, m.y - 12, C("stone" + ws));
    m = CellCentre(2, w);  // a windmill
    c.Polygon({{m.x - 10, m.y + 24}, {m.x - 6, m.y - 8}, {m.x + 6, m.y - 8}, {m.x + 10, m.y + 24}}, C("stone" + ws));
    c.Line({m.x - 22, m.y - 22}, {m.x + 22, m.y + 6}, 4, C("trunk"));
    c.Line({m.x + 22, m.y - 22}, {m.x - 22, m.y + 6}, 4, C("trunk"));
    m = CellCentre(3, w);  // a lake
    c.Ellipse(m.x, m.y, 34, 20, C(w == 1 ? "ice" : "water"));
  }
  SaveArt(c, folder + "/eyecandies.png");
}

}  // namespace

void DrawUnits(const std::string& folder);  // make_unit_art.cpp

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_map_art <palette.txt> <map skin folder> <units skin folder>\n");
    return 1;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot be read\n", argv[1]);
    return 1;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::size_t semi = line.find(';');
    if (semi == std::string::npos) {
      std::fprintf(stderr, "%s:%d: expected name;AARRGGBB\n", argv[1], number);
      return 1;
    }
    gPalette[line.substr(0, semi)] = static_cast<std::uint32_t>(std::stoul(line.substr(semi + 1), nullptr, 16));
  }
  DrawTerrain(argv[2]);
  DrawOthers(argv[2]);
  DrawEyecandies(argv[2]);
  DrawUnits(argv[3]);
  return 0;
}

std::uint32_t PaletteColour(const std::string& name) { return C(name); }
