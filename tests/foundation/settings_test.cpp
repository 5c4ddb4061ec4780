#include "foundation/settings.h"

#include <gtest/gtest.h>

#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

// Runs LoadSettings against a game folder holding the given "Settings.ini".
class SettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    oldRoot_ = GameRoot();
    SetGameRoot(dir_.path());
  }
  void TearDown() override { SetGameRoot(oldRoot_); }
  void Load(std::string_view settings) {
    dir_.Write("Settings.ini", settings);
    LoadSettings();
  }

  test::TempDir dir_;
  std::filesystem::path oldRoot_;
};

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TEST_F(SettingsTest, BareFileGetsEveryKeyAtItsDefault) {
  Load("[Main]\n");
  SaveSettings();
  // The shipped default file is exactly what the defaults produce, but for the
  // frame limit and the delays it ships (a missing key still means no limit,
  // and a second's delay).
  std::string shipped = test::ReadFileBytes(std::filesystem::path(TR_SOURCE_DIR) / "data/Settings.ini");
  const std::string limit = "FPSLimit = 25";
  const std::size_t at = shipped.find(limit);
  ASSERT_NE(at, std::string::npos);
  shipped.replace(at, limit.size(), "FPSLimit = 0");
  for (const sDelaySetting& row : gDelaySettings) {
    const std::string key = '\n' + std::string(row.iniKey).substr(std::string("Delay/").size()) + " = ";
    const std::size_t line = shipped.find(key);
    ASSERT_NE(line, std::string::npos) << row.iniKey;
    const std::size_t value = line + key.size();
    shipped.replace(value, shipped.find_first_of("\r\n", value) - value, "1000");
  }
  EXPECT_EQ(dir_.Read("Settings.ini"), WithCrLf(shipped));
  EXPECT_EQ(gScreenWidth, 1024);
  EXPECT_EQ(gScreenHeight, 768);
  EXPECT_TRUE(gWindowed);
  EXPECT_EQ(gUnitsSkin, u"Counters");
  EXPECT_EQ(gMapSkin, u"Normal");
  EXPECT_EQ(gBorderColor, 0xFFFFFFFFu);
  EXPECT_FALSE(DontConfirmEndTurn);
  EXPECT_EQ(gDelays[kDelayHumanMoveBetween], 1000.0f);
  EXPECT_EQ(StringBase().GetLanguage(), "ENG");
}

TEST_F(SettingsTest, ConvertsStoredValues) {
  Load("[Main]\nFullscreen=true\nFPSLimit=60\n[MapDisplay]\nZoom=150\n"
       "[Border]\nColorA=255\nColorR=0\nColorG=0\nColorB=255\n"
       "[Audio]\nMusicVolume=40\n[InterfaceSettings]\nConfirmEndTurn=false\n"
       "[Delay]\nAIMoveBefore=-5\nControlHint=250\n");
  EXPECT_FALSE(gWindowed);
  EXPECT_EQ(gMinFrameTime, 16);
  EXPECT_EQ(gMapZoom, 1.5f);
  EXPECT_EQ(gBorderColor, 0xFF0000FFu);
  EXPECT_EQ(gMusicVolume, 0.4f);
  EXPECT_TRUE(DontConfirmEndTurn);
  EXPECT_EQ(gDelays[kDelayAIMoveBefore], 0.0f);
  EXPECT_EQ(gDelays[kDelayControlHint], 250.0f);
}

TEST_F(SettingsTest, CombatResultDelaysKeepWaitingForAClickOverAReload) {
  Load("[Delay]\nHumanCombatResult=-1000\nAICombatResult=-1\nHumanDeployAfter=-3\n");
  EXPECT_EQ(gDelays[kDelayHumanCombatResult], -1000.0f);
  EXPECT_EQ(gDelays[kDelayAICombatResult], -1.0f);
  // Every other delay is slept on, so a negative one still waits nothing.
  EXPECT_EQ(gDelays[kDelayHumanDeployAfter], 0.0f);
  SaveSettings();
  LoadSettings();
  EXPECT_EQ(gDelays[kDelayHumanCombatResult], -1000.0f);
  EXPECT_EQ(gDelays[kDelayAICombatResult], -1.0f);
}

TEST_F(SettingsTest, FullscreenOneStaysWindowedAndNoFpsLimit) {
  Load("[Main]\nFullscreen=1\nFPSLimit=0\n");
  EXPECT_TRUE(gWindowed);
  EXPECT_EQ(gMinFrameTime, 0);
}

struct ZoomCase {
  float zoom;
  const char* stored;
};
class SettingsZoom : public SettingsTest, public testing::WithParamInterface<ZoomCase> {};

TEST_P(SettingsZoom, SavedAsPercentRoundedUp) {
  Load("[MapDisplay]\nZoom=100\n");
  gMapZoom = GetParam().zoom;
  SaveSettings();
  EXPECT_NE(dir_.Read("Settings.ini").find(std::string("Zoom = ") + GetParam().stored + "\r\n"),
            std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsZoom,
                         testing::Values(ZoomCase{0.75f, "75"}, ZoomCase{0.7f, "70"},
                                         ZoomCase{1.1f, "110"}, ZoomCase{1.234f, "124"}));

// Volumes beyond full or below silence, and zooms the map never shows, are
// held to their range with a line naming the key and the file; the zoom is
// stored back as the percent it was held at.
TEST_F(SettingsTest, VolumesAndZoomOutsideTheirRangesAreHeldAtItsEnds) {
  test::LogCapture log;
  Load("[MapDisplay]\nZoom=2147483647\n[Audio]\nSFXVolume=-2147483648\nMusicVolume=2147483647\n");
  EXPECT_EQ(gMapZoom, 10.0f);
  EXPECT_EQ(gSfxVolume, 0.0f);
  EXPECT_EQ(gMusicVolume, 1.0f);
  EXPECT_TRUE(log.Contains(u"WARNING: MapDisplay/Zoom (2147483647) in Settings.ini is outside 1 to 1000; 1000 used"));
  EXPECT_TRUE(log.Contains(u"WARNING: Audio/SFXVolume (-2147483648) in Settings.ini is outside 0 to 100; 0 used"));
  EXPECT_TRUE(log.Contains(u"WARNING: Audio/MusicVolume (2147483647) in Settings.ini is outside 0 to 100; 100 used"));
  SaveSettings();
  EXPECT_NE(dir_.Read("Settings.ini").find("Zoom = 1000\r\n"), std::string::npos);

  Load("[MapDisplay]\nZoom=0\n[Audio]\nSFXVolume=101\n");
  EXPECT_EQ(gMapZoom, 0.01f);
  EXPECT_EQ(gSfxVolume, 1.0f);
}

TEST_F(SettingsTest, MissingFileUsesKeyDefaultsAndCreatesNothing) {
  test::LogCapture log;
  gScreenWidth = 0;
  gScreenHeight = 0;
  gWindowed = false;
  LoadSettings();
  EXPECT_TRUE(log.Contains(u"Loading settings..."));
  EXPECT_TRUE(log.ContainsText(u"ERROR during opening INI file Settings.ini"));
  EXPECT_EQ(gScreenWidth, 1024);
  EXPECT_EQ(gScreenHeight, 768);
  EXPECT_TRUE(gWindowed);
  SaveSettings();
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "Settings.ini"));
}

TEST(DelaySettings, RowsAreDistinct) {
  for (std::size_t i = 0; i < gDelaySettings.size(); ++i) {
    for (std::size_t j = i + 1; j < gDelaySettings.size(); ++j) {
      EXPECT_STRNE(gDelaySettings[i].iniKey, gDelaySettings[j].iniKey);
      EXPECT_NE(gDelaySettings[i].controlId, gDelaySettings[j].controlId);
    }
  }
}

}  // namespace
}  // namespace tr
