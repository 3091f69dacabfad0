// Calls the shell makes into subsystems that are reached only through it:
// the menus, the board and the saved game. Each is a plain function pointer
// set once at start-up by the subsystem that answers it; a hook left empty
// is skipped, so the shell runs before those subsystems exist and tests can
// watch what the shell asks for.
#pragma once

namespace tessaly::shell {

struct ShellHooks {
    void (*openFirstMenu)() = nullptr;        // title faded out: "main", or "newprofile" without players
    void (*resetMenuSelection)() = nullptr;   // the short menu code: selection back to the first entry
    void (*deferredDeviceWork)() = nullptr;   // after present: work that creates device textures
    void (*clearBoardHover)() = nullptr;      // the window lost the focus
    void (*saveGameOnClose)() = nullptr;      // the window is closed during play
};

inline ShellHooks g_hooks;

}  // namespace tessaly::shell
