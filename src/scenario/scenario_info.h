// "Info.ini" of scenario and save folders: the scenario's description and
// length, and for a save the section Save with where the game stands.
#pragma once

#include <string_view>

namespace tr {

class cGame;

// Sizes of the unit counters the scenario asks for (0..4 each).
struct sUnitCounterSizes {
  int small = 0;
  int large = 1;
};
sUnitCounterSizes& UnitCounterSizes();

// The local time a save is stamped with.
struct sLocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
};
sLocalTime CurrentLocalTime();

// Reads "Info.ini" through the folder template into the game; a missing key
// takes its default. A file that cannot be read is refused, and so is a saved
// game's file cut short or with text where the save writes a number (in a
// scenario's file such text reads as 0, as authors may rely on).
void LoadScenarioInfo(cGame& game, std::u16string_view folder_template);

// Whether the save in the folder goes on with its own numbering and order:
// it keeps the counters (Info.ini) and the units' state (unit_state.csv). An
// Info.ini that cannot be read refuses the load (as in RestoreSavedCounters).
bool SaveKeepsItsNumbering(std::u16string_view folder_template);

// Raises the game's numbering counters to those a saved game's "Info.ini"
// keeps, so the objects made after the load take the numbers they would have
// taken in the game that was saved. A counter is never lowered below the
// highest number in use; one outside 0 to the largest object number is logged
// and passed over. The month whose once-a-month steps last ran comes from the
// file too when it holds it (0 to 12); an older save keeps what the date gave.
// A save that does not keep its numbering changes nothing.
void RestoreSavedCounters(cGame& game, std::u16string_view folder_template);

// Writes "<folder>\Info.ini": the scenario's own file with the section Save
// set from the game. False (logged) when the file cannot be written.
bool WriteSaveInfo(const cGame& game, std::u16string_view folder, const sLocalTime& now);
bool WriteSaveInfo(const cGame& game, std::u16string_view folder);

}  // namespace tr
