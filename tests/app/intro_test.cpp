// The intro: the movies that cannot play, the two logos' timing on an
// injected clock, the skip keys and the fade colours.
#include "app/prevmenu.h"

#include <gtest/gtest.h>

#include "app/mainmenu.h"
#include "app/menu.h"
#include "menu_fixture.h"
#include "support/log_capture.h"

namespace tr {
namespace {

class IntroTest : public test::MenuFixture {
 protected:
  void Step(double ms) {
    clock_.AdvanceMs(ms);
    frame_->Tick();
  }
};

TEST_F(IntroTest, MissingMoviesAreLoggedAndTheLogosStartAtTheFirstFrame) {
  test::LogCapture log;
  PlayIntro();
  for (const char16_t* line : {u"Loading intro movie from dataintro.avi [FAILED]",
                               u"Loading intro movie from dataintro2.avi [FAILED]",
                               u"Loading intro movie from dataintro3.avi [FAILED]"}) {
    EXPECT_TRUE(log.Contains(line)) << "missing line";
  }
  Step(16);
  EXPECT_EQ(IntroState().stage, 1);
}

TEST_F(IntroTest, EachLogoLastsMoreThanEightSecondsThenTheMainMenuIsCurrent) {
  PlayIntro();
  Step(0);
  ASSERT_EQ(IntroState().stage, 1);
  Step(8000);
  EXPECT_EQ(IntroState().stage, 1) << "exactly 8000 ms is not yet more";
  Step(1);
  EXPECT_EQ(IntroState().stage, 2);
  Step(8000);
  EXPECT_EQ(IntroState().stage, 2);
  EXPECT_EQ(CurrentMenu, nullptr);
  Step(1);
  EXPECT_NE(dynamic_cast<cMainMenu*>(CurrentMenu), nullptr);
  EXPECT_EQ(IntroState().stage, 0);
}

TEST_F(IntroTest, AKeyDuringTheFirstLogoShowsTheMainMenuAtTheNextFrameMove) {
  PlayIntro();
  Step(16);
  ASSERT_EQ(IntroState().stage, 1);
  frame_->Inject(RawInput::KeyDown(VK_SPACE));
  Step(16);
  EXPECT_NE(dynamic_cast<cMainMenu*>(CurrentMenu), nullptr);
}

TEST_F(IntroTest, ALeftClickDuringTheSecondLogoEndsTheIntro) {
  PlayIntro();
  Step(16);
  Step(8001);
  ASSERT_EQ(IntroState().stage, 2);
  AdvanceIntroStage();
  EXPECT_EQ(IntroState().stage, 3);
  Step(16);
  EXPECT_NE(dynamic_cast<cMainMenu*>(CurrentMenu), nullptr);
}

struct FadeCase {
  std::uint32_t elapsed;
  std::uint32_t colour;
};
class IntroFadeTest : public testing::TestWithParam<FadeCase> {};

TEST_P(IntroFadeTest, GreyRisesHoldsAndFalls) {
  EXPECT_EQ(IntroLogoColour(GetParam().elapsed, 0x12345678u), GetParam().colour);
}

INSTANTIATE_TEST_SUITE_P(Stage, IntroFadeTest,
                         testing::Values(FadeCase{0, 0xFF000000u}, FadeCase{1000, 0xFF646464u},
                                         FadeCase{2540, 0xFFFEFEFEu},
                                         // Between the ramps the last colour stays.
                                         FadeCase{2550, 0x12345678u}, FadeCase{5000, 0x12345678u},
                                         FadeCase{5005, 0xFFFFFFFFu}, FadeCase{7540, 0xFF010101u},
                                         FadeCase{7550, 0x12345678u}));

}  // namespace
}  // namespace tr
