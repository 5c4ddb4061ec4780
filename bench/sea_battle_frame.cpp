// One frame of the sea-battle screen at 1024 x 768 through the software
// renderer: the 961 cells of the grid, both sides in full formations (22
// line ships and 8 carriers each) and a ship selected with its move cells,
// drawn with the shipped skins, then the screen's dialog. Run from the build
// folder: the game folder lies beside this program's folder.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/map_skin.h"
#include "app/menu.h"
#include "app/sea_battle_menu.h"
#include "app/units_skin.h"
#include "foundation/format.h"
#include "foundation/gui_layout.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "gui/resource_cache.h"
#include "platform/frame.h"
#include "platform/graphics.h"
#include "turn/sea_battle.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/map_camera.h"
#include "scratch_folder.h"

namespace {

using namespace tr;

std::filesystem::path GameFolder() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "game";
}

struct Scene {
  bench::ScratchFolder scratch{"sea_battle_frame"};  // outlives the game, whose teardown writes there
  std::unique_ptr<AppFrame> frame = AppFrame::CreateHeadless(1024, 768);
  cGame game;
  std::vector<std::unique_ptr<cJednostkaMorska>> ships;
  std::unique_ptr<sSeaBattle> battle;
  cSeaBattleMenu* menu = nullptr;

  Scene() {
    gScreenWidth = 1024;
    gScreenHeight = 768;
    SetGameRoot(GameFolder());
    gGame = &game;
    for (int id = 1; id <= 2; ++id) {
      auto country = std::make_unique<cCountry>();
      country->id = id;
      country->name = Format(u"Country%i", id);
      country->colors[0] = 0xFF000000u | (0x3A5FC0u * static_cast<unsigned>(id));
      country->alliance = id;
      country->humanControlled = id == 1;
      game.countries.push_back(std::move(country));
    }
    game.relations.Reset(2);
    sSeaBattle::ShipList sides[2];
    for (int owner = 1; owner <= 2; ++owner) {
      for (int i = 0; i < 30; ++i) {
        auto ship = std::make_unique<cJednostkaMorska>();
        ship->SetType(i < 8 ? kAircraftCarrier : 41 + i % 3);
        ship->id = static_cast<int>(ships.size()) + 1;
        ship->owner = owner;
        ship->hitPoints = 5;
        ship->spotted = 1;
        ship->name = Format(u"Ship %i", ship->id);
        sides[owner - 1].push_back(ship.get());
        ships.push_back(std::move(ship));
      }
    }
    GetGuiResourceCache().OnCreateDevice(&frame->graphics());
    LoadGuiLayoutFile(u"data\\GUI_1024x768.csv");
    LoadMapSkin(u"Normal");
    LoadUnitsSkin(u"Counters");
    battle = std::make_unique<sSeaBattle>(sides[0], sides[1]);
    for (auto* side : {&battle->firstSide, &battle->enemySide}) {
      for (cJednostkaMorska* ship : *side) ship->InitBattleFlags();
    }
    menu = new cSeaBattleMenu(*battle);
    CurrentMenu = menu;
    // The first line ship of the player's side selected, with its move cells.
    if (auto* ship = dynamic_cast<cJednostkaMorska*>(menu->Cell(13, 16).unit)) {
      menu->Cell(13, 16).flags |= kCellSelectedShip;
      menu->MarkTargets(*ship);
    }
    Draw();  // textures read from the game folder and uploaded, glyphs rasterised
    // The game's teardown saves the settings: not into the shipped game folder.
    SetGameRoot(scratch.path());
  }

  ~Scene() {
    DeleteCurrentMenu();
    GetGuiResourceCache().Clear();
    gGame = nullptr;
  }

  void Draw() {
    Graphics& g = frame->graphics();
    g.Clear(0xFF000000u);
    menu->Render(0.0f);
    g.Present();
  }
};

void BM_SeaBattleFrame(benchmark::State& state) {
  Scene scene;
  scene.Draw();
  // SEA_BATTLE_BENCH_SHOT=file.png keeps the measured frame for a look.
  if (const char* shot = std::getenv("SEA_BATTLE_BENCH_SHOT")) scene.frame->graphics().SaveScreenshot(shot);
  for (auto _ : state) scene.Draw();
}
BENCHMARK(BM_SeaBattleFrame)->Unit(benchmark::kMillisecond);

}  // namespace
