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
    // Advances the screen's state by the frame step; called once per frame
    // right before draw, which only reads that state.
    virtual void step(float dtMs) { (void)dtMs; }
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

// What a typed code does, and where it is listened for.
enum class TypedCode : uint8_t {
    None,
    AllLevels,     // "ZQWVXJ" (typed J X V W Q Z), menu screen: every level selectable
    ResetLevels,   // "ZQWV" (typed V W Q Z), menu screen: levels clamped again
    CheatKeys,     // "JXQZWVKP" (typed P K V W Z Q X J), game screen: toggles cheat keys
    StatsOverlay,  // "QXZ" (typed Z X Q), any screen: toggles the FPS and triangle overlay
};
enum class ScreenKind : uint8_t { Other, Menu, Game };

// The typed-code matcher: the last 15 letters typed, newest first. Codes
// are stored reversed for the same reason, so a code matches when the
// history begins with it, whatever was typed before.
struct TypedCodes {
    char history[16] = {};

    // Records a key (only 'A'..'Z' count) and returns the code it completes
    // on a screen of the given kind. Acts on nothing.
    TypedCode push(int key, ScreenKind where);
    // Feeds one key on the current screen; returns true when a code matched
    // and acted.
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
    int raiseRequests = 0;            // times a second copy asked us to the front
};

struct ScreenSwitch {
    Screen* current = nullptr;
    Screen* pending = nullptr;
    bool switchPending = false;
};

inline ShellFlags g_shell;
inline ScreenSwitch g_screens;
inline TypedCodes g_typedCodes;

// Carries out a matched code on the flags (and through the shell's hooks).
void applyTypedCode(TypedCode code, ShellFlags& flags);

void requestScreen(Screen* screen);
// Carries out a pending switch; called by the frame loop after afterFrame.
void switchPendingScreen();
// The same on a switch record of one's own (tests).
void requestScreen(ScreenSwitch& screens, Screen* screen);
void switchPendingScreen(ScreenSwitch& screens);
inline Screen* currentScreen() { return g_screens.current; }
void requestQuit();

}  // namespace tessaly::shell
