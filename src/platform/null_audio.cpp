#include "platform/null_audio.h"

#include <vector>

#include "foundation/file_read.h"

namespace tr {

class NullSoundEffect : public SoundEffect {
 public:
  NullSoundEffect(NullAudioDevice& device, std::string file, int copies)
      : device_(device), file_(std::move(file)), copies_(static_cast<std::size_t>(copies < 1 ? 1 : copies)) {}

  bool Play(std::int32_t volume, bool looping) override {
    std::size_t copy = 0;
    while (copy < copies_.size() && CopyPlaying(copy)) ++copy;
    if (copy == copies_.size()) copy = 0;
    copies_[copy] = {true, device_.generation_};
    device_.calls_.push_back({"play", file_, static_cast<int>(copy), volume, GainFromHundredthsDb(volume), looping});
    return true;
  }
  void Stop() override {
    for (auto& c : copies_) c.playing = false;
    device_.calls_.push_back({"stop", file_});
  }
  void Reset() override { device_.calls_.push_back({"reset", file_}); }
  bool IsPlaying() const override {
    for (std::size_t i = 0; i < copies_.size(); ++i) {
      if (CopyPlaying(i)) return true;
    }
    return false;
  }
  int copies() const override { return static_cast<int>(copies_.size()); }

 private:
  struct Copy {
    bool playing = false;
    int generation = 0;
  };
  bool CopyPlaying(std::size_t i) const {
    return copies_[i].playing && copies_[i].generation == device_.generation_;
  }

  NullAudioDevice& device_;
  std::string file_;
  std::vector<Copy> copies_;
};

class NullMusicStream : public MusicStream {
 public:
  NullMusicStream(NullAudioDevice& device, std::string file) : device_(device), file_(std::move(file)) {}
  void Play() override {
    playing_ = true;
    generation_ = device_.generation_;
    device_.calls_.push_back({"music_play", file_, -1, 0, volume_, repeat_});
  }
  void Stop() override {
    playing_ = false;
    device_.calls_.push_back({"music_stop", file_});
  }
  bool IsPlaying() const override { return playing_ && generation_ == device_.generation_; }
  void SetVolume(float volume) override {
    volume_ = volume;
    device_.calls_.push_back({"music_volume", file_, -1, 0, volume});
  }
  void SetRepeat(bool repeat) override {
    repeat_ = repeat;
    device_.calls_.push_back({"music_repeat", file_, -1, 0, 0, repeat});
  }

 private:
  NullAudioDevice& device_;
  std::string file_;
  bool playing_ = false;
  int generation_ = 0;
  float volume_ = 1.0f;
  bool repeat_ = false;
};

class NullSampleStream : public SampleStream {
 public:
  explicit NullSampleStream(NullAudioDevice& device) : device_(device) {}
  ~NullSampleStream() override {
    device_.stream_open_ = false;
    device_.calls_.push_back({"stream_close", ""});
  }
  void Queue(std::span<const std::int16_t> samples) override {
    device_.streamed_.insert(device_.streamed_.end(), samples.begin(), samples.end());
  }

 private:
  NullAudioDevice& device_;
};

std::unique_ptr<SampleStream> NullAudioDevice::OpenSampleStream() {
  if (stream_open_) return nullptr;
  stream_open_ = true;
  calls_.push_back({"stream_open", ""});
  return std::make_unique<NullSampleStream>(*this);
}

std::unique_ptr<SoundEffect> NullAudioDevice::LoadEffect(const std::filesystem::path& wav, int copies) {
  const std::string name = wav.filename().string();
  if (!ReadWholeFile(wav, kSoundFileBudget)) return nullptr;
  calls_.push_back({"load", name, copies});
  return std::make_unique<NullSoundEffect>(*this, name, copies);
}

std::unique_ptr<MusicStream> NullAudioDevice::OpenMusic(const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  if (!OpenGameFile(file, kMusicFileBudget).is_open()) return nullptr;
  calls_.push_back({"open_music", name});
  return std::make_unique<NullMusicStream>(*this, name);
}

}  // namespace tr
