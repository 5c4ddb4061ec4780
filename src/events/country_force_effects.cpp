// The "Country." effects on territory, war and peace, forces and convoys:
// moving land, declaring war and making peace, freezing, killing and handing
// over units, convoys between two cities and damage to the ships of a sea zone.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "events/diplomacy.h"
#include "events/effect_dispatch.h"
#include "events/effect_targets.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "foundation/random.h"
#include "scenario/table_reader.h"
#include "turn/convoy.h"
#include "world/city_rules.h"
#include "world/gra.h"

namespace tr {
namespace {

template <void (*Behaviour)(const sEffect&, cCountry&)>
void OnCountry(const sEffect& effect) {
  if (cCountry* country = EffectCountry(effect, 0)) Behaviour(effect, *country);
}

// Runs a behaviour on the countries of param0 and param1; both are looked at
// so that the log names every number at fault.
template <void (*Behaviour)(const sEffect&, cCountry&, cCountry&)>
void OnTwoCountries(const sEffect& effect) {
  cCountry* first = EffectCountry(effect, 0);
  cCountry* second = EffectCountry(effect, 1);
  if (first != nullptr && second != nullptr) Behaviour(effect, *first, *second);
}

void TransferTerritory(const sEffect&, cCountry& from, cCountry& to) {
  if (gGame->map) gGame->map->TransferTerritory(from.id, to.id);
}

void DeclareWarOnCountry(const sEffect& e, cCountry& declarer, cCountry& target) {
  // A war inside one alliance would leave its members both allies and enemies.
  if (declarer.id != target.id && declarer.IsAlly(target.id)) {
    LogFormat(u"WARNING: effect %s at line %i: %s and %s are allies and stay at peace", e.method, e.line, declarer.name,
              target.name);
    return;
  }
  // A target that the war brings into the declarer's own alliance would have
  // that alliance declare war on itself.
  const bool targetLeads = target.alliance >= kAlliesLeader && target.alliance <= kCominternLeader;
  if (AllianceBase(declarer.alliance) != 0 && !targetLeads && target.IsInOwnZoneOfInfluence() &&
      target.GetTargetAlliance() == AllianceBase(declarer.alliance)) {
    LogFormat(u"WARNING: effect %s at line %i: %s would join the alliance of %s; no war is declared", e.method, e.line,
              target.name, declarer.name);
    return;
  }
  if (DeclareWar(declarer.id, target.id, false) == 0) return;
  QueueEffectMessage(Format(u"%s declares war on %s!", declarer.name, target.name));
}

void UnFreezeAllUnits(const sEffect&, cCountry& c) { c.UnfreezeAllLandUnits(); }
void SetFreezeLevel(const sEffect& e, cCountry& c) {
  c.SetFreezeTimeOfFrozenLandUnits(HeldInRange(e, IntParam(e, 1), 0, kMaxTurnCount, u"freeze time", c));
}
void KillAllLandUnits(const sEffect&, cCountry& c) { c.DestroyAllLandUnits(); }
void KillAllAirUnits(const sEffect&, cCountry& c) { c.DestroyAllAirUnits(); }
void KillAllNavalUnits(const sEffect&, cCountry& c) { c.DestroyAllNavalUnits(); }
void ChangeOwnershipOfAllNavalUnits(const sEffect&, cCountry& from, cCountry& to) { from.TransferForcesTo(to.id); }
// Ships in the naval reserve stay.
void KillAllUnitsInReserve(const sEffect&, cCountry& c) { gGame->DestroyReserveUnitsOfCountry(c.id); }

// param0 is the original owner of the hexes the units stand on.
void ChangeEffectivityOfAllUnits(const sEffect& e, cCountry& originalOwner) {
  gGame->AddEventEffectOnCountryHexes(originalOwner.id, IntParam(e, 1), IntParam(e, 2));
}

// A convoy sails between the sea nodes of two port cities and is saved by
// them: a city without its node could neither sail nor be read back.
bool IsConvoyPort(const sEffect& e, const cCity& city) {
  const int node = ConvoyPortNodeId(*gGame, &city);
  if (IsPort(city) && gGame->seaGraph.IsNodeId(node)) {
    const sWezelGrafuMorz& port = gGame->seaGraph.GetNode(node - 1);
    if (port.x == city.x && port.y == city.y) return true;
  }
  LogFormat(u"WARNING: effect %s at line %i: the city on hex (%i, %i) is no port of the sea graph; nothing changes",
            e.method, e.line, city.x, city.y);
  return false;
}

void AddConvoy(const sEffect& e, cCountry& c) {
  const cCity* departure = EffectCity(e, 3, 4);
  const cCity* destination = EffectCity(e, 5, 6);
  if (departure == nullptr || destination == nullptr) return;
  if (!IsConvoyPort(e, *departure) || !IsConvoyPort(e, *destination)) return;
  // Amounts are read back from a save within this range.
  const std::int32_t amount = HeldInRange(e, IntParam(e, 2), 0, kMaxTurnCount, u"convoy amount", c);
  gGame->convoys.AddConvoyFromEvent(c.id, IntParam(e, 1), amount, departure->x, departure->y, destination->x,
                                    destination->y);
}

void RemoveConvoy(const sEffect& e, cCountry& c) {
  const cCity* departure = EffectCity(e, 2, 3);
  const cCity* destination = EffectCity(e, 4, 5);
  if (departure == nullptr || destination == nullptr) return;
  gGame->convoys.RemoveConvoysBetweenHexes(c.id, IntParam(e, 1), departure->x, departure->y, destination->x,
                                           destination->y);
}

// A country at peace with everybody keeps everything, its alliance included.
// Otherwise its units and those on its land go home, peace is made both ways
// with every country and it leaves its alliance; no successor is chosen.
void MakePeace(const sEffect& e, cCountry& c) {
  if (!c.IsAtWarWithAnyone()) return;
  c.WithdrawUnitsFromForeignHexes(IntParam(e, 1) == 1);
  c.alliance = kNeutral;
}

// The new hit points of a ship that loses the share of them; held within the
// 32-bit range, and a share that is no number does no damage.
std::int32_t HitPointsAfter(std::int32_t hitPoints, double share) {
  const double damage = std::trunc(share * hitPoints);
  if (std::isnan(damage)) return hitPoints;
  constexpr double kLow = std::numeric_limits<std::int32_t>::min();
  constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(hitPoints - damage, kLow, kHigh));
}

// Every ship at the node, of any owner, loses a random share of its hit
// points between the two shares; those left without any sink with their load.
// param0 names a country but plays no part.
void DamageRandomShipsInSeaZone(const sEffect& e) {
  if (EffectSeaNode(e, 1) == nullptr) return;
  const std::int32_t nodeId = IntParam(e, 1);
  // A share is a part of the hit points: below 0 it would repair ships past
  // their maximum, above 1 take more than they have.
  auto heldShare = [&](double share) {
    const double held = std::isnan(share) ? 0.0 : std::clamp(share, 0.0, 1.0);
    if (held != share) {
      LogFormat(u"WARNING: effect %s at line %i: damage share held at %f, within 0 to 1", e.method, e.line, held);
    }
    return held;
  };
  const double lowest = heldShare(e.params[2]);
  const double highest = heldShare(e.params[3]);
  std::vector<cJednostkaMorska*> sunk;
  for (const auto& ship : gGame->navalUnits) {
    if (ship->fleet == nullptr || ship->fleet->seaNodeId != nodeId) continue;
    const double share = lowest + static_cast<double>(RandomUnit()) * (highest - lowest);
    ship->hitPoints = HitPointsAfter(ship->hitPoints, share);
    if (ship->hitPoints <= 0) sunk.push_back(ship.get());
  }
  for (cJednostkaMorska* ship : sunk) ship->Sink(1);
  gGame->seaGraph.GetNode(nodeId - 1).CalculateNavalVisibility(false);
}

const sEffectBehaviour kCountryForceEffects[] = {
    {u"Country.ChangeTerritoryControllerOwnerAndOriginalOwner", OnTwoCountries<TransferTerritory>},
    {u"Country.DeclareWarOnCountry", OnTwoCountries<DeclareWarOnCountry>},
    {u"Country.UnFreezeAllUnits", OnCountry<UnFreezeAllUnits>},
    {u"Country.SetFreezeLevelForAllFreezedUnits", OnCountry<SetFreezeLevel>},
    {u"Country.KillAllLandUnits", OnCountry<KillAllLandUnits>},
    {u"Country.KillAllAirUnits", OnCountry<KillAllAirUnits>},
    {u"Country.KillAllNavalUnits", OnCountry<KillAllNavalUnits>},
    {u"Country.ChangeOwnershipOfAllNavalUnits", OnTwoCountries<ChangeOwnershipOfAllNavalUnits>},
    {u"Country.KillAllUnitsInReserve", OnCountry<KillAllUnitsInReserve>},
    {u"Country.ChangeEffectivityOfAllUnits", OnCountry<ChangeEffectivityOfAllUnits>},
    {u"Country.AddConvoy", OnCountry<AddConvoy>},
    {u"Country.RemoveConvoy", OnCountry<RemoveConvoy>},
    {u"Country.MakePeace", OnCountry<MakePeace>},
    {u"Country.DamageRandomShipsInSeaZone", DamageRandomShipsInSeaZone},
};

}  // namespace

std::span<const sEffectBehaviour> CountryForceEffects() { return kCountryForceEffects; }

}  // namespace tr
