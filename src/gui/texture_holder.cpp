#include "gui/texture_holder.h"

#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/paths.h"
#include "platform/sprite_batch.h"
#include "platform/texture.h"

namespace tr {
namespace {

constexpr int kBlankSize = 256;

}  // namespace

TextureHolder::TextureHolder() = default;
TextureHolder::~TextureHolder() = default;

void TextureHolder::Release() {
  texture_.reset();
  path_.clear();
  level_count_ = 0;
  mode_ = kModeEmpty;
}

HResult TextureHolder::Load(const std::filesystem::path& path, int mode, int level_count, PictureBound bound) {
  texture_.reset();
  mode_ = static_cast<std::uint8_t>(mode);
  level_count_ = static_cast<std::uint8_t>(level_count);
  path_ = path;
  switch (mode) {
    case kModeEmpty:
      return S_OK;
    case kModeFile: {
      const std::u16string shown = path.u16string();
      std::string error;
      texture_ = Texture::FromPngFile(ResolveGamePath(shown), &error, bound);
      if (texture_) texture_->set_label(path.string());
      LogFormat(texture_ ? u"Loading file \"%s\" (%i) [OK]" : u"Loading file \"%s\" (%i) [FAILED]", shown,
                level_count);
      if (!texture_ && !error.empty()) LogFormat(u"Picture \"%s\" not loaded: %s", shown, error);
      return texture_ ? S_OK : D3DXERR_INVALIDDATA;
    }
    case kModeBlank:
      blank_width_ = blank_height_ = kBlankSize;
      texture_ = Texture::CreateEmpty(kBlankSize, kBlankSize);
      return texture_ ? S_OK : E_OUTOFMEMORY;
    default:
      return kUnknownMode;
  }
}

HResult LoadFirstPicture(TextureHolder& holder, std::span<const std::u16string> names) {
  HResult result = E_INVALIDARG;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i + 1 < names.size() && !IsReadableRegularFile(ResolveGamePath(names[i]))) continue;
    result = holder.Load(std::filesystem::path(names[i]), TextureHolder::kModeFile, 1);
    if (Succeeded(result)) return result;
  }
  return result;
}

HResult TextureHolder::CreateEmpty(int width, int height) {
  if (width <= 0 || height <= 0) return E_INVALIDARG;
  texture_.reset();
  texture_ = Texture::CreateEmpty(width, height);
  if (!texture_) return E_OUTOFMEMORY;
  blank_width_ = width;
  blank_height_ = height;
  mode_ = kModeBlank;
  level_count_ = 1;
  return S_OK;
}

HResult TextureHolder::OnResetDevice() {
  switch (mode_) {
    case kModeEmpty:
      return S_OK;
    case kModeBlank:
      // The old texture goes before its replacement is made, and the size stays what the owner asked for.
      texture_.reset();
      texture_ = Texture::CreateEmpty(blank_width_, blank_height_);
      return texture_ ? S_OK : E_OUTOFMEMORY;
    default:
      return kUnknownMode;
  }
}

int TextureHolder::NeedsReset() const {
  switch (mode_) {
    case kModeEmpty:
    case kModeFile:
      return 0;
    case kModeBlank:
      return 2;
    default:
      return kUnknownMode;
  }
}

// Texels stay in memory and reach the renderer at the first draw; there is nothing to do ahead.
void TextureHolder::PreLoad() {}

void DrawSpriteStretched(SpriteBatch& sprite, const Texture* texture, const Rect& source, float x, float y,
                         float width, float height, Argb colour, float depth, bool combine) {
  if (source.width() == 0 || source.height() == 0 || width == 0.0f || height == 0.0f) return;
  const float sx = width / static_cast<float>(source.width());
  const float sy = height / static_cast<float>(source.height());
  const Matrix2D saved = sprite.GetTransform();
  Matrix2D transform = Matrix2D::Scaling(sx, sy);
  if (combine) transform = transform * saved;
  sprite.SetTransform(transform);
  sprite.Draw(texture, &source, {x / sx, y / sy}, depth, colour);
  sprite.SetTransform(saved);
}

}  // namespace tr
