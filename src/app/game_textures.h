// The pictures behind the presentation's texture ids: the countries' flags
// and unit sheets are held by the game as ids, and the map drawing turns an
// id back into the picture it names.
#pragma once

#include <filesystem>
#include <memory>

#include "world/presentation.h"

namespace tr {

class Texture;

// Takes the picture and gives it a new id (kNoTexture for null).
TextureId AddGameTexture(std::unique_ptr<Texture> texture);
// Decodes the PNG file; kNoTexture when it cannot be read.
TextureId LoadGameTexture(const std::filesystem::path& file);
// Frees the picture of the id; kNoTexture and unknown ids are ignored.
void ReleaseGameTexture(TextureId id);
// The picture of the id, or null. Main thread: the picture lives until released.
const Texture* FindGameTexture(TextureId id);

}  // namespace tr
