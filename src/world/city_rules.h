// The rules of a city that read its hex, its neighbours and the cities
// diagram: who holds it, where a country may put a unit at it, whether it is
// besieged and what the siege does, its sea node, and the hop counts over the
// diagram. The city record itself is plain data (world/city.h).
#pragma once

#include <string>

#include "world/city.h"
#include "world/hex_geometry.h"

namespace tr {

class cCitiesDiagram;
class cCountry;
class cMap;
struct sHex;

// The hex of the city on the running game's map; null when there is no map
// or the city lies off it.
sHex* GetCityHex(const cCity& city);

// The country numbers of the city's hex (0 when the city has no hex).
int GetControllerId(const cCity& city);
int GetOwnerId(const cCity& city);
int GetOriginalOwnerId(const cCity& city);

// Types 2 and 3.
bool IsPort(const cCity& city);

// Where the country may put a unit at the city: the city hex when it is free
// and held by the country or an ally, else the first free friendly land
// neighbour in direction order; (-1, -1) when there is none.
sPoint FindFreeHexForCountry(const cCity& city, const cCountry& country);
// The same around the land hex (x, y), a port's own hex for its ships.
sPoint FindFreeHexForCountry(int x, int y, const cCountry& country);
// Whether the country may supply a unit placed from its reserve from the
// city: not a resources city, its hex held by the country and, while the
// country is at war, at least half supply there and, for a country a player
// plays, no convoy supplying it. The computer's choice of deployment city and
// the deployment itself both ask this, so the computer never picks a city
// the deployment then refuses.
bool CanSupplyDeployment(const cCity& city, const cCountry& country);
// None of the six neighbours is a land hex on the map without a unit.
bool HasNoFreeLandNeighbour(const cCity& city);
// A unit stands on the city and at least two neighbours hold units at war
// with its controller, with no free land and no other unit around.
bool IsBesieged(const cCity& city);
// The siege check of a besieged city: the defender may lose a level or
// surrender. The report goes into text.
void CheckSiege(cCity& city, std::u16string& text);

// The sea node whose main hex is the city's hex; a city without one is a
// fatal data error.
int GetSeaNodeId(const cCity& city);

// Fills the city's hop counts: for every diagram node the least number of
// kind-0 edges from the city, -1 when unreachable.
void ComputeHopDistances(cCity& city, cCitiesDiagram& diagram);
// The city's hop count to the other city's node; -1 when either has no node
// or the counts were never filled that far.
int GetHopsTo(const cCity& city, const cCity& other);

}  // namespace tr
