// An audio device that plays nothing and lists every call. Loading succeeds
// for files that exist. Sounds play until stopped or until the test says they
// ended.
#pragma once

#include <string>
#include <vector>

#include "platform/audio.h"

namespace tr {

class NullAudioDevice : public AudioDevice {
 public:
  struct Call {
    std::string what;   // "load", "play", "stop", "reset", "open_music", "music_play", "music_stop", "music_volume",
                        // "music_repeat", "stream_open", "stream_close"
    std::string file;   // file name (without folders)
    int copy = -1;      // the copy of an effect that played
    std::int32_t volume = 0;
    float gain = 0;
    bool looping = false;
    bool operator==(const Call&) const = default;
  };

  std::unique_ptr<SoundEffect> LoadEffect(const std::filesystem::path& wav, int copies) override;
  std::unique_ptr<MusicStream> OpenMusic(const std::filesystem::path& file) override;
  SampleFormat sample_format() const override { return {}; }
  std::unique_ptr<SampleStream> OpenSampleStream() override;

  const std::vector<Call>& calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // Every sound and music stream that plays ends now.
  void FinishAll() { ++generation_; }
  // Every sample handed to a sample stream, in order.
  const std::vector<std::int16_t>& streamed_samples() const { return streamed_; }

 private:
  friend class NullSoundEffect;
  friend class NullMusicStream;
  friend class NullSampleStream;
  std::vector<Call> calls_;
  std::vector<std::int16_t> streamed_;
  bool stream_open_ = false;
  int generation_ = 0;
};

}  // namespace tr
