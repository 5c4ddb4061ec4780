// The end of impulse: the fixed sequence of steps between two impulses, run
// on the worker after the last country of an impulse (full) and once in its
// short form when a new game starts. Also the choice of a new alliance leader
// that the surrender check uses.
#pragma once

#include <cstdint>

namespace tr {

class cCountry;
class cGame;

// full 0 skips the rules that belong to a played impulse (surrenders to
// game over, convoy results, reserve production, war economy, sea battles);
// the date still moves on once.
void EndOfImpulse(cGame& game, std::uint8_t full);

// The steps of the end of impulse that change units, cities, ports and
// countries in place; each is one short pass.
void AgeMulberries(cGame& game);
void UpdateEntrenchment(cGame& game);
void RepairProductionAndPorts(cGame& game);
void RefreshUnitsAndFleets(cGame& game, bool full);
void RefreshCountries(cGame& game, bool full);
// The next impulse: turn counter, turns left and the date.
void AdvanceDate(cGame& game);

// A saved game does not keep the month whose once-a-month steps last ran; its
// date tells it, since every impulse played ended with those steps for its
// month. Without this, the first end of impulse after every load would age
// the artificial harbours again.
void RestoreLastMonthProcessed(cGame& game);

// Every month needs at least one impulse for the date to move on: a month
// with none is a data error (logged, exit code 1). Run once after loading.
void CheckImpulsesPerMonth(const cGame& game);

// Whether the impulse falls on the first impulse of a month by the turn
// counter: (turn - 1) is a multiple of the current month's impulses.
bool IsMonthlyImpulse(const cGame& game);

// The active country of the alliance (a leader code counts as its alliance)
// with the highest political strength, the later one on a tie; null (logged)
// when none is left.
cCountry* ChooseNewAllianceLeader(cGame& game, int alliance);

}  // namespace tr
