#include "support/english_texts.h"

#include <filesystem>
#include <vector>

#include "foundation/string_base_file.h"
#include "support/temp_dir.h"

namespace tr::test {

namespace {

std::vector<sStringBaseEntry> EnglishEntries() {
  std::vector<std::string> errors;
  return ParseStringBaseSource(ReadFileBytes(std::filesystem::path(TR_SOURCE_DIR) / "data/texts/lang_ENG.txt"),
                               errors);
}

}  // namespace

std::set<std::string> EnglishTextKeys() {
  std::set<std::string> english;
  for (const auto& entry : EnglishEntries()) english.insert(entry.key);
  return english;
}

std::u16string EnglishText(std::string_view key) {
  for (const auto& entry : EnglishEntries()) {
    if (entry.key == key) return entry.text;
  }
  return {};
}

}  // namespace tr::test
