// Sea battles: the generator of the end of impulse that brings hostile fleets
// sharing an open-sea zone together, and the battle itself: an opening stage
// of carrier aircraft and submarines fought at a distance, then a regular
// part fought shot by shot. The regular part runs on the sea-battle screen
// when one is installed; without one (computer-only play, the autoplay
// runner, tests) a headless driver plays the rounds at once.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "scenario/report_kinds.h"
#include "turn/sea_battle_record.h"

namespace tr {

class cGame;
class cJednostkaMorska;

// The battle grid: 31 x 31 cells, the first side in columns 0-14, the enemy
// side in columns 15-30.
inline constexpr int kSeaBattleGridSize = 31;

// Event codes of a shot for the screen: planes / guns.
inline constexpr int kShotPlanesSinks = 1;
inline constexpr int kShotGunsSinks = 2;
inline constexpr int kShotPlanesHits = 4;
inline constexpr int kShotGunsHits = 8;
inline constexpr int kShotPlanesMisses = 16;
inline constexpr int kShotGunsMisses = 32;

enum eSeaBattleEntryKind : std::int32_t { kEntryCarrierStrike = 0, kEntrySubmarineAttack = 1 };

struct sSeaBattleEntry {
  std::u16string attacker;  // "name (owner)"
  std::u16string target;
  std::u16string text;      // the event as logged
  float damage = 0.0f;
  std::uint8_t destroyed = 0;
  std::int32_t kind = kEntryCarrierStrike;
};

struct sSeaBattle {
  using ShipList = std::list<cJednostkaMorska*>;

  // Draws the battle's length and takes the zone and the human sides from
  // the lists.
  sSeaBattle(ShipList firstSide, ShipList enemySide);

  void RequestStepA();
  void RequestStepB();
  // Selection by unit number; the rules of who may be chosen are the acting side's.
  bool SelectShipSideA(int unitId);
  bool SelectShipSideB(int unitId);

  std::u16string openingReport;
  std::u16string zoneName;
  std::u16string log;
  std::uint8_t regularPartCancelled = 0;
  std::vector<sSeaBattleEntry> openingEntries;
  std::int32_t battleTurnsLeft = 1;
  std::uint8_t startingSide = 1;  // 1 the first side, 2 the enemy side
  std::uint8_t actingSide = 1;
  std::uint8_t firstSideHuman = 0;
  std::uint8_t enemySideHuman = 0;
  std::uint8_t automatic = 0;
  std::uint8_t stepRequestA = 0;
  std::uint8_t stepRequestB = 0;
  cJednostkaMorska* selectedA = nullptr;  // not owned
  cJednostkaMorska* selectedB = nullptr;  // not owned
  float stepTimer = 0.0f;
  // Keyed by unit number, so two ships of one name are told apart.
  std::map<std::int32_t, std::int32_t> initialHitPoints;
  std::map<std::int32_t, std::u16string> initialNames;
  ShipList firstSide;  // not owned
  ShipList enemySide;  // not owned
  std::set<std::int32_t> participants;
  sPbemSeaBattleRecord pbem;
  std::uint8_t finished = 0;  // the damage report has been made
  std::int32_t lastShotEvent = 0;
};

// Battle length 1..5 from the scenario's five weights; a weight sum of 0 gives 1.
int DrawSeaBattleLength();

// The whole battle: opening, its report, the regular part, the damage report.
void ShowSeaBattleStageReport(sSeaBattle& battle);
void RunSeaBattleOpening(sSeaBattle& battle);
void CarrierAirAttack(sSeaBattle& battle, sSeaBattle::ShipList& attackers, sSeaBattle::ShipList& targets);
void SubmarineAttack(sSeaBattle& battle, sSeaBattle::ShipList& attackers, sSeaBattle::ShipList& targets);
void RemoveSunkShips(sSeaBattle& battle);
bool SelectRandomShips(sSeaBattle& battle);
// One step of the regular part; the battle may end in it (battle.finished).
bool RunSeaBattleRound(sSeaBattle& battle);
void SeaBattleShots(sSeaBattle& battle);
void EndSeaBattleRound(sSeaBattle& battle);
void TryRetreatFromSeaBattle(sSeaBattle& battle, cJednostkaMorska& ship);
void ReportSeaBattleDamage(sSeaBattle& battle);

// Lays both sides out on the battle grid in their formations and sets each
// ship's battle column and row; a ship beyond its formation's slots stays
// unplaced (column and row -1). The cells get the ships through `place`.
void PlaceSeaBattleShips(const sSeaBattle& battle,
                         const std::function<void(cJednostkaMorska&, int column, int row)>& place = {});

// Plays the regular part to its end without a screen.
void RunSeaBattleHeadless(sSeaBattle& battle);

// The sea-battle screen: shows the regular part and returns when it is closed.
// None installed: the headless driver plays it.
using SeaBattleScreen = std::function<void(sSeaBattle&)>;
void SetSeaBattleScreen(SeaBattleScreen screen);

// The kind-20 report of the text for every country, in order.
void AddRaidersReport(const std::u16string& text);

// The end of impulse's sea-battle step.
class cSeaBattleGenerator {
 public:
  // Empties the three lists and generates the battles; ends in state 3.
  void Run(cGame& game);
  int GenerateSeaBattles(cGame& game);

 private:
  // The ships of the country or side on the node in regular active fleets;
  // with rolls, each joins only on its participation roll. Returns the
  // weight sum of all of them.
  int GatherFirstSide(cGame& game, int nodeId, const std::function<bool(int owner)>& belongs, bool roll);
  void CollectRaiders(cGame& game, int nodeId, int against);
  void SurpriseAttacks(cGame& game);
  // Fills both sides at one node; true when they meet and the weight roll succeeds.
  bool GatherMeeting(cGame& game, int nodeId, int warWith, const std::function<bool(int)>& ownSide);
  void RunBattle(cGame& game, const std::u16string& text);

  sSeaBattle::ShipList firstSide_;
  sSeaBattle::ShipList enemySide_;
  sSeaBattle::ShipList raiders_;
};

void InstallSeaBattleGenerator();

}  // namespace tr
