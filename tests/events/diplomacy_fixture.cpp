#include "diplomacy_fixture.h"

#include <filesystem>
#include <map>
#include <stdexcept>

#include "foundation/random.h"
#include "foundation/string_base_file.h"
#include "support/temp_dir.h"

namespace tr::test {
namespace {

const std::map<std::string, std::u16string>& EnglishDiplomacyTexts() {
  static const std::map<std::string, std::u16string> texts = [] {
    std::vector<std::string> errors;
    const auto entries = ParseStringBaseSource(
        ReadFileBytes(std::filesystem::path(TR_SOURCE_DIR) / "data/texts/lang_ENG.txt"), errors);
    std::map<std::string, std::u16string> found;
    for (const auto& entry : entries) {
      if (entry.key.starts_with("diplomacy_")) found[entry.key] = entry.text;
    }
    return found;
  }();
  return texts;
}

}  // namespace

void InstallDiplomacyTexts() {
  for (const auto& [key, text] : EnglishDiplomacyTexts()) StringBase().SetText(key, text);
}

std::u16string EnglishText(std::string_view key) {
  const auto& texts = EnglishDiplomacyTexts();
  const auto it = texts.find(std::string(key));
  if (it == texts.end()) {
    ADD_FAILURE() << "no English text for " << key;
    return std::u16string(key.begin(), key.end());
  }
  return it->second;
}

int RawDrawFor(int value, int low, int high) {
  for (int raw = 0; raw <= 32767; ++raw) {
    ScopedRandomDraws draws({raw});
    if (RandomRange(low, high) == value) return raw;
  }
  throw std::invalid_argument("RandomRange never gives that value");
}

std::deque<int> Rolls(int high, std::initializer_list<int> values) {
  std::deque<int> raw;
  for (int value : values) raw.push_back(RawDrawFor(value, 1, high));
  return raw;
}

void DiplomacyTest::SetConstant(int line, int field, double value) {
  const int slot = sScenarioConstants::SlotOf(line, field);
  ASSERT_GE(slot, 0) << line << ':' << field;
  world.game().constants.SetSlot(slot, value);
}

void DiplomacyTest::SetWar(int a, int b) {
  world.game().relations.SetWar(a, b, true);
  world.game().relations.SetWar(b, a, true);
}

}  // namespace tr::test
