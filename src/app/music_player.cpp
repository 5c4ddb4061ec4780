#include "app/music_player.h"

#include <cstdint>
#include <optional>

#include "app/sound.h"
#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/number_text.h"
#include "foundation/text_file.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "platform/audio.h"

namespace tr {
namespace {

constexpr const char* kPlaylistsFile = "data/Music/playlists.csv";

// The lines of a narrow text file that are not empty, not comments (';' or '#').
std::vector<std::string> ListLines(std::string_view text) {
  std::vector<std::string> lines;
  for (std::string_view line : TextLineViews(text)) {
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    // The lists are code-page text like every other; the paths made of them are UTF-8.
    lines.push_back(Utf16ToUtf8(CodePageToUtf16(line)));
  }
  return lines;
}

std::unique_ptr<cMusicPlayer>& GamePlayer() {
  static std::unique_ptr<cMusicPlayer> player;
  return player;
}

}  // namespace

cMusicPlayer* GameMusicPlayer() { return GamePlayer().get(); }
void SetGameMusicPlayer(std::unique_ptr<cMusicPlayer> player) { GamePlayer() = std::move(player); }

cMusicPlayer::cMusicPlayer() : cMusicPlayer(GetAudioDevice()) {}

cMusicPlayer::cMusicPlayer(AudioDevice* device)
    : device_(device), volume_(gMusicVolume), shuffle_(std::random_device{}()) {
  ReadPlaylists();
}

cMusicPlayer::~cMusicPlayer() {
  if (currentTrack_ >= 0 && currentTrack_ < trackCount()) tracks_[static_cast<std::size_t>(currentTrack_)]->Stop();
}

void cMusicPlayer::ReadPlaylists() {
  const std::optional<std::string> bytes = ReadTextFile(ResolveGamePath(std::string_view(kPlaylistsFile)));
  if (!bytes) {
    LogLine(GetText("error:_could_not_open_file_data/music/playlists.csv"));
    return;
  }
  for (const std::string& line : ListLines(*bytes)) {
    const std::size_t cut = line.find(';');
    const std::optional<std::int32_t> number = WholeNumber(std::string_view(line).substr(0, cut));
    if (cut == std::string::npos || !number) {
      LogFormat(u"ERROR: %s: \"%s\" is not a playlist number and file name; line skipped", kPlaylistsFile, line);
      continue;
    }
    const std::string file = line.substr(cut + 1);
    playlists_[*number] = file;
    LogLine(Format(GetText("playlist_%d:_%s"), *number, file));
  }
}

bool cMusicPlayer::Play(std::int32_t playlist) {
  const auto it = playlists_.find(playlist);
  if (it == playlists_.end()) return false;
  if (playlist == currentPlaylist_) return true;
  LoadPlaylistFile(it->second);
  currentPlaylist_ = playlist;
  return true;
}

std::unique_ptr<MusicStream> cMusicPlayer::OpenStream(const std::string& file) {
  std::unique_ptr<MusicStream> stream;
  if (device_ != nullptr) stream = device_->OpenMusic(ResolveGamePath(std::string_view(file)));
  if (!stream) LogFormat(u"ERROR: nie udaďż˝o siďż˝ otworzyďż˝ strumienia audiere do pliku %s", file);
  return stream;
}

void cMusicPlayer::LoadPlaylistFile(const std::string& file) {
  // Releasing a stream stops it.
  tracks_.clear();
  currentTrack_ = -1;
  if (device_ == nullptr) return;
  const std::optional<std::string> bytes = ReadTextFile(ResolveGamePath(std::string_view(file)));
  if (!bytes) {
    LogFormat(u"ERROR: could not open the playlist file %s", file);
    return;
  }
  for (const std::string& track : ListLines(*bytes)) {
    std::unique_ptr<MusicStream> stream = OpenStream(track);
    if (!stream) continue;
    stream->SetRepeat(false);
    stream->SetVolume(volume_);
    tracks_.push_back(std::move(stream));
  }
  if (tracks_.empty()) return;
  currentTrack_ = PickRandomTrack(-1);
  tracks_[static_cast<std::size_t>(currentTrack_)]->Play();
}

int cMusicPlayer::PickRandomTrack(int avoid) {
  const int count = trackCount();
  if (count <= 1) return 0;
  if (avoid < 0 || avoid >= count) return std::uniform_int_distribution<int>(0, count - 1)(shuffle_);
  // Uniform among the others: draw from one fewer and step over the one to avoid.
  const int pick = std::uniform_int_distribution<int>(0, count - 2)(shuffle_);
  return pick >= avoid ? pick + 1 : pick;
}

void cMusicPlayer::Update() {
  if (currentPlaylist_ == -2 || tracks_.empty() || currentTrack_ < 0) return;
  if (tracks_[static_cast<std::size_t>(currentTrack_)]->IsPlaying()) return;
  currentTrack_ = PickRandomTrack(currentTrack_);
  tracks_[static_cast<std::size_t>(currentTrack_)]->Play();
}

void cMusicPlayer::SetVolume(float volume) {
  volume_ = volume;
  for (const auto& track : tracks_) track->SetVolume(volume);
}

void cMusicPlayer::PlayFile(const std::string& file) {
  std::unique_ptr<MusicStream> stream = OpenStream(file);
  if (!stream) return;
  single_ = std::move(stream);
  single_->Play();
}

void cMusicPlayer::StopSingleTrack() {
  if (single_ && single_->IsPlaying()) single_->Stop();
}

}  // namespace tr
