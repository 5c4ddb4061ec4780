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

// The four bytes of a texel, each in a 16-bit lane of its own.
inline std::uint64_t Lanes(std::uint32_t texel) {
  const std::uint64_t t = texel;
  return (t & 0xFF) | (t & 0xFF00) << 8 | (t & 0xFF0000) << 16 | (t & 0xFF000000) << 24;
}

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
    const std::uint64_t below_weight = edge ? 0 : static_cast<std::uint64_t>(FractionOf(position));
    const std::uint64_t above_weight = kWhole - below_weight;
    const std::uint32_t* above = source + static_cast<std::ptrdiff_t>(row) * pitch;
    const std::uint32_t* below = edge ? above : above + pitch;
    for (int x = 0; x < width; ++x) {
      const auto i = static_cast<std::size_t>(x);
      const int column = columns[i];
      const std::uint64_t right_weight = static_cast<std::uint64_t>(weights[i]), left_weight = kWhole - right_weight;
      // A texel of no weight is not read: at the edges it may lie outside the source.
      const std::uint32_t a0 = left_weight ? above[column] : 0, b0 = left_weight ? below[column] : 0;
      const std::uint32_t a1 = right_weight ? above[column + 1] : 0, b1 = right_weight ? below[column + 1] : 0;
      if (((a0 | b0 | a1 | b1) >> 24) == 0) {
        *pixel++ = 0;  // nothing to see: every texel weighed is clear
        continue;
      }
      // The rows weighed, all four channels at once in 16-bit lanes (each at most 255 x 128).
      const std::uint64_t left = Lanes(a0) * above_weight + Lanes(b0) * below_weight;
      const std::uint64_t right = Lanes(a1) * above_weight + Lanes(b1) * below_weight;
      // Across, two channels at a time in 32-bit lanes, then back to eight bits.
      constexpr std::uint64_t kEven = 0x0000FFFF0000FFFFull;
      const std::uint64_t even = ((left & kEven) * left_weight + (right & kEven) * right_weight) >> (2 * kFractionBits);
      const std::uint64_t odd =
          (((left >> 16) & kEven) * left_weight + ((right >> 16) & kEven) * right_weight) >> (2 * kFractionBits);
      constexpr std::uint64_t kByte = 0x000000FF000000FFull;
      const std::uint64_t packed = (even & kByte) | (odd & kByte) << 8;
      *pixel++ = static_cast<std::uint32_t>(packed | packed >> 16);
    }
  }
}

}  // namespace tr
