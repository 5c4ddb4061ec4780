#include "dialogs/event_dialog.h"

#include <algorithm>
#include <string>

#include "app/frame_utils.h"
#include "app/game_textures.h"
#include "app/modal_stack.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/small_dialog_parts.h"
#include "events/zdarzenia.h"
#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "gui/button.h"
#include "gui/frame.h"
#include "gui/image.h"
#include "gui/memo.h"
#include "gui/static.h"
#include "platform/texture.h"
#include "scenario/save_game.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr int kSaveFailedLayout = cDialogTekstowy::kDefaultLayoutBase;

bool IsPbemGame() { return gGame != nullptr && gGame->pbemGame != 0; }

Texture* FlagOf(int countryId) {
  const cCountry* country = gGame != nullptr ? gGame->GetCountry(countryId) : nullptr;
  if (country == nullptr) return nullptr;
  // Drawing only reads the picture.
  return const_cast<Texture*>(FindGameTexture(country->GetFlagTexture()));
}

// Between two columns of option buttons.
constexpr int kOptionColumnGap = 4;

struct sOptionColumns {
  int rows = 0;   // slots in a column
  int width = 0;  // of a button
};

// The option slots run down from the first option's place. When they would
// make the dialog taller than its record (the window's height), they wrap into
// columns side by side across the options' width, so the title and every
// option stay on screen whatever the window and the number of options.
sOptionColumns PlaceOptionSlots(int slotCount, const Rect& firstOption, int slotHeight, int contentLimit) {
  const int fitting = std::max(1, (contentLimit - firstOption.top) / std::max(1, slotHeight));
  if (slotCount <= fitting) return {slotCount, firstOption.right};
  const int columnCount = (slotCount + fitting - 1) / fitting;
  // The columns share the slots evenly rather than leave the last one short.
  const int rows = (slotCount + columnCount - 1) / columnCount;
  const int width = (firstOption.right - (columnCount - 1) * kOptionColumnGap) / columnCount;
  return {rows, std::max(1, width)};
}

}  // namespace

cDialogEventu::cDialogEventu(const cEvent& event) : cDialog(kDialogId, DialogRecord(kDialogId)), event_(event) {
  const Rect dialog = DialogRecord(kDialogId);
  if (auto* frame = static_cast<CDXUTFrame*>(GetControl(kDialogId))) frame->SetDraggable(false);

  Rect picture{};
  if (!event_.image.empty()) {
    // The name comes from the scenario's event file; it may only name a file of the events folder.
    if (!IsSafeFileName(event_.image)) {
      LogFormat(u"WARNING: event %i names the picture \"%s\", which is not a file of data\\events; no picture is "
                u"shown",
                event_.eventID, event_.image);
    } else if (Succeeded(picture_.Load(u"data\\events\\" + event_.image, TextureHolder::kModeFile, 1))) {
      picture = DialogRecord(kPicture);
      SquareRectAligned(picture.left, picture.top, picture.right, picture.bottom, 1, 1);
    }
  }

  const auto optionCount = static_cast<int>(event_.options.size());
  const int slotCount = optionCount + (IsPbemGame() ? 1 : 0);
  const Rect title = DialogRecord(kTitle);
  const Rect description = DialogRecord(kDescription);
  const Rect firstOption = DialogRecord(kFirstOptionRecord);
  const int slotHeight = DialogRecord(kOptionSlotRecord).bottom;
  const sOptionColumns columns = PlaceOptionSlots(slotCount, firstOption, slotHeight, dialog.bottom - title.top);
  const int contentHeight = std::max({picture.top + picture.bottom, description.top + description.bottom,
                                      firstOption.top + columns.rows * slotHeight});
  const int offset = (dialog.top + dialog.bottom) / 2 - (contentHeight + title.top) / 2;

  CDXUTStatic* titleText = nullptr;
  if (Succeeded(AddStatic(kTitle, event_.title, title.left, title.top + offset, title.right, title.bottom, false,
                          &titleText))) {
    titleText->SetTextElement(1);
    titleText->SetTextFormat(DT_CENTER | DT_VCENTER);
  }
  AddMemo(kDescription, event_.description, description.left, description.top + offset, description.right,
          description.bottom);
  if (Texture* texture = picture_.GetTexture()) {
    // The whole picture, whatever its size, is fitted into the square.
    AddImage(kPicture, texture, Rect{0, 0, texture->width(), texture->height()}, picture.left,
             picture.top + offset, picture.right, picture.bottom);
  }
  const Rect flag = DialogRecord(kFlag);
  AddImage(kFlag, FlagOf(event_.countryID), Rect{0, 0, 128, 85}, flag.left, flag.top + offset, flag.right,
           flag.bottom);
  const auto addSlot = [&](int slot, int id, const std::u16string& caption, const std::u16string& hint) {
    CDXUTButton* button = nullptr;
    const int column = slot / columns.rows;
    const int row = slot % columns.rows;
    if (Failed(AddButton(id, caption, firstOption.left + column * (columns.width + kOptionColumnGap),
                         firstOption.top + offset + row * slotHeight, columns.width, firstOption.bottom, 0, false,
                         &button))) {
      return;
    }
    button->SetHint(hint);
  };
  for (int k = 1; k <= optionCount; ++k) {
    const sEventOption& option = event_.options[static_cast<std::size_t>(k - 1)];
    addSlot(k - 1, kOptionButtonBase + k, option.description, option.tooltip);
  }
  if (IsPbemGame()) {
    addSlot(optionCount, kOptionButtonBase + 2 + optionCount, GetText("event_save_and_exit"),
            GetText("event_save_and_exit_hint"));
  }

  if (CDXUTControl* frame = GetControl(kDialogId)) {
    frame->SetLocation(dialog.left, offset);
    frame->SetSize(dialog.right, contentHeight + title.top);
  }
}

void cDialogEventu::OnGUIEvent(std::uint32_t, int controlId, CDXUTControl*) {
  if (controlId <= kOptionButtonBase) return;
  const int option = controlId - kOptionButtonBase;
  const auto optionCount = static_cast<int>(event_.options.size());
  if (option > optionCount) {
    if (IsPbemGame()) SaveAndExit();
    return;
  }
  {
    // The worker waits for this dialog without the lock; the frame draws what the option changes.
    GameLockGuard lock;
    RunPlayerEventChoice(event_, option);
  }
  CloseAnsweredDialog(this, serial());
}

void cDialogEventu::SaveAndExit() {
  const bool saved = gGame->saveContext != nullptr && gGame->saveContext->SavePbemGame(gGame->pbemGameName);
  if (!saved) {
    // Ending now would lose the turn: the player may try again or pick an option.
    LogFormat(u"ERROR: the play-by-e-mail turn \"%s\" could not be saved; the event dialog stays open",
              gGame->pbemGameName);
    PushModalDialog(new cDialogTekstowy(GetText("event_save_and_exit_failed"),
                                        GetText("event_save_and_exit_failed_title"), kSaveFailedLayout));
    return;
  }
  gExitAfterEventDialog.store(1);
  CloseAnsweredDialog(this, serial());
}

}  // namespace tr
