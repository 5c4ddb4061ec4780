// The load sequence: every file of a scenario or save folder read in its
// fixed order while the loading screen's progress moves from 5 to 75 %, and
// the cities and units put on their hexes.
#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "scenario/air_recon_file.h"
#include "scenario/air_units_file.h"
#include "scenario/airship_attacks_file.h"
#include "scenario/cities_file.h"
#include "scenario/commanders_file.h"
#include "scenario/countries_file.h"
#include "scenario/flags_file.h"
#include "scenario/fleets_file.h"
#include "scenario/folder_entries.h"
#include "scenario/land_units_file.h"
#include "scenario/naval_units_file.h"
#include "scenario/save_manifest.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_constants.h"
#include "scenario/scenario_info.h"
#include "scenario/scenario_paths.h"
#include "scenario/unit_names_file.h"
#include "world/gra.h"
#include "world/presentation.h"
#include "world/unit_room.h"

namespace tr {

namespace {

thread_local eLoadRefusal tRefusal = eLoadRefusal::kOther;
// The refusal in the player's words, where the log line is the program's own.
thread_local std::u16string tRefusalInWords;

// Puts each unit of the list with a position on its hex. Every clash and
// every position off the map is logged before the load ends, so one run
// names all of them.
// The file of the folder a unit is read from, as the player finds it.
std::u16string UnitsFileOf(const cUnit& unit, std::u16string_view folder) {
  return ShownPath(std::u16string(folder) +
                   (unit.category == kCategoryLand ? u"\\land_units.csv" : u"\\air_units.csv"));
}

template <typename UnitList>
void PlaceUnits(cMap& map, const UnitList& units, std::u16string_view kind, std::u16string_view folder) {
  bool failed = false;
  for (const auto& unit : units) {
    // (-1, -1) is no hex; a reserve unit needs none. Any other place off the
    // map, (-1, 5) too, is an error.
    if ((unit->x == -1 && unit->y == -1) || (unit->inReserve && (unit->x == -1 || unit->y == -1))) continue;
    if (!map.IsInside(unit->x, unit->y)) {
      LogFormat(u"ERROR: Trying to place %s unit %s (ID=%i) to hex (%i, %i) outside the map", kind, unit->name,
                unit->id, unit->x, unit->y);
      failed = true;
      continue;
    }
    sHex& hex = *map.GetHex(unit->x, unit->y);
    if (hex.unit != nullptr) {
      LogFormat(u"ERROR: Trying to place %s unit %s (ID=%i) to hex (%i, %i) occupied by %s (ID=%i)", kind,
                unit->name, unit->id, unit->x, unit->y, hex.unit->name, hex.unit->id);
      if (!failed && tRefusalInWords.empty()) {
        const std::u16string first = UnitsFileOf(*hex.unit, folder);
        const std::u16string second = UnitsFileOf(*unit, folder);
        // A received turn is the sender's to mend, not a save damaged here.
        const char* key = IsPbemGameFolder(folder) ? "load_refused_turn_units_on_one_hex_%s_%s_%i_%i_%s"
                                                   : "load_refused_units_on_one_hex_%s_%s_%i_%i_%s";
        tRefusalInWords = Format(GetText(key), hex.unit->name, unit->name, unit->x, unit->y,
                                 first == second ? first : Format(GetText("load_refused_two_files_%s_%s"), first, second));
        NoteLoadRefusal(eLoadRefusal::kUnitsOnOneHex);
      }
      failed = true;
      continue;
    }
    hex.unit = unit.get();
  }
  if (failed) ExitDestroyingGame(1);
}

void PlaceCities(cMap& map, const std::list<std::unique_ptr<cCity>>& cities) {
  bool failed = false;
  for (const auto& city : cities) {
    if (!map.IsInside(city->x, city->y)) {
      LogFormat(u"ERROR: City %s lies outside the map at hex (%i, %i)", city->name, city->x, city->y);
      failed = true;
      continue;
    }
    sHex& hex = *map.GetHex(city->x, city->y);
    if (hex.city != nullptr) {
      LogFormat(u"ERROR: Trying to place city %s to hex (%i, %i) occupied by %s", city->name, city->x, city->y,
                hex.city->name);
      failed = true;
      continue;
    }
    hex.city = city.get();
  }
  if (failed) ExitDestroyingGame(1);
}

}  // namespace

eLoadRefusal LastLoadRefusal() { return tRefusal; }

void NoteLoadRefusal(eLoadRefusal cause) { tRefusal = cause; }

bool LastLoadRefusedByFileCheck() { return tRefusal == eLoadRefusal::kFileCheck; }

bool LastLoadRefusedForALink() { return tRefusal == eLoadRefusal::kLink; }

std::u16string LastLoadRefusalInWords() { return tRefusalInWords; }

void cGame::Load(std::u16string_view folder, std::int32_t loaded) {
  folderTemplate = folder;
  loadedGame = loaded;
  gGame = this;
  cPresentation& screen = Presentation();
  reports.Clear();
  autoEvents.Clear();

  screen.SetLoadingProgress(5);
  gameOver = 0;
  // A refusal of an earlier load must not be taken for this one's.
  tRefusal = eLoadRefusal::kOther;
  tRefusalInWords.clear();
  // Before any reader opens a file: a link in a folder from elsewhere would
  // be read through, and the next save would write through it.
  if (!HoldsOnlyFilesAndFolders(TemplateFolder(folderTemplate))) {
    NoteLoadRefusal(eLoadRefusal::kLink);
    ExitDestroyingGame(1);
  }
  // A save's files as they were written, or none read: a table cut at a
  // row's end reads as a shorter whole one.
  if (loadedGame == 1 && !CheckSaveManifest(TemplateFolder(folderTemplate))) {
    const cCheckedFiles* checked = cCheckedFiles::Current();
    NoteLoadRefusal(checked != nullptr && checked->FoundAChange() ? eLoadRefusal::kChangedWhileLoading
                                                                  : eLoadRefusal::kFileCheck);
    ExitDestroyingGame(1);
  }
  // Every field of a save's tables as the game writes it, before any is read.
  if (loadedGame == 1) CheckSavedTables(folderTemplate);
  LoadScenarioInfo(*this, folderTemplate);
  // A save reads its scenario's constants and events from the scenario's folder.
  if (loadedGame == 1 &&
      !HoldsOnlyFilesAndFolders(TemplateFolder(MakeFolderTemplate(kScenarioFolderTemplate, scenarioName)))) {
    NoteLoadRefusal(eLoadRefusal::kLink);
    ExitDestroyingGame(1);
  }

  screen.SetLoadingProgress(10);
  LoadScenarioConstants(constants, scenarioName);

  screen.SetLoadingProgress(15);
  map = std::make_unique<cMap>();
  map->Load(folderTemplate, loadedGame == 1);

  screen.SetLoadingProgress(20);
  LoadFlags(*this, folderTemplate);
  LoadCities(*this, folderTemplate);
  PlaceCities(*map, cities);

  screen.SetLoadingProgress(25);
  LoadCommanders(*this, folderTemplate);
  LoadLandUnits(*this, folderTemplate);
  PlaceUnits(*map, landUnits, u"land", TemplateFolder(folderTemplate));
  LoadAirUnits(*this, folderTemplate);
  PlaceUnits(*map, airUnits, u"air", TemplateFolder(folderTemplate));
  LoadFleets(*this, folderTemplate);
  LoadNavalUnits(*this, folderTemplate);
  CheckUnitCaps(*this);

  screen.SetLoadingProgress(35);
  LoadCountries(*this, folderTemplate);
  LoadUnitNames(*this, folderTemplate);

  screen.SetLoadingProgress(40);
  LoadAirshipAttacks(*this, folderTemplate);
  LoadAirReconUnits(*this, folderTemplate);

  screen.SetLoadingProgress(45);
  // later: one computer-opponent object per country
  relations.LoadRelationsAndLosses(folderTemplate, CountryCount(), loadedGame == 1);
  viewingCountry = nullptr;

  screen.SetLoadingProgress(50);
  strategicMovement = std::make_unique<cStrategicMovement>();
  events = std::make_unique<cEventEngine>();
  convoys.Clear();
  saveContext = std::make_unique<cGameSaver>(*this);

  screen.SetLoadingProgress(55);
  screen.SetLoadingProgress(60);
  CreatePanels();

  screen.SetLoadingProgress(65);
  screen.LoadMapSkin();

  screen.SetLoadingProgress(70);
  screen.LoadUnitsSkin();

  screen.SetLoadingProgress(75);
}

void cGame::CreatePanels() { Presentation().CreateGamePanels(); }

}  // namespace tr
