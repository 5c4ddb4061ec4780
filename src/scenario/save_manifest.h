// The list of a save's files with the size and MD5 digest each was written
// with, kept in the save as "file_digests.csv" and written after every other
// file. A save or play-by-e-mail turn cut or changed on its way (a transfer
// cut at a row's end, a byte flipped) cannot always be told from its text;
// against the list it can, so the load refuses it naming the file before
// anything is read. A save from before the list was written has none and
// loads as it always did.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "foundation/file_write.h"

namespace tr {

inline constexpr std::u16string_view kSaveManifestFile = u"file_digests.csv";

// Writes the list of the files recorded that lie in the folder (a game path
// without a trailing separator), in the order they were written; the list's
// last line holds their count and the digest of every line above it, so a
// list cut or changed is told too. False (logged) when it cannot be written.
bool WriteSaveManifest(std::u16string_view folder, const std::vector<cWrittenFilesRecord::sEntry>& written);

// Compares each file the folder's list names with what it was written with.
// True when all are as written, or when the folder holds no list (an older
// save). Otherwise logs one ERROR line naming the file that differs (or the
// list itself, when it is damaged) and gives false.
bool CheckSaveManifest(std::u16string_view folder);

// Whether the folder's list, whole, names the file: a file it names was
// written with the save, so its absence is damage, not an older save.
bool SaveManifestNames(std::u16string_view folder, std::u16string_view file);

}  // namespace tr
