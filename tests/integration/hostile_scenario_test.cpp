// A scenario whose events stay true, checked at the end of an impulse.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "events/zdarzenia.h"
#include "hostile_save.h"
#include "support/game_run_scope.h"

namespace tr {
namespace {

using test::kScenario;
using test::Replace;

// A scenario whose events stay true: pairs of events that are not one-time,
// one never true above one always true. The check at the end of an impulse
// fires them in list order, and what it fires and logs grows with the events,
// not with the searches that start again from the top after every firing.
TEST(HostileScenario, EventsThatStayTrueFireInOrderAndLogInProportion) {
  constexpr int kPairs = 100;
  constexpr int kFirstId = 30000;
  test::TempDir root;
  test::CopyBuiltScenario(root.path(), kScenario);
  Replace(root.path() / "data/scenarios" / kScenario / "events.xml", [&](std::string text) {
    std::string added;
    for (int i = 0; i < 2 * kPairs; ++i) {
      added += "<event eventID=\"" + std::to_string(kFirstId + i) +
               "\" countryID=\"1\" visibleByPlayer=\"0\" oneTimeChecking=\"0\"><title>T</title><condition><and>"
               "<expression><leftOperand constValue=\"1\"/><operator value=\"equals\"/><rightOperand constValue=\"" +
               std::to_string(1 + (i + 1) % 2) +
               "\"/></expression></and></condition><options><option optionID=\"1\" chanceAI=\"100\">"
               "<description>D</description></option></options></event>\n";
    }
    return text.insert(text.rfind("</events>"), added);
  });
  test::GameRunScope scope;
  sGameFolderArgs args;
  args.root = root.path().string();
  args.scenario = kScenario;
  scope.game.reset(LoadGameFolder(args));
  cGame& game = *scope.game;
  for (const auto& country : game.countries) country->humanControlled = 0;
  const std::size_t events = game.events->events.size();

  test::LogCapture log;
  game.events->CheckEventsAtTurnEnd(game);
  const std::vector<std::u16string> lines = log.lines();
  std::vector<int> fired;
  for (const std::u16string& line : lines) {
    int id = 0;
    if (line.ends_with(u" is true. Firing...") &&
        std::sscanf(Utf16ToUtf8(line).c_str(), "Condition for event with ID=%d", &id) == 1 && id >= kFirstId) {
      fired.push_back(id);
    }
  }
  ASSERT_FALSE(fired.empty());
  EXPECT_LE(fired.size(), 2 * events);
  EXPECT_LE(lines.size(), 20 * events);
  // Each always-true event fires, in the order of the list.
  std::vector<int> first;
  for (const int id : fired) {
    EXPECT_EQ((id - kFirstId) % 2, 1) << id;
    if (std::find(first.begin(), first.end(), id) == first.end()) first.push_back(id);
  }
  ASSERT_EQ(first.size(), static_cast<std::size_t>(kPairs));
  EXPECT_TRUE(std::is_sorted(first.begin(), first.end()));
}

}  // namespace
}  // namespace tr
