// The effects that create ships: a ship in the naval reserve, a ship at a
// sea node, and land units that appear at sea already aboard a transport.
#include <algorithm>
#include <memory>

#include "events/effect_dispatch.h"
#include "events/effect_targets.h"
#include "events/event_params.h"
#include "events/new_units.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/string_base.h"
#include "scenario/table_writer.h"
#include "world/gra.h"
#include "world/object_numbers.h"
#include "world/turn_order.h"

namespace tr {
namespace {

bool IsShipType(const sEffect& effect, int type) {
  if (CategoryOfType(type) == kCategoryNaval) return true;
  LogFormat(u"WARNING: effect %s at line %i: %i is not a ship type; nothing is created", effect.method, effect.line,
            type);
  return false;
}

// A ship appended to the naval reserve: no fleet, no commander, no cargo.
cJednostkaMorska& MakeReserveShip(const sEffect& effect, int owner, int type, int hitPoints) {
  auto ship = std::make_unique<cJednostkaMorska>();
  ship->id = NewShipNumber(*gGame);
  ship->owner = owner;
  ship->SetName(effect.paramStrings[0]);
  ship->SetType(type);
  ship->hitPoints = ship->maxHitPoints = hitPoints;
  ship->inReserve = 1;
  ship->shoreBombardmentDone = 0;
  ship->airstrikeDone = 0;
  ship->reconDone = 0;
  ship->canBeRepaired = 1;
  ship->availableInTurns = 0;
  ship->attachedCommander = nullptr;
  ship->commanderId = -1;
  cJednostkaMorska& made = *ship;
  gGame->navalReserve.push_back(std::move(ship));
  return made;
}

void HexAddNavalUnit(const sEffect& effect) {
  if (!EffectCountry(effect, 0)) return;
  const int type = IntParam(effect, 1);
  if (!IsShipType(effect, type) || !RoomForNewUnit(effect, kCategoryNaval)) return;
  MakeReserveShip(effect, IntParam(effect, 0), type, gGame->constants.ShipHitPoints(type));
}

// A port node whose port hex the country controls.
bool IsOwnPort(const sWezelGrafuMorz& node, int country) {
  const cMap& map = *gGame->map;
  return node.IsPort() && map.IsInside(node.x, node.y) && map.GetHex(node.x, node.y)->controller == country;
}

void SeaNodeAddNavalUnit(const sEffect& effect) {
  sWezelGrafuMorz* node = EffectSeaNode(effect, 0);
  if (!node || !EffectCountry(effect, 1)) return;
  const int owner = IntParam(effect, 1);
  const int type = IntParam(effect, 2);
  if (!IsShipType(effect, type) || !RoomForNewUnit(effect, kCategoryNaval)) return;
  int hitPoints = gGame->constants.ShipHitPoints(type);
  if (IsParamSet(effect.params[3])) {
    const int asked = IntParam(effect, 3);
    // A ship made without hit points would be sunk by the first rule that looks.
    if (asked < 1) {
      LogFormat(u"WARNING: effect %s at line %i: %i hit points; the ship gets 1", effect.method, effect.line, asked);
    }
    hitPoints = std::clamp(asked, 1, std::max(hitPoints, 1));
  } else {
    LogFormat(u"ERROR: param%i for effect at line %i is not defined!", 3, effect.line);
  }
  cJednostkaMorska& ship = MakeReserveShip(effect, owner, type, hitPoints);
  if (IsOwnPort(*node, owner)) {
    ship.FormNewFleet(node->id);
  } else if (node->type == kSeaNodeOpenSea) {
    ship.AssignToFleetAtNode(node->id);
  }
  node->CalculateNavalVisibility(false);
}

enum class eFleetChoice { kJoinAtNode, kAlwaysNew, kLanding };

cFleet& NewTransportFleet(int owner, int nodeId) {
  auto fleet = std::make_unique<cFleet>();
  fleet->formation = kFleetRegular;
  fleet->id = NewFleetId();
  fleet->countryId = owner;
  fleet->seaNodeId = nodeId;
  fleet->name = CutName(Format(GetText("new_transporter_fleet_#%i"), fleet->id));
  fleet->hasMoved = 0;
  cFleet& made = *fleet;
  gGame->fleets.push_back(std::move(fleet));
  return made;
}

cFleet* FindFleet(int owner, int nodeId, bool landing, int invasionX, int invasionY) {
  for (const auto& fleet : gGame->fleets) {
    if (fleet->countryId != owner || fleet->seaNodeId != nodeId) continue;
    if (landing && (fleet->aiOrder != 2 || fleet->aiInvasionX != invasionX || fleet->aiInvasionY != invasionY)) {
      continue;
    }
    return fleet.get();
  }
  return nullptr;
}

// The node a landing fleet is bound for: the sea zone of the invasion hex,
// or -1 (logged) for an inland hex.
int InvasionDestination(int x, int y) {
  const int zone = gGame->map->GetHex(x, y)->seaZone;
  if (zone != 0) return zone;
  LogFormat(u"Nieprawidłowy event SeaNode.AddLandingLandUnit: chce inwazji na hex %d, %d ktory jest srodladowy", x, y);
  return -1;
}

cFleet& ChooseFleet(const sEffect& effect, eFleetChoice choice, int owner, int nodeId) {
  if (choice == eFleetChoice::kJoinAtNode) {
    if (cFleet* fleet = FindFleet(owner, nodeId, false, 0, 0)) return *fleet;
    return NewTransportFleet(owner, nodeId);
  }
  if (choice == eFleetChoice::kAlwaysNew) {
    cFleet& fleet = NewTransportFleet(owner, nodeId);
    int destination = IntParam(effect, 6);
    if (destination != -1 && !gGame->seaGraph.IsNodeId(destination)) {
      LogFormat(u"WARNING: effect %s at line %i: there is no sea node %i; the fleet has no destination", effect.method,
                effect.line, destination);
      destination = -1;
    }
    fleet.aiDestinationNode = destination;
    fleet.aiOrder = IntParam(effect, 7);
    return fleet;
  }
  const int x = IntParam(effect, 6);
  const int y = IntParam(effect, 7);
  if (cFleet* fleet = FindFleet(owner, nodeId, true, x, y)) return *fleet;
  cFleet& fleet = NewTransportFleet(owner, nodeId);
  fleet.aiOrder = 2;
  fleet.aiInvasionX = x;
  fleet.aiInvasionY = y;
  fleet.aiDestinationNode = InvasionDestination(x, y);
  return fleet;
}

// Everything is checked before the unit, the ship or a fleet is made.
bool MayCreateAtSea(const sEffect& effect, eFleetChoice choice, const sWezelGrafuMorz& node, sNewLandUnit& values) {
  const int owner = IntParam(effect, 2);
  if (!EffectCountry(effect, 2)) return false;
  if (node.type != kSeaNodeOpenSea && !IsOwnPort(node, owner)) return false;
  const int shipType = IntParam(effect, 1);
  // Only cargo and amphibious ships carry land units; any other ship would
  // hold a unit that no rule can land, kill or save.
  if (shipType != kCargoShip && shipType != kAmphibiousShip) {
    LogFormat(u"WARNING: effect %s at line %i: ship type %i carries no land units; nothing is created", effect.method,
              effect.line, shipType);
    return false;
  }
  if (choice == eFleetChoice::kLanding && !EffectHex(effect, 6, 7)) return false;
  return ReadNewLandUnit(effect, 2, 3, 4, 5, values);
}

void AddLandUnitAtSea(const sEffect& effect, eFleetChoice choice) {
  sWezelGrafuMorz* node = EffectSeaNode(effect, 0);
  if (!node) return;
  sNewLandUnit values;
  if (MayCreateAtSea(effect, choice, *node, values)) {
    cGame& game = *gGame;
    std::unique_ptr<cJednostkaLadowa> unit = MakeLandUnit(effect, values, -1, -1);
    const int shipType = IntParam(effect, 1);
    auto madeShip = std::make_unique<cJednostkaMorska>();
    cJednostkaMorska& ship = *madeShip;
    ship.id = NewShipNumber(game);
    ship.owner = values.owner;
    ship.SetType(shipType);
    ship.hitPoints = ship.maxHitPoints = game.constants.ShipHitPoints(shipType);
    ship.SetName(effect.paramStrings[0]);
    ship.inReserve = 0;
    ship.attachedCommander = nullptr;
    ship.commanderId = -1;
    ship.availableInTurns = 0;
    ship.shoreBombardmentDone = 0;
    ship.airstrikeDone = 0;
    ship.reconDone = 0;
    ship.canBeRepaired = 1;
    ship.carriedUnit = unit.get();
    game.navalUnits.push_back(std::move(madeShip));

    cFleet& fleet = ChooseFleet(effect, choice, values.owner, node->id);
    fleet.ships.push_back(&ship);
    ship.fleet = &fleet;
    ship.fleetId = fleet.id;

    // A carried unit is hidden, as one embarked or loaded from a save.
    unit->spotted = 0;
    unit->transporter = &ship;
    unit->transporterId = ship.id;
    (shipType == kCargoShip ? game.aboardUnitsA : game.aboardUnitsB).push_back(std::move(unit));
  }
  if (choice == eFleetChoice::kLanding) {
    const cCountry* human = FindNextHumanCountry(gGame->countries, gGame->playerControl.currentCountry);
    if (human) {
      node->CalculateNavalVisibilityFor(human->id, false);
      return;
    }
  }
  node->CalculateNavalVisibility(false);
}

void SeaNodeAddLandUnit(const sEffect& effect) { AddLandUnitAtSea(effect, eFleetChoice::kJoinAtNode); }
void SeaNodeAddLandUnitWithDest(const sEffect& effect) { AddLandUnitAtSea(effect, eFleetChoice::kAlwaysNew); }
void SeaNodeAddLandingLandUnit(const sEffect& effect) { AddLandUnitAtSea(effect, eFleetChoice::kLanding); }

const sEffectBehaviour kSeaUnitEffects[] = {
    {u"Hex.AddNavalUnit", HexAddNavalUnit},
    {u"SeaNode.AddNavalUnit", SeaNodeAddNavalUnit},
    {u"SeaNode.AddLandUnit", SeaNodeAddLandUnit},
    {u"SeaNode.AddLandUnitWithDest", SeaNodeAddLandUnitWithDest},
    {u"SeaNode.AddLandingLandUnit", SeaNodeAddLandingLandUnit},
};

}  // namespace

std::span<const sEffectBehaviour> SeaUnitEffects() { return kSeaUnitEffects; }

}  // namespace tr
