// The units skin "Counters": the unit atlas with NATO-style symbols for every
// land, air and naval type and level, and the sheet of counter parts.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "art_canvas.h"

using tr::art::Canvas;
using tr::art::Pt;

std::uint32_t PaletteColour(const std::string& name);  // make_map_art.cpp

namespace {

std::uint32_t C(const char* name) { return PaletteColour(name); }

void SaveOrExit(const Canvas& c, const std::string& file) {
  if (!c.Save(file)) std::exit(1);
}

// The symbol box of a 128 x 100 cell: a frame with the arm's marks inside,
// the size above it and the level as pips below.
void LandSymbol(Canvas& c, float x, float y, int arm, bool corps, int level) {
  const float l = x + 24, t = y + 26, r = x + 104, b = y + 76;
  const std::uint32_t ink = C("unit_ink");
  c.Rect(l, t, r, b, C("unit_field"));
  for (float d : {0.0f}) {
    c.Line({l + d, t}, {r, t}, 3, ink), c.Line({r, t}, {r, b}, 3, ink);
    c.Line({r, b}, {l, b}, 3, ink), c.Line({l, b}, {l, t}, 3, ink);
  }
  if (arm == 0 || arm == 1 || arm == 3) {  // infantry cross
    c.Line({l, t}, {r, b}, 3, ink);
    c.Line({l, b}, {r, t}, 3, ink);
  }
  if (arm == 1 || arm == 2) c.EllipseRing((l + r) / 2, (t + b) / 2, 24, 12, 3, ink);  // tracks
  if (arm == 3) c.EllipseRing((l + r) / 2, t + 4, 18, 12, 3, ink);                   // parachute
  const int marks = corps ? 3 : 2;
  for (int i = 0; i < marks; ++i) {
    const float cx = x + 64 + (i - (marks - 1) / 2.0f) * 14;
    c.Line({cx - 5, y + 8}, {cx + 5, y + 20}, 2.5f, ink);
    c.Line({cx + 5, y + 8}, {cx - 5, y + 20}, 2.5f, ink);
  }
  for (int i = 0; i < level; ++i) {
    const float cx = x + 64 + (i - (level - 1) / 2.0f) * 12;
    c.Ellipse(cx, y + 88, 4, 4, C("pip"));
  }
}

void Plane(Canvas& c, float x, float y, int kind, int level) {
  const float m = x + 64, s = 1.0f + kind * 0.25f;
  const std::uint32_t body = C("plane");
  c.Polygon({{m - 4, y + 14}, {m + 4, y + 14}, {m + 5, y + 78}, {m - 5, y + 78}}, body);
  c.Polygon({{m - 44 * s, y + 46}, {m + 44 * s, y + 46}, {m + 40 * s, y + 56}, {m - 40 * s, y + 56}}, body);
  c.Polygon({{m - 16, y + 72}, {m + 16, y + 72}, {m + 14, y + 80}, {m - 14, y + 80}}, body);
  for (int e = 0; e < kind; ++e) {
    c.Ellipse(m - 20 * (e + 1), y + 50, 5, 8, C("unit_ink"));
    c.Ellipse(m + 20 * (e + 1), y + 50, 5, 8, C("unit_ink"));
  }
  for (int i = 0; i < level; ++i) c.Ellipse(m + (i - (level - 1) / 2.0f) * 12, y + 92, 4, 4, C("pip"));
}

void Ship(Canvas& c, float x, float y, int type) {
  const float m = x + 64;
  const std::uint32_t hull = C("ship");
  const float len = type == 43 ? 44 : type == 42 ? 46 : type >= 44 ? 42 : 54;
  c.Polygon({{m - len, y + 56}, {m + len + 8, y + 56}, {m + len - 4, y + 70}, {m - len + 4, y + 70}}, hull);
  if (type == 40) c.Rect(m - len, y + 48, m + len + 4, y + 56, hull);  // the flat deck
  if (type == 41 || type == 42) {
    c.Rect(m - 12, y + 40, m + 14, y + 56, hull);
    c.Line({m - 30, y + 50}, {m - 46, y + 46}, 3, hull);
    if (type == 41) c.Line({m + 30, y + 50}, {m + 48, y + 46}, 3, hull);
  }
  if (type == 43) c.Rect(m - 6, y + 46, m + 8, y + 56, hull);
  if (type == 44) c.Rect(m - 30, y + 42, m + 20, y + 56, C("cargo"));
  if (type == 45) c.Polygon({{m - 30, y + 56}, {m - 20, y + 40}, {m + 24, y + 40}, {m + 30, y + 56}}, C("cargo"));
}

// The unit panel's picture of a type, 256 x 128: the type's symbol on a
// sky-and-field backdrop; the default picture has the backdrop alone.
void UnitPicture(const std::string& file, int type) {
  Canvas c(256, 128);
  c.Rect(0, 0, 256, 80, C("unit_field"));
  c.Rect(0, 80, 256, 128, C("cargo"));
  c.Rect(0, 0, 256, 3, C("unit_ink")), c.Rect(0, 125, 256, 128, C("unit_ink"));
  c.Rect(0, 0, 3, 128, C("unit_ink")), c.Rect(253, 0, 256, 128, C("unit_ink"));
  if (type >= 0 && type <= 6) {
    const int arm = type <= 1 ? 0 : type <= 3 ? 2 : type <= 5 ? 1 : 3;
    LandSymbol(c, 64, 14, arm, type == 1 || type == 3 || type == 5, 1);
  } else if (type >= 20 && type <= 22) {
    Plane(c, 64, 14, type - 20, 1);
  }
  SaveOrExit(c, file);
}

}  // namespace

void DrawUnits(const std::string& folder) {
  // The unit panel's pictures live beside the skins, under "Units images".
  const std::filesystem::path pictures = std::filesystem::path(folder).parent_path() / "Units images";
  std::filesystem::create_directories(pictures);
  UnitPicture((pictures / "default.png").string(), -1);
  for (int type : {0, 1, 2, 3, 4, 5, 6, 20, 21, 22}) {
    UnitPicture((pictures / (std::to_string(type) + ".png")).string(), type);
  }

  Canvas units(2048, 1000);
  for (int arm = 0; arm < 4; ++arm) {
    for (int corps = 0; corps < 2; ++corps) {
      if (arm == 3 && corps == 1) continue;  // airborne divisions only
      for (int level = 1; level <= 5; ++level) {
        LandSymbol(units, arm * 128.0f, corps * 500.0f + (level - 1) * 100.0f, arm == 1 ? 1 : arm == 2 ? 2 : arm == 3 ? 3 : 0,
                   corps == 1, level);
      }
    }
  }
  // The artificial harbour at (512, 600): a pier with a crane.
  units.Rect(512 + 20, 600 + 60, 512 + 108, 600 + 72, C("unit_ink"));
  for (int i = 0; i < 5; ++i) units.Rect(512 + 24 + i * 18, 600 + 72, 512 + 30 + i * 18, 600 + 88, C("unit_ink"));
  units.Line({512 + 90, 600 + 60}, {512 + 90, 600 + 18}, 4, C("unit_ink"));
  units.Line({512 + 90, 600 + 18}, {512 + 50, 600 + 30}, 3, C("unit_ink"));
  for (int kind = 0; kind < 3; ++kind) {
    for (int level = 1; level <= 5; ++level) Plane(units, 640.0f + kind * 128, (level - 1) * 100.0f, kind, level);
  }
  for (int type = 40; type <= 45; ++type) Ship(units, 1024.0f + (type - 40) * 128, 0.0f, type);
  SaveOrExit(units, folder + "/units.png");

  // The parts sheet: background and frame, size marks (division, then corps
  // one row lower), and the indicators, each with its highlighted twin below.
  Canvas info(256, 128);
  info.Rect(0, 0, 64, 64, 0xFFFFFFFF);
  // The frame is a border only, so the owner's colour shows through it.
  info.Rect(64, 0, 128, 3, C("frame")), info.Rect(64, 61, 128, 64, C("frame"));
  info.Rect(64, 0, 67, 64, C("frame")), info.Rect(125, 0, 128, 64, C("frame"));
  for (int row = 0; row < 2; ++row) {
    const char* on = row == 0 ? "indicator" : "indicator_lit";
    const float y = 64.0f + row * 16;
    info.Ellipse(8, y + 8, 5, 5, C(row ? "ready_lit" : "ready"));                             // action
    info.Polygon({{24, y + 2}, {26, y + 7}, {31, y + 7}, {27, y + 10}, {29, y + 15}, {24, y + 12},
                  {19, y + 15}, {21, y + 10}, {17, y + 7}, {22, y + 7}}, C(on));                  // commander
    info.Rect(34, y + 5, 46, y + 11, C(on));                                                      // action points
    info.Polygon({{56, y + 2}, {62, y + 14}, {50, y + 14}}, C("low_supply"));                     // low supply
    info.Rect(70, y + 7, 78, y + 9, C(on)), info.Rect(73, y + 4, 75, y + 12, C(on));            // reinforcement
    info.Rect(82, y + 2, 94, y + 14, C("frozen"));                                                // frozen
    info.Rect(96, y + 4, 126, y + 12, C(row ? "hp_bar" : "hp_track"));                            // hit-point bar
  }
  SaveOrExit(info, folder + "/info.png");
}
