// Ships: what the unit operations mean for a ship. The naval operations
// answer as a ship that can do nothing until the naval code is in place; the
// carrier's interception duel lives with the air war.
#include "units/jednostka_morska.h"

namespace tr {

cJednostkaMorska::~cJednostkaMorska() = default;

void cJednostkaMorska::AssignCommander() {}
int cJednostkaMorska::ComputeCombatValue() { return 0; }
int cJednostkaMorska::ComputeMoveRange(int) { return 0; }
void cJednostkaMorska::Kill() {}

int cJednostkaMorska::MarkPlacementHexes(int) { return 0; }
void cJednostkaMorska::OnBombarded(sCombatResult*, cUnit*, sHex*) {}
void cJednostkaMorska::Sink(int) {}

}  // namespace tr
