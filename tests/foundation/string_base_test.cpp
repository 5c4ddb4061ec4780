#include "foundation/string_base.h"

#include <gtest/gtest.h>

#include <thread>

#include "foundation/md5.h"
#include "foundation/paths.h"
#include "foundation/string_base_file.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

std::string Encode(const std::vector<sStringBaseEntry>& entries) {
  std::vector<std::string> errors;
  std::string bytes = EncodeStringBase(entries, errors);
  EXPECT_TRUE(errors.empty());
  return bytes;
}

class StringBaseTest : public testing::Test {
 protected:
  std::string Write(std::string_view name, const std::string& bytes) {
    return dir_.Write(name, bytes).string();
  }
  test::TempDir dir_;
  test::LogCapture log_;
};

const std::vector<sStringBaseEntry> kSample = {
    {"save_question", u"Save %s?"}, {"empty", u""}, {"plain", u"Plain \u00E9"}};

TEST_F(StringBaseTest, TrustedFileKeepsFormats) {
  const std::string bytes = Encode(kSample);
  cStringBase base(Md5Hex(bytes));
  base.Load(Write("lang_ENG.db", bytes), true);
  EXPECT_EQ(base.GetText("save_question"), u"Save %s?");
  EXPECT_EQ(base.GetText("plain"), u"Plain \u00E9");
  std::u16string text = u"x";
  EXPECT_TRUE(base.FindText("empty", text));  // an empty text is a text, not a missing key
  EXPECT_EQ(text, u"");
  EXPECT_TRUE(log_.Contains(u"Loading string base"));
  EXPECT_TRUE(log_.Contains(u"Loaded 3 strings"));
  EXPECT_TRUE(log_.Contains(u"Loaded string base"));
}

TEST_F(StringBaseTest, EditedFileIsCutAtFirstPercent) {
  std::vector<sStringBaseEntry> edited = kSample;
  edited[2].text = u"Plain, edited";
  cStringBase base(Md5Hex(Encode(kSample)));
  base.Load(Write("lang_ENG.db", Encode(edited)), true);
  EXPECT_EQ(base.GetText("save_question"), u"Save ");
  EXPECT_EQ(base.GetText("plain"), u"Plain, edited");
}

TEST_F(StringBaseTest, KeyFileWithOtherDigestDoesNotTrust) {
  dir_.Write("data/addsettings", "not the key\r\n");
  const std::filesystem::path root = GameRoot();
  SetGameRoot(dir_.path());
  cStringBase base("");
  base.Load(Write("lang_ENG.db", Encode(kSample)), true);
  SetGameRoot(root);
  EXPECT_EQ(base.GetText("save_question"), u"Save ");
}

TEST_F(StringBaseTest, LanguageCodeReplacesPlaceholder) {
  Write("lang_POL.db", Encode({{"k", u"polski"}}));
  cStringBase base("");
  base.SetLanguage(u"POL");
  EXPECT_EQ(base.GetLanguage(), "POL");
  base.Load((dir_.path() / "lang_LANGID.db").string(), true);
  EXPECT_EQ(base.GetText("k"), u"polski");
  EXPECT_EQ(base.LoadedFiles(), std::vector<std::string>{(dir_.path() / "lang_POL.db").string()});
}

TEST_F(StringBaseTest, DuplicateKeysFollowOverwrite) {
  const std::string file = Write("a.db", Encode({{"k", u"first"}, {"k", u"second"}}));
  cStringBase overwriting("");
  overwriting.Load(file, true);
  EXPECT_EQ(overwriting.GetText("k"), u"second");
  cStringBase keeping("");
  keeping.SetText("k", u"mine");
  keeping.Load(file, false);
  EXPECT_EQ(keeping.GetText("k"), u"mine");
}

TEST_F(StringBaseTest, MissingKeyShowsItselfAndIsStored) {
  cStringBase base("");
  std::u16string text;
  EXPECT_FALSE(base.FindText("no_such_key", text));
  EXPECT_EQ(base.Size(), 0u);
  EXPECT_EQ(base.GetText("no_such_key"), u"no_such_key");
  EXPECT_EQ(base.Size(), 1u);
  EXPECT_TRUE(base.FindText("no_such_key", text));
}

TEST_F(StringBaseTest, MissingFileIsLoggedAndChangesNothing) {
  cStringBase base("");
  base.SetText("k", u"v");
  base.Load((dir_.path() / "none.db").string(), true);
  EXPECT_TRUE(log_.Contains(u"Failed opening string base"));
  EXPECT_EQ(base.Size(), 1u);
  EXPECT_TRUE(base.LoadedFiles().empty());
}

class TruncatedStringBase : public StringBaseTest, public testing::WithParamInterface<int> {};

// Cut at every length: the whole records before the cut load, nothing else, no over-read.
TEST_P(TruncatedStringBase, LoadsWholeRecordsOnly) {
  const std::vector<sStringBaseEntry> entries = {{"a", u"one"}, {"bb", u"two"}, {"ccc", u"three"}};
  const std::string bytes = Encode(entries);
  const std::size_t record_ends[] = {9 + 10, 9 + 10 + 11, 9 + 10 + 11 + 16};
  const auto cut = static_cast<std::size_t>(GetParam());
  cStringBase base("");
  base.Load(Write("t.db", bytes.substr(0, cut)), true);
  std::size_t whole = 0;
  for (std::size_t end : record_ends) whole += end <= cut ? 1 : 0;
  EXPECT_EQ(base.Size(), whole);
  for (std::size_t i = 0; i < whole; ++i) EXPECT_EQ(base.GetText(entries[i].key), entries[i].text);
  if (whole < 3 && cut >= 9) {
    EXPECT_TRUE(log_.ContainsText(u"is cut short"));
  }
}

INSTANTIATE_TEST_SUITE_P(Cuts, TruncatedStringBase, testing::Range(0, 47));

TEST_F(StringBaseTest, EmptyBaseLogsZero) {
  cStringBase base("");
  base.Load(Write("z.db", Encode({})), true);
  EXPECT_TRUE(log_.Contains(u"Loaded 0 strings"));
}

TEST_F(StringBaseTest, TwoThreadsLookUpAndInsert) {
  cStringBase base("");
  auto work = [&](int offset) {
    for (int i = 0; i < 2000; ++i) {
      const std::string key = 'k' + std::to_string((i + offset) % 500);
      EXPECT_EQ(base.GetText(key), AsciiToUtf16(key));
    }
  };
  std::thread a(work, 0), b(work, 250);
  a.join();
  b.join();
  EXPECT_EQ(base.Size(), 500u);
}

// The string base the build ships is the one the program trusts, and holds
// every text of its source unchanged ('%' included).
TEST(ShippedStringBase, IsTrustedAndMatchesItsSource) {
  const std::string bytes = test::ReadFileBytes(std::filesystem::path(TR_GAME_DIR) / "lang_ENG.db");
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(Md5Hex(bytes), ShippedStringBaseDigest());
  std::vector<std::string> errors;
  const auto source = ParseStringBaseSource(
      test::ReadFileBytes(std::filesystem::path(TR_SOURCE_DIR) / "data/texts/lang_ENG.txt"), errors);
  EXPECT_TRUE(errors.empty());
  const test::ScopedGameRoot root(TR_GAME_DIR);
  cStringBase base;
  base.Load(std::string(TR_GAME_DIR) + "/lang_ENG.db", true);
  EXPECT_EQ(base.Size(), source.size());
  for (const auto& entry : source) {
    std::u16string text;
    EXPECT_TRUE(base.FindText(entry.key, text)) << entry.key;
    EXPECT_EQ(text, entry.text) << entry.key;
  }
}

}  // namespace
}  // namespace tr
