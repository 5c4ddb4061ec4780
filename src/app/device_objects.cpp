#include "app/device_objects.h"

#include <array>
#include <memory>

#include "app/skin_tables.h"
#include "foundation/console_log.h"
#include "foundation/format.h"
#include "gui/resource_cache.h"
#include "gui/texture_holder.h"
#include "platform/font.h"
#include "world/presentation.h"

namespace tr {
namespace {

std::array<TextureHolder, kTextureRecordCount>& Records() {
  static std::array<TextureHolder, kTextureRecordCount> records;
  return records;
}

std::unique_ptr<Font>& Bold() {
  static std::unique_ptr<Font> font;
  return font;
}

// Without its fonts the game draws blank buttons: the player is told once
// which faces are missing, when the device that needs them is made.
void ReportMissingFonts() {
  static std::size_t reported = 0;
  const std::vector<std::u16string> faces = MissingFontFaces();
  if (faces.size() <= reported) return;
  std::u16string list;
  for (std::size_t i = reported; i < faces.size(); ++i) list += (list.empty() ? u"\"" : u", \"") + faces[i] + u"\"";
  reported = faces.size();
  Presentation().ShowMessageBox(
      u"Missing font",
      Format(u"No installed font was found for %s. The game's texts cannot be shown until one is installed "
             u"(the fonts-liberation2 package provides the faces the game uses).",
             list),
      eMessageIcon::kError);
}

}  // namespace

TextureHolder& GlobalTextureRecord(int index) { return Records().at(static_cast<std::size_t>(index)); }

void ReleaseGameTextureRecords() {
  for (int i = kFirstGameTexture; i < kTextureRecordCount; ++i) GlobalTextureRecord(i).Release();
}

Font* BoldFont() { return Bold().get(); }

HResult OnDeviceCreated(Graphics& device) {
  LogLine(u"Device create");
  // The layout fonts and the skin are records of the GUI resource cache.
  GetGuiResourceCache().OnCreateDevice(&device);
  Bold() = Font::Create(u"Arial", 15, 700);
  CreateMapZoomFonts();
  CreateFontSets();
  ReportMissingFonts();
  // Blank textures are made again; pictures from files keep their texels.
  for (TextureHolder& record : Records()) {
    if (record.NeedsReset() == TextureHolder::kModeBlank) record.OnResetDevice();
  }
  LogLine(u"Device create end");
  return S_OK;
}

HResult OnDeviceReset(Graphics&) {
  LogLine(u"Device reset");
  const HResult hr = GetGuiResourceCache().OnResetDevice();
  if (Failed(hr)) return hr;
  LogLine(u"Device reset end");
  return S_OK;
}

void OnDeviceLost() {
  LogLine(u"Device lost");
  GetGuiResourceCache().OnLostDevice();
  LogLine(u"Device lost end");
}

void OnDeviceDestroyed() {
  LogLine(u"Device destroy");
  GetGuiResourceCache().OnDestroyDevice();
  ReleaseAppearanceFonts();
  Bold().reset();
  LogLine(u"Device destroy end");
}

}  // namespace tr
