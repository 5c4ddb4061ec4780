// CDXUTFrame: a decorative nine-patch border in one of three styles.
#pragma once

#include "gui/control.h"

namespace tr {

class CDXUTFrame : public CDXUTControl {
 public:
  explicit CDXUTFrame(CDXUTDialog* dialog = nullptr);

  void UpdateRects() override;
  void Render(float elapsed) override;

  // Centre, top-left, top, top-right, left, right, bottom-left, bottom, bottom-right.
  const Rect& GetPieceRect(int k) const { return pieces_[k]; }

 private:
  Rect pieces_[9];
};

// The nine rectangles of a nine-patch over box with corner cells of (cell_w, cell_h),
// in the order centre, top-left, top, top-right, left, right, bottom-left, bottom, bottom-right.
void NinePatchRects(const Rect& box, int cell_w, int cell_h, Rect out[9]);

}  // namespace tr
