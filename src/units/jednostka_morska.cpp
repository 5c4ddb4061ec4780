// Ships: what the unit operations mean for a ship, and the ship's values for
// sea battles and convoy attacks: the per-type draw, the combat strength and
// the ratings that grow with the owner's naval technologies, hit points and
// the battle flags.
#include "units/jednostka_morska.h"

#include <algorithm>
#include <cmath>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/random.h"
#include "world/gra.h"

namespace tr {

cJednostkaMorska::~cJednostkaMorska() = default;

void cJednostkaMorska::AssignCommander() {}
int cJednostkaMorska::ComputeCombatValue() { return 0; }
int cJednostkaMorska::ComputeMoveRange(int) { return 0; }
void cJednostkaMorska::Kill() { Sink(1); }

int cJednostkaMorska::TableType() const {
  if (type >= kAircraftCarrier && type <= kAmphibiousShip) return type;
  const int read = std::clamp(int{type}, static_cast<int>(kAircraftCarrier), static_cast<int>(kAmphibiousShip));
  LogFormat(u"ERROR: naval unit %s (ID=%i) has type %i, outside the ship tables; read as type %i", name, id, type,
            read);
  return read;
}

int CountryNavyLevel(int countryId) {
  const cCountry* country = gGame ? gGame->GetCountry(countryId) : nullptr;
  return country ? country->GetTechLevel(kNavyTech) : 0;
}

int cJednostkaMorska::GetNavalTechLevel() const {
  const cCountry* country = GetOwnerCountry();
  if (!country) return 0;
  return country->GetTechLevel(type == kSubmarine ? kSubmarineTech : kNavyTech);
}

int cJednostkaMorska::RollPerTypeValue() const {
  if (!gGame) return 0;
  const int t = TableType();
  return RandomRange(gGame->constants.ShipValueLow(t), gGame->constants.ShipValueHigh(t));
}

float cJednostkaMorska::GetCombatStrength() const {
  if (!gGame) return 0.0f;
  const int t = TableType();
  const int base = (gGame->constants.NavalValuesC(t) + gGame->constants.NavalValuesB(t)) / 2;
  return static_cast<float>(base) * (static_cast<float>(GetNavalTechLevel() - 1) * 0.1f + 0.5f);
}

int cJednostkaMorska::GetTechRating() const { return (GetNavalTechLevel() + 3) * 10; }

bool cJednostkaMorska::RollDetectionCheck() const { return RandomRange(0, 100) < (GetNavalTechLevel() + 5) * 10; }

int cJednostkaMorska::GetRequiredPortSize() const {
  return gGame ? gGame->constants.PortSizeForShip(TableType()) : 0;
}

int cJednostkaMorska::AddHitPoints(float amount) {
  const float top = static_cast<float>(std::max(maxHitPoints, 0));
  // A sum that is no number changes nothing but the range.
  float sum = std::trunc(static_cast<float>(hitPoints) + amount);
  if (std::isnan(sum)) sum = static_cast<float>(hitPoints);
  // Held in range as a float first, so a huge amount never overflows the int.
  hitPoints = static_cast<int>(std::clamp(sum, 0.0f, top));
  return hitPoints;
}

void cJednostkaMorska::RaiseHitPointsToMinimum() {
  if (!gGame) return;
  const float share = gGame->constants.MinimumHitPointsPercent() / 100.0f * static_cast<float>(maxHitPoints);
  const int minimum = static_cast<int>(std::floor(share));
  if (hitPoints < minimum) hitPoints = minimum;
}

void cJednostkaMorska::InitBattleFlags() {
  mayAct = 1;
  retreated = 0;
  const bool damagedCarrier =
      type == kAircraftCarrier && gGame && hitPoints <= gGame->constants.CarrierHitPointLimit();
  if (damagedCarrier || type == kCargoShip || type == kAmphibiousShip) mayAct = 0;
}

}  // namespace tr
