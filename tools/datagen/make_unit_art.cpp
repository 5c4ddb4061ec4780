// The units skin "Counters": the unit atlas with NATO-style symbols for every
// land, air and naval type and level, and the sheet of counter parts; and the
// pictures of each unit type that the unit panel and the fleets manager show.
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

// A gun turret on the deck at (x, deck) with its barrels pointing to the side
// the sign gives (+1 towards the bow on the right).
void Turret(Canvas& c, float x, float deck, float size, int barrels, float toward, std::uint32_t colour) {
  for (int i = 0; i < barrels; ++i) {
    const float y = deck - size * 0.55f + i * 3.0f;
    c.Line({x, y}, {x + toward * size * 2.2f, y - 2}, 2.5f, colour);
  }
  c.Polygon({{x - size, deck}, {x + size, deck}, {x + size * 0.7f, deck - size}, {x - size * 0.7f, deck - size}},
            colour);
}

// The fleets manager's picture of a ship type, 256 x 128: the ship in profile,
// bow to the right, on the sea under a pale sky.
void ShipPicture(const std::string& file, int type) {
  Canvas c(256, 128);
  c.Rect(0, 0, 256, 84, C("picture_sky"));
  c.Rect(0, 84, 256, 128, C("picture_sea"));
  const std::uint32_t hull = C("ship"), upper = C("ship_upper"), light = C("ship_light");
  switch (type) {
    case 40:  // aircraft carrier: a flight deck over the whole hull, the island to one side
      c.Polygon({{30, 66}, {232, 66}, {218, 94}, {44, 94}}, hull);
      c.Rect(12, 58, 246, 66, upper);
      c.Rect(150, 32, 174, 58, upper);
      c.Rect(156, 20, 168, 32, upper);
      c.Line({162, 20}, {162, 6}, 2, upper);
      for (float x : {40.0f, 76.0f, 112.0f, 204.0f}) {
        c.Polygon({{x, 55}, {x + 18, 55}, {x + 20, 57}, {x - 2, 57}}, light);  // parked aircraft
        c.Rect(x + 6, 52, x + 10, 58, light);
      }
      break;
    case 41:  // battleship: two big turrets forward, one aft, a tall tower and a funnel
    case 42: {  // cruiser: the same lines, lower and lighter
      const bool big = type == 41;
      const float deck = big ? 64 : 68, size = big ? 11 : 8;
      c.Polygon({{16, deck + 4}, {244, deck - 4}, {228, 94}, {36, 94}}, hull);
      c.Rect(100, deck - (big ? 16 : 12), 164, deck, upper);
      c.Polygon({{112, deck - 16}, {140, deck - 16}, {136, big ? 18.0f : 30.0f}, {118, big ? 18.0f : 30.0f}}, upper);
      c.Rect(146, deck - (big ? 36 : 28), 158, deck - 12, upper);
      c.Line({126, big ? 18.0f : 30.0f}, {126, big ? 6.0f : 16.0f}, 2, upper);
      Turret(c, 186, deck - 1, size, big ? 3 : 2, 1, upper);
      Turret(c, big ? 208.0f : 204.0f, deck - 2, size, big ? 3 : 2, 1, upper);
      Turret(c, 70, deck + 1, size, big ? 3 : 2, -1, upper);
      if (!big) Turret(c, 48, deck + 2, size, 2, -1, upper);
      break;
    }
    case 43:  // submarine: a low hull awash, the conning tower and periscope above
      c.Ellipse(128, 86, 104, 10, hull);
      c.Polygon({{104, 80}, {146, 80}, {140, 58}, {112, 58}}, upper);
      c.Line({132, 58}, {132, 40}, 2, upper);
      c.Rect(170, 74, 178, 80, upper);
      break;
    case 44:  // cargo ship: holds and derricks forward, the bridge and funnel aft
      c.Polygon({{18, 62}, {240, 58}, {228, 94}, {30, 94}}, hull);
      c.Rect(34, 38, 74, 62, upper);
      c.Rect(46, 22, 60, 38, upper);
      for (float x : {96.0f, 132.0f, 168.0f}) c.Rect(x, 50, x + 28, 60, C("cargo"));
      for (float x : {92.0f, 128.0f, 164.0f, 200.0f}) {
        c.Line({x, 60}, {x, 26}, 2.5f, upper);
        c.Line({x, 28}, {x + 22, 48}, 1.5f, upper);
      }
      break;
    case 45:  // amphibious ship: a high bow with its doors, vehicles on the well deck
      c.Polygon({{20, 64}, {214, 64}, {244, 52}, {236, 94}, {34, 94}}, hull);
      c.Line({232, 62}, {232, 90}, 1.5f, light);
      c.Rect(26, 36, 64, 64, upper);
      c.Rect(38, 24, 50, 36, upper);
      for (float x : {84.0f, 122.0f, 160.0f}) {
        c.Rect(x, 54, x + 26, 62, C("cargo"));
        c.Rect(x + 8, 49, x + 18, 54, C("cargo"));
        c.Line({x + 16, 51}, {x + 30, 50}, 2, C("cargo"));
      }
      break;
    default:
      break;
  }
  // The hull sinks into the sea below the waterline; foam along it and swell.
  c.Rect(0, 86, 256, 128, C("picture_sea_over"));
  c.Rect(0, 84, 256, 86, C("picture_foam"));
  for (int i = 0; i < 6; ++i) {
    const float y = 98.0f + i * 5.0f, x = (i % 2) * 24.0f;
    for (float wx = x; wx < 256; wx += 48) c.Line({wx, y}, {wx + 18, y}, 1.5f, C("picture_foam"));
  }
  c.Rect(0, 0, 256, 3, C("unit_ink")), c.Rect(0, 125, 256, 128, C("unit_ink"));
  c.Rect(0, 0, 3, 128, C("unit_ink")), c.Rect(253, 0, 256, 128, C("unit_ink"));
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
  for (int type = 40; type <= 45; ++type) ShipPicture((pictures / (std::to_string(type) + ".png")).string(), type);

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
