// Attacks on convoys: the fleet chosen among the enemies in the zone, then the
// raiders in naval-unit list order, each loss capped at the load still afloat.
#include "turn/convoy_attack.h"

#include <algorithm>
#include <vector>

#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/random.h"
#include "scenario/report_kinds.h"
#include "turn/convoy.h"
#include "turn/fleet.h"
#include "turn/sea_graph.h"
#include "units/jednostka_morska.h"
#include "world/commander.h"
#include "world/gra.h"

namespace tr {
namespace {

constexpr int kConvoyAttackLine = 121;
constexpr int kCommanderFactorLine = 180;

bool AtWar(const cGame& game, int a, int b) { return a >= 1 && b >= 1 && game.relations.IsAtWar(a, b); }

int CommanderBonus(const cGame& game, const cJednostkaMorska& ship) {
  const sCommander* commander = ship.attachedCommander;
  return commander ? game.constants.Int(kCommanderFactorLine, 2) * commander->skill : 0;
}

int Remaining(const sConvoyResult& convoy) { return convoy.pointsCarried - convoy.pointsLost; }

void FileAttackReport(cGame& game, int attacker, const std::u16string& attackerName, const std::u16string& zone,
                      int loss) {
  LogFormat(u"Convoy attacked on %s by %s: %d STP lost", zone, attackerName, loss);
  if (game.turn <= 0) return;
  game.reports.Add(kReportRaiders, attacker,
                   Format(u"%s attacked convoys on %s, inflicted %d STP loss", attackerName, zone, loss));
}

}  // namespace

int ConvoyAttackChance(const sConvoyResult& convoy) {
  const cGame& game = *gGame;
  const int remaining = Remaining(convoy);
  const int token = remaining <= 10 ? 2 : remaining <= 20 ? 3 : 4;
  const float factor = game.constants.Float(kConvoyAttackLine, token);
  const int base = static_cast<int>(game.constants.Float(kConvoyAttackLine, 1));
  return static_cast<int>(static_cast<float>(base) * factor);
}

void AttackConvoysInZone(cSeaGraph& graph, int convoyOwner, int nodeId, sConvoyResult& convoy, bool endLine) {
  cGame& game = *gGame;
  const sWezelGrafuMorz& node = graph.GetNode(nodeId - 1);
  convoy.details += u"\n>>> ";
  convoy.details += node.name;

  if (node.type == kSeaNodeOpenSea && convoy.pointsLost < convoy.pointsCarried) {
    std::vector<cFleet*> enemies;
    for (const auto& fleet : game.fleets) {
      if (fleet->seaNodeId == nodeId && AtWar(game, fleet->countryId, convoyOwner)) enemies.push_back(fleet.get());
    }
    if (!enemies.empty()) {
      const int pick = RandomRange(1, static_cast<int>(enemies.size()));
      cFleet& fleet = *enemies[static_cast<std::size_t>(pick - 1)];
      int chance = ConvoyAttackChance(convoy);
      if (!fleet.ships.empty()) chance += CommanderBonus(game, *fleet.ships.front());
      if (RandomRange(1, 100) <= chance) {
        const int loss = std::min(fleet.GetConvoyAttackValue(), Remaining(convoy));
        convoy.pointsLost += loss;
        convoy.details += Format(u"[ATTACKED by enemy FLEET (%i ships), lost %i STP] ",
                                 static_cast<int>(fleet.ships.size()), loss);
        FileAttackReport(game, fleet.countryId, fleet.name, node.name, loss);
      }
    }

    std::vector<cJednostkaMorska*> raiders;
    for (const auto& ship : game.navalUnits) {
      const cFleet* fleet = ship->fleet;
      if (fleet && fleet->seaNodeId == nodeId && fleet->formation == kFleetRaiders &&
          AtWar(game, ship->owner, convoyOwner)) {
        raiders.push_back(ship.get());
      }
    }
    const float raiderFactor = game.constants.Float(kConvoyAttackLine, 5);
    for (cJednostkaMorska* ship : raiders) {
      if (convoy.pointsLost >= convoy.pointsCarried) break;
      const int chance = static_cast<int>(static_cast<float>(ConvoyAttackChance(convoy)) * raiderFactor) +
                         CommanderBonus(game, *ship);
      if (RandomRange(1, 100) > chance) continue;
      const int loss = std::min(ship->RollPerTypeValue(), Remaining(convoy));
      convoy.pointsLost += loss;
      convoy.details += Format(u"[ATTACKED by enemy RAIDER, lost %i STP] ", loss);
      FileAttackReport(game, ship->owner, ship->name, node.name, loss);
    }
  }

  if (endLine) convoy.details += u"\n";
}

}  // namespace tr
