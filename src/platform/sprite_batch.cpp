#include "platform/sprite_batch.h"

#include <algorithm>

#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/render_backend.h"
#include "platform/texture.h"

namespace tr {

namespace {

TexturedQuad QuadOf(const Rect& source, PointF p, const Matrix2D& transform, Argb colour) {
  const float w = static_cast<float>(source.width()), h = static_cast<float>(source.height());
  TexturedQuad q;
  q.corners[0] = transform.Apply(p);
  q.corners[1] = transform.Apply({p.x + w, p.y});
  q.corners[2] = transform.Apply({p.x + w, p.y + h});
  q.corners[3] = transform.Apply({p.x, p.y + h});
  q.source = RectF{static_cast<float>(source.left), static_cast<float>(source.top), static_cast<float>(source.right),
                   static_cast<float>(source.bottom)};
  q.colour = colour;
  return q;
}

}  // namespace

bool SpriteBatch::DrawnKey::operator==(const DrawnKey& other) const {
  if (texture != other.texture || version != other.version || source != other.source || colour != other.colour) {
    return false;
  }
  for (int i = 0; i < 4; ++i) {
    if (corners[i].x != other.corners[i].x || corners[i].y != other.corners[i].y) return false;
  }
  return true;
}

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
  // Where the drawing starts (after the sprites a kept back buffer already
  // holds) and after how many sprites the back buffer is kept anew.
  const std::size_t count = order_.size();
  std::size_t start = 0;
  std::size_t keep_at = count + 1;
  BufferContext context;
  if (flags_ & kSpriteKeepBottom) {
    keys_.clear();
    for (const SortKey& key : order_) {
      const Item& item = items_[key.index];
      if (item.font) break;  // text is drawn by the font: the kept part ends below the first one
      const TexturedQuad q = QuadOf(item.source, item.position, item.transform, item.colour);
      DrawnKey k;
      k.texture = item.texture;
      k.version = item.texture->version();
      k.source = item.source;
      std::copy(std::begin(q.corners), std::end(q.corners), std::begin(k.corners));
      k.colour = item.colour;
      keys_.push_back(k);
    }
    // The sprites this flush shares with the last one are likely to stay: those are worth keeping.
    std::size_t same = 0;
    while (same < keys_.size() && same < last_keys_.size() && keys_[same] == last_keys_[same]) ++same;
    if (const std::optional<Argb> clear = graphics_.untouched_clear()) {
      context = BufferContext{*clear, graphics_.clip_rect()};
      const bool kept = !kept_keys_.empty() && context == kept_context_ && kept_keys_.size() <= keys_.size() &&
                        std::equal(kept_keys_.begin(), kept_keys_.end(), keys_.begin());
      // A kept copy grows only up to what stayed the same over the last flushes:
      // grown over a sprite that blinks, it would be useless at the next blink.
      recent_same_[recent_next_++ % recent_same_.size()] = same;
      const std::size_t steady = *std::min_element(recent_same_.begin(), recent_same_.end());
      if (kept && graphics_.RestoreBackBuffer(kept_token_)) {
        start = kept_keys_.size();
        if (steady > start) keep_at = steady;
      } else if (same > 0) {
        keep_at = same;
      }
    }
    last_keys_.swap(keys_);
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
  auto keep = [&](std::size_t drawn) {
    flush_run();
    kept_token_ = graphics_.KeepBackBuffer();
    if (kept_token_ != 0) {
      kept_keys_.assign(last_keys_.begin(), last_keys_.begin() + static_cast<std::ptrdiff_t>(drawn));
      kept_context_ = context;
    } else {
      kept_keys_.clear();
    }
  };
  for (std::size_t i = 0; i < count; ++i) {
    if (i == keep_at) keep(i);
    const Item& item = items_[order_[i].index];
    if (item.font) {
      flush_run();
      item.font->Render(graphics_, item.text, item.source, item.format, item.colour, item.transform);
      continue;
    }
    const TexturedQuad q = QuadOf(item.source, item.position, item.transform, item.colour);
    if (i >= start) {
      if (item.texture != run_texture) flush_run();
      run_texture = item.texture;
      run.push_back(q);
    }
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
  if (keep_at == count) keep(count);
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
