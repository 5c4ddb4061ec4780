#include "gui/image.h"

#include "gui/dialog.h"
#include "gui/press_logic.h"

namespace tr {

CDXUTImage::CDXUTImage(CDXUTDialog* dialog) : CDXUTControl(dialog) { type_ = kControlImage; }

bool CDXUTImage::HandleKeyboard(std::uint32_t msg, WParam wparam, LParam) {
  return HandlePressKey(*this, pressed_, msg, wparam, [this] { OnHotkey(); });
}

bool CDXUTImage::HandleMouse(std::uint32_t msg, int x, int y, WParam, LParam) {
  return HandlePressMouse(*this, pressed_, msg, x, y, PressRules{}, [this] { OnHotkey(); });
}

void CDXUTImage::OnHotkey() { dialog_->SendEvent(GuiEventButtonClicked, true, this); }

void CDXUTImage::Render(float) {
  if (!visible_ || texture_ == nullptr) return;
  dialog_->DrawTextureSprite(texture_, source_, bounding_box_, 0.0f, color_);
}

}  // namespace tr
