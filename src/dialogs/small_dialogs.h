// The small modal dialogs that many screens open: a yes/no confirmation, a
// text input, a list choice, the end-of-turn confirmation, the banner that
// opens a human country's turn and the hotkeys help.
//
// The first three answer through the result globals below and, when the
// opener set itself as their owner, through a call of the owner's
// OnGUIEvent with the button's id, made while the small dialog is still the
// top; the small dialog closes right after. Every one is pushed by its
// opener with PushModalDialog.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/dialog_base.h"

namespace tr {

// 1 after yes, 0 after no; 0 while a confirmation is open.
extern std::uint8_t ConfirmResult;
// The edited text after OK (at most 99 units); the initial text until then.
extern std::u16string InputText;
// After OK the data of the selected row (empty with none); empty after Cancel.
extern std::vector<std::uint32_t> ListChoice;

inline constexpr std::size_t kInputTextLimit = 99;

// A question with a yes and a no button; the opener gives every text.
class cDialogPotwierdzenia : public cDialog {
 public:
  static constexpr int kDialogId = 701;
  static constexpr int kYesButton = 705;
  static constexpr int kNoButton = 706;

  cDialogPotwierdzenia(std::u16string_view title, std::u16string_view question, std::u16string_view yesText,
                       std::u16string_view yesHint, std::u16string_view noText, std::u16string_view noHint);

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;
};

// A prompt with a one-line edit box, which has the keyboard focus.
class cDialogPobraniaTekstu : public cDialog {
 public:
  static constexpr int kDialogId = 694;
  static constexpr int kEditBox = 698;
  static constexpr int kOkButton = 699;
  static constexpr int kCancelButton = 700;

  cDialogPobraniaTekstu(std::u16string_view title, std::u16string_view prompt, std::u16string_view initialText);

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;
};

// A prompt over a single-selection list that the opener fills after the push
// (through TopDialog or the pointer it kept) with rows whose data it wants back.
class cDialogPobraniaListy : public cDialog {
 public:
  static constexpr int kDialogId = 722;
  static constexpr int kList = 726;
  static constexpr int kOkButton = 727;
  static constexpr int kCancelButton = 728;

  cDialogPobraniaListy(std::u16string_view title, std::u16string_view prompt);

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;
};

// "End the turn?" with a box that stops the question for good. Yes stores the
// box in "InterfaceSettings/ConfirmEndTurn" (inverted), writes the settings,
// closes and ends the human turn.
class cDialogPotwKoncaTury : public cDialog {
 public:
  static constexpr int kDialogId = 701;
  static constexpr int kYesButton = 705;
  static constexpr int kNoButton = 706;
  static constexpr int kDontAskBox = 707;

  cDialogPotwKoncaTury();

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;
};

// What yes in the end-of-turn confirmation runs once the dialog has closed:
// the game screen installs its end of the human turn here (null: nothing).
void SetEndHumanTurnAction(std::function<void()> action);

// The banner that opens a human country's turn: its name and flag. A click,
// Enter or Escape closes it. Built and pushed on either thread under the game
// lock; its drum roll sounds at its first frame, on the main thread.
class cDialogNowejTury : public cDialog {
 public:
  static constexpr int kDialogId = 730;
  static constexpr int kFlagImage = 732;
  static constexpr int kTitle = 733;

  explicit cDialogNowejTury(int countryId);

  void Render(float elapsed) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;
  void OnMouse(bool left, bool right, bool middle, bool side1, bool side2, int wheel, int x, int y) override;

  int countryId() const { return countryId_; }

 private:
  std::int32_t countryId_;
  bool drumRollPlayed_ = false;
};

// The help page of the hotkeys: a two-column list and an exit button.
class cDialogSkrotowKlawiszowych : public cDialog {
 public:
  static constexpr int kDialogId = 667;
  static constexpr int kTitle = 665;
  static constexpr int kList = 672;
  static constexpr int kExitButton = 673;

  cDialogSkrotowKlawiszowych();
  // Empties the list and adds the hotkey rows.
  void FillList();

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(std::uint32_t key, bool down, bool alt) override;
};

}  // namespace tr
