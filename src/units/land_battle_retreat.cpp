// Where a defender that gave way goes: the free neighbour it may enter that
// lies farthest from the attackers, and the move itself.
#include <cstdlib>

#include "foundation/format.h"
#include "foundation/random.h"
#include "units/attack.h"
#include "units/jednostka_ladowa.h"
#include "units/land_battle.h"
#include "world/gra.h"

namespace tr {
namespace {

// Opposite the attacker scores highest, beside it lowest.
int SideScore(int attackerSide, int direction) {
  switch (std::abs(attackerSide - direction)) {
    case 3: return 100;
    case 2:
    case 4: return 10;
    case 1:
    case 5: return 1;
    default: return 0;
  }
}

bool MayRetreatInto(const sHex& hex, const cJednostkaLadowa& defender) {
  if (hex.unit || hex.controller == 0) return false;
  const int controller = hex.controller;
  if (controller == defender.owner) return true;
  if (defender.owner < 1) return false;
  const cCountry* own = defender.GetOwnerCountry();
  return (own && own->IsAlly(controller)) || gGame->relations.IsAtWar(controller, defender.owner);
}

}  // namespace

int ChooseRetreatDirection(const sAttack& attack, const cJednostkaLadowa& defender,
                           std::vector<std::u16string>& lines) {
  const cMap& map = *gGame->map;
  const int x = defender.x;
  const int y = defender.y;
  int best = 0;
  int chosen = -1;
  for (int d = 0; d < kDirectionCount; ++d) {
    if (!map.HasNeighbour(x, y, d)) continue;
    const sHex* hex = map.GetNeighbour(x, y, d);
    if (!hex || !MayRetreatInto(*hex, defender)) continue;
    int score = 0;
    for (int side = 0; side < kDirectionCount; ++side) {
      if (side != d && attack.attackers[side] && map.HasNeighbour(x, y, side)) score += SideScore(side, d);
    }
    lines.push_back(Format(u"Prawid\u010F\u017C\u02DDowe pole na kier %i ma wartosc %i", d, score));
    if (score > best || (score == best && RandomRange(1, 2) == 1)) {
      best = score;
      chosen = d;
    }
  }
  return chosen;
}

void RetreatDefender(cJednostkaLadowa& defender, int direction) {
  cMap& map = *gGame->map;
  const sPoint to = map.GetNeighbourPoint(defender.x, defender.y, direction);
  if (!map.IsInside(to.x, to.y)) return;
  sHex& from = *map.GetHex(defender.x, defender.y);
  if (from.unit == &defender) from.unit = nullptr;
  sHex& hex = *map.GetHex(to.x, to.y);
  hex.unit = &defender;
  defender.x = to.x;
  defender.y = to.y;

  const int own = defender.owner;
  if (own < 1 || hex.controller == 0 || !gGame->relations.IsAtWar(own, hex.controller)) return;
  // Ground taken from the enemy goes back to an ally that owns it.
  const cCountry* ownCountry = defender.GetOwnerCountry();
  if (hex.controller != hex.owner && hex.owner != own && hex.owner != 0 && ownCountry && ownCountry->IsAlly(hex.owner)) {
    hex.SetController(hex.owner);
  } else {
    hex.SetController(own);
  }
}

}  // namespace tr
