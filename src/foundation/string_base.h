// The localised texts, looked up by ASCII key. A missing key shows as itself:
// GetText stores the key as its own text. Texts are often used as formats.
// A string-base file whose MD5 differs from the shipped one is untrusted and
// every text read from it is cut at its first '%', so an edited file cannot
// feed the formatter placeholders the code does not expect.
#pragma once

#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tr {

// The MD5 of the "lang_ENG.db" the build produced (generated at build time).
const char* ShippedStringBaseDigest();

class cStringBase {
 public:
  // trustedDigest: the digest of the one file that loads untouched.
  explicit cStringBase(std::string trustedDigest = ShippedStringBaseDigest());

  // Stores the code narrowed to 8 bits; it replaces "LANGID" in Load's file name.
  void SetLanguage(std::u16string_view code);
  std::string GetLanguage() const;

  // Reads "lang_LANGID.db" (LANGID replaced). With overwrite, texts of keys
  // already present are replaced. A missing file is logged and changes nothing;
  // a file cut short loads its whole records.
  void Load(std::string_view fileName, bool overwrite);

  // The text of the key; a missing key is inserted with its own characters.
  // Safe to call from both threads.
  std::u16string GetText(std::string_view key);
  // Like GetText but inserts nothing: false when the key is absent.
  bool FindText(std::string_view key, std::u16string& text) const;

  // Puts a text in directly (tests and tools build small bases this way).
  void SetText(std::string_view key, std::u16string_view text);
  std::size_t Size() const;
  std::vector<std::string> LoadedFiles() const;

 private:
  bool IsTrusted(std::string_view fileBytes) const;

  mutable std::shared_mutex mutex_;
  std::unordered_map<std::string, std::u16string> texts_;
  std::string language_ = "ENG";
  std::vector<std::string> loadedFiles_;
  std::string trustedDigest_;
};

// The global string base, and the shortcut every caller uses.
cStringBase& StringBase();
inline std::u16string GetText(std::string_view key) { return StringBase().GetText(key); }

}  // namespace tr
