#include "foundation/paths.h"

#include <gtest/gtest.h>

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

// A path shown to the player has the separators of this system.
TEST(ShownPathTest, ShowsEveryBackslashAsASlashAndNothingElseChanged) {
  EXPECT_EQ(ShownPath(u"data\\save\\Game 1.5"), u"data/save/Game 1.5");
  EXPECT_EQ(ShownPath(u"\\pbem/turn\\"), u"/pbem/turn/");
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
