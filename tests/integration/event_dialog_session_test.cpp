// The sample's first scripted event answered on screen through the real
// program: at the end of the impulse Kaltheim's ultimatum event shows on the
// game screen, the player picks its second option, the choice is filed as
// the country's report and the turn comes back. The same session keeps
// screenshots of an event with a picture in a play-by-e-mail game, of the
// elections dialog and of the convoy results, and answers the last of an
// event's twenty options on the 1024 x 768 screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "dialogs/convoy_results_dialog.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/elections_dialog.h"
#include "dialogs/event_dialog.h"
#include "events/zdarzenia.h"
#include "foundation/text.h"
#include "game_session.h"
#include "platform/texture.h"
#include "support/log_capture.h"

namespace tr {
namespace {

constexpr int kKaltheim = 1;
constexpr int kHelvara = 7;
constexpr int kNordvik = 8;

class EventDialogSessionTest : public test::GameSessionTest {
 protected:
  void Script();
  void KeepScreenshots();
  void AnswerTheTwentiethOption(cEvent event);
  void FadeIn() {
    for (int frame = 0; frame < 40; ++frame) Frame();
  }
  void Show(cDialog* dialog, const char* shot) {
    {
      GameLockGuard lock;
      PushModalDialog(dialog);
    }
    FadeIn();
    EXPECT_TRUE(frame_->graphics().SaveScreenshot(shot));
  }
  // Closes the dialog the script showed, which must still be the top one.
  void CloseShown(const cDialog* dialog) {
    GameLockGuard lock;
    ASSERT_EQ(TopDialog, dialog) << DialogsAndState();
    PopModalDialogs(1);
  }
  // A picture of our own for the event: a sea under a sky.
  void WriteEventPicture() {
    constexpr int kSize = 256;
    std::vector<std::uint32_t> texels(kSize * kSize);
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        const auto shade = static_cast<std::uint32_t>(y * 160 / kSize);
        texels[static_cast<std::size_t>(y * kSize + x)] =
            y < kSize / 2 ? 0xFF000000u | ((90 + shade) << 16) | ((120 + shade) << 8) | 200u
                          : 0xFF000000u | (20u << 16) | ((40 + shade / 2) << 8) | (90 + shade / 2);
      }
    }
    const std::filesystem::path folder = folder_.path() / "data" / "events";
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(SavePng(folder / "northern_sea.png", texels.data(), kSize, kSize, kSize));
  }

  test::LogCapture log_;
  bool eventShown_ = false;
  int boxes_ = 0;
};

void EventDialogSessionTest::Script() {
  gDelays.fill(0.0f);
  cCountry* human = StartSampleWithFirstCountryHuman("event_dialog_settings_menu.png");
  ASSERT_NE(human, nullptr);
  ASSERT_EQ(human->id, kKaltheim);
  const int startTurn = gGame->turn;
  {
    GameLockGuard lock;
    // The event's window opens; Helvara is still outside every alliance.
    gGame->date = cGameDate{1, 10, 1939};
    ASSERT_EQ(gGame->flags[1], 0);
    ASSERT_EQ(gGame->countries[kHelvara - 1]->alliance, 0);
  }

  frame_->Inject(RawInput::KeyDown('Q'));
  frame_->Inject(RawInput::KeyUp('Q'));
  Frame();
  auto* confirm = dynamic_cast<cDialogPotwKoncaTury*>(TopDialog);
  ASSERT_NE(confirm, nullptr);
  Click(confirm->GetControl(cDialogPotwKoncaTury::kYesButton));

  // The computer countries play and the impulse ends; the event waits for
  // the player, and every text box is closed as a player would.
  for (int shown = 0; shown < 20; ++shown) {
    cDialog* top = nullptr;
    const bool stopped = WorkerReaches([&] {
      top = dynamic_cast<cDialogEventu*>(TopDialog) != nullptr || dynamic_cast<cDialogTekstowy*>(TopDialog) != nullptr
                ? TopDialog
                : nullptr;
      return top != nullptr || TurnComingBackTo(human);
    });
    ASSERT_TRUE(stopped) << DialogsAndState();
    if (top == nullptr) break;
    if (auto* event = dynamic_cast<cDialogEventu*>(top)) {
      ASSERT_FALSE(eventShown_) << "the event shows once";
      eventShown_ = true;
      EXPECT_EQ(event->shownEvent().eventID, 1);
      FadeIn();
      EXPECT_TRUE(frame_->graphics().SaveScreenshot("event_dialog_on_game_screen.png"));
      ASSERT_NE(event->GetControl(4002), nullptr);
      EXPECT_EQ(event->GetControl(4003), nullptr);
      Click(event->GetControl(4002));
      continue;
    }
    auto* box = static_cast<cDialogTekstowy*>(top);
    ++boxes_;
    Click(box->GetControl(box->okButtonId()));
  }
  ASSERT_TRUE(FramesUntil([&] { return HumanTurnOf(human); }, test::kWaitLimit)) << DialogsAndState();
  {
    GameLockGuard lock;
    EXPECT_GT(gGame->turn, startTurn);
    // "Leave Helvara be" ran: flag 1 is 2, and the ultimatum's entry change did not.
    EXPECT_EQ(gGame->flags[1], 2);
    const auto& reports = gGame->reports.Reports();
    const auto filed = std::count_if(reports.begin(), reports.end(), [](const sReport& report) {
      return report.type == 25 && report.country == kKaltheim &&
             report.text.find(u"Chosen option: Leave Helvara be") != std::u16string::npos;
    });
    EXPECT_EQ(filed, 1);
  }
  KeepScreenshots();
}

// Twenty options are taller than the window in one column: the title and
// every option must still lie on screen, and the last one answer a click.
void EventDialogSessionTest::AnswerTheTwentiethOption(cEvent event) {
  event.image.clear();
  event.options.resize(1);
  for (int k = 2; k <= 20; ++k) {
    event.options.push_back(event.options.front());
    event.options.back().description = u"Answer " + AsciiToUtf16(std::to_string(k));
  }
  sEffect mark;
  mark.method = u"Flag.SetValue";
  mark.params[0] = 39020;
  mark.params[1] = 20;
  event.options.back().effects = {mark};
  cDialogEventu* dialog = nullptr;
  {
    GameLockGuard lock;
    dialog = new cDialogEventu(event);
  }
  Show(dialog, "event_dialog_twenty_options.png");
  const Rect window{0, 0, gScreenWidth, gScreenHeight};
  for (const int id : {int(cDialogEventu::kTitle), cDialogEventu::kOptionButtonBase + 1,
                       cDialogEventu::kOptionButtonBase + 20}) {
    ASSERT_NE(dialog->GetControl(id), nullptr) << id;
    const Rect box = dialog->GetControl(id)->GetBoundingBox();
    EXPECT_TRUE(box.left >= window.left && box.top >= window.top && box.right <= window.right &&
                box.bottom <= window.bottom)
        << id << " at " << box.left << "," << box.top << "-" << box.right << "," << box.bottom;
  }
  Click(dialog->GetControl(cDialogEventu::kOptionButtonBase + 20));
  EXPECT_EQ(TopDialog, nullptr) << DialogsAndState();
  GameLockGuard lock;
  EXPECT_EQ(gGame->flags[39020], 20);
  EXPECT_NE(gGame->reports.Reports().back().text.find(u"Chosen option: Answer 20"), std::u16string::npos);
}

void EventDialogSessionTest::KeepScreenshots() {
  // The turn comes back with its banner already up: the worker hands the turn
  // over in one step, so nothing of it comes after the player has the turn.
  {
    GameLockGuard lock;
    const auto* banner = dynamic_cast<cDialogNowejTury*>(TopDialog);
    ASSERT_NE(banner, nullptr) << DialogsAndState();
    EXPECT_EQ(banner->countryId(), kKaltheim);
  }
  PressKey(VK_RETURN);
  ASSERT_EQ(TopDialog, nullptr) << DialogsAndState();
  WriteEventPicture();
  cEvent event;
  {
    GameLockGuard lock;
    event = gGame->events->events.front();
  }
  event.image = u"northern_sea.png";
  event.options.push_back(event.options.back());
  event.options.back().description = u"Ask Rusmark first";
  cDialogEventu* pbemEvent = nullptr;
  {
    GameLockGuard lock;
    // The dialog reads the kind of game when it is built.
    gGame->pbemGame = 1;
    pbemEvent = new cDialogEventu(event);
    gGame->pbemGame = 0;
  }
  Show(pbemEvent, "event_dialog_picture_three_options_pbem.png");
  EXPECT_NE(pbemEvent->GetControl(cDialogEventu::kPicture), nullptr);
  EXPECT_NE(pbemEvent->GetControl(4005), nullptr);
  CloseShown(pbemEvent);
  AnswerTheTwentiethOption(event);

  cCountry* nordvik = gGame->GetCountry(kNordvik);
  int orientation = 0;
  {
    GameLockGuard lock;
    orientation = nordvik->orientation;
    nordvik->orientation = kProAxis;
  }
  auto* elections = new cDialogWyborow(nordvik, true);
  Show(elections, "elections_dialog.png");
  CloseShown(elections);
  {
    GameLockGuard lock;
    nordvik->orientation = orientation;
  }

  {
    GameLockGuard lock;
    sConvoyResult first;
    first.departureName = u"Hafenburg";
    first.destinationName = u"Kolvik";
    first.result = u"success";
    first.pointsNeeded = 12;
    first.pointsCarried = 12;
    first.kindText = u"supplies";
    first.details = u"The convoy reached Kolvik without meeting an enemy ship.";
    sConvoyResult second = first;
    second.destinationName = u"Ostmark";
    second.result = u"partial_success";
    second.pointsCarried = 8;
    second.pointsLost = 4;
    second.details = u"A raider met the convoy: 4 points were lost.";
    gGame->convoys.results[kKaltheim - 1] = {first, second};
  }
  Show(new cDialogWynikuKonwojow(gGame->GetCountry(kKaltheim)), "convoy_results_two_rows.png");
  PressKey(VK_RETURN);
  EXPECT_EQ(TopDialog, nullptr) << DialogsAndState();
}

TEST_F(EventDialogSessionTest, TheSamplesEventIsAnsweredOnScreenAndTheTurnGoesOn) {
  EXPECT_EQ(RunProgram([&] { Script(); }), 0);
  EXPECT_TRUE(eventShown_);
  EXPECT_TRUE(log_.Contains(u"Event fired (ID=1 / Title=\"The Helvaran ultimatum\")"));
  EXPECT_TRUE(log_.ContainsText(u"WBC:class cDialogEventu:gra_endturn:409"));
}

}  // namespace
}  // namespace tr
