// What the diplomacy files share among themselves: reaching the countries and
// constants of the running game, the camps and the texts.
#pragma once

#include <string>
#include <string_view>

#include "foundation/format.h"
#include "foundation/string_base.h"
#include "scenario/scenario_constants.h"
#include "world/panstwo.h"

namespace tr::diplomacy {

// The country of a number, or null (logged) when there is none.
cCountry* Country(int number);
const sScenarioConstants& Constants();

// 0 allies, 1 axis, 2 comintern; -1 for an orientation outside 0..5.
inline int Camp(int orientation) { return orientation >= 0 && orientation <= 5 ? orientation % 3 : -1; }
inline bool InAlliance(const cCountry& country) { return country.alliance != kNeutral; }
inline bool IsLeader(const cCountry& country) { return country.alliance >= kAlliesLeader && country.alliance <= kCominternLeader; }

// The string-base text of the key formatted with the values.
template <typename... Args>
std::u16string Text(std::string_view key, const Args&... args) {
  return Format(GetText(key), args...);
}

// Pays the cost out of the country's diplomacy points (never wrapping round).
void PayDiplomacyPoints(cCountry& country, int cost);

// Both countries exist and the rules can place them; the text is cleared
// when they cannot.
bool BothKnown(int a, int b, std::u16string& text);
bool Known(int country, std::u16string& text);

}  // namespace tr::diplomacy
