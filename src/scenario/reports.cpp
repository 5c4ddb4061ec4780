#include "scenario/reports.h"

#include <fstream>
#include <iterator>

#include "foundation/console_log.h"
#include "foundation/fatal.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "scenario/scenario_paths.h"
#include "world/byte_io.h"
#include "world/file_io.h"
#include "world/gra.h"
#include "world/presentation.h"

namespace tr {
namespace {

constexpr std::string_view kTag = "Qelv1";
// The tag and the count.
constexpr std::uint64_t kHeaderBytes = 5 + 4;
// Type, year, month, day, turn, state, country and the text length.
constexpr std::size_t kFixedReportBytes = 8 * 4;

std::uint64_t FileBytes(const sReport& report) { return kFixedReportBytes + 2 * std::uint64_t{report.text.size()}; }

class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
  std::size_t Left() const { return bytes_.size() - pos_; }
  std::uint32_t U32() {
    const std::uint32_t value = ReadU32(bytes_, pos_);
    pos_ += 4;
    return value;
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  char16_t Unit() {
    const char16_t unit = ReadU16(bytes_, pos_);
    pos_ += 2;
    return unit;
  }
  std::string_view Take(std::size_t n) {
    const std::string_view part = bytes_.substr(pos_, n);
    pos_ += n;
    return part;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

}  // namespace

sReportStamp CurrentReportStamp() {
  if (!gGame) return {};
  const cGameDate& date = gGame->date;
  return {date.year, date.month, date.GetDayOfMonth(), gGame->turn};
}

void cReportList::Add(const sReport& report) { Add(report, CurrentReportStamp()); }

void cReportList::Add(sReport report, const sReportStamp& stamp) {
  report.year = stamp.year;
  report.month = stamp.month;
  report.day = stamp.day;
  report.turn = stamp.turn;
  // The list is kept within what a load reads back: a text longer than the
  // whole file may be is cut, and the oldest reports make room for new ones.
  constexpr std::uint64_t kLargestText = (kReportsFileBudget - kHeaderBytes - kFixedReportBytes) / 2;
  if (report.text.size() > kLargestText) report.text.resize(kLargestText);
  bytes_ += FileBytes(report);
  reports_.push_back(std::move(report));
  int dropped = 0;
  while (bytes_ > kReportsFileBudget) {
    bytes_ -= FileBytes(reports_.front());
    reports_.pop_front();
    ++dropped;
  }
  // Once the list is full every new report drops an old one: told once, not
  // at every report.
  if (dropped > 0 && !full_) {
    full_ = true;
    LogFormat(u"Reports: the %i oldest reports were dropped to keep reports.dat within %i bytes; from now on each "
              u"new report drops the oldest ones",
              dropped, static_cast<std::int64_t>(kReportsFileBudget));
  }
}

void cReportList::Clear() {
  reports_.clear();
  bytes_ = kHeaderBytes;
  full_ = false;
}

void cReportList::Add(std::int32_t type, std::int32_t country, std::u16string text) {
  if (country < 1) return;
  sReport report;
  report.type = type;
  report.country = country;
  report.text = std::move(text);
  Add(report);
}

std::string cReportList::Serialize() const {
  std::string out(kTag);
  AppendU32(out, static_cast<std::uint32_t>(reports_.size()));
  for (const sReport& r : reports_) {
    for (std::int32_t value : {r.type, r.year, r.month, r.day, r.turn, r.state, r.country}) {
      AppendU32(out, static_cast<std::uint32_t>(value));
    }
    AppendU32(out, static_cast<std::uint32_t>(r.text.size()));
    for (char16_t unit : r.text) AppendU16(out, unit);
  }
  return out;
}

bool cReportList::Deserialize(std::string_view bytes) {
  Clear();
  ByteReader in(bytes);
  if (in.Left() < kTag.size() || in.Take(kTag.size()) != kTag) return true;
  if (in.Left() < 4) return false;
  const std::uint32_t count = in.U32();
  for (std::uint32_t i = 0; i < count; ++i) {
    if (in.Left() < kFixedReportBytes) return false;
    sReport r;
    r.type = in.I32();
    r.year = in.I32();
    r.month = in.I32();
    r.day = in.I32();
    r.turn = in.I32();
    r.state = in.I32();
    r.country = in.I32();
    const std::uint32_t length = in.U32();
    if (in.Left() / 2 < length) return false;
    r.text.reserve(length);
    for (std::uint32_t k = 0; k < length; ++k) r.text.push_back(in.Unit());
    bytes_ += FileBytes(r);
    reports_.push_back(std::move(r));
  }
  return true;
}

bool cReportList::Save(std::u16string_view folder) const {
  const auto path = ResolveGamePath(SaveFilePath(folder, u"reports.dat"));
  if (!WriteFileReplacing(path, Serialize())) {
    LogLine(u"ERROR: Opening reports file for writing");
    return false;
  }
  LogLine(u"Reports file opened OK");
  return true;
}

void cReportList::Load(std::u16string_view path_template) {
  const std::u16string path = FolderFilePath(path_template, u"reports.dat");
  const std::optional<std::string> file = ReadWholeFile(ResolveGamePath(path), kReportsFileBudget);
  if (!file) {
    LogLine(u"ERROR: Opening reports file for reading");
    FatalExit(1);
  }
  const std::string& bytes = *file;
  // The game writes the tag and the count: a file that ends inside the tag
  // (an empty one too) was cut short, not written by another program.
  const bool cutInTag = bytes.size() < kTag.size() && kTag.starts_with(bytes);
  if (!cutInTag && bytes.compare(0, kTag.size(), kTag) != 0) {
    Clear();
    return;
  }
  LogLine(u"Reports file opened OK");
  if (cutInTag) Clear();
  if (cutInTag || !Deserialize(bytes)) {
    const std::u16string message =
        Format(u"%s is incomplete; %i whole reports were read", path, static_cast<int>(reports_.size()));
    LogLine(u"WARNING: " + message);
    // A received turn was cut on its way: its player is told before the
    // next hand-over makes the loss final.
    if (TemplateFolder(path_template).starts_with(u"data\\pbem\\")) {
      Presentation().ShowMessageBox(u"reports.dat", message, eMessageIcon::kWarning);
    }
  }
}

void cReportList::Select(std::list<sReport>& result, std::int32_t country, std::int32_t type) const {
  result.clear();
  for (const sReport& r : reports_) {
    if (r.country == country && r.type == type) result.push_back(r);
  }
}

}  // namespace tr
