// The keys the game writes into the section Save of a saved game's
// "Info.ini" (and the scenario's length it writes as a number), each with the
// kind and range of the values it writes there. The writer sets them from
// this table, and the load of a save holds the file to the same table.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "scenario/scenario_info.h"

namespace tr {

class cGame;
class cIniFile;

// Turn counts and dates go on one by one from what the file says: far
// beyond any game, far below the 32-bit limit.
inline constexpr int kMaxTurns = 1000000;
inline constexpr int kMaxYear = 100000;
inline constexpr int kMaxImpulse = 1000;

enum class eSavedValue : std::uint8_t {
  kWhole,    // a whole number from low to high
  kVersion,  // "%.2f", from low to high hundredths
  kStamp,    // the local time of saving, "%02d.%02d.%02d %02d:%02d"
  kText,     // text, held to its own checks where it is used
  kMark,     // the name of the list of the save's files
};

struct sSavedInfoKey {
  std::string_view key;
  eSavedValue kind;
  std::int64_t low = 0;
  std::int64_t high = 0;
  // Written into every save the game makes (a save of an earlier release may lack the others).
  bool everySave = false;
  // What the value is, in the player's words.
  std::u16string_view what;
  // The text the writer writes for the game; null for a key written on its own terms.
  std::u16string (*write)(const cGame& game, const sLocalTime& now) = nullptr;
};

std::span<const sSavedInfoKey> SavedInfoKeys();

// The scenario's length in turns, which the turns left are counted from; a
// save keeps the scenario's own when it is within its declaration.
inline constexpr std::string_view kLengthKey = "Duration/Turns";

// Sets every key of the table that has a writer into the INI object.
void SetSavedInfoKeys(cIniFile& ini, const cGame& game, const sLocalTime& now);

// Whether the text is a value the writer may write for the key.
bool FitsSavedInfoKey(const sSavedInfoKey& key, std::u16string_view text);

// The most bytes the writer may write as the key's value.
std::size_t WidestSavedValue(const sSavedInfoKey& key);

// Refuses (RefuseDamagedTable, naming the line and the key) a saved game's
// "Info.ini" that lacks a key of every save, repeats a key or a section,
// or holds a declared key other than as the game writes it: written other
// than "key = value", of another kind, outside its range, or a turn past the
// game's length.
void CheckSavedInfoKeys(cIniFile& ini, std::u16string_view path);

}  // namespace tr
