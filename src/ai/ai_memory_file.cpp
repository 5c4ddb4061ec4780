#include "ai/ai_memory_file.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "ai/country_ai.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "world/file_io.h"
#include "world/gra.h"
#include "world/value_limits.h"

namespace tr {

namespace {

constexpr std::u16string_view kHeader =
    u"#Invasions the computer remembers: Waiting;country;land unit ID;impulses stalled;sea node; and "
    u"GivenUp;country;target hex X;target hex Y;impulse of the give-up;";
constexpr std::size_t kWaitingFields = 5;
constexpr std::size_t kGivenUpFields = 5;

}  // namespace

bool WriteAiMemory(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"ai_memory.csv"));
  if (!writer.ok()) return false;
  writer.Write(kHeader);
  for (std::size_t i = 0; i < game.countryAi.size() && i < game.countries.size(); ++i) {
    const cCountryAI& ai = *game.countryAi[i];
    const int country = game.countries[i]->id;
    for (const auto& [unitId, wait] : ai.invasionWaits_) {
      writer.Write(Format(u"\nWaiting;%i;%i;%i;%i;", country, unitId, wait.stalled, wait.node));
    }
    for (const auto& given : ai.givenUpTargets_) {
      writer.Write(Format(u"\nGivenUp;%i;%i;%i;%i;", country, given.at.x, given.at.y, given.turn));
    }
  }
  return writer.Commit();
}

class cAiMemoryReader {
 public:
  cAiMemoryReader(cGame& game, std::u16string_view path) : game_(game), path_(path) {}

  void Line(const std::vector<std::string_view>& fields, int line) {
    if (fields[0] == "Waiting") {
      const std::vector<int> n = Numbers(fields, kWaitingFields, line);
      const int stalled = Held(n[2], u"impulses stalled", line);
      if (cCountryAI* ai = CountryAi(n[0], line)) ai->invasionWaits_[n[1]] = {stalled, n[3]};
    } else if (fields[0] == "GivenUp") {
      const std::vector<int> n = Numbers(fields, kGivenUpFields, line);
      const int turn = Held(n[3], u"impulse of the give-up", line);
      if (cCountryAI* ai = CountryAi(n[0], line)) ai->givenUpTargets_.push_back({{n[1], n[2]}, turn});
    } else {
      RefuseDamagedTable(path_, line, u"has a line that is not the game's");
    }
  }

 private:
  // Impulses are counted and compared by subtraction: a count beyond the
  // game's impulses is held at the bound.
  int Held(int value, std::u16string_view what, int line) const {
    const int held = std::clamp(value, 0, kMaxTurnCount);
    if (held != value) {
      LogFormat(u"WARNING: %s (%i) out of range in %s at line %i (counting from 1); held at %i", what, value, path_,
                line, held);
    }
    return held;
  }

  std::vector<int> Numbers(const std::vector<std::string_view>& fields, std::size_t count, int line) const {
    if (fields.size() < count) RefuseShortSavedRow(path_, line, fields.size(), count);
    std::vector<int> numbers;
    for (std::size_t i = 1; i < count; ++i) numbers.push_back(SavedWholeField(fields, i, path_, line));
    return numbers;
  }

  cCountryAI* CountryAi(int countryId, int line) const {
    if (countryId >= 1 && countryId <= game_.CountryCount()) {
      return &CountryAiOf(game_, *game_.countries[static_cast<std::size_t>(countryId - 1)]);
    }
    LogFormat(u"WARNING: %s at line %i (counting from 1) names the country %i, which the save does not hold; ignored",
              path_, line, countryId);
    return nullptr;
  }

  cGame& game_;
  std::u16string_view path_;
};

void LoadAiMemory(cGame& game, std::u16string_view folderTemplate) {
  const std::u16string path = FolderFilePath(folderTemplate, u"ai_memory.csv");
  cAiMemoryReader reader(game, path);
  ReadLaterSavedTable(path, u"No ai_memory.csv: a save from before it was written; the computer remembers no invasion",
                      [&reader](const std::vector<std::string_view>& fields, int line) { reader.Line(fields, line); });
}

}  // namespace tr
