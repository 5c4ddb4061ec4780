// Movies through FFmpeg's libraries: libavformat reads the container,
// libavcodec decodes, libswscale converts pictures and libswresample sound.
#include "platform/movie_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/macros.h>
#include <libavutil/mem.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/texture.h"

namespace tr {
namespace {

// Our own log lines say what failed; the libraries' messages would only repeat it on stderr.
void QuietLibraries() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

// One stream of a file: its container handle and its decoder.
struct Stream {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  int index = -1;
  bool draining = false;

  ~Stream() {
    avcodec_free_context(&codec);
    avformat_close_input(&format);
  }

  // Opens the file for the best stream of the type; other streams are never read.
  bool Open(const std::filesystem::path& file, AVMediaType type, std::string* error) {
    AVDictionary* options = nullptr;
    // Plain files only: a name is never taken for a network or device address.
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const std::string url = "file:" + file.string();
    const int opened = avformat_open_input(&format, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) return Fail("not a movie file", error);
    if (avformat_find_stream_info(format, nullptr) < 0) return Fail("no stream information", error);
    const AVCodec* decoder = nullptr;
    index = av_find_best_stream(format, type, -1, -1, &decoder, 0);
    if (index < 0 || decoder == nullptr) return Fail("no stream a decoder here handles", error);
    for (unsigned i = 0; i < format->nb_streams; ++i) {
      format->streams[i]->discard = static_cast<int>(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    codec = avcodec_alloc_context3(decoder);
    if (codec == nullptr || avcodec_parameters_to_context(codec, format->streams[index]->codecpar) < 0) {
      return Fail("decoder", error);
    }
    // One thread: a frame is decoded when it is due, and nothing runs behind the caller's back.
    codec->thread_count = 1;
    if (avcodec_open2(codec, decoder, nullptr) < 0) return Fail("decoder refuses the stream", error);
    return true;
  }

  // The next decoded frame; packets of the stream are read as the decoder asks.
  MovieDecoder::Result Receive(AVFrame* frame, AVPacket* packet) {
    while (true) {
      int result = avcodec_receive_frame(codec, frame);
      if (result == 0) return MovieDecoder::Result::kFrame;
      if (result == AVERROR_EOF) return MovieDecoder::Result::kEnd;
      if (result != AVERROR(EAGAIN)) return MovieDecoder::Result::kError;
      if (draining) return MovieDecoder::Result::kEnd;
      result = av_read_frame(format, packet);
      if (result < 0) {
        // The end of the file, or a cut one: what the decoder holds still comes out.
        draining = true;
        avcodec_send_packet(codec, nullptr);
        continue;
      }
      // A packet the container reader found cut or damaged is not handed on.
      if (packet->stream_index != index || (packet->flags & AV_PKT_FLAG_CORRUPT) != 0) {
        av_packet_unref(packet);
        continue;
      }
      result = avcodec_send_packet(codec, packet);
      av_packet_unref(packet);
      if (result < 0 && result != AVERROR(EAGAIN)) return MovieDecoder::Result::kError;
    }
  }

  static bool Fail(const char* why, std::string* error) {
    if (error != nullptr) *error = why;
    return false;
  }
};

}  // namespace

struct MovieDecoder::State {
  Stream video;
  AVFrame* current = nullptr;
  AVFrame* ahead = nullptr;
  AVPacket* packet = nullptr;
  SwsContext* scaler = nullptr;
  // The scaler's destination: it writes whole blocks of pixels and rows, past
  // the width and height of a small picture, so it gets a padded, aligned
  // buffer of its own and the rows are copied into the texture from there.
  std::uint8_t* picture = nullptr;
  int picture_pitch = 0;
  int picture_rows = 0;
  double time_base = 0;
  double frame_duration = 1.0 / 25;
  std::int64_t first_timestamp = AV_NOPTS_VALUE;
  double ahead_seconds = 0;
  double last_seconds = -1;

  std::unique_ptr<Stream> sound;
  AVFrame* sound_frame = nullptr;
  SwrContext* resampler = nullptr;
  SampleFormat resampled_to{};
  std::int64_t samples_out = 0;
  bool sound_ended = false;
  std::vector<std::int16_t> sound_buffer;

  ~State() {
    swr_free(&resampler);
    av_frame_free(&sound_frame);
    sws_freeContext(scaler);
    av_freep(&picture);
    av_frame_free(&current);
    av_frame_free(&ahead);
    av_packet_free(&packet);
  }
};

MovieDecoder::MovieDecoder() = default;
MovieDecoder::~MovieDecoder() = default;

bool MovieDecoder::Open(const std::filesystem::path& file, std::string* error) {
  QuietLibraries();
  state_ = std::make_unique<State>();
  State& s = *state_;
  if (!s.video.Open(file, AVMEDIA_TYPE_VIDEO, error)) {
    state_.reset();
    return false;
  }
  const AVStream* stream = s.video.format->streams[s.video.index];
  s.time_base = av_q2d(stream->time_base);
  AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
  if (rate.num > 0 && rate.den > 0) s.frame_duration = std::clamp(av_q2d(av_inv_q(rate)), 0.001, 10.0);
  s.current = av_frame_alloc();
  s.ahead = av_frame_alloc();
  s.packet = av_packet_alloc();
  if (s.current == nullptr || s.ahead == nullptr || s.packet == nullptr) {
    if (error != nullptr) *error = "out of memory";
    state_.reset();
    return false;
  }
  // The sound track is optional: a file whose sound cannot be read plays silently.
  auto sound = std::make_unique<Stream>();
  if (sound->Open(file, AVMEDIA_TYPE_AUDIO, nullptr)) {
    s.sound = std::move(sound);
    s.sound_frame = av_frame_alloc();
    if (s.sound_frame == nullptr) s.sound.reset();
  }
  return true;
}

int MovieDecoder::width() const { return state_ ? state_->video.codec->width : 0; }
int MovieDecoder::height() const { return state_ ? state_->video.codec->height : 0; }
double MovieDecoder::frame_duration() const { return state_ ? state_->frame_duration : 0; }

MovieDecoder::Result MovieDecoder::Advance() {
  if (!state_) return Result::kError;
  State& s = *state_;
  av_frame_unref(s.ahead);
  const Result result = s.video.Receive(s.ahead, s.packet);
  if (result != Result::kFrame) return result;
  const std::int64_t stamp = s.ahead->best_effort_timestamp;
  if (stamp != AV_NOPTS_VALUE && s.first_timestamp == AV_NOPTS_VALUE) s.first_timestamp = stamp;
  double seconds = s.last_seconds + s.frame_duration;
  if (stamp != AV_NOPTS_VALUE) seconds = static_cast<double>(stamp - s.first_timestamp) * s.time_base;
  // Time never runs back, whatever the stamps say.
  if (s.last_seconds >= 0) seconds = std::max(seconds, s.last_seconds);
  s.ahead_seconds = std::max(seconds, 0.0);
  s.last_seconds = s.ahead_seconds;
  return Result::kFrame;
}

double MovieDecoder::ahead_seconds() const { return state_ ? state_->ahead_seconds : 0; }

void MovieDecoder::Take() {
  if (state_) std::swap(state_->current, state_->ahead);
}

bool MovieDecoder::ConvertCurrent(Texture& texture) {
  if (!state_) return false;
  State& s = *state_;
  const AVFrame* frame = s.current;
  if (frame->width <= 0 || frame->height <= 0 || texture.width() <= 0 || texture.height() <= 0) return false;
  s.scaler = sws_getCachedContext(s.scaler, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                  texture.width(), texture.height(), AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr,
                                  nullptr);
  if (s.scaler == nullptr) return false;
  const int width = texture.width();
  const int height = texture.height();
  const int rowBytes = width * 4;
  if (s.picture == nullptr || s.picture_pitch < rowBytes || s.picture_rows < height) {
    av_freep(&s.picture);
    constexpr int kBlock = 64;
    s.picture_pitch = FFALIGN(rowBytes, kBlock) + kBlock;
    s.picture_rows = FFALIGN(height, 16) + 16;
    s.picture = static_cast<std::uint8_t*>(
        av_mallocz(static_cast<std::size_t>(s.picture_pitch) * static_cast<std::size_t>(s.picture_rows)));
    if (s.picture == nullptr) return false;
  }
  std::uint8_t* target[4] = {s.picture, nullptr, nullptr, nullptr};
  const int pitch[4] = {s.picture_pitch, 0, 0, 0};
  const int rows = sws_scale(s.scaler, frame->data, frame->linesize, 0, frame->height, target, pitch);
  if (rows <= 0) return false;
  // BGRA bytes are ARGB words on a little-endian machine.
  const Texture::LockedRect locked = texture.Lock();
  auto* out = reinterpret_cast<std::uint8_t*>(locked.bits);
  for (int y = 0; y < height; ++y) {
    std::memcpy(out + static_cast<std::ptrdiff_t>(y) * locked.pitch,
                s.picture + static_cast<std::ptrdiff_t>(y) * s.picture_pitch, static_cast<std::size_t>(rowBytes));
  }
  texture.Unlock();
  return true;
}

bool MovieDecoder::has_sound() const { return state_ && state_->sound != nullptr; }

bool MovieDecoder::DecodeSound(double seconds, const SampleFormat& format,
                               const std::function<void(std::span<const std::int16_t>)>& sink) {
  if (!has_sound() || state_->sound_ended || format.rate <= 0 || format.channels <= 0) return false;
  State& s = *state_;
  while (static_cast<double>(s.samples_out) / format.rate < seconds) {
    av_frame_unref(s.sound_frame);
    if (s.sound->Receive(s.sound_frame, s.packet) != Result::kFrame) {
      s.sound_ended = true;
      return false;
    }
    AVFrame* in = s.sound_frame;
    if (s.resampler == nullptr || s.resampled_to.rate != format.rate || s.resampled_to.channels != format.channels) {
      swr_free(&s.resampler);
      AVChannelLayout out_layout;
      av_channel_layout_default(&out_layout, format.channels);
      const int made = swr_alloc_set_opts2(&s.resampler, &out_layout, AV_SAMPLE_FMT_S16, format.rate, &in->ch_layout,
                                           static_cast<AVSampleFormat>(in->format), in->sample_rate, 0, nullptr);
      av_channel_layout_uninit(&out_layout);
      if (made < 0 || swr_init(s.resampler) < 0) {
        s.sound_ended = true;
        return false;
      }
      s.resampled_to = format;
    }
    const int room = swr_get_out_samples(s.resampler, in->nb_samples);
    if (room <= 0) continue;
    s.sound_buffer.resize(static_cast<std::size_t>(room) * format.channels);
    std::uint8_t* out[1] = {reinterpret_cast<std::uint8_t*>(s.sound_buffer.data())};
    const int converted = swr_convert(s.resampler, out, room, const_cast<const std::uint8_t**>(in->extended_data),
                                      in->nb_samples);
    if (converted < 0) {
      s.sound_ended = true;
      return false;
    }
    s.samples_out += converted;
    sink(std::span<const std::int16_t>(s.sound_buffer.data(), static_cast<std::size_t>(converted) * format.channels));
  }
  return true;
}

}  // namespace tr
