// Exact draws of the sea-node markers: the hint with the node's name, the
// marker ship with its zone name and counts, and its highlight while a node
// is chosen.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "app/counter_draw.h"
#include "app/map_sprites.h"
#include "app/sea_node_markers.h"
#include "foundation/gui_layout.h"
#include "foundation/text.h"
#include "map_draw_cases.h"
#include "platform/sprite_batch.h"
#include "turn/sea_graph_node.h"
#include "units/jednostka_morska.h"
#include "units/player_control.h"
#include "world/gra.h"

namespace tr {
namespace {

// The hint of a sea node has the node's name on its first line, in the
// layout's first font.
TEST_F(MapDraw, SeaNodeHintNamesTheNodeOnItsTopLine) {
  SetLayout(15, 0, 0, 300, 120);
  struct KeptFont {
    sGuiFont font = gGuiFonts[0];
    ~KeptFont() { gGuiFonts[0] = font; }
  } kept;
  gGuiFonts[0] = sGuiFont{u"Arial", 13, 700, 0, 0xFFFFFFFFu, 0xFFFFFFFFu};
  sWezelGrafuMorz node;
  node.name = u"North Deep";
  auto sprite = frame_->graphics().CreateSpriteBatch();
  recorder_.Clear();
  sprite->Begin(kSpriteAlphaBlend);
  MapSeaNodeArt().DrawHint(node, *sprite, 100, 200);
  sprite->End();
  const DrawRecord* name = recorder_.FindText(u"North Deep");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->dest.left, 104.0f);
  EXPECT_EQ(name->dest.top, 202.0f);
  EXPECT_EQ(name->dest.right, 396.0f);
  EXPECT_GT(name->dest.bottom, 212.0f);
  ASSERT_NE(name->font, nullptr);
  EXPECT_EQ(name->font->height(), 13);
  EXPECT_EQ(name->font->weight(), 700);
  // Every line of the hint, the ship counts under the pictures and a port's size too, stands centred on one line.
  node.type = kSeaNodePort;
  node.portSize = 2;
  node.maxPortSize = 3;
  recorder_.Clear();
  sprite->Begin(kSpriteAlphaBlend);
  MapSeaNodeArt().DrawHint(node, *sprite, 100, 200);
  sprite->End();
  ASSERT_NE(recorder_.FindText(u"2/3"), nullptr);
  int lines = 0;
  for (const DrawRecord& r : recorder_.records()) {
    if (r.kind != DrawRecord::Kind::kText) continue;
    EXPECT_EQ(r.flags, static_cast<std::uint32_t>(DT_CENTER | DT_SINGLELINE | DT_NOCLIP)) << Utf16ToUtf8(r.text);
    ++lines;
  }
  EXPECT_EQ(lines, 1 + 3 * kShipTypeCount + 1);
}

TEST_F(MapDraw, SeaNodeShowsItsMarkerShipAndZoneName) {
  sUnitAppearance& naval = SkinTables().units[2][0];
  naval.valid[0] = 1;
  naval.source[0] = Rect{0, 0, 64, 64};
  naval.placement[0] = {35, 40, 96, 80};
  auto ship = std::make_unique<cJednostkaMorska>();
  ship->owner = 1;
  ship->SetType(kCruiser);
  sWezelGrafuMorz node;
  node.id = 1;
  node.type = kSeaNodeOpenSea;
  node.name = u"North Deep";
  node.x = 0;
  node.y = 0;
  node.playerMarkerShip = ship.get();
  node.playerMarkerX = 1;
  node.playerMarkerY = 0;
  world_->game().seaGraph.nodes.push_back(node);
  for (int x : {0, 1}) {
    world_->hex(x, 0).terrain = kTerrainWater;
    world_->hex(x, 0).seaNodeMarker = 1;
  }
  SkinTables().cities[0].fonts[2].object = TestFont(0xFFFFFFFFu, 0xFF000000u, SkinTables().cities[0].fonts[2]);
  Render();
  const DrawRecord* counter = SpriteOf("info", Rect{0, 0, 64, 64});
  ASSERT_NE(counter, nullptr);
  EXPECT_EQ(counter->dest.left, kOx + 83 + 35.0f);
  ASSERT_NE(recorder_.FindText(u"North Deep"), nullptr);
  EXPECT_EQ(recorder_.FindText(u"North Deep")->flags, kMapText);
  // The mark of a port the player may choose (a convoy's departure) lies on
  // the marker ship's hex: it is drawn in front of the counter, not under it.
  world_->hex(1, 0).flags = 0x8000;
  Render();
  const DrawRecord* mark = SpriteOf("others", RectFromSize(1003 + 167 * 3, 167 * 2, 166, 166));
  counter = SpriteOf("info", Rect{0, 0, 64, 64});
  ASSERT_NE(mark, nullptr);
  ASSERT_NE(counter, nullptr);
  EXPECT_LT(mark->depth, counter->depth);
  world_->hex(1, 0).flags = 0;
  // While the player picks a sea node (for a ship's deployment, a fleet's
  // move or a convoy's ports), the marker ship stands on the selected hex's
  // highlight, just behind it. The marked hex's markers, drawn again last and
  // in the terrain mode only there, stand out only for a fleet's or a convoy's choice.
  {
    StateOfTheFrame frame;
    const Rect selected{1003, 0, 1169, 166};
    const auto standsOut = [&] {
      Render();
      const DrawRecord* highlight = SpriteOf("others", selected);
      const DrawRecord* ship = SpriteOf("info", Rect{0, 0, 64, 64});
      return highlight != nullptr && ship != nullptr && highlight->depth > ship->depth &&
             highlight->dest.left == kOx + 83.0f;
    };
    EXPECT_FALSE(standsOut());
    for (const int mode : {kActionDeployShip, kActionFleetMove, kActionConvoyDestination}) {
      frame.state.actionMode = mode;
      EXPECT_TRUE(standsOut()) << mode;
    }
    frame.state.actionMode = kActionRebase;
    EXPECT_FALSE(standsOut());
    gMapMode = 1;
    frame.state.markedHex = &world_->hex(1, 0);
    frame.state.actionMode = kActionConvoyDeparture;
    EXPECT_TRUE(standsOut());
    frame.state.actionMode = kActionDeployShip;
    Render();
    EXPECT_EQ(SpriteOf("others", selected), nullptr);
    EXPECT_NE(SpriteOf("info", Rect{0, 0, 64, 64}), nullptr);
    gMapMode = 0;
  }
  // A ship that stays out of the regular sea battle is dimmed.
  naval.valid[6] = 1;
  naval.placement[6] = {51, 49, 64, 50};
  const Rect cruiser = UnitAtlasCell(kCruiser, 1);
  Render();
  ASSERT_NE(SpriteOf("units", cruiser), nullptr);
  EXPECT_EQ(SpriteOf("units", cruiser)->colour, 0xFFFFFFFFu);
  ship->mayAct = 0;
  Render();
  ASSERT_NE(SpriteOf("units", cruiser), nullptr);
  EXPECT_EQ(SpriteOf("units", cruiser)->colour, 0xFF8C8C8Cu);
  naval.valid[6] = 0;
  // Its hit points stand as a bar on a track of the bar's own picture, darkened.
  naval.valid[2] = naval.valid[3] = 1;
  naval.source[2] = Rect{0, 100, 40, 104};
  naval.placement[2] = naval.placement[3] = {20, 90, 100, 4};
  ship->maxHitPoints = 40;
  ship->hitPoints = 30;
  Render();
  std::vector<std::pair<float, Argb>> bars;
  for (const DrawRecord* r : SpritesOf("info")) {
    if (r->source == naval.source[2]) bars.emplace_back(r->dest.right - r->dest.left, r->colour);
  }
  std::sort(bars.begin(), bars.end());
  EXPECT_EQ(bars, (std::vector<std::pair<float, Argb>>{{75.0f, 0xFFFFFFFFu}, {100.0f, 0xFF383838u}}));
  naval.valid[2] = naval.valid[3] = 0;
  // Its name stands in the face of ship names, not in that of land and air names.
  gShowUnitNames = true;
  ship->name = u"Ajax";
  naval.valid[5] = 1;
  naval.placement[5] = {20, 101, 146, 119};
  naval.fonts[1].object = TestFont(0xFFFFFFFFu, 0xFF000000u, naval.fonts[1]);
  naval.fonts[2].object = TestFont(0xFFFFFFFFu, 0xFF000000u, naval.fonts[2]);
  Render();
  ASSERT_NE(recorder_.FindText(u"Ajax"), nullptr);
  EXPECT_EQ(recorder_.FindText(u"Ajax")->font, naval.fonts[1].object.get());
  // Drawn without its name, as a counter whose name line a city's name takes, it shows none.
  auto sprite = frame_->graphics().CreateSpriteBatch();
  for (const bool named : {true, false}) {
    recorder_.Clear();
    sprite->Begin(kSpriteAlphaBlend);
    DrawUnitCounter(*sprite, *ship, PointF{0, 0}, 0.5f, 0, 1, named);
    sprite->End();
    EXPECT_EQ(recorder_.FindText(u"Ajax") != nullptr, named);
  }
  naval.valid[5] = 0;
  // The zone names can be switched off.
  gShowSeaZoneNames = false;
  world_->game().seaGraph.nodes.clear();
  world_->game().seaGraph.nodes.push_back(node);
  Render();
  EXPECT_EQ(recorder_.FindText(u"North Deep"), nullptr);
  world_->game().seaGraph.nodes.clear();
}

}  // namespace
}  // namespace tr
