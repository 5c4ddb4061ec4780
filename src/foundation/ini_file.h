// An INI file held in memory: its sections in name order, each with its keys in
// name order, and the keys met before any section line; every entry keeps the
// comment lines that stood before it. Callers name a value by its full key
// "Section/Key" (split at the first '/'); a key without a section part names a
// value met before any section line. Getters store their default when
// the key is absent, so a Save after a series of getters writes every key asked
// for. Keys and values are 8-bit code-page text; the typed interface speaks UTF-16.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tr {

class cIniFile {
 public:
  cIniFile() = default;

  // No INI file of the game holds nearly this many keys and sections; a
  // stranger's file of millions would take hundreds of megabytes to hold.
  static constexpr std::size_t kMostEntries = 4096;

  // Reads and parses the whole file; false (logged) when it cannot be opened.
  // The line that would add an entry past kMostEntries, and every line after
  // it, are logged once and left out.
  bool Load(std::u16string_view fileName);
  // The line (counting from 1) the last Load stopped at; 0 when it read the whole file.
  int CutAtLine() const { return cutAtLine_; }
  // The keys and sections held.
  std::size_t EntryCount() const;
  // Rewrites the file named at Load; does nothing unless the load succeeded,
  // so a missing file is never created.
  void Save();

  // Adds the section of a full key when it is missing.
  void MakeKey(std::string_view key);
  bool HasKey(std::string_view key) const;
  // The line (counting from 1) the key's value was loaded from; 0 for a key
  // the file does not hold or one set since.
  int LineOf(std::string_view key) const;
  // Whether the key's line was loaded as Save writes it, "key = value" with
  // nothing around; true for a key set since.
  bool IsWrittenAsSaved(std::string_view key) const;

  // A key or section the last Load met again after its first line; the later
  // line's value is the one held.
  struct sRepeat {
    int line = 0;
    std::string key;  // "Section/Key", or "[Section]" for a section line
  };
  const std::vector<sRepeat>& Repeats() const { return repeats_; }

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
    std::string comment;  // whole comment lines, each ending in CR LF
    std::string value;
    int line = 0;  // of the file loaded, 0 when set
    bool asSaved = true;
  };
  struct sSection {
    std::string comment;
    std::map<std::string, sEntry, std::less<>> values;
  };

  // The value of a full key: in its section, or among the values met before
  // any section line when the key has no section part. Null when absent.
  const sEntry* Find(std::string_view key) const;
  sEntry& Store(std::string_view key, std::string value);

  // Sections and their keys are kept apart, so a '/' in a section name or a
  // key that shares a section's name never mixes two entries.
  std::map<std::string, sEntry, std::less<>> loose_;
  std::map<std::string, sSection, std::less<>> sections_;
  std::u16string fileName_;
  bool loaded_ = false;
  int cutAtLine_ = 0;
  std::vector<sRepeat> repeats_;
};

// The section of a full key: the text before the first '/', or the whole key
// when it has none or the '/' stands first or last.
std::string_view IniSectionOf(std::string_view key);
// The part after that '/', empty when there is none.
std::string_view IniNameOf(std::string_view key);

}  // namespace tr
