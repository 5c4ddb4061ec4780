// The two places where the toolkit calls out to the application: the sound of
// a user's GUI event, and the layout-editing hook that may refuse a control's
// move. The application frame installs both; until then there is no sound and
// every move is accepted.
#pragma once

#include <functional>

#include "gui/gui_types.h"

namespace tr {

class CDXUTControl;
class CDXUTDialog;

using GuiSoundHook = std::function<void(std::uint32_t event, int control_id, CDXUTControl* control)>;
// Receives the moved control's new bounding box and the move; false refuses it.
using ControlMovedHook = std::function<bool(CDXUTDialog* dialog, int control_id, const Rect& box,
                                            int dx, int dy)>;

// An empty function restores the default.
void SetGuiSoundHook(GuiSoundHook hook);
void SetControlMovedHook(ControlMovedHook hook);

void CallGuiSoundHook(std::uint32_t event, int control_id, CDXUTControl* control);
bool CallControlMovedHook(CDXUTDialog* dialog, int control_id, const Rect& box, int dx, int dy);

}  // namespace tr
