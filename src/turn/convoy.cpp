#include "turn/convoy.h"

#include <algorithm>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "world/city.h"
#include "world/gra.h"

namespace tr {

void sConvoy::Init(int ownerId, int convoyKind, cCity* departureCity, cCity* destinationCity) {
  id = gGame ? ++gGame->nextConvoyId : 0;
  owner = ownerId;
  departure = departureCity;
  destination = destinationCity;
  kind = convoyKind;
  amount = 0;
  portSize = 0;
  if (gGame && departureCity) {
    const int node = gGame->seaGraph.FindNodeIdByHex(departureCity->x, departureCity->y);
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

std::int32_t cConvoyManager::HighestId() const {
  std::int32_t highest = 0;
  for (const auto& list : convoys) {
    for (const sConvoy& convoy : list) highest = std::max(highest, convoy.id);
  }
  return highest;
}

}  // namespace tr
