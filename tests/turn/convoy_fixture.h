// A small world for convoys: Port1 (held by country 1) - Sea2 - Port3 (held by
// its ally 2), each port with its city; country 3 is at war with both, 4 is
// neutral. The supply maximum is 10, every unit type costs 2 points to
// supply and a production point 0.5; attacks hit half the time before the
// load bands, and a cruiser always sinks 4 points.
#pragma once

#include <memory>

#include "support/log_capture.h"
#include "support/naval_world.h"
#include "turn/convoy.h"
#include "turn/supply.h"
#include "world/city.h"
#include "world/panstwo.h"

namespace tr::test {

class ConvoyWorld : public NavalWorld {
 public:
  ConvoyWorld() {
    SetConstant(48, 1, 10);
    for (int token = 1; token <= 10; ++token) SetConstant(120, token, 2.0);
    SetConstant(120, 11, 0.5);
    SetConstant(121, 1, 50.9);
    for (int token = 2; token <= 5; ++token) SetConstant(121, token, 1.0);
    SetConstant(180, 2, 10);
    for (int token = 2; token <= 7; ++token) {
      SetConstant(122, token, 4);
      SetConstant(123, token, 4);
    }
    game().convoys.Reset(4);
    departureNode = AddPort(1);
    seaNode = AddSea();
    destinationNode = AddPort(2);
    Link(departureNode, seaNode);
    Link(seaNode, destinationNode);
    departure = AddCity(departureNode, u"Dep");
    destination = AddCity(destinationNode, u"Dest");
    inland = AddCity(0, u"Inland", 4);
    world().hex(0, 4).controller = 2;
    departure->supplyInfo[0] = 10;
    destination->supplyInfo[0] = 2;
    inland->supplyInfo[0] = 5;
    groups.push_back({departure});
    groups.push_back({destination, inland});
    country(1).seaTransportPoints = 20;
    country(1).productionPoints = 100.0;
  }

  cCountry& country(int id) { return world().country(id); }
  sHex& hex(const cCity* city) { return world().hex(city->x, city->y); }

  // A port city on the node's main hex, or a plain city at (x, y).
  cCity* AddCity(int x, std::u16string name, int y = 0) {
    auto city = std::make_unique<cCity>();
    city->x = x;
    city->y = y;
    city->type = y == 0 ? kCityPort : kCityNormal;
    city->name = std::move(name);
    city->supplyInfo.assign(4, 0);
    city->convoyInfo.assign(4, false);
    world().hex(x, y).city = city.get();
    game().cities.push_back(std::move(city));
    return game().cities.back().get();
  }
  int CityNumber(const cCity* city) const {
    int number = 1;
    for (const auto& each : const_cast<ConvoyWorld*>(this)->game().cities) {
      if (each.get() == city) return number;
      ++number;
    }
    return 0;
  }
  // A land unit of the owner whose nearest city is the given one.
  void AddServedUnit(int owner, const cCity* city, int type = 0) {
    const int id = static_cast<int>(game().landUnits.size()) + 1;
    cJednostkaLadowa& unit = world().PlaceLandUnit(owner, -1, -1);
    unit.id = id;
    unit.type = type;
    results.push_back(sSupplyResult{id, false, CityNumber(city), 0});
  }
  sConvoy& AddConvoy(int kind, int amount, int owner = 1) {
    sConvoy convoy;
    convoy.Init(owner, kind, departure, destination);
    convoy.amount = amount;
    game().convoys.ConvoysOf(owner).push_back(convoy);
    return game().convoys.ConvoysOf(owner).back();
  }
  sConvoyResult Execute(sConvoy& convoy) {
    sConvoyResult result;
    ExecuteConvoy(convoy, result, groups, results);
    return result;
  }

  int departureNode = 0;
  int seaNode = 0;
  int destinationNode = 0;
  cCity* departure = nullptr;
  cCity* destination = nullptr;
  cCity* inland = nullptr;
  SupplyCityGroups groups;
  SupplyResults results;
  LogCapture log;
};

}  // namespace tr::test
