// The game's movies as text (data/movies/movies.txt): each movie is a still
// background painted once with the menu painter, an optional layer painted
// the same way (or holding the lines of a credits text) that moves across it,
// fades from and to black, and an optional tone for a sound track. Frames are
// composed from these parts, so a movie costs a copy and a blend per frame.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "menu_painter.h"

namespace tr::movie {

struct MovieScript {
  std::string file;
  int width = 0;
  int height = 0;
  int fps = 25;
  double seconds = 0;
  std::vector<std::vector<std::string>> background;
  // The moving layer: its size, painting lines, and its top-left corner at the start and the end.
  int layer_width = 0;
  int layer_height = 0;
  std::vector<std::vector<std::string>> layer;
  menuart::Point from, to;
  double fade_in = 0;
  double fade_out = 0;
  double tone_hz = 0;
  double tone_level = 0;  // 0-1
  int sample_rate = 0;
  int frames() const { return static_cast<int>(seconds * fps + 0.5); }
};

// Every movie of the source; false with "source:line: reason" in *error.
bool ReadMovieScripts(const std::filesystem::path& source, std::vector<MovieScript>* movies, std::string* error);

// Paints the frames of one movie; files a credits layer names are read beside the source.
class MovieFrames {
 public:
  bool Prepare(const MovieScript& script, const std::filesystem::path& source_folder, std::string* error);
  // The pixels of frame i (width x height ARGB), valid until the next call.
  const std::vector<std::uint32_t>& Frame(int i);
  // The sound track's samples that go with frame i.
  std::vector<std::int16_t> Samples(int i) const;

 private:
  MovieScript script_;
  std::unique_ptr<menuart::Canvas> background_;
  std::unique_ptr<menuart::Canvas> layer_;
  std::vector<std::uint32_t> frame_;
};

// Paints and encodes one movie into the folder.
bool WriteScriptedMovie(const MovieScript& script, const std::filesystem::path& source_folder,
                        const std::filesystem::path& folder, std::string* error);

}  // namespace tr::movie
