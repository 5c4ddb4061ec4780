#include "movie_encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <vector>

namespace tr::movie {

struct MovieWriter::State {
  MovieParams params;
  AVFormatContext* format = nullptr;
  AVCodecContext* video = nullptr;
  AVCodecContext* audio = nullptr;
  AVStream* video_stream = nullptr;
  AVStream* audio_stream = nullptr;
  AVFrame* picture = nullptr;
  AVFrame* sound = nullptr;
  AVPacket* packet = nullptr;
  SwsContext* scaler = nullptr;
  std::int64_t frames = 0;
  std::int64_t samples = 0;
  bool header_written = false;
  bool finished = false;

  ~State() {
    if (format != nullptr && header_written && !finished) av_write_trailer(format);
    sws_freeContext(scaler);
    av_packet_free(&packet);
    av_frame_free(&picture);
    av_frame_free(&sound);
    avcodec_free_context(&video);
    avcodec_free_context(&audio);
    if (format != nullptr) {
      if (format->pb != nullptr) avio_closep(&format->pb);
      avformat_free_context(format);
    }
  }
};

namespace {

bool Fail(int code, const char* what, std::string* error) {
  if (error != nullptr) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    *error = std::string(what) + ": " + text;
  }
  return false;
}

// Sends one frame (null flushes) and writes every packet the encoder gives back.
bool Encode(AVFormatContext* format, AVCodecContext* codec, AVStream* stream, AVFrame* frame, AVPacket* packet,
            std::string* error) {
  int result = avcodec_send_frame(codec, frame);
  if (result < 0) return Fail(result, "encoding", error);
  while (true) {
    result = avcodec_receive_packet(codec, packet);
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
    if (result < 0) return Fail(result, "encoding", error);
    av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
    packet->stream_index = stream->index;
    result = av_interleaved_write_frame(format, packet);
    if (result < 0) return Fail(result, "writing", error);
  }
}

}  // namespace

MovieWriter::MovieWriter() = default;
MovieWriter::~MovieWriter() = default;

bool MovieWriter::Open(const std::filesystem::path& file, const MovieParams& params, std::string* error) {
  state_ = std::make_unique<State>();
  State& s = *state_;
  s.params = params;
  if (params.width <= 0 || params.height <= 0 || params.width % 2 != 0 || params.height % 2 != 0 || params.fps <= 0) {
    if (error != nullptr) *error = "the size must be even and the frame rate positive";
    return false;
  }
  int result =
      avformat_alloc_output_context2(&s.format, nullptr, params.flash ? "flv" : "avi", file.string().c_str());
  if (result < 0) return Fail(result, "container", error);

  const AVCodec* video_codec = avcodec_find_encoder(params.flash ? AV_CODEC_ID_FLV1 : AV_CODEC_ID_MPEG4);
  if (video_codec == nullptr) return Fail(AVERROR_ENCODER_NOT_FOUND, "video encoder", error);
  s.video_stream = avformat_new_stream(s.format, nullptr);
  s.video = avcodec_alloc_context3(video_codec);
  if (s.video_stream == nullptr || s.video == nullptr) return Fail(AVERROR(ENOMEM), "video stream", error);
  s.video->width = params.width;
  s.video->height = params.height;
  s.video->time_base = AVRational{1, params.fps};
  s.video->framerate = AVRational{params.fps, 1};
  s.video->pix_fmt = AV_PIX_FMT_YUV420P;
  // A key frame every second, so a cut file still plays up to its cut.
  s.video->gop_size = params.fps;
  s.video->max_b_frames = 0;
  s.video->thread_count = 1;
  s.video->flags |= AV_CODEC_FLAG_QSCALE;
  s.video->global_quality = FF_QP2LAMBDA * std::clamp(params.quality, 2, 31);
  if (s.format->oformat->flags & AVFMT_GLOBALHEADER) s.video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if ((result = avcodec_open2(s.video, video_codec, nullptr)) < 0) return Fail(result, "video encoder", error);
  if ((result = avcodec_parameters_from_context(s.video_stream->codecpar, s.video)) < 0) {
    return Fail(result, "video stream", error);
  }
  s.video_stream->time_base = s.video->time_base;
  s.video_stream->avg_frame_rate = s.video->framerate;

  if (params.sample_rate > 0) {
    const AVCodec* audio_codec = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
    if (audio_codec == nullptr) return Fail(AVERROR_ENCODER_NOT_FOUND, "PCM encoder", error);
    s.audio_stream = avformat_new_stream(s.format, nullptr);
    s.audio = avcodec_alloc_context3(audio_codec);
    if (s.audio_stream == nullptr || s.audio == nullptr) return Fail(AVERROR(ENOMEM), "sound stream", error);
    s.audio->sample_fmt = AV_SAMPLE_FMT_S16;
    s.audio->sample_rate = params.sample_rate;
    av_channel_layout_default(&s.audio->ch_layout, 1);
    s.audio->time_base = AVRational{1, params.sample_rate};
    if ((result = avcodec_open2(s.audio, audio_codec, nullptr)) < 0) return Fail(result, "sound encoder", error);
    if ((result = avcodec_parameters_from_context(s.audio_stream->codecpar, s.audio)) < 0) {
      return Fail(result, "sound stream", error);
    }
    s.audio_stream->time_base = s.audio->time_base;
    s.sound = av_frame_alloc();
    if (s.sound == nullptr) return Fail(AVERROR(ENOMEM), "sound frame", error);
  }

  s.picture = av_frame_alloc();
  s.packet = av_packet_alloc();
  if (s.picture == nullptr || s.packet == nullptr) return Fail(AVERROR(ENOMEM), "frame", error);
  s.picture->format = AV_PIX_FMT_YUV420P;
  s.picture->width = params.width;
  s.picture->height = params.height;
  if ((result = av_frame_get_buffer(s.picture, 0)) < 0) return Fail(result, "frame", error);
  s.scaler = sws_getContext(params.width, params.height, AV_PIX_FMT_BGRA, params.width, params.height, AV_PIX_FMT_YUV420P,
                            SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (s.scaler == nullptr) return Fail(AVERROR(EINVAL), "colour conversion", error);

  if ((result = avio_open(&s.format->pb, file.string().c_str(), AVIO_FLAG_WRITE)) < 0) {
    return Fail(result, "opening the file", error);
  }
  if ((result = avformat_write_header(s.format, nullptr)) < 0) return Fail(result, "writing the header", error);
  s.header_written = true;
  return true;
}

bool MovieWriter::AddFrame(const std::uint32_t* argb, int pitch, std::string* error) {
  State& s = *state_;
  int result = av_frame_make_writable(s.picture);
  if (result < 0) return Fail(result, "frame", error);
  // ARGB words are B, G, R, A bytes on a little-endian machine.
  const std::uint8_t* source[1] = {reinterpret_cast<const std::uint8_t*>(argb)};
  const int source_pitch[1] = {pitch * 4};
  sws_scale(s.scaler, source, source_pitch, 0, s.params.height, s.picture->data, s.picture->linesize);
  s.picture->pts = s.frames++;
  s.picture->quality = s.video->global_quality;
  return Encode(s.format, s.video, s.video_stream, s.picture, s.packet, error);
}

bool MovieWriter::AddSamples(std::span<const std::int16_t> samples, std::string* error) {
  State& s = *state_;
  if (s.audio == nullptr || samples.empty()) return true;
  av_frame_unref(s.sound);
  s.sound->format = AV_SAMPLE_FMT_S16;
  s.sound->sample_rate = s.params.sample_rate;
  av_channel_layout_default(&s.sound->ch_layout, 1);
  s.sound->nb_samples = static_cast<int>(samples.size());
  int result = av_frame_get_buffer(s.sound, 0);
  if (result < 0) return Fail(result, "sound frame", error);
  std::copy(samples.begin(), samples.end(), reinterpret_cast<std::int16_t*>(s.sound->data[0]));
  s.sound->pts = s.samples;
  s.samples += static_cast<std::int64_t>(samples.size());
  return Encode(s.format, s.audio, s.audio_stream, s.sound, s.packet, error);
}

bool MovieWriter::Finish(std::string* error) {
  State& s = *state_;
  if (!Encode(s.format, s.video, s.video_stream, nullptr, s.packet, error)) return false;
  if (s.audio != nullptr && !Encode(s.format, s.audio, s.audio_stream, nullptr, s.packet, error)) return false;
  const int result = av_write_trailer(s.format);
  s.finished = true;
  if (result < 0) return Fail(result, "finishing the file", error);
  state_.reset();
  return true;
}

}  // namespace tr::movie
