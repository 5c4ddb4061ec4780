// The diplomatic actions countries spend diplomacy points on: delaying and
// hastening their own alliance entry, elections, changing orientation,
// pressure on and coups in neutral countries, and declaring war. Each action
// is a check that says whether it is possible now and writes the player's
// text (a refusal, or the cost and chance), and a perform that pays, rolls
// and changes the countries, writing the result text. Performs do not repeat
// their checks: the diplomacy panel and the computer opponent check first.
// Countries are given by number (from 1); texts are string-base texts
// formatted with the action's values.
#pragma once

#include <cstdint>
#include <string>

namespace tr {

class cCountry;

// Shared operations. The alliance entry and the social unrest are kept within 0..100.
void AddPercentClampedInt(cCountry& country, std::int64_t delta);
void AddPercentClampedFloat(cCountry& country, float delta);
// The sum of count draws of RandomRange(1, size) plus base; base alone for a
// count below 1.
int RollDice(int count, int size, int base);
// Dice whose count may be fractional: dice are rolled while the count so far
// is below it (2.5 rolls three); the size is truncated, the base is not, and
// the total is truncated at the end.
int RollDiceFractionalCount(float count, float size, float base);
// A constant truncated toward zero, kept within the int range (NaN gives 0).
int TruncateToInt(double value);

// Costs in diplomacy points and chances in percent, truncated toward zero.
// Costs are never negative; the delay and hasten costs are at least 1.
int GetDelayAllianceEntryCost(int country);
int GetHasteAllianceEntryCost(int country);
int GetChangeOrientationCost(int country);
int GetExertPressureCost(int actor, int target);
int GetExertPressureChance(int actor, int target);
int GetCoupDetatCost(int actor, int target);
int GetCoupDetatChance(int actor, int target);
int GetDeclareWarCost(int declarer, int target);
int GetDeclareWarUnrestIncrease(int declarer, int target);

// A country the rules cannot place: a number that names no country, an
// alliance outside 0..6 or an orientation outside 0..5 (an event can set
// them). Such a country is logged and every action involving it is refused.
bool HasKnownPolitics(int country);

// The seven actions. Checks return true when the action may be performed.
bool CanDelayAllianceEntry(int country, std::u16string& text);
void DelayAllianceEntry(int country, std::u16string& text);
bool CanHasteAllianceEntry(int country, std::u16string& text);
void HasteAllianceEntry(int country, std::u16string& text);
bool CanHoldElections(int country, std::u16string& text);
void HoldElections(int country, int winningOrientation, std::u16string& text);
// A possible change writes no text.
bool CanChangeOrientation(int country, std::u16string& text);
void ChangeOrientation(int country, int newOrientation, std::u16string& text);
bool CanExertPressure(int actor, int target, std::u16string& text);
void ExertPressure(int actor, int target, std::u16string& text);
bool CanStageCoupDetat(int actor, int target, std::u16string& text);
void StageCoupDetat(int actor, int target, std::u16string& text);
bool CanDeclareWar(int declarer, int target, std::u16string& text);
// Returns the case 1..6 that applied, or 0 when the declaration was refused
// (a country the rules cannot place, or a country declaring on itself).
// With pay clear (the event effect) the declarer keeps its points and unrest.
int DeclareWar(int declarer, int target, bool pay);

// Joins the alliance 1..3 unless it has no leader: then the country stays
// where it is, the refusal is logged, and false is returned.
bool JoinAllianceIfLed(cCountry& country, int alliance);

}  // namespace tr
