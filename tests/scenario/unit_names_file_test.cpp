#include "scenario/unit_names_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/fatal.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/gra.h"

namespace tr {
namespace {

class UnitNamesFileTest : public testing::Test {
 protected:
  void SetUp() override {
    SetGameRoot(dir_.path());
    for (int id = 1; id <= 3; ++id) {
      auto country = std::make_unique<cCountry>();
      country->id = id;
      game_.countries.push_back(std::move(country));
    }
  }
  void TearDown() override { SetGameRoot({}); }
  void Load(const std::string& text) {
    dir_.Write("data/scenarios/s/unit_names.csv", text);
    LoadUnitNames(game_, u"data\\scenarios\\s\\%s");
  }
  const std::optional<std::u16string>& Name(int country, int slot) {
    return game_.countries[country - 1]->unitTypeNames[slot];
  }
  test::TempDir dir_;
  cGame game_;
};

TEST_F(UnitNamesFileTest, EmptyCellsTakeTheDefaultAndHeaderCellsNameTheCountry) {
  // A row before the header with an empty second cell is no header.
  Load("#unit names\r\nignored;;row\r\n;;;;\r\n1;Infantry;;Fusiliers\r\n\r\n8;Fighter;Jagd\r\n");
  EXPECT_EQ(Name(1, 0), u"Infantry");
  EXPECT_EQ(Name(2, 0), u"Fusiliers");
  EXPECT_FALSE(Name(3, 0).has_value());
  EXPECT_EQ(Name(1, 7), u"Jagd");
}

TEST_F(UnitNamesFileTest, HeaderNumbersPickTheColumnsCountry) {
  Load(";;3;1;9\r\n2;Tank;Panzer;Char;Other\r\n");
  EXPECT_EQ(Name(3, 1), u"Panzer");
  EXPECT_EQ(Name(1, 1), u"Char");
  EXPECT_FALSE(Name(2, 1).has_value());
}

TEST_F(UnitNamesFileTest, SlotsOutsideOneToSeventeenAreLoggedAndIgnored) {
  test::LogCapture log;
  Load(";;\r\n0;Nothing;x\r\n18;Nothing;y\r\n17;Harbour;z\r\n");
  EXPECT_TRUE(log.ContainsText(u"Unit type slot (18) out of range"));
  EXPECT_TRUE(log.ContainsText(u"Unit type slot (0) out of range"));
  EXPECT_EQ(Name(1, 16), u"z");
}

// Past the header, lines of only separators name no slot, as empty lines do.
TEST_F(UnitNamesFileTest, LinesOfOnlySeparatorsPastTheHeaderNameNothing) {
  test::LogCapture log;
  Load("\r\n;;\r\n;;;\r\n;\n\r\n;;;;;;;;;;;;;;;;;;;;\r1;Infantry;x\r\n;;\r\n");
  EXPECT_EQ(Name(1, 0), u"x");
  EXPECT_FALSE(log.ContainsText(u"out of range"));
}

TEST_F(UnitNamesFileTest, SavedFileIsAByteCopy) {
  const std::string original = "# names\r\n;;\n1;Inf;\xe9;\r\r\n\r\n;;;\r\n2;x";
  Load(original);
  dir_.Write("data/save/out/.keep", "");
  ASSERT_TRUE(WriteUnitNames(game_, u"data\\save\\out"));
  EXPECT_EQ(dir_.Read("data/save/out/unit_names.csv"), original);
}

// A save's copy found empty is damage only where the scenario has names to copy.
TEST_F(UnitNamesFileTest, AnEmptySavedFileIsRefusedOnlyWhenTheScenariosOwnIsNot) {
  game_.loadedGame = 1;
  game_.scenarioName = u"s";
  dir_.Write("data/save/g/unit_names.csv", "");
  dir_.Write("data/scenarios/s/unit_names.csv", "");
  LoadUnitNames(game_, u"data\\save\\g\\%s");
  EXPECT_FALSE(Name(1, 0).has_value());
  dir_.Write("data/scenarios/s/unit_names.csv", ";;\r\n1;Infantry;\r\n");
  test::LogCapture log;
  EXPECT_THROW(LoadUnitNames(game_, u"data\\save\\g\\%s"), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"unit_names.csv is empty, and the scenario's own is not"));
}

// A save's copy that is only the beginning of the scenario's own was cut on
// its way (its rows, in the author's form, cannot tell it): refused, to one
// byte short. The whole copy loads, and so does one that is no beginning of
// the scenario's (the scenario changed since), longer or shorter.
TEST_F(UnitNamesFileTest, ASavedFileThatIsOnlyTheBeginningOfTheScenariosOwnIsRefused) {
  game_.loadedGame = 1;
  game_.scenarioName = u"s";
  const std::string own = ";;\r\n1;Infantry;\r\n2;Armour;\r\n";
  dir_.Write("data/scenarios/s/unit_names.csv", own);
  for (const auto& [saved, refused] :
       {std::pair{own.substr(0, 17), true}, std::pair{own.substr(0, own.size() - 1), true}, std::pair{own, false},
        std::pair{own + "3;Fighter;\r\n", false}, std::pair{std::string(";;\r\n1;Foot;\r\n"), false}}) {
    SCOPED_TRACE(saved);
    dir_.Write("data/save/g/unit_names.csv", saved);
    test::LogCapture log;
    if (refused) {
      EXPECT_THROW(LoadUnitNames(game_, u"data\\save\\g\\%s"), FatalExitError);
      EXPECT_TRUE(log.Contains(u"ERROR: data\\save\\g\\unit_names.csv holds only the first " +
                               Utf8ToUtf16(std::to_string(saved.size())) +
                               u" of the 28 bytes of the scenario's own (cut short?); the game writes the files of a "
                               u"saved game whole, so the file is damaged and the game is not loaded"));
    } else {
      LoadUnitNames(game_, u"data\\save\\g\\%s");
      EXPECT_FALSE(log.ContainsText(u"ERROR"));
      EXPECT_EQ(game_.unitNamesFile, saved);
    }
  }
  // Without the scenario's own there is nothing to tell a cut by, not even an empty copy.
  std::filesystem::remove(dir_.path() / "data/scenarios/s/unit_names.csv");
  for (const std::string& saved : {own.substr(0, 17), std::string()}) {
    dir_.Write("data/save/g/unit_names.csv", saved);
    LoadUnitNames(game_, u"data\\save\\g\\%s");
    EXPECT_EQ(game_.unitNamesFile, saved);
  }
}

TEST_F(UnitNamesFileTest, MissingFileIsFatal) {
  EXPECT_THROW(LoadUnitNames(game_, u"data\\scenarios\\none\\%s"), FatalExitError);
}

}  // namespace
}  // namespace tr
