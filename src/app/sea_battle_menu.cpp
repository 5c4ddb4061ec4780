#include "app/sea_battle_menu.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <set>
#include <thread>

#include "app/frame_utils.h"
#include "app/game_frame_move.h"
#include "app/game_mouse.h"
#include "app/hex_draw.h"
#include "app/input_routing.h"
#include "app/mainmenu.h"
#include "app/map_render.h"
#include "app/modal_stack.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/gui_layout.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "gui/button.h"
#include "gui/edit_box.h"
#include "gui/hint_box.h"
#include "gui/memo.h"
#include "gui/resource_cache.h"
#include "gui/static.h"
#include "platform/frame.h"
#include "platform/graphics.h"
#include "platform/sprite_batch.h"
#include "turn/sea_battle.h"
#include "turn/theads.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/map.h"
#include "world/map_camera.h"
#include "world/panstwo.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "sea_battle_menu";

enum eSeaBattleControl : int {
  kFrame = 650,
  kTitle = 651,
  kZone = 652,
  kTurnsLeftLabel = 653,
  kTurnsLeft = 654,
  kLogLabel = 655,
  kLog = 656,
  kRetreat = 657,
  kClose = 658,
  kNextTurn = 659,
  kExecuteShot = 660,
  kAutoEnd = 661,
  kTimeoutLabel = 662,
  kTimeout = 663,
};

constexpr int kGrid = 31;
constexpr int kHalfRow = 49;
constexpr int kGridWidth = kGrid * kColumnStep;  // 2573 (83 a column)
constexpr int kGridHeight = kGrid * kRowStep;    // 3038 (98 a row)
constexpr int kMinView = 83;
constexpr float kStartZoom = 0.4f;
constexpr float kZoomSpeed = 0.5f;  // per second
constexpr float kEdgeScrollFactor = 2.0f;
constexpr int kScrollZoneEntry = 291;
constexpr int kEnemyFirstColumn = 15;
constexpr float kCellDepth = 0.5f;
constexpr int kPollMs = 200;
constexpr int kPollStepMs = 10;

// The battle waiting for its screen, handed from the worker to the main
// thread. Atomic so the frame can look for one without the logged lock.
std::atomic<sSeaBattle*> gPendingBattle{nullptr};
cSeaBattleMenu* gOpenedMenu = nullptr;

bool MustStop() { return ThreadStopRequested() || (gGame != nullptr && WorkerMustStop(*gGame)); }

bool IsPbemGame() { return gGame != nullptr && gGame->pbemGame != 0; }

bool IsTransport(const cJednostkaMorska* ship) {
  return ship != nullptr && (ship->type == kCargoShip || ship->type == kAmphibiousShip);
}

bool OwnerIsHuman(const cJednostkaMorska& ship) {
  const cCountry* country = ship.GetOwnerCountry();
  return country != nullptr && country->humanControlled != 0;
}

void AddTitleStatic(CDXUTDialog& dialog, int id, std::u16string_view text) {
  CDXUTStatic* label = nullptr;
  if (Failed(dialog.AddStaticAt(id, text, &label)) || label == nullptr) return;
  label->SetTextElement(2);
  label->SetEnabled(false);
}

void AddBattleButton(CDXUTDialog& dialog, int id, const char* key, const char* hintKey) {
  dialog.AddButtonAt(id, GetText(key), GetText(hintKey));
}

}  // namespace

cSeaBattleMenu::cSeaBattleMenu(sSeaBattle& battle) : battle_(battle) {
  if (gGame != nullptr) gGame->SetGameState(kGameSeaBattleScreen);
  if (TopDialog != nullptr) PopModalDialogs(-1);
  LogLine(u"----- Sea Battle Screen -----");

  const bool pbem = IsPbemGame();
  AddMenuFrame(*this, kFrame);
  AddTitleStatic(*this, kTitle, GetText("seabattle_title"));
  AddTitleStatic(*this, kZone, battle_.zoneName);
  AddTextField(this, kTurnsLeft, Format(u"%i", battle_.battleTurnsLeft), GetText("seabattle_turns_left_hint"),
               kTurnsLeftLabel, GetText("seabattle_turns_left"));
  AddTextField(this, kTimeout, u"-", GetText("seabattle_next_turn_timeout_hint"), kTimeoutLabel,
               GetText("seabattle_next_turn_timeout"));
  AddMemoWithLabel(*this, kLog, battle_.log, kLogLabel, GetText("seabattle_log"));
  AddBattleButton(*this, kRetreat, "seabattle_retreat", "seabattle_retreat_hint");
  AddBattleButton(*this, kAutoEnd, "seabattle_auto_end", "seabattle_auto_end_hint");
  AddBattleButton(*this, kExecuteShot, "seabattle_execute_shot", "seabattle_next_turn_hint");
  AddBattleButton(*this, kNextTurn, "seabattle_next_turn", "seabattle_next_turn_hint");
  AddBattleButton(*this, kClose, "seabattle_close", "seabattle_close_hint");
  if (CDXUTControl* retreat = GetControl(kRetreat)) retreat->SetVisible(!pbem);
  SetControlEnabled(kRetreat, false);
  for (int id : {kAutoEnd, kExecuteShot, kNextTurn}) SetControlEnabled(id, !pbem);
  SetControlEnabled(kClose, false);
  if (auto* memo = dynamic_cast<CDXUTMemo*>(GetControl(kLog))) memo->ScrollToEnd();

  for (int i = 0; i < kSeaBattleCellCount; ++i) {
    sHex& cell = cells_[static_cast<std::size_t>(i)];
    cell.unit = nullptr;
    cell.x = static_cast<std::int16_t>(i % kGrid);
    cell.y = static_cast<std::int16_t>(i / kGrid);
    cell.flags = cell.x < 4 || cell.x > 26 ? kCellOutsideBattle : 0;
  }

  mapDisplayedScale_ = gDisplayedScale;
  mapTargetScale_ = gTargetScale;
  gDisplayedScale = gTargetScale = kStartZoom;
  viewTransform_ = Matrix2D::Scaling(kStartZoom, kStartZoom);

  velocityX_ = velocityY_ = 0.0f;
  viewX_ = targetViewX_ = 1245.0f;
  maxViewX_ = kGridWidth - kColumnStep;
  viewY_ = targetViewY_ = 1470.0f;
  maxViewY_ = kGridHeight - kRowStep;

  PlaceSeaBattleShips(battle_, [this](cJednostkaMorska& ship, int column, int row) {
    if (column >= 0 && column < kGrid && row >= 0 && row < kGrid) Cell(column, row).unit = &ship;
  });
  SetVisible(true);
}

void cSeaBattleMenu::SetField(int id, std::u16string_view text) {
  if (auto* field = dynamic_cast<CDXUTEditBox*>(GetControl(id))) field->SetText(text);
}

void cSeaBattleMenu::ShowLog() {
  if (auto* memo = dynamic_cast<CDXUTMemo*>(GetControl(kLog))) {
    memo->SetText(battle_.log);
    memo->ScrollToEnd();
  }
}

void cSeaBattleMenu::RefreshLabels() {
  // An ended battle plays no more rounds: each would end it and file its reports again.
  if (!battle_.finished) RunSeaBattleRound(battle_);
  ClearCellsOfDepartedShips();
  SetField(kTurnsLeft, Format(u"%i", battle_.battleTurnsLeft));
  ShowLog();
  if (battle_.finished) UpdateTurnButtons();
}

void cSeaBattleMenu::ClearCellsOfDepartedShips() {
  // A sunk ship is freed: its cell is told by its address alone, never read.
  std::set<const cUnit*> present;
  for (const auto* side : {&battle_.firstSide, &battle_.enemySide}) present.insert(side->begin(), side->end());
  for (sHex& cell : cells_) {
    if (cell.unit != nullptr && present.count(cell.unit) == 0) {
      if (clicked_ == &cell) clicked_ = nullptr;
      if (previous_ == &cell) previous_ = nullptr;
      cell.unit = nullptr;
      cell.flags &= ~kCellSelectionMarks;
    }
  }
}

void cSeaBattleMenu::RefillSelections() {
  // A round without both choices ends the whole battle: a side that lost its
  // choice to a move or a retreat gets a new draw.
  if (!battle_.finished && (battle_.selectedA == nullptr || battle_.selectedB == nullptr)) {
    SelectRandomShips(battle_);
  }
}

void cSeaBattleMenu::UpdateTurnButtons() {
  for (int id : {kNextTurn, kExecuteShot, kAutoEnd, kRetreat}) SetControlEnabled(id, false);
  SetControlEnabled(kClose, true);
}

void cSeaBattleMenu::ContinueAutoBattle() {
  if (battle_.automatic) OnGUIEvent(GuiEventButtonClicked, kAutoEnd, GetControl(kAutoEnd));
}

void cSeaBattleMenu::ClearCell(int column, int row) {
  if (column < 0 || column >= kGrid || row < 0 || row >= kGrid) return;
  sHex& cell = Cell(column, row);
  cell.unit = nullptr;
}

void cSeaBattleMenu::ClearCellFlags(std::uint32_t bits) {
  for (sHex& cell : cells_) cell.flags &= ~bits;
}

void cSeaBattleMenu::MarkTargets(const cJednostkaMorska& ship) {
  ClearCellFlags(kCellMoveTarget);
  if (!ship.mayAct) return;
  const bool carrier = ship.type == kAircraftCarrier;
  int first = 0;
  int last = 0;
  if (ship.battleColumn >= kEnemyFirstColumn) {
    first = 17;
    last = carrier ? 25 : 29;
  } else {
    first = carrier ? 1 : 5;
    last = 13;
  }
  for (int r = 0; r <= 28; r += 2) {
    for (int c = first; c <= last; c += 2) {
      sHex& cell = Cell(c, c % 4 == 3 ? r + 1 : r);
      if (cell.unit == nullptr) cell.flags |= kCellMoveTarget;
    }
  }
}

void cSeaBattleMenu::StartSteps() {
  for (int id : {kExecuteShot, kNextTurn, kAutoEnd, kRetreat}) SetControlEnabled(id, false);
  ClearCellFlags(kCellSelectionMarks);
}

void cSeaBattleMenu::Close() {
  CurrentMenu = nullptr;
  // Left at the battle's zoom, the map would pick hexes at another scale than it draws them.
  gDisplayedScale = mapDisplayedScale_;
  gTargetScale = mapTargetScale_;
  ChooseAppearanceForZoom();
  InstallGameCallbackSet();
  if (gGame != nullptr) gGame->SetGameState(kGameSeaBattles);
  // This handler is still running: the menu goes after the dispatch.
  CDXUTDialog::DestroyAfterDispatch(std::unique_ptr<CDXUTDialog>(this));
}

void cSeaBattleMenu::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  switch (controlId) {
    case kExecuteShot:
      RefreshLabels();
      return;
    case kNextTurn:
      StartSteps();
      battle_.RequestStepB();
      return;
    case kAutoEnd:
      StartSteps();
      battle_.RequestStepA();
      return;
    case kRetreat: {
      // The player's selected ship, which the last click need not show: a
      // click on an empty cell leaves the selection and the button as they were.
      cJednostkaMorska* ship = battle_.firstSideHuman != 0 ? battle_.selectedA : battle_.selectedB;
      if (ship != nullptr && OwnerIsHuman(*ship) && ship->mayAct != 0 && !battle_.finished) {
        TryRetreatFromSeaBattle(battle_, *ship);
        ClearCellsOfDepartedShips();
        RefillSelections();
      }
      clicked_ = previous_ = nullptr;
      SetControlEnabled(kRetreat, false);
      ClearCellFlags(kCellSelectionMarks);
      clickMode_ = 0;
      ShowLog();
      return;
    }
    case kClose:
      Close();
      return;
    default:
      return;
  }
}

void cSeaBattleMenu::OnFrameMove(Graphics&, double time, float elapsed) {
  if (battle_.stepRequestA) {
    battle_.stepTimer -= elapsed;
    if (battle_.stepTimer >= 0.0f) {
      SetField(kTimeout, Format(u"%.1f", static_cast<double>(battle_.stepTimer)));
    } else {
      OnGUIEvent(GuiEventButtonClicked, kExecuteShot, GetControl(kExecuteShot));
      if (battle_.battleTurnsLeft <= 0 || battle_.finished) {
        battle_.stepRequestA = 0;
        SetField(kTimeout, u"-");
      }
      battle_.stepTimer = -1.0f;
    }
  }
  if (battle_.stepRequestB) {
    battle_.stepTimer -= elapsed;
    if (battle_.stepTimer >= 0.0f) {
      SetField(kTimeout, Format(u"%.1f", static_cast<double>(battle_.stepTimer)));
    } else {
      const int turnsBefore = battle_.battleTurnsLeft;
      OnGUIEvent(GuiEventButtonClicked, kExecuteShot, GetControl(kExecuteShot));
      // A sunk side ends the battle with turns still left: the step ends there too.
      if (battle_.battleTurnsLeft != turnsBefore || battle_.finished) {
        battle_.stepRequestB = 0;
        const bool more = battle_.battleTurnsLeft > 0 && !battle_.finished;
        for (int id : {kNextTurn, kExecuteShot, kAutoEnd}) SetControlEnabled(id, more);
        SetField(kTimeout, u"-");
      }
      battle_.stepTimer = -1.0f;
    }
  }

  const HintBox& pointer = GetHintBox();
  const int x = pointer.pointer_x();
  const int y = pointer.pointer_y();
  if (GetControlAtPoint(x, y) == nullptr) {
    const sGuiLayoutEntry& e = sGuiLayoutTable[kScrollZoneEntry];
    const int zone[4] = {e.x, e.y, e.width, e.height};
    const sScrollStep step = ComputeScrollStep(x, y, gScreenWidth, gScreenHeight, 0, zone, time - lastTimeX_,
                                               time - lastTimeY_, gDisplayedScale);
    if (step.moves) ScrollView(step.dx, step.dy, kEdgeScrollFactor);
  }
  UpdateViewTransform(elapsed);
  lastTimeX_ = lastTimeY_ = time;
}

void cSeaBattleMenu::ScrollView(float dx, float dy, float factor) {
  targetViewX_ = std::clamp(targetViewX_ + dx, static_cast<float>(kMinView), static_cast<float>(maxViewX_));
  targetViewY_ = std::clamp(targetViewY_ + dy, static_cast<float>(kMinView), static_cast<float>(maxViewY_));
  velocityX_ = (targetViewX_ - viewX_) * factor;
  velocityY_ = (targetViewY_ - viewY_) * factor;
  if (velocityX_ > 0.0f && velocityX_ < 0.1f) velocityX_ = 0.1f;
  if (velocityX_ < 0.0f && velocityX_ > -0.1f) velocityX_ = -0.1f;
  if (velocityY_ > 0.0f && velocityY_ < 0.1f) velocityY_ = 0.05f;
  if (velocityY_ < 0.0f && velocityY_ > -0.1f) velocityY_ = -0.1f;
}

void cSeaBattleMenu::UpdateViewTransform(float elapsed) {
  const float step = kZoomSpeed * elapsed;
  if (gDisplayedScale < gTargetScale) {
    gDisplayedScale = std::min(gTargetScale, gDisplayedScale + step);
  } else if (gDisplayedScale > gTargetScale) {
    gDisplayedScale = std::max(gTargetScale, gDisplayedScale - step);
  }
  const float zoom = gDisplayedScale > 0.0f ? gDisplayedScale : kStartZoom;
  viewTransform_ = Matrix2D::Scaling(zoom, zoom);

  const HintBox& pointer = GetHintBox();
  if (pointer.right_held()) {
    viewX_ = targetViewX_ - static_cast<float>(pointer.right_drag_x()) / zoom;
    viewY_ = targetViewY_ - static_cast<float>(pointer.right_drag_y()) / zoom;
    velocityX_ = velocityY_ = 0.0f;
    return;
  }
  const auto approach = [elapsed](float& current, float target, float velocity) {
    if (velocity == 0.0f || current == target) return;
    const float next = current + velocity * elapsed;
    current = (velocity > 0.0f) ? std::min(next, target) : std::max(next, target);
  };
  approach(viewX_, targetViewX_, velocityX_);
  approach(viewY_, targetViewY_, velocityY_);
}

bool cSeaBattleMenu::InPlayerHalf(int column) const {
  return battle_.firstSideHuman ? column < kEnemyFirstColumn : column >= kEnemyFirstColumn;
}

void cSeaBattleMenu::OnMouse(bool, bool, bool, bool, bool, int wheel, int x, int y) {
  if (IsPbemGame()) return;
  const bool overControl = GetControlAtPoint(x, y) != nullptr;
  if (wheel != 0 && !overControl) {
    const float least = std::max(static_cast<float>(gScreenWidth) / kGridWidth,
                                 static_cast<float>(gScreenHeight) / kGridHeight);
    gTargetScale = std::clamp(gTargetScale + static_cast<float>(wheel) / 24.0f / 100.0f, least, 1.0f);
  }
  if (overControl || x < 0 || y < 0 || x >= gScreenWidth || y >= gScreenHeight) return;
  const float zoom = gDisplayedScale > 0.0f ? gDisplayedScale : kStartZoom;
  const sPickedHex picked = PickHexAt(x, y, gScreenWidth, gScreenHeight, zoom, viewX_, viewY_);
  const HintBox& pointer = GetHintBox();
  const bool idle = !battle_.stepRequestA && !battle_.stepRequestB && battle_.battleTurnsLeft > 0;
  if (pointer.right_pressed_now() && idle) {
    clicked_ = previous_ = nullptr;
    clickMode_ = 0;
    SetControlEnabled(kRetreat, false);
    ClearCellFlags(kCellSelectionMarks);
    return;
  }
  if (!pointer.left_released_now() || !idle) return;
  if (picked.column < 0 || picked.column >= kGrid || picked.row < 0 || picked.row >= kGrid) return;
  ClickCell(Cell(picked.column, picked.row));
}

void cSeaBattleMenu::ClickCell(sHex& cell) {
  previous_ = clicked_;
  clicked_ = &cell;
  auto* ship = dynamic_cast<cJednostkaMorska*>(cell.unit);
  if (ship != nullptr && InPlayerHalf(cell.x)) {
    ClickOwnShip(cell, *ship, cell.x < kEnemyFirstColumn);
  } else if (ship != nullptr) {
    ClickEnemyShip(cell, *ship);
  } else {
    ClickEmptyCell(cell);
  }
}

void cSeaBattleMenu::ClickOwnShip(sHex& cell, cJednostkaMorska& ship, bool firstSide) {
  const bool canAct = OwnerIsHuman(ship) && ship.mayAct != 0;
  SetControlEnabled(kRetreat, canAct);
  if (!canAct) {
    clicked_ = previous_;
    return;
  }
  if (firstSide) {
    if (previous_ != nullptr) previous_->flags &= ~kCellSelectedShip;
    battle_.SelectShipSideA(ship.id);
  } else {
    ClearCellFlags(kCellSelectedShip);
    battle_.SelectShipSideB(ship.id);
  }
  cell.flags |= kCellSelectedShip;
  clickMode_ = 1;
  MarkTargets(ship);
}

void cSeaBattleMenu::ClickEnemyShip(sHex& cell, cJednostkaMorska& ship) {
  SetControlEnabled(kRetreat, false);
  const bool playerFirst = battle_.firstSideHuman != 0;
  const cJednostkaMorska* own = playerFirst ? battle_.selectedA : battle_.selectedB;
  const cJednostkaMorska* other = playerFirst ? battle_.selectedB : battle_.selectedA;
  if (!ship.targetable || own == nullptr || IsTransport(own)) return;
  const auto chooseTarget = [&] {
    if (cell.x < kEnemyFirstColumn) {
      battle_.SelectShipSideA(ship.id);
    } else {
      battle_.SelectShipSideB(ship.id);
    }
  };
  if (clickMode_ == 1) {
    if (IsTransport(other)) return;
    chooseTarget();
    ClearCellFlags(kCellMoveTarget);
    cell.flags |= kCellChosenTarget;
    clickMode_ = 2;
  } else if (clickMode_ == 2) {
    // The shot of an ended battle is never fired.
    if (battle_.finished) return;
    if (&cell == previous_) {
      ClearCellFlags(kCellSelectionMarks);
      RefreshLabels();
      clickMode_ = 0;
    } else {
      ClearCellFlags(kCellChosenTarget);
      cell.flags |= kCellChosenTarget;
      chooseTarget();
    }
  }
}

void cSeaBattleMenu::ClickEmptyCell(sHex& cell) {
  if (clickMode_ != 1 || previous_ == nullptr || (cell.flags & kCellMoveTarget) == 0) return;
  if ((cell.x < kEnemyFirstColumn) != (previous_->x < kEnemyFirstColumn)) return;
  auto* ship = dynamic_cast<cJednostkaMorska*>(previous_->unit);
  if (ship == nullptr || !ship->mayAct) return;
  ClearCellFlags(kCellSelectedShip);
  ship->battleColumn = cell.x;
  ship->battleRow = cell.y;
  cell.unit = ship;
  previous_->unit = nullptr;
  ship->mayAct = 0;
  clickMode_ = 0;
  MarkTargets(*ship);
  // The ship has acted: it is no longer its side's choice.
  if (battle_.selectedA == ship) battle_.selectedA = nullptr;
  if (battle_.selectedB == ship) battle_.selectedB = nullptr;
  RefillSelections();
  SetControlEnabled(kRetreat, false);
}

void cSeaBattleMenu::DrawGrid() {
  SpriteBatch* sprite = GetGuiResourceCache().sprite();
  std::unique_ptr<SpriteBatch> own;
  if (sprite == nullptr) {
    AppFrame* frame = CurrentFrame();
    if (frame == nullptr) return;
    own = frame->graphics().CreateSpriteBatch();
    sprite = own.get();
  }
  const Matrix2D saved = sprite->GetTransform();
  const float zoom = viewTransform_.m11 > 0.0f ? viewTransform_.m11 : kStartZoom;
  sprite->SetTransform(viewTransform_);
  sprite->Begin(kSpriteAlphaBlend | kSpriteSortDepthBackToFront);
  const float ox = static_cast<float>(gScreenWidth) / (2.0f * zoom) - viewX_;
  const float oy = static_cast<float>(gScreenHeight) / (2.0f * zoom) - viewY_;
  for (int row = 0; row < kGrid; ++row) {
    for (int column = 0; column < kGrid; ++column) {
      const PointF p{ox + static_cast<float>(kColumnStep * column),
                     oy + static_cast<float>(kRowStep * row + (column % 2 == 0 ? kHalfRow : 0))};
      DrawHexTerrainSprite(*sprite, Cell(column, row), p, kCellDepth);
    }
  }
  sprite->End();
  sprite->SetTransform(saved);
}

void cSeaBattleMenu::Render(float elapsed) {
  if (!GetVisible()) return;
  DrawGrid();
  OnRender(elapsed);
}

cSeaBattleMenu* CurrentSeaBattleMenu() { return dynamic_cast<cSeaBattleMenu*>(CurrentMenu); }

void OpenPendingSeaBattleScreen() {
  // Called every frame: the logged lock is taken only when a battle waits, or
  // an idle game would write two lines a frame.
  if (gPendingBattle.load() == nullptr) return;
  GameLockGuard lock(kThisFile, __LINE__);
  sSeaBattle* battle = gPendingBattle.exchange(nullptr);
  if (battle == nullptr) return;
  auto* menu = new cSeaBattleMenu(*battle);
  CurrentMenu = menu;
  gOpenedMenu = menu;
  menu->ContinueAutoBattle();
}

void ShowSeaBattleScreen(sSeaBattle& battle) {
  if (!IsWorkerThread()) {
    // Without a worker nobody waits: the battle is played out here.
    RunSeaBattleHeadless(battle);
    return;
  }
  {
    GameLockGuard lock(kThisFile, __LINE__);
    gPendingBattle.store(&battle);
    gOpenedMenu = nullptr;
  }
  while (true) {
    // Polled every 200 ms, in short sleeps so a stop is seen at once.
    bool stop = false;
    for (int slept = 0; slept < kPollMs && !(stop = MustStop()); slept += kPollStepMs) {
      std::this_thread::sleep_for(std::chrono::milliseconds(kPollStepMs));
    }
    GameLockGuard lock(kThisFile, __LINE__);
    if (stop) {
      // The battle lives on this thread's stack: its screen goes with it.
      sSeaBattle* waiting = &battle;
      gPendingBattle.compare_exchange_strong(waiting, nullptr);
      if (gOpenedMenu != nullptr && CurrentMenu == gOpenedMenu) DeleteCurrentMenu();
      gOpenedMenu = nullptr;
      return;
    }
    if (gPendingBattle.load() != &battle && CurrentMenu != gOpenedMenu) {
      gOpenedMenu = nullptr;
      return;
    }
  }
}

}  // namespace tr
