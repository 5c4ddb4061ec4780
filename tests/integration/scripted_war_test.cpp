// A scripted event of the shipped sample played through the real program:
// in March 1941 Rusmark's event declares war on Nordvik and changes points in
// the end of the impulse that follows the human's turn; the player reads the
// message it queued, and a save made after it holds the war and the points.
#include <gtest/gtest.h>

#include "dialogs/dialog_tekstowy.h"
#include "game_session.h"
#include "support/log_capture.h"
#include "turn/theads.h"
#include "world/game_start.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

constexpr int kRusmark = 5;
constexpr int kNordvik = 8;

class ScriptedWarTest : public test::GameSessionTest {
 protected:
  ~ScriptedWarTest() override { SetWorkerSeed(0); }
  void Script();
  // What the log says of the game states the turn went through (the
  // computer's own moves left out) and of the event check, for a failed check.
  std::string Timeline() const;

  int boxes_ = 0;
  test::LogCapture log_;
  double rusmarkPoints_ = 0.0;
};

std::string ScriptedWarTest::Timeline() const {
  std::string text;
  for (const std::u16string& line : log_.lines()) {
    const bool state = line.starts_with(u"---- Game state = ") && line != u"---- Game state = 9" &&
                       line != u"---- Game state = 10";
    const bool events = line.starts_with(u"CHECKING EVENTS") || line.find(u"event with ID=4") != std::u16string::npos ||
                        line.starts_with(u"Event 4:") || line == u"Checking event 4";
    const bool impulse = line == u"Zaczynam wykonywanie konca impulsu" || line == u"Koniec impulsu wykonany";
    if (state || events || impulse) text += "\n  " + Utf16ToUtf8(line);
  }
  return text;
}

void ScriptedWarTest::Script() {
  gDelays.fill(0.0f);
  // The event's one option is drawn from 0 to its chance, and a draw of 0
  // takes none: the worker plays from a fixed seed so that this game fires it.
  SetWorkerSeed(20110304);
  cCountry* human = StartSampleWithFirstCountryHuman("scripted_war_settings_menu.png");
  ASSERT_NE(human, nullptr);
  {
    GameLockGuard lock;
    // The game has come to the event's window; the ultimatum to Helvara was declined long ago.
    gGame->date = cGameDate{1, 3, 1941};
    gGame->flags[1] = 2;
    ASSERT_FALSE(gGame->relations.IsAtWar(kRusmark, kNordvik));
  }

  frame_->Inject(RawInput::KeyDown('Q'));
  frame_->Inject(RawInput::KeyUp('Q'));
  Frame();
  auto* confirm = dynamic_cast<cDialogPotwKoncaTury*>(TopDialog);
  ASSERT_NE(confirm, nullptr);
  Click(confirm->GetControl(cDialogPotwKoncaTury::kYesButton));

  // The computer countries play and the impulse ends; every text box the
  // worker waits on is closed as a player would.
  for (int shown = 0; shown < 20; ++shown) {
    cDialogTekstowy* box = nullptr;
    const bool stopped = WorkerReaches([&] {
      box = dynamic_cast<cDialogTekstowy*>(TopDialog);
      return box != nullptr || TurnComingBackTo(human);
    }, false);
    ASSERT_TRUE(stopped) << "state " << static_cast<int>(gGame->GetGameState());
    if (box == nullptr) break;
    ++boxes_;
    Click(box->GetControl(box->okButtonId()));
  }
  ASSERT_TRUE(FramesUntil([&] { return HumanTurnOf(human); }, test::kWaitLimit));

  const std::string seen = DialogsAndState() + ", " + std::to_string(boxes_) + " boxes; the log:" + Timeline();
  GameLockGuard lock;
  EXPECT_TRUE(gGame->relations.IsAtWar(kRusmark, kNordvik)) << seen;
  EXPECT_TRUE(gGame->relations.IsAtWar(kNordvik, kRusmark));
  EXPECT_EQ(gGame->countries[kNordvik - 1]->diplomaticPoints, 77) << seen;
  rusmarkPoints_ = gGame->countries[kRusmark - 1]->productionPoints;
  ASSERT_TRUE(gGame->saveContext->SaveGame(u"scripted_war", true));
}

TEST_F(ScriptedWarTest, TheNorthernPortsEventDeclaresWarAndItsSaveHoldsIt) {
  EXPECT_EQ(RunProgram([&] { Script(); }), 0);
  EXPECT_EQ(gGame, nullptr);
  // The war and its queued message, which the player closed.
  EXPECT_TRUE(log_.Contains(u"Condition for event with ID=4 is true. Firing..."));
  EXPECT_TRUE(log_.Contains(u"Rusmark declares war on Nordvik (CASE 4)"));
  EXPECT_GE(boxes_, 1);

  cHeadlessPresentation screen;
  ScopedPresentation scoped(screen);
  cGame* saved = LoadNewScenario(u"data\\save\\scripted_war\\%s", 1);
  ASSERT_NE(saved, nullptr);
  EXPECT_TRUE(saved->relations.IsAtWar(kRusmark, kNordvik));
  EXPECT_TRUE(saved->relations.IsAtWar(kNordvik, kRusmark));
  EXPECT_EQ(saved->countries[kNordvik - 1]->diplomaticPoints, 77);
  EXPECT_NEAR(saved->countries[kRusmark - 1]->productionPoints, rusmarkPoints_, 1e-6);
  delete saved;
  gGame = nullptr;
}

}  // namespace
}  // namespace tr
