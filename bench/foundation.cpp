// Costs of the foundation services every subsystem leans on: cutting a large
// data table into records, looking texts up, and a release through the memory
// tracker behind the global operators.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "foundation/csv_reader.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "scratch_folder.h"

namespace {

// A table of about 300 KB, the size of the largest scenario tables, in a
// folder the game reads from: files outside the game folder are not read.
std::filesystem::path WriteTable(const std::filesystem::path& folder) {
  tr::SetGameRoot(folder);
  const auto path = folder / "table.csv";
  std::ofstream out(path, std::ios::binary);
  out << "#ID;Name;X;Y;Type;Value\r\n";
  for (int i = 0; i < 6000; ++i) out << i << ";Unit name " << i << ";" << i % 97 << ";" << i % 53 << ";3;1.25\r\n";
  return path;
}

void BM_CsvReadTable(benchmark::State& state) {
  const tr::bench::ScratchFolder folder("table");
  const auto path = WriteTable(folder.path());
  const std::u16string name = tr::Utf8ToUtf16(path.string());
  for (auto _ : state) {
    tr::cCsvReader reader(name);
    std::size_t fields = 0;
    while (!reader.AtEnd()) fields += reader.ReadRecord();
    // A table that was not read would time nothing.
    if (!reader.IsLoaded() || fields < 6000 * 6) {
      state.SkipWithError("the table was not read whole");
      break;
    }
    benchmark::DoNotOptimize(fields);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::filesystem::file_size(path)));
  tr::SetGameRoot({});
}
BENCHMARK(BM_CsvReadTable);

void BM_StringBaseGetText(benchmark::State& state) {
  tr::cStringBase base("");
  for (int i = 0; i < 3000; ++i) base.SetText("key_number_" + std::to_string(i), u"Some text of a button");
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(base.GetText("key_number_" + std::to_string(i++ % 3000)));
  }
}
BENCHMARK(BM_StringBaseGetText);

void BM_NewDelete(benchmark::State& state) {
  for (auto _ : state) {
    auto p = std::make_unique<int>(1);
    benchmark::DoNotOptimize(p.get());
  }
}
BENCHMARK(BM_NewDelete);

}  // namespace
