// What the computer's air war searches over and over within one phase: the
// enemy's land units around each bomber and the enemy's air units of each
// type. Each search reads a compact copy made once, instead of every unit of
// the game each time; on the large maps the units do not fit the cache.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "world/hex_distance.h"

namespace tr {

// Where the enemy's land units stand, copied from the computer's list of
// them at the first search.

class cEnemyLandPlaces {
 public:
  // The list stays the caller's; Forget() must follow any change to it or
  // any move of its units.
  explicit cEnemyLandPlaces(const std::vector<cJednostkaLadowa*>& units) : units_(units) {}

  // Calls visit(unit) for every unit closer than radius hexes to (x, y), in
  // the list's order.
  template <typename Visit>
  void ForEachCloserThan(int x, int y, int radius, Visit visit) {
    if (!copied_) Copy();
    for (std::size_t i = 0; i < places_.size(); ++i) {
      // A hex distance is never less than the column or row distance.
      const sPlace& place = places_[i];
      if (std::abs(place.x - x) >= radius || std::abs(place.y - y) >= radius) continue;
      if (HexDistance(x, y, place.x, place.y) < radius) visit(*units_[i]);
    }
  }

  void Forget() { copied_ = false; }

 private:
  struct sPlace {
    std::int32_t x, y;
  };
  void Copy() {
    places_.clear();
    places_.reserve(units_.size());
    for (const cJednostkaLadowa* unit : units_) places_.push_back({unit->x, unit->y});
    copied_ = true;
  }

  const std::vector<cJednostkaLadowa*>& units_;
  std::vector<sPlace> places_;
  bool copied_ = false;
};

// The air units of the game at war with one country, type by type, in the
// order of the game's list: what a fighter sweep picks its targets from. One
// walk of the game's air units serves every type while the unit-list change
// count stands (no unit listed, taken off, retyped or given away), and each
// country's war with the owner is asked once while no war is declared or
// ended.
class cAirTargetsByType {
 public:
  explicit cAirTargetsByType(int owner) : owner_(owner) {}
  std::vector<cJednostkaLotnicza*> OfType(int type);

 private:
  struct sEntry {
    cJednostkaLotnicza* unit;
    std::int32_t type;
    std::int32_t owner;
  };
  bool AtWarWith(int owner);

  int owner_;
  bool walked_ = false;
  std::uint64_t changes_ = 0;
  std::vector<sEntry> units_;
  // Whether each country is at war with the owner, asked once: 0 not yet
  // asked, 1 no, 2 yes; forgotten when the relations' war change count
  // moves. Other numbers are asked each time, so what asking logs is logged
  // as often as before.
  std::vector<std::uint8_t> atWar_;
  std::uint64_t warChanges_ = 0;
};

}  // namespace tr
