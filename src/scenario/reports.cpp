#include "scenario/reports.h"

#include <algorithm>
#include <array>
#include <functional>

#include "foundation/console_log.h"
#include "foundation/file_read.h"
#include "foundation/format.h"
#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/report_kinds.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "world/byte_io.h"
#include "world/file_io.h"
#include "world/gra.h"
#include "world/value_limits.h"

namespace tr {
namespace {

constexpr std::string_view kTag = "Qelv1";
// The tag and the count.
constexpr std::uint64_t kHeaderBytes = 5 + 4;
// Type, year, month, day, turn, state, country and the text length.
constexpr std::size_t kFixedReportBytes = 8 * 4;
// The longest text the game keeps: what a whole file may hold.
constexpr std::uint64_t kLargestText = (kReportsFileBudget - kHeaderBytes - kFixedReportBytes) / 2;
// What a file of the earlier release, within the bytes a load reads, may hold.
constexpr std::uint64_t kLargestStoredText = (kReportsReadLimit - kHeaderBytes - kFixedReportBytes) / 2;
constexpr std::uint64_t kMostStoredReports = (kReportsReadLimit - kHeaderBytes) / kFixedReportBytes;

std::uint64_t FileBytes(const sReport& report) { return kFixedReportBytes + 2 * std::uint64_t{report.text.size()}; }

// A field of a report as the game writes it, in the file's order, with the
// values it writes there.
struct sReportField {
  std::u16string_view name;
  std::int32_t sReport::*member;
  std::int32_t least;
  std::int32_t most;
};

// The date and turn are the running game's (zeros without one); the state is
// set on making and never changed; the country is one of the game's, or 0 for
// a report made without one.
std::array<sReportField, 7> ReportFields(std::int32_t countries) {
  return {{{u"type", &sReport::type, kReportLandAttack, kReportCheating},
           {u"year", &sReport::year, 0, kMaxTurnCount},
           {u"month", &sReport::month, 0, 12},
           {u"day", &sReport::day, 0, 31},
           {u"turn", &sReport::turn, 0, kMaxTurnCount},
           {u"state", &sReport::state, 1, 1},
           {u"country", &sReport::country, 0, countries}}};
}

bool IsReportKind(std::int32_t type) {
  switch (static_cast<eReportKind>(type)) {
    case kReportLandAttack: case kReportLandDefence: case kReportAirToAir: case kReportAirToAirSuffered:
    case kReportAirStrike: case kReportAirStrikeSuffered: case kReportStrategicBombardment:
    case kReportStrategicBombardmentSuffered: case kReportShoreBombardment: case kReportShoreBombardmentSuffered:
    case kReportSeaZoneAttack: case kReportRaiders: case kReportSeaBattle: case kReportSiege: case kReportProduction:
    case kReportResearch: case kReportConvoys: case kReportEventChoice: case kReportUpkeep:
    case kReportGeneralSummary: case kReportVictoryPoints: case kReportCheating:
      return true;
  }
  return false;
}

// Reads the file as its pieces arrive, handing on each report once it is
// whole and as the game writes it; the first fault stops the reading.
class cReportReader {
 public:
  cReportReader(std::int32_t countries, std::function<void(sReport)> keep)
      : fields_(ReportFields(countries)), keep_(std::move(keep)) {}

  void Take(std::string_view piece) {
    while (!piece.empty() && fault_.empty()) piece = Step(piece);
  }

  // Once the last piece is taken: why the file is not as the game writes it, or empty.
  std::u16string Finish() const {
    if (!fault_.empty()) return fault_;
    switch (stage_) {
      case eStage::kHeader:
        return u"ends inside its tag and count of reports (cut short?)";
      case eStage::kFixed:
      case eStage::kText:
        return Format(u"ends inside report %s of the %s its count gives (cut short?)", Number(read_ + 1),
                      Number(count_));
      case eStage::kEnd:
        break;
    }
    if (extra_ == 0) return {};
    return Format(u"holds %s bytes past the last of the %s reports its count gives", Number(extra_),
                  Number(count_));
  }

 private:
  enum class eStage { kHeader, kFixed, kText, kEnd };

  static std::u16string Number(std::uint64_t n) { return Utf8ToUtf16(std::to_string(n)); }

  std::string_view Step(std::string_view piece) {
    switch (stage_) {
      case eStage::kHeader:
        if (Gather(piece, kHeaderBytes)) ReadHeader();
        return piece;
      case eStage::kFixed:
        if (Gather(piece, kFixedReportBytes)) ReadFixed();
        return piece;
      case eStage::kText:
        return ReadText(piece);
      case eStage::kEnd:
        extra_ += piece.size();
        return {};
    }
    return {};
  }

  // Gathers the bytes of a fixed part; true once all `size` are there.
  bool Gather(std::string_view& piece, std::size_t size) {
    const std::size_t n = std::min(piece.size(), size - part_.size());
    part_.append(piece.substr(0, n));
    piece.remove_prefix(n);
    return part_.size() == size;
  }

  void ReadHeader() {
    count_ = ReadU32(part_, kTag.size());
    if (std::string_view(part_).substr(0, kTag.size()) != kTag) {
      fault_ = u"does not begin with the tag \"Qelv1\" the game writes";
    } else if (count_ > kMostStoredReports) {
      fault_ = Format(u"counts %s reports, more than a file of %s bytes holds", Number(count_),
                      Number(kReportsReadLimit));
    }
    part_.clear();
    NextReport();
  }

  void ReadFixed() {
    const std::u16string number = Number(read_ + 1);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
      const sReportField& field = fields_[i];
      const auto value = static_cast<std::int32_t>(ReadU32(part_, 4 * i));
      report_.*field.member = value;
      if (value < field.least || value > field.most) {
        fault_ = Format(u"gives report %s a %s of %i, where the game writes %i to %i", number, field.name, value,
                        field.least, field.most);
        return;
      }
    }
    if (!IsReportKind(report_.type)) {
      fault_ = Format(u"gives report %s a type of %i, which is no kind of report the game makes", number,
                      report_.type);
      return;
    }
    unitsLeft_ = ReadU32(part_, 4 * fields_.size());
    if (unitsLeft_ > kLargestStoredText) {
      fault_ = Format(u"gives report %s a text of %s characters, more than a file of %s bytes holds", number,
                      Number(unitsLeft_), Number(kReportsReadLimit));
      return;
    }
    part_.clear();
    report_.text.reserve(std::min<std::uint64_t>(unitsLeft_, kLargestText));
    stage_ = eStage::kText;
    if (unitsLeft_ == 0) EndReport();
  }

  // The text's units; a unit split between two pieces waits in part_.
  std::string_view ReadText(std::string_view piece) {
    const std::size_t n = std::min<std::uint64_t>(piece.size(), 2 * std::uint64_t{unitsLeft_} - part_.size());
    std::string_view bytes = piece.substr(0, n);
    piece.remove_prefix(n);
    if (!part_.empty()) {
      part_ += bytes.front();
      bytes.remove_prefix(1);
      AddUnit(ReadU16(part_, 0));
      part_.clear();
    }
    for (; bytes.size() >= 2; bytes.remove_prefix(2)) AddUnit(ReadU16(bytes, 0));
    part_ = bytes;
    if (unitsLeft_ == 0) EndReport();
    return piece;
  }

  // A text longer than the game keeps is cut, as the game cuts it.
  void AddUnit(char16_t unit) {
    if (report_.text.size() < kLargestText) report_.text.push_back(unit);
    --unitsLeft_;
  }

  void EndReport() {
    keep_(std::move(report_));
    report_ = sReport{};
    ++read_;
    NextReport();
  }

  void NextReport() { stage_ = read_ == count_ ? eStage::kEnd : eStage::kFixed; }

  const std::array<sReportField, 7> fields_;
  std::function<void(sReport)> keep_;
  eStage stage_ = eStage::kHeader;
  std::string part_;
  std::uint32_t count_ = 0;
  std::uint32_t read_ = 0;
  std::uint32_t unitsLeft_ = 0;
  std::uint64_t extra_ = 0;
  sReport report_;
  std::u16string fault_;
};

// Why the file was not read to its end, in words that follow its name, or empty.
std::u16string ReadFault(const sFileStream& read) {
  switch (read.refusal) {
    case eFileRefusal::kNone:
      return read.complete ? u"" : u"cannot be read (a read error)";
    case eFileRefusal::kMissing:
      return u"is missing, though the game writes it with every save";
    case eFileRefusal::kTooLarge:
      return Format(u"holds more than the %i bytes a file of its kind may hold",
                    static_cast<std::int64_t>(kReportsReadLimit));
    default:
      return Format(u"cannot be read (%s)", RefusalText(read.refusal));
  }
}

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
  const int dropped = Keep(std::move(report));
  // Once the list is full every new report drops an old one: told once, not
  // at every report.
  if (dropped > 0 && !full_) {
    full_ = true;
    LogFormat(u"Reports: the %i oldest reports were dropped to keep reports.dat within %i bytes; from now on each "
              u"new report drops the oldest ones",
              dropped, static_cast<std::int64_t>(kReportsFileBudget));
  }
}

int cReportList::Keep(sReport report) {
  // The list is kept within what a load reads back: a text longer than the
  // whole file may be is cut, and the oldest reports make room for new ones.
  if (report.text.size() > kLargestText) report.text.resize(kLargestText);
  bytes_ += FileBytes(report);
  reports_.push_back(std::move(report));
  int dropped = 0;
  while (bytes_ > kReportsFileBudget) {
    bytes_ -= FileBytes(reports_.front());
    reports_.pop_front();
    ++dropped;
  }
  return dropped;
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
  const auto fields = ReportFields(0);
  for (const sReport& r : reports_) {
    for (const sReportField& field : fields) AppendU32(out, static_cast<std::uint32_t>(r.*field.member));
    AppendU32(out, static_cast<std::uint32_t>(r.text.size()));
    for (char16_t unit : r.text) AppendU16(out, unit);
  }
  return out;
}

std::u16string cReportList::Deserialize(std::string_view bytes, std::int32_t countries) {
  Clear();
  cReportReader reader(countries, [this](sReport report) { Keep(std::move(report)); });
  reader.Take(bytes);
  std::u16string fault = reader.Finish();
  if (!fault.empty()) Clear();
  return fault;
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

void cReportList::Load(std::u16string_view path_template, std::int32_t countries) {
  const std::u16string path = FolderFilePath(path_template, u"reports.dat");
  Clear();
  int dropped = 0;
  cReportReader reader(countries, [this, &dropped](sReport report) { dropped += Keep(std::move(report)); });
  const sFileStream read = ReadFileInPieces(ResolveGamePath(path), kReportsReadLimit,
                                            [&reader](std::string_view piece) { reader.Take(piece); });
  if (const std::u16string fault = ReadFault(read); !fault.empty()) {
    LogFormat(u"ERROR: %s %s; the game is not loaded", path, fault);
    ExitDestroyingGame(1);
  }
  if (const std::u16string fault = reader.Finish(); !fault.empty()) RefuseDamagedTable(path, 0, fault);
  LogLine(u"Reports file opened OK");
  // A file of an earlier release may hold more than the game now keeps.
  if (dropped > 0) {
    full_ = true;
    LogFormat(u"Reports: the %i oldest reports of %s were dropped to keep the list within %i bytes, as the game "
              u"does when it adds one",
              dropped, path, static_cast<std::int64_t>(kReportsFileBudget));
  }
}

void cReportList::Select(std::list<sReport>& result, std::int32_t country, std::int32_t type) const {
  result.clear();
  for (const sReport& r : reports_) {
    if (r.country == country && r.type == type) result.push_back(r);
  }
}

}  // namespace tr
