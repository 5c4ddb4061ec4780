#include "platform/graphics.h"

#include <algorithm>
#include <cmath>

#include "platform/render_backend.h"
#include "platform/sprite_batch.h"
#include "platform/texture.h"

namespace tr {
namespace {

// The devices holding draws on this thread, so a texture about to change or go
// is drawn first. A plain list: textures of static storage go after thread-local objects.
thread_local Graphics* t_first_holding = nullptr;

bool SameQuad(const TexturedQuad& a, const TexturedQuad& b) {
  for (int i = 0; i < 4; ++i) {
    if (a.corners[i].x != b.corners[i].x || a.corners[i].y != b.corners[i].y) return false;
  }
  return a.source == b.source && a.colour == b.colour;
}

}  // namespace

void DrawHeldFramesUsing(const Texture* texture) {
  for (Graphics* g = t_first_holding; g;) {
    Graphics* next = g->next_holding_;  // drawing takes g off the list
    g->DrawHeldUsing(texture);
    g = next;
  }
}

void Graphics::SetHolding(bool holding) {
  if (holding == holding_) return;
  holding_ = holding;
  if (holding) {
    next_holding_ = t_first_holding;
    t_first_holding = this;
    return;
  }
  for (Graphics** link = &t_first_holding; *link; link = &(*link)->next_holding_) {
    if (*link == this) {
      *link = next_holding_;
      break;
    }
  }
  next_holding_ = nullptr;
}

bool Graphics::HeldDraw::operator==(const HeldDraw& other) const {
  if (kind != other.kind || has_clip != other.has_clip || texture != other.texture || version != other.version ||
      count != other.count) {
    return false;
  }
  if (has_clip && clip != other.clip) return false;
  for (int i = 0; i < 4; ++i) {
    if (corners[i].x != other.corners[i].x || corners[i].y != other.corners[i].y || colours[i] != other.colours[i]) {
      return false;
    }
  }
  return true;
}

Graphics::Graphics(std::unique_ptr<RenderBackend> backend, int width, int height)
    : backend_(backend ? std::move(backend) : CreateNullBackend()), width_(width), height_(height) {}

Graphics::~Graphics() { SetHolding(false); }

void Graphics::ReplaceBackend(std::unique_ptr<RenderBackend> backend) {
  const int max = backend_->max_texture_size();
  backend_ = backend ? std::move(backend) : CreateNullBackend();
  untouched_clear_.reset();
  kept_token_ = 0;
  last_valid_ = false;
  if (max > 0) backend_->set_max_texture_size(max);
  backend_->SetClip(backend_clip_ ? &*backend_clip_ : nullptr);
}

void Graphics::Hold(HeldDraw draw) {
  if (!frame_drawn_) SetHolding(true);
  held_.push_back(draw);
  if (frame_drawn_) {
    Execute(held_.back());
  } else if (finished_) {
    // Drawn after the frame was found unchanged: it has changed after all.
    skip_present_ = false;
    DrawHeld();
  }
}

void Graphics::DrawHeld() {
  if (frame_drawn_) return;
  frame_drawn_ = true;
  SetHolding(false);
  for (const HeldDraw& draw : held_) Execute(draw);
}

void Graphics::DrawHeldForReading() {
  // A frame marked drawn is drawn and presented whatever it holds.
  if (!held_.empty()) DrawHeld();
}

void Graphics::DrawHeldUsing(const Texture* texture) {
  if (frame_drawn_) return;
  for (const HeldDraw& draw : held_) {
    if (draw.texture == texture) {
      DrawHeld();
      return;
    }
  }
}

void Graphics::Execute(const HeldDraw& draw) {
  switch (draw.kind) {
    case HeldDraw::Kind::kClip:
      backend_clip_ = draw.has_clip ? std::optional<Rect>(draw.clip) : std::nullopt;
      backend_->SetClip(draw.has_clip ? &draw.clip : nullptr);
      break;
    case HeldDraw::Kind::kClear: backend_->Clear(draw.colours[0]); break;
    case HeldDraw::Kind::kQuads: {
      const std::span<const TexturedQuad> quads(held_quads_);
      backend_->DrawTexturedQuads(*draw.texture, quads.subspan(draw.first, draw.count));
      break;
    }
    case HeldDraw::Kind::kFill: backend_->FillQuad(draw.corners, draw.colours); break;
    case HeldDraw::Kind::kLine: backend_->DrawLine(draw.corners[0], draw.corners[1], draw.colours[0]); break;
    case HeldDraw::Kind::kRestore: backend_->RestoreBackBuffer(); break;
  }
}

bool Graphics::SameAsLast() const {
  if (!last_valid_ || start_clip_ != last_start_clip_ || held_ != last_ || held_quads_.size() != last_quads_.size()) {
    return false;
  }
  for (std::size_t i = 0; i < held_quads_.size(); ++i) {
    if (!SameQuad(held_quads_[i], last_quads_[i])) return false;
  }
  return true;
}

void Graphics::FinishFrame() {
  if (finished_) return;
  finished_ = true;
  skip_present_ = !frame_drawn_ && SameAsLast();
  if (skip_present_) {
    SetHolding(false);
  } else {
    DrawHeld();
  }
}

void Graphics::Clear(Argb colour) {
  HeldDraw draw;
  draw.kind = HeldDraw::Kind::kClear;
  draw.colours[0] = colour;
  Hold(draw);
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
  HeldDraw draw;
  draw.kind = HeldDraw::Kind::kClip;
  draw.has_clip = clip != nullptr;
  if (clip) draw.clip = *clip;
  Hold(draw);
}

void Graphics::FillRect(const RectF& rect, Argb colour) { FillQuad(rect, colour, colour, colour, colour); }

void Graphics::FillQuad(const RectF& rect, Argb top_left, Argb top_right, Argb bottom_left, Argb bottom_right) {
  const PointF corners[4] = {{rect.left, rect.top}, {rect.right, rect.top}, {rect.right, rect.bottom},
                             {rect.left, rect.bottom}};
  const Argb colours[4] = {top_left, top_right, bottom_right, bottom_left};
  HoldFill(corners, colours);
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
      HeldDraw draw;
      draw.kind = HeldDraw::Kind::kLine;
      draw.corners[0] = a;
      draw.corners[1] = b;
      draw.colours[0] = colour;
      Hold(draw);
      continue;
    }
    // A wide segment is a quad around the line, half the width on each side.
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float len = std::sqrt(dx * dx + dy * dy);
    if (len == 0) continue;
    const float nx = -dy / len * width / 2, ny = dx / len * width / 2;
    const PointF corners[4] = {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}};
    const Argb colours[4] = {colour, colour, colour, colour};
    HoldFill(corners, colours);
  }
  DrawRecord r;
  r.kind = DrawRecord::Kind::kLines;
  r.colour = colour;
  r.points.assign(points.begin(), points.end());
  r.width = width;
  Record(std::move(r));
}

std::unique_ptr<SpriteBatch> Graphics::CreateSpriteBatch() { return std::make_unique<SpriteBatch>(*this); }

void Graphics::HoldFill(const PointF corners[4], const Argb colours[4]) {
  HeldDraw draw;
  draw.kind = HeldDraw::Kind::kFill;
  std::copy_n(corners, 4, draw.corners);
  std::copy_n(colours, 4, draw.colours);
  Hold(draw);
}

void Graphics::SetMaxTextureSize(int size) {
  // Tiles cut at another size may meet at other pixels.
  DrawHeld();
  last_valid_ = false;
  backend_->set_max_texture_size(size);
}

int Graphics::max_texture_size() const { return backend_->max_texture_size(); }

std::vector<std::uint32_t> Graphics::ReadPixels() {
  DrawHeldForReading();
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
  DrawHeldForReading();
  std::vector<std::uint32_t> pixels;
  int w = 0, h = 0;
  if (!backend_->ReadPixels(pixels, w, h)) return false;
  // A screen has no transparency: where nothing was drawn it shows the clear colour.
  for (std::uint32_t& pixel : pixels) pixel |= 0xFF000000u;
  return SavePng(png_file, pixels.data(), w, h, w);
}

std::uint64_t Graphics::KeepBackBuffer() {
  DrawHeld();
  kept_token_ = backend_->KeepBackBuffer() ? ++keep_count_ : 0;
  return kept_token_;
}

bool Graphics::RestoreBackBuffer(std::uint64_t token) {
  if (token == 0 || token != kept_token_) return false;
  untouched_clear_.reset();
  if (frame_drawn_) return backend_->RestoreBackBuffer();
  if (!backend_->CanRestoreBackBuffer()) return false;
  HeldDraw draw;
  draw.kind = HeldDraw::Kind::kRestore;
  draw.version = token;
  Hold(draw);
  return true;
}

bool Graphics::Present() {
  FinishFrame();
  const bool present = !skip_present_;
  if (present) backend_->Present();
  untouched_clear_.reset();
  last_.swap(held_);
  last_quads_.swap(held_quads_);
  held_.clear();
  held_quads_.clear();
  last_valid_ = true;
  last_start_clip_ = start_clip_;
  start_clip_ = clip_;
  frame_drawn_ = false;
  finished_ = false;
  skip_present_ = false;
  SetHolding(false);
  return present;
}

void Graphics::DrawTexturedQuads(const Texture& texture, std::span<const TexturedQuad> quads) {
  untouched_clear_.reset();
  HeldDraw draw;
  draw.kind = HeldDraw::Kind::kQuads;
  draw.texture = &texture;
  draw.version = texture.version();
  draw.first = held_quads_.size();
  draw.count = quads.size();
  held_quads_.insert(held_quads_.end(), quads.begin(), quads.end());
  Hold(draw);
}

void Graphics::Record(DrawRecord record) {
  if (!recorder_) return;
  record.clip = clip_;
  recorder_->Record(std::move(record));
}

}  // namespace tr
