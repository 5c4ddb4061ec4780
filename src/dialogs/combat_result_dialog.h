// cDialogWynikuWalki: the outcome of one combat action - a title by the kind
// of battle, both sides' flags and texts and up to seven result icons. It
// closes itself after its delay or, with a negative delay, waits for Close,
// Enter or Escape; Space and the pause button hold and resume the count.
#pragma once

#include <cstdint>

#include "dialogs/dialog_base.h"

namespace tr {

struct sCombatResult;

class cDialogWynikuWalki : public cDialog {
 public:
  static constexpr int kDialogId = 900;
  static constexpr int kTitle = 902;
  static constexpr int kAttackerFlag = 903;
  static constexpr int kAttackerText = 907;
  static constexpr int kDefenderFlag = 910;
  static constexpr int kDefenderText = 914;
  static constexpr int kCountdown = 917;
  static constexpr int kPauseButton = 918;
  static constexpr int kCloseButton = 919;
  // Icon of result flag n (1..7) is kFirstIcon + n - 1.
  static constexpr int kFirstIcon = 7500;

  // delayMs: negative waits for a click, 0 closes at the next frame, a
  // positive value closes after that many milliseconds.
  cDialogWynikuWalki(const sCombatResult& result, float delayMs);

  void OnTimerTick(float elapsed) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;
  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;

  // Holds or resumes the count; the pause button names what a press does next.
  void TogglePause();
};

// The string-base key of a battle kind's title.
const char* CombatResultTitleKey(int kind);

}  // namespace tr
