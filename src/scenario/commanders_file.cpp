#include "scenario/commanders_file.h"

#include <memory>
#include <unordered_set>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/log_bound.h"
#include "scenario/saved_fields.h"
#include "scenario/scenario_paths.h"
#include "scenario/table_reader.h"
#include "scenario/table_writer.h"
#include "world/commander.h"
#include "world/gra.h"
#include "world/value_limits.h"

namespace tr {
namespace {

constexpr std::u16string_view kRow = u"\n%i;%s;%i;%i;%i;%i;%i;";
constexpr std::u16string_view kHeader =
    u"#Commanders\n#ID;Name;Country ID;Type [0=land 1=air 2=naval];Skill;Experience;State [0=not assigned 1=on "
    u"his way to HQ 2=assigned]";

// A commander's country is kept as a scenario gives it, its reader taking
// any number: one of no country leads nothing and stays in the list.
constexpr sSavedField kCommanderFields[] = {
    SavedWhole(u"ID", 0, kMaxObjectNumber),
    SavedText(u"Name", kNameBytes),
    SavedAnyWhole(u"Country ID"),
    SavedWhole(u"Type", 0, 2),
    SavedWhole(u"Skill", 0, kMaxCommanderSkill),
    SavedWhole(u"Experience", 0, kMaxTurnCount),
    SavedWhole(u"State", kCommanderNotAssigned, kCommanderAssigned),
};
constexpr std::size_t kCommanderKey[] = {0};
constexpr sSavedLine kCommanderLines[] = {{.fields = kCommanderFields, .unique = kCommanderKey}};

}  // namespace

const sSavedTable kCommandersFields{u"commanders.csv", kCommanderLines};

void LoadCommanders(cGame& game, std::u16string_view folder_template) {
  const std::u16string path = FolderFilePath(folder_template, u"commanders.csv");
  cCsvReader reader = OpenTable(kOpeningCommandersLine, path);
  game.commanders.clear();
  cTableRows table(reader, kRow, path, game.loadedGame == 1);
  std::unordered_set<std::int32_t> used;
  while (table.Next()) {
    const auto& f = table.fields();
    const int line = table.line();
    const std::int32_t id = FieldInt(f, 0);
    // The units name their commander by number (-1 for none): one out of
    // range or given twice would lead another's units.
    if (id < 0 || id > kMaxObjectNumber) {
      LogRowOutOfRange(u"Commander ID", id, path, line);
      continue;
    }
    if (!used.insert(id).second) {
      LogAboutFile(path, u"WARNING: commander ID %i in %s at line %i (counting from 1) is already used; row skipped",
                   id, path, line);
      continue;
    }
    auto commander = std::make_unique<sCommander>();
    commander->id = id;
    commander->fileLine = line;
    commander->name = CutName(f[1]);
    commander->countryId = FieldInt(f, 2);
    // Forces led: land, air or naval; any other is read as land.
    commander->type = FieldIntIn(f, 3, 0, 2, 0, u"Commander type", path, line);
    // Skill and experience are multiplied by the constants' factors.
    commander->skill = FieldIntIn(f, 4, 0, kMaxCommanderSkill, 0, u"Commander skill", path, line);
    commander->experience = FieldIntIn(f, 5, 0, kMaxTurnCount, 0, u"Commander experience", path, line);
    commander->state = FieldIntIn(f, 6, kCommanderNotAssigned, kCommanderAssigned, kCommanderNotAssigned,
                                  u"Commander state", path, line);
    LogFormat(u"Added commander %s (ID=%i CountryID=%i)", commander->name, commander->id, commander->countryId);
    game.commanders.push_back(std::move(commander));
  }
}

bool WriteCommanders(const cGame& game, std::u16string_view folder) {
  cTableWriter writer(SaveFilePath(folder, u"commanders.csv"));
  if (!writer.ok()) return false;
  writer.Write(kHeader);
  for (const auto& c : game.commanders) {
    writer.Write(Format(kRow, c->id, SanitizeFieldText(c->name), c->countryId, c->type,
                        c->skill, c->experience, c->state));
  }
  return writer.Commit();
}

}  // namespace tr
