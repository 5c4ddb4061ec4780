// An INI file held in memory as one ordered map from "Section/Key" to its value
// and the comment lines that stood before it. Getters store their default when
// the key is absent, so a Save after a series of getters writes every key asked
// for. Keys and values are 8-bit code-page text; the typed interface speaks UTF-16.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tr {

class cIniFile {
 public:
  cIniFile() = default;

  // Reads and parses the whole file; false (logged) when it cannot be opened.
  bool Load(std::u16string_view fileName);
  // Rewrites the file named at Load; does nothing unless the load succeeded,
  // so a missing file is never created.
  void Save();

  // Adds the section entry of a full key when the map lacks it.
  void MakeKey(std::string_view key);
  bool HasKey(std::string_view key) const;

  std::u16string GetString(std::string_view key, std::u16string_view defaultValue);
  void SetString(std::string_view key, std::u16string_view value);
  int GetInt(std::string_view key, int defaultValue);
  void SetInt(std::string_view key, int value);
  // True only for the exact texts "true" and "yes".
  bool GetBool(std::string_view key, bool defaultValue);
  void SetBool(std::string_view key, bool value);

  // The save writer points an object at a new file and marks it loaded before Save.
  const std::u16string& FileName() const { return fileName_; }
  void SetFileName(std::u16string fileName) { fileName_ = std::move(fileName); }
  bool IsLoaded() const { return loaded_; }
  void SetLoaded(bool loaded) { loaded_ = loaded; }

  // The text Save writes (lines end in CR LF).
  std::string SaveText() const;

 private:
  struct sEntry {
    std::string comment;               // whole comment lines, each ending in CR LF
    std::optional<std::string> value;  // none for a section entry
  };
  // Orders by (section, name) so that a section's keys always follow its own
  // header, whatever characters other section names contain.
  struct KeyOrder {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };

  sEntry& Store(std::string_view key, std::string value);
  const sEntry* Find(std::string_view key) const;

  std::map<std::string, sEntry, KeyOrder> entries_;
  std::u16string fileName_;
  bool loaded_ = false;
};

// The section of a full key: the text before the first '/', or the whole key
// when it has none or the '/' stands first or last.
std::string_view IniSectionOf(std::string_view key);
// The part after that '/', empty when there is none.
std::string_view IniNameOf(std::string_view key);

}  // namespace tr
