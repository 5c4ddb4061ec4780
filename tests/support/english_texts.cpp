#include "support/english_texts.h"

#include <filesystem>
#include <vector>

#include "foundation/string_base_file.h"
#include "support/temp_dir.h"

namespace tr::test {

std::set<std::string> EnglishTextKeys() {
  std::vector<std::string> errors;
  std::set<std::string> english;
  for (const auto& entry :
       ParseStringBaseSource(ReadFileBytes(std::filesystem::path(TR_SOURCE_DIR) / "data/texts/lang_ENG.txt"), errors)) {
    english.insert(entry.key);
  }
  return english;
}

}  // namespace tr::test
