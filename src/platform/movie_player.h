// The movie player of the intro and the credits: open a file, run it
// stretched to the window, ask whether it still runs, stop it. No video
// decoder is built in, so opening logs why it fails and the callers skip the
// movie and go on.
#pragma once

#include <string>
#include <string_view>

namespace tr {

class cMoviePlayer {
 public:
  cMoviePlayer() = default;
  cMoviePlayer(const cMoviePlayer&) = delete;
  cMoviePlayer& operator=(const cMoviePlayer&) = delete;

  // The file is a game path ("data\intro.avi").
  bool Open(std::u16string_view file);
  // Runs the movie; the argument is not used.
  void Play(int milliseconds);
  void Stop();
  bool IsPlaying();

 private:
  bool opened_ = false;
  bool running_ = false;
};

}  // namespace tr
