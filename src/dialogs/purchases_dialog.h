// cDialogZakupow: the player's shop. The current country spends production
// points on new land, air and naval units, which wait in the reserve for
// their delivery time, and on strategic movement, sea transport and
// invasion points. Prices are fixed when the dialog opens.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "dialogs/dialog_base.h"

namespace tr {

class cCountry;
class cJednostkaLadowa;
class cJednostkaLotnicza;
class cJednostkaMorska;

// The 17 things the shop sells: land types 0-6, air types 20-22 as 7-9,
// naval types 40-43 as 10-13, then the three kinds of points.
enum ePurchaseItem : std::int32_t {
  kPurchaseFirstLand = 0,
  kPurchaseFirstAir = 7,
  kPurchaseFirstNaval = 10,
  kPurchaseStrategicMovementPoint = 14,
  kPurchaseSeaTransportPoints = 15,
  kPurchaseInvasionPoint = 16,
  kPurchaseItemCount = 17,
};

class cDialogZakupow : public cDialog {
 public:
  static constexpr int kDialogId = 740;
  static constexpr int kTitle = 741;
  static constexpr int kTabs = 743;
  static constexpr int kItemsLabel = 744;
  static constexpr int kList = 745;
  // Level n's radio button is kFirstLevelButton + n - 1.
  static constexpr int kFirstLevelButton = 746;
  static constexpr int kCostLabel = 751;
  static constexpr int kCostField = 752;
  static constexpr int kAvailableLabel = 753;
  static constexpr int kAvailableField = 754;
  static constexpr int kPicture = 755;
  static constexpr int kBuyButton = 756;
  static constexpr int kExitButton = 757;
  // The tabs of 743.
  static constexpr int kLandTab = 0;
  static constexpr int kAirTab = 1;
  static constexpr int kSeaTab = 2;
  static constexpr int kOthersTab = 3;
  // Sea transport points come in lots of this many.
  static constexpr int kSeaTransportLot = 10;

  // For the player control's current country.
  cDialogZakupow();

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;
  void Render(float elapsed) override;

  // The chosen level becomes at most maxLevel, its button selected; the
  // buttons above maxLevel are off, and all are hidden for -1.
  void SetLevelButtons(int maxLevel);
  // Templates, price, picture and fields from the selected tab, item and level.
  void Refresh();

  int ChosenLevel() const { return level_; }
  // The selected row's item, -1 before a row is selected.
  int SelectedItem() const { return item_; }
  float Price() const { return price_; }
  // Level 1..5; the price tables were filled when the dialog opened.
  float LandPrice(int type, int level) const;
  float AirPrice(int type, int level) const;

 private:
  ~cDialogZakupow() override;
  void FillList(int tab);
  void Buy();
  void BuildLandTemplate();
  void BuildAirTemplate();
  void BuildNavalTemplate();

  cCountry* country_ = nullptr;
  std::array<std::array<float, 5>, 7> landPrices_{};
  std::array<std::array<float, 5>, 3> airPrices_{};
  std::array<float, 4> navalPrices_{};
  std::array<float, 3> otherPrices_{};
  int level_ = 1;
  int item_ = -1;
  float price_ = 0.0f;
  std::unique_ptr<cJednostkaLadowa> landTemplate_;
  std::unique_ptr<cJednostkaLotnicza> airTemplate_;
  std::unique_ptr<cJednostkaMorska> navalTemplate_;
};

}  // namespace tr
