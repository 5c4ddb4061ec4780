#include "gui/control.h"

#include <new>

#include "gui/dialog.h"
#include "gui/gui_hooks.h"

namespace tr {

CDXUTControl::CDXUTControl(CDXUTDialog* dialog) : dialog_(dialog) {}

CDXUTControl::~CDXUTControl() = default;

void CDXUTControl::Refresh() {
  mouse_over_ = false;
  has_focus_ = false;
  for (sSkinElement& element : elements_) element.Refresh();
}

bool CDXUTControl::MsgProc(std::uint32_t, WParam, LParam) { return false; }
bool CDXUTControl::HandleKeyboard(std::uint32_t, WParam, LParam) { return false; }
bool CDXUTControl::HandleMouse(std::uint32_t, int, int, WParam, LParam) { return false; }

void CDXUTControl::SetTextColor(std::uint32_t color) {
  if (sSkinElement* element = GetElement(0)) element->font_color.states[kStateNormal] = color;
}

void CDXUTControl::UpdateRects() { bounding_box_ = RectFromSize(x_, y_, width_, height_); }

HResult CDXUTControl::SetElement(int index, const sSkinElement* element) {
  if (element == nullptr || index < 0) return E_INVALIDARG;
  try {
    if (static_cast<std::size_t>(index) >= elements_.size()) elements_.resize(index + 1);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  elements_[static_cast<std::size_t>(index)] = *element;
  return S_OK;
}

sSkinElement* CDXUTControl::GetElement(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= elements_.size()) return nullptr;
  return &elements_[static_cast<std::size_t>(index)];
}

bool CDXUTControl::MoveBy(int dx, int dy) {
  x_ += dx;
  y_ += dy;
  UpdateRects();
  if (CallControlMovedHook(dialog_, id_, bounding_box_, dx, dy)) return true;
  x_ -= dx;
  y_ -= dy;
  UpdateRects();
  return false;
}

eControlState CDXUTControl::PressableState(bool pressed) const {
  if (!visible_) return kStateHidden;
  if (!enabled_) return kStateDisabled;
  if (pressed) return kStatePressed;
  if (mouse_over_) return kStateMouseOver;
  if (has_focus_) return kStateFocus;
  return kStateNormal;
}

}  // namespace tr
