#include "dialogs/elections_dialog.h"

#include "dialogs/small_dialog_parts.h"
#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "gui/button.h"
#include "gui/gui_types.h"
#include "world/panstwo.h"

namespace tr {

std::int32_t ChosenOrientation = kOrientationCancelled;

namespace {

struct sChoice {
  int id;  // the orientation it chooses, or the random button
  const char* key;
};
using ChoiceRow = std::array<sChoice, 4>;

constexpr ChoiceRow kFromProAllied = {{{kFirmDemocracy, "diplomacy_elections_democracy"},
                                       {kProAxis, "diplomacy_elections_pro_axis"},
                                       {kProCommunist, "diplomacy_elections_pro_communist"},
                                       {cDialogWyborow::kRandomButton, "diplomacy_elections_random"}}};
constexpr ChoiceRow kFromProAxis = {{{kNationalistRegime, "diplomacy_elections_nationalist_regime"},
                                     {kProAllied, "diplomacy_elections_pro_allied"},
                                     {kProCommunist, "diplomacy_elections_pro_communist"},
                                     {cDialogWyborow::kRandomButton, "diplomacy_elections_random"}}};
constexpr ChoiceRow kFromProCommunist = {{{kCommunistRegime, "diplomacy_elections_communist_regime"},
                                          {kProAxis, "diplomacy_elections_pro_axis"},
                                          {kProAllied, "diplomacy_elections_pro_allied"},
                                          {cDialogWyborow::kRandomButton, "diplomacy_elections_random"}}};

// Only a country leaning to a camp may move; the others get no choice at all.
const ChoiceRow* ChoicesFor(int orientation) {
  switch (orientation) {
    case kProAllied: return &kFromProAllied;
    case kProAxis: return &kFromProAxis;
    case kProCommunist: return &kFromProCommunist;
    default: return nullptr;
  }
}

// One of the three with equal chances: the shared range draw would give the
// last one only for the generator's top value.
int UniformChoice() {
  constexpr int kDrawCount = 32768;
  return RandomDraw() * 3 / kDrawCount;
}

}  // namespace

cDialogWyborow::cDialogWyborow(cCountry* country, bool elections)
    : cDialog(kDialogId, DialogRecord(kDialogId)), country_(country) {
  ChosenOrientation = kOrientationCancelled;
  const std::u16string name = country != nullptr ? country->name : std::u16string();
  if (elections) {
    AddDialogTitle(*this, kTitle, Format(GetText("diplomacy_elections_in_country_title"), name));
    AddStaticAt(kText, Format(GetText("diplomacy_elections_in_country"), name));
    AddKeyButton(*this, kCancelButton, "diplomacy_elections_cancel");
  } else {
    AddStaticAt(kTitle, Format(GetText("diplomacy_change_orientation_of_country_title"), name));
    AddStaticAt(kText, Format(GetText("diplomacy_change_orientation_of_country"), name));
    AddKeyButton(*this, kCancelButton, "diplomacy_change_orientation_cancel");
  }
  const ChoiceRow* row = country != nullptr ? ChoicesFor(country->orientation) : nullptr;
  if (row == nullptr) return;
  for (std::size_t i = 0; i < row->size(); ++i) {
    const sChoice& choice = (*row)[i];
    const Rect at = DialogRecord(kFirstChoiceRecord + static_cast<int>(i));
    CDXUTButton* button = nullptr;
    if (Failed(AddButton(choice.id, GetText(choice.key), at.left, at.top, at.right, at.bottom, 0, false, &button))) {
      continue;
    }
    if (i < choices_.size()) choices_[i] = button;
  }
}

bool cDialogWyborow::IsChoice(int controlId) const {
  for (const CDXUTControl* choice : choices_) {
    if (choice != nullptr && choice->GetID() == controlId) return true;
  }
  return false;
}

void cDialogWyborow::OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) {
  if (controlId == kRandomButton) {
    CDXUTControl* picked = choices_[static_cast<std::size_t>(UniformChoice())];
    // Comes back here as the player's click on that button.
    if (picked != nullptr) SendEvent(GuiEventButtonClicked, true, picked, true);
    return;
  }
  if (controlId == kCancelButton) {
    ChosenOrientation = kOrientationCancelled;
  } else if (IsChoice(controlId)) {
    ChosenOrientation = controlId;
  } else {
    return;
  }
  cDialog* self = this;
  const std::uint64_t serial = this->serial();
  if (cDialog* reported = owner) reported->OnGUIEvent(event, controlId, control);
  CloseAnsweredDialog(self, serial);
}

}  // namespace tr
