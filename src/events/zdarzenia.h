// The scripted-event engine held by the game: the parsed event files, the
// events built from them, and the record the event check keeps. A game fills
// it once while loading: OpenEventFiles, ValidateEventsFile, LoadAllEvents.
// Every failure among them is fatal inside them, after its log line.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "events/event_model.h"

class TiXmlDocument;

namespace tr {

class cGame;

// Set by the event dialog's save-and-exit button of a play-by-e-mail game;
// the event check clears it before it shows an event and ends the program in
// order when it finds it set after the dialog closed.
extern std::atomic<std::uint8_t> gExitAfterEventDialog;
// Set by the event check of a play-by-e-mail game when it has finished: the
// main thread then goes on with the end of the human turn that asked for it.
extern std::atomic<std::uint8_t> gEndTurnRequested;

// How often an event that is not one-time may fire within one check; an event
// whose effects leave its condition true would otherwise fire forever. An
// event whose options have no effect fires once: again it would change nothing.
inline constexpr int kMaxFiringsPerCheck = 100;
// How many looks at events one check takes at most. Every firing starts the
// search again from the top, so events that fire below many that stay false
// would look at those again and again; past this the check ends.
inline constexpr std::size_t kMaxLooksPerCheck = 1000000;

class cEventEngine {
 public:
  cEventEngine();
  ~cEventEngine();
  cEventEngine(const cEventEngine&) = delete;
  cEventEngine& operator=(const cEventEngine&) = delete;

  // Reads "event_files.txt" of the scenario and parses every XML file it
  // lists (paths from the game folder; ';' lines are comments). A missing
  // list means no events; a file that does not load or parse is fatal.
  void OpenEventFiles(std::u16string_view scenarioName);
  // Checks every expression, then every effect, of every document, wherever
  // it stands; the first bad one is fatal after all its problems are logged.
  void ValidateEventsFile();
  // Builds the events of every document in order and sizes the checked bits.
  void LoadAllEvents();
  // Appends the events of one document and raises highestId to the highest
  // event number met. Events with a negative number or a country that does
  // not exist are logged and left out.
  void LoadEventsFromDocument(const TiXmlDocument& document, int& highestId);

  // The whole check at the end of a turn (event_check.cpp): one search after
  // another until none fires; each fired event is shown to its human player
  // or decided by the computer, and the messages its option queued follow.
  void CheckEventsAtTurnEnd(cGame& game);
  // Forgets which events the current check has looked at and fired.
  void ClearCheckedBits();
  // One search from the top of the list; true when an event fired (it is
  // then firedEvent).
  bool CheckEvents();
  // Selects the first event with the number as firedEvent, whatever its
  // country, dates or condition; false when there is none.
  bool ForceFireEvent(int eventId);

  // Writes a readable listing next to every event file (event_listing.cpp),
  // reading the events again as the loader does.
  void ListAllEvents();
  void ListEventsFromDocument(const TiXmlDocument& document);

  std::vector<bool> checkedBits;  // indexed by event number
  std::vector<std::unique_ptr<TiXmlDocument>> documents;  // in the order of "event_files.txt"
  std::vector<sExpression> validationExpressions;
  std::vector<sEffect> validationEffects;
  std::vector<cEvent> events;  // documents in order, events in document order
  cEvent firedEvent;
  std::vector<std::u16string> messages;  // queued by effects while an option runs

 private:
  struct sLook {
    int firings = 0;
    bool looked = false;
  };
  // Starts the record of what the current check has looked at and fired.
  void StartLooking();
  std::size_t NextToLook(std::size_t from);
  void NoLongerLook(std::size_t entry);

  std::vector<sLook> looks_;  // per entry of events, in the current check
  // Per entry of events, and one past the last: an entry the current check
  // may still look at, from this one on. An event checked once and one that
  // may fire no more are passed over, so a search that starts again from
  // the top does not walk them anew.
  std::vector<std::size_t> stillToLook_;
  std::size_t looksLeft_ = 0;  // in the current check
};

}  // namespace tr
