#include "ogg_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
}

#include <algorithm>
#include <memory>

namespace tr::sound {
namespace {

struct Encoder {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  AVStream* stream = nullptr;

  ~Encoder() {
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&codec);
    if (format != nullptr) {
      if (format->pb != nullptr) avio_closep(&format->pb);
      avformat_free_context(format);
    }
  }
};

bool Fail(int code, const char* what, std::string* error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  *error = std::string(what) + ": " + text;
  return false;
}

// Sends one frame (null flushes) and writes every packet the encoder gives back.
bool Encode(Encoder& e, AVFrame* frame, std::string* error) {
  int result = avcodec_send_frame(e.codec, frame);
  if (result < 0) return Fail(result, "encoding", error);
  while (true) {
    result = avcodec_receive_packet(e.codec, e.packet);
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
    if (result < 0) return Fail(result, "encoding", error);
    av_packet_rescale_ts(e.packet, e.codec->time_base, e.stream->time_base);
    e.packet->stream_index = e.stream->index;
    result = av_interleaved_write_frame(e.format, e.packet);
    if (result < 0) return Fail(result, "writing", error);
  }
}

}  // namespace

bool WriteOggVorbis(const std::filesystem::path& file, std::span<const float> samples, int rate, std::string* error) {
  Encoder e;
  int result = avformat_alloc_output_context2(&e.format, nullptr, "ogg", file.string().c_str());
  if (result < 0) return Fail(result, "container", error);
  // Stream serial numbers and the encoder's name stay out of the file, so a build writes the same bytes.
  e.format->flags |= AVFMT_FLAG_BITEXACT;
  const AVCodec* vorbis = avcodec_find_encoder_by_name("libvorbis");
  const bool native = vorbis == nullptr;
  if (native) vorbis = avcodec_find_encoder(AV_CODEC_ID_VORBIS);
  if (vorbis == nullptr) return Fail(AVERROR_ENCODER_NOT_FOUND, "Vorbis encoder", error);
  e.stream = avformat_new_stream(e.format, nullptr);
  e.codec = avcodec_alloc_context3(vorbis);
  if (e.stream == nullptr || e.codec == nullptr) return Fail(AVERROR(ENOMEM), "sound stream", error);
  e.codec->sample_fmt = AV_SAMPLE_FMT_FLTP;
  e.codec->sample_rate = rate;
  av_channel_layout_default(&e.codec->ch_layout, 1);
  e.codec->time_base = AVRational{1, rate};
  e.codec->flags |= AV_CODEC_FLAG_QSCALE | AV_CODEC_FLAG_BITEXACT;
  e.codec->global_quality = 4 * FF_QP2LAMBDA;
  if (native) e.codec->strict_std_compliance = FF_COMPLIANCE_EXPERIMENTAL;
  if (e.format->oformat->flags & AVFMT_GLOBALHEADER) e.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if ((result = avcodec_open2(e.codec, vorbis, nullptr)) < 0) return Fail(result, "Vorbis encoder", error);
  if ((result = avcodec_parameters_from_context(e.stream->codecpar, e.codec)) < 0) {
    return Fail(result, "sound stream", error);
  }
  e.stream->time_base = e.codec->time_base;
  e.frame = av_frame_alloc();
  e.packet = av_packet_alloc();
  if (e.frame == nullptr || e.packet == nullptr) return Fail(AVERROR(ENOMEM), "frame", error);
  if ((result = avio_open(&e.format->pb, file.string().c_str(), AVIO_FLAG_WRITE)) < 0) {
    return Fail(result, "opening the file", error);
  }
  if ((result = avformat_write_header(e.format, nullptr)) < 0) return Fail(result, "writing the header", error);

  const std::size_t step = e.codec->frame_size > 0 ? static_cast<std::size_t>(e.codec->frame_size) : 1024;
  for (std::size_t at = 0; at < samples.size(); at += step) {
    const std::size_t n = std::min(step, samples.size() - at);
    av_frame_unref(e.frame);
    e.frame->format = AV_SAMPLE_FMT_FLTP;
    e.frame->sample_rate = rate;
    av_channel_layout_default(&e.frame->ch_layout, 1);
    e.frame->nb_samples = static_cast<int>(n);
    if ((result = av_frame_get_buffer(e.frame, 0)) < 0) return Fail(result, "sound frame", error);
    std::copy_n(samples.begin() + static_cast<std::ptrdiff_t>(at), n, reinterpret_cast<float*>(e.frame->data[0]));
    e.frame->pts = static_cast<std::int64_t>(at);
    if (!Encode(e, e.frame, error)) return false;
  }
  if (!Encode(e, nullptr, error)) return false;
  if ((result = av_write_trailer(e.format)) < 0) return Fail(result, "finishing the file", error);
  return true;
}

}  // namespace tr::sound
