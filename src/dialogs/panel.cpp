#include "dialogs/panel.h"

#include "app/input_routing.h"
#include "foundation/gui_layout.h"
#include "gui/control.h"
#include "gui/frame.h"
#include "gui/hint_box.h"

namespace tr {

namespace {
constexpr int kPanelFrameStyle = 1;
}  // namespace

cPanel::cPanel(int panelId, const Rect& xywh) : cDialog(panelId) {
  if (panelId > 0) AddFrame(panelId, xywh.left, xywh.top, xywh.right, xywh.bottom, kPanelFrameStyle);
  SetCallback(&PanelGuiEventCallback);
}

void cPanel::Render(float elapsed) {
  if (!IsCollapsed()) OnRender(elapsed);
}

void cPanel::OnGUIEvent(std::uint32_t, int, CDXUTControl*) {}
void cPanel::OnKeyboard(std::uint32_t, bool, bool) {}

void cPanel::MoveLayoutRange(int first, int last, int dx, int dy) {
  for (int id = first; id <= last; ++id) {
    if (id < 0 || id >= kGuiLayoutEntryCount) continue;
    sGuiLayoutEntry& entry = sGuiLayoutTable[static_cast<std::size_t>(id)];
    entry.x += dx;
    entry.y += dy;
    if (CDXUTControl* control = GetControl(id)) control->MoveBy(dx, dy);
  }
}

void MovePanelOfToggle(int iconId, int dx, int dy) {
  cDialog* panel = nullptr;
  switch (iconId) {
    case 350: panel = gUnitPanel; break;
    case 400: panel = gHexPanel; break;
    case 450: panel = gAttackPanel; break;
    case 600: panel = gDiplomacyPanel; break;
    default: return;
  }
  if (auto* moved = dynamic_cast<cPanel*>(panel)) moved->Move(dx, dy);
}

void DestroyGamePanels() {
  // The hint box may follow a sea node of the game that goes with its panels.
  GetHintBox().SetHoverable(nullptr);
  for (cDialog** panel : {&gInfoPanel, &gUnitPanel, &gAttackPanel, &gDiplomacyPanel, &gHexPanel, &gMinimapPanel}) {
    if (*panel != nullptr) (*panel)->Destroy();
    *panel = nullptr;
  }
}

}  // namespace tr
