// The map skin: the terrain, others and decoration pictures of
// "data\gfx\[MapSkin]<name>", its sprite depths and the city appearance per
// zoom range ("appearance.csv"). The map drawing reads what LoadMapSkin fills.
#pragma once

#include <filesystem>
#include <string_view>

#include "gui/texture_holder.h"

namespace tr {

struct sMapSkinTextures {
  TextureHolder terrain;      // "terrain.png"
  TextureHolder others;       // "others.png": borders, highlights, ports, forts, weather, markers
  TextureHolder decorations;  // "eyecandies.png"
};
sMapSkinTextures& MapSkinTextures();

// Loads the named skin; a missing folder keeps the pictures and depths, and a
// missing "appearance.csv" keeps the city appearance, as they were.
void LoadMapSkin(std::u16string_view name);

// Reads a city appearance file into the city records and the header, then
// makes their fonts and picks the active record for the map's zoom.
// False when the file cannot be opened (nothing changes).
bool LoadCityAppearance(const std::filesystem::path& file);

// Mipmap levels of a skin picture: more where the device takes pictures wider than the limit.
int SkinTextureLevels(int widthLimit);

}  // namespace tr
