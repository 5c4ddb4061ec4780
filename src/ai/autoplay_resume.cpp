#include "ai/autoplay_resume.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ai/autoplay.h"
#include "foundation/console_log.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "scenario/save_game.h"
#include "turn/game_steps.h"
#include "turn/theads.h"
#include "world/gra.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

// A fixed stamp for the saves when none is given, so equal games save equal files.
constexpr char kCheckClock[] = "2000-01-01 00:00";

// One game and the turn steps it plays with, released also when the run throws.
struct sGameScope {
  sGameScope() { InstallGameSteps(); }
  ~sGameScope() {
    UninstallGameSteps();
    if (gGame == game) gGame = nullptr;
    delete game;
  }
  sGameScope(const sGameScope&) = delete;
  sGameScope& operator=(const sGameScope&) = delete;
  cGame* game = nullptr;
};

// Keeps the lines logged while it lives, but those that time the game's steps.
class cLogRecorder {
 public:
  explicit cLogRecorder(std::vector<std::u16string>& lines) {
    ConsoleLog().SetObserver([&lines](std::u16string_view line) {
      if (!line.starts_with(u"PERFORMANCE:")) lines.emplace_back(line);
    });
  }
  ~cLogRecorder() { ConsoleLog().SetObserver(nullptr); }
  cLogRecorder(const cLogRecorder&) = delete;
  cLogRecorder& operator=(const cLogRecorder&) = delete;
};

// The summary's lines that describe the game: the run's own counts (impulses
// played, stays it tracked, timing) differ between a whole and a resumed run.
std::string GameLines(const cAutoplay& play) {
  std::ostringstream all;
  play.PrintSummary(all);
  std::istringstream in(all.str());
  std::string kept;
  for (std::string line; std::getline(in, line);) {
    for (const char* key : {"date=", "turn=", "game_over=", "result=", "losses=", "violation=", "country="}) {
      if (line.rfind(key, 0) == 0) kept += line + '\n';
    }
  }
  return kept;
}

std::map<std::string, std::string> ReadSave(const std::string& name) {
  std::map<std::string, std::string> files;
  const fs::path folder = ResolveGamePath(SaveFolderPath(Utf8ToUtf16(name)));
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string file = entry.path().filename().string();
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    files[file] = std::move(bytes);
  }
  return files;
}

bool Save(cGame& game, sGameFolderArgs folder, const std::string& name, std::ostream& errors) {
  folder.saveAs = name;
  return SaveGameAs(game, folder, errors);
}

void PlayTo(cAutoplay& play, long impulses) {
  while (play.impulsesRun() < impulses && play.PlayImpulse()) {
  }
}

// The first line where the two logs part, or -1 when they are equal.
long FirstDifference(const std::vector<std::u16string>& a, const std::vector<std::u16string>& b) {
  const auto parted = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  if (parted.first == a.end() && parted.second == b.end()) return -1;
  return static_cast<long>(parted.first - a.begin());
}

int CurrentCountryId(const cGame& game) {
  const cCountry* current = game.playerControl.currentCountry;
  return current ? current->id : 0;
}

// The files of two saves that are not byte for byte the same, or in one only.
std::vector<std::string> FilesApart(const std::map<std::string, std::string>& a,
                                    const std::map<std::string, std::string>& b) {
  std::vector<std::string> files;
  for (const auto& [name, bytes] : a) {
    const auto other = b.find(name);
    if (other == b.end() || other->second != bytes) files.push_back(name);
  }
  for (const auto& [name, bytes] : b) {
    if (!a.count(name)) files.push_back(name);
  }
  return files;
}

std::string LineAt(const std::vector<std::u16string>& log, long index) {
  return index < static_cast<long>(log.size()) ? Utf16ToUtf8(log[static_cast<std::size_t>(index)]) : "(log ended)";
}

}  // namespace

int RunResumeCheck(const sResumeCheck& check, std::ostream& out, std::ostream& errors) {
  sGameFolderArgs folder = check.folder;
  if (folder.clock.empty()) {
    folder.clock = kCheckClock;
    ParseSaveClock(folder.clock, folder.fixedClock);
  }
  const std::string savePoint = folder.saveAs;
  const cHeadlessTexts texts(folder.root);

  sPlayed whole;
  std::uint32_t state = 0;
  int currentAtSave = 0;
  bool dummyAtSave = false;
  {
    sGameScope scope;
    SeedRandom(check.seed);
    folder.saveAs.clear();
    scope.game = LoadGameFolder(folder);
    std::string violation;
    bool reached = false;
    int lastTurn = 0;  // the impulse's turns, when it ended before the save point
    {
      cAutoplay play(*scope.game);
      play.SetPassiveCountries(check.passive);
      PlayTo(play, check.resumeAt);
      reached = play.impulsesRun() == check.resumeAt && play.violation().empty();
      // A save between two countries' turns: the next country is current and
      // has not begun, as at a hand-over.
      for (int turn = 0; reached && turn < check.resumeTurn; ++turn) {
        const bool played = play.PlayTurn();
        reached = played && play.impulsesRun() == check.resumeAt;
        // The impulse ended with this turn: it is the impulse's last.
        if (played && !reached) lastTurn = turn + 1;
      }
      if (reached) {
        if (!Save(*scope.game, folder, savePoint, errors)) return 1;
        state = RandomState();
        currentAtSave = CurrentCountryId(*scope.game);
        const cCountry* current = scope.game->playerControl.currentCountry;
        dummyAtSave = current && IsDummyCountry(*current);
        cLogRecorder recorder(whole.log);
        PlayTo(play, check.impulses);
      }
      violation = play.violation();
      whole.summary = GameLines(play);
    }
    if (!violation.empty()) {
      errors << "invariant broken " << violation << '\n';
      return 3;
    }
    if (!reached) {
      if (lastTurn > 0) {
        // Names the save points inside the impulse that exist, so the case can be run again at one.
        out << "resume_check=skipped (impulse " << check.resumeAt << " has " << lastTurn
            << " country turns: the last save point inside it is " << check.resumeAt << ':' << lastTurn - 1
            << ", and after its last turn comes save point " << check.resumeAt + 1 << ")\n";
      } else {
        out << "resume_check=skipped (the game ended before impulse " << check.resumeAt;
        if (check.resumeTurn > 0) out << " and " << check.resumeTurn << " turns";
        out << ")\n";
      }
      return kResumeSkipped;
    }
    if (!Save(*scope.game, folder, savePoint + "_one_go", errors)) return 1;
    whole.files = ReadSave(savePoint + "_one_go");
  }

  sPlayed resumed;
  int currentAtLoad = 0;
  std::u16string nameAtLoad;
  std::vector<std::string> loadedApart;
  {
    sGameScope scope;
    folder.scenario.clear();
    folder.save = savePoint;
    scope.game = LoadGameFolder(folder);
    currentAtLoad = CurrentCountryId(*scope.game);
    if (const cCountry* current = scope.game->playerControl.currentCountry) nameAtLoad = current->name;
    // What the loaded game holds, saved again before it plays: a value the
    // load does not give back shows here, apart from how the two played on.
    if (!Save(*scope.game, folder, savePoint + "_loaded", errors)) return 1;
    loadedApart = FilesApart(ReadSave(savePoint), ReadSave(savePoint + "_loaded"));
    std::string violation;
    {
      cAutoplay play(*scope.game);
      play.SetPassiveCountries(check.passive);
      SeedRandom(state);
      {
        cLogRecorder recorder(resumed.log);
        PlayTo(play, check.impulses - check.resumeAt);
      }
      violation = play.violation();
      resumed.summary = GameLines(play);
    }
    if (!violation.empty()) {
      errors << "invariant broken in the resumed game " << violation << '\n';
      return 3;
    }
    if (!Save(*scope.game, folder, savePoint + "_resumed", errors)) return 1;
    resumed.files = ReadSave(savePoint + "_resumed");
  }
  sResumeOutcome outcome{whole, resumed, loadedApart, currentAtSave, currentAtLoad, {}};
  if (dummyAtSave && currentAtSave != currentAtLoad) {
    outcome.oneGoOnly = {GetText("dummy_country,_ending_sequence"), u"Wyznaczam aktualne panstwo..."};
    // The choice line begins with the side's name.
    const std::u16string choice = u"Aktualne panstwo = " + nameAtLoad;
    if (whole.log.size() > 2 && whole.log[2].ends_with(choice)) outcome.oneGoOnly.push_back(whole.log[2]);
  }
  return ReportResume(outcome, out);
}

int ReportResume(const sResumeOutcome& outcome, std::ostream& out) {
  const sPlayed& whole = outcome.whole;
  const sPlayed& resumed = outcome.resumed;
  const long line = FirstDifference(whole.log, resumed.log);
  const std::vector<std::string> filesApart = FilesApart(whole.files, resumed.files);
  const bool alike = line < 0 && whole.summary == resumed.summary && outcome.loadedApart.empty();
  if (alike && filesApart.empty()) {
    out << "resume_check=match\n";
    return kResumeMatch;
  }
  // The save keeps no current country: the load chooses it again from the
  // saved turn marks. The game chose it before the end of impulse, which can
  // make that country a dummy (it surrendered): the game then logs its passed
  // turn, which the loaded game never plays. Only those named lines may part.
  const std::vector<std::u16string>& only = outcome.oneGoOnly;
  const bool chosenAgain =
      !only.empty() && outcome.currentAtSave != outcome.currentAtLoad && outcome.loadedApart.empty() &&
      filesApart.empty() && whole.summary == resumed.summary && whole.log.size() >= only.size() &&
      std::equal(only.begin(), only.end(), whole.log.begin()) &&
      std::equal(whole.log.begin() + static_cast<long>(only.size()), whole.log.end(), resumed.log.begin(),
                 resumed.log.end());
  if (alike) {
    // Played alike to the end, yet saved apart: a value the save keeps less
    // exactly than the game holds it drifts by its last digit.
    out << "resume_check=plays_alike\n";
  } else if (chosenAgain) {
    out << "resume_check=current_country_chosen_again\n";
  } else {
    out << "resume_check=differs\n";
  }
  if (outcome.currentAtSave != outcome.currentAtLoad) {
    out << "current_country=one_go:" << outcome.currentAtSave << " resumed:" << outcome.currentAtLoad << '\n';
  }
  for (const std::string& name : outcome.loadedApart) out << "loaded_file_differs=" << name << '\n';
  if (chosenAgain) {
    for (const std::u16string& text : only) out << "one_go_only_line=" << Utf16ToUtf8(text) << '\n';
    return kResumeChosenAgain;
  }
  if (line >= 0) {
    out << "first_log_difference=" << line + 1 << " of " << whole.log.size() << '/' << resumed.log.size() << '\n'
        << "one_go_line=" << LineAt(whole.log, line) << '\n'
        << "resumed_line=" << LineAt(resumed.log, line) << '\n';
  }
  for (const std::string& name : filesApart) out << "differing_file=" << name << '\n';
  if (whole.summary != resumed.summary) {
    out << "one_go_summary:\n" << whole.summary << "resumed_summary:\n" << resumed.summary;
  }
  return alike ? kResumePlaysAlike : kResumeDiffers;
}

}  // namespace tr
