// The save game dialog: the rows it lists, saving under a new name, the
// question before overwriting, names the save refuses, a failed write, and
// Exit resuming the game.
#include "dialogs/save_game_dialog.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <string>

#include "app/app_presentation.h"
#include "app/input_routing.h"
#include "app/modal_stack.h"
#include "dialogs/dialog_tekstowy.h"
#include "dialogs/small_dialogs.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "gui/edit_box.h"
#include "gui/list_box.h"
#include "gui/static.h"
#include "scenario/save_game.h"
#include "support/screen_fixture.h"
#include "support/world_builder.h"
#include "world/presentation.h"

namespace tr {
namespace {

namespace fs = std::filesystem;

class SaveGameDialogTest : public test::ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ASSERT_TRUE(LoadShippedLayout());
    scoped_ = std::make_unique<ScopedPresentation>(port_);
    world_ = std::make_unique<test::TestWorld>(4, 4, 2);
    world_->game().saveContext = std::make_unique<cGameSaver>(world_->game());
    world_->game().saveContext->clock = [] { return sLocalTime{2026, 12, 7, 18, 30}; };
    world_->game().saveContext->stepCheck = [this](int step, std::u16string_view) {
      if (step == 1) ++saves_;
      return !failWrites_;
    };
    world_->game().SetGameState(kGameHumanIdle);
    fs::create_directories(folder_.path() / "data" / "save");
  }
  void TearDown() override {
    ClearStack();
    world_.reset();
    scoped_.reset();
    ScreenFixture::TearDown();
  }
  static void ClearStack() {
    PopModalDialogs(-1);
    ModalDialogStack.clear();
    TopDialog = nullptr;
  }

  cDialogZapisuGry* Open() {
    auto* dialog = new cDialogZapisuGry();
    PushModalDialog(dialog);
    return dialog;
  }
  // A save folder with the lines of its "Info.ini" (none: no file).
  void SaveFolder(const std::string& name, const std::string& info) {
    fs::create_directories(folder_.path() / "data" / "save" / name);
    if (!info.empty()) (void)folder_.Write("data/save/" + name + "/Info.ini", info);
  }
  static void Click(const CDXUTControl* control) {
    ASSERT_NE(control, nullptr);
    const Rect box = control->GetBoundingBox();
    const LParam at = MakeLParam((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    bool noFurther = false;
    OnWindowMessage(WM_LBUTTONDOWN, MK_LBUTTON, at, &noFurther);
    OnWindowMessage(WM_LBUTTONUP, 0, at, &noFurther);
  }
  static CDXUTListBox& List(cDialogZapisuGry& d) {
    return *static_cast<CDXUTListBox*>(d.GetControlOfType(cDialogZapisuGry::kList, kControlListBox));
  }
  static CDXUTEditBox& Name(cDialogZapisuGry& d) {
    return *static_cast<CDXUTEditBox*>(d.GetControlOfType(cDialogZapisuGry::kNameEdit, kControlEditBox));
  }
  void SaveAs(cDialogZapisuGry& d, std::u16string_view name) {
    Name(d).SetText(name);
    Click(d.GetControl(cDialogZapisuGry::kSaveButton));
  }
  // The text of the message box on top; empty when another dialog is on top.
  static std::u16string MessageOnTop() {
    auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
    if (box == nullptr) return {};
    auto* text = static_cast<CDXUTStatic*>(box->GetControlOfType(box->layoutBase() + 3, kControlStatic));
    return text != nullptr ? text->GetText() : std::u16string();
  }
  static void CloseMessage() {
    auto* box = dynamic_cast<cDialogTekstowy*>(TopDialog);
    ASSERT_NE(box, nullptr);
    Click(box->GetControl(box->okButtonId()));
  }
  bool Saved(const std::string& name) const {
    return fs::is_regular_file(folder_.path() / "data" / "save" / name / "Info.ini");
  }

  cAppPresentation port_;
  std::unique_ptr<ScopedPresentation> scoped_;
  std::unique_ptr<test::TestWorld> world_;
  int saves_ = 0;
  bool failWrites_ = false;
};

TEST_F(SaveGameDialogTest, OpeningPausesAndListsSavesWithTheirDefaults) {
  SaveFolder("Alpha", "[General_ENG]\r\nName=Northern Tide\r\n[Save]\r\nTurn=7\r\nDate=01.02.26 10:00\r\n");
  SaveFolder("Beta", "[General_ENG]\r\nName=Second\r\n");
  SaveFolder("Broken", "");
  cDialogZapisuGry* d = Open();
  EXPECT_EQ(world_->game().GetGameState(), kGamePaused);
  ASSERT_EQ(List(*d).GetSize(), 2);
  EXPECT_EQ(List(*d).GetItem(0)->text, u"Alpha;Northern Tide;7;01.02.26 10:00");
  // A save without "Save/Turn" shows turn 1.
  EXPECT_EQ(List(*d).GetItem(1)->text, u"Beta;Second;1;--.--.-- --:--");
  EXPECT_EQ(Name(*d).GetText(), GetText("save_game_default_name"));
  // The four columns share the list's width: none runs past its right edge.
  int widths = 0;
  for (const sListColumn& column : List(*d).GetColumns()) widths += column.width;
  EXPECT_EQ(List(*d).GetColumns().size(), 4u);
  EXPECT_LE(widths, List(*d).GetTextRect().width());
  EXPECT_GT(widths, List(*d).GetTextRect().width() - 4);
}

TEST_F(SaveGameDialogTest, ClickingARowTakesItsFolderName) {
  SaveFolder("Alpha", "[General_ENG]\r\nName=Northern Tide\r\n");
  cDialogZapisuGry* d = Open();
  List(*d).SelectItem(0, true);
  EXPECT_EQ(Name(*d).GetText(), u"Alpha");
}

TEST_F(SaveGameDialogTest, NewNameSavesTellsAndListsIt) {
  cDialogZapisuGry* d = Open();
  SaveAs(*d, u"First");
  EXPECT_TRUE(Saved("First"));
  EXPECT_EQ(saves_, 1);
  EXPECT_EQ(MessageOnTop(), GetText("save_game_successfull"));
  ASSERT_EQ(List(*d).GetSize(), 1);
  EXPECT_EQ(d->RowFolder(0), u"First");
  CloseMessage();
  EXPECT_EQ(TopDialog, d);
}

TEST_F(SaveGameDialogTest, ExistingNameAsksAndOnlyYesSaves) {
  cDialogZapisuGry* d = Open();
  SaveAs(*d, u"First");
  CloseMessage();
  ASSERT_EQ(saves_, 1);

  SaveAs(*d, u"First");
  auto* question = dynamic_cast<cDialogPotwierdzenia*>(TopDialog);
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(d->pendingOverwrite, 1);
  Click(question->GetControl(cDialogPotwierdzenia::kNoButton));
  EXPECT_EQ(saves_, 1);
  EXPECT_EQ(d->pendingOverwrite, 0);
  EXPECT_EQ(TopDialog, d);

  SaveAs(*d, u"First");
  question = dynamic_cast<cDialogPotwierdzenia*>(TopDialog);
  ASSERT_NE(question, nullptr);
  Click(question->GetControl(cDialogPotwierdzenia::kYesButton));
  EXPECT_EQ(saves_, 2);
  EXPECT_EQ(MessageOnTop(), GetText("save_game_successfull"));
  EXPECT_EQ(List(*d).GetSize(), 1);
}

// The save goes to the name trimmed: a name that only differs from a save
// there in blanks replaces it, so it is asked about like the save's own name.
TEST_F(SaveGameDialogTest, NameThatWritesAnExistingSaveAsks) {
  cDialogZapisuGry* d = Open();
  SaveAs(*d, u"First");
  CloseMessage();
  ASSERT_EQ(saves_, 1);
  for (const std::u16string& name : {std::u16string(u"First "), std::u16string(u"\tFirst")}) {
    SaveAs(*d, name);
    auto* question = dynamic_cast<cDialogPotwierdzenia*>(TopDialog);
    ASSERT_NE(question, nullptr) << Utf16ToUtf8(name);
    Click(question->GetControl(cDialogPotwierdzenia::kNoButton));
    EXPECT_EQ(saves_, 1);
  }
  EXPECT_EQ(List(*d).GetSize(), 1);
}

TEST_F(SaveGameDialogTest, TheRefreshKeepsTheSelectedRow) {
  for (const char* name : {"A", "B", "C", "D"}) SaveFolder(name, "[General_ENG]\r\nName=x\r\n");
  cDialogZapisuGry* d = Open();
  List(*d).SelectItem(3, true);
  ASSERT_EQ(Name(*d).GetText(), u"D");
  SaveAs(*d, u"E");
  ASSERT_EQ(List(*d).GetSize(), 5);
  EXPECT_EQ(List(*d).GetSelectedIndex(), 3);
}

struct RefusedCase {
  const char16_t* name;
  bool failWrite;
  int flushError = 0;                // what the system answers the flush of the written save
  const char* reasonKey = nullptr;   // the reason the box gives for a failed write
  const char* remedyKey = nullptr;   // and what the player can do about it
};

class SaveGameRefusedTest : public SaveGameDialogTest, public testing::WithParamInterface<RefusedCase> {};

// A name the save refuses and a failed write both keep the dialog and say so.
TEST_P(SaveGameRefusedTest, SavesNothingAndSaysSo) {
  failWrites_ = GetParam().failWrite;
  const int flushError = GetParam().flushError;
  if (flushError != 0) world_->game().saveContext->flushCheck = [flushError](const fs::path&) { return flushError; };
  cDialogZapisuGry* d = Open();
  SaveAs(*d, GetParam().name);
  EXPECT_FALSE(Saved("a"));
  EXPECT_FALSE(Saved("b"));
  EXPECT_FALSE(Saved("Kept"));
  EXPECT_FALSE(Saved("Full"));
  EXPECT_FALSE(Saved("Locked"));
  EXPECT_FALSE(Saved("Mounted"));
  // A refusal names the folder of saves the save is written in: the save's own is never made.
  const bool refused = GetParam().flushError == EACCES;
  const std::u16string folder = ShownPath(refused ? u"data\\save" : u"data\\save\\" + std::u16string(GetParam().name));
  const std::u16string expected =
      GetParam().reasonKey != nullptr
          ? Format(GetText("save_game_failed_no_earlier_%s_%s_%s"), GetParam().name, GetText(GetParam().reasonKey),
                   Format(GetText(GetParam().remedyKey), folder) + u" " + GetText("save_then_save_again"))
          : Format(GetText("save_game_name_refused_%s"), GetParam().name);
  EXPECT_EQ(MessageOnTop(), expected);
  CloseMessage();
  EXPECT_EQ(TopDialog, d);
  EXPECT_EQ(List(*d).GetSize(), 0);
}

INSTANTIATE_TEST_SUITE_P(Names, SaveGameRefusedTest,
                         testing::Values(RefusedCase{u"a/b", false}, RefusedCase{u"..", false},
                                         RefusedCase{u".hidden", false}, RefusedCase{u" .x", false},
                                         RefusedCase{u"  ", false}, RefusedCase{u"50%", false},
                                         // One over the limit: a cut would give "a" the folder of this name.
                                         RefusedCase{u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
                                         RefusedCase{u"Kept", true, 0, "save_failure_see_log", "save_remedy_see_log_%s"},
                                         RefusedCase{u"Full", false, ENOSPC, "save_failure_disk_full",
                                                     "save_remedy_disk_full_%s"},
                                         RefusedCase{u"Locked", false, EACCES, "save_failure_no_permission",
                                                     "save_remedy_no_permission_%s"},
                                         RefusedCase{u"Mounted", false, EROFS, "save_failure_read_only",
                                                     "save_remedy_read_only_%s"}));

// A save that replaces another fails on a full disk: the one before it is
// whole, and the box says it is kept (with no save before, it says none was).
TEST_F(SaveGameDialogTest, AFailedReplaceSaysTheEarlierSaveIsKept) {
  cDialogZapisuGry* d = Open();
  SaveAs(*d, u"First");
  CloseMessage();
  const fs::path info = folder_.path() / "data" / "save" / "First" / "Info.ini";
  const std::string earlier = test::ReadFileBytes(info);
  world_->game().saveContext->flushCheck = [](const fs::path&) { return ENOSPC; };
  SaveAs(*d, u"First");
  auto* question = dynamic_cast<cDialogPotwierdzenia*>(TopDialog);
  ASSERT_NE(question, nullptr);
  Click(question->GetControl(cDialogPotwierdzenia::kYesButton));
  const std::u16string folder = ShownPath(u"data\\save\\First");
  EXPECT_EQ(MessageOnTop(), Format(GetText("save_game_failed_earlier_kept_%s_%s_%s"), u"First",
                                   GetText("save_failure_disk_full"),
                                   Format(GetText("save_remedy_disk_full_%s"), folder) + u" " +
                                       GetText("save_then_save_again")));
  EXPECT_EQ(test::ReadFileBytes(info), earlier);
}

TEST_F(SaveGameDialogTest, ExitResumesTheGame) {
  cDialogZapisuGry* d = Open();
  Click(d->GetControl(cDialogZapisuGry::kExitButton));
  EXPECT_EQ(FindModalDialog(cDialogZapisuGry::kDialogId), nullptr);
  EXPECT_EQ(world_->game().GetGameState(), kGameHumanIdle);
}

}  // namespace
}  // namespace tr
