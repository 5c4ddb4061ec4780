#include "support/naval_world.h"

#include <memory>

#include "foundation/format.h"
#include "scenario/scenario_constants.h"

namespace tr::test {

NavalWorld::NavalWorld() : world_(16, 8, 4) {
  world_.country(1).alliance = kAllies;
  world_.country(2).alliance = kAllies;
  world_.country(3).alliance = kAxis;
  world_.country(4).alliance = kNeutral;
  for (int other : {1, 2}) {
    game().relations.SetWar(other, 3, true);
    game().relations.SetWar(3, other, true);
  }
  SetConstant(71, 1, 2);  // fleet reach
  for (int type = kAircraftCarrier; type <= kAmphibiousShip; ++type) SetPortSizeFor(type, 1);
}

void NavalWorld::SetConstant(int line, int token, double value) {
  game().constants.SetSlot(sScenarioConstants::SlotOf(line, token), value);
}

void NavalWorld::SetPortSizeFor(int type, int size) { SetConstant(162, type - kAircraftCarrier + 1, size); }

int NavalWorld::AddSea() {
  sWezelGrafuMorz node;
  node.id = graph().NodeCount() + 1;
  node.type = kSeaNodeOpenSea;
  node.x = node.id;
  node.y = 0;
  node.playerMarkerX = node.id;
  node.playerMarkerY = 1;
  node.name = Format(u"Sea%i", node.id);
  world_.hex(node.x, 0).terrain = kTerrainWater;
  world_.hex(node.x, 0).seaZone = static_cast<std::uint16_t>(node.id);
  graph().nodes.push_back(node);
  return node.id;
}

int NavalWorld::AddPort(int controller, int size) {
  const int id = AddSea();
  sWezelGrafuMorz& node = graph().GetNode(id - 1);
  node.type = kSeaNodePort;
  node.maxPortSize = node.portSize = size;
  node.name = Format(u"Port%i", id);
  sHex& hex = world_.hex(node.x, 0);
  hex.terrain = 1;
  hex.seaZone = 0;
  hex.controller = static_cast<std::uint8_t>(controller);
  return id;
}

void NavalWorld::AddEdge(int from, int to, int passageX, int passageY) {
  graph().GetNode(from - 1).edges.push_back({to, passageX, passageY});
}

void NavalWorld::Link(int a, int b) {
  AddEdge(a, b);
  AddEdge(b, a);
}

cFleet& NavalWorld::AddFleet(int owner, int nodeId, std::initializer_list<int> types) {
  auto fleet = std::make_unique<cFleet>();
  fleet->id = ++game().nextFleetId;
  fleet->countryId = owner;
  fleet->seaNodeId = nodeId;
  fleet->name = Format(u"Fleet%i", fleet->id);
  cFleet& made = *fleet;
  game().fleets.push_back(std::move(fleet));
  for (int type : types) AddShip(made, type);
  return made;
}

cJednostkaMorska& NavalWorld::AddShip(cFleet& fleet, int type) {
  auto ship = std::make_unique<cJednostkaMorska>();
  ship->id = nextShipId_++;
  ship->owner = fleet.countryId;
  ship->SetType(type);
  ship->name = Format(u"Ship%i", ship->id);
  ship->hitPoints = ship->maxHitPoints = 6;
  ship->fleet = &fleet;
  ship->fleetId = fleet.id;
  fleet.ships.push_back(ship.get());
  game().navalUnits.push_back(std::move(ship));
  return *game().navalUnits.back();
}

cJednostkaMorska& NavalWorld::AddReserveShip(int owner, int type) {
  auto ship = std::make_unique<cJednostkaMorska>();
  ship->id = nextShipId_++;
  ship->owner = owner;
  ship->SetType(type);
  ship->name = Format(u"Ship%i", ship->id);
  ship->hitPoints = ship->maxHitPoints = 6;
  ship->inReserve = 1;
  game().navalReserve.push_back(std::move(ship));
  return *game().navalReserve.back();
}

}  // namespace tr::test
