// The small dialogs: the answers they leave in the result globals and report
// to their owner, how they close, the end-of-turn confirmation's stored
// preference, the new-turn banner and the hotkeys help.
#include "dialogs/small_dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "app/sound.h"
#include "dialogs/dialog_tekstowy.h"
#include "foundation/gui_layout.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "gui/check_box.h"
#include "gui/edit_box.h"
#include "gui/image.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "platform/null_audio.h"
#include "support/screen_fixture.h"
#include "support/world_builder.h"

namespace tr {
namespace {

// Notes each answer and whether the answering dialog was still the top.
class OwnerDialog : public cDialog {
 public:
  OwnerDialog() : cDialog(50) {}
  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl*) override {
    answers.push_back(controlId);
    events.push_back(event);
    answererOnTop.push_back(TopDialog != this);
    if (react) react();
  }
  void OnActivate() override { ++activations; }

  std::vector<int> answers;
  std::vector<std::uint32_t> events;
  std::vector<bool> answererOnTop;
  std::function<void()> react;
  int activations = 0;
};

class SmallDialogsTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    owner_ = new OwnerDialog();
    PushModalDialog(owner_);
  }
  // Pushes the dialog above the owner, which hears its answer.
  template <typename Dialog>
  Dialog* Open(Dialog* dialog) {
    dialog->owner = owner_;
    PushModalDialog(dialog);
    return dialog;
  }
  static void Key(std::uint32_t key) { GameKeyboardCallback(key, true, false); }
  static void Click(const CDXUTControl* control) {
    const Rect box = control->GetBoundingBox();
    const LParam at = MakeLParam(box.left + 3, box.top + 3);
    bool noFurther = false;
    OnWindowMessage(WM_LBUTTONDOWN, MK_LBUTTON, at, &noFurther);
    OnWindowMessage(WM_LBUTTONUP, 0, at, &noFurther);
  }

  OwnerDialog* owner_ = nullptr;
};

struct AnswerCase {
  const char* name;
  int dialog;       // 0 confirmation, 1 text input, 2 list choice
  bool byKey;       // Enter / Escape, else a click on the button
  bool positive;    // yes / OK, else no / Cancel
  int button;
};

class SmallDialogAnswers : public SmallDialogsTest, public testing::WithParamInterface<AnswerCase> {};

TEST_P(SmallDialogAnswers, ReportTheButtonToTheOwnerWhileOnTopThenClose) {
  const AnswerCase& c = GetParam();
  cDialog* dialog = nullptr;
  if (c.dialog == 0) {
    ConfirmResult = 1;
    dialog = Open(new cDialogPotwierdzenia(u"Title", u"Sure?", u"Yes", u"", u"No", u""));
    EXPECT_EQ(ConfirmResult, 0) << "reset when built";
  } else if (c.dialog == 1) {
    dialog = Open(new cDialogPobraniaTekstu(u"Title", u"Name", u"initial"));
    EXPECT_EQ(InputText, u"initial");
    auto* edit = static_cast<CDXUTEditBox*>(dialog->GetControl(cDialogPobraniaTekstu::kEditBox));
    EXPECT_EQ(CDXUTDialog::GetFocusedControl(), edit);
    edit->SetText(std::u16string(150, u'x'));
  } else {
    ListChoice = {7, 8};
    dialog = Open(new cDialogPobraniaListy(u"Title", u"Pick"));
    auto* list = static_cast<CDXUTListBox*>(static_cast<cDialog*>(TopDialog)->GetControl(cDialogPobraniaListy::kList));
    list->AddItem(u"first", 41);
    list->AddItem(u"second", 42);
    list->SelectItem(1, false);
    // The title is centred in the title font above the prompt.
    const auto* title = static_cast<const CDXUTStatic*>(dialog->GetControlOfType(723, kControlStatic));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->GetText(), u"Title");
    EXPECT_EQ(title->GetTextElement(), 1);
    EXPECT_EQ(title->GetTextFormat(), static_cast<std::uint32_t>(DT_CENTER | DT_VCENTER));
    EXPECT_EQ(static_cast<const CDXUTStatic*>(dialog->GetControlOfType(725, kControlStatic))->GetText(), u"Pick");
  }
  if (c.byKey) {
    Key(c.positive ? VK_RETURN : VK_ESCAPE);
  } else {
    Click(dialog->GetControl(c.button));
  }

  EXPECT_EQ(owner_->answers, std::vector<int>{c.button});
  EXPECT_EQ(owner_->events, std::vector<std::uint32_t>{GuiEventButtonClicked});
  EXPECT_EQ(owner_->answererOnTop, std::vector<bool>{true});
  EXPECT_EQ(TopDialog, owner_);
  EXPECT_EQ(ModalDialogStack.size(), 1u);
  EXPECT_EQ(owner_->activations, 1);
  if (c.dialog == 0) {
    EXPECT_EQ(ConfirmResult, c.positive ? 1 : 0);
  } else if (c.dialog == 1) {
    EXPECT_EQ(InputText, c.positive ? std::u16string(kInputTextLimit, u'x') : u"initial");
  } else {
    EXPECT_EQ(ListChoice, c.positive ? std::vector<std::uint32_t>{42} : std::vector<std::uint32_t>{});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, SmallDialogAnswers,
    testing::Values(AnswerCase{"ConfirmEnter", 0, true, true, 705}, AnswerCase{"ConfirmEscape", 0, true, false, 706},
                    AnswerCase{"ConfirmClickYes", 0, false, true, 705},
                    AnswerCase{"ConfirmClickNo", 0, false, false, 706},
                    AnswerCase{"TextEnter", 1, true, true, 699}, AnswerCase{"TextEscape", 1, true, false, 700},
                    AnswerCase{"TextClickOk", 1, false, true, 699},
                    AnswerCase{"TextClickCancel", 1, false, false, 700},
                    AnswerCase{"ListEnter", 2, true, true, 727}, AnswerCase{"ListEscape", 2, true, false, 728},
                    AnswerCase{"ListClickOk", 2, false, true, 727},
                    AnswerCase{"ListClickCancel", 2, false, false, 728}),
    [](const auto& info) { return info.param.name; });

TEST_F(SmallDialogsTest, ListOkWithNothingSelectedLeavesNoChoiceAndStillReports) {
  ListChoice = {3};
  Open(new cDialogPobraniaListy(u"Title", u"Pick"));
  static_cast<CDXUTListBox*>(TopDialog->GetControl(cDialogPobraniaListy::kList))->AddItem(u"row", 9);
  Key(VK_RETURN);
  EXPECT_TRUE(ListChoice.empty());
  EXPECT_EQ(owner_->answers, std::vector<int>{727});
}

TEST_F(SmallDialogsTest, WithoutOwnerTheAnswerIsOnlyInTheGlobal) {
  PushModalDialog(new cDialogPotwierdzenia(u"T", u"Q", u"Y", u"", u"N", u""));
  Key(VK_RETURN);
  EXPECT_EQ(ConfirmResult, 1);
  EXPECT_TRUE(owner_->answers.empty());
  EXPECT_EQ(TopDialog, owner_);
}

TEST_F(SmallDialogsTest, OwnerOpeningAMessageBoxKeepsItAndClosesOnlyTheAnsweredDialog) {
  owner_->react = [] { PushModalDialog(new cDialogTekstowy(u"Saved.", u"Save")); };
  Open(new cDialogPotwierdzenia(u"T", u"Overwrite?", u"Y", u"", u"N", u""));
  Key(VK_RETURN);
  ASSERT_EQ(ModalDialogStack.size(), 2u);
  EXPECT_EQ(ModalDialogStack[0], owner_);
  EXPECT_EQ(TopDialog->id, cDialogTekstowy::kDialogId);
}

TEST_F(SmallDialogsTest, OwnerClosingEverythingLeavesNothingMoreToClose) {
  auto* below = new OwnerDialog();
  PopModalDialogs(-1);
  PushModalDialog(below);
  owner_ = new OwnerDialog();
  PushModalDialog(owner_);
  owner_->react = [] { PopModalDialogs(1); PopModalDialogs(1); };
  Open(new cDialogPobraniaTekstu(u"T", u"P", u"x"));
  Key(VK_ESCAPE);
  // The owner's two closes took the text input and the owner; the dialog below stays.
  ASSERT_EQ(ModalDialogStack.size(), 1u);
  EXPECT_EQ(TopDialog, below);
}

class EndTurnConfirmation : public SmallDialogsTest {
 protected:
  void SetUp() override {
    SmallDialogsTest::SetUp();
    folder_.Write("Settings.ini", "[InterfaceSettings]\r\nConfirmEndTurn=true\r\n");
    LoadSettings();
    ASSERT_FALSE(DontConfirmEndTurn);
    SetEndHumanTurnAction([this] {
      ++endTurns_;
      // The turn ends with the confirmation gone.
      EXPECT_EQ(FindModalDialog(cDialogPotwKoncaTury::kDialogId), nullptr);
    });
  }
  void TearDown() override {
    SetEndHumanTurnAction(nullptr);
    DontConfirmEndTurn = false;
    SmallDialogsTest::TearDown();
  }
  cDialogPotwKoncaTury* OpenConfirmation(bool tick) {
    auto* dialog = new cDialogPotwKoncaTury();
    PushModalDialog(dialog);
    static_cast<CDXUTCheckBox*>(dialog->GetControl(cDialogPotwKoncaTury::kDontAskBox))->SetChecked(tick);
    return dialog;
  }
  int endTurns_ = 0;
};

TEST_F(EndTurnConfirmation, YesWithTheBoxTickedStoresTheChoiceAndEndsTheTurnOnce) {
  OpenConfirmation(true);
  // The frame hands the key to the keyboard callback and then as a message to the dialogs.
  Key(VK_RETURN);
  bool noFurther = false;
  OnWindowMessage(WM_KEYDOWN, VK_RETURN, 0, &noFurther);
  OnWindowMessage(WM_KEYUP, VK_RETURN, 0, &noFurther);
  EXPECT_EQ(endTurns_, 1);
  EXPECT_TRUE(DontConfirmEndTurn);
  EXPECT_FALSE(SettingsIni().GetBool("InterfaceSettings/ConfirmEndTurn", true));
  EXPECT_NE(folder_.Read("Settings.ini").find("ConfirmEndTurn = false"), std::string::npos);
  EXPECT_EQ(TopDialog, owner_);
}

TEST_F(EndTurnConfirmation, ClickOnYesWithoutTheBoxKeepsAsking) {
  auto* dialog = OpenConfirmation(false);
  Click(dialog->GetControl(cDialogPotwKoncaTury::kYesButton));
  EXPECT_EQ(endTurns_, 1);
  EXPECT_FALSE(DontConfirmEndTurn);
  EXPECT_NE(folder_.Read("Settings.ini").find("ConfirmEndTurn = true"), std::string::npos);
}

TEST_F(EndTurnConfirmation, NoOrEscapeOnlyCloses) {
  OpenConfirmation(true);
  Key(VK_ESCAPE);
  EXPECT_EQ(endTurns_, 0);
  EXPECT_FALSE(DontConfirmEndTurn);
  EXPECT_EQ(TopDialog, owner_);
}

class NewTurnBanner : public SmallDialogsTest, public testing::WithParamInterface<int> {};

TEST_P(NewTurnBanner, ShowsTheCountryAndClosesOnAClickEnterOrEscape) {
  test::TestWorld world(2, 2, 2);
  world.country(2).name = u"Freedonia";
  auto* banner = new cDialogNowejTury(2);
  PushModalDialog(banner);
  EXPECT_EQ(banner->countryId(), 2);
  auto* title = static_cast<CDXUTStatic*>(banner->GetControl(cDialogNowejTury::kTitle));
  ASSERT_NE(title, nullptr);
  EXPECT_NE(title->GetText().find(u"Freedonia"), std::u16string::npos);
  auto* flag = static_cast<CDXUTImage*>(banner->GetControl(cDialogNowejTury::kFlagImage));
  ASSERT_NE(flag, nullptr);
  EXPECT_EQ(flag->GetSourceRect(), (Rect{0, 0, 128, 85}));

  // A mouse move alone does not close it.
  GameMouseCallback(false, false, false, false, false, 0, 500, 300);
  ASSERT_EQ(TopDialog, banner);
  switch (GetParam()) {
    case 0:
      GameMouseCallback(true, false, false, false, false, 0, 500, 300);
      GameMouseCallback(false, false, false, false, false, 0, 500, 300);
      break;
    case 1: Key(VK_RETURN); break;
    default: Key(VK_ESCAPE); break;
  }
  EXPECT_EQ(TopDialog, owner_);
}

INSTANTIATE_TEST_SUITE_P(Ways, NewTurnBanner, testing::Values(0, 1, 2));

TEST_F(SmallDialogsTest, TheBannersDrumRollSoundsOnceAtItsFirstFrame) {
  folder_.Write(std::string("data/sound/") + SoundFileOf(kSoundDrumRoll).file, "RIFF");
  auto device = std::make_unique<NullAudioDevice>();
  NullAudioDevice& audio = *device;
  SetAudioDevice(std::move(device));
  InitSound();
  audio.ClearCalls();
  test::TestWorld world(2, 2, 1);
  // Built where the worker builds it: no sound yet.
  auto* banner = new cDialogNowejTury(1);
  PushModalDialog(banner);
  EXPECT_TRUE(audio.calls().empty());
  banner->Render(0.1f);
  banner->Render(0.1f);
  ASSERT_EQ(audio.calls().size(), 1u);
  EXPECT_EQ(audio.calls()[0].what, "play");
  EXPECT_EQ(audio.calls()[0].file, SoundFileOf(kSoundDrumRoll).file);
  ShutdownSound();
}

TEST_F(SmallDialogsTest, HotkeysHelpListsEveryHotkeyAndClosesByItsButtonOrKeys) {
  for (std::uint32_t key : {VK_RETURN, VK_ESCAPE, 0u}) {
    auto* help = new cDialogSkrotowKlawiszowych();
    PushModalDialog(help);
    auto* list = static_cast<CDXUTListBox*>(help->GetControl(cDialogSkrotowKlawiszowych::kList));
    ASSERT_NE(list, nullptr);
    help->FillList();
    ASSERT_EQ(list->GetSize(), 19);
    EXPECT_EQ(list->GetItem(0)->text, u"F1|Preferences");
    EXPECT_EQ(list->GetItem(16)->text, u"Q|End turn");
    EXPECT_EQ(list->GetItem(18)->text, u"Tab|Show next active unit");
    EXPECT_EQ(list->GetItem(18)->data, 0u);
    ASSERT_EQ(list->GetColumns().size(), 2u);
    EXPECT_EQ(list->GetColumns()[1].title, u"Description");
    if (key != 0) {
      Key(key);
    } else {
      Click(help->GetControl(cDialogSkrotowKlawiszowych::kExitButton));
    }
    EXPECT_EQ(TopDialog, owner_) << key;
  }
}

}  // namespace
}  // namespace tr
