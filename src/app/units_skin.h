// The units skin: the unit atlas and icon sheet of "data\gfx\[UnitsSkin]<name>"
// and the land, air and naval appearance tables (what part of a counter is
// cut from where and drawn where, per zoom range).
#pragma once

#include <filesystem>
#include <string_view>

#include "gui/texture_holder.h"

namespace tr {

struct sUnitsSkinTextures {
  TextureHolder units;  // "units.png": the default unit atlas
  TextureHolder info;   // "info.png": counter backgrounds, frames and indicators
};
sUnitsSkinTextures& UnitsSkinTextures();

void LoadUnitsSkin(std::u16string_view name);

// Reads one unit table (0 land, 1 air, 2 naval) into its ten records; a file
// that cannot be opened is logged and leaves every record unloaded.
void LoadUnitAppearanceTable(int table, const std::filesystem::path& file);

}  // namespace tr
