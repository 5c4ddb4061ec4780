// Exact draws of the map: where hexes go, which skin cell each layer takes
// and at which depth and colour, cities with their texts, counters with their
// figures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

#include "app/counter_draw.h"
#include "app/hex_draw.h"
#include "app/map_draw_state.h"
#include "app/map_sprites.h"
#include "app/sea_node_markers.h"
#include "foundation/gui_layout.h"
#include "foundation/text.h"
#include "map_draw_cases.h"
#include "platform/font.h"
#include "platform/sprite_batch.h"
#include "turn/sea_graph_node.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "units/player_control.h"
#include "world/city.h"
#include "world/gra.h"

namespace tr {
namespace {

// A land unit whose effective strength the test chooses.
class FixedStrengthUnit : public cJednostkaLadowa {
 public:
  float value = 0.0f;
  float GetEffectiveStrength() const override { return value; }
};

// Stretched pictures land within a rounding step of their placement.
void ExpectNear(const RectF& actual, const RectF& expected) {
  EXPECT_NEAR(actual.left, expected.left, 0.01);
  EXPECT_NEAR(actual.top, expected.top, 0.01);
  EXPECT_NEAR(actual.right, expected.right, 0.01);
  EXPECT_NEAR(actual.bottom, expected.bottom, 0.01);
}

TEST_F(MapDraw, HexesSitOnTheOffsetGridLowerOnEvenColumns) {
  Render();
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 3; ++r) {
      const float x = static_cast<float>(kOx + 83 * c), y = static_cast<float>(kOy + 98 * r + (c % 2 == 0 ? 49 : 0));
      int found = 0;
      for (const DrawRecord* s : SpritesOf("terrain")) {
        if (s->dest == RectF{x, y, x + 166, y + 166}) ++found;
      }
      EXPECT_EQ(found, 1) << "hex " << c << "," << r;
    }
  }
}

TEST_F(MapDraw, EmptySkinCellIsNotDrawn) {
  gShowWeather = true;
  world_->hex(1, 0).variant = 1;
  Texture& others = *MapSkinTextures().others.GetTexture();
  Texture::LockedRect texels = others.Lock();
  const Rect clear = SkinCell(0, 7);
  for (int y = clear.top; y < clear.bottom; ++y) std::fill_n(texels.bits + y * others.width() + clear.left, 166, 0u);
  others.Unlock();
  Render();
  // Clear weather on hexes of both variants: only the odd variant's cell has texels.
  bool sawOther = false;
  for (const DrawRecord* s : SpritesOf("others")) {
    EXPECT_NE(s->source, clear);
    sawOther = sawOther || s->source == SkinCell(1, 7);
  }
  EXPECT_TRUE(sawOther);
}

TEST_F(MapDraw, TerrainTakesItsCellByKindVariantAndWeather) {
  sHex& snow = world_->hex(1, 0);
  snow.variant = 8;  // column 8 mod 6
  snow.weather = 1;
  sHex& forest = world_->hex(2, 0);
  forest.terrain = 2;
  forest.variant = 1;
  sHex& desert = world_->hex(3, 0);
  desert.terrain = 7;
  desert.weather = 2;
  Render();
  const DrawRecord* plainSnow = SpriteOf("terrain", SkinCell(2, 4));
  ASSERT_NE(plainSnow, nullptr);
  EXPECT_FLOAT_EQ(plainSnow->depth, 0.96f - 0.01f);  // the plain row, lowered by the weather
  const DrawRecord* trees = SpriteOf("terrain", SkinCell(1, 6));
  ASSERT_NE(trees, nullptr);
  EXPECT_FLOAT_EQ(trees->depth, 0.82f);
  ASSERT_NE(SpriteOf("terrain", SkinCell(1, 3)), nullptr);  // plain under the forest
  ASSERT_NE(SpriteOf("terrain", SkinCell(6, 11)), nullptr);
}

TEST_F(MapDraw, RiverBorderAndHighlightLayers) {
  sHex& hex = world_->hex(1, 1);
  hex.variant = 1;
  hex.rivers = 1 << 2;  // south-east side
  hex.borders = 1;      // another owner across side 1
  hex.flags = 0x40;
  Render();
  const DrawRecord* river = SpriteOf("others", SkinCell(3, 0));
  ASSERT_NE(river, nullptr);
  EXPECT_FLOAT_EQ(river->depth, 0.86f);
  EXPECT_EQ(river->dest.left, static_cast<float>(kOx + 83));
  const DrawRecord* border = SpriteOf("others", SkinCell(0, 4));
  ASSERT_NE(border, nullptr);
  EXPECT_EQ(border->colour, 0xFFFF0000u);
  EXPECT_FLOAT_EQ(border->depth, 0.66f);
  const DrawRecord* highlight = SpriteOf("others", RectFromSize(1003, 167, 166, 166));
  ASSERT_NE(highlight, nullptr);
  EXPECT_FLOAT_EQ(highlight->depth, 0.80f);
  // Controller borders are not drawn while the owners' are shown.
  hex.borders = 1 << 3;
  Render();
  EXPECT_EQ(SpriteOf("others", SkinCell(0, 4)), nullptr);
}

// The ownership modes tint a hex with its controller's colour (mode 1), its
// owner's (mode 2) or both (mode 3), each from its own skin cell.
struct TintCase {
  const char* name;
  int mode;
  bool controllerTint;
  bool ownerTint;
};
class OwnershipTint : public MapDraw, public testing::WithParamInterface<TintCase> {};

TEST_P(OwnershipTint, TakesTheControllersAndTheOwnersColourFromTheirCells) {
  world_->country(1).colors[0] = 0x30A1B2C3u;
  world_->country(2).colors[0] = 0x5D4E5F60u;
  sHex& hex = world_->hex(2, 1);
  hex.controller = 2;
  hex.owner = 1;
  gMapOwnershipMode = GetParam().mode;
  Render();
  const DrawRecord* controller = SpriteOf("others", SkinCell(1, 2));
  const DrawRecord* owner = SpriteOf("others", SkinCell(2, 2));
  ASSERT_EQ(controller != nullptr, GetParam().controllerTint);
  ASSERT_EQ(owner != nullptr, GetParam().ownerTint);
  for (const auto& [tint, colour] : {std::pair{controller, 0xFF4E5F60u}, std::pair{owner, 0xFFA1B2C3u}}) {
    if (tint == nullptr) continue;
    EXPECT_EQ(tint->colour, colour);
    EXPECT_EQ(tint->dest.left, static_cast<float>(kOx + 83 * 2));
    EXPECT_FLOAT_EQ(tint->depth, 0.78f);
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, OwnershipTint,
                         testing::Values(TintCase{"Controller", 1, true, false}, TintCase{"Owner", 2, false, true},
                                         TintCase{"Both", 3, true, true}),
                         [](const auto& info) { return info.param.name; });

// A scenario's decoration stands in for the layer of its number on its hex,
// and is drawn itself only in front of the map's middle depth.
TEST_F(MapDraw, ADecorationHidesTheLayerOfItsNumberAndShowsOnlyAboveHalfDepth) {
  Blank(MapSkinTextures().decorations, 2004, 2004, "decorations");
  const int riverLayer = SkinTables().depths[kRowRivers].key;
  std::vector<sHexPathCell>& cells = world_->map().PathCells();
  const auto decorate = [&](int column, int row, int layer, int left) {
    sHexPathCell& cell = cells[static_cast<std::size_t>(row * 4 + column)];
    cell.texture[0] = {left, 1};
    cell.layer = layer;
    cell.depth = static_cast<float>(39 - layer) / 100.0f + 0.6f;
  };
  decorate(1, 1, riverLayer, 1);
  decorate(2, 1, 49, 168);  // depth 0.5
  decorate(3, 1, 48, 335);  // depth 0.51
  for (int column = 0; column < 4; ++column) world_->hex(column, 1).rivers = 1 << 2;
  Render();
  const auto riverAt = [&](int column) {
    for (const DrawRecord* r : SpritesOf("others")) {
      if (r->source == SkinCell(2, 0) && r->dest.left == static_cast<float>(kOx + 83 * column)) return true;
    }
    return false;
  };
  EXPECT_TRUE(riverAt(0));
  EXPECT_FALSE(riverAt(1));
  EXPECT_TRUE(riverAt(2));
  const DrawRecord* riverPicture = SpriteOf("decorations", RectFromSize(1, 1, 166, 166));
  ASSERT_NE(riverPicture, nullptr);
  EXPECT_FLOAT_EQ(riverPicture->depth, static_cast<float>(39 - riverLayer) / 100.0f + 0.6f);
  EXPECT_EQ(SpriteOf("decorations", RectFromSize(168, 1, 166, 166)), nullptr);
  EXPECT_NE(SpriteOf("decorations", RectFromSize(335, 1, 166, 166)), nullptr);
  // One of the city layer stands in for a town's picture and for a fort in
  // the open, while the city's name still stands on it.
  cells.assign(cells.size(), sHexPathCell{});
  const int cityLayer = SkinTables().depths[kRowCity].key;
  decorate(1, 1, cityLayer, 1);
  decorate(2, 1, cityLayer, 1);
  sCityAppearance& ap = SkinTables().cities[0];
  ap.valid[8] = 1;
  ap.placement[8] = {8, 106, 158, 124};
  ap.fonts[2].object = TestFont(0xFFFFFFFFu, 0xFF000000u, ap.fonts[2]);
  cCity city;
  city.x = 1;
  city.y = 1;
  city.name = u"Elm";
  world_->hex(1, 1).city = &city;
  world_->hex(2, 1).fortLevel = 2;
  const auto shown = [&] {
    Render();
    return std::tuple{SpriteOf("others", SkinCell(0, 3)) != nullptr, SpriteOf("others", SkinCell(1, 10)) != nullptr,
                      recorder_.FindText(u"Elm") != nullptr};
  };
  EXPECT_EQ(shown(), std::tuple(false, false, true));
  cells.assign(cells.size(), sHexPathCell{});
  EXPECT_EQ(shown(), std::tuple(true, true, true));
  world_->hex(1, 1).city = nullptr;
  world_->hex(2, 1).fortLevel = 0;
}

TEST_F(MapDraw, PortMarkerOnlyInModeThree) {
  world_->hex(2, 1).port = 1;
  const Rect marker = RectFromSize(1838, 1671, 166, 166);
  Render();
  EXPECT_EQ(SpriteOf("others", marker), nullptr);
  gMapMode = 3;
  Render();
  const DrawRecord* port = SpriteOf("others", marker);
  ASSERT_NE(port, nullptr);
  EXPECT_FLOAT_EQ(port->depth, 0.5f);
}

TEST_F(MapDraw, LayersComeOutBackToFront) {
  world_->hex(1, 1).rivers = 2;
  world_->hex(1, 1).flags = 1;
  world_->hex(2, 0).terrain = 6;
  Render();
  float last = 2.0f;
  for (const DrawRecord& r : recorder_.records()) {
    if (r.kind != DrawRecord::Kind::kSprite) continue;
    EXPECT_LE(r.depth, last);
    last = r.depth;
  }
}

TEST_F(MapDraw, CityDrawsTownIconsAndShadowedTexts) {
  sCityAppearance& ap = SkinTables().cities[0];
  ap.valid[2] = ap.valid[5] = ap.valid[6] = ap.valid[8] = 1;
  ap.source[2] = Rect{1, 1337, 25, 1361};
  ap.placement[2] = {26, 58, 18, 18};
  ap.source[5] = Rect{76, 1337, 100, 1361};
  ap.placement[5] = {118, 58, 18, 18};
  ap.placement[6] = {116, 76, 144, 92};
  ap.placement[8] = {8, 106, 158, 124};
  // The fort strip of level 1; each further level lies one strip lower.
  ap.valid[1] = 1;
  ap.source[1] = Rect{1, 1400, 41, 1410};
  ap.placement[1] = {20, 30, 60, 40};
  ap.fonts[0].object = TestFont(0xFFFFEC96u, 0xFF000000u, ap.fonts[0]);
  ap.fonts[2].object = TestFont(0xFFFFFFFFu, 0xFF101010u, ap.fonts[2]);
  cCity city;
  city.x = 1;
  city.y = 1;
  city.name = u"Harbourtown";
  city.type = kCityPort;
  city.victoryPoints = 1;  // the least that shows
  world_->hex(1, 1).city = &city;
  world_->hex(1, 1).variant = 4;
  world_->hex(1, 1).fortLevel = 3;
  Render();
  world_->hex(1, 1).city = nullptr;

  const float x = kOx + 83, y = kOy + 98;
  const DrawRecord* town = SpriteOf("others", SkinCell(1, 3));  // variant 4 mod 3
  ASSERT_NE(town, nullptr);
  EXPECT_FLOAT_EQ(town->depth, 0.74f);
  const DrawRecord* port = SpriteOf("others", ap.source[2]);
  ASSERT_NE(port, nullptr);
  EXPECT_EQ(port->dest, (RectF{x + 26, y + 58, x + 44, y + 76}));
  ASSERT_NE(SpriteOf("others", ap.source[5]), nullptr);
  const DrawRecord* fort = SpriteOf("others", Rect{1, 1420, 41, 1430});
  ASSERT_NE(fort, nullptr);
  EXPECT_EQ(fort->dest, (RectF{x + 20, y + 30, x + 80, y + 70}));
  std::vector<const DrawRecord*> names;
  for (const DrawRecord& r : recorder_.records()) {
    if (r.kind == DrawRecord::Kind::kText && r.text == u"Harbourtown") names.push_back(&r);
  }
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0]->colour, 0xFF101010u);  // the shadow first, a pixel down and right
  EXPECT_EQ(names[0]->dest.left, names[1]->dest.left + 1);
  EXPECT_EQ(names[1]->colour, 0xFFFFFFFFu);
  EXPECT_EQ(names[0]->flags, kMapText);
  EXPECT_EQ(names[1]->flags, kMapText);
  // As wide as the name, centred in its place, with its lines.
  EXPECT_NEAR((names[1]->dest.left + names[1]->dest.right) / 2.0f, x + 83, 0.5f);
  EXPECT_EQ(names[1]->dest.top, y + 106);
  EXPECT_EQ(names[1]->dest.bottom, y + 124);
  // On its dark patch, a margin of two pixels wider on either side.
  const DrawRecord* patch = nullptr;
  for (const DrawRecord* r : SpritesOf("others")) {
    if (r->source == Rect{105, 1341, 121, 1357} && r->dest.top == y + 106) patch = r;
  }
  ASSERT_NE(patch, nullptr);
  EXPECT_EQ(patch->dest, (RectF{names[1]->dest.left - 2, y + 106, names[1]->dest.right + 2, y + 124}));
  // The victory points centred in their own place.
  const DrawRecord* points = nullptr;
  for (const DrawRecord& r : recorder_.records()) {
    if (r.kind == DrawRecord::Kind::kText && r.text == u"1" && r.colour == 0xFFFFEC96u) points = &r;
  }
  ASSERT_NE(points, nullptr);
  EXPECT_NEAR((points->dest.left + points->dest.right) / 2.0f, x + 130, 0.5f);
}

// A city's name takes the width of the hexes of the next columns level with it
// where they draw nothing, and keeps to its own column beside a hex that does.
TEST_F(MapDraw, ACityNameSpreadsOnlyIntoBareHexesLevelWithIt) {
  sCityAppearance& ap = SkinTables().cities[0];
  ap.valid[8] = 1;
  ap.placement[8] = {53, 106, 113, 124};  // below the middle: level with the lower hexes beside
  ap.fonts[2].object = TestFont(0xFFFFFFFFu, 0xFF000000u, ap.fonts[2]);
  cCity city, other;
  city.x = 1;
  city.y = 1;
  city.name = u"Harbourtown Bay";
  other.x = 0;
  other.y = 1;
  other.name = u"Elm";
  world_->hex(1, 1).city = &city;
  const int width = ap.fonts[2].object->TextWidth(city.name);
  ASSERT_GT(width, 60 - 4);
  ASSERT_LT(width, 160);
  FixedStrengthUnit counter;
  counter.owner = 2;
  counter.spotted = 1;
  // The name as drawn in front of its shadow: its text, left and right.
  using Drawn = std::tuple<std::u16string, int, int>;
  const auto name = [&] {
    Render();
    for (const DrawRecord& r : recorder_.records()) {
      if (r.kind == DrawRecord::Kind::kText && r.colour == 0xFFFFFFFFu && r.text != other.name) {
        return Drawn{r.text, static_cast<int>(r.dest.left), static_cast<int>(r.dest.right)};
      }
    }
    return Drawn{};
  };
  const int x = kOx + 83, centred = x + (166 - width) / 2;
  const Drawn middle{city.name, centred, centred + width};
  const Drawn leftOfRight{city.name, x + 111 - width, x + 111};
  const Drawn rightOfLeft{city.name, x + 55, x + 55 + width};
  EXPECT_EQ(name(), middle);
  // Counters above the name's level leave it its room.
  world_->hex(1, 0).unit = world_->hex(2, 0).unit = &counter;
  EXPECT_EQ(name(), middle);
  world_->hex(1, 0).unit = world_->hex(2, 0).unit = nullptr;
  world_->hex(2, 1).unit = &counter;
  EXPECT_EQ(name(), leftOfRight);
  world_->hex(0, 1).city = &other;
  EXPECT_TRUE(std::get<0>(name()).ends_with(u"..."));
  world_->hex(2, 1).unit = nullptr;
  EXPECT_EQ(name(), rightOfLeft);
  world_->hex(0, 1).city = nullptr;
  // The figure of the moves left stands in a hex only while the figures are shown.
  world_->hex(2, 1).flagValue = 3;
  EXPECT_EQ(name(), middle);
  gShowAPLeft = true;
  EXPECT_EQ(name(), leftOfRight);
  // It stands in the header's place of its hex, in the header's face.
  SkinTables().headerRect = Rect{60, 20, 106, 40};
  SkinTables().headerFont.object = TestFont(0xFFFFFFFFu, 0xFF000000u, SkinTables().headerFont);
  Render();
  const DrawRecord* figure = nullptr;
  for (const DrawRecord& r : recorder_.records()) {
    if (r.kind == DrawRecord::Kind::kText && r.text == u"3" && r.colour == 0xFFFFFFFFu) figure = &r;
  }
  ASSERT_NE(figure, nullptr);
  EXPECT_EQ(figure->dest, (RectF{x + 83 + 60.0f, kOy + 98 + 49 + 20.0f, x + 83 + 106.0f, kOy + 98 + 49 + 40.0f}));
  EXPECT_EQ(figure->flags, kMapText);
  SkinTables().headerFont = sAppearanceFont{};
  world_->hex(2, 1).flagValue = -1;
  // A name above the middle is level with the upper hexes beside it.
  ap.placement[8] = {53, 30, 113, 48};
  world_->hex(2, 0).unit = &counter;
  EXPECT_EQ(name(), leftOfRight);
  world_->hex(2, 0).unit = nullptr;
  world_->hex(0, 0).unit = &counter;
  EXPECT_EQ(name(), rightOfLeft);
  world_->hex(0, 0).unit = nullptr;
  world_->hex(0, 1).unit = world_->hex(2, 1).unit = &counter;
  EXPECT_EQ(name(), middle);
  world_->hex(0, 1).unit = world_->hex(2, 1).unit = nullptr;
  // A city without a name stands on no patch.
  city.name.clear();
  Render();
  for (const DrawRecord* r : SpritesOf("others")) EXPECT_NE(r->source, (Rect{105, 1341, 121, 1357}));
  world_->hex(1, 1).city = nullptr;
}

// A fort past the scale, as an event may set one, shows the top fort picture,
// in the open and in a city's strip.
TEST_F(MapDraw, FortsPastTheScaleShowTheTopPicture) {
  sCityAppearance& ap = SkinTables().cities[0];
  ap.valid[1] = 1;
  ap.source[1] = Rect{1, 1400, 41, 1410};
  ap.placement[1] = {20, 30, 60, 40};
  cCity city;
  city.x = 1;
  city.y = 1;
  city.type = kCityNormal;
  world_->hex(1, 1).city = &city;
  for (const auto& [level, cell] : {std::pair{8, 7}, std::pair{9, 8}, std::pair{12, 8}, std::pair{255, 8}}) {
    world_->hex(2, 1).fortLevel = static_cast<std::uint8_t>(level);
    world_->hex(1, 1).fortLevel = static_cast<std::uint8_t>(level);
    Render();
    EXPECT_NE(SpriteOf("others", SkinCell(cell, 10)), nullptr) << level;
    EXPECT_EQ(SpriteOf("others", SkinCell(level - 1, 10)) != nullptr, level <= kMaxFortLevel) << level;
    const int strip = 1400 + 10 * cell;
    EXPECT_NE(SpriteOf("others", Rect{1, strip, 41, strip + 10}), nullptr) << level;
  }
  world_->hex(1, 1).city = nullptr;
}

class LandCounter : public MapDraw {
 protected:
  void SetUp() override {
    MapDraw::SetUp();
    sUnitAppearance& ap = SkinTables().units[0][0];
    ap.valid[0] = ap.valid[9] = ap.valid[12] = 1;
    ap.source[0] = Rect{0, 0, 64, 64};
    ap.placement[0] = {35, 40, 96, 80};
    ap.placement[9] = {48, 101, 118, 119};
    ap.placement[12] = {51, 49, 64, 50};
    ap.fonts[0].object = TestFont(0xFFFFFFFFu, 0xFF000000u, ap.fonts[0]);
    world_->country(2).colors[0] = 0x40112233u;
    auto unit = std::make_unique<FixedStrengthUnit>();
    unit->owner = 2;
    unit->SetType(kMechanizedCorps);
    unit->level = 2;
    unit->value = 2.5f;
    unit->spotted = 1;
    unit->x = 2;
    unit->y = 1;
    unit_ = unit.get();
    world_->hex(2, 1).unit = unit_;
    world_->game().landUnits.push_back(std::move(unit));
  }
  FixedStrengthUnit* unit_ = nullptr;
};

TEST_F(LandCounter, PictureOnTheOwnersColourWithRoundedStrengthShadowFirst) {
  Render();
  const float x = kOx + 2 * 83, y = kOy + 98 + 49;
  const DrawRecord* background = SpriteOf("info", Rect{0, 0, 64, 64});
  ASSERT_NE(background, nullptr);
  EXPECT_EQ(background->colour, 0xFF112233u);  // full opacity
  ExpectNear(background->dest, RectF{x + 35, y + 40, x + 131, y + 120});
  EXPECT_FLOAT_EQ(background->depth, 0.72f);
  const DrawRecord* picture = SpriteOf("units", Rect{128, 600, 256, 700});
  ASSERT_NE(picture, nullptr);
  ExpectNear(picture->dest, RectF{x + 51, y + 49, x + 115, y + 99});
  std::vector<const DrawRecord*> figures;
  for (const DrawRecord& r : recorder_.records()) {
    if (r.kind == DrawRecord::Kind::kText) figures.push_back(&r);
  }
  ASSERT_EQ(figures.size(), 2u);
  EXPECT_EQ(figures[0]->text, u"3");  // 2.5 rounds half up
  EXPECT_EQ(figures[0]->colour, 0xFF000000u);
  EXPECT_EQ(figures[1]->colour, 0xFFFFFFFFu);
  for (const DrawRecord* figure : figures) EXPECT_EQ(figure->flags, kMapText);
  // A hidden unit is not drawn.
  unit_->spotted = 0;
  Render();
  EXPECT_TRUE(SpritesOf("units").empty());
}

// Zoomed out a city's name takes its counter's name line: a counter in a city
// leaves its name out where the two lines meet, and keeps it outside a city
// and where the city's name stands elsewhere.
TEST_F(LandCounter, ACounterInACityLeavesItsNameLineToTheCitysName) {
  gShowUnitNames = true;
  unit_->name = u"1st Rgt";
  sUnitAppearance& counter = SkinTables().units[0][0];
  counter.valid[11] = 1;  // the name's line
  counter.placement[11] = {43, 101, 123, 119};
  counter.fonts[2].object = TestFont(0xFFFFFFFFu, 0xFF000000u, counter.fonts[2]);
  sCityAppearance& city = SkinTables().cities[0];
  city.valid[8] = 1;
  city.placement[8] = {39, 101, 128, 119};
  const auto named = [&] {
    Render();
    return recorder_.FindText(unit_->name) != nullptr;
  };
  EXPECT_TRUE(named());
  cCity town;
  town.x = 2;
  town.y = 1;
  town.name = u"Elm";
  world_->hex(2, 1).city = &town;
  EXPECT_FALSE(named());
  city.placement[8] = {39, 31, 128, 47};
  EXPECT_TRUE(named());
  world_->hex(2, 1).city = nullptr;
}

// A unit on its walk is held by no hex, yet it is seen on every hex it
// reaches, in front of a friendly unit it passes, and once where it stops.
TEST_F(LandCounter, AWalkingUnitIsDrawnWhereItStandsWithoutAHexHoldingIt) {
  cGame& game = world_->game();
  auto resting = std::make_unique<FixedStrengthUnit>();
  resting->owner = 2;
  resting->spotted = 1;
  resting->x = 1;
  resting->y = 1;
  world_->hex(1, 1).unit = resting.get();
  game.landUnits.push_back(std::move(resting));
  // Lifted off its start hex and sent two hexes on, as a move order does.
  world_->hex(2, 1).unit = nullptr;
  unit_->x = 0;
  unit_->actionPoints = 4;
  sUnitMove& move = game.playerControl.move;
  move.unit = unit_;
  move.path = {{1, 1, 1}, {2, 1, 1}};
  move.walked.assign(1, sPoint{0, 1});
  game.SetGameState(kGameHumanMoving);

  // Where the counters stand: the column of each owner's-colour background,
  // and whether it is drawn in front of the units resting on their hexes.
  const auto counters = [&] {
    Render();
    std::vector<std::tuple<int, bool>> at;
    for (const DrawRecord* r : SpritesOf("info")) {
      const int column = static_cast<int>(std::lround((r->dest.left - 35 - kOx) / 83));
      at.emplace_back(column, r->depth < 0.6f);
    }
    std::sort(at.begin(), at.end());
    return at;
  };
  using Seen = std::vector<std::tuple<int, bool>>;
  EXPECT_EQ(counters(), (Seen{{0, true}, {1, false}}));
  ASSERT_TRUE(move.AdvanceMovingUnit());
  EXPECT_EQ(world_->hex(1, 1).unit, game.landUnits.back().get());
  EXPECT_EQ(counters(), (Seen{{1, false}, {1, true}}));
  ASSERT_FALSE(move.AdvanceMovingUnit());
  game.SetGameState(kGameHumanIdle);
  EXPECT_EQ(world_->hex(2, 1).unit, unit_);
  EXPECT_EQ(counters(), (Seen{{1, false}, {2, false}}));
  for (const int column : {0, 1}) EXPECT_NE(world_->hex(column, 1).unit, unit_);
}

TEST_F(LandCounter, IconScalesIntoThePanelAndRestoresTheTransform) {
  auto sprite = frame_->graphics().CreateSpriteBatch();
  const Matrix2D before = Matrix2D::Translation(5, 7);
  sprite->SetTransform(before);
  recorder_.Clear();
  sprite->Begin(kSpriteAlphaBlend);
  DrawUnitIcon(*sprite, *unit_, sUnitRect{100, 200, 183, 283}, 1);
  sprite->End();
  EXPECT_EQ(sprite->GetTransform(), before);
  const DrawRecord* background = SpriteOf("info", Rect{0, 0, 64, 64});
  ASSERT_NE(background, nullptr);
  EXPECT_FLOAT_EQ(background->dest.left, 100 + 35 * 0.5f);
  EXPECT_FLOAT_EQ(background->dest.right, 100 + 131 * 0.5f);
  // The panel's side sees the marks only a side's own units show.
  sUnitAppearance& ap = SkinTables().units[0][0];
  ap.valid[5] = 1;  // the moves left
  ap.source[5] = RectFromSize(50, 0, 10, 12);
  ap.placement[5] = {5, 6, 15, 18};
  unit_->actionPoints = 2;
  for (const int side : {1, 2}) {
    recorder_.Clear();
    sprite->Begin(kSpriteAlphaBlend);
    DrawUnitIcon(*sprite, *unit_, sUnitRect{100, 200, 183, 283}, side);
    sprite->End();
    EXPECT_EQ(SpriteOf("info", ap.source[5]) != nullptr, side == 2) << side;
  }
}

// Every mark of an own land counter blinks: on odd frames each takes its lit
// twin, one height lower in the parts sheet. The size marks of a corps are
// lit on every frame, and the commander's mark only with a commander.
TEST_F(LandCounter, AnOwnCountersMarksAllBlinkAndACorpsShowsItsLitSizeMarks) {
  sUnitAppearance& ap = SkinTables().units[0][0];
  // The marks: size, ready to act, commander, moves left, low supply, reinforce, frozen.
  const std::vector<int> marks{2, 3, 4, 5, 6, 7, 8};
  for (const int slot : marks) {
    ap.valid[static_cast<std::size_t>(slot)] = 1;
    ap.source[static_cast<std::size_t>(slot)] = RectFromSize(10 * slot, 0, 10, 12);
    ap.placement[static_cast<std::size_t>(slot)] = {5, 6, 15, 18};
  }
  unit_->actionPoints = unit_->startingActionPoints = 2;
  unit_->supply = 5;  // low, yet supplied: it may take replacements
  unit_->turnsWithoutSupply = 0;
  unit_->strength = 50;
  unit_->freezeTime = 1;
  auto sprite = frame_->graphics().CreateSpriteBatch();
  // The marks drawn, each as 1 when lit.
  const auto litOf = [&](int parity) {
    recorder_.Clear();
    sprite->Begin(kSpriteAlphaBlend);
    DrawUnitCounter(*sprite, *unit_, PointF{0, 0}, 0.5f, parity, 2);
    sprite->End();
    std::map<int, int> lit;
    for (const DrawRecord* r : SpritesOf("info")) {
      if (r->source.width() == 10) lit[r->source.left / 10] = r->source.top / 12;
    }
    return lit;
  };
  using Lit = std::map<int, int>;
  EXPECT_EQ(litOf(1), (Lit{{2, 1}, {3, 1}, {4, 0}, {5, 1}, {6, 1}, {7, 1}, {8, 1}}));
  EXPECT_EQ(litOf(0), (Lit{{2, 1}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}}));
  unit_->commanderId = 3;
  EXPECT_EQ(litOf(1)[4], 1);
  unit_->SetType(kInfantryDivision);
  EXPECT_EQ(litOf(1)[2], 0);
}

// On the map the frame's phase and own side reach every counter: the one a
// hex holds and the one on its walk.
TEST_F(LandCounter, TheMapsCountersBlinkWithTheFramesPhaseOnTheOwnSideOnly) {
  sUnitAppearance& ap = SkinTables().units[0][0];
  ap.valid[5] = 1;  // the moves left, shown on own counters only
  ap.source[5] = RectFromSize(50, 0, 10, 12);
  ap.placement[5] = {5, 6, 15, 18};
  unit_->actionPoints = 2;
  StateOfTheFrame frame;
  // The rows of the marks drawn: 1 lit.
  const auto marks = [&] {
    Render();
    std::vector<int> rows;
    for (const DrawRecord* r : SpritesOf("info")) {
      if (r->source.width() == 10) rows.push_back(r->source.top / 12);
    }
    return rows;
  };
  for (const bool walking : {false, true}) {
    if (walking) {
      world_->hex(2, 1).unit = nullptr;
      frame.state.movingUnit = unit_;
    }
    frame.state.ownCountry = 2;
    frame.state.animationPhase = 3;
    EXPECT_EQ(marks(), std::vector<int>{1}) << walking;
    frame.state.animationPhase = 4;
    EXPECT_EQ(marks(), std::vector<int>{0}) << walking;
    frame.state.ownCountry = 1;
    EXPECT_EQ(marks(), std::vector<int>{}) << walking;
  }
  world_->hex(2, 1).unit = unit_;
}

// The own side's counters blink: their lit parts show on odd frames only. The
// name stands under the counter in the face of names.
TEST_F(MapDraw, AnOwnAirCounterShowsItsLitPartsOnOddFrames) {
  sUnitAppearance& ap = SkinTables().units[1][0];
  ap.valid[2] = 1;  // the action-point mark
  ap.source[2] = Rect{0, 0, 10, 12};
  ap.placement[2] = {5, 6, 15, 18};
  cJednostkaLotnicza plane;
  plane.owner = 2;
  plane.actionPoints = 3;
  plane.supply = 50;
  auto sprite = frame_->graphics().CreateSpriteBatch();
  const auto markOf = [&](int parity, int ownCountry) {
    recorder_.Clear();
    sprite->Begin(kSpriteAlphaBlend);
    DrawUnitCounter(*sprite, plane, PointF{0, 0}, 0.5f, parity, ownCountry);
    sprite->End();
    const std::vector<const DrawRecord*> marks = SpritesOf("info");
    return marks.size() == 1 ? marks[0]->source : Rect{};
  };
  EXPECT_EQ(markOf(1, 2), (Rect{0, 12, 10, 24}));
  EXPECT_EQ(markOf(0, 2), (Rect{0, 0, 10, 12}));
  EXPECT_EQ(markOf(1, 1), (Rect{0, 0, 10, 12}));
  // Low supply, ready to act and the commander's mark blink alike.
  for (const int slot : {3, 4, 5}) {
    ap.valid[static_cast<std::size_t>(slot)] = 1;
    ap.source[static_cast<std::size_t>(slot)] = RectFromSize(10 * slot, 0, 10, 12);
    ap.placement[static_cast<std::size_t>(slot)] = {5, 6, 15, 18};
  }
  plane.supply = 5;
  plane.commanderId = 3;
  for (const int parity : {0, 1}) {
    recorder_.Clear();
    sprite->Begin(kSpriteAlphaBlend);
    DrawUnitCounter(*sprite, plane, PointF{0, 0}, 0.5f, parity, 2);
    sprite->End();
    std::vector<Rect> drawn;
    for (const DrawRecord* r : SpritesOf("info")) drawn.push_back(r->source);
    std::sort(drawn.begin(), drawn.end(), [](const Rect& a, const Rect& b) { return a.left < b.left; });
    EXPECT_EQ(drawn, (std::vector<Rect>{RectFromSize(0, 12 * parity, 10, 12), RectFromSize(30, 12 * parity, 10, 12),
                                        RectFromSize(40, 12 * parity, 10, 12), RectFromSize(50, 12 * parity, 10, 12)}))
        << parity;
  }
  for (const int slot : {3, 4, 5}) ap.valid[static_cast<std::size_t>(slot)] = 0;
  // Its name under it in the face of names, not in the level's.
  gShowUnitNames = true;
  plane.name = u"Kestrel Wing";
  ap.valid[9] = 1;
  ap.placement[9] = {20, 101, 146, 119};
  ap.fonts[2].object = TestFont(0xFFFFFFFFu, 0xFF000000u, ap.fonts[2]);
  markOf(0, 2);
  const DrawRecord* name = recorder_.FindText(plane.name);
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->font, ap.fonts[2].object.get());
  EXPECT_EQ(name->flags, kMapText);
}

// A unit's name under its counter: whole while it fits its box to the pixel,
// else its longest beginning that leaves room for "...", or nothing at all.
TEST_F(MapDraw, ANameIsCutWithDotsOnlyWhenItDoesNotFitItsBox) {
  const std::unique_ptr<Font> font = Font::Create(u"Arial", 12, 400);
  ASSERT_NE(font, nullptr);
  const std::u16string name = u"Hollowmere Guards Korps";
  const int whole = font->TextWidth(name);
  EXPECT_EQ(FitToWidth(*font, name, whole), name);
  const std::u16string cut = FitToWidth(*font, name, whole - 1);
  ASSERT_TRUE(cut.ends_with(u"...")) << std::string(cut.begin(), cut.end());
  const std::u16string kept = cut.substr(0, cut.size() - 3);
  EXPECT_TRUE(name.starts_with(kept));
  EXPECT_LE(font->TextWidth(cut), whole - 1);
  EXPECT_GT(font->TextWidth(name.substr(0, kept.size() + 1) + u"..."), whole - 1);
  EXPECT_EQ(FitToWidth(*font, name, font->TextWidth(u"...") - 1), u"");
}

TEST(UnitAtlas, CellsByTypeAndLevel) {
  EXPECT_EQ(UnitAtlasCell(kMechanizedCorps, 2), RectFromSize(128, 600, 128, 100));
  EXPECT_EQ(UnitAtlasCell(kInfantryDivision, 1), RectFromSize(0, 0, 128, 100));
  EXPECT_EQ(UnitAtlasCell(kAirborneDivision, 5), RectFromSize(384, 400, 128, 100));
  EXPECT_EQ(UnitAtlasCell(kMulberryType, 1), RectFromSize(512, 600, 128, 100));
  EXPECT_EQ(UnitAtlasCell(kStrategicBomber, 3), RectFromSize(896, 200, 128, 100));
  EXPECT_EQ(UnitAtlasCell(kSubmarine, 1), RectFromSize(1408, 0, 128, 100));
  EXPECT_EQ(UnitAtlasCell(kArmouredCorps, 9), RectFromSize(256, 900, 128, 100));  // levels beyond the sheet take its last
  EXPECT_TRUE(UnitAtlasCell(7, 1).empty());
}

}  // namespace
}  // namespace tr
