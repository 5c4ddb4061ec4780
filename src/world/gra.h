// The game object: the one world of a running game, reached through gGame.
// Construction builds the empty game; Load reads a scenario or saved game
// into it; the destructor tears it down. Its rules are split by subject over
// gra_*.cpp files.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "events/auto_events.h"
#include "events/zdarzenia.h"
#include "foundation/game_date.h"
#include "scenario/pbem_player.h"
#include "scenario/reports.h"
#include "scenario/save_game.h"
#include "scenario/scenario_constants.h"
#include "turn/convoy.h"
#include "turn/fleet.h"
#include "turn/sea_battle_record.h"
#include "turn/sea_graph.h"
#include "turn/supply.h"
#include "units/jednostka_ladowa.h"
#include "units/jednostka_lotnicza.h"
#include "units/jednostka_morska.h"
#include "units/player_control.h"
#include "units/unit_list_changes.h"
#include "units/unit_scan.h"
#include "world/cities_diagram.h"
#include "world/city.h"
#include "world/commander.h"
#include "world/game_state.h"
#include "world/map.h"
#include "world/panstwo.h"
#include "world/relations.h"
#include "world/topography.h"
#include "world/value_limits.h"

namespace tr {

class cCountryAI;

inline constexpr int kGameFlagCount = 40000;

class cGame {
 public:
  // The empty game: date 1/9/1939, state 0 (no log line), lastMonthProcessed
  // -666, every flag 0.
  cGame();
  // The teardown: Teardown, then everything the game owns is freed.
  ~cGame();
  cGame(const cGame&) = delete;
  cGame& operator=(const cGame&) = delete;

  // Loads the scenario or saved game of the folder (folderTemplate holds one
  // "%s" for the file name); loadedGame is 1 for a saved game. Becomes gGame
  // before it reads anything.
  void Load(std::u16string_view folderTemplate, std::int32_t loadedGame);
  // The passes over the loaded data, in their ten steps (gra_finish.cpp).
  void FinishLoading(std::u16string_view folderTemplate);
  // Logs every land hex whose controller, owner or original owner is no
  // country, and tells the player once; loading goes on.
  void CheckHexOwners();
  // A hex's sea zone beyond the scenario's sea nodes refuses a save's load; a
  // scenario's hex is logged and lies in no zone.
  void CheckHexSeaZones();
  void UpdateCitiesAfterLoad();
  // New games: each event's favoured option goes into the automatic events.
  void RegisterAutoEvents();
  // The music player and the in-game panels.
  void CreatePanels();
  // Hands the first turn over (game_start.cpp): state 7 for a human country,
  // 9 for a computer country.
  void StartGame();
  void InitMusic();

  // The part of the teardown that must happen before anything is freed, also
  // when a fatal data error ends the program: state 15, the worker stopped,
  // textures and map fonts released, the settings saved. Runs once.
  void Teardown();

  // Game state (gra_state.cpp).
  void SetGameState(eGameState newState);
  eGameState GetGameState() const { return state.load(); }
  // The direct stores without a log line: the loader's 1.
  void StoreGameState(eGameState newState) { state.store(newState); }
  // The end of a move animation: 8 becomes 7 and 10 becomes 9, without a log line.
  void EndMoveAnimationState();
  // Pausing and resuming: state 2, then 7, or 8 when the pause came during a human unit's walk.
  void Pause();
  void Resume();

  // Countries: the country of a number, null for 0; a number outside
  // 1..count is logged and gives null.
  cCountry* GetCountry(int id) const;
  int CountryCount() const { return static_cast<int>(countries.size()); }

  // Lookups over the lists (gra_lists.cpp); each gives null when nothing matches.
  cJednostkaMorska* FindNavalUnitById(int unitId) const;
  cFleet* FindFleet(int seaNodeId, int countryId) const;
  // A negative number gives null quietly; an unknown one is logged.
  sCommander* FindCommanderById(int commanderId) const;
  bool IsLandUnitIdUsed(int unitId) const;
  bool IsAirUnitIdUsed(int unitId) const;
  // Each kills the first unit of the country in its list; false when there is
  // none, or when the kill did not take the unit out of the list, so that the
  // callers' repeat-until-false loops always end.
  bool KillFirstLandUnitOfCountry(int countryId);
  bool KillFirstAboardUnitOfCountryA(int countryId);
  bool KillFirstAboardUnitOfCountryB(int countryId);
  bool KillFirstAirUnitOfCountry(int countryId);
  bool KillFirstNavalUnitOfCountry(int countryId);
  void ClearCityMarks();
  void MarkCitiesOfOriginalOwner(int countryId);
  void FreeCommandersOfCountry(int countryId);
  void AddEventEffectOnCountryHexes(int originalOwnerId, int side, int value);
  void AddEventEffectInArea(int x1, int y1, int x2, int y2, int side, int value);

  // Unit passes after loading (gra_unit_passes.cpp), in the order they run.
  void CollectNavalReserve();
  void MoveAboardUnitsOffMap();
  void CollectUnitReserve();
  // Sets the five number counters from the loaded objects. A save that goes
  // on with its own counters keeps the order of its files; a scenario, or a
  // save from before the counters were kept, has its fleets and ships sorted
  // by number and counters one past the highest (the ships' one further).
  void InitNextIds(bool keepSavedOrder = false);
  // The reserve entries of a country go, the others keep their order.
  void DestroyReserveUnitsOfCountry(int countryId);
  void DestroyReserveShipsOfCountry(int countryId);

  // Members in the game's declared order. Places marked "later" are filled
  // by the subsystems that own those objects.
  std::unique_ptr<cMap> map;
  std::list<std::unique_ptr<cCity>> cities;  // each city's hex points back to it
  cUnitList<cJednostkaLadowa> landUnits;     // on the map
  cUnitList<cJednostkaLadowa> aboardUnitsA;  // carried by cargo ships (44)
  cUnitList<cJednostkaLadowa> aboardUnitsB;  // carried by amphibious ships (45)
  cUnitList<cJednostkaLotnicza> airUnits;    // on the map
  cUnitList<cJednostkaMorska> navalUnits;    // in fleets
  std::vector<std::unique_ptr<cJednostka>> reservePool;       // land and air units, told apart by category
  std::vector<std::unique_ptr<cJednostkaMorska>> navalReserve;
  std::list<std::unique_ptr<cFleet>> fleets;
  std::vector<std::unique_ptr<cCountry>> countries;  // index = country number - 1
  std::vector<std::unique_ptr<cCountryAI>> countryAi;  // one per country, same index
  cGameDate date{1, 9, 1939};
  cRelations relations;
  cPlayerControl playerControl;
  cCountry* viewingCountry = nullptr;  // not owned
  std::unique_ptr<cStrategicMovement> strategicMovement = std::make_unique<cStrategicMovement>();
  cCitiesDiagram citiesDiagram;
  cSeaGraph seaGraph;
  std::vector<std::unique_ptr<sCommander>> commanders;
  std::int32_t lastMonthProcessed = -666;
  std::list<sPbemSeaBattleRecord> seaBattles;  // play-by-e-mail games only
  std::u16string folderTemplate;
  std::int32_t loadedGame = 0;
  std::int32_t turn = 0;
  std::int32_t turnsLeft = 0;
  std::uint8_t gameOver = 0;
  std::unique_ptr<cEventEngine> events = std::make_unique<cEventEngine>();
  std::vector<std::int32_t> flags = std::vector<std::int32_t>(kGameFlagCount, 0);
  std::u16string scenarioName;
  std::uint8_t pbemGame = 0;
  std::vector<sPbemPlayer> pbemPlayers;
  std::u16string pbemGameName = u"unknown";
  float gameVersion = 0.0f;
  std::int32_t gameDay = 0;
  std::int32_t displayedMonth = 0;
  std::int32_t displayedYear = 0;
  // later: musicPlayer
  cReportList reports;
  cAutoEventsRepository autoEvents;
  sScenarioConstants constants;
  std::string unitNamesFile;  // "unit_names.csv" as read, written back byte for byte
  std::int32_t nextConvoyId = 0;
  std::int32_t nextFleetId = 0;
  std::int32_t nextNavalUnitId = 0;
  std::int32_t nextLandUnitId = 0;
  std::int32_t nextAirUnitId = 0;
  cConvoyManager convoys;
  cSupply supply;  // the last computation's groups and nearest cities
  std::unique_ptr<cGameSaver> saveContext;
  std::atomic<eGameState> state{kGameLoading};  // always the last member

 private:
  bool tornDown_ = false;
  bool resumeWalk_ = false;  // the pause interrupted a human unit's walk
};

// The events effect of a land unit stays within what the unit files read back
// (kMaxEventsEffect), so no script can push it further.
void AddEventsEffect(cJednostkaLadowa& unit, int value);

// Whether a land unit is carried by a ship, and whether a unit waits in the reserve pool.
bool IsLandUnitAboard(const cJednostkaLadowa& unit);
bool IsUnitInReserve(const cUnit& unit);

// The running game; null while none exists.
extern cGame* gGame;

// The fatal end of a reader that must tear the game down first: the game's
// Teardown runs (so the settings are saved), then the program ends.
[[noreturn]] void ExitDestroyingGame(int code);

// Why a load was refused, where what the player can do depends on it.
enum class eLoadRefusal {
  kOther,                // the log line says why (a damaged table, say)
  kLink,                 // a link or an entry that is neither file nor folder
  kFileCheck,            // the files differ from the list the game wrote, or it is missing
  kAnotherGamesTurn,     // a received turn lies in the folder of another game
  kChangedWhileLoading,  // a file changed on this disk during the load, as its check read it or after
  kUnitsOnOneHex,        // the save puts two units on one hex
};
// The cause of the last refused load on this thread (kOther when it was none
// of the named ones); noted by the step that refuses, right before it ends
// the load, and put back to kOther as a load begins.
eLoadRefusal LastLoadRefusal();
void NoteLoadRefusal(eLoadRefusal cause);

// True when the last load on this thread was refused because the save's
// files differ from the list of what the game wrote, or the list is missing.
bool LastLoadRefusedByFileCheck();
// True when the last load on this thread was refused because its folder, or
// the scenario folder of a save, holds a link or another entry that is
// neither a file nor a folder.
bool LastLoadRefusedForALink();
// The reason the last load on this thread was refused, in the player's words
// (the save is damaged, and where), for a refusal whose log line is the
// program's own; empty for the others, whose log line is shown.
std::u16string LastLoadRefusalInWords();

}  // namespace tr
