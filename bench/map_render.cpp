// One rendered map frame at 1024 x 768 through the software renderer: a
// 48 x 36 world of mixed terrain with three countries, forty cities and a few
// hundred counters, drawn with the shipped skins. Run from the build folder:
// the skins are read from the game folder beside this program's folder.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <ctime>
#include <filesystem>
#include <memory>

#include "app/map_render.h"
#include "app/map_skin.h"
#include "app/skin_tables.h"
#include "app/units_skin.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "gui/resource_cache.h"
#include "platform/frame.h"
#include "platform/graphics.h"
#include "foundation/random.h"
#include "platform/render_backend.h"
#include "world/city.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/map_camera.h"

#include <SDL.h>

namespace {

using namespace tr;

std::filesystem::path GameFolder() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "game";
}

struct Scene {
  std::unique_ptr<AppFrame> frame;
  cGame game;

  // A frame on a real clock sleeps to its frame limit; the default one only counts.
  explicit Scene(Clock* clock = nullptr) : frame(AppFrame::CreateHeadless(1024, 768, clock)) {
    gScreenWidth = 1024;
    gScreenHeight = 768;
    gShowCityNames = true;
    SetGameRoot(GameFolder());
    gGame = &game;
    game.map = std::make_unique<cMap>(48, 36);
    for (int id = 1; id <= 3; ++id) {
      auto country = std::make_unique<cCountry>();
      country->id = id;
      country->name = Format(u"Country%i", id);
      country->colors[0] = 0xFF000000u | (0x3A5FC0u * static_cast<unsigned>(id));
      country->alliance = id;
      game.countries.push_back(std::move(country));
    }
    game.relations.Reset(3);
    cMap& map = *game.map;
    for (int y = 0; y < 36; ++y) {
      for (int x = 0; x < 48; ++x) {
        sHex& hex = *map.GetHex(x, y);
        const bool sea = x < 4 || (x + y) % 23 == 0;
        hex.terrain = sea ? 0 : static_cast<std::uint8_t>(1 + (x * 3 + y * 5) % 7);
        hex.variant = static_cast<std::uint8_t>(x * 7 + y * 3);
        if (!sea) hex.owner = hex.controller = static_cast<std::uint8_t>(1 + x / 16);
        if ((x * 5 + y) % 11 == 0) hex.rivers = 0b1110;
      }
    }
    map.RefreshHexes();
    for (int i = 0; i < 40; ++i) {
      auto city = std::make_unique<cCity>();
      city->x = 5 + (i * 7) % 42;
      city->y = (i * 5) % 36;
      city->name = Format(u"City %i", i);
      city->type = i % 5;
      city->victoryPoints = i % 4;
      city->productionPoints = static_cast<float>(i % 6);
      map.GetHex(city->x, city->y)->city = city.get();
      game.cities.push_back(std::move(city));
    }
    int placed = 0;
    for (int y = 0; y < 36 && placed < 300; ++y) {
      for (int x = 4; x < 48 && placed < 300; x += 2) {
        sHex& hex = *map.GetHex(x, y);
        if (!hex.IsLand() || hex.unit != nullptr) continue;
        std::unique_ptr<cJednostka> unit;
        if (placed % 8 == 7) {
          unit = std::make_unique<cJednostkaLotnicza>();
          unit->SetType(20 + placed % 3);
        } else {
          unit = std::make_unique<cJednostkaLadowa>();
          unit->SetType(placed % 7);
        }
        unit->owner = hex.controller;
        unit->level = 1 + placed % 5;
        unit->actionPoints = placed % 3;
        unit->spotted = 1;
        unit->x = x;
        unit->y = y;
        unit->name = Format(u"Unit %i", placed);
        hex.unit = unit.get();
        if (auto* land = dynamic_cast<cJednostkaLadowa*>(unit.get())) {
          unit.release();
          game.landUnits.emplace_back(land);
        } else {
          game.airUnits.emplace_back(static_cast<cJednostkaLotnicza*>(unit.release()));
        }
        ++placed;
      }
    }
    GetGuiResourceCache().OnCreateDevice(&frame->graphics());
    LoadMapSkin(u"Normal");
    LoadUnitsSkin(u"Counters");
    // The game's teardown saves the settings: not into the shipped game folder.
    const auto scratch = std::filesystem::temp_directory_path() / "tidereach_bench_map_render";
    std::filesystem::create_directories(scratch);
    SetGameRoot(scratch);
    ResetMapView(map);
  }

  ~Scene() {
    GetGuiResourceCache().Clear();
    gGame = nullptr;
  }

  void View(float scale) {
    cMap& map = *game.map;
    gTargetScale = scale;
    gDisplayedScale = -1.0f;
    map.camera.x = map.camera.targetX = 24 * 83.0f;
    map.camera.y = map.camera.targetY = 18 * 98.0f;
    map.FrameMove(0.0f);
    // The zoom's own fonts, whatever zoom an earlier scene left behind when the skins were loaded.
    SelectFontSetForZoom(gDisplayedScale);
    SelectMapFontsForZoom(gDisplayedScale);
  }

  void Draw() {
    Graphics& g = frame->graphics();
    g.Clear(0xFF000000u);
    RenderGame(g, 0.0f);
    g.Present();
  }
};

void BM_MapFrame(benchmark::State& state, float scale) {
  Scene scene;
  scene.View(scale > 0.0f ? scale : scene.game.map->fitScale);
  scene.Draw();  // textures uploaded and glyphs rasterised once
  for (auto _ : state) scene.Draw();
}
BENCHMARK_CAPTURE(BM_MapFrame, CloseView, 1.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MapFrame, HalfScale, 0.5f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MapFrame, WholeMap, 0.0f)->Unit(benchmark::kMillisecond);

// The shipped sample scenario at the zoom the game opens with (the whole map
// fitted to the screen), drawn as the game draws it: off-screen, and on a
// window whose renderer is SDL's software one (the dummy driver's window).
// With TR_BENCH_SHOT=<prefix> the frame benchmark saves its picture as
// <prefix>_offscreen.png and <prefix>_window.png, to compare two builds.
struct SampleScene {
  std::unique_ptr<AppFrame> frame;
  SDL_Window* window = nullptr;

  explicit SampleScene(Clock* clock = nullptr) : frame(AppFrame::CreateHeadless(1024, 768, clock)) {
    gScreenWidth = 1024;
    gScreenHeight = 768;
    gShowCityNames = true;
    SetGameRoot(GameFolder());
    SeedRandom(1);
    GetGuiResourceCache().OnCreateDevice(&frame->graphics());
    if (LoadNewScenario(u"data\\scenarios\\NorthernTide\\%s", 0) == nullptr) return;
    // Every counter on the map, as a player sees them at the front.
    for (auto& unit : gGame->landUnits) unit->spotted = 1;
    for (auto& unit : gGame->airUnits) unit->spotted = 1;
    // The player's own counters blink their marks while the map is shown.
    if (gGame->viewingCountry == nullptr) gGame->viewingCountry = gGame->landUnits.front()->GetOwnerCountry();
    LoadMapSkin(u"Normal");
    LoadUnitsSkin(u"Counters");
    const auto scratch = std::filesystem::temp_directory_path() / "tidereach_bench_map_render";
    std::filesystem::create_directories(scratch);
    SetGameRoot(scratch);
  }

  ~SampleScene() {
    GetGuiResourceCache().Clear();
    delete gGame;
    gGame = nullptr;
    frame->graphics().ReplaceBackend(nullptr);
    if (window) SDL_DestroyWindow(window);
  }

  bool OnWindow() {
    window = SDL_CreateWindow("bench", 0, 0, 1024, 768, SDL_WINDOW_HIDDEN);
    if (!window) return false;
    auto backend = CreateWindowBackend(window, 1024, 768);
    if (!backend) return false;
    frame->graphics().ReplaceBackend(std::move(backend));
    return true;
  }

  void ViewWholeMap() {
    cMap& map = *gGame->map;
    gTargetScale = map.fitScale;
    gDisplayedScale = -1.0f;
    map.camera.x = map.camera.targetX = map.GetWidth() * 83.0f / 2.0f;
    map.camera.y = map.camera.targetY = map.GetHeight() * 98.0f / 2.0f;
    map.FrameMove(0.0f);
    SelectFontSetForZoom(gDisplayedScale);
    SelectMapFontsForZoom(gDisplayedScale);
  }

  void Draw() {
    Graphics& g = frame->graphics();
    g.Clear(0xFF000000u);
    RenderGame(g, 0.0f);
    g.Present();
  }
};

void BM_SampleMapFrame(benchmark::State& state, bool window) {
  SampleScene scene;
  if (gGame == nullptr || (window && !scene.OnWindow())) {
    state.SkipWithError("no sample or no window");
    return;
  }
  scene.ViewWholeMap();
  // Frames after the first may reuse what earlier ones drew: the picture is taken from the third.
  for (int i = 0; i < 3; ++i) scene.Draw();
  if (const char* shot = std::getenv("TR_BENCH_SHOT")) {
    scene.frame->graphics().SaveScreenshot(std::string(shot) + (window ? "_window.png" : "_offscreen.png"));
  }
  for (auto _ : state) scene.Draw();
}
BENCHMARK_CAPTURE(BM_SampleMapFrame, OffScreen, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SampleMapFrame, SoftwareWindow, true)->Unit(benchmark::kMillisecond);

// Runs the map through the frame loop for one second of wall time at the
// given frame limit, adding the share of a core it took and its frame rate.
void RunIdleSecond(AppFrame& frame, int limit, double& share, double& frames) {
  int drawn = 0;
  const auto wallStart = std::chrono::steady_clock::now();
  const std::clock_t cpuStart = std::clock();
  frame.SetFrameTimeLimit([limit] { return limit; });
  frame.SetFrameMoveCallback([&](Graphics&, double, float) {
    if (std::chrono::steady_clock::now() - wallStart >= std::chrono::seconds(1)) frame.RequestClose();
  });
  frame.SetFrameRenderCallback([&](Graphics& g, double, float) {
    g.Clear(0xFF000000u);
    RenderGame(g, 0.0f);
    ++drawn;
  });
  frame.Run();
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  share += static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC / wall;
  frames += drawn / wall;
}

// An idle whole-map view for one second through the frame loop, with the frame
// limit of the shipped Settings.ini: core_share is the process's CPU time over
// the wall time, the share of a core the idle map costs.
void BM_IdleMapSecondAtShippedLimit(benchmark::State& state) {
  SetGameRoot(GameFolder());
  LoadSettings();
  const int limit = gMinFrameTime;
  double share = 0.0, frames = 0.0;
  for (auto _ : state) {
    state.PauseTiming();
    SteadyClock clock;
    Scene scene(&clock);
    scene.View(scene.game.map->fitScale);
    AppFrame& frame = *scene.frame;
    if (Failed(frame.CreateWindowAndDevice(FrameConfig{u"", 1024, 768, false}))) {
      state.SkipWithError("no device");
      break;
    }
    state.ResumeTiming();
    RunIdleSecond(frame, limit, share, frames);
  }
  state.counters["core_share"] = share / static_cast<double>(state.iterations());
  state.counters["frames_per_s"] = frames / static_cast<double>(state.iterations());
  state.counters["limit_ms"] = limit;
}
BENCHMARK(BM_IdleMapSecondAtShippedLimit)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

// The same second with the shipped sample at the whole-map zoom, off-screen and
// on the software renderer's window.
void BM_IdleSampleMapSecondAtShippedLimit(benchmark::State& state, bool window) {
  SetGameRoot(GameFolder());
  LoadSettings();
  const int limit = gMinFrameTime;
  double share = 0.0, frames = 0.0;
  for (auto _ : state) {
    state.PauseTiming();
    SteadyClock clock;
    SampleScene scene(&clock);
    AppFrame& frame = *scene.frame;
    if (gGame == nullptr || Failed(frame.CreateWindowAndDevice(FrameConfig{u"", 1024, 768, false})) ||
        (window && !scene.OnWindow())) {
      state.SkipWithError("no sample or no window");
      break;
    }
    scene.ViewWholeMap();
    state.ResumeTiming();
    RunIdleSecond(frame, limit, share, frames);
  }
  state.counters["core_share"] = share / static_cast<double>(state.iterations());
  state.counters["frames_per_s"] = frames / static_cast<double>(state.iterations());
  state.counters["limit_ms"] = limit;
}
BENCHMARK_CAPTURE(BM_IdleSampleMapSecondAtShippedLimit, OffScreen, false)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_IdleSampleMapSecondAtShippedLimit, SoftwareWindow, true)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
