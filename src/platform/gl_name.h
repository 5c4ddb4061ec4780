// The GL's own name for itself, read with a GL renderer's context current:
// it tells a GL drawn by the graphics hardware from one rasterised on the CPU.
#pragma once

#include <SDL.h>

#include <string>

namespace tr {

// Empty when it cannot be read. Looked up at run time so the game needs no GL library to link.
inline std::string CurrentGlRenderer(SDL_Window* window) {
  if (SDL_GL_GetCurrentWindow() != window || !SDL_GL_GetCurrentContext()) return {};
  using GetStringFn = const unsigned char* (*)(unsigned int);
  constexpr unsigned int kGlRenderer = 0x1F01;
  auto get_string = reinterpret_cast<GetStringFn>(SDL_GL_GetProcAddress("glGetString"));
  const unsigned char* name = get_string ? get_string(kGlRenderer) : nullptr;
  return name ? std::string(reinterpret_cast<const char*>(name)) : std::string();
}

}  // namespace tr
