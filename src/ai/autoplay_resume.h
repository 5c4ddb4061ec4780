// The check that a saved game plays on as the unbroken game does. One game is
// played from a seed with a save at a given impulse and goes on to the end;
// the save is then loaded into a fresh game which carries the random
// generator's state over from the save point and plays to the same end. From
// the save point on, the two must log the same lines, end with the same
// summary and save the same files.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "world/scenario_check.h"

namespace tr {

// Each verdict exits with a code of its own, so a caller can tell a check
// that passed from one that checked nothing or found the games apart.
enum eResumeVerdictCode {
  kResumeMatch = 0,
  kResumeDiffers = 4,
  kResumePlaysAlike = 5,
  kResumeChosenAgain = 6,  // current_country_chosen_again
  kResumeSkipped = 7,
};

struct sResumeCheck {
  sGameFolderArgs folder;  // the game to start from; saveAs names the save point's folder
  long impulses = 0;       // the end, counted from the start
  long resumeAt = 0;       // the impulses played before the save point, 0 to impulses - 1
  int resumeTurn = 0;      // and the country turns of the next impulse; 0: the save point ends an impulse
  std::uint32_t seed = 0;
  std::set<int> passive;
};

// What one game did from the save point on.
struct sPlayed {
  std::vector<std::u16string> log;
  std::string summary;  // the lines about the game, not about the run
  std::map<std::string, std::string> files;  // the final save, by file name
};

// The two games of a check, and where their saves part.
struct sResumeOutcome {
  sPlayed whole;
  sPlayed resumed;
  std::vector<std::string> loadedApart;  // of the save point and the loaded game saved again at once
  int currentAtSave = 0;                 // the current country's number at the save point
  int currentAtLoad = 0;                 // and the one the load chose
  // The lines the one-go game logs first when its current country, chosen
  // before the end of impulse that made it a dummy, passes its turn on to the
  // country the load chose: empty when that is not the case.
  std::vector<std::u16string> oneGoOnly;
};

// Prints "resume_check=match"; "resume_check=plays_alike" when the logs and
// summaries agree but the final saves do not (the files are named);
// "resume_check=differs" with the first difference; or "resume_check=skipped"
// when the game ended before the save point; "resume_check=current_country_chosen_again"
// when the loaded game holds what was saved, the load chose another current
// country than the one the saved game had, which had become a dummy, and the
// games are alike but for the lines of its passed turn (the countries and
// the lines are named). The
// final saves are left as "<name>_one_go" and "<name>_resumed" beside the
// save point, the loaded game saved again at once as "<name>_loaded".
// Returns the verdict's code below, 3 when an invariant broke, 1 when a save
// failed.
int RunResumeCheck(const sResumeCheck& check, std::ostream& out, std::ostream& errors);

// The verdict and the report of RunResumeCheck over two games played.
int ReportResume(const sResumeOutcome& outcome, std::ostream& out);

}  // namespace tr
