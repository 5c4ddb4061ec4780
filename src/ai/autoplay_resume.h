// The check that a saved game plays on as the unbroken game does. One game is
// played from a seed with a save at a given impulse and goes on to the end;
// the save is then loaded into a fresh game which carries the random
// generator's state over from the save point and plays to the same end. From
// the save point on, the two must log the same lines, end with the same
// summary and save the same files.
#pragma once

#include <cstdint>
#include <ostream>
#include <set>

#include "world/scenario_check.h"

namespace tr {

struct sResumeCheck {
  sGameFolderArgs folder;  // the game to start from; saveAs names the save point's folder
  long impulses = 0;       // the end, counted from the start
  long resumeAt = 0;       // the impulse after which the game is saved, 1 to impulses - 1
  std::uint32_t seed = 0;
  std::set<int> passive;
};

// Prints "resume_check=match"; "resume_check=plays_alike" when the logs and
// summaries agree but the final saves do not (the files are named);
// "resume_check=differs" with the first difference; or "resume_check=skipped"
// when the game ended before the save point. The final saves are left as
// "<name>_one_go" and "<name>_resumed" beside the save point. Returns 0 on a
// match or a skip, 4 otherwise, 3 when an invariant broke, 1 when a save failed.
int RunResumeCheck(const sResumeCheck& check, std::ostream& out, std::ostream& errors);

}  // namespace tr
