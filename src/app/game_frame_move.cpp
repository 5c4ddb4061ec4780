#include "app/game_frame_move.h"

#include <array>
#include <mutex>
#include <optional>

#include "app/app_presentation.h"
#include "app/end_turn.h"
#include "app/framework.h"
#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "app/music_player.h"
#include "app/sea_battle_menu.h"
#include "dialogs/dialog_base.h"
#include "events/zdarzenia.h"
#include "foundation/game_lock.h"
#include "foundation/gui_layout.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "gui/hint_box.h"
#include "platform/frame.h"
#include "platform/frame_clock.h"
#include "turn/theads.h"
#include "units/jednostka.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/presentation.h"

namespace tr {

std::uint16_t gArrowKeys = 0;

namespace {

constexpr std::uint16_t kArrowLeft = 1;
constexpr std::uint16_t kArrowUp = 2;
constexpr std::uint16_t kArrowRight = 4;
constexpr std::uint16_t kArrowDown = 8;
constexpr int kScrollZoneEntry = 291;
constexpr float kScrollSpeed = 1000.0f;

constexpr std::array<const char*, 19> kHintKeys = {
    "statusbar_hint_no_action",
    "statusbar_hint_deploy_land_air_destination_hex",
    "statusbar_hint_deploy_land_air_destination_hex",
    "statusbar_hint_deploy_naval_destination_port",
    "statusbar_hint_move_destination_hex",
    "statusbar_hint_strategic_move_destination_hex",
    "statusbar_hint_paradrop_target_hex",
    "statusbar_hint_planning_attack",
    "statusbar_hint_bombardment_target_hex",
    "statusbar_hint_air_fight_target_hex",
    "statusbar_hint_nuclear_bombardment_target_hex",
    "statusbar_hint_recon_hex",
    "statusbar_hint_rebase_destination_hex",
    // A zone takes a fleet only at the one hex bearing its name.
    "statusbar_hint_fleet_move_zone_name_hex",
    "statusbar_hint_convoy_source_port",
    "statusbar_hint_convoy_destination_port",
    "statusbar_hint_invasion_target_port",
    "statusbar_hint_shore_bombardment_hex",
    "statusbar_hint_recon_from_sea_hex",
};

struct sFrameTimes {
  double lastHorizontal = 0.0;
  double lastVertical = 0.0;
  // None before the game's first step: a new game's first step waits for
  // nothing the previous game did.
  std::optional<std::uint32_t> lastUnitStep;
};
sFrameTimes& Times() {
  static sFrameTimes times;
  return times;
}

// The move step may be handed over by the worker while the frame runs.
std::mutex& StepMutex() {
  static std::mutex mutex;
  return mutex;
}
std::function<bool()>& PendingStep() {
  static std::function<bool()> step;
  return step;
}
// Raised with every hand-over, so the frame clears only the move it ran.
std::uint64_t& StepGeneration() {
  static std::uint64_t generation = 0;
  return generation;
}

bool UnderMouse(const cDialog* dialog) { return dialog != nullptr && dialog->GetControlUnderMouse() != nullptr; }

// A dialog or panel control under the pointer, or the map being dragged with
// the right button, keeps the map still.
bool PointerBusy() {
  if (TopDialog != nullptr && TopDialog->GetVisible() && UnderMouse(TopDialog)) return true;
  for (const cDialog* panel : {gUnitPanel, gAttackPanel, gHexPanel, gInfoPanel, gDiplomacyPanel, gMinimapPanel}) {
    if (UnderMouse(panel)) return true;
  }
  return GetHintBox().right_held();
}

void ScrollAndHint(double time) {
  cGame& game = *gGame;
  // The worker's hand-over sets state 7 first and gives the panels back
  // after it, under the lock; the pointer test reads those panels.
  GameLockGuard lock;
  // The prompt follows the action mode even while the pointer rests on the
  // button that started the action, or on the dialog a finished one brought back.
  UpdateStatusBarHint();
  if (PointerBusy()) return;
  const HintBox& pointer = GetHintBox();
  const sGuiLayoutEntry& e = sGuiLayoutTable[kScrollZoneEntry];
  const int zone[4] = {e.x, e.y, e.width, e.height};
  const sFrameTimes& times = Times();
  const sScrollStep step = ComputeScrollStep(pointer.pointer_x(), pointer.pointer_y(), gScreenWidth, gScreenHeight,
                                             gArrowKeys, zone, time - times.lastHorizontal,
                                             time - times.lastVertical, gMapZoom);
  if (step.moves && game.map != nullptr) game.map->ScrollCamera(step.dx, step.dy, 1.0f);
}

void RevealAfterStep(cGame& game, cUnit& unit) {
  const cCountry* viewer = game.viewingCountry;
  if (viewer == nullptr || unit.owner <= 0) return;
  if (unit.owner == viewer->id || viewer->IsAlly(unit.owner)) {
    unit.RevealUnitsAround(1);
  } else if (game.relations.IsAtWar(unit.owner, viewer->id)) {
    unit.UpdateSpottedFlag(viewer);
  }
}

// The end of a human move: the hex where the unit stopped is selected, and a
// unit that can still move is ready for its next move or rebase.
void ReselectAfterHumanMove(cGame& game) {
  cPlayerControl& control = game.playerControl;
  const sPoint at = control.lastMoveDestination;
  control.SelectHex(at.x, at.y);
  if (game.map == nullptr || !game.map->IsInside(at.x, at.y)) return;
  cUnit* unit = game.map->GetHex(at.x, at.y)->unit;
  if (unit != nullptr && unit->ComputeMoveRange(0) > 0) {
    control.actionMode = unit->category == kCategoryLand ? kActionMove : kActionRebase;
  }
}

}  // namespace

sScrollStep ComputeScrollStep(int x, int y, int screenWidth, int screenHeight, std::uint16_t keys,
                              const int (&zone)[4], double sinceHorizontal, double sinceVertical, float zoom) {
  sScrollStep step;
  if (x < 0 || x >= screenWidth || y < 0 || y >= screenHeight || zoom <= 0.0f) return step;
  const double perSecond = kScrollSpeed / zoom;
  if (x >= zone[2] || (keys & kArrowRight) != 0) {
    step.dx = static_cast<float>(sinceHorizontal * perSecond);
    step.moves = true;
  } else if (x <= zone[0] || (keys & kArrowLeft) != 0) {
    step.dx = static_cast<float>(sinceHorizontal * -perSecond);
    step.moves = true;
  }
  if (y >= zone[3] || (keys & kArrowDown) != 0) {
    step.dy = static_cast<float>(sinceVertical * perSecond);
    step.moves = true;
  } else if (y <= zone[1] || (keys & kArrowUp) != 0) {
    step.dy = static_cast<float>(sinceVertical * -perSecond);
    step.moves = true;
  }
  return step;
}

const char* StatusBarHintKey(int actionMode) {
  if (actionMode < 0 || actionMode >= static_cast<int>(kHintKeys.size())) return kHintKeys[0];
  return kHintKeys[static_cast<std::size_t>(actionMode)];
}

void UpdateStatusBarHint() {
  if (gGame == nullptr) return;
  SetPanelHintText(GetText(StatusBarHintKey(gGame->playerControl.actionMode)));
}

void ClearStatusBarHint() { SetPanelHintText(GetText(StatusBarHintKey(kActionNone))); }

void SetPendingMoveStep(std::function<bool()> step) {
  std::lock_guard lock(StepMutex());
  PendingStep() = std::move(step);
  ++StepGeneration();
}

void ResetUnitStepTime() { Times().lastUnitStep.reset(); }

void AnimateUnitMove() {
  cGame* game = gGame;
  if (game == nullptr) return;
  const eGameState state = game->GetGameState();
  if (state != kGameHumanMoving && state != kGameComputerMoving) return;
  cPlayerControl& control = game->playerControl;
  cJednostka* unit = control.move.unit;
  const cCountry* owner = unit != nullptr ? unit->GetOwnerCountry() : nullptr;
  const float delay = gDelays[owner != nullptr && owner->humanControlled ? kDelayHumanMoveBetween : kDelayAIMoveBetween];
  const std::uint32_t now = TimerMs();
  sFrameTimes& times = Times();
  if (times.lastUnitStep && static_cast<float>(now - *times.lastUnitStep) <= delay) return;

  // The worker waits in state 10 without the lock; the lock keeps the frame's drawing out of the step.
  GameLockGuard lock("game_frame_move", __LINE__);
  std::function<bool()> step;
  std::uint64_t generation = 0;
  {
    std::lock_guard stepLock(StepMutex());
    step = PendingStep();
    generation = StepGeneration();
  }
  const bool more = step ? step() : control.move.AdvanceMovingUnit();
  // The worker's last step hands the state back to it, and it may start its
  // next move at once: from here on nothing of the worker's move is touched
  // but the step it handed over, and that only if no new one replaced it.
  if (unit != nullptr) RevealAfterStep(*game, *unit);
  if (more) {
    times.lastUnitStep = now;
    return;
  }
  {
    std::lock_guard stepLock(StepMutex());
    if (StepGeneration() == generation) PendingStep() = nullptr;
  }
  if (state == kGameHumanMoving) {
    control.move.unit = nullptr;
    ReselectAfterHumanMove(*game);
  }
  game->EndMoveAnimationState();
}

void MoveGameFrame(Graphics&, double time, float elapsed) {
  cGame* game = gGame;
  if (game == nullptr) return;
  // The worker may not end the process itself: the loop ends here and the game is torn down in order.
  if (const int exitCode = TakeRequestedProgramExit(); exitCode >= 0) {
    if (AppFrame* frame = CurrentFrame()) frame->Shutdown(exitCode);
    return;
  }
  if (ReturnToMenusRequested()) {
    bool shown = false;
    {
      GameLockGuard lock;
      shown = TopDialog != nullptr;
    }
    // The result or the hand-over message stays until the player closes it.
    if (!shown) {
      const int list = RequestedMenusList();
      ClearReturnToMenusRequest();
      LeaveGameForMenus(list);
      return;
    }
  }
  const AppFrame* frame = CurrentFrame();
  const bool renderingPaused = frame != nullptr && frame->rendering_paused();
  // The pointer at the edge of a window behind another one is no wish to scroll.
  const bool windowActive = !renderingPaused && (frame == nullptr || frame->foreground());
  if (!renderingPaused) {
    if (cMusicPlayer* music = GameMusicPlayer()) music->Update();
  }
  PlayQueuedSoundEffects();
  // A sea battle the worker reached takes the screen; its menu's callbacks take over from the next frame.
  OpenPendingSeaBattleScreen();
  const eGameState state = game->GetGameState();
  if (windowActive && (state == kGameHumanIdle || state == kGameHumanMoving)) ScrollAndHint(time);
  Times().lastHorizontal = Times().lastVertical = time;

  {
    // The worker centres the camera on the computer's moves under the lock.
    GameLockGuard lock;
    if (game->map != nullptr && game->map->FrameMove(elapsed)) Presentation().ChooseFontsForZoom();
  }
  AnimateUnitMove();
  {
    // The worker pushes dialogs (the new-turn banner) under the lock.
    GameLockGuard lock;
    if (TopDialog != nullptr) TopDialog->TickTimer(elapsed);
  }
  // The start of play and the worker's events check (the second half of a
  // play-by-e-mail hand-over) each ask through their own flag; both are
  // cleared before the turn ends, and one end of turn answers both. The start
  // of play's request waits for the events check it asked the worker for.
  const bool checkPending = gEventsCheckRequested.load() != 0;
  const bool atStart = !checkPending && gDeferredEndTurnRequest.load();
  const bool afterEventsCheck = gEndTurnRequested.exchange(0) != 0;
  if (atStart || afterEventsCheck) {
    gDeferredEndTurnRequest.store(false);
    EndHumanTurn();
  }
}

}  // namespace tr
