// cInfoPanel: the information panel at the foot of the game screen. It shows
// the current country's flag, name and points, the one-line status text, the
// toggles of the four other map-side panels and the toolbar, whose buttons go
// to the game's command handler. While the computer plays it is disabled and
// shows an animated busy picture instead of the toggles.
#pragma once

#include <cstdint>
#include <string_view>

#include "dialogs/panel.h"

namespace tr {

class cInfoPanel : public cPanel {
 public:
  // Control ids.
  static constexpr int kStatusLine = 293;
  static constexpr int kFlag = 331;
  static constexpr int kCountryName = 332;
  static constexpr int kProductionPoints = 294;
  static constexpr int kDiplomacyPoints = 296;
  static constexpr int kStrategicMovePoints = 298;
  static constexpr int kSeaTransportPoints = 300;
  static constexpr int kInvasionPoints = 302;
  static constexpr int kNuclearBombs = 304;
  static constexpr int kBusyImage = 7542;
  static constexpr int kUnitPanelToggle = 350;
  static constexpr int kHexPanelToggle = 400;
  static constexpr int kAttackPanelToggle = 450;
  static constexpr int kDiplomacyPanelToggle = 600;

  cInfoPanel();

  // The current country's flag and name; a human country's points too. A
  // computer country's values keep what they showed. From the worker's
  // states it runs under the game lock.
  void Update();
  // Shows the country of that number in place of the current one (0: the
  // current one again), for a player's decision taken outside the player's
  // own turn. Called under the game lock.
  void ShowCountry(int countryId);
  // The look while the computer plays: no mouse, the toggles hidden, the busy picture shown.
  void Disable();
  void Enable();
  // The status line; set under the game lock in the worker's states.
  void SetStatusText(std::u16string_view text);
  // Animates the busy picture (two 200 ms frames), then draws the panel;
  // the information panel is never collapsed.
  void Render(float elapsed) override;

 private:
  void Refresh();
  void SetStaticText(int id, std::u16string_view text);

  int shownCountryId_ = 0;
};

// The game's information panel, or null.
cInfoPanel* GetInfoPanel();

// The toolbar icon of cell (column, band) in the icon sheet at (x0, y0)
// with cells of w x h: each band holds an icon's three stacked states.
Rect ToolbarCellSkin(int column, int band, float x0, float y0, float w, float h);

}  // namespace tr
