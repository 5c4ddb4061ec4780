// The shipped skins on a small world with every terrain, rivers, borders,
// cities, a fort, a sea zone with its marker ships, and counters of every land,
// air and naval type, drawn headless at two zoom levels. The pictures are
// kept in the build folder for a look.
#include <gtest/gtest.h>

#include <set>

#include "app/counter_draw.h"
#include "foundation/paths.h"
#include "map_draw_fixture.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/city.h"
#include "world/gra.h"

namespace tr {
namespace {

class MapScreenshot : public test::MapDrawFixture {
 protected:
  void SetUp() override {
    MapDrawFixture::SetUp();
    SetGameRoot(TR_GAME_DIR);
    MakeWorld(12, 8, 2);
    gShowUnitNames = true;
    gBorderMode = 2;
    LoadMapSkin(u"Normal");
    LoadUnitsSkin(u"Counters");
    // The game's teardown saves the settings, which belong in the test's own folder.
    SetGameRoot(folder_.path());
    BuildWorld();
  }

  void TearDown() override {
    world_->game().seaGraph.nodes.clear();
    MapDrawFixture::TearDown();
  }

  void BuildWorld() {
    cGame& game = world_->game();
    world_->country(1).colors[0] = 0xFF4A78C0u;
    world_->country(2).colors[0] = 0xFFB04030u;
    world_->country(1).alliance = 1;
    world_->country(2).alliance = 2;
    static constexpr std::uint8_t kTerrain[8][12] = {
        {0, 0, 1, 1, 2, 2, 1, 3, 3, 5, 5, 6}, {0, 0, 1, 2, 2, 1, 1, 3, 5, 5, 6, 6},
        {0, 0, 0, 1, 1, 1, 4, 4, 1, 5, 6, 6}, {0, 0, 0, 1, 7, 7, 4, 1, 1, 1, 5, 6},
        {0, 0, 1, 1, 7, 7, 1, 1, 2, 2, 1, 5}, {0, 0, 1, 1, 1, 1, 1, 2, 2, 2, 1, 1},
        {0, 0, 0, 1, 3, 3, 1, 1, 1, 4, 4, 1}, {0, 0, 0, 0, 1, 1, 1, 1, 7, 7, 1, 1}};
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 12; ++x) {
        sHex& hex = world_->hex(x, y);
        hex.terrain = kTerrain[y][x];
        hex.variant = static_cast<std::uint8_t>(x * 7 + y * 3);
        hex.weather = (x + y) % 7 == 0 && hex.IsLand() ? 1 : 0;
        if (hex.IsLand()) {
          hex.owner = hex.controller = x < 6 ? 1 : 2;
        }
      }
    }
    world_->map().RefreshHexes();
    world_->hex(3, 2).rivers = 0b000110;
    world_->hex(4, 3).rivers = 0b001000;
    world_->hex(5, 5).fortLevel = 3;
    AddCity(u"Portmere", 2, 3, kCitySupplyPort, 5, 8.0f);
    AddCity(u"Ashford", 7, 2, kCityNormal, 2, 3.0f);
    AddCity(u"Oilfields", 9, 6, kCityResources, 0, 4.0f);

    int x = 2, y = 0;
    auto nextHex = [&] {
      do {
        x += 1;
        if (x >= 12) x = 2, y += 1;
      } while (!world_->hex(x, y).IsLand() || world_->hex(x, y).city != nullptr);
    };
    for (int type : {0, 1, 2, 3, 4, 5, 6, 60}) {
      nextHex();
      auto unit = std::make_unique<cJednostkaLadowa>();
      PlaceUnit(*unit, type, x, y);
      game.landUnits.push_back(std::move(unit));
    }
    for (int type : {20, 21, 22}) {
      nextHex();
      auto unit = std::make_unique<cJednostkaLotnicza>();
      PlaceUnit(*unit, type, x, y);
      game.airUnits.push_back(std::move(unit));
    }
    // Every ship type shows as the marker of a sea node on the coast.
    for (int i = 0; i < 6; ++i) {
      auto ship = std::make_unique<cJednostkaMorska>();
      ship->SetType(kAircraftCarrier + i);
      ship->owner = 1 + i % 2;
      ship->name = u"Ship";
      ship->maxHitPoints = 10;
      ship->hitPoints = 10 - i;
      sWezelGrafuMorz node;
      node.id = i + 1;
      node.type = i == 0 ? kSeaNodePort : kSeaNodeOpenSea;
      node.name = i == 0 ? u"Portmere" : u"Grey Sea";
      node.x = node.playerMarkerX = i % 2;
      node.y = node.playerMarkerY = 1 + i;
      node.playerMarkerShip = ship.get();
      world_->hex(node.x, node.y).seaNodeMarker = static_cast<std::uint16_t>(node.id);
      game.seaGraph.nodes.push_back(node);
      game.navalUnits.push_back(std::move(ship));
    }
  }

  void AddCity(std::u16string name, int x, int y, int type, int vp, float pp) {
    auto city = std::make_unique<cCity>();
    city->name = std::move(name);
    city->x = x;
    city->y = y;
    city->type = type;
    city->victoryPoints = vp;
    city->productionPoints = pp;
    world_->hex(x, y).city = city.get();
    world_->game().cities.push_back(std::move(city));
  }

  void PlaceUnit(cJednostka& unit, int type, int x, int y) {
    unit.SetType(type);
    unit.owner = x < 6 ? 1 : 2;
    unit.level = 1 + type % 5;
    unit.strength = 80;
    unit.actionPoints = 2;
    unit.supply = 5 + type % 10;
    unit.spotted = 1;
    unit.name = u"Unit";
    unit.x = x;
    unit.y = y;
    world_->hex(x, y).unit = &unit;
  }

  void Shoot(float scale, const char* file) {
    SetView(scale, 6 * 83.0f, 4 * 98.0f);
    Render();
    const auto path = std::filesystem::path(TR_GAME_DIR).parent_path() / file;
    ASSERT_TRUE(frame_->graphics().SaveScreenshot(path));
    std::set<Argb> colours;
    for (Argb p : frame_->graphics().ReadPixels()) colours.insert(p);
    EXPECT_GT(colours.size(), 50u);
  }

  bool Drawn(const Rect& source) const {
    for (const DrawRecord& r : recorder_.records()) {
      if (r.kind == DrawRecord::Kind::kSprite && r.source == source) return true;
    }
    return false;
  }
};

TEST_F(MapScreenshot, CloseViewShowsEveryKindOfCounter) {
  Shoot(1.0f, "map_screenshot_zoom100.png");
  for (int type : {0, 1, 2, 3, 4, 5, 6, 60, 20, 21, 22}) {
    EXPECT_TRUE(Drawn(UnitAtlasCell(type, 1 + type % 5))) << "type " << type;
  }
  for (int type = 40; type <= 45; ++type) EXPECT_TRUE(Drawn(UnitAtlasCell(type, 1))) << "type " << type;
  EXPECT_NE(recorder_.FindText(u"Ashford"), nullptr);
}

TEST_F(MapScreenshot, DistantViewShowsTheWholeMap) {
  Shoot(0.5f, "map_screenshot_zoom50.png");
  EXPECT_NE(recorder_.FindText(u"Oilfields"), nullptr);
}

}  // namespace
}  // namespace tr
