// The front-node lattice: land hexes with a controller at a fixed step D,
// alternate lattice columns shifted by half a step, on which the computer
// opponent plans its lines of defence.
#include "world/map.h"

#include <algorithm>

namespace tr {

const std::vector<sPoint>& cMap::SetFrontNodeDistance(int distance) {
  if (distance <= 2) throw cMapError("Blad! Pozadana odleglosc wezlow frontowych musi byc wieksza od 2");
  if (distance != frontNodeDistance_) {
    BuildFrontNodes(distance);
    frontNodeDistance_ = distance;
  }
  return frontNodes_;
}

void cMap::BuildFrontNodes(int distance) {
  std::fill(frontNodeMarks_.begin(), frontNodeMarks_.end(), 0);
  // A new step replaces the lattice of the old one.
  frontNodes_.clear();
  const int half = (distance + 1) / 2;
  for (int i = 0; i * distance < width_; ++i) {
    const int x = i * distance;
    for (int y = i % 2 == 0 ? 0 : half; y < height_; y += distance) {
      const sHex* hex = GetHex(x, y);
      if (hex->IsLand() && hex->controller != 0) frontNodes_.push_back({x, y});
    }
  }
}

sPoint cMap::GetFrontNodeNeighbour(int x, int y, int d) const {
  const int D = frontNodeDistance_;
  if (D == -1) throw cMapError("Error, nieustawiona odlegloscWezlowFrontowych");
  if (d < 0 || d > 5) throw cMapError("Error, dopuszczalne wartosci parametru kierunek od 0 do 5");
  const bool odd = IsOddColumn(x);
  // Upward half steps round down in even columns and up in odd ones, the
  // downward ones the other way, as the grid's own neighbours do for D = 1.
  const int up = odd ? (D + 1) / 2 : D / 2;
  const int down = odd ? D / 2 : (D + 1) / 2;
  switch (d) {
    case 0: return {x, y - D};
    case 1: return {x + D, y - up};
    case 2: return {x + D, y + down};
    case 3: return {x, y + D};
    case 4: return {x - D, y + down};
    default: return {x - D, y - up};
  }
}

void cMap::SetFrontNodeMark(int x, int y, std::uint8_t value) {
  if (!IsInside(x, y) || frontNodeMarks_.empty()) return;
  frontNodeMarks_[static_cast<std::size_t>(y) * width_ + x] = value;
}

std::uint8_t cMap::GetFrontNodeMark(int x, int y) const {
  if (!IsInside(x, y) || frontNodeMarks_.empty()) return 0;
  return frontNodeMarks_[static_cast<std::size_t>(y) * width_ + x];
}

void cMap::ClearFrontNodeMarks() { std::fill(frontNodeMarks_.begin(), frontNodeMarks_.end(), 0); }

}  // namespace tr
