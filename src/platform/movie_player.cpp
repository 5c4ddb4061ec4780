#include "platform/movie_player.h"

#include <fstream>

#include "foundation/console_log.h"
#include "foundation/paths.h"

namespace tr {

bool cMoviePlayer::Open(std::u16string_view file) {
  opened_ = false;
  running_ = false;
  // Whether the file is missing or holds video nothing here can decode, the movie cannot be shown.
  LogFormat(u"-----Could not open video file: %ls", std::u16string(file));
  return false;
}

void cMoviePlayer::Play(int /*milliseconds*/) {
  if (opened_) running_ = true;
}

void cMoviePlayer::Stop() { running_ = false; }

bool cMoviePlayer::IsPlaying() { return opened_ && running_; }

}  // namespace tr
