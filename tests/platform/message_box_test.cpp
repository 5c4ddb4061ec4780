// The system's message box breaks no line: the text is broken into lines the
// smallest window holds before it is shown.
#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/codes.h"
#include "platform/font.h"
#include "platform/frame.h"

namespace tr {
namespace {

std::vector<std::u16string> Lines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  std::size_t begin = 0;
  while (true) {
    const std::size_t end = text.find(u'\n', begin);
    lines.emplace_back(text.substr(begin, end == std::u16string_view::npos ? std::u16string_view::npos : end - begin));
    if (end == std::u16string_view::npos) return lines;
    begin = end + 1;
  }
}

struct WrapCase {
  const char* name;
  const char16_t* text;
  std::size_t budget;
  const char16_t* wrapped;
};
class WrapTest : public testing::TestWithParam<WrapCase> {};

TEST_P(WrapTest, BreaksBetweenWordsThenAfterSeparatorsThenInsideAWord) {
  EXPECT_EQ(WrapMessageBoxText(GetParam().text, GetParam().budget), GetParam().wrapped);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WrapTest,
    testing::Values(
        // A line of exactly the budget stays whole; one more character breaks it.
        WrapCase{"AtTheBudget", u"abc defg", 8, u"abc defg"},
        WrapCase{"OnePast", u"abc defgh", 8, u"abc\ndefgh"},
        WrapCase{"WordsFillLines", u"aa bb cc dd ee", 5, u"aa bb\ncc dd\nee"},
        WrapCase{"OneLetterWordsShareALine", u"a b cd", 4, u"a b\ncd"},
        // The text's own breaks stay, and an empty line with them.
        WrapCase{"OwnBreaksStay", u"aa bb\n\ncc dd ee", 5, u"aa bb\n\ncc dd\nee"},
        // A path breaks after its last separator that fits, on a line of its own.
        WrapCase{"PathAfterSeparators", u"in /home/me/save/Autosave now", 10,
                 u"in\n/home/me/\nsave/\nAutosave\nnow"},
        // A separator only at the word's start leaves no piece to cut after it.
        WrapCase{"LeadingSeparatorOnly", u"/abcdef", 4, u"/abc\ndef"},
        WrapCase{"BackslashesToo", u"data\\save\\My game", 6, u"data\\\nsave\\\nMy\ngame"},
        // Without a separator the word is cut at the budget.
        WrapCase{"LongWordCut", u"abcdefghij k", 4, u"abcd\nefgh\nij k"},
        // The halves of a character outside the basic plane stay together.
        WrapCase{"SurrogatePairKept", u"ab\U0001F600cd", 3, u"ab\n\U0001F600c\nd"},
        // A pair that ends just at the budget fits: the cut comes after it.
        WrapCase{"PairEndingAtTheBudget", u"ab\U0001F600cd", 4, u"ab\U0001F600\ncd"},
        // Unless a line holds one unit only: then the pair is cut, as nothing else fits.
        WrapCase{"PairCutAtABudgetOfOne", u"\U0001F600", 1, u"\xD83D\n\xDE00"},
        WrapCase{"Empty", u"", 5, u""}),
    [](const testing::TestParamInfo<WrapCase>& info) { return info.param.name; });

// A headless frame shows nothing: it hands the box, wrapped as the screen
// would show it, to whoever looks on.
TEST(MessageBoxLines, AHeadlessFrameHandsTheWrappedBoxOn) {
  auto frame = AppFrame::CreateHeadless(64, 64);
  std::vector<std::u16string> shown;
  SetHeadlessMessageBoxSink([&shown](std::u16string_view title, std::u16string_view text) {
    shown.push_back(std::u16string(title) + u"|" + std::u16string(text));
  });
  const std::u16string text = std::u16string(71, u'a') + u" b";
  EXPECT_FALSE(ShowMessageBox(u"Tidereach", text));
  SetHeadlessMessageBoxSink({});
  EXPECT_FALSE(ShowMessageBox(u"Tidereach", text));
  EXPECT_EQ(shown, std::vector<std::u16string>{u"Tidereach|" + std::u16string(71, u'a') + u"\nb"});
}

// The box's own budget, which the measure below holds to: a line of 72
// characters stays whole, one of 73 breaks.
TEST(MessageBoxLines, ALineOf72StaysWholeAndOneOf73Breaks) {
  const std::u16string atTheBudget = std::u16string(70, u'a') + u" b";
  EXPECT_EQ(WrapMessageBoxText(atTheBudget), atTheBudget);
  const std::u16string longer = std::u16string(71, u'a');
  EXPECT_EQ(WrapMessageBoxText(longer + u" b"), longer + u"\nb");
}

// The longest box the game shows as it ends, on the longest save folder a
// player is likely to have: every line at the 12-point face (16 pixels at the
// usual 96 dots an inch) stays within 640 pixels, so even a face half again as
// wide, with the box's margins, fits in the smallest window, 1024 pixels.
TEST(MessageBoxLines, TheLongestEndBoxFitsTheSmallestWindow) {
  const std::u16string path = u"/home/a-player-with-a-long-name/.local/share/tidereach/save/Autosave";
  const std::u16string text =
      u"The autosave made as the turn ended could not be written: the system said \"Structure needs cleaning\". "
      u"There was no autosave before it, so no autosave holds that turn.\nMake sure that " + path +
      u" is a folder that can be written. Next time, save the game yourself from the pause menu (Escape) before "
      u"you leave it.";
  auto font = Font::Create(u"Arial", 16, 400);
  ASSERT_NE(font, nullptr);
  const std::u16string wrapped = WrapMessageBoxText(text);
  int widest = 0;
  for (const std::u16string& line : Lines(wrapped)) {
    EXPECT_LE(line.size(), kMessageBoxLineBudget) << std::string(line.begin(), line.end());
    widest = std::max(widest, font->TextWidth(line));
  }
  EXPECT_LE(widest, 640);
  EXPECT_GT(Lines(wrapped).size(), 4u);
  // Nothing is lost: only blanks became breaks, and the path is whole once its breaks go.
  std::u16string joined = wrapped;
  std::erase(joined, u'\n');
  std::u16string plain = text;
  std::erase(plain, u'\n');
  std::erase(plain, u' ');
  std::erase(joined, u' ');
  EXPECT_EQ(joined, plain);
}

}  // namespace
}  // namespace tr
