// The background music of a running game: a table file maps playlist numbers
// to playlist files, each playlist lists tracks, and the player shuffles
// through the tracks of the current playlist, never the same track twice in
// a row. The shuffle has its own generator, so music never draws from the
// game's random sequence. One more stream plays single files (the credits).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace tr {

class AudioDevice;
class MusicStream;

class cMusicPlayer {
 public:
  // Plays on the device (the shared one by default; with none the player is
  // silent) and reads "data/Music/playlists.csv".
  explicit cMusicPlayer(AudioDevice* device);
  cMusicPlayer();
  ~cMusicPlayer();
  cMusicPlayer(const cMusicPlayer&) = delete;
  cMusicPlayer& operator=(const cMusicPlayer&) = delete;

  // Switches to a playlist; false for an unknown number. The playlist that
  // already plays goes on undisturbed.
  bool Play(std::int32_t playlist);
  // Once per frame: a finished track is followed by another one.
  void Update();
  void SetVolume(float volume);
  // Plays one file in the single-stream slot, replacing what was there.
  void PlayFile(const std::string& file);
  void StopSingleTrack();

  // A track of the current playlist other than the one to avoid (-1: any).
  int PickRandomTrack(int avoid);

  float volume() const { return volume_; }
  std::int32_t currentPlaylist() const { return currentPlaylist_; }
  int currentTrack() const { return currentTrack_; }
  int trackCount() const { return static_cast<int>(tracks_.size()); }
  const std::map<std::int32_t, std::string>& playlists() const { return playlists_; }

 private:
  void ReadPlaylists();
  void LoadPlaylistFile(const std::string& file);
  std::unique_ptr<MusicStream> OpenStream(const std::string& file);

  AudioDevice* device_;
  std::vector<std::unique_ptr<MusicStream>> tracks_;
  int currentTrack_ = -1;
  float volume_;
  std::map<std::int32_t, std::string> playlists_;
  std::int32_t currentPlaylist_ = -2;
  std::unique_ptr<MusicStream> single_;
  std::minstd_rand shuffle_;
};

// The music player of the running game, or null.
cMusicPlayer* GameMusicPlayer();
void SetGameMusicPlayer(std::unique_ptr<cMusicPlayer> player);

}  // namespace tr
