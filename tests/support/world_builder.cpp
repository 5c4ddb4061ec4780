#include "support/world_builder.h"

#include "foundation/format.h"

namespace tr::test {

TestWorld::TestWorld(int width, int height, int countryCount)
    : game_(std::make_unique<cGame>()), previous_(gGame) {
  gGame = game_.get();
  game_->map = std::make_unique<cMap>(width, height);
  for (sHex& hex : game_->map->Hexes()) hex.terrain = 1;
  for (int id = 1; id <= countryCount; ++id) {
    auto country = std::make_unique<cCountry>();
    country->id = id;
    country->isActive = 1;
    country->name = Format(u"Country%i", id);
    country->skinsName = country->name;
    game_->countries.push_back(std::move(country));
  }
  game_->relations.Reset(countryCount);
}

TestWorld::~TestWorld() {
  DestroyGame();
  gGame = previous_;
}

void TestWorld::DestroyGame() { game_.reset(); }

void TestWorld::Place(cUnit& unit, int owner, int x, int y) {
  unit.owner = owner;
  unit.x = x;
  unit.y = y;
  if (game_->map->IsInside(x, y)) hex(x, y).unit = &unit;
}

cJednostkaLotnicza& TestWorld::PlaceAirUnit(int owner, int x, int y) {
  auto unit = std::make_unique<cJednostkaLotnicza>();
  cJednostkaLotnicza& placed = *unit;
  Place(placed, owner, x, y);
  game_->airUnits.push_back(std::move(unit));
  return placed;
}

}  // namespace tr::test
