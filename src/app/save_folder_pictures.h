// The pictures a save or scenario folder brings with it (its image.png, its
// minimap) come from strangers as often as from us: they are held to a bound.
#pragma once

#include "platform/texture.h"

namespace tr {

// The largest such picture: a few screens each way. It is shown at most
// screen size, and a larger one would take memory for nothing.
PictureBound SaveFolderPictureBound();

}  // namespace tr
