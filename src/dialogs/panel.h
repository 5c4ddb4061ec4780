// cPanel: the base of the six map-side panels. A panel is a dialog that
// never stands on the modal stack; it is collapsed while its dialog is
// minimised, and then draws nothing while still owning its controls. It
// remembers its collapsed state over the computer's phase.
#pragma once

#include <cstdint>

#include "dialogs/dialog_base.h"

namespace tr {

class cPanel : public cDialog {
 public:
  // With an id above 0 the panel gets a style-1 frame over (x, y, width,
  // height); its GUI events go to the panels' shared callback.
  cPanel(int id, const Rect& xywh);

  void Render(float elapsed) override;
  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;

  bool IsCollapsed() const { return GetMinimized(); }
  // Drops an action that waits for the answer of a small dialog; the hand-over
  // to and from the computer closes every dialog.
  virtual void ForgetPendingAction() {}
  // Moves the panel with its dragged toggle icon: its layout records and
  // controls by (dx, dy); a panel without such a range stays.
  virtual void Move(int /*dx*/, int /*dy*/) {}

  // The collapsed state saved when the computer's phase begins.
  std::uint8_t rememberedCollapsed = 1;

 protected:
  // Adds (dx, dy) to the layout records of the ids first..last, and moves the
  // first control of each id that the panel has.
  void MoveLayoutRange(int first, int last, int dx, int dy);
};

// The layout-editing hook's move of the panel whose toggle icon was dragged.
void MovePanelOfToggle(int iconId, int dx, int dy);

// Frees every panel the game created and clears the six panel pointers and
// the hint box's game object.
void DestroyGamePanels();

}  // namespace tr
