// The list of a save's files with the size and digest each was written with,
// kept in the save as "file_digests.csv" and written after every other file.
// A save or play-by-e-mail turn cut or changed on its way (a transfer cut at
// a row's end, a byte flipped) cannot always be told from its text; against
// the list it can, so the load refuses it naming the file before anything is
// read. The save's "Info.ini" says that the save was written with the list,
// so a list lost on the way is told too; a save from before the list has
// neither and loads as it always did.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/file_write.h"

namespace tr {

inline constexpr std::u16string_view kSaveManifestFile = u"file_digests.csv";
// The key of "Info.ini" that marks a save written with the list (its value
// is the list's name).
inline constexpr std::string_view kSaveManifestMark = "Save/FileList";

// Writes the list of the files recorded that lie in the folder (a game path
// without a trailing separator), in the order they were written; the list's
// last line holds their count and the digest of every line above it, so a
// list cut or changed is told too. False (logged) when it cannot be written.
bool WriteSaveManifest(std::u16string_view folder, const std::vector<cWrittenFilesRecord::sEntry>& written);

// Compares each file the folder's list names with what it was written with,
// reading each once, in pieces, and a file past its reader's budget not at
// all: while a cCheckedFiles lives on the thread, it keeps each file compared
// open, and the readers read it from there only while it still holds the
// bytes compared. True when all are as written,
// or when the folder holds no list and its "Info.ini" no mark (an older
// save). Otherwise logs one ERROR line naming the file that differs (or the
// list itself, when it is lost, damaged, names more files than a save is
// written with or leaves out one every save holds, or "Info.ini", when its
// mark names another list) and gives false. A file that differs and that
// something on this computer wrote in as it was read, or since the check
// began, is logged as changed on the disk instead, and counted as a change
// (cCheckedFiles::NoteChange): its sender has nothing to mend.
bool CheckSaveManifest(std::u16string_view folder);

// Tests only: called with each listed file between its opening and its read,
// where a test writes in it as something on this computer would.
void SetListedFileCheckHook(std::function<void(const std::filesystem::path&)> hook);

// While one lives on a thread, CheckSaveManifest there compares nothing and
// gives true: the player chose to load a save that differs from its list as
// it is. A table the save was written with and is missing still refuses
// the load (ReadLaterSavedTable).
class cSaveLoadedAsItIs {
 public:
  cSaveLoadedAsItIs();
  ~cSaveLoadedAsItIs();
  cSaveLoadedAsItIs(const cSaveLoadedAsItIs&) = delete;
  cSaveLoadedAsItIs& operator=(const cSaveLoadedAsItIs&) = delete;

 private:
  bool outer_;
};

// Whether the save in the folder was written with the file: its list, whole,
// names it, or it is a file every save is written with and the save's
// "Info.ini" carries the mark. Its absence is then damage, not an older save.
bool SaveManifestNames(std::u16string_view folder, std::u16string_view file);

}  // namespace tr
