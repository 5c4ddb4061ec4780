// Raw input becomes the window messages the GUI toolkit routes.
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/codes.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "platform/message_translator.h"

namespace tr {
namespace {

std::vector<WindowMessage> Translate(MessageTranslator& t, const RawInput& in) {
  std::vector<WindowMessage> out;
  t.Translate(in, out);
  return out;
}

TEST(MessageTranslator, KeyDownOfAIsKeyDownWithVirtualKey) {
  MessageTranslator t;
  const std::uint32_t vk = VirtualKeyFromSdlKey('a');
  EXPECT_EQ(vk, 0x41u);
  auto m = Translate(t, RawInput::KeyDown(vk));
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].msg, 0x100u);
  EXPECT_EQ(m[0].wparam, 0x41u);
  EXPECT_EQ(m[0].lparam & kKeyPreviousStateBit, 0);
  m = Translate(t, RawInput::KeyDown(vk, /*repeat=*/true));
  EXPECT_NE(m[0].lparam & kKeyPreviousStateBit, 0);
  m = Translate(t, RawInput::KeyUp(vk));
  EXPECT_EQ(m[0].msg, WM_KEYUP);
  EXPECT_NE(m[0].lparam & kKeyTransitionBit, 0);
}

// The main keyboard's keys are their characters: '=' (shifted '+'), a '+' key
// of its own on some layouts, and '-'.
TEST(MessageTranslator, MainKeyboardPlusAndMinusAreTheirOwnKeys) {
  EXPECT_EQ(VirtualKeyFromSdlKey('='), VK_OEM_PLUS);
  EXPECT_EQ(VirtualKeyFromSdlKey('+'), VK_OEM_PLUS);
  EXPECT_EQ(VirtualKeyFromSdlKey('-'), VK_OEM_MINUS);
}

// The function keys run on past F12 in order, as their virtual keys do.
TEST(MessageTranslator, FunctionKeysFollowInOrder) {
  EXPECT_EQ(VirtualKeyFromSdlKey(SDLK_F1), VK_F1);
  EXPECT_EQ(VirtualKeyFromSdlKey(SDLK_F12), VK_F1 + 11);
  EXPECT_EQ(VirtualKeyFromSdlKey(SDLK_F13), VK_F1 + 12);
  EXPECT_EQ(VirtualKeyFromSdlKey(SDLK_F24), VK_F1 + 23);
}

TEST(MessageTranslator, AltMakesSystemKeys) {
  MessageTranslator t;
  Translate(t, RawInput::KeyDown(VK_LMENU));
  auto m = Translate(t, RawInput::KeyDown('A'));
  EXPECT_EQ(m[0].msg, 0x104u);
  EXPECT_NE(m[0].lparam & kKeyAltDownBit, 0);
  m = Translate(t, RawInput::KeyUp('A'));
  EXPECT_EQ(m[0].msg, 0x105u);
  Translate(t, RawInput::KeyUp(VK_LMENU));
  EXPECT_EQ(Translate(t, RawInput::KeyDown('A'))[0].msg, WM_KEYDOWN);
}

TEST(MessageTranslator, TextBecomesOneCharPerUtf16Unit) {
  MessageTranslator t;
  auto m = Translate(t, RawInput::Text("a\xC3\xA9\xE2\x82\xAC"));
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[0], (WindowMessage{WM_CHAR, 0x61, 1}));
  EXPECT_EQ(m[1].wparam, 0xE9u);
  EXPECT_EQ(m[2].wparam, 0x20ACu);
  // Outside the basic plane: a surrogate pair.
  EXPECT_EQ(Translate(t, RawInput::Text("\xF0\x9F\x98\x80")).size(), 2u);
}

struct ControlCase {
  std::uint32_t vk;
  bool ctrl;
  WParam ch;
};
class ControlCharacters : public testing::TestWithParam<ControlCase> {};

TEST_P(ControlCharacters, KeysThatTypeControlCharacters) {
  MessageTranslator t;
  auto m = Translate(t, RawInput::KeyDown(GetParam().vk).WithCtrl(GetParam().ctrl));
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[1].msg, WM_CHAR);
  EXPECT_EQ(m[1].wparam, GetParam().ch);
}

INSTANTIATE_TEST_SUITE_P(Keys, ControlCharacters,
                         testing::Values(ControlCase{VK_BACK, false, 8}, ControlCase{VK_RETURN, false, 13},
                                         ControlCase{VK_TAB, false, 9}, ControlCase{VK_ESCAPE, false, 27},
                                         ControlCase{'A', true, 1}, ControlCase{'C', true, 3},
                                         ControlCase{'V', true, 22}, ControlCase{'X', true, 24}));

TEST(MessageTranslator, WheelNotchUpIs120AtClientPoint) {
  MessageTranslator t;
  Translate(t, RawInput::MouseMove(300, 200));
  auto m = Translate(t, RawInput::Wheel(1));
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].msg, 0x20Au);
  EXPECT_EQ(WheelDeltaFromWParam(m[0].wparam), 120);
  EXPECT_EQ(XFromLParam(m[0].lparam), 300);
  EXPECT_EQ(YFromLParam(m[0].lparam), 200);
  EXPECT_EQ(WheelDeltaFromWParam(Translate(t, RawInput::Wheel(-2))[0].wparam), -240);
}

TEST(MessageTranslator, SecondClickIsDoubleClickWithButtonFlags) {
  MessageTranslator t;
  auto m = Translate(t, RawInput::MouseDown(RawInput::kLeft, 10, 20));
  EXPECT_EQ(m[0].msg, WM_LBUTTONDOWN);
  EXPECT_EQ(LoWord(m[0].wparam), MK_LBUTTON);
  EXPECT_EQ(Translate(t, RawInput::MouseUp(RawInput::kLeft, 10, 20))[0].msg, WM_LBUTTONUP);
  m = Translate(t, RawInput::MouseDown(RawInput::kLeft, 10, 20, 2));
  EXPECT_EQ(m[0].msg, 0x203u);
  m = Translate(t, RawInput::MouseDown(RawInput::kRight, 10, 20).WithShift());
  EXPECT_EQ(m[0].msg, WM_RBUTTONDOWN);
  EXPECT_EQ(LoWord(m[0].wparam), MK_LBUTTON | MK_RBUTTON | MK_SHIFT);
  m = Translate(t, RawInput::MouseDown(RawInput::kSide2, -5, 7));
  EXPECT_EQ(m[0].msg, WM_XBUTTONDOWN);
  EXPECT_EQ(HiWord(m[0].wparam), XBUTTON2);
  EXPECT_EQ(XFromLParam(m[0].lparam), -5);
}

TEST(MessageTranslator, CompositionStartsUpdatesAndEnds) {
  MessageTranslator t;
  auto m = Translate(t, RawInput::Composition("ka", 2));
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].msg, WM_IME_STARTCOMPOSITION);
  EXPECT_EQ(m[1].msg, WM_IME_COMPOSITION);
  EXPECT_EQ(t.composition, u"ka");
  EXPECT_EQ(Translate(t, RawInput::Composition("kan", 3)).size(), 1u);
  m = Translate(t, RawInput::CompositionEnd());
  EXPECT_EQ(m[0].msg, WM_IME_ENDCOMPOSITION);
  EXPECT_TRUE(t.composition.empty());
}

TEST(MessageTranslator, KeyStateHasDownAndToggleBits) {
  MessageTranslator t;
  Translate(t, RawInput::KeyDown(VK_LSHIFT));
  EXPECT_LT(t.KeyState(VK_SHIFT), 0);
  EXPECT_LT(t.KeyState(VK_LSHIFT), 0);
  // A key held down repeats; only its first press toggles it.
  Translate(t, RawInput::KeyDown(VK_LSHIFT, /*repeat=*/true));
  EXPECT_EQ(t.KeyState(VK_SHIFT), static_cast<std::int16_t>(0x8001));
  Translate(t, RawInput::KeyUp(VK_LSHIFT));
  EXPECT_EQ(t.KeyState(VK_SHIFT), 1);  // toggled once, now up
  // Nor does letting go of a key never seen going down (pressed before the window had the focus).
  Translate(t, RawInput::KeyUp(VK_CAPITAL));
  EXPECT_EQ(t.KeyState(VK_CAPITAL), 0);
  Translate(t, RawInput::KeyDown(VK_CAPITAL));
  Translate(t, RawInput::KeyUp(VK_CAPITAL));
  EXPECT_EQ(t.KeyState(VK_CAPITAL), 1);
}

}  // namespace
}  // namespace tr
