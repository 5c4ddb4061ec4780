// What every diplomatic action rests on: the clamped additions, the dice, the
// costs and chances, the test that a country's politics are ones the rules
// know, and joining an alliance only when somebody leads it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "events/diplomacy.h"
#include "events/diplomacy_parts.h"
#include "foundation/console_log.h"
#include "foundation/random.h"
#include "turn/game_over.h"
#include "world/gra.h"
#include "world/presentation.h"

namespace tr {
namespace diplomacy {
namespace {

// Beyond any die a scenario means, and small enough that a draw's span stays exact as a float.
constexpr int kLargestDie = 1 << 20;

int ClampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

int DieSize(int size) { return std::clamp(size, 1, kLargestDie); }

// A cost that an odd strength (the dummy country's -1) would make negative costs nothing.
int NotNegative(int cost) { return std::max(cost, 0); }

// The factor of a cost line (91 or 92) by the country's orientation: 0 or 3 the
// first, 4 or 5 the second, 1 or 2 the third.
int EntryCost(int number, float (sScenarioConstants::*values)(int) const) {
  const cCountry* country = Country(number);
  if (!country) return 1;
  int index = 0;
  switch (country->orientation) {
    case kFirmDemocracy:
    case kProAllied: index = 1; break;
    case kProAxis:
    case kProCommunist: index = 2; break;
    case kNationalistRegime:
    case kCommunistRegime: index = 3; break;
    default: return 1;
  }
  const float factor = (Constants().*values)(index);
  return std::max(NotNegative(TruncateToInt(factor * static_cast<float>(country->politicalStrength))), 1);
}

}  // namespace

cCountry* Country(int number) {
  if (!gGame) return nullptr;
  cCountry* country = gGame->GetCountry(number);
  if (!country && number == 0) LogLine(u"Diplomacy: country number 0 names no country");
  return country;
}

const sScenarioConstants& Constants() { return gGame->constants; }

void PayDiplomacyPoints(cCountry& country, int cost) {
  country.diplomaticPoints = ClampToInt(static_cast<std::int64_t>(country.diplomaticPoints) - cost);
  // The information panel shows the points: it must not keep the old number.
  Presentation().RefreshInfoPanel();
}

bool Known(int country, std::u16string& text) {
  if (HasKnownPolitics(country)) return true;
  text.clear();
  return false;
}

bool BothKnown(int a, int b, std::u16string& text) {
  // Both are looked at so that the log names every country at fault.
  const bool first = HasKnownPolitics(a);
  const bool second = HasKnownPolitics(b);
  if (first && second) return true;
  text.clear();
  return false;
}

}  // namespace diplomacy

using diplomacy::Constants;
using diplomacy::Country;

void AddPercentClampedInt(cCountry& country, std::int64_t delta) {
  country.allianceEntry = static_cast<std::int32_t>(std::clamp<std::int64_t>(country.allianceEntry + delta, 0, 100));
}

void AddPercentClampedFloat(cCountry& country, float delta) {
  if (std::isnan(delta)) return;
  country.socialUnrest = std::clamp(country.socialUnrest + delta, 0.0f, 100.0f);
}

int TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  if (value >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  return static_cast<int>(value);
}

int RollDice(int count, int size, int base) {
  std::int64_t sum = base;
  for (int i = 0; i < count; ++i) sum += RandomRange(1, diplomacy::DieSize(size));
  return diplomacy::ClampToInt(sum);
}

int RollDiceFractionalCount(float count, float size, float base) {
  const int die = diplomacy::DieSize(TruncateToInt(size));
  std::int64_t sum = 0;
  for (std::int64_t rolled = 0; rolled < count && rolled < std::numeric_limits<int>::max(); ++rolled) {
    sum += RandomRange(1, die);
  }
  return TruncateToInt(static_cast<double>(sum) + static_cast<double>(base));
}

int GetDelayAllianceEntryCost(int country) {
  return diplomacy::EntryCost(country, &sScenarioConstants::DelayEntryValues);
}

int GetHasteAllianceEntryCost(int country) {
  return diplomacy::EntryCost(country, &sScenarioConstants::HasteEntryValues);
}

int GetChangeOrientationCost(int country) {
  const cCountry* c = Country(country);
  return c ? diplomacy::NotNegative(c->politicalStrength) : 0;
}

int GetExertPressureCost(int actor, int target) {
  const cCountry* a = Country(actor);
  const cCountry* b = Country(target);
  if (!a || !b) return 0;
  if (a->SharesOrientationWith(*b)) return diplomacy::NotNegative(b->politicalStrength);
  const float factor = Constants().ExertPressureValues(6);
  return diplomacy::NotNegative(TruncateToInt(factor * static_cast<float>(b->politicalStrength)));
}

int GetExertPressureChance(int actor, int target) {
  const cCountry* a = Country(actor);
  const cCountry* b = Country(target);
  if (!a || !b) return 0;
  if (a->SharesOrientationWith(*b)) return 100;
  const float factor = Constants().ExertPressureValues(b->orientation >= 0 && b->orientation <= 2 ? 5 : 4);
  return TruncateToInt(static_cast<float>(100 - static_cast<std::int64_t>(b->politicalStrength)) * factor);
}

int GetCoupDetatCost(int actor, int target) {
  const cCountry* b = Country(target);
  if (!Country(actor) || !b) return 0;
  return diplomacy::NotNegative(TruncateToInt(Constants().CoupValues(3) * static_cast<float>(b->politicalStrength)));
}

int GetCoupDetatChance(int actor, int target) {
  const cCountry* b = Country(target);
  if (!Country(actor) || !b) return 0;
  const float factor = Constants().CoupValues(b->orientation <= 2 ? 1 : 2);
  return TruncateToInt(static_cast<float>(100 - static_cast<std::int64_t>(b->politicalStrength)) * factor);
}

bool HasKnownPolitics(int number) {
  const cCountry* country = Country(number);
  if (!country) {
    LogFormat(u"Diplomacy refused: there is no country %i", number);
    return false;
  }
  if (country->alliance < kNeutral || country->alliance > kCominternLeader) {
    LogFormat(u"Diplomacy refused: %s has alliance %i, outside 0 to 6", country->name, country->alliance);
    return false;
  }
  if (diplomacy::Camp(country->orientation) < 0) {
    LogFormat(u"Diplomacy refused: %s has orientation %i, outside 0 to 5", country->name, country->orientation);
    return false;
  }
  return true;
}

bool JoinAllianceIfLed(cCountry& country, int alliance) {
  if (!gGame || !GetAllianceLeader(*gGame, alliance)) {
    LogFormat(u"%s cannot join alliance %i: nobody leads it; the alliance entry stays at %i", country.name, alliance,
              country.allianceEntry);
    return false;
  }
  country.JoinAlliance(alliance);
  return true;
}

}  // namespace tr
