// The player control: selection, the planned attack, the current country,
// the undo of the last move and the status text. Panels, the hint box and the
// fleets manager are reached through the presentation port.
#include "units/player_control.h"

#include <algorithm>

#include "foundation/console_log.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "units/jednostka_ladowa.h"
#include "world/city.h"
#include "world/gra.h"
#include "world/presentation.h"

namespace tr {
namespace {

constexpr std::uint32_t kAllHexFlags = 0xFFFFFFFFu;
constexpr std::uint32_t kSelectedHexFlag = 1;
constexpr std::uint32_t kWholeSeaZoneFlag = 0x4000;

}  // namespace

cPlayerControl::cPlayerControl() = default;
cPlayerControl::~cPlayerControl() = default;

void cPlayerControl::BeginAttack(sAttack attack) { pendingAttack_ = std::make_unique<sAttack>(attack); }

void cPlayerControl::DropAttack() { pendingAttack_.reset(); }

void cPlayerControl::ValidateAttack(int) {
  if (!pendingAttack_) return;
  const sAttack& attack = *pendingAttack_;
  const int count = attack.CountAttackers();
  const bool defenderHit = attack.defender && attack.defender->wasAttacked && count > 1;
  const bool attackerSpent =
      count >= 2 && std::any_of(attack.attackers.begin(), attack.attackers.end(),
                                [](const cJednostka* unit) { return unit && unit->attacked; });
  if (defenderHit || attackerSpent) DropAttack();
}

void cPlayerControl::ClearSelection() {
  selectedHex = nullptr;
  Presentation().UpdateHexPanel();
  selectedUnit = nullptr;
  if (gGame && gGame->map) gGame->map->ClearHexFlags(kAllHexFlags, true);
  // The action worked on the selection and its marks, and ends with them (its
  // prompt with it). A planned attack holds its own units and lasts until it
  // is fought or called off.
  if (!pendingAttack_) actionMode = kActionNone;
  Presentation().UpdateUnitPanel();
}

void cPlayerControl::SetCurrentCountry(cCountry* country) {
  currentCountry = country;
  FollowCurrentCountry();
  Presentation().RefreshInfoPanel();
}

void cPlayerControl::FollowCurrentCountry() {
  follow = currentCountry && currentCountry->IsAllianceActive() && !gShowAlliesActions ? 0 : 1;
}

void cPlayerControl::CenterOnCurrentCountry(bool glide) {
  if (!currentCountry) return;
  const cCity* city = currentCountry->FindMainCity();
  if (!city) return;
  Presentation().CenterCameraOn(city->x, city->y, false);
  if (glide && gGame && gGame->GetGameState() != kGameComputerTurn) gGame->SetGameState(kGameCameraGlide);
}

void cPlayerControl::SetHoveredHex(sHex* hex) {
  if (hex == hoveredHex) return;
  hoveredHex = hex;
  Presentation().SetHoveredSeaNode(hex ? hex->seaNodeMarker : 0);
}

void cPlayerControl::SelectHex(int x, int y) {
  if (!gGame || !gGame->map) return;
  cMap& map = *gGame->map;
  sHex* hex = map.GetHex(x, y);
  selectedHex = hex;
  Presentation().UpdateHexPanel();
  Presentation().UpdateDiplomacyPanel();
  selectedUnit = nullptr;
  map.ClearHexFlags(kAllHexFlags, true);
  if (!hex->IsLand() && hex->seaZone > 0) {
    map.FlagSeaZoneHexes(hex->seaZone, kWholeSeaZoneFlag);
  } else {
    hex->AddFlags(kSelectedHexFlag, -1);
    selectedUnit = hex->unit;
    Presentation().UpdateUnitPanel();
  }
  if (actionMode == kActionBombardment) return;
  const int node = hex->seaNodeMarker;
  if (hex->IsLand() || node <= 0 || !gGame->seaGraph.IsNodeId(node)) return;
  if (Presentation().IsModalDialogShown()) return;
  if (gGame->seaGraph.GetNode(node - 1).CountOwnShips() > 0) Presentation().OpenFleetDialog(node);
}

void cPlayerControl::ClearUndoList() {
  undo.unit = nullptr;
  undo.changedHexes.clear();
  Presentation().UpdateUnitPanel();
}

void sUndoRecord::UndoLastMove(cJednostka* mover) {
  if (!unit) {
    LogLine(GetText("undo_impossible._no_unit_has_moved_yet!"));
    return;
  }
  if (unit != mover) {
    LogLine(GetText("undo_impossible._only_last_unit_moved_may_undo_its_movement."));
    return;
  }
  LogLine(Format(GetText("conducting_undo_movement._hexes_to_change:%i,_start_coords(%i,%i)"),
                 static_cast<int>(changedHexes.size()), startX, startY));
  if (!gGame || !gGame->map) return;
  cMap& map = *gGame->map;
  if (map.IsInside(unit->x, unit->y)) {
    sHex* now = map.GetHex(unit->x, unit->y);
    if (now->unit == unit) now->unit = nullptr;
  }
  map.GetHex(startX, startY)->unit = unit;
  unit->x = startX;
  unit->y = startY;
  unit->SetActionPoints(actionPoints);
  if (unit->category == kCategoryLand) static_cast<cJednostkaLadowa*>(unit)->movedThisTurn = 0;
  for (const sHexEntry& entry : changedHexes) map.GetHex(entry.x, entry.y)->SetController(entry.value);
  cPlayerControl& control = gGame->playerControl;
  control.SelectHex(startX, startY);
  unit->ComputeMoveRange(0);
  control.actionMode = unit->category == kCategoryLand ? kActionMove : kActionRebase;
  unit = nullptr;
  changedHexes.clear();
  Presentation().UpdateUnitPanel();
}

void SetPanelHintText(std::u16string_view text) {
  std::u16string line(text);
  std::replace(line.begin(), line.end(), u'\n', u' ');
  Presentation().SetStatusText(line);
}

}  // namespace tr
