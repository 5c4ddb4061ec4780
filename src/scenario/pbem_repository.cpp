#include "scenario/pbem_repository.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "foundation/console_log.h"
#include "foundation/paths.h"
#include "foundation/string_base.h"
#include "world/gra.h"

namespace tr {

namespace {

constexpr std::size_t kNameBytes = 500;

std::uint32_t RecordPlayer(std::string_view record) {
  std::uint32_t number = 0;
  for (int b = 0; b < 4; ++b) {
    number |= static_cast<std::uint32_t>(static_cast<unsigned char>(record[kNameBytes + b])) << (8 * b);
  }
  return number;
}

// The name of a record: its units up to the terminator.
std::u16string RecordName(std::string_view record) {
  std::u16string name;
  for (std::size_t i = 0; i + 1 < kNameBytes; i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(record[i]) |
                                            (static_cast<unsigned char>(record[i + 1]) << 8));
    if (unit == 0) break;
    name += unit;
  }
  return name;
}

}  // namespace

std::string MakePbemRepoRecord(std::uint32_t playerNumber, std::u16string_view gameName) {
  std::string record(kPbemRepoRecordSize, '\0');
  const std::size_t units = std::min(gameName.size(), kPbemRepoNameUnits);
  for (std::size_t i = 0; i < units; ++i) {
    record[2 * i] = static_cast<char>(gameName[i] & 0xFF);
    record[2 * i + 1] = static_cast<char>(gameName[i] >> 8);
  }
  for (int b = 0; b < 4; ++b) record[kNameBytes + b] = static_cast<char>((playerNumber >> (8 * b)) & 0xFF);
  return record;
}

void UpdatePbemRepository(std::uint32_t playerNumber, std::u16string_view gameName) {
  const std::string record = MakePbemRepoRecord(playerNumber, gameName);
  const std::u16string name = RecordName(record);
  const std::filesystem::path path = ResolveGamePath(u"data\\pbem\\repo.dat");
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    // A fresh installation has no repository yet; the first hand-over makes it.
    std::ofstream create(path, std::ios::binary);
    if (create) LogLine(u"Created data\\pbem\\repo.dat");
  }
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  if (!file) {
    LogLine(GetText("error_while_opening_repo.dat_file._exiting."));
    ExitDestroyingGame(1);
  }
  const auto size = static_cast<std::size_t>(std::filesystem::file_size(path, error));
  const std::size_t whole = error ? 0 : size / kPbemRepoRecordSize;
  std::size_t target = whole;
  std::string existing(kPbemRepoRecordSize, '\0');
  for (std::size_t i = 0; i < whole; ++i) {
    file.seekg(static_cast<std::streamoff>(i * kPbemRepoRecordSize));
    if (!file.read(existing.data(), static_cast<std::streamsize>(existing.size()))) break;
    if (RecordName(existing) == name) {
      target = i;
      break;
    }
  }
  file.clear();
  file.seekp(static_cast<std::streamoff>(target * kPbemRepoRecordSize));
  file.write(record.data(), static_cast<std::streamsize>(record.size()));
  file.flush();
  if (!file) LogLine(u"ERROR: Writing data\\pbem\\repo.dat failed");
}

std::optional<std::uint32_t> FindPbemRepoPlayer(std::u16string_view gameName) {
  const std::u16string name = RecordName(MakePbemRepoRecord(0, gameName));
  std::ifstream file(ResolveGamePath(u"data\\pbem\\repo.dat"), std::ios::binary);
  std::string record(kPbemRepoRecordSize, '\0');
  // A trailing part of a record is not read.
  while (file.read(record.data(), static_cast<std::streamsize>(record.size()))) {
    if (RecordName(record) == name) return RecordPlayer(record);
  }
  return std::nullopt;
}

}  // namespace tr
