// Scripted events: reading, validating and building a large event file, one
// event check's worth of condition evaluation over every event, and a whole
// event check of the large generated game in which every event fires.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "datagen/large_scenario.h"
#include "events/zdarzenia.h"
#include "foundation/paths.h"
#include "world/gra.h"
#include "scratch_folder.h"

namespace {

constexpr int kEventCount = 1000;

// Five comparisons (flags, country fields, a hex), three options of three effects each.
std::string EventXml(int id, int countries = 3) {
  const std::string n = std::to_string(id);
  std::string xml = "<event eventID=\"" + n + "\" countryID=\"" + std::to_string(id % countries + 1) +
                    "\" visibleByPlayer=\"1\" oneTimeChecking=\"1\">\n<title>Event " + n +
                    "</title><description>Text of event " + n + "</description>\n"
                    "<beginDate day=\"1\" month=\"9\" year=\"1939\"/>\n<condition><and>\n";
  const char* operands[] = {
      R"(<leftOperand method="Flag.GetValue" param0="5"/>)",
      R"(<leftOperand method="Country.GetProductionPoints" param0="2"/>)",
      R"(<leftOperand method="Country.HasWarWithCountry" param0="1" param1="3"/>)",
      R"(<leftOperand method="Hex.ControlledByCountry" param0="3" param1="2" param2="1"/>)",
      R"(<leftOperand method="Game.GetCurrentTurn"/>)"};
  for (const char* operand : operands) {
    xml += std::string("<expression>") + operand +
           R"(<operator value="greaterOrEqual"/><rightOperand constValue="0"/></expression>)" + "\n";
  }
  xml += "<or/></and></condition>\n<options>\n";
  for (int option = 1; option <= 3; ++option) {
    xml += "<option optionID=\"" + std::to_string(option) + "\" chanceAI=\"30\"><description>Choice</description>"
           "<effects>\n";
    xml += R"(<effect method="Flag.SetValue" param0="5" param1="1"/>)" "\n";
    xml += R"(<effect method="Country.ChangeProductionPoints" param0="2" param1="50"/>)" "\n";
    xml += R"(<effect method="Hex.AddLandUnit" param0="1" param1="1" param2="1" param3="0" param4="1" param5="1" )"
           R"(paramString0="Guards"/>)" "\n";
    xml += "</effects></option>\n";
  }
  return xml + "</options>\n</event>\n";
}

// Writes the event files of scenario "B" under a temporary game root.
void WriteEventFiles(const std::filesystem::path& root, int countries) {
  std::filesystem::create_directories(root / "data" / "scenarios" / "B");
  std::ofstream(root / "data" / "scenarios" / "B" / "event_files.txt") << "data\\scenarios\\B\\events.xml\r\n";
  std::ofstream xml(root / "data" / "scenarios" / "B" / "events.xml");
  xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<events>\n";
  for (int id = 0; id < kEventCount; ++id) xml << EventXml(id, countries);
  xml << "</events>\n";
  tr::SetGameRoot(root);
}

class BenchGame {
 public:
  BenchGame() {
    WriteEventFiles(root_.path(), 3);
    game_ = std::make_unique<tr::cGame>();
    tr::gGame = game_.get();
    game_->map = std::make_unique<tr::cMap>(8, 8);
    for (int id = 1; id <= 3; ++id) {
      auto country = std::make_unique<tr::cCountry>();
      country->id = id;
      game_->countries.push_back(std::move(country));
    }
    game_->relations.Reset(3);
  }
  ~BenchGame() {
    tr::gGame = nullptr;
    game_.reset();
    tr::SetGameRoot({});
  }
  tr::cGame& game() { return *game_; }

 private:
  tr::bench::ScratchFolder root_{"events"};
  std::unique_ptr<tr::cGame> game_;
};

void BM_LoadEventFiles(benchmark::State& state) {
  BenchGame bench;
  for (auto _ : state) {
    tr::cEventEngine engine;
    engine.OpenEventFiles(u"B");
    engine.ValidateEventsFile();
    engine.LoadAllEvents();
    benchmark::DoNotOptimize(engine.events.data());
  }
  state.SetItemsProcessed(state.iterations() * kEventCount);
}
BENCHMARK(BM_LoadEventFiles)->Unit(benchmark::kMillisecond);

void BM_EvaluateAllConditions(benchmark::State& state) {
  BenchGame bench;
  tr::cEventEngine& engine = *bench.game().events;
  engine.OpenEventFiles(u"B");
  engine.ValidateEventsFile();
  engine.LoadAllEvents();
  for (auto _ : state) {
    int fired = 0;
    for (tr::cEvent& event : engine.events) fired += event.condition.Evaluate();
    benchmark::DoNotOptimize(fired);
  }
  state.SetItemsProcessed(state.iterations() * kEventCount);
}
BENCHMARK(BM_EvaluateAllConditions)->Unit(benchmark::kMillisecond);

// The large generated game (30 countries, the first led by a human, whose
// visible events the headless port answers at once) with the generated
// events spread over all its countries. Every event is true and one-time, so
// one check fires each of them once, in as many searches.
void BM_CheckAllEventsOfLargeGame(benchmark::State& state) {
  const tr::bench::ScratchFolder root("events");
  WriteEventFiles(root.path(), 30);
  auto game = tr::datagen::BuildLargeGame();
  tr::gGame = game.get();
  tr::cEventEngine& engine = *game->events;
  engine.OpenEventFiles(u"B");
  engine.ValidateEventsFile();
  engine.LoadAllEvents();
  for (auto _ : state) {
    engine.CheckEventsAtTurnEnd(*game);
    state.PauseTiming();
    game->reports.Clear();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kEventCount);
  tr::gGame = nullptr;
  game.reset();
  tr::SetGameRoot({});
}
BENCHMARK(BM_CheckAllEventsOfLargeGame)->Unit(benchmark::kMillisecond);

}  // namespace
