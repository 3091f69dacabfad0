#include "platform/keys.h"

#include <SDL_keycode.h>

namespace tessaly::platform {

int virtualKeyFromSdlKeycode(int32_t key) {
    // Letter keys: SDL reports the lower-case character, Windows the capital.
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VkF1 + (key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return VkNumpad0 + 1 + (key - SDLK_KP_1);
    switch (key) {
    case SDLK_RETURN: case SDLK_KP_ENTER: case SDLK_RETURN2: return VkEnter;
    case SDLK_ESCAPE: return VkEscape;
    case SDLK_SPACE: return VkSpace;
    case SDLK_BACKSPACE: return VkBackspace;
    case SDLK_TAB: return VkTab;
    case SDLK_DELETE: return VkDelete;
    case SDLK_INSERT: return VkInsert;
    case SDLK_HOME: return VkHome;
    case SDLK_END: return VkEnd;
    case SDLK_PAGEUP: return VkPageUp;
    case SDLK_PAGEDOWN: return VkPageDown;
    case SDLK_LEFT: return VkLeft;
    case SDLK_UP: return VkUp;
    case SDLK_RIGHT: return VkRight;
    case SDLK_DOWN: return VkDown;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VkShift;
    case SDLK_LCTRL: case SDLK_RCTRL: return VkControl;
    case SDLK_LALT: case SDLK_RALT: return VkAlt;
    case SDLK_PAUSE: return VkPause;
    case SDLK_KP_0: return VkNumpad0;
    default: return 0;
    }
}

}  // namespace tessaly::platform
