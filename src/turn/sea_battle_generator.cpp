// The end of impulse's sea battles: surprise attacks of carriers and raiding
// submarines, then zone by zone the meetings of hostile fleets and the
// detection of raiders, each meeting fought out before the next.
#include <algorithm>
#include <array>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "scenario/scenario_constants.h"
#include "turn/fleet.h"
#include "turn/sea_battle.h"
#include "turn/sea_graph_node.h"
#include "turn/turn_steps.h"
#include "units/jednostka_morska.h"
#include "world/game_state.h"
#include "world/gra.h"
#include "world/panstwo.h"
#include "world/presentation.h"

namespace tr {
namespace {

constexpr int kRaidersLayout = 684;

int SeaBattleWeight(const cJednostkaMorska& ship) {
  return gGame->constants.FleetTable(ship.TableType() - kAircraftCarrier + 1);
}

bool Participates() { return RandomRange(1, 100) <= gGame->constants.SeaBattleChanceLimit(); }

bool OnNode(const cJednostkaMorska& ship, int nodeId) { return ship.fleet && ship.fleet->seaNodeId == nodeId; }

bool InRegularActiveFleet(const cJednostkaMorska& ship) {
  return ship.fleet->formation == kFleetRegular && ship.fleet->active;
}

bool IsListed(const cGame& game, const cJednostkaMorska* ship) {
  return std::any_of(game.navalUnits.begin(), game.navalUnits.end(), [ship](const auto& s) { return s.get() == ship; });
}

const cCountry* CountryOf(const cGame& game, int id) { return game.GetCountry(id); }

bool IsAtWarWithCountry(const cGame& game, int owner, int other) {
  const cCountry* country = CountryOf(game, owner);
  return country && country->IsAtWarWith(other);
}

std::vector<cJednostkaMorska*> Snapshot(const cGame& game) {
  std::vector<cJednostkaMorska*> ships;
  for (const auto& ship : game.navalUnits) ships.push_back(ship.get());
  return ships;
}

}  // namespace

void AddRaidersReport(const std::u16string& text) {
  if (!gGame) return;
  for (const auto& country : gGame->countries) gGame->reports.Add(kReportSeaBattle, country->id, text);
}

void cSeaBattleGenerator::Run(cGame& game) {
  firstSide_.clear();
  enemySide_.clear();
  raiders_.clear();
  GenerateSeaBattles(game);
}

int cSeaBattleGenerator::GatherFirstSide(cGame& game, int nodeId, const std::function<bool(int owner)>& belongs,
                                         bool roll) {
  firstSide_.clear();
  int sum = 0;
  for (const auto& ship : game.navalUnits) {
    if (!OnNode(*ship, nodeId) || !belongs(ship->owner) || !InRegularActiveFleet(*ship)) continue;
    sum += SeaBattleWeight(*ship);
    if (!roll || Participates()) firstSide_.push_back(ship.get());
  }
  return sum;
}

void cSeaBattleGenerator::CollectRaiders(cGame& game, int nodeId, int against) {
  raiders_.clear();
  for (const auto& ship : game.navalUnits) {
    if (!OnNode(*ship, nodeId) || ship->fleet->formation != kFleetRaiders) continue;
    if (game.relations.IsAtWar(ship->fleet->countryId, against)) raiders_.push_back(ship.get());
  }
}

void cSeaBattleGenerator::SurpriseAttacks(cGame& game) {
  for (cJednostkaMorska* ship : Snapshot(game)) {
    if (!ship->fleet) continue;
    const bool raidingSubmarine = ship->type == kSubmarine && ship->fleet->formation == kFleetRaiders;
    if (ship->type != kAircraftCarrier && !raidingSubmarine) continue;
    std::u16string account;
    if (!ship->SurpriseAttack(account)) continue;
    const std::u16string text = u"Raiders activity - " + ship->fleet->GetSeaNode().name + u"\n\n" + account;
    game.reports.Add(kReportRaiders, ship->owner, text);
    const cCountry* owner = ship->GetOwnerCountry();
    const cCountry* current = game.playerControl.currentCountry;
    const bool shown = (owner && owner->humanControlled) || (current && current->IsAlly(ship->owner));
    if (!shown) continue;
    LogLine(u"Bede pokazywal raport o raiderach komunikujacy:");
    LogLine(account);
    LogLine(text);
    Presentation().ShowTextInLayoutAndWait(u"Raiders", account, kRaidersLayout);
  }
}

bool cSeaBattleGenerator::GatherMeeting(cGame& game, int nodeId, int warWith,
                                        const std::function<bool(int)>& ownSide) {
  // One walk decides both sides, ship by ship.
  firstSide_.clear();
  enemySide_.clear();
  int sum = 0;
  for (const auto& ship : game.navalUnits) {
    if (!OnNode(*ship, nodeId)) continue;
    if (ownSide(ship->owner)) {
      if (!InRegularActiveFleet(*ship)) continue;
      sum += SeaBattleWeight(*ship);
      if (Participates()) firstSide_.push_back(ship.get());
    } else if (ship->fleet->formation == kFleetRegular && game.relations.IsAtWar(ship->fleet->countryId, warWith)) {
      const bool hostileToSide = std::any_of(enemySide_.begin(), enemySide_.end(), [&](const cJednostkaMorska* o) {
        return IsAtWarWithCountry(game, ship->owner, o->owner);
      });
      if (!hostileToSide && Participates()) enemySide_.push_back(ship.get());
    }
  }
  if (firstSide_.empty() || enemySide_.empty()) return false;
  if (RandomRange(1, 1000) > sum) {
    LogLine(GetText("check_failed._no_battle_here_this_time."));
    return false;
  }
  return true;
}

void cSeaBattleGenerator::RunBattle(cGame& /*game*/, const std::u16string& text) {
  sSeaBattle battle(firstSide_, enemySide_);
  LogLine(text);
  AddRaidersReport(text);
  ShowSeaBattleStageReport(battle);
}

int cSeaBattleGenerator::GenerateSeaBattles(cGame& game) {
  LogLine(GetText("sea_battles_generator_thread_started"));
  std::array<int, 4> leaders{-1, -1, -1, -1};
  for (const auto& country : game.countries) {
    if (country->alliance >= kAlliesLeader && country->alliance <= kCominternLeader) {
      leaders[static_cast<std::size_t>(country->alliance - kAlliesLeader + 1)] = country->id;
    }
  }
  static constexpr const char* kMeetKeys[4] = {"", "allied_fleets_have_met_enemy_formations_in_%s",
                                               "axis_fleets_have_met_enemy_formations_in_%s",
                                               "comintern_fleets_have_met_enemy_formations_in_%s"};
  static constexpr const char* kRaiderKeys[4] = {"", "allied_fleets_have_met_enemy_raider_(%s)_in_%s",
                                                 "axis_fleets_have_met_enemy_raider_(%s)_in_%s",
                                                 "comintern_fleets_have_met_enemy_raider_(%s)_in_%s"};

  SurpriseAttacks(game);
  for (bool sunk = true; sunk;) {
    sunk = false;
    for (const auto& ship : game.navalUnits) {
      if (ship->hitPoints >= 1) continue;
      ship->Sink(1);  // the list changed: walk it again from its start
      sunk = true;
      break;
    }
  }

  std::vector<const cCountry*> neutrals;
  for (const auto& country : game.countries) {
    if (country->alliance == kNeutral && country->IsAtWarWithAnyone()) neutrals.push_back(country.get());
  }

  for (std::size_t index = 0; index < game.seaGraph.nodes.size(); ++index) {
    if (game.seaGraph.nodes[index].type != kSeaNodeOpenSea) continue;
    const int nodeId = game.seaGraph.nodes[index].id;
    const std::u16string nodeName = game.seaGraph.nodes[index].name;

    for (int side = 1; side <= 3; ++side) {
      const int leader = leaders[static_cast<std::size_t>(side)];
      if (leader == -1) continue;  // an alliance without a leader must not keep the others from meeting
      const auto belongs = [&](int owner) {
        const cCountry* c = CountryOf(game, owner);
        return c && c->BelongsToAlliance(side);
      };
      if (!GatherMeeting(game, nodeId, leader, belongs)) continue;
      LogLine(u"Check succeeded, starting battle");
      RunBattle(game, Format(GetText(kMeetKeys[side]), nodeName));
    }

    for (const cCountry* neutral : neutrals) {
      const int id = neutral->id;
      if (!GatherMeeting(game, nodeId, id, [id](int owner) { return owner == id; })) continue;
      LogLine(GetText("check_succeeded._starting_battle."));
      RunBattle(game, Format(GetText("fleets_of_%s_have_met_enemy_formations_in_%s"), neutral->name, nodeName));
    }

    for (int side = 1; side <= 3; ++side) {
      const int leader = leaders[static_cast<std::size_t>(side)];
      if (leader == -1) continue;
      const auto belongs = [&](int owner) {
        const cCountry* c = CountryOf(game, owner);
        return c && c->BelongsToAlliance(side);
      };
      const int sum = GatherFirstSide(game, nodeId, belongs, false);
      CollectRaiders(game, nodeId, leader);
      if (raiders_.empty()) continue;
      const int chance = sum / static_cast<int>(raiders_.size());
      const sSeaBattle::ShipList raiders = raiders_;
      for (cJednostkaMorska* raider : raiders) {
        if (!IsListed(game, raider)) continue;  // sunk in an earlier battle
        if (RandomRange(1, 1000) > chance) continue;
        GatherFirstSide(game, nodeId, belongs, true);
        if (firstSide_.empty()) continue;
        enemySide_ = {raider};
        RunBattle(game, Format(GetText(kRaiderKeys[side]), raider->name, nodeName));
      }
    }

    for (const cCountry* neutral : neutrals) {
      const int id = neutral->id;
      const int sum = GatherFirstSide(game, nodeId, [id](int owner) { return owner == id; }, false);
      CollectRaiders(game, nodeId, id);
      if (raiders_.empty()) continue;
      const int chance = sum / static_cast<int>(raiders_.size());
      LogFormat(u"Szansa wykrycia 1 rajdera na %s wynosi %i", nodeName, chance);
      const sSeaBattle::ShipList raiders = raiders_;
      for (cJednostkaMorska* raider : raiders) {
        if (!IsListed(game, raider)) continue;
        if (RandomRange(1, 1000) > chance) {
          LogLine(Format(GetText("check_for_raider_detection_(for_%s)_failed!"), raider->name));
          continue;
        }
        LogLine(Format(GetText("check_for_raider_detection_(for_%s)_succeeded!"), raider->name));
        const int raiderOwner = raider->owner;
        GatherFirstSide(
            game, nodeId, [&](int owner) { return owner == id && IsAtWarWithCountry(game, owner, raiderOwner); }, true);
        if (firstSide_.empty()) continue;
        enemySide_ = {raider};
        RunBattle(game, Format(GetText("fleets_of_%s_have_met_enemy_raider_(%s)_in_%s"), neutral->name, raider->name,
                               nodeName));
      }
    }
  }

  LogLine(GetText("ending_sea_battle_generator_thread"));
  game.SetGameState(kGameEndOfImpulse);
  return 0;
}

void InstallSeaBattleGenerator() {
  SetSeaBattleStep([](cGame& game) {
    cSeaBattleGenerator generator;
    generator.Run(game);
  });
}

}  // namespace tr
