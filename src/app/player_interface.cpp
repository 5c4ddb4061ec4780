#include "app/player_interface.h"

#include <array>

#include "app/game_frame_move.h"
#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "dialogs/date_caption.h"
#include "dialogs/minimap_panel.h"
#include "dialogs/panel_informacyjny.h"
#include "world/gra.h"

namespace tr {
namespace {

// The four panels the computer's phase puts away, in their order.
std::array<cPanel*, 4> SidePanels() {
  return {dynamic_cast<cPanel*>(gHexPanel), dynamic_cast<cPanel*>(gUnitPanel), dynamic_cast<cPanel*>(gAttackPanel),
          dynamic_cast<cPanel*>(gDiplomacyPanel)};
}

// A panel waiting for a small dialog that the hand-over closes would wait for good.
void ForgetPendingActions() {
  for (cDialog* dialog : {gInfoPanel, gDiplomacyPanel, gHexPanel, gUnitPanel, gAttackPanel, gMinimapPanel}) {
    if (auto* panel = dynamic_cast<cPanel*>(dialog)) panel->ForgetPendingAction();
  }
}

void RefreshSummary() {
  if (cInfoPanel* info = GetInfoPanel()) info->Update();
  UpdateDateCaption(GetMinimapPanel());
}

}  // namespace

void SetPanelCollapsed(cPanel* panel, bool collapsed) {
  if (panel == nullptr) return;
  panel->SetMinimized(collapsed);
  if (collapsed) panel->ForgetControlUnderMouse();
}

void SuspendPlayerPanels() {
  RefreshSummary();
  // No action of the player's can be taken until the panels come back.
  ClearStatusBarHint();
  if (cInfoPanel* info = GetInfoPanel()) info->Disable();
  for (cPanel* panel : SidePanels()) {
    if (panel == nullptr) continue;
    panel->rememberedCollapsed = panel->IsCollapsed() ? 1 : 0;
    SetPanelCollapsed(panel, true);
  }
  ForgetPendingActions();
}

void ResumePlayerPanels() {
  RefreshSummary();
  if (cInfoPanel* info = GetInfoPanel()) {
    info->Enable();
    // What the computer's phase was doing ("Determining sea battles...") is over.
    info->SetStatusText(u"");
  }
  for (cPanel* panel : SidePanels()) {
    if (panel != nullptr) SetPanelCollapsed(panel, panel->rememberedCollapsed != 0);
  }
  ForgetPendingActions();
}

void SuspendPlayerInterface() {
  SuspendPlayerPanels();
  if (TopDialog != nullptr) PopModalDialogs(-1);
  if (gGame != nullptr) gGame->SetGameState(kGameComputerTurn);
}

void ResumePlayerInterface() {
  ResumePlayerPanels();
  if (gGame != nullptr) gGame->SetGameState(kGameHumanIdle);
}

}  // namespace tr
