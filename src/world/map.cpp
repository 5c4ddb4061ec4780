#include "world/map.h"

#include <algorithm>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/settings.h"
#include "foundation/text.h"
#include "foundation/string_base.h"
#include "world/presentation.h"

namespace tr {

cMap::cMap() = default;

cMap::cMap(int width, int height) {
  SetWidth(width);
  SetHeight(height);
  ReplaceHexes(width, height);
  CreatePathCells();
  if (width > 0 && height > 0) CreateFrontNodeGrid();
  ComputeFitScale();
}

cMap::~cMap() { Presentation().ReleaseMinimapOwnershipLayer(); }

void cMap::ReplaceHexes(int width, int height) {
  // The flagged list points into the old array.
  flagged_.clear();
  hexes_.assign(static_cast<std::size_t>(std::max(width, 0)) * std::max(height, 0), sHex{});
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      sHex& hex = hexes_[static_cast<std::size_t>(y) * width + x];
      hex.x = static_cast<std::int16_t>(x);
      hex.y = static_cast<std::int16_t>(y);
    }
  }
}

int cMap::GetDirectionTo(int x0, int y0, int x1, int y1) const {
  for (int d = 0; d < kDirectionCount; ++d) {
    if (NeighbourPoint(x0, y0, d) == sPoint{x1, y1}) return d + 1;
  }
  return 0;
}

void cMap::GetNeighbourCoords(int x, int y, int d, int& outX, int& outY) const {
  if (d < 0 || d >= kDirectionCount) return;
  const sPoint p = NeighbourPoint(x, y, d);
  outX = p.x;
  outY = p.y;
}

bool cMap::HasNeighbour(int x, int y, int d) const {
  const bool odd = IsOddColumn(x);
  switch (d) {
    case 0: return y >= 1;
    case 1: return x + 1 < width_ && (!odd || y >= 1);
    case 2: return x + 1 < width_ && (odd || y + 1 < height_);
    case 3: return y + 1 < height_;
    case 4: return x >= 1 && (odd || y + 1 < height_);
    case 5: return x >= 1 && (!odd || y >= 1);
    default: return false;
  }
}

void cMap::SetWidth(int width) {
  width_ = width;
  cameraMinX = kColumnStep;
  cameraMaxX = width * kColumnStep;
  visibleColumns = static_cast<std::int32_t>(gScreenWidth / 41.5 + 2);
}

void cMap::SetHeight(int height) {
  height_ = height;
  cameraMinY = kColumnStep;  // the column step, not the row step, as the camera code expects
  cameraMaxY = height * kRowStep;
  visibleRows = gScreenHeight / kRowStep + 2;
}

void cMap::ComputeFitScale() {
  if (width_ <= 0 || height_ <= 0) return;
  fitScale = std::min(static_cast<float>(gScreenWidth) / (width_ * kColumnStep),
                      static_cast<float>(gScreenHeight) / (height_ * kRowStep));
}

void cMap::CreatePathCells() {
  const std::size_t count = static_cast<std::size_t>(std::max(width_, 0)) * std::max(height_, 0);
  if (count == 0) {
    LogLine(GetText("critical_error:_map_cannot_have_0_height_or_0_width!"));
    return;
  }
  // A converted map of another size needs cells of its own size.
  if (pathCells_.size() != count) pathCells_.assign(count, sHexPathCell{});
  for (sHexPathCell& cell : pathCells_) {
    cell.texture = {};
    cell.layer = 100;
  }
}

void cMap::CreateFrontNodeGrid() {
  if (width_ <= 0 || height_ <= 0) throw cMapError("Error, map can't have width nor heigth = 0");
  frontNodeMarks_.assign(static_cast<std::size_t>(width_) * height_, 0);
}

void cMap::AddFlaggedHex(sHex* hex) { flagged_.push_back(hex); }

void cMap::RemoveFlaggedHex(const sHex* hex) {
  const auto it = std::find(flagged_.begin(), flagged_.end(), hex);
  if (it != flagged_.end()) flagged_.erase(it);
}

void cMap::ClearHexFlags(std::uint32_t mask, bool clearShaded) {
  for (sHex* hex : flagged_) {
    if (hex->flags & mask) hex->RemoveFlags(mask, false);
  }
  // The shaded bit goes before the list is pruned, so a hex it was the last
  // flag of leaves the list too.
  if (clearShaded) {
    for (sHex& hex : hexes_) hex.flags &= ~kHexFlagShaded;
  }
  std::erase_if(flagged_, [](const sHex* hex) { return hex->flags == 0; });
}

void ExitOnMapError(const cMapError& error) {
  LogLine(AsciiToUtf16(error.what()));
  FatalExit(1);
}

}  // namespace tr
