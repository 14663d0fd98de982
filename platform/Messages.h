// Window messages as the game's window procedure receives them: the Win32 message numbers,
// virtual-key codes and parameter packing, whatever backend produced them.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

using WParam = std::uintptr_t;
using LParam = std::intptr_t;

struct Message {
    unsigned message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

// Message numbers.
const unsigned WM_SIZE = 0x0005;
const unsigned WM_ACTIVATE = 0x0006;
const unsigned WM_SETFOCUS = 0x0007;  // the window has the keyboard again
const unsigned WM_KILLFOCUS = 0x0008; // the keyboard went to another window
const unsigned WM_CLOSE = 0x0010;
const unsigned WM_QUIT = 0x0012;
const unsigned WM_KEYDOWN = 0x0100;
const unsigned WM_KEYUP = 0x0101;
const unsigned WM_SYSCOMMAND = 0x0112;
// The player's Alt+Enter: switch between a window and full screen on the desktop. A message of
// its own (in the application's range), so the Enter of the chord never reaches the key table.
const unsigned WM_TOGGLEFULLSCREEN = 0x8001;

// WM_ACTIVATE: low word of wParam; the high word is non-zero while the window is minimised.
const unsigned WA_INACTIVE = 0;
const unsigned WA_ACTIVE = 1;

// WM_SIZE: wParam.
const unsigned SIZE_RESTORED = 0;
const unsigned SIZE_MINIMIZED = 1;
const unsigned SIZE_MAXIMIZED = 2;

// WM_SYSCOMMAND: wParam (the low four bits are the system's own).
const unsigned SC_SCREENSAVE = 0xF140;
const unsigned SC_MONITORPOWER = 0xF170;

// Virtual-key codes. Letters and digits are their upper-case ASCII codes ('A' = 0x41, '0' = 0x30).
const unsigned VK_BACK = 0x08;
const unsigned VK_TAB = 0x09;
const unsigned VK_RETURN = 0x0D;
const unsigned VK_SHIFT = 0x10;
const unsigned VK_CONTROL = 0x11;
const unsigned VK_MENU = 0x12;
const unsigned VK_PAUSE = 0x13;
const unsigned VK_ESCAPE = 0x1B;
const unsigned VK_SPACE = 0x20;
const unsigned VK_PRIOR = 0x21;
const unsigned VK_NEXT = 0x22;
const unsigned VK_END = 0x23;
const unsigned VK_HOME = 0x24;
const unsigned VK_LEFT = 0x25;
const unsigned VK_UP = 0x26;
const unsigned VK_RIGHT = 0x27;
const unsigned VK_DOWN = 0x28;
const unsigned VK_INSERT = 0x2D;
const unsigned VK_DELETE = 0x2E;
const unsigned VK_M = 0x4D; // mute and unmute the sound
const unsigned VK_NUMPAD0 = 0x60;
const unsigned VK_F1 = 0x70; // F2 to F12 follow one by one up to 0x7B
const unsigned VK_F3 = 0x72;
const unsigned VK_F4 = 0x73;
const unsigned VK_F5 = 0x74;
const unsigned VK_F6 = 0x75;
const unsigned VK_F12 = 0x7B;
// Gamepad controls as keys (the codes Windows gives them): a stick pushed past its dead zone or a
// trigger pulled is a held key, like a button.
const unsigned VK_GAMEPAD_A = 0xC3;
const unsigned VK_GAMEPAD_RIGHT_SHOULDER = 0xC7;
const unsigned VK_GAMEPAD_LEFT_SHOULDER = 0xC8;
const unsigned VK_GAMEPAD_LEFT_TRIGGER = 0xC9;
const unsigned VK_GAMEPAD_RIGHT_TRIGGER = 0xCA;
const unsigned VK_GAMEPAD_MENU = 0xCF; // Start
const unsigned VK_GAMEPAD_VIEW = 0xD0; // Back
const unsigned VK_GAMEPAD_LEFT_THUMBSTICK_UP = 0xD3;
const unsigned VK_GAMEPAD_LEFT_THUMBSTICK_DOWN = 0xD4;
const unsigned VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT = 0xD5;
const unsigned VK_GAMEPAD_LEFT_THUMBSTICK_LEFT = 0xD6;
const unsigned VK_GAMEPAD_RIGHT_THUMBSTICK_UP = 0xD7;
const unsigned VK_GAMEPAD_RIGHT_THUMBSTICK_DOWN = 0xD8;
const unsigned VK_GAMEPAD_RIGHT_THUMBSTICK_RIGHT = 0xD9;
const unsigned VK_GAMEPAD_RIGHT_THUMBSTICK_LEFT = 0xDA;
const unsigned VK_COUNT = 256; // size of a table indexed by virtual-key code

inline LParam makeLParam(unsigned low, unsigned high) {
    return static_cast<LParam>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16));
}
inline unsigned lowWord(std::uintptr_t value) {
    return static_cast<unsigned>(value & 0xFFFFu);
}
inline unsigned highWord(std::uintptr_t value) {
    return static_cast<unsigned>((value >> 16) & 0xFFFFu);
}

// Names the key table and the runner's scripts use: "U", "F3", "ESC", "SPACE", "1", or a code
// in hex ("0x55"). Case does not matter. Gives 0 for a name it does not know.
unsigned virtualKeyFromName(const char* name);
// The name virtualKeyFromName reads back to the code: "U", "F3", "ESC", "LEFT", else "0x.." hex.
std::string virtualKeyName(unsigned code);

} // namespace platform
