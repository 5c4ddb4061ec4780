// CDXUTCheckBox and CDXUTRadioButton: a box drawn checked or not, with a label
// to its right; radio buttons of one group uncheck one another.
#pragma once

#include "gui/button.h"

namespace tr {

class CDXUTCheckBox : public CDXUTButton {
 public:
  explicit CDXUTCheckBox(CDXUTDialog* dialog = nullptr);

  bool HandleKeyboard(std::uint32_t msg, WParam wparam, LParam lparam) override;
  bool HandleMouse(std::uint32_t msg, int x, int y, WParam wparam, LParam lparam) override;
  void OnHotkey() override;
  bool ContainsPoint(int x, int y) override;
  void UpdateRects() override;
  void Render(float elapsed) override;

  // Sends GuiEventCheckChanged when asked: with sound when by the user, else as a non-user event.
  virtual void SetCheckedState(bool checked, bool by_user, bool send_event);
  void SetChecked(bool checked) { SetCheckedState(checked, false, true); }
  bool GetChecked() const { return checked_; }
  const Rect& GetBoxRect() const { return box_rect_; }
  const Rect& GetTextRect() const { return text_rect_; }

 protected:
  // What a completed press (mouse, space bar) does.
  virtual void OnRelease();

  bool checked_ = false;
  Rect box_rect_;
  Rect text_rect_;
};

class CDXUTRadioButton : public CDXUTCheckBox {
 public:
  explicit CDXUTRadioButton(CDXUTDialog* dialog = nullptr);

  void OnHotkey() override;
  void SetCheckedState(bool checked, bool by_user, bool send_event) override {
    SetCheckedState(checked, true, by_user, send_event);
  }
  // With clear_group, checking first unchecks the whole group.
  void SetCheckedState(bool checked, bool clear_group, bool by_user, bool send_event);

  void SetButtonGroup(int group) { button_group_ = group; }
  int GetButtonGroup() const { return button_group_; }

 protected:
  void OnRelease() override;

  int button_group_ = 0;
};

}  // namespace tr
