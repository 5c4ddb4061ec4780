// The passes that complete a loaded world: hex owners checked, the first
// country chosen, the reserves collected, topography, cities diagram, sea
// graph and convoys, the next free numbers, the scripted events and the
// computer opponent's data.
#include "events/auto_events.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "scenario/ai_data_file.h"
#include "turn/fleet_integrity.h"
#include "world/city_rules.h"
#include "world/gra.h"
#include "world/load_checks.h"
#include "world/presentation.h"
#include "world/turn_order.h"

namespace tr {

void cGame::FinishLoading(std::u16string_view folder) {
  CheckUnitLinks(*this);
  CheckHexOwners();
  playerControl.currentCountry = DetermineCurrentCountry(countries);

  CollectNavalReserve();
  CheckFleetIntegrity(*this);
  MoveAboardUnitsOffMap();
  CollectUnitReserve();

  strategicMovement->Init(CountryCount());
  playerControl.worldTopography.ComputeWorldTopography(*map, cities);
  playerControl.worldTopography.BuildNearestCityMap(*map, cities);
  strategicMovement->SetWorldTopography(&playerControl.worldTopography);

  citiesDiagram.Build(cities);
  citiesDiagram.Load(map.get(), scenarioName);
  UpdateCitiesAfterLoad();

  seaGraph.LoadNodes(*this, folder);
  CheckFleetReferences(*this);
  seaGraph.LoadEdges(scenarioName);
  convoys.Load(*this, folder);

  InitNextIds();

  events->OpenEventFiles(scenarioName);
  events->ValidateEventsFile();
  events->LoadAllEvents();

  LoadAIData(*this, folder);
}

void cGame::CheckHexOwners() {
  const int count = CountryCount();
  auto valid = [count](int id) { return id >= 1 && id <= count; };
  bool logged = false;
  for (int x = 0; x < map->GetWidth(); ++x) {
    for (int y = 0; y < map->GetHeight(); ++y) {
      sHex& hex = *map->GetHex(x, y);
      if (hex.terrain == kTerrainWater) continue;
      const bool controllerOk = valid(hex.controller);
      const bool ownerOk = valid(hex.owner);
      const bool originalOk = valid(hex.originalOwner);
      if (!controllerOk) {
        LogFormat(u"ERR: Hex (%d, %d) ma nieprawidlowego posiadacza (%d)", x, y, hex.controller);
        logged = true;
      }
      if (!ownerOk) {
        LogFormat(u"ERR: Hex (%d, %d) ma nieprawidlowego wlasciciela (%d)", x, y, hex.owner);
        logged = true;
      }
      if (!originalOk) {
        LogFormat(u"ERR: Hex (%d, %d) ma nieprawidlowego wlasciciela pierwotnego (%d)", x, y, hex.originalOwner);
        logged = true;
      }
      if (controllerOk && ownerOk && originalOk) continue;
      // The rules ask the countries of a hex by number and end the program
      // on one that does not exist: a number the hex holds stands in.
      const int known = controllerOk ? hex.controller : ownerOk ? hex.owner : originalOk ? hex.originalOwner : 0;
      if (known == 0) continue;
      if (!ownerOk) hex.SetOwner(originalOk ? hex.originalOwner : known);
      if (!originalOk) hex.originalOwner = hex.owner;
      if (!controllerOk) hex.SetController(hex.owner);
      LogFormat(u"WARNING: hex (%d, %d) given controller %d, owner %d and original owner %d", x, y, hex.controller,
                hex.owner, hex.originalOwner);
    }
  }
  if (logged) {
    Presentation().ShowMessageBox(u"Invalid ctr ids on hexes", u"Logged invalid controllers/owners/orig owners of hexes",
                                  eMessageIcon::kInformation);
  }
}

void cGame::UpdateCitiesAfterLoad() {
  for (const auto& city : cities) {
    if (city->type != kCityResources) ComputeHopDistances(*city, citiesDiagram);
  }
}

void cGame::RegisterAutoEvents() {
  for (const cEvent& event : events->events) autoEvents.AddIfNew(event.eventID, FavouredOptionId(event.options));
}

}  // namespace tr
