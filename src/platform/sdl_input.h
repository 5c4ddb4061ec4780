// Window-system events as raw input (inside the platform layer only).
#pragma once

#include "platform/input_event.h"

namespace tr {

// Fills out from an SDL_Event; false for events that carry no input.
bool RawInputFromSdlEvent(const void* sdl_event, RawInput& out);

}  // namespace tr
