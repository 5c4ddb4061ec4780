// What lives as long as the render device: the frame-wide and game texture
// records, the bold font and, through the GUI resource cache, the layout
// fonts and the shared sprite. The four device callbacks make and release them.
#pragma once

#include "platform/codes.h"

namespace tr {

class Font;
class Graphics;
class TextureHolder;

// The 19 global texture records: three frame-wide pictures, then sixteen of a running game.
enum eTextureRecord : int {
  kTextureCursor = 0,   // also the first logo during the intro
  kTextureConsole = 1,  // also the second logo during the intro
  kTextureGuiSkin = 2,  // the skin atlas
  kFirstGameTexture = 3,
  kTextureRecordCount = 19,
};
TextureHolder& GlobalTextureRecord(int index);
// Releases the sixteen records of a running game.
void ReleaseGameTextureRecords();

// "Arial", height 15, weight 700; null without a device.
Font* BoldFont();

HResult OnDeviceCreated(Graphics& device);
HResult OnDeviceReset(Graphics& device);
void OnDeviceLost();
void OnDeviceDestroyed();

}  // namespace tr
