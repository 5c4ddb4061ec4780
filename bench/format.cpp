#include <benchmark/benchmark.h>

#include "foundation/format.h"

namespace {

void BM_FormatReportLine(benchmark::State& state) {
  const std::u16string name = u"\u0141\u00f3d\u017a";
  for (auto _ : state) {
    benchmark::DoNotOptimize(tr::Format(u"%s has %i PP (%.1f%%) at (%3i, %3i)", name, 12, 3.26, 14, 27));
  }
}
BENCHMARK(BM_FormatReportLine);

}  // namespace
