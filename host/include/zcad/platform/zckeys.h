#pragma once
// The keyboard's state as Windows' key-state query answers it, for commands that change what
// they do while a key is held (Ctrl to enlarge instead of shrink, Esc to stop). Headless, the
// keys are held and released by scripts (docs/scripts.md, "Holding keys") and by the command
// line; a desktop program feeds its real keyboard into the same query.
#include "zcad/platform/zcwintypes.h"

using SHORT = std::int16_t;

// Virtual-key codes, Windows' numbers.
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_MENU = 0x12;  // Alt
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_LSHIFT = 0xA0;
inline constexpr int VK_RSHIFT = 0xA1;
inline constexpr int VK_LCONTROL = 0xA2;
inline constexpr int VK_RCONTROL = 0xA3;
inline constexpr int VK_LMENU = 0xA4;
inline constexpr int VK_RMENU = 0xA5;

// The high bit (the value is negative) while the key is held; 0 otherwise, and for codes
// outside 0..255. The left and right keys answer as their common key does: there is no
// telling them apart headless. No toggle bit is kept (Caps Lock and the like are not held
// keys here).
SHORT GetKeyState(int nVirtKey);
// The same state, read at the moment of the call; the "pressed since the last call" bit is
// never set.
SHORT GetAsyncKeyState(int vKey);
