// cDiplomacyPanel: the map-side panel that shows the diplomatic state of the
// country controlling the selected hex and offers the diplomatic actions on
// it - war, pressure and coups on a foreign country; the alliance entry,
// elections and orientation of the player's own one. The diplomacy rules say
// whether an action is possible (the button's state and hint) and carry it
// out; the panel shows their result text in a box.
#pragma once

#include <cstdint>
#include <string_view>

#include "dialogs/panel.h"

namespace tr {

class cCountry;

class cDiplomacyPanel : public cPanel {
 public:
  static constexpr int kPanelId = 601;
  static constexpr int kDeclareWar = 602;
  static constexpr int kExternPressure = 603;
  static constexpr int kCoupDetat = 604;
  static constexpr int kLowerWarEntry = 605;
  static constexpr int kRiseWarEntry = 606;
  static constexpr int kElections = 607;
  static constexpr int kChangeOrientation = 608;
  static constexpr int kFlag = 610;
  static constexpr int kCountryName = 611;
  static constexpr int kSocialUnrest = 613;
  static constexpr int kWarEconomy = 615;
  static constexpr int kAlliance = 617;
  static constexpr int kAllianceEntry = 619;
  static constexpr int kOrientation = 621;
  static constexpr int kZoneOfInfluence = 623;
  static constexpr int kPoliticalStrength = 625;
  static constexpr int kWarWithLabel = 626;
  static constexpr int kWarList = 627;
  static constexpr int kLastId = 627;
  // The answers of the small dialogs the panel opens.
  static constexpr int kConfirmYes = 705;
  static constexpr int kConfirmNo = 706;
  static constexpr int kChoiceCancelled = 938;

  // Pending actions: the answer of a dialog is awaited.
  static constexpr int kNoAction = 0;
  static constexpr int kWarAwaitingConfirmation = 1;
  static constexpr int kElectionsChoiceOpen = 2;

  cDiplomacyPanel();

  // Refreshes everything from the selected hex's controller and the current country.
  void Update();
  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void Move(int dx, int dy) override;
  void ForgetPendingAction() override { pendingAction_ = kNoAction; }

  const cCountry* shownCountry() const { return shown_; }
  const cCountry* actingCountry() const { return acting_; }
  int pendingAction() const { return pendingAction_; }

 private:
  void SetField(int id, std::u16string_view text);
  void ShowButton(int id, bool shown);
  void UpdateButtons();
  void DeclareWarOnShown();
  void AfterChoice(int orientation);
  void OpenChoiceDialog(bool elections);

  cCountry* shown_ = nullptr;
  cCountry* acting_ = nullptr;
  int pendingAction_ = kNoAction;
};

// The game's diplomacy panel, or null.
cDiplomacyPanel* GetDiplomacyPanel();

}  // namespace tr
