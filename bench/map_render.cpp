// The map's frames. One rendered map frame at 1024 x 768 through the software
// renderer: a 48 x 36 world of mixed terrain with three countries, forty
// cities and a few hundred counters, drawn with the shipped skins; the shipped
// sample drawn the same way; and the game itself running the sample on every
// renderer the machine has (see BM_MapThroughTheGame). Run from the build
// folder: the game folder beside this program's folder is read.
#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "app/framework.h"
#include "app/input_routing.h"
#include "app/mainmenu.h"
#include "app/map_render.h"
#include "app/map_skin.h"
#include "app/menu.h"
#include "app/scenario_menu.h"
#include "app/scenario_settings_menu.h"
#include "app/skin_tables.h"
#include "app/units_skin.h"
#include "dialogs/panel_informacyjny.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "foundation/settings.h"
#include "foundation/text.h"
#include "gui/control.h"
#include "gui/resource_cache.h"
#include "platform/codes.h"
#include "platform/frame.h"
#include "platform/graphics.h"
#include "platform/input_event.h"
#include "platform/null_audio.h"
#include "platform/render_backend.h"
#include "world/city.h"
#include "world/game_start.h"
#include "world/game_state.h"
#include "world/gra.h"
#include "world/map_camera.h"
#include "scratch_folder.h"

#include <SDL.h>

namespace {

using namespace tr;

std::filesystem::path GameFolder() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "game";
}

struct Scene {
  bench::ScratchFolder scratch{"map_render"};  // outlives the game, whose teardown writes there
  std::unique_ptr<AppFrame> frame;
  cGame game;

  Scene() : frame(AppFrame::CreateHeadless(1024, 768)) {
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
    SetGameRoot(scratch.path());
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
  bench::ScratchFolder scratch{"map_render"};  // outlives the game, whose teardown writes there
  std::unique_ptr<AppFrame> frame;
  SDL_Window* window = nullptr;

  SampleScene() : frame(AppFrame::CreateHeadless(1024, 768)) {
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
    SetGameRoot(scratch.path());
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
  ViewWholeMap(*gGame->map);
  // Frames after the first may reuse what earlier ones drew: the picture is taken from the third.
  for (int i = 0; i < 3; ++i) scene.Draw();
  if (const char* shot = std::getenv("TR_BENCH_SHOT")) {
    scene.frame->graphics().SaveScreenshot(std::string(shot) + (window ? "_window.png" : "_offscreen.png"));
  }
  for (auto _ : state) scene.Draw();
}
BENCHMARK_CAPTURE(BM_SampleMapFrame, OffScreen, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SampleMapFrame, SoftwareWindow, true)->Unit(benchmark::kMillisecond);

// The map as a player gets it: the game itself (WinMain, its frame loop and its
// map screen) on a window of each renderer the machine has and on the
// off-screen surface, the sample started from the menus as a player starts it
// (its own human country, the default button on each screen), then passes of
// the real loop at the shipped frame limit while the map stands idle, scrolls
// with an arrow key held (up and down in turn, so the map's edge never stops
// it) or zooms with the wheel (out and in in turn). One iteration is one pass
// of the loop. The CPU time is the whole process's, the game's worker and any
// threads of a GL rasteriser included; core_share is that time over the wall
// time, the share of a core the map costs at the frame limit. Without a
// display the window cases skip; run them under `xvfb-run -a`.

enum class MapAction { kIdle, kScroll, kZoom };

// Five seconds at the shipped limit.
constexpr int kLoopFrames = 125;
constexpr int kMainMenuStart = 71;
constexpr int kScenarioMenuNext = 200;
constexpr int kSettingsMenuStart = 245;
// A point on the map clear of the panels, where the wheel zooms.
constexpr int kMapX = 512;
constexpr int kMapY = 300;

// A game folder of the benchmark's own, as the build makes it: the settings and
// texts copied, the data linked, the scenarios copied (the settings menu writes
// beside them) and empty save folders; the game writes only there.
void FillScratchGameFolder(const std::filesystem::path& to) {
  namespace fs = std::filesystem;
  const fs::path from = GameFolder();
  fs::create_directories(to / "data");
  for (const auto& entry : fs::directory_iterator(from)) {
    if (entry.is_regular_file() && entry.path().filename() != "tidereach") {
      fs::copy_file(entry.path(), to / entry.path().filename());
    }
  }
  for (const auto& entry : fs::directory_iterator(from / "data")) {
    const fs::path target = to / "data" / entry.path().filename();
    const auto name = entry.path().filename();
    if (name == "save" || name == "pbem") {
      fs::create_directories(target);
    } else if (name == "scenarios") {
      fs::copy(entry.path(), target, fs::copy_options::recursive);
    } else if (entry.is_directory()) {
      fs::create_directory_symlink(entry.path(), target);
    } else {
      fs::copy_file(entry.path(), target);
    }
  }
}

// SDL_RENDER_DRIVER as a player would set it for one run; empty asks for SDL's choice.
class RendererRequest {
 public:
  explicit RendererRequest(const char* renderer) {
    if (const char* old = std::getenv("SDL_RENDER_DRIVER")) old_ = old;
    if (renderer != nullptr && *renderer != '\0') {
      setenv("SDL_RENDER_DRIVER", renderer, 1);
    } else {
      unsetenv("SDL_RENDER_DRIVER");
    }
  }
  ~RendererRequest() {
    if (old_) {
      setenv("SDL_RENDER_DRIVER", old_->c_str(), 1);
    } else {
      unsetenv("SDL_RENDER_DRIVER");
    }
  }
  RendererRequest(const RendererRequest&) = delete;
  RendererRequest& operator=(const RendererRequest&) = delete;

 private:
  std::optional<std::string> old_;
};

// SDL's video for the window cases, started at the first of them and kept
// until the program ends, so the game's own start and stop in each case nest
// inside it. Stopped and started again between cases, the display driver's
// later starts in one process now and then came up on the off-screen driver
// instead, and those cases skipped as if there were no display.
class WindowVideo {
 public:
  static const WindowVideo& Get() {
    static const WindowVideo video;
    return video;
  }
  const std::string& error() const { return error_; }

 private:
  WindowVideo() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) error_ = std::string("no video: ") + SDL_GetError();
  }
  ~WindowVideo() {
    if (error_.empty()) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  std::string error_;
};

// Why a window of the renderer cannot be measured here; empty when it can.
std::string WindowUnavailable(const char* renderer) {
  const WindowVideo& video = WindowVideo::Get();
  if (!video.error().empty()) return video.error();
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  if (driver == "dummy" || driver == "offscreen") {
    return "no display (video driver " + driver + "): window renderers are measured under xvfb-run -a";
  }
  if (*renderer == '\0') return "";
  for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
    SDL_RendererInfo info{};
    if (SDL_GetRenderDriverInfo(i, &info) == 0 && info.name != nullptr && renderer == std::string(info.name)) {
      return "";
    }
  }
  return std::string("renderer ") + renderer + " is not available here";
}

double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Passes of the loop, back to back, until the condition holds; false after a minute without it.
bool TicksUntil(AppFrame& frame, const std::function<bool()>& condition) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!condition()) {
    if (frame.closing() || std::chrono::steady_clock::now() > giveUp) return false;
    frame.Tick();
  }
  return true;
}

bool ClickControl(AppFrame& frame, const CDXUTControl* control) {
  if (control == nullptr) return false;
  const Rect box = control->GetBoundingBox();
  const int x = (box.left + box.right) / 2;
  const int y = (box.top + box.bottom) / 2;
  frame.Inject(RawInput::MouseMove(x, y));
  frame.Inject(RawInput::MouseDown(RawInput::kLeft, x, y));
  frame.Inject(RawInput::MouseUp(RawInput::kLeft, x, y));
  frame.Tick();
  return true;
}

// The human country's first turn on screen, its view reached and its panels given back.
bool FirstHumanTurnShown() {
  GameLockGuard lock;
  if (gGame == nullptr || CurrentMenu != nullptr || gGame->GetGameState() != kGameHumanIdle) return false;
  const cCountry* current = gGame->playerControl.currentCountry;
  const cInfoPanel* info = GetInfoPanel();
  return current != nullptr && current->humanControlled && info != nullptr &&
         !info->GetControl(cInfoPanel::kBusyImage)->GetVisible();
}

// From the logos to the sample's first human turn, as a player gets there:
// a key past the logos, then Start, Next and Start with what the menus offer.
bool StartSampleFromMenus(AppFrame& frame) {
  const bool mainMenu = TicksUntil(frame, [&] {
    frame.Inject(RawInput::KeyDown(VK_SPACE));
    frame.Inject(RawInput::KeyUp(VK_SPACE));
    return dynamic_cast<cMainMenu*>(CurrentMenu) != nullptr;
  });
  if (!mainMenu || !ClickControl(frame, CurrentMenu->GetControl(kMainMenuStart))) return false;
  auto* scenarios = dynamic_cast<cScenarioMenu*>(CurrentMenu);
  if (scenarios == nullptr || !ClickControl(frame, scenarios->GetControl(kScenarioMenuNext))) return false;
  auto* settings = dynamic_cast<cScenarioSettingsMenu*>(CurrentMenu);
  if (settings == nullptr || !ClickControl(frame, settings->GetControl(kSettingsMenuStart))) return false;
  return TicksUntil(frame, &FirstHumanTurnShown);
}

// What the player does at the pass given: nothing, an arrow key held (the
// other let go) for a second each, or a wheel notch a pass, ten out then ten in.
void Act(AppFrame& frame, MapAction action, int pass) {
  if (action == MapAction::kScroll && pass % 25 == 0) {
    const bool down = pass % 50 == 0;
    frame.Inject(RawInput::KeyUp(down ? VK_UP : VK_DOWN));
    frame.Inject(RawInput::KeyDown(down ? VK_DOWN : VK_UP));
  } else if (action == MapAction::kZoom) {
    if (pass == 0) frame.Inject(RawInput::MouseMove(kMapX, kMapY));
    frame.Inject(RawInput::Wheel(pass / 10 % 2 == 0 ? -1.0f : 1.0f));
  }
}

const char* ActionName(MapAction action) {
  switch (action) {
    case MapAction::kIdle: return "idle";
    case MapAction::kScroll: return "scroll";
    case MapAction::kZoom: return "zoom";
  }
  return "";
}

// renderer: null for the off-screen surface, empty for the renderer SDL chooses, else the one asked for.
void BM_MapThroughTheGame(benchmark::State& state, const char* renderer, MapAction action) {
  const bool window = renderer != nullptr;
  // Hints earlier benchmarks set (their frames' dummy video driver) are no player's.
  SDL_ClearHints();
  RendererRequest request(renderer);
  if (window) {
    const std::string why = WindowUnavailable(renderer);
    if (!why.empty()) {
      state.SkipWithError(why.c_str());
      return;
    }
  }
  bench::ScratchFolder scratch("map_loop");
  const std::filesystem::path& folder = scratch.path();
  FillScratchGameFolder(folder);
  SetGameRoot(folder);
  ConsoleLog().Reopen(folder / "ConsoleOut.txt");
  // What the game logged of SDL's first choice: the name, and the GL's own for GL.
  std::string logged;
  ConsoleLog().SetObserver([&](std::u16string_view line) {
    constexpr std::u16string_view kRenderer = u"Renderer: ";
    if (line.starts_with(kRenderer)) logged = Utf16ToUtf8(line.substr(kRenderer.size()));
  });
  std::string made = window ? "" : "off-screen";

  SteadyClock clock;
  sStartUp startUp;
  startUp.frame = window ? std::make_unique<AppFrame>() : AppFrame::CreateHeadless(1024, 768, &clock);
  // The frame loop and the map, not the music.
  startUp.audio = std::make_unique<NullAudioDevice>();
  std::string failure;
  int passes = 0;
  bool done = false;
  double cpuStart = 0, wallStart = 0, cpu = 0, wall = 0;
  startUp.beforeMainLoop = [&](AppFrame& frame) {
    if (!StartSampleFromMenus(frame)) {
      failure = "the sample did not reach its first human turn; see " + (folder / "ConsoleOut.txt").string();
      frame.RequestClose();
      return;
    }
    if (window) {
      // The renderer the game kept, which may not be SDL's first choice.
      SDL_RendererInfo info{};
      SDL_Renderer* kept = SDL_GetRenderer(static_cast<SDL_Window*>(frame.window_handle()));
      if (kept != nullptr && SDL_GetRendererInfo(kept, &info) == 0 && info.name != nullptr) made = info.name;
      if (logged.starts_with(made)) made = logged;
    }
    if (window && *renderer != '\0' && !made.starts_with(renderer)) {
      failure = std::string(renderer) + " was asked for but SDL made " + made;
      frame.RequestClose();
      return;
    }
    // A second at the limit: hints and blinking marks reach their steady state.
    for (int i = 0; i < 25; ++i) {
      frame.Tick();
      std::this_thread::sleep_for(std::chrono::milliseconds(gMinFrameTime));
    }
    // The game's own frame move, timed from pass to pass by the loop the game runs next.
    frame.SetFrameMoveCallback([&](Graphics& graphics, double time, float elapsed) {
      if (done) return;
      if (passes == 0) {
        cpuStart = ProcessCpuSeconds();
        wallStart = WallSeconds();
      }
      if (!state.KeepRunning()) {
        cpu = ProcessCpuSeconds() - cpuStart;
        wall = WallSeconds() - wallStart;
        done = true;
        // With TR_BENCH_SHOT=<prefix> the last picture is kept, to see what was measured.
        if (const char* shot = std::getenv("TR_BENCH_SHOT")) {
          const std::string name = window ? (*renderer != '\0' ? renderer : "default") : "offscreen";
          graphics.SaveScreenshot(std::string(shot) + "_" + name + "_" + ActionName(action) + ".png");
        }
        frame.RequestClose();
        return;
      }
      Act(frame, action, passes++);
      GameFrameMove(graphics, time, elapsed);
    });
  };
  WinMain(std::move(startUp));
  ConsoleLog().SetObserver({});
  ConsoleLog().Close();
  if (!failure.empty()) {
    scratch.Keep();  // the message points to its log
    state.SkipWithError(failure.c_str());
    return;
  }
  if (!done) {
    scratch.Keep();
    const std::string why =
        "the game's window or render device could not be made; see " + (folder / "ConsoleOut.txt").string();
    state.SkipWithError(why.c_str());
    return;
  }
  state.SetLabel(made);
  state.counters["cpu_ms_per_frame"] = cpu * 1000.0 / passes;
  state.counters["core_share"] = cpu / wall;
  state.counters["frames_per_s"] = passes / wall;
  state.counters["limit_ms"] = gMinFrameTime;
}

[[maybe_unused]] const bool kMapThroughTheGameRegistered = [] {
  struct Renderer {
    const char* name;
    const char* request;
  };
  for (const Renderer r : {Renderer{"offscreen", nullptr}, Renderer{"default", ""}, Renderer{"opengl", "opengl"},
                           Renderer{"software", "software"}}) {
    for (const MapAction action : {MapAction::kIdle, MapAction::kScroll, MapAction::kZoom}) {
      const std::string name = std::string("BM_MapThroughTheGame/") + r.name + "/" + ActionName(action);
      benchmark::RegisterBenchmark(name.c_str(), BM_MapThroughTheGame, r.request, action)
          ->Iterations(kLoopFrames)
          ->MeasureProcessCPUTime()
          ->UseRealTime()
          ->Unit(benchmark::kMillisecond);
    }
  }
  return true;
}();
}  // namespace
