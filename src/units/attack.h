// A land attack on one hex: the defender, the target hex and up to six
// attackers, one per hex side. Attacker d stands on the neighbour of the
// target in direction d and attacks across that side. The mouse handler and
// the computer opponent build one by value; the player control keeps its own
// copy while the attack is planned.
#pragma once

#include <array>
#include <cstdint>

#include "world/hex_geometry.h"

namespace tr {

class cCountry;
class cJednostka;

struct sAttack {
  cJednostka* defender = nullptr;  // not owned
  std::int32_t targetX = 0;
  std::int32_t targetY = 0;
  std::array<cJednostka*, kDirectionCount> attackers{};  // by side; not owned

  // Empties the record: no defender, no attackers, target (0, 0).
  void Clear();
  // A side outside 0..5 changes nothing.
  void SetAttacker(int side, cJednostka* unit);
  void ClearAttacker(int side);
  int CountAttackers() const;
  bool IsAttacker(const cJednostka* unit) const;
  // The owner of the attacker on the lowest side that holds one; null when none.
  cCountry* GetFirstAttackerCountry() const;
};

}  // namespace tr
