// Small shared services of the application frame: fitting square pictures
// into layout rectangles, the skinned box of the scenario screen, and the
// layout-editing hook that stores moved controls and moves their groups.
#pragma once

#include <functional>
#include <string_view>

#include "platform/geometry.h"

namespace tr {

class CDXUTDialog;
class CDXUTStatic;

// Makes (x, y, width, height) a square of the smaller side, placed by the
// modes (0 start, 2 end, others centre); returns side / the old width.
float SquareRectAligned(int& x, int& y, int& width, int& height, int horizontalMode, int verticalMode);

// A nine-piece box of the skin atlas scaled to the rectangle and, for an
// icon index of 0 or more, one 120 x 120 cell of the icon sheet in its centre.
void DrawSkinBox(int x, int y, int width, int height, int iconIndex);

// The toolkit's layout-editing hook; false refuses the move.
bool OnControlMoved(CDXUTDialog* dialog, int controlId, const Rect& box, int dx, int dy);
// How many controls after the id move with it (0 when the id heads no group).
int ControlGroupSize(int controlId);
// Moves the panel whose toggle icon was dragged; installed by the panels.
void SetPanelMoveHandler(std::function<void(int iconId, int dx, int dy)> handler);

// A memo and its label, both at their layout rectangles.
void AddMemoWithLabel(CDXUTDialog& dialog, int memoId, std::u16string_view memoText, int labelId,
                      std::u16string_view labelText);
// A label, a slider and a right-aligned value label, at their layout
// rectangles; returns the value label (null when it could not be made).
CDXUTStatic* AddSliderWithLabels(CDXUTDialog& dialog, int sliderId, int minimum, int maximum, int value,
                                 int labelId, std::u16string_view labelText, int valueLabelId,
                                 std::u16string_view valueText);

}  // namespace tr
