// The movie player of the intro and the credits: open a file, run it
// stretched to the window, ask whether it still runs, stop it. The callers
// block the frame while a movie runs and poll IsPlaying, so each poll waits
// for the next frame on the frame's clock (never longer than one frame),
// decodes it and presents it; the sound track, when there is one and an
// audio device is given, streams to that device. A file that cannot be opened
// or decoded is logged and reported finished.
// Main thread only.
#pragma once

#include <memory>
#include <string_view>

namespace tr {

class AudioDevice;

class cMoviePlayer {
 public:
  // Without an audio device the movie plays silently.
  explicit cMoviePlayer(AudioDevice* audio = nullptr);
  ~cMoviePlayer();
  cMoviePlayer(const cMoviePlayer&) = delete;
  cMoviePlayer& operator=(const cMoviePlayer&) = delete;

  // The file is a game path ("data\intro.avi").
  bool Open(std::u16string_view file);
  // Starts the movie's clock; the argument is not used.
  void Play(int milliseconds);
  void Stop();
  // False once the last frame has had its time, after Stop, or after a failure.
  bool IsPlaying();

 private:
  struct State;
  std::unique_ptr<State> state_;
  AudioDevice* audio_ = nullptr;
};

}  // namespace tr
