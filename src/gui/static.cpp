#include "gui/static.h"

#include "gui/dialog.h"

namespace tr {

CDXUTStatic::CDXUTStatic(CDXUTDialog* dialog) : CDXUTControl(dialog) { type_ = kControlStatic; }

// The whole text is kept: a message box shows its last lines too.
void CDXUTStatic::SetText(std::u16string_view text) { text_.assign(text); }

bool CDXUTStatic::ContainsPoint(int x, int y) {
  return enabled_ && bounding_box_.Contains(x, y);
}

void CDXUTStatic::Render(float elapsed) {
  if (!visible_) return;
  sSkinElement* element = GetElement(text_element_);
  if (element == nullptr) return;
  const eControlState state = enabled_ ? kStateNormal : kStateDisabled;
  element->text_format = text_format_;
  element->font_color.Blend(state, elapsed, 0.7f);
  dialog_->DrawText(text_, element, bounding_box_, true);
}

}  // namespace tr
