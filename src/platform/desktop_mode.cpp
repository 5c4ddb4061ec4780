#include "platform/desktop_mode.h"

#include <SDL.h>

#include <vector>

namespace tr {

DisplayMode DesktopMode(const AppFrame& frame) {
  if (!frame.headless()) {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) return {mode.w, mode.h, mode.refresh_rate};
  }
  const std::vector<DisplayMode> modes = frame.DisplayModes();
  return modes.empty() ? DisplayMode{frame.width(), frame.height(), 60} : modes.front();
}

}  // namespace tr
