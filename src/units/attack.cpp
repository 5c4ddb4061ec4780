// The record operations of a planned land attack.
#include "units/attack.h"

#include <algorithm>

#include "units/jednostka.h"

namespace tr {

void sAttack::Clear() { *this = sAttack{}; }

void sAttack::SetAttacker(int side, cJednostka* unit) {
  if (side >= 0 && side < kDirectionCount) attackers[side] = unit;
}

void sAttack::ClearAttacker(int side) { SetAttacker(side, nullptr); }

int sAttack::CountAttackers() const {
  return static_cast<int>(std::count_if(attackers.begin(), attackers.end(), [](const cJednostka* u) { return u; }));
}

bool sAttack::IsAttacker(const cJednostka* unit) const {
  return unit && std::find(attackers.begin(), attackers.end(), unit) != attackers.end();
}

cCountry* sAttack::GetFirstAttackerCountry() const {
  for (const cJednostka* unit : attackers) {
    if (unit) return unit->GetOwnerCountry();
  }
  return nullptr;
}

}  // namespace tr
