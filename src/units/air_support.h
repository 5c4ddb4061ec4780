// Small helpers the air-war files share: relation tests that tolerate "no
// country", the owner's name, sounds, the computer's move display and the
// text of a string-base key used as a format.
#pragma once

#include <string>
#include <string_view>

#include "foundation/format.h"
#include "foundation/string_base.h"

namespace tr {

class cCountry;
class cUnit;

// False when either number is 0 (no country) instead of ending the program.
bool AtWar(int a, int b);
// The country's name, empty for no country.
std::u16string CountryName(int countryId);
// Plays a sound of "data\sound" at the effects volume.
void PlayAirSound(std::u16string_view fileName);
// Whether a computer move of the unit is shown: the unit is visible and the
// view follows the computer's moves.
bool ShowsComputerMove(const cUnit& unit);
// Reconnaissance of the hexes within reach of (x, y): every hidden unit there
// becomes visible and joins the viewer's recon-spotted units.
void RevealHiddenUnitsWithin(int x, int y, int reach, cCountry* viewer);
// Waits one of the computer delays of the settings (milliseconds).
void WaitComputerDelay(int delay);

// The text of the key used as a format with the arguments.
template <typename... Args>
std::u16string KeyText(std::string_view key, const Args&... args) {
  return Format(GetText(key), args...);
}

}  // namespace tr
