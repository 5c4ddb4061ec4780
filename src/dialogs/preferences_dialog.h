// cDialogUstawien: the preferences window. Six tabs of controls, each bound to
// one setting: a change takes effect at once and is set in the settings INI
// object; OK writes "Settings.ini" and goes back to the game (resumed) or to
// a new main menu. Resolution and window mode apply at the next start.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dialogs/dialog_base.h"

namespace tr {

// One named border colour of the preferences.
struct sNamedColour {
  std::uint32_t colour;  // ARGB
  const char16_t* name;
};
inline constexpr std::size_t kNamedColourCount = 148;
// "Default" first, then the colour keywords, each name with its trailing blank(s).
extern const std::array<sNamedColour, kNamedColourCount> kNamedColours;

// A window size offered by the preferences (one with a layout file).
struct sResolution {
  int index, width, height, reserved;
};
// Rebuilt each time the preferences open.
extern std::vector<sResolution> gAvailableResolutions;

class cDialogUstawien : public cDialog {
 public:
  static constexpr int kDialogId = 82;
  static constexpr int kTabs = 83;
  static constexpr int kResolutionCombo = 85;
  static constexpr int kWindowedCheck = 86;
  static constexpr int kFpsCombo = 88;
  static constexpr int kUnitsSkinList = 91;
  static constexpr int kDynamicUnitsCheck = 92;
  static constexpr int kUnitNamesCheck = 95;
  static constexpr int kMapSkinList = 97;
  static constexpr int kGridCheck = 98;
  static constexpr int kWeatherCheck = 99;
  static constexpr int kCityNamesCheck = 100;
  static constexpr int kSeaZoneNamesCheck = 101;
  static constexpr int kAPLeftCheck = 102;
  static constexpr int kBorderColourCombo = 104;
  static constexpr int kFirstPreview = 105;
  static constexpr int kLastPreview = 110;
  static constexpr int kVisibilitySlider = 113;
  static constexpr int kSeaBattleSlider = 146;
  static constexpr int kAlliesActionsCheck = 147;
  static constexpr int kSoundSlider = 150;
  static constexpr int kMusicSlider = 153;
  static constexpr int kEndTurnConfirmCheck = 154;
  static constexpr int kOkButton = 171;

  cDialogUstawien();

  // The sizes with a layout file, each once, smallest first: in full screen
  // among the display modes, in a window those that fit the desktop; the
  // current size is always among them.
  void FillResolutions();
  // Adds the size to the available ones when "data\GUI_<w>x<h>.csv" exists.
  void HasLayoutFile(int width, int height);
  // The sizes named by the layout files in the data folder, in no order.
  static std::vector<std::pair<int, int>> LayoutFileSizes();
  void FillBorderColours();
  void FormatDelay();
  void FormatVisibility();
  void FormatPercent();
  void FormatSeconds();

  void OnGUIEvent(std::uint32_t event, int controlId, CDXUTControl* control) override;

 private:
  // A check box of the table of settings, ticked as its setting stands.
  void AddSettingCheck(int id);
  void AddSkinList(int listId, std::u16string_view prefix, const std::u16string& current);
  void SetValueText(int id, std::u16string_view text);
  void TintPreviews();
};

}  // namespace tr
