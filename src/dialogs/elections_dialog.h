// cDialogWyborow: the player picks the orientation that wins a neutral
// country's elections, or the one it changes to. The diplomacy panel opens it
// as its owner, hears the clicked button's id and reads ChosenOrientation.
#pragma once

#include <array>
#include <cstdint>

#include "dialogs/dialog_base.h"

namespace tr {

class cCountry;

// The answer: 0 to 5 the chosen orientation, 6 cancelled (also while the dialog is open).
extern std::int32_t ChosenOrientation;
inline constexpr std::int32_t kOrientationCancelled = 6;

class cDialogWyborow : public cDialog {
 public:
  static constexpr int kDialogId = 930;
  static constexpr int kTitle = 932;
  static constexpr int kText = 933;
  // The choice buttons stand at these records in creation order.
  static constexpr int kFirstChoiceRecord = 934;
  static constexpr int kCancelButton = 938;
  static constexpr int kRandomButton = 10212;

  // elections: true for elections, false for a change of orientation.
  cDialogWyborow(cCountry* country, bool elections);

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;

  cCountry* country() const { return country_; }

 private:
  // One of the three orientation buttons this dialog offers.
  bool IsChoice(int controlId) const;

  cCountry* country_;
  // The three orientation buttons, null when the orientation offers none.
  std::array<CDXUTControl*, 3> choices_{};
};

}  // namespace tr
