// Who acts next: within an impulse the axis goes first, then the allies, the
// comintern and the neutrals, and within a side the country of the highest
// political strength. The hand-over itself belongs to the end of turn.
#pragma once

#include <memory>
#include <vector>

namespace tr {

class cCountry;

using CountryVector = std::vector<std::unique_ptr<cCountry>>;

// The next country to act in this impulse; null (with the end-of-impulse log
// line) when every active country has finished.
cCountry* DetermineCurrentCountry(const CountryVector& countries);

// The next human-controlled country after `current`: the first unfinished
// human country in turn order, else the next human country after `current`
// in the full order, wrapping round; never `current` itself.
cCountry* FindNextHumanCountry(const CountryVector& countries, const cCountry* current);

bool ComparePoliticalStrengthDesc(const cCountry* a, const cCountry* b);
// Removes the countries that have finished or are not human-controlled.
void KeepUnfinishedHumanCountries(std::vector<cCountry*>& countries);

}  // namespace tr
