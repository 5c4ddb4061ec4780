#include "turn/convoy.h"

#include <algorithm>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "world/city.h"
#include "world/city_rules.h"
#include "world/gra.h"
#include "world/object_numbers.h"
#include "world/map.h"
#include "world/panstwo.h"

namespace tr {

void sConvoy::Init(int ownerId, int convoyKind, cCity* departureCity, cCity* destinationCity) {
  id = gGame ? NewConvoyNumber(*gGame) : 0;
  owner = ownerId;
  departure = departureCity;
  destination = destinationCity;
  kind = convoyKind;
  amount = 0;
  portSize = 0;
  if (gGame && departureCity) {
    const int node = ConvoyPortNodeId(*gGame, departureCity);
    if (gGame->seaGraph.IsNodeId(node)) portSize = gGame->seaGraph.GetNode(node - 1).portSize;
  }
  unitsServed = 0;
  transportCost = 0.0f;
  destinationGroup = nullptr;
}

void cConvoyManager::Clear() {
  convoys.clear();
  results.clear();
}

void cConvoyManager::Reset(int countryCount) {
  Clear();
  convoys.resize(static_cast<std::size_t>(std::max(countryCount, 0)));
  results.resize(convoys.size());
}

std::vector<sConvoy>& cConvoyManager::ConvoysOf(int countryId) {
  if (countryId < 1 || countryId > static_cast<int>(convoys.size())) {
    LogFormat(u"ERROR: Convoys of country ID=%i asked for, there are %i countries!", countryId,
              static_cast<int>(convoys.size()));
    ExitDestroyingGame(1);
  }
  return convoys[static_cast<std::size_t>(countryId - 1)];
}

const std::vector<sConvoy>& cConvoyManager::ConvoysOf(int countryId) const {
  return const_cast<cConvoyManager*>(this)->ConvoysOf(countryId);
}

void cConvoyManager::RemoveFirstConvoy(int countryId) {
  std::vector<sConvoy>& list = ConvoysOf(countryId);
  if (!list.empty()) list.erase(list.begin());
}

int cConvoyManager::AddSupplyConvoy(cCity* departure, cCity* destination, int countryId) {
  if (!departure || !destination || !IsPort(*departure) || !IsPort(*destination)) return -1;
  std::vector<sConvoy>& list = ConvoysOf(countryId);
  sConvoy convoy;
  convoy.Init(countryId, kConvoySupplies, departure, destination);
  const int maximum = gGame->constants.Int(48, 1);
  const auto index = static_cast<std::size_t>(countryId - 1);
  const int supply = index < destination->supplyInfo.size() ? destination->supplyInfo[index] : 0;
  convoy.amount = maximum - supply;
  if (convoy.amount < 1) {
    LogLine(u"Znowu k*wa jakis konwoj z wartoscia <= 0");
    convoy.amount = 0;
  }
  list.push_back(convoy);
  return convoy.id;
}

namespace {

cCity* PortCityOnNode(const cGame& game, int nodeId) {
  const sWezelGrafuMorz& node = game.seaGraph.GetNode(nodeId - 1);
  if (!game.map->IsInside(node.x, node.y)) return nullptr;
  cCity* city = game.map->GetHex(node.x, node.y)->city;
  return city && IsPort(*city) ? city : nullptr;
}

cCity* CityOnHex(const cGame& game, int x, int y) {
  if (!game.map || !game.map->IsInside(x, y)) return nullptr;
  return game.map->GetHex(x, y)->city;
}

}  // namespace

int cConvoyManager::AddConvoyFromDialog(int departureNodeId, int destinationNodeId, int countryId) {
  const cGame& game = *gGame;
  if (!game.seaGraph.IsNodeId(departureNodeId)) {
    LogFormat(u"ERROR: New convoy has departure sea node with ID=%i, there's no such sea node!", departureNodeId);
    return -1;
  }
  if (!game.seaGraph.IsNodeId(destinationNodeId)) {
    LogFormat(u"ERROR: New convoy has destination sea node with ID=%i, there's no such sea node!", destinationNodeId);
    return -1;
  }
  cCity* departure = PortCityOnNode(game, departureNodeId);
  if (!departure) {
    LogFormat(u"ERROR: New convoy has departure sea node with ID=%i, there's no port city for this sea node!",
              departureNodeId);
    return -1;
  }
  cCity* destination = PortCityOnNode(game, destinationNodeId);
  if (!destination) {
    LogFormat(u"ERROR: New convoy has destination sea node with ID=%i, there's no port city for this sea node!",
              destinationNodeId);
    return -1;
  }
  std::vector<sConvoy>& list = ConvoysOf(countryId);
  sConvoy convoy;
  convoy.Init(countryId, kConvoySupplies, departure, destination);
  list.push_back(convoy);
  return convoy.id;
}

int cConvoyManager::AddConvoyFromEvent(int countryId, int kind, int amount, int x1, int y1, int x2, int y2) {
  cCity* departure = CityOnHex(*gGame, x1, y1);
  cCity* destination = CityOnHex(*gGame, x2, y2);
  if (!departure || !destination) return -1;
  std::vector<sConvoy>& list = ConvoysOf(countryId);
  sConvoy convoy;
  convoy.Init(countryId, KnownConvoyKind(kind), departure, destination);
  convoy.amount = amount;
  list.push_back(convoy);
  return convoy.id;
}

void cConvoyManager::RemoveConvoysBetweenHexes(int countryId, int kind, int x1, int y1, int x2, int y2) {
  const cCity* departure = CityOnHex(*gGame, x1, y1);
  const cCity* destination = CityOnHex(*gGame, x2, y2);
  if (!departure || !destination) return;
  std::erase_if(ConvoysOf(countryId), [&](const sConvoy& convoy) {
    return convoy.kind == KnownConvoyKind(kind) && convoy.departure == departure && convoy.destination == destination;
  });
}

bool cConvoyManager::HasConvoyTo(const cCity* destination, int countryId) const {
  const std::vector<sConvoy>& list = ConvoysOf(countryId);
  return std::any_of(list.begin(), list.end(),
                     [destination](const sConvoy& convoy) { return convoy.destination == destination; });
}

namespace {

constexpr std::uint32_t kFlagChoice = 0x8000;
constexpr std::uint32_t kFlagsChoiceAndZone = 0xC000;

// Flags the player-marker hex of every port node the test lets through.
template <typename Accept>
void MarkPorts(Accept accept) {
  if (!gGame || !gGame->map) return;
  cMap& map = *gGame->map;
  map.ClearHexFlags(kFlagsChoiceAndZone, false);
  for (const sWezelGrafuMorz& node : gGame->seaGraph.nodes) {
    if (!node.IsPort() || !map.IsInside(node.x, node.y)) continue;
    if (!accept(node, static_cast<int>(map.GetHex(node.x, node.y)->controller))) continue;
    if (map.IsInside(node.playerMarkerX, node.playerMarkerY)) {
      map.GetHex(node.playerMarkerX, node.playerMarkerY)->AddFlags(kFlagChoice, -1);
    }
  }
}

}  // namespace

void MarkConvoyCandidateCities(int countryId) {
  MarkPorts([countryId](const sWezelGrafuMorz&, int controller) { return controller == countryId; });
}

void MarkConvoyCitiesForAction(int countryId, int excludedNodeId) {
  const cCountry* country = gGame ? gGame->GetCountry(countryId) : nullptr;
  if (!country) return;
  MarkPorts([&](const sWezelGrafuMorz& node, int controller) {
    return node.id != excludedNodeId && controller >= 1 && country->IsAlly(controller);
  });
}

std::int32_t cConvoyManager::HighestId() const {
  std::int32_t highest = 0;
  for (const auto& list : convoys) {
    for (const sConvoy& convoy : list) highest = std::max(highest, convoy.id);
  }
  return highest;
}

}  // namespace tr
