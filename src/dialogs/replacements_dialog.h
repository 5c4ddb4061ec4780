// cDialogUzupelnien: the window in which the player buys strength points for
// one land or air unit with the current country's production points. A
// slider chooses the points; the window shows the strength after, the price
// and the points available. Price and maximum are fixed when it opens.
#pragma once

#include <cstdint>

#include "dialogs/dialog_base.h"

namespace tr {

class cJednostka;

class cDialogUzupelnien : public cDialog {
 public:
  static constexpr int kDialogId = 840;
  static constexpr int kTitle = 842;
  static constexpr int kStrengthAfter = 844;
  static constexpr int kCost = 846;
  static constexpr int kAvailable = 848;
  static constexpr int kSlider = 849;
  static constexpr int kMaxButton = 850;
  static constexpr int kOkButton = 851;
  static constexpr int kCancelButton = 852;

  // The unit must not be null: the process ends (logged) when it is.
  explicit cDialogUzupelnien(cJednostka* unit);

  // Rewrites the three fields from the slider's value.
  void Refresh();

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;

  float pricePerPoint() const { return price_; }
  int maximum() const { return maximum_; }

 private:
  cJednostka* unit_;
  float price_ = 0.0f;
  int maximum_ = 0;
};

// The production-point price of one strength point of the unit.
float ReplacementPrice(const cJednostka& unit);
// The most points the current country can buy for the unit now, never below 0.
int ReplacementMaximum(const cJednostka& unit, float price);

int MinInt(int a, int b);

}  // namespace tr
