// Corrupted copies of a built scenario: one changed number, one doubled or
// one dropped row of one table. The corruption sweep tries every one of them
// on the sample; the integration tests replay the few that once broke it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tr::test {

struct sCorruption {
  enum class Kind { kValue, kDoubleRow, kDropRow };
  Kind kind = Kind::kValue;
  std::string file;   // file name in the scenario folder
  int row = 0;        // data row, from 0 (comments and blank lines are not counted)
  int field = 0;      // ';'-separated field of the row, from 0 (kValue only)
  std::string value;  // the text put in the field (kValue only)

  // "fleets.csv row 2 field 4 = -1", "fleets.csv row 2 doubled", ...
  std::string Describe() const;
};

// Every corruption of the scenario folder's tables: each numeric field of the
// first and the last data row of each table set to each extreme value, and
// each data row of the tables that link objects by number doubled and dropped.
std::vector<sCorruption> ListCorruptions(const std::filesystem::path& scenario_folder);

// Changes the file of the folder as the corruption says; false when the row
// or field is not there.
bool ApplyCorruption(const std::filesystem::path& scenario_folder, const sCorruption& corruption);

// The save that the saved-game cases corrupt: the sample played 2 impulses from seed 5.
inline constexpr char kBaseSave[] = "corrupted";
// Copies the built scenario into a fresh game root and makes the base save there, without the list of its
// files' digests (an older save); false when it failed.
bool MakeBaseSave(const std::filesystem::path& root, const std::string& scenario);

// Copies the built scenario into a fresh game root (and, for `inSave`, makes
// the base save), corrupts the scenario or the save, loads it and plays
// `impulses` impulses with the computer on every side. Returns "" when the
// load refused the data or the game kept its invariants, else what broke;
// `outcome`, when given, says which ("refused at load", "played 3 impulses").
std::string PlayCorrupted(const std::filesystem::path& root, const std::string& scenario,
                          const sCorruption& corruption, int impulses, std::string* outcome = nullptr,
                          bool inSave = false);

}  // namespace tr::test
