// The automatic-events repository: for every scripted event the option its
// own weights favour, recorded when a new game starts and carried from save
// to save in "auto_events.csv". No rule reads it.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <string_view>
#include <utility>

#include "scenario/saved_fields.h"

namespace tr {

extern const sSavedTable kAutoEventsFields;

// What an event with no option of weight 0 or more records.
inline constexpr std::int32_t kNoFavouredOption = -1;

// The optionID of the option with the highest chanceAI; the earlier option
// wins a tie. Works on any range of records with those two fields.
template <typename Options>
std::int32_t FavouredOptionId(const Options& options) {
  std::int32_t best = -1;
  std::int32_t choice = kNoFavouredOption;
  for (const auto& option : options) {
    if (option.chanceAI > best) {
      best = option.chanceAI;
      choice = option.optionID;
    }
  }
  return choice;
}

class cAutoEventsRepository {
 public:
  using Pair = std::pair<std::int32_t, std::int32_t>;  // event ID, option ID

  // Appends the pair unless the event already has one; true when appended.
  bool AddIfNew(std::int32_t eventId, std::int32_t optionId);
  // The pair of the event (the option is not compared), or null.
  const Pair* FindPair(std::int32_t eventId) const;
  void Clear() { pairs.clear(); }

  // Writes "<folder>\auto_events.csv"; false (logged) when it cannot be written.
  bool Save(std::u16string_view folder) const;
  // Replaces the pairs with those of the folder template's file. A missing
  // file or a line of more than two fields is fatal (exit code 1). When
  // isEvent is given, a pair whose event it does not know is logged with the
  // file and line and left out. A saved game's file (savedGame), which the
  // game writes as whole "event;option" lines of its scenario's events, is
  // refused with a line cut short or naming an event the scenario does not
  // have (RefuseDamagedTable); it has no header, so empty is no pairs.
  void Load(std::u16string_view folderTemplate, const std::function<bool(std::int32_t)>& isEvent = nullptr,
            bool savedGame = false);

  std::list<Pair> pairs;  // in insertion order
};

}  // namespace tr
