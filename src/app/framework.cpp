#include "app/framework.h"

#include <ctime>

#include "app/app_presentation.h"
#include "app/device_objects.h"
#include "app/end_turn.h"
#include "app/frame_utils.h"
#include "app/input_routing.h"
#include "app/mainmenu.h"
#include "app/menu.h"
#include "app/modal_stack.h"
#include "app/map_render.h"
#include "app/music_player.h"
#include "app/prevmenu.h"
#include "app/scenario_menu.h"
#include "app/sea_battle_menu.h"
#include "app/sound.h"
#include "dialogs/panel.h"
#include "dialogs/small_dialogs.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/gui_layout.h"
#include "foundation/random.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "foundation/version.h"
#include "gui/gui_hooks.h"
#include "platform/audio.h"
#include "platform/frame.h"
#include "turn/game_steps.h"
#include "turn/sea_battle.h"
#include "world/gra.h"

namespace tr {
namespace {

// Locking is on from the first step of start-up to the last but one, also
// when start-up ends early.
class LockingActive {
 public:
  LockingActive() { SetGameLockActive(true); }
  ~LockingActive() { SetGameLockActive(false); }
  LockingActive(const LockingActive&) = delete;
  LockingActive& operator=(const LockingActive&) = delete;
};

// The hooks the frame calls back into; cleared with the frame.
class FrameHooks {
 public:
  explicit FrameHooks(AppFrame& frame) : frame_(frame) {
    frame.SetDeviceCallbacks(&OnDeviceCreated, &OnDeviceReset, &OnDeviceLost, &OnDeviceDestroyed);
    frame.SetMessageCallback(&OnWindowMessage);
    // A running game is torn down (its worker stopped) while the window still exists.
    frame.SetCloseHook(&DestroyGame);
    frame.SetPauseCallback(&ApplyMusicVolume);
    SetControlMovedHook(&OnControlMoved);
  }
  ~FrameHooks() {
    SetControlMovedHook({});
    frame_.SetCloseHook({});
    frame_.SetPauseCallback({});
  }
  FrameHooks(const FrameHooks&) = delete;
  FrameHooks& operator=(const FrameHooks&) = delete;

 private:
  AppFrame& frame_;
};

void ClearScreenPointers() {
  CurrentMenu = nullptr;
  TopDialog = nullptr;
  gInfoPanel = gDiplomacyPanel = gHexPanel = gUnitPanel = gAttackPanel = gMinimapPanel = nullptr;
}

// What start-up made and the frame does not own, in reverse order.
void TearDownScreens() {
  PopModalDialogs(-1);
  DeleteCurrentMenu();
  ClearScreenPointers();
  SetGameMusicPlayer(nullptr);
  ShutdownSound();
}

}  // namespace

std::u16string WindowCaption(double version, int build) {
  if (build % 100 == 0) return Format(u"Tidereach v%.2f", version);
  return Format(u"Tidereach v%.2f [build %3i]", version, build);
}

void ApplyMusicVolume(bool paused) {
  if (gGame == nullptr) return;
  if (cMusicPlayer* music = GameMusicPlayer()) music->SetVolume(paused ? 0.0f : gMusicVolume);
}

void DestroyGame() {
  if (gGame != nullptr) {
    // The game's destructor stops the worker before it frees anything.
    delete gGame;
    gGame = nullptr;
  }
  DestroyGamePanels();
  SetGameMusicPlayer(nullptr);
  ReleaseGameTextureRecords();
  // A request of the game just put away must not end the next one, nor its
  // boxes wait for a turn of another game: they are shown now, the worker stopped.
  ClearReturnToMenusRequest();
  TellHeldBoxes();
}

void LeaveGameForMenus(int listMode) {
  LogLine(u"----- Leaving the game for the menus -----");
  PopModalDialogs(-1);
  DestroyGame();
  PlayMainMenuMusic();
  auto* menu = new cScenarioMenu();
  CurrentMenu = menu;
  menu->ShowListMode(listMode);
}

int WinMain(sStartUp startUp) {
  LockingActive locking;
  // What the rules show goes to this screen for the whole run.
  cAppPresentation presentation;
  ScopedPresentation usePresentation(presentation);
  LogFormat(u"Running TR2: Tidereach v%.2f", kGameVersion);
  SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
  LoadSettings();
  LoadGuiLayout();
  ClearScreenPointers();

  std::unique_ptr<AppFrame> frame = std::move(startUp.frame);
  if (!frame) frame = std::make_unique<AppFrame>();
  FrameHooks hooks(*frame);
  // Read at every frame, so the preferences' frame limit applies at once.
  frame->SetFrameTimeLimit([] { return gMinFrameTime; });
  const FrameConfig config{WindowCaption(kGameVersion, kBuildNumber), gScreenWidth, gScreenHeight, !gWindowed};
  if (Failed(frame->CreateWindowAndDevice(config))) {
    LogLine(u"The game window or its render device could not be made; the game cannot start.");
    TearDownScreens();
    return 1;
  }

  if (startUp.audio) SetAudioDevice(std::move(startUp.audio));
  InitSound();
  PlayIntro();
  StringBase().Load("lang_LANGID.db", true);

  InstallMapDrawing();
  InstallGameSteps();
  SetSeaBattleScreen(&ShowSeaBattleScreen);
  SetEndHumanTurnAction(&EndHumanTurn);
  if (startUp.beforeMainLoop) startUp.beforeMainLoop(*frame);
  const int exitCode = frame->Run();

  DestroyGame();
  SetEndHumanTurnAction({});
  SetSeaBattleScreen({});
  UninstallGameSteps();
  UninstallMapDrawing();
  TearDownScreens();
  return exitCode;
}

}  // namespace tr
