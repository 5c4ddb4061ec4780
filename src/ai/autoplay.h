// The headless autoplay runner: a loaded game played with the computer
// opponent on every side, impulse after impulse, with the game's invariants
// checked after every country's turn and every end of impulse, and a
// machine-readable summary at the end. tools/autoplay.cpp is its program.
#pragma once

#include <array>
#include <chrono>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "foundation/settings.h"

namespace tr {

class cAiPhaseObserver;
class cGame;
class cPhaseTimer;

// What kept units out of the war, counted after every impulse: a stay counts
// once, when it reaches the limit.
struct sAutoplayStays {
  static constexpr int kLongStay = 10;   // impulses
  int longAboard = 0;          // land units aboard a ship kLongStay impulses running
  int longestAboard = 0;       // impulses of the longest stay aboard
  int longReserveWaits = 0;    // delivered reserve units not placed for kLongStay impulses
  std::map<int, int> aboard;   // impulses aboard so far, by unit number
  std::map<int, int> waiting;  // impulses delivered and still in the reserve, by unit number
  // Land units of a country at war standing on one hex kLongStay impulses
  // running or more, whatever their orders: one record per such stay, kept
  // up to date while it lasts.
  // A stay is a fault when the unit spent this many of its impulses with no
  // target (no order or a reserve order) while its country had a front to
  // send it to.
  static constexpr int kAimlessStay = 20;  // impulses
  struct sStay {
    int unit = 0, owner = 0, x = -1, y = -1;
    int from = 0, to = 0;   // impulses
    int aimless = 0;        // impulses of the stay with no order or a reserve order
    int needed = 0;         // of them, those in which its country had a front
    std::string name;
    std::set<int> orders;   // every order the unit held during the stay
  };
  struct sStanding {
    int x = -1, y = -1, from = 0, aimless = 0, needed = 0;
    std::set<int> orders;
    int record = -1;  // its index in longStays once it is long
  };
  std::map<int, sStanding> standing;  // the running stay, by unit number
  std::vector<sStay> longStays;
  // Land units stepping back and forth: the impulses of a run in which every
  // hex is the one of two impulses before and not the last one.
  static constexpr int kShortAlternation = 5;  // impulses
  int shortAlternations = 0;                   // runs reaching kShortAlternation
  int longAlternations = 0;                    // runs reaching kLongStay
  struct sTrack {
    int x = -1, y = -1;              // hex at the last impulse's end
    int beforeX = -1, beforeY = -1;  // and at the end of the one before
    int alternating = 0;             // impulses of the running alternation, 0 none
  };
  std::map<int, sTrack> tracks;      // by unit number
  std::vector<std::string> notes;  // one line per long alternation: who, where, when
};

struct sAutoplayTiming {
  std::vector<double> impulseMs;       // wall time of each impulse played
  std::map<std::string, double> phaseMs;  // CPU time per phase; nested phases count in their callers too
};

class cAutoplay {
 public:
  // Makes every country computer-controlled, sets every delay to 0 and starts play, so the first
  // country of the impulse is current in state 9. The game must outlive it.
  explicit cAutoplay(cGame& game);
  ~cAutoplay();
  cAutoplay(const cAutoplay&) = delete;
  cAutoplay& operator=(const cAutoplay&) = delete;

  // Plays every country of the impulse and the end of impulse. False when an
  // invariant broke (violation() names it), the game is over or there is no
  // country to play.
  bool PlayImpulse();
  // Plays the current country's turn and makes the next one current, ending
  // the impulse after the last country. False as PlayImpulse.
  bool PlayTurn();

  // The countries of these numbers play no turn: they only pass it on.
  void SetPassiveCountries(std::set<int> countries) { passive_ = std::move(countries); }

  int impulsesRun() const { return impulsesRun_; }
  // The country turns played to their end, the one that ended the game among them.
  int turnsPlayed() const { return turnsPlayed_; }
  const std::string& violation() const { return violation_; }
  const sAutoplayTiming& timing() const { return timing_; }
  const sAutoplayStays& stays() const { return stays_; }

  // key=value lines: the date, the result as the game-over check words it,
  // the long stays, the losses each country dealt another, each country's
  // forces; the timing lines begin with "time_".
  void PrintSummary(std::ostream& out) const;

 private:
  bool Check(const std::string& after);
  void CountStays();
  void CountStandingAndAlternating();

  cGame& game_;
  sAutoplayTiming timing_;  // before the timer, which adds to it
  sAutoplayStays stays_;
  std::unique_ptr<cPhaseTimer> timer_;
  cAiPhaseObserver* previousObserver_ = nullptr;
  std::array<float, kDelayCount> savedDelays_{};  // the settings' delays, given back at the end
  bool savedPausesSleep_ = true;
  int impulsesRun_ = 0;
  int turnsPlayed_ = 0;
  bool impulseBegun_ = false;  // a turn of the impulse under way was played
  std::chrono::steady_clock::time_point impulseStart_;
  std::string violation_;
  std::set<int> passive_;
};

// Arguments: --root <game folder>, --scenario <name> or --save <name>,
// --impulses <n> or --turns <n> (country turns, the impulse ending after its
// last country), --seed <s> or, for a saved game, --random-state <n> (the
// generator goes on from that state once the game is loaded, as it stood in
// the run that saved it), --passive <country number> (repeatable: that
// country's turns do nothing), optionally --save-as <name> with --clock
// "YYYY-MM-DD hh:mm" to stamp the save with a fixed time; a run that saves
// prints "random_state=" for the next. For tests, --resume-check <impulse>
// with --save-as, and --resume-turn <n> for a save after n country turns of
// the next impulse: the check of autoplay_resume.h instead of a plain run.
// For hand-over checks, --save-each-turn-as <name> saves after every country's
// turn, the game's last among them, as "<name>-<turns played>" and prints
// "passed_turn=<turns>:<country>" for a turn a dummy country passed on;
// --save-loaded-as <name> saves the loaded game before it plays. A run that
// saves prints "current_country=" for the country current in its save, and a
// loaded game "loaded_current_country=" for the one its load chose.
// Installs the game's turn steps for the run. Returns 0 when every impulse
// was played (or the game ended) and the save, if asked, was written; 1 when
// the save failed; 2 on bad arguments; 3 when an invariant broke (its
// description goes to errors); the resume check's verdicts have codes of
// their own (autoplay_resume.h).
int RunAutoplay(const std::vector<std::string>& args, std::ostream& out, std::ostream& errors);

}  // namespace tr
