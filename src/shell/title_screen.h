// The title screen and the loading screen it grows out of. While the data
// loads, every registered file draws one loading frame: the picture
// "loadscreen.jpg" with the bar "loadbar.jpg" growing with the bytes loaded.
// Then the title shows the full bar, two pulsing bolts and a pulsing
// "Press any key..."; a key or a click fades it to black over 800 ms and
// moves on to the menus.
//
// Depends on: the texture manager and drawing primitives, fonts, the sprite
// sheet (the bolts), sound (the title tune), the loading report.
#pragma once

#include <cstdint>

#include "shell/screen.h"

namespace tessaly::gfx {
struct TextureEntry;
}

namespace tessaly::shell {

// The bytes a full start-up registers; the bar is full at this many. More
// (a larger data set) makes it longer than the frame, as it always was.
constexpr int64_t kExpectedLoadBytes = 10141957;
constexpr float kTitleFadeMs = 800;

class TitleScreen final : public Screen {
public:
    TitleScreen() = default;
    TitleScreen(const TitleScreen&) = delete;
    TitleScreen& operator=(const TitleScreen&) = delete;

    const char* name() const override { return "title"; }
    void afterFrame() override;
    // The title tune, the clocks and the fade (which moves on to the menus).
    void step(float dtMs) override;
    void draw() override;
    void onKeyDown(int virtualKey) override { lastKey = virtualKey; }
    void onLeftButtonDown() override { lastKey = 13; }

    // Loads the two loading pictures (required), resets the tint to opaque
    // white and switches culling off.
    void loadResources();
    // The picture and the bar, in 2D, over the whole frame.
    void drawLoadingScreen();
    // Bar length as a fraction of 310 units: bytes loaded over the expected
    // total, not clamped; 1 once the title tune has started.
    float progress() const;

    float titleClockMs() const { return m_titleClockMs; }
    float fadeClockMs() const { return m_fadeClockMs; }
    bool musicStarted() const { return m_musicStarted; }
    uint32_t tint() const { return m_tint; }

private:
    float m_titleClockMs = 0;   // time the title has been shown, ms
    float m_fadeClockMs = 0;    // 0: not fading; else ms into the fade, up to 800
    bool m_musicStarted = false;
    uint32_t m_tint = 0xFFFFFFFFu;  // ARGB of the loading picture and bar
    gfx::TextureEntry* m_loadScreen = nullptr;
    gfx::TextureEntry* m_loadBar = nullptr;
};

inline TitleScreen g_titleScreen;

// One loading frame: the loading screen, presented.
void drawLoadingFrame();
// The loading progress hook while start-up loads: a loading frame unless one
// was presented less than a display refresh ago. The bar looks the same, but
// start-up stops paying a full-screen draw per data block.
void drawLoadingFrameAtRefresh();

}  // namespace tessaly::shell
