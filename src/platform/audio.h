// Sound: WAV effects in slots with several copies each (so a sound can overlap
// itself), played at a volume in hundredths of a decibel, and music streams.
// The SDL device plays through SDL_mixer; the null device plays nothing and
// lists every call, for tests and for machines without sound.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

namespace tr {

// Volume in hundredths of a decibel (0 full, -10000 silent) as a linear gain 0..1.
float GainFromHundredthsDb(std::int32_t volume);

class SoundEffect {
 public:
  virtual ~SoundEffect() = default;
  // Plays a copy that is not playing (the first copy again when all are); false when nothing could play.
  virtual bool Play(std::int32_t volume, bool looping) = 0;
  // Stops every copy.
  virtual void Stop() = 0;
  // Moves every copy back to its start; a playing copy goes on from there.
  virtual void Reset() = 0;
  virtual bool IsPlaying() const = 0;
  virtual int copies() const = 0;
};

class MusicStream {
 public:
  virtual ~MusicStream() = default;
  virtual void Play() = 0;
  virtual void Stop() = 0;
  virtual bool IsPlaying() const = 0;
  // 0..1
  virtual void SetVolume(float volume) = 0;
  virtual void SetRepeat(bool repeat) = 0;
};

// Samples handed over as they are decoded (a movie's sound track), played in
// the order given on a mixer channel of their own; silence while none wait.
class SampleStream {
 public:
  virtual ~SampleStream() = default;
  // Interleaved signed 16-bit samples in the device's sample format.
  virtual void Queue(std::span<const std::int16_t> samples) = 0;
};

struct SampleFormat {
  int rate = 44100;
  int channels = 2;
};

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  // The sound output of the machine; null with the reason in *error when there is none.
  static std::unique_ptr<AudioDevice> OpenDefault(std::string* error = nullptr);

  // Null when the file cannot be read as a WAV sound.
  virtual std::unique_ptr<SoundEffect> LoadEffect(const std::filesystem::path& wav, int copies) = 0;
  // Null when the file cannot be opened as music.
  virtual std::unique_ptr<MusicStream> OpenMusic(const std::filesystem::path& file) = 0;
  // The format a sample stream takes.
  virtual SampleFormat sample_format() const = 0;
  // Null when the device cannot stream (one stream at a time).
  virtual std::unique_ptr<SampleStream> OpenSampleStream() = 0;
};

}  // namespace tr
