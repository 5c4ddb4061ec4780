// The load of one scenario event file in the shapes a stranger may give it,
// each within the bytes and nodes the load allows: the parser's cost grows
// with the square of the attributes of one element, the other shapes with
// their nodes. Every file within its limits should load within 2 s; an
// element of more attributes than the load allows is refused at the scan.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "events/zdarzenia.h"
#include "foundation/fatal.h"
#include "foundation/paths.h"
#include "scratch_folder.h"
#include "world/gra.h"

namespace {

constexpr std::size_t kEventFilesBytes = 8 * 1024 * 1024;
constexpr int kMostNodes = 200000;
constexpr int kMostAttributes = 64;

// An attribute name of `length` letters ending in the number, so that names
// of one length differ only at their end: the parser's comparison of two
// names runs through all of them.
std::string AttributeName(int number, int length) {
  const std::string digits = std::to_string(number);
  return std::string(static_cast<std::size_t>(length) - digits.size(), 'a') + digits;
}

// One element of `count` attributes, each an empty value.
std::string ElementWithAttributes(int count, int nameLength) {
  std::string xml = "<x";
  for (int i = 0; i < count; ++i) xml += " " + AttributeName(i, nameLength) + "=\"\"";
  return xml + "/>\n";
}

std::string EventsFile(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<events>\n" + body + "</events>\n";
}

// The nodes the file's frame takes besides its body (the declaration and the root).
constexpr int kFrameNodes = 2;

// The event files of scenario "B" under a scratch game root, with a game of
// one country for the checks after the parse.
class ShapeLoad {
 public:
  explicit ShapeLoad(const std::string& xml) {
    const std::filesystem::path folder = root_.path() / "data" / "scenarios" / "B";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "event_files.txt") << "data\\scenarios\\B\\events.xml\r\n";
    std::ofstream(folder / "events.xml", std::ios::binary) << xml;
    bytes_ = xml.size();
    tr::SetGameRoot(root_.path());
    game_ = std::make_unique<tr::cGame>();
    tr::gGame = game_.get();
    auto country = std::make_unique<tr::cCountry>();
    country->id = 1;
    game_->countries.push_back(std::move(country));
  }
  ~ShapeLoad() {
    tr::gGame = nullptr;
    game_.reset();
    tr::SetGameRoot({});
  }

  // The whole load of the file; false when it is refused.
  static bool Load() {
    const tr::cFatalExitThrows throws;
    tr::cEventEngine engine;
    try {
      engine.OpenEventFiles(u"B");
      engine.ValidateEventsFile();
      engine.LoadAllEvents();
    } catch (const tr::FatalExitError&) {
      return false;
    }
    return true;
  }

  void Run(benchmark::State& state) const {
    bool loaded = false;
    for (auto _ : state) benchmark::DoNotOptimize(loaded = Load());
    state.counters["bytes"] = static_cast<double>(bytes_);
    state.counters["loaded"] = loaded ? 1 : 0;
  }

 private:
  tr::bench::ScratchFolder root_{"event_shapes"};
  std::unique_ptr<tr::cGame> game_;
  std::size_t bytes_ = 0;
};

// One element of as many attributes as the nodes allow (the shape that took
// minutes): refused when the scan meets its 65th attribute.
void BM_OneElementOfManyAttributes(benchmark::State& state) {
  const ShapeLoad load(EventsFile(ElementWithAttributes(static_cast<int>(state.range(0)), 8)));
  load.Run(state);
}
BENCHMARK(BM_OneElementOfManyAttributes)->Arg(10000)->Arg(40000)->Arg(kMostNodes - 10)->Unit(benchmark::kMillisecond);

// Empty elements up to the nodes allowed.
void BM_ManyElements(benchmark::State& state) {
  std::string body;
  for (int i = kFrameNodes; i < kMostNodes; ++i) body += "<p/>";
  const ShapeLoad load(EventsFile(body));
  load.Run(state);
}
BENCHMARK(BM_ManyElements)->Unit(benchmark::kMillisecond);

// An element and a text after it, up to the nodes allowed.
void BM_ManyTexts(benchmark::State& state) {
  std::string body;
  for (int i = kFrameNodes; i + 2 <= kMostNodes; i += 2) body += "<p/>t";
  const ShapeLoad load(EventsFile(body));
  load.Run(state);
}
BENCHMARK(BM_ManyTexts)->Unit(benchmark::kMillisecond);

// The worst accepted: elements of the most attributes allowed, of names of
// one length that differ only at their end, as many as the nodes (short
// names) or the bytes (long names) allow. The parser's comparisons then cost
// the bytes times the attributes of an element, whatever the names' length.
void BM_ElementsOfTheMostAttributes(benchmark::State& state) {
  const int nameLength = static_cast<int>(state.range(0));
  const std::string element = ElementWithAttributes(kMostAttributes, nameLength);
  const std::size_t byNodes = (kMostNodes - kFrameNodes) / (kMostAttributes + 1);
  const std::size_t byBytes = (kEventFilesBytes - EventsFile("").size()) / element.size();
  std::string body;
  for (std::size_t i = 0; i < std::min(byNodes, byBytes); ++i) body += element;
  const ShapeLoad load(EventsFile(body));
  load.Run(state);
}
BENCHMARK(BM_ElementsOfTheMostAttributes)->Arg(8)->Arg(36)->Arg(120)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
