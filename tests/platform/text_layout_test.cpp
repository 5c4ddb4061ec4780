// Line breaking and placement by the DT_ flags, with every unit 10 pixels wide.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/codes.h"
#include "platform/text_layout.h"

namespace tr {
namespace {

struct LayoutCase {
  std::u16string text;
  std::uint32_t format;
  int width;
  std::vector<std::u16string> lines;
};

class TextLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(TextLayout, BreaksIntoTheExpectedLines) {
  const LayoutCase& c = GetParam();
  const std::vector<int> advances(c.text.size(), 10);
  const auto lines = LayoutText(c.text, advances, Rect{0, 0, c.width, 100}, c.format, 16);
  std::vector<std::u16string> got;
  for (const TextLine& l : lines) got.push_back(c.text.substr(l.begin, l.end - l.begin));
  EXPECT_EQ(got, c.lines);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].width, static_cast<int>(got[i].size()) * 10);
    EXPECT_EQ(lines[i].y, static_cast<int>(i) * 16);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextLayout,
    testing::Values(LayoutCase{u"", DT_WORDBREAK, 50, {}},
                    LayoutCase{u"abc def", DT_WORDBREAK, 50, {u"abc", u"def"}},
                    LayoutCase{u"abc def", DT_WORDBREAK, 70, {u"abc def"}},
                    LayoutCase{u"ab   cd", DT_WORDBREAK, 30, {u"ab", u"cd"}},
                    LayoutCase{u"  ab cd", DT_WORDBREAK, 40, {u"  ab", u"cd"}},
                    LayoutCase{u"abcdefgh ij", DT_WORDBREAK, 30, {u"abcdefgh", u"ij"}},
                    LayoutCase{u"one\r\ntwo\n", 0, 10, {u"one", u"two"}},
                    LayoutCase{u"one\n\nthree", 0, 10, {u"one", u"", u"three"}},
                    LayoutCase{u"abc def", DT_SINGLELINE | DT_WORDBREAK, 30, {u"abc def"}}));

TEST(TextLayoutPlacement, AlignmentMovesLinesInTheirRectangle) {
  const std::u16string text = u"ab\nabcd";
  const std::vector<int> advances(text.size(), 10);
  const Rect rect{100, 50, 200, 150};
  auto centred = LayoutText(text, advances, rect, DT_CENTER | DT_VCENTER, 16);
  EXPECT_EQ(centred[0].x, 140);
  EXPECT_EQ(centred[1].x, 130);
  EXPECT_EQ(centred[0].y, 50 + (100 - 32) / 2);
  auto right_bottom = LayoutText(text, advances, rect, DT_RIGHT | DT_BOTTOM, 16);
  EXPECT_EQ(right_bottom[1].x, 160);
  EXPECT_EQ(right_bottom[1].y, 150 - 16);
  EXPECT_EQ(MeasuredRect(centred, rect, 16), (Rect{100, 50, 140, 82}));
}

}  // namespace
}  // namespace tr
