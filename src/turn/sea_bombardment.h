// Air strikes on the ships and the port of a sea node, and the nuclear strike
// on a port: the port may shrink, ships may be hit and sunk, and the account
// goes into the attack's result record and the turn reports.
#pragma once

namespace tr {

class cUnit;
struct sCombatResult;
struct sHex;
struct sWezelGrafuMorz;

// The strike of an air unit or a carrier's aircraft on the node; the target
// hex is the bombed hex (its controller defends a port).
void BombardSeaNode(sWezelGrafuMorz& node, sCombatResult& result, cUnit& attacker, sHex& hex);
// The port falls to size 1 and about half of the ships in it sink.
void NuclearStrikeOnPort(sWezelGrafuMorz& node, sCombatResult& result);

}  // namespace tr
