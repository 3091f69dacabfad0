// The title art and the text highlight:
//  - "loadscreen.jpg" (800 x 600): a painted evening landscape with glossy
//    balls and the name Tessaly. The game shows it while loading and on the
//    title screen, with the loading bar and the "Press any key..." prompt
//    over the bottom strip (pixel rows 543..591, columns 251..561), so that
//    strip is kept dark and calm and carries a recessed slot the bar fills.
//  - "loadbar.jpg" (310 x 48): the bar's fill, revealed from the left as
//    loading advances (never scaled), so it reads at any cut.
//  - "podsvet.jpg" (128 x 64): a soft highlight added behind text; black
//    outside, so additive blending leaves no visible edge.
// The two loading pictures are read before the packs and stay loose files;
// the highlight goes into "jpeg.dat".
//
// Sections: palette, landscape, balls, title lettering, bar slot,
// loadscreen, loadbar, podsvet.
#include <algorithm>
#include <cmath>
#include <vector>

#include "datagen.h"
#include "image_io.h"
#include "paint.h"

namespace datagen {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Where the game draws the loading bar over the picture, in pixels.
constexpr double kBarLeft = 251, kBarTop = 543, kBarWidth = 310, kBarHeight = 48;

// ---------------------------------------------------------------------------
// Palette (docs/art-direction.md)

const Rgba kDuskBlue = hex(0x2C3A6B);
const Rgba kViolet = hex(0x6A5C94);
const Rgba kRose = hex(0xD98F86);
const Rgba kApricot = hex(0xF6C88E);
const Rgba kSunlight = hex(0xFFE9B8);
const Rgba kHaze = hex(0xB79AB4);
const Rgba kSage = hex(0x7F9A66);
const Rgba kMeadow = hex(0x4E7B43);
const Rgba kForest = hex(0x2F5232);
const Rgba kLoam = hex(0x1C2A1C);
const Rgba kUmber = hex(0x3A2414);

const Rgba kBallColors[] = {hex(0xD8342C), hex(0x2F7FD8), hex(0x3FAE3A), hex(0xF2C21B),
                            hex(0x8E4BC8), hex(0xF07B1E), hex(0x2BB5B0), hex(0xE85AA8)};

double smoothstep(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// ---------------------------------------------------------------------------
// Landscape

constexpr double kSunX = 150, kSunY = 318;

void paintSky(Canvas& c) {
    cairo_t* cr = c.cr();
    setLinearGradient(cr, 0, 0, 0, 420,
                      {{0, kDuskBlue}, {0.3, kViolet}, {0.58, kRose}, {0.8, kApricot},
                       {1, kSunlight}});
    cairo_paint(cr);
    // The low sun on the left: a wide warm glow, then the disc.
    paintSoftGlow(cr, kSunX, kSunY, 420, withAlpha(hex(0xFFD9A0), 0.55));
    paintSoftGlow(cr, kSunX, kSunY, 150, withAlpha(kSunlight, 0.85), 0.2);
    paintSoftGlow(cr, kSunX, kSunY, 70, withAlpha(hex(0xFFF2D0), 0.9), 0.3);
    paintSoftGlow(cr, kSunX, kSunY, 38, hex(0xFFF6DE), 0.9);
}

// Soft cloud banks: noise shaped into horizontal bands, lit warm from the
// sun side and shaded violet away from it.
void paintClouds(Canvas& c) {
    Canvas clouds(kWidth, kHeight);
    cairo_surface_flush(clouds.surface());
    uint8_t* data = cairo_image_surface_get_data(clouds.surface());
    const int stride = cairo_image_surface_get_stride(clouds.surface());
    for (int y = 0; y < 330; ++y) {
        const double band = smoothstep(20, 90, y) * (1 - smoothstep(230, 330, y));
        for (int x = 0; x < kWidth; ++x) {
            const double n = fractalNoise(x / 260.0, y / 70.0, 5, 7);
            const double density = smoothstep(0.05, 0.55, n) * band;
            if (density <= 0) continue;
            // Lit side faces the sun; the underside takes the sky's rose.
            const double towardsSun = std::clamp(1 - std::hypot(x - kSunX, y - kSunY) / 700, 0.0, 1.0);
            const double underside = fractalNoise(x / 260.0, (y - 10) / 70.0, 5, 7) - n;
            Rgba col = mix(hex(0x8C6F9E), hex(0xF9D7B8), 0.35 + 0.6 * towardsSun);
            col = mix(col, hex(0xFFF1D8), std::clamp(-underside * 6, 0.0, 0.6) * towardsSun);
            const double a = density * 0.85;
            uint32_t* px = reinterpret_cast<uint32_t*>(data + y * stride) + x;
            auto ch = [&](double v) { return uint32_t(std::lround(v * a * 255)); };
            *px = (uint32_t(std::lround(a * 255)) << 24) | (ch(col.r) << 16) | (ch(col.g) << 8) |
                  ch(col.b);
        }
    }
    cairo_surface_mark_dirty(clouds.surface());
    blur(clouds, 2);
    c.paintCanvas(clouds);
}

// A range of hills: the ridge follows fractal noise; filled with a vertical
// gradient and rim-lit along the ridge, strongest towards the sun.
struct Hills {
    double baseY;      // mean ridge height, px
    double amplitude;  // px
    double scale;      // px per noise unit
    int seed;
    Rgba top, bottom;
    double rimLight;   // 0..1
    // An optional rounded hilltop (a knoll) whose top is at knollTop, px.
    double knollX = -1, knollTop = 0, knollHalfWidth = 0;
};

std::vector<double> ridgeOf(const Hills& h) {
    std::vector<double> ridge(kWidth + 1);
    for (int x = 0; x <= kWidth; ++x)
        ridge[size_t(x)] = h.baseY + h.amplitude * fractalNoise(x / h.scale, h.seed * 0.37, 4, h.seed);
    if (h.knollX >= 0) {
        // Smooth minimum of the ridge and a flat parabola: the knoll rises
        // out of the range without a crease.
        constexpr double k = 8;
        for (int x = 0; x <= kWidth; ++x) {
            const double d = (x - h.knollX) / h.knollHalfWidth;
            const double knoll = h.knollTop + 14 * d * d;
            const double r = ridge[size_t(x)];
            ridge[size_t(x)] = -k * std::log(std::exp(-r / k) + std::exp(-knoll / k));
        }
    }
    return ridge;
}

void paintHills(Canvas& c, const Hills& h) {
    cairo_t* cr = c.cr();
    const auto ridge = ridgeOf(h);
    auto ridgePath = [&] {
        cairo_new_path(cr);
        cairo_move_to(cr, 0, kHeight);
        for (int x = 0; x <= kWidth; x += 2) cairo_line_to(cr, x, ridge[size_t(x)]);
        cairo_line_to(cr, kWidth, kHeight);
        cairo_close_path(cr);
    };
    ridgePath();
    const double top = *std::min_element(ridge.begin(), ridge.end());
    setLinearGradient(cr, 0, top, 0, std::min<double>(kHeight, top + 260), {{0, h.top}, {1, h.bottom}});
    cairo_fill(cr);

    if (h.rimLight <= 0) return;
    Canvas rim(kWidth, kHeight);
    cairo_t* rc = rim.cr();
    cairo_new_path(rc);
    for (int x = 0; x <= kWidth; x += 2) cairo_line_to(rc, x, ridge[size_t(x)] + 2);
    cairo_set_line_width(rc, 5);
    setLinearGradient(rc, 0, 0, kWidth, 0,
                      {{0, withAlpha(kSunlight, h.rimLight)},
                       {0.45, withAlpha(kSunlight, h.rimLight * 0.45)},
                       {1, withAlpha(kSunlight, h.rimLight * 0.15)}});
    cairo_stroke(rc);
    blur(rim, 3);
    cairo_save(cr);
    ridgePath();
    cairo_clip(cr);
    c.paintCanvas(rim);
    cairo_restore(cr);
}

// Round painted trees standing on a ridge: dark crowns lit on their upper
// left, a soft shadow on the hill.
void paintTrees(Canvas& c, const Hills& h, int count, double minR, double maxR, int seed,
                Rgba crown) {
    cairo_t* cr = c.cr();
    const auto ridge = ridgeOf(h);
    ArtRandom random{uint32_t(seed)};
    for (int i = 0; i < count; ++i) {
        const double x = random.range(20, kWidth - 20);
        const double r = random.range(minR, maxR);
        if (h.knollX >= 0 && std::fabs(x - h.knollX) < h.knollHalfWidth * 1.2 + r) continue;
        const double ground = ridge[size_t(std::clamp(int(x), 0, kWidth))];
        const double cy = ground - r * 0.55;
        // Trunk.
        setSource(cr, shade(kUmber, -0.2));
        cairo_rectangle(cr, x - r * 0.08, cy, r * 0.16, ground - cy + 4);
        cairo_fill(cr);
        // Crown of three overlapping blobs.
        for (int k = 0; k < 3; ++k) {
            const double bx = x + (k - 1) * r * 0.45, by = cy - (k == 1 ? r * 0.35 : 0);
            const double br = r * (k == 1 ? 0.75 : 0.6);
            cairo_new_path(cr);
            cairo_arc(cr, bx, by, br, 0, 2 * M_PI);
            setRadialGradient(cr, bx - br * 0.4, by - br * 0.45, 0, bx, by, br,
                              {{0, mix(crown, kSunlight, 0.35)}, {0.45, crown},
                               {1, shade(crown, -0.4)}});
            cairo_fill(cr);
        }
    }
}

// Sunlit patches and small flowers on the near meadow, fading out before
// the bottom strip.
void paintMeadow(Canvas& c, const Hills& h) {
    cairo_t* cr = c.cr();
    const auto ridge = ridgeOf(h);
    Canvas light(kWidth, kHeight);
    cairo_surface_flush(light.surface());
    uint8_t* data = cairo_image_surface_get_data(light.surface());
    const int stride = cairo_image_surface_get_stride(light.surface());
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double depth = y - ridge[size_t(x)];
            if (depth < 0 || depth >= 90) continue;
            const double n = fractalNoise(x / 150.0, y / 30.0, 4, 91);
            const double a = smoothstep(0.05, 0.45, n) * (1 - smoothstep(10, 90, depth)) * 0.35;
            const uint32_t a8 = uint32_t(std::lround(a * 255));
            auto ch = [&](double v) { return uint32_t(std::lround(v * a * 255)); };
            *(reinterpret_cast<uint32_t*>(data + y * stride) + x) =
                (a8 << 24) | (ch(0.85) << 16) | (ch(0.93) << 8) | ch(0.55);
        }
    }
    cairo_surface_mark_dirty(light.surface());
    c.paintCanvas(light);

    ArtRandom random{17};
    const Rgba petals[] = {hex(0xF7E27A), hex(0xF4F0E6), hex(0xE98AA8), hex(0xB9A0E8)};
    for (int i = 0; i < 140; ++i) {
        const double x = random.range(0, kWidth);
        const double depth = random.range(4, 60);
        const double y = ridge[size_t(std::clamp(int(x), 0, kWidth))] + depth;
        const double r = 0.9 + 1.6 * (depth / 60);
        const Rgba col = petals[random.below(4)];
        setSource(cr, withAlpha(col, 0.75 - depth / 150));
        cairo_new_path(cr);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

// ---------------------------------------------------------------------------
// Balls

struct Ball {
    double x, y, r;
    int color;
};

void paintBallsOnGround(Canvas& c, const std::vector<Ball>& balls) {
    cairo_t* cr = c.cr();
    // Contact shadows fall to the lower right, away from the light.
    Canvas shadows(kWidth, kHeight);
    for (const Ball& b : balls) {
        cairo_save(shadows.cr());
        cairo_translate(shadows.cr(), b.x + b.r * 0.45, b.y + b.r * 0.88);
        cairo_scale(shadows.cr(), 1.15, 0.3);
        cairo_arc(shadows.cr(), 0, 0, b.r, 0, 2 * M_PI);
        cairo_restore(shadows.cr());
        setSource(shadows.cr(), withAlpha(hex(0x0C1408), 0.6));
        cairo_fill(shadows.cr());
    }
    blur(shadows, 7);
    c.paintCanvas(shadows);
    for (const Ball& b : balls) {
        paintGlossyBall(cr, b.x, b.y, b.r, kBallColors[b.color]);
        // The sunset warms the lit side.
        cairo_save(cr);
        cairo_arc(cr, b.x, b.y, b.r, 0, 2 * M_PI);
        cairo_clip(cr);
        paintSoftGlow(cr, b.x - b.r * 0.9, b.y - b.r * 0.2, b.r * 1.1, withAlpha(hex(0xFFC880), 0.25));
        cairo_restore(cr);
    }
}

// ---------------------------------------------------------------------------
// Title lettering

void paintTitle(Canvas& c, const Options& options) {
    const char* title = "Tessaly";
    const double size = 128, tracking = 2, arcRadius = 1500, baseline = 205;

    cairo_font_face_t* face = fontFace(options.fontPath, "DejaVuSans-Bold.ttf");
    Canvas letters(kWidth, kHeight);
    cairo_t* lc = letters.cr();
    cairo_set_font_face(lc, face);
    cairo_set_font_size(lc, size);

    // Width of the word, for centring.
    double total = 0;
    std::vector<double> advances;
    for (const char* p = title; *p; ++p) {
        const char s[2] = {*p, 0};
        cairo_text_extents_t e;
        cairo_text_extents(lc, s, &e);
        advances.push_back(e.x_advance + tracking);
        total += e.x_advance + tracking;
    }
    total -= tracking;

    // Letters on a gentle arc, each with a small playful tilt.
    auto lettersPath = [&](cairo_t* cr) {
        cairo_set_font_face(cr, face);
        cairo_set_font_size(cr, size);
        cairo_new_path(cr);
        double x = kWidth / 2.0 - total / 2;
        int i = 0;
        for (const char* p = title; *p; ++p, ++i) {
            const char s[2] = {*p, 0};
            const double mid = x + advances[size_t(i)] / 2 - kWidth / 2.0;
            const double angle = mid / arcRadius;
            const double lift = arcRadius * (1 - std::cos(angle));
            cairo_save(cr);
            cairo_translate(cr, kWidth / 2.0 + arcRadius * std::sin(angle), baseline + lift);
            cairo_rotate(cr, angle + ((i % 2) ? 0.02 : -0.02));
            cairo_move_to(cr, -advances[size_t(i)] / 2 + tracking / 2, 0);
            cairo_text_path(cr, s);
            cairo_restore(cr);
            x += advances[size_t(i)];
        }
    };
    cairo_set_line_join(lc, CAIRO_LINE_JOIN_ROUND);

    // 1. Dark warm outline, wide.
    lettersPath(lc);
    setSource(lc, hex(0x4A200C));
    cairo_set_line_width(lc, 14);
    cairo_stroke_preserve(lc);
    cairo_fill(lc);
    // 2. Gold body, lit from above.
    lettersPath(lc);
    setLinearGradient(lc, 0, baseline - 100, 0, baseline + 8,
                      {{0, hex(0xFFF6CC)}, {0.35, hex(0xFFD45C)}, {0.7, hex(0xF39A2C)},
                       {1, hex(0xC0561A)}});
    cairo_fill(lc);
    // 3. Inner bevel: light just inside the top-left edges, a deeper tone
    //    inside the bottom-right ones (the letter minus a shifted copy of
    //    itself, kept inside the letter).
    cairo_save(lc);
    lettersPath(lc);
    cairo_clip(lc);
    {
        Canvas shape(kWidth, kHeight);
        lettersPath(shape.cr());
        setSource(shape.cr(), hex(0xFFFFFF));
        cairo_fill(shape.cr());
        const struct {
            double dx, dy;
            Rgba color;
        } edges[] = {{3, 3.5, hex(0xFFFCE8, 0.8)}, {-3, -3.5, hex(0x9A3A0C, 0.55)}};
        for (const auto& e : edges) {
            Canvas rim(kWidth, kHeight);
            setSource(rim.cr(), e.color);
            cairo_paint(rim.cr());
            cairo_set_operator(rim.cr(), CAIRO_OPERATOR_DEST_OUT);
            cairo_set_source_surface(rim.cr(), shape.surface(), e.dx, e.dy);
            cairo_paint(rim.cr());
            blur(rim, 1.5);
            letters.paintCanvas(rim);
        }
    }
    // 4. Gloss: a curved sheen over the upper part of every letter.
    cairo_new_path(lc);
    cairo_move_to(lc, 0, baseline - 130);
    cairo_line_to(lc, kWidth, baseline - 130);
    cairo_line_to(lc, kWidth, baseline - 62);
    cairo_curve_to(lc, kWidth * 0.66, baseline - 40, kWidth * 0.33, baseline - 40, 0, baseline - 62);
    cairo_close_path(lc);
    setLinearGradient(lc, 0, baseline - 110, 0, baseline - 45,
                      {{0, hex(0xFFFFFF, 0.55)}, {1, hex(0xFFFFFF, 0.08)}});
    cairo_fill(lc);
    cairo_restore(lc);

    // Shadow and a warm glow behind the word, then the word.
    paintDropShadow(c, letters, 5, 8, 9, withAlpha(hex(0x1A0C14), 0.7));
    {
        Canvas halo(kWidth, kHeight);
        setSource(halo.cr(), withAlpha(hex(0xFFD890), 0.55));
        cairo_mask_surface(halo.cr(), letters.surface(), 0, 0);
        blur(halo, 22);
        c.paintCanvas(halo);
    }
    c.paintCanvas(letters);

    // A few glints on the lettering.
    cairo_t* cr = c.cr();
    const double glints[][3] = {{kWidth / 2.0 - total / 2 + 22, baseline - 88, 16},
                                {kWidth / 2.0 + total / 2 - 30, baseline - 70, 12},
                                {kWidth / 2.0 + 20, baseline - 96, 9}};
    for (const auto& g : glints) {
        paintSoftGlow(cr, g[0], g[1], g[2] * 1.4, hex(0xFFFFFF, 0.7));
        for (int k = 0; k < 4; ++k) {
            const double a = k * M_PI / 2;
            cairo_new_path(cr);
            cairo_move_to(cr, g[0] - std::sin(a) * 1.6, g[1] + std::cos(a) * 1.6);
            cairo_line_to(cr, g[0] + std::cos(a) * g[2] * 1.8, g[1] + std::sin(a) * g[2] * 1.8);
            cairo_line_to(cr, g[0] + std::sin(a) * 1.6, g[1] - std::cos(a) * 1.6);
            cairo_close_path(cr);
            setSource(cr, hex(0xFFFFFF, 0.9));
            cairo_fill(cr);
        }
    }
}

// ---------------------------------------------------------------------------
// Bar slot: a recessed groove whose inside is exactly where the game draws
// the bar, so the fill appears to pour into it.

void paintBarSlot(Canvas& c) {
    cairo_t* cr = c.cr();
    const double pad = 6;
    const double x = kBarLeft - pad, y = kBarTop - pad;
    const double w = kBarWidth + 2 * pad, h = kBarHeight + 2 * pad;
    // Rim: light on the lower right (lit inner wall), dark on the upper left.
    roundedRectPath(cr, x, y, w, h, 12);
    setLinearGradient(cr, x, y, x + 60, y + h + 60,
                      {{0, hex(0x0C0805, 0.85)}, {1, hex(0x8C6A48, 0.85)}});
    cairo_fill(cr);
    // Floor of the groove.
    roundedRectPath(cr, kBarLeft - 1, kBarTop - 1, kBarWidth + 2, kBarHeight + 2, 4);
    setLinearGradient(cr, 0, kBarTop, 0, kBarTop + kBarHeight,
                      {{0, hex(0x120B07)}, {0.3, hex(0x24170E)}, {1, hex(0x2E1E12)}});
    cairo_fill(cr);
}

// ---------------------------------------------------------------------------
// loadscreen.jpg

Image paintLoadScreen(const Options& options) {
    Canvas c(kWidth, kHeight);
    paintSky(c);
    paintClouds(c);

    const Hills far{338, 30, 180, 3, mix(kHaze, kRose, 0.25), mix(kHaze, kApricot, 0.4), 0.5};
    // The middle range carries a knoll under the point where the title
    // screen pulses two glows (pixels 386 and 438, row 378): two balls rest
    // there and seem to glow.
    Hills middle{392, 34, 240, 5, mix(kSage, kHaze, 0.3), shade(kSage, -0.2), 0.55};
    middle.knollX = 412;
    middle.knollTop = 395;
    middle.knollHalfWidth = 70;
    const Hills near{458, 26, 300, 11, kMeadow, kForest, 0.6};
    paintHills(c, far);
    paintTrees(c, middle, 9, 8, 14, 41, mix(hex(0x56784A), kHaze, 0.25));
    paintHills(c, middle);
    paintBallsOnGround(c, {{386, 378, 16, 2}, {438, 378, 16, 2}});
    paintTrees(c, near, 6, 14, 22, 43, hex(0x3A6A34));
    paintHills(c, near);
    paintMeadow(c, near);

    // Foreground: deep shade towards the bottom keeps the bar strip calm.
    cairo_t* cr = c.cr();
    setLinearGradient(cr, 0, 470, 0, kHeight,
                      {{0, withAlpha(kLoam, 0)}, {0.45, withAlpha(kLoam, 0.7)}, {1, withAlpha(kLoam, 0.95)}});
    cairo_rectangle(cr, 0, 470, kWidth, kHeight - 470);
    cairo_fill(cr);

    // Glossy balls resting in the meadow: a line of three on the left (the
    // game's move in a picture), a loose group on the right.
    paintBallsOnGround(c, {{62, 478, 27, 2}, {122, 486, 29, 2}, {184, 492, 31, 2},
                           {612, 488, 26, 1}, {668, 470, 33, 0}, {732, 484, 30, 3},
                           {700, 512, 22, 4}, {580, 506, 18, 6}, {770, 508, 19, 7}});

    paintTitle(c, options);
    addPaintTexture(c, 0.05, 40, 77);

    // Vignette: darker corners draw the eye to the title and the bar.
    setRadialGradient(cr, kWidth / 2.0, kHeight * 0.42, 260, kWidth / 2.0, kHeight * 0.42, 620,
                      {{0, hex(0x000000, 0)}, {1, hex(0x10060A, 0.45)}});
    cairo_paint(cr);

    paintBarSlot(c);
    addGrain(c, 0.018, 78);
    return c.toImage();
}

// ---------------------------------------------------------------------------
// loadbar.jpg: a glossy amber tube with soft diagonal stripes.

Image paintLoadBar() {
    const int w = int(kBarWidth), h = int(kBarHeight);
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    setLinearGradient(cr, 0, 0, 0, h,
                      {{0, hex(0x6A2E0E)}, {0.06, hex(0xB9561C)}, {0.2, hex(0xF2A640)},
                       {0.42, hex(0xE58A2C)}, {0.75, hex(0xB4501A)}, {0.93, hex(0x8E3A12)},
                       {1, hex(0x5A2208)}});
    cairo_paint(cr);
    // Stripes at 45 degrees, lighter, give the fill a sense of movement.
    for (int x = -h; x < w + h; x += 24) {
        cairo_new_path(cr);
        cairo_move_to(cr, x, h);
        cairo_line_to(cr, x + 12, h);
        cairo_line_to(cr, x + 12 + h, 0);
        cairo_line_to(cr, x + h, 0);
        cairo_close_path(cr);
        setSource(cr, hex(0xFFE0A0, 0.13));
        cairo_fill(cr);
    }
    // Glossy highlight band on the upper part.
    roundedRectPath(cr, 3, 4, w - 6, h * 0.36, h * 0.18);
    setLinearGradient(cr, 0, 4, 0, 4 + h * 0.36,
                      {{0, hex(0xFFFFFF, 0.7)}, {1, hex(0xFFFFFF, 0.08)}});
    cairo_fill(cr);
    // Warm reflected light along the bottom.
    setLinearGradient(cr, 0, h * 0.7, 0, h - 3,
                      {{0, hex(0xFFB060, 0)}, {1, hex(0xFFB060, 0.35)}});
    cairo_rectangle(cr, 0, h * 0.7, w, h * 0.3 - 3);
    cairo_fill(cr);
    // The left end is rounded by shading (the right end is wherever the
    // bar is cut).
    setLinearGradient(cr, 0, 0, 10, 0, {{0, hex(0x2A1004, 0.7)}, {1, hex(0x2A1004, 0)}});
    cairo_rectangle(cr, 0, 0, 10, h);
    cairo_fill(cr);
    addGrain(c, 0.015, 5);
    return c.toImage();
}

// ---------------------------------------------------------------------------
// podsvet.jpg: a soft capsule of light on black.

Image paintHighlight() {
    constexpr int w = 128, h = 64;
    Image image(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // Distance to a horizontal segment, so the glow is even along a
            // line of text and soft at its ends and edges.
            const double px = x + 0.5, py = y + 0.5;
            const double sx = std::clamp(px, 40.0, w - 40.0);
            const double dx = (px - sx) / 38.0, dy = (py - h / 2.0) / 29.0;
            const double d = std::sqrt(dx * dx + dy * dy);
            const double v = d >= 1 ? 0 : std::pow(1 - smoothstep(0, 1, d), 1.3);
            uint8_t* p = image.at(x, y);
            // Slightly warm white.
            p[2] = uint8_t(std::lround(255 * v));
            p[1] = uint8_t(std::lround(248 * v));
            p[0] = uint8_t(std::lround(232 * v));
            p[3] = 255;
        }
    }
    return image;
}

}  // namespace

void generateFoundationArt(Output& out) {
    out.writeLoose("loadscreen.jpg", writeJpeg(paintLoadScreen(out.options()), 90));
    out.writeLoose("loadbar.jpg", writeJpeg(paintLoadBar(), 92));
    out.addToPack("jpeg.dat", "podsvet.jpg", writeJpeg(paintHighlight(), 95));
}

}  // namespace datagen
