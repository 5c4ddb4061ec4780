#include "gui/hint_box.h"

#include "gui/control.h"
#include "gui/default_elements.h"
#include "gui/layout_access.h"
#include "gui/resource_cache.h"
#include "platform/font.h"
#include "platform/frame_clock.h"
#include "platform/graphics.h"
#include "platform/sprite_batch.h"

namespace tr {
namespace {

Font* HintFont() {
  const LayoutFont layoutFont = GetLayoutFont(0);
  cGuiResourceCache& cache = GetGuiResourceCache();
  return cache.GetFont(cache.AddFont(layoutFont.face, layoutFont.height, layoutFont.weight));
}

// Draws a nine-patch of 10-pixel cells from the skin over box: corners as they
// are, edges and centre stretched.
void DrawSmallBox(SpriteBatch& sprite, const Texture* skin, const Rect& box) {
  const int cell = 10;
  const int xs[4] = {box.left, box.left + cell, box.right - cell, box.right};
  const int ys[4] = {box.top, box.top + cell, box.bottom - cell, box.bottom};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      const Rect dest{xs[c], ys[r], xs[c + 1], ys[r + 1]};
      if (dest.width() <= 0 || dest.height() <= 0) continue;
      const Rect source = RectFromSize(kSmallBoxLeft + c * cell, kSmallBoxTop + r * cell, cell, cell);
      const float sx = static_cast<float>(dest.width()) / cell;
      const float sy = static_cast<float>(dest.height()) / cell;
      sprite.SetTransform(Matrix2D::Scaling(sx, sy));
      sprite.Draw(skin, &source, {dest.left / sx, dest.top / sy}, 0.0f, 0xFFFFFFFFu);
    }
  }
  sprite.SetTransform(Matrix2D::Identity());
}

}  // namespace

HintBox& GetHintBox() {
  static HintBox box;
  return box;
}

void HintBox::Init(int offset_x, int offset_y, int layout_a, int layout_b, int delay_ms,
                   std::u16string_view initial_text) {
  offset_x_ = offset_x;
  offset_y_ = offset_y;
  layout_a_ = layout_a;
  layout_b_ = layout_b;
  delay_ = delay_ms;
  hover_time_ = 0;
  total_time_ = 0;
  // The clock starts now, so the first update does not count the time since start-up.
  last_update_ = TimerMs();
  left_down_ = right_down_ = false;
  left_held_ = right_held_ = left_released_ = right_released_ = false;
  left_released_now_ = right_pressed_now_ = false;
  left_press_x_ = left_press_y_ = right_press_x_ = right_press_y_ = 0;
  left_drag_x_ = left_drag_y_ = right_drag_x_ = right_drag_y_ = 0;
  text_.clear();
  box_width_ = box_height_ = 0;
  SetText(initial_text);
  hoverable_ = nullptr;
  control_ = nullptr;
}

void HintBox::SetText(std::u16string_view text) {
  if (text.empty()) {
    hover_time_ = 0;
    box_width_ = box_height_ = 0;
    text_.clear();
    return;
  }
  text_.assign(text);
  Measure();
}

void HintBox::Measure() {
  Rect rect{0, 0, kWrapWidth, 0};
  if (const Font* font = HintFont()) font->Measure(text_, -1, &rect, DT_CALCRECT | DT_WORDBREAK);
  box_width_ = rect.width() + 10;
  box_height_ = rect.height() + 10;
}

void HintBox::SetControl(CDXUTControl* control, bool force) {
  if (control == control_ && !force) return;
  control_ = control;
  if (control != nullptr) {
    SetText(control->GetHint());
  } else {
    hover_time_ = 0;
    text_.clear();
    box_width_ = box_height_ = 0;
  }
}

void HintBox::SetHoverable(cHoverable* hoverable) {
  hoverable_ = hoverable;
  if (hoverable == nullptr) return;
  hover_time_ = 0;
  text_.clear();
  const sHintSize size = hoverable->GetHintSize();
  box_width_ = size.width;
  box_height_ = size.height;
}

void HintBox::ForgetLeftButton() {
  left_held_ = false;
  left_released_ = false;
  left_released_now_ = false;
}

void HintBox::OnMouse(bool left, bool right, int x, int y) {
  pointer_x_ = x;
  pointer_y_ = y;
  left_released_now_ = false;
  if (left_down_ && !left) {
    left_released_now_ = true;
    left_held_ = false;
    left_released_ = true;
  } else if (!left_down_ && left) {
    left_press_x_ = x;
    left_press_y_ = y;
    left_held_ = true;
    left_released_ = false;
    left_drag_x_ = left_drag_y_ = 0;
  }
  if (left_held_) {
    left_drag_x_ = x - left_press_x_;
    left_drag_y_ = y - left_press_y_;
  }
  left_down_ = left;

  right_pressed_now_ = false;
  if (right_down_ && !right) {
    right_held_ = false;
    right_released_ = true;
  } else if (!right_down_ && right) {
    right_pressed_now_ = true;
    right_held_ = true;
    right_press_x_ = x;
    right_press_y_ = y;
    right_released_ = false;
    right_drag_x_ = right_drag_y_ = 0;
  }
  right_down_ = right;
  if (right_held_) {
    right_drag_x_ = x - right_press_x_;
    right_drag_y_ = y - right_press_y_;
  }
}

void HintBox::Update() { Update(TimerMs()); }

void HintBox::Update(std::uint32_t now_ms) {
  // Unsigned difference: the millisecond timer wraps.
  const int elapsed = static_cast<int>(now_ms - last_update_);
  last_update_ = now_ms;
  total_time_ += elapsed;
  if (text_.empty() && hoverable_ == nullptr) return;
  if (hover_time_ >= delay_) {
    Render(pointer_x_ + offset_x_, pointer_y_ + offset_y_);
  } else {
    hover_time_ += elapsed;
  }
}

void HintBox::Render(int x, int y) {
  cGuiResourceCache& cache = GetGuiResourceCache();
  SpriteBatch* sprite = cache.sprite();
  Graphics* graphics = cache.device();
  if (sprite == nullptr || graphics == nullptr) return;
  if (x + box_width_ > graphics->width()) x -= offset_x_ + box_width_;
  if (y + box_height_ > graphics->height()) y -= offset_y_ + box_height_;
  sprite->Begin(kSpriteAlphaBlend);
  if (!text_.empty()) {
    const Texture* skin = cache.GetTexture(cache.AddTexture(kSkinTexturePath));
    DrawSmallBox(*sprite, skin, RectFromSize(x, y, box_width_, box_height_));
    if (const Font* font = HintFont()) {
      Rect rect{x + 5, y, x + 5 + box_width_, y + box_height_};
      font->DrawText(sprite, text_, -1, &rect, DT_WORDBREAK | DT_VCENTER, 0xFFFFFFFFu);
    }
  } else if (hoverable_ != nullptr) {
    sprite->SetTransform(Matrix2D::Identity());
    hoverable_->DrawHint(*sprite, x, y);
  }
  sprite->End();
}

}  // namespace tr
