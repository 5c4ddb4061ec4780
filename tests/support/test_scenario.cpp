#include "support/test_scenario.h"

#include <fstream>

#include "foundation/paths.h"
#include "foundation/text.h"
#include "scenario/ai_data_file.h"
#include "scenario/air_recon_file.h"
#include "scenario/air_units_file.h"
#include "scenario/airship_attacks_file.h"
#include "scenario/cities_file.h"
#include "scenario/commanders_file.h"
#include "scenario/countries_file.h"
#include "scenario/flags_file.h"
#include "scenario/fleets_file.h"
#include "scenario/land_units_file.h"
#include "scenario/naval_units_file.h"
#include "scenario/unit_names_file.h"
#include "world/relations.h"

namespace tr::test {

namespace {

constexpr int kWidth = 10;
constexpr int kHeight = 8;
constexpr int kLastLandColumn = 5;

int OwnerOfRow(int y) { return y < 3 ? 1 : (y < 6 ? 2 : 3); }

// 184 data lines: a month of four impulses, and small plain values elsewhere
// so that no rule divides by zero.
std::string ConstantsFile() {
  std::string text = "#Scenario constants of the test scenario\r\n";
  for (int line = 1; line <= 184; ++line) {
    text += line == 1 ? "4;4;4;4;4;4;4;4;4;4;4;4" : "1;1;1;1;1;1;1;1;1;1;1;1";
    text += "\r\n";
  }
  return text;
}

constexpr char kInfo[] =
    "[General_ENG]\r\nName=Test scenario\r\nDescriptionLine1=Three countries, two seas\r\n"
    "[Duration]\r\nTurns=60\r\n"
    "[Map]\r\nSizeX=10\r\nSizeY=8\r\n"
    "[Save]\r\nImpulse=1\r\nGameMonth=9\r\nGameYear=1939\r\nGameDay=1\r\nTurn=1\r\nScenarioName=%NAME%\r\n";

constexpr char kSeaNodes[] =
    "#ID;Name (seas only);Size max (0-sea / 1 to 9-port);Size current;Hex X (city hex X for ports);"
    "Hex Y (city hex Y for ports);Player unit hex X;Player unit hex Y;Enemy unit hex X;Enemy unit hex Y"
    "\r\n1;Northern Sea;0;0;7;1;7;2;8;2;"
    "\r\n2;-;3;3;5;1;6;1;6;0;"
    "\r\n3;-;4;2;5;4;6;4;6;5;"
    "\r\n4;Southern Sea;0;0;8;6;7;6;8;7;";

constexpr char kSeaEdges[] =
    "#From;To;Hex X;Hex Y\r\n1;2;-1;-1;\r\n2;1;-1;-1;\r\n1;4;-1;-1;\r\n4;1;-1;-1;\r\n4;3;-1;-1;\r\n3;4;-1;-1;\r\n";

constexpr char kConvoys[] =
    "#Convoys\r\n#ID;Owner ID;Type [0=supplies 1=PP];Value (PP amount);Departure port ID;Destination port ID;"
    "\r\n3;1;0;5;2;3;";

// Berg -> Kiel, Kiel -> Berg, London -> Dover, Dover -> London, Neutra -> London (kind 1).
constexpr char kCitiesDiagram[] =
    "# x1;y1;x2;y2;kind\r\n1;1;5;1;0\r\n5;1;1;1;0\r\n2;4;5;4;0\r\n5;4;2;4;0\r\n4;7;2;4;1\r\n";

constexpr char kEvents[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<events>\n"
    "<event eventID=\"1\" countryID=\"1\" visibleByPlayer=\"1\" oneTimeChecking=\"1\"><title>Mobilisation</title>\n"
    "  <options>\n"
    "    <option optionID=\"1\" chanceAI=\"20\"><description>Wait</description></option>\n"
    "    <option optionID=\"2\" chanceAI=\"80\"><description>Mobilise</description></option>\n"
    "  </options>\n"
    "</event>\n"
    "<event eventID=\"2\" countryID=\"2\" visibleByPlayer=\"1\" oneTimeChecking=\"1\"><title>Treaty</title>\n"
    "  <options><option optionID=\"7\" chanceAI=\"50\"><description>Sign</description></option></options>\n"
    "</event>\n"
    "</events>\n";

constexpr char kUnitNames[] =
    "#Unit names\r\n;;1;2;3\r\n1;Infantry;Grenadiere;Fusiliers;Militia\r\n8;Fighter;Jagd;Spitfire;\r\n";

cCity& AddCity(cGame& game, std::u16string name, int x, int y, int type, int victoryPoints) {
  auto city = std::make_unique<cCity>();
  city->name = std::move(name);
  city->x = x;
  city->y = y;
  city->type = type;
  city->victoryPoints = victoryPoints;
  city->productionPoints = 2.5f * static_cast<float>(victoryPoints + 1);
  city->supply = 3;
  game.cities.push_back(std::move(city));
  return *game.cities.back();
}

void AddCountry(cGame& game, int id, std::u16string name, int alliance, bool human) {
  auto country = std::make_unique<cCountry>();
  country->id = id;
  country->isActive = 1;
  country->name = std::move(name);
  country->skinsName = country->name;
  country->alliance = alliance;
  country->allianceEntry = alliance == kNeutral ? 10 : 100;
  country->politicalStrength = 50 + id;
  country->humanControlled = human ? 1 : 0;
  country->productionPoints = 100.0 * id;
  country->capitalX = 1;
  country->capitalY = OwnerOfRow(0) == id ? 1 : 4;
  country->power = 1;
  country->region = 2;
  country->pbemPlayerId = id;
  country->colors = {0xFF102030u + static_cast<std::uint32_t>(id), 0xFF000000u, 0xFFFFFFFFu, 0xFF808080u};
  game.countries.push_back(std::move(country));
}

template <typename Unit>
Unit& Named(Unit& unit, int id, std::u16string name, int owner, int x, int y) {
  unit.id = id;
  unit.name = std::move(name);
  unit.owner = owner;
  unit.x = x;
  unit.y = y;
  return unit;
}

}  // namespace

TestScenario::TestScenario(std::u16string name) : name_(std::move(name)), oldRoot_(GameRoot()) {
  SetGameRoot(dir_.path());
  std::filesystem::create_directories(dir_.path() / "data/save");
  std::filesystem::create_directories(dir_.path() / "data/pbem");
  std::filesystem::create_directories(ScenarioFolder());
  BuildWorld();
}

TestScenario::~TestScenario() { SetGameRoot(oldRoot_); }

std::u16string TestScenario::FolderTemplate() const { return u"data\\scenarios\\" + name_ + u"\\%s"; }

std::filesystem::path TestScenario::ScenarioFolder() const {
  return dir_.path() / "data" / "scenarios" / Utf16ToUtf8(name_);
}

void TestScenario::WriteFile(std::string_view file, std::string_view bytes) const {
  std::ofstream out(ScenarioFolder() / std::string(file), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TestScenario::RemoveFile(std::string_view file) const { std::filesystem::remove(ScenarioFolder() / std::string(file)); }

void TestScenario::BuildWorld() {
  world_ = std::make_unique<cGame>();
  cGame& game = *world_;
  game.scenarioName = name_;
  game.map = std::make_unique<cMap>(kWidth, kHeight);
  for (sHex& hex : game.map->Hexes()) {
    if (hex.x > kLastLandColumn) {
      // The sea zones agree with the sea nodes: the ports' marker hexes carry their node.
      hex.seaZone = hex.y < 4 ? 1 : 4;
      if (hex.x == 6 && hex.y <= 1) hex.seaZone = 2;
      if (hex.x == 6 && (hex.y == 4 || hex.y == 5)) hex.seaZone = 3;
      continue;
    }
    hex.terrain = static_cast<std::uint8_t>(1 + (hex.x + hex.y) % 3);
    hex.controller = hex.owner = hex.originalOwner = static_cast<std::uint8_t>(OwnerOfRow(hex.y));
  }
  game.map->GetHex(2, 2)->controller = 2;  // a hex the allies have taken
  game.map->GetHex(3, 1)->fortLevel = 2;

  AddCountry(game, 1, u"Germania", kAxisLeader, true);
  AddCountry(game, 2, u"Albion", kAlliesLeader, false);
  AddCountry(game, 3, u"Neutralia", kNeutral, false);
  game.relations.Reset(3);
  game.relations.SetWar(1, 2, true);
  game.relations.SetWar(2, 1, true);
  game.relations.AddLosses(1, 2, 12.5f);
  game.flags[0] = 1;
  game.flags[17] = -4;
  game.flags[39999] = 123456;

  AddCity(game, u"Berg", 1, 1, kCityNormal, 3);
  AddCity(game, u"Kiel", 5, 1, kCitySupplyPort, 1);
  AddCity(game, u"London", 2, 4, kCitySupply, 5);
  AddCity(game, u"Dover", 5, 4, kCityPort, 1);
  AddCity(game, u"Ore", 2, 6, kCityResources, 0);
  AddCity(game, u"Neutra", 4, 7, kCityNormal, 2);

  auto commander = std::make_unique<sCommander>();
  commander->id = 1;
  commander->name = u"Kestrin";
  commander->countryId = 1;
  commander->skill = 4;
  commander->experience = 2;
  commander->state = kCommanderAssigned;
  game.commanders.push_back(std::move(commander));

  auto infantry = std::make_unique<cJednostkaLadowa>();
  Named(*infantry, 1, u"1st Infantry", 1, 1, 0).SetType(kInfantryDivision);
  infantry->level = 2;
  infantry->strength = 90;
  infantry->supply = 8;
  infantry->attachedCommander = game.commanders.front().get();
  game.commanders.front()->headquarters = infantry.get();
  game.landUnits.push_back(std::move(infantry));
  auto armour = std::make_unique<cJednostkaLadowa>();
  Named(*armour, 2, u"2nd Armour", 2, 3, 4).SetType(kInfantryDivision + 1);
  armour->level = 1;
  armour->strength = 70;
  game.landUnits.push_back(std::move(armour));

  auto fighter = std::make_unique<cJednostkaLotnicza>();
  Named(*fighter, 1, u"JG 1", 1, 0, 2).SetType(kTacticalBomber);
  fighter->level = 1;
  fighter->strength = 40;
  game.airUnits.push_back(std::move(fighter));
  auto spare = std::make_unique<cJednostkaLotnicza>();
  Named(*spare, 2, u"RAF Reserve", 2, -1, -1).SetType(kTacticalBomber);
  spare->inReserve = 1;
  spare->availableInTurns = 2;
  game.reservePool.push_back(std::move(spare));
  auto reserve = std::make_unique<cJednostkaLadowa>();
  Named(*reserve, 4, u"Volunteers", 1, -1, -1).SetType(kInfantryDivision);
  reserve->level = 1;
  reserve->strength = 50;
  reserve->inReserve = 1;
  reserve->availableInTurns = 3;
  game.reservePool.push_back(std::move(reserve));

  auto homeFleet = std::make_unique<cFleet>();
  homeFleet->id = 1;
  homeFleet->name = u"Home Fleet";
  homeFleet->countryId = 2;
  homeFleet->seaNodeId = 3;
  game.fleets.push_back(std::move(homeFleet));
  auto baltic = std::make_unique<cFleet>();
  baltic->id = 2;
  baltic->name = u"Baltic Squadron";
  baltic->countryId = 1;
  baltic->seaNodeId = 2;
  game.fleets.push_back(std::move(baltic));
  auto battleship = std::make_unique<cJednostkaMorska>();
  Named(*battleship, 1, u"Warspite", 2, -1, -1).SetType(kBattleship);
  battleship->fleetId = 1;
  battleship->hitPoints = battleship->maxHitPoints = 10;
  game.navalUnits.push_back(std::move(battleship));
  auto cargo = std::make_unique<cJednostkaMorska>();
  Named(*cargo, 2, u"Transport 1", 1, -1, -1).SetType(kCargoShip);
  cargo->fleetId = 2;
  cargo->hitPoints = cargo->maxHitPoints = 3;
  cJednostkaMorska* carrier = cargo.get();
  game.navalUnits.push_back(std::move(cargo));
  auto spareShip = std::make_unique<cJednostkaMorska>();
  Named(*spareShip, 3, u"Reserve Cruiser", 2, -1, -1).SetType(kBattleship);
  spareShip->inReserve = 1;
  spareShip->hitPoints = spareShip->maxHitPoints = 6;
  game.navalReserve.push_back(std::move(spareShip));
  auto aboard = std::make_unique<cJednostkaLadowa>();
  Named(*aboard, 3, u"Marines", 1, -1, -1).SetType(kInfantryDivision);
  aboard->level = 1;
  aboard->strength = 60;
  aboard->transporter = carrier;
  game.aboardUnitsA.push_back(std::move(aboard));

  game.countries[1]->airshipAttackReports.push_back(u"Zeppelin over London");
  game.countries[0]->reconSpottedUnits.push_back(game.landUnits.back().get());
  game.unitNamesFile = kUnitNames;
}

void TestScenario::WriteHandMadeTables() const {
  std::string info = kInfo;
  info.replace(info.find("%NAME%"), 6, Utf16ToCodePage(name_));
  WriteFile("Info.ini", info);
  WriteFile("consts.csv", ConstantsFile());
  WriteFile("sea_nodes.csv", kSeaNodes);
  WriteFile("sea_edges.csv", kSeaEdges);
  WriteFile("convoys.csv", kConvoys);
  WriteFile("cities_diagram.csv", kCitiesDiagram);
  WriteFile("events.xml", kEvents);
  WriteFile("event_files.txt", "; the test scenario's events\r\ndata\\scenarios\\" + Utf16ToCodePage(name_) + "\\events.xml\r\n");
}

void TestScenario::Write() {
  cGame* previous = gGame;
  gGame = world_.get();
  const std::u16string folder = u"data\\scenarios\\" + name_;
  const cGame& game = *world_;
  const bool written = game.map->Save(folder, {}) && WriteFlags(game, folder) && WriteCities(game, folder) &&
                       WriteCommanders(game, folder) && WriteLandUnits(game, folder) && WriteAirUnits(game, folder) &&
                       WriteFleets(game, folder) && WriteNavalUnits(game, folder) && WriteCountries(game, folder) &&
                       WriteUnitNames(game, folder) && WriteAirshipAttacks(game, folder) &&
                       WriteAirReconUnits(game, folder) && WriteRelations(game, folder) && WriteLosses(game, folder) &&
                       WriteAIData(game, folder);
  gGame = previous;
  if (!written) throw std::runtime_error("the test scenario could not be written");
  WriteHandMadeTables();
}

}  // namespace tr::test
