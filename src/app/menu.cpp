#include "app/menu.h"

#include <memory>

#include "app/input_routing.h"
#include "foundation/console_log.h"
#include "gui/hint_box.h"

namespace tr {

cMenu* CurrentMenu = nullptr;

void DeleteCurrentMenu() {
  cMenu* old = CurrentMenu;
  CurrentMenu = nullptr;
  // A handler of the old menu may be the one replacing it: it goes after the dispatch.
  if (old != nullptr) CDXUTDialog::DestroyAfterDispatch(std::unique_ptr<CDXUTDialog>(old));
}

cMenu::cMenu() {
  if (CurrentMenu != nullptr) {
    LogLine(u"-- Deleting old menu");
    DeleteCurrentMenu();
  }
  CurrentMenu = nullptr;
  HintBox& hints = GetHintBox();
  hints.SetText({});
  hints.SetControl(nullptr);
  hints.SetHoverable(nullptr);
  SetVisible(false);
  LogLine(u"-- Setting callbacks");
  SetCallback(&MenuGuiEventCallback);
  InstallMenuCallbackSet();
}

void cMenu::OnGUIEvent(std::uint32_t, int, CDXUTControl*) {}
void cMenu::OnKeyboard(std::uint32_t, bool, bool) {}
void cMenu::OnMouse(bool, bool, bool, bool, bool, int, int, int) {}
void cMenu::OnFrameMove(Graphics&, double, float) {}
void cMenu::Render(float) {}

}  // namespace tr
