// Attacks on a convoy as it passes a sea zone: one enemy fleet, then every
// enemy raider there, may sink part of its load.
#pragma once

namespace tr {

class cSeaGraph;
struct sConvoyResult;

// Appends the zone to the convoy's route text and, in open sea while some of
// the load is left, lets the enemies of the owner there attack it. The end
// line flag closes the route text (the last zone of the route).
void AttackConvoysInZone(cSeaGraph& graph, int convoyOwner, int nodeId, sConvoyResult& convoy, bool endLine);

// The chance in percent that an attacker hits the convoy: the base chance
// scaled by a factor chosen by the load still afloat.
int ConvoyAttackChance(const sConvoyResult& convoy);

}  // namespace tr
