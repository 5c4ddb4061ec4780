// cDialogDowodcow: the window in which the player attaches one of the
// country's commanders waiting in headquarters to a unit, or recalls the
// one it has. It lists the commanders of the current country that lead the
// unit's kind of forces, best first; changes take effect at once.
#pragma once

#include <cstdint>

#include "dialogs/dialog_base.h"

namespace tr {

class cUnit;
struct sCommander;

class cDialogDowodcow : public cDialog {
 public:
  static constexpr int kDialogId = 860;
  static constexpr int kTitle = 862;
  static constexpr int kCommanderLabel = 863;
  static constexpr int kCommanderField = 864;
  static constexpr int kRecallButton = 865;
  static constexpr int kAvailableLabel = 866;
  static constexpr int kAvailableList = 867;
  static constexpr int kUnavailableLabel = 868;
  static constexpr int kUnavailableList = 869;
  static constexpr int kAssignButton = 870;
  static constexpr int kExitButton = 871;

  // The unit must not be null: the process ends (logged) when it is.
  explicit cDialogDowodcow(cUnit* unit);

  // Refreshes the commander field, both buttons and both lists.
  void ShowAssigned();
  // Refills both lists from the game's commanders.
  void FillAvailable();
  // True when a leads with more skill than b.
  static bool CompareRows(const sCommander* a, const sCommander* b);

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;

  cUnit* unit() const { return unit_; }

 private:
  cUnit* unit_;
};

}  // namespace tr
