#include "platform/smoothed_pictures.h"

#include "platform/smooth_scale.h"
#include "platform/texture.h"

namespace tr {

std::size_t SmoothedPictures::KeyHash::operator()(const Key& k) const {
  std::uint64_t h = k.version;
  for (int v : {k.source.left, k.source.top, k.source.right, k.source.bottom, k.width, k.height}) {
    h = h * 0x9E3779B97F4A7C15ull + static_cast<std::uint32_t>(v);
  }
  return static_cast<std::size_t>(h ^ (h >> 29));
}

const AreaRuns& SmoothedPictures::Get(const Texture& texture, const Rect& source, int width, int height) {
  const Key key{texture.version(), source, width, height};
  auto found = pictures_.find(key);
  if (found != pictures_.end()) return found->second;
  if (kept_texels_ > kKeptTexels) {
    pictures_.clear();
    kept_texels_ = 0;
  }
  const std::uint32_t* texels =
      texture.pixels() + static_cast<std::ptrdiff_t>(source.top) * texture.width() + source.left;
  ScaleSmooth(texels, texture.width(), source.width(), source.height(), width, height, scaled_);
  const AreaRuns& runs =
      pictures_.emplace(key, AreaRuns::OfPicture(scaled_.data(), width, width, height)).first->second;
  kept_texels_ += runs.Footprint();
  return runs;
}

}  // namespace tr
