#include "platform/smooth_scale.h"

namespace tr {
namespace {

constexpr int kFractionBits = 7;
constexpr int kWhole = 1 << kFractionBits;

// Where each pixel along one axis samples the source: in 16.16 fixed point,
// the first pixel's position and the step; the pixels before the first
// texel's centre and those past the last pair of texels take the edge.
struct AxisSteps {
  int start = 0;
  int step = 0;
  int before = 0;
  int after = 0;

  AxisSteps(int texels, int pixels) {
    step = static_cast<int>((static_cast<std::uint32_t>(texels) << 16) / static_cast<std::uint32_t>(pixels));
    // The first pixel's centre, half a step in, rounded; less half a texel.
    start = static_cast<int>((static_cast<std::int64_t>(step) * 0x8000 + 0x8000) >> 16) - 0x8000;
    int position = start;
    for (int i = 0; i < pixels; ++i, position += step) {
      if (position < 0) {
        ++before;
      } else if (static_cast<int>(static_cast<std::uint32_t>(position) >> 16) > texels - 2) {
        ++after;
      }
    }
  }
};

// The texel index and the weight of the next texel, in 1/128, of a position.
inline int IndexOf(int position) { return static_cast<int>(static_cast<std::uint32_t>(position) >> 16); }
inline int FractionOf(int position) { return (position >> (16 - kFractionBits)) & (kWhole - 1); }

}  // namespace

void ScaleSmooth(const std::uint32_t* source, int pitch, int source_width, int source_height, int width, int height,
                 std::vector<std::uint32_t>& out) {
  out.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  const AxisSteps down(source_height, height), across(source_width, width);
  // Per pixel of a row: the left texel of its pair and the right one's weight.
  std::vector<int> columns(static_cast<std::size_t>(width)), weights(static_cast<std::size_t>(width));
  int position = across.start + across.before * across.step;
  for (int x = 0; x < width; ++x) {
    const auto i = static_cast<std::size_t>(x);
    if (x < across.before) {
      columns[i] = 0;
      weights[i] = 0;
    } else if (x >= width - across.after) {
      columns[i] = source_width - 2;
      weights[i] = kWhole;
    } else {
      columns[i] = IndexOf(position);
      weights[i] = FractionOf(position);
      position += across.step;
    }
  }
  position = down.start;
  std::uint32_t* pixel = out.data();
  for (int y = 0; y < height; ++y, position += down.step) {
    const bool edge = y < down.before || y > height - 1 - down.after;
    const int row = edge ? (y < down.before ? 0 : source_height - 1) : IndexOf(position);
    const int below_weight = edge ? 0 : FractionOf(position);
    const int above_weight = kWhole - below_weight;
    const std::uint32_t* above = source + static_cast<std::ptrdiff_t>(row) * pitch;
    const std::uint32_t* below = edge ? above : above + pitch;
    for (int x = 0; x < width; ++x) {
      const auto i = static_cast<std::size_t>(x);
      const int column = columns[i], right_weight = weights[i], left_weight = kWhole - right_weight;
      // A texel of no weight is not read: at the edges it may lie outside the source.
      const std::uint32_t a0 = left_weight ? above[column] : 0, b0 = left_weight ? below[column] : 0;
      const std::uint32_t a1 = right_weight ? above[column + 1] : 0, b1 = right_weight ? below[column + 1] : 0;
      std::uint32_t result = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        const int left = static_cast<int>((a0 >> shift) & 0xFF) * above_weight +
                         static_cast<int>((b0 >> shift) & 0xFF) * below_weight;
        const int right = static_cast<int>((a1 >> shift) & 0xFF) * above_weight +
                          static_cast<int>((b1 >> shift) & 0xFF) * below_weight;
        const int value = (left * left_weight + right * right_weight) >> (2 * kFractionBits);
        result |= static_cast<std::uint32_t>(value) << shift;
      }
      *pixel++ = result;
    }
  }
}

}  // namespace tr
