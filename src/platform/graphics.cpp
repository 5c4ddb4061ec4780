#include "platform/graphics.h"

#include <cmath>

#include "platform/render_backend.h"
#include "platform/sprite_batch.h"
#include "platform/texture.h"

namespace tr {

Graphics::Graphics(std::unique_ptr<RenderBackend> backend, int width, int height)
    : backend_(backend ? std::move(backend) : CreateNullBackend()), width_(width), height_(height) {}

Graphics::~Graphics() = default;

void Graphics::ReplaceBackend(std::unique_ptr<RenderBackend> backend) {
  const int max = backend_->max_texture_size();
  backend_ = backend ? std::move(backend) : CreateNullBackend();
  untouched_clear_.reset();
  kept_token_ = 0;
  if (max > 0) backend_->set_max_texture_size(max);
  backend_->SetClip(clip_ ? &*clip_ : nullptr);
}

void Graphics::Clear(Argb colour) {
  backend_->Clear(colour);
  untouched_clear_ = colour;
  DrawRecord r;
  r.kind = DrawRecord::Kind::kClear;
  r.colour = colour;
  Record(std::move(r));
}

void Graphics::SetClipRect(const Rect* clip) {
  if (clip) {
    clip_ = *clip;
  } else {
    clip_.reset();
  }
  backend_->SetClip(clip);
}

void Graphics::FillRect(const RectF& rect, Argb colour) { FillQuad(rect, colour, colour, colour, colour); }

void Graphics::FillQuad(const RectF& rect, Argb top_left, Argb top_right, Argb bottom_left, Argb bottom_right) {
  const PointF corners[4] = {{rect.left, rect.top}, {rect.right, rect.top}, {rect.right, rect.bottom},
                             {rect.left, rect.bottom}};
  const Argb colours[4] = {top_left, top_right, bottom_right, bottom_left};
  backend_->FillQuad(corners, colours);
  untouched_clear_.reset();
  DrawRecord r;
  r.kind = DrawRecord::Kind::kQuad;
  r.dest = rect;
  r.colour = top_left;
  r.corner_colours[0] = top_left;
  r.corner_colours[1] = top_right;
  r.corner_colours[2] = bottom_left;
  r.corner_colours[3] = bottom_right;
  Record(std::move(r));
}

void Graphics::DrawLines(std::span<const PointF> points, Argb colour, float width) {
  untouched_clear_.reset();
  for (std::size_t i = 1; i < points.size(); ++i) {
    const PointF a = points[i - 1], b = points[i];
    if (width <= 1.0f) {
      backend_->DrawLine(a, b, colour);
      continue;
    }
    // A wide segment is a quad around the line, half the width on each side.
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float len = std::sqrt(dx * dx + dy * dy);
    if (len == 0) continue;
    const float nx = -dy / len * width / 2, ny = dx / len * width / 2;
    const PointF corners[4] = {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}};
    const Argb colours[4] = {colour, colour, colour, colour};
    backend_->FillQuad(corners, colours);
  }
  DrawRecord r;
  r.kind = DrawRecord::Kind::kLines;
  r.colour = colour;
  r.points.assign(points.begin(), points.end());
  r.width = width;
  Record(std::move(r));
}

std::unique_ptr<SpriteBatch> Graphics::CreateSpriteBatch() { return std::make_unique<SpriteBatch>(*this); }

void Graphics::SetMaxTextureSize(int size) { backend_->set_max_texture_size(size); }

int Graphics::max_texture_size() const { return backend_->max_texture_size(); }

std::vector<std::uint32_t> Graphics::ReadPixels() {
  std::vector<std::uint32_t> pixels;
  int w = 0, h = 0;
  if (!backend_->ReadPixels(pixels, w, h)) pixels.clear();
  return pixels;
}

Argb Graphics::ReadPixel(int x, int y) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const auto pixels = ReadPixels();
  const std::size_t i = static_cast<std::size_t>(y) * width_ + x;
  return i < pixels.size() ? pixels[i] : 0;
}

bool Graphics::SaveScreenshot(const std::filesystem::path& png_file) {
  std::vector<std::uint32_t> pixels;
  int w = 0, h = 0;
  if (!backend_->ReadPixels(pixels, w, h)) return false;
  // A screen has no transparency: where nothing was drawn it shows the clear colour.
  for (std::uint32_t& pixel : pixels) pixel |= 0xFF000000u;
  return SavePng(png_file, pixels.data(), w, h, w);
}

std::uint64_t Graphics::KeepBackBuffer() {
  kept_token_ = backend_->KeepBackBuffer() ? ++keep_count_ : 0;
  return kept_token_;
}

bool Graphics::RestoreBackBuffer(std::uint64_t token) {
  if (token == 0 || token != kept_token_) return false;
  untouched_clear_.reset();
  return backend_->RestoreBackBuffer();
}

void Graphics::Present() {
  untouched_clear_.reset();
  backend_->Present();
}

void Graphics::DrawTexturedQuads(const Texture& texture, std::span<const TexturedQuad> quads) {
  untouched_clear_.reset();
  backend_->DrawTexturedQuads(texture, quads);
}

void Graphics::Record(DrawRecord record) {
  if (!recorder_) return;
  record.clip = clip_;
  recorder_->Record(std::move(record));
}

}  // namespace tr
