#include "gfx/banners.h"

#include <algorithm>
#include <cmath>

#include "base/math.h"
#include "gfx/font.h"

namespace tessaly::gfx {

void addBanner(Banners& b, std::string_view text, float x, float y, float size) {
    const Font* font = g_text.current;
    if (!font) return;
    // Each letter stands at the middle of its own advance, so the row of
    // letters is centred on x whatever the first letter's width.
    float pen = -textWidth(text, size) / 2;
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t c = uint8_t(text[i]);
        pen += size * font->advance[c] / 2;
        BannerLetter& letter = b.letters[b.next];
        b.next = (b.next + 1) % kMaxBannerLetters;
        if (letter.lifeMs > 0) ++b.use.replaced;
        letter = {c, x + pen, y, 0, size, kBannerLetterLifeMs + kBannerLetterDelayMs * float(i)};
        pen += size * font->advance[c] / 2;
    }
}

BannerLetterLook bannerLetterLook(const BannerLetter& letter) {
    BannerLetterLook look;
    const float L = letter.lifeMs;
    if (!(L > 0 && L <= kBannerLetterLifeMs)) return look;
    float s, dy = 0, alpha;
    if (L >= 5000) {
        const float k = (kBannerLetterLifeMs - L) / 1000;
        alpha = k * 255;
        s = 2 - k;
    } else if (L <= 1500) {
        s = L / 1500;
        alpha = s * 255;
    } else {
        const float phase = (L - 1500) / 3500 * 3 * base::kPi;
        alpha = 255;
        s = 1 + 0.08f * std::sin(phase);
        dy = 2 * std::sin(2 * phase);
    }
    // Positions scale about the vertical centre line, so a centred banner
    // opens and closes symmetrically.
    look.visible = true;
    look.x = letter.x * s * s;
    look.y = letter.y + dy;
    look.size = letter.size * s * s;
    look.alpha = std::clamp(int(alpha), 0, 255);
    return look;
}

void stepBanners(Banners& b, float stepMs) {
    int live = 0;
    for (const BannerLetter& letter : b.letters) live += letter.lifeMs > 0;
    b.use.noteLive(live);
    for (size_t i = 0; i < b.letters.size(); ++i) {
        BannerLetter& letter = b.letters[i];
        b.shown[i] = letter.lifeMs > 0 ? bannerLetterLook(letter) : BannerLetterLook{};
        if (letter.lifeMs > 0) letter.lifeMs -= stepMs;
    }
}

void drawBanners(const Banners& b) {
    if (!g_text.current) return;
    for (size_t i = 0; i < b.letters.size(); ++i) {
        const BannerLetter& letter = b.letters[i];
        const BannerLetterLook& look = b.shown[i];
        if (look.visible)
            drawRotatedChar(letter.character, look.x, look.y, letter.angle, look.size,
                            (uint32_t(look.alpha) << 24) | 0x00FFFFFFu);
    }
    setTextColor(255, 255, 255, 255);
}

void clearBanners(Banners& b) {
    for (BannerLetter& letter : b.letters) letter.lifeMs = 0;
    b.shown.fill({});
}

void clearBanners() { clearBanners(g_banners); }

}  // namespace tessaly::gfx
