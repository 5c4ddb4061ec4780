// How well each text reads against what is drawn behind it: a frame is drawn
// as it is and once with no glyphs, and each text's colour is compared, by
// the contrast ratio of relative luminances, with every pixel behind the
// cores of its glyphs (not their soft edges, nor a text seen only through
// something drawn over it). A shadow helps, but the text must read without it.
#pragma once

#include <algorithm>
#include <cmath>
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

// Channel `shift` of the text colour laid over the background by its alpha.
inline double Over(std::uint32_t argb, std::uint32_t background, int shift) {
  const double a = static_cast<double>(argb >> 24) / 255.0;
  return std::round(a * ((argb >> shift) & 0xFF) + (1.0 - a) * ((background >> shift) & 0xFF));
}

inline double Contrast(std::uint32_t text_argb, std::uint32_t background) {
  double text = 0.0, behind = 0.0;
  for (const auto& [shift, weight] : {std::pair{16, 0.2126}, std::pair{8, 0.7152}, std::pair{0, 0.0722}}) {
    for (auto [c, sum] : {std::pair{Over(text_argb, background, shift) / 255.0, &text},
                          std::pair{static_cast<double>((background >> shift) & 0xFF) / 255.0, &behind}}) {
      *sum += weight * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
  }
  return (std::max(text, behind) + 0.05) / (std::min(text, behind) + 0.05);
}

// Whether the drawn pixel shows the text's colour at half its strength or
// more; a text too close to the background to tell counts wherever it drew.
inline bool Covers(std::uint32_t text_argb, std::uint32_t behind, std::uint32_t drawn) {
  double strongest = 0, change = 0;
  for (int shift : {16, 8, 0}) {
    const double want = Over(text_argb, behind, shift) - ((behind >> shift) & 0xFF);
    if (std::abs(want) <= strongest) continue;
    strongest = std::abs(want);
    change = (static_cast<double>((drawn >> shift) & 0xFF) - ((behind >> shift) & 0xFF)) * (want < 0 ? -1 : 1);
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

// Draws a frame (by draw_frame) without glyphs and one as it is, and passes
// each text placed wholly inside the area that `counts` accepts to `measured`
// with the place it was measured in and its least contrast there. The device
// draws with the software renderer afterwards.
inline void MeasureTexts(Graphics& graphics, const std::function<void()>& draw_frame, const Rect& area,
                         const std::function<bool(const DrawRecord&)>& counts,
                         const std::function<void(const DrawRecord&, const Rect&, double)>& measured) {
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
  if (behind.size() != drawn.size() || drawn.size() != static_cast<std::size_t>(width) * height) return;
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
    const Rect clip = r.clip.value_or(Rect{0, 0, width, height});
    const Rect box{std::max({0, clip.left, static_cast<int>(r.dest.left)}),
                   std::max({0, clip.top, static_cast<int>(r.dest.top)}),
                   std::min({width, clip.right, static_cast<int>(std::ceil(r.dest.right))}),
                   std::min({height, clip.bottom, static_cast<int>(std::ceil(r.dest.bottom))})};
    double lowest = 100.0;
    for (int y = box.top; y < box.bottom; ++y) {
      for (int x = box.left; x < box.right; ++x) {
        const std::size_t at = static_cast<std::size_t>(y) * width + x;
        if (drawn[at] != behind[at] && Covers(r.colour, behind[at], drawn[at])) {
          lowest = std::min(lowest, Contrast(r.colour, behind[at]));
        }
      }
    }
    if (lowest < 100.0) measured(r, box, lowest);
  }
}

}  // namespace tr::test
