// A world for the operational orders: cities joined in the cities diagram,
// their areas and hop counts, country 1's strategic movement over all of its
// cities, and fronts set by hand.
#pragma once

#include <list>
#include <string>

#include "ai_fixture.h"
#include "world/cities_diagram.h"
#include "world/city_rules.h"
#include "world/gra.h"

namespace tr::test {

class PlanWorld {
 public:
  PlanWorld();

  cCity& City(std::u16string name, int x, int y, int controller, int type = kCityNormal, int originalOwner = 1);
  // Kind-0 edges both ways.
  void Link(cCity& a, cCity& b);
  // The diagram, the areas, the hop counts and the strategic-move groups;
  // call after the cities and before the links.
  void BuildDiagram();
  void Finish();
  // A front over the cities with the given state.
  void AddFront(cCountryAI& ai, std::initializer_list<cCity*> cities, int state);
  // A unit of country 1 supplied from the city, with full action points.
  cJednostkaLadowa& Unit(int x, int y, const cCity& supply, int type = 0, int strength = 100, int actionPoints = 4);
  sCitiesDiagramNode& Node(const cCity& city) { return *world.game().citiesDiagram.GetNode(city.diagramNode); }
  cCountryAI& Ai() { return world.AiOf(1); }

  AiWorld world;
};

}  // namespace tr::test
