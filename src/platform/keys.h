// Key numbers: the screens see keys as Windows virtual-key numbers (letters
// 65-90, digits 48-57, Enter 13, Esc 27, arrows 37-40, ...), the numbering
// the typed codes and the menu key handlers are written in. This maps SDL's
// layout-aware key codes onto them. Pure functions, no SDL header needed:
// the key code is passed as its plain 32-bit value.
#pragma once

#include <cstdint>

namespace tessaly::platform {

// Virtual-key numbers the game reacts to.
enum VirtualKey : int {
    VkBackspace = 8, VkTab = 9, VkEnter = 13, VkShift = 16, VkControl = 17, VkAlt = 18,
    VkPause = 19, VkEscape = 27, VkSpace = 32, VkPageUp = 33, VkPageDown = 34, VkEnd = 35,
    VkHome = 36, VkLeft = 37, VkUp = 38, VkRight = 39, VkDown = 40, VkInsert = 45,
    VkDelete = 46, VkNumpad0 = 96, VkF1 = 112,
};

// The virtual-key number of an SDL key code (SDL_Keycode), or 0 for keys the
// game has no number for (they are not passed on).
int virtualKeyFromSdlKeycode(int32_t sdlKeycode);

}  // namespace tessaly::platform
