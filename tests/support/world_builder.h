// The smallest running game a world rule needs: a map of plain land hexes
// without controllers and a few countries, installed as the running game.
#pragma once

#include <memory>

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
  // Ends the game early (destructor tests); the world then holds no game.
  void DestroyGame();

 private:
  std::unique_ptr<cGame> game_;
  cGame* previous_;
};

}  // namespace tr::test
