// The resume check's verdict: two games that part anywhere, at their log's
// first line too, are reported apart; a loaded game that holds what was saved
// but begins with another current country is named as such.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

#include "ai/autoplay_resume.h"

namespace tr {
namespace {

// Two games that played alike: three log lines, one summary, two saved files.
sResumeOutcome AlikeGames() {
  sPlayed played;
  played.log = {u"[AI]: Kaltheim ma wojne", u"bu 1", u"Koniec impulsu wykonany"};
  played.summary = "date=3/4/1940\nturn=17\n";
  played.files = {{"Info.ini", "[Save]\nTurn=17\n"}, {"land_units.csv", "#Land units\n7;2nd Korps;1;"}};
  sResumeOutcome outcome;
  outcome.whole = played;
  outcome.resumed = played;
  outcome.currentAtSave = 3;
  outcome.currentAtLoad = 3;
  return outcome;
}

struct sVerdict {
  int code = 0;
  std::string report;
};

sVerdict Judge(const sResumeOutcome& outcome) {
  std::ostringstream out;
  const int code = ReportResume(outcome, out);
  return {code, out.str()};
}

TEST(ResumeVerdictTest, GamesThatPartAnywhereAreReportedApart) {
  EXPECT_EQ(Judge(AlikeGames()).report, "resume_check=match\n");
  EXPECT_EQ(Judge(AlikeGames()).code, 0);

  // The first line, a middle one and a line only one log has.
  for (const auto& [line, text] : {std::pair{0, u"[AI]: Lombria ma wojne"}, std::pair{1, u"bu 2"}}) {
    sResumeOutcome outcome = AlikeGames();
    outcome.resumed.log[static_cast<std::size_t>(line)] = text;
    const sVerdict verdict = Judge(outcome);
    EXPECT_EQ(verdict.code, kResumeDiffers);
    EXPECT_TRUE(verdict.report.starts_with("resume_check=differs\nfirst_log_difference=" + std::to_string(line + 1) +
                                           " of 3/3\n"))
        << verdict.report;
  }
  sResumeOutcome longer = AlikeGames();
  longer.resumed.log.push_back(u"Zmieniam date");
  EXPECT_TRUE(Judge(longer).report.starts_with(
      "resume_check=differs\nfirst_log_difference=4 of 3/4\none_go_line=(log ended)\nresumed_line=Zmieniam date\n"))
      << Judge(longer).report;

  sResumeOutcome ended = AlikeGames();
  ended.resumed.summary = "date=3/4/1940\nturn=18\n";
  EXPECT_TRUE(Judge(ended).report.starts_with("resume_check=differs\none_go_summary:\n")) << Judge(ended).report;

  sResumeOutcome loaded = AlikeGames();
  loaded.loadedApart = {"unit_state.csv"};
  EXPECT_EQ(Judge(loaded).report, "resume_check=differs\nloaded_file_differs=unit_state.csv\n");

  // Same log and end, a final save apart in a last digit.
  sResumeOutcome saved = AlikeGames();
  saved.resumed.files["land_units.csv"] += "\n";
  EXPECT_EQ(Judge(saved).report, "resume_check=plays_alike\ndiffering_file=land_units.csv\n");
  EXPECT_EQ(Judge(saved).code, kResumePlaysAlike);
}

// A save keeps no current country; the load chooses it again. Only with the
// loaded game holding what was saved, the saved game's current country a
// dummy and nothing apart but the named lines of its passed turn is the
// parting laid to that choice, and even then it is no match: it has a code
// of its own, and games that end apart still differ.
TEST(ResumeVerdictTest, AnotherCurrentCountryAtLoadIsNamedAndNeverAMatch) {
  sResumeOutcome outcome = AlikeGames();
  outcome.currentAtLoad = 5;
  outcome.oneGoOnly = {u"Dummy country, ending the sequence", u"Wyznaczam aktualne panstwo...",
                       u"Alianci. Aktualne panstwo = Rusmark"};
  outcome.whole.log.insert(outcome.whole.log.begin(), outcome.oneGoOnly.begin(), outcome.oneGoOnly.end());
  const sVerdict verdict = Judge(outcome);
  EXPECT_EQ(verdict.code, kResumeChosenAgain);
  EXPECT_EQ(verdict.report,
            "resume_check=current_country_chosen_again\ncurrent_country=one_go:3 resumed:5\n"
            "one_go_only_line=Dummy country, ending the sequence\none_go_only_line=Wyznaczam aktualne panstwo...\n"
            "one_go_only_line=Alianci. Aktualne panstwo = Rusmark\n");

  sResumeOutcome later = outcome;
  later.resumed.log[2] = u"Zmieniam date";
  EXPECT_TRUE(Judge(later).report.starts_with("resume_check=differs\ncurrent_country=one_go:3 resumed:5\n"
                                              "first_log_difference=1 of 6/3\n"))
      << Judge(later).report;
  EXPECT_EQ(Judge(later).code, kResumeDiffers);

  // The games never meet again: their final saves stay apart.
  sResumeOutcome apart = outcome;
  apart.resumed.files["land_units.csv"] += "\n";
  EXPECT_EQ(Judge(apart).report, "resume_check=differs\ncurrent_country=one_go:3 resumed:5\n"
                                 "first_log_difference=1 of 6/3\none_go_line=Dummy country, ending the sequence\n"
                                 "resumed_line=[AI]: Kaltheim ma wojne\ndiffering_file=land_units.csv\n");
  EXPECT_EQ(Judge(apart).code, kResumeDiffers);

  sResumeOutcome loaded = outcome;
  loaded.loadedApart = {"countries.csv"};
  EXPECT_TRUE(Judge(loaded).report.starts_with(
      "resume_check=differs\ncurrent_country=one_go:3 resumed:5\nloaded_file_differs=countries.csv\n"))
      << Judge(loaded).report;

  sResumeOutcome same = outcome;
  same.currentAtLoad = same.currentAtSave;
  EXPECT_TRUE(Judge(same).report.starts_with("resume_check=differs\nfirst_log_difference=1 of 6/3\n"))
      << Judge(same).report;

  sResumeOutcome unnamed = outcome;
  unnamed.oneGoOnly.clear();
  EXPECT_TRUE(Judge(unnamed).report.starts_with("resume_check=differs\n")) << Judge(unnamed).report;
}

}  // namespace
}  // namespace tr
