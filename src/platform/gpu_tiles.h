// A renderer's copies of textures: each texture uploaded at its first draw
// and again when its texels change, split into tiles where it is larger than
// the renderer allows, and drawn as textured triangles through
// SDL_RenderGeometry. A texture may go on any thread; its copy is then freed
// by the renderer that made it, at its next draw, on the main thread.
#pragma once

#include <cstdint>
#include <span>
#include <unordered_set>
#include <vector>

#include "platform/render_backend.h"

struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Vertex;

namespace tr {

class Texture;

class GpuTiles {
 public:
  // Off-screen (nearest) copies sample exact texels so tests can check
  // pixels; a window's smooth scaled pictures.
  GpuTiles(SDL_Renderer* renderer, bool nearest);
  ~GpuTiles();
  GpuTiles(const GpuTiles&) = delete;
  GpuTiles& operator=(const GpuTiles&) = delete;

  // The quads of one texture, its copy made or brought up to date first;
  // `limit` is the largest tile side (0: the texture whole).
  void Draw(const Texture& texture, std::span<const TexturedQuad> quads, int limit);

  // Frees the copies of textures gone since the last call.
  void DrainReleases();

 private:
  struct Copy;

  Copy* Upload(const Texture& texture, int limit);
  Copy* Create(int width, int height, int limit);
  void Forget(Copy* copy);
  // Draws the part of every quad that falls on one tile (x0, y0, w, h in texels of the whole texture).
  void DrawTile(SDL_Texture* tile, int tile_w, int tile_h, int x0, int y0, int w, int h,
                std::span<const TexturedQuad> quads);

  SDL_Renderer* renderer_;
  bool nearest_;
  std::uint64_t id_;
  bool logged_failure_ = false;
  std::unordered_set<Copy*> live_;
  std::vector<SDL_Vertex> vertices_;
  std::vector<int> indices_;
};

}  // namespace tr
