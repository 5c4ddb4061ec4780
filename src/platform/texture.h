// A picture in 32-bit ARGB texels. The texels live in memory, so a texture is
// decoded or filled on any thread and survives the loss of the render device
// with its size and content; the renderer makes its own copy on the main
// thread at the first draw after a change.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/codes.h"
#include "platform/geometry.h"

namespace tr {

class TexelRuns;

// The largest picture decoded, per side and in pixels; a caller may ask for
// less. The pixel budget keeps a picture to 256 MB of texels however long its
// sides: the largest shipped picture (2048 x 2048) fits sixteen times over.
struct PictureBound {
  static constexpr int kLargestSide = 16384;
  static constexpr std::int64_t kLargestPixels = std::int64_t{8192} * 8192;
  int width = kLargestSide;
  int height = kLargestSide;
  std::int64_t pixels = kLargestPixels;
};

class Texture {
 public:
  // Decodes a PNG file; null when it cannot be read or decoded (the reason goes
  // to *error). A picture wider or taller than the bound is refused from its
  // header, before any texel is allocated.
  static std::unique_ptr<Texture> FromPngFile(const std::filesystem::path& file, std::string* error = nullptr,
                                              PictureBound bound = {});
  static std::unique_ptr<Texture> FromPngBytes(std::span<const std::uint8_t> bytes, std::string* error = nullptr,
                                               PictureBound bound = {});
  // A texture of the given size filled with one colour (transparent black by default).
  static std::unique_ptr<Texture> CreateEmpty(int width, int height, Argb fill = 0);

  ~Texture();
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  // The file a texture came from, or a caller's name; shown by the draw recorder.
  const std::string& label() const { return label_; }
  void set_label(std::string label) { label_ = std::move(label); }

  // Writable access to the texels of level 0; pitch is in bytes. Unlock publishes the change.
  struct LockedRect {
    std::uint32_t* bits = nullptr;
    int pitch = 0;
  };
  LockedRect Lock();
  void Unlock();

  const std::uint32_t* pixels() const { return pixels_.data(); }
  Argb Pixel(int x, int y) const;
  // True when every texel of the area (clipped to the texture) has alpha 0, so
  // drawing it changes nothing. Remembered per area until the texels change;
  // main thread only.
  bool IsClear(const Rect& area) const;
  // The visible spans of each row, as the texels are now; main thread only.
  TexelRuns& runs() const;
  // Grows the texture, keeping the texels it has (used by the glyph atlas).
  void Resize(int width, int height);

  // Changes with every published change, to a value no texture had before (never 0);
  // the renderer re-uploads when it differs from its copy.
  std::uint64_t version() const { return version_.load(std::memory_order_acquire); }

  // The renderer's copy: owned by the render backend, touched on the main thread only.
  struct GpuCopy {
    std::uint64_t device = 0;
    void* handle = nullptr;
    std::uint64_t version = 0;
  };
  GpuCopy& gpu_copy() const { return gpu_; }

 private:
  Texture(int width, int height);

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
  std::string label_;
  std::atomic<std::uint64_t> version_;
  mutable GpuCopy gpu_;
  mutable std::uint64_t clear_version_ = 0;
  mutable std::unordered_map<std::uint64_t, bool> clear_areas_;
  mutable std::unique_ptr<TexelRuns> runs_;
};

// Writes ARGB texels (pitch in pixels) as a PNG file; false and a reason in *error on failure.
bool SavePng(const std::filesystem::path& file, const std::uint32_t* argb, int width, int height, int pitch_pixels,
             std::string* error = nullptr);

}  // namespace tr
