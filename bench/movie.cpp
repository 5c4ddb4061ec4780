// Decoding and converting one frame of a shipped 1024x768 movie, as the movie
// player does for each frame it shows: it must leave room for 25 frames per
// second on one core.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "platform/movie_decoder.h"
#include "platform/texture.h"

namespace {

void BM_DecodeAndConvertFrame(benchmark::State& state) {
  const std::filesystem::path file = std::filesystem::path(TR_GAME_DIR) / "data" / "intro2.avi";
  auto decoder = std::make_unique<tr::MovieDecoder>();
  std::string error;
  if (!decoder->Open(file, &error)) {
    state.SkipWithError(("cannot open " + file.string() + ": " + error).c_str());
    return;
  }
  auto texture = tr::Texture::CreateEmpty(decoder->width(), decoder->height());
  for (auto _ : state) {
    if (decoder->Advance() != tr::MovieDecoder::Result::kFrame) {
      state.PauseTiming();
      decoder = std::make_unique<tr::MovieDecoder>();
      decoder->Open(file, &error);
      state.ResumeTiming();
      decoder->Advance();
    }
    decoder->Take();
    benchmark::DoNotOptimize(decoder->ConvertCurrent(*texture));
  }
  state.counters["width"] = decoder->width();
  state.counters["height"] = decoder->height();
}
BENCHMARK(BM_DecodeAndConvertFrame)->Unit(benchmark::kMillisecond);

}  // namespace
