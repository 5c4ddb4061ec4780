#include "datagen/large_scenario.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "foundation/file_read.h"
#include "foundation/format.h"
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
#include "world/map_records.h"
#include "world/relations.h"

namespace tr::datagen {

namespace {

constexpr int kOceanWidth = 20;
constexpr int kBlockColumns = 6;
constexpr int kCitiesPerCountry = 10;
constexpr int kShipsPerFleet = 5;

// Country k holds block (k-1) of a grid kBlockColumns wide; the blocks of the
// last column touch the ocean and each has one port.
struct sLayout {
  explicit sLayout(const sLargeScenarioShape& shape)
      : shape(shape),
        landWidth(shape.width - kOceanWidth),
        blockRows((shape.countries + kBlockColumns - 1) / kBlockColumns),
        blockWidth(landWidth / kBlockColumns),
        blockHeight(shape.height / blockRows) {}
  int CountryAt(int x, int y) const {
    const int column = std::min(x / blockWidth, kBlockColumns - 1);
    const int row = std::min(y / blockHeight, blockRows - 1);
    return std::min(1 + row * kBlockColumns + column, shape.countries);
  }
  int Left(int country) const { return ((country - 1) % kBlockColumns) * blockWidth; }
  int Top(int country) const { return ((country - 1) / kBlockColumns) * blockHeight; }
  // Sea nodes: 1..blockRows open sea, blockRows+1.. the ports, one per row.
  int PortY(int row) const { return row * blockHeight + blockHeight / 2; }
  int SeaNode(int row) const { return 1 + row; }
  int PortNode(int row) const { return 1 + blockRows + row; }

  sLargeScenarioShape shape;
  int landWidth;
  int blockRows;
  int blockWidth;
  int blockHeight;
};

// Alliances 1-3 are led by countries 1-3; countries up to 21 join them in
// turn and the rest stay neutral. Every alliance is at war with the others.
int AllianceOf(int country) { return country <= 21 ? 1 + (country - 1) % 3 : kNeutral; }

void AddCountries(cGame& game, const sLayout& layout) {
  for (int id = 1; id <= layout.shape.countries; ++id) {
    auto country = std::make_unique<cCountry>();
    country->id = id;
    country->isActive = 1;
    country->name = Format(u"Country%i", id);
    country->skinsName = country->name;
    const int alliance = AllianceOf(id);
    country->alliance = id <= 3 ? alliance + 3 : alliance;
    country->allianceEntry = alliance == kNeutral ? 10 : 100;
    country->politicalStrength = 20 + id;
    country->humanControlled = id == 1 ? 1 : 0;
    country->productionPoints = 50.0 + id;
    country->capitalX = layout.Left(id) + 2;
    country->capitalY = layout.Top(id) + 2;
    country->power = 1;
    country->region = 1;
    country->pbemPlayerId = id;
    country->colors = {0xFF000000u + static_cast<std::uint32_t>(id) * 0x050709u, 0xFF000000u, 0xFFFFFFFFu, 0xFF808080u};
    game.countries.push_back(std::move(country));
  }
  game.relations.Reset(layout.shape.countries);
  for (int a = 1; a <= layout.shape.countries; ++a) {
    for (int b = 1; b <= layout.shape.countries; ++b) {
      const int first = AllianceOf(a);
      const int second = AllianceOf(b);
      if (first != kNeutral && second != kNeutral && first != second) game.relations.SetWar(a, b, true);
    }
  }
}

void PaintMap(cGame& game, const sLayout& layout) {
  game.map = std::make_unique<cMap>(layout.shape.width, layout.shape.height);
  for (sHex& hex : game.map->Hexes()) {
    if (hex.x >= layout.landWidth) {
      hex.seaZone = static_cast<std::uint16_t>(layout.SeaNode(std::min(hex.y / layout.blockHeight, layout.blockRows - 1)));
      continue;
    }
    hex.terrain = static_cast<std::uint8_t>(1 + (hex.x / 3 + hex.y / 4) % 5);
    hex.controller = hex.owner = hex.originalOwner = static_cast<std::uint8_t>(layout.CountryAt(hex.x, hex.y));
    hex.fortLevel = (hex.x + hex.y) % 41 == 0 ? 1 : 0;
  }
  // The ports' marker hexes belong to their port node.
  for (int row = 0; row < layout.blockRows; ++row) {
    const int y = layout.PortY(row);
    game.map->GetHex(layout.landWidth, y)->seaZone = static_cast<std::uint16_t>(layout.PortNode(row));
    game.map->GetHex(layout.landWidth, y - 1)->seaZone = static_cast<std::uint16_t>(layout.PortNode(row));
  }
}

void AddCities(cGame& game, const sLayout& layout) {
  for (int id = 1; id <= layout.shape.countries; ++id) {
    for (int c = 0; c < kCitiesPerCountry; ++c) {
      auto city = std::make_unique<cCity>();
      city->name = Format(u"City%i_%i", id, c);
      city->x = layout.Left(id) + 2 + (c % 5) * (layout.blockWidth / 5);
      city->y = layout.Top(id) + 2 + (c / 5) * (layout.blockHeight / 2);
      city->type = c == 0 ? kCitySupply : (c % 4 == 3 ? kCityResources : kCityNormal);
      city->victoryPoints = city->type == kCityResources ? 0 : 1 + c % 3;
      city->productionPoints = 2.0f + static_cast<float>(c % 4);
      city->supply = city->type == kCitySupply ? 5 : 2;
      game.cities.push_back(std::move(city));
    }
  }
  for (int row = 0; row < layout.blockRows; ++row) {
    auto port = std::make_unique<cCity>();
    port->name = Format(u"Port%i", row);
    port->x = layout.landWidth - 1;
    port->y = layout.PortY(row);
    port->type = kCitySupplyPort;
    port->victoryPoints = 1;
    port->productionPoints = 3.0f;
    port->supply = 3;
    game.cities.push_back(std::move(port));
  }
}

// Units fill their country's block row by row, skipping the city hexes.
void AddUnits(cGame& game, const sLayout& layout) {
  const int countries = layout.shape.countries;
  int nextId = 1;
  for (int i = 0; i < layout.shape.landUnits; ++i) {
    const int owner = 1 + i % countries;
    const int slot = i / countries;
    auto unit = std::make_unique<cJednostkaLadowa>();
    unit->id = nextId++;
    unit->owner = owner;
    unit->name = Format(u"Division %i", unit->id);
    unit->SetType(i % kLandTypeCount);
    unit->level = 1;
    unit->strength = 60 + i % 40;
    unit->x = layout.Left(owner) + 1 + (slot * 2) % (layout.blockWidth - 2);
    unit->y = layout.Top(owner) + 3 + 2 * ((slot * 2) / (layout.blockWidth - 2));
    game.landUnits.push_back(std::move(unit));
  }
  for (int i = 0; i < layout.shape.airUnits; ++i) {
    const int owner = 1 + i % countries;
    auto unit = std::make_unique<cJednostkaLotnicza>();
    unit->id = 1 + i;
    unit->owner = owner;
    unit->name = Format(u"Wing %i", unit->id);
    unit->SetType(kFighter + i % 3);
    unit->level = 1;
    unit->strength = 50;
    // A row along the block's foot, then the rows above it: a wing never
    // shares a hex, and the block grows in height with the factor.
    const int slot = i / countries;
    unit->x = layout.Left(owner) + 1 + slot % (layout.blockWidth - 2);
    unit->y = layout.Top(owner) + layout.blockHeight - 2 - slot / (layout.blockWidth - 2);
    game.airUnits.push_back(std::move(unit));
  }
  // Fleets of the warring countries in every open sea, five ships each.
  int fleetId = 1;
  for (int i = 0; i < layout.shape.ships; ++i) {
    const int fleetIndex = i / kShipsPerFleet;
    if (i % kShipsPerFleet == 0) {
      auto fleet = std::make_unique<cFleet>();
      fleet->id = fleetId++;
      fleet->countryId = 1 + (fleetIndex / layout.blockRows) % 21;
      fleet->seaNodeId = layout.SeaNode(fleetIndex % layout.blockRows);
      fleet->name = Format(u"Fleet %i", fleet->id);
      game.fleets.push_back(std::move(fleet));
    }
    const cFleet& fleet = *game.fleets.back();
    auto ship = std::make_unique<cJednostkaMorska>();
    ship->id = 1 + i;
    ship->owner = fleet.countryId;
    ship->name = Format(u"Ship %i", ship->id);
    ship->SetType(kAircraftCarrier + i % 4);
    ship->fleetId = fleet.id;
    ship->hitPoints = ship->maxHitPoints = 6;
    game.navalUnits.push_back(std::move(ship));
  }
}

void WriteText(const std::u16string& folder, const char* file, std::string_view text, bool& ok) {
  std::ofstream out(ResolveGamePath(folder + u"\\" + Utf8ToUtf16(file)), std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  ok = ok && out.good();
}

std::string SeaNodesText(const sLayout& layout) {
  std::string text =
      "#ID;Name (seas only);Size max (0-sea / 1 to 9-port);Size current;Hex X (city hex X for ports);"
      "Hex Y (city hex Y for ports);Player unit hex X;Player unit hex Y;Enemy unit hex X;Enemy unit hex Y\r\n";
  const int seaX = layout.landWidth + kOceanWidth / 2;
  for (int row = 0; row < layout.blockRows; ++row) {
    const int y = layout.PortY(row);
    text += std::to_string(layout.SeaNode(row)) + ";Sea " + std::to_string(row) + ";0;0;" + std::to_string(seaX) +
            ";" + std::to_string(y) + ";" + std::to_string(seaX) + ";" + std::to_string(y + 1) + ";" +
            std::to_string(seaX + 1) + ";" + std::to_string(y + 1) + ";\r\n";
  }
  for (int row = 0; row < layout.blockRows; ++row) {
    const int y = layout.PortY(row);
    const std::string x = std::to_string(layout.landWidth);
    text += std::to_string(layout.PortNode(row)) + ";-;6;6;" + std::to_string(layout.landWidth - 1) + ";" +
            std::to_string(y) + ";" + x + ";" + std::to_string(y) + ";" + x + ";" + std::to_string(y - 1) + ";\r\n";
  }
  return text;
}

std::string SeaEdgesText(const sLayout& layout) {
  std::string text = "#From;To;Hex X;Hex Y\r\n";
  const auto edge = [&text](int a, int b) {
    text += std::to_string(a) + ";" + std::to_string(b) + ";-1;-1;\r\n";
    text += std::to_string(b) + ";" + std::to_string(a) + ";-1;-1;\r\n";
  };
  for (int row = 0; row < layout.blockRows; ++row) {
    if (row + 1 < layout.blockRows) edge(layout.SeaNode(row), layout.SeaNode(row + 1));
    edge(layout.SeaNode(row), layout.PortNode(row));
  }
  return text;
}

// From every port to every other, the country holding the port ships
// supplies and production points, so the convoys meet the fleets at sea.
std::string ConvoysText(const sLayout& layout) {
  std::string text =
      "#Convoys\r\n#ID;Owner ID;Type [0=supplies 1=PP];Value (PP amount);Departure port ID;Destination port ID;\r\n";
  int id = 1;
  for (int from = 0; from < layout.blockRows; ++from) {
    const int owner = layout.CountryAt(layout.landWidth - 1, layout.PortY(from));
    for (int to = 0; to < layout.blockRows; ++to) {
      if (to == from) continue;
      for (const char* kindAndAmount : {"0;5;", "1;8;"}) {
        text += std::to_string(id++) + ";" + std::to_string(owner) + ";" + kindAndAmount +
                std::to_string(layout.PortNode(from)) + ";" + std::to_string(layout.PortNode(to)) + ";\r\n";
      }
    }
  }
  return text;
}

// Each country's cities in a chain by road, and its capital by rail to the
// next country's capital.
std::string CitiesDiagramText(const cGame& game, const sLayout& layout) {
  std::string text = "# x1;y1;x2;y2;kind\r\n";
  std::vector<const cCity*> cities;
  for (const auto& city : game.cities) cities.push_back(city.get());
  const auto edge = [&text](const cCity& a, const cCity& b, int kind) {
    for (const auto& [from, to] : {std::pair{&a, &b}, std::pair{&b, &a}}) {
      text += std::to_string(from->x) + ";" + std::to_string(from->y) + ";" + std::to_string(to->x) + ";" +
              std::to_string(to->y) + ";" + std::to_string(kind) + "\r\n";
    }
  };
  for (int id = 1; id <= layout.shape.countries; ++id) {
    const int first = (id - 1) * kCitiesPerCountry;
    for (int c = 1; c < kCitiesPerCountry; ++c) {
      if (cities[first + c]->type != kCityResources && cities[first + c - 1]->type != kCityResources) {
        edge(*cities[first + c - 1], *cities[first + c], 0);
      }
    }
    if (id < layout.shape.countries) edge(*cities[first], *cities[first + kCitiesPerCountry], 1);
  }
  return text;
}

constexpr char kEvents[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<events>\n"
    "<event eventID=\"1\" countryID=\"1\" visibleByPlayer=\"1\" oneTimeChecking=\"1\"><title>Mobilisation</title>\n"
    "  <options>\n"
    "    <option optionID=\"1\" chanceAI=\"40\"><description>Wait</description></option>\n"
    "    <option optionID=\"2\" chanceAI=\"60\"><description>Mobilise</description></option>\n"
    "  </options>\n"
    "</event>\n"
    "</events>\n";

}  // namespace

sLargeScenarioShape ScaledLargeScenarioShape(int factor) {
  sLargeScenarioShape shape;
  factor = std::max(factor, 1);
  shape.height *= factor;
  shape.landUnits *= factor;
  shape.airUnits *= factor;
  shape.ships *= factor;
  return shape;
}

int LargestLargeScenarioFactor() {
  const sLargeScenarioShape shape;
  const std::uint64_t recordsPerFactor =
      static_cast<std::uint64_t>(shape.width) * static_cast<std::uint64_t>(shape.height);
  return static_cast<int>((kMapFileBudget - kQelHeaderSize) / (recordsPerFactor * kQelRecordSize));
}

std::unique_ptr<cGame> BuildLargeGame(const sLargeScenarioShape& shape) {
  auto game = std::make_unique<cGame>();
  const sLayout layout(shape);
  AddCountries(*game, layout);
  PaintMap(*game, layout);
  AddCities(*game, layout);
  AddUnits(*game, layout);
  // The hexes point at their city and land unit, as after a load.
  for (const auto& city : game->cities) game->map->GetHex(city->x, city->y)->city = city.get();
  for (const auto& unit : game->landUnits) game->map->GetHex(unit->x, unit->y)->unit = unit.get();
  game->unitNamesFile = "#Unit names\r\n;;1;2;3\r\n1;Infantry;Line;Guard;Militia\r\n";
  return game;
}

bool WriteLargeScenario(cGame& game, std::u16string_view name, std::string_view constants) {
  const sLayout layout(sLargeScenarioShape{game.map->GetWidth() , game.map->GetHeight(), game.CountryCount(),
                                           0, 0, 0});
  const std::u16string folder = u"data\\scenarios\\" + std::u16string(name);
  std::filesystem::create_directories(ResolveGamePath(folder));
  game.scenarioName = std::u16string(name);
  cGame* previous = gGame;
  gGame = &game;
  bool ok = game.map->Save(folder, {}) && WriteFlags(game, folder) && WriteCities(game, folder) &&
            WriteCommanders(game, folder) && WriteLandUnits(game, folder) && WriteAirUnits(game, folder) &&
            WriteFleets(game, folder) && WriteNavalUnits(game, folder) && WriteCountries(game, folder) &&
            WriteUnitNames(game, folder) && WriteAirshipAttacks(game, folder) && WriteAirReconUnits(game, folder) &&
            WriteRelations(game, folder) && WriteLosses(game, folder) && WriteAIData(game, folder);
  gGame = previous;
  const std::string scenario = Utf16ToCodePage(std::u16string(name));
  const std::string info = "[General_ENG]\r\nName=Large " + scenario +
                           "\r\nDescriptionLine1=A generated scenario for benchmarks\r\n[Duration]\r\nTurns=100\r\n"
                           "[Map]\r\nSizeX=" + std::to_string(layout.shape.width) + "\r\nSizeY=" +
                           std::to_string(layout.shape.height) +
                           "\r\n[Save]\r\nImpulse=1\r\nGameMonth=9\r\nGameYear=1939\r\nGameDay=1\r\nTurn=1\r\n"
                           "ScenarioName=" + scenario + "\r\n";
  WriteText(folder, "Info.ini", info, ok);
  WriteText(folder, "consts.csv", constants, ok);
  WriteText(folder, "sea_nodes.csv", SeaNodesText(layout), ok);
  WriteText(folder, "sea_edges.csv", SeaEdgesText(layout), ok);
  WriteText(folder, "convoys.csv", ConvoysText(layout), ok);
  WriteText(folder, "cities_diagram.csv", CitiesDiagramText(game, layout), ok);
  WriteText(folder, "events.xml", kEvents, ok);
  WriteText(folder, "event_files.txt", "; the generated scenario's events\r\n" + Utf16ToCodePage(folder) + "\\events.xml\r\n", ok);
  return ok;
}

}  // namespace tr::datagen
