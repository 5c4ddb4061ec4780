// "ai_memory.csv": what the computer countries remember of their invasions
// goes into a save and comes back from it unchanged.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ai/ai_memory_file.h"
#include "ai/country_ai.h"
#include "ai_fixture.h"
#include "foundation/fatal.h"
#include "foundation/text.h"
#include "support/game_run_scope.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/scenario_check.h"

namespace tr {
namespace {

// Every field of every row its own value, and rows for every country, the
// last one included, in the order the writer puts them.
constexpr std::string_view kHeader =
    "#Invasions the computer remembers: Waiting;country;land unit ID;impulses stalled;sea node; and "
    "GivenUp;country;target hex X;target hex Y;impulse of the give-up; its fronts: Front;country;state;advantage;"
    "the nine strengths;node count;cities diagram nodes...; and the diagram's counts: Counts;node;visited;the nine "
    "strengths;own units;";
constexpr std::string_view kRows =
    "\r\nWaiting;1;12;3;5;"
    "\r\nGivenUp;1;14;6;9;"
    "\r\nWaiting;2;21;8;13;"
    "\r\nGivenUp;2;17;15;22;"
    "\r\nGivenUp;3;24;18;25;"
    "\r\nWaiting;4;31;23;19;"
    "\r\nWaiting;4;37;26;29;"
    "\r\nGivenUp;4;27;33;41;"
    "\r\nGivenUp;4;38;11;44;";

std::string Memory(std::string_view rows) { return std::string(kHeader) + std::string(rows); }

TEST(AiMemoryFileTest, EveryCountrysMemoryComesBackFieldByField) {
  test::AiWorld world;
  test::TempDir dir;
  test::ScopedGameRoot root(dir.path());
  dir.Write("data/save/a/ai_memory.csv", Memory(kRows));
  std::filesystem::create_directories(dir.path() / "data/save/b");

  LoadAiMemory(world.game(), u"data\\save\\a\\%s");
  ASSERT_TRUE(WriteAiMemory(world.game(), u"data\\save\\b"));

  EXPECT_EQ(dir.Read("data/save/b/ai_memory.csv"), Memory(kRows));
  // Counts within their range come back without a word.
  EXPECT_FALSE(world.log.ContainsText(u"out of range"));
  EXPECT_FALSE(world.log.ContainsText(u"WARNING"));

  // Country 0 and country 5 are just outside the four the game holds, and
  // node 200 beyond the diagram's: the save names what it does not hold.
  for (const auto& [row, logged] :
       {std::pair{"\r\nWaiting;5;43;7;47;", u"line 11 (counting from 1) names the country 5, which the save does not hold"},
        std::pair{"\r\nGivenUp;0;46;2;53;", u"line 11 (counting from 1) names the country 0, which the save does not hold"},
        std::pair{"\r\nCounts;200;1;0.500000;1.750000;2.250000;42;43;44;45;46;47;48;",
                  u"line 11 (counting from 1) names the cities diagram node 200, which the scenario does not hold"}}) {
    dir.Write("data/save/a/ai_memory.csv", Memory(std::string(kRows) + row));
    world.log.Clear();
    EXPECT_THROW(LoadAiMemory(world.game(), u"data\\save\\a\\%s"), FatalExitError) << row;
    EXPECT_TRUE(world.log.ContainsText(logged)) << row;
  }

  // A front cut before its node count refuses the save, saying how much is there.
  dir.Write("data/save/c/ai_memory.csv", Memory("\r\nWaiting;2;16;4;7;\r\nFront;3;1;0.750000;"));
  EXPECT_THROW(LoadAiMemory(world.game(), u"data\\save\\c\\%s"), FatalExitError);
  EXPECT_TRUE(world.log.ContainsText(u"line 3 (counting from 1) has 4 fields of the 14 of a row (cut short?)"));
  // One with its node count but short of the nodes it counts says so.
  dir.Write("data/save/d/ai_memory.csv",
            Memory("\r\nFront;2;1;0.250000;3.500000;4.500000;5.500000;6;7;8;9;10;11;2;"));
  EXPECT_THROW(LoadAiMemory(world.game(), u"data\\save\\d\\%s"), FatalExitError);
  EXPECT_TRUE(world.log.ContainsText(u"line 2 (counting from 1) has 14 fields for a front of 2 nodes"));
}

// The fronts and the diagram's counts over the shipped sample's cities: every
// field its own value, the first and last country and the first and last node
// included.
// The sample's other nodes hold nothing and stay out of the file.
class AiMemoryOfTheSample : public testing::Test {
 protected:
  void SetUp() override {
    test::CopyBuiltScenario(dir.path(), "NorthernTide");
    sGameFolderArgs args;
    ASSERT_TRUE(ParseGameFolderArg("--root", dir.path().string(), args));
    ASSERT_TRUE(ParseGameFolderArg("--scenario", "NorthernTide", args));
    scope.game.reset(LoadGameFolder(args));
    ASSERT_NE(scope.game, nullptr);
    std::filesystem::create_directories(dir.path() / "data/save/b");
  }

  test::TempDir dir;
  test::GameRunScope scope;
};

TEST_F(AiMemoryOfTheSample, FrontsAndNodeCountsComeBackFieldByField) {
  cGame& game = *scope.game;
  const int countries = game.CountryCount();
  const int last = game.citiesDiagram.NodeCount() - 1;
  ASSERT_GT(countries, 4);
  ASSERT_GT(last, 12);
  const std::string lastCountry = std::to_string(countries);
  const std::string lastNode = std::to_string(last);
  const std::string rows =
      "\r\nWaiting;1;12;3;5;"
      "\r\nFront;1;0;2.500000;4.250000;6.500000;7.750000;13;14;15;16;17;18;2;4;" + lastNode + ";"
      "\r\nGivenUp;2;17;15;22;"
      "\r\nWaiting;" + lastCountry + ";31;23;19;"
      "\r\nGivenUp;" + lastCountry + ";27;33;41;"
      "\r\nFront;" + lastCountry + ";2;12.125000;8.500000;9.250000;10.750000;19;21;22;23;24;25;3;11;6;9;"
      "\r\nCounts;0;1;0.500000;1.750000;2.250000;42;43;44;45;46;47;48;"
      "\r\nCounts;6;1;3.500000;5.250000;0.750000;26;27;28;29;31;32;33;"
      "\r\nCounts;9;0;0.000000;0.000000;0.000000;0;7;0;0;0;0;0;"
      "\r\nCounts;" + lastNode + ";1;1.250000;2.750000;11.500000;34;35;36;37;38;39;41;";
  dir.Write("data/save/a/ai_memory.csv", Memory(rows));

  LoadAiMemory(game, u"data\\save\\a\\%s");
  ASSERT_TRUE(WriteAiMemory(game, u"data\\save\\b"));

  EXPECT_EQ(dir.Read("data/save/b/ai_memory.csv"), Memory(rows));
}

// Strengths no front has (2.2e9, one beyond a float, one below 0, counts one
// past the limit) are none the game writes: each is refused, naming the line
// and the field. The sound row, at the limit, comes back as it was and
// unremarked.
TEST_F(AiMemoryOfTheSample, StrengthsBeyondAnyFrontsAreRefusedAndAtTheLimitLoad) {
  cGame& game = *scope.game;
  const std::string atLimit = "\r\nCounts;6;1;1000000.000000;5.250000;0.750000;1000000;27;28;29;31;32;1000000;";
  dir.Write("data/save/a/ai_memory.csv", Memory(atLimit));
  {
    test::LogCapture log;
    LoadAiMemory(game, u"data\\save\\a\\%s");
    ASSERT_TRUE(WriteAiMemory(game, u"data\\save\\b"));
    EXPECT_EQ(dir.Read("data/save/b/ai_memory.csv"), Memory(atLimit));
    EXPECT_FALSE(log.ContainsText(u"ai_memory.csv at line"));
  }
  for (const auto& [row, what] :
       {std::pair{"\r\nFront;1;2;3e38;2;3;4;13;14;15;16;17;18;1;6;", u"has field 4 of 3.0000000054977558e+38,"},
        std::pair{"\r\nFront;1;2;1;2200000000;3;4;13;14;15;16;17;18;1;6;", u"has field 5 of 2.2e+09,"},
        std::pair{"\r\nCounts;6;1;1;1e309;-5;1000000;27;28;29;31;32;1;", u"has field 5 of 3.4028234663852886e+38,"},
        std::pair{"\r\nCounts;6;1;1;2;-5;1000000;27;28;29;31;32;1;", u"has field 6 of -5,"},
        std::pair{"\r\nCounts;6;1;1;2;3;1000001;27;28;29;31;32;1;", u"has field 7 of 1000001,"}}) {
    dir.Write("data/save/a/ai_memory.csv", Memory(row));
    test::LogCapture log;
    EXPECT_THROW(LoadAiMemory(game, u"data\\save\\a\\%s"), FatalExitError) << row;
    EXPECT_TRUE(log.ContainsText(u"ai_memory.csv at line 2 (counting from 1) " + std::u16string(what) +
                                 u" a value the game never writes there"))
        << row;
  }
}

// A front is holding, threatened or critical (0 to 2, both ends loading
// above): a state just past either end would be saved back as it was read,
// so the save is refused naming the line and the field.
TEST_F(AiMemoryOfTheSample, AFrontsStatePastItsThreeIsDamage) {
  for (const char* state : {"3", "-1"}) {
    dir.Write("data/save/a/ai_memory.csv",
              Memory(std::string("\r\nWaiting;1;12;3;5;\r\nFront;1;") + state +
                     ";2.500000;4.250000;6.500000;7.750000;13;14;15;16;17;18;1;6;"));
    test::LogCapture log;
    EXPECT_THROW(LoadAiMemory(*scope.game, u"data\\save\\a\\%s"), FatalExitError) << state;
    EXPECT_TRUE(log.ContainsText(u"ai_memory.csv at line 3 (counting from 1) has " + Utf8ToUtf16(state) +
                                 u" in field 3, where the game writes a front's state from 0 to 2;"))
        << state;
  }
}

}  // namespace
}  // namespace tr
