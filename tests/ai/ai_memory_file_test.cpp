// "ai_memory.csv": what the computer countries remember of their invasions
// goes into a save and comes back from it unchanged.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ai/ai_memory_file.h"
#include "ai_fixture.h"
#include "support/temp_dir.h"

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
  // Country 0 and country 5 are just outside the four the game holds: passed over.
  dir.Write("data/save/a/ai_memory.csv", Memory(std::string(kRows) + "\r\nWaiting;5;43;7;47;\r\nGivenUp;0;46;2;53;"));
  std::filesystem::create_directories(dir.path() / "data/save/b");

  LoadAiMemory(world.game(), u"data\\save\\a\\%s");
  ASSERT_TRUE(WriteAiMemory(world.game(), u"data\\save\\b"));

  EXPECT_EQ(dir.Read("data/save/b/ai_memory.csv"), Memory(kRows));
  EXPECT_TRUE(world.log.ContainsText(u"line 11 (counting from 1) names the country 5, which the save does not hold"));
  EXPECT_TRUE(world.log.ContainsText(u"line 12 (counting from 1) names the country 0, which the save does not hold"));
}

}  // namespace
}  // namespace tr
