// The fonts, textures and sprite batch that all dialogs share. Fonts are
// shared by face (any case), height and weight, textures by file name (any
// case). Records registered before a device exists are made when it comes.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/codes.h"

namespace tr {

class Font;
class Graphics;
class SpriteBatch;
class Texture;

struct sGuiFontRecord {
  std::u16string face;  // at most 259 characters
  std::unique_ptr<Font> font;
  int height = 0;
  int weight = 0;
};

struct sGuiTextureRecord {
  std::u16string file;  // a game path, "data\gfx\GUI.png"
  std::unique_ptr<Texture> texture;
  int width = 0;
  int height = 0;
};

class cGuiResourceCache {
 public:
  cGuiResourceCache();
  ~cGuiResourceCache();
  cGuiResourceCache(const cGuiResourceCache&) = delete;
  cGuiResourceCache& operator=(const cGuiResourceCache&) = delete;

  // The index of the matching record, a new one otherwise (made at once when a
  // device is known); -1 when no record can be added.
  int AddFont(std::u16string_view face, int height, int weight);
  int AddTexture(std::u16string_view file);
  HResult CreateFont(int index);
  HResult CreateTexture(int index);

  // Called by the application frame around the device's life.
  HResult OnCreateDevice(Graphics* graphics);
  HResult OnResetDevice();
  void OnLostDevice();
  void OnDestroyDevice();

  // Null for an unknown index or an object not made (yet).
  Font* GetFont(int index) const;
  Texture* GetTexture(int index) const;
  const sGuiFontRecord* GetFontRecord(int index) const;
  const sGuiTextureRecord* GetTextureRecord(int index) const;
  int FontCount() const { return static_cast<int>(fonts_.size()); }
  int TextureCount() const { return static_cast<int>(textures_.size()); }

  Graphics* device() const { return device_; }
  SpriteBatch* sprite() const { return sprite_.get(); }

  // Forgets the device and every record (shutdown, and tests that start afresh).
  void Clear();

 private:
  std::unique_ptr<SpriteBatch> sprite_;
  std::vector<sGuiTextureRecord> textures_;
  std::vector<sGuiFontRecord> fonts_;
  Graphics* device_ = nullptr;
};

// The one cache of the program, made on first use.
cGuiResourceCache& GetGuiResourceCache();

}  // namespace tr
