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

#include "foundation/game_date.h"
#include "scenario/pbem_player.h"
#include "scenario/reports.h"
#include "scenario/scenario_constants.h"
#include "turn/fleet.h"
#include "world/city.h"
#include "world/commander.h"
#include "world/game_state.h"
#include "world/map.h"
#include "world/panstwo.h"
#include "world/relations.h"

namespace tr {

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
  void Pause();
  void Resume();

  // Countries: the country of a number, null for 0; a number outside
  // 1..count is logged and gives null.
  cCountry* GetCountry(int id) const;
  int CountryCount() const { return static_cast<int>(countries.size()); }

  // Members in the game's declared order. Places marked "later" are filled
  // by the subsystems that own those objects.
  std::unique_ptr<cMap> map;
  std::list<std::unique_ptr<cCity>> cities;  // each city's hex points back to it
  // later: landUnits, aboardUnitsA (cargo ships), aboardUnitsB (amphibious
  //        ships), airUnits, navalUnits, reservePool, navalReserve
  std::list<std::unique_ptr<cFleet>> fleets;
  std::vector<std::unique_ptr<cCountry>> countries;  // index = country number - 1
  // later: countryAi (one per country, same index)
  cGameDate date{1, 9, 1939};
  cRelations relations;
  // later: playerControl
  cCountry* viewingCountry = nullptr;  // not owned
  // later: strategicMovement, citiesDiagram, seaGraph
  std::vector<std::unique_ptr<sCommander>> commanders;
  std::int32_t lastMonthProcessed = -666;
  // later: seaBattles
  std::u16string folderTemplate;
  std::int32_t loadedGame = 0;
  std::int32_t turn = 0;
  std::int32_t turnsLeft = 0;
  std::uint8_t gameOver = 0;
  // later: events
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
  // later: autoEvents
  sScenarioConstants constants;
  std::string unitNamesFile;  // "unit_names.csv" as read, written back byte for byte
  std::int32_t nextConvoyId = 0;
  std::int32_t nextFleetId = 0;
  std::int32_t nextNavalUnitId = 0;
  std::int32_t nextLandUnitId = 0;
  std::int32_t nextAirUnitId = 0;
  // later: convoys, saveContext
  std::atomic<eGameState> state{kGameLoading};  // always the last member

 private:
  bool tornDown_ = false;
};

// The running game; null while none exists.
extern cGame* gGame;

// The fatal end of a reader that must tear the game down first: the game's
// Teardown runs (so the settings are saved), then the program ends.
[[noreturn]] void ExitDestroyingGame(int code);

}  // namespace tr
