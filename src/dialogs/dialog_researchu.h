// cDialogResearchu: research of the current country. One row per technology
// field that can be researched (the land-warfare doctrine cannot) with its
// level, investment picture, progress and the price of one more investment
// level, which the row's Invest button buys with production points.
#pragma once

#include <array>
#include <cstdint>

#include "dialogs/dialog_base.h"
#include "world/panstwo.h"

namespace tr {

class cDialogResearchu : public cDialog {
 public:
  static constexpr int kDialogId = 790;
  static constexpr int kTitle = 792;
  // The first column record; the columns of the six kinds of row control
  // follow it.
  static constexpr int kFirstColumn = 794;
  static constexpr int kCloseButton = 800;
  // Row k's controls are these ids + k.
  static constexpr int kRowLabel = 1000;
  static constexpr int kLevelField = 1010;
  static constexpr int kInvestmentImage = 1020;
  static constexpr int kProgressField = 1030;
  static constexpr int kPriceField = 1040;
  static constexpr int kInvestButton = 1050;
  static constexpr int kRowCount = 6;
  // The layout record whose rectangle is the first cell of the investment pictures.
  static constexpr int kInvestmentStrip = 13;
  // The highest investment level.
  static constexpr std::int32_t kMaxInvestment = 3;

  // The nuclear research slot, after the navy's.
  static constexpr int kNuclearTech = kNavyTech + 1;
  // The technology index of each row.
  static constexpr std::array<int, kRowCount> kRowTech = {kArtilleryTech, kTanksTech,     kAircraftTech,
                                                          kSubmarineTech, kNavyTech,      kNuclearTech};

  cDialogResearchu();

  // Recomputes the prices and shows every row again.
  void Refresh();

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;

  // The price of one more investment level of the technology; negative
  // where none can be bought at any price (the doctrine, and a field that
  // needs no points for a level).
  float price(int tech) const { return prices_[static_cast<std::size_t>(tech)]; }

 private:
  void ShowRow(int row, float productionPoints);

  cCountry* country_;
  std::array<float, kTechCount> prices_{};
};

}  // namespace tr
