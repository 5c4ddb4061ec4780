// What the game screen shows a player after a saved game is loaded through
// the menus: the counters' names and the cities' texts in the faces of the
// zoom the map shows, following the zoom both ways (screenshots of both ends
// stay in the build folder).
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/skin_tables.h"
#include "foundation/game_lock.h"
#include "game_session.h"
#include "world/gra.h"
#include "world/map_camera.h"
#include "world/scenario_check.h"

namespace tr {
namespace {

constexpr int kKaltheim = 1;

class MapScreenSessionTest : public test::GameSessionTest {
 protected:
  // A save of the sample as the scenario checker writes it.
  void SaveSample(const std::string& name) {
    std::ostringstream out;
    std::ostringstream errors;
    ASSERT_EQ(RunScenarioCheck({"--root", folder_.path().string(), "--scenario", "NorthernTide", "--save-as", name},
                               out, errors),
              0)
        << errors.str();
  }

  // The save started from the saved games with Kaltheim the player's, up to
  // its first turn on screen with the banner closed.
  void StartSave(const std::u16string& folderTemplate) {
    cScenarioSettingsMenu* settings = OpenSettingsOf(cScenarioMenu::kSavedGame, folderTemplate);
    ASSERT_NE(settings, nullptr);
    ChooseHumans(*settings, {{kKaltheim, 0}});
    Click(settings->GetControl(kStartButton));
    ASSERT_TRUE(WorkerReaches([&] { return HumanTurnOf(gGame != nullptr ? gGame->GetCountry(kKaltheim) : nullptr); },
                              false))
        << DialogsAndState();
    PressKey(VK_RETURN);
  }

  // Frames until the zoom has settled.
  void SettleZoom() {
    ASSERT_TRUE(FramesUntil([] {
      GameLockGuard lock;
      return gDisplayedScale == gTargetScale;
    }));
    Frame();
  }

  // The shipped skins' ranges: the land counters' names grow below 75, 50
  // and 35 percent, the cities' texts below 60 percent.
  static void ExpectAppearanceOfZoom(const char* where) {
    GameLockGuard lock;
    const int z = static_cast<int>(gDisplayedScale * 100.0f);
    const char16_t* land = z < 35 ? u"Whole" : z < 50 ? u"Far" : z < 75 ? u"Middle" : u"Normal";
    const sSkinTables& tables = SkinTables();
    EXPECT_EQ(tables.activeUnit[0]->name, land) << where << " at zoom " << z;
    EXPECT_EQ(tables.activeCity, &tables.cities[z < 60 ? 1 : 0]) << where << " at zoom " << z;
  }
};

TEST_F(MapScreenSessionTest, AfterALoadTheLabelsTakeTheFacesOfTheZoomBothWays) {
  SaveSample("zoomed");
  const int exitCode = RunProgram([&] {
    StartSave(u"data\\save\\zoomed\\%s");
    SettleZoom();
    ExpectAppearanceOfZoom("as loaded");
    // The keys zoom by steps, out to the whole map and back in to full size;
    // every zoom a step settles at shows the faces of its range.
    const auto zoomAll = [&](std::uint32_t key, float end, const char* where) {
      for (int step = 0; step < 200 && gZoomLevel != end; ++step) {
        PressKey(key);
        if (gDisplayedScale == gTargetScale) ExpectAppearanceOfZoom(where);
      }
      SettleZoom();
      ExpectAppearanceOfZoom(where);
    };
    zoomAll(VK_SUBTRACT, 1.0f, "zooming out");
    EXPECT_LT(gDisplayedScale, 0.5f);
    EXPECT_TRUE(frame_->graphics().SaveScreenshot("map_after_load_zoomed_out.png"));
    zoomAll(VK_ADD, 0.0f, "zooming in");
    EXPECT_EQ(gDisplayedScale, 1.0f);
    EXPECT_TRUE(frame_->graphics().SaveScreenshot("map_after_load_zoomed_in.png"));
  });
  EXPECT_EQ(exitCode, 0);
}

}  // namespace
}  // namespace tr
