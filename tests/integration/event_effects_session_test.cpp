// Every effect method of the event language in one event of the shipped
// sample: the file loads and validates through the real loader, the event
// fires in an end-of-impulse check, and the game saves and loads back with
// every unit the effects made in its place. Driven to the ends of what they
// accept, the effects make nothing that the game's own load changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ai/game_invariants.h"
#include "events/effect_methods.h"
#include "foundation/paths.h"
#include "foundation/random.h"
#include "foundation/text.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "turn/game_steps.h"
#include "world/game_start.h"
#include "world/gra.h"
#include "world/headless_presentation.h"
#include "world/tech_levels.h"
#include "world/value_limits.h"

namespace tr {
namespace {

constexpr sLocalTime kClock{2012, 5, 6, 10, 0};
constexpr char16_t kScenario[] = u"data\\scenarios\\NorthernTide\\%s";
constexpr int kLegion = 9;  // the sample's country without forces

struct sPoint2 {
  int x = -1;
  int y = -1;
};

// Places on the loaded sample that the effects need, found rather than
// written down, so the test follows the sample's data.
struct sPlaces {
  std::vector<sPoint2> freeLand;  // land, no unit, no city, no port, held by someone
  sPoint2 landUnit;               // a land unit to freeze, teleport and kill
  int landUnitOwner = 0;
  sPoint2 otherLandUnit;
  sPoint2 city;   // a city not held by the legion
  sPoint2 coast;  // land beside a sea zone
  int seaZone = 0;
  int port = 0;  // a port node
  int portController = 0;
  std::vector<sPoint2> portCities;  // the cities of the port nodes
};

sPlaces FindPlaces(const cGame& game) {
  sPlaces places;
  const cMap& map = *game.map;
  for (int y = 2; y < map.GetHeight() - 2; ++y) {
    for (int x = 2; x < map.GetWidth() - 2; ++x) {
      const sHex& hex = *map.GetHex(x, y);
      if (!hex.IsLand()) continue;
      if (!hex.unit && !hex.city && !hex.port && hex.controller != 0 && hex.seaZone == 0) {
        places.freeLand.push_back({x, y});
      }
      if (hex.city && !hex.unit && hex.controller != kLegion && places.city.x < 0) places.city = {x, y};
      if (hex.seaZone != 0 && !hex.unit && places.coast.x < 0) places.coast = {x, y};
    }
  }
  for (const auto& unit : game.landUnits) {
    if (unit->type == kMulberryType || unit->attachedCommander) continue;
    if (places.landUnit.x < 0) {
      places.landUnit = {unit->x, unit->y};
      places.landUnitOwner = unit->owner;
    } else if (places.otherLandUnit.x < 0) {
      places.otherLandUnit = {unit->x, unit->y};
    }
  }
  for (const sWezelGrafuMorz& node : game.seaGraph.nodes) {
    if (node.type == kSeaNodeOpenSea && places.seaZone == 0) places.seaZone = node.id;
    if (node.IsPort() && map.GetHex(node.x, node.y)->city) places.portCities.push_back({node.x, node.y});
    if (node.IsPort() && places.port == 0 && map.GetHex(node.x, node.y)->controller != 0) {
      places.port = node.id;
      places.portController = map.GetHex(node.x, node.y)->controller;
    }
  }
  return places;
}

struct sCall {
  std::string method;
  std::vector<double> params;
  std::string text;
};

std::vector<sCall> EveryEffect(const sPlaces& p) {
  const auto at = [&](std::size_t i) { return p.freeLand.at(i * (p.freeLand.size() / 8)); };
  const double L = kLegion;
  const sPoint2 a = at(1), b = at(2), c = at(3), d = at(4), e = at(5), f = at(6);
  const double zone = p.seaZone, port = p.port, owner = p.portController;
  const sPoint2 from = p.portCities.at(0), to = p.portCities.at(1);
  return {
      // The units first, so the later effects find them. Two names (Cyrillic)
      // the saved tables cannot hold whole: the game shows what it will save.
      {"Hex.AddLandUnit",
       {double(a.x), double(a.y), 1, 0, 2, 90},
       "\u041F\u043E\u043B\u044F\u0440\u043D\u044B\u0439 \u043A\u043E\u0440\u043F\u0443\u0441"},
      {"Hex.AddLandUnit", {-1, -1, 2, 2, 1, 70}, "Reserve Motor"},
      {"Hex.AddUnitAndPassControlOverHexIfEmpty", {double(b.x), double(b.y), 3, 4, 1, 60}, "Event Armour"},
      {"Hex.AddAirUnit", {4, double(c.x), double(c.y), 20, 2, 8}, "Event Wing"},
      {"Hex.AddAirUnit", {4, -1, -1, 22, 1, 8}, "Reserve Wing"},
      {"Hex.AddNavalUnit", {5, 42}, "Event Cruiser"},
      {"Hex.AddMulberry", {3, double(d.x), double(d.y)}, "Event Harbour"},
      {"SeaNode.AddNavalUnit", {zone, 1, 41, 99}, "Event Battleship"},
      {"SeaNode.AddNavalUnit", {port, owner, 43, 3}, "Event Submarine"},
      {"SeaNode.AddLandUnit", {zone, 44, 1, 0, 1, 80}, "Sea Rifles"},
      {"SeaNode.AddLandUnitWithDest", {zone, 45, 1, 1, 1, 80, port, 3}, "Sea Corps"},
      {"SeaNode.AddLandingLandUnit", {zone, 45, 3, 6, 1, 80, double(p.coast.x), double(p.coast.y)}, "Sea Para"},
      {"Commander.AddNew", {2, 3, 4}, "\u0413\u0435\u043D\u0435\u0440\u0430\u043B \u041C\u043E\u0440\u043E\u0437"},
      {"Unit.Freeze", {double(p.landUnit.x), double(p.landUnit.y), 2}, ""},
      {"Unit.FreezeIfOwnedByCountry", {double(p.landUnit.x), double(p.landUnit.y), 3, 1}, ""},
      {"Unit.Unfreeze", {double(p.landUnit.x), double(p.landUnit.y)}, ""},
      {"Unit.Teleport", {double(p.landUnit.x), double(p.landUnit.y), double(e.x), double(e.y)}, ""},
      {"Hex.KillUnit", {double(p.otherLandUnit.x), double(p.otherLandUnit.y)}, ""},
      {"Unit.Remove", {L, -1, -1}, ""},
      {"City.FirePartisans", {double(p.city.x), double(p.city.y), L, 0, 1, 40}, "Partisans"},
      {"Flag.SetValue", {39000, 1}, ""},
      {"Flag.ChangeValue", {39001, 2}, ""},
      {"HexStripe.ChangeControllerAndOwner", {double(f.x), double(f.y), 1, 1}, ""},
      {"HexStripe.ChangeControllerOwnerAndOriginalOwner", {double(f.x), double(f.y), 1, 1}, ""},
      {"Hex.SetFortLevel", {double(f.x), double(f.y), 3}, ""},
      {"Hex.ChangeFortLevel", {double(f.x), double(f.y), 2}, ""},
      {"City.SetProductionPoints", {double(p.city.x), double(p.city.y), 4.5}, ""},
      {"City.ChangeProductionPoints", {double(p.city.x), double(p.city.y), 1}, ""},
      {"City.SetType", {double(p.city.x), double(p.city.y), 1}, ""},
      {"Area.ChangeEffectivityOfAllUnits", {0, 0, 47, 35, 1, -10}, ""},
      {"New.StartWinterArea", {0, 0, 10, 10, 0}, ""},
      {"New.EndWinterArea", {0, 0, 5, 5}, ""},
      {"New.StartMudArea", {20, 20, 30, 30, 1}, ""},
      {"New.EndMudArea", {20, 20, 25, 25}, ""},
      {"Port.SetSize", {port, 6}, ""},
      {"Port.ChangeSize", {port, -1}, ""},
      {"View.CenterAt", {double(a.x), double(a.y)}, ""},
      // Country and computer-opponent settings of the legion, which has nothing to lose.
      {"Country.ChangeDiplomaticPoints", {L, 1}, ""},
      {"Country.ChangeProductionPoints", {L, 1}, ""},
      {"Country.ChangePoliticalStrength", {L, 1}, ""},
      {"Country.ChangeAllianceEntry", {L, 0}, ""},
      {"Country.ChangeSocialUnrest", {L, 1}, ""},
      {"Country.ChangeWarEconomy", {L, 1}, ""},
      {"Country.SetDiplomaticPoints", {L, 3}, ""},
      {"Country.SetProductionPoints", {L, 3}, ""},
      {"Country.SetPoliticalStrength", {L, 3}, ""},
      {"Country.SetAllianceEntry", {L, 0}, ""},
      {"Country.SetSocialUnrest", {L, 3}, ""},
      {"Country.SetWarEconomy", {L, 3}, ""},
      {"Country.DeclareWarOnCountry", {1, 3}, ""},
      {"Country.SetZoneOfInfluence", {L, 0}, ""},
      {"Country.SetOrientation", {L, 0}, ""},
      {"Country.ChangeTerritoryControllerOwnerAndOriginalOwner", {L, L}, ""},
      {"Country.UnFreezeAllUnits", {L}, ""},
      {"AI.AddInvasionTarget", {L, double(a.x), double(a.y), 5}, ""},
      {"AI.SetMakesSeaInvasionsParameter", {L, 0}, ""},
      {"Country.SetFreezeLevelForAllFreezedUnits", {L, 1}, ""},
      {"AI.RemoveDoNotAttackCity", {L, double(p.city.x), double(p.city.y)}, ""},
      {"Country.KillAllLandUnits", {L}, ""},
      {"Country.KillAllAirUnits", {L}, ""},
      {"Country.KillAllNavalUnits", {L}, ""},
      {"Country.ChangeOwnershipOfAllNavalUnits", {L, L}, ""},
      {"Country.KillAllUnitsInReserve", {L}, ""},
      {"Country.SetActive", {L, 1}, ""},
      {"AI.AddCountryToPress", {L, 1}, ""},
      {"AI.SetDesiredStrategicMovementPoints", {L, 2}, ""},
      {"AI.SetDesiredTechLevel", {L, 1, 2}, ""},
      {"Country.ChangeEffectivityOfAllUnits", {L, 4, 1}, ""},
      {"Country.AddConvoy", {L, 0, 1, double(from.x), double(from.y), double(to.x), double(to.y)}, ""},
      {"Country.RemoveConvoy", {L, 0, double(from.x), double(from.y), double(to.x), double(to.y)}, ""},
      {"Country.NewUnitPurchasePreferences", {L, 1, 1}, ""},
      {"Country.SetTechLevel", {L, 0, 1}, ""},
      {"Country.ChangeTechLevel", {L, 0, 0}, ""},
      {"Country.SetTechResearchProgress", {L, 0, 0}, ""},
      {"Country.SetTechInvestment", {L, 0, 0}, ""},
      {"Country.ChangeSTP", {L, 1}, ""},
      {"Country.ChangeAIP", {L, 1}, ""},
      {"Country.SetWinterBattle", {L, 1}, ""},
      {"Country.SetWinterMove", {L, 1}, ""},
      {"Country.SetMudBattle", {L, 1}, ""},
      {"Country.SetMudMove", {L, 1}, ""},
      {"AI.SetMaxNumberOfFrontsForSeaInvasion", {L, 1}, ""},
      {"AI.AddExtraCityToGarrison", {L, double(p.city.x), double(p.city.y)}, ""},
      {"AI.AddDoNotAttackCity", {L, double(p.city.x), double(p.city.y)}, ""},
      {"AI.RemoveInvasionTarget", {L, double(a.x), double(a.y)}, ""},
      {"AI.AddSeaZoneToPatrolList", {L, zone, 1}, ""},
      {"AI.RemoveSeaZoneFromPatrolList", {L, zone}, ""},
      {"AI.AddPortForObligatoryInvasion", {L, double(from.x), double(from.y), 0}, ""},
      {"AI.RemovePortForObligatoryInvasion", {L, double(from.x), double(from.y)}, ""},
      {"AI.TransportUnitsToFrontsBySea", {L, 0}, ""},
      {"AI.SetMultipleSideAttackPreferences", {L, 1, 2, 3}, ""},
      {"AI.SetOneSideAttackPreferences", {L, 1, 2, 3}, ""},
      {"Country.MakePeace", {L, 0}, ""},
      {"Country.ChangeSMP", {L, 1}, ""},
      {"Country.ChangeUpkeepCost", {L, 0}, ""},
      {"Country.SetUpkeepCost", {L, 1}, ""},
      {"Country.SetMaxSafeMoveCost", {L, 5}, ""},
      {"Country.SetDesiredLandForcesStructure", {L, 1, 1}, ""},
      {"Country.SetMinRatioToPatchFront", {L, 1}, ""},
      {"Country.SetMaxUnitCountOnFront", {L, 3}, ""},
      {"Country.SetMaxCoveringUnitDistance", {L, 3}, ""},
      {"Country.DamageRandomShipsInSeaZone", {L, zone, 0, 0}, ""},
      {"Country.ChangeMonthsToReachWarfareDoctrineLevel", {L, 0}, ""},
      {"Country.ChangeTechInvestment", {L, 0, 0}, ""},
      {"Country.ChangeTechResearchProgress", {L, 0, 0}, ""},
      {"AI.SetFortLevelToHoldAtAllCost", {L, 5}, ""},
      {"Country.SetAICarrierTargetsPriorities", {L, 1, 2, 3, 4, 5, 6, 7, 8}, ""},
      {"Country.ChangeAICarrierTargetsPriorities", {L, 1, 1}, ""},
      {"Commander.ChangeLevel", {1, 1}, ""},
      {"Commander.SetLevel", {1, 1}, ""},
      {"Hex.AddLandUnitAndPassControlOverHexIfEmpty", {-1, -1, 1, 0, 1, 50}, "Nobody"},
  };
}

// Each kind of effect that writes a hex, a unit, a country or a flag, driven
// to the ends of what it accepts: past its limits, below 0, with fractions
// past the saved digits. The last effect on a value is the one saved.
std::vector<sCall> FarEffects(const sPlaces& p) {
  const auto at = [&](std::size_t i) { return p.freeLand.at(i * (p.freeLand.size() / 8)); };
  const double L = kLegion;
  const double huge = 1e12;
  const sPoint2 a = at(1), b = at(2), c = at(3), d = at(4), e = at(5), f = at(6), g = at(7);
  const double zone = p.seaZone, port = p.port, owner = p.portController, held = p.landUnitOwner;
  const sPoint2 from = p.portCities.at(0), to = p.portCities.at(1), unit = p.landUnit;
  return {
      {"Hex.AddLandUnit", {double(a.x), double(a.y), 1, 0, 7, 250.9}, "Far;Rifles"},
      {"Hex.AddLandUnit", {-1, -1, 2, 2, 5, -40}, "Reserve Motor"},
      {"Hex.AddUnitAndPassControlOverHexIfEmpty", {double(b.x), double(b.y), 3, 4, 5, 99.9}, "Far Armour"},
      {"Hex.AddAirUnit", {4, double(c.x), double(c.y), 20, 5, 500}, "Far Wing"},
      {"Hex.AddAirUnit", {4, -1, -1, 22, 9, -30}, "Reserve Wing"},
      {"Hex.AddNavalUnit", {5, 42}, "Far Cruiser"},
      {"Hex.AddMulberry", {3, double(d.x), double(d.y)}, "Far Harbour"},
      {"SeaNode.AddNavalUnit", {zone, 1, 41, huge}, "Far Battleship"},
      {"SeaNode.AddNavalUnit", {port, owner, 43, -5}, "Far Submarine"},
      {"SeaNode.AddLandUnit", {zone, 44, 1, 0, 1, 1000}, "Sea Rifles"},
      {"SeaNode.AddLandUnitWithDest", {zone, 45, 1, 1, 1, 80, port, huge}, "Sea Corps"},
      {"SeaNode.AddLandingLandUnit", {zone, 45, 3, 6, 0, 80, double(p.coast.x), double(p.coast.y)}, "Sea Para"},
      {"Commander.AddNew", {2, huge, huge}, "Far General"},
      {"Unit.Teleport", {double(unit.x), double(unit.y), double(e.x), double(e.y)}, ""},
      {"Unit.Freeze", {double(e.x), double(e.y), huge}, ""},
      {"Country.SetFreezeLevelForAllFreezedUnits", {held, -huge}, ""},
      {"Unit.FreezeIfOwnedByCountry", {double(e.x), double(e.y), 7e6, held}, ""},
      {"Country.ChangeEffectivityOfAllUnits", {held, 1, huge}, ""},
      {"Area.ChangeEffectivityOfAllUnits", {0, 0, 47, 35, 1, -huge}, ""},
      {"Flag.SetValue", {39000, -huge}, ""},
      {"Flag.SetValue", {0, 2.9}, ""},
      {"Flag.SetValue", {39999, 7}, ""},
      {"Flag.ChangeValue", {39001, huge}, ""},
      {"HexStripe.ChangeControllerOwnerAndOriginalOwner", {double(f.x), double(f.y), 1, 2}, ""},
      {"Hex.ChangeFortLevel", {double(g.x), double(g.y), huge}, ""},
      {"Hex.SetFortLevel", {double(f.x), double(f.y), 12}, ""},
      {"Hex.SetFortLevel", {double(a.x), double(a.y), huge}, ""},
      {"City.SetProductionPoints", {double(p.city.x), double(p.city.y), huge}, ""},
      {"City.ChangeProductionPoints", {double(p.city.x), double(p.city.y), -0.123456789}, ""},
      {"City.SetType", {double(p.city.x), double(p.city.y), 4}, ""},
      {"New.StartWinterArea", {0, 0, 10, 10, 0}, ""},
      {"New.StartMudArea", {20, 20, 30, 30, 0}, ""},
      {"Port.SetSize", {port, huge}, ""},
      {"Port.ChangeSize", {port, -0.5}, ""},
      {"Country.ChangeDiplomaticPoints", {L, huge}, ""},
      {"Country.SetProductionPoints", {L, 0.123456789}, ""},
      {"Country.ChangeProductionPoints", {L, -huge}, ""},
      {"Country.ChangePoliticalStrength", {L, huge}, ""},
      {"Country.SetAllianceEntry", {L, -huge}, ""},
      {"Country.ChangeSocialUnrest", {L, 33.3333333}, ""},
      {"Country.SetWarEconomy", {L, 12.3456789}, ""},
      {"Country.ChangeWarEconomy", {L, huge}, ""},
      {"Country.SetPoliticalStrength", {2, -huge}, ""},
      {"Country.SetDiplomaticPoints", {2, -huge}, ""},
      {"Country.SetSocialUnrest", {2, huge}, ""},
      {"Country.ChangeAllianceEntry", {2, -huge}, ""},
      {"Country.SetZoneOfInfluence", {L, 3}, ""},
      {"Country.SetOrientation", {L, 5}, ""},
      {"Country.SetActive", {L, 0.5}, ""},
      {"Country.NewUnitPurchasePreferences", {L, 1, -huge}, ""},
      {"Country.SetTechLevel", {L, 0, huge}, ""},
      {"Country.ChangeTechLevel", {L, 1, -huge}, ""},
      {"Country.SetTechResearchProgress", {L, 0, huge}, ""},
      {"Country.ChangeTechResearchProgress", {L, 1, huge}, ""},
      {"Country.SetTechInvestment", {L, 3, -huge}, ""},
      {"Country.ChangeTechInvestment", {L, 4, huge}, ""},
      {"Country.ChangeSTP", {L, huge}, ""},
      {"Country.ChangeAIP", {L, -huge}, ""},
      {"Country.ChangeSMP", {L, huge}, ""},
      {"Country.SetWinterBattle", {L, -huge}, ""},
      {"Country.SetWinterMove", {L, huge}, ""},
      {"Country.SetMudBattle", {L, 0.000123456789}, ""},
      {"Country.SetMudMove", {L, 999.999999}, ""},
      {"Country.SetUpkeepCost", {L, 0.333333333}, ""},
      {"Country.ChangeUpkeepCost", {2, huge}, ""},
      {"Country.SetMaxSafeMoveCost", {L, -huge}, ""},
      {"Country.SetDesiredLandForcesStructure", {L, 5, huge}, ""},
      {"Country.SetMinRatioToPatchFront", {L, 0.123456789}, ""},
      {"Country.SetMaxUnitCountOnFront", {L, -huge}, ""},
      {"Country.SetMaxCoveringUnitDistance", {L, huge}, ""},
      {"Country.ChangeMonthsToReachWarfareDoctrineLevel", {2, huge}, ""},
      {"Country.ChangeMonthsToReachWarfareDoctrineLevel", {L, -huge}, ""},
      {"Country.AddConvoy", {L, 0, huge, double(from.x), double(from.y), double(to.x), double(to.y)}, ""},
      {"Country.DamageRandomShipsInSeaZone", {L, zone, 0.3, 0.7}, ""},
      {"Country.SetAICarrierTargetsPriorities", {L, -huge, huge, 3, 4, 5, 6, 7, 8}, ""},
      {"Country.ChangeAICarrierTargetsPriorities", {L, 9, huge}, ""},
      {"AI.AddInvasionTarget", {L, double(a.x), double(a.y), huge}, ""},
      {"AI.SetMakesSeaInvasionsParameter", {L, 0.5}, ""},
      {"AI.AddCountryToPress", {L, 1}, ""},
      {"AI.SetDesiredStrategicMovementPoints", {L, -huge}, ""},
      {"AI.SetDesiredTechLevel", {L, 1, huge}, ""},
      {"AI.SetMaxNumberOfFrontsForSeaInvasion", {L, -huge}, ""},
      {"AI.AddExtraCityToGarrison", {L, double(p.city.x), double(p.city.y)}, ""},
      {"AI.AddDoNotAttackCity", {L, double(p.city.x), double(p.city.y)}, ""},
      {"AI.AddSeaZoneToPatrolList", {L, zone, huge}, ""},
      {"AI.AddPortForObligatoryInvasion", {L, double(from.x), double(from.y), 1}, ""},
      {"AI.TransportUnitsToFrontsBySea", {L, 7}, ""},
      {"AI.SetMultipleSideAttackPreferences", {L, -huge, huge, 0.5}, ""},
      {"AI.SetOneSideAttackPreferences", {L, huge, -huge, 2.5}, ""},
      {"AI.SetFortLevelToHoldAtAllCost", {L, huge}, ""},
      {"Country.DeclareWarOnCountry", {1, 3}, ""},
  };
}

std::string EventXml(const std::vector<sCall>& calls) {
  std::ostringstream out;
  out.precision(17);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<events>\n"
      << "<event eventID=\"900\" countryID=\"" << kLegion << "\" visibleByPlayer=\"0\" oneTimeChecking=\"1\">\n"
      << "  <title>Every effect</title>\n"
      << "  <condition><and><expression><leftOperand method=\"Flag.GetValue\" param0=\"39000\"/>"
      << "<operator value=\"equals\"/><rightOperand constValue=\"0\"/></expression></and></condition>\n"
      << "  <options><option optionID=\"1\" chanceAI=\"100\"><description>All</description><effects>\n";
  for (const sCall& call : calls) {
    out << "    <effect method=\"" << call.method << '"';
    for (std::size_t i = 0; i < call.params.size(); ++i) out << " param" << i << "=\"" << call.params[i] << '"';
    if (!call.text.empty()) out << " paramString0=\"" << call.text << '"';
    out << "/>\n";
  }
  out << "  </effects></option></options>\n</event>\n</events>\n";
  return out.str();
}

// Every unit, ship, fleet and commander with where it stands, one line each, sorted.
std::string DescribeForces(const cGame& game) {
  std::vector<std::string> lines;
  const auto unit = [&lines](const char* where, const cUnit& u, const std::string& more) {
    std::ostringstream out;
    // A harbour takes a new number whenever it is loaded.
    const std::string id = u.type == kMulberryType ? "harbour" : std::to_string(u.id);
    out << where << ' ' << u.category << ':' << id << ' ' << Utf16ToUtf8(u.name) << " owner " << u.owner << " at "
        << u.x << ',' << u.y << " type " << u.type << " reserve " << int(u.inReserve) << more;
    lines.push_back(out.str());
  };
  const auto land = [&](const char* where, const auto& list) {
    for (const auto& u : list) {
      std::ostringstream more;
      more << " level " << u->level << " strength " << u->GetStrength() << " freeze " << u->freezeTime << " ship "
           << u->transporterId << (u->transporter && u->transporter->carriedUnit == u.get() ? " linked" : "");
      unit(where, *u, more.str());
    }
  };
  land("land", game.landUnits);
  land("aboardA", game.aboardUnitsA);
  land("aboardB", game.aboardUnitsB);
  for (const auto& u : game.airUnits) unit("air", *u, " level " + std::to_string(u->level));
  for (const auto& u : game.reservePool) unit("pool", *u, "");
  for (const auto& s : game.navalUnits) {
    unit("ship", *s, " fleet " + std::to_string(s->fleet ? s->fleet->id : -1) + " hp " + std::to_string(s->hitPoints));
  }
  for (const auto& s : game.navalReserve) unit("dock", *s, " hp " + std::to_string(s->hitPoints));
  for (const auto& fleet : game.fleets) {
    std::ostringstream out;
    out << "fleet " << fleet->id << ' ' << Utf16ToUtf8(fleet->name) << " owner " << fleet->countryId << " node "
        << fleet->seaNodeId << " order " << fleet->aiOrder << ',' << fleet->aiDestinationNode << ','
        << fleet->aiInvasionX << ',' << fleet->aiInvasionY << " ships " << fleet->ships.size();
    lines.push_back(out.str());
  }
  for (const auto& c : game.commanders) {
    lines.push_back("commander " + std::to_string(c->id) + ' ' + Utf16ToUtf8(c->name) + ' ' +
                    std::to_string(c->countryId) + ' ' + std::to_string(c->skill));
  }
  std::sort(lines.begin(), lines.end());
  std::string all;
  for (const std::string& line : lines) all += line + '\n';
  return all;
}

// Land units are told apart by number wherever they are.
bool LandNumbersAreUnique(const cGame& game) {
  std::vector<int> ids;
  for (const auto& u : game.landUnits) ids.push_back(u->id);
  for (const auto& u : game.aboardUnitsA) ids.push_back(u->id);
  for (const auto& u : game.aboardUnitsB) ids.push_back(u->id);
  for (const auto& u : game.reservePool) {
    if (u->category == kCategoryLand) ids.push_back(u->id);
  }
  std::sort(ids.begin(), ids.end());
  return std::adjacent_find(ids.begin(), ids.end()) == ids.end();
}

class EveryEffectSessionTest : public testing::Test {
 protected:
  EveryEffectSessionTest() : scoped_(presentation_) {
    test::CopyBuiltScenario(dir_.path(), "NorthernTide");
    SetGameRoot(dir_.path().string());
    InstallGameSteps();
  }
  ~EveryEffectSessionTest() override {
    Drop();
    UninstallGameSteps();
    SetGameRoot({});
  }
  static void Drop() {
    delete gGame;
    gGame = nullptr;
  }
  static cGame& Load(const std::u16string& folderTemplate, int loaded) {
    Drop();
    SeedRandom(20120506);
    cGame* game = LoadNewScenario(folderTemplate, loaded);
    EXPECT_NE(game, nullptr);
    return *game;
  }

  test::TempDir dir_;
  cHeadlessPresentation presentation_;
  ScopedPresentation scoped_;
};

TEST_F(EveryEffectSessionTest, EveryMethodFiresAndTheGameSavesAndLoadsWithTheNewUnits) {
  const sPlaces places = FindPlaces(Load(kScenario, 0));
  ASSERT_GE(places.freeLand.size(), 8u);
  ASSERT_GE(places.city.x, 0);
  ASSERT_GE(places.coast.x, 0);
  ASSERT_GE(places.otherLandUnit.x, 0);
  ASSERT_NE(places.seaZone, 0);
  ASSERT_NE(places.port, 0);
  const std::vector<sCall> calls = EveryEffect(places);
  for (const sEffectMethod& method : EffectMethods()) {
    const std::string name = Utf16ToUtf8(std::u16string(method.name));
    EXPECT_TRUE(std::any_of(calls.begin(), calls.end(), [&](const sCall& c) { return c.method == name; })) << name;
  }
  const std::filesystem::path scenario = dir_.path() / "data/scenarios/NorthernTide";
  std::string list = test::ReadFileBytes(scenario / "event_files.txt");
  list += "\r\ndata\\scenarios\\NorthernTide\\every_effect.xml\r\n";
  dir_.Write("data/scenarios/NorthernTide/event_files.txt", list);
  dir_.Write("data/scenarios/NorthernTide/every_effect.xml", EventXml(calls));

  test::LogCapture log;
  cGame& game = Load(kScenario, 0);
  ASSERT_FALSE(game.events->events.empty());
  const std::string before = DescribeForces(game);
  game.events->CheckEventsAtTurnEnd(game);
  EXPECT_TRUE(log.Contains(u"Condition for event with ID=900 is true. Firing..."));
  EXPECT_EQ(game.flags[39000], 1);
  EXPECT_EQ(game.flags[39001], 2);
  for (const std::u16string& line : log.lines()) {
    const std::string text = Utf16ToUtf8(line);
    EXPECT_EQ(text.find("unknown method"), std::string::npos) << text;
    EXPECT_EQ(text.find("WARNING: effect"), std::string::npos) << text;
  }
  const std::string played = DescribeForces(game);
  for (const char* made :
       {"???????? ??????", "Reserve Motor", "Event Armour", "Event Wing", "Reserve Wing", "Event Cruiser",
        "Event Harbour", "Event Battleship", "Event Submarine", "Sea Rifles", "Sea Corps", "Sea Para",
        "??????? ?????"}) {
    EXPECT_NE(played.find(made), std::string::npos) << made;
  }
  EXPECT_NE(played, before);
  EXPECT_TRUE(log.ContainsText(u"gives the name \"\u0413\u0435\u043D\u0435\u0440\u0430\u043B "
                               u"\u041C\u043E\u0440\u043E\u0437\", whose letters the Windows-1252 code page "
                               u"of saved games cannot all keep; it is used as \"??????? ?????\""));
  EXPECT_EQ(FindInvariantViolation(game), "");
  EXPECT_TRUE(LandNumbersAreUnique(game));

  game.saveContext->clock = [] { return kClock; };
  ASSERT_TRUE(game.saveContext->SaveGame(u"every_effect", true));
  cGame& loaded = Load(u"data\\save\\every_effect\\%s", 1);
  EXPECT_EQ(DescribeForces(loaded), played);
  EXPECT_EQ(FindInvariantViolation(loaded), "");
  EXPECT_TRUE(LandNumbersAreUnique(loaded));
}


// Where `second` differs from `first`, for the failure message: the lines of
// a table, the offsets of a binary file.
std::string Differences(const std::string& file, const std::string& first, const std::string& second) {
  if (file.ends_with(".qel") || file.ends_with(".dat")) {
    std::string report;
    for (std::size_t at = 0; at < std::min(first.size(), second.size()); ++at) {
      if (first[at] == second[at]) continue;
      report += "byte " + std::to_string(at) + ": " + std::to_string(std::uint8_t(first[at])) + " / " +
                std::to_string(std::uint8_t(second[at])) + "\n";
    }
    return report + "sizes " + std::to_string(first.size()) + " / " + std::to_string(second.size()) + "\n";
  }
  std::istringstream one(first);
  std::istringstream two(second);
  std::string report;
  std::string a;
  std::string b;
  int line = 0;
  while (true) {
    const bool moreA = static_cast<bool>(std::getline(one, a));
    const bool moreB = static_cast<bool>(std::getline(two, b));
    if (!moreA && !moreB) break;
    ++line;
    if (moreA && moreB && a == b) continue;
    report += "line " + std::to_string(line) + ":\n  " + (moreA ? a : "<none>") + "\n  ";
    report += (moreB ? b : "<none>") + "\n";
  }
  return report;
}

// An artificial harbour takes the land-unit counter's next number at every
// load, whatever its row says; its row is compared without the number.
std::string WithoutHarbourNumbers(const std::string& file, const std::string& bytes) {
  if (file != "land_units.csv") return bytes;
  std::istringstream in(bytes);
  std::string out;
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields;
    std::istringstream row(line);
    for (std::string field; std::getline(row, field, ';');) fields.push_back(field);
    if (fields.size() > 5 && fields[5] == "60") line.replace(0, fields[0].size(), "#");
    out += line + '\n';
  }
  return out;
}

// Whatever the effects make, a save loads back into the game it was: saving
// that game again writes the same bytes in every file.
TEST_F(EveryEffectSessionTest, ValuesAtTheEndsOfEveryEffectSurviveSaveLoadAndSave) {
  const sPlaces places = FindPlaces(Load(kScenario, 0));
  ASSERT_GE(places.freeLand.size(), 8u);
  ASSERT_GE(places.landUnit.x, 0);
  ASSERT_GE(places.city.x, 0);
  ASSERT_NE(places.port, 0);
  const std::vector<sCall> calls = FarEffects(places);
  const std::filesystem::path scenario = dir_.path() / "data/scenarios/NorthernTide";
  std::string list = test::ReadFileBytes(scenario / "event_files.txt");
  list += "\r\ndata\\scenarios\\NorthernTide\\far_values.xml\r\n";
  dir_.Write("data/scenarios/NorthernTide/event_files.txt", list);
  dir_.Write("data/scenarios/NorthernTide/far_values.xml", EventXml(calls));

  test::LogCapture log;
  cGame& game = Load(kScenario, 0);
  game.events->CheckEventsAtTurnEnd(game);
  ASSERT_TRUE(log.Contains(u"Condition for event with ID=900 is true. Firing..."));
  game.saveContext->clock = [] { return kClock; };
  ASSERT_TRUE(game.saveContext->SaveGame(u"far_first", true));
  cGame& loaded = Load(u"data\\save\\far_first\\%s", 1);
  loaded.saveContext->clock = [] { return kClock; };
  ASSERT_TRUE(loaded.saveContext->SaveGame(u"far_second", true));

  const auto first = test::ReadFolderBytes(dir_.path() / "data/save/far_first");
  const auto second = test::ReadFolderBytes(dir_.path() / "data/save/far_second");
  ASSERT_FALSE(first.empty());
  ASSERT_EQ(first.size(), second.size());
  for (const auto& [file, saved] : first) {
    ASSERT_EQ(second.count(file), 1u) << file;
    const std::string bytes = WithoutHarbourNumbers(file, saved);
    const std::string again = WithoutHarbourNumbers(file, second.at(file));
    EXPECT_TRUE(bytes == again) << file << " differs:\n" << Differences(file, bytes, again);
  }
  // The fort an event set past the scale loads back as it was set.
  const sPoint2 fort = places.freeLand.at(6 * (places.freeLand.size() / 8));
  EXPECT_EQ(loaded.map->GetHex(fort.x, fort.y)->fortLevel, 12);
  EXPECT_TRUE(log.ContainsText(u"Hex.SetFortLevel at line"));
  // Levels past the tables and points owed load back as the events left them.
  const cCountry& legion = *loaded.GetCountry(kLegion);
  EXPECT_EQ(legion.techLevels[0], kMaxStoredTechLevel);
  EXPECT_EQ(legion.techLevels[1], -kMaxStoredTechLevel);
  EXPECT_EQ(legion.invasionPoints, -kMaxPoints);
  EXPECT_EQ(loaded.GetCountry(2)->diplomaticPoints, -kMaxPoints);
}

}  // namespace
}  // namespace tr
