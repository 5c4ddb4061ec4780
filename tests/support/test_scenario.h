// A complete scenario in a temporary game folder: every table a new game
// reads (Info.ini, constants, map, flags, cities, commanders, land, air and
// naval units, fleets, countries, unit names, airship attacks, air recon,
// relations, losses, cities diagram, sea nodes and edges, convoys, events,
// AI data), with the folders a save and a play-by-e-mail turn need.
//
// The world is three countries on a 10 x 8 map: land in columns 0-5, sea in
// 6-9; rows 0-2 belong to country 1 (axis), 3-5 to country 2 (allies), 6-7
// to the neutral country 3. Countries 1 and 2 are at war. The builder holds
// the world as a game in memory; change it before Write to vary a case.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "support/temp_dir.h"
#include "world/gra.h"

namespace tr::test {

class TestScenario {
 public:
  // Builds the world and makes the temporary folder the game root.
  explicit TestScenario(std::u16string name = u"Test");
  ~TestScenario();
  TestScenario(const TestScenario&) = delete;
  TestScenario& operator=(const TestScenario&) = delete;

  // The world the tables are written from.
  cGame& world() { return *world_; }
  // Writes every table into data/scenarios/<name>.
  void Write();

  // "data\scenarios\<name>\%s".
  std::u16string FolderTemplate() const;
  const std::u16string& name() const { return name_; }
  const std::filesystem::path& root() const { return dir_.path(); }
  std::filesystem::path ScenarioFolder() const;
  // Replaces (or creates) one file of the scenario folder.
  void WriteFile(std::string_view file, std::string_view bytes) const;
  void RemoveFile(std::string_view file) const;

 private:
  void BuildWorld();
  void WriteHandMadeTables() const;

  std::u16string name_;
  TempDir dir_;
  std::filesystem::path oldRoot_;
  std::unique_ptr<cGame> world_;
};

}  // namespace tr::test
