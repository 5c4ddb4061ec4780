// cDialogCheatow: the game master's window (F12). It switches an active
// country between computer and human control, sets its production and
// diplomacy points and fires a scripted event by number. Every change is
// announced to all countries by a cheating report.
#pragma once

#include <cstdint>
#include <string_view>

#include "dialogs/dialog_base.h"

namespace tr {

class cCountry;

// The event "Fire" fires; kept between openings of the dialog.
extern std::int32_t CheatEventId;

class cDialogCheatow : public cDialog {
 public:
  static constexpr int kDialogId = 630;
  static constexpr int kCountryList = 632;
  static constexpr int kComputerRadio = 634;
  static constexpr int kHumanRadio = 635;
  static constexpr int kProductionEdit = 636;
  static constexpr int kDiplomacyEdit = 637;
  static constexpr int kEventEdit = 638;
  static constexpr int kFireButton = 639;
  static constexpr int kCloseButton = 640;

  cDialogCheatow();

  // Shows the country's control and points and the event number.
  void Refresh();
  // Files the text as a cheating report to every country.
  void ReportCheat(std::u16string_view text);

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;

  cCountry* country() const { return country_; }

 private:
  cCountry* country_ = nullptr;
};

}  // namespace tr
