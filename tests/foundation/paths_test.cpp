#include "foundation/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace tr {
namespace {

class PathsTest : public testing::Test {
 protected:
  void SetUp() override { SetGameRoot(dir_.path()); }
  void TearDown() override { SetGameRoot({}); }
  test::TempDir dir_;
};

TEST_F(PathsTest, MatchesComponentsIgnoringCase) {
  const auto file = dir_.Write("data/scenarios/sample/Info.ini", "x");
  EXPECT_EQ(ResolveGamePath(u"data\\Scenarios\\Sample\\INFO.ini"), file);
  EXPECT_EQ(ResolveGamePath("data/scenarios/sample/Info.ini"), file);
}

TEST_F(PathsTest, MissingComponentsKeepTheirSpelling) {
  dir_.Write("data/save/.keep", "");
  EXPECT_EQ(ResolveGamePath(u"DATA\\save\\New Game\\Info.ini"),
            dir_.path() / "data" / "save" / "New Game" / "Info.ini");
}

TEST_F(PathsTest, AbsolutePathsStayAbsolute) {
  EXPECT_EQ(ResolveGamePath((dir_.path() / "a").u16string()), dir_.path() / "a");
}

// The saves' folders are links into the user's data folder: a message shows
// each game path where the player finds it, the home folder as "~", and
// leaves alone a word that only ends in "data" and a path shown already.
TEST_F(PathsTest, ShownPathsAreTheRealPlaces) {
  const std::optional<std::string> home =
      std::getenv("HOME") != nullptr ? std::optional<std::string>(std::getenv("HOME")) : std::nullopt;
  const std::filesystem::path root = std::filesystem::weakly_canonical(dir_.path());
  dir_.Write("home/.local/share/tidereach/pbem/Duel (1)/Info.ini", "x");
  dir_.Write("game/data/scenarios/North/Info.ini", "x");
  std::filesystem::create_directory_symlink(root / "home/.local/share/tidereach/pbem", root / "game/data/pbem");
  SetGameRoot(root / "game");
  setenv("HOME", (root / "home").c_str(), 1);
  const std::u16string scenarios = (root / "game/data/scenarios").u16string();
  EXPECT_EQ(ShownPath(u"data\\pbem\\Duel (1)\\Info.ini"), u"~/.local/share/tidereach/pbem/Duel (1)/Info.ini");
  EXPECT_EQ(ShownPath(u"\"data\\pbem\\Duel (1)\" names data\\scenarios\\North; metadata\\x, /data/y"),
            u"\"~/.local/share/tidereach/pbem/Duel (1)\" names " + scenarios + u"/North; metadata/x, /data/y");
  // A home folder whose name only begins the path's next folder is another,
  // and without one no path is shortened.
  for (const char* other : {"elsewhere", "hom", static_cast<const char*>(nullptr)}) {
    other != nullptr ? setenv("HOME", (root / other).c_str(), 1) : unsetenv("HOME");
    EXPECT_EQ(ShownPath(u"data\\pbem\\Duel (1)"), (root / "home/.local/share/tidereach/pbem/Duel (1)").u16string());
  }
  EXPECT_EQ(ShownPath(u"\\pbem/turn\\"), u"/pbem/turn/");
  // Inside another path the folder is not the game's; a text that starts with
  // the game path is, whatever stands before it in memory.
  EXPECT_EQ(ShownPath(u"mods\\data\\pbem"), u"mods/data/pbem");
  EXPECT_EQ(ShownPath(u"old.data\\pbem"), u"old.data/pbem");
  EXPECT_EQ(ShownPath(u"my_data\\pbem and 2data\\pbem"), u"my_data/pbem and 2data/pbem");
  // Without a folder's name after it, "data\" names no game folder.
  EXPECT_EQ(ShownPath(u"data\\*.sav"), u"data/*.sav");
  EXPECT_EQ(ShownPath(std::u16string_view(u"xdata\\scenarios\\North").substr(1)), scenarios + u"/North");
  home ? setenv("HOME", home->c_str(), 1) : unsetenv("HOME");
}

TEST(SafeFileName, RefusesEscapes) {
  for (const char16_t* bad : {u"..\\x", u"../x", u"..", u"a/b", u"a\\b", u"C:x", u"/etc", u"", u"a\nb"}) {
    EXPECT_FALSE(IsSafeFileName(bad)) << std::string(bad, bad + std::char_traits<char16_t>::length(bad));
  }
  for (const char16_t* good : {u"autosave", u"My game 1", u"\u0141\u00f3d\u017a", u"a.b"}) {
    EXPECT_TRUE(IsSafeFileName(good));
  }
}

}  // namespace
}  // namespace tr
