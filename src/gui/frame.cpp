#include "gui/frame.h"

#include "gui/default_elements.h"
#include "gui/dialog.h"

namespace tr {

void NinePatchRects(const Rect& box, int cell_w, int cell_h, Rect out[9]) {
  const int xs[4] = {box.left, box.left + cell_w, box.right - cell_w, box.right};
  const int ys[4] = {box.top, box.top + cell_h, box.bottom - cell_h, box.bottom};
  static constexpr int kCells[9][2] = {{1, 1}, {0, 0}, {1, 0}, {2, 0}, {0, 1},
                                       {2, 1}, {0, 2}, {1, 2}, {2, 2}};
  for (int k = 0; k < 9; ++k) {
    const int c = kCells[k][0];
    const int r = kCells[k][1];
    out[k] = {xs[c], ys[r], xs[c + 1], ys[r + 1]};
  }
}

CDXUTFrame::CDXUTFrame(CDXUTDialog* dialog) : CDXUTControl(dialog) { type_ = kControlFrame; }

void CDXUTFrame::UpdateRects() {
  CDXUTControl::UpdateRects();
  const FrameStyle& s = kFrameStyles[style_ >= 0 && style_ < 3 ? style_ : 0];
  NinePatchRects(bounding_box_, s.cell_width, s.cell_height, pieces_);
}

void CDXUTFrame::Render(float elapsed) {
  if (!visible_) return;
  for (int k = 0; k < 9; ++k) {
    sSkinElement* element = GetElement(style_ * 9 + k);
    if (element == nullptr) continue;
    element->texture_color.Blend(kStateNormal, elapsed, 0.7f);
    dialog_->DrawSprite(element, pieces_[k], 0.2f);
  }
}

}  // namespace tr
