// The smallest running game a world rule needs: a map of plain land hexes
// without controllers and a few countries, installed as the running game.
#pragma once

#include <memory>

#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "world/gra.h"

namespace tr::test {

class TestWorld {
 public:
  TestWorld(int width, int height, int countryCount);
  ~TestWorld();
  TestWorld(const TestWorld&) = delete;
  TestWorld& operator=(const TestWorld&) = delete;

  cGame& game() { return *game_; }
  cMap& map() { return *game_->map; }
  cCountry& country(int id) { return *game_->countries.at(id - 1); }
  sHex& hex(int x, int y) { return *game_->map->GetHex(x, y); }

  // A unit of a country in the game's land or air list, standing on its hex
  // when (x, y) is on the map; callers set the rest.
  template <typename Unit = cJednostkaLadowa>
  Unit& PlaceLandUnit(int owner, int x, int y) {
    auto unit = std::make_unique<Unit>();
    Unit& placed = *unit;
    Place(placed, owner, x, y);
    game_->landUnits.push_back(std::move(unit));
    return placed;
  }
  cJednostkaLotnicza& PlaceAirUnit(int owner, int x, int y);
  // Ends the game early (destructor tests); the world then holds no game.
  void DestroyGame();

 private:
  void Place(cUnit& unit, int owner, int x, int y);

  std::unique_ptr<cGame> game_;
  cGame* previous_;
};

}  // namespace tr::test
