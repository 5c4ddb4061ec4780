// The event check of a turn: searches the events from the top of the list
// until none fires, and hands each fired event to its human player through
// the event dialog or to the computer's choice.
#include <algorithm>
#include <optional>
#include <utility>

#include "events/zdarzenia.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/quiet_log.h"
#include "foundation/string_base.h"
#include "scenario/report_kinds.h"
#include "turn/theads.h"
#include "world/gra.h"
#include "world/presentation.h"

namespace tr {

std::atomic<std::uint8_t> gExitAfterEventDialog{0};
std::atomic<std::uint8_t> gEndTurnRequested{0};

namespace {

// Holds the game lock between two logged source positions, and lets it go
// even when what runs inside ends by an exception.
class PositionedLock {
 public:
  PositionedLock(const char* file, int enterLine, int leaveLine) : file_(file), leaveLine_(leaveLine) {
    EnterGameLock(file_, enterLine);
  }
  ~PositionedLock() { LeaveGameLock(file_, leaveLine_); }
  PositionedLock(const PositionedLock&) = delete;
  PositionedLock& operator=(const PositionedLock&) = delete;

 private:
  const char* file_;
  int leaveLine_;
};

cCountry* CountryOfEvent(const cGame& game, const cEvent& event) {
  if (event.countryID < 1 || event.countryID > game.CountryCount()) return nullptr;
  return game.countries[static_cast<std::size_t>(event.countryID - 1)].get();
}

// The player sees the event and picks an option in the dialog, which runs it
// on the main thread. False when the check must stop.
bool ShowToPlayer(cGame& game, const cEvent& fired) {
  LogFormat(u"Event fired (ID=%i / Title=\"%s\")", fired.eventID, fired.title);
  gExitAfterEventDialog.store(0);
  {
    PositionedLock lock("gra_endturn", 402, 408);
    Presentation().PushEventDialog(fired);
  }
  Presentation().WaitForEventDialog("gra_endturn", 409);
  if (WorkerMustStop(game)) return false;
  if (game.pbemGame && gExitAfterEventDialog.load() != 0) {
    LogLine(u"The play-by-e-mail turn was saved from the event dialog; the game ends");
    Presentation().RequestProgramExit(0);
    return false;
  }
  return true;
}

void DecideForComputer(cGame& game, const cEvent& fired, const cCountry& country) {
  const int option = fired.ChooseOptionForAI();
  fired.ExecuteOption(option);
  if (fired.visibleByPlayer == 0) return;
  std::u16string optionDescription;
  std::u16string optionTooltip;
  fired.GetOptionTexts(option, optionDescription, optionTooltip);
  const std::u16string text = Format(u"%s in %s went with option %s", country.name, fired.title, optionDescription);
  // The main thread reads the report list while it draws the reports panel.
  GameLockGuard lock;
  for (int id = 1; id <= game.CountryCount(); ++id) game.reports.Add(kReportEventChoice, id, text);
}

// The condition's routine lines are written at the event's first look in a
// check only; an error, a warning or the reason of a fatal exit at every look.
bool ConditionHolds(cEvent& event, bool firstLook) {
  std::optional<cQuietLog> quiet;
  if (!firstLook) quiet.emplace();
  return event.condition.Evaluate();
}

// A random number is drawn afresh at each evaluation, so a condition holding
// one may turn false at the next search with nothing else changed.
bool DrawsRandomNumber(const sEventOperand& operand) {
  return !IsParamSet(operand.constValue) && operand.method == u"System.GetRandomNumber";
}

bool ConditionDraws(const sConditionGroup& group) {
  return std::any_of(group.expressions.begin(), group.expressions.end(),
                     [](const sExpression& e) { return DrawsRandomNumber(e.left) || DrawsRandomNumber(e.right); }) ||
         std::any_of(group.groups.begin(), group.groups.end(), ConditionDraws);
}

// Firing an event none of whose options has an effect leaves the game as it
// was: unless its condition draws, it would be found true and fire the same
// way in every later search.
bool FiringChangesNothing(const cEvent& event) {
  return !ConditionDraws(event.condition) &&
         std::all_of(event.options.begin(), event.options.end(),
                     [](const sEventOption& option) { return option.effects.empty(); });
}

// The texts the option's effects queued, one message box each, in order.
// False when the check must stop.
bool ShowQueuedMessages(cGame& game, std::vector<std::u16string> queued) {
  for (const std::u16string& text : queued) {
    Presentation().ShowTextAndWait(GetText("information"), text);
    if (WorkerMustStop(game)) return false;
  }
  return true;
}

}  // namespace

void cEventEngine::ClearCheckedBits() {
  std::fill(checkedBits.begin(), checkedBits.end(), false);
  StartLooking();
}

void cEventEngine::StartLooking() {
  looks_.assign(events.size(), sLook{});
  stillToLook_.resize(events.size() + 1);
  for (std::size_t i = 0; i < stillToLook_.size(); ++i) stillToLook_[i] = i;
  looksLeft_ = kMaxLooksPerCheck;
}

std::size_t cEventEngine::NextToLook(std::size_t from) {
  std::size_t found = from;
  while (stillToLook_[found] != found) found = stillToLook_[found];
  // Every entry walked points straight at the one found, so none is walked twice.
  while (stillToLook_[from] != found) from = std::exchange(stillToLook_[from], found);
  return found;
}

void cEventEngine::NoLongerLook(std::size_t entry) { stillToLook_[entry] = entry + 1; }

bool cEventEngine::CheckEvents() {
  LogLine(u"NEW ITERATION FOR EVENTS...");
  const cGame* game = gGame;
  if (game != nullptr) {
    if (looks_.size() != events.size()) StartLooking();
    for (std::size_t i = NextToLook(0); i < events.size(); i = NextToLook(i + 1)) {
      cEvent& event = events[i];
      const cCountry* country = CountryOfEvent(*game, event);
      if (country == nullptr || country->isActive == 0) continue;
      if (game->pbemGame && event.enableInPbem == 0 && country->HasPbemPlayer()) continue;
      // Events of negative number are refused at load; the guard keeps the bit record in range anyway.
      if (event.eventID < 0 || event.eventID > kMaxEventId) continue;
      const auto bit = static_cast<std::size_t>(event.eventID);
      if (bit >= checkedBits.size()) checkedBits.resize(bit + 1, false);
      sLook& look = looks_[i];
      if ((event.oneTimeChecking != 0 && checkedBits[bit]) || look.firings >= kMaxFiringsPerCheck) {
        NoLongerLook(i);
        continue;
      }
      if (looksLeft_ == 0) {
        LogFormat(u"WARNING: the events have been looked at %i times in this check; the check ends here",
                  static_cast<int>(kMaxLooksPerCheck));
        break;
      }
      --looksLeft_;
      checkedBits[bit] = true;
      if (event.oneTimeChecking != 0) NoLongerLook(i);
      // Every search after a firing looks again at the events above it: the
      // lines of a look were written the first time, and only a firing is
      // written again, so the log grows with the events, not with the searches.
      const bool firstLook = !look.looked;
      look.looked = true;
      if (firstLook) LogFormat(u"Checking event %d", event.eventID);
      if (!event.IsDateInWindow(game->date)) {
        if (firstLook) {
          LogFormat(u"Event %i: Current date is outside date range for event", event.eventID);
          LogLine(u"Event checked with no luck");
        }
        continue;
      }
      if (!ConditionHolds(event, firstLook)) {
        if (firstLook) {
          LogFormat(u"Condition for event with ID=%i is false.", event.eventID);
          LogLine(u"Event checked with no luck");
        }
        continue;
      }
      if (!firstLook) LogFormat(u"Checking event %d", event.eventID);
      LogFormat(u"Condition for event with ID=%i is true. Firing...", event.eventID);
      if (++look.firings == kMaxFiringsPerCheck) {
        NoLongerLook(i);
        LogFormat(u"WARNING: event %i has fired %i times in this check and stays true; it is not looked at again "
                  u"before the next check",
                  event.eventID, kMaxFiringsPerCheck);
      } else if (event.oneTimeChecking == 0 && FiringChangesNothing(event)) {
        NoLongerLook(i);
      }
      firedEvent = event;
      return true;
    }
  }
  LogLine(u"New event search iteration ended with no results");
  return false;
}

void cEventEngine::CheckEventsAtTurnEnd(cGame& game) {
  LogLine(u"CHECKING EVENTS...");
  ClearCheckedBits();
  while (CheckEvents()) {
    const cEvent fired = firedEvent;
    cCountry* country = CountryOfEvent(game, fired);
    if (country == nullptr) continue;  // CheckEvents fires only events of a country
    // Messages of an earlier event must not show again when no option runs now.
    messages.clear();
    bool goesOn = true;
    if (country->humanControlled != 0 && fired.visibleByPlayer != 0) {
      // In a hot-seat game the check runs in the computer's phase or another
      // player's turn: the decision and what its option tells are shown under
      // the deciding player's own panel.
      const ScopedInfoPanelCountry shownCountry(country->id);
      goesOn = ShowToPlayer(game, fired) && ShowQueuedMessages(game, std::exchange(messages, {}));
    } else {
      DecideForComputer(game, fired, *country);
      goesOn = ShowQueuedMessages(game, std::exchange(messages, {}));
    }
    if (!goesOn || WorkerMustStop(game)) return;
  }
  LogLine(u"CHECKING EVENTS FINISHED");
  if (game.pbemGame) gEndTurnRequested.store(1);
}

bool cEventEngine::ForceFireEvent(int eventId) {
  LogFormat(u"USER FORCED FIRING OF EVENT ID=%i. Searching for this event...", eventId);
  const auto found =
      std::find_if(events.begin(), events.end(), [&](const cEvent& event) { return event.eventID == eventId; });
  if (found == events.end()) {
    LogLine(u"Event was not found!");
    return false;
  }
  firedEvent = *found;
  LogLine(u"Event found! Returning...");
  return true;
}

}  // namespace tr
