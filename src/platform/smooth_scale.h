// Textures scaled smoothly as SDL's software renderer scales them on a
// window: bilinear, in fixed point with seven bits of fraction, weighing the
// two rows first and keeping the sum whole for the weighing across, so that a
// window drawn by our own blitter shows the very pixels SDL's would.
#pragma once

#include <cstdint>
#include <vector>

namespace tr {

// Scales the source texels (`pitch` texels a row) to width x height into out
// (width texels a row). Every size is at least one.
void ScaleSmooth(const std::uint32_t* source, int pitch, int source_width, int source_height, int width, int height,
                 std::vector<std::uint32_t>& out);

}  // namespace tr
