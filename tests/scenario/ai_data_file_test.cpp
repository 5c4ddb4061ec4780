#include "scenario/ai_data_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>

#include "foundation/csv_reader.h"
#include "foundation/fatal.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "support/world_builder.h"

namespace tr {
namespace {

class AiDataFileTest : public testing::Test {
 protected:
  void SetUp() override {
    SetGameRoot(dir_.path());
    AddCity(2, 3, kCitySupplyPort);
    AddCity(5, 5, kCityNormal);
  }
  void TearDown() override { SetGameRoot({}); }

  void AddCity(int x, int y, int type) {
    auto city = std::make_unique<cCity>();
    city->x = x;
    city->y = y;
    city->type = type;
    world_.hex(x, y).city = city.get();
    world_.game().cities.push_back(std::move(city));
  }
  void Load(const std::string& text) {
    dir_.Write("data/save/s/ai_data.csv", text);
    LoadAIData(world_.game(), u"data\\save\\s\\%s");
  }
  // Runs a load that must end the program with code 1.
  void LoadFatal(const std::string& text) {
    try {
      Load(text);
      ADD_FAILURE() << "the load must end the program";
    } catch (const FatalExitError& error) {
      EXPECT_EQ(error.code(), 1);
    }
  }
  sCountryAiSettings& Ai(int country) { return world_.country(country).aiSettings; }

  test::TempDir dir_;
  test::TestWorld world_{12, 8, 3};
};

TEST_F(AiDataFileTest, UnknownKeyWithAValueIsFatalWithoutOneDoesNothing) {
  test::LogCapture log;
  Load("# ai data\r\nCountry;1\r\nNoSuchKey\r\nCountry\r\nMakesSeaInvasions;1\r\n");
  EXPECT_EQ(Ai(1).MakesSeaInvasions, 1);
  // The line named counts the empty lines before it.
  LoadFatal("# ai data\r\nCountry;1\r\n\r\n#x\r\nNoSuchKey;3\r\n");
  EXPECT_TRUE(log.Contains(u"ERROR: line 5 in ai_data.csv has incorrect variable name (NoSuchKey)!"));
}

TEST_F(AiDataFileTest, CityPairsMustNameCitiesAndInvasionTargetsPorts) {
  test::LogCapture log;
  LoadFatal("#\r\n#\r\n#\r\nCountry;1\r\n#\r\nMakesSeaInvasions;1\r\nDoNotAttackCities;10;4\r\n");
  EXPECT_TRUE(log.Contains(u"ERROR (ai_data.csv, line 7): There is no city at coords (10,4)"));
  LoadFatal("Country;1\r\nExtraCitiesToGarrison;99;-4\r\n");
  EXPECT_TRUE(log.Contains(u"ERROR (ai_data.csv, line 2): There is no city at coords (99,-4)"));
  LoadFatal("Country;1\r\nObligatorySeaInvasionTargets;2;3;5;5\r\n");
  EXPECT_TRUE(log.Contains(u"ERROR(ai_data.csv, line 2): City at coords (5, 5) is not a port"));
}

TEST_F(AiDataFileTest, ArraysWrapListsAppendAndIncompleteGroupsAreDropped) {
  Load("Country;2\r\nDesiredTechLevels;1;2;3;4;5;6;7;8\r\nShoreBombardmentSingleUse;50;25;\r\n"
       "CurrentTargets;1;2;3;4;5\r\nDoNotAttackCities;2;3;5\r\nPurchaseQueue;4\r\nPurchaseQueue;5;6\r\n"
       "NewUnitPurchaseData;1;2.5;3;4.5;5;6.5;7\r\nCarrierTargetsPriorities;1;2;3;4;5;6;7;8;9;10\r\n");
  const sCountryAiSettings& ai = Ai(2);
  EXPECT_EQ(ai.DesiredTechLevels, (std::array<std::int32_t, 7>{8, 2, 3, 4, 5, 6, 7}));
  EXPECT_FLOAT_EQ(ai.ShoreBombardmentSingleUse[0], 0.5f);
  EXPECT_FLOAT_EQ(ai.ShoreBombardmentSingleUse[1], 0.25f);
  ASSERT_EQ(ai.CurrentTargets.size(), 1u);
  EXPECT_EQ(ai.CurrentTargets[0].value, 3);
  EXPECT_EQ(ai.DoNotAttackCities, (std::vector<sPoint>{{2, 3}}));
  EXPECT_EQ(ai.PurchaseQueue, (std::vector<std::int32_t>{4, 5, 6}));
  EXPECT_FLOAT_EQ(ai.NewUnitPurchaseData.navalPrice, 6.5f);
  EXPECT_EQ(ai.CarrierTargetsPriorities[8], 9);
  EXPECT_EQ(Ai(1).PurchaseQueue.size(), 0u);
}

// A line of more fields than any table has is read by its first ones: the
// country named last among them, not by a field past them.
TEST_F(AiDataFileTest, ALineIsReadByItsFirstFieldsOnly) {
  std::string line = "Country;";
  for (std::size_t i = 2; i < cCsvReader::kMostFieldsKept; ++i) line += "9;";
  Load(line + "2;3;\r\nMakesSeaInvasions;1\r\n");
  EXPECT_EQ(Ai(2).MakesSeaInvasions, 1);
  EXPECT_EQ(Ai(3).MakesSeaInvasions, 0);
}

TEST_F(AiDataFileTest, LinesWithoutAValidCountryAreLoggedAndIgnored) {
  test::LogCapture log;
  Load("PurchaseQueue;1\r\nCountry;7\r\nPurchaseQueue;2\r\nCountry;3\r\nPurchaseQueue;3\r\n"
       "CountriesToPress;2;0;4;1\r\n");
  EXPECT_EQ(Ai(3).CountriesToPress, (std::vector<std::int32_t>{2, 1}));
  EXPECT_TRUE(log.ContainsText(u"CountriesToPress (4) out of range in data\\save\\s\\ai_data.csv at line 6"));
  EXPECT_EQ(Ai(3).PurchaseQueue, (std::vector<std::int32_t>{3}));
  EXPECT_TRUE(Ai(1).PurchaseQueue.empty());
  EXPECT_TRUE(log.ContainsText(u"Country (7) out of range"));
  EXPECT_TRUE(log.ContainsText(u"PurchaseQueue in data\\save\\s\\ai_data.csv at line 1"));
}

// The game writes each setting after its country's line: in a save, one
// before any Country line is refused naming its line.
TEST_F(AiDataFileTest, ASavesSettingBeforeAnyCountryIsRefused) {
  world_.game().loadedGame = 1;
  test::LogCapture log;
  EXPECT_THROW(Load("# ai data\r\nPurchaseQueue;1\r\nCountry;1\r\n"), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"ai_data.csv at line 2 (counting from 1) gives PurchaseQueue before a Country line "
                               u"naming a country the save holds;"));
}

TEST_F(AiDataFileTest, WrittenFileMatchesItsFormAndReadsBackInOrder) {
  sCountryAiSettings& ai = Ai(1);
  ai.MakesSeaInvasions = 1;
  ai.DoNotAttackCities = {{5, 5}, {2, 3}};
  ai.ObligatorySeaInvasionTargets = {{2, 3}};
  ai.CurrentTargets = {{1, 2, 3}, {4, 5, 6}};
  ai.SeaZonesToPatrol = {{7, 1}, {3, 2}};
  ai.CountriesToPress = {3, 2};
  ai.PurchaseQueue = {9, 0, 1};
  ai.ShoreBombardmentSingleUse = {0.5f, 0.25f};
  dir_.Write("data/save/out/.keep", "");
  ASSERT_TRUE(WriteAIData(world_.game(), u"data\\save\\out"));
  const std::string text = dir_.Read("data/save/out/ai_data.csv");
  EXPECT_EQ(text.substr(0, text.find("\r\nDesiredLandForcesStructure")),
            "# ai data\r\nCountry;1\r\nMakesSeaInvasions;1\r\nMaxNumberOfFrontsForSeaInvasion;2\r\n"
            "DoNotAttackCities;5;5;2;3\r\nFortLevelToHoldAtAllCost;5\r\nCurrentTargets;1;2;3;4;5;6\r\n"
            "ObligatorySeaInvasionTargets;2;3\r\nSeaZonesToPatrol;7;1;3;2");
  EXPECT_NE(text.find("\r\nShoreBombardmentSingleUse;50.000000;25.000000\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nNewUnitPurchaseData;99;-1.000000;99;-1.000000;99;-1.000000\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nCountry;2\r\nMakesSeaInvasions;0\r\nMaxNumberOfFrontsForSeaInvasion;2\r\n"
                      "FortLevelToHoldAtAllCost;5\r\nDesiredLandForcesStructure"),
            std::string::npos);
  EXPECT_TRUE(text.ends_with("\r\nCarrierTargetsPriorities;90;80;70;60;50;40;30;20;10"));

  for (int id = 1; id <= 3; ++id) Ai(id) = sCountryAiSettings();
  dir_.Write("data/save/s/ai_data.csv", text);
  LoadAIData(world_.game(), u"data\\save\\s\\%s");
  const sCountryAiSettings& back = Ai(1);
  EXPECT_EQ(back.DoNotAttackCities, ai.DoNotAttackCities);
  EXPECT_EQ(back.ObligatorySeaInvasionTargets, ai.ObligatorySeaInvasionTargets);
  ASSERT_EQ(back.CurrentTargets.size(), 2u);
  EXPECT_EQ(back.CurrentTargets[1].value, 6);
  ASSERT_EQ(back.SeaZonesToPatrol.size(), 2u);
  EXPECT_EQ(back.SeaZonesToPatrol[0].seaZone, 7);
  EXPECT_EQ(back.CountriesToPress, ai.CountriesToPress);
  EXPECT_EQ(back.PurchaseQueue, ai.PurchaseQueue);
  EXPECT_FLOAT_EQ(back.ShoreBombardmentSingleUse[1], 0.25f);
  EXPECT_TRUE(Ai(2).PurchaseQueue.empty());
}

TEST_F(AiDataFileTest, LongSavedLinesReadBack) {
  Ai(1).PurchaseQueue.assign(400, 12);
  dir_.Write("data/save/out/.keep", "");
  ASSERT_TRUE(WriteAIData(world_.game(), u"data\\save\\out"));
  Ai(1).PurchaseQueue.clear();
  Load(dir_.Read("data/save/out/ai_data.csv"));
  EXPECT_EQ(Ai(1).PurchaseQueue.size(), 400u);
}

TEST_F(AiDataFileTest, MissingFileIsFatal) {
  test::LogCapture log;
  try {
    LoadAIData(world_.game(), u"data\\save\\none\\%s");
    ADD_FAILURE();
  } catch (const FatalExitError& error) {
    EXPECT_EQ(error.code(), 1);
  }
  EXPECT_TRUE(log.Contains(u"Otwieram plik z danymi AI ze sciezki..."));
  EXPECT_TRUE(log.Contains(u"Blad otwarcia pliku! (nie istnieje?)"));
}

// Every setting of the last country and of the one before it holds a value of
// its own: each comes back from the file in its own place.
void FillSettings(sCountryAiSettings& ai, int id) {
  const int b = id * 100;
  ai.MakesSeaInvasions = id == 3 ? 1 : 0;
  ai.MaxNumberOfFrontsForSeaInvasion = b + 2;
  ai.CurrentSeaInvasionTarget = b + 3;
  ai.ObligatorySeaInvasionTargets = {{7, 2}, {2, 3}};
  ai.CurrentTargets = {{b + 4, b + 5, b + 6}, {b + 7, b + 8, b + 9}};
  ai.DoNotAttackCities = {{5, 5}, {7, 2}};
  ai.ExtraCitiesToGarrison = {{2, 3}, {5, 5}};
  ai.SeaZonesToPatrol = {{b + 10, b + 11}, {b + 12, b + 13}};
  ai.PurchaseQueue = {b + 14, b + 15};
  ai.FortLevelToHoldAtAllCost = b + 16;
  const auto fill = [](auto& values, int first) {
    for (auto& value : values) value = first++;
  };
  fill(ai.DesiredLandForcesStructure, b + 20);
  fill(ai.DesiredTechLevels, b + 30);
  ai.DesiredStrategicMovementPoints = b + 17;
  fill(ai.NewUnitPurchasePreferences, b + 40);
  ai.NewUnitPurchaseData = {b + 60, static_cast<float>(b) + 61.5f, b + 62, static_cast<float>(b) + 63.5f, b + 64,
                            static_cast<float>(b) + 65.5f};
  fill(ai.MultipleSideAttackPreferences, b + 70);
  fill(ai.OneSideAttackPreferences, b + 73);
  ai.AllianceEntryPolicy = b + 18;
  ai.CountriesToPress = {id == 3 ? 2 : 3, 1};
  ai.TransportsUnitsToFrontsBySea = id == 2 ? 1 : 0;
  ai.MinRatioToPatchFront = static_cast<float>(b) + 19.5f;
  ai.MaxUnitCountOnFront = b + 76;
  ai.MaxCoveringUnitDistance = id + 5;
  ai.MaxSafeMoveCost = b + 77;
  ai.ShoreBombardmentSingleUse = {0.25f * static_cast<float>(id), 0.125f * static_cast<float>(id)};
  fill(ai.CarrierTargetsPriorities, b + 80);
}

TEST_F(AiDataFileTest, EveryValueOfEveryCountryComesBackInItsOwnPlace) {
  AddCity(7, 2, kCityPort);
  for (const int id : {2, 3}) FillSettings(Ai(id), id);
  dir_.Write("data/save/out/.keep", "");
  ASSERT_TRUE(WriteAIData(world_.game(), u"data\\save\\out"));
  const std::string text = dir_.Read("data/save/out/ai_data.csv");
  for (int id = 1; id <= 3; ++id) Ai(id) = sCountryAiSettings();

  Load(text);
  for (const int id : {2, 3}) {
    SCOPED_TRACE(id);
    sCountryAiSettings want;
    FillSettings(want, id);
    const sCountryAiSettings& got = Ai(id);
    EXPECT_EQ(got.MakesSeaInvasions, want.MakesSeaInvasions);
    EXPECT_EQ(got.MaxNumberOfFrontsForSeaInvasion, want.MaxNumberOfFrontsForSeaInvasion);
    EXPECT_EQ(got.CurrentSeaInvasionTarget, want.CurrentSeaInvasionTarget);
    EXPECT_EQ(got.ObligatorySeaInvasionTargets, want.ObligatorySeaInvasionTargets);
    ASSERT_EQ(got.CurrentTargets.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(got.CurrentTargets[i].x, want.CurrentTargets[i].x);
      EXPECT_EQ(got.CurrentTargets[i].y, want.CurrentTargets[i].y);
      EXPECT_EQ(got.CurrentTargets[i].value, want.CurrentTargets[i].value);
    }
    EXPECT_EQ(got.DoNotAttackCities, want.DoNotAttackCities);
    EXPECT_EQ(got.ExtraCitiesToGarrison, want.ExtraCitiesToGarrison);
    ASSERT_EQ(got.SeaZonesToPatrol.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(got.SeaZonesToPatrol[i].seaZone, want.SeaZonesToPatrol[i].seaZone);
      EXPECT_EQ(got.SeaZonesToPatrol[i].value, want.SeaZonesToPatrol[i].value);
    }
    EXPECT_EQ(got.PurchaseQueue, want.PurchaseQueue);
    EXPECT_EQ(got.FortLevelToHoldAtAllCost, want.FortLevelToHoldAtAllCost);
    EXPECT_EQ(got.DesiredLandForcesStructure, want.DesiredLandForcesStructure);
    EXPECT_EQ(got.DesiredTechLevels, want.DesiredTechLevels);
    EXPECT_EQ(got.DesiredStrategicMovementPoints, want.DesiredStrategicMovementPoints);
    EXPECT_EQ(got.NewUnitPurchasePreferences, want.NewUnitPurchasePreferences);
    const sNewUnitPurchaseData& d = got.NewUnitPurchaseData;
    const sNewUnitPurchaseData& e = want.NewUnitPurchaseData;
    EXPECT_EQ((std::array<int, 3>{d.landType, d.airType, d.navalType}), (std::array<int, 3>{e.landType, e.airType, e.navalType}));
    EXPECT_EQ((std::array<float, 3>{d.landPrice, d.airPrice, d.navalPrice}),
              (std::array<float, 3>{e.landPrice, e.airPrice, e.navalPrice}));
    EXPECT_EQ(got.MultipleSideAttackPreferences, want.MultipleSideAttackPreferences);
    EXPECT_EQ(got.OneSideAttackPreferences, want.OneSideAttackPreferences);
    EXPECT_EQ(got.AllianceEntryPolicy, want.AllianceEntryPolicy);
    EXPECT_EQ(got.CountriesToPress, want.CountriesToPress);
    EXPECT_EQ(got.TransportsUnitsToFrontsBySea, want.TransportsUnitsToFrontsBySea);
    EXPECT_FLOAT_EQ(got.MinRatioToPatchFront, want.MinRatioToPatchFront);
    EXPECT_EQ(got.MaxUnitCountOnFront, want.MaxUnitCountOnFront);
    EXPECT_EQ(got.MaxCoveringUnitDistance, want.MaxCoveringUnitDistance);
    EXPECT_EQ(got.MaxSafeMoveCost, want.MaxSafeMoveCost);
    EXPECT_EQ(got.ShoreBombardmentSingleUse, want.ShoreBombardmentSingleUse);
    EXPECT_EQ(got.CarrierTargetsPriorities, want.CarrierTargetsPriorities);
  }

  // A save holds a block for every country: one without the last country's is refused.
  world_.game().loadedGame = 1;
  Load(text);
  test::LogCapture log;
  EXPECT_THROW(Load(text.substr(0, text.find("\r\nCountry;3"))), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"has no block for country 3 (cut short?)"));
  // Nor is the first country's block ever left out.
  const std::size_t first = text.find("Country;1");
  ASSERT_NE(first, std::string::npos);
  EXPECT_THROW(Load(text.substr(0, first) + text.substr(text.find("Country;2"))), FatalExitError);
  EXPECT_TRUE(log.ContainsText(u"has no block for country 1 (cut short?)"));
}

// A saved value the game never writes there would load as another: text, a
// switch past 0 or 1, or text for a decimal, each refused naming the line
// and the field. A scenario's own file with the same values keeps its
// lenient reading.
TEST_F(AiDataFileTest, ASavesValuesAreReadAsTheGameWritesThem) {
  for (const int id : {2, 3}) FillSettings(Ai(id), id);
  dir_.Write("data/save/out/.keep", "");
  ASSERT_TRUE(WriteAIData(world_.game(), u"data\\save\\out"));
  const std::string text = dir_.Read("data/save/out/ai_data.csv");
  world_.game().loadedGame = 1;
  // This text as the save is refused, the log naming what.
  const auto refused = [&](const std::string& edited, const std::u16string& what, const std::string& trace) {
    test::LogCapture log;
    EXPECT_THROW(Load(edited), FatalExitError) << trace;
    EXPECT_TRUE(log.ContainsText(what)) << trace;
  };
  for (const auto& [key, value, what] :
       {std::tuple{"TransportsUnitsToFrontsBySea", "2", u"has 2 in field 2, where the game writes 0 or 1;"},
        std::tuple{"MakesSeaInvasions", "-1", u"has -1 in field 2, where the game writes 0 or 1;"},
        std::tuple{"MakesSeaInvasions", "yes", u"has no whole number in field 2;"},
        std::tuple{"MinRatioToPatchFront", "lots", u"has no number in field 2;"}}) {
    const std::string line = std::string("\r\n") + key + ";";
    const std::size_t at = text.find(line);
    ASSERT_NE(at, std::string::npos) << key;
    const std::size_t from = at + line.size();
    const std::string edited = std::string(text).replace(from, text.find_first_of(";\r", from) - from, value);
    const std::string lineNumber = std::to_string(std::count(text.begin(), text.begin() + at + 2, '\n') + 1);
    refused(edited, u"ai_data.csv at line " + Utf8ToUtf16(lineNumber) + u" (counting from 1) " + what,
            std::string(key) + value);
  }

  // Whole lines: an empty field would shift a list's pairs, a value more or
  // less would wrap over the first or leave a half entry out, a value past
  // its range would be left out, a line before any Country belongs to none.
  for (const auto& [key, line, what] :
       {std::tuple{"SeaZonesToPatrol", "SeaZonesToPatrol;;1;2;1;4;1", u"has no whole number in field 2;"},
        std::tuple{"SeaZonesToPatrol", "SeaZonesToPatrol;1;2;1",
                   u"has 3 values for SeaZonesToPatrol, where the game writes 2 for each entry;"},
        std::tuple{"CurrentTargets", "CurrentTargets;1;2;3;4",
                   u"has 4 values for CurrentTargets, where the game writes 3 for each entry;"},
        std::tuple{"DesiredTechLevels", "DesiredTechLevels;1;1;1;1;1;1;1;1",
                   u"has 8 values for DesiredTechLevels, where the game writes 7;"},
        std::tuple{"CarrierTargetsPriorities", "CarrierTargetsPriorities;1;2",
                   u"has 2 values for CarrierTargetsPriorities, where the game writes 9;"},
        std::tuple{"MaxCoveringUnitDistance", "MaxCoveringUnitDistance;-1",
                   u"has MaxCoveringUnitDistance of -1, a value the game never writes there;"},
        std::tuple{"CountriesToPress", "CountriesToPress;4",
                   u"has CountriesToPress of 4, a value the game never writes there;"},
        std::tuple{"DesiredTechLevels", "DesiredTechLevels;", u"has 1 fields of the 2 of a row (cut short?);"}}) {
    // The line goes into the first country's block, whose lists are empty.
    const std::size_t at = text.find("\r\nCountry;1\r\n");
    ASSERT_NE(at, std::string::npos) << key;
    const std::string edited = std::string(text).insert(at + 11, "\r\n" + std::string(line));
    const std::string lineNumber = std::to_string(std::count(text.begin(), text.begin() + at + 2, '\n') + 2);
    refused(edited, u"ai_data.csv at line " + Utf8ToUtf16(lineNumber) + u" (counting from 1) " + what, line);
  }
  // A line of separators only between the keys holds no value: the save loads as written.
  {
    const std::size_t at = text.find("\r\nCountry;1\r\n");
    ASSERT_NE(at, std::string::npos);
    AddCity(7, 2, kCityPort);  // the city the settings name
    for (int id = 1; id <= 3; ++id) Ai(id) = sCountryAiSettings();
    test::LogCapture log;
    Load(std::string(text).insert(at + 11, "\r\n;;;"));
    EXPECT_FALSE(log.ContainsText(u"ERROR"));
    dir_.Write("data/save/again/.keep", "");
    ASSERT_TRUE(WriteAIData(world_.game(), u"data\\save\\again"));
    EXPECT_EQ(dir_.Read("data/save/again/ai_data.csv"), text);
  }
  // Every key of a fixed count with its values given twice: none is a list.
  const std::size_t block = text.find("\r\nCountry;1\r\n") + 2;
  const std::size_t blockEnd = text.find("\r\nCountry;2");
  int keys = 0;
  for (std::size_t at = text.find("\r\n", block); at < blockEnd; at = text.find("\r\n", at + 2)) {
    const std::size_t end = std::min(text.find("\r\n", at + 2), text.size());
    const std::string line = text.substr(at + 2, end - at - 2);
    const std::string key = line.substr(0, line.find(';'));
    const std::string values = line.substr(key.size());
    const std::size_t count = static_cast<std::size_t>(std::count(values.begin(), values.end(), ';'));
    const std::string edited = std::string(text).insert(end, "\r\n" + line + values);
    refused(edited,
            Utf8ToUtf16("has " + std::to_string(2 * count) + " values for " + key + ", where the game writes " +
                        std::to_string(count) + ";"),
            line);
    ++keys;
  }
  EXPECT_EQ(keys, 19);
  refused("# ai data\r\nMakesSeaInvasions;1\r\n" + text.substr(text.find("Country;1")),
          u"ai_data.csv at line 2 (counting from 1) gives MakesSeaInvasions before a Country line naming a "
          u"country the save holds;",
          "");

  world_.game().loadedGame = 0;
  test::LogCapture log;
  Load("# ai data\r\nCountry;1\r\nMakesSeaInvasions;yes\r\nMaxUnitCountOnFront;ten\r\n");
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  EXPECT_EQ(Ai(1).MakesSeaInvasions, 0);
  EXPECT_EQ(Ai(1).MaxUnitCountOnFront, 0);
}

}  // namespace
}  // namespace tr
