// Ships. A ship stands on no hex: it belongs to a fleet at a node of the sea
// graph, or waits in the naval reserve. Its values feed the sea battles and
// convoy attacks; it joins fleets, carries one land unit, scouts and sinks.
#pragma once

#include <cstdint>
#include <string>

#include "units/unit.h"

namespace tr {

class cFleet;
class cJednostkaLadowa;

class cJednostkaMorska : public cUnit {
 public:
  cJednostkaMorska() { category = kCategoryNaval; }
  cJednostkaMorska(const cJednostkaMorska&) = default;
  ~cJednostkaMorska() override;

  // Ships stand under no commander and have no combat value to compute; a
  // ship killed is sunk with what it carries.
  void AssignCommander() override;
  int ComputeCombatValue() override;
  int ComputeMoveRange(int quiet) override;
  void Kill() override;

  // The carrier's interception duel lives with the air war
  // (units/air_interception.cpp). Being bombed (ship_actions.cpp) leaves a
  // ship at 0 hit points listed: its caller sinks it.
  bool TryIntercept(cUnit* attacker, sCombatResult* result) override;
  void OnBombarded(sCombatResult* result, cUnit* attacker, sHex* hex) override;
  // The surprise attack of a carrier's aircraft or a raiding submarine on an
  // enemy ship of its zone (ship_actions.cpp); true when one was made, the
  // text tells the outcome. A target left at 0 hit points stays listed.
  bool SurpriseAttack(std::u16string& text);

  // Values (jednostka_morska.cpp). T is the owner's submarine technology for
  // a submarine, else its navy technology.
  // The level T; 0 without an owner.
  int GetNavalTechLevel() const;
  // The type the per-type tables are read with: a type outside 40..45 is
  // logged and read as the nearest ship type.
  int TableType() const;
  // A draw between the type's two bounds of the constants.
  int RollPerTypeValue() const;
  // The mean of the type's two naval values (integer division) scaled by T.
  float GetCombatStrength() const;
  int GetTechRating() const;
  bool RollDetectionCheck() const;
  // The smallest port size that takes the type.
  int GetRequiredPortSize() const;
  // The sum is truncated and held to 0..maximum; returns the new value.
  int AddHitPoints(float amount);
  // Losses never leave less than the scenario's share of the maximum.
  void RaiseHitPointsToMinimum();
  // A damaged carrier and the transports stay out of the regular battle.
  void InitBattleFlags();

  // Placement and fleets (ship_placement.cpp). Slot 3: the own ports large
  // enough for the ship.
  int MarkPlacementHexes(int mark) override;
  // Puts a ship of the reserve into the owner's first fleet at the node, or a
  // new fleet there; the ship joins the game's naval units. An unknown node
  // is logged and changes nothing.
  void AssignToFleetAtNode(int seaNodeId);
  // The same without the node check, joining only a fleet that has not
  // moved this turn.
  void FormNewFleet(int seaNodeId);

  // Transport (ship_transport.cpp). Where the carried unit may go ashore.
  int MarkPlacementPorts(int mark);
  // Sets the carried unit down on (x, y), supplied from (sx, sy). False
  // (logged) for a ship that carries no land unit or cannot.
  bool UnloadTransport(int x, int y, int sx, int sy);
  // The computer's unload onto the node's port hex or a free friendly hex
  // beside it; with testOnly 1 only whether one exists.
  bool UnloadCarriedUnit(int testOnly);

  // Reconnaissance (ship_sinking.cpp).
  void ReconSeaNode(int seaNodeId);
  void ReconArea(int x, int y);

  // Ends the ship under the game lock; with killCarried 1 the land unit aboard
  // dies with it, else it stays aboard without a transporter. The last ship
  // of a fleet takes the fleet with it. The ship is freed.
  void Sink(int killCarried);

  bool IsBattleshipOrCruiser() const { return type == kBattleship || type == kCruiser; }

  cFleet* fleet = nullptr;      // not owned
  std::int32_t fleetId = -1;    // the fleet's number as read, linked after loading
  std::int32_t hitPoints = 0;
  std::int32_t maxHitPoints = 0;
  cJednostkaLadowa* carriedUnit = nullptr;  // cargo and amphibious ships only; not owned
  std::uint8_t mayAct = 1;      // takes part in the regular sea battle
  std::uint8_t retreated = 0;   // cleared at the start of a battle
  std::uint8_t shoreBombardmentDone = 0;
  std::uint8_t airstrikeDone = 0;
  std::uint8_t reconDone = 0;
  std::uint8_t canBeRepaired = 0;
  std::int32_t group = -1;      // the computer opponent's grouping
  std::int32_t battleColumn = 0;
  std::int32_t battleRow = 0;
  std::uint8_t hasActed = 0;     // the sea battle's mark of a ship that moved; cleared as each battle turn begins
  std::uint8_t targetable = 0;
  std::uint8_t mark = 0;        // the player's selection for splitting and moving, kept through battles
  std::int32_t selectedForBombardment = 0;  // set by FindShoreBombardmentShips, not saved
};

// The navy technology of a country; 0 for a number that names none.
int CountryNavyLevel(int countryId);

}  // namespace tr
