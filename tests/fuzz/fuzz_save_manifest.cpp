// A save's list of its files on any bytes, checked against a folder of the
// files every save is written with. Each input is checked twice: as it is,
// and closed with the line the game closes a list with (the count of the
// files and the digest of the lines above), so the lines inside are parsed
// and their files compared, not only refused at the closing digest.
#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/fast_digest.h"
#include "foundation/file_read.h"
#include "foundation/md5.h"
#include "foundation/text.h"
#include "foundation/text_file.h"
#include "fuzz_support.h"
#include "scenario/save_manifest.h"

namespace {

// The lines of the list that name a file: neither empty nor a comment.
int NamingLines(std::string_view text) {
  int count = 0;
  for (const std::string_view line : tr::TextLineViews(text)) count += !line.empty() && line.front() != '#' ? 1 : 0;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tr;
  const std::string folder = "data/save/" + fuzz::ListedSaveFolder();
  const std::u16string gameFolder = Utf8ToUtf16("data\\save\\" + fuzz::ListedSaveFolder());
  std::string list(fuzz::Bytes(data, size));
  if (!list.empty() && !list.ends_with("\r\n")) list += "\r\n";
  const bool md5 = list.starts_with("# file;bytes;md5;\r\n");
  const std::string closing = "#end;" + std::to_string(NamingLines(list)) + ";" +
                              (md5 ? Md5Hex(list) : FastDigestHex(FastDigest(list))) + ";\r\n";
  for (const std::string& bytes : {std::string(fuzz::Bytes(data, size)), list + closing}) {
    fuzz::WriteGameFile(folder + "/file_digests.csv", bytes);
    fuzz::RunReader([&] {
      const cCheckedFiles checked;
      CheckSaveManifest(gameFolder);
    });
    fuzz::RunReader([&] { SaveManifestNames(gameFolder, u"unit_state.csv"); });
  }
  return 0;
}
