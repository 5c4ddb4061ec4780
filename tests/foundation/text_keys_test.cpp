// Every string-base key the code looks up has an English text in the source
// the shipped string base is built from.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "foundation/settings.h"
#include "foundation/string_base_file.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

std::set<std::string> EnglishKeys() {
  std::vector<std::string> errors;
  const auto entries = ParseStringBaseSource(
      test::ReadFileBytes(std::filesystem::path(TR_SOURCE_DIR) / "data/texts/lang_ENG.txt"), errors);
  EXPECT_EQ(errors, std::vector<std::string>{});
  std::set<std::string> keys;
  for (const auto& entry : entries) keys.insert(entry.key);
  return keys;
}

TEST(TextKeys, LiteralLookupsInTheCodeHaveTexts) {
  const std::set<std::string> keys = EnglishKeys();
  const std::regex lookup(R"(GetText\(\s*"((?:[^"\\]|\\.)+)\"\s*\))");
  std::size_t found = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(std::filesystem::path(TR_SOURCE_DIR) / "src")) {
    const auto ext = entry.path().extension();
    if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    const std::string code = test::ReadFileBytes(entry.path());
    for (std::sregex_iterator it(code.begin(), code.end(), lookup), end; it != end; ++it) {
      ++found;
      EXPECT_TRUE(keys.contains((*it)[1].str())) << entry.path() << " uses \"" << (*it)[1].str() << "\"";
    }
  }
  SUCCEED() << found << " literal lookups checked";
}

TEST(TextKeys, TableKeysHaveTexts) {
  const std::set<std::string> keys = EnglishKeys();
  for (const sDelaySetting& row : gDelaySettings) EXPECT_TRUE(keys.contains(row.captionKey)) << row.captionKey;
  for (const char* month : {"january", "february", "march", "april", "may", "june", "july", "august", "september",
                            "october", "november", "december"}) {
    EXPECT_TRUE(keys.contains(month)) << month;
  }
}

struct SourceCase {
  const char* name;
  const char* source;
  std::size_t entries;
  std::size_t errors;
};
class TextSource : public testing::TestWithParam<SourceCase> {};

TEST_P(TextSource, ParsesOrReports) {
  std::vector<std::string> errors;
  const auto entries = ParseStringBaseSource(GetParam().source, errors);
  EXPECT_EQ(entries.size(), GetParam().entries);
  EXPECT_EQ(errors.size(), GetParam().errors);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TextSource,
    testing::Values(SourceCase{"CommentsAndBlanks", "# c\r\n\r\na=b\r\n", 1, 0},
                    SourceCase{"DuplicateKey", "a=1\na=2\n", 1, 1},
                    SourceCase{"MissingEquals", "text only\n", 0, 1},
                    SourceCase{"BlankInKey", "a b=c\n", 0, 1}),
    [](const auto& info) { return info.param.name; });

TEST(TextSource, EscapesAndUtf8) {
  std::vector<std::string> errors;
  const auto entries = ParseStringBaseSource("k=a\\nb\\tc\\\\d=%s \xC3\xA9\n", errors);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].text, u"a\nb\tc\\d=%s \u00E9");
  // An escape that ends the text, and a backslash with nothing after it.
  const auto ends = ParseStringBaseSource("k=a\\n\nl=b\\\n", errors);
  ASSERT_EQ(ends.size(), 2u);
  EXPECT_EQ(ends[0].text, u"a\n");
  EXPECT_EQ(ends[1].text, u"b\\");
  EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace tr
