// The sound-effect table: loading, copies, the GUI's sounds and their volume.
#include "app/sound.h"

#include <gtest/gtest.h>

#include "app/app_presentation.h"
#include "app/music_player.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "gui/static.h"
#include "platform/audio.h"
#include "platform/null_audio.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace tr {
namespace {

class SoundTest : public testing::Test {
 protected:
  void SetUp() override {
    oldRoot_ = GameRoot();
    oldVolume_ = gSfxVolume;
    SetGameRoot(folder_.path());
    for (int slot = 0; slot < kSoundEffectCount; ++slot) {
      folder_.Write(std::string("data/sound/") + SoundFileOf(slot).file, "RIFF");
    }
    auto device = std::make_unique<NullAudioDevice>();
    audio_ = device.get();
    SetAudioDevice(std::move(device));
  }
  void TearDown() override {
    ShutdownSound();
    gSfxVolume = oldVolume_;
    SetGameRoot(oldRoot_);
  }
  test::TempDir folder_;
  NullAudioDevice* audio_ = nullptr;
  CDXUTStatic control_;

 private:
  std::filesystem::path oldRoot_;
  float oldVolume_ = 1.0f;
};

TEST_F(SoundTest, MissingFileIsLoggedAndLoadingGoesOn) {
  std::filesystem::remove(folder_.path() / "data" / "sound" / "AirStrike.wav");
  test::LogCapture log;
  InitSound();
  EXPECT_TRUE(log.Contains(u"Error while loading AirStrike.wav!"));
  EXPECT_EQ(GetSoundEffect(kSoundAirStrike), nullptr);
  for (int slot = 1; slot < kSoundEffectCount; ++slot) EXPECT_NE(GetSoundEffect(slot), nullptr) << slot;
  EXPECT_EQ(GetSoundEffect(kSoundEffectCount), nullptr);
  // An empty slot plays nothing.
  audio_->ClearCalls();
  PlaySoundSlot(kSoundAirStrike);
  EXPECT_TRUE(audio_->calls().empty());
}

TEST_F(SoundTest, EffectsHaveTheirNumberOfCopies) {
  InitSound();
  for (int slot = 0; slot < kSoundEffectCount; ++slot) {
    const int expected = slot == kSoundEditboxChanged                                            ? 5
                         : (slot == 2 || slot == 3 || (slot >= 10 && slot <= 13) || slot == 17) ? 3
                                                                                                 : 1;
    EXPECT_EQ(GetSoundEffect(slot)->copies(), expected) << SoundFileOf(slot).file;
  }
}

struct VolumeCase {
  float fraction;
  int volume;
};
class EffectsVolumeTest : public SoundTest, public testing::WithParamInterface<VolumeCase> {};

TEST_P(EffectsVolumeTest, ButtonClickPlaysAtTheVolumeInHundredthsOfADecibel) {
  InitSound();
  gSfxVolume = GetParam().fraction;
  audio_->ClearCalls();
  PlayGuiSound(0x101, 1, &control_);
  ASSERT_EQ(audio_->calls().size(), 1u);
  EXPECT_EQ(audio_->calls()[0].file, "ButtonClick.wav");
  EXPECT_EQ(audio_->calls()[0].volume, GetParam().volume);
}

INSTANTIATE_TEST_SUITE_P(Volumes, EffectsVolumeTest,
                         testing::Values(VolumeCase{0.5f, -5000}, VolumeCase{1.0f, 0}, VolumeCase{0.0f, -10000},
                                         VolumeCase{0.333f, -6670}));

struct GuiSoundCase {
  std::uint32_t event;
  const char* file;
};
class GuiSoundTest : public SoundTest, public testing::WithParamInterface<GuiSoundCase> {};

TEST_P(GuiSoundTest, EventPlaysItsSlot) {
  InitSound();
  audio_->ClearCalls();
  PlayGuiSound(GetParam().event, 1, &control_);
  if (GetParam().file == nullptr) {
    EXPECT_TRUE(audio_->calls().empty());
  } else {
    ASSERT_EQ(audio_->calls().size(), 1u);
    EXPECT_EQ(audio_->calls()[0].file, GetParam().file);
  }
  // Without a control nothing plays.
  audio_->ClearCalls();
  PlayGuiSound(GetParam().event, 1, nullptr);
  EXPECT_TRUE(audio_->calls().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Events, GuiSoundTest,
    testing::Values(GuiSoundCase{0x101, "ButtonClick.wav"}, GuiSoundCase{0x201, "ComboboxChanged.wav"},
                    GuiSoundCase{0x301, "RadiobuttonChanged.wav"}, GuiSoundCase{0x401, "CheckboxChanged.wav"},
                    GuiSoundCase{0x501, "SliderChanged.wav"}, GuiSoundCase{0x601, "EditboxString.wav"},
                    GuiSoundCase{0x602, "EditboxChanged.wav"}, GuiSoundCase{0x701, "ListboxDoubleClick.wav"},
                    GuiSoundCase{0x702, "ListboxSelection.wav"}, GuiSoundCase{0x801, nullptr}));

// The effects and tracks the build draws load on a real (silent) output.
TEST(ShippedSounds, EveryEffectAndTrackOfTheGameFolderLoads) {
  const std::filesystem::path oldRoot = GameRoot();
  SetGameRoot(TR_GAME_DIR);
  std::string reason;
  std::unique_ptr<AudioDevice> device = AudioDevice::OpenDefault(&reason);
  if (!device) GTEST_SKIP() << "no sound output: " << reason;
  AudioDevice* output = device.get();
  SetAudioDevice(std::move(device));
  test::LogCapture log;
  InitSound();
  for (int slot = 0; slot < kSoundEffectCount; ++slot) EXPECT_NE(GetSoundEffect(slot), nullptr) << slot;
  {
    cMusicPlayer music(output);
    EXPECT_TRUE(music.Play(-1));
    EXPECT_EQ(music.trackCount(), 2);
  }
  EXPECT_FALSE(log.ContainsText(u"ERROR"));
  ShutdownSound();
  SetGameRoot(oldRoot);
}

// The rules name their sounds by file; the first slot plays like any other.
TEST_F(SoundTest, TheGameScreenPlaysTheSoundARuleNamesAndLogsAnUnknownOne) {
  InitSound();
  cAppPresentation port;
  audio_->ClearCalls();
  port.PlaySoundEffect(u"data\\sound\\AirStrike.wav");
  port.PlaySoundEffect(u"data\\sound\\Buying.wav");
  ASSERT_EQ(audio_->calls().size(), 2u);
  EXPECT_EQ(audio_->calls()[0].file, "AirStrike.wav");
  EXPECT_EQ(audio_->calls()[1].file, "Buying.wav");
  test::LogCapture log;
  audio_->ClearCalls();
  port.PlaySoundEffect(u"Thunder.wav");
  EXPECT_TRUE(audio_->calls().empty());
  EXPECT_TRUE(log.Contains(u"WARNING: no sound effect is loaded for Thunder.wav"));
}

TEST(SoundSlotOfFile, FindsTheSlotOfAGamePathInAnyCase) {
  EXPECT_EQ(SoundSlotOfFile(u"data\\sound\\AirStrike.wav"), kSoundAirStrike);
  EXPECT_EQ(SoundSlotOfFile(u"data/sound/buying.WAV"), kSoundBuying);
  EXPECT_EQ(SoundSlotOfFile(u"Thunder.wav"), -1);
}

}  // namespace
}  // namespace tr
