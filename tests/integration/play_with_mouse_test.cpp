// The sample scenario played with the mouse through the real program, with
// Kaltheim the human country: two of its units are set beside a Gallande
// corps, one is selected and moved next to it, both join an attack plan, the
// plan is launched, the combat result closed with Enter, and the turn ends
// by Q until it comes back; and a hot-seat turn handed over with a plan
// still shown. Screenshots of the result dialog, the move, the planned
// attack with the hex and attack panels open and the next player's panels
// stay in the build folder.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <thread>
#include <utility>

#include "app/framework.h"
#include "app/game_mouse.h"
#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "dialogs/attack_panel.h"
#include "dialogs/combat_result_dialog.h"
#include "dialogs/convoy_results_dialog.h"
#include "dialogs/event_dialog.h"
#include "dialogs/hex_panel.h"
#include "foundation/game_lock.h"
#include "foundation/settings.h"
#include "game_session.h"
#include "platform/graphics.h"
#include "platform/null_audio.h"
#include "units/combat_result.h"
#include "units/jednostka_ladowa.h"
#include "world/gra.h"
#include "world/map_camera.h"

namespace tr {
namespace {

constexpr int kKaltheim = 1;
constexpr int kAlbrecia = 3;
constexpr int kGallande = 4;

// Where the battle is laid out: the Gallande defender, the hex beside it the
// mover goes to, the hex beside it the second attacker stands on, and the
// mover's start two hexes away.
struct sBattleGround {
  cJednostkaLadowa* defender = nullptr;
  cJednostkaLadowa* mover = nullptr;
  cJednostkaLadowa* second = nullptr;
  sPoint moveTo{};
  sPoint secondAt{};
  sPoint start{};
};

bool IsFreeLand(const cMap& map, int x, int y) {
  if (!map.IsInside(x, y)) return false;
  const sHex& hex = *map.GetHex(x, y);
  return hex.IsLand() && hex.unit == nullptr && hex.city == nullptr;
}

std::vector<sPoint> Neighbours(const cMap& map, int x, int y) {
  std::vector<sPoint> around;
  for (int nx = x - 1; nx <= x + 1; ++nx) {
    for (int ny = y - 1; ny <= y + 1; ++ny) {
      if (map.IsInside(nx, ny) && map.GetDirectionTo(x, y, nx, ny) != 0) around.push_back({nx, ny});
    }
  }
  return around;
}

cJednostkaLadowa* LandUnitOf(cGame& game, int owner, cJednostkaLadowa* except = nullptr) {
  for (auto& unit : game.landUnits) {
    if (unit->owner == owner && unit.get() != except && unit->type != kMulberryType && game.map->IsInside(unit->x, unit->y)) {
      return unit.get();
    }
  }
  return nullptr;
}

// A Gallande unit with two free land hexes beside it and a free start for
// the mover next to the first of them but not beside the defender.
std::optional<sBattleGround> FindBattleGround(cGame& game) {
  const cMap& map = *game.map;
  sBattleGround ground;
  for (auto& unit : game.landUnits) {
    if (unit->owner != kGallande || unit->type == kMulberryType || !map.IsInside(unit->x, unit->y)) continue;
    std::vector<sPoint> free;
    for (const sPoint& p : Neighbours(map, unit->x, unit->y)) {
      if (IsFreeLand(map, p.x, p.y)) free.push_back(p);
    }
    for (std::size_t a = 0; a < free.size(); ++a) {
      for (const sPoint& s : Neighbours(map, free[a].x, free[a].y)) {
        if (!IsFreeLand(map, s.x, s.y) || map.GetDirectionTo(unit->x, unit->y, s.x, s.y) != 0) continue;
        for (std::size_t b = 0; b < free.size(); ++b) {
          if (b == a || (free[b].x == s.x && free[b].y == s.y)) continue;
          ground.defender = unit.get();
          ground.moveTo = free[a];
          ground.secondAt = free[b];
          ground.start = s;
          return ground;
        }
      }
    }
  }
  return std::nullopt;
}

class PlayWithMouseTest : public test::GameSessionTest {
 protected:
  void Script();

  int ActionMode() {
    GameLockGuard lock;
    return gGame->playerControl.actionMode;
  }
  int PlannedAttackers() {
    GameLockGuard lock;
    const sAttack* plan = gGame->playerControl.GetPendingAttack();
    return plan != nullptr ? plan->CountAttackers() : -1;
  }
  bool PanelOpen(cDialog* panel) { return panel != nullptr && !panel->GetMinimized(); }
  // Two Kaltheim units brought beside a Gallande one, the mover at its start
  // or, when told, already beside the defender; the view settled on it.
  void LayOutBattle(sBattleGround& ground, bool moverBeside) {
    {
      GameLockGuard lock;
      cGame& game = *gGame;
      ASSERT_TRUE(game.relations.IsAtWar(kKaltheim, kGallande));
      const std::optional<sBattleGround> found = FindBattleGround(game);
      ASSERT_TRUE(found.has_value());
      ground = *found;
      ground.mover = LandUnitOf(game, kKaltheim);
      ASSERT_NE(ground.mover, nullptr);
      ground.second = LandUnitOf(game, kKaltheim, ground.mover);
      ASSERT_NE(ground.second, nullptr);
      const sPoint moverAt = moverBeside ? ground.moveTo : ground.start;
      ASSERT_NE(ground.mover->PlaceOnHex(moverAt.x, moverAt.y), nullptr);
      ASSERT_NE(ground.second->PlaceOnHex(ground.secondAt.x, ground.secondAt.y), nullptr);
      for (cJednostkaLadowa* unit : {ground.mover, ground.second}) {
        unit->actionPoints = unit->startingActionPoints = 10;
        unit->attacked = 0;
      }
      gZoomLevel = 0.1f;
      game.map->Zoom(0.0f, 0.0f, 0.0f);
      CenterAtHex(*game.map, ground.defender->x, ground.defender->y, false);
    }
    ASSERT_TRUE(FramesUntil([&] {
      GameLockGuard lock;
      const sMapCamera& camera = gGame->map->camera;
      return gDisplayedScale == gTargetScale && camera.x == camera.targetX && camera.y == camera.targetY &&
             gGame->GetGameState() == kGameHumanIdle;
    }));
  }
  // Frames enough for a dialog or panel just shown to fade in fully.
  void FadeIn() {
    for (int frame = 0; frame < 40; ++frame) Frame();
  }
};

void PlayWithMouseTest::Script() {
  gDelays.fill(0.0f);
  cCountry* human = StartSampleWithFirstCountryHuman("play_with_mouse_settings_menu.png");
  ASSERT_NE(human, nullptr);
  ASSERT_EQ(human->id, kKaltheim);
  const int startTurn = gGame->turn;

  // The result dialog of a land battle with its defender killed, surrendered
  // and its ships sunk.
  {
    sCombatResult result;
    result.kind = kBattleLand;
    result.attackerCountry = kKaltheim;
    result.defenderCountry = kGallande;
    result.attackerLossText = u"1st Grenadier Corps";
    result.defenderLossText = u"I Army Corps";
    result.attackerLoss = 1.5f;
    result.defenderLoss = 6.0f;
    result.SetFlag(kFlagDefenderDestroyed);
    result.SetFlag(kFlagDefenderSurrendered);
    result.SetFlag(kFlagNavalUnitsHit);
    {
      GameLockGuard lock;
      PushModalDialog(new cDialogWynikuWalki(result, -1.0f));
    }
    FadeIn();
    EXPECT_TRUE(frame_->graphics().SaveScreenshot("play_with_mouse_result_flags_2_3_7.png"));
    PressKey(VK_RETURN);
    ASSERT_EQ(TopDialog, nullptr);
  }

  // The battle ground: two Kaltheim units brought beside a Gallande one, as a
  // saved game of that turn would hold them, and the view on it.
  sBattleGround ground;
  ASSERT_NO_FATAL_FAILURE(LayOutBattle(ground, false));

  // Select the mover and walk it beside the defender.
  ClickHex(ground.start);
  ASSERT_EQ(ActionMode(), kActionMove);
  {
    GameLockGuard lock;
    EXPECT_NE(gGame->map->GetHex(ground.moveTo.x, ground.moveTo.y)->flags & 0x1FFFCu, 0u);
  }
  ClickHex(ground.moveTo);
  ASSERT_TRUE(FramesUntil([&] {
    GameLockGuard lock;
    return HumanTurnOf(human) && ground.mover->x == ground.moveTo.x && ground.mover->y == ground.moveTo.y;
  }));
  Frame();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("play_with_mouse_moved.png"));

  // The defender clicked with the mover selected begins the plan; the second unit joins it.
  ClickHex({ground.defender->x, ground.defender->y});
  ASSERT_EQ(ActionMode(), kActionPlanAttack);
  ASSERT_EQ(PlannedAttackers(), 1);
  ClickHex(ground.secondAt);
  ASSERT_EQ(PlannedAttackers(), 2);

  // Both side panels opened by their toggles show the plan and the hex.
  cInfoPanel* info = GetInfoPanel();
  ASSERT_NE(info, nullptr);
  Click(info->GetControl(cInfoPanel::kHexPanelToggle));
  Click(info->GetControl(cInfoPanel::kAttackPanelToggle));
  EXPECT_TRUE(PanelOpen(gHexPanel));
  EXPECT_TRUE(PanelOpen(gAttackPanel));
  ASSERT_NE(GetAttackPanel(), nullptr);
  EXPECT_NE(GetAttackPanel()->shownAttack(), nullptr);
  FadeIn();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("play_with_mouse_attack_planned.png"));

  // Launched: the result waits for the player, and Enter closes it.
  gDelays[kDelayHumanCombatResult] = -1000.0f;
  ClickHex({ground.defender->x, ground.defender->y});
  EXPECT_EQ(PlannedAttackers(), -1);
  auto* result = dynamic_cast<cDialogWynikuWalki*>(TopDialog);
  ASSERT_NE(result, nullptr);
  FadeIn();
  EXPECT_EQ(TopDialog, result);
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("play_with_mouse_combat_result.png"));
  PressKey(VK_RETURN);
  EXPECT_EQ(TopDialog, nullptr);
  // The panels stay as the player opened them while the turn lasts, the
  // attack panel with nothing left to show.
  EXPECT_TRUE(PanelOpen(gHexPanel));
  EXPECT_TRUE(PanelOpen(gAttackPanel));
  EXPECT_EQ(GetAttackPanel()->shownAttack(), nullptr);

  // The turn ends by Q and comes back: both panels as the player left them
  // over the computer's phase.
  ASSERT_TRUE(EndTurnUntilItComesBack(human));
  EXPECT_EQ(gGame->turn, startTurn + 1);
  PressKey(VK_RETURN);  // the new turn's banner
  EXPECT_TRUE(PanelOpen(gHexPanel));
  EXPECT_TRUE(PanelOpen(gAttackPanel));
  Frame();
  EXPECT_TRUE(frame_->graphics().SaveScreenshot("play_with_mouse_next_turn.png"));
}

// Hot seat: Kaltheim ends the turn with an attack planned and shown in the
// attack panel; Albrecia's turn begins without the plan, in no action, with
// the hex and attack panels still open as Kaltheim left them, the attack
// panel empty, and its toggle still putting it away.
TEST_F(PlayWithMouseTest, AnAttackPlannedAtTheEndOfATurnIsNotTheNextPlayers) {
  gDelays.fill(0.0f);
  const int exitCode = RunProgram([&] {
    cScenarioSettingsMenu* settings = OpenSettingsOf(cScenarioMenu::kNewGame, test::kSampleScenario);
    ASSERT_NE(settings, nullptr);
    ChooseHumans(*settings, {{kKaltheim, 0}, {kAlbrecia, 0}});
    Click(settings->GetControl(kStartButton));
    const cCountry* kaltheim = gGame->GetCountry(kKaltheim);
    const cCountry* albrecia = gGame->GetCountry(kAlbrecia);
    cInfoPanel* info = GetInfoPanel();
    // The player whose turn is on screen with the panels given back, or null.
    const auto playerOnScreen = [&]() -> const cCountry* {
      GameLockGuard lock;
      const bool busy = info->GetControl(cInfoPanel::kBusyImage)->GetVisible();
      for (const cCountry* player : {kaltheim, albrecia}) {
        if (HumanTurnOf(player) && !busy) return player;
      }
      return nullptr;
    };
    ASSERT_TRUE(WorkerReaches([&] { return playerOnScreen() == kaltheim; }, false)) << DialogsAndState();
    PressKey(VK_RETURN);  // the banner

    sBattleGround ground;
    ASSERT_NO_FATAL_FAILURE(LayOutBattle(ground, true));
    ClickHex(ground.moveTo);
    ClickHex({ground.defender->x, ground.defender->y});
    ASSERT_EQ(PlannedAttackers(), 1);
    Click(info->GetControl(cInfoPanel::kHexPanelToggle));
    Click(info->GetControl(cInfoPanel::kAttackPanelToggle));
    ASSERT_TRUE(PanelOpen(gAttackPanel));
    EXPECT_NE(GetAttackPanel()->shownAttack(), nullptr);

    EndTurnByQ();
    ASSERT_TRUE(FramesUntil(
        [&] {
          std::this_thread::yield();
          AnswerComputerScreens(true);
          // A decision of either player's country is answered as shown.
          if (auto* event = dynamic_cast<cDialogEventu*>(TopDialog)) Click(event->GetControl(4001));
          if (auto* convoys = dynamic_cast<cDialogWynikuKonwojow*>(TopDialog)) {
            Click(convoys->GetControl(cDialogWynikuKonwojow::kExitButton));
          }
          return playerOnScreen() == albrecia;
        },
        test::kWaitLimit))
        << DialogsAndState();
    PressKey(VK_RETURN);  // Albrecia's banner
    Frame();
    EXPECT_TRUE(frame_->graphics().SaveScreenshot("hot_seat_next_player_panels.png"));
    EXPECT_EQ(PlannedAttackers(), -1);
    EXPECT_EQ(ActionMode(), kActionNone);
    EXPECT_TRUE(PanelOpen(gHexPanel));
    ASSERT_TRUE(PanelOpen(gAttackPanel));
    EXPECT_EQ(GetAttackPanel()->shownAttack(), nullptr);
    Click(info->GetControl(cInfoPanel::kAttackPanelToggle));
    EXPECT_FALSE(PanelOpen(gAttackPanel));
  });
  EXPECT_EQ(exitCode, 0);
}

TEST_F(PlayWithMouseTest, SelectMovePlanAndLaunchAnAttackThenEndTheTurn) {
  EXPECT_EQ(RunProgram([&] { Script(); }), 0);
  EXPECT_EQ(gGame, nullptr);
}

}  // namespace
}  // namespace tr
