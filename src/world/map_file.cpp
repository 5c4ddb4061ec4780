// The map file "map.qel" (format "Qelv1"): a 268-byte header, then one
// 37-byte record per hex in row order, all little-endian.
#include <cstring>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "world/byte_io.h"
#include "world/file_io.h"
#include "world/folder_path.h"
#include "foundation/string_base.h"
#include "scenario/table_writer.h"
#include "world/map.h"
#include "world/map_records.h"

namespace tr {
namespace {

constexpr char kQelTag[] = "Qelv1";
constexpr std::size_t kTagSize = 5;
constexpr std::size_t kCommentSize = 255;
constexpr char kComment[] = "Map for Tidereach created by Morrowfen.";
constexpr int kMaxSide = 32767;  // columns and rows are stored in 16-bit signed fields

[[noreturn]] void WrongVersion() {
  LogLine(u"ERROR: Wrong map file version");
  FatalExit(1);
}

}  // namespace

void cMap::Load(std::u16string_view pathTemplate, bool savedGame) {
  LogLine(u"------ Loading map ------");
  const std::u16string path = FolderFilePath(pathTemplate, u"map.qel");
  const std::optional<std::string> file = ReadWholeFile(ResolveGamePath(path), kMapFileBudget);
  if (!file) {
    LogFormat(u"Loading from %s... FAILED", path);
    FatalExit(1);
  }
  const std::string_view bytes = *file;
  // The start of the tag, or nothing at all, is a map file cut short (a cut
  // transfer, a full disk); the file is named, since the version line does not.
  const auto cutShort = [&](std::size_t needed) {
    LogFormat(u"ERROR: %s ends after %lli of the %lli bytes of its map (cut short?); the game is not loaded", path,
              static_cast<long long>(bytes.size()), static_cast<long long>(needed));
    FatalExit(1);
  };
  const std::string_view tag(kQelTag, kTagSize);
  if (bytes.size() < kTagSize && tag.starts_with(bytes)) cutShort(kQelHeaderSize);
  if (bytes.substr(0, kTagSize) != tag) WrongVersion();
  if (bytes.size() < kQelHeaderSize) cutShort(kQelHeaderSize);
  const int width = ReadU16(bytes, 264);
  const int height = ReadU16(bytes, 266);
  LogFormat(u"Map size: %ix%i", width, height);
  LogLine(u"Loading hexes data...");
  if (width == 0 || height == 0) {
    // Nothing after this copes with a map without hexes.
    LogLine(u"ERROR: Map cannot have 0 heigth or 0 width");
    FatalExit(1);
  }
  if (width > kMaxSide || height > kMaxSide) {
    LogFormat(u"ERROR: Map size %ix%i is too large", width, height);
    FatalExit(1);
  }
  const std::size_t count = static_cast<std::size_t>(width) * height;
  if (bytes.size() < kQelHeaderSize + count * kQelRecordSize) cutShort(kQelHeaderSize + count * kQelRecordSize);

  SetWidth(width);
  SetHeight(height);
  ReplaceHexes(width, height);
  CreatePathCells();
  std::size_t at = kQelHeaderSize;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x, at += kQelRecordSize) {
      sHex& hex = *GetHex(x, y);
      const std::string_view record = bytes.substr(at, kQelRecordSize);
      if (savedGame) RefuseUnwrittenQelHex(record, x, y, y * width + x, path);
      ReadQelHexRecord(hex, record);
      hex.x = static_cast<std::int16_t>(x);
      hex.y = static_cast<std::int16_t>(y);
      HoldQelHexRecord(hex, path);
    }
  }
  MarkRiverMouths();
  RunMapOperation([this] { CreateFrontNodeGrid(); });
  if (!savedGame) PropagateSeaZonesToCoast();
  ComputeFitScale();
  LogLine(Format(GetText("loading_map_from_%s..._ok"), path));
}

bool cMap::Save(std::u16string_view folder, std::u16string_view pathTemplate) const {
  const std::u16string path = pathTemplate.empty() ? Format(u"%s\\map.qel", folder)
                                                   : FolderFilePath(pathTemplate, u"output_map.qel");
  std::string out;
  out.reserve(kQelHeaderSize + hexes_.size() * kQelRecordSize);
  out.append(kQelTag, kTagSize);
  std::string comment(kCommentSize, '\0');
  std::memcpy(comment.data(), kComment, sizeof kComment - 1);
  out += comment;
  AppendF32(out, 1.0f);
  AppendU16(out, static_cast<std::uint16_t>(width_));
  AppendU16(out, static_cast<std::uint16_t>(height_));
  for (const sHex& hex : hexes_) AppendQelHexRecord(out, hex);
  // A map converted from an older file may be larger than a load reads.
  if (!FitsLoadBudget(path, out.size(), kMapFileBudget)) return false;
  if (!WriteFileReplacing(ResolveGamePath(path), out)) {
    LogFormat(u"Saving map using Qelv1 format to \"%s\" FAILED", path);
    return false;
  }
  return true;
}

}  // namespace tr
