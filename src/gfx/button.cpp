#include "gfx/button.h"

#include <algorithm>
#include <cmath>

#include "base/frame_clock.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/texture.h"

namespace tessaly::gfx {

namespace {

float menuPulse(float clockMs) { return 0.5f + 0.5f * std::sin(0.005f * clockMs); }

}  // namespace

uint32_t highlightColor(float clockMs) {
    const float s = menuPulse(clockMs);
    return base::Color32(255, int(150 + 50 * s), 0, 255).argb;
}

uint32_t glowColor(float clockMs) {
    const float s = menuPulse(clockMs);
    return base::Color32(255, 200, 100, int(50 + 20 * s)).argb;
}

base::Rect drawMenuButton(float x, float y, float width, float height, float textSize,
                        std::string_view caption, bool highlighted) {
    const base::Rect rect = base::rectFromCentre({x, y}, width, height);
    gfx::setTexture(gfx::loadTexture("button.tga"));
    const float cap = std::min(height, width / 2);
    const float inset = 0.003f;
    const float left = rect.left, right = rect.right, top = rect.top, bottom = rect.bottom;
    const uint32_t white = 0xFFFFFFFFu;
    gfx::drawRect(left, top, left + cap, bottom, inset, inset, kButtonCapShare, 1 - inset, white, 10);
    if (right - cap > left + cap)
        gfx::drawRect(left + cap, top, right - cap, bottom, kButtonCapShare, inset, 1 - kButtonCapShare,
                      1 - inset, white, 10);
    gfx::drawRect(right - cap, top, right, bottom, 1 - kButtonCapShare, inset, 1 - inset, 1 - inset, white,
                  10);

    if (!caption.empty() && gfx::g_text.current) {
        const float clock = base::g_frame.animationClockMs;
        const float textY = y - 0.15f * textSize;
        if (highlighted) {
            gfx::setTextColorPacked(highlightColor(clock));
            gfx::drawTextWithHighlight(x, textY, textSize, glowColor(clock), caption, true);
        } else {
            gfx::setTextColor(255, 255, 255, 255);
            gfx::drawTextCentred(x, textY, textSize, caption);
        }
        gfx::setTextColor(255, 255, 255, 255);
    }
    return rect;
}

}  // namespace tessaly::gfx
