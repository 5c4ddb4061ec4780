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

// The most frequent line of the computer's log: a name and two strengths.
void BM_FormatStrengthLine(benchmark::State& state) {
  const std::u16string unit = u"Division 1234";
  const std::u16string city = u"City12_3";
  float strength = 0.37f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        tr::Format(u"Wroga %s Wezel %s. Dod.sile %5.2f. Silawezla=%5.2f", unit, city, strength, strength * 41.3f));
    strength += 0.01f;
  }
}
BENCHMARK(BM_FormatStrengthLine);

}  // namespace
