#include "platform/sprite_batch.h"

#include <algorithm>

#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/render_backend.h"
#include "platform/texture.h"

namespace tr {

SpriteBatch::SpriteBatch(Graphics& graphics) : graphics_(graphics) {}

SpriteBatch::~SpriteBatch() = default;

bool SpriteBatch::Begin(std::uint32_t flags) {
  if (begun_) return false;
  begun_ = true;
  flags_ = flags;
  items_.clear();
  return true;
}

bool SpriteBatch::End() {
  if (!begun_) return false;
  Flush();
  begun_ = false;
  return true;
}

void SpriteBatch::Draw(const Texture* texture, const Rect* source, PointF position, float depth, Argb colour) {
  if (!texture) return;
  Item item;
  item.texture = texture;
  item.source = source ? *source : Rect{0, 0, texture->width(), texture->height()};
  item.position = position;
  item.depth = depth;
  item.colour = colour;
  item.transform = transform_;
  if (begun_) {
    items_.push_back(std::move(item));
  } else {
    // Drawing outside Begin/End goes straight to the device.
    DrawItem(item);
  }
}

void SpriteBatch::QueueText(const Font& font, std::u16string text, const Rect& rect, std::uint32_t format,
                            Argb colour) {
  Item item;
  item.font = &font;
  item.text = std::move(text);
  item.source = rect;
  item.format = format;
  item.colour = colour;
  item.transform = transform_;
  if (begun_) {
    items_.push_back(std::move(item));
  } else {
    DrawItem(item);
  }
}

bool SpriteBatch::Flush() {
  if (!begun_) return false;
  // Sorted as compact (depth, index) keys: comparing through the large items cost more than drawing some of them.
  order_.resize(items_.size());
  for (std::size_t i = 0; i < items_.size(); ++i) order_[i] = SortKey{items_[i].depth, i};
  if (flags_ & kSpriteSortDepthBackToFront) {
    std::stable_sort(order_.begin(), order_.end(),
                     [](const SortKey& a, const SortKey& b) { return a.depth > b.depth; });
  } else if (flags_ & kSpriteSortDepthFrontToBack) {
    std::stable_sort(order_.begin(), order_.end(),
                     [](const SortKey& a, const SortKey& b) { return a.depth < b.depth; });
  }
  // Consecutive sprites of one texture go to the device together.
  std::vector<TexturedQuad>& run = run_;
  run.clear();
  const Texture* run_texture = nullptr;
  auto flush_run = [&] {
    if (run_texture && !run.empty()) graphics_.DrawTexturedQuads(*run_texture, run);
    run.clear();
    run_texture = nullptr;
  };
  for (const SortKey& key : order_) {
    const Item& item = items_[key.index];
    if (item.font) {
      flush_run();
      item.font->Render(graphics_, item.text, item.source, item.format, item.colour, item.transform);
      continue;
    }
    if (item.texture != run_texture) flush_run();
    run_texture = item.texture;
    const float w = static_cast<float>(item.source.width()), h = static_cast<float>(item.source.height());
    const PointF p = item.position;
    TexturedQuad q;
    q.corners[0] = item.transform.Apply(p);
    q.corners[1] = item.transform.Apply({p.x + w, p.y});
    q.corners[2] = item.transform.Apply({p.x + w, p.y + h});
    q.corners[3] = item.transform.Apply({p.x, p.y + h});
    q.source = RectF{static_cast<float>(item.source.left), static_cast<float>(item.source.top),
                     static_cast<float>(item.source.right), static_cast<float>(item.source.bottom)};
    q.colour = item.colour;
    run.push_back(q);
    if (graphics_.recorder()) {
      DrawRecord r;
      r.kind = DrawRecord::Kind::kSprite;
      r.texture = item.texture;
      r.texture_label = item.texture->label();
      r.source = item.source;
      r.dest = RectF{std::min(q.corners[0].x, q.corners[2].x), std::min(q.corners[0].y, q.corners[2].y),
                     std::max(q.corners[0].x, q.corners[2].x), std::max(q.corners[0].y, q.corners[2].y)};
      r.colour = item.colour;
      r.depth = item.depth;
      graphics_.Record(std::move(r));
    }
  }
  flush_run();
  items_.clear();
  return true;
}

void SpriteBatch::DrawItem(const Item& item) {
  const bool was_begun = begun_;
  const std::uint32_t flags = flags_;
  begun_ = true;
  flags_ = 0;
  items_.push_back(item);
  Flush();
  begun_ = was_begun;
  flags_ = flags;
}

}  // namespace tr
