// Letter banners: a text whose letters arrive one after another, each
// zooming in from twice its size (and from twice its distance to the screen's
// vertical centre line), bobbing and breathing for a while, then shrinking
// away toward the centre line. Each letter is an independent glyph in a ring;
// a banner is a batch of letters added at once with staggered start times.
//
// A letter's life counts down from 6000 + 40 x its index (ms). It is drawn
// while 0 < life <= 6000: arriving from 6000 to 5000, playing down to 1500
// (1.5 breathing and 3 bobbing cycles), leaving from 1500 to 0.
// Capacity: a ring of kMaxBannerLetters; newer letters overwrite the oldest.
// Depends on: fonts (advances, drawRotatedChar).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/pool_use.h"

namespace tessaly::gfx {

constexpr int kMaxBannerLetters = 256;   // a few banners of a few dozen letters at once
constexpr float kBannerLetterLifeMs = 6000;
constexpr float kBannerLetterDelayMs = 40;

// How one letter is drawn at a given life.
struct BannerLetterLook {
    bool visible = false;
    float x = 0, y = 0;
    float size = 0;
    int alpha = 0;
};

struct BannerLetter {
    uint8_t character = 0;
    float x = 0, y = 0;        // the letter's resting centre, screen units
    float angle = 0;           // degrees
    float size = 0;            // text size
    float lifeMs = 0;          // visible while 0 < life <= 6000
};

struct Banners {
    std::array<BannerLetter, kMaxBannerLetters> letters;
    // What this frame draws of each letter: its look before the frame's step.
    std::array<BannerLetterLook, kMaxBannerLetters> shown{};
    int next = 0;
    base::PoolUse use;
};

inline Banners g_banners;

void addBanner(Banners& b, std::string_view text, float x, float y, float size);

BannerLetterLook bannerLetterLook(const BannerLetter& letter);

// The frame's step: each letter takes the look of its current life for this
// frame's picture, then ages by stepMs. Drawing only reads.
void stepBanners(Banners& b, float stepMs);
void drawBanners(const Banners& b);
void clearBanners(Banners& b);

inline void addBanner(std::string_view text, float x, float y, float size) {
    addBanner(g_banners, text, x, y, size);
}
inline void stepBanners(float stepMs) { stepBanners(g_banners, stepMs); }
inline void drawBanners() { drawBanners(g_banners); }
void clearBanners();

}  // namespace tessaly::gfx
