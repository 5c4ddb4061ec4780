#include "support/text_contrast.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string_view>

#include "platform/graphics.h"
#include "platform/render_backend.h"
#include "platform/texture.h"

namespace tr::test {
namespace {

double Luminance(std::uint32_t rgb) {
  double sum = 0.0;
  const double weights[3] = {0.2126, 0.7152, 0.0722};
  for (int i = 0; i < 3; ++i) {
    const double c = static_cast<double>((rgb >> (16 - 8 * i)) & 0xFF) / 255.0;
    sum += weights[i] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
  }
  return sum;
}

std::uint32_t Over(std::uint32_t argb, std::uint32_t background) {
  const double a = static_cast<double>(argb >> 24) / 255.0;
  std::uint32_t out = 0;
  for (int shift : {16, 8, 0}) {
    const double c = a * ((argb >> shift) & 0xFF) + (1.0 - a) * ((background >> shift) & 0xFF);
    out |= static_cast<std::uint32_t>(std::lround(c)) << shift;
  }
  return out;
}

// The software renderer, but the glyphs of every font (drawn from the fonts'
// atlas textures) are left out.
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

// Whether the pixel shows the text's colour at half its strength or more: its
// glyphs' cores, not the soft edges, nor a text seen only through something
// drawn over it (a dialog's frame). A text too close to the background to
// tell counts wherever it changed the pixel.
bool Covers(std::uint32_t text_argb, std::uint32_t behind, std::uint32_t drawn) {
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

bool IsShadowOf(const DrawRecord& shadow, const DrawRecord& text) {
  return (shadow.colour & 0x00FFFFFFu) == 0 && shadow.text == text.text && shadow.dest.left == text.dest.left + 1 &&
         shadow.dest.top == text.dest.top + 1;
}

}  // namespace

double Contrast(std::uint32_t text_argb, std::uint32_t background_rgb) {
  const double a = Luminance(Over(text_argb, background_rgb)), b = Luminance(background_rgb);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

std::vector<PoorText> TextsReadingBelow(Graphics& graphics, const std::function<void()>& draw_frame, const Rect& area,
                                        double least, int* measured,
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
  if (measured != nullptr) *measured = 0;
  if (behind.size() != drawn.size() || drawn.size() != static_cast<std::size_t>(width) * height) return poor;
  const std::vector<DrawRecord>& records = recorder.records();
  for (std::size_t i = 0; i < records.size(); ++i) {
    const DrawRecord& r = records[i];
    if (r.kind != DrawRecord::Kind::kText || r.text.empty() || (r.colour >> 24) == 0) continue;
    if (i + 1 < records.size() && IsShadowOf(r, records[i + 1])) continue;
    // A text of a panel behind a dialog, peeking out from under its edge, is the panel's to be measured.
    if (r.dest.left < area.left || r.dest.top < area.top || r.dest.right > area.right || r.dest.bottom > area.bottom) {
      continue;
    }
    if (counts && !counts(r)) continue;
    Rect box{std::max(area.left, static_cast<int>(std::floor(r.dest.left))),
             std::max(area.top, static_cast<int>(std::floor(r.dest.top))),
             std::min(area.right, static_cast<int>(std::ceil(r.dest.right))),
             std::min(area.bottom, static_cast<int>(std::ceil(r.dest.bottom)))};
    if (r.clip) {
      box = {std::max(box.left, r.clip->left), std::max(box.top, r.clip->top), std::min(box.right, r.clip->right),
             std::min(box.bottom, r.clip->bottom)};
    }
    box = {std::max(box.left, 0), std::max(box.top, 0), std::min(box.right, width), std::min(box.bottom, height)};
    double lowest = 100.0;
    bool any = false;
    for (int y = box.top; y < box.bottom; ++y) {
      for (int x = box.left; x < box.right; ++x) {
        const std::size_t at = static_cast<std::size_t>(y) * width + x;
        if (drawn[at] == behind[at] || !Covers(r.colour, behind[at], drawn[at])) continue;
        any = true;
        lowest = std::min(lowest, Contrast(r.colour, behind[at] & 0x00FFFFFFu));
      }
    }
    if (!any) continue;
    if (measured != nullptr) ++*measured;
    if (lowest < least) poor.push_back({r.text, r.colour, box, lowest});
  }
  return poor;
}

}  // namespace tr::test
