// The execution of convoys inside the supply computation: the checks in their
// order, the sea transport points, the voyage through the zones of the route
// and the delivery of what survives; and the results shown to the players.
#include <algorithm>
#include <cstdint>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/string_base.h"
#include "scenario/report_kinds.h"
#include "turn/convoy.h"
#include "turn/convoy_attack.h"
#include "turn/sea_graph.h"
#include "units/jednostka.h"
#include "world/city.h"
#include "world/gra.h"
#include "world/map.h"
#include "world/panstwo.h"
#include "world/presentation.h"

namespace tr {
namespace {

constexpr int kSupplyMaximumLine = 48;
constexpr int kConvoyCostLine = 120;
constexpr int kResourceCostToken = 11;
constexpr int kSupplyCostTypes = 10;  // tokens 1..10 serve the unit types 0..9

int ControllerOf(const cGame& game, const cCity* city) {
  if (!city || !game.map || !game.map->IsInside(city->x, city->y)) return 0;
  return game.map->GetHex(city->x, city->y)->controller;
}

std::u16string NameOf(const cGame& game, int countryId) {
  const cCountry* country = countryId >= 1 ? game.GetCountry(countryId) : nullptr;
  return country ? country->name : std::u16string();
}

std::int32_t SupplyOf(const cCity& city, int countryId) {
  const auto index = static_cast<std::size_t>(countryId - 1);
  return index < city.supplyInfo.size() ? city.supplyInfo[index] : 0;
}

bool HasConvoySupply(const cCity& city, int countryId) {
  const auto index = static_cast<std::size_t>(countryId - 1);
  return index < city.convoyInfo.size() && city.convoyInfo[index];
}

// Friendly: the country itself or one of its allies; nobody (0) is neither.
bool IsFriendly(const cCountry& owner, int countryId) {
  return countryId >= 1 && (countryId == owner.id || owner.IsAlly(countryId));
}

// The details of a convoy that passed its checks replace the placeholder.
void AddDetails(sConvoyResult& result, const std::u16string& placeholder, const std::u16string& text) {
  if (result.details == placeholder) {
    result.details = text;
  } else {
    result.details += text;
  }
}

// The transport points the units served by a supply convoy need: the group
// of the destination, the units of the owner drawing on it and their cost.
struct sSupplyNeed {
  bool groupFound = false;
  int units = 0;
  float cost = 0.0f;
  const SupplyCityGroup* group = nullptr;
};

sSupplyNeed SupplyNeedOf(const cGame& game, const sConvoy& convoy, const SupplyCityGroups& groups,
                         const SupplyResults& results) {
  sSupplyNeed need;
  for (const SupplyCityGroup& group : groups) {
    if (std::find(group.begin(), group.end(), convoy.destination) != group.end()) {
      need.group = &group;
      break;
    }
  }
  if (!need.group) return need;
  need.groupFound = true;

  const std::unordered_set<const cCity*> inGroup(need.group->begin(), need.group->end());
  std::unordered_map<std::int32_t, const cJednostka*> land;
  std::unordered_map<std::int32_t, const cJednostka*> air;
  for (const auto& unit : game.landUnits) {
    if (unit->owner == convoy.owner) land.emplace(unit->id, unit.get());
  }
  for (const auto& unit : game.airUnits) {
    if (unit->owner == convoy.owner) air.emplace(unit->id, unit.get());
  }
  std::vector<const cCity*> cities;
  cities.reserve(game.cities.size());
  for (const auto& city : game.cities) cities.push_back(city.get());

  std::set<int> uncosted;
  for (const sSupplyResult& result : results) {
    const auto& index = result.isAir ? air : land;
    const auto unit = index.find(result.unitId);
    if (unit == index.end()) continue;
    if (result.cityNumber < 1 || result.cityNumber > static_cast<int>(cities.size())) continue;
    if (!inGroup.contains(cities[static_cast<std::size_t>(result.cityNumber - 1)])) continue;
    ++need.units;
    const int type = unit->second->type;
    if (type >= 0 && type < kSupplyCostTypes) {
      need.cost += game.constants.Float(kConvoyCostLine, type + 1);
    } else if (uncosted.insert(type).second) {
      // Aircraft and artificial harbours have no supply-convoy cost of their own.
      LogFormat(u"Unit type %i has no supply convoy cost, counted as 0", type);
    }
  }
  return need;
}

}  // namespace

void ExecuteConvoy(sConvoy& convoy, sConvoyResult& result, SupplyCityGroups& groups, SupplyResults& results) {
  cGame& game = *gGame;
  cCountry* owner = game.GetCountry(convoy.owner);
  const bool supplies = convoy.kind == kConvoySupplies;
  const std::u16string placeholder = GetText("details_here...");
  result = sConvoyResult{};
  result.departureName = convoy.departure ? convoy.departure->name : std::u16string();
  result.destinationName = convoy.destination ? convoy.destination->name : std::u16string();
  result.result = GetText("convoy_not_executed");
  result.details = placeholder;
  result.kindText = supplies ? std::u16string(u"supplies") : Format(GetText("resources_(%i_pp)"), convoy.amount);
  if (!owner || !convoy.departure || !convoy.destination) {
    LogFormat(u"ERROR: Convoy with ID=%i has no owner or port city, not executed", convoy.id);
    return;
  }
  const auto fail = [&](const std::u16string& message) { result.details = message; };
  const std::u16string& from = convoy.departure->name;
  const std::u16string& to = convoy.destination->name;
  const int departureController = ControllerOf(game, convoy.departure);
  const int destinationController = ControllerOf(game, convoy.destination);
  const int maximum = game.constants.Int(kSupplyMaximumLine, 1);

  if (convoy.departure == convoy.destination) {
    return fail(GetText("convoy_not_executed:_departure_city_is_the_same_like_arrival_city!"));
  }
  if (supplies && owner->alliance == kNeutral && !owner->IsAtWarWithAnyone()) {
    return fail(Format(
        GetText("convoy_not_executed:_supply_convoys_are_not_executed_for_neutral_countries_not_waging_war_(like_%s),_"
                "all_units_owned_by_such_countries_recieve_peace-time_supply_(half_of_max_supply)_automatically."),
        owner->name));
  }
  if (!supplies && departureController != convoy.owner) {
    return fail(Format(GetText("convoy_not_executed:_for_resource_convoys,_departure_city_must_be_controlled_by_"
                               "convoy's_owner._%s_is_not_controlled_by_%s."),
                       from, owner->name));
  }
  if (destinationController >= 1 && owner->IsAtWarWith(destinationController)) {
    return fail(Format(GetText("convoy_not_executed:_%s_is_controlled_by_enemy."), to));
  }
  if (!supplies && departureController == destinationController) {
    return fail(Format(GetText("convoy_not_executed:_both_%s_and_%s_are_controlled_by_%s._transporting_resources_"
                               "within_one_country_is_not_needed."),
                       from, to, NameOf(game, departureController)));
  }
  if (!IsFriendly(*owner, departureController)) {
    return fail(Format(GetText("convoy_not_executed:_invalid_departure_city._%s_must_be_friendly_controlled_to_serve_"
                               "as_a_departure_city_for_a_convoy"),
                       from));
  }
  if (supplies) {
    const std::int32_t own = SupplyOf(*convoy.departure, convoy.owner);
    if (own < maximum || (own == maximum && HasConvoySupply(*convoy.departure, convoy.owner))) {
      return fail(Format(GetText("convoy_not_executed:_invalid_departure_city._%s_must_have_land_connection_with_valid_"
                                 "supply_source_to_serve_as_a_departure_city_for_a_convoy"),
                         from));
    }
    if (!IsFriendly(*owner, destinationController)) {
      return fail(GetText("convoy_not_executed:_cannot_send_supplies_to_enemy_or_neutral_countries"));
    }
    const std::int32_t supply = SupplyOf(*convoy.destination, convoy.owner);
    if (supply >= maximum * 80 / 100) {
      return fail(Format(u"Convoy not executed: %s is already well-supplied (supply=%i)", to, supply));
    }
  }

  std::list<std::int32_t> route;
  const int fromNode = ConvoyPortNodeId(game, convoy.departure);
  const int toNode = ConvoyPortNodeId(game, convoy.destination);
  if (!game.seaGraph.IsNodeId(fromNode) || !game.seaGraph.IsNodeId(toNode) ||
      !game.seaGraph.FindPath(fromNode, toNode, convoy.owner, supplies, route) || route.empty()) {
    return fail(Format(GetText("convoy_not_executed:_there_is_no_sea_connection_between_%s_and_%s_(at_least_one_"
                               "strait_on_the_way_is_not_friendly_controlled)"),
                       from, to));
  }

  int amount = convoy.amount;
  if (!supplies) {
    if (amount <= 0) return fail(GetText("convoy_not_executed:_convoy_cannot_transport_0_production_points"));
    if (owner->productionPoints < 1.0) {
      return fail(Format(GetText("convoy_not_executed:_%s_has_no_production_points!"), owner->name));
    }
    if (amount > owner->productionPoints) {
      const int available = static_cast<int>(owner->productionPoints);
      AddDetails(result, placeholder,
                 Format(GetText("note:_this_convoy_was_supposed_to_carry_resources_worth_%i_pp,_while_%s_has_only_%i_"
                                "pp._amount_of_pp_carried_by_convoy_has_been_set_to_%i._"),
                        amount, owner->name, available, available));
      amount = available;
    }
  }

  int need = 0;
  if (supplies) {
    const sSupplyNeed found = SupplyNeedOf(game, convoy, groups, results);
    if (!found.groupFound) {
      const std::u16string line = Format(
          u"CRITICAL ERROR! City %s has not been found in any city group while determining supply convoy cost. "
          u"Country id=%i. Report this as a bug.",
          to, convoy.owner);
      LogLine(line);
      return fail(line);
    }
    convoy.unitsServed = found.units;
    convoy.transportCost = found.cost;
    convoy.destinationGroup = found.group;
    if (found.units == 0) {
      return fail(GetText("convoy_not_executed:_there_aren't_any_units_that_could_use_supplies_provided_by_this_convoy!"));
    }
    AddDetails(result, placeholder, Format(GetText("supply_for_%i_units"), found.units));
    need = std::max(std::min(static_cast<int>(found.cost), convoy.amount), 1);
  } else {
    need = std::max(static_cast<int>(static_cast<float>(amount) * game.constants.Float(kConvoyCostLine, kResourceCostToken)), 1);
  }
  result.pointsNeeded = need;

  int carried = need;
  if (owner->seaTransportPoints <= 0) {
    return fail(Format(GetText("convoy_not_executed:_%s_has_no_sea_transport_points"), owner->name));
  }
  if (owner->seaTransportPoints < need) {
    if (!supplies) {
      return fail(Format(GetText("convoy_not_executed:_%s_doesn't_have_enough_sea_transport_points_to_execute_this_"
                                 "convoy_(%i_available,_%i_needed)"),
                         owner->name, owner->seaTransportPoints, need));
    }
    AddDetails(result, placeholder,
               Format(GetText("warning:_%s_doesn't_have_enough_sea_transport_points_to_carry_all_needed_supplies_(%i_"
                              "available,_%i_needed)._all_available_sea_transport_points_have_been_used._"),
                      owner->name, owner->seaTransportPoints, need));
    carried = owner->seaTransportPoints;
  }

  owner->AddSeaTransportPoints(-carried);
  result.pointsCarried = carried;
  result.pointsLost = 0;
  AddDetails(result, placeholder, GetText("convoy_route:_"));
  std::size_t position = 0;
  for (const std::int32_t node : route) {
    ++position;
    AttackConvoysInZone(game.seaGraph, convoy.owner, node, result, position == route.size());
  }
  const int lost = result.pointsLost;

  if (lost >= carried) {
    result.details += GetText("convoy_was_destroyed_and_did_not_reach_its_destination._");
    result.result = u"failure";
  } else {
    result.result = lost == 0 ? u"success" : u"partial_success";
    if (supplies) {
      const int value = (carried - lost) * maximum / need;
      result.details += Format(GetText("convoy_arrives,_carrying_supplies_worth_%i._%s_and_all_cities_with_land_"
                                       "connection_recieve_supply_%i_unless_their_own_supply_value_is_higher._"),
                               value, to, value);
      const int countryCount = game.CountryCount();
      for (cCity* city : *convoy.destinationGroup) {
        if (static_cast<int>(city->convoyInfo.size()) < countryCount) city->convoyInfo.resize(countryCount, false);
        if (static_cast<int>(city->supplyInfo.size()) < countryCount) city->supplyInfo.resize(countryCount, 0);
        city->convoyInfo[convoy.owner - 1] = true;
        std::int32_t& supply = city->supplyInfo[convoy.owner - 1];
        if (supply < value) {
          LogFormat(GetText("%s_takes_supply_from_convoy_(%i)_because_its_own_supply_is_lower_(%i)"), city->name, value,
                    supply);
          supply = value;
        } else {
          LogFormat(GetText("%s_does_not_take_supply_from_convoy_(%i)_because_its_own_supply_is_already_higher_(%i)"),
                    city->name, value, supply);
        }
      }
    } else {
      const int delivered = static_cast<int>(static_cast<std::int64_t>(amount) * (carried - lost) / carried);
      owner->AddProductionPoints(-amount);
      cCountry* receiver = destinationController >= 1 ? game.GetCountry(destinationController) : nullptr;
      if (receiver) receiver->AddProductionPoints(delivered);
      result.details += Format(GetText("convoy_arrives,_carrying_resources_worth_%.1f_production_points._%s_collects_"
                                       "%.1f_pp._"),
                               static_cast<double>(delivered), NameOf(game, destinationController),
                               static_cast<double>(delivered));
    }
  }
  owner->seaTransportUsedByConvoys = static_cast<std::int32_t>(std::clamp<std::int64_t>(
      std::int64_t{owner->seaTransportUsedByConvoys} + carried - lost, 0, kMaxPoints));
}

void ExecuteAllConvoys(cConvoyManager& manager, int countryId, SupplyCityGroups& groups, SupplyResults& results) {
  cGame& game = *gGame;
  cCountry* country = game.GetCountry(countryId);
  if (!country || countryId < 1) return;
  LogFormat(GetText("executing_all_convoys_for_%s"), country->name);
  LogLine(u"Dodaje krajowi STPz konwojow wykonanych z poprzedniej tury");
  country->AddSeaTransportPoints(country->seaTransportUsedByConvoys);
  LogLine(u"Ustawiam krajowi STP uzyte przez konwoje na 0");
  country->seaTransportUsedByConvoys = 0;

  const auto index = static_cast<std::size_t>(countryId - 1);
  // A country the manager was not sized for gets its empty entries, so its
  // convoys made from now on are kept and run.
  if (manager.results.size() <= index) {
    LogFormat(u"Wektor rezultatow konwojow panstw jest za maĹ‚y (%d elementow), nie ma wpisu dla panstwa o ID %d",
              static_cast<int>(manager.results.size()), countryId);
    manager.results.resize(index + 1);
  }
  if (manager.convoys.size() <= index) {
    LogFormat(u"Wektor konwojow panstw jest za maĹ‚y (%d elementow), nie ma wpisu dla panstwa o ID %d",
              static_cast<int>(manager.convoys.size()), countryId);
    manager.convoys.resize(index + 1);
  }
  std::vector<sConvoyResult>& done = manager.results[index];
  done.clear();
  std::vector<sConvoy>& list = manager.convoys[index];
  for (std::size_t i = 0; i < list.size(); ++i) {
    sConvoy& convoy = list[i];
    sConvoyResult result;
    ExecuteConvoy(convoy, result, groups, results);
    done.push_back(result);
    if (game.turn > 0) {
      LogFormat(u"Dodawanie raportu o wykonanym konwoju (indeks %d)", static_cast<int>(i));
      game.reports.Add(kReportConvoys, countryId,
                       Format(u"Convoy with %i of %s from %s to %s\n\nResult: %s\n\nDetails: %s", convoy.amount,
                              convoy.kind == kConvoySupplies ? u"supply" : u"PP", result.departureName,
                              result.destinationName, result.result, result.details));
    }
  }
}

void ShowConvoyResultsToPlayers(cGame& game) {
  const int viewerPbem = game.viewingCountry ? game.viewingCountry->pbemPlayerId : 0;
  for (const auto& country : game.countries) {
    if (!country->isActive || country->politicalStrength < 0) continue;
    const auto index = static_cast<std::size_t>(country->id - 1);
    if (index >= game.convoys.results.size() || game.convoys.results[index].empty()) continue;
    const bool shown = game.pbemGame ? country->pbemPlayerId == viewerPbem : country->humanControlled != 0;
    if (!shown) continue;
    // In a hot-seat game each player reads the results under the player's own panel.
    const ScopedInfoPanelCountry shownCountry(country->id);
    {
      GameLockGuard lock(__FILE__, __LINE__);
      Presentation().PushConvoyResultsDialog(country->id);
    }
    Presentation().WaitForConvoyResults(__FILE__, __LINE__);
  }
}

}  // namespace tr
