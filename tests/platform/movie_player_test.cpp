// The movie player on movies written for each test: frames at their times on
// the frame's clock, stretched over the back buffer, the end, late polls,
// stopping, the sound track, and files it must refuse or cut short.
#include "platform/movie_player.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <utility>

#include "foundation/paths.h"
#include "movie_encoder.h"
#include "platform/draw_record.h"
#include "platform/frame.h"
#include "platform/null_audio.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr int kFrames = 50;  // two seconds at 25 frames per second
constexpr std::uint32_t kBackground = 0xFF3060C0u;
constexpr std::uint32_t kBar = 0xFFFFFFFFu;
// More polls than any of these movies needs: a player that never ends fails instead of hanging.
constexpr int kPollLimit = 1000;

// Frame i: the background with a white bar two pixels wide at column i + 4.
std::vector<std::uint32_t> Picture(int i) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight, kBackground);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = i + 4; x < i + 6 && x < kWidth; ++x) pixels[static_cast<std::size_t>(y) * kWidth + x] = kBar;
  }
  return pixels;
}

int Channel(std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// Lossy coding and the colour conversions move a channel by a few steps.
bool Near(std::uint32_t a, std::uint32_t b, int tolerance = 8) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
  }
  return true;
}

class MoviePlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    oldRoot_ = GameRoot();
    SetGameRoot(folder_.path());
    std::filesystem::create_directories(folder_.path() / "data");
    frame_ = AppFrame::CreateHeadless(kWidth * 2, kHeight * 2);
    frame_->graphics().SetRecorder(&recorder_);
  }
  void TearDown() override {
    frame_.reset();
    SetGameRoot(oldRoot_);
  }

  // A two-second movie under data\, with a tone when a sample rate is given.
  void WriteMovie(const char* name, int sampleRate = 0) {
    movie::MovieWriter writer;
    std::string error;
    movie::MovieParams params{kWidth, kHeight, 25, sampleRate, 3};
    ASSERT_TRUE(writer.Open(folder_.path() / "data" / name, params, &error)) << error;
    for (int i = 0; i < kFrames; ++i) {
      ASSERT_TRUE(writer.AddFrame(Picture(i).data(), kWidth, &error)) << error;
      if (sampleRate > 0) {
        std::vector<std::int16_t> tone(static_cast<std::size_t>(sampleRate / 25));
        for (std::size_t n = 0; n < tone.size(); ++n) {
          const double t = static_cast<double>(i * tone.size() + n) / sampleRate;
          tone[n] = static_cast<std::int16_t>(8000 * std::sin(2 * 3.14159265358979 * 440 * t));
        }
        ASSERT_TRUE(writer.AddSamples(tone, &error)) << error;
      }
    }
    ASSERT_TRUE(writer.Finish(&error)) << error;
  }

  std::size_t FramesDrawn() const {
    std::size_t n = 0;
    for (const DrawRecord* r : recorder_.OfKind(DrawRecord::Kind::kSprite)) n += r->texture_label == "movie.avi";
    return n;
  }
  std::uint32_t Centre() { return frame_->graphics().ReadPixel(kWidth, kHeight); }
  // The first back-buffer column of the white bar on the middle row, or -1.
  int BarColumn() {
    for (int x = 0; x < kWidth * 2; ++x) {
      if (Near(frame_->graphics().ReadPixel(x, kHeight), kBar, 40)) return x;
    }
    return -1;
  }
  ManualClock& clock() { return *frame_->manual_clock(); }

  test::TempDir folder_;
  std::filesystem::path oldRoot_;
  std::unique_ptr<AppFrame> frame_;
  DrawRecorder recorder_;
};

TEST_F(MoviePlayerTest, ShowsEveryFrameAtItsTimeStretchedToTheWindowThenEnds) {
  WriteMovie("movie.avi");
  cMoviePlayer player;
  ASSERT_TRUE(player.Open(u"data\\movie.avi"));
  const double start = clock().NowSeconds();
  player.Play(10000);
  std::set<std::vector<std::uint32_t>> screens;
  int polls = 0;
  while (player.IsPlaying() && polls < kPollLimit) {
    if (polls == 0) {
      EXPECT_TRUE(Near(Centre(), kBackground)) << std::hex << Centre();
      EXPECT_EQ(BarColumn(), 8) << "the bar of the first frame, at twice its column";
    }
    screens.insert(frame_->graphics().ReadPixels());
    ++polls;
  }
  EXPECT_EQ(polls, kFrames) << "one poll per frame, false at the one after the last";
  EXPECT_EQ(screens.size(), static_cast<std::size_t>(kFrames));
  EXPECT_EQ(FramesDrawn(), static_cast<std::size_t>(kFrames));
  EXPECT_NEAR(clock().NowSeconds() - start, 2.0, 1e-3) << "the last frame keeps its 40 ms";
  EXPECT_FALSE(player.IsPlaying());

  // Source: the whole picture; destination: the whole back buffer.
  const DrawRecord* last = recorder_.OfKind(DrawRecord::Kind::kSprite).back();
  EXPECT_EQ(last->source, (Rect{0, 0, kWidth, kHeight}));
  EXPECT_EQ(last->dest, (RectF{0, 0, kWidth * 2.0f, kHeight * 2.0f}));
}

TEST_F(MoviePlayerTest, ALatePollShowsTheFrameDueAndPassesOverTheOthers) {
  WriteMovie("movie.avi");
  cMoviePlayer player;
  ASSERT_TRUE(player.Open(u"data\\movie.avi"));
  player.Play(0);
  ASSERT_TRUE(player.IsPlaying());
  clock().Advance(1.0);
  ASSERT_TRUE(player.IsPlaying());
  EXPECT_EQ(BarColumn(), 2 * (25 + 4)) << "the frame of second 1";
  EXPECT_EQ(FramesDrawn(), 2u);
  clock().Advance(5.0);
  EXPECT_TRUE(player.IsPlaying()) << "the last frame still gets shown";
  EXPECT_EQ(BarColumn(), 2 * (kFrames - 1 + 4));
  EXPECT_FALSE(player.IsPlaying());
}

TEST_F(MoviePlayerTest, StopEndsPlayingAndTheSoundTrack) {
  WriteMovie("movie.avi", 22050);
  NullAudioDevice audio;
  {
    cMoviePlayer player(&audio);
    ASSERT_TRUE(player.Open(u"data\\movie.avi"));
    player.Play(0);
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(player.IsPlaying());
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(audio.calls().back().what, "stream_close");
    EXPECT_EQ(FramesDrawn(), 10u);
  }
  const std::size_t streamed = audio.streamed_samples().size();
  // Resampled to the device's 44100 stereo, kept a little ahead of the picture.
  EXPECT_GT(streamed, static_cast<std::size_t>(0.4 * 44100 * 2));
  EXPECT_LT(streamed, static_cast<std::size_t>(0.8 * 44100 * 2));
}

TEST_F(MoviePlayerTest, TheSoundTrackStreamsToTheDeviceWhileThePicturePlays) {
  WriteMovie("movie.avi", 22050);
  NullAudioDevice audio;
  cMoviePlayer player(&audio);
  ASSERT_TRUE(player.Open(u"data\\movie.avi"));
  player.Play(0);
  EXPECT_EQ(audio.calls().back().what, "stream_open");
  int polls = 0;
  while (player.IsPlaying() && polls < kPollLimit) ++polls;
  EXPECT_EQ(audio.calls().back().what, "stream_close");
  const std::vector<std::int16_t>& samples = audio.streamed_samples();
  EXPECT_NEAR(static_cast<double>(samples.size()), 2.0 * 44100 * 2, 44100 * 2 * 0.05);
  // The tone, at about its amplitude, in both channels alike.
  std::int16_t loudest = 0;
  for (std::size_t i = 0; i + 1 < samples.size(); i += 2) {
    loudest = std::max(loudest, samples[i]);
    ASSERT_NEAR(samples[i], samples[i + 1], 2);
  }
  // A mono track reaches each of two speakers 3 dB down.
  EXPECT_NEAR(loudest, 8000 / std::sqrt(2.0), 300);
}

TEST_F(MoviePlayerTest, ACutCopyPlaysWhatItCanThenEnds) {
  WriteMovie("whole.avi");
  const std::string bytes = test::ReadFileBytes(folder_.path() / "data" / "whole.avi");
  // Cut through the frames: the headers before them are mostly reserved space.
  const std::size_t frames = bytes.find("movi");
  ASSERT_NE(frames, std::string::npos);
  folder_.Write("data/movie.avi", bytes.substr(0, frames + (bytes.size() - frames) * 6 / 10));
  test::LogCapture log;
  cMoviePlayer player;
  ASSERT_TRUE(player.Open(u"data\\movie.avi"));
  player.Play(0);
  int polls = 0;
  while (player.IsPlaying() && polls < kPollLimit) ++polls;
  EXPECT_LT(polls, kPollLimit);
  EXPECT_GT(FramesDrawn(), 10u);
  EXPECT_LT(FramesDrawn(), static_cast<std::size_t>(kFrames));
}

TEST_F(MoviePlayerTest, AStreamThatCannotBeDecodedPartWayEndsTheMovieWithOneLogLine) {
  WriteMovie("whole.avi");
  std::string bytes = test::ReadFileBytes(folder_.path() / "data" / "whole.avi");
  // Garbage over the second half of the frames; the container's index stays.
  const std::size_t frames = bytes.find("movi");
  ASSERT_NE(frames, std::string::npos);
  for (std::size_t i = frames + (bytes.size() - frames) / 2; i < frames + (bytes.size() - frames) * 8 / 10; ++i) {
    bytes[i] = static_cast<char>(i * 131 + 7);
  }
  folder_.Write("data/movie.avi", bytes);
  test::LogCapture log;
  cMoviePlayer player;
  ASSERT_TRUE(player.Open(u"data\\movie.avi"));
  player.Play(0);
  int polls = 0;
  while (player.IsPlaying() && polls < kPollLimit) ++polls;
  EXPECT_LT(polls, kPollLimit);
  EXPECT_FALSE(player.IsPlaying());
  int errors = 0;
  for (const std::u16string& line : log.lines()) errors += line == u"-----Error when trying to play video";
  EXPECT_EQ(errors, 1);
  EXPECT_GT(FramesDrawn(), 10u) << "the frames before the damage play";
  EXPECT_LT(FramesDrawn(), static_cast<std::size_t>(kFrames));
}

// A movie file holding no frame at all opens (its header is sound) but
// cannot be started: one error line, however often it is asked to play.
TEST_F(MoviePlayerTest, AMovieWithoutFramesNeverStarts) {
  movie::MovieWriter writer;
  std::string error;
  ASSERT_TRUE(writer.Open(folder_.path() / "data" / "movie.avi", movie::MovieParams{kWidth, kHeight, 25, 0, 3}, &error))
      << error;
  ASSERT_TRUE(writer.Finish(&error)) << error;
  test::LogCapture log;
  cMoviePlayer player;
  ASSERT_TRUE(player.Open(u"data\\movie.avi"));
  for (int i = 0; i < 2; ++i) {
    player.Play(10000);
    EXPECT_FALSE(player.IsPlaying());
  }
  int errors = 0;
  for (const std::u16string& line : log.lines()) errors += line == u"-----Error when trying to play video";
  EXPECT_EQ(errors, 1);
  EXPECT_EQ(FramesDrawn(), 0u);
}

// A header may give a frame rate the decoder cannot take (here a Flash
// video's, made infinite): the frames keep their own times and the last one
// the usual 40 ms.
TEST_F(MoviePlayerTest, AFrameRateThatIsNoNumberLeavesTheLastFrameItsUsualTime) {
  constexpr int kFlashFrames = 12;
  const std::filesystem::path file = folder_.path() / "data" / "movie.avi";
  movie::MovieWriter writer;
  std::string error;
  movie::MovieParams params{kWidth, kHeight, 25, 0, 3};
  params.flash = true;
  ASSERT_TRUE(writer.Open(file, params, &error)) << error;
  for (int i = 0; i < kFlashFrames; ++i) ASSERT_TRUE(writer.AddFrame(Picture(i).data(), kWidth, &error)) << error;
  ASSERT_TRUE(writer.Finish(&error)) << error;
  std::string bytes = test::ReadFileBytes(file);
  // The metadata's number after its name and type byte: a big-endian double.
  const std::size_t rate = bytes.find("framerate");
  ASSERT_NE(rate, std::string::npos);
  ASSERT_EQ(bytes[rate + 9], '\0');
  bytes.replace(rate + 10, 8, std::string("\x7F\xF0\0\0\0\0\0\0", 8));
  folder_.Write("data/movie.avi", bytes);

  cMoviePlayer player;
  ASSERT_TRUE(player.Open(u"data\\movie.avi"));
  const double start = clock().NowSeconds();
  player.Play(10000);
  int polls = 0;
  while (player.IsPlaying() && polls < kPollLimit) ++polls;
  EXPECT_EQ(polls, kFlashFrames);
  EXPECT_EQ(FramesDrawn(), static_cast<std::size_t>(kFlashFrames));
  EXPECT_NEAR(clock().NowSeconds() - start, kFlashFrames * 0.04, 1e-3);
}

struct RefusedCase {
  const char* name;
  std::function<void(const std::filesystem::path&)> make;
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class RefusedMovieTest : public MoviePlayerTest, public testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedMovieTest, IsLoggedAndNeverPlays) {
  GetParam().make(folder_.path() / "data" / "movie.avi");
  test::LogCapture log;
  cMoviePlayer player;
  EXPECT_FALSE(player.Open(u"data\\movie.avi"));
  EXPECT_TRUE(log.Contains(u"-----Could not open video file: data\\movie.avi"));
  player.Play(10000);
  EXPECT_FALSE(player.IsPlaying());
  player.Stop();
  EXPECT_EQ(FramesDrawn(), 0u);
}

void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedMovieTest,
    testing::Values(
        RefusedCase{"Missing", [](const std::filesystem::path&) {}},
        RefusedCase{"Empty", [](const std::filesystem::path& f) { WriteText(f, ""); }},
        RefusedCase{"TextRenamed",
                    [](const std::filesystem::path& f) {
                      WriteText(f, "The credits, line by line.\r\nNot a movie at all.\r\n");
                    }},
        RefusedCase{"Folder", [](const std::filesystem::path& f) {
                      std::filesystem::create_directories(f);
                    }}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

// Pictures smaller than the blocks the scaler writes: it must write into its
// own padded buffer, never past a small texture's pixels (ASan watches).
class TinyMovieTest : public MoviePlayerTest, public testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(TinyMovieTest, PlaysThroughShowingItsPicture) {
  const auto [width, height] = GetParam();
  constexpr int kTinyFrames = 10;
  movie::MovieWriter writer;
  std::string error;
  ASSERT_TRUE(writer.Open(folder_.path() / "data" / "movie.avi", movie::MovieParams{width, height, 25, 0, 3}, &error))
      << error;
  const std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, kBackground);
  for (int i = 0; i < kTinyFrames; ++i) ASSERT_TRUE(writer.AddFrame(pixels.data(), width, &error)) << error;
  ASSERT_TRUE(writer.Finish(&error)) << error;

  cMoviePlayer player;
  ASSERT_TRUE(player.Open(u"data\\movie.avi"));
  player.Play(10000);
  int polls = 0;
  while (player.IsPlaying() && polls < kPollLimit) {
    if (polls == 0) {
      EXPECT_TRUE(Near(Centre(), kBackground, 24)) << std::hex << Centre();
    }
    ++polls;
  }
  EXPECT_EQ(polls, kTinyFrames);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TinyMovieTest,
                         testing::Values(std::pair{2, 2}, std::pair{10, 10}, std::pair{2, 64}, std::pair{66, 2}),
                         [](const auto& info) {
                           return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
                         });

TEST_F(MoviePlayerTest, AMovieLargerThanTheLargestTextureIsRefused) {
  WriteMovie("movie.avi");
  frame_->graphics().SetMaxTextureSize(kWidth / 2);
  test::LogCapture log;
  cMoviePlayer player;
  EXPECT_FALSE(player.Open(u"data\\movie.avi"));
  EXPECT_TRUE(log.Contains(u"-----Could not open video file: data\\movie.avi"));
}

}  // namespace
}  // namespace tr
