// Reads a movie file one frame at a time and converts pictures into ARGB
// texels, and its sound track into the sample format of the audio device.
// The sound track is read through a second handle on the file, so each
// stream is decoded at its own pace. Any thread, one decoder per thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "platform/audio.h"

namespace tr {

class Texture;

class MovieDecoder {
 public:
  enum class Result { kFrame, kEnd, kError };

  MovieDecoder();
  ~MovieDecoder();
  MovieDecoder(const MovieDecoder&) = delete;
  MovieDecoder& operator=(const MovieDecoder&) = delete;

  // False with the reason in *error when the file holds no video stream a
  // decoder here handles.
  bool Open(const std::filesystem::path& file, std::string* error);
  // The native picture size.
  int width() const;
  int height() const;
  // How long one frame stays, in seconds.
  double frame_duration() const;

  // Decodes the next frame into the slot ahead of the one shown.
  Result Advance();
  // Seconds from the first frame to the frame ahead.
  double ahead_seconds() const;
  // The frame ahead becomes the current one.
  void Take();
  // Converts the current frame into the texels (scaled to the texture's size).
  bool ConvertCurrent(Texture& texture);

  bool has_sound() const;
  // Decodes the sound track until `seconds` of it have been handed to the
  // sink, converted to the format; false once the track has ended or fails.
  bool DecodeSound(double seconds, const SampleFormat& format,
                   const std::function<void(std::span<const std::int16_t>)>& sink);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tr
