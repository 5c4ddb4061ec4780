// Sound through SDL_mixer: each copy of an effect plays on a mixer channel of its own.
#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <deque>
#include <mutex>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/text.h"
#include "platform/audio.h"

namespace tr {

float GainFromHundredthsDb(std::int32_t volume) {
  if (volume >= 0) return 1.0f;
  // -10000 is the quietest setting and means silence.
  if (volume <= -10000) return 0.0f;
  return static_cast<float>(std::pow(10.0, volume / 2000.0));
}

namespace {

int MixerVolume(float gain) { return static_cast<int>(std::lround(std::clamp(gain, 0.0f, 1.0f) * MIX_MAX_VOLUME)); }

class SdlSoundEffect : public SoundEffect {
 public:
  SdlSoundEffect(Mix_Chunk* chunk, int copies) : chunk_(chunk), copies_(std::max(1, copies)) {}
  ~SdlSoundEffect() override {
    Stop();
    Mix_FreeChunk(chunk_);
  }

  bool Play(std::int32_t volume, bool looping) override {
    int copy = 0;
    while (copy < static_cast<int>(copies_.size()) && CopyPlaying(copy)) ++copy;
    if (copy == static_cast<int>(copies_.size())) copy = 0;
    Copy& c = copies_[static_cast<std::size_t>(copy)];
    if (CopyPlaying(copy)) Mix_HaltChannel(c.channel);
    c.volume = MixerVolume(GainFromHundredthsDb(volume));
    c.looping = looping;
    return Start(c);
  }

  void Stop() override {
    for (int i = 0; i < static_cast<int>(copies_.size()); ++i) {
      if (CopyPlaying(i)) Mix_HaltChannel(copies_[static_cast<std::size_t>(i)].channel);
      copies_[static_cast<std::size_t>(i)].channel = -1;
    }
  }

  void Reset() override {
    for (int i = 0; i < static_cast<int>(copies_.size()); ++i) {
      if (!CopyPlaying(i)) continue;
      Copy& c = copies_[static_cast<std::size_t>(i)];
      Mix_HaltChannel(c.channel);
      Start(c);
    }
  }

  bool IsPlaying() const override {
    for (int i = 0; i < static_cast<int>(copies_.size()); ++i) {
      if (CopyPlaying(i)) return true;
    }
    return false;
  }

  int copies() const override { return static_cast<int>(copies_.size()); }

 private:
  struct Copy {
    int channel = -1;
    int volume = MIX_MAX_VOLUME;
    bool looping = false;
  };

  bool CopyPlaying(int i) const {
    const int ch = copies_[static_cast<std::size_t>(i)].channel;
    return ch >= 0 && Mix_Playing(ch) && Mix_GetChunk(ch) == chunk_;
  }

  bool Start(Copy& c) {
    c.channel = Mix_PlayChannel(-1, chunk_, c.looping ? -1 : 0);
    if (c.channel < 0) return false;
    Mix_Volume(c.channel, c.volume);
    return true;
  }

  Mix_Chunk* chunk_;
  std::vector<Copy> copies_;
};

const void* g_playing_music = nullptr;

class SdlMusicStream : public MusicStream {
 public:
  explicit SdlMusicStream(Mix_Music* music) : music_(music) {}
  ~SdlMusicStream() override {
    Stop();
    Mix_FreeMusic(music_);
  }
  void Play() override {
    Mix_VolumeMusic(MixerVolume(volume_));
    if (Mix_PlayMusic(music_, repeat_ ? -1 : 0) == 0) g_playing_music = this;
  }
  void Stop() override {
    if (g_playing_music != this) return;
    Mix_HaltMusic();
    g_playing_music = nullptr;
  }
  bool IsPlaying() const override { return g_playing_music == this && Mix_PlayingMusic(); }
  void SetVolume(float volume) override {
    volume_ = volume;
    if (g_playing_music == this) Mix_VolumeMusic(MixerVolume(volume_));
  }
  void SetRepeat(bool repeat) override { repeat_ = repeat; }

 private:
  Mix_Music* music_;
  float volume_ = 1.0f;
  bool repeat_ = false;
};

// The mixer channel kept for sample streams: effects never take it.
constexpr int kStreamChannel = 0;

// A silent chunk loops on the stream channel; the channel's effect replaces
// its data with the queued samples. The effect runs on the mixer's thread
// with the audio lock held, so the queue has a lock of its own.
class SdlSampleStream : public SampleStream {
 public:
  SdlSampleStream(bool* open) : open_(open) {
    silence_.assign(4096, 0);
    chunk_ = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(silence_.data()), static_cast<Uint32>(silence_.size()));
    if (chunk_ == nullptr) return;
    Mix_RegisterEffect(kStreamChannel, &SdlSampleStream::Fill, nullptr, this);
    Mix_Volume(kStreamChannel, MIX_MAX_VOLUME);
    Mix_PlayChannel(kStreamChannel, chunk_, -1);
    *open_ = true;
  }
  ~SdlSampleStream() override {
    if (chunk_ != nullptr) {
      // Both take the audio lock: once they return, the effect cannot be running.
      Mix_UnregisterEffect(kStreamChannel, &SdlSampleStream::Fill);
      Mix_HaltChannel(kStreamChannel);
      Mix_FreeChunk(chunk_);
    }
    *open_ = false;
  }
  bool ok() const { return chunk_ != nullptr; }

  void Queue(std::span<const std::int16_t> samples) override {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.insert(queue_.end(), samples.begin(), samples.end());
  }

 private:
  static void Fill(int, void* stream, int length, void* self) {
    auto* me = static_cast<SdlSampleStream*>(self);
    auto* out = static_cast<std::int16_t*>(stream);
    const std::size_t wanted = static_cast<std::size_t>(length) / sizeof(std::int16_t);
    std::lock_guard<std::mutex> lock(me->mutex_);
    const std::size_t n = std::min(wanted, me->queue_.size());
    std::copy_n(me->queue_.begin(), n, out);
    me->queue_.erase(me->queue_.begin(), me->queue_.begin() + static_cast<std::ptrdiff_t>(n));
    std::fill(out + n, out + wanted, 0);
  }

  bool* open_;
  std::vector<std::int16_t> silence_;
  Mix_Chunk* chunk_ = nullptr;
  std::mutex mutex_;
  std::deque<std::int16_t> queue_;
};

class SdlAudioDevice : public AudioDevice {
 public:
  ~SdlAudioDevice() override {
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    g_playing_music = nullptr;
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  // The mixer is handed bytes or an opened file, never a name: what it opens
  // by name could be a pipe, a device or a file outside the game folder.
  std::unique_ptr<SoundEffect> LoadEffect(const std::filesystem::path& wav, int copies) override {
    const std::optional<std::string> bytes = ReadWholeFile(wav, kSoundFileBudget);
    if (!bytes) return nullptr;
    SDL_RWops* source = SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size()));
    if (!source) return nullptr;
    Mix_Chunk* chunk = Mix_LoadWAV_RW(source, 1);
    if (!chunk) return nullptr;
    return std::make_unique<SdlSoundEffect>(chunk, copies);
  }
  std::unique_ptr<MusicStream> OpenMusic(const std::filesystem::path& file) override {
    cGameFile opened = OpenGameFile(file, kMusicFileBudget);
    if (!opened.is_open()) return nullptr;
    std::FILE* stream = ::fdopen(opened.descriptor(), "rb");
    if (!stream) return nullptr;
    opened.Release();
    SDL_RWops* source = SDL_RWFromFP(stream, SDL_TRUE);
    if (!source) {
      std::fclose(stream);
      return nullptr;
    }
    // The mixer streams from the file and closes it with the music, or at once when it fails.
    Mix_Music* music = Mix_LoadMUS_RW(source, 1);
    if (!music) return nullptr;
    return std::make_unique<SdlMusicStream>(music);
  }
  SampleFormat sample_format() const override {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0) return {};
    return {rate, channels};
  }
  std::unique_ptr<SampleStream> OpenSampleStream() override {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    // Streams hand over 16-bit samples; a device opened in another format stays silent.
    if (stream_open_ || Mix_QuerySpec(&rate, &format, &channels) == 0 || format != AUDIO_S16SYS) return nullptr;
    auto stream = std::make_unique<SdlSampleStream>(&stream_open_);
    if (!stream->ok()) return nullptr;
    return stream;
  }

 private:
  bool stream_open_ = false;
};

// While one lives, what is written to the standard error goes to the log
// instead: the sound libraries print their own errors there while they look
// for an output ("ALSA lib ... Unknown PCM default" on a machine without
// sound), and a game that goes on silently should not show them as errors.
class StderrToLog {
 public:
  StderrToLog() {
    std::fflush(stderr);
    saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    capture_ = ::memfd_create("stderr", MFD_CLOEXEC);
    if (saved_ < 0 || capture_ < 0 || ::dup2(capture_, STDERR_FILENO) < 0) Close();
  }
  ~StderrToLog() {
    if (capture_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    // Bounded: a library that printed without end has said what matters first.
    std::string said(kMaxBytes, '\0');
    std::size_t size = 0;
    while (size < said.size()) {
      const ssize_t got = ::pread(capture_, said.data() + size, said.size() - size, static_cast<off_t>(size));
      if (got <= 0) break;
      size += static_cast<std::size_t>(got);
    }
    Close();
    std::string_view rest(said.data(), size);
    while (!rest.empty()) {
      const std::size_t end = std::min(rest.find('\n'), rest.size());
      if (end > 0) LogLine(Utf8ToUtf16(rest.substr(0, end)));
      rest.remove_prefix(std::min(end + 1, rest.size()));
    }
  }
  StderrToLog(const StderrToLog&) = delete;
  StderrToLog& operator=(const StderrToLog&) = delete;

 private:
  static constexpr std::size_t kMaxBytes = 16 * 1024;
  void Close() {
    if (saved_ >= 0) ::close(saved_);
    if (capture_ >= 0) ::close(capture_);
    saved_ = capture_ = -1;
  }
  int saved_ = -1;
  int capture_ = -1;
};

}  // namespace

std::unique_ptr<AudioDevice> AudioDevice::OpenDefault(std::string* error) {
  const StderrToLog quiet;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    if (error) *error = SDL_GetError();
    return nullptr;
  }
  if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
    if (error) *error = Mix_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  Mix_AllocateChannels(64);
  Mix_ReserveChannels(kStreamChannel + 1);
  return std::make_unique<SdlAudioDevice>();
}

}  // namespace tr
