// The sound-effect table: 31 WAV effects in fixed slots, each with the number
// of copies that may play over each other, the GUI's sounds by event, and the
// one audio device the effects and the music share.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace tr {

class AudioDevice;
class CDXUTControl;
class SoundEffect;

enum eSoundSlot : int {
  kSoundAirStrike = 0,
  kSoundAirToAirCombat,
  kSoundButtonClick,
  kSoundCheckboxChanged,
  kSoundComboboxChanged,
  kSoundEditboxChanged,
  kSoundEditboxString,
  kSoundInfantryMarching,
  kSoundIntroGameLogo,
  kSoundIntroLogo,
  kSoundItemClick,
  kSoundLandCombat,
  kSoundListboxDoubleClick,
  kSoundListboxSelection,
  kSoundMainMenuMusicLoop,
  kSoundNuclearAttack,
  kSoundPlaneFlying,
  kSoundRadiobuttonChanged,
  kSoundScrolling,
  kSoundShoreBombardment,
  kSoundSliderChanged,
  kSoundStrategicBombardment,
  kSoundTankRolling,
  kSoundTruckDriving,
  kSoundDrumRoll,
  kSoundNavalGun,
  kSoundAirRecon,
  kSoundStrategicDeployLand,
  kSoundParadrop,
  kSoundInvasion,
  kSoundBuying,
  kSoundEffectCount,  // 31 filled slots
};
inline constexpr int kSoundSlotCount = 100;

struct sSoundFile {
  const char* file;  // in "data\sound\"
  int copies;
};
// The file and copy count of each filled slot, in load order.
const sSoundFile& SoundFileOf(int slot);

// The device the effects and the music play on; null while the game is silent.
AudioDevice* GetAudioDevice();
// Installs a device (tests install a null device); replacing it empties the table.
void SetAudioDevice(std::unique_ptr<AudioDevice> device);

// Opens the machine's sound output unless a device is installed (without one
// the game logs why and goes on silent), loads the 31 effects (a file that
// does not load is logged and its slot stays empty) and hooks the GUI sounds.
void InitSound();
// Empties the table and closes the device.
void ShutdownSound();

// The effect in a slot, or null.
SoundEffect* GetSoundEffect(int slot);
// The effects volume in hundredths of a decibel: SFX fraction x 10000 - 10000.
std::int32_t EffectsVolume();
// Plays a slot at the effects volume; an empty slot plays nothing.
void PlaySoundSlot(int slot, bool looping = false);
// Stops a slot and rewinds it; nothing for an empty slot.
void StopSoundSlot(int slot);
// The slot of a file name ("AirStrike.wav", any folder, any case); -1 when none.
int SoundSlotOfFile(std::u16string_view file);

// The toolkit's sound hook: the GUI event's sound, when there is a control.
void PlayGuiSound(std::uint32_t event, int controlId, CDXUTControl* control);
// The slot an event plays, -1 for none.
int GuiSoundSlot(std::uint32_t event);

}  // namespace tr
