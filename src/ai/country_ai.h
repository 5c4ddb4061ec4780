// The computer opponent of one country: the object that plays the whole turn
// of a country no human leads, with the unit lists, fronts, reach entries,
// attack plans and line of defence its phases share. The game keeps one per
// country, at the country's number minus 1.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ai/attack_plan.h"
#include "ai/front.h"
#include "ai/move_range_reuse.h"
#include "units/jednostka_lotnicza.h"
#include "world/hex_geometry.h"

namespace tr {

class cAirTargetsByType;
class cCity;
class cCountry;
class cGame;
class cJednostka;
class cJednostkaLadowa;
class cJednostkaLotnicza;
class cJednostkaMorska;
class cFleet;
struct sCombatResult;
struct sCommander;
struct sPurchaseChoice;

class cCountryAI : public cEnemyLandUnitQueries {
 public:
  cCountryAI() = default;
  ~cCountryAI() override = default;
  cCountryAI(const cCountryAI&) = delete;
  cCountryAI& operator=(const cCountryAI&) = delete;

  // The turn of the player control's current country (ai_turn.cpp): the war
  // sequence when it is at war with anyone, else the peace sequence.
  void PlayTurn();
  // Rebuilds the nine unit lists from the game's lists (unit_lists.cpp).
  void BuildUnitLists();

  // Every city may be attacked, except those of DoNotAttackCities.
  void ResetCityAttackFlags();
  // Some front is threatened or critical.
  bool HasThreatenedFront() const;

  // Carries the land unit at once to (x, y) next to or on the city and pays
  // the strategic move (strategic_move.cpp). The caller has checked the move.
  void PrzeniesStrategicznieJednostke(cJednostkaLadowa& unit, const cCity& city, int x, int y);

  // Console printouts of fronts and attack plans (ai_printouts.cpp).
  void PrintFront(const sFront& front) const;
  void PrintFrontSummary(const sFront& front) const;
  void PrintAttackPlan(const sAttackPlan& plan) const;
  void PrintAttackCandidate(const sAttackPlan& plan) const;

  // Fronts (fronts.cpp): node strengths, the front list and its states, in
  // this order; then the reserves sent to critical fronts.
  void ComputeFrontStrengths();
  void UpdateFrontList();
  void EvaluateFronts();
  void SavePoorlyDefendedFronts();
  bool IsCityInFrontWithState(const cCity& city, int state) const;
  bool IsFrontCity(const cCity& city) const;
  // value: own plus allied-and-own land strength of the first front node of
  // the city, truncated; -1 and false when no front lists the city.
  bool GetFrontCityStrength(const cCity& city, int& value) const;
  // The friendly front city the unit reaches by strategic move (itself or a
  // friendly kind-0 neighbour) in the fewest hops, then the nearest.
  cCity* FindNearestFrontCity(const cJednostkaLadowa& unit) const;

  // Attack search (attack_search.cpp). Mode 1 leaves out units that have
  // attacked this turn.
  void PlanMultiDirectionAttacks();
  void PlanOneDirectionAttacks();
  void ComputeAttackRanges(int mode);
  void ComputeApproaches();
  void FindMultiDirectionAttacks();
  void FindAdjacentAttack(cJednostka& target);
  void FindOneDirectionAttacks();
  // The cheapest empty enemy city some own land unit reaches; true when a
  // unit was moved (obvious_moves.cpp).
  bool FindObviousMoves();
  // Carries out one plan (attack_execution.cpp): true when it went ahead.
  bool ExecuteAttack(sAttackPlan& plan);

  // Operational planning (operational_planning.cpp): the standing order of
  // every own land unit, and the gathering for the scenario's targets.
  void PlanOperations();
  void BuildUpInvasionForces();
  void ClearCityAssignedStrength();
  bool HasReserveUnits() const;
  // Executing the orders (operational_moves.cpp). The pending moves are the
  // attack orders given afterwards to free units near an enemy city: true
  // when any unit got one.
  void ExecuteOperationalMoves();
  bool HasPendingOperationalMoves();
  // The nearest city at war with the country within the radius, an enemy
  // resource city only when no other lies there; null when none.
  cCity* FindNearestEnemyCity(int x, int y, const cCountry& side, int radius) const;
  // True when the unit was carried strategically toward the city on (x, y).
  bool TryStrategicMoveToCity(cJednostkaLadowa& unit, int x, int y, int minimumHops);
  // The line of defence (line_of_defence.cpp), drawn when a front is threatened.
  void PlanLineOfDefence();
  std::vector<sPoint> FindBestLineBetween(sPoint a, sPoint b, const std::array<std::uint8_t, 6>& flags) const;
  void EnumerateLinePaths(sPoint hex, sPoint goal, const std::vector<sPoint>& path,
                          std::vector<std::vector<sPoint>>& paths, int maxLength) const;
  int ScoreLinePath(const std::vector<sPoint>& path, int maxLength, const std::array<std::uint8_t, 6>& flags) const;
  void MoveUnitsToLineOfDefence();
  // The free hex of the line nearest to the target; (-1, -1) when none.
  sPoint NearestFreeLineHex(sPoint target) const;
  // The free line hex of the unit's computed move range nearest to the
  // target; (-1, -1) when none.
  sPoint NearestLineHexInReach(const cJednostkaLadowa& unit, sPoint target) const;

  // The air-base rule of three named scenarios (scenario_rules.cpp).
  void ScenarioGarrisonRule();

  // The air war (ai_air.cpp): rebasing, fighter sweeps, strikes on land
  // units and on fleets, strategic bombing; and front patching. The enemy
  // land units are those of the enemy list; the queries answer the air
  // units' collection of candidate bases.
  void RebaseAirUnits();
  void AirFights();
  void AirStrikes();
  void PlanAirOperations();
  void StrategicBombing();
  void MoveUnitsStrategically();
  // The enemy land units as they stood when the lists were last built or
  // the last rebase began.
  int MinDistanceToEnemyLandUnits(int x, int y) const override;  // INT_MAX when none
  int CountEnemyLandUnitsWithin(int x, int y, int radius) const override;  // forts below 5 only
  // x = -1 when no candidate qualifies.
  sAirBaseCandidate ChooseRetreatBase(const std::vector<sAirBaseCandidate>& candidates) const;
  sAirBaseCandidate ChooseForwardBase(const std::vector<sAirBaseCandidate>& candidates) const;
  // The fighters of `own` against the enemy air units of the type, as
  // `enemies` lists them; true when an interception stopped a fighter or some
  // fight or interception lost a unit.
  bool AirFight(const std::vector<cJednostkaLotnicza*>& own, int targetType, cAirTargetsByType& enemies);

  // Diplomacy (ai_diplomacy.cpp): alliance entry and pressure by the
  // country's settings, and the wars on the holders of its targets.
  void ConductDiplomacy();
  void DeclareWars();

  // Purchases (purchases.cpp): the queue of wishes carried out as far as the
  // production points go, with the choice of a new wish when it is empty.
  void MakePurchases();
  void ChoosePurchase(sPurchaseChoice& choice);
  bool BuildPurchasedUnits(sPurchaseChoice& choice);
  // One of the 14 new-unit categories by the weights; -1 (logged) when every weight is 0.
  int ChoosePurchaseCategory();
  // A technology index to invest in, or -1.
  int ChooseResearch() const;
  cJednostkaLotnicza* FindAirUnitToLevelUp() const;
  cJednostkaLadowa* FindArmourToLevelUp() const;
  cJednostkaLadowa* FindLandUnitToLevelUp() const;

  // Deployment of the reserve (ai_deployment.cpp).
  void DeployLandUnits();
  void DeployAirUnits();
  void DeployNavalUnits();
  cCity* ChooseLandDeployCity(const std::vector<cCity*>& cities) const;
  cCity* ChooseAirDeployCity(const std::vector<cCity*>& cities) const;

  // Replacements, repairs and commanders (replacements.cpp).
  void ReplaceAirLosses(float factor);
  void ReplaceLandLosses(float factor);
  void RepairShips();
  void AssignCommanders();
  // The country's land commanders not assigned, in the order of the game's vector.
  void CollectFreeCommanders(std::list<sCommander*>& commanders) const;

  // The fleets' moves by their missions (ai_naval_moves.cpp) and the supply
  // convoys (ai_convoys.cpp).
  void NavalMoves();
  void NavalAndConvoyStep();

  // Sea invasions (ai_invasion.cpp, ai_landing.cpp) and sea transport to the
  // fronts (ai_sea_transport.cpp).
  void ChooseSeaInvasionTarget();
  void TransportUnitsToFronts();
  // The embarkation ports of a target in city-list order, and the obligatory
  // targets left to the country's enemies.
  void CollectEmbarkationPorts(const cCountry& of, const cCity& target, std::list<cCity*>& out) const;
  static void FilterEnemyCities(std::vector<sPoint>& cities, const cCountry& of);
  // The score of a city as an invasion target (logged stage by stage).
  float ScoreInvasionTarget(const cCity& city) const;
  void AmphibiousInvasion();
  // Whether the country's ships may enter the sea node; -1 counts nothing.
  bool IsSeaZoneSafe(int seaNodeId) const;

  // Carrier strikes (ai_carriers.cpp): kinds 0 to 8 of the priorities.
  void CarrierBombardment();
  void CollectCarrierTargets(const cFleet& fleet, int kind, std::list<sPoint>& hexes, std::list<int>& nodes) const;
  void ShowAirStrikeResult(sCombatResult& result, int x, int y, bool shown);
  void ShowSeaStrikeResult(sCombatResult& result, int seaNodeId);

  // Free ships regrouped into one fleet per patrolled zone (ai_patrols.cpp).
  void OrganiseFleets();

  // Supply convoys (ai_convoys.cpp): the ports a convoy may leave from, and
  // the next port that needs one (null: none).
  std::list<cCity*> FindConvoySourcePorts() const;
  cCity* PlanConvoys(const std::list<cCity*>& sources) const;

  // Members in their fixed order.
  cCountry* country = nullptr;  // re-read at every turn; not owned
  std::list<sFront> fronts;
  // The nine unit lists (none owned), rebuilt at every phase in the game's
  // list order; contiguous, since they are refilled and walked far more often
  // than anything is taken out. The own land list is sorted by effective
  // strength, strongest first.
  std::vector<cJednostkaLadowa*> ownLand;
  std::vector<cJednostkaLadowa*> alliedLand;
  std::vector<cJednostkaLadowa*> enemyLand;  // countries at war with this one
  std::vector<cJednostkaLadowa*> otherLand;
  std::vector<cJednostkaLotnicza*> ownAir;
  std::vector<cJednostkaLotnicza*> alliedAir;
  std::vector<cJednostkaLotnicza*> enemyAir;
  std::vector<cJednostkaLotnicza*> otherAir;
  std::vector<cJednostkaMorska*> ownNaval;
  std::list<sReachEntry> reach;
  // The own land units' ranges of the attack search (mode 0) and the
  // operational moves, taken again where nothing they read has changed.
  cMoveRangeReuse rangeReuse;
  std::list<sAttackPlan> attackPlans;
  std::int32_t attackPlanCount = 0;
  std::list<sPoint> lineOfDefence;
  // The text the last announced action wrote: diplomacy, war declaration, replacement, repair.
  std::u16string messageText;

 private:
  // The war and peace sequences of PlayTurn.
  void PlayWarTurn();
  void PlayPeaceTurn();
  void RefreshFronts();
  void RunAttackSearch(bool multiDirection);
  void BuildPlan(cJednostka& target, int passes);
  // Air support for a land target, the printout (before the air support for
  // a one-direction plan, after it otherwise) and the plan joins the list.
  void AddPlan(sAttackPlan& plan, bool printBeforeAirSupport);
  // The answers of the two enemy land unit queries, kept from the first
  // query until the lists are built again or a rebase begins: a rebase asks
  // them for every candidate base of every air unit, and moves no land unit.
  const cEnemyLandUnitQueryCache& EnemyLandQueries() const;
  mutable std::optional<cEnemyLandUnitQueryCache> enemyLandQueries_;
  // Whether the last carried-out attack fought a battle or killed its target.
  bool lastAttackDecided_ = false;
  // Set when a search for an obvious move chose one and could not make it
  // (the attack search clears it): the failed move may have touched the unit,
  // so the attack search computes the ranges again.
  bool obviousMoveFailed_ = false;
  // For each land unit (by number) aboard an invasion fleet: the impulses it
  // has spent at the landing zone or without getting any nearer, and the sea
  // node it stood on. Past a limit the invasion is given up and the fleet
  // takes its units to a friendly port (ai_naval_moves.cpp).
  struct sInvasionWait {
    int stalled = 0;
    int node = -1;
  };
  std::map<int, sInvasionWait> invasionWaits_;
  void GiveUpStalledInvasions();
  // The targets of invasions given up, with the impulse of the give-up: the
  // choice of a target passes over them for a while. Both are kept in a save
  // (ai_memory_file.cpp), so a loaded game goes on as the saved one would.
  struct sGivenUpTarget {
    sPoint at;
    int turn = 0;
  };
  std::vector<sGivenUpTarget> givenUpTargets_;
  bool WasGivenUpLately(int x, int y) const;
  // The message box of the action that just filled messageText, waited for.
  void AnnounceDiplomacy() const;

  friend bool WriteAiMemory(const cGame& game, std::u16string_view folder);
  friend class cAiMemoryReader;
};

// The AI object of the country, made when first asked for: one per country,
// at the country's number minus 1, living as long as the game.
cCountryAI& CountryAiOf(cGame& game, const cCountry& country);

// The computer-turn step the worker runs: the current country's AI plays.
void PlayCountryAiTurn(cGame& game, cCountry& country);

}  // namespace tr
