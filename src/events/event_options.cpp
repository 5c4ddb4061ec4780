// What a fired event does: its date window, the computer's choice of an
// option, and running an option's effects.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "events/effect_dispatch.h"
#include "events/event_model.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_date.h"
#include "foundation/random.h"
#include "scenario/report_kinds.h"
#include "world/gra.h"

namespace tr {
namespace {

bool IsDateSet(const sEventDate& date) { return date.day != kIntNotSet; }

const sEventOption* OptionAt(const std::vector<sEventOption>& options, int option) {
  if (option < 1 || option > static_cast<int>(options.size())) return nullptr;
  return &options[static_cast<std::size_t>(option - 1)];
}

}  // namespace

bool cEvent::IsDateInWindow(const cGameDate& date) const {
  const bool hasBegin = IsDateSet(beginDate);
  const bool hasEnd = IsDateSet(endDate);
  const auto isBegin = [&] { return date.IsSameDay(beginDate.day, beginDate.month, beginDate.year); };
  const auto isEnd = [&] { return date.IsSameDay(endDate.day, endDate.month, endDate.year); };
  const auto afterBegin = [&] { return date.IsAfter(beginDate.day, beginDate.month, beginDate.year); };
  const auto beforeEnd = [&] { return date.IsBefore(endDate.day, endDate.month, endDate.year); };
  if (!hasBegin && !hasEnd) return true;
  if (!hasEnd) return isBegin() || afterBegin();
  if (!hasBegin) return isEnd() || beforeEnd();
  return (afterBegin() && beforeEnd()) || isBegin() || isEnd();
}

int cEvent::ChooseOptionForAI() const {
  // Sums of 32-bit weights are kept in 64 bits; the draw's range is the
  // total brought back into 32 bits. A negative total (weights left out read
  // -1) is drawn from as it stands. The top bound is the largest float below
  // 2^31, since the draw scales the total as a float and 2^31 fits no int.
  std::vector<std::int64_t> sums;
  sums.reserve(options.size());
  std::int64_t sum = 0;
  for (const sEventOption& option : options) {
    sum += option.chanceAI;
    sums.push_back(sum);
  }
  constexpr std::int64_t kLargestDrawnTotal = 2147483520;
  const auto total = static_cast<int>(
      std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(), kLargestDrawnTotal));
  const std::int64_t drawn = RandomRange(0, total);
  std::int64_t previous = 0;
  for (std::size_t k = 0; k < sums.size(); ++k) {
    if (previous < drawn && drawn <= sums[k]) return static_cast<int>(k + 1);
    previous = sums[k];
  }
  return -1;
}

bool cEvent::ExecuteOption(int option) const {
  const sEventOption* chosen = OptionAt(options, option);
  if (chosen == nullptr) return false;
  if (gGame != nullptr) gGame->events->messages.clear();
  chosen->ExecuteEffects();
  return true;
}

void cEvent::GetOptionTexts(int option, std::u16string& optionDescription, std::u16string& optionTooltip) const {
  const sEventOption* chosen = OptionAt(options, option);
  if (chosen == nullptr) return;
  optionDescription = chosen->description;
  optionTooltip = chosen->tooltip;
}

void sEventOption::ExecuteEffects() const {
  for (const sEffect& effect : effects) ExecuteEffect(effect);
}

void RunPlayerEventChoice(const cEvent& event, int option) {
  if (gGame == nullptr) return;
  std::u16string optionDescription;
  std::u16string optionTooltip;
  event.GetOptionTexts(option, optionDescription, optionTooltip);
  const cCountry* country = event.countryID >= 1 && event.countryID <= gGame->CountryCount()
                                ? gGame->countries[static_cast<std::size_t>(event.countryID - 1)].get()
                                : nullptr;
  gGame->reports.Add(kReportEventChoice, event.countryID,
                     Format(u"Event for country %s: %s\n\n%s\n\nChosen option: %s (%s)",
                            country ? country->name : std::u16string(), event.title, event.description,
                            optionDescription, optionTooltip));
  event.ExecuteOption(option);
}

}  // namespace tr
