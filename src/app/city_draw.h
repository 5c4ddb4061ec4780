// A city on the map: the town picture of the others sheet and the pieces the
// active city appearance of the map skin switches on (flag, fortification
// strip, port, supply, resources and victory-point icons, the victory points,
// the production and the name).
#pragma once

#include "platform/geometry.h"

namespace tr {

class SpriteBatch;
class cCity;
struct sHex;

// Draws the city of the hex at the map position; without drawMarker (the hex's
// decoration replaces the city layer) the town picture is left out.
void DrawCity(SpriteBatch& sprite, const cCity& city, PointF position, bool drawMarker, const sHex& hex,
              int variant);

// Where the active city appearance puts a city's name, from the hex's corner;
// empty when city names are not shown.
Rect CityNamePlace();

}  // namespace tr
