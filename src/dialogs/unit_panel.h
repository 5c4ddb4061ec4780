// cUnitPanel: the map-side panel that shows the unit on the selected hex -
// its picture, name, owner and flag, size, level, supply, action points,
// commander, strength, effectiveness and entrenchment - and a row of action
// icons whose state and hint say whether each action is possible now. The
// icons start the actions on the unit (unit_panel_actions.cpp), some through
// a dialog the panel owns and waits for.
#pragma once

#include <cstdint>
#include <string_view>

#include "dialogs/panel.h"
#include "gui/texture_holder.h"

namespace tr {

class cJednostka;
class cJednostkaLadowa;
class cUnit;

class cUnitPanel : public cPanel {
 public:
  static constexpr int kPanelId = 351;
  static constexpr int kPicture = 352;
  static constexpr int kName = 354;
  static constexpr int kRename = 355;
  static constexpr int kFlag = 357;
  static constexpr int kOwner = 358;
  static constexpr int kSize = 360;
  static constexpr int kUpgrade = 361;
  static constexpr int kLevel = 363;
  static constexpr int kLevelUp = 364;
  static constexpr int kSupply = 366;
  static constexpr int kSupplySource = 367;
  static constexpr int kActionPoints = 369;
  static constexpr int kCommander = 371;
  static constexpr int kCommanderIcon = 372;
  static constexpr int kStrength = 374;
  static constexpr int kReinforce = 375;
  static constexpr int kEffectiveness = 377;
  static constexpr int kBonus = 379;
  static constexpr int kDisband = 380;
  static constexpr int kUndo = 381;
  static constexpr int kStrategicMove = 382;
  static constexpr int kAirborneAssault = 383;
  static constexpr int kAmphibiousTransport = 384;
  static constexpr int kSeaTransport = 385;
  static constexpr int kAirFight = 386;
  static constexpr int kBombardment = 387;
  static constexpr int kRecon = 388;
  static constexpr int kNuclearStrike = 390;
  static constexpr int kLastId = 390;

  // What the panel waits for.
  static constexpr int kPendingNone = 0;
  static constexpr int kPendingRename = 1;
  static constexpr int kPendingCommander = 2;
  static constexpr int kPendingReplacements = 3;
  static constexpr int kPendingDisband = 4;

  cUnitPanel();

  // Refreshes every control from the unit on the game's selected hex.
  void Update();
  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void ForgetPendingAction() override { pendingAction = kPendingNone; }
  void Move(int dx, int dy) override;

  cJednostka* shownUnit() const { return shownUnit_; }
  // The file the picture was last loaded from (a game path).
  const TextureHolder& picture() const { return picture_; }

  std::int32_t pendingAction = kPendingNone;

 private:
  void SetField(int id, std::u16string_view text, std::u16string_view hint);
  void SetIcon(int id, bool enabled, std::u16string_view hint);
  void ShowPicture(const cJednostka& unit);
  void ShowSupply(const cJednostka& unit);
  void ShowCommander(const cJednostka& unit);
  void ShowUndo(const cJednostka& unit);
  void ShowActionIcons(cJednostka& unit);

  // The panel's own actions (unit_panel_actions.cpp).
  void OpenRename();
  void OpenDisbandQuestion();
  void Disband();
  void Load(int shipType);
  void StartMapAction(int mode);

  cJednostka* shownUnit_ = nullptr;
  std::int32_t shownUnitId_ = -1;
  TextureHolder picture_;
  // The hex the supply icon jumps to; (-1, -1) when none.
  std::int32_t supplySourceX_ = -1;
  std::int32_t supplySourceY_ = -1;
};

// The game's unit panel, or null.
cUnitPanel* GetUnitPanel();

// The production points a disbanded unit gives back: half its strength value
// times its type's reinforcement factor; 0 for a unit of another kind.
double DisbandRefund(const cJednostka& unit);

// Puts the land unit aboard a new ship of the type (44 cargo, 45 amphibious)
// in the friendly port on or beside its hex, in the owner's fleet there or a
// new one. Nothing changes, and false is returned (logged), when there is no
// such port; the transport or invasion points are paid only once the port is found.
bool LoadUnitIntoShip(cJednostkaLadowa& unit, int shipType);

}  // namespace tr
