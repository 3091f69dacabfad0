// Message boxes for the few messages the game shows outside its own screens
// (a missing data file, no OpenGL). With a display they appear in SDL's
// message box; without one (the offscreen or dummy video driver, no X or
// Wayland display, a failing box) they go to stderr. They always go to
// stderr as well, so a player who started the game from a terminal sees them.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/window.h"

namespace tessaly::platform {

namespace {

bool headlessDriver(const char* driver) {
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0 ||
                      std::strcmp(driver, "evdev") == 0);
}

}  // namespace

bool displayAvailable() {
    if (headlessDriver(SDL_GetCurrentVideoDriver())) return false;
    if (headlessDriver(std::getenv("SDL_VIDEODRIVER"))) return false;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

void showMessage(std::string_view text, std::string_view caption) {
    const std::string t(text), c(caption);
    std::fprintf(stderr, "%s: %s\n", c.c_str(), t.c_str());
    std::fflush(stderr);
    if (displayAvailable())
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, c.c_str(), t.c_str(), nullptr);
}

[[noreturn]] void fatalError(std::string_view text, std::string_view caption, int exitCode) {
    showMessage(text, caption);
    // The process ends here without the normal shutdown, as a missing
    // required file leaves nothing worth saving; the lock goes with it.
    std::_Exit(exitCode);
}

}  // namespace tessaly::platform
