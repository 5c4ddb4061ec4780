#include "ai/autoplay.h"

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iomanip>
#include <sstream>
#include <string_view>

#include "ai/ai_order.h"
#include "ai/ai_pacing.h"
#include "ai/ai_phase.h"
#include "ai/autoplay_resume.h"
#include "ai/country_ai.h"
#include "ai/game_invariants.h"
#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "foundation/random.h"
#include "foundation/settings.h"
#include "foundation/text.h"
#include "scenario/scenario_info.h"
#include "turn/game_over.h"
#include "turn/game_steps.h"
#include "turn/theads.h"
#include "units/jednostka_ladowa.h"
#include "world/gra.h"
#include "world/scenario_check.h"

namespace tr {
namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The CPU time the calling thread has used, which plays every turn here: on a
// shared machine a phase's wall time mostly measures the wait for a core.
double ThreadCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

}  // namespace

// Adds each phase's CPU time to its total; a phase inside another counts in both.
class cPhaseTimer : public cAiPhaseObserver {
 public:
  explicit cPhaseTimer(std::map<std::string, double>& totals) : totals_(totals) {}
  void PhaseBegun(std::string_view, float) override { starts_.push_back(ThreadCpuMilliseconds()); }
  void PhaseEnded(std::string_view phase) override {
    if (starts_.empty()) return;
    totals_[std::string(phase)] += ThreadCpuMilliseconds() - starts_.back();
    starts_.pop_back();
  }

 private:
  std::map<std::string, double>& totals_;
  std::vector<double> starts_;
};

namespace {

struct sAutoplayArgs {
  sGameFolderArgs folder;
  long impulses = -1;
  unsigned long seed = 0;
  bool seeded = false;
  std::set<int> passive;
  long turns = -1;  // country turns to play instead of impulses
  bool carriesRandom = false;  // the seed is a generator state carried over from an earlier run
  long resumeAt = -1;  // -1: no resume check
  long resumeTurn = 0;  // 0: the save point ends an impulse
  std::string saveEachTurnAs;  // a save after every country's turn, "<name>-<turns played>"
  std::string saveLoadedAs;    // the loaded game saved again at once, before it plays
};

bool ParseNumber(const std::string& text, long low, long& value) {
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return !text.empty() && end && *end == '\0' && value >= low;
}

bool ParseArgs(const std::vector<std::string>& args, sAutoplayArgs& parsed) {
  if (args.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < args.size(); i += 2) {
    const std::string& key = args[i];
    const std::string& value = args[i + 1];
    long number = 0;
    if (ParseGameFolderArg(key, value, parsed.folder)) continue;
    if (key == "--impulses" && ParseNumber(value, 0, number)) {
      parsed.impulses = number;
    } else if (key == "--seed" && ParseNumber(value, 0, number) && number <= 0xFFFFFFFFL) {
      parsed.seed = static_cast<unsigned long>(number);
      parsed.seeded = true;
    } else if (key == "--passive" && ParseNumber(value, 1, number) && number <= 255) {
      parsed.passive.insert(static_cast<int>(number));
    } else if (key == "--random-state" && ParseNumber(value, 0, number) && number <= 0xFFFFFFFFL) {
      parsed.seed = static_cast<unsigned long>(number);
      parsed.seeded = parsed.carriesRandom = true;
    } else if (key == "--turns" && ParseNumber(value, 1, number)) {
      parsed.turns = number;
    } else if (key == "--resume-check" && ParseNumber(value, 0, number)) {
      parsed.resumeAt = number;
    } else if (key == "--resume-turn" && ParseNumber(value, 1, number)) {
      parsed.resumeTurn = number;
    } else if (key == "--save-each-turn-as" && !value.empty()) {
      parsed.saveEachTurnAs = value;
    } else if (key == "--save-loaded-as" && !value.empty()) {
      parsed.saveLoadedAs = value;
    } else {
      return false;
    }
  }
  // Exactly one of the two lengths; --seed and --random-state both set the seed,
  // so a second one is refused by the count below.
  if ((parsed.impulses >= 0) == (parsed.turns >= 0)) return false;
  if (std::count(args.begin(), args.end(), "--seed") + std::count(args.begin(), args.end(), "--random-state") != 1) {
    return false;
  }
  // The resume check saves its save point under --save-as, before the end;
  // at the start of the game only after a country's turn.
  if (parsed.resumeTurn != 0 && parsed.resumeAt < 0) return false;
  // The hand-over saves are for plain runs; a loaded game needs a save to come from.
  if (parsed.resumeAt >= 0 && (!parsed.saveEachTurnAs.empty() || !parsed.saveLoadedAs.empty())) return false;
  if (!parsed.saveLoadedAs.empty() && parsed.folder.save.empty()) return false;
  if (parsed.resumeAt >= 0 &&
      (parsed.turns >= 0 || parsed.carriesRandom || parsed.resumeAt >= parsed.impulses ||
       (parsed.resumeAt == 0 && parsed.resumeTurn == 0) || parsed.folder.saveAs.empty())) {
    return false;
  }
  return GameFolderArgsValid(parsed.folder) && parsed.seeded &&
         (parsed.folder.clock.empty() || !parsed.folder.saveAs.empty());
}

sGameFolderArgs WithSaveAs(sGameFolderArgs folder, const std::string& name) {
  folder.saveAs = name;
  return folder;
}

// The game and the turn steps of one run, released also when the run throws.
struct sRunScope {
  sRunScope() { InstallGameSteps(); }
  ~sRunScope() {
    UninstallGameSteps();
    if (gGame == game) gGame = nullptr;
    delete game;
  }
  cGame* game = nullptr;
};

}  // namespace

cAutoplay::cAutoplay(cGame& game) : game_(game), timer_(std::make_unique<cPhaseTimer>(timing_.phaseMs)) {
  for (const auto& country : game_.countries) country->humanControlled = 0;
  SetGameEndsWithoutHumans(false);
  // Nobody watches a headless run: no computer move waits.
  savedDelays_ = gDelays;
  gDelays.fill(0.0f);
  savedPausesSleep_ = SetAiPausesSleep(false);
  previousObserver_ = SetAiPhaseObserver(timer_.get());
  game_.StartGame();
}

cAutoplay::~cAutoplay() {
  gDelays = savedDelays_;
  SetAiPausesSleep(savedPausesSleep_);
  SetAiPhaseObserver(previousObserver_);
  SetGameEndsWithoutHumans(true);
}

bool cAutoplay::Check(const std::string& after) {
  std::string found;
  {
    AiPhaseScope scope("CheckInvariants");
    found = FindInvariantViolation(game_);
  }
  if (found.empty()) return true;
  violation_ = "after " + after + ": " + found;
  return false;
}

bool cAutoplay::PlayImpulse() {
  const int before = impulsesRun_;
  while (PlayTurn()) {
    if (impulsesRun_ != before) return true;
  }
  return false;
}

bool cAutoplay::PlayTurn() {
  if (!violation_.empty() || game_.gameOver) return false;
  if (!impulseBegun_) {
    impulseStart_ = Clock::now();
    impulseBegun_ = true;
  }
  cCountry* country = game_.playerControl.currentCountry;
  if (!country) {
    violation_ = "no country is current";
    return false;
  }
  const double turnStart = ThreadCpuMilliseconds();
  if (passive_.count(country->id)) {
    LogFormat(u"[Autoplay] %ls is passive: its turn is passed on", country->name);
    GameLockGuard lock;
    country->finishedTurn = 1;
  } else if (!PlayCurrentCountryTurn(game_)) {
    return false;
  }
  timing_.phaseMs["CountryTurn"] += ThreadCpuMilliseconds() - turnStart;
  if (!Check("the turn of " + Utf16ToUtf8(country->name))) return false;
  const double start = ThreadCpuMilliseconds();
  const eNextCountry next = MoveToNextCountry(game_);
  if (next == eNextCountry::kStopped) return false;
  ++turnsPlayed_;
  if (next == eNextCountry::kSameImpulse) {
    timing_.phaseMs["NextCountry"] += ThreadCpuMilliseconds() - start;
    return true;
  }
  timing_.phaseMs["EndOfImpulse"] += ThreadCpuMilliseconds() - start;
  impulseBegun_ = false;
  ++impulsesRun_;
  CountStays();
  timing_.impulseMs.push_back(MillisecondsSince(impulseStart_));
  return Check("the end of impulse " + std::to_string(impulsesRun_)) && !game_.gameOver;
}

void cAutoplay::CountStays() {
  // A unit's run goes on from the last impulse's, or starts at 1.
  const auto step = [](const std::map<int, int>& before, std::map<int, int>& now, int id) {
    const auto last = before.find(id);
    return now[id] = last == before.end() ? 1 : last->second + 1;
  };
  std::map<int, int> aboard;
  for (const auto* list : {&game_.aboardUnitsA, &game_.aboardUnitsB}) {
    for (const auto& unit : *list) {
      const int run = step(stays_.aboard, aboard, unit->id);
      if (run == sAutoplayStays::kLongStay) ++stays_.longAboard;
      stays_.longestAboard = std::max(stays_.longestAboard, run);
    }
  }
  stays_.aboard = std::move(aboard);
  std::map<int, int> waiting;
  for (const auto& unit : game_.reservePool) {
    if (unit->availableInTurns > 0) continue;
    if (step(stays_.waiting, waiting, unit->id) == sAutoplayStays::kLongStay) ++stays_.longReserveWaits;
  }
  stays_.waiting = std::move(waiting);
  CountStandingAndAlternating();
}

void cAutoplay::CountStandingAndAlternating() {
  const int impulse = impulsesRun_;
  std::map<int, sAutoplayStays::sTrack> tracks;
  std::map<int, sAutoplayStays::sStanding> standing;
  const auto note = [&](const char* what, const cJednostkaLadowa& unit, int from, const std::string& where) {
    std::ostringstream line;
    line << what << " unit=" << unit.id << " \"" << Utf16ToUtf8(unit.name) << "\" owner=" << unit.owner
         << " order=" << unit.aiOrder << " impulses=" << from << '-' << impulse << ' ' << where;
    stays_.notes.push_back(line.str());
  };
  const auto hex = [](int x, int y) {
    std::ostringstream text;
    text << '(' << x << ',' << y << ')';
    return text.str();
  };
  for (const auto& unit : game_.landUnits) {
    const cCountry* owner = game_.GetCountry(unit->owner);
    if (unit->type != kMulberryType && owner && owner->IsAtWarWithAnyone()) {
      // The stay goes on while the unit stands where it stood at the last impulse's end.
      sAutoplayStays::sStanding stay;
      if (const auto last = stays_.standing.find(unit->id);
          last != stays_.standing.end() && last->second.x == unit->x && last->second.y == unit->y) {
        stay = last->second;
      } else {
        stay.x = unit->x;
        stay.y = unit->y;
        stay.from = impulse;
      }
      stay.orders.insert(unit->aiOrder);
      if (unit->aiOrder == kAiOrderNone || unit->aiOrder == kAiOrderReserve) {
        ++stay.aimless;
        // The fronts its country's computer turn saw last: any of them could use it.
        const std::size_t index = static_cast<std::size_t>(owner->id - 1);
        stay.needed += index < game_.countryAi.size() && game_.countryAi[index] &&
                       !game_.countryAi[index]->fronts.empty();
      }
      if (stay.record < 0 && impulse - stay.from + 1 >= sAutoplayStays::kLongStay) {
        stay.record = static_cast<int>(stays_.longStays.size());
        stays_.longStays.push_back({unit->id, unit->owner, unit->x, unit->y, stay.from, impulse, 0, 0,
                                    Utf16ToUtf8(unit->name), {}});
      }
      if (stay.record >= 0) {
        sAutoplayStays::sStay& record = stays_.longStays[stay.record];
        record.to = impulse;
        record.aimless = stay.aimless;
        record.needed = stay.needed;
        record.orders = stay.orders;
      }
      standing[unit->id] = std::move(stay);
    }
    sAutoplayStays::sTrack track;
    if (const auto last = stays_.tracks.find(unit->id); last != stays_.tracks.end()) track = last->second;
    const bool back = unit->x == track.beforeX && unit->y == track.beforeY && (unit->x != track.x || unit->y != track.y);
    track.alternating = back ? (track.alternating > 0 ? track.alternating + 1 : 3) : 0;
    if (track.alternating == sAutoplayStays::kShortAlternation) ++stays_.shortAlternations;
    if (track.alternating == sAutoplayStays::kLongStay) {
      ++stays_.longAlternations;
      note("alternating", *unit, impulse - track.alternating + 1, hex(track.x, track.y) + "/" + hex(unit->x, unit->y));
    }
    track.beforeX = track.x;
    track.beforeY = track.y;
    track.x = unit->x;
    track.y = unit->y;
    tracks[unit->id] = track;
  }
  stays_.tracks = std::move(tracks);
  stays_.standing = std::move(standing);
}

void cAutoplay::PrintSummary(std::ostream& out) const {
  out << "impulses=" << impulsesRun_ << '\n'
      << "date=" << game_.date.impulse << '/' << game_.date.month << '/' << game_.date.year << '\n'
      << "turn=" << game_.turn << '\n'
      << "game_over=" << int(game_.gameOver) << '\n';
  std::string_view result = GameResultKey(CountAllianceVictoryPoints(game_, kAllies),
                                          CountAllianceVictoryPoints(game_, kAxis),
                                          CountAllianceVictoryPoints(game_, kComintern));
  result.remove_prefix(std::min(result.find('_') + 1, result.size()));
  int longest = 0;
  int aimless = 0;
  for (const sAutoplayStays::sStay& stay : stays_.longStays) {
    longest = std::max(longest, stay.to - stay.from + 1);
    aimless += stay.needed >= sAutoplayStays::kAimlessStay;
  }
  out << "result=" << result << '\n'
      << "long_aboard_stays=" << stays_.longAboard << '\n'
      << "longest_aboard=" << stays_.longestAboard << '\n'
      << "long_reserve_waits=" << stays_.longReserveWaits << '\n'
      << "long_stays_at_war=" << stays_.longStays.size() << '\n'
      << "longest_stay_at_war=" << longest << '\n'
      << "aimless_stays_at_war=" << aimless << '\n'
      << "alternating_5=" << stays_.shortAlternations << '\n'
      << "alternating_10=" << stays_.longAlternations << '\n';
  for (const std::string& line : stays_.notes) out << "note=" << line << '\n';
  for (const sAutoplayStays::sStay& stay : stays_.longStays) {
    out << "note=stay unit=" << stay.unit << " \"" << stay.name << "\" owner=" << stay.owner << " orders=";
    const char* comma = "";
    for (const int order : stay.orders) {
      out << comma << order;
      comma = ",";
    }
    out << " impulses=" << stay.from << '-' << stay.to << " aimless=" << stay.aimless << " needed=" << stay.needed
        << " (" << stay.x << ',' << stay.y << ")\n";
  }
  // Who fought whom: the losses each country dealt another, pairs with none left out.
  out << "losses=";
  const char* separator = "";
  for (const auto& from : game_.countries) {
    for (const auto& to : game_.countries) {
      const float dealt = game_.relations.GetLosses(from->id, to->id);
      if (dealt <= 0.0f) continue;
      out << separator << from->id << '>' << to->id << ':' << std::fixed << std::setprecision(1) << dealt;
      separator = ",";
    }
  }
  out << '\n';
  if (!violation_.empty()) out << "violation=" << violation_ << '\n';
  for (const auto& country : game_.countries) {
    const int id = country->id;
    int land = 0;
    int air = 0;
    int naval = 0;
    for (const auto& unit : game_.landUnits) land += unit->owner == id;
    for (const auto& unit : game_.aboardUnitsA) land += unit->owner == id;
    for (const auto& unit : game_.aboardUnitsB) land += unit->owner == id;
    for (const auto& unit : game_.airUnits) air += unit->owner == id;
    for (const auto& unit : game_.navalUnits) naval += unit->owner == id;
    int reserve = 0;
    for (const auto& unit : game_.reservePool) reserve += unit->owner == id;
    int cities = 0;
    int victoryPoints = 0;
    double production = 0.0;
    for (const auto& city : game_.cities) {
      if (!game_.map->IsInside(city->x, city->y) || game_.map->GetHex(city->x, city->y)->controller != id) continue;
      ++cities;
      victoryPoints += city->victoryPoints;
      production += city->productionPoints;
    }
    out << "country=" << id << " name=" << Utf16ToUtf8(country->name) << std::fixed << std::setprecision(2)
        << " pp=" << country->productionPoints << " production=" << production << " land=" << land
        << " air=" << air << " naval=" << naval << " reserve=" << reserve << " cities=" << cities << " vp=" << victoryPoints << '\n';
  }
  out << std::fixed << std::setprecision(3);
  double total = 0.0;
  for (std::size_t i = 0; i < timing_.impulseMs.size(); ++i) {
    out << "time_impulse_ms=" << i + 1 << ':' << timing_.impulseMs[i] << '\n';
    total += timing_.impulseMs[i];
  }
  for (const auto& [phase, ms] : timing_.phaseMs) out << "time_phase_ms=" << phase << ':' << ms << '\n';
  out << "time_total_ms=" << total << '\n';
}

int RunAutoplay(const std::vector<std::string>& args, std::ostream& out, std::ostream& errors) {
  sAutoplayArgs parsed;
  if (!ParseArgs(args, parsed)) {
    errors << "usage: autoplay --root <game folder> (--scenario <name> | --save <name>) --impulses <n> "
              "(--seed <s> | --random-state <n>) [--passive <country>]... [--save-as <name> [--clock "
              "\"YYYY-MM-DD hh:mm\"]] [--resume-check <impulse> [--resume-turn <n>] (with --save-as)]\n"
              "       [--save-each-turn-as <name>] [--save-loaded-as <name> (with --save)]\n"
              "       autoplay ... --turns <n> instead of --impulses <n>\n"
              "exit codes: 0 played (resume check: match), 1 a save failed, 2 bad arguments, 3 an invariant broke;\n"
              "  resume check: 4 differs, 5 plays_alike, 6 current_country_chosen_again, 7 skipped\n";
    return 2;
  }
  if (parsed.resumeAt >= 0) {
    return RunResumeCheck({parsed.folder, parsed.impulses, parsed.resumeAt, static_cast<int>(parsed.resumeTurn),
                           static_cast<std::uint32_t>(parsed.seed), parsed.passive},
                          out, errors);
  }
  const cHeadlessTexts texts(parsed.folder.root);
  sRunScope scope;
  // A new game rolls its first weather while it loads, so the seed comes first.
  SeedRandom(static_cast<std::uint32_t>(parsed.seed));
  scope.game = LoadGameFolder(parsed.folder);
  // The save keeps no current country: the load chooses it again.
  const cCountry* chosen = scope.game->playerControl.currentCountry;
  const int loadedCurrent = chosen ? chosen->id : 0;
  // What the load gives back, saved before anything plays: a field the load
  // forgets shows against the save it came from.
  if (!parsed.saveLoadedAs.empty() && !SaveGameAs(*scope.game, WithSaveAs(parsed.folder, parsed.saveLoadedAs), errors)) {
    return 1;
  }
  int code = 0;
  std::uint32_t stateAtEnd = 0;
  {
    cAutoplay play(*scope.game);
    play.SetPassiveCountries(parsed.passive);
    // A carried state goes on from where the run that saved the game stopped
    // drawing, as the resume check's loaded game does.
    if (parsed.carriesRandom) SeedRandom(static_cast<std::uint32_t>(parsed.seed));
    // One turn, saved when asked; the turn that ends the game is saved too.
    const auto playTurn = [&] {
      const cCountry* country = scope.game->playerControl.currentCountry;
      const bool passes = country && IsDummyCountry(*country);
      const int before = play.turnsPlayed();
      const bool goesOn = play.PlayTurn();
      if (play.turnsPlayed() == before || !play.violation().empty()) return false;
      if (parsed.saveEachTurnAs.empty()) return goesOn;
      const std::string turns = std::to_string(play.turnsPlayed());
      if (!SaveGameAs(*scope.game, WithSaveAs(parsed.folder, parsed.saveEachTurnAs + '-' + turns), errors)) {
        code = 1;
        return false;
      }
      // A loaded game skips a dummy that was current in its save: a hand-over
      // check must know which saved turn was such a pass.
      if (passes) out << "passed_turn=" << turns << ':' << country->id << '\n';
      return goesOn;
    };
    if (parsed.turns >= 0) {
      while (play.turnsPlayed() < parsed.turns && playTurn()) {
      }
    } else {
      while (play.impulsesRun() < parsed.impulses && playTurn()) {
      }
    }
    stateAtEnd = RandomState();
    play.PrintSummary(out);
    if (!play.violation().empty()) {
      errors << "invariant broken " << play.violation() << '\n';
      code = 3;
    }
  }
  if (code == 1) return code;
  if (!parsed.folder.save.empty()) out << "loaded_current_country=" << loadedCurrent << '\n';
  if (code == 0 && !parsed.folder.saveAs.empty()) {
    if (!SaveGameAs(*scope.game, parsed.folder, errors)) return 1;
    const cCountry* current = scope.game->playerControl.currentCountry;
    out << "saved_as=" << parsed.folder.saveAs << '\n'
        << "random_state=" << stateAtEnd << '\n'
        << "current_country=" << (current ? current->id : 0) << '\n';
  }
  return code;
}

}  // namespace tr
