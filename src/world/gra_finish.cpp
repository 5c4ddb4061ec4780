// The passes that complete a loaded world: hex owners checked, the first
// country chosen, the reserves collected, topography, cities diagram, sea
// graph and convoys, the next free numbers, the scripted events and the
// computer opponent's data.
#include "events/auto_events.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "scenario/ai_data_file.h"
#include "scenario/scenario_info.h"
#include "scenario/table_reader.h"
#include "turn/fleet_integrity.h"
#include "world/city_rules.h"
#include "world/folder_path.h"
#include "world/gra.h"
#include "world/load_checks.h"
#include "world/presentation.h"
#include "world/turn_order.h"

namespace tr {

void cGame::FinishLoading(std::u16string_view folder) {
  CheckUnitLinks(*this);
  CheckHexOwners();
  playerControl.currentCountry = DetermineCurrentCountry(countries);
  // The game saves only while a country is left to play the impulse: the last
  // to finish ends it, and that clears every country's mark. A save that
  // leaves none would load a game nobody plays.
  if (loadedGame == 1 && playerControl.currentCountry == nullptr) {
    RefuseDamagedTable(FolderFilePath(folder, u"countries.csv"), 0,
                       u"leaves no country to play: every active country has \"Finished turn?\" set");
  }
  // A loaded game shows the current country's moves as a game played on to it does.
  playerControl.FollowCurrentCountry();

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
  CheckHexSeaZones();
  CheckFleetReferences(*this);
  seaGraph.LoadEdges(scenarioName);
  convoys.Load(*this, folder);

  InitNextIds(loadedGame == 1 && SaveKeepsItsNumbering(folder));

  events->OpenEventFiles(scenarioName);
  events->ValidateEventsFile();
  events->LoadAllEvents();

  LoadAIData(*this, folder);
}

void cGame::CheckHexOwners() {
  const int count = CountryCount();
  const std::u16string path = FolderFilePath(folderTemplate, u"map.qel");
  auto valid = [count](int id) { return id >= 1 && id <= count; };
  // The rules ask the countries of a hex by number and end the program on
  // one that does not exist; 0 means none, which they allow for.
  auto exists = [count](int id) { return id <= count; };
  auto logRepair = [&](const sHex& hex) {
    LogFormat(u"WARNING: hex (%d, %d) of %s given controller %d, owner %d and original owner %d",
              static_cast<int>(hex.x), static_cast<int>(hex.y), path, hex.controller, hex.owner, hex.originalOwner);
  };
  // A number of a country that does not exist gives way to none.
  auto dropMissing = [&](sHex& hex) {
    if (exists(hex.controller) && exists(hex.owner) && exists(hex.originalOwner)) return;
    if (!exists(hex.controller)) hex.SetController(0);
    if (!exists(hex.owner)) hex.SetOwner(0);
    if (!exists(hex.originalOwner)) hex.originalOwner = 0;
    logRepair(hex);
  };
  bool logged = false;
  for (int x = 0; x < map->GetWidth(); ++x) {
    for (int y = 0; y < map->GetHeight(); ++y) {
      sHex& hex = *map->GetHex(x, y);
      // The map a game saves holds only its own countries (or none).
      if (loadedGame == 1 && (!exists(hex.controller) || !exists(hex.owner) || !exists(hex.originalOwner))) {
        RefuseDamagedTable(path, 0,
                           Format(u"gives hex (%d, %d) controller %d, owner %d and original owner %d, not all of them "
                                  u"0 or a country the save holds",
                                  x, y, static_cast<int>(hex.controller), static_cast<int>(hex.owner),
                                  static_cast<int>(hex.originalOwner)));
      }
      if (hex.terrain == kTerrainWater) {
        // The sea may belong to nobody, but a number it holds is still asked after.
        dropMissing(hex);
        continue;
      }
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
      // A number the hex holds stands in for the others; without one, a hex
      // of a country that does not exist takes the countries of its first
      // neighbour that has them. A hex of none stays so.
      const int known = controllerOk ? hex.controller : ownerOk ? hex.owner : originalOk ? hex.originalOwner : 0;
      if (known == 0) {
        if (exists(hex.controller) && exists(hex.owner) && exists(hex.originalOwner)) continue;
        const sHex* from = nullptr;
        for (int d = 0; d < kDirectionCount && !from; ++d) {
          const sHex* n = map->GetNeighbour(x, y, d);
          if (n && n->IsLand() && valid(n->controller) && valid(n->owner)) from = n;
        }
        if (!from) {
          dropMissing(hex);
          continue;
        }
        hex.SetController(from->controller);
        hex.SetOwner(from->owner);
        hex.originalOwner = valid(from->originalOwner) ? from->originalOwner : from->owner;
        logRepair(hex);
        continue;
      }
      if (!ownerOk) hex.SetOwner(originalOk ? hex.originalOwner : known);
      if (!originalOk) hex.originalOwner = hex.owner;
      if (!controllerOk) hex.SetController(hex.owner);
      logRepair(hex);
    }
  }
  if (logged) {
    Presentation().ShowMessageBox(u"Invalid ctr ids on hexes", u"Logged invalid controllers/owners/orig owners of hexes",
                                  eMessageIcon::kInformation);
  }
}

void cGame::CheckHexSeaZones() {
  const std::u16string path = FolderFilePath(folderTemplate, u"map.qel");
  const int zones = seaGraph.NodeCount();
  int cleared = 0;
  for (sHex& hex : map->Hexes()) {
    if (hex.seaZone <= zones) continue;
    // A zone is a sea node of the scenario; the game writes no other.
    if (loadedGame == 1) {
      RefuseDamagedTable(path, 0, Format(u"gives hex (%d, %d) the sea zone %d, where the game writes 0 to %d",
                                         static_cast<int>(hex.x), static_cast<int>(hex.y),
                                         static_cast<int>(hex.seaZone), zones));
    }
    if (cleared == 0) {
      LogFormat(u"WARNING: hex (%d, %d) in %s has the sea zone %d, but the scenario has %d sea nodes; it lies in none",
                static_cast<int>(hex.x), static_cast<int>(hex.y), path, static_cast<int>(hex.seaZone), zones);
    }
    hex.seaZone = 0;
    ++cleared;
  }
  if (cleared > 1) LogFormat(u"WARNING: %i hexes in %s lie in no sea zone for the same reason", cleared - 1, path);
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
