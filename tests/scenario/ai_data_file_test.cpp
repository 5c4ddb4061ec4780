#include "scenario/ai_data_file.h"

#include <gtest/gtest.h>

#include "foundation/fatal.h"
#include "foundation/paths.h"
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
  LoadFatal("# ai data\r\nCountry;1\r\n#x\r\nNoSuchKey;3\r\n");
  EXPECT_TRUE(log.Contains(u"ERROR: line 4 in ai_data.csv has incorrect variable name (NoSuchKey)!"));
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

}  // namespace
}  // namespace tr
