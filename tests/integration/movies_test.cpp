// The movies the build makes, as a player meets them: each plays through the
// movie player from the shipped game folder; the real program plays the three
// intro movies in order, Escape skips the one playing, the main menu follows,
// and its credits button plays the credits and comes back to it.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string_view>

#include "app/framework.h"
#include "app/mainmenu.h"
#include "app/menu.h"
#include "foundation/paths.h"
#include "game_session.h"
#include "movie_script.h"
#include "platform/draw_record.h"
#include "platform/frame.h"
#include "platform/graphics.h"
#include "platform/movie_player.h"
#include "platform/null_audio.h"
#include "support/log_capture.h"

namespace tr {
namespace {

// More polls than any shipped movie needs: one that never ends fails instead of hanging.
constexpr int kPollLimit = 2000;

int Channel(std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

std::vector<movie::MovieScript> ShippedScripts() {
  std::vector<movie::MovieScript> scripts;
  std::string error;
  EXPECT_TRUE(movie::ReadMovieScripts(std::filesystem::path(TR_SOURCE_DIR) / "data" / "movies" / "movies.txt",
                                      &scripts, &error))
      << error;
  return scripts;
}

class BuiltMovieTest : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    oldRoot_ = GameRoot();
    SetGameRoot(TR_GAME_DIR);
  }
  void TearDown() override { SetGameRoot(oldRoot_); }
  std::filesystem::path oldRoot_;
};

TEST_P(BuiltMovieTest, ShowsEachFrameOnceFromThePaintedFirstFrameToItsEnd) {
  const std::string name = GetParam();
  movie::MovieScript script;
  for (const movie::MovieScript& s : ShippedScripts()) {
    if (s.file == name) script = s;
  }
  ASSERT_EQ(script.file, name);
  movie::MovieFrames painter;
  std::string error;
  ASSERT_TRUE(painter.Prepare(script, std::filesystem::path(TR_SOURCE_DIR) / "data" / "movies", &error)) << error;
  const std::uint32_t painted = painter.Frame(0)[static_cast<std::size_t>(script.height / 2) * script.width +
                                                 script.width / 2];

  auto frame = AppFrame::CreateHeadless(1024, 768);
  test::LogCapture log;
  cMoviePlayer player;
  ASSERT_TRUE(player.Open(u"data\\" + std::u16string(name.begin(), name.end())));
  player.Play(10000);
  const double start = frame->clock().NowSeconds();
  std::set<std::size_t> screens;
  int polls = 0;
  while (player.IsPlaying() && polls < kPollLimit) {
    const std::vector<std::uint32_t> pixels = frame->graphics().ReadPixels();
    if (polls == 0) {
      const std::uint32_t shown = frame->graphics().ReadPixel(512, 384);
      for (int shift : {0, 8, 16}) EXPECT_NEAR(Channel(shown, shift), Channel(painted, shift), 8) << std::hex << shown;
    }
    if (polls == script.frames() / 2) {
      EXPECT_TRUE(frame->graphics().SaveScreenshot("movie_" + name.substr(0, name.find('.')) + "_middle.png"));
    }
    screens.insert(std::hash<std::string_view>{}(
        std::string_view(reinterpret_cast<const char*>(pixels.data()), pixels.size() * sizeof(std::uint32_t))));
    ++polls;
  }
  EXPECT_EQ(polls, script.frames());
  EXPECT_EQ(static_cast<int>(screens.size()), script.frames()) << "every frame differs from the others";
  EXPECT_NEAR(frame->clock().NowSeconds() - start, script.seconds, 1e-3);
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_FALSE(log.ContainsText(u"-----")) << "nothing failed";
}

INSTANTIATE_TEST_SUITE_P(Shipped, BuiltMovieTest, testing::Values("intro.avi", "intro2.avi", "intro3.avi", "credits.avi"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           return name.substr(0, name.find('.'));
                         });

// A manual clock that also runs cues: each runs once, the first time the
// clock is read or slept on while its condition holds. The intro's movie
// loops block the frame, so input reaches them only this way.
class CueClock : public Clock {
 public:
  double NowSeconds() const override {
    RunCues();
    return now_;
  }
  void SleepFor(double seconds) override {
    if (seconds > 0) now_ += seconds;
    RunCues();
  }
  void AdvanceMs(double ms) { now_ += ms / 1000.0; }
  void At(std::function<bool()> when, std::function<void()> then) { cues_.push_back({std::move(when), std::move(then)}); }

 private:
  struct Cue {
    std::function<bool()> when;
    std::function<void()> then;
    bool done = false;
  };
  void RunCues() const {
    for (Cue& cue : cues_) {
      if (!cue.done && cue.when()) {
        cue.done = true;
        cue.then();
      }
    }
  }
  double now_ = 0;
  mutable std::vector<Cue> cues_;
};

class MovieProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    oldRoot_ = GameRoot();
    test::MakeGameFolder(folder_.path());
    SetGameRoot(folder_.path());
  }
  void TearDown() override { SetGameRoot(oldRoot_); }

  // Sprites drawn with the movie's texture, and the first record that drew it.
  std::size_t Drawn(const std::string& label) const {
    std::size_t n = 0;
    for (const DrawRecord* r : recorder_.OfKind(DrawRecord::Kind::kSprite)) n += r->texture_label == label;
    return n;
  }
  std::size_t FirstDrawn(const std::string& label) const {
    const auto& records = recorder_.records();
    for (std::size_t i = 0; i < records.size(); ++i) {
      if (records[i].kind == DrawRecord::Kind::kSprite && records[i].texture_label == label) return i;
    }
    return records.size();
  }
  void Frame(AppFrame& frame) {
    clock_.AdvanceMs(16);
    frame.Tick();
  }

  test::TempDir folder_;
  std::filesystem::path oldRoot_;
  CueClock clock_;
  DrawRecorder recorder_;
};

TEST_F(MovieProgramTest, IntroMoviesPlayInOrderEscapeSkipsOneAndTheCreditsComeBackToTheMenu) {
  test::LogCapture log;
  sStartUp startUp;
  startUp.frame = AppFrame::CreateHeadless(1024, 768, &clock_);
  AppFrame& frame = *startUp.frame;
  startUp.audio = std::make_unique<NullAudioDevice>();
  // A second into the second movie Escape goes down; it is let go as the third starts.
  clock_.At([&] { return Drawn("intro2.avi") >= 25; },
            [&] { frame.Inject(RawInput::KeyDown(VK_ESCAPE)); });
  clock_.At([&] { return log.Contains(u"Loading intro movie from dataintro3.avi [OK]"); },
            [&] { frame.Inject(RawInput::KeyUp(VK_ESCAPE)); });
  frame.graphics().SetRecorder(&recorder_);

  bool creditsCameBack = false;
  startUp.beforeMainLoop = [&](AppFrame& running) {
    // The logos give way to keys.
    for (int i = 0; i < test::kFrameLimit && dynamic_cast<cMainMenu*>(CurrentMenu) == nullptr; ++i) {
      running.Inject(RawInput::KeyDown(VK_SPACE));
      Frame(running);
    }
    auto* menu = dynamic_cast<cMainMenu*>(CurrentMenu);
    if (menu == nullptr) {
      ADD_FAILURE() << "no main menu";
      running.RequestClose();
      return;
    }
    EXPECT_TRUE(running.graphics().SaveScreenshot("movies_main_menu.png"));

    const Rect box = menu->GetControl(73)->GetBoundingBox();
    running.Inject(RawInput::MouseMove((box.left + box.right) / 2, (box.top + box.bottom) / 2));
    running.Inject(RawInput::MouseDown(RawInput::kLeft, (box.left + box.right) / 2, (box.top + box.bottom) / 2));
    running.Inject(RawInput::MouseUp(RawInput::kLeft, (box.left + box.right) / 2, (box.top + box.bottom) / 2));
    Frame(running);
    creditsCameBack = CurrentMenu == menu && menu->GetVisible();
    Frame(running);
    EXPECT_TRUE(running.graphics().SaveScreenshot("movies_after_credits.png"));
    running.graphics().SetRecorder(nullptr);
    running.RequestClose();
  };
  EXPECT_EQ(WinMain(std::move(startUp)), 0);

  for (const char16_t* line : {u"Loading intro movie from dataintro.avi [OK]",
                               u"Loading intro movie from dataintro2.avi [OK]",
                               u"Loading intro movie from dataintro3.avi [OK]",
                               u"Loading credits movie from datacredits.avi [OK]"}) {
    EXPECT_TRUE(log.Contains(line)) << "missing line";
  }
  // The credits music is shipped and its stream opens.
  EXPECT_FALSE(log.ContainsText(u"data/credits.ogg"));
  EXPECT_EQ(Drawn("intro.avi"), 50u);
  EXPECT_GE(Drawn("intro2.avi"), 25u);
  EXPECT_LE(Drawn("intro2.avi"), 27u) << "Escape stops the second movie at once";
  EXPECT_EQ(Drawn("intro3.avi"), 50u) << "the third plays whole once Escape is up";
  EXPECT_LT(FirstDrawn("intro.avi"), FirstDrawn("intro2.avi"));
  EXPECT_LT(FirstDrawn("intro2.avi"), FirstDrawn("intro3.avi"));
  EXPECT_EQ(Drawn("credits.avi"), 200u);
  EXPECT_TRUE(creditsCameBack);
}

}  // namespace
}  // namespace tr
