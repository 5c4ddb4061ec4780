// The message boxes, text boxes, the fleets manager and the sound effects the
// rules ask the screen for.
#include <atomic>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/app_presentation.h"
#include "app/modal_stack.h"
#include "app/sea_battle_menu.h"
#include "app/sound.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/convoy_results_dialog.h"
#include "dialogs/dialog_flot.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/event_dialog.h"
#include "dialogs/panel_informacyjny.h"
#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "platform/message_box.h"
#include "turn/theads.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr const char* kThisFile = "app_presentation_boxes";

std::mutex& QueueMutex() {
  static std::mutex mutex;
  return mutex;
}

std::atomic<int>& RequestedExit() {
  static std::atomic<int> code{-1};
  return code;
}

// The list the menus come back with; -1 while the game stays.
std::atomic<int>& ReturnToMenus() {
  static std::atomic<int> list{-1};
  return list;
}

struct sHeldBox {
  int serial = 0;
  std::u16string title;
  std::u16string text;
  std::u16string textIfGameLeft;
  bool onScreen = false;  // its box is in the modal stack
};

std::mutex& HeldMutex() {
  static std::mutex mutex;
  return mutex;
}

std::vector<sHeldBox>& HeldBoxes() {
  static std::vector<sHeldBox> boxes;
  return boxes;
}

// A held box's own dialog. Only the player's OK tells what it holds; a box
// closed by anything else (a computer's phase clearing the screen, the game
// put away) leaves it held, to be pushed again or told as the game goes.
class cHeldBoxDialog : public cDialogTekstowy {
 public:
  explicit cHeldBoxDialog(const sHeldBox& box)
      : cDialogTekstowy(box.text, box.title, kDefaultLayoutBase), serial_(box.serial) {}
  ~cHeldBoxDialog() override { Settle(false); }

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override {
    if (controlId == okButtonId()) Settle(true);
    cDialogTekstowy::OnGUIEvent(event, controlId, control);
  }

 private:
  void Settle(bool told) {
    std::lock_guard<std::mutex> held(HeldMutex());
    auto& boxes = HeldBoxes();
    for (auto box = boxes.begin(); box != boxes.end(); ++box) {
      if (box->serial != serial_) continue;
      if (told) {
        boxes.erase(box);
      } else {
        box->onScreen = false;
      }
      return;
    }
  }

  int serial_;
};

std::vector<int>& QueuedSlots() {
  static std::vector<int> slots;
  return slots;
}

// Pushes a text box under the lock; returns it for a wait.
cDialog* PushTextBox(std::u16string_view title, std::u16string_view text, int layoutBase) {
  GameLockGuard lock(kThisFile, __LINE__);
  cDialog* box = new cDialogTekstowy(text, title, layoutBase);
  PushModalDialog(box);
  return box;
}

}  // namespace

void cAppPresentation::ShowMessageBox(std::u16string_view caption, std::u16string_view text, eMessageIcon) {
  LogFormat(u"Message box \"%s\": %s", caption, text);
  tr::ShowMessageBox(caption, text);
}

void cAppPresentation::ShowTextAndWait(std::u16string_view title, std::u16string_view text) {
  cDialog* box = PushTextBox(title, text, cDialogTekstowy::kDefaultLayoutBase);
  if (IsWorkerThread()) WaitForBoxClosed(box, kThisFile, __LINE__);
}

void cAppPresentation::PushTextDialog(std::u16string_view title, std::u16string_view text, int layoutBase) {
  PushTextBox(title, text, layoutBase);
}

void cAppPresentation::ShowTextInLayoutAndWait(std::u16string_view title, std::u16string_view text,
                                               int layoutBase) {
  cDialog* box = PushTextBox(title, text, layoutBase);
  if (IsWorkerThread()) WaitForBoxClosed(box, kThisFile, __LINE__);
}

void cAppPresentation::ShowCombatResultAndWait(const sCombatResult& result, float closeAfterMs) {
  cDialog* box = nullptr;
  {
    GameLockGuard lock(kThisFile, __LINE__);
    box = new cDialogWynikuWalki(result, closeAfterMs);
    PushModalDialog(box);
  }
  if (IsWorkerThread()) WaitForBoxClosed(box, kThisFile, __LINE__);
}

void cAppPresentation::PushEventDialog(const cEvent& event) {
  GameLockGuard lock(kThisFile, __LINE__);
  cDialog* dialog = new cDialogEventu(event);
  PushModalDialog(dialog);
  std::lock_guard<std::mutex> pushed(pushedMutex_);
  eventDialog_ = dialog;
}

void cAppPresentation::WaitForEventDialog(const char* file, int line) {
  const cDialog* dialog = nullptr;
  {
    std::lock_guard<std::mutex> pushed(pushedMutex_);
    dialog = eventDialog_;
    eventDialog_ = nullptr;
  }
  // The wait only compares the pointer with the stack's entries: the dialog may be gone already.
  if (dialog != nullptr && IsWorkerThread()) WaitForBoxClosed(dialog, file, line);
}

void cAppPresentation::PushConvoyResultsDialog(int countryId) {
  GameLockGuard lock(kThisFile, __LINE__);
  cCountry* country = gGame != nullptr ? gGame->GetCountry(countryId) : nullptr;
  cDialog* dialog = new cDialogWynikuKonwojow(country);
  PushModalDialog(dialog);
  std::lock_guard<std::mutex> pushed(pushedMutex_);
  convoyResultsDialog_ = dialog;
}

void cAppPresentation::WaitForConvoyResults(const char* file, int line) {
  const cDialog* dialog = nullptr;
  {
    std::lock_guard<std::mutex> pushed(pushedMutex_);
    dialog = convoyResultsDialog_;
    convoyResultsDialog_ = nullptr;
  }
  if (dialog != nullptr && IsWorkerThread()) WaitForBoxClosed(dialog, file, line);
}

void cAppPresentation::RequestProgramExit(int exitCode) {
  LogFormat(u"The program is asked to end with code %i", exitCode);
  RequestedExit().store(exitCode);
}

int TakeRequestedProgramExit() { return RequestedExit().exchange(-1); }

void cAppPresentation::RequestReturnToMenus() { RequestReturnToMenusList(0); }

void RequestReturnToMenusList(int listMode) {
  LogLine(u"The game goes back to the menus once the player has closed what is shown");
  ReturnToMenus().store(listMode);
}

bool ReturnToMenusRequested() { return ReturnToMenus().load() >= 0; }

int RequestedMenusList() { return ReturnToMenus().load(); }

void ClearReturnToMenusRequest() { ReturnToMenus().store(-1); }

void HoldBoxForNextTurn(std::u16string title, std::u16string text, std::u16string textIfGameLeft) {
  LogFormat(u"Box \"%s\" held for the next turn on this screen", title);
  static int lastSerial = 0;
  std::lock_guard<std::mutex> held(HeldMutex());
  HeldBoxes().push_back(sHeldBox{++lastSerial, std::move(title), std::move(text), std::move(textIfGameLeft)});
}

void PushHeldBoxes() {
  GameLockGuard lock(kThisFile, __LINE__);
  std::vector<sHeldBox> boxes;
  {
    std::lock_guard<std::mutex> held(HeldMutex());
    for (sHeldBox& box : HeldBoxes()) {
      if (box.onScreen) continue;
      box.onScreen = true;
      boxes.push_back(box);
    }
  }
  for (auto box = boxes.rbegin(); box != boxes.rend(); ++box) PushModalDialog(new cHeldBoxDialog(*box));
}

void TellHeldBoxes() {
  std::vector<sHeldBox> boxes;
  {
    std::lock_guard<std::mutex> held(HeldMutex());
    boxes.swap(HeldBoxes());
  }
  for (const sHeldBox& box : boxes) {
    Presentation().ShowMessageBox(box.title, box.textIfGameLeft, eMessageIcon::kWarning);
  }
}

void cAppPresentation::ShowCountryOnInfoPanel(int countryId) {
  GameLockGuard lock;
  if (cInfoPanel* info = GetInfoPanel()) info->ShowCountry(countryId);
}

bool cAppPresentation::IsModalDialogShown() {
  GameLockGuard lock;
  return TopDialog != nullptr;
}

void cAppPresentation::OpenFleetDialog(int seaNodeId) {
  GameLockGuard lock(kThisFile, __LINE__);
  PushModalDialog(new cDialogFlot(seaNodeId));
}

void cAppPresentation::ForgetFleet(const cFleet& fleet) {
  GameLockGuard lock(kThisFile, __LINE__);
  for (cDialog* dialog : ModalDialogStack) {
    if (auto* manager = dynamic_cast<cDialogFlot*>(dialog)) manager->ForgetFleet(&fleet);
  }
}

void cAppPresentation::ClearSeaBattleCell(const cJednostkaMorska& ship) {
  GameLockGuard lock(kThisFile, __LINE__);
  if (cSeaBattleMenu* menu = CurrentSeaBattleMenu()) menu->ClearCell(ship.battleColumn, ship.battleRow);
}

void cAppPresentation::PlaySoundEffect(std::u16string_view file) {
  const int slot = SoundSlotOfFile(file);
  if (slot < 0) {
    LogFormat(u"WARNING: no sound effect is loaded for %s", file);
    return;
  }
  // The sound device is the main thread's, like every other SDL call.
  if (!IsWorkerThread()) {
    PlaySoundSlot(slot);
    return;
  }
  std::lock_guard<std::mutex> lock(QueueMutex());
  QueuedSlots().push_back(slot);
}

void PlayQueuedSoundEffects() {
  std::vector<int> slots;
  {
    std::lock_guard<std::mutex> lock(QueueMutex());
    slots.swap(QueuedSlots());
  }
  for (int slot : slots) PlaySoundSlot(slot);
}

}  // namespace tr
