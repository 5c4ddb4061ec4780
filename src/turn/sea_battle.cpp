#include "turn/sea_battle.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <utility>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/game_lock.h"
#include "foundation/random.h"
#include "foundation/string_base.h"
#include "scenario/scenario_constants.h"
#include "turn/fleet.h"
#include "turn/sea_graph_node.h"
#include "units/jednostka_morska.h"
#include "world/commander.h"
#include "world/gra.h"
#include "world/panstwo.h"
#include "world/presentation.h"

namespace tr {
namespace {

constexpr int kFleetDetectedLayout = 684;
constexpr int kCarrierLeftEdge = 4;    // columns below it
constexpr int kCarrierRightEdge = 27;  // columns from it on
constexpr int kEnemyFirstColumn = 15;
// A regular part never takes this many steps: each step clears one ship's
// may-act flag or ends a battle turn.
constexpr int kMaxHeadlessSteps = 1000000;

std::mutex gScreenMutex;
SeaBattleScreen gScreen;

std::u16string OwnerName(const cJednostkaMorska& ship) {
  const cCountry* country = ship.GetOwnerCountry();
  return country ? country->name : std::u16string();
}

std::u16string ShipText(const cJednostkaMorska& ship) { return ship.name + u" (" + OwnerName(ship) + u")"; }

bool IsHumanShip(const cJednostkaMorska& ship) {
  const cCountry* country = ship.GetOwnerCountry();
  return country && country->humanControlled;
}

bool AnyHuman(const sSeaBattle::ShipList& side) { return std::any_of(side.begin(), side.end(), [](auto* s) { return IsHumanShip(*s); }); }

bool IsPbem() { return gGame && gGame->pbemGame; }

void ComputeHumanSides(sSeaBattle& battle) {
  const bool pbem = IsPbem();
  battle.firstSideHuman = !pbem && AnyHuman(battle.firstSide);
  battle.enemySideHuman = !pbem && AnyHuman(battle.enemySide);
}

int CountType(const sSeaBattle::ShipList& side, int type) {
  return static_cast<int>(std::count_if(side.begin(), side.end(), [type](auto* s) { return s->type == type; }));
}

int OwnerTech(const cJednostkaMorska& ship, int index) {
  const cCountry* country = ship.GetOwnerCountry();
  return country ? country->GetTechLevel(index) : 0;
}

int HighestNavyLevel(const sSeaBattle::ShipList& side) {
  int best = 0;
  for (const cJednostkaMorska* ship : side) best = std::max(best, OwnerTech(*ship, kNavyTech));
  return best;
}

bool IsAllSubmarines(const sSeaBattle::ShipList& side) {
  return !side.empty() && CountType(side, kSubmarine) == static_cast<int>(side.size());
}

void ResetBattleFlags(cJednostkaMorska& ship) {
  ship.InitBattleFlags();
  ship.hasActed = 0;
  ship.targetable = ship.spotted || (ship.fleet && ship.fleet->active);
}

void AddEntry(sSeaBattle& battle, const cJednostkaMorska& attacker, const cJednostkaMorska& target,
              const std::u16string& text, int damage, bool destroyed, int kind) {
  LogLine(text);
  battle.pbem.openingEvents += text + u"\n";
  sSeaBattleEntry entry;
  entry.attacker = ShipText(attacker);
  entry.target = ShipText(target);
  entry.text = text;
  entry.damage = static_cast<float>(damage);
  entry.destroyed = destroyed ? 1 : 0;
  entry.kind = kind;
  battle.openingEntries.push_back(std::move(entry));
}

// One opening strike on a random target of the vector; a target sunk leaves it.
void StrikeRandomTarget(sSeaBattle& battle, const cJednostkaMorska& attacker, std::vector<cJednostkaMorska*>& targets,
                        int damage, const char* hitsKey, const char* destroysKey, int kind) {
  const int index = RandomRange(0, static_cast<int>(targets.size()) - 1);
  cJednostkaMorska& target = *targets[static_cast<std::size_t>(index)];
  target.hitPoints = std::max(0, target.hitPoints - damage);
  if (target.hitPoints > 0) {
    AddEntry(battle, attacker, target, Format(GetText(hitsKey), ShipText(attacker), ShipText(target), damage), damage,
             false, kind);
  } else {
    targets.erase(targets.begin() + index);
    AddEntry(battle, attacker, target, Format(GetText(destroysKey), ShipText(attacker), ShipText(target)), damage,
             true, kind);
  }
}

void AppendEntries(std::u16string& report, const sSeaBattle& battle, int kind) {
  bool any = false;
  for (const sSeaBattleEntry& e : battle.openingEntries) {
    if (e.kind != kind) continue;
    any = true;
    const int damage = static_cast<int>(e.damage);
    report += e.destroyed ? Format(GetText("___%s_destroyed_%s_(inflicted_%i_hp_loss)"), e.attacker, e.target, damage)
                          : Format(GetText("___%s_attacked_%s_and_inflicted_%i_hp_loss"), e.attacker, e.target, damage);
    report += u"\n";
  }
  if (!any) report += u"___(none)\n";
}

void EndBattle(sSeaBattle& battle) {
  if (battle.finished) return;
  battle.log += GetText("seabattle_end") + u"\n";
  ReportSeaBattleDamage(battle);
  battle.finished = 1;
}

int CountMayAct(const sSeaBattle::ShipList& side) {
  return static_cast<int>(std::count_if(side.begin(), side.end(), [](auto* s) { return s->mayAct != 0; }));
}

cJednostkaMorska* FindById(const sSeaBattle::ShipList& side, int unitId) {
  for (cJednostkaMorska* ship : side) {
    if (ship->id == unitId) return ship;
  }
  return nullptr;
}

// The side that shoots first: more carriers, then the better navy of the
// first ships' owners, then more ships, then the lower owner number.
std::uint8_t StartingSide(const sSeaBattle::ShipList& a, const sSeaBattle::ShipList& b) {
  const int carriersA = CountType(a, kAircraftCarrier);
  const int carriersB = CountType(b, kAircraftCarrier);
  if (carriersA != carriersB) return carriersA > carriersB ? 1 : 2;
  if (a.empty() || b.empty()) return a.empty() ? 2 : 1;
  const int navyA = OwnerTech(*a.front(), kNavyTech);
  const int navyB = OwnerTech(*b.front(), kNavyTech);
  if (navyA != navyB) return navyA > navyB ? 1 : 2;
  if (a.size() != b.size()) return a.size() > b.size() ? 1 : 2;
  return a.front()->owner < b.front()->owner ? 1 : 2;
}

void Remove(sSeaBattle::ShipList& side, const cJednostkaMorska* ship) { side.remove(const_cast<cJednostkaMorska*>(ship)); }

}  // namespace

int DrawSeaBattleLength() {
  int weights[5] = {};
  int sum = 0;
  for (int k = 0; k < 5; ++k) {
    weights[k] = gGame ? std::max(0, gGame->constants.ImpulseRuleValues(k + 1)) : 0;
    sum += weights[k];
  }
  if (sum <= 0) {
    LogLine(u"Sea battle length: the five weights add up to 0, the battle lasts 1 turn");
    return 1;
  }
  const int roll = RandomRange(1, sum);
  int running = 0;
  for (int k = 0; k < 5; ++k) {
    running += weights[k];
    if (roll <= running) return k + 1;
  }
  return 5;
}

sSeaBattle::sSeaBattle(ShipList first, ShipList enemy) : firstSide(std::move(first)), enemySide(std::move(enemy)) {
  battleTurnsLeft = DrawSeaBattleLength();
  if (!firstSide.empty() && firstSide.front()->fleet) zoneName = firstSide.front()->fleet->GetSeaNode().name;
  ComputeHumanSides(*this);
  stepRequestA = IsPbem() ? 1 : 0;
}

void sSeaBattle::RequestStepA() {
  stepRequestA = 1;
  stepTimer = 0.0f;
}

void sSeaBattle::RequestStepB() {
  stepRequestB = 1;
  stepTimer = 0.0f;
}

bool sSeaBattle::SelectShipSideA(int unitId) {
  cJednostkaMorska* ship = FindById(firstSide, unitId);
  if (!ship) return false;
  if (actingSide == 1 && !ship->mayAct) return false;
  selectedA = ship;
  return true;
}

bool sSeaBattle::SelectShipSideB(int unitId) {
  cJednostkaMorska* ship = FindById(enemySide, unitId);
  if (!ship) return false;
  if (actingSide == 1) {
    selectedB = ship;
    return true;
  }
  if (ship->mayAct) selectedB = ship;
  return false;
}

void SetSeaBattleScreen(SeaBattleScreen screen) {
  std::lock_guard<std::mutex> lock(gScreenMutex);
  gScreen = std::move(screen);
}

void ShowSeaBattleStageReport(sSeaBattle& battle) {
  battle.log = Format(u"Sea battle at %s\n\n", battle.zoneName);
  battle.initialHitPoints.clear();
  for (const auto* side : {&battle.firstSide, &battle.enemySide}) {
    for (const cJednostkaMorska* ship : *side) battle.initialHitPoints[ship->id] = ship->hitPoints;
  }
  battle.initialNames.clear();
  for (const auto* side : {&battle.firstSide, &battle.enemySide}) {
    for (const cJednostkaMorska* ship : *side) battle.initialNames[ship->id] = ship->name;
  }
  RunSeaBattleOpening(battle);

  if (!battle.openingEntries.empty() || battle.regularPartCancelled) {
    std::u16string report = u"Aircraft carrier groups\n-----------------\n";
    AppendEntries(report, battle, kEntryCarrierStrike);
    report += u"\nSubmarines\n-----------------\n";
    AppendEntries(report, battle, kEntrySubmarineAttack);
    if (battle.regularPartCancelled) {
      report += GetText("due_to_the_result_of_this_stage_of_the_battle,_regular_part_has_been_cancelled.");
    }
    battle.openingReport = report;
    Presentation().ShowTextInLayoutAndWait(u"Fleet detected", report, kFleetDetectedLayout);
  }
  if (battle.regularPartCancelled || battle.firstSide.empty() || battle.enemySide.empty()) return;

  SeaBattleScreen screen;
  {
    std::lock_guard<std::mutex> lock(gScreenMutex);
    screen = gScreen;
  }
  if (screen) {
    screen(battle);
  } else {
    RunSeaBattleHeadless(battle);
  }
}

void RunSeaBattleOpening(sSeaBattle& battle) {
  battle.pbem = {};
  const bool pbem = IsPbem();
  for (auto* side : {&battle.firstSide, &battle.enemySide}) {
    for (cJednostkaMorska* ship : *side) {
      ResetBattleFlags(*ship);
      battle.participants.insert(ship->owner);
      if (!pbem) continue;
      (side == &battle.firstSide ? battle.pbem.firstSideShips : battle.pbem.enemySideShips) += ship->name + u"\n";
      const cCountry* country = ship->GetOwnerCountry();
      if (country && country->HasPbemPlayer()) battle.pbem.players.insert(country->pbemPlayerId);
    }
  }
  battle.regularPartCancelled = 0;
  battle.openingEntries.clear();
  auto& a = battle.firstSide;
  auto& b = battle.enemySide;

  const bool carriersA = CountType(a, kAircraftCarrier) > 0;
  const bool carriersB = CountType(b, kAircraftCarrier) > 0;
  const bool onlyA = carriersA && !carriersB;
  const bool onlyB = carriersB && !carriersA;

  CarrierAirAttack(battle, a, b);
  RemoveSunkShips(battle);
  CarrierAirAttack(battle, b, a);
  RemoveSunkShips(battle);

  const auto bothPresent = [&] { return !a.empty() && !b.empty(); };
  if ((onlyA || onlyB) && bothPresent()) {
    const int tA = HighestNavyLevel(a);
    const int tB = HighestNavyLevel(b);
    if (RandomRange(0, 100) < std::abs(tA - tB) * 5) {
      if (onlyA) {
        CarrierAirAttack(battle, a, b);
      } else {
        CarrierAirAttack(battle, b, a);
      }
      RemoveSunkShips(battle);
    }
  }

  const int cA = CountType(a, kAircraftCarrier);
  const int cB = CountType(b, kAircraftCarrier);
  if ((onlyA || onlyB) && bothPresent()) {
    const int tA = HighestNavyLevel(a);
    const int tB = HighestNavyLevel(b);
    const int chance = onlyA ? cA + (tA - tB + 1) * 20 : cB + (tB - tA + 1) * 20;
    if (RandomRange(0, 100) < chance) battle.regularPartCancelled = 1;
  }
  if (carriersA && carriersB) {
    if (RandomRange(0, 100) < cA + cB + 20) battle.regularPartCancelled = 1;
  }

  SubmarineAttack(battle, a, b);
  RemoveSunkShips(battle);
  SubmarineAttack(battle, b, a);
  RemoveSunkShips(battle);

  const int sA = CountType(a, kSubmarine);
  const int sB = CountType(b, kSubmarine);
  const bool allSubsA = IsAllSubmarines(a);
  const bool allSubsB = IsAllSubmarines(b);
  if ((allSubsA || allSubsB) && sA + sB > 0) {
    if (RandomRange(0, 100) < 50 - (allSubsA ? sA : sB)) battle.regularPartCancelled = 1;
  }
  if (allSubsA && allSubsB) {
    if (RandomRange(0, 100) < 100 - sA - sB) battle.regularPartCancelled = 1;
  }

  const auto isTransport = [](const cJednostkaMorska* s) { return s->type == kCargoShip || s->type == kAmphibiousShip; };
  const bool onlyTransports = std::all_of(a.begin(), a.end(), isTransport) && std::all_of(b.begin(), b.end(), isTransport);
  // Transports alone fight no regular part, yet their ships are still drawn
  // below: the rest of the turn's random draws depend on it.
  if (onlyTransports) {
    battle.regularPartCancelled = 1;
  } else {
    battle.startingSide = StartingSide(a, b);
  }
  battle.actingSide = battle.startingSide;
  SelectRandomShips(battle);
  if (!battle.selectedA || !battle.selectedB) battle.regularPartCancelled = 1;
  battle.automatic = (!battle.firstSideHuman && !battle.enemySideHuman) || IsPbem();
}

void CarrierAirAttack(sSeaBattle& battle, sSeaBattle::ShipList& attackers, sSeaBattle::ShipList& targetSide) {
  if (attackers.empty() || targetSide.empty()) return;
  std::vector<cJednostkaMorska*> targets(targetSide.begin(), targetSide.end());
  for (const cJednostkaMorska* carrier : attackers) {
    if (targets.empty()) break;
    if (carrier->type != kAircraftCarrier) continue;
    const int n = OwnerTech(*carrier, kNavyTech);
    for (int attempt = 0; attempt < n && !targets.empty(); ++attempt) {
      if (RandomRange(0, 1000) >= n * 30) continue;
      StrikeRandomTarget(battle, *carrier, targets, n, "seabattle_aircraft_carrier_attack_hits",
                         "seabattle_aircraft_carrier_attack_destroys", kEntryCarrierStrike);
    }
  }
}

void SubmarineAttack(sSeaBattle& battle, sSeaBattle::ShipList& attackers, sSeaBattle::ShipList& targetSide) {
  if (attackers.empty() || targetSide.empty()) return;
  const int factor = IsAllSubmarines(attackers) && IsAllSubmarines(targetSide) ? 5 : 10;
  std::vector<cJednostkaMorska*> targets(targetSide.begin(), targetSide.end());
  for (const cJednostkaMorska* submarine : attackers) {
    if (targets.empty()) break;
    if (submarine->type != kSubmarine) continue;
    const int t = OwnerTech(*submarine, kSubmarineTech);
    if (RandomRange(0, 1000) >= t * factor) continue;
    StrikeRandomTarget(battle, *submarine, targets, t, "seabattle_submarine_attack_hits",
                       "seabattle_submarine_attack_destroys", kEntrySubmarineAttack);
  }
}

void RemoveSunkShips(sSeaBattle& battle) {
  const auto sunk = [](const cJednostkaMorska* s) { return s->hitPoints < 1; };
  battle.firstSide.remove_if(sunk);
  battle.enemySide.remove_if(sunk);
  ComputeHumanSides(battle);
  if (!gGame) return;
  // Collected first: sinking takes the ship out of the list being walked.
  std::vector<cJednostkaMorska*> toSink;
  for (const auto& ship : gGame->navalUnits) {
    if (ship->hitPoints < 1) toSink.push_back(ship.get());
  }
  for (cJednostkaMorska* ship : toSink) {
    if (battle.selectedA == ship) battle.selectedA = nullptr;
    if (battle.selectedB == ship) battle.selectedB = nullptr;
    ship->Sink(1);
  }
}

bool SelectRandomShips(sSeaBattle& battle) {
  const bool firstActs = battle.actingSide == 1;
  const auto actor = [](const cJednostkaMorska* s) { return s->hitPoints > 0 && s->mayAct; };
  const auto target = [](const cJednostkaMorska* s) { return s->hitPoints > 0 && s->targetable; };
  const auto draw = [](const sSeaBattle::ShipList& side, const auto& test, cJednostkaMorska*& selection) {
    std::vector<cJednostkaMorska*> candidates;
    for (cJednostkaMorska* ship : side) {
      if (test(ship)) candidates.push_back(ship);
    }
    if (candidates.empty()) return;
    selection = candidates[static_cast<std::size_t>(RandomRange(0, static_cast<int>(candidates.size()) - 1))];
  };
  if (firstActs) {
    draw(battle.enemySide, target, battle.selectedB);
    draw(battle.firstSide, actor, battle.selectedA);
  } else {
    draw(battle.enemySide, actor, battle.selectedB);
    draw(battle.firstSide, target, battle.selectedA);
  }
  return true;
}

bool RunSeaBattleRound(sSeaBattle& battle) {
  if (battle.finished) return true;
  if (!battle.selectedA || !battle.selectedB) {
    EndBattle(battle);
    return true;
  }
  SeaBattleShots(battle);
  if (battle.finished) return true;
  RemoveSunkShips(battle);
  if (battle.firstSide.empty() || battle.enemySide.empty()) {
    EndBattle(battle);
    return true;
  }
  const int a = CountMayAct(battle.firstSide);
  const int b = CountMayAct(battle.enemySide);
  if (a + b == 0) {
    EndSeaBattleRound(battle);
    if (battle.battleTurnsLeft > 0) return true;
    EndBattle(battle);
    return true;
  }
  if (a > 0 && b > 0) {
    battle.actingSide = battle.actingSide == 1 ? 2 : 1;
  } else {
    battle.actingSide = a > 0 ? 1 : 2;
  }
  SelectRandomShips(battle);
  return true;
}

void SeaBattleShots(sSeaBattle& battle) {
  const bool firstActs = battle.actingSide == 1;
  cJednostkaMorska* attacker = firstActs ? battle.selectedA : battle.selectedB;
  cJednostkaMorska* target = firstActs ? battle.selectedB : battle.selectedA;
  if (!attacker || !target) {
    LogLine(!attacker ? u"Zabraklo atakerow w bitwie morskiej, zaraz sie wywali pewnie"
                      : u"Zabraklo defenderow w bitwie morskiej, zaraz sie wywali pewnie");
    // No shot without both ships: the battle ends here with its report.
    EndBattle(battle);
    return;
  }
  int chance = attacker->GetTechRating();
  if (target->attachedCommander && gGame) {
    chance -= gGame->constants.SeaBattleShotValue() * target->attachedCommander->skill;
  }
  if (target->type == kAircraftCarrier &&
      (target->battleColumn < kCarrierLeftEdge || target->battleColumn >= kCarrierRightEdge)) {
    chance /= 2;
  }
  const bool fleetActive = target->fleet && target->fleet->active;
  if ((target->spotted != 0) != fleetActive) chance /= 2;
  if (chance < 2) chance = 1;
  battle.log += u"\n";
  Presentation().PlaySoundEffect(u"data\\sound\\NavalGun.wav");

  const bool planes = attacker->type == kAircraftCarrier;
  std::u16string text;
  if (RandomRange(1, 100) > chance) {
    text = Format(GetText(planes ? "seabattle_planes_shot_misses" : "seabattle_shot_misses"), attacker->name,
                  target->name);
    battle.lastShotEvent = planes ? kShotPlanesMisses : kShotGunsMisses;
  } else {
    const int damage = attacker->RollDetectionCheck() ? 1 : 0;
    target->hitPoints -= damage;
    if (target->hitPoints > 0) {
      text = Format(GetText(planes ? "seabattle_planes_shot_hits" : "seabattle_shot_hits"), attacker->name,
                    target->name, damage);
      battle.lastShotEvent = planes ? kShotPlanesHits : kShotGunsHits;
    } else {
      target->hitPoints = 0;
      text = Format(GetText(planes ? "seabattle_planes_shot_destroys" : "seabattle_shot_destroys"), attacker->name,
                    target->name);
      battle.lastShotEvent = planes ? kShotPlanesSinks : kShotGunsSinks;
    }
  }
  battle.log += text;
  attacker->mayAct = 0;
}

void EndSeaBattleRound(sSeaBattle& battle) {
  --battle.battleTurnsLeft;
  battle.log += u"\nTurn completed\n";
  for (auto* side : {&battle.enemySide, &battle.firstSide}) {
    for (cJednostkaMorska* ship : *side) ResetBattleFlags(*ship);
  }
  SelectRandomShips(battle);
}

void TryRetreatFromSeaBattle(sSeaBattle& battle, cJednostkaMorska& ship) {
  GameLockGuard lock(__FILE__, __LINE__);
  const int chance = gGame ? gGame->constants.SeaBattleRetreatValue() : 0;
  battle.log += u"\n";
  if (RandomRange(1, 100) >= chance) {
    battle.log += Format(u"%s (%s) tried to retreat: failed", ship.name, OwnerName(ship));
  } else {
    battle.log += Format(u"%s (%s) tried to retreat with chance %d%%: success", ship.name, OwnerName(ship), chance);
    Presentation().ClearSeaBattleCell(ship);
    Remove(ship.battleColumn >= kEnemyFirstColumn ? battle.enemySide : battle.firstSide, &ship);
    if (battle.selectedA == &ship) battle.selectedA = nullptr;
    if (battle.selectedB == &ship) battle.selectedB = nullptr;
    battle.initialHitPoints.erase(ship.id);
    battle.initialNames.erase(ship.id);
  }
  ship.mayAct = 0;
  ship.retreated = 1;
}

void ReportSeaBattleDamage(sSeaBattle& battle) {
  std::u16string destroyed;
  std::u16string damagedFirst;
  std::u16string damagedEnemy;
  // In the order of the names, as the players read it.
  std::vector<std::pair<std::u16string, std::int32_t>> order;
  for (const auto& [id, name] : battle.initialNames) order.emplace_back(name, id);
  std::sort(order.begin(), order.end());
  for (const auto& [name, id] : order) {
    const auto start = battle.initialHitPoints.find(id);
    if (start == battle.initialHitPoints.end()) continue;
    const cJednostkaMorska* first = FindById(battle.firstSide, id);
    const cJednostkaMorska* enemy = FindById(battle.enemySide, id);
    const cJednostkaMorska* ship = first ? first : enemy;
    if (!ship) {
      destroyed += name + u"\n";
    } else if (ship->hitPoints < start->second) {
      (first ? damagedFirst : damagedEnemy) +=
          Format(u"%s (%s) lost %d HP\n", ship->name, OwnerName(*ship), start->second - ship->hitPoints);
    }
  }
  std::u16string report = battle.log;
  if (!destroyed.empty()) report += u"\n\nDestroyed ships:\n" + destroyed;
  if (!damagedFirst.empty() || !damagedEnemy.empty()) report += u"\n\nDamaged ships:\n" + damagedEnemy + damagedFirst;
  if (!gGame) return;
  for (const std::int32_t country : battle.participants) gGame->reports.Add(kReportSeaBattle, country, report);
  if (gGame->pbemGame && !battle.pbem.players.empty()) gGame->seaBattles.push_back(battle.pbem);
}

void PlaceSeaBattleShips(const sSeaBattle& battle,
                         const std::function<void(cJednostkaMorska&, int column, int row)>& place) {
  static constexpr int kCarrierRows[15] = {0, -2, 2, -4, 4, -6, 6, -8, 8, -10, 10, -12, 12, -14, 14};
  static constexpr int kLine[22][2] = {{0, 0},  {-2, 0}, {-1, 2}, {1, 2},  {2, 0},  {-4, 0}, {-3, 2}, {-2, 4},
                                       {0, 4},  {2, 4},  {3, 2},  {4, 0},  {-6, 0}, {-5, 2}, {-4, 4}, {-3, 6},
                                       {-1, 6}, {1, 6},  {3, 6},  {4, 4},  {5, 2},  {6, 0}};
  const auto layOut = [&](const sSeaBattle::ShipList& side, bool first) {
    int carriers = 0;
    int others = 0;
    for (cJednostkaMorska* ship : side) {
      int dr = 0;
      int dc = 0;
      int column = 0;
      if (ship->type == kAircraftCarrier) {
        const int slot = carriers++;
        if (slot >= 30) {
          ship->battleColumn = ship->battleRow = -1;
          continue;
        }
        dr = kCarrierRows[slot % 15];
        dc = slot < 15 ? 0 : 2;
        column = first ? 3 - dc : 27 + dc;
      } else {
        const int slot = others++;
        if (slot >= 22) {
          ship->battleColumn = ship->battleRow = -1;
          continue;
        }
        dr = kLine[slot][0];
        dc = kLine[slot][1];
        column = first ? 13 - dc : 17 + dc;
      }
      ship->battleColumn = column;
      ship->battleRow = dr + 16;
      if (place) place(*ship, column, ship->battleRow);
    }
  };
  layOut(battle.firstSide, true);
  layOut(battle.enemySide, false);
}

void RunSeaBattleHeadless(sSeaBattle& battle) {
  PlaceSeaBattleShips(battle);
  for (int step = 0; !battle.finished; ++step) {
    if (step == kMaxHeadlessSteps) {
      LogLine(u"Sea battle stopped: the regular part did not come to an end");
      EndBattle(battle);
      break;
    }
    RunSeaBattleRound(battle);
  }
}

}  // namespace tr
