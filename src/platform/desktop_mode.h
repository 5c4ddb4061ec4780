// The desktop of the default display: the most a window can show whole.
#pragma once

#include "platform/frame.h"

namespace tr {

// The desktop mode of display 0; headless (and when the display cannot tell),
// the frame's largest display mode.
DisplayMode DesktopMode(const AppFrame& frame);

}  // namespace tr
