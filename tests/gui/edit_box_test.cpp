// The edit box and its text buffer: typing, keys, selection, clipboard,
// scrolling, limits, composition and the read-only text field.
#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/gui_layout.h"
#include "gui/edit_box.h"
#include "gui/static.h"
#include "gui_fixture.h"
#include "platform/input.h"

namespace tr {
namespace {

using Events = std::vector<test::SentEvent>;

constexpr int kId = 80;

class EditBoxTest : public test::GuiFixture {
 protected:
  CDXUTEditBox* Make(CDXUTDialog& dialog, std::u16string_view text = {}, int width = 200) {
    CDXUTEditBox* box = nullptr;
    EXPECT_EQ(dialog.AddEditBox(kId, text, 0, 0, width, 30, false, &box), S_OK);
    CDXUTDialog::RequestFocus(box);
    return box;
  }
  void Type(CDXUTDialog& dialog, std::u16string_view text) {
    for (char16_t ch : text) dialog.MsgProc(WM_CHAR, ch, 1);
  }
  void Press(CDXUTDialog& dialog, std::uint32_t vk, std::initializer_list<std::uint32_t> held = {}) {
    for (std::uint32_t k : held) HoldKey(k, true);
    Key(dialog, WM_KEYDOWN, vk);
    for (std::uint32_t k : held) HoldKey(k, false);
  }
  Events Changes(int n) { return Events(static_cast<std::size_t>(n), {GuiEventEditChanged, kId}); }
};

TEST_F(EditBoxTest, TypingSendsAChangePerCharacterAndEnterAlwaysSends) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTEditBox* box = Make(dialog);
  Type(dialog, u"ab");
  EXPECT_EQ(box->GetText(), u"ab");
  EXPECT_EQ(box->GetCaret(), 2);
  EXPECT_EQ(events_, Changes(2));
  events_.clear();
  EXPECT_TRUE(dialog.MsgProc(WM_CHAR, 13, 1));
  EXPECT_EQ(events_, (Events{{GuiEventEditEnter, kId}}));
  EXPECT_EQ(box->GetText(), u"ab");
}

TEST_F(EditBoxTest, ControlCharactersAreConsumedButNeverStored) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTEditBox* box = Make(dialog, u"x");
  for (char16_t ch : {u'\0', u'\t', char16_t{27}, char16_t{30}, char16_t{31}}) {
    EXPECT_TRUE(dialog.MsgProc(WM_CHAR, ch, 1));
  }
  EXPECT_EQ(box->GetText(), u"x");
  EXPECT_TRUE(events_.empty());
  // Tab does not move the focus away from the text; Escape goes on to the dialog.
  EXPECT_TRUE(Key(dialog, WM_KEYDOWN, VK_TAB));
  EXPECT_EQ(CDXUTDialog::GetFocusedControl(), box);
  EXPECT_FALSE(Key(dialog, WM_KEYDOWN, VK_ESCAPE));
}

TEST_F(EditBoxTest, ShiftHomeSelectsToTheStartAndTypingReplacesIt) {
  CDXUTDialog dialog;
  CDXUTEditBox* box = Make(dialog, u"hello");
  box->PlaceCaret(3);
  Press(dialog, VK_LEFT);
  Press(dialog, VK_RIGHT);
  Press(dialog, VK_HOME, {VK_SHIFT});
  EXPECT_EQ(box->GetCaret(), 0);
  EXPECT_EQ(box->GetSelectionStart(), 3);
  RenderOnce(dialog);
  // The selection shows as a band behind the selected characters, from the start of the text.
  const auto quads = recorder_.OfKind(DrawRecord::Kind::kQuad);
  const auto band = std::find_if(quads.begin(), quads.end(), [](auto* q) { return q->colour == 0xFF28325Cu; });
  ASSERT_NE(band, quads.end());
  EXPECT_FLOAT_EQ((*band)->dest.left, static_cast<float>(box->GetTextRect().left));
  EXPECT_GT((*band)->dest.right, (*band)->dest.left);
  Type(dialog, u"X");
  EXPECT_EQ(box->GetText(), u"Xlo");
  EXPECT_EQ(box->GetCaret(), 1);
}

TEST_F(EditBoxTest, BackspaceAndDeleteSendOnlyWhenSomethingGoes) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTEditBox* box = Make(dialog, u"abc");
  Press(dialog, VK_DELETE);  // at the end
  Press(dialog, VK_HOME);
  dialog.MsgProc(WM_CHAR, 8, 1);  // at the start
  EXPECT_TRUE(events_.empty());
  Press(dialog, VK_DELETE);
  EXPECT_EQ(box->GetText(), u"bc");
  Press(dialog, VK_END);
  dialog.MsgProc(WM_CHAR, 8, 1);
  EXPECT_EQ(box->GetText(), u"b");
  EXPECT_EQ(events_, Changes(2));
}

TEST_F(EditBoxTest, ClipboardCopyCutAndPaste) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTEditBox* box = Make(dialog, u"one two");
  dialog.MsgProc(WM_CHAR, 1, 1);  // Ctrl+A selects all
  EXPECT_EQ(box->GetSelectionStart(), 0);
  dialog.MsgProc(WM_CHAR, 3, 1);  // Ctrl+C
  EXPECT_EQ(GetClipboardText(), u"one two");
  EXPECT_TRUE(events_.empty());
  Press(dialog, VK_HOME);
  for (int i = 0; i < 3; ++i) Press(dialog, VK_RIGHT, {VK_SHIFT});
  dialog.MsgProc(WM_CHAR, 24, 1);  // Ctrl+X
  EXPECT_EQ(box->GetText(), u" two");
  EXPECT_EQ(GetClipboardText(), u"one");
  Press(dialog, VK_END);
  dialog.MsgProc(WM_CHAR, 22, 1);  // Ctrl+V
  EXPECT_EQ(box->GetText(), u" twoone");
  EXPECT_EQ(box->GetCaret(), 7);
  Press(dialog, VK_INSERT, {VK_SHIFT});
  EXPECT_EQ(box->GetText(), u" twooneone");
  EXPECT_EQ(events_, Changes(3));
  // Line breaks of a pasted text are dropped; an empty clipboard changes nothing.
  SetClipboardText(u"a\r\nb");
  dialog.MsgProc(WM_CHAR, 22, 1);
  EXPECT_EQ(box->GetText(), u" twooneoneab");
  SetClipboardText(u"");
  dialog.MsgProc(WM_CHAR, 22, 1);
  EXPECT_EQ(events_, Changes(4));
}

TEST_F(EditBoxTest, ARefusedPasteLeavesTheCaretInsideTheText) {
  CDXUTDialog dialog;
  Listen(dialog);
  CDXUTEditBox* box = Make(dialog, std::u16string(cEditTextBuffer::kMaxSize - 5, u'a'));
  SetClipboardText(u"0123456789");
  dialog.MsgProc(WM_CHAR, 22, 1);
  EXPECT_EQ(box->GetTextLength(), cEditTextBuffer::kMaxSize - 5);
  EXPECT_EQ(box->GetCaret(), box->GetTextLength());
  EXPECT_TRUE(events_.empty());
  Type(dialog, u"bcdef");
  EXPECT_EQ(box->GetTextLength(), cEditTextBuffer::kMaxSize - 1);
  EXPECT_EQ(events_, Changes(4));  // the last one was refused
  EXPECT_EQ(box->GetCaret(), box->GetTextLength());
}

TEST_F(EditBoxTest, OverwriteReplacesTheCharacterUnderTheCaret) {
  CDXUTDialog dialog;
  CDXUTEditBox* box = Make(dialog, u"abc");
  EXPECT_FALSE(Key(dialog, WM_KEYDOWN, VK_INSERT));
  EXPECT_FALSE(box->IsInsertMode());
  box->PlaceCaret(1);
  Type(dialog, u"XY");
  EXPECT_EQ(box->GetText(), u"aXY");
  Type(dialog, u"Z");
  EXPECT_EQ(box->GetText(), u"aXYZ");
}

TEST_F(EditBoxTest, ALongTextScrollsToKeepTheCaretInView) {
  CDXUTDialog dialog;
  CDXUTEditBox* box = Make(dialog, {}, 110);
  ASSERT_EQ(box->GetTextRect().width(), 100);
  Type(dialog, std::u16string(40, u'm'));
  int first = 0;
  int caret = 0;
  ASSERT_EQ(box->Buffer().CPtoX(box->GetFirstVisible(), false, &first), S_OK);
  box->Buffer().CPtoX(box->GetCaret(), false, &caret);
  EXPECT_GT(box->GetFirstVisible(), 0);
  EXPECT_LE(caret - first, 100);
  EXPECT_GT(caret - first, 80);
  Press(dialog, VK_HOME);
  EXPECT_EQ(box->GetFirstVisible(), 0);
}

// Pasted text keeps its blanks; only control characters are dropped.
class EditBoxPasteTest : public EditBoxTest, public testing::WithParamInterface<std::pair<const char16_t*, const char16_t*>> {};

TEST_P(EditBoxPasteTest, InsertsThePrintableText) {
  CDXUTDialog dialog;
  CDXUTEditBox* box = Make(dialog);
  SetClipboardText(GetParam().first);
  dialog.MsgProc(WM_CHAR, 22, 1);  // Ctrl+V
  EXPECT_EQ(box->GetText(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Texts, EditBoxPasteTest,
                         testing::Values(std::pair{u"a b", u"a b"}, std::pair{u" ", u" "}, std::pair{u"a\tb", u"ab"},
                                         std::pair{u"a\x1f b", u"a b"}));

// Characters of one width (a fixed-width font) in a box ten of them wide:
// the caret at the end of a longer text shows as many of the last ones as
// fit, so the first shown is the one the overflow puts there.
class EditBoxFixedWidthTest : public EditBoxTest, public testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(EditBoxFixedWidthTest, TheCaretAtTheEndShowsTheRightFirstCharacter) {
  const auto [length, firstVisible] = GetParam();
  CDXUTDialog dialog;
  CDXUTEditBox* probe = Make(dialog, u"m");
  int w = 0;
  ASSERT_EQ(probe->Buffer().CPtoX(1, false, &w), S_OK);
  ASSERT_GT(w, 0);
  CDXUTDialog boxDialog;
  CDXUTEditBox* box = Make(boxDialog, std::u16string(static_cast<std::size_t>(length), u'm'), 10 * w + 10);
  ASSERT_EQ(box->GetTextRect().width(), 10 * w);
  Press(boxDialog, VK_END);
  EXPECT_EQ(box->GetCaret(), length);
  EXPECT_EQ(box->GetFirstVisible(), firstVisible);
}

INSTANTIATE_TEST_SUITE_P(Lengths, EditBoxFixedWidthTest,
                         testing::Values(std::pair{10, 0}, std::pair{11, 1}, std::pair{12, 2}));

TEST_F(EditBoxTest, AClickPlacesTheCaretAndADragSelects) {
  CDXUTDialog dialog;
  CDXUTEditBox* box = Make(dialog, u"iiiiiiiiii");
  int x3 = 0;
  box->Buffer().CPtoX(3, false, &x3);
  const int left = box->GetTextRect().left;
  EXPECT_TRUE(Send(dialog, WM_LBUTTONDOWN, left + x3 + 1, 15));
  EXPECT_EQ(box->GetCaret(), 3);
  Send(dialog, WM_MOUSEMOVE, left + 500, 15);
  Send(dialog, WM_LBUTTONUP, left + 500, 15);
  EXPECT_EQ(box->GetSelectionStart(), 3);
  EXPECT_EQ(box->GetCaret(), 10);
}

TEST_F(EditBoxTest, TheCaretHidesOnlyWhileComposing) {
  CDXUTDialog dialog;
  Make(dialog, u"ab");
  auto caret_drawn = [&] {
    RenderOnce(dialog);
    for (const DrawRecord& r : recorder_.records()) {
      if (r.kind == DrawRecord::Kind::kQuad && r.colour == 0xFFFFFFFFu && r.dest.right - r.dest.left == 2.0f) return true;
    }
    return false;
  };
  EXPECT_TRUE(caret_drawn());
  frame_->Inject(RawInput::Composition("ni", 2));
  frame_->PumpEvents();
  CDXUTEditBox::HandleImeMessage(WM_IME_STARTCOMPOSITION, 0, 0);
  CDXUTEditBox::HandleImeMessage(WM_IME_COMPOSITION, 0, 0);
  EXPECT_EQ(CDXUTEditBox::CompositionText().GetText(), u"ni");
  EXPECT_FALSE(caret_drawn());
  CDXUTEditBox::HandleImeMessage(WM_IME_ENDCOMPOSITION, 0, 0);
  EXPECT_TRUE(caret_drawn());
}

TEST_F(EditBoxTest, ADisabledBoxKeepsItsCaretWithinANewText) {
  CDXUTDialog dialog;
  CDXUTEditBox* box = Make(dialog, u"a long first text");
  box->SetEnabled(false);
  box->SetText(u"short");
  EXPECT_EQ(box->GetCaret(), 5);
  EXPECT_EQ(box->GetFirstVisible(), 0);
  box->ClearText();
  EXPECT_EQ(box->GetCaret(), 0);
  RenderOnce(dialog);
}

TEST_F(EditBoxTest, ATextFieldIsADisabledCentredValueWithAWhiteLabel) {
  const sGuiLayoutEntry saved[2] = {sGuiLayoutTable[81], sGuiLayoutTable[82]};
  sGuiLayoutTable[81] = {100, 10, 80, 20};
  sGuiLayoutTable[82] = {10, 10, 80, 20};
  CDXUTDialog dialog;
  // The label is white whatever colour the dialog's texts have.
  sSkinElement themed = *dialog.GetDefaultElement(kControlStatic, 0);
  themed.font_color.states.fill(0xFF102030u);
  dialog.SetDefaultElement(kControlStatic, 0, &themed);
  ASSERT_EQ(AddTextField(&dialog, 81, u"42", u"the answer", 82, u"Value"), S_OK);
  auto* field = static_cast<CDXUTEditBox*>(dialog.GetControl(81));
  auto* label = static_cast<CDXUTStatic*>(dialog.GetControl(82));
  EXPECT_FALSE(field->GetEnabled());
  EXPECT_EQ(field->GetTextRect(), (Rect{102, 12, 178, 28}));
  EXPECT_EQ(field->GetHint(), u"the answer");
  EXPECT_EQ(label->GetTextFormat(), DT_VCENTER);
  EXPECT_EQ(label->GetElement(0)->font_color.states[kStateNormal], 0xFFFFFFFFu);
  RenderOnce(dialog);
  const DrawRecord* value = recorder_.FindText(u"42");
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->flags & (DT_CENTER | DT_VCENTER), DT_CENTER | DT_VCENTER);
  sGuiLayoutTable[81] = saved[0];
  sGuiLayoutTable[82] = saved[1];
}

struct WordCase {
  std::u16string text;
  int from;
  int prev;
  int next;
};

class WordStopTest : public test::GuiFixture, public ::testing::WithParamInterface<WordCase> {};

TEST_P(WordStopTest, CtrlArrowsStopAtWordsAndPunctuation) {
  CDXUTDialog dialog;
  CDXUTEditBox* box = nullptr;
  dialog.AddEditBox(kId, GetParam().text, 0, 0, 300, 30, false, &box);
  cEditTextBuffer& buffer = box->Buffer();
  EXPECT_EQ(buffer.PrevWordPos(GetParam().from), GetParam().prev);
  EXPECT_EQ(buffer.NextWordPos(GetParam().from), GetParam().next);
}

INSTANTIATE_TEST_SUITE_P(Words, WordStopTest,
                         ::testing::Values(WordCase{u"hello world", 8, 6, 11}, WordCase{u"hello world", 0, 0, 6},
                                           WordCase{u"foo.bar baz", 1, 0, 3}, WordCase{u"foo.bar baz", 5, 4, 8},
                                           WordCase{u"  x", 3, 2, 3}, WordCase{u"", 0, 0, 0}));

TEST(EditTextBufferTest, LimitsRefuseWithoutChangingTheText) {
  cEditTextBuffer buffer;
  EXPECT_FALSE(buffer.InsertChar(1, u'a'));
  EXPECT_FALSE(buffer.RemoveChar(0));
  EXPECT_TRUE(buffer.SetText(std::u16string(cEditTextBuffer::kMaxSize - 2, u'a')));
  EXPECT_FALSE(buffer.InsertString(0, u"bc"));
  EXPECT_TRUE(buffer.InsertChar(0, u'b'));
  EXPECT_FALSE(buffer.InsertChar(0, u'b'));
  EXPECT_FALSE(buffer.SetText(std::u16string(cEditTextBuffer::kMaxSize - 1, u'a')));
  EXPECT_EQ(buffer.GetTextSize(), cEditTextBuffer::kMaxSize - 1);
  EXPECT_TRUE(buffer.SetText(u"ac"));
  EXPECT_TRUE(buffer.InsertChar(1, u'b'));
  EXPECT_TRUE(buffer.InsertString(3, u"de"));
  EXPECT_EQ(buffer.GetText(), u"abcde");
  // Without a font there is no geometry: queries answer 0.
  buffer.SetFontIndex(999);
  int x = 7;
  EXPECT_TRUE(Failed(buffer.CPtoX(2, false, &x)));
  EXPECT_EQ(x, 0);
}

}  // namespace
}  // namespace tr
