// Texels in memory, decoded with libpng so that any thread may load pictures
// without touching SDL.
#include "platform/texture.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "foundation/file_read.h"
#include "platform/render_backend.h"
#include "platform/texel_runs.h"

namespace tr {
namespace {

// Versions are drawn from one counter for all textures, so a texture made where
// a freed one lived never shows a version the old one had: what remembers a
// drawn picture by texture and version cannot mistake the new for the old.
std::atomic<std::uint64_t> g_next_version{1};

std::uint64_t NextVersion() { return g_next_version.fetch_add(1, std::memory_order_relaxed); }

}  // namespace

Texture::Texture(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height), version_(NextVersion()) {}

TexelRuns& Texture::runs() const {
  if (!runs_) runs_ = std::make_unique<TexelRuns>();
  runs_->Sync(pixels_.data(), width_, height_, version());
  return *runs_;
}

Texture::~Texture() {
  DrawHeldFramesUsing(this);
  if (gpu_.handle) ReleaseGpuCopy(gpu_.device, gpu_.handle);
}

std::unique_ptr<Texture> Texture::CreateEmpty(int width, int height, Argb fill) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  std::unique_ptr<Texture> t(new Texture(width, height));
  std::fill(t->pixels_.begin(), t->pixels_.end(), fill);
  return t;
}

std::unique_ptr<Texture> Texture::FromPngBytes(std::span<const std::uint8_t> bytes, std::string* error,
                                               PictureBound bound) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    if (error) *error = image.message;
    return nullptr;
  }
  // BGRA bytes are ARGB words on a little-endian machine.
  image.format = PNG_FORMAT_BGRA;
  const auto limit = [](int side) { return static_cast<png_uint_32>(std::clamp(side, 0, PictureBound::kLargestSide)); };
  const std::int64_t most_pixels = std::clamp<std::int64_t>(bound.pixels, 0, PictureBound::kLargestPixels);
  const std::int64_t pixels = std::int64_t{image.width} * image.height;
  if (image.width > limit(bound.width) || image.height > limit(bound.height) || pixels > most_pixels) {
    if (error) {
      *error = "picture of " + std::to_string(image.width) + " x " + std::to_string(image.height) +
               " pixels is larger than " + std::to_string(limit(bound.width)) + " x " +
               std::to_string(limit(bound.height)) + " or " + std::to_string(most_pixels) + " pixels";
    }
    png_image_free(&image);
    return nullptr;
  }
  std::unique_ptr<Texture> t(new Texture(static_cast<int>(image.width), static_cast<int>(image.height)));
  if (!png_image_finish_read(&image, nullptr, t->pixels_.data(), 0, nullptr)) {
    if (error) *error = image.message;
    png_image_free(&image);
    return nullptr;
  }
  return t;
}

std::unique_ptr<Texture> Texture::FromPngFile(const std::filesystem::path& file, std::string* error,
                                              PictureBound bound) {
  const std::optional<std::string> file_bytes = ReadWholeFile(file, kPictureFileBudget);
  if (!file_bytes) {
    if (error) *error = "cannot open " + file.string();
    return nullptr;
  }
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(file_bytes->data()),
                                            file_bytes->size());
  auto t = FromPngBytes(bytes, error, bound);
  if (t) t->label_ = file.filename().string();
  return t;
}

Texture::LockedRect Texture::Lock() {
  DrawHeldFramesUsing(this);
  return {pixels_.data(), width_ * 4};
}

void Texture::Unlock() { version_.store(NextVersion(), std::memory_order_release); }

Argb Texture::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

bool Texture::IsClear(const Rect& area) const {
  const int left = std::max(area.left, 0), top = std::max(area.top, 0);
  const int right = std::min(area.right, width_), bottom = std::min(area.bottom, height_);
  if (right <= left || bottom <= top) return true;
  const std::uint64_t version = version_.load(std::memory_order_acquire);
  if (version != clear_version_) {
    clear_areas_.clear();
    clear_version_ = version;
  }
  const auto key = [](int v) { return static_cast<std::uint64_t>(static_cast<std::uint16_t>(v)); };
  const std::uint64_t id = key(left) | key(top) << 16 | key(right) << 32 | key(bottom) << 48;
  if (const auto found = clear_areas_.find(id); found != clear_areas_.end()) return found->second;
  bool clear = true;
  for (int y = top; y < bottom && clear; ++y) {
    const std::uint32_t* row = &pixels_[static_cast<std::size_t>(y) * width_];
    for (int x = left; x < right; ++x) {
      if (row[x] >> 24 != 0) {
        clear = false;
        break;
      }
    }
  }
  clear_areas_.emplace(id, clear);
  return clear;
}

void Texture::Resize(int width, int height) {
  DrawHeldFramesUsing(this);
  std::vector<std::uint32_t> grown(static_cast<std::size_t>(width) * height, 0);
  for (int y = 0; y < std::min(height, height_); ++y) {
    std::memcpy(&grown[static_cast<std::size_t>(y) * width], &pixels_[static_cast<std::size_t>(y) * width_],
                sizeof(std::uint32_t) * std::min(width, width_));
  }
  pixels_ = std::move(grown);
  width_ = width;
  height_ = height;
  version_.store(NextVersion(), std::memory_order_release);
}

bool SavePng(const std::filesystem::path& file, const std::uint32_t* argb, int width, int height, int pitch_pixels,
             std::string* error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_BGRA;
  std::error_code ec;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
  if (!png_image_write_to_file(&image, file.string().c_str(), 0, argb, pitch_pixels * 4, nullptr)) {
    if (error) *error = image.message;
    return false;
  }
  return true;
}

}  // namespace tr
