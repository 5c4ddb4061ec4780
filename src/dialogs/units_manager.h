// cDialogJednostek: the units manager. It lists one country's units of one
// branch, on the map or waiting in the reserve, filtered by type; from it
// the player centres on and selects a unit, or deploys a reserve unit on a
// hex the map then offers. The filters, the auto-centre choice and the tab
// last shown last as long as the program runs.
#pragma once

#include <cstdint>
#include <vector>

#include "dialogs/dialog_base.h"

namespace tr {

class cCountry;
class cUnit;

// Bit t shows the units whose type code mod 20 is t.
extern std::uint32_t UnitsManagerLandTypeFilter;
extern std::uint32_t UnitsManagerAirTypeFilter;
extern std::uint32_t UnitsManagerNavalTypeFilter;
extern std::uint8_t UnitsManagerAutoCenter;
// 1 while the to-deploy tab is shown.
extern std::int32_t UnitsManagerDeployTab;
// The unit of the selected row; the map deploys it after a deploy press.
// Never dereferenced before it is found again in the game's lists.
extern cUnit* UnitsManagerCurrentUnit;

void SetFlagBit(std::uint32_t& word, int bit, bool state);

class cDialogJednostek : public cDialog {
 public:
  static constexpr int kDialogId = 480;
  static constexpr int kTitle = 481;
  static constexpr int kBranchTabs = 483;
  static constexpr int kFirstLandType = 484;   // to 490
  static constexpr int kFirstAirType = 491;    // to 493
  static constexpr int kFirstNavalType = 494;  // to 499
  static constexpr int kList = 501;
  static constexpr int kActionButton = 502;
  static constexpr int kAutoCenter = 503;
  static constexpr int kDeployTabs = 504;
  static constexpr int kCloseButton = 505;
  static constexpr int kLandBranch = 0;
  static constexpr int kAirBranch = 1;
  static constexpr int kNavalBranch = 2;

  explicit cDialogJednostek(int countryId);

  // Rebuilds the list of the selected branch and tab and selects its first row.
  void FillList();
  // Makes the row of the unit (the first row below 1) current and judges button 502.
  void UpdateHints(int unitId);

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;
  // Back on top (also after a deployment): fill again, and show the window
  // after the human deploy delay.
  void OnActivate() override;

  int SelectedBranch() const;
  const std::vector<cUnit*>& Rows() const { return rows_; }

 private:
  ~cDialogJednostek() override;
  void AddRow(cUnit& unit);
  void CenterOnCurrentUnit();
  void PressAction();
  // The type check boxes of the selected branch.
  int FirstTypeBox() const;
  int TypeBoxCount() const;

  cCountry* country_ = nullptr;
  std::vector<cUnit*> rows_;
};

// Where the units manager centres on a unit: its hex, or for a ship the hex
// of its fleet's node (the port's marker hex for a port). False without one.
bool UnitsManagerHexOf(const cUnit& unit, int& x, int& y);

}  // namespace tr
