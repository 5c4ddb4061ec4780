#include "app/prevmenu.h"

#include "app/device_objects.h"
#include "app/mainmenu.h"
#include "app/menu_wallpaper.h"
#include "app/sound.h"
#include "foundation/console_log.h"
#include "foundation/game_lock.h"
#include "foundation/gui_layout.h"
#include "foundation/settings.h"
#include "gui/hint_box.h"
#include "gui/resource_cache.h"
#include "gui/texture_holder.h"
#include "platform/codes.h"
#include "platform/frame.h"
#include "platform/frame_clock.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/movie_player.h"
#include "platform/sprite_batch.h"

namespace tr {
namespace {

constexpr std::uint32_t kLogoMs = 8000;
constexpr std::uint32_t kSkipMs = 10000;

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

sIntroState& State() {
  static sIntroState state;
  return state;
}

// The logos borrow the records that later hold the cursor and the console.
TextureHolder& FirstLogo() { return GlobalTextureRecord(kTextureCursor); }
TextureHolder& SecondLogo() { return GlobalTextureRecord(kTextureConsole); }

void LoadRecord(TextureHolder& record, const char16_t* gamePath) {
  record.Release();
  record.Load(std::filesystem::path(std::u16string(gamePath)), TextureHolder::kModeFile, 1);
}

void PlayMovie(const sIntroMovie& movie) {
  cMoviePlayer player(GetAudioDevice());
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

void StartSecondLogo(sIntroState& state) {
  state.stageStart = TimerMs();
  state.stage = 2;
  StopSoundSlot(kSoundIntroLogo);
  PlaySoundSlot(kSoundIntroGameLogo);
}

// The pictures every later screen needs, then the main menu.
void FinishIntro(sIntroState& state) {
  state.stageStart = 0;
  state.now = 0;
  state.stage = 0;
  FirstLogo().Release();
  SecondLogo().Release();
  LoadRecord(GlobalTextureRecord(kTextureCursor), u"data\\gfx\\cur.png");
  GetHintBox().Init(20, 20, 16, 40, static_cast<int>(gDelays[kDelayControlHint]), {});
  LoadRecord(GlobalTextureRecord(kTextureConsole), u"data\\gfx\\console.png");
  LoadMenuPicture(kPlaceholderFlag, u"data\\gfx\\Flags\\unknown.png");
  LoadRecord(GlobalTextureRecord(kTextureGuiSkin), u"data\\gfx\\GUI.png");
  if (AppFrame* frame = CurrentFrame()) frame->SetFrameMoveCallback({});
  CurrentMenu = new cMainMenu();
}

}  // namespace

const sIntroState& IntroState() { return State(); }

std::uint32_t IntroLogoColour(std::uint32_t elapsedMs, std::uint32_t previous) {
  std::uint32_t colour = previous;
  if (elapsedMs / 10 < 255) colour = (elapsedMs / 10) * 0x10101u - 0x1000000u;
  if (elapsedMs > 5000 && (elapsedMs - 5000) / 10 < 255) colour = 0xFFFFFFFFu - ((elapsedMs - 5000) / 10) * 0x10101u;
  return colour;
}

void PlayIntro() {
  if (AppFrame* frame = CurrentFrame()) {
    frame->SetMouseCallback(&IntroMouse, false);
    frame->SetKeyboardCallback(&IntroKeyboard);
    frame->SetFrameRenderCallback(&IntroRender);
    frame->SetFrameMoveCallback(&IntroFrameMove);
  }
  LogLine(u"");
  for (const sIntroMovie& movie : kIntroMovies) PlayMovie(movie);
  LoadRecord(FirstLogo(), u"data\\gfx\\logof.png");
  LoadRecord(SecondLogo(), u"data\\gfx\\logog.png");
  State() = sIntroState{};
}

void IntroFrameMove(Graphics&, double, float) {
  sIntroState& state = State();
  if (state.stage == 0) {
    state.stageStart = TimerMs();
    state.stage = 1;
    StopSoundSlot(kSoundIntroLogo);
    PlaySoundSlot(kSoundIntroLogo);
  }
  state.now = TimerMs();
  // Unsigned differences: a skip that moved the start past now reads as a long wait.
  if (state.stage == 1 && state.now - state.stageStart > kLogoMs) {
    StartSecondLogo(state);
  }
  if (state.stage == 2 && state.now - state.stageStart > kLogoMs) {
    state.stage = 3;
    StopSoundSlot(kSoundIntroLogo);
  }
  state.logoColour = IntroLogoColour(state.now - state.stageStart, state.logoColour);
  if (state.stage == 3) FinishIntro(state);
}

void IntroRender(Graphics& device, double, float) {
  device.Clear(0xFF000000u);
  const sIntroState& state = State();
  if (state.stage != 1 && state.stage != 2) return;
  SpriteBatch* sprite = GetGuiResourceCache().sprite();
  if (sprite == nullptr) return;
  const Texture* logo = (state.stage == 1 ? FirstLogo() : SecondLogo()).GetTexture();
  const sGuiLayoutEntry& at = sGuiLayoutTable[0];
  sprite->Begin(0);
  sprite->Draw(logo, nullptr, PointF{static_cast<float>(at.x), static_cast<float>(at.y)}, 0.0f, state.logoColour);
  sprite->End();
}

void IntroKeyboard(std::uint32_t, bool down, bool) {
  if (down) AdvanceIntroStage();
}

void IntroMouse(bool left, bool, bool, bool, bool, int, int, int) {
  if (left) AdvanceIntroStage();
}

void AdvanceIntroStage() {
  sIntroState& state = State();
  if (state.stage == 1) {
    StartSecondLogo(state);
  } else if (state.stage == 2) {
    state.stage = 3;
    StopSoundSlot(kSoundIntroLogo);
  }
  state.stageStart += kSkipMs;
}

}  // namespace tr
