// Small hand-built worlds for the supply rules: a 10x8 map of land of terrain
// 1 (cost 1), countries 1 (allies' leader), 2 (allies), 3 (axis leader),
// 4 (neutral) and 5 (allies), and helpers that place cities, units and ships.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/world_builder.h"
#include "turn/supply.h"
#include "turn/turn_fixture.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "world/city.h"
#include "world/panstwo.h"

namespace tr::test {

class SupplyWorld {
 public:
  SupplyWorld() : world_(10, 8, 5) {
    world_.country(1).alliance = kAlliesLeader;
    world_.country(2).alliance = kAllies;
    world_.country(3).alliance = kAxisLeader;
    world_.country(4).alliance = kNeutral;
    world_.country(5).alliance = kAllies;
    SetConstant(game(), 48, 1, 10);
    SetCosts(1);
  }

  cGame& game() { return world_.game(); }
  sHex& hex(int x, int y) { return world_.hex(x, y); }
  cCountry& country(int id) { return world_.country(id); }

  void SetCosts(int cost) {
    for (int token = 2; token <= 8; ++token) SetConstant(game(), 16, token, cost);
    SetConstant(game(), 17, 1, cost);
  }
  void Control(int x0, int y0, int x1, int y1, int country) {
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) world_.hex(x, y).controller = static_cast<std::uint8_t>(country);
    }
  }
  void War(int a, int b) {
    game().relations.SetWar(a, b, true);
    game().relations.SetWar(b, a, true);
  }
  cCity* AddCity(int x, int y, int type = kCityNormal, int ownSupply = 0) {
    auto city = std::make_unique<cCity>();
    city->x = x;
    city->y = y;
    city->type = type;
    city->supply = ownSupply;
    city->name = std::u16string{u'c', static_cast<char16_t>(u'0' + x), static_cast<char16_t>(u'0' + y)};
    world_.hex(x, y).city = city.get();
    game().cities.push_back(std::move(city));
    return game().cities.back().get();
  }
  int CityNumber(const cCity* city) {
    int number = 1;
    for (const auto& each : game().cities) {
      if (each.get() == city) return number;
      ++number;
    }
    return 0;
  }
  template <typename Unit = cJednostkaLadowa>
  Unit* AddLandUnit(int id, int owner, int x, int y) {
    Unit& unit = world_.PlaceLandUnit<Unit>(owner, x, y);
    unit.id = id;
    unit.name = u"land" + std::u16string(1, static_cast<char16_t>(u'0' + id % 10));
    unit.turnsWithoutSupply = 0;
    return &unit;
  }
  cJednostkaLotnicza* AddAirUnit(int id, int owner, int x, int y) {
    cJednostkaLotnicza& unit = world_.PlaceAirUnit(owner, x, y);
    unit.id = id;
    unit.name = u"air" + std::u16string(1, static_cast<char16_t>(u'0' + id % 10));
    return &unit;
  }
  // A fleet of one ship of the type at the sea node.
  cJednostkaMorska* AddShip(int owner, int type, int seaNodeId) {
    auto fleet = std::make_unique<cFleet>();
    fleet->countryId = owner;
    fleet->seaNodeId = seaNodeId;
    auto ship = std::make_unique<cJednostkaMorska>();
    ship->owner = owner;
    ship->type = type;
    ship->fleet = fleet.get();
    fleet->ships.push_back(ship.get());
    game().fleets.push_back(std::move(fleet));
    game().navalUnits.push_back(std::move(ship));
    return game().navalUnits.back().get();
  }
  std::vector<cCity*> Flatten(const SupplyCityGroup& group) { return {group.begin(), group.end()}; }

 private:
  TestWorld world_;
};

}  // namespace tr::test
