// The view state shared by the camera code and the frame: the zoom level
// (0 shows the map at scale 1, 1 fits the whole map width), the target and
// displayed scales, and the drag state the in-game mouse handler keeps.
#pragma once

#include <functional>

namespace tr {

class cMap;

extern float gZoomLevel;
extern float gTargetScale;
extern float gDisplayedScale;

// Written by the in-game mouse handler, read by cMap::FrameMove.
struct sMapDrag {
  bool inProgress = false;
  bool ended = false;  // cleared by the map once it has taken the drag
  int offsetX = 0;     // screen pixels
  int offsetY = 0;
};
extern sMapDrag gMapDrag;

// What a click on the map (a drag of at most 9 pixels) does in the human
// player's states: clearing the selection and the pending attack belongs to
// the player interface, which installs it.
void SetMapClickHandler(std::function<void()> handler);

// The view of a freshly loaded map: displayed and target scale at the
// settings' map zoom, kept between the map's fit scale and 1, the zoom level
// to match, the camera still.
void ResetMapView(cMap& map);

}  // namespace tr
