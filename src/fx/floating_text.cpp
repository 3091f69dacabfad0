#include "fx/floating_text.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/copy_text.h"
#include "base/frame_clock.h"
#include "base/math.h"
#include "base/random.h"
#include "fx/sparks.h"
#include "gfx/banners.h"
#include "gfx/font.h"
#include "gfx/message_line.h"

namespace tessaly::fx {

void addFloatingText(FloatingTexts& f, std::string_view text, float x, float y, float size,
                     float durationMs) {
    if (!(durationMs > 0)) return;
    FloatingText& t = f.slots[f.next];
    f.next = (f.next + 1) % kMaxFloatingTexts;
    if (t.life > 0) ++f.use.replaced;
    base::copyText(t.text, text);
    t.width = gfx::g_text.current ? gfx::textWidth(t.text, size) : 0;
    t.life = kFloatingLife;
    t.x = x;
    t.y = y;
    t.size = size;
    t.rate = kFloatingLife / durationMs;
}

FloatingTextLook floatingTextLook(const FloatingText& t) {
    FloatingTextLook look;
    const float L = t.life;
    if (L > kFloatingGrowEnd) {
        const float k = (kFloatingLife - L) / 600;
        look.alpha = std::min(255, int((kFloatingLife - L) * 256 / 600));
        look.size = k * t.size;
        look.growing = true;
    } else if (L > kFloatingPulseEnd) {
        look.alpha = 255;
        look.size = t.size * (1 + 0.1f * std::sin((L - 600) / 800 * 3 * base::kPi));
    } else {
        look.alpha = std::min(255, int(L * 256 / 600));
        look.size = L / 600 * t.size;
    }
    return look;
}

void stepFloatingTexts(FloatingTexts& f, SparkSystem& sparks, float stepMs) {
    int live = 0;
    for (const FloatingText& t : f.slots) live += t.life > 0;
    f.use.noteLive(live);
    for (FloatingText& t : f.slots) {
        t.drawn = t.life > 0;
        if (!t.drawn) continue;
        t.shown = floatingTextLook(t);
        if (t.shown.growing)
            spawnSpark(sparks, t.x + base::randomSigned(t.width / 2), t.y, kFloatingTextSparkPreset);
        t.life -= stepMs * t.rate;
    }
}

void drawFloatingTexts(const FloatingTexts& f, float clockMs) {
    if (!gfx::g_text.current) return;
    // Oscillator of `cycles` per second on the animation clock.
    auto osc = [clockMs](float cycles) {
        return std::sin(cycles * 2 * base::kPi * clockMs * 0.001f) * 0.5f + 0.5f;
    };
    const int green = int(230 + 25 * osc(3));
    const int blue = int(100 + 155 * osc(4));
    for (const FloatingText& t : f.slots) {
        if (!t.drawn) continue;
        const FloatingTextLook& look = t.shown;
        gfx::setTextColor(255, green, blue, std::max(0, look.alpha));
        gfx::drawTextCentred(t.x, t.y, look.size, t.text);
    }
    gfx::setTextColor(255, 255, 255, 255);
}

void stepFloatingTexts(float stepMs) { stepFloatingTexts(g_floatingTexts, g_sparks, stepMs); }

void drawFloatingTexts() { drawFloatingTexts(g_floatingTexts, base::g_frame.animationClockMs); }

void clearFloatingTexts() {
    gfx::g_messageLine.timerMs = 0;
    gfx::g_messageLine.shown = {};
    for (FloatingText& t : g_floatingTexts.slots) {
        t.life = -1;
        t.drawn = false;
    }
    gfx::clearBanners();
}

}  // namespace tessaly::fx
