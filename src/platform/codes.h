// The numeric codes the game and the GUI toolkit compare and store: window
// messages, virtual keys, mouse-key flags, text-format flags and result codes.
// They keep the values of the platform the game was first written for, so
// layouts, hotkey tables and stored results mean the same numbers.
#pragma once

#include <cstdint>

namespace tr {

using WParam = std::uint64_t;
using LParam = std::int64_t;
using HResult = std::int32_t;
using Argb = std::uint32_t;

// Window messages.
inline constexpr std::uint32_t WM_NULL = 0x0000;
inline constexpr std::uint32_t WM_SIZE = 0x0005;
inline constexpr std::uint32_t WM_ACTIVATE = 0x0006;
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_QUIT = 0x0012;
inline constexpr std::uint32_t WM_ACTIVATEAPP = 0x001C;
inline constexpr std::uint32_t WM_INPUTLANGCHANGE = 0x0051;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr std::uint32_t WM_IME_STARTCOMPOSITION = 0x010D;
inline constexpr std::uint32_t WM_IME_ENDCOMPOSITION = 0x010E;
inline constexpr std::uint32_t WM_IME_COMPOSITION = 0x010F;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209;
inline constexpr std::uint32_t WM_MOUSEWHEEL = 0x020A;
inline constexpr std::uint32_t WM_XBUTTONDOWN = 0x020B;
inline constexpr std::uint32_t WM_XBUTTONUP = 0x020C;
inline constexpr std::uint32_t WM_XBUTTONDBLCLK = 0x020D;
inline constexpr std::uint32_t WM_CAPTURECHANGED = 0x0215;
inline constexpr std::uint32_t WM_MOUSEFIRST = WM_MOUSEMOVE;
inline constexpr std::uint32_t WM_MOUSELAST = WM_XBUTTONDBLCLK;

// One notch of the mouse wheel.
inline constexpr int WHEEL_DELTA = 120;

// Mouse-key flags in the wParam of mouse messages.
inline constexpr std::uint32_t MK_LBUTTON = 0x0001;
inline constexpr std::uint32_t MK_RBUTTON = 0x0002;
inline constexpr std::uint32_t MK_SHIFT = 0x0004;
inline constexpr std::uint32_t MK_CONTROL = 0x0008;
inline constexpr std::uint32_t MK_MBUTTON = 0x0010;
inline constexpr std::uint32_t MK_XBUTTON1 = 0x0020;
inline constexpr std::uint32_t MK_XBUTTON2 = 0x0040;
// High word of the wParam of side-button messages.
inline constexpr std::uint32_t XBUTTON1 = 0x0001;
inline constexpr std::uint32_t XBUTTON2 = 0x0002;

// Virtual keys. Letters and digits are their upper-case ASCII codes.
inline constexpr std::uint32_t VK_LBUTTON = 0x01;
inline constexpr std::uint32_t VK_RBUTTON = 0x02;
inline constexpr std::uint32_t VK_MBUTTON = 0x04;
inline constexpr std::uint32_t VK_XBUTTON1 = 0x05;
inline constexpr std::uint32_t VK_XBUTTON2 = 0x06;
inline constexpr std::uint32_t VK_BACK = 0x08;
inline constexpr std::uint32_t VK_TAB = 0x09;
inline constexpr std::uint32_t VK_CLEAR = 0x0C;
inline constexpr std::uint32_t VK_RETURN = 0x0D;
inline constexpr std::uint32_t VK_SHIFT = 0x10;
inline constexpr std::uint32_t VK_CONTROL = 0x11;
inline constexpr std::uint32_t VK_MENU = 0x12;
inline constexpr std::uint32_t VK_PAUSE = 0x13;
inline constexpr std::uint32_t VK_CAPITAL = 0x14;
inline constexpr std::uint32_t VK_ESCAPE = 0x1B;
inline constexpr std::uint32_t VK_SPACE = 0x20;
inline constexpr std::uint32_t VK_PRIOR = 0x21;
inline constexpr std::uint32_t VK_NEXT = 0x22;
inline constexpr std::uint32_t VK_END = 0x23;
inline constexpr std::uint32_t VK_HOME = 0x24;
inline constexpr std::uint32_t VK_LEFT = 0x25;
inline constexpr std::uint32_t VK_UP = 0x26;
inline constexpr std::uint32_t VK_RIGHT = 0x27;
inline constexpr std::uint32_t VK_DOWN = 0x28;
inline constexpr std::uint32_t VK_SNAPSHOT = 0x2C;
inline constexpr std::uint32_t VK_INSERT = 0x2D;
inline constexpr std::uint32_t VK_DELETE = 0x2E;
inline constexpr std::uint32_t VK_LWIN = 0x5B;
inline constexpr std::uint32_t VK_RWIN = 0x5C;
inline constexpr std::uint32_t VK_APPS = 0x5D;
inline constexpr std::uint32_t VK_NUMPAD0 = 0x60;
inline constexpr std::uint32_t VK_MULTIPLY = 0x6A;
inline constexpr std::uint32_t VK_ADD = 0x6B;
inline constexpr std::uint32_t VK_SEPARATOR = 0x6C;
inline constexpr std::uint32_t VK_SUBTRACT = 0x6D;
inline constexpr std::uint32_t VK_DECIMAL = 0x6E;
inline constexpr std::uint32_t VK_DIVIDE = 0x6F;
inline constexpr std::uint32_t VK_F1 = 0x70;  // F1 to F24 follow in order
inline constexpr std::uint32_t VK_F10 = 0x79;
inline constexpr std::uint32_t VK_F12 = 0x7B;
inline constexpr std::uint32_t VK_NUMLOCK = 0x90;
inline constexpr std::uint32_t VK_SCROLL = 0x91;
inline constexpr std::uint32_t VK_LSHIFT = 0xA0;
inline constexpr std::uint32_t VK_RSHIFT = 0xA1;
inline constexpr std::uint32_t VK_LCONTROL = 0xA2;
inline constexpr std::uint32_t VK_RCONTROL = 0xA3;
inline constexpr std::uint32_t VK_LMENU = 0xA4;
inline constexpr std::uint32_t VK_RMENU = 0xA5;
inline constexpr std::uint32_t VK_OEM_1 = 0xBA;       // ;
inline constexpr std::uint32_t VK_OEM_PLUS = 0xBB;    // =
inline constexpr std::uint32_t VK_OEM_COMMA = 0xBC;   // ,
inline constexpr std::uint32_t VK_OEM_MINUS = 0xBD;   // -
inline constexpr std::uint32_t VK_OEM_PERIOD = 0xBE;  // .
inline constexpr std::uint32_t VK_OEM_2 = 0xBF;       // /
inline constexpr std::uint32_t VK_OEM_3 = 0xC0;       // `
inline constexpr std::uint32_t VK_OEM_4 = 0xDB;       // [
inline constexpr std::uint32_t VK_OEM_5 = 0xDC;       // backslash
inline constexpr std::uint32_t VK_OEM_6 = 0xDD;       // ]
inline constexpr std::uint32_t VK_OEM_7 = 0xDE;       // '

// Text-format flags of text drawing and measuring.
inline constexpr std::uint32_t DT_TOP = 0x0000;
inline constexpr std::uint32_t DT_LEFT = 0x0000;
inline constexpr std::uint32_t DT_CENTER = 0x0001;
inline constexpr std::uint32_t DT_RIGHT = 0x0002;
inline constexpr std::uint32_t DT_VCENTER = 0x0004;
inline constexpr std::uint32_t DT_BOTTOM = 0x0008;
inline constexpr std::uint32_t DT_WORDBREAK = 0x0010;
inline constexpr std::uint32_t DT_SINGLELINE = 0x0020;
inline constexpr std::uint32_t DT_EXPANDTABS = 0x0040;
inline constexpr std::uint32_t DT_NOCLIP = 0x0100;
inline constexpr std::uint32_t DT_CALCRECT = 0x0400;
inline constexpr std::uint32_t DT_NOPREFIX = 0x0800;

// Result codes.
inline constexpr HResult S_OK = 0;
inline constexpr HResult S_FALSE = 1;
inline constexpr HResult E_NOTIMPL = static_cast<HResult>(0x80004001u);
inline constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);
inline constexpr HResult E_OUTOFMEMORY = static_cast<HResult>(0x8007000Eu);
inline constexpr HResult E_INVALIDARG = static_cast<HResult>(0x80070057u);
inline constexpr HResult D3DERR_INVALIDCALL = static_cast<HResult>(0x8876086Cu);
inline constexpr HResult D3DXERR_INVALIDDATA = static_cast<HResult>(0x88760B59u);

constexpr bool Succeeded(HResult hr) { return hr >= 0; }
constexpr bool Failed(HResult hr) { return hr < 0; }

// Word packing of message parameters.
constexpr std::uint16_t LoWord(std::uint64_t v) { return static_cast<std::uint16_t>(v & 0xFFFF); }
constexpr std::uint16_t HiWord(std::uint64_t v) { return static_cast<std::uint16_t>((v >> 16) & 0xFFFF); }
constexpr LParam MakeLParam(int lo, int hi) {
  return static_cast<LParam>(static_cast<std::int32_t>(
      (static_cast<std::uint32_t>(static_cast<std::uint16_t>(lo))) |
      (static_cast<std::uint32_t>(static_cast<std::uint16_t>(hi)) << 16)));
}
constexpr WParam MakeWParam(int lo, int hi) {
  return static_cast<WParam>(static_cast<std::uint32_t>(MakeLParam(lo, hi)));
}
// Signed client coordinates of a mouse message.
constexpr int XFromLParam(LParam lp) { return static_cast<std::int16_t>(LoWord(static_cast<std::uint64_t>(lp))); }
constexpr int YFromLParam(LParam lp) { return static_cast<std::int16_t>(HiWord(static_cast<std::uint64_t>(lp))); }
constexpr int WheelDeltaFromWParam(WParam wp) { return static_cast<std::int16_t>(HiWord(wp)); }

// Bits of the lParam of key messages.
inline constexpr LParam kKeyAltDownBit = LParam{1} << 29;
inline constexpr LParam kKeyPreviousStateBit = LParam{1} << 30;  // set on auto-repeat and on key up
inline constexpr LParam kKeyTransitionBit = LParam{1} << 31;     // set on key up

}  // namespace tr
