// The default skin of every dialog: which rectangle of the skin texture, which
// font and which colours each element of each control type starts with.
#pragma once

#include <cstdint>
#include <vector>

#include "gui/skin_element.h"

namespace tr {

// The skin texture every dialog registers in texture slot 0.
inline constexpr char16_t kSkinTexturePath[] = u"data\\gfx\\GUI.png";

// Number of default elements a dialog starts with.
inline constexpr int kDefaultElementCount = 125;

// The two colours of the layout fonts the default elements take their text
// colours from; the fonts are registered so that font slot i is layout font i.
struct DefaultElementFonts {
  std::uint32_t text_color = 0xFFFFFFFFu;       // layout font 1, first colour
  std::uint32_t text_color_alt = 0xFFFFFFFFu;   // layout font 1, second colour
  std::uint32_t title_color = 0xFFFFFFFFu;      // layout font 3, first colour
  std::uint32_t title_color_alt = 0xFFFFFFFFu;  // layout font 3, second colour
};

// All 125 default elements, ordered by control type, then element index.
std::vector<sDefaultElement> MakeDefaultElements(const DefaultElementFonts& fonts);

// The caption bar's element, already blended to normal so it shows from the first frame.
sSkinElement MakeCaptionElement();

// Cell size of the three frame styles (the border of a frame is one cell wide).
struct FrameStyle {
  std::int32_t left, top, cell_width, cell_height;
};
inline constexpr FrameStyle kFrameStyles[3] = {
    {0, 1913, 45, 45}, {1130, 370, 30, 30}, {221, 1895, 10, 10}};

// The hint box and the tab frame share this nine-patch of 10-pixel cells.
inline constexpr std::int32_t kSmallBoxLeft = 190;
inline constexpr std::int32_t kSmallBoxTop = 1895;

}  // namespace tr
