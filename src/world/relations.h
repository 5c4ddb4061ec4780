// Relations between countries: for every ordered pair whether the first is at
// war with the second and the losses the first has dealt to the second, plus
// each country's share of the losses suffered by every other. Filled from
// "relations.csv" and "losses.csv" and written back to them by a save.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tr {

class cGame;

struct sRelationCell {
  std::uint8_t atWar = 0;
  float losses = 0.0f;
};

class cRelations {
 public:
  // Country numbers run 1..count. A number below 1 is fatal, as the game has
  // always treated 0; one above count is logged and counts as no country.
  bool IsAtWar(int a, int b) const;
  void SetWar(int a, int b, bool atWar);
  void AddLosses(int a, int b, float amount);
  float GetLosses(int a, int b) const;
  float GetLossesShare(int a, int b) const;
  float GetTotalLossesSuffered(int b) const;
  void MakePeaceWithAll(int a);
  void UpdateLossesShares();

  // count := countryCount and every cell and share zeroed.
  void Reset(int countryCount);
  // Reads both files through the folder template; a missing file or a bad
  // country number ends the program (relations_file.cpp), and so does a
  // saved game's file that is empty, headless or has a row cut short.
  void LoadRelationsAndLosses(std::u16string_view folderTemplate, int countryCount, bool savedGame = false);

  // Raised by every SetWar and Reset, so what was learnt of who is at war
  // with whom can tell it may be out of date.
  std::uint64_t warChanges = 0;
  std::int32_t count = 0;
  std::vector<sRelationCell> cells;  // (a, b) at (a - 1) * count + (b - 1)
  std::vector<float> shares;         // same indexing

 private:
  // The cell index, or -1 when a number lies above count. A number below 1
  // logs zeroLine() and ends the program.
  int Index(int a, int b, std::u16string (*zeroLine)()) const;
};

// The save writers: "<folder>\relations.csv" and "<folder>\losses.csv" for
// the countries of the game; false (logged) when the file cannot be written.
bool WriteRelations(const cGame& game, std::u16string_view folder);
bool WriteLosses(const cGame& game, std::u16string_view folder);

// What the writers above write in each field (scenario/saved_fields.h).
struct sSavedTable;
extern const sSavedTable kRelationsFields;
extern const sSavedTable kLossesFields;

}  // namespace tr
