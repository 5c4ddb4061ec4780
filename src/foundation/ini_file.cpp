#include "foundation/ini_file.h"

#include <cstdint>

#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/file_write.h"
#include "foundation/number_text.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "foundation/text_file.h"

namespace tr {
namespace {

std::size_t SectionSlash(std::string_view key) {
  const std::size_t slash = key.find('/');
  if (slash == std::string_view::npos || slash == 0 || slash + 1 == key.size()) {
    return std::string_view::npos;
  }
  return slash;
}

}  // namespace

std::string_view IniSectionOf(std::string_view key) {
  const std::size_t slash = SectionSlash(key);
  return slash == std::string_view::npos ? key : key.substr(0, slash);
}

std::string_view IniNameOf(std::string_view key) {
  const std::size_t slash = SectionSlash(key);
  return slash == std::string_view::npos ? std::string_view() : key.substr(slash + 1);
}

bool cIniFile::Load(std::u16string_view fileName) {
  loose_.clear();
  sections_.clear();
  loaded_ = false;
  cutAtLine_ = 0;
  repeats_.clear();
  fileName_ = std::u16string(fileName);
  LogFormat(u"Loading INI file %s ...", fileName_);

  std::optional<std::string> bytes = ReadWholeFile(ResolveGamePath(fileName_));
  if (!bytes) {
    LogFormat(u"ERROR during opening INI file %s", fileName_);
    return false;
  }
  std::string text = std::move(*bytes);
  DecodeMarkedText(text, fileName_);
  if (const std::size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);

  std::string pendingComment;
  // The values before any section line stand on their own.
  std::map<std::string, sEntry, std::less<>>* values = &loose_;
  std::string sectionName;
  std::size_t entries = 0;
  // Whether one more entry fits; the first that does not ends the read.
  const auto room = [&](bool added, int line) {
    if (!added || ++entries <= kMostEntries) return true;
    cutAtLine_ = line;
    LogFormat(u"WARNING: %s holds more than the %i keys and sections an INI file of the game holds; it is read up "
              u"to its line %i (counting from 1), and that line and the rest are left out",
              fileName_, static_cast<int>(kMostEntries), line);
    return false;
  };
  int lineNumber = 0;
  for (const sTextLine whole : NonEmptyTextLines(text)) {
    lineNumber = whole.number;
    const std::string_view line = TrimBlanks(whole.text);
    if (line.empty()) continue;

    if (line[0] == ';' || line[0] == '#') {
      pendingComment.append(line).append("\r\n");
    } else if (line[0] == '[') {
      // The closing bracket is not checked: "[Main" names the section "Mai".
      const std::string name(line.substr(1, line.size() >= 2 ? line.size() - 2 : 0));
      const bool added = sections_.find(name) == sections_.end();
      if (!room(added, lineNumber)) break;
      if (!added) repeats_.push_back({lineNumber, "[" + name + "]"});
      sectionName = name;
      sSection& section = sections_[name];
      section.comment = std::move(pendingComment);
      pendingComment.clear();
      values = &section.values;
    } else {
      const std::size_t eq = line.find('=');
      if (eq == std::string_view::npos) continue;
      const std::string_view key = TrimBlanks(line.substr(0, eq));
      const bool added = values->find(key) == values->end();
      if (!room(added, lineNumber)) break;
      if (!added) repeats_.push_back({lineNumber, values == &loose_ ? std::string(key) : sectionName + "/" + std::string(key)});
      const std::string_view value = TrimBlanks(line.substr(eq + 1));
      // As SaveText writes it: the whole line, blanks and all.
      const bool asSaved = whole.text.size() == key.size() + 3 + value.size() && whole.text.starts_with(key) &&
                           whole.text.substr(key.size(), 3) == " = ";
      (*values)[std::string(key)] = sEntry{std::move(pendingComment), std::string(value), lineNumber, asSaved};
      pendingComment.clear();
    }
  }
  loaded_ = true;
  LogLine(u"Loaded");
  return true;
}

std::size_t cIniFile::EntryCount() const {
  std::size_t count = loose_.size() + sections_.size();
  for (const auto& [name, section] : sections_) count += section.values.size();
  return count;
}

std::string cIniFile::SaveText() const {
  std::string out;
  auto add_values = [&](const std::map<std::string, sEntry, std::less<>>& values) {
    for (const auto& [name, entry] : values) {
      out += entry.comment;
      out.append(name).append(" = ").append(entry.value).append("\r\n");
    }
  };
  // Values without a section come first: written after a section header
  // they would be read back as that section's keys.
  add_values(loose_);
  for (const auto& [name, section] : sections_) {
    out += "\r\n";
    out += section.comment;
    out.append("[").append(name).append("]\r\n");
    add_values(section.values);
  }
  return out;
}

void cIniFile::Save() {
  if (!loaded_) return;
  const std::string text = SaveText();
  // Written beside the target and renamed over it, so a failed write keeps the old file.
  if (!WriteFileReplacing(ResolveGamePath(fileName_), text)) LogFormat(u"ERROR during saving INI file %s", fileName_);
}

void cIniFile::MakeKey(std::string_view key) {
  const std::string_view section = IniSectionOf(key);
  if (sections_.find(section) == sections_.end()) sections_.emplace(std::string(section), sSection{});
}

bool cIniFile::HasKey(std::string_view key) const {
  if (Find(key) != nullptr) return true;
  return IniNameOf(key).empty() && sections_.find(key) != sections_.end();
}

const cIniFile::sEntry* cIniFile::Find(std::string_view key) const {
  const std::string_view name = IniNameOf(key);
  const std::map<std::string, sEntry, std::less<>>* values = &loose_;
  if (!name.empty()) {
    const auto section = sections_.find(IniSectionOf(key));
    if (section == sections_.end()) return nullptr;
    values = &section->second.values;
  }
  const auto it = values->find(name.empty() ? key : name);
  return it == values->end() ? nullptr : &it->second;
}

int cIniFile::LineOf(std::string_view key) const {
  const sEntry* entry = Find(key);
  return entry ? entry->line : 0;
}

bool cIniFile::IsWrittenAsSaved(std::string_view key) const {
  const sEntry* entry = Find(key);
  return !entry || entry->asSaved;
}

// A key without a section part is a value of its own, the kind read before
// any section line; it gets no section header.
cIniFile::sEntry& cIniFile::Store(std::string_view key, std::string value) {
  const std::string_view name = IniNameOf(key);
  auto& values = name.empty() ? loose_ : sections_[std::string(IniSectionOf(key))].values;
  auto it = values.find(name.empty() ? key : name);
  if (it == values.end()) it = values.emplace(std::string(name.empty() ? key : name), sEntry{}).first;
  it->second.value = std::move(value);
  it->second.line = 0;
  it->second.asSaved = true;
  return it->second;
}

std::u16string cIniFile::GetString(std::string_view key, std::u16string_view defaultValue) {
  if (const sEntry* entry = Find(key)) return CodePageToUtf16(entry->value);
  return CodePageToUtf16(Store(key, Utf16ToCodePage(defaultValue)).value);
}

void cIniFile::SetString(std::string_view key, std::u16string_view value) {
  Store(key, Utf16ToCodePage(value));
}

int cIniFile::GetInt(std::string_view key, int defaultValue) {
  if (const sEntry* entry = Find(key)) return ParseLeadingInt(entry->value);
  Store(key, std::to_string(defaultValue));
  return defaultValue;
}

void cIniFile::SetInt(std::string_view key, int value) {
  Store(key, std::to_string(value));
}

bool cIniFile::GetBool(std::string_view key, bool defaultValue) {
  if (const sEntry* entry = Find(key)) return entry->value == "true" || entry->value == "yes";
  Store(key, defaultValue ? "true" : "false");
  return defaultValue;
}

void cIniFile::SetBool(std::string_view key, bool value) {
  Store(key, value ? "true" : "false");
}

}  // namespace tr
