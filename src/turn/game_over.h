// The end of the game: whether the war is over after this impulse, the
// alliances' result and the countries' individual scores, and the counts of
// victory points and strength they are made of.
#pragma once

#include <string_view>

namespace tr {

class cCountry;
class cGame;

// The leader of the alliance 1..3, or of the leader code 4..6 itself; null
// for any other code and when nobody leads it.
cCountry* GetAllianceLeader(const cGame& game, int alliance);
// Some active country is human-controlled.
bool IsAnyHumanPlayer(const cGame& game);
// The victory points of the cities held by members and leader of the
// alliance (4..6 count as 1..3); -1 for another code. A city on a hex without
// controller is logged and left out, here and in the score.
int CountAllianceVictoryPoints(const cGame& game, int alliance);
// Strength of the country's land and air units, hit points of its ships (on
// the map, aboard and in the reserves), and victory and production points
// of the cities it holds, truncated.
int ComputeCountryScore(const cGame& game, int countryId);

// The key of the result text for the alliances' victory points.
std::string_view GameResultKey(int allies, int axis, int comintern);

// Whether a game without an active human country is over (the default). The
// headless autoplay runner, which gives every country to the computer, turns
// this off for its run so that the war goes on.
void SetGameEndsWithoutHumans(bool ends);

// Counts the alliances' victory points and the individual scores at every
// check; sets the game-over flag when the war has ended and then shows the
// result and the top 20 scores.
void CheckGameOver(cGame& game);

}  // namespace tr
