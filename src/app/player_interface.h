// Handing the game screen to the computer's phase and back: the information
// panel and the date caption refreshed, the information panel disabled or
// enabled, and the hex, unit, attack and diplomacy panels put away or given
// back the collapsed state each had before.
#pragma once

namespace tr {

class cPanel;

// Collapses or expands the panel; a collapsed panel forgets the control under the mouse.
void SetPanelCollapsed(cPanel* panel, bool collapsed);

// Before the computer's phase: panels put away, every modal dialog closed, game state 9.
void SuspendPlayerInterface();
// At the start of a human phase: panels restored, game state 7.
void ResumePlayerInterface();

// The panel part of each, without the dialogs and the game state; the
// worker's hand-over to a human country runs the second under the game lock.
void SuspendPlayerPanels();
void ResumePlayerPanels();

}  // namespace tr
