// The box of a player's own save whose files are not those the game wrote
// (or whose list of them is gone): most likely the player's own edit, so it
// offers to load the save as it is or to go back to the list.
#pragma once

#include <string_view>

#include "app/scenario_menu.h"
#include "dialogs/dialog_tekstowy.h"

namespace tr {

class cChangedSaveBox : public cDialogTekstowy {
 public:
  static constexpr int kLoadButton = kDefaultLayoutBase + 4;
  static constexpr int kBackButton = kDefaultLayoutBase + 5;

  cChangedSaveBox(const sLaunchRecord& record, std::u16string_view text);

  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;
  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;

 private:
  sLaunchRecord record_;
};

}  // namespace tr
