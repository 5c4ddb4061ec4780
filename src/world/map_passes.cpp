// Whole-map passes of the map itself: ownership restored, sea-zone flags,
// sea zones carried to the coast, river mouths.
#include "world/map.h"

namespace tr {

void cMap::RestoreControlToOwners(int country) {
  for (sHex& hex : hexes_) {
    if (hex.controller != hex.owner && (hex.controller == country || hex.owner == country)) {
      hex.SetController(hex.owner);
    }
  }
}

void cMap::FlagSeaZoneHexes(int zone, std::uint32_t bits) {
  for (sHex& hex : hexes_) {
    if (!hex.IsLand() && hex.seaZone == zone) hex.AddFlags(bits, -1);
  }
}

void cMap::PropagateSeaZonesToCoast() {
  // A later direction overwrites an earlier one, so a hex touching two zones
  // keeps the zone of its highest-numbered sea side.
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      sHex& hex = *GetHex(x, y);
      if (!hex.IsLand()) continue;
      for (int d = 0; d < kDirectionCount; ++d) {
        const sHex* n = GetNeighbour(x, y, d);
        if (n && !n->IsLand() && n->seaZone != 0) hex.seaZone = n->seaZone;
      }
    }
  }
}

void cMap::MarkRiverMouths() {
  for (int x = 0; x < width_; ++x) {
    for (int y = 0; y < height_; ++y) {
      std::array<bool, 6> sides{};
      GetHex(x, y)->ZwrocWektorRzek(sides);
      for (int d = 0; d < kDirectionCount; ++d) {
        if (!sides[d]) continue;
        // A marked sea hex reads as having no rivers, so marks never spread.
        if (sHex* n = GetNeighbour(x, y, (d + 5) % 6); n && !n->IsLand()) {
          n->rivers |= static_cast<std::uint8_t>((1u << d) | kRiverMouth);
        }
        if (sHex* n = GetNeighbour(x, y, (d + 1) % 6); n && !n->IsLand()) {
          n->rivers |= static_cast<std::uint8_t>((1u << OppositeDirection(d)) | kRiverMouth);
        }
      }
    }
  }
}

}  // namespace tr
