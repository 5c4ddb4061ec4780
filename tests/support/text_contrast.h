// How well a text reads against what is drawn behind it: the contrast ratio
// of two colours by their relative luminance, and a frame drawn without its
// texts, so that every pixel a text covers can be compared with the pixel
// behind it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/draw_record.h"
#include "platform/geometry.h"

namespace tr {
class Graphics;
}

namespace tr::test {

// The contrast ratio of a text colour (laid over the background by its
// alpha) against the background, from 1 to 21.
double Contrast(std::uint32_t text_argb, std::uint32_t background_rgb);

// One text that reads worse than asked, with the least contrast found.
struct PoorText {
  std::u16string text;
  Argb colour = 0;
  Rect at{};
  double contrast = 0;
};

// Draws one frame (through draw_frame) as it is and one with no text, and
// compares the colour of each text inside area with every pixel behind it
// that the text (or its shadow) changed: a shadow helps, but the text must
// read without it. Returns the texts below least, and the number of texts
// measured in measured. The device draws with a software renderer again
// afterwards.
// Only texts placed wholly inside the area count, and of those only the ones
// `counts` accepts (all when empty).
std::vector<PoorText> TextsReadingBelow(Graphics& graphics, const std::function<void()>& draw_frame, const Rect& area,
                                        double least, int* measured,
                                        const std::function<bool(const DrawRecord&)>& counts = {});

}  // namespace tr::test
