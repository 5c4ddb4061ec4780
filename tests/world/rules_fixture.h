// Small worlds for the rule tests: cities and units put straight onto a
// TestWorld's hexes, and a game root that is reset when the test ends.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "foundation/paths.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "world/city.h"
#include "world/gra.h"

namespace tr::test {

inline cCity& AddCity(TestWorld& world, int x, int y, int type = kCityNormal, std::u16string name = u"") {
  auto city = std::make_unique<cCity>();
  city->x = x;
  city->y = y;
  city->type = type;
  city->name = name.empty() ? u"City" + std::u16string(1, char16_t(u'A' + world.game().cities.size())) : name;
  cCity& ref = *city;
  world.game().cities.push_back(std::move(city));
  world.hex(x, y).city = &ref;
  return ref;
}

// A land unit of a country on a hex, in the game's land-unit list.
template <typename Unit = cJednostkaLadowa>
Unit& AddLandUnit(TestWorld& world, int x, int y, int owner, int strength = 10) {
  Unit& unit = world.PlaceLandUnit<Unit>(owner, x, y);
  unit.strength = strength;
  return unit;
}

inline cJednostkaLotnicza& AddAirUnit(TestWorld& world, int x, int y, int owner, int type, int strength) {
  auto unit = std::make_unique<cJednostkaLotnicza>();
  unit->owner = owner;
  unit->SetType(type);
  unit->strength = strength;
  unit->x = x;
  unit->y = y;
  cJednostkaLotnicza& ref = *unit;
  world.game().airUnits.push_back(std::move(unit));
  return ref;
}

// Every hex of the world controlled and owned by one country.
inline void HoldAll(TestWorld& world, int country) {
  for (sHex& hex : world.map().Hexes()) {
    hex.controller = static_cast<std::uint8_t>(country);
    hex.owner = static_cast<std::uint8_t>(country);
  }
}

inline void SetWar(TestWorld& world, int a, int b) {
  world.game().relations.SetWar(a, b, true);
  world.game().relations.SetWar(b, a, true);
}

// A game folder for the test's files, used as the game root while it lives.
class TempGameRoot {
 public:
  const TempDir& dir() const { return dir_; }

 private:
  TempDir dir_;
  ScopedGameRoot root_{dir_.path()};
};

}  // namespace tr::test
