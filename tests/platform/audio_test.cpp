// Sound volumes, effect copies and music streams on the null device; the files the
// mixer is given; the movie player's failure; a machine without sound output.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "foundation/paths.h"
#include "platform/audio.h"
#include "platform/movie_player.h"
#include "platform/null_audio.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

class VolumeConversion : public testing::TestWithParam<std::pair<int, double>> {};

TEST_P(VolumeConversion, HundredthsOfADecibelBecomeLinearGain) {
  EXPECT_NEAR(GainFromHundredthsDb(GetParam().first), GetParam().second, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Volumes, VolumeConversion,
                         testing::Values(std::make_pair(0, 1.0), std::make_pair(-5000, std::pow(10.0, -2.5)),
                                         std::make_pair(-2000, 0.1), std::make_pair(-10000, 0.0),
                                         std::make_pair(-20000, 0.0), std::make_pair(300, 1.0)));

class NullAudio : public testing::Test {
 protected:
  test::TempDir dir;
  NullAudioDevice device;
  std::filesystem::path Wav(const char* name) { return dir.Write(name, "RIFF"); }
};

TEST_F(NullAudio, EffectCopiesOverlapUpToTheirCount) {
  auto effect = device.LoadEffect(Wav("ButtonClick.wav"), 3);
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->copies(), 3);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(effect->Play(-5000, false));
  std::vector<int> copies;
  for (const auto& call : device.calls()) {
    if (call.what == "play") copies.push_back(call.copy);
  }
  EXPECT_EQ(copies, (std::vector<int>{0, 1, 2, 0}));
  EXPECT_EQ(device.calls().back().volume, -5000);
  EXPECT_TRUE(effect->IsPlaying());
  device.FinishAll();
  EXPECT_FALSE(effect->IsPlaying());
  effect->Play(0, true);
  effect->Stop();
  EXPECT_FALSE(effect->IsPlaying());
}

TEST_F(NullAudio, MissingFilesDoNotLoad) {
  EXPECT_EQ(device.LoadEffect(dir.path() / "missing.wav", 1), nullptr);
  EXPECT_EQ(device.OpenMusic(dir.path() / "missing.ogg"), nullptr);
  EXPECT_TRUE(device.calls().empty());
}

TEST_F(NullAudio, MusicStreamPlaysStopsAndKeepsItsVolume) {
  auto music = device.OpenMusic(Wav("track.ogg"));
  ASSERT_NE(music, nullptr);
  music->SetRepeat(false);
  music->SetVolume(0.5f);
  EXPECT_EQ(device.calls().back(), (NullAudioDevice::Call{"music_volume", "track.ogg", -1, 0, 0.5f, false}));
  music->Play();
  EXPECT_TRUE(music->IsPlaying());
  EXPECT_EQ(device.calls().back(), (NullAudioDevice::Call{"music_play", "track.ogg", -1, 0, 0.5f, false}));
  music->Stop();
  EXPECT_FALSE(music->IsPlaying());
}

// The mixer gets a sound only when it is a regular file inside the game
// folder: a pipe by a sound's name used to stop the game for good, and a link
// or a path out of the folder read any file of the machine.
TEST(SdlAudio, SoundsAreOpenedUnderTheGameRule) {
  std::string why;
  const std::unique_ptr<AudioDevice> device = AudioDevice::OpenDefault(&why);
  if (!device) GTEST_SKIP() << why;
  test::TempDir dir;
  const std::filesystem::path game = dir.path() / "game";
  const std::filesystem::path built(TR_GAME_DIR);
  std::filesystem::create_directories(game / "data" / "sound");
  std::filesystem::create_directories(game / "data" / "Music");
  std::filesystem::copy_file(built / "data/sound/Buying.wav", game / "data/sound/Buying.wav");
  std::filesystem::copy_file(built / "data/Music/march.wav", game / "data/Music/march.wav");
  std::filesystem::copy_file(built / "data/Music/march.wav", dir.path() / "outside.wav");
  ASSERT_EQ(mkfifo((game / "data/sound/Pipe.wav").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo((game / "data/Music/pipe.wav").c_str(), 0600), 0);
  std::filesystem::create_symlink(dir.path() / "outside.wav", game / "data/Music/link.wav");
  const test::ScopedGameRoot root(game);
  EXPECT_NE(device->LoadEffect(ResolveGamePath("data/sound/Buying.wav"), 2), nullptr);
  EXPECT_NE(device->OpenMusic(ResolveGamePath("data/Music/march.wav")), nullptr);
  EXPECT_EQ(device->LoadEffect(ResolveGamePath("data/sound/Pipe.wav"), 2), nullptr);
  for (const char* track : {"data/Music/pipe.wav", "data/Music/link.wav", "../outside.wav", "/dev/zero"}) {
    EXPECT_EQ(device->OpenMusic(ResolveGamePath(track)), nullptr) << track;
  }
}

TEST(MoviePlayer, MissingMovieLogsAndDoesNotPlay) {
  test::LogCapture log;
  cMoviePlayer player;
  EXPECT_FALSE(player.Open(u"data\\intro2.avi"));
  EXPECT_TRUE(log.Contains(u"-----Could not open video file: data\\intro2.avi"));
  player.Play(10000);
  EXPECT_FALSE(player.IsPlaying());
  player.Stop();
}

// Without a sound output the game plays silently: what the sound library
// prints while it looks for one (ALSA's "Unknown PCM ...") is kept in the log,
// and the terminal shows nothing, also after the failed open.
TEST(SdlAudio, AMissingOutputPrintsNothingToTheTerminal) {
  const auto set = [](const char* name, const char* value) {
    const char* old = std::getenv(name);
    std::optional<std::string> was = old ? std::optional<std::string>(old) : std::nullopt;
    value ? setenv(name, value, 1) : unsetenv(name);
    return was;
  };
  const std::optional<std::string> driver = set("SDL_AUDIODRIVER", "alsa");
  const std::optional<std::string> output = set("AUDIODEV", "tidereach_no_such_output");
  test::LogCapture log;
  std::string why;
  testing::internal::CaptureStderr();
  const bool opened = AudioDevice::OpenDefault(&why) != nullptr;
  std::fputs("said after\n", stderr);
  const std::string printed = testing::internal::GetCapturedStderr();
  set("SDL_AUDIODRIVER", driver ? driver->c_str() : nullptr);
  set("AUDIODEV", output ? output->c_str() : nullptr);
  EXPECT_FALSE(opened);
  EXPECT_EQ(printed, "said after\n");
  if (!log.ContainsText(u"ALSA lib")) GTEST_SKIP() << "the sound library printed nothing here: " << why;
  // Each line it printed is logged whole, and once.
  const std::vector<std::u16string> lines = log.lines();
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::u16string& line) {
                            return line.ends_with(u"Unknown PCM tidereach_no_such_output");
                          }),
            1);
}

}  // namespace
}  // namespace tr
