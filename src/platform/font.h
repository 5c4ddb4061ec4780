// Fonts by face name, height and weight, resolved through fontconfig to an
// installed TrueType file (the common Windows faces map to their
// metric-compatible Liberation faces). Lines are exactly the requested height
// apart. Text is drawn and measured with the DT_ flags of platform/codes.h:
// LEFT, CENTER, RIGHT, TOP, VCENTER, BOTTOM, SINGLELINE, WORDBREAK, NOCLIP and
// CALCRECT. Measuring works on any thread; drawing on the main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/geometry.h"

namespace tr {

class Graphics;
class SpriteBatch;
class Texture;

// The installed font file fontconfig picks for a face and weight (100-900); empty when none.
std::string ResolveFontFile(std::u16string_view face, int weight);

// The faces Font::Create found no installed font for, each once, in the order met.
std::vector<std::u16string> MissingFontFaces();

class Font {
 public:
  // Null (and a log line) when no installed font can be opened.
  static std::unique_ptr<Font> Create(std::u16string_view face, int height, int weight);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  const std::u16string& face() const { return face_; }
  int height() const { return height_; }
  int weight() const { return weight_; }
  const std::string& file() const { return file_; }
  // Distance between lines: the requested height.
  int line_height() const { return line_height_; }

  // Draws the first count units of the text (-1 for all) in the rectangle.
  // With DT_CALCRECT it only measures: the rectangle's right and bottom become
  // those of the text. Returns the height of the text.
  int DrawText(SpriteBatch* sprite, std::u16string_view text, int count, Rect* rect, std::uint32_t format,
               Argb colour) const;
  int DrawText(Graphics& graphics, std::u16string_view text, int count, Rect* rect, std::uint32_t format,
               Argb colour) const;
  // DT_CALCRECT without a device.
  int Measure(std::u16string_view text, int count, Rect* rect, std::uint32_t format) const;
  // Advance width of a single line of text, in pixels.
  int TextWidth(std::u16string_view text) const;

  // Draws already-cut text now (the sprite batch calls it when it flushes).
  void Render(Graphics& graphics, std::u16string_view text, const Rect& rect, std::uint32_t format, Argb colour,
              const Matrix2D& transform) const;

 private:
  struct Glyph {
    int advance = 0;
    int offset_x = 0;
    bool rendered = false;
    int atlas_x = 0, atlas_y = 0;
    int width = 0, height = 0;
  };
  Font() = default;
  // Both take the font lock.
  Glyph& GlyphFor(char32_t code) const;
  void RenderGlyph(char32_t code, Glyph& glyph) const;
  std::vector<int> Advances(std::u16string_view text) const;
  // The face rasterised at the height the scale shows it (this font at full
  // size): a glyph shrunk from full size loses its thin strokes. Takes the lock.
  const Font* SizedFor(float scale) const;

  std::u16string face_;
  int height_ = 0;
  int weight_ = 0;
  int line_height_ = 0;
  std::string file_;
  void* ttf_ = nullptr;
  int glyph_top_ = 0;
  mutable std::unordered_map<char32_t, Glyph> glyphs_;
  mutable std::array<Glyph*, 128> ascii_{};  // into glyphs_, whose elements never move
  mutable std::unique_ptr<Texture> atlas_;
  mutable int pen_x_ = 0, pen_y_ = 0, row_height_ = 0;
  int atlas_rows_ = 256;  // the atlas's first height; it doubles as glyphs come
  mutable std::map<int, std::unique_ptr<Font>> sized_;  // by line height
};

}  // namespace tr
