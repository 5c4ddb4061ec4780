// What the player (or the computer opponent acting through the same paths)
// is doing right now: the current country, the hovered and selected hex, the
// selected unit, what a click on the map does, the unit move in progress, the
// planned land attack and the undo record of the last move. One lives inside
// the game and is never copied.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>

#include "units/attack.h"
#include "world/hex_entry.h"
#include "world/hex_geometry.h"
#include "world/topography.h"

namespace tr {

class cCountry;
class cJednostka;
class cUnit;
struct sHex;

// What a click on the map does.
enum ActionMode : std::int32_t {
  kActionNone = 0,
  kActionDeployLand = 1,
  kActionDeployAir = 2,
  kActionDeployShip = 3,
  kActionMove = 4,
  kActionStrategicMove = 5,
  kActionAirborneDrop = 6,
  kActionPlanAttack = 7,
  kActionBombardment = 8,
  kActionAirFight = 9,
  kActionNuclearStrike = 10,
  kActionRecon = 11,
  kActionRebase = 12,
  kActionFleetMove = 13,
  kActionConvoyDeparture = 14,
  kActionConvoyDestination = 15,
  kActionInvasionTarget = 16,
  kActionShoreBombardment = 17,
  kActionReconFromSea = 18,
};

// The unit move in progress: filled by FindHexPath, walked by AdvanceMovingUnit.
struct sUnitMove {
  cJednostka* unit = nullptr;       // null: no move; not owned
  std::int32_t capturingCountry = 0;  // who will control the hex being entered
  std::deque<sHexEntry> path;       // first step first; value = action points of the step
  std::deque<sPoint> walked;        // the start hex and every hex entered so far

  // One step of the walk (unit_path.cpp); false when the walk has ended or
  // there was nothing to do. The hexes passed over never hold the unit.
  bool AdvanceMovingUnit();
  // The hex the walk would end on were it to end now: the last hex entered,
  // or, when another unit holds it (one the walker was passing), the last
  // free hex of the way, else the start.
  sPoint StopHex() const;
};

// The last unit move of the current turn.
struct sUndoRecord {
  cJednostka* unit = nullptr;  // null: nothing to undo; not owned
  std::int32_t actionPoints = 0;
  std::int32_t startX = 0;
  std::int32_t startY = 0;
  HexEntryList changedHexes;  // value = controller before the move took the hex

  // Puts the unit back where the move began, when it is the unit that moved last.
  void UndoLastMove(cJednostka* mover);
};

class cPlayerControl {
 public:
  cPlayerControl();
  ~cPlayerControl();
  cPlayerControl(const cPlayerControl&) = delete;
  cPlayerControl& operator=(const cPlayerControl&) = delete;

  // The planned attack: BeginAttack replaces it with a copy, DropAttack ends
  // it. ValidateAttack drops a plan of several units when the defender was
  // already attacked this turn or one of the attackers has attacked; its
  // argument is not used.
  void BeginAttack(sAttack attack);
  void DropAttack();
  void ValidateAttack(int unused = 0);
  sAttack* GetPendingAttack() const { return pendingAttack_.get(); }

  void ClearSelection();
  // Stores the country; the view follows its moves unless it is an ally of a
  // human player whose setting hides allies' actions.
  void SetCurrentCountry(cCountry* country);
  // The follow flag by that rule for the current country, as it is stored.
  void FollowCurrentCountry();
  void CenterOnCurrentCountry(bool glide);
  void SetHoveredHex(sHex* hex);
  void SelectHex(int x, int y);
  void ClearUndoList();

  // Builds the path of the unit to (x, y) from its move range and opens the
  // undo record (unit_path.cpp). The caller has taken the unit off its hex;
  // a target outside the range is refused (false) and the unit put back.
  bool FindHexPath(cJednostka* unit, int x, int y);

  cCountry* currentCountry = nullptr;  // not owned
  sUnitMove move;
  sUndoRecord undo;
  sHex* hoveredHex = nullptr;
  sHex* selectedHex = nullptr;
  cUnit* selectedUnit = nullptr;
  std::int32_t actionMode = kActionNone;
  std::uint8_t follow = 0;  // the view follows the current country's visible moves
  sPoint lastMoveDestination{-1, -1};  // where the last walk ended; the animation reselects it
  cWorldTopography worldTopography;    // computed once after loading

 private:
  std::unique_ptr<sAttack> pendingAttack_;
};

// Shows a one-line progress text in the information panel: every line feed
// becomes a space.
void SetPanelHintText(std::u16string_view text);

}  // namespace tr
