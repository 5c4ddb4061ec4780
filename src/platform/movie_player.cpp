#include "platform/movie_player.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/paths.h"
#include "platform/audio.h"
#include "platform/frame.h"
#include "platform/graphics.h"
#include "platform/movie_decoder.h"
#include "platform/sprite_batch.h"
#include "platform/texture.h"

namespace tr {
namespace {

// A poll waits for the next frame at most this long, so the callers' skip keys stay quick.
constexpr double kLongestWait = 0.04;
// Frame times and the clock are compared with this much slack (float seconds).
constexpr double kSlack = 1e-6;
// The sound track is decoded this far ahead of the picture.
constexpr double kSoundAhead = 0.3;
// Used when no renderer says how large a texture may be.
constexpr int kLargestSide = 16384;

}  // namespace

struct cMoviePlayer::State {
  MovieDecoder decoder;
  std::unique_ptr<Texture> texture;
  std::unique_ptr<SampleStream> sound;
  SampleFormat sound_format;
  SteadyClock own_clock;
  Clock* clock = &own_clock;
  double start = 0;
  bool running = false;
  // A frame is decoded and waits for its time.
  bool ahead = false;
  bool video_ended = false;
  bool failed = false;
  bool shown_any = false;
  double end_seconds = 0;

  double Elapsed() const { return clock->NowSeconds() - start; }

  // Decodes the next frame into the slot ahead; notes the end or a failure.
  void Fetch() {
    switch (decoder.Advance()) {
      case MovieDecoder::Result::kFrame: ahead = true; break;
      case MovieDecoder::Result::kEnd: video_ended = true; break;
      case MovieDecoder::Result::kError: failed = true; break;
    }
  }

  // The frame ahead goes on screen, after every frame that is already overdue
  // has been passed over; the one after it is decoded in its place.
  void ShowDue(double elapsed) {
    while (true) {
      decoder.Take();
      ahead = false;
      end_seconds = decoder.ahead_seconds() + decoder.frame_duration();
      Fetch();
      if (!ahead || decoder.ahead_seconds() > elapsed + kSlack) break;
    }
    if (!decoder.ConvertCurrent(*texture)) {
      failed = true;
      return;
    }
    shown_any = true;
    Draw();
  }

  // The frame stretched over the whole client area, presented at once: the
  // main loop is not running while a movie plays.
  void Draw() {
    AppFrame* frame = CurrentFrame();
    if (frame == nullptr) return;
    Graphics& graphics = frame->graphics();
    if (graphics.width() <= 0 || graphics.height() <= 0) return;
    graphics.Clear(0xFF000000u);
    SpriteBatch sprite(graphics);
    sprite.SetTransform(Matrix2D::Scaling(static_cast<float>(graphics.width()) / texture->width(),
                                          static_cast<float>(graphics.height()) / texture->height()));
    const Rect source{0, 0, texture->width(), texture->height()};
    sprite.Begin(0);
    sprite.Draw(texture.get(), &source, PointF{0, 0}, 0.0f, 0xFFFFFFFFu);
    sprite.End();
    graphics.Present();
  }

  void FeedSound(double elapsed) {
    if (!sound) return;
    const bool more = decoder.DecodeSound(elapsed + kSoundAhead, sound_format,
                                          [this](std::span<const std::int16_t> samples) { sound->Queue(samples); });
    (void)more;
  }

  void Fail() {
    if (running) LogLine(u"-----Error when trying to play video");
    running = false;
    sound.reset();
  }
};

cMoviePlayer::cMoviePlayer(AudioDevice* audio) : audio_(audio) {}

cMoviePlayer::~cMoviePlayer() = default;

bool cMoviePlayer::Open(std::u16string_view file) {
  state_.reset();
  const std::filesystem::path path = ResolveGamePath(file);
  // The decoder is given the file opened under the game's rule, through the
  // name of its descriptor: never a link out of the game folder, a pipe or a device.
  const cGameFile opened_file = OpenGameFile(path, kMovieFileBudget);
  if (!opened_file.is_open()) {
    LogFormat(u"-----Could not open video file: %ls", std::u16string(file));
    return false;
  }
  const std::filesystem::path opened_path = "/proc/self/fd/" + std::to_string(opened_file.descriptor());

  auto state = std::make_unique<State>();
  std::string why;
  int largest = kLargestSide;
  if (AppFrame* frame = CurrentFrame()) {
    state->clock = &frame->clock();
    if (frame->graphics().max_texture_size() > 0) largest = frame->graphics().max_texture_size();
  }
  // A picture no texture can hold is refused here rather than drawn wrong later.
  const bool opened = state->decoder.Open(opened_path, &why);
  if (!opened || state->decoder.width() <= 0 || state->decoder.height() <= 0 || state->decoder.width() > largest ||
      state->decoder.height() > largest) {
    LogFormat(u"-----Could not open video file: %ls", std::u16string(file));
    return false;
  }
  state->texture = Texture::CreateEmpty(state->decoder.width(), state->decoder.height(), 0xFF000000u);
  state->texture->set_label(path.filename().string());
  state_ = std::move(state);
  return true;
}

void cMoviePlayer::Play(int /*milliseconds*/) {
  if (!state_ || state_->failed) return;
  State& s = *state_;
  if (s.running) return;
  s.running = true;
  if (!s.ahead && !s.video_ended) s.Fetch();
  // A movie without a single frame cannot be started.
  if (s.failed || (!s.ahead && !s.shown_any)) {
    s.Fail();
    s.failed = true;
    return;
  }
  if (audio_ != nullptr && s.decoder.has_sound()) {
    s.sound_format = audio_->sample_format();
    s.sound = audio_->OpenSampleStream();
  }
  s.start = s.clock->NowSeconds() - (s.ahead ? s.decoder.ahead_seconds() : s.end_seconds);
  s.FeedSound(s.Elapsed());
}

void cMoviePlayer::Stop() {
  if (!state_) return;
  state_->running = false;
  state_->sound.reset();
}

bool cMoviePlayer::IsPlaying() {
  if (!state_ || !state_->running) return false;
  State& s = *state_;
  if (s.failed) {
    s.Fail();
    return false;
  }
  // What comes next: the frame ahead, or the end of the last frame's time.
  double due = s.ahead ? s.decoder.ahead_seconds() : s.end_seconds;
  double elapsed = s.Elapsed();
  if (elapsed + kSlack < due) {
    s.clock->SleepFor(std::min(due - elapsed, kLongestWait));
    elapsed = s.Elapsed();
  }
  s.FeedSound(elapsed);
  if (elapsed + kSlack < due) return true;
  if (!s.ahead) {
    s.running = false;
    s.sound.reset();
    return false;
  }
  s.ShowDue(elapsed);
  if (s.failed && !s.shown_any) {
    s.Fail();
    return false;
  }
  return true;
}

}  // namespace tr
