// Writes a movie file: MPEG-4 video from ARGB pictures in an AVI container
// (or Sorenson H.263 in a Flash video one, for tests of other containers),
// with an optional mono sound track of 16-bit samples. Used by the build tool
// that makes the game's movies and by the tests and benchmarks that need one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

namespace tr::movie {

struct MovieParams {
  int width = 0;   // even
  int height = 0;  // even
  int fps = 25;
  // Samples per second of the mono sound track; 0 for none.
  int sample_rate = 0;
  // The encoder's quantiser, 2 (best) to 31.
  int quality = 3;
  // Flash video instead of AVI.
  bool flash = false;
};

class MovieWriter {
 public:
  MovieWriter();
  ~MovieWriter();
  MovieWriter(const MovieWriter&) = delete;
  MovieWriter& operator=(const MovieWriter&) = delete;

  // False with the reason in *error.
  bool Open(const std::filesystem::path& file, const MovieParams& params, std::string* error);
  // One frame of width x height ARGB pixels, pitch in pixels.
  bool AddFrame(const std::uint32_t* argb, int pitch, std::string* error);
  // Samples of the sound track, written in step with the frames.
  bool AddSamples(std::span<const std::int16_t> samples, std::string* error);
  // Flushes the encoders and closes the file.
  bool Finish(std::string* error);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tr::movie
