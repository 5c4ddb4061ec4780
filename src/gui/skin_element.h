// Skin elements: a rectangle of a dialog texture, a font and a text format,
// with texture and font colours that fade toward the owning control's state.
#pragma once

#include <array>
#include <cstdint>

#include "gui/gui_types.h"

namespace tr {

// Six ARGB colours indexed by eControlState, and the current colour as floats
// in 0..1, which moves toward the colour of the state being drawn.
struct sBlendColor {
  std::array<std::uint32_t, kStateCount> states{};
  float current[4] = {0, 0, 0, 0};  // red, green, blue, alpha

  // Normal, focus, mouse over and pressed take the default; the current colour
  // starts at the hidden one so that a new control fades in.
  void Init(std::uint32_t default_color, std::uint32_t disabled = 0xC8808080u,
            std::uint32_t hidden = 0);
  // Each channel moves (target - current) * (1 - rate^(elapsed * 30)); rate 0
  // reaches the target at once.
  void Blend(int state, float elapsed, float rate = 0.7f);
  void SetCurrent(std::uint32_t argb);
  // The current colour as ARGB: each channel clamped, times 255, plus 0.5, truncated.
  std::uint32_t CurrentArgb() const;
  float CurrentAlpha() const { return current[3]; }
};

struct sSkinElement {
  std::int32_t texture_index = 0;  // dialog texture slot; -1 draws nothing
  std::int32_t font_index = 0;     // dialog font slot; -1 draws no text
  std::uint32_t text_format = 0;   // DT_ flags
  Rect texture_rect;
  sBlendColor texture_color;
  sBlendColor font_color;

  void SetTexture(std::int32_t texture, const Rect& rect, std::uint32_t default_color = 0xFFFFFFFFu);
  void SetFont(std::int32_t font, std::uint32_t default_color = 0xFFFFFFFFu,
               std::uint32_t text_format = 0);
  // Both current colours fall back to their hidden colours.
  void Refresh();
};

// One record of a dialog's default-element list: what InitControl copies
// into every new control of the type, at the element index.
struct sDefaultElement {
  std::int32_t control_type = 0;
  std::int32_t element_index = 0;
  sSkinElement element;
};

}  // namespace tr
