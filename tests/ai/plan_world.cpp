#include "plan_world.h"

#include "world/topography.h"

namespace tr::test {

PlanWorld::PlanWorld() {
  world.country(1).alliance = kAxisLeader;
  world.country(2).alliance = kAlliesLeader;
  world.game().relations.SetWar(1, 2, true);
  world.game().relations.SetWar(2, 1, true);
  for (sHex& hex : world.game().map->Hexes()) {
    hex.owner = 1;
    hex.originalOwner = 1;
  }
}

cCity& PlanWorld::City(std::u16string name, int x, int y, int controller, int type, int originalOwner) {
  cCity& city = world.AddCity(std::move(name), x, y, controller);
  city.type = type;
  world.hex(x, y).originalOwner = static_cast<std::uint8_t>(originalOwner);
  world.hex(x, y).owner = static_cast<std::uint8_t>(controller);
  return city;
}

void PlanWorld::BuildDiagram() {
  cGame& game = world.game();
  game.citiesDiagram.Build(game.cities);
}

void PlanWorld::Link(cCity& a, cCity& b) {
  Node(a).edges.push_back({b.diagramNode, 0});
  Node(b).edges.push_back({a.diagramNode, 0});
}

void PlanWorld::Finish() {
  cGame& game = world.game();
  for (const auto& city : game.cities) ComputeHopDistances(*city, game.citiesDiagram);
  game.playerControl.worldTopography.BuildNearestCityMap(*game.map, game.cities);
  game.strategicMovement->Init(game.CountryCount());
  sTopographyGroup group;
  for (const auto& city : game.cities) {
    if (GetControllerId(*city) == 1) group.cities.push_back(city.get());
  }
  game.strategicMovement->SetCountryTopography(1, {group});
}

void PlanWorld::AddFront(cCountryAI& ai, std::initializer_list<cCity*> cities, int state) {
  sFront front;
  front.state = state;
  for (cCity* city : cities) front.cities.push_back(&Node(*city));
  ai.fronts.push_back(front);
}

cJednostkaLadowa& PlanWorld::Unit(int x, int y, const cCity& supply, int type, int strength, int actionPoints) {
  cJednostkaLadowa& unit = world.AddLand(1, x, y, strength, type);
  unit.supplySourceX = supply.x;
  unit.supplySourceY = supply.y;
  unit.actionPoints = unit.startingActionPoints = actionPoints;
  return unit;
}

}  // namespace tr::test
