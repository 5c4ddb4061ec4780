// The frame clock as the controls read it for arrow repeat and caret blink.
#pragma once

#include "platform/frame.h"

namespace tr {

// Seconds of the running frame's clock; 0 when no frame exists.
inline double GuiClockSeconds() {
  const AppFrame* frame = CurrentFrame();
  return frame != nullptr ? frame->time() : 0.0;
}

}  // namespace tr
