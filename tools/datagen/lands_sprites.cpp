// The landscapes' sprite textures (all power-of-two sizes):
//  - skies (512 x 256 JPEG): a gradient with soft cloud banks lit from the
//    top left; they repeat seamlessly left to right, since the game drifts
//    them and shows more than one width across a wide rectangle;
//  - water (256 x 256 JPEG) and waterfall (128 x 256 JPEG) tiles that repeat
//    seamlessly both ways: the game tiles them at one texel per unit and
//    scrolls them;
//  - the spray puff (64 x 64 JPEG): soft grey mist on black, added onto the
//    screen, so it is black at its edges and never bright enough to make a
//    hot spot when a few puffs overlap;
//  - branches (256 x 128 TGA) whose stem starts at the middle of the left
//    edge: the game sways them about that hinge;
//  - distant things seen through the backdrop's holes (TGA): a far castle,
//    a lighthouse, hot-air balloons, glittering crystals; their transparent
//    texels carry the colour of the nearby edge, so they look the same
//    whether the game draws them blended or not (the picture covers them
//    except inside the silhouette);
//  - the moon (TGA), hung in clear sky in front of the picture;
//  - the pebble texture of the mesh set (128 x 128 JPEG).
//
// Sections: tiled noise, skies, water, waterfall, spray, branches, distant
// things, moon and pebble, the book.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "lands.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb_perlin.h>
#pragma GCC diagnostic pop

namespace datagen::lands {
namespace {

double smoothstep(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// ---------------------------------------------------------------------------
// Tiled noise: fractal noise that repeats every periodX units in x and
// periodY in y (powers of two; the finest octave's period must stay <= 256).

double tiledNoise(double x, double y, int periodX, int periodY, int octaves, int seed) {
    double sum = 0, amplitude = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        const int f = 1 << i;
        sum += amplitude * stb_perlin_noise3_seed(float(x * f), float(y * f), float(0.37 * i + 0.11),
                                                  periodX * f, periodY * f, 0, seed + i);
        norm += amplitude;
        amplitude *= 0.5;
    }
    return sum / norm * 1.6;
}

// Writes straight colour into an Image.
void put(Image& image, int x, int y, Rgba c) {
    uint8_t* p = image.at(x, y);
    p[0] = uint8_t(std::lround(std::clamp(c.b, 0.0, 1.0) * 255));
    p[1] = uint8_t(std::lround(std::clamp(c.g, 0.0, 1.0) * 255));
    p[2] = uint8_t(std::lround(std::clamp(c.r, 0.0, 1.0) * 255));
    p[3] = uint8_t(std::lround(std::clamp(c.a, 0.0, 1.0) * 255));
}

// Gives every texel with alpha below 255 the colour of the opaque texels
// nearby, so that drawing the sprite without blending shows its own edge
// colour there instead of black.
void bleedColour(Image& image) {
    const int w = image.width, h = image.height;
    std::vector<double> sum(size_t(w) * size_t(h) * 4, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = image.at(x, y);
            const double a = p[3] / 255.0;
            double* s = &sum[(size_t(y) * size_t(w) + size_t(x)) * 4];
            for (int c = 0; c < 3; ++c) s[c] = p[c] * a;
            s[3] = a;
        }
    // Repeated box blurs spread the colour outwards.
    std::vector<double> spread = sum;
    for (int pass = 0; pass < 6; ++pass) {
        std::vector<double> next(spread.size(), 0);
        const int r = 3 << (pass / 2);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                double acc[4] = {0, 0, 0, 0};
                for (int d = -r; d <= r; d += r) {
                    for (int e = -r; e <= r; e += r) {
                        const int sx = std::clamp(x + d, 0, w - 1), sy = std::clamp(y + e, 0, h - 1);
                        const double* s = &spread[(size_t(sy) * size_t(w) + size_t(sx)) * 4];
                        for (int c = 0; c < 4; ++c) acc[c] += s[c];
                    }
                }
                double* n = &next[(size_t(y) * size_t(w) + size_t(x)) * 4];
                for (int c = 0; c < 4; ++c) n[c] = acc[c] / 9;
            }
        spread.swap(next);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = image.at(x, y);
            if (p[3] == 255) continue;
            const double* s = &spread[(size_t(y) * size_t(w) + size_t(x)) * 4];
            const double a = p[3] / 255.0;
            for (int c = 0; c < 3; ++c) {
                const double around = s[3] > 1e-6 ? s[c] / s[3] : p[c];
                p[c] = uint8_t(std::lround(std::clamp(p[c] * a + around * (1 - a), 0.0, 255.0)));
            }
        }
}

// ---------------------------------------------------------------------------
// Skies

struct SkyStyle {
    const char* file;
    Rgba stops[5];        // top to bottom
    Rgba cloudLight, cloudShade;
    double cloudTop, cloudBottom;  // band of the clouds, 0 top .. 1 bottom
    double cover;         // 0 few clouds .. 1 overcast
    double cloudAlpha;
    int seed;
    int stars;            // small stars in the top band
};

const SkyStyle kSkies[] = {
    {"sky_evening.jpg",
     {hex(0x2C3A6B), hex(0x6A5C94), hex(0xD98F86), hex(0xF6C88E), hex(0xFFE2B0)},
     hex(0xFBD8B8), hex(0x8C6F9E), 0.15, 0.85, 0.5, 0.8, 11, 0},
    {"sky_day.jpg",
     {hex(0x5A80B8), hex(0x7E9CCB), hex(0xA8BCD8), hex(0xD8D4D0), hex(0xF2E2C4)},
     hex(0xFFF8EE), hex(0xA6B0CC), 0.1, 0.8, 0.45, 0.85, 12, 0},
    {"sky_morning.jpg",
     {hex(0x4C6A9E), hex(0x7288B8), hex(0x9EA6C8), hex(0xC8BCCC), hex(0xE8D2C6)},
     hex(0xF6ECEC), hex(0x8E94B8), 0.15, 0.8, 0.4, 0.75, 13, 0},
    {"sky_autumn.jpg",
     {hex(0x5C6490), hex(0x8C7C9C), hex(0xC89C8C), hex(0xE8B884), hex(0xF6D49C)},
     hex(0xFCE0B8), hex(0x9C7C88), 0.1, 0.85, 0.5, 0.8, 14, 0},
    {"sky_mist.jpg",
     {hex(0x6C7890), hex(0x8C96A4), hex(0xA8AEB0), hex(0xC0C2B4), hex(0xCFCDBC)},
     hex(0xE6E6DC), hex(0x8A92A0), 0.0, 1.0, 0.75, 0.6, 15, 0},
    {"sky_night.jpg",
     {hex(0x141C40), hex(0x2C3466), hex(0x54508A), hex(0x9A6E96), hex(0xD0948E)},
     hex(0xB89AB8), hex(0x3A3A6A), 0.45, 0.9, 0.4, 0.7, 16, 60},
    {"sky_sunset.jpg",
     {hex(0x3A3A72), hex(0x84608E), hex(0xDE8A7A), hex(0xF4A868), hex(0xFFD08A)},
     hex(0xFFD2A0), hex(0x9A5C7A), 0.2, 0.85, 0.5, 0.85, 17, 0},
};

Image paintSky(const SkyStyle& s) {
    constexpr int w = 512, h = 256;
    // Cloud density, repeating every width in x.
    std::vector<double> density(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        const double v = (y + 0.5) / h;
        const double band = smoothstep(s.cloudTop, s.cloudTop + 0.2, v) *
                            (1 - smoothstep(s.cloudBottom - 0.2, s.cloudBottom, v));
        for (int x = 0; x < w; ++x) {
            // Wide, flat banks: four noise cells across, about two down.
            const double n = tiledNoise(x * 4.0 / w, y * 2.2 / h, 4, 0, 4, s.seed);
            density[size_t(y) * w + size_t(x)] =
                smoothstep(0.55 - s.cover * 0.7, 0.95 - s.cover * 0.5, n * 0.5 + 0.5) * band;
        }
    }
    Image image(w, h);
    for (int y = 0; y < h; ++y) {
        const double v = (y + 0.5) / h * 4;
        const int k = std::min(3, int(v));
        const Rgba sky = mix(s.stops[k], s.stops[k + 1], v - k);
        for (int x = 0; x < w; ++x) {
            const double d = density[size_t(y) * w + size_t(x)];
            // Lit where the cloud thins towards the upper left (the light).
            const int lx = (x - 4 + w) % w, ly = std::max(0, y - 5);
            const double lit = std::clamp((d - density[size_t(ly) * w + size_t(lx)]) * 2.5 + 0.5, 0.0, 1.0);
            const Rgba cloud = mix(mix(s.cloudShade, sky, 0.35), s.cloudLight, lit);
            // Kept a little below full light, and the clouds thin, so the sky
            // behind the board stays calmer than the pale tiles over it.
            put(image, x, y, shade(mix(sky, cloud, d * s.cloudAlpha * 0.6), -0.2));
        }
    }
    // Stars: tiny soft points in the top band, wrapped at the edges.
    ArtRandom random(uint32_t(s.seed) * 7u);
    for (int i = 0; i < s.stars; ++i) {
        const double x = random.range(0, w), y = random.range(2, h * 0.4);
        const double b = random.range(0.25, 0.6) * (1 - y / (h * 0.4));
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int px = (int(x) + dx + w) % w, py = std::clamp(int(y) + dy, 0, h - 1);
                const double f = (dx == 0 && dy == 0) ? b : b * 0.3;
                uint8_t* p = image.at(px, py);
                for (int c = 0; c < 3; ++c) p[c] = uint8_t(std::min(255.0, p[c] + f * (255 - p[c])));
            }
    }
    return image;
}

// ---------------------------------------------------------------------------
// Water tiles

struct WaterStyle {
    const char* file;
    Rgba deep, light, glint;
    double ripple;  // strength of the light ripple bands
    int seed;
};

const WaterStyle kWaters[] = {
    {"water_lake.jpg", hex(0x4A6A94), hex(0x8CA8C4), hex(0xE8E4DC), 0.55, 31},
    {"water_sea.jpg", hex(0x2C5478), hex(0x5C8AA8), hex(0xD8E6EC), 0.65, 32},
    {"water_marsh.jpg", hex(0x4A5A4C), hex(0x7A8A74), hex(0xC8CCB4), 0.4, 33},
    {"water_cave.jpg", hex(0x1C3A4C), hex(0x3C7484), hex(0x9CE0E0), 0.5, 34},
    {"water_river.jpg", hex(0x3C6478), hex(0x7CA0B0), hex(0xEEF0E8), 0.7, 35},
};

Image paintWater(const WaterStyle& s) {
    constexpr int n = 256;
    Image image(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const double u = double(x) / n, v = double(y) / n;
            const double body = tiledNoise(u * 2, v * 2, 2, 2, 4, s.seed) * 0.5 + 0.5;
            // Ripples: long, thin, wavy bands across the flow.
            const double wobble = tiledNoise(u * 4, v * 2, 4, 2, 2, s.seed + 10) * 0.02;
            const double bands = tiledNoise(u * 2, (v + wobble) * 32, 2, 32, 3, s.seed + 20);
            const double ripple = smoothstep(0.3, 0.9, bands) * s.ripple;
            Rgba c = mix(s.deep, s.light, 0.3 + 0.3 * body);
            c = mix(c, s.glint, ripple * 0.3);
            put(image, x, y, c);
        }
    return image;
}

// ---------------------------------------------------------------------------
// Waterfall tile: white-blue streaks running down, foam knots.

Image paintWaterfall() {
    constexpr int w = 128, h = 256;
    Image image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double u = double(x) / w, v = double(y) / h;
            const double streak = tiledNoise(u * 16, v * 2, 16, 2, 3, 41) * 0.5 + 0.5;
            const double foam = tiledNoise(u * 4, v * 8, 4, 8, 3, 42) * 0.5 + 0.5;
            Rgba c = mix(hex(0x7494AC), hex(0xB4C8D4), smoothstep(0.2, 0.85, streak));
            c = mix(c, hex(0xE2ECEE), smoothstep(0.6, 0.95, foam) * 0.45);
            put(image, x, y, c);
        }
    return image;
}

// ---------------------------------------------------------------------------
// Spray puff: soft grey mist on black, a few overlapping blobs.

Image paintSpray() {
    constexpr int n = 64;
    Image image(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const double dx = (x + 0.5 - n / 2.0) / (n / 2.0), dy = (y + 0.5 - n / 2.0) / (n / 2.0);
            const double r = std::sqrt(dx * dx + dy * dy);
            const double lump = fractalNoise(x / 14.0, y / 14.0, 3, 51) * 0.25;
            const double v = std::pow(1 - smoothstep(0.0, 0.95, r + lump * (r > 0.2)), 1.6) *
                             (1 - smoothstep(0.85, 1.0, r));
            const double b = 0.42 * v;
            put(image, x, y, {b, b, b * 1.02, 1});
        }
    return image;
}

// ---------------------------------------------------------------------------
// Branches: 256 x 128, stem from the middle of the left edge.

enum class Foliage { Oak, Maple, Palm, Pine };

Image paintBranch(Foliage kind, int seed) {
    constexpr int w = 256, h = 128;
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    ArtRandom random{uint32_t(seed)};
    // The stem: a gentle curve, thick at the hinge.
    const double droop = kind == Foliage::Palm ? 26 : 14;
    auto stemAt = [&](double t) { return std::pair{t * 236, 64 + droop * t * t - 6 * t}; };
    const Rgba bark = kind == Foliage::Palm ? hex(0x6A7A3A) : hex(0x4A2E1A);
    for (int i = 0; i < 24; ++i) {
        const double t0 = i / 24.0, t1 = (i + 1) / 24.0;
        auto [x0, y0] = stemAt(t0);
        auto [x1, y1] = stemAt(t1);
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1, y1);
        cairo_set_line_width(cr, 7 * (1 - t0) + 1.5);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        setSource(cr, mix(bark, hex(0xFFE2B0), 0.1 * (1 - t0)));
        cairo_stroke(cr);
    }
    // Leaves, from the hinge outwards, drawn far side first.
    const int leaves = kind == Foliage::Palm ? 30 : kind == Foliage::Pine ? 70 : 38;
    for (int i = 0; i < leaves; ++i) {
        const double t = 0.12 + 0.88 * (kind == Foliage::Palm ? double(i) / leaves : random.unit());
        auto [sx, sy] = stemAt(t);
        switch (kind) {
        case Foliage::Palm: {
            // Long leaflets hanging from both sides of the rib.
            for (int side = -1; side <= 1; side += 2) {
                const double len = 38 * (1 - 0.6 * t) + 8;
                const double ang = side * (0.9 + 0.3 * t) + 0.5;
                const double ex = sx + std::cos(ang) * len * 0.7, ey = sy + std::sin(ang) * len;
                cairo_move_to(cr, sx, sy);
                cairo_curve_to(cr, sx + 8, sy + side * 4, ex - 6, ey - side * 2, ex, ey);
                cairo_set_line_width(cr, 4.5 * (1 - 0.5 * t));
                setSource(cr, mix(hex(0x3E7A36), hex(0x86B04E), side < 0 ? 0.55 : 0.1));
                cairo_stroke(cr);
            }
            break;
        }
        case Foliage::Pine: {
            const double len = random.range(10, 18);
            for (int k = 0; k < 5; ++k) {
                const double ang = random.range(-2.4, 2.4) + 1.57;
                cairo_move_to(cr, sx, sy);
                cairo_line_to(cr, sx + std::cos(ang) * len + 6, sy + std::sin(ang) * len * 0.7);
                cairo_set_line_width(cr, 2);
                setSource(cr, mix(hex(0x1E4030), hex(0x4E7A54), random.unit() * 0.8));
                cairo_stroke(cr);
            }
            break;
        }
        default: {
            const bool maple = kind == Foliage::Maple;
            const double r = random.range(9, 15) * (1 - 0.35 * t);
            const double lx = sx + random.range(-10, 14), ly = sy + random.range(-16, 18);
            const Rgba tones[] = {maple ? hex(0xC8501E) : hex(0x3C6E34), maple ? hex(0xE28A2A) : hex(0x4E8240),
                                  maple ? hex(0xA83A20) : hex(0x5E9248)};
            const Rgba leaf = tones[random.below(3)];
            cairo_save(cr);
            cairo_translate(cr, lx, ly);
            cairo_rotate(cr, random.range(-0.8, 0.8));
            cairo_scale(cr, 1, maple ? 0.85 : 0.62);
            cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
            cairo_restore(cr);
            setRadialGradient(cr, lx + kLightX * r * 0.6, ly + kLightY * r * 0.6, r * 0.1, lx, ly, r * 1.1,
                              {{0, shade(leaf, 0.3)}, {0.6, leaf}, {1, shade(leaf, -0.3)}});
            cairo_fill(cr);
            break;
        }
        }
    }
    if (kind == Foliage::Pine) {
        // Snow along the top of the bough.
        for (int i = 0; i < 9; ++i) {
            auto [sx, sy] = stemAt(0.15 + i * 0.09);
            cairo_save(cr);
            cairo_translate(cr, sx + 4, sy - 6);
            cairo_scale(cr, 1, 0.4);
            cairo_arc(cr, 0, 0, 11 - i * 0.6, 0, 2 * M_PI);
            cairo_restore(cr);
            setSource(cr, hex(0xF4F6FA, 0.9));
            cairo_fill(cr);
        }
    }
    Image image = c.toImage();
    bleedColour(image);
    return image;
}

// ---------------------------------------------------------------------------
// Distant things

// A far castle on a rock: hazy lavender walls lit from the left, warm lit
// windows.
Image paintCastle() {
    constexpr int n = 128;
    Canvas c(n, n);
    cairo_t* cr = c.cr();
    const Rgba wall = hex(0x9A8CB0), dark = hex(0x6C6088), roof = hex(0x6A4C78);
    // Rock base.
    cairo_move_to(cr, 8, 128);
    cairo_curve_to(cr, 20, 100, 40, 96, 64, 98);
    cairo_curve_to(cr, 90, 96, 110, 104, 122, 128);
    cairo_close_path(cr);
    setLinearGradient(cr, 0, 96, 128, 128, {{0, hex(0x8C7E96)}, {1, hex(0x5C5270)}});
    cairo_fill(cr);
    struct Tower { double x, w, top; };
    const Tower towers[] = {{30, 16, 40}, {58, 20, 18}, {88, 14, 48}};
    // Curtain wall.
    cairo_rectangle(cr, 28, 64, 76, 38);
    setLinearGradient(cr, 28, 0, 104, 0, {{0, shade(wall, 0.15)}, {1, dark}});
    cairo_fill(cr);
    for (int i = 0; i < 7; ++i) {
        cairo_rectangle(cr, 30 + i * 11, 58, 6, 7);
        setSource(cr, wall);
        cairo_fill(cr);
    }
    for (const Tower& t : towers) {
        cairo_rectangle(cr, t.x, t.top, t.w, 100 - t.top);
        setLinearGradient(cr, t.x, 0, t.x + t.w, 0, {{0, shade(wall, 0.2)}, {0.5, wall}, {1, dark}});
        cairo_fill(cr);
        cairo_move_to(cr, t.x - 3, t.top);
        cairo_line_to(cr, t.x + t.w / 2, t.top - t.w * 1.3);
        cairo_line_to(cr, t.x + t.w + 3, t.top);
        cairo_close_path(cr);
        setLinearGradient(cr, t.x, 0, t.x + t.w, 0, {{0, shade(roof, 0.25)}, {1, shade(roof, -0.2)}});
        cairo_fill(cr);
        paintSoftGlow(cr, t.x + t.w / 2, t.top + 12, 4, hex(0xFFD890, 0.9), 0.5);
    }
    paintSoftGlow(cr, 50, 80, 3.5, hex(0xFFD890, 0.8), 0.5);
    paintSoftGlow(cr, 76, 84, 3.5, hex(0xFFD890, 0.8), 0.5);
    Image image = c.toImage();
    bleedColour(image);
    return image;
}

// A white lighthouse with red bands on a dark rock, its lamp lit.
Image paintLighthouse() {
    constexpr int w = 64, h = 256;
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    cairo_move_to(cr, 2, 256);
    cairo_curve_to(cr, 8, 226, 20, 218, 32, 220);
    cairo_curve_to(cr, 46, 218, 56, 228, 62, 256);
    cairo_close_path(cr);
    setLinearGradient(cr, 0, 220, 64, 256, {{0, hex(0x4C4660)}, {1, hex(0x242234)}});
    cairo_fill(cr);
    auto towerPath = [&] {
        cairo_move_to(cr, 20, 226);
        cairo_line_to(cr, 25, 70);
        cairo_line_to(cr, 39, 70);
        cairo_line_to(cr, 44, 226);
        cairo_close_path(cr);
    };
    towerPath();
    setLinearGradient(cr, 20, 0, 44, 0, {{0, hex(0xDCD2CE)}, {0.45, hex(0xC4BAC0)}, {1, hex(0x847890)}});
    cairo_fill(cr);
    cairo_save(cr);
    towerPath();
    cairo_clip(cr);
    for (int band = 0; band < 3; ++band) {
        cairo_rectangle(cr, 0, 96 + band * 44, w, 18);
        setLinearGradient(cr, 20, 0, 44, 0, {{0, hex(0xD2544A)}, {1, hex(0x7A2A34)}});
        cairo_fill(cr);
    }
    cairo_restore(cr);
    // Gallery, lamp room and cap.
    roundedRectPath(cr, 21, 64, 22, 7, 2);
    setSource(cr, hex(0x3A2A3A));
    cairo_fill(cr);
    cairo_rectangle(cr, 25, 46, 14, 18);
    setSource(cr, hex(0xFFE8A8));
    cairo_fill(cr);
    paintSoftGlow(cr, 32, 55, 22, hex(0xFFE2A0, 0.55));
    paintSoftGlow(cr, 32, 55, 9, hex(0xFFF8E0, 0.9), 0.4);
    cairo_move_to(cr, 22, 46);
    cairo_line_to(cr, 32, 34);
    cairo_line_to(cr, 42, 46);
    cairo_close_path(cr);
    setSource(cr, hex(0x7A2A34));
    cairo_fill(cr);
    Image image = c.toImage();
    bleedColour(image);
    return image;
}

// Three hot-air balloons, glossy and striped, at different distances.
Image paintBalloons() {
    constexpr int w = 128, h = 256;
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    struct Balloon { double x, y, r; Rgba a, b; };
    const Balloon balloons[] = {{88, 52, 16, hex(0x5A8ACC), hex(0xF2C64A)},
                                {36, 110, 26, hex(0xD8503C), hex(0xF6D068)},
                                {90, 178, 20, hex(0x4EA45A), hex(0xF4E6C8)}};
    for (const Balloon& b : balloons) {
        // Basket and ropes.
        cairo_move_to(cr, b.x - b.r * 0.45, b.y + b.r * 0.95);
        cairo_line_to(cr, b.x - b.r * 0.18, b.y + b.r * 1.45);
        cairo_move_to(cr, b.x + b.r * 0.45, b.y + b.r * 0.95);
        cairo_line_to(cr, b.x + b.r * 0.18, b.y + b.r * 1.45);
        cairo_set_line_width(cr, 1.2);
        setSource(cr, hex(0x4A3020));
        cairo_stroke(cr);
        roundedRectPath(cr, b.x - b.r * 0.2, b.y + b.r * 1.42, b.r * 0.4, b.r * 0.3, 1.5);
        setSource(cr, hex(0x7A4A24));
        cairo_fill(cr);
        // Envelope: a ball stretched into a drop, with gores of two colours.
        auto envelope = [&] {
            cairo_new_path(cr);
            cairo_move_to(cr, b.x, b.y - b.r);
            cairo_curve_to(cr, b.x + b.r * 1.35, b.y - b.r, b.x + b.r * 1.05, b.y + b.r * 0.6,
                           b.x + b.r * 0.35, b.y + b.r * 1.0);
            cairo_line_to(cr, b.x - b.r * 0.35, b.y + b.r * 1.0);
            cairo_curve_to(cr, b.x - b.r * 1.05, b.y + b.r * 0.6, b.x - b.r * 1.35, b.y - b.r, b.x, b.y - b.r);
            cairo_close_path(cr);
        };
        envelope();
        setSource(cr, b.a);
        cairo_fill(cr);
        cairo_save(cr);
        envelope();
        cairo_clip(cr);
        for (int g = -2; g <= 2; g += 2) {
            cairo_save(cr);
            cairo_translate(cr, b.x + g * b.r * 0.33, b.y);
            cairo_scale(cr, 0.16, 1);
            cairo_arc(cr, 0, 0, b.r * 1.1, 0, 2 * M_PI);
            cairo_restore(cr);
            setSource(cr, b.b);
            cairo_fill(cr);
        }
        // Body shading from the top left, warm bounce on the lower right.
        setRadialGradient(cr, b.x - b.r * 0.4, b.y - b.r * 0.5, b.r * 0.1, b.x, b.y, b.r * 1.4,
                          {{0, hex(0xFFFFFF, 0.35)}, {0.5, hex(0xFFFFFF, 0)}, {1, hex(0x1A0E05, 0.45)}});
        cairo_paint(cr);
        cairo_restore(cr);
        paintSpecular(cr, b.x, b.y - b.r * 0.1, b.r, 0.6);
    }
    Image image = c.toImage();
    bleedColour(image);
    return image;
}

// A cluster of glowing crystals on a dark ledge: glossy facets, a cool
// inner light and a few sharp glints.
Image paintCrystals() {
    constexpr int w = 256, h = 128;
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    cairo_move_to(cr, 0, 128);
    cairo_curve_to(cr, 40, 104, 200, 100, 256, 122);
    cairo_line_to(cr, 256, 128);
    cairo_close_path(cr);
    setSource(cr, hex(0x2A2240));
    cairo_fill(cr);
    ArtRandom random(61);
    const Rgba hues[] = {hex(0x7CD8E0), hex(0xB08CF0), hex(0x8CB8F8), hex(0xE08CD8)};
    for (int i = 0; i < 11; ++i) {
        const double x = 20 + i * 21 + random.range(-6, 6);
        const double hgt = random.range(40, 92) * (1 - std::fabs(i - 5) * 0.06);
        const double wid = random.range(10, 18);
        const double tilt = random.range(-0.35, 0.35);
        const Rgba hue = hues[random.below(4)];
        cairo_save(cr);
        cairo_translate(cr, x, 116);
        cairo_rotate(cr, tilt);
        // Two facets: the lit left one and the shaded right one.
        cairo_move_to(cr, -wid / 2, 0);
        cairo_line_to(cr, -wid / 2, -hgt * 0.75);
        cairo_line_to(cr, 0, -hgt);
        cairo_line_to(cr, 0, 0);
        cairo_close_path(cr);
        setLinearGradient(cr, 0, -hgt, 0, 0, {{0, shade(hue, 0.5)}, {1, shade(hue, -0.1)}});
        cairo_fill(cr);
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, 0, -hgt);
        cairo_line_to(cr, wid / 2, -hgt * 0.75);
        cairo_line_to(cr, wid / 2, 0);
        cairo_close_path(cr);
        setLinearGradient(cr, 0, -hgt, 0, 0, {{0, hue}, {1, shade(hue, -0.5)}});
        cairo_fill(cr);
        cairo_restore(cr);
    }
    paintSoftGlow(cr, 128, 96, 90, hex(0xA8E8FF, 0.18));
    for (int i = 0; i < 6; ++i) {
        const double gx = random.range(30, 226), gy = random.range(40, 100);
        paintSoftGlow(cr, gx, gy, 5, hex(0xFFFFFF, 0.85), 0.3);
        for (int k = 0; k < 4; ++k) {
            const double a = k * M_PI / 2;
            cairo_move_to(cr, gx - std::sin(a), gy + std::cos(a));
            cairo_line_to(cr, gx + std::cos(a) * 8, gy + std::sin(a) * 8);
            cairo_line_to(cr, gx + std::sin(a), gy - std::cos(a));
            cairo_close_path(cr);
            setSource(cr, hex(0xFFFFFF, 0.8));
            cairo_fill(cr);
        }
    }
    Image image = c.toImage();
    bleedColour(image);
    return image;
}

// ---------------------------------------------------------------------------
// Moon and pebble

// A pale moon with soft maria and a faint halo, lit from the top left.
Image paintMoon() {
    constexpr int n = 128;
    Image image(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const double dx = (x + 0.5 - 64) / 34, dy = (y + 0.5 - 64) / 34;
            const double r = std::sqrt(dx * dx + dy * dy);
            Rgba c = hex(0xF6EEDA, 0);
            if (r < 1.03) {
                const double z = std::sqrt(std::max(0.0, 1 - r * r));
                const double light = std::clamp(dx * kLightX + dy * kLightY + z * kLightZ, 0.0, 1.0);
                const double maria = smoothstep(0.2, 0.6, fractalNoise(x / 22.0, y / 22.0, 3, 71));
                Rgba body = mix(hex(0xA89EA0), hex(0xE8DCCA), 0.3 + 0.7 * light);
                body = mix(body, hex(0xA8A0A0), maria * 0.35);
                c = withAlpha(body, std::clamp((1.03 - r) / 0.04, 0.0, 1.0));
            }
            // Halo outside the disc.
            const double halo = r >= 1 ? 0.35 * std::pow(std::max(0.0, 1 - (r - 1) / 0.85), 2) : 0;
            if (c.a < halo) c = mix(withAlpha(hex(0xE8E0F0), halo), c, c.a / std::max(halo, 1e-6));
            put(image, x, y, c);
        }
    bleedColour(image);
    return image;
}

Image paintPebble() {
    constexpr int n = 128;
    Image image(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const double u = double(x) / n, v = double(y) / n;
            const double grain = tiledNoise(u * 4, v * 4, 4, 4, 4, 81) * 0.5 + 0.5;
            const double veins = std::fabs(tiledNoise(u * 2, v * 2, 2, 2, 3, 82));
            Rgba c = mix(hex(0x8A7C6C), hex(0xC8BAA4), grain);
            c = mix(c, hex(0xEEE4D4), smoothstep(0.08, 0.0, veins) * 0.6);
            put(image, x, y, c);
        }
    return image;
}

}  // namespace

// ---------------------------------------------------------------------------
// The book

SpriteBook paintSprites() {
    std::vector<std::pair<std::string, std::function<Image()>>> tasks;
    for (const SkyStyle& s : kSkies) tasks.emplace_back(s.file, [&s] { return paintSky(s); });
    for (const WaterStyle& s : kWaters) tasks.emplace_back(s.file, [&s] { return paintWater(s); });
    tasks.emplace_back("waterfall.jpg", paintWaterfall);
    tasks.emplace_back("spray.jpg", paintSpray);
    tasks.emplace_back("leaves_oak.tga", [] { return paintBranch(Foliage::Oak, 91); });
    tasks.emplace_back("leaves_maple.tga", [] { return paintBranch(Foliage::Maple, 92); });
    tasks.emplace_back("leaves_palm.tga", [] { return paintBranch(Foliage::Palm, 93); });
    tasks.emplace_back("leaves_pine.tga", [] { return paintBranch(Foliage::Pine, 94); });
    tasks.emplace_back("castle.tga", paintCastle);
    tasks.emplace_back("lighthouse.tga", paintLighthouse);
    tasks.emplace_back("balloons.tga", paintBalloons);
    tasks.emplace_back("crystals.tga", paintCrystals);
    tasks.emplace_back("moon.tga", paintMoon);
    tasks.emplace_back("pebble.jpg", paintPebble);
    // Two painters; every picture goes to its own slot, so the result does
    // not depend on which thread painted it.
    std::vector<Image> images(tasks.size());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i; (i = next++) < tasks.size();) images[i] = tasks[i].second();
    };
    std::thread helper(work);
    work();
    helper.join();
    SpriteBook book;
    for (size_t i = 0; i < tasks.size(); ++i) book[tasks[i].first] = std::move(images[i]);
    return book;
}

Bytes encodeSprite(const std::string& file, const Image& image) {
    if (file.ends_with(".tga")) return writeTga(image);
    if (file.ends_with(".jpg")) return writeJpeg(image, 92);
    throw std::runtime_error("no encoding for sprite " + file);
}

}  // namespace datagen::lands
