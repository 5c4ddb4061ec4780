// The shipped sample's supply convoy through a whole end of impulse played
// headless, as the program loads and runs it, and a save after it.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "foundation/paths.h"
#include "foundation/random.h"
#include "foundation/text.h"
#include "support/temp_dir.h"
#include "turn/game_steps.h"
#include "turn/gra_endturn.h"
#include "world/city.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/headless_presentation.h"
#include "world/panstwo.h"

namespace tr {
namespace {

constexpr sLocalTime kClock{1939, 9, 1, 4, 45};

class ConvoySessionTest : public testing::Test {
 protected:
  ConvoySessionTest() : oldRoot_(GameRoot()), scoped_(screen_) {
    test::CopyBuiltScenario(dir_.path(), "NorthernTide");
    SetGameRoot(dir_.path());
    InstallGameSteps();
  }
  ~ConvoySessionTest() override {
    Drop();
    UninstallGameSteps();
    SetGameRoot(oldRoot_);
  }
  static void Drop() {
    delete gGame;
    gGame = nullptr;
  }
  static cGame& Load(const std::u16string& folderTemplate, int loaded) {
    Drop();
    SeedRandom(1939);
    return *LoadNewScenario(folderTemplate, loaded);
  }
  static void Save(cGame& game, const char16_t* name) {
    game.saveContext->clock = [] { return kClock; };
    ASSERT_TRUE(game.saveContext->SaveGame(name, true));
  }
  std::map<std::string, std::string> Files(const char* save) const {
    return test::ReadFolderBytes(dir_.path() / "data/save" / save);
  }

  test::TempDir dir_;
  std::filesystem::path oldRoot_;
  cHeadlessPresentation screen_;
  ScopedPresentation scoped_;
};

TEST_F(ConvoySessionTest, TheSampleSupplyConvoyRunsInTheEndOfImpulseAndSurvivesASave) {
  cGame& game = Load(u"data\\scenarios\\NorthernTide\\%s", 0);
  ASSERT_EQ(game.convoys.ConvoysOf(3).size(), 1u);
  const sConvoy& convoy = game.convoys.ConvoysOf(3).front();
  cCountry& owner = *game.countries[2];
  const int points = owner.seaTransportPoints;
  const int atSea = owner.seaTransportUsedByConvoys;

  EndOfImpulse(game, 1);
  const auto& results = game.convoys.results[2];
  ASSERT_EQ(results.size(), 1u);
  const sConvoyResult& result = results.front();
  std::printf("%s|%s|%s|%s|%d %d %d| %d %d -> %d %d turn %d\n", Utf16ToUtf8(result.departureName).c_str(),
              Utf16ToUtf8(result.destinationName).c_str(), Utf16ToUtf8(result.result).c_str(),
              Utf16ToUtf8(result.details).c_str(), result.pointsNeeded, result.pointsCarried, result.pointsLost, points,
              atSea, owner.seaTransportPoints, owner.seaTransportUsedByConvoys, game.turn);
  for (const auto& e : screen_.events()) std::printf("%s\n", Utf16ToUtf8(e).c_str());
  (void)convoy;

  Save(game, u"convoys");
  cGame& loaded = Load(u"data\\save\\convoys\\%s", 1);
  Save(loaded, u"again");
  const std::map<std::string, std::string> first = Files("convoys");
  const std::map<std::string, std::string> second = Files("again");
  ASSERT_FALSE(first.empty());
  ASSERT_EQ(first.size(), second.size());
  for (const auto& [file, bytes] : first) {
    ASSERT_EQ(second.count(file), 1u) << file;
    EXPECT_TRUE(second.at(file) == bytes) << file;
  }
}

}  // namespace
}  // namespace tr
