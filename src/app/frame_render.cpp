#include "app/frame_render.h"

#include <utility>

#include "app/menu.h"
#include "app/modal_stack.h"
#include "dialogs/dialog_base.h"
#include "foundation/game_lock.h"
#include "gui/hint_box.h"
#include "platform/graphics.h"
#include "world/gra.h"

namespace tr {
namespace {

std::function<void(Graphics&, float)>& MapRenderer() {
  static std::function<void(Graphics&, float)> renderer;
  return renderer;
}

bool GameShowsMap() {
  if (gGame == nullptr) return false;
  const eGameState state = gGame->GetGameState();
  return state != kGameLoading && state != kGameLoaded && state != kGameSeaBattleScreen;
}

}  // namespace

void SetMapRenderer(std::function<void(Graphics&, float)> renderer) { MapRenderer() = std::move(renderer); }

void OnFrameRender(Graphics& device, double, float elapsed) {
  GameLockGuard lock;
  device.Clear(0);
  if (GameShowsMap()) {
    if (auto& render = MapRenderer()) render(device, elapsed);
  }
  if (CurrentMenu != nullptr) CurrentMenu->Render(elapsed);
  // The worker cannot change the stack while the lock is held.
  for (std::size_t i = 0; i < ModalDialogStack.size(); ++i) {
    cDialog* dialog = ModalDialogStack[i];
    if (dialog->id >= 0 && dialog->GetVisible()) dialog->Render(elapsed);
  }
  GetHintBox().Update();
  // Under the lock: the worker may free a dialog's textures once it is released.
  device.FinishFrame();
}

}  // namespace tr
