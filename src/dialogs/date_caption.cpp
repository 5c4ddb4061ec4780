#include "dialogs/date_caption.h"

#include <array>

#include "dialogs/minimap_panel.h"
#include "foundation/format.h"
#include "foundation/string_base.h"
#include "gui/static.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr std::array<const char*, 12> kMonthKeys = {"january", "february", "march",     "april",   "may",      "june",
                                                    "july",    "august",   "september", "october", "november", "december"};

std::u16string MonthName(int month) {
  if (month < 1 || month > 12) return {};
  return GetText(kMonthKeys[static_cast<std::size_t>(month - 1)]);
}

}  // namespace

std::u16string DateCaptionText(const cGame& game) {
  const std::u16string date = game.turn == 1 && game.gameDay >= 1
                                  ? Format(u"%i-%lS-%i", game.gameDay, MonthName(game.displayedMonth), game.displayedYear)
                                  : game.date.Format();
  return Format(GetText("%s_(turn_%i/%i)"), date, game.turn, game.turn + game.turnsLeft);
}

void UpdateDateCaption(cMinimapPanel* panel) {
  if (panel == nullptr || gGame == nullptr) return;
  if (auto* caption = static_cast<CDXUTStatic*>(panel->GetControlOfType(cMinimapPanel::kDateCaption, kControlStatic))) {
    caption->SetText(DateCaptionText(*gGame));
  }
}

}  // namespace tr
