// What the game screen shows a player after a saved game is loaded through
// the menus: the counters' names and the cities' texts in the faces of the
// zoom the map shows, following the zoom both ways (screenshots of both ends
// stay in the build folder); and a prompt on the status line for exactly as
// long as its action can be taken.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <sstream>
#include <string>

#include "app/pause_menu.h"
#include "app/skin_tables.h"
#include "dialogs/convoys_manager.h"
#include "dialogs/panel_informacyjny.h"
#include "foundation/game_lock.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "game_session.h"
#include "gui/static.h"
#include "platform/font.h"
#include "units/jednostka_ladowa.h"
#include "world/city.h"
#include "world/hex_distance.h"
#include "world/gra.h"
#include "world/map_camera.h"
#include "world/scenario_check.h"

namespace tr {
namespace {

constexpr int kKaltheim = 1;
constexpr int kPauseResume = 272;
constexpr std::uint32_t kConvoyPortMark = 0x8000;

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

  std::u16string StatusLine() {
    GameLockGuard lock;
    return static_cast<CDXUTStatic*>(GetInfoPanel()->GetControl(cInfoPanel::kStatusLine))->GetText();
  }
  // Escape pauses; the pause menu's resume goes back to the map.
  void PauseAndResume(const char* what) {
    PressKey(VK_ESCAPE);
    ASSERT_NE(dynamic_cast<cPauseMenu*>(CurrentMenu), nullptr) << what;
    EXPECT_EQ(StatusLine(), GetText("statusbar_hint_no_action")) << "paused " << what;
    Click(CurrentMenu->GetControl(kPauseResume));
    Frame();
    ASSERT_TRUE(HumanTurnOf(gGame->GetCountry(kKaltheim))) << DialogsAndState();
  }

  // The shipped skins' ranges: the land counters' names grow below 75, 50
  // and 35 percent, and the cities' texts with them.
  static void ExpectAppearanceOfZoom(const char* where) {
    GameLockGuard lock;
    const int z = static_cast<int>(gDisplayedScale * 100.0f);
    const int range = z < 35 ? 3 : z < 50 ? 2 : z < 75 ? 1 : 0;
    const char16_t* const land[] = {u"Normal", u"Middle", u"Far", u"Whole"};
    const sSkinTables& tables = SkinTables();
    EXPECT_EQ(tables.activeUnit[0]->name, land[range]) << where << " at zoom " << z;
    EXPECT_EQ(tables.activeCity, &tables.cities[static_cast<std::size_t>(range)]) << where << " at zoom " << z;
  }

  // In the frame just drawn, the name of every city with a counter in it on
  // screen stays clear of the counter's name, each measured as drawn in its
  // face (its beginning cut with "..." counts as the name). Below 75 percent
  // the city's name takes the counter's name line, and the counter goes
  // without its name.
  void ExpectCityNamesClearOfTheirUnits(const DrawRecorder& recorder, const char* where) {
    GameLockGuard lock;
    const float scale = gDisplayedScale;
    const auto drawn = [scale](const DrawRecord& r) {
      const float width = static_cast<float>(r.font->TextWidth(r.text)) * scale;
      const float height = static_cast<float>(r.font->line_height()) * scale;
      const float cx = (r.dest.left + r.dest.right) / 2.0f, cy = (r.dest.top + r.dest.bottom) / 2.0f;
      return RectF{cx - width / 2.0f, cy - height / 2.0f, cx + width / 2.0f + scale, cy + height / 2.0f + scale};
    };
    const auto names = [](const std::u16string& text, const std::u16string& name) {
      return text == name || (text.ends_with(u"...") && name.starts_with(text.substr(0, text.size() - 3)));
    };
    // A text that names one unit only, so that it is that unit's own name.
    const auto namesOnly = [&](const std::u16string& text, const cUnit& unit) {
      int named = 0;
      for (const auto& other : gGame->landUnits) named += names(text, other->name) ? 1 : 0;
      for (const auto& other : gGame->airUnits) named += names(text, other->name) ? 1 : 0;
      return named == 1 && names(text, unit.name);
    };
    int pairs = 0, named = 0;
    for (const auto& city : gGame->cities) {
      const cUnit* unit = gGame->map->GetHex(city->x, city->y)->unit;
      if (unit == nullptr) continue;
      for (const DrawRecord* c : recorder.OfKind(DrawRecord::Kind::kText)) {
        if (c->font == nullptr || !names(c->text, city->name)) continue;
        ++named;
        for (const DrawRecord* u : recorder.OfKind(DrawRecord::Kind::kText)) {
          if (u->font == nullptr || !namesOnly(u->text, *unit)) continue;
          ++pairs;
          const RectF a = drawn(*c), b = drawn(*u);
          EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
              << Utf16ToUtf8(city->name) << " over " << Utf16ToUtf8(u->text) << " " << where << " at zoom "
              << scale;
        }
      }
    }
    EXPECT_GT(named, 0) << where << " at zoom " << scale;
    EXPECT_EQ(pairs > 0, static_cast<int>(scale * 100.0f) >= 75) << where << " at zoom " << scale;
  }
};

TEST_F(MapScreenSessionTest, AfterALoadTheLabelsTakeTheFacesOfTheZoomBothWays) {
  SaveSample("zoomed");
  DrawRecorder recorder;
  const int exitCode = RunProgram([&] {
    StartSave(u"data\\save\\zoomed\\%s");
    SettleZoom();
    ExpectAppearanceOfZoom("as loaded");
    // The view stays on Hafenau, a city with a counter in it.
    const auto hafenau = std::find_if(gGame->cities.begin(), gGame->cities.end(),
                                      [](const auto& city) { return city->name == u"Hafenau"; });
    ASSERT_NE(hafenau, gGame->cities.end());
    const sPoint city{(*hafenau)->x, (*hafenau)->y};
    frame_->graphics().SetRecorder(&recorder);
    // A frame drawn afresh, its draws recorded.
    const auto drawFrame = [&] {
      {
        GameLockGuard lock;
        CenterAtHex(*gGame->map, city.x, city.y, false);
      }
      recorder.Clear();
      Frame();
    };
    // The keys zoom by steps, out to the whole map and back in to full size;
    // every zoom a step settles at shows the faces of its range, and the
    // city's name clear of the name of the counter in it.
    const auto zoomAll = [&](std::uint32_t key, float end, const char* where) {
      for (int step = 0; step < 200 && gZoomLevel != end; ++step) {
        PressKey(key);
        if (gDisplayedScale != gTargetScale) continue;
        ExpectAppearanceOfZoom(where);
        drawFrame();
        ExpectCityNamesClearOfTheirUnits(recorder, where);
      }
      SettleZoom();
      ExpectAppearanceOfZoom(where);
      drawFrame();
      ExpectCityNamesClearOfTheirUnits(recorder, where);
    };
    zoomAll(VK_SUBTRACT, 1.0f, "zooming out");
    EXPECT_LT(gDisplayedScale, 0.5f);
    EXPECT_TRUE(frame_->graphics().SaveScreenshot("map_after_load_zoomed_out.png"));
    zoomAll(VK_ADD, 0.0f, "zooming in");
    EXPECT_EQ(gDisplayedScale, 1.0f);
    EXPECT_TRUE(frame_->graphics().SaveScreenshot("map_after_load_zoomed_in.png"));
    frame_->graphics().SetRecorder(nullptr);
  });
  EXPECT_EQ(exitCode, 0);
}

// The prompt goes with its action: not while paused, not once the manager it
// served is gone, not into the next turn; it stays while the action can
// still be taken (after a move that leaves the unit more to go, after a
// pause that kept the unit chosen, after a right click, which changes nothing).
TEST_F(MapScreenSessionTest, APromptLastsAsLongAsItsActionCanBeTaken) {
  SaveSample("prompts");
  const int exitCode = RunProgram([&] {
    StartSave(u"data\\save\\prompts\\%s");
    const std::u16string none = GetText("statusbar_hint_no_action");
    const std::u16string move = GetText("statusbar_hint_move_destination_hex");
    cCountry* kaltheim = gGame->GetCountry(kKaltheim);
    cJednostkaLadowa* unit = nullptr;
    {
      GameLockGuard lock;
      for (const auto& land : gGame->landUnits) {
        if (unit == nullptr && land->owner == kKaltheim && gGame->map->IsInside(land->x, land->y) &&
            land->ComputeMoveRange(1) > 1) {
          unit = land.get();
        }
      }
    }
    ASSERT_NE(unit, nullptr);
    CentreAndClickHex({unit->x, unit->y});
    Frame();
    EXPECT_EQ(StatusLine(), move);
    PauseAndResume("with a unit chosen");
    EXPECT_EQ(StatusLine(), move) << "the unit is still chosen";

    // The nearest hex of its range: the unit has more to go after the move.
    std::optional<sPoint> to;
    {
      GameLockGuard lock;
      int cheapest = 0;
      for (const auto& cell : unit->moveRange) {
        if (!to || cell.cost < cheapest) to = sPoint{cell.x, cell.y}, cheapest = cell.cost;
      }
    }
    ASSERT_TRUE(to.has_value());
    ClickHex(*to);
    ASSERT_TRUE(FramesUntil([&] { return HumanTurnOf(kaltheim); })) << DialogsAndState();
    Frame();
    ASSERT_GT(unit->moveRange.size(), 0u);
    EXPECT_EQ(StatusLine(), move) << "the unit can move on";

    // A convoy's port of departure: a right click keeps the pick open, the
    // pause closes the manager and ends it.
    PressKey('C');
    auto* convoys = dynamic_cast<cDialogKonwojow*>(TopDialog);
    ASSERT_NE(convoys, nullptr) << DialogsAndState();
    Click(convoys->GetControl(cDialogKonwojow::kNewButton));
    Frame();
    EXPECT_EQ(StatusLine(), GetText("statusbar_hint_convoy_source_port"));
    const std::optional<sPoint> port = MarkedHex(kConvoyPortMark);
    ASSERT_TRUE(port.has_value());
    {
      GameLockGuard lock;
      CenterAtHex(*gGame->map, port->x, port->y, false);
    }
    Frame();
    const auto [x, y] = ScreenPointOf(*port);
    frame_->Inject(RawInput::MouseDown(RawInput::kRight, x, y));
    frame_->Inject(RawInput::MouseUp(RawInput::kRight, x, y));
    Frame();
    EXPECT_EQ(StatusLine(), GetText("statusbar_hint_convoy_source_port"));
    PauseAndResume("while choosing a port");
    EXPECT_EQ(TopDialog, nullptr);
    EXPECT_EQ(StatusLine(), none) << "the convoys manager is closed";
    EXPECT_EQ(MarkedHex(kConvoyPortMark), std::nullopt);

    // The turn ends with a unit chosen; the next one starts with nothing chosen.
    CentreAndClickHex({unit->x, unit->y});
    Frame();
    EXPECT_EQ(StatusLine(), move);
    ASSERT_TRUE(EndTurnUntilItComesBack(kaltheim));
    Frame();
    EXPECT_EQ(gGame->playerControl.actionMode, kActionNone);
    EXPECT_EQ(StatusLine(), none);
  });
  EXPECT_EQ(exitCode, 0);
}

}  // namespace
}  // namespace tr

namespace tr {
namespace {

// A pause keeps what the player had chosen: paused with a unit chosen, the
// unit stays chosen on its hex; paused while a unit walks, the walk goes on
// after the pause menu's Resume, and the unit ends chosen on the hex it
// stopped on, the only hex marked as chosen.
TEST_F(MapScreenSessionTest, APausedWalkEndsAfterResumeWithItsUnitChosen) {
  SaveSample("walk");
  const int exitCode = RunProgram([&] {
    StartSave(u"data\\save\\walk\\%s");
    const auto chosenHexes = [&] {
      std::vector<sPoint> chosen;
      GameLockGuard lock;
      const cMap& map = *gGame->map;
      for (int y = 0; y < map.GetHeight(); ++y) {
        for (int x = 0; x < map.GetWidth(); ++x) {
          if ((map.GetHex(x, y)->flags & 1u) != 0) chosen.push_back({x, y});
        }
      }
      return chosen;
    };
    const auto expectChosenOnItsHex = [&](const cJednostkaLadowa* unit, const char* what) {
      GameLockGuard lock;
      const cPlayerControl& control = gGame->playerControl;
      const sHex* hex = gGame->map->GetHex(unit->x, unit->y);
      EXPECT_EQ(hex->unit, unit) << what;
      EXPECT_EQ(control.selectedUnit, unit) << what;
      EXPECT_EQ(control.selectedHex, hex) << what;
      const std::vector<sPoint> chosen = chosenHexes();
      ASSERT_EQ(chosen.size(), 1u) << what;
      EXPECT_EQ(chosen[0].x, unit->x) << what;
      EXPECT_EQ(chosen[0].y, unit->y) << what;
    };
    // A Kaltheim unit that can walk at least three hexes, and the farthest hex of its range.
    cJednostkaLadowa* unit = nullptr;
    std::optional<sPoint> to;
    {
      GameLockGuard lock;
      for (const auto& land : gGame->landUnits) {
        if (unit != nullptr || land->owner != kKaltheim || !gGame->map->IsInside(land->x, land->y)) continue;
        land->ComputeMoveRange(1);
        for (const auto& cell : land->moveRange) {
          if (HexDistance(land->x, land->y, cell.x, cell.y) >= 3) unit = land.get(), to = sPoint{cell.x, cell.y};
        }
      }
    }
    ASSERT_NE(unit, nullptr);
    const sPoint from{unit->x, unit->y};
    CentreAndClickHex(from);
    Frame();
    PauseAndResume("with a unit chosen");
    expectChosenOnItsHex(unit, "after a pause with the unit chosen");

    ClickHex(*to);
    ASSERT_EQ(gGame->GetGameState(), kGameHumanMoving) << "the walk has begun";
    PressKey(VK_ESCAPE);
    ASSERT_NE(dynamic_cast<cPauseMenu*>(CurrentMenu), nullptr);
    EXPECT_NE(unit->x * 1000 + unit->y, to->x * 1000 + to->y) << "paused before the walk's end";
    Click(CurrentMenu->GetControl(kPauseResume));
    ASSERT_TRUE(FramesUntil([&] { return HumanTurnOf(gGame->GetCountry(kKaltheim)); })) << DialogsAndState();
    Frame();
    EXPECT_NE(unit->x * 1000 + unit->y, from.x * 1000 + from.y) << "the unit walked on";
    expectChosenOnItsHex(unit, "after a pause during the walk");
    EXPECT_TRUE(frame_->graphics().SaveScreenshot("map_walk_after_pause.png"));
  });
  EXPECT_EQ(exitCode, 0);
}

}  // namespace
}  // namespace tr
