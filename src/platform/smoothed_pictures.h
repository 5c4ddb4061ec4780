// Pictures scaled smoothly, kept as the spans they can be seen by: a map
// drawn again at one zoom scales the same areas of the same textures to the
// same sizes, so each is scaled once and after only its visible spans are
// blended, its clear pixels skipped as an unscaled sprite's are. Main thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/geometry.h"
#include "platform/texel_runs.h"

namespace tr {

class Texture;

class SmoothedPictures {
 public:
  // The area source (inside the texture) scaled smoothly to width x height.
  // The reference holds until the next call.
  const AreaRuns& Get(const Texture& texture, const Rect& source, int width, int height);

 private:
  // What decides a smoothed picture: the texels (a version is never reused), the area scaled and the size.
  struct Key {
    std::uint64_t version = 0;
    Rect source;
    int width = 0;
    int height = 0;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const;
  };
  // Somewhat more than the pictures of a few screens; past it, all are forgotten.
  static constexpr std::size_t kKeptTexels = std::size_t{8} << 20;

  std::unordered_map<Key, AreaRuns, KeyHash> pictures_;
  std::size_t kept_texels_ = 0;
  std::vector<std::uint32_t> scaled_;  // the picture being scaled, before its spans are found
};

}  // namespace tr
