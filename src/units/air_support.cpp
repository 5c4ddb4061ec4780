#include "units/air_support.h"

#include "foundation/game_lock.h"
#include "foundation/settings.h"
#include "world/gra.h"
#include "world/presentation.h"

namespace tr {

bool AtWar(int a, int b) {
  if (a < 1 || b < 1 || !gGame) return false;
  return gGame->relations.IsAtWar(a, b);
}

std::u16string CountryName(int countryId) {
  if (!gGame || countryId < 1 || countryId > gGame->CountryCount()) return {};
  return gGame->countries[countryId - 1]->name;
}

void PlayAirSound(std::u16string_view fileName) {
  Presentation().PlaySoundEffect(u"data\\sound\\" + std::u16string(fileName));
}

bool ShowsComputerMove(const cUnit& unit) { return unit.spotted && gGame && gGame->playerControl.follow; }

void WaitComputerDelay(int delay) {
  if (delay < 0 || delay >= kDelayCount) return;
  SleepLogged(static_cast<int>(gDelays[delay]), __FILE__, __LINE__);
}

}  // namespace tr
