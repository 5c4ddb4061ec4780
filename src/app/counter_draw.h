// Unit counters on the map and in panels: the unit's picture from its owner's
// unit sheet on a background of the owner's colour, with the marks, figures
// and name that the active record of the units skin lays out. Land units
// follow the land table, aircraft the air table, ships the naval table.
#pragma once

#include "platform/geometry.h"

namespace tr {

class SpriteBatch;
class Texture;
class cCountry;
class cJednostkaLadowa;
class cJednostkaLotnicza;
class cJednostkaMorska;
class cUnit;
struct sUnitRect;

// The 128 x 100 cell of a unit type and level (1..5) in a unit sheet; empty for unknown types.
Rect UnitAtlasCell(int type, int level);
// The country's own unit sheet, else the skin's.
const Texture* UnitSheetOf(const cCountry* country);
// The country's flag picture (or the default flag), null when none is loaded.
const Texture* FlagOf(const cCountry* country);

// Counters at the map position of their hex. The units of ownCountry show
// every mark, and their marks blink: an odd frame parity draws the lit row.
// Without named, the name under the counter is left out (a city's name stands there).
void DrawLandCounter(SpriteBatch& sprite, cJednostkaLadowa& unit, PointF position, float depth, int frameParity,
                     int ownCountry, bool named = true);
void DrawAirCounter(SpriteBatch& sprite, cJednostkaLotnicza& unit, PointF position, float depth, int frameParity,
                    int ownCountry, bool named = true);
// A ship's counter: its hit-point bar and figure; a ship out of the regular
// sea battle (first battle flag 0) is dimmed.
void DrawNavalCounter(SpriteBatch& sprite, const cJednostkaMorska& ship, PointF position, float depth,
                      bool named = true);
// Any kind of unit.
void DrawUnitCounter(SpriteBatch& sprite, cUnit& unit, PointF position, float depth, int frameParity, int ownCountry,
                     bool named = true);
// Where the unit's name is drawn, from the counter's corner, by the active
// record of its table; empty when names are not shown.
Rect UnitNamePlace(const cUnit& unit);

// The counter scaled into a panel rectangle (a counter is 166 pixels wide),
// without its name; the sprite's transform and the name setting are restored.
void DrawUnitIcon(SpriteBatch& sprite, cUnit& unit, const sUnitRect& target, int ownCountry);
// The ship's counter in a dialog (the fleets and units managers).
void DrawNavalCounterInDialog(SpriteBatch& sprite, cJednostkaMorska& ship, const sUnitRect& target);

}  // namespace tr
