// Floating texts: up to 16 short texts at given screen positions (score
// values, bonus names) that grow in, pulse and shrink out, in a flickering
// warm colour, throwing glow sparks while they grow. Each lives exactly its
// duration: 30 % growing, 40 % pulsing, 30 % shrinking.
//
// Life runs on a 2000-unit scale (2000 at birth, 0 at the end) lost at
// 2000 / duration per ms. Stepped by the screen each frame, then drawn.
// Capacity: a ring of kMaxFloatingTexts; the 17th text overwrites the oldest.
// Depends on: fonts and text drawing, the spark system (preset 15), the
// message line and letter banners (cleared with the texts), the animation
// clock (read while drawing).
#pragma once

#include <array>
#include <string_view>

#include "base/pool_use.h"

namespace tessaly::fx {

struct SparkSystem;

constexpr int kMaxFloatingTexts = 16;       // a busy move shows a handful at once
constexpr int kFloatingTextLength = 127;    // longer texts are cut
constexpr float kFloatingLife = 2000;       // life units at birth
constexpr float kFloatingGrowEnd = 1400;    // above: growing
constexpr float kFloatingPulseEnd = 600;    // above: pulsing; at or below: shrinking
constexpr int kFloatingTextSparkPreset = 15;

// How one text is drawn at life L (before the frame's decrement).
struct FloatingTextLook {
    float size = 0;
    int alpha = 0;
    bool growing = false;
};

struct FloatingText {
    char text[kFloatingTextLength + 1] = {};
    float width = 0;           // textWidth(text, size)
    float life = -1;           // life units; active while above 0
    float x = 0, y = 0;        // centre, screen units
    float size = 0;            // full text size
    float rate = 0;            // life units per ms
    bool drawn = false;        // this frame shows it (set by the step)
    FloatingTextLook shown;    // ... with this look
};

struct FloatingTexts {
    std::array<FloatingText, kMaxFloatingTexts> slots;
    int next = 0;
    base::PoolUse use;
};

inline FloatingTexts g_floatingTexts;

void addFloatingText(FloatingTexts& f, std::string_view text, float x, float y, float size,
                     float durationMs);

FloatingTextLook floatingTextLook(const FloatingText& t);

// The frame's step: each living text takes its look for this frame (before
// it ages), throws its glow spark while growing, then ages by stepMs. The
// colour's flicker follows `clockMs`, the animation clock.
void stepFloatingTexts(FloatingTexts& f, SparkSystem& sparks, float stepMs);
void drawFloatingTexts(const FloatingTexts& f, float clockMs);

inline void addFloatingText(std::string_view text, float x, float y, float size, float durationMs) {
    addFloatingText(g_floatingTexts, text, x, y, size, durationMs);
}
void stepFloatingTexts(float stepMs);
void drawFloatingTexts();
// Ends every floating text, the message line and the letter banners.
void clearFloatingTexts();

}  // namespace tessaly::fx
