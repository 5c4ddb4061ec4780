// cDialogEventu: a scripted event of the player's country - its title, flag,
// text and picture, and one button per option. The pick is filed in the
// country's reports and the option runs; in a play-by-e-mail game a further
// button saves the turn and asks for the game to end.
#pragma once

#include <cstdint>

#include "dialogs/dialog_base.h"
#include "events/event_model.h"
#include "gui/texture_holder.h"

namespace tr {

class cDialogEventu : public cDialog {
 public:
  static constexpr int kDialogId = 780;
  static constexpr int kTitle = 781;
  static constexpr int kFlag = 782;
  static constexpr int kDescription = 783;
  static constexpr int kPicture = 784;
  // The first option's button stands at this record; each further one a slot lower.
  static constexpr int kFirstOptionRecord = 785;
  // Its height is the height of one option slot.
  static constexpr int kOptionSlotRecord = 786;
  // Option k (from 1) is button kOptionButtonBase + k; the save-and-exit
  // button of n options is kOptionButtonBase + 2 + n.
  static constexpr int kOptionButtonBase = 4000;

  explicit cDialogEventu(const cEvent& event);

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;

  const cEvent& shownEvent() const { return event_; }
  // The event's picture; no texture when it has none or it did not load.
  const TextureHolder& picture() const { return picture_; }

 private:
  // Writes the play-by-e-mail turn; the dialog stays open when that fails.
  void SaveAndExit();

  cEvent event_;
  TextureHolder picture_;
};

}  // namespace tr
