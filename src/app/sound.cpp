#include "app/sound.h"

#include <array>
#include <cmath>
#include <string>

#include "foundation/console_log.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/string_base.h"
#include "foundation/text.h"
#include "gui/gui_hooks.h"
#include "gui/gui_types.h"
#include "platform/audio.h"

namespace tr {
namespace {

constexpr std::array<sSoundFile, kSoundEffectCount> kSoundFiles = {{
    {"AirStrike.wav", 1},          {"AirToAirCombat.wav", 1},      {"ButtonClick.wav", 3},
    {"CheckboxChanged.wav", 3},    {"ComboboxChanged.wav", 1},     {"EditboxChanged.wav", 5},
    {"EditboxString.wav", 1},      {"InfantryMarching.wav", 1},    {"IntroSoundGameLogo.wav", 1},
    {"IntroSoundLogo.wav", 1},     {"ItemClick.wav", 3},           {"LandCombat.wav", 3},
    {"ListboxDoubleClick.wav", 3}, {"ListboxSelection.wav", 3},    {"MainMenuMusicLoop.wav", 1},
    {"NuclearAttack.wav", 1},      {"PlaneFlying.wav", 1},         {"RadiobuttonChanged.wav", 3},
    {"Scrolling.wav", 1},          {"ShoreBombardment.wav", 1},    {"SliderChanged.wav", 1},
    {"StrategicBombardment.wav", 1}, {"TankRolling.wav", 1},       {"TruckDriving.wav", 1},
    {"drum_roll.wav", 1},          {"NavalGun.wav", 1},            {"AirRecon.wav", 1},
    {"StrategicDeployLand.wav", 1}, {"Paradrop.wav", 1},           {"Invasion.wav", 1},
    {"Buying.wav", 1},
}};

struct sSoundState {
  std::unique_ptr<AudioDevice> device;
  std::array<std::unique_ptr<SoundEffect>, kSoundSlotCount> slots;
};

sSoundState& State() {
  static sSoundState state;
  return state;
}

void EmptySlots() {
  for (auto& slot : State().slots) slot.reset();
}

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

}  // namespace

const sSoundFile& SoundFileOf(int slot) { return kSoundFiles.at(static_cast<std::size_t>(slot)); }

AudioDevice* GetAudioDevice() { return State().device.get(); }

void SetAudioDevice(std::unique_ptr<AudioDevice> device) {
  // Effects belong to the device that made them.
  EmptySlots();
  State().device = std::move(device);
}

void InitSound() {
  EmptySlots();
  sSoundState& state = State();
  if (!state.device) {
    std::string reason;
    state.device = AudioDevice::OpenDefault(&reason);
    if (!state.device) {
      // Without a sound output the game is still playable: it goes on silent.
      LogLine(GetText("error_initializing_directsound._exiting."));
      LogLine(u"No sound output (" + Utf8ToUtf16(reason) + u"); the game goes on without sound");
    }
  }
  if (state.device) {
    for (int slot = 0; slot < kSoundEffectCount; ++slot) {
      const sSoundFile& entry = kSoundFiles[static_cast<std::size_t>(slot)];
      const std::string gamePath = std::string("data\\sound\\") + entry.file;
      state.slots[static_cast<std::size_t>(slot)] =
          state.device->LoadEffect(ResolveGamePath(std::string_view(gamePath)), entry.copies);
      if (!state.slots[static_cast<std::size_t>(slot)]) {
        LogFormat(u"Error while loading %s!", entry.file);
      }
    }
  }
  SetGuiSoundHook(&PlayGuiSound);
}

void ShutdownSound() {
  SetGuiSoundHook({});
  EmptySlots();
  State().device.reset();
}

SoundEffect* GetSoundEffect(int slot) {
  if (slot < 0 || slot >= kSoundSlotCount) return nullptr;
  return State().slots[static_cast<std::size_t>(slot)].get();
}

std::int32_t EffectsVolume() { return static_cast<std::int32_t>(std::trunc(gSfxVolume * 10000.0f - 10000.0f)); }

void PlaySoundSlot(int slot, bool looping) {
  if (SoundEffect* effect = GetSoundEffect(slot)) effect->Play(EffectsVolume(), looping);
}

void StopSoundSlot(int slot) {
  if (SoundEffect* effect = GetSoundEffect(slot)) {
    effect->Stop();
    effect->Reset();
  }
}

int SoundSlotOfFile(std::u16string_view file) {
  const std::size_t cut = file.find_last_of(u"\\/");
  if (cut != std::u16string_view::npos) file.remove_prefix(cut + 1);
  for (int slot = 0; slot < kSoundEffectCount; ++slot) {
    const std::string_view name = kSoundFiles[static_cast<std::size_t>(slot)].file;
    if (name.size() != file.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i) {
      same = Lower(static_cast<char16_t>(name[i])) == Lower(file[i]);
    }
    if (same) return slot;
  }
  return -1;
}

int GuiSoundSlot(std::uint32_t event) {
  switch (event) {
    case GuiEventButtonClicked: return kSoundButtonClick;
    case GuiEventComboSelectionChanged: return kSoundComboboxChanged;
    case GuiEventRadioChanged: return kSoundRadiobuttonChanged;
    case GuiEventCheckChanged: return kSoundCheckboxChanged;
    case GuiEventSliderChanged: return kSoundSliderChanged;
    case GuiEventEditEnter: return kSoundEditboxString;
    case GuiEventEditChanged: return kSoundEditboxChanged;
    case GuiEventListDoubleClick: return kSoundListboxDoubleClick;
    case GuiEventListSelection: return kSoundListboxSelection;
    default: return -1;
  }
}

void PlayGuiSound(std::uint32_t event, int /*controlId*/, CDXUTControl* control) {
  if (control == nullptr) return;
  const int slot = GuiSoundSlot(event);
  if (slot >= 0) PlaySoundSlot(slot);
}

}  // namespace tr
