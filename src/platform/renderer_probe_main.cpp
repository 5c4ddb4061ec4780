// The renderer probe: makes a hidden window and the renderer SDL chooses for
// it, as the game asks for one, and prints the renderer's name and, for a GL,
// the GL's own name, one a line. The game runs it beside itself to learn what
// SDL would make without loading a GL driver it may not use: a driver once
// loaded stays resident with its threads. Exits 1 when no renderer is made.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/gl_name.h"

int main() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  // As the game's window is made under X.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::string(driver) == "x11") {
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
  }
  int code = 1;
  if (SDL_Window* window = SDL_CreateWindow("renderer probe", 0, 0, 64, 64, SDL_WINDOW_HIDDEN)) {
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    SDL_RendererInfo info{};
    if (renderer && SDL_GetRendererInfo(renderer, &info) == 0 && info.name) {
      const std::string chosen = info.name;
      const std::string gl = chosen.starts_with("opengl") ? tr::CurrentGlRenderer(window) : std::string();
      std::printf("%s\n%s\n", chosen.c_str(), gl.c_str());
      code = 0;
    }
  }
  // Ended at once, with nothing torn down: the system frees it all, sooner,
  // and a leak check of a sanitised build (which finds the display
  // libraries' own) cannot turn the answer into a failure.
  std::fflush(stdout);
  std::_Exit(code);
}
