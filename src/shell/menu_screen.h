// The menu screen: the menus over a background (the animated scene, the level
// map or the map of the third mode). Until the menus exist it is a black
// screen that Esc leaves, which ends the game.
//
// Depends on: the shell's screens and flags, the display device.
#pragma once

#include "shell/screen.h"

namespace tessaly::shell {

class MenuScreen final : public Screen {
public:
    MenuScreen() = default;
    MenuScreen(const MenuScreen&) = delete;
    MenuScreen& operator=(const MenuScreen&) = delete;

    const char* name() const override { return "menu"; }
    void onEnter() override;
    void onLeave() override;
    void afterFrame() override;
    void step(float dtMs) override;
    void draw() override;
    void onKeyDown(int virtualKey) override { lastKey = virtualKey; }

    // Background shown behind the menus: 0 and 4 the animated scene, 1 the
    // level map, 2 the third mode's map, anything else none.
    void setBackgroundMode(int mode) { m_backgroundMode = mode; }
    int backgroundMode() const { return m_backgroundMode; }

    float menuClockMs() const { return m_menuClockMs; }

private:
    int m_backgroundMode = 0;
    float m_menuClockMs = 0;  // advanced by the frame step while shown, ms
};

inline MenuScreen g_menuScreen;

}  // namespace tessaly::shell
