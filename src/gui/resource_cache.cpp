#include "gui/resource_cache.h"

#include <new>

#include "foundation/console_log.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/sprite_batch.h"
#include "platform/texture.h"

namespace tr {

cGuiResourceCache::cGuiResourceCache() = default;
cGuiResourceCache::~cGuiResourceCache() = default;

cGuiResourceCache& GetGuiResourceCache() {
  static cGuiResourceCache cache;
  return cache;
}

int cGuiResourceCache::AddFont(std::u16string_view face, int height, int weight) {
  face = face.substr(0, 259);
  for (std::size_t i = 0; i < fonts_.size(); ++i) {
    const sGuiFontRecord& r = fonts_[i];
    if (r.height == height && r.weight == weight && EqualsIgnoreCase(r.face, face)) {
      return static_cast<int>(i);
    }
  }
  try {
    fonts_.push_back(sGuiFontRecord{std::u16string(face), nullptr, height, weight});
  } catch (const std::bad_alloc&) {
    return -1;
  }
  const int index = static_cast<int>(fonts_.size()) - 1;
  if (device_ != nullptr) CreateFont(index);
  return index;
}

int cGuiResourceCache::AddTexture(std::u16string_view file) {
  for (std::size_t i = 0; i < textures_.size(); ++i) {
    if (EqualsIgnoreCase(textures_[i].file, file)) return static_cast<int>(i);
  }
  try {
    textures_.push_back(sGuiTextureRecord{std::u16string(file), nullptr, 0, 0});
  } catch (const std::bad_alloc&) {
    return -1;
  }
  const int index = static_cast<int>(textures_.size()) - 1;
  if (device_ != nullptr) CreateTexture(index);
  return index;
}

HResult cGuiResourceCache::CreateFont(int index) {
  if (index < 0 || index >= FontCount()) return E_INVALIDARG;
  sGuiFontRecord& r = fonts_[static_cast<std::size_t>(index)];
  r.font.reset();
  r.font = Font::Create(r.face, r.height, r.weight);
  if (!r.font) {
    LogFormat(u"GUI font \"%s\" (%i, %i) cannot be made", r.face, r.height, r.weight);
    return E_FAIL;
  }
  return S_OK;
}

HResult cGuiResourceCache::CreateTexture(int index) {
  if (index < 0 || index >= TextureCount()) return E_INVALIDARG;
  sGuiTextureRecord& r = textures_[static_cast<std::size_t>(index)];
  if (r.file.empty()) return S_OK;
  std::string error;
  r.texture = Texture::FromPngFile(ResolveGamePath(r.file), &error);
  if (!r.texture) {
    LogFormat(u"GUI texture \"%s\" cannot be loaded: %s", r.file, error);
    return D3DXERR_INVALIDDATA;
  }
  r.texture->set_label(Utf16ToUtf8(r.file));
  r.width = r.texture->width();
  r.height = r.texture->height();
  return S_OK;
}

HResult cGuiResourceCache::OnCreateDevice(Graphics* graphics) {
  device_ = graphics;
  // Every record gets its chance; the first failure is reported.
  HResult result = S_OK;
  for (int i = 0; i < FontCount(); ++i) {
    const HResult hr = CreateFont(i);
    if (Failed(hr) && Succeeded(result)) result = hr;
  }
  for (int i = 0; i < TextureCount(); ++i) {
    const HResult hr = CreateTexture(i);
    if (Failed(hr) && Succeeded(result)) result = hr;
  }
  if (graphics != nullptr) sprite_ = graphics->CreateSpriteBatch();
  return result;
}

HResult cGuiResourceCache::OnResetDevice() {
  if (device_ != nullptr && !sprite_) sprite_ = device_->CreateSpriteBatch();
  return S_OK;
}

void cGuiResourceCache::OnLostDevice() {
  // Fonts and textures keep their texels in memory; only a batch in flight must end.
  if (sprite_ && sprite_->begun()) sprite_->End();
}

void cGuiResourceCache::OnDestroyDevice() {
  device_ = nullptr;
  for (sGuiFontRecord& r : fonts_) r.font.reset();
  for (sGuiTextureRecord& r : textures_) r.texture.reset();
  sprite_.reset();
}

void cGuiResourceCache::Clear() {
  OnDestroyDevice();
  fonts_.clear();
  textures_.clear();
}

Font* cGuiResourceCache::GetFont(int index) const {
  const sGuiFontRecord* r = GetFontRecord(index);
  return r != nullptr ? r->font.get() : nullptr;
}

Texture* cGuiResourceCache::GetTexture(int index) const {
  const sGuiTextureRecord* r = GetTextureRecord(index);
  return r != nullptr ? r->texture.get() : nullptr;
}

const sGuiFontRecord* cGuiResourceCache::GetFontRecord(int index) const {
  if (index < 0 || index >= FontCount()) return nullptr;
  return &fonts_[static_cast<std::size_t>(index)];
}

const sGuiTextureRecord* cGuiResourceCache::GetTextureRecord(int index) const {
  if (index < 0 || index >= TextureCount()) return nullptr;
  return &textures_[static_cast<std::size_t>(index)];
}

}  // namespace tr
