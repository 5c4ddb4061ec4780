// The sea-battle screen: the regular part of one sea battle shown on a grid
// of 31 x 31 cells with both sides in their formations, scrolled and zoomed
// like the map. The player picks own ships, their move cells and targets, and
// plays rounds one at a time, a battle turn at a time or to the end, or tries
// to retreat. The worker creates it for the battle and waits until it closes.
#pragma once

#include <array>
#include <cstdint>

#include "app/menu.h"
#include "platform/geometry.h"
#include "world/hex.h"

namespace tr {

class cJednostkaMorska;
struct sSeaBattle;

inline constexpr int kSeaBattleCellCount = 31 * 31;

// Cell flags of the battle grid.
inline constexpr std::uint32_t kCellSelectedShip = 0x20000;
inline constexpr std::uint32_t kCellMoveTarget = 0x40000;
inline constexpr std::uint32_t kCellChosenTarget = 0x80000;
inline constexpr std::uint32_t kCellOutsideBattle = 0x100000;
inline constexpr std::uint32_t kCellSelectionMarks = 0xE0000;

class cSeaBattleMenu : public cMenu {
 public:
  // Sets state 5, closes the modal dialogs, lays out the controls, the grid,
  // the view and both sides' formations. The battle outlives the menu.
  explicit cSeaBattleMenu(sSeaBattle& battle);

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void OnMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheel, int x, int y) override;
  void OnFrameMove(Graphics& device, double time, float elapsed) override;
  void Render(float elapsed) override;

  // One round of the battle, then the turns left and the log.
  void RefreshLabels();
  // The battle is over: only the close button stays enabled.
  void UpdateTurnButtons();
  // A battle without human ships plays itself.
  void ContinueAutoBattle();
  void ClearCell(int column, int row);
  void ClearCellFlags(std::uint32_t bits);
  void MarkTargets(const cJednostkaMorska& ship);
  void ScrollView(float dx, float dy, float factor);
  void UpdateViewTransform(float elapsed);
  void DrawGrid();

  sSeaBattle& battle() { return battle_; }
  sHex& Cell(int column, int row) { return cells_[static_cast<std::size_t>(row * 31 + column)]; }
  const std::array<sHex, kSeaBattleCellCount>& cells() const { return cells_; }
  int clickMode() const { return clickMode_; }
  float viewX() const { return viewX_; }
  float viewY() const { return viewY_; }
  float targetViewX() const { return targetViewX_; }
  float targetViewY() const { return targetViewY_; }
  float velocityX() const { return velocityX_; }
  float velocityY() const { return velocityY_; }

 private:
  void ClearCellsOfDepartedShips();
  void RefillSelections();
  void ClickCell(sHex& cell);
  void ClickOwnShip(sHex& cell, cJednostkaMorska& ship, bool firstSide);
  void ClickEnemyShip(sHex& cell, cJednostkaMorska& ship);
  void ClickEmptyCell(sHex& cell);
  bool InPlayerHalf(int column) const;
  void SetField(int id, std::u16string_view text);
  void ShowLog();
  void StartSteps();
  void Close();

  Matrix2D viewTransform_;
  float velocityX_ = 0.0f;
  float velocityY_ = 0.0f;
  float viewY_ = 0.0f;
  float targetViewY_ = 0.0f;
  int maxViewY_ = 0;
  double lastTimeY_ = 0.0;
  float viewX_ = 0.0f;
  float targetViewX_ = 0.0f;
  int maxViewX_ = 0;
  double lastTimeX_ = 0.0;
  sSeaBattle& battle_;
  std::array<sHex, kSeaBattleCellCount> cells_{};
  sHex* clicked_ = nullptr;
  sHex* previous_ = nullptr;
  int clickMode_ = 0;
  // The screen zooms with the map's scale variables; the map's zoom is given back on closing.
  float mapDisplayedScale_ = 0.0f;
  float mapTargetScale_ = 0.0f;
};

// The sea-battle screen as the battle rules call it on the worker: the
// screen becomes the current menu under the game lock, and the worker waits
// until it is no longer current (or the worker is told to stop).
void ShowSeaBattleScreen(sSeaBattle& battle);

// On the main thread: opens the screen of the battle the worker handed over, if any.
void OpenPendingSeaBattleScreen();

// The screen of the running battle, or null.
cSeaBattleMenu* CurrentSeaBattleMenu();

}  // namespace tr
