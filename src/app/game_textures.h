// The pictures behind the presentation's texture ids: the countries' flags
// and unit sheets are held by the game as ids, and the map drawing turns an
// id back into the picture it names.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/texture.h"
#include "world/presentation.h"

namespace tr {

// Takes the picture and gives it a new id (kNoTexture for null).
TextureId AddGameTexture(std::unique_ptr<Texture> texture);
// Decodes the PNG file; kNoTexture (and a line naming the file) when it cannot
// be read or is larger than the bound.
TextureId LoadGameTexture(const std::filesystem::path& file, PictureBound bound = {});

// The pictures a scenario brings for each of its countries: a flag (the shipped
// ones are 128 x 85) and a sheet of unit counters (2048 x 1000). Up to 255
// countries may each bring theirs, so each kind is held to what it needs.
PictureBound TextureUseBound(eTextureUse use);
// Frees the picture of the id; kNoTexture and unknown ids are ignored.
void ReleaseGameTexture(TextureId id);
// The picture of the id, or null. Main thread: the picture lives until released.
const Texture* FindGameTexture(TextureId id);

}  // namespace tr
