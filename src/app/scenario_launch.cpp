// From the scenario menu's launch record to the game loader. A save that
// does not load never ends the program: the game is put away, the list the
// save was started from comes back with its row selected, and a box says
// which file and what the player can do.
#include <optional>

#include "app/changed_save_box.h"
#include "app/framework.h"
#include "app/loading_menu.h"
#include "app/menu_wallpaper.h"
#include "app/modal_stack.h"
#include "app/scenario_menu.h"
#include "dialogs/dialog_tekstowy.h"
#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "gui/button.h"
#include "platform/codes.h"
#include "scenario/save_manifest.h"
#include "scenario/scenario_paths.h"
#include "world/game_start.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr std::u16string_view kErrorPrefix = u"ERROR: ";
constexpr std::u16string_view kExitingSuffix = u"Exiting...";
constexpr int kChoiceButtonWidth = 150;
constexpr int kChoiceButtonGap = 10;

// The reason as the box shows it: the log line's own words.
std::u16string BoxReason(std::u16string reason) {
  if (reason.starts_with(kErrorPrefix)) reason.erase(0, kErrorPrefix.size());
  // The program goes on, whatever the line ending the load said.
  if (reason.ends_with(kExitingSuffix)) reason.erase(reason.size() - kExitingSuffix.size());
  while (reason.ends_with(u' ')) reason.pop_back();
  if (reason.empty()) return GetText("pbem_turn_not_loaded_see_log");
  // The advice follows as a sentence of its own.
  if (!reason.ends_with(u'.') && !reason.ends_with(u'!') && !reason.ends_with(u'?')) reason += u'.';
  return reason;
}

// The changed save's box offers to load it as it is: the log line's last
// clause, which says the game is not loaded, would gainsay that offer.
std::u16string WithoutTheRefusal(std::u16string reason) {
  const std::size_t clause = reason.rfind(u"; ");
  if (clause != std::u16string::npos && reason.find(u"not loaded", clause) != std::u16string::npos) {
    reason.erase(clause);
  }
  return reason;
}

// The game is put away and the list the save came from comes back, its
// selection on the refused row so that a second start cannot load another.
void BackToTheList(const sLaunchRecord& record) {
  LogFormat(u"The game in %s is not loaded; back to the menus", TemplateFolder(record.folderTemplate));
  DestroyGame();
  ReleaseMenuPicture(kLoadingWallpaper);
  auto* menu = new cScenarioMenu();
  CurrentMenu = menu;
  menu->ShowListMode(IsPbemGameFolder(TemplateFolder(record.folderTemplate)) ? cScenarioMenu::kPbemGame
                                                                           : cScenarioMenu::kSavedGame);
  menu->SelectRowOf(record.folderTemplate);
  // One message at a time: one left from an earlier refusal goes.
  if (!ModalDialogStack.empty()) PopModalDialogs(-1);
}

// What the player can do about a received turn refused: another machine's
// work is asked for again, unless the cause is on this machine (a turn put
// in another game's folder, whose reason says where it belongs; a file
// changed while it loaded) or sending it again may bring the same damage.
const char* TurnRefusalKey(eLoadRefusal cause) {
  switch (cause) {
    case eLoadRefusal::kAnotherGamesTurn: return "pbem_turn_not_loaded_elsewhere_%s_%s";
    case eLoadRefusal::kChangedWhileLoading: return "pbem_turn_not_loaded_changed_%s_%s";
    case eLoadRefusal::kUnitsOnOneHex: return "pbem_turn_not_loaded_damaged_%s_%s";
    default: return "pbem_turn_not_loaded_%s_%s";
  }
}

// The same for a save: only a link names a file the player can put back, and
// a file changed while it loaded may load once what wrote it is done; a
// damaged table or two units on one hex leave another save to choose.
const char* SaveRefusalKey(eLoadRefusal cause) {
  switch (cause) {
    case eLoadRefusal::kLink: return "save_not_loaded_link_%s_%s";
    case eLoadRefusal::kChangedWhileLoading: return "save_not_loaded_changed_%s_%s";
    default: return "save_not_loaded_%s_%s";
  }
}

void Refuse(const sLaunchRecord& record, const std::u16string& reason, bool offerAsItIs) {
  const std::u16string folder = TemplateFolder(record.folderTemplate);
  BackToTheList(record);
  // The folder and the files the reason names are shown as the player finds them.
  const std::u16string shown = ShownPath(folder);
  const std::u16string inWords = LastLoadRefusalInWords();
  const std::u16string why = !inWords.empty() ? inWords
                                              : ShownPath(BoxReason(offerAsItIs ? WithoutTheRefusal(reason) : reason));
  if (offerAsItIs) {
    PushModalDialog(new cChangedSaveBox(record, Format(GetText("save_changed_%s_%s"), shown, why)), 0);
  } else if (IsPbemGameFolder(folder)) {
    PushModalDialog(new cDialogTekstowy(Format(GetText(TurnRefusalKey(LastLoadRefusal())), shown, why),
                                        GetText("pbem_turn_not_loaded_title")),
                    0);
  } else {
    PushModalDialog(new cDialogTekstowy(Format(GetText(SaveRefusalKey(LastLoadRefusal())), shown, why),
                                        GetText("save_not_loaded_title")),
                    0);
  }
}

// Any fatal error of the load (a damaged table, two units on one hex, a
// link, files that differ from their list) comes back here as a refusal.
void LoadSave(const sLaunchRecord& record, bool asItIs) {
  const std::u16string folder = TemplateFolder(record.folderTemplate);
  cLastErrorLine reason;
  try {
    cFatalExitThrows recoverable;
    std::optional<cSaveLoadedAsItIs> unchecked;
    if (asItIs) unchecked.emplace();
    LoadNewScenario(record.folderTemplate, record.savedGame);
  } catch (const FatalExitError&) {
    // A received turn is another machine's work: it is asked for again,
    // whole, never loaded as it came.
    Refuse(record, reason.text(), !asItIs && !IsPbemGameFolder(folder) && LastLoadRefusedByFileCheck());
  }
}

}  // namespace

cChangedSaveBox::cChangedSaveBox(const sLaunchRecord& record, std::u16string_view text)
    : cDialogTekstowy(text, GetText("save_changed_title")), record_(record) {
  auto* load = static_cast<CDXUTButton*>(GetControlOfType(kLoadButton, kControlButton));
  if (load == nullptr) return;
  const int centre = dialogRect().left + dialogRect().right / 2;
  const int top = load->y();
  const int height = load->height();
  load->SetText(GetText("save_changed_load"));
  load->SetHint(GetText("save_changed_load_hint"));
  load->SetLocation(centre - kChoiceButtonGap / 2 - kChoiceButtonWidth, top);
  load->SetSize(kChoiceButtonWidth, height);
  CDXUTButton* back = nullptr;
  if (Succeeded(AddButton(kBackButton, GetText("save_changed_back"), centre + kChoiceButtonGap / 2, top,
                          kChoiceButtonWidth, height, 0, false, &back))) {
    back->SetHint(GetText("save_changed_back_hint"));
  }
}

void cChangedSaveBox::OnKeyboard(std::uint32_t key, bool down, bool) {
  // Escape goes back; Enter loads, as the first button does.
  if (!down || (key != VK_RETURN && key != VK_ESCAPE)) return;
  EnableNonUserEvents(true);
  SendEvent(GuiEventButtonClicked, false, GetControl(key == VK_RETURN ? kLoadButton : kBackButton), true);
}

void cChangedSaveBox::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  if (controlId != kLoadButton && controlId != kBackButton) return;
  const sLaunchRecord record = record_;
  // The box goes after the dispatch; nothing of it is touched from here on.
  PopModalDialogs(1);
  if (controlId == kBackButton) return;
  LogFormat(u"Player action: load %s as it is", TemplateFolder(record.folderTemplate));
  ReleaseMenuPicture(kScenarioMenuWallpaper);
  CurrentMenu = new cLoadingMenu();
  LoadSave(record, true);
}

void RunGameLoader(const sLaunchRecord& record) {
  // A new scenario is the game's own data: a fault there ends the program
  // as before. Every save, the player's own and a received turn alike, may
  // be refused and the player goes on in the menus.
  if (record.savedGame != 1) {
    LoadNewScenario(record.folderTemplate, record.savedGame);
    return;
  }
  LoadSave(record, false);
}

}  // namespace tr
