// cDialogWynikuKonwojow: what a country's convoys did in the last end of
// impulse, one row each, with the details of the selected row below.
#pragma once

#include <cstdint>
#include <vector>

#include "dialogs/dialog_base.h"
#include "turn/convoy.h"

namespace tr {

class cCountry;

class cDialogWynikuKonwojow : public cDialog {
 public:
  static constexpr int kDialogId = 960;
  static constexpr int kTitle = 962;
  static constexpr int kFlag = 963;
  static constexpr int kListCaption = 964;
  static constexpr int kList = 965;
  static constexpr int kDetailsCaption = 966;
  static constexpr int kDetails = 967;
  static constexpr int kExitButton = 968;

  explicit cDialogWynikuKonwojow(cCountry* country);

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  // Enter or Escape closes, as on the new-turn banner.
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;

  cCountry* country() const { return country_; }

 private:
  void ShowDetailsOfSelection();

  cCountry* country_;
  // A copy, so the rows stay whatever the convoy manager does meanwhile.
  std::vector<sConvoyResult> results_;
};

}  // namespace tr
