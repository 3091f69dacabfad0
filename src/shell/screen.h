// Screens: exactly one is current. The frame loop calls its draw and
// afterFrame once per frame and turns input events into its operations.
// Switching is deferred: requestScreen() may be called at any time and the
// switch happens at the end of the frame (onLeave of the old screen, then
// onEnter of the new one). A second request in the same frame replaces the
// first.
//
// Mouse operations carry no coordinates: handlers read the cursor with
// gfx::screenToWorldCursor.
#pragma once

#include <cstdint>

namespace tessaly::shell {

class Screen {
public:
    virtual ~Screen() = default;

    virtual const char* name() const = 0;  // "title", "menu", "game": for --dump-state

    virtual void onEnter() {}
    virtual void onLeave() {}
    // Typed-code matcher on lastKey, then deferred device work; clears lastKey.
    virtual void afterFrame();
    virtual void tick() {}
    virtual void draw() {}
    virtual void onKeyDown(int virtualKey) { (void)virtualKey; }
    virtual void onLeftButtonDown() {}
    virtual void onLeftDoubleClick() {}
    virtual void onLeftButtonUp() {}
    virtual void onRightButtonDown() {}
    virtual void onRightButtonUp() {}
    virtual void onMiddleButtonDown() {}
    virtual void onMouseMove() {}

    int lastKey = 0;  // last key stored by onKeyDown (13 for a title click)
};

// The typed-code matcher: the last 15 letters typed, newest first.
struct TypedCodes {
    char history[16] = {};

    // Feeds one key; returns true when a code matched and acted.
    bool feed(int key);
};

// Process-wide flags the shell and the typed codes switch.
struct ShellFlags {
    bool quitRequested = false;
    bool appActive = true;
    bool tickSuspended = true;
    bool statsOverlay = false;        // "QXZ"
    bool cheatKeys = false;           // "JXQZWVKP" on the game screen
    bool allLevelsSelectable = false; // "ZQWVXJ" / "ZQWV" on the menu screen
};

struct ScreenSwitch {
    Screen* current = nullptr;
    Screen* pending = nullptr;
    bool switchPending = false;
};

inline ShellFlags g_shell;
inline ScreenSwitch g_screens;
inline TypedCodes g_typedCodes;

void requestScreen(Screen* screen);
// Carries out a pending switch; called by the frame loop after afterFrame.
void switchPendingScreen();
inline Screen* currentScreen() { return g_screens.current; }
void requestQuit();

}  // namespace tessaly::shell
