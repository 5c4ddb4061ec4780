// The hint box: its delay, where it is drawn, and the mouse state it tracks.
#include <gtest/gtest.h>

#include "gui/hint_box.h"
#include "gui_fixture.h"
#include "platform/sprite_batch.h"

namespace tr {
namespace {

class HintBoxTest : public test::GuiFixture {
 protected:
  // The box's top-left corner as drawn, or (-1, -1) when nothing was drawn.
  std::pair<int, int> DrawnAt() const {
    const auto sprites = recorder_.OfKind(DrawRecord::Kind::kSprite);
    if (sprites.empty()) return {-1, -1};
    return {test::DestOf(*sprites[0]).left, test::DestOf(*sprites[0]).top};
  }
  void UpdateAt(std::uint32_t ms) {
    recorder_.Clear();
    hint_.Update(ms);
  }
  HintBox hint_;
};

TEST_F(HintBoxTest, ShowsOnlyAfterTheDelayHasAccumulated) {
  hint_.Init(20, 20, 16, 40, 500);
  hint_.Update(1000);  // the clock starts at the first update after Init
  hint_.SetText(u"Purchases");
  hint_.OnMouse(false, false, 100, 200);
  UpdateAt(1499);
  EXPECT_EQ(DrawnAt(), std::make_pair(-1, -1));
  UpdateAt(1500);  // brings the rest time to 500: still nothing this frame
  EXPECT_EQ(DrawnAt(), std::make_pair(-1, -1));
  EXPECT_EQ(hint_.hover_time(), 500);
  UpdateAt(1510);
  EXPECT_EQ(DrawnAt(), std::make_pair(120, 220));
  EXPECT_NE(recorder_.FindText(u"Purchases"), nullptr);
}

TEST_F(HintBoxTest, TheTimeBeforeInitDoesNotCountTowardTheDelay) {
  clock_.Set(60.0);
  hint_.Init(20, 20, 16, 40, 500, u"Purchases");
  hint_.OnMouse(false, false, 100, 200);
  clock_.AdvanceMs(100);
  recorder_.Clear();
  hint_.Update();
  EXPECT_EQ(hint_.hover_time(), 100);
  EXPECT_EQ(DrawnAt(), std::make_pair(-1, -1));
}

TEST_F(HintBoxTest, MovesToTheOtherSideOfThePointerAtTheScreenEdge) {
  hint_.Init(20, 20, 16, 40, 0);
  hint_.Update(0);
  hint_.SetText(u"A hint near the edge");
  ASSERT_GT(hint_.box_width(), 10);
  hint_.OnMouse(false, false, 1010, 760);
  UpdateAt(10);
  EXPECT_EQ(DrawnAt(), std::make_pair(1010 - hint_.box_width(), 760 - hint_.box_height()));
}

TEST_F(HintBoxTest, AnEmptyTextShowsNothingAndTheTextIsACopy) {
  hint_.Init(20, 20, 16, 40, 0);
  std::u16string text = u"copied";
  hint_.SetText(text);
  text = u"changed";
  EXPECT_EQ(hint_.GetText(), u"copied");
  hint_.SetText(u"");
  UpdateAt(100);
  EXPECT_EQ(DrawnAt(), std::make_pair(-1, -1));
  EXPECT_EQ(hint_.box_width(), 0);
}

class FixedHoverable : public cHoverable {
 public:
  sHintSize GetHintSize() override { return {30, 40}; }
  void DrawHint(SpriteBatch&, int x, int y) override { drawn_at = {x, y}; }
  std::pair<int, int> drawn_at{-1, -1};
};

TEST_F(HintBoxTest, AHoverableDrawsItselfUntilATextReplacesIt) {
  FixedHoverable node;
  hint_.Init(20, 20, 16, 40, 0);
  hint_.Update(0);
  hint_.SetText(u"old");
  hint_.SetHoverable(&node);
  EXPECT_TRUE(hint_.GetText().empty());
  EXPECT_EQ(hint_.box_width(), 30);
  hint_.OnMouse(false, false, 10, 10);
  UpdateAt(5);
  EXPECT_EQ(node.drawn_at, std::make_pair(30, 30));
  hint_.SetText(u"text wins");
  UpdateAt(10);
  EXPECT_NE(recorder_.FindText(u"text wins"), nullptr);
  hint_.SetHoverable(nullptr);
}

TEST_F(HintBoxTest, TracksPressesReleasesAndDrags) {
  hint_.Init(20, 20, 16, 40, 0);
  hint_.OnMouse(true, false, 10, 10);
  EXPECT_TRUE(hint_.left_held());
  hint_.OnMouse(true, true, 15, 18);
  EXPECT_EQ(hint_.left_drag_x(), 5);
  EXPECT_EQ(hint_.left_drag_y(), 8);
  EXPECT_TRUE(hint_.right_pressed_now());
  hint_.OnMouse(false, true, 20, 20);
  EXPECT_TRUE(hint_.left_released_now());
  EXPECT_FALSE(hint_.right_pressed_now());
  EXPECT_EQ(hint_.right_drag_x(), 5);
  hint_.OnMouse(false, false, 20, 20);
  EXPECT_FALSE(hint_.left_released_now());
  EXPECT_TRUE(hint_.left_released());
  EXPECT_TRUE(hint_.right_released());
}

}  // namespace
}  // namespace tr
