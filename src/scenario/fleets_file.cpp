#include "scenario/fleets_file.h"

#include <algorithm>
#include <memory>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "turn/fleet.h"
#include "world/gra.h"
#include "world/hex.h"
#include "world/value_limits.h"

namespace tr {
namespace {

constexpr std::u16string_view kRow = u"\n%i;%s;%i;%i;%i;%i;%i;%i;%i;%i;%i;";
constexpr std::u16string_view kHeader =
    u"#Fleets\n#ID;Name;Country ID;Sea node ID;Formation [0=regular 1=raiders];Has Moved? [0=false 1=true];Order "
    u"(AI);Destination sea node ID (AI);Invasion hex X(AI);Invasion hex Y (AI);Is active? [0=false 1=true]";

// A fleet's country and sea node exist, and its destination is a sea node,
// or -1 or 0 for none (or the load stops): the AI and the events send it to
// a node or a hex's sea zone. Its AI order and invasion hex are kept as a
// scenario or an event gives them, their readers taking any number.
constexpr sSavedField kFleetFields[] = {
    SavedWhole(u"ID", 0, kMaxObjectNumber),
    SavedText(u"Name", kNameBytes),
    SavedWhole(u"Country ID", 1, kMaxCountryNumber),
    SavedWhole(u"Sea node ID", 1, kMaxSeaNodeNumber),
    SavedWhole(u"Formation", kFleetRegular, kFleetRaiders),
    SavedSwitch(u"Has Moved?"),
    SavedAnyWhole(u"Order (AI)"),
    SavedWhole(u"Destination sea node ID (AI)", -1, kMaxSeaNodeNumber),
    SavedAnyWhole(u"Invasion hex X (AI)"),
    SavedAnyWhole(u"Invasion hex Y (AI)"),
    SavedSwitch(u"Is active?"),
};
constexpr std::size_t kFleetKey[] = {0};
constexpr sSavedLine kFleetLines[] = {{.fields = kFleetFields, .unique = kFleetKey}};

}  // namespace

const sSavedTable kFleetsFields{u"fleets.csv", kFleetLines};

void LoadFleets(cGame& game, std::u16string_view folder_template) {
  const std::u16string path = FolderFilePath(folder_template, u"fleets.csv");
  cCsvReader reader = OpenTable(kOpeningNavalUnitsLine, path);
  game.fleets.clear();
  cTableRows table(reader, kRow, path, game.loadedGame == 1);
  while (table.Next()) {
    const auto& f = table.fields();
    const int line = table.line();
    const std::int32_t id = FieldInt(f, 0);
    if (id < 0 || id > kMaxObjectNumber) {
      LogRowOutOfRange(u"Fleet ID", id, path, line);
      continue;
    }
    // Ships find their fleet by number: a second fleet with it would share them.
    if (std::any_of(game.fleets.begin(), game.fleets.end(), [&](const auto& other) { return other->id == id; })) {
      if (ReadingSavedTable(path)) RefuseDamagedTable(path, line, Format(u"has the fleet ID %i a second time", id));
      LogAboutFile(path,
                   u"WARNING: fleet ID %i in %s at line %i (counting from 1) is already used; row skipped",
                   id, path, line);
      continue;
    }
    auto fleet = std::make_unique<cFleet>();
    fleet->id = id;
    fleet->fileLine = line;
    fleet->name = CutName(f[1]);
    fleet->countryId = FieldInt(f, 2);
    fleet->seaNodeId = FieldInt(f, 3);
    // Any other formation would be played as neither.
    fleet->formation = FieldIntIn(f, 4, kFleetRegular, kFleetRaiders, kFleetRegular, u"Fleet formation", path, line);
    fleet->hasMoved = FieldSwitch(f, 5, path, line) ? 1 : 0;
    fleet->aiOrder = FieldInt(f, 6);
    fleet->aiDestinationNode = FieldInt(f, 7);
    fleet->aiInvasionX = FieldInt(f, 8);
    fleet->aiInvasionY = FieldInt(f, 9);
    fleet->active = FieldSwitch(f, 10, path, line) ? 1 : 0;
    LogFormat(u"Added fleet %s (ID=%i CountryID=%i Location=%i)", fleet->name, fleet->id, fleet->countryId,
              fleet->seaNodeId);
    game.fleets.push_back(std::move(fleet));
  }
}

bool WriteFleets(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"fleets.csv"));
  if (!writer.ok()) return false;
  writer.Write(kHeader);
  for (const auto& f : game.fleets) {
    writer.Write(Format(kRow, f->id, SanitizeFieldText(f->name), f->countryId,
                        f->seaNodeId, f->formation, f->hasMoved ? 1 : 0, f->aiOrder, f->aiDestinationNode,
                        f->aiInvasionX, f->aiInvasionY, f->active ? 1 : 0));
  }
  return writer.Commit();
}

}  // namespace tr
