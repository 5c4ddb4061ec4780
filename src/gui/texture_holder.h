// TextureHolder: a picture drawn outside the dialogs' skin (cursor, flags, map
// and unit skins, backgrounds, the minimap), remembering where it came from so
// it can be released, loaded again or re-made when the device comes and goes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

#include "platform/codes.h"
#include "platform/geometry.h"
#include "platform/texture.h"

namespace tr {

class SpriteBatch;

class TextureHolder {
 public:
  // Load modes.
  static constexpr int kModeEmpty = 0;
  static constexpr int kModeFile = 1;
  static constexpr int kModeBlank = 2;
  // The result of an unknown mode.
  static constexpr HResult kUnknownMode = 20;

  TextureHolder();
  ~TextureHolder();
  TextureHolder(const TextureHolder&) = delete;
  TextureHolder& operator=(const TextureHolder&) = delete;

  // Null when empty or when loading failed; may be locked to write texels.
  Texture* GetTexture() const { return texture_.get(); }
  void Release();
  // Mode 0 only records the path; 1 loads the file (a game path, logged with
  // its level count); 2 makes a blank 256 x 256 texture; others return 20.
  // A file larger than the bound is refused, with a line saying so.
  HResult Load(const std::filesystem::path& path, int mode, int level_count, PictureBound bound = {});
  // A blank texture of the size (mode 2); an existing texture is released first.
  HResult CreateEmpty(int width, int height);
  // After a new device: a blank texture is made again at the size it had.
  HResult OnResetDevice();
  // 0 for modes 0 and 1, 2 for mode 2, 20 for any other; changes nothing.
  int NeedsReset() const;
  // Asks for the texture to be ready for drawing.
  void PreLoad();

  const std::filesystem::path& path() const { return path_; }
  int mode() const { return mode_; }
  int level_count() const { return level_count_; }

 private:
  std::unique_ptr<Texture> texture_;
  std::filesystem::path path_;
  std::uint8_t level_count_ = 0;
  std::uint8_t mode_ = kModeEmpty;
  int blank_width_ = 256;
  int blank_height_ = 256;
};

// Loads the first picture of the list that loads (mode 1, one level). The names
// before the last are optional variants: one whose file is not there is passed
// over without a log line, so the log names only pictures that exist but do not
// load, and the last one, which the game ships. The result of the last try.
HResult LoadFirstPicture(TextureHolder& holder, std::span<const std::u16string> names);

// Draws the source rectangle of the texture so that it fills (x, y, width,
// height): a scaling, combined when asked with the sprite's transform (scaling
// first), which is left as it was.
void DrawSpriteStretched(SpriteBatch& sprite, const Texture* texture, const Rect& source, float x, float y,
                         float width, float height, Argb colour, float depth, bool combine);

}  // namespace tr
