// Saves in processes of their own: two game processes saving one name at
// once, a save that fills the disk, kept entries that cannot be copied or
// read, and what ended saves leave behind.
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "save_game_fixture.h"
#include "support/fork_alone.h"
#include "support/log_capture.h"

namespace tr {
namespace {

// The exit code of a child process, or 128 and the signal that ended it.
int WaitForChild(pid_t child) {
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Two game processes in one game folder save one name at the same moment, as
// two copies of the game do at the end of a turn ("Autosave"). The name must
// always hold one whole save: the one of a writer that reported success, or
// the one before when both failed; and nothing may be left beside it. Also on
// a file system that cannot exchange two folders.
class TwoProcessesSavingOneNameAtOnce : public SaveGameTest, public testing::WithParamInterface<bool> {};

TEST_P(TwoProcessesSavingOneNameAtOnce, NeverMixTheirSaves) {
  constexpr int kRounds = 24;
  cGame& game = LoadScenario();
  std::size_t renames = 0;
  game.saveContext->renameCheck = [&, withoutExchange = GetParam()](std::u16string_view, std::u16string_view) {
    return withoutExchange && renames++ == 0 ? EINVAL : 0;
  };
  game.flags[5] = 2;
  ASSERT_TRUE(game.saveContext->SaveGame(u"SAME", true));
  const FolderBytes byChild = Files("SAME");
  game.flags[5] = 1;
  renames = 0;
  ASSERT_TRUE(game.saveContext->SaveGame(u"SAME", true));
  const FolderBytes byParent = Files("SAME");
  ASSERT_FALSE(byChild == byParent);
  FolderBytes previous = byParent;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    renames = 0;
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    const pid_t child = test::ForkAlone();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(go[1]);
      char start = 0;
      if (::read(go[0], &start, 1) != 1) ::_exit(3);
      game.flags[5] = 2;
      const bool saved = game.saveContext->SaveGame(u"SAME", true);
      WaitForFolderRemovals();
      ::_exit(saved ? 0 : 1);
    }
    ::close(go[0]);
    ASSERT_EQ(::write(go[1], "g", 1), 1);
    ::close(go[1]);
    const bool parentSaved = game.saveContext->SaveGame(u"SAME", true);
    const int childExit = WaitForChild(child);
    ASSERT_TRUE(childExit == 0 || childExit == 1) << childExit;
    const bool childSaved = childExit == 0;
    const FolderBytes now = Files("SAME");
    if (parentSaved && childSaved) {
      EXPECT_TRUE(now == byParent || now == byChild) << now.size() << " files";
    } else if (parentSaved || childSaved) {
      EXPECT_TRUE(now == (parentSaved ? byParent : byChild)) << now.size() << " files";
    } else {
      EXPECT_TRUE(now == previous) << now.size() << " files";
    }
    EXPECT_EQ(Entries(scenario_.root() / "data/save"), std::set<std::string>{"SAME"});
    previous = now;
    if (HasFailure()) break;
  }
  game.saveContext->renameCheck = nullptr;
  EXPECT_GE(LoadSave(u"SAME").flags[5], 1);
}

INSTANTIATE_TEST_SUITE_P(FileSystems, TwoProcessesSavingOneNameAtOnce, testing::Bool(),
                         [](const auto& info) { return info.param ? "WithoutExchange" : "WithExchange"; });

// The disk fills up part-way through a save (a file size limit in a child
// process): the save says it failed and the previous save loads whole.
TEST_F(SaveGameTest, ASaveThatFillsTheDiskIsReportedAndKeepsThePreviousSave) {
  cGame& game = LoadScenario();
  ASSERT_TRUE(game.saveContext->SaveGame(u"slot", true));
  const FolderBytes before = Files("slot");
  std::size_t largest = 0;
  for (const auto& [file, bytes] : before) largest = std::max(largest, bytes.size());
  game.flags[5] = 99;
  const pid_t child = test::ForkAlone();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{largest / 2, largest / 2};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
    test::LogCapture log;
    if (game.saveContext->SaveGame(u"slot", false)) ::_exit(1);
    const bool told = log.ContainsText(u"ERROR: Saving stopped at ") &&
                      log.Contains(u"ERROR: Game not saved; data\\save\\slot is left as it was");
    ::_exit(told && screen_.CountEvents(u"text-dialog") == 0 ? 0 : 2);
  }
  EXPECT_EQ(WaitForChild(child), 0) << "1: reported as saved, 2: not logged";
  EXPECT_TRUE(Files("slot") == before);
  EXPECT_EQ(Entries(scenario_.root() / "data/save"), std::set<std::string>{"slot"}) << "nothing is left behind";
  EXPECT_EQ(LoadSave(u"slot").flags[5], 0);
}

// A picture the player keeps in the save folder that cannot be copied into
// the new save (a file size limit in a child process) stops the save: the
// previous save keeps it, and the box names that file, not the folder's rights.
TEST_F(SaveGameTest, AKeptFileThatCannotBeCopiedStopsTheSave) {
  cGame& game = LoadScenario();
  ASSERT_TRUE(game.saveContext->SaveGame(u"slot", true));
  std::size_t largest = 0;
  for (const auto& [file, bytes] : Files("slot")) largest = std::max(largest, bytes.size());
  std::ofstream(scenario_.root() / "data/save/slot/picture.png", std::ios::binary) << std::string(4 * largest, 'p');
  const FolderBytes before = Files("slot");
  game.flags[5] = 99;
  const pid_t child = test::ForkAlone();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{2 * largest, 2 * largest};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
    test::LogCapture log;
    if (game.saveContext->SaveGame(u"slot", false)) ::_exit(1);
    if (!log.ContainsText(u"ERROR: Cannot create the save folder ")) ::_exit(2);
    // The system's words for the limit met by the copy, as the library passes them on.
    const std::u16string reason = SaveFailureReason();
    const auto keptFile = [](std::u16string_view said) {
      return Format(GetText("save_failure_kept_entry_%s_%s"), u"picture.png", said);
    };
    if (reason != keptFile(u"File too large") && reason != keptFile(u"Input/output error")) ::_exit(4);
    const std::u16string remedy = Format(GetText("save_remedy_kept_entry_%s"), ShownPath(u"data\\save\\slot"));
    ::_exit(SaveFailureRemedy(u"data\\save\\slot", u"Then save again.") == remedy + u" Then save again." ? 0 : 5);
  }
  EXPECT_EQ(WaitForChild(child), 0) << "1: reported as saved, 2: not logged, 3: no limit, 4: reason, 5: remedy";
  EXPECT_TRUE(Files("slot") == before);
  EXPECT_EQ(Entries(scenario_.root() / "data/save"), std::set<std::string>{"slot"}) << "nothing is left behind";
}

// Takes from the process the rights by which root reads and writes any
// file, as a player's game has none.
bool DropRightsOverFiles() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct rights[2]{};
  if (::syscall(SYS_capget, &header, rights) != 0) return false;
  for (const int right : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) rights[0].effective &= ~(1u << right);
  return ::syscall(SYS_capset, &header, rights) == 0;
}

// A folder the player keeps in the save that the game cannot read stops the
// save as a kept file does, and the box names that folder.
TEST_F(SaveGameTest, AKeptFolderThatCannotBeReadStopsTheSaveNamingIt) {
  cGame& game = LoadScenario();
  ASSERT_TRUE(game.saveContext->SaveGame(u"slot", true));
  const fs::path notes = scenario_.root() / "data/save/slot/notes";
  fs::create_directory(notes);
  std::ofstream(notes / "plan.txt", std::ios::binary) << "plan";
  fs::permissions(notes, fs::perms::none);
  const pid_t child = test::ForkAlone();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (!DropRightsOverFiles()) ::_exit(3);
    if (game.saveContext->SaveGame(u"slot", false)) ::_exit(1);
    const std::u16string reason = Format(GetText("save_failure_kept_entry_%s_%s"), u"notes", u"Permission denied");
    ::_exit(SaveFailureReason() == reason ? 0 : 2);
  }
  const int exit = WaitForChild(child);
  fs::permissions(notes, fs::perms::owner_all);
  EXPECT_EQ(exit, 0) << "1: reported as saved, 2: reason, 3: rights kept";
  EXPECT_EQ(test::ReadFileBytes(notes / "plan.txt"), "plan");
  EXPECT_EQ(Entries(scenario_.root() / "data/save"), std::set<std::string>{"slot"}) << "nothing is left behind";
}

// A save that ended its process half-way leaves its working folder; the next
// save removes it, but never the folder of a save another process is still
// writing, which then completes.
TEST_F(SaveGameTest, LeftoversOfEndedSavesGoButAFolderStillBeingWrittenStays) {
  cGame& game = LoadScenario();
  ASSERT_TRUE(game.saveContext->SaveGame(u"slot", true));
  const pid_t crashed = test::ForkAlone();
  ASSERT_GE(crashed, 0);
  if (crashed == 0) {
    game.saveContext->stepCheck = [](int step, std::u16string_view) {
      if (step == 10) ::_exit(0);
      return true;
    };
    game.saveContext->SaveGame(u"slot", true);
    ::_exit(1);
  }
  ASSERT_EQ(WaitForChild(crashed), 0);
  const std::set<std::string> withLeftover = Entries(scenario_.root() / "data/save");
  ASSERT_EQ(withLeftover.size(), 2u);

  int ready[2];
  int go[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(go), 0);
  const pid_t writing = test::ForkAlone();
  ASSERT_GE(writing, 0);
  if (writing == 0) {
    ::close(ready[0]);
    ::close(go[1]);
    game.flags[5] = 42;
    game.saveContext->stepCheck = [&](int step, std::u16string_view) {
      char byte = 0;
      return step != 10 || (::write(ready[1], "r", 1) == 1 && ::read(go[0], &byte, 1) == 1);
    };
    const bool saved = game.saveContext->SaveGame(u"slot", true);
    WaitForFolderRemovals();
    ::_exit(saved ? 0 : 1);
  }
  // Only the child holds the ends it writes to: a child that ends early ends the wait.
  ::close(ready[1]);
  ::close(go[0]);
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  game.flags[5] = 7;
  test::LogCapture log;
  EXPECT_TRUE(game.saveContext->SaveGame(u"slot", true));
  EXPECT_TRUE(log.ContainsText(u", left by a save that did not finish"));
  const std::set<std::string> whileWriting = Entries(scenario_.root() / "data/save");
  EXPECT_EQ(whileWriting.size(), 2u);
  EXPECT_EQ(whileWriting.count("slot"), 1u);
  for (const std::string& name : whileWriting) EXPECT_EQ(withLeftover.count(name), name == "slot" ? 1u : 0u) << name;
  ASSERT_EQ(::write(go[1], "g", 1), 1);
  EXPECT_EQ(WaitForChild(writing), 0) << "the save still being written completes";
  ::close(ready[0]);
  ::close(go[1]);
  EXPECT_EQ(Entries(scenario_.root() / "data/save"), std::set<std::string>{"slot"});
  EXPECT_EQ(LoadSave(u"slot").flags[5], 42);
}

}  // namespace
}  // namespace tr
