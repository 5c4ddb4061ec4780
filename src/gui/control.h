// The base of every control a dialog owns: geometry, state flags, hint text,
// its skin elements, and the virtual operations the dialog drives.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gui/gui_types.h"
#include "gui/skin_element.h"
#include "platform/codes.h"

namespace tr {

class CDXUTDialog;

class CDXUTControl {
 public:
  explicit CDXUTControl(CDXUTDialog* dialog = nullptr);
  virtual ~CDXUTControl();
  CDXUTControl(const CDXUTControl&) = delete;
  CDXUTControl& operator=(const CDXUTControl&) = delete;

  virtual HResult OnInit() { return S_OK; }
  // Forgets hover and focus and restarts every element's fade from hidden.
  virtual void Refresh();
  virtual void Render(float elapsed) { (void)elapsed; }

  virtual bool MsgProc(std::uint32_t msg, WParam wparam, LParam lparam);
  virtual bool HandleKeyboard(std::uint32_t msg, WParam wparam, LParam lparam);
  virtual bool HandleMouse(std::uint32_t msg, int x, int y, WParam wparam, LParam lparam);

  virtual bool CanHaveFocus() { return false; }
  virtual void OnFocusIn() { has_focus_ = true; }
  virtual void OnFocusOut() { has_focus_ = false; }
  virtual void OnMouseEnter() { mouse_over_ = true; }
  virtual void OnMouseLeave() { mouse_over_ = false; }
  virtual void OnHotkey() {}

  // Left and top inclusive, right and bottom exclusive.
  virtual bool ContainsPoint(int x, int y) { return bounding_box_.Contains(x, y); }

  virtual void SetEnabled(bool enabled) { enabled_ = enabled; }
  virtual bool GetEnabled() { return enabled_; }
  virtual void SetVisible(bool visible) { visible_ = visible; }
  virtual bool GetVisible() { return visible_; }
  // The normal-state text colour of element 0.
  virtual void SetTextColor(std::uint32_t color);
  virtual void UpdateRects();

  // Copies the element into slot index, growing the element list as needed.
  HResult SetElement(int index, const sSkinElement* element);
  // Null for a slot the control does not have.
  sSkinElement* GetElement(int index);
  int GetElementCount() const { return static_cast<int>(elements_.size()); }

  // Moves by (dx, dy) and asks the layout hook; a refused move is undone.
  bool MoveBy(int dx, int dy);

  void SetHint(std::u16string_view hint) { hint_.assign(hint); }
  const std::u16string& GetHint() const { return hint_; }

  int GetID() const { return id_; }
  void SetID(int id) { id_ = id; }
  eControlType GetType() const { return type_; }
  CDXUTDialog* GetDialog() const { return dialog_; }
  int GetIndex() const { return index_; }
  void SetIndex(int index) { index_ = index; }

  void SetLocation(int x, int y) { x_ = x; y_ = y; UpdateRects(); }
  void SetSize(int width, int height) { width_ = width; height_ = height; UpdateRects(); }
  int x() const { return x_; }
  int y() const { return y_; }
  int width() const { return width_; }
  int height() const { return height_; }
  const Rect& GetBoundingBox() const { return bounding_box_; }

  void SetHotkey(int hotkey) { hotkey_ = hotkey; }
  int GetHotkey() const { return hotkey_; }
  void SetIsDefault(bool is_default) { is_default_ = is_default; }
  bool IsDefault() const { return is_default_; }
  void SetDraggable(bool draggable) { draggable_ = draggable; }
  bool IsDraggable() const { return draggable_; }
  void SetStyle(int style) { style_ = style; }
  int GetStyle() const { return style_; }
  void SetTextElement(int index) { text_element_ = index; }
  int GetTextElement() const { return text_element_; }

  bool IsMouseOver() const { return mouse_over_; }
  bool HasFocus() const { return has_focus_; }

 protected:
  // Buttons, check boxes and radio buttons share this choice of drawing state.
  eControlState PressableState(bool pressed) const;

  bool visible_ = true;
  bool mouse_over_ = false;
  bool has_focus_ = false;
  bool is_default_ = false;
  bool draggable_ = false;
  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
  int style_ = 0;
  int text_element_ = 0;
  std::u16string hint_;
  CDXUTDialog* dialog_ = nullptr;
  int index_ = 0;
  std::vector<sSkinElement> elements_;
  Rect bounding_box_;
  int id_ = 0;
  eControlType type_ = kControlButton;
  int hotkey_ = 0;
  bool enabled_ = true;
};

}  // namespace tr
