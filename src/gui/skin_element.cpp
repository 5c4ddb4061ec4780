#include "gui/skin_element.h"

#include <algorithm>
#include <cmath>

namespace tr {
namespace {

void ToFloats(std::uint32_t argb, float out[4]) {
  out[0] = static_cast<float>((argb >> 16) & 0xFF) / 255.0f;
  out[1] = static_cast<float>((argb >> 8) & 0xFF) / 255.0f;
  out[2] = static_cast<float>(argb & 0xFF) / 255.0f;
  out[3] = static_cast<float>((argb >> 24) & 0xFF) / 255.0f;
}

std::uint32_t ToByte(float channel) {
  return static_cast<std::uint32_t>(std::clamp(channel, 0.0f, 1.0f) * 255.0f + 0.5f);
}

}  // namespace

void sBlendColor::Init(std::uint32_t default_color, std::uint32_t disabled, std::uint32_t hidden) {
  states.fill(default_color);
  states[kStateDisabled] = disabled;
  states[kStateHidden] = hidden;
  SetCurrent(hidden);
}

void sBlendColor::Blend(int state, float elapsed, float rate) {
  if (state < 0 || state >= kStateCount) state = kStateNormal;
  float target[4];
  ToFloats(states[static_cast<std::size_t>(state)], target);
  // pow(0, 0) is 1, which would leave the colour where it is: rate 0 means "at once" in every case.
  const float keep = rate <= 0.0f ? 0.0f : std::pow(rate, elapsed * 30.0f);
  for (int i = 0; i < 4; ++i) current[i] += (target[i] - current[i]) * (1.0f - keep);
}

void sBlendColor::SetCurrent(std::uint32_t argb) { ToFloats(argb, current); }

std::uint32_t sBlendColor::CurrentArgb() const {
  return ToByte(current[3]) << 24 | ToByte(current[0]) << 16 | ToByte(current[1]) << 8 |
         ToByte(current[2]);
}

void sSkinElement::SetTexture(std::int32_t texture, const Rect& rect, std::uint32_t default_color) {
  texture_index = texture;
  texture_rect = rect;
  texture_color.Init(default_color);
}

void sSkinElement::SetFont(std::int32_t font, std::uint32_t default_color, std::uint32_t format) {
  font_index = font;
  font_color.Init(default_color);
  text_format = format;
}

void sSkinElement::Refresh() {
  texture_color.SetCurrent(texture_color.states[kStateHidden]);
  font_color.SetCurrent(font_color.states[kStateHidden]);
}

}  // namespace tr
