// A sea battle of the human country on its own screen, through the real
// program: the end of impulse meets a scripted battle of one of the human
// country's warships against an enemy one, the screen comes up in state 5,
// Auto end fights it out, Close hands the game back to the worker, and the
// human country's next turn comes back. The autosave of the turn ended, on a
// read-only disk, is told under the banner of that turn, the battle screen
// having closed every box open before it. Screenshots stay in the build folder.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <thread>

#include "app/sea_battle_menu.h"
#include "dialogs/dialog_tekstowy.h"
#include "foundation/game_lock.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "gui/static.h"
#include "scenario/save_game.h"
#include "game_session.h"
#include "turn/sea_battle.h"
#include "turn/turn_steps.h"
#include "units/jednostka_morska.h"
#include "world/gra.h"
#include "world/map_camera.h"

namespace tr {
namespace {

bool OnMap(const cJednostkaMorska& ship) { return ship.fleet != nullptr && ship.hitPoints > 0 && ship.owner > 0; }

bool IsTransport(const cJednostkaMorska& ship) { return ship.type == kCargoShip || ship.type == kAmphibiousShip; }

bool IsSurfaceWarship(const cJednostkaMorska& ship) {
  return !IsTransport(ship) && ship.type != kAircraftCarrier && ship.type != kSubmarine;
}

class SeaBattleScreenTest : public test::GameSessionTest {
 protected:
  void Script();

  // One of the human country's transports against a surface warship of a
  // country at war with it (or, without a war, of any other country):
  // without carriers and submarines no opening strike, no "Fleet detected"
  // box and no call-off comes before the screen.
  // The frames read fought_ without the worker's lock: it is set only once the
  // ships are chosen, after started_, so "fought and not started" means no battle.
  void FightScriptedBattle(cGame& game) {
    if (fought_) return;
    cJednostkaMorska* transport = nullptr;
    cJednostkaMorska* enemy = nullptr;
    cJednostkaMorska* other = nullptr;
    for (const auto& ship : game.navalUnits) {
      if (!OnMap(*ship)) continue;
      if (ship->owner == humanId_) {
        if (transport == nullptr && IsTransport(*ship)) transport = ship.get();
      } else if (IsSurfaceWarship(*ship)) {
        if (enemy == nullptr && game.relations.IsAtWar(ship->owner, humanId_)) enemy = ship.get();
        if (other == nullptr) other = ship.get();
      }
    }
    if (enemy == nullptr) enemy = other;
    if (transport == nullptr || enemy == nullptr) {
      fought_ = true;
      return;
    }
    transport->spotted = enemy->spotted = 1;
    sSeaBattle battle({transport}, {enemy});
    started_ = true;
    fought_ = true;
    ShowSeaBattleStageReport(battle);
    finished_ = battle.finished != 0;
    returned_ = true;
    game.SetGameState(kGameEndOfImpulse);
  }

  int humanId_ = 0;
  std::atomic<bool> fought_ = false;
  std::atomic<bool> started_ = false;
  std::atomic<bool> finished_ = false;
  // The battle's step came back, with or without its screen.
  std::atomic<bool> returned_ = false;
};

void SeaBattleScreenTest::Script() {
  gDelays.fill(0.0f);
  cCountry* human = StartSampleWithFirstCountryHuman("sea_battle_session_settings.png");
  ASSERT_NE(human, nullptr);
  humanId_ = human->id;
  SetSeaBattleStep([this](cGame& game) { FightScriptedBattle(game); });
  // The battle screen zooms on its own; the map's zoom must come back with the map.
  float mapScale = 0.0f;
  {
    GameLockGuard lock;
    mapScale = gDisplayedScale;
  }

  {
    GameLockGuard lock;
    gGame->saveContext->flushCheck = [](const std::filesystem::path&) { return EROFS; };
  }

  frame_->Inject(RawInput::KeyDown('Q'));
  frame_->Inject(RawInput::KeyUp('Q'));
  Frame();
  auto* confirm = dynamic_cast<cDialogPotwKoncaTury*>(TopDialog);
  ASSERT_NE(confirm, nullptr);
  Click(confirm->GetControl(cDialogPotwKoncaTury::kYesButton));

  // A sample without the two warships would fight nothing and hand the turn back.
  // The worker's end of impulse reaches the battle quickly; a run that never shows it fails here,
  // and so does a battle that was called off without its screen (a warship against a transport
  // is always fought), instead of waiting for a screen that never comes.
  ASSERT_TRUE(FramesUntil(
      [&] {
        std::this_thread::yield();
        GameLockGuard lock;
        return CurrentSeaBattleMenu() != nullptr || (fought_ && !started_) || returned_ ||
               (started_ && dynamic_cast<cDialogTekstowy*>(TopDialog) != nullptr);
      },
      200000))
      << "state " << static_cast<int>(gGame->GetGameState());
  cSeaBattleMenu* menu = CurrentSeaBattleMenu();
  if (started_ && menu == nullptr) {
    // Called off: its report box holds the worker, so it is closed before the test fails and the program ends.
    if (!returned_) PressKey(VK_RETURN);
    EXPECT_TRUE(FramesUntil([&] { return returned_.load(); }, 1000));
    FAIL() << "the battle was called off without its screen";
  }
  ASSERT_NE(menu, nullptr) << "no battle was set up";
  EXPECT_EQ(gGame->GetGameState(), kGameSeaBattleScreen);
  Frame();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("sea_battle_session_screen.png"));

  Click(menu->GetControl(661));
  ASSERT_TRUE(FramesUntil([&] { return menu->GetControlEnabled(658); }));
  EXPECT_TRUE(menu->battle().finished);
  bool reported = false;
  {
    GameLockGuard lock;
    for (const sReport& r : gGame->reports.Reports()) reported |= r.type == kReportSeaBattle && r.country == humanId_;
  }
  EXPECT_TRUE(reported);
  Frame();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("sea_battle_session_end.png"));
  Click(menu->GetControl(658));
  EXPECT_EQ(CurrentMenu, nullptr);

  ASSERT_TRUE(WorkerReaches([&] { return TurnComingBackTo(human); }))
      << "state " << static_cast<int>(gGame->GetGameState());
  EXPECT_TRUE(fought_);
  EXPECT_TRUE(finished_);
  {
    GameLockGuard lock;
    ASSERT_EQ(ModalDialogStack.size(), 2u) << DialogsAndState();
    EXPECT_NE(dynamic_cast<cDialogNowejTury*>(TopDialog), nullptr) << DialogsAndState();
  }
  PressKey(VK_RETURN);
  auto* autosave = dynamic_cast<cDialogTekstowy*>(TopDialog);
  ASSERT_NE(autosave, nullptr) << DialogsAndState();
  EXPECT_EQ(static_cast<const CDXUTStatic*>(autosave->GetControl(autosave->layoutBase() + 1))->GetText(),
            GetText("autosave_failed_title"));
  const std::u16string told =
      static_cast<const CDXUTStatic*>(autosave->GetControl(autosave->layoutBase() + 3))->GetText();
  EXPECT_NE(told.find(GetText("save_failure_read_only")), std::u16string::npos) << Utf16ToUtf8(told);
  Click(autosave->GetControl(autosave->okButtonId()));
  EXPECT_TRUE(ModalDialogStack.empty()) << DialogsAndState();
  {
    // A click picks its hex at the displayed scale and the map draws at its own: both are the zoom
    // from before the battle, or the player's clicks hit other hexes than the ones under the pointer.
    GameLockGuard lock;
    EXPECT_EQ(gDisplayedScale, mapScale);
    EXPECT_EQ(gTargetScale, mapScale);
    EXPECT_EQ(gGame->map->viewTransform[0], mapScale);
  }
}

TEST_F(SeaBattleScreenTest, AScriptedBattleIsFoughtOnItsScreenAndTheTurnComesBack) {
  EXPECT_EQ(RunProgram([&] { Script(); }), 0);
  SetSeaBattleStep({});
}

}  // namespace
}  // namespace tr
