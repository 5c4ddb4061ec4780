// Drawing a dialog: background, caption and controls, and the sprite and text
// operations the controls draw with. Every rectangle a control gives is
// relative to the dialog and moves with it.
#include "gui/dialog.h"
#include "gui/resource_cache.h"
#include "platform/font.h"
#include "platform/frame.h"
#include "platform/graphics.h"
#include "platform/sprite_batch.h"
#include "platform/texture.h"

namespace tr {
namespace {

// Draws source stretched over dest by scaling the sprite, as the skin is cut in
// small pieces that stretch to any size.
void DrawStretched(SpriteBatch& sprite, const Texture* texture, const Rect& source, const Rect& dest,
                   float depth, std::uint32_t colour) {
  if (source.width() == 0 || source.height() == 0 || dest.width() <= 0 || dest.height() <= 0) return;
  const float sx = static_cast<float>(dest.width()) / static_cast<float>(source.width());
  const float sy = static_cast<float>(dest.height()) / static_cast<float>(source.height());
  sprite.SetTransform(Matrix2D::Scaling(sx, sy));
  sprite.Draw(texture, &source, {static_cast<float>(dest.left) / sx, static_cast<float>(dest.top) / sy},
              depth, colour);
  sprite.SetTransform(Matrix2D::Identity());
}

}  // namespace

Rect CDXUTDialog::ToScreen(const Rect& rect) const {
  return OffsetRect(rect, x_, y_ + (caption_shown_ ? caption_height_ : 0));
}

void CDXUTDialog::OnRender(float elapsed) {
  if (last_refresh_time_ < s_refresh_time) {
    const AppFrame* frame = CurrentFrame();
    last_refresh_time_ = frame != nullptr ? frame->time() : s_refresh_time;
    Refresh();
  }
  if (!visible_) return;
  cGuiResourceCache& cache = GetGuiResourceCache();
  Graphics* graphics = cache.device();
  SpriteBatch* sprite = cache.sprite();
  if (graphics == nullptr || sprite == nullptr) return;

  // A wholly transparent background would draw nothing; it is left out.
  const bool has_background = ((background_[0] | background_[1] | background_[2] | background_[3]) >> 24) != 0;
  if (!minimized_ && has_background) {
    graphics->FillQuad(RectF{static_cast<float>(x_), static_cast<float>(y_), static_cast<float>(x_ + width_),
                             static_cast<float>(y_ + height_)},
                       background_[0], background_[1], background_[2], background_[3]);
  }

  sprite->Begin(kSpriteAlphaBlend | kSpriteDontSaveState);
  if (caption_shown_) {
    const Rect bar{0, -caption_height_, width_, 0};
    DrawSprite(&caption_element_, bar, 0.2f);
    std::u16string text = caption_;
    if (minimized_) text = (text + u" (Minimized)").substr(0, 255);
    Rect text_rect = bar;
    text_rect.left += 5;
    DrawText(text, &caption_element_, text_rect, true);
  }
  if (!minimized_) {
    for (const auto& control : controls_) {
      if (control.get() != s_focused) control->Render(elapsed);
    }
    // The focused control is drawn last, on top of its neighbours.
    if (s_focused != nullptr && s_focused->GetDialog() == this) s_focused->Render(elapsed);
  }
  sprite->End();
}

HResult CDXUTDialog::DrawSprite(const sSkinElement* element, const Rect& rect, float depth) {
  if (element == nullptr) return E_INVALIDARG;
  if (element->texture_color.CurrentAlpha() == 0.0f) return S_OK;
  cGuiResourceCache& cache = GetGuiResourceCache();
  SpriteBatch* sprite = cache.sprite();
  const Texture* texture = cache.GetTexture(GetTextureIndex(element->texture_index));
  if (sprite == nullptr || texture == nullptr) return S_OK;
  DrawStretched(*sprite, texture, element->texture_rect, ToScreen(rect), depth,
                element->texture_color.CurrentArgb());
  return S_OK;
}

HResult CDXUTDialog::DrawTextureSprite(Texture* texture, const Rect& source, const Rect& rect, float depth,
                                       std::uint32_t color) {
  SpriteBatch* sprite = GetGuiResourceCache().sprite();
  if (sprite == nullptr || texture == nullptr) return S_OK;
  DrawStretched(*sprite, texture, source, ToScreen(rect), depth, color);
  return S_OK;
}

HResult CDXUTDialog::DrawText(std::u16string_view text, const sSkinElement* element, const Rect& rect,
                              bool shadow, int count, const Rect* clip) {
  if (element == nullptr) return E_INVALIDARG;
  cGuiResourceCache& cache = GetGuiResourceCache();
  SpriteBatch* sprite = cache.sprite();
  Graphics* graphics = cache.device();
  if (sprite == nullptr || graphics == nullptr) return S_OK;
  // The clip applies to everything drawn since the batch began, so the batch is cut around it.
  const bool batched = sprite->begun();
  auto restart_batch = [&] {
    if (!batched) return;
    sprite->End();
    sprite->Begin(kSpriteAlphaBlend | kSpriteDontSaveState);
  };
  if (clip != nullptr) {
    restart_batch();
    graphics->SetClipRect(clip);
  }
  const Font* font = cache.GetFont(GetFontIndex(element->font_index));
  if (font != nullptr && element->font_color.CurrentAlpha() != 0.0f) {
    sprite->SetTransform(Matrix2D::Identity());
    const std::uint32_t colour = element->font_color.CurrentArgb();
    Rect screen = ToScreen(rect);
    if (shadow) {
      Rect shadow_rect = OffsetRect(screen, 1, 1);
      font->DrawText(sprite, text, count, &shadow_rect, element->text_format, colour & 0xFF000000u);
    }
    font->DrawText(sprite, text, count, &screen, element->text_format, colour);
  }
  if (clip != nullptr) {
    // Always switched off again, also when nothing was drawn.
    restart_batch();
    graphics->SetClipRect(nullptr);
  }
  return S_OK;
}

HResult CDXUTDialog::CalcTextRect(std::u16string_view text, const sSkinElement* element, Rect* rect, int count) {
  if (element == nullptr || rect == nullptr) return E_INVALIDARG;
  const Font* font = GetGuiResourceCache().GetFont(GetFontIndex(element->font_index));
  if (font == nullptr) return E_FAIL;
  font->Measure(text, count, rect, element->text_format | DT_CALCRECT);
  return S_OK;
}

HResult CDXUTDialog::DrawRect(const Rect& rect, std::uint32_t color) {
  cGuiResourceCache& cache = GetGuiResourceCache();
  Graphics* graphics = cache.device();
  if (graphics == nullptr) return S_OK;
  // Whatever the batch holds goes first, so the rectangle lies above it.
  if (SpriteBatch* sprite = cache.sprite(); sprite != nullptr && sprite->begun()) sprite->Flush();
  const Rect screen = ToScreen(rect);
  graphics->FillRect(RectF{static_cast<float>(screen.left), static_cast<float>(screen.top),
                           static_cast<float>(screen.right), static_cast<float>(screen.bottom)},
                     color);
  return S_OK;
}

}  // namespace tr
