// The music player: reading the playlists, switching, and the shuffle.
#include "app/music_player.h"

#include <gtest/gtest.h>

#include <set>

#include "app/app_presentation.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "platform/null_audio.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

class MusicPlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    oldRoot_ = GameRoot();
    SetGameRoot(folder_.path());
  }
  void TearDown() override { SetGameRoot(oldRoot_); }
  // A playlist file of the tracks, each track file present.
  void WritePlaylist(const std::string& name, const std::vector<std::string>& tracks) {
    std::string text = "# tracks\r\n;another comment\r\n\r\n";
    for (const std::string& track : tracks) {
      folder_.Write(track, "music");
      text += track + "\r\n";
    }
    folder_.Write(name, text);
  }

  test::TempDir folder_;
  NullAudioDevice audio_;

 private:
  std::filesystem::path oldRoot_;
};

TEST_F(MusicPlayerTest, CommentsAndEmptyLinesOfThePlaylistsFileAreSkipped) {
  folder_.Write("data/Music/playlists.csv", "1;a.txt\r\n#c\r\n;c\r\n\r\n2;b.txt\r\nnonsense\r\n");
  test::LogCapture log;
  cMusicPlayer player(&audio_);
  EXPECT_EQ(player.playlists(), (std::map<std::int32_t, std::string>{{1, "a.txt"}, {2, "b.txt"}}));
  EXPECT_TRUE(log.Contains(Format(GetText("playlist_%d:_%s"), 1, "a.txt")));
  EXPECT_TRUE(log.ContainsText(u"\"nonsense\" is not a playlist number"));
}

// A human country starts its own playlist only when the game's player has one.
TEST_F(MusicPlayerTest, TheGameScreenTellsWhichPlaylistsTheGamesPlayerHas) {
  folder_.Write("data/Music/playlists.csv", "3;a.txt\r\n");
  cAppPresentation port;
  EXPECT_FALSE(port.HasMusicPlaylist(3));
  SetGameMusicPlayer(std::make_unique<cMusicPlayer>(&audio_));
  EXPECT_TRUE(port.HasMusicPlaylist(3));
  EXPECT_FALSE(port.HasMusicPlaylist(2));
  SetGameMusicPlayer(nullptr);
}

TEST_F(MusicPlayerTest, MissingPlaylistsFileIsLoggedAndNoPlaylistPlays) {
  test::LogCapture log;
  cMusicPlayer player(&audio_);
  EXPECT_TRUE(log.Contains(GetText("error:_could_not_open_file_data/music/playlists.csv")));
  EXPECT_FALSE(player.Play(1));
  EXPECT_EQ(player.currentPlaylist(), -2);
}

TEST_F(MusicPlayerTest, ThreeTracksNeverRepeatAtOnceAndEveryOnePlays) {
  WritePlaylist("data/Music/axis.txt", {"data/Music/a.wav", "data/Music/b.wav", "data/Music/c.wav"});
  folder_.Write("data/Music/playlists.csv", "3;data/Music/axis.txt\r\n");
  cMusicPlayer player(&audio_);
  ASSERT_TRUE(player.Play(3));
  ASSERT_EQ(player.trackCount(), 3);
  std::set<int> played{player.currentTrack()};
  int previous = player.currentTrack();
  for (int end = 0; end < 1000; ++end) {
    audio_.FinishAll();
    player.Update();
    ASSERT_NE(player.currentTrack(), previous) << "after end " << end;
    previous = player.currentTrack();
    played.insert(previous);
  }
  EXPECT_EQ(played, (std::set<int>{0, 1, 2}));
}

TEST_F(MusicPlayerTest, OneTrackPlaysAgainAndTheCurrentPlaylistIsNotRestarted) {
  WritePlaylist("data/Music/one.txt", {"data/Music/only.wav"});
  WritePlaylist("data/Music/two.txt", {"data/Music/x.wav", "data/Music/y.wav"});
  folder_.Write("data/Music/playlists.csv", "1;data/Music/one.txt\r\n2;data/Music/two.txt\r\n");
  cMusicPlayer player(&audio_);
  ASSERT_TRUE(player.Play(1));
  audio_.ClearCalls();
  EXPECT_TRUE(player.Play(1));
  EXPECT_TRUE(audio_.calls().empty());
  audio_.FinishAll();
  player.Update();
  ASSERT_EQ(audio_.calls().size(), 1u);
  EXPECT_EQ(audio_.calls()[0], (NullAudioDevice::Call{"music_play", "only.wav", -1, 0, 1.0f, false}));
  ASSERT_TRUE(player.Play(2));
  EXPECT_EQ(player.trackCount(), 2);
  EXPECT_FALSE(player.Play(7));
  EXPECT_EQ(player.currentPlaylist(), 2);
}

TEST_F(MusicPlayerTest, VolumeReachesEveryTrackAndLaterPlaylists) {
  WritePlaylist("data/Music/one.txt", {"data/Music/a.wav", "data/Music/b.wav"});
  WritePlaylist("data/Music/two.txt", {"data/Music/c.wav"});
  folder_.Write("data/Music/playlists.csv", "1;data/Music/one.txt\r\n2;data/Music/two.txt\r\n");
  cMusicPlayer player(&audio_);
  player.Play(1);
  audio_.ClearCalls();
  player.SetVolume(0.25f);
  EXPECT_EQ(audio_.calls().size(), 2u);
  audio_.ClearCalls();
  player.Play(2);
  bool setQuarter = false;
  for (const auto& call : audio_.calls()) setQuarter |= call.what == "music_volume" && call.gain == 0.25f;
  EXPECT_TRUE(setQuarter);
}

TEST_F(MusicPlayerTest, UnplayableTrackIsLoggedAndSkipped) {
  folder_.Write("data/Music/one.txt", "data/Music/missing.wav\r\n");
  folder_.Write("data/Music/playlists.csv", "1;data/Music/one.txt\r\n");
  test::LogCapture log;
  cMusicPlayer player(&audio_);
  EXPECT_TRUE(player.Play(1));
  EXPECT_EQ(player.trackCount(), 0);
  EXPECT_TRUE(log.ContainsText(u"do pliku data/Music/missing.wav"));
  player.Update();
}

}  // namespace
}  // namespace tr
