#include "app/prevmenu.h"

#include "app/input_routing.h"
#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "platform/codes.h"
#include "platform/input.h"
#include "platform/movie_player.h"

namespace tr {
namespace {

struct sIntroMovie {
  const char16_t* file;
  const char16_t* okLine;
  const char16_t* failedLine;
};

constexpr sIntroMovie kIntroMovies[] = {
    {u"data\\intro.avi", u"Loading intro movie from dataintro.avi [OK]",
     u"Loading intro movie from dataintro.avi [FAILED]"},
    {u"data\\intro2.avi", u"Loading intro movie from dataintro2.avi [OK]",
     u"Loading intro movie from dataintro2.avi [FAILED]"},
    {u"data\\intro3.avi", u"Loading intro movie from dataintro3.avi [OK]",
     u"Loading intro movie from dataintro3.avi [FAILED]"},
};

void PlayMovie(const sIntroMovie& movie) {
  cMoviePlayer player;
  if (!player.Open(movie.file)) {
    LogLine(movie.failedLine);
    return;
  }
  LogLine(movie.okLine);
  player.Play(10000);
  do {
    SleepLogged(5, "prevmenu.cpp", __LINE__);
    if (GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_ESCAPE) < 0) player.Stop();
  } while (player.IsPlaying());
}

}  // namespace

void PlayIntro() {
  LogLine(u"");
  for (const sIntroMovie& movie : kIntroMovies) PlayMovie(movie);
  // The logos and the main menu come with the menus; until then the frame
  // shows the empty screen under the menu callback set.
  InstallMenuCallbackSet();
}

}  // namespace tr
