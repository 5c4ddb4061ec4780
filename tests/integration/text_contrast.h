// How well each text reads against what is drawn behind it: a frame is drawn
// as it is and once with no glyphs, and each text's colour is compared, by
// the contrast ratio of relative luminances, with every pixel behind the
// cores of its glyphs (not their soft edges, nor a text seen only through
// something drawn over it). A shadow helps, but the text must read without it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw_record.h"
#include "platform/graphics.h"
#include "platform/render_backend.h"
#include "platform/texture.h"

namespace tr::test {

inline double Luminance(std::uint32_t rgb) {
  double sum = 0.0;
  const double weights[3] = {0.2126, 0.7152, 0.0722};
  for (int i = 0; i < 3; ++i) {
    const double c = static_cast<double>((rgb >> (16 - 8 * i)) & 0xFF) / 255.0;
    sum += weights[i] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
  }
  return sum;
}

// The text colour laid over the background by its alpha.
inline std::uint32_t Over(std::uint32_t argb, std::uint32_t background) {
  const double a = static_cast<double>(argb >> 24) / 255.0;
  std::uint32_t out = 0;
  for (int shift : {16, 8, 0}) {
    const double c = a * ((argb >> shift) & 0xFF) + (1.0 - a) * ((background >> shift) & 0xFF);
    out |= static_cast<std::uint32_t>(std::lround(c)) << shift;
  }
  return out;
}

inline double Contrast(std::uint32_t text_argb, std::uint32_t background) {
  const double a = Luminance(Over(text_argb, background)), b = Luminance(background & 0x00FFFFFFu);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// Whether the drawn pixel shows the text's colour at half its strength or
// more; a text too close to the background to tell counts wherever it drew.
inline bool Covers(std::uint32_t text_argb, std::uint32_t behind, std::uint32_t drawn) {
  const std::uint32_t full = Over(text_argb, behind);
  int strongest = 0, change = 0;
  for (int shift : {16, 8, 0}) {
    const int want = static_cast<int>((full >> shift) & 0xFF) - static_cast<int>((behind >> shift) & 0xFF);
    if (std::abs(want) <= strongest) continue;
    strongest = std::abs(want);
    change = static_cast<int>((drawn >> shift) & 0xFF) - static_cast<int>((behind >> shift) & 0xFF);
    if (want < 0) change = -change;
  }
  return strongest < 8 || 2 * change >= strongest;
}

// The software renderer without the fonts' glyphs, which come from their atlas textures.
class TextlessBackend : public RenderBackend {
 public:
  TextlessBackend(int width, int height) : inner_(CreateSoftwareBackend(width, height)) {}
  void SetClip(const Rect* clip) override { inner_->SetClip(clip); }
  void Clear(Argb colour) override { inner_->Clear(colour); }
  void DrawTexturedQuads(const Texture& texture, std::span<const TexturedQuad> quads) override {
    if (!std::string_view(texture.label()).starts_with("font ")) inner_->DrawTexturedQuads(texture, quads);
  }
  void FillQuad(const PointF corners[4], const Argb colours[4]) override { inner_->FillQuad(corners, colours); }
  void DrawLine(PointF a, PointF b, Argb colour) override { inner_->DrawLine(a, b, colour); }
  void Present() override { inner_->Present(); }
  bool ReadPixels(std::vector<std::uint32_t>& out, int& width, int& height) override {
    return inner_->ReadPixels(out, width, height);
  }
  int max_texture_size() const override { return inner_->max_texture_size(); }
  void set_max_texture_size(int size) override { inner_->set_max_texture_size(size); }

 private:
  std::unique_ptr<RenderBackend> inner_;
};

// A text that reads worse than asked, with the least contrast found where it lies.
struct PoorText {
  std::u16string text;
  Argb colour = 0;
  Rect at{};
  double contrast = 0;
};

// Draws a frame (by draw_frame) without glyphs and one as it is, and measures
// the texts placed wholly inside the area that `counts` accepts; returns
// those below `least` and counts the texts measured. The device draws with
// the software renderer afterwards.
inline std::vector<PoorText> TextsReadingBelow(Graphics& graphics, const std::function<void()>& draw_frame,
                                               const Rect& area, double least, int& measured,
                                               const std::function<bool(const DrawRecord&)>& counts) {
  const int width = graphics.width(), height = graphics.height();
  graphics.ReplaceBackend(std::make_unique<TextlessBackend>(width, height));
  draw_frame();
  const std::vector<std::uint32_t> behind = graphics.ReadPixels();
  graphics.ReplaceBackend(CreateSoftwareBackend(width, height));
  DrawRecorder recorder;
  DrawRecorder* const outer = graphics.recorder();
  graphics.SetRecorder(&recorder);
  draw_frame();
  graphics.SetRecorder(outer);
  const std::vector<std::uint32_t> drawn = graphics.ReadPixels();
  std::vector<PoorText> poor;
  if (behind.size() != drawn.size() || drawn.size() != static_cast<std::size_t>(width) * height) return poor;
  const std::vector<DrawRecord>& records = recorder.records();
  for (std::size_t i = 0; i < records.size(); ++i) {
    const DrawRecord& r = records[i];
    if (r.kind != DrawRecord::Kind::kText || r.text.empty() || (r.colour >> 24) == 0 || !counts(r)) continue;
    // The black copy one pixel down and right is the next text's shadow.
    const DrawRecord* next = i + 1 < records.size() ? &records[i + 1] : nullptr;
    if ((r.colour & 0x00FFFFFFu) == 0 && next != nullptr && next->text == r.text &&
        r.dest.left == next->dest.left + 1 && r.dest.top == next->dest.top + 1) {
      continue;
    }
    // A text of a panel behind a dialog, peeking out from under its edge, is the panel's to be measured.
    if (r.dest.left < area.left || r.dest.top < area.top || r.dest.right > area.right || r.dest.bottom > area.bottom) {
      continue;
    }
    Rect box{std::max(0, static_cast<int>(r.dest.left)), std::max(0, static_cast<int>(r.dest.top)),
             std::min(width, static_cast<int>(std::ceil(r.dest.right))),
             std::min(height, static_cast<int>(std::ceil(r.dest.bottom)))};
    if (r.clip) {
      box = {std::max(box.left, r.clip->left), std::max(box.top, r.clip->top), std::min(box.right, r.clip->right),
             std::min(box.bottom, r.clip->bottom)};
    }
    double lowest = 100.0;
    for (int y = box.top; y < box.bottom; ++y) {
      for (int x = box.left; x < box.right; ++x) {
        const std::size_t at = static_cast<std::size_t>(y) * width + x;
        if (drawn[at] != behind[at] && Covers(r.colour, behind[at], drawn[at])) {
          lowest = std::min(lowest, Contrast(r.colour, behind[at]));
        }
      }
    }
    if (lowest == 100.0) continue;
    ++measured;
    if (lowest < least) poor.push_back({r.text, r.colour, box, lowest});
  }
  return poor;
}

}  // namespace tr::test
