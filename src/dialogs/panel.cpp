#include "dialogs/panel.h"

#include "app/input_routing.h"
#include "gui/frame.h"

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

void DestroyGamePanels() {
  for (cDialog** panel : {&gInfoPanel, &gUnitPanel, &gAttackPanel, &gDiplomacyPanel, &gHexPanel, &gMinimapPanel}) {
    if (*panel != nullptr) (*panel)->Destroy();
    *panel = nullptr;
  }
}

}  // namespace tr
