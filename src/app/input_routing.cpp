#include "app/input_routing.h"

#include "app/frame_render.h"
#include "app/game_frame_move.h"
#include "app/menu.h"
#include "app/modal_stack.h"
#include "dialogs/dialog_base.h"
#include "gui/dispatch_scope.h"
#include "gui/hint_box.h"
#include "platform/frame.h"
#include "world/gra.h"

namespace tr {

cDialog* gInfoPanel = nullptr;
cDialog* gDiplomacyPanel = nullptr;
cDialog* gHexPanel = nullptr;
cDialog* gUnitPanel = nullptr;
cDialog* gAttackPanel = nullptr;
cDialog* gMinimapPanel = nullptr;

namespace {

sGameScreenHandlers& Handlers() {
  static sGameScreenHandlers handlers;
  return handlers;
}

bool TopDialogVisible() { return TopDialog != nullptr && TopDialog->GetVisible(); }

constexpr cDialog** kPanels[] = {&gDiplomacyPanel, &gHexPanel, &gUnitPanel, &gAttackPanel, &gMinimapPanel, &gInfoPanel};

// A mouse message at a point the visible top dialog covers with one of its
// controls (its frame among them): the panels lie under it there, out of
// sight, so they must neither take the click nor show a hint for it.
bool OverTopDialog(std::uint32_t msg, LParam lparam) {
  if (msg < WM_MOUSEFIRST || msg > WM_MOUSELAST || !TopDialogVisible() || TopDialog->GetMinimized()) return false;
  const int x = XFromLParam(lparam);
  const int y = YFromLParam(lparam);
  for (const auto& control : TopDialog->Controls()) {
    if (!control->GetVisible()) continue;
    const Rect box = TopDialog->ToScreen(control->GetBoundingBox());
    if (x >= box.left && x < box.right && y >= box.top && y < box.bottom) return true;
  }
  return false;
}

bool IsInputMessage(std::uint32_t msg) {
  return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_KEYDOWN && msg <= WM_IME_COMPOSITION);
}

}  // namespace

void SetGameScreenHandlers(sGameScreenHandlers handlers) { Handlers() = std::move(handlers); }

const sGameScreenHandlers& GameScreenHandlers() { return Handlers(); }

std::int64_t OnWindowMessage(std::uint32_t msg, WParam wparam, LParam lparam, bool* noFurtherProcessing) {
  // A dialog or menu closed by its own control goes only after this message.
  DispatchScope scope;
  bool consumed = false;
  const bool overTopDialog = OverTopDialog(msg, lparam);
  if (overTopDialog) {
    for (cDialog** panel : kPanels) {
      if (*panel != nullptr) (*panel)->ForgetControlUnderMouse();
    }
  }
  if (TopDialogVisible()) {
    consumed = TopDialog->MsgProc(msg, wparam, lparam);
    *noFurtherProcessing = consumed;
    if (consumed) return 0;
    // A box over a menu is modal: the menu behind it takes no click or key,
    // so no second box can be opened under the first.
    if (CurrentMenu != nullptr && IsInputMessage(msg)) return 0;
  }
  if (CurrentMenu != nullptr) {
    *noFurtherProcessing = CurrentMenu->MsgProc(msg, wparam, lparam);
    return 0;
  }
  if (gGame == nullptr || gGame->GetGameState() == kGameLoaded || overTopDialog) return 0;
  for (cDialog** slot : kPanels) {
    cDialog* panel = *slot;
    if (panel == nullptr) continue;
    *noFurtherProcessing = panel->MsgProc(msg, wparam, lparam);
    if (*noFurtherProcessing) return 0;
  }
  return 0;
}

void MenuFrameMoveCallback(Graphics& device, double time, float elapsed) {
  DispatchScope scope;
  if (CurrentMenu != nullptr) CurrentMenu->OnFrameMove(device, time, elapsed);
}

void MenuKeyboardCallback(std::uint32_t key, bool down, bool alt) {
  DispatchScope scope;
  if (CurrentMenu != nullptr) CurrentMenu->OnKeyboard(key, down, alt);
}

void MenuMouseCallback(bool left, bool right, bool middle, bool side1, bool side2, int wheel, int x, int y) {
  GetHintBox().OnMouse(left, right, x, y);
  DispatchScope scope;
  if (CurrentMenu != nullptr && !TopDialogVisible()) {
    CurrentMenu->OnMouse(left, right, middle, side1, side2, wheel, x, y);
  }
}

void MenuGuiEventCallback(std::uint32_t event, int controlId, CDXUTControl* control) {
  DispatchScope scope;
  if (CurrentMenu != nullptr) CurrentMenu->OnGUIEvent(event, controlId, control);
}

void GameFrameMove(Graphics& device, double time, float elapsed) {
  DispatchScope scope;
  MoveGameFrame(device, time, elapsed);
}

void GameKeyboardCallback(std::uint32_t key, bool down, bool alt) {
  DispatchScope scope;
  if (TopDialogVisible()) {
    // An arrow let go while a dialog has the keys would otherwise scroll the map on for good.
    if (!down && key >= VK_LEFT && key <= VK_DOWN) gArrowKeys &= static_cast<std::uint16_t>(~(1u << (key - VK_LEFT)));
    TopDialog->OnKeyboard(key, down, alt);
  } else if (auto& keyboard = Handlers().keyboard) {
    keyboard(key, down, alt);
  }
}

void GameMouseCallback(bool left, bool right, bool middle, bool side1, bool side2, int wheel, int x, int y) {
  GetHintBox().OnMouse(left, right, x, y);
  DispatchScope scope;
  if (TopDialogVisible()) {
    TopDialog->OnMouse(left, right, middle, side1, side2, wheel, x, y);
  } else if (auto& mouse = Handlers().mouse) {
    mouse(left, right, middle, side1, side2, wheel, x, y);
  }
}

void DialogGuiEventCallback(std::uint32_t event, int controlId, CDXUTControl* control) {
  DispatchScope scope;
  if (TopDialogVisible()) TopDialog->OnGUIEvent(event, controlId, control);
}

void PanelGuiEventCallback(std::uint32_t event, int controlId, CDXUTControl* control) {
  DispatchScope scope;
  // Every panel hears the event, also after one has acted on it.
  for (cDialog* panel : {gUnitPanel, gHexPanel, gAttackPanel, gDiplomacyPanel}) {
    if (panel != nullptr) panel->OnGUIEvent(event, controlId, control);
  }
}

void InfoPanelGuiEventCallback(std::uint32_t event, int controlId, CDXUTControl* control) {
  DispatchScope scope;
  if (auto& command = Handlers().command) command(event, controlId, control);
}

void InstallMenuCallbackSet() {
  AppFrame* frame = CurrentFrame();
  if (frame == nullptr) return;
  frame->SetFrameMoveCallback(&MenuFrameMoveCallback);
  frame->SetMouseCallback(&MenuMouseCallback, true);
  frame->SetKeyboardCallback(&MenuKeyboardCallback);
  frame->SetFrameRenderCallback(&OnFrameRender);
}

void InstallPausedCallbackSet() {
  AppFrame* frame = CurrentFrame();
  if (frame == nullptr) return;
  frame->SetMouseCallback(&MenuMouseCallback, true);
  frame->SetKeyboardCallback(&MenuKeyboardCallback);
  frame->SetFrameMoveCallback({});
}

void InstallGameCallbackSet() {
  // Arrows let go under the pause menu were never seen here.
  gArrowKeys = 0;
  AppFrame* frame = CurrentFrame();
  if (frame == nullptr) return;
  frame->SetMouseCallback(&GameMouseCallback, true);
  frame->SetKeyboardCallback(&GameKeyboardCallback);
  frame->SetFrameMoveCallback(&GameFrameMove);
}

}  // namespace tr
