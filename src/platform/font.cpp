// Fonts through fontconfig and SDL_ttf. Glyphs are rasterised once, white with
// coverage as alpha, into an atlas texture per font, and drawn as textured
// quads modulated by the text colour.
#include "platform/font.h"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>

#include "foundation/console_log.h"
#include "foundation/text.h"
#include "platform/graphics.h"
#include "platform/render_backend.h"
#include "platform/sprite_batch.h"
#include "platform/text_layout.h"
#include "platform/texture.h"

namespace tr {
namespace {

// The font library keeps shared state, so every call into it holds this lock.
std::recursive_mutex& FontLibraryMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

bool EnsureTtf() {
  static bool ok = TTF_WasInit() > 0 || TTF_Init() == 0;
  return ok;
}

constexpr int kAtlasWidth = 1024;
constexpr int kAtlasMaxHeight = 2048;

std::u32string Decode(std::u16string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    out.push_back(c);
  }
  return out;
}

std::vector<std::u16string>& MissingFaces() {
  static std::vector<std::u16string> faces;
  return faces;
}

void NoteMissingFace(std::u16string_view face) {
  auto& faces = MissingFaces();
  if (std::find(faces.begin(), faces.end(), face) == faces.end()) faces.emplace_back(face);
}

}  // namespace

std::vector<std::u16string> MissingFontFaces() {
  std::lock_guard<std::recursive_mutex> lock(FontLibraryMutex());
  return MissingFaces();
}

std::string ResolveFontFile(std::u16string_view face, int weight) {
  std::lock_guard<std::recursive_mutex> lock(FontLibraryMutex());
  static std::map<std::pair<std::u16string, int>, std::string> cache;
  if (weight <= 0) weight = 400;
  const auto key = std::make_pair(std::u16string(face), weight);
  if (auto it = cache.find(key); it != cache.end()) return it->second;

  std::string file;
  if (FcInit()) {
    FcPattern* pattern = FcPatternCreate();
    const std::string family = Utf16ToUtf8(face);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddDouble(pattern, FC_WEIGHT, FcWeightFromOpenTypeDouble(std::clamp(weight, 1, 1000)));
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match) {
      FcChar8* path = nullptr;
      if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) {
        file = reinterpret_cast<const char*>(path);
      }
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  cache[key] = file;
  return file;
}

std::unique_ptr<Font> Font::Create(std::u16string_view face, int height, int weight) {
  const std::string file = ResolveFontFile(face, weight);
  std::lock_guard<std::recursive_mutex> lock(FontLibraryMutex());
  if (file.empty() || !EnsureTtf()) {
    LogFormat(u"Font \"%s\" (%i, %i) not found", std::u16string(face), height, weight);
    NoteMissingFace(face);
    return nullptr;
  }
  // The height is the distance between lines; the glyphs are sized so that a
  // line of them (ascent and descent) fits it, as a character-cell height does.
  const int line = height > 0 ? height : (height < 0 ? -height : 16);
  TTF_Font* ttf = TTF_OpenFont(file.c_str(), line);
  if (!ttf) {
    LogFormat(u"Font \"%s\" (%i, %i) could not be opened from %s", std::u16string(face), height, weight, file);
    NoteMissingFace(face);
    return nullptr;
  }
  if (height > 0) {
    const int natural = std::max(1, TTF_FontHeight(ttf));
    int size = std::max(1, (line * line + natural / 2) / natural);
    TTF_SetFontSize(ttf, size);
    while (size > 1 && TTF_FontHeight(ttf) > line) TTF_SetFontSize(ttf, --size);
  }
  std::unique_ptr<Font> font(new Font());
  font->face_ = face;
  font->height_ = height;
  font->weight_ = weight;
  font->file_ = file;
  font->ttf_ = ttf;
  font->line_height_ = height > 0 ? line : std::max(line, TTF_FontHeight(ttf));
  font->glyph_top_ = std::max(0, (font->line_height_ - TTF_FontHeight(ttf)) / 2);
  return font;
}

Font::~Font() {
  std::lock_guard<std::recursive_mutex> lock(FontLibraryMutex());
  if (ttf_) TTF_CloseFont(static_cast<TTF_Font*>(ttf_));
}

Font::Glyph& Font::GlyphFor(char32_t code) const {
  std::lock_guard<std::recursive_mutex> lock(FontLibraryMutex());
  // Most text is ASCII: its glyphs are found without hashing.
  Glyph** ascii = code < ascii_.size() ? &ascii_[code] : nullptr;
  if (ascii && *ascii) return **ascii;
  auto [it, inserted] = glyphs_.try_emplace(code);
  if (ascii) *ascii = &it->second;
  if (inserted && code >= 0x20) {
    int minx = 0, maxx = 0, miny = 0, maxy = 0, advance = 0;
    if (TTF_GlyphMetrics32(static_cast<TTF_Font*>(ttf_), static_cast<Uint32>(code), &minx, &maxx, &miny, &maxy,
                           &advance) == 0) {
      it->second.advance = advance;
      it->second.offset_x = std::min(0, minx);
    }
  }
  return it->second;
}

std::vector<int> Font::Advances(std::u16string_view text) const {
  std::vector<int> advances(text.size(), 0);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      advances[i] = GlyphFor(c).advance;
      ++i;
      continue;
    }
    if (c == u'\t') c = u' ';
    advances[i] = GlyphFor(c).advance;
  }
  return advances;
}

int Font::TextWidth(std::u16string_view text) const {
  int w = 0;
  for (int a : Advances(text)) w += a;
  return w;
}

int Font::Measure(std::u16string_view text, int count, Rect* rect, std::uint32_t format) const {
  if (count >= 0 && static_cast<std::size_t>(count) < text.size()) text = text.substr(0, count);
  const Rect in = rect ? *rect : Rect{};
  const auto advances = Advances(text);
  const auto lines = LayoutText(text, advances, in, format, line_height_);
  if (rect) *rect = MeasuredRect(lines, in, line_height_);
  return static_cast<int>(lines.size()) * line_height_;
}

int Font::DrawText(SpriteBatch* sprite, std::u16string_view text, int count, Rect* rect, std::uint32_t format,
                   Argb colour) const {
  if (!rect) return 0;
  if (format & DT_CALCRECT) return Measure(text, count, rect, format);
  if (count >= 0 && static_cast<std::size_t>(count) < text.size()) text = text.substr(0, count);
  if (sprite) {
    sprite->QueueText(*this, std::u16string(text), *rect, format, colour);
  }
  return Measure(text, -1, nullptr, format | DT_CALCRECT);
}

int Font::DrawText(Graphics& graphics, std::u16string_view text, int count, Rect* rect, std::uint32_t format,
                   Argb colour) const {
  if (!rect) return 0;
  if (format & DT_CALCRECT) return Measure(text, count, rect, format);
  if (count >= 0 && static_cast<std::size_t>(count) < text.size()) text = text.substr(0, count);
  Render(graphics, text, *rect, format, colour, Matrix2D::Identity());
  return Measure(text, -1, nullptr, format | DT_CALCRECT);
}

void Font::RenderGlyph(char32_t code, Glyph& glyph) const {
  glyph.rendered = true;
  if (code < 0x20 || code == 0x20) return;
  SDL_Surface* rendered =
      TTF_RenderGlyph32_Blended(static_cast<TTF_Font*>(ttf_), static_cast<Uint32>(code), SDL_Color{255, 255, 255, 255});
  if (!rendered) return;
  SDL_Surface* surface = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(rendered);
  if (!surface) return;
  const int w = surface->w, h = surface->h;
  if (!atlas_) {
    atlas_ = Texture::CreateEmpty(kAtlasWidth, atlas_rows_);
    atlas_->set_label("font " + Utf16ToUtf8(face_));
  }
  if (pen_x_ + w + 1 > kAtlasWidth) {
    pen_x_ = 0;
    pen_y_ += row_height_ + 1;
    row_height_ = 0;
  }
  // The atlas doubles until the glyph fits, up to its largest size; a glyph
  // that does not fit even then is not drawn.
  if (w > kAtlasWidth || pen_y_ + h > kAtlasMaxHeight) {
    static bool logged = false;
    if (!logged) LogLine(u"Font glyph atlas full; further glyphs are not drawn");
    logged = true;
    SDL_FreeSurface(surface);
    return;
  }
  int height = atlas_->height();
  while (pen_y_ + h > height) height *= 2;
  if (height != atlas_->height()) atlas_->Resize(kAtlasWidth, std::min(height, kAtlasMaxHeight));
  Texture::LockedRect locked = atlas_->Lock();
  for (int y = 0; y < h; ++y) {
    const auto* src = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(surface->pixels) +
                                                             static_cast<std::size_t>(y) * surface->pitch);
    std::uint32_t* dst = reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(locked.bits) +
                                                          static_cast<std::size_t>(pen_y_ + y) * locked.pitch) +
                         pen_x_;
    for (int x = 0; x < w; ++x) dst[x] = (src[x] & 0xFF000000u) | 0x00FFFFFFu;
  }
  atlas_->Unlock();
  SDL_FreeSurface(surface);
  glyph.atlas_x = pen_x_;
  glyph.atlas_y = pen_y_;
  glyph.width = w;
  glyph.height = h;
  pen_x_ += w + 1;
  row_height_ = std::max(row_height_, h);
}

const Font* Font::SizedFor(float scale) const {
  const int line = static_cast<int>(std::lround(static_cast<float>(line_height_) * scale));
  if (height_ <= 0 || line >= line_height_ || line < 1) return this;
  std::lock_guard<std::recursive_mutex> lock(FontLibraryMutex());
  auto [it, inserted] = sized_.try_emplace(line);
  if (inserted) {
    it->second = Create(face_, line, weight_);
    // Small faces fill little of an atlas.
    if (it->second) it->second->atlas_rows_ = 64;
  }
  return it->second ? it->second.get() : this;
}

void Font::Render(Graphics& graphics, std::u16string_view text, const Rect& rect, std::uint32_t format, Argb colour,
                  const Matrix2D& transform) const {
  const PointF a = transform.Apply({static_cast<float>(rect.left), static_cast<float>(rect.top)});
  const PointF b = transform.Apply({static_cast<float>(rect.right), static_cast<float>(rect.bottom)});
  const RectF dest{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  if (graphics.recorder()) {
    DrawRecord r;
    r.kind = DrawRecord::Kind::kText;
    r.text = std::u16string(text);
    r.dest = dest;
    r.colour = colour;
    r.flags = format;
    r.font = this;
    graphics.Record(std::move(r));
  }
  std::vector<TexturedQuad> quads;
  const Font* glyphs = this;
  {
    std::lock_guard<std::recursive_mutex> lock(FontLibraryMutex());
    // Shrunk evenly (the map zoomed out), the glyphs come from the face at the
    // shown size, each on whole pixels, while the layout keeps this font's
    // measures, so that a text takes the same place at every zoom.
    const float scale = transform.m11;
    const bool shrunk = transform.m12 == 0.0f && transform.m21 == 0.0f && transform.m22 == scale &&
                        scale > 0.0f && scale < 1.0f;
    if (shrunk) glyphs = SizedFor(scale);
    const auto advances = Advances(text);
    const auto lines = LayoutText(text, advances, rect, format, line_height_);
    for (const TextLine& line : lines) {
      int pen = line.x;
      const std::u32string codes = Decode(text.substr(line.begin, line.end - line.begin));
      for (char32_t code : codes) {
        if (code == U'\t') code = U' ';
        Glyph& glyph = glyphs->GlyphFor(code);
        if (!glyph.rendered) glyphs->RenderGlyph(code, glyph);
        if (glyph.width > 0) {
          TexturedQuad q;
          if (glyphs == this) {
            const float x0 = static_cast<float>(pen + glyph.offset_x);
            const float y0 = static_cast<float>(line.y + glyph_top_);
            const float x1 = x0 + glyph.width, y1 = y0 + glyph.height;
            q.corners[0] = transform.Apply({x0, y0});
            q.corners[1] = transform.Apply({x1, y0});
            q.corners[2] = transform.Apply({x1, y1});
            q.corners[3] = transform.Apply({x0, y1});
          } else {
            const float w = static_cast<float>(glyph.width), h = static_cast<float>(glyph.height);
            const float cellTop = static_cast<float>(line.y) + (static_cast<float>(line_height_) - h / scale) / 2.0f;
            const PointF at = transform.Apply({static_cast<float>(pen) + static_cast<float>(glyph.offset_x) / scale,
                                               cellTop});
            const float x0 = std::round(at.x), y0 = std::round(at.y);
            q.corners[0] = {x0, y0};
            q.corners[1] = {x0 + w, y0};
            q.corners[2] = {x0 + w, y0 + h};
            q.corners[3] = {x0, y0 + h};
          }
          q.source = RectF{static_cast<float>(glyph.atlas_x), static_cast<float>(glyph.atlas_y),
                           static_cast<float>(glyph.atlas_x + glyph.width),
                           static_cast<float>(glyph.atlas_y + glyph.height)};
          q.colour = colour;
          quads.push_back(q);
        }
        pen += glyphs == this ? glyph.advance : GlyphFor(code).advance;
      }
    }
  }
  if (quads.empty() || !glyphs->atlas_) return;
  const std::optional<Rect> saved = graphics.clip_rect();
  if (!(format & DT_NOCLIP)) {
    Rect clip{static_cast<int>(dest.left), static_cast<int>(dest.top), static_cast<int>(dest.right),
              static_cast<int>(dest.bottom)};
    if (saved) clip = Intersect(clip, *saved);
    graphics.SetClipRect(&clip);
  }
  graphics.DrawTexturedQuads(*glyphs->atlas_, quads);
  if (!(format & DT_NOCLIP)) graphics.SetClipRect(saved ? &*saved : nullptr);
}

}  // namespace tr

