// "backdrop.jpg" (800 x 600): a calm painted landscape behind the board,
// used until the animated scenes exist. A loose file: the game may load it
// again for every level.
//
// It is quieter than the title picture: soft contrast, no bright spots
// under the middle of the board, the livelier detail (trees, the sun's glow)
// towards the edges that the board leaves free. A morning sky from soft blue
// to apricot, lavender mountains, a still lake, sage and meadow hills and
// round trees, all with the house light from the top left.
#include <algorithm>
#include <cmath>
#include <vector>

#include "game_art.h"

namespace datagen::gameart {
namespace {

constexpr int kWidth = 800, kHeight = 600;

// A ridge line: height at x from fractal noise.
struct Ridge {
    double base;       // pixels from the top
    double amplitude;  // pixels
    double scale;      // pixels per noise unit
    int seed;
    double at(double x) const { return base + amplitude * fractalNoise(x / scale, 0.5, 4, seed); }
};

void ridgePath(cairo_t* cr, const Ridge& ridge) {
    cairo_new_path(cr);
    cairo_move_to(cr, 0, kHeight);
    for (int x = 0; x <= kWidth; x += 4) cairo_line_to(cr, x, ridge.at(x));
    cairo_line_to(cr, kWidth, kHeight);
    cairo_close_path(cr);
}

void paintSky(cairo_t* cr) {
    cairo_rectangle(cr, 0, 0, kWidth, kHeight);
    setLinearGradient(cr, 0, 0, 0, 360,
                      {{0, hex(0x5A78B0)}, {0.35, hex(0x8C9CCC)}, {0.62, hex(0xC8A8BC)},
                       {0.82, hex(0xEEC0A4)}, {1, hex(0xFFE2B8)}});
    cairo_fill(cr);
    // The sun's light, low on the right, away from the board's middle.
    paintSoftGlow(cr, 640, 300, 260, hex(0xFFE9B8, 0.55));
    paintSoftGlow(cr, 640, 300, 70, hex(0xFFF6DC, 0.6), 0.3);
}

// Cloud banks: noise shaped into soft horizontal bands, lit warm from below
// on the sun side.
void paintClouds(Canvas& canvas) {
    Canvas clouds(kWidth, kHeight);
    cairo_surface_flush(clouds.surface());
    uint8_t* data = cairo_image_surface_get_data(clouds.surface());
    const int stride = cairo_image_surface_get_stride(clouds.surface());
    for (int y = 0; y < 280; ++y) {
        const double band = std::exp(-std::pow((y - 120) / 70.0, 2)) * 0.8 +
                            std::exp(-std::pow((y - 230) / 30.0, 2)) * 0.5;
        for (int x = 0; x < kWidth; ++x) {
            const double n = fractalNoise(x / 260.0, y / 55.0, 5, 201);
            const double cover = std::clamp((n * 0.5 + 0.5) * band * 1.9 - 0.72, 0.0, 1.0);
            if (cover <= 0) continue;
            const double a = std::pow(cover, 0.8) * 0.75;
            const double warm = std::clamp((x - 300) / 500.0, 0.0, 1.0) * (y / 280.0);
            const double r = 0.96, g = 0.9 - 0.04 * (1 - warm), b = 0.92 - 0.14 * warm;
            uint32_t* p = reinterpret_cast<uint32_t*>(data + y * stride) + x;
            *p = (uint32_t(a * 255) << 24) | (uint32_t(r * a * 255) << 16) |
                 (uint32_t(g * a * 255) << 8) | uint32_t(b * a * 255);
        }
    }
    cairo_surface_mark_dirty(clouds.surface());
    blur(clouds, 4);
    canvas.paintCanvas(clouds);
}

void paintLayer(cairo_t* cr, const Ridge& ridge, Rgba top, Rgba bottom, Rgba rim, int seed) {
    ridgePath(cr, ridge);
    setLinearGradient(cr, 0, ridge.base - ridge.amplitude, 0, kHeight, {{0, top}, {1, bottom}});
    cairo_fill(cr);
    // Painted patches: soft lighter and darker swathes, wider than tall.
    cairo_save(cr);
    ridgePath(cr, ridge);
    cairo_clip(cr);
    ArtRandom random{uint32_t(seed)};
    for (int i = 0; i < 18; ++i) {
        const double x = random.range(-50, kWidth + 50);
        const double y = ridge.base + random.range(0, 90);
        const double r = random.range(40, 110);
        const bool light = random.unit() < 0.55;
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, 1, 0.3);
        paintSoftGlow(cr, 0, 0, r, light ? withAlpha(shade(top, 0.25), 0.35)
                                         : withAlpha(shade(bottom, -0.25), 0.3));
        cairo_restore(cr);
    }
    cairo_restore(cr);
    // Rim light along the ridge, only on the sun side.
    cairo_new_path(cr);
    for (int x = 0; x <= kWidth; x += 4) {
        const double y = ridge.at(x) + 1.2;
        if (x == 0) cairo_move_to(cr, x, y);
        else cairo_line_to(cr, x, y);
    }
    cairo_set_line_width(cr, 1.6);
    setLinearGradient(cr, 0, 0, kWidth, 0,
                      {{0, withAlpha(rim, 0)}, {0.5, withAlpha(rim, 0.08)}, {1, withAlpha(rim, 0.4)}});
    cairo_stroke(cr);
}

// Round painted trees standing on a ridge.
void paintTrees(Canvas& canvas, const Ridge& ridge, const std::vector<double>& xs, double size,
                Rgba crown, int seed) {
    cairo_t* cr = canvas.cr();
    ArtRandom random{uint32_t(seed)};
    for (double x : xs) {
        const double r = size * random.range(0.75, 1.2);
        const double ground = ridge.at(x);
        const double cy = ground - r * 1.35;
        // Shadow on the ground, down and right.
        cairo_save(cr);
        cairo_translate(cr, x + r * 0.6, ground + 1);
        cairo_scale(cr, 1, 0.3);
        paintSoftGlow(cr, 0, 0, r * 1.3, hex(0x1A0E05, 0.35));
        cairo_restore(cr);
        cairo_rectangle(cr, x - r * 0.1, cy, r * 0.2, ground - cy + 1);
        setSource(cr, hex(0x3A2414));
        cairo_fill(cr);
        // Crown: a few overlapping blobs, lit on the upper left.
        for (int k = 0; k < 4; ++k) {
            const double bx = x + random.range(-0.45, 0.45) * r;
            const double by = cy + random.range(-0.4, 0.25) * r;
            const double br = r * random.range(0.55, 0.75);
            cairo_arc(cr, bx, by, br, 0, 2 * M_PI);
            setRadialGradient(cr, bx + kLightX * br * 0.6, by + kLightY * br * 0.6, br * 0.1, bx, by,
                              br,
                              {{0, shade(crown, 0.28)}, {0.6, crown}, {1, shade(crown, -0.3)}});
            cairo_fill(cr);
        }
    }
}

void paintLake(cairo_t* cr, double top, double bottom) {
    cairo_rectangle(cr, 0, top, kWidth, bottom - top);
    setLinearGradient(cr, 0, top, 0, bottom,
                      {{0, hex(0xF2D2B0)}, {0.4, hex(0xC8B4C4)}, {1, hex(0x8C9CC0)}});
    cairo_fill(cr);
    // Quiet ripples: thin light streaks.
    ArtRandom random(301);
    for (int i = 0; i < 40; ++i) {
        const double y = random.range(top + 2, bottom - 2);
        const double x = random.range(0, kWidth);
        const double w = random.range(20, 90);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + w, y);
        cairo_set_line_width(cr, 1);
        setSource(cr, hex(0xFFF6E0, random.range(0.15, 0.35)));
        cairo_stroke(cr);
    }
    // The sun's reflection.
    cairo_save(cr);
    cairo_translate(cr, 640, (top + bottom) / 2);
    cairo_scale(cr, 0.5, 1.6);
    paintSoftGlow(cr, 0, 0, (bottom - top) * 0.5, hex(0xFFF2D0, 0.6));
    cairo_restore(cr);
}

void paintBackdrop(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    paintSky(cr);
    paintClouds(canvas);

    const Ridge mountains{292, 42, 120, 211};
    paintLayer(cr, mountains, hex(0xA88EB0), hex(0xC8AEC0), hex(0xFFE9B8), 220);
    paintLake(cr, 328, 372);
    const Ridge far{360, 20, 160, 212};
    paintLayer(cr, far, hex(0x9AAE84), hex(0x7F9A66), hex(0xFFE9B8), 221);
    paintTrees(canvas, far, {30, 58, 84, 700, 728, 760, 785}, 9, hex(0x5E7E52), 213);
    const Ridge mid{430, 28, 180, 214};
    paintLayer(cr, mid, hex(0x6E9456), hex(0x4E7B43), hex(0xFFE2B0), 222);
    paintTrees(canvas, mid, {14, 48, 750, 788}, 16, hex(0x3E6A3A), 215);
    const Ridge near{520, 22, 220, 216};
    paintLayer(cr, near, hex(0x46743E), hex(0x2F5232), hex(0xFFD8A0), 223);
    paintTrees(canvas, near, {8, 60, 740, 792}, 24, hex(0x2F5232), 217);

    // Haze over the distance, then a soft vignette that keeps the edges
    // a little darker than the middle.
    cairo_rectangle(cr, 0, 250, kWidth, 160);
    setLinearGradient(cr, 0, 250, 0, 410,
                      {{0, hex(0xFFE9D0, 0)}, {0.5, hex(0xFFE9D0, 0.18)}, {1, hex(0xFFE9D0, 0)}});
    cairo_fill(cr);
    addPaintTexture(canvas, 0.08, 70, 218);
    setRadialGradient(cr, kWidth / 2.0, kHeight / 2.0, 200, kWidth / 2.0, kHeight / 2.0, 560,
                      {{0, hex(0x1A0E05, 0)}, {1, hex(0x1A0E05, 0.35)}});
    cairo_paint(cr);
    addGrain(canvas, 0.02, 219);
}

}  // namespace

void generateBackdrop(Output& out) {
    Canvas canvas(kWidth, kHeight);
    paintBackdrop(canvas);
    out.writeLoose("backdrop.jpg", writeJpeg(canvas.toImage(), 90));
}

}  // namespace datagen::gameart

