// What each country's player was last shown of its convoys: a standing order
// that keeps failing the same way is put before the player once, not again
// at every impulse (the reports still file each impulse's outcome).
#pragma once

namespace tr {

class cConvoyManager;

// Whether the country's current results are news to its player: a convoy
// sailed, or they differ from those last shown. News is remembered as shown.
bool TakeConvoyResultsNews(const cConvoyManager& manager, int countryId);
// The manager's convoys are gone (a game ends or loads): nothing was shown.
void ForgetShownConvoyResults(const cConvoyManager& manager);

}  // namespace tr
