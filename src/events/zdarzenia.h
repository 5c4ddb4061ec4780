// The scripted-event engine held by the game: the parsed event files, the
// events built from them, and the record the event check keeps. A game fills
// it once while loading: OpenEventFiles, ValidateEventsFile, LoadAllEvents.
// Every failure among them is fatal inside them, after its log line.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "events/event_model.h"

class TiXmlDocument;

namespace tr {

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

  std::vector<bool> checkedBits;  // indexed by event number
  std::vector<std::unique_ptr<TiXmlDocument>> documents;  // in the order of "event_files.txt"
  std::vector<sExpression> validationExpressions;
  std::vector<sEffect> validationEffects;
  std::vector<cEvent> events;  // documents in order, events in document order
  cEvent firedEvent;
  std::vector<std::u16string> messages;  // queued by effects while an option runs
};

}  // namespace tr
