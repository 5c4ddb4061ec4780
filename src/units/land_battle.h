// Pieces of the land battle shared between its files: the retreat of a
// defender that gave way.
#pragma once

#include <string>
#include <vector>

namespace tr {

class cJednostkaLadowa;
struct sAttack;

// The direction 0..5 the defender retreats in, scoring the free hexes it may
// enter by how far they lie from the attackers (ties drawn); -1 when none is
// taken. The log lines of the scoring are appended to `lines` for the caller
// to write.
int ChooseRetreatDirection(const sAttack& attack, const cJednostkaLadowa& defender,
                           std::vector<std::u16string>& lines);

// Moves the defender one hex in the direction; the hex it enters changes
// hands when its controller is at war with the defender's owner.
void RetreatDefender(cJednostkaLadowa& defender, int direction);

}  // namespace tr
