// "particles.tga": the sprite sheet of the particle effects and the sparks,
// 512 x 512 texels as 8 x 8 cells of 64. docs/particle-sheet.md lists what
// each cell holds; keep the two in step.
//
// Conventions every cell follows:
//  - shapes are white or light grey (effects tint them through vertex
//    colours); a few cells carry a little colour of their own (bubbles);
//  - centred in the cell, with at least 2 texels clear at every edge so the
//    texture filter never pulls in a neighbour;
//  - colour is stored as colour x sqrt(alpha). The game draws the sheet
//    three ways: normal alpha blending, additive by alpha (source alpha,
//    one) and additive by colour (source colour, one). With straight colour
//    the last would light up the whole faint halo of a glow; with sqrt the
//    additive-by-colour result equals the alpha falloff, while alpha
//    blending only darkens the faintest fringe a little.
//
// Cells: 0-7 glows, soft dots and squares (3 the falling shard); 8-15 rings
// (10 the trail spark, 12 the main soft glow); 16-23 puffs, smoke and dust
// (17 the puff ring); 24-31 stars and sparkle crosses; 32-39 leaves, glints,
// wisps, petals, hearts (33 the glint, 34 the rising wisp); 40-47 streaks and
// shards; 48-55 bubbles, drops, ball, halo, flares (53 the spinning star
// flare); 56-63 dust, glitter, confetti, snowflake, small stars (61, 62),
// blossom.
#include <algorithm>
#include <cmath>

#include "datagen.h"
#include "image_io.h"
#include "paint.h"

namespace datagen {
namespace {

constexpr int kCell = 64;
constexpr int kCellsPerRow = 8;
constexpr double kC = kCell / 2.0;  // cell centre
const Rgba kWhite = hex(0xFFFFFF);
const Rgba kSmoke = hex(0xE4E2DE);

double rad(double degrees) { return degrees * M_PI / 180; }

// ---------------------------------------------------------------------------
// Shape helpers (all in cell coordinates)

void glow(cairo_t* cr, double r, double alpha = 1, double hardness = 0, double cx = kC,
          double cy = kC) {
    paintSoftGlow(cr, cx, cy, r, withAlpha(kWhite, alpha), hardness);
}

// A tapering light ray from the centre: a thin diamond, widest near the
// centre and sharp at the tip.
void ray(cairo_t* cr, double angleDeg, double length, double width, double alpha = 1,
         double cx = kC, double cy = kC) {
    const double a = rad(angleDeg), dx = std::cos(a), dy = std::sin(a);
    const double px = -dy * width / 2, py = dx * width / 2;
    cairo_new_path(cr);
    cairo_move_to(cr, cx - dx * width, cy - dy * width);
    cairo_line_to(cr, cx + px + dx * length * 0.08, cy + py + dy * length * 0.08);
    cairo_line_to(cr, cx + dx * length, cy + dy * length);
    cairo_line_to(cr, cx - px + dx * length * 0.08, cy - py + dy * length * 0.08);
    cairo_close_path(cr);
    setLinearGradient(cr, cx, cy, cx + dx * length, cy + dy * length,
                      {{0, withAlpha(kWhite, alpha)}, {0.6, withAlpha(kWhite, alpha * 0.6)},
                       {1, withAlpha(kWhite, 0)}});
    cairo_fill(cr);
}

void crossRays(cairo_t* cr, int count, double length, double width, double startDeg,
               double alpha = 1, double cx = kC, double cy = kC) {
    for (int i = 0; i < count; ++i) ray(cr, startDeg + 360.0 * i / count, length, width, alpha, cx, cy);
}

void ring(cairo_t* cr, double r, double width, double alpha = 1) {
    cairo_new_path(cr);
    cairo_arc(cr, kC, kC, r, 0, 2 * M_PI);
    cairo_set_line_width(cr, width);
    setSource(cr, withAlpha(kWhite, alpha));
    cairo_stroke(cr);
}

// A four-pointed star with concave sides (the classic twinkle).
void twinklePath(cairo_t* cr, double cx, double cy, double r, double pinch, double rotDeg = 0) {
    cairo_new_path(cr);
    for (int i = 0; i < 4; ++i) {
        const double a0 = rad(rotDeg + 90.0 * i - 90), a1 = rad(rotDeg + 90.0 * (i + 1) - 90);
        const double x0 = cx + std::cos(a0) * r, y0 = cy + std::sin(a0) * r;
        const double x1 = cx + std::cos(a1) * r, y1 = cy + std::sin(a1) * r;
        if (i == 0) cairo_move_to(cr, x0, y0);
        cairo_curve_to(cr, cx + (x0 - cx) * pinch, cy + (y0 - cy) * pinch,
                       cx + (x1 - cx) * pinch, cy + (y1 - cy) * pinch, x1, y1);
    }
    cairo_close_path(cr);
}

void heartPath(cairo_t* cr, double cx, double cy, double s) {
    cairo_new_path(cr);
    cairo_move_to(cr, cx, cy + s * 0.95);
    cairo_curve_to(cr, cx - s * 1.35, cy + s * 0.05, cx - s * 0.95, cy - s * 1.05, cx,
                   cy - s * 0.45);
    cairo_curve_to(cr, cx + s * 0.95, cy - s * 1.05, cx + s * 1.35, cy + s * 0.05, cx,
                   cy + s * 0.95);
    cairo_close_path(cr);
}

// A pointed leaf along the vertical axis.
void leafPath(cairo_t* cr, double cx, double cy, double length, double width) {
    cairo_new_path(cr);
    cairo_move_to(cr, cx, cy - length / 2);
    cairo_curve_to(cr, cx + width, cy - length / 4, cx + width * 0.8, cy + length / 3, cx,
                   cy + length / 2);
    cairo_curve_to(cr, cx - width * 0.8, cy + length / 3, cx - width, cy - length / 4, cx,
                   cy - length / 2);
    cairo_close_path(cr);
}

// Fills the current path with a soft top-left lit white: light where the
// light comes from, grey on the far side.
void fillLitWhite(cairo_t* cr, double extent, double alpha = 1) {
    setLinearGradient(cr, kC - extent * 0.7, kC - extent * 0.7, kC + extent * 0.7,
                      kC + extent * 0.7,
                      {{0, withAlpha(kWhite, alpha)}, {0.55, withAlpha(hex(0xF2F0EC), alpha)},
                       {1, withAlpha(hex(0xB8B4AE), alpha)}});
    cairo_fill_preserve(cr);
}

// A cloud made of noise inside a soft round falloff.
void noisePuff(Canvas& c, double radius, double scale, double contrast, int seed, Rgba color,
               double density = 1) {
    cairo_surface_flush(c.surface());
    uint8_t* data = cairo_image_surface_get_data(c.surface());
    const int stride = cairo_image_surface_get_stride(c.surface());
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            const double dx = (x + 0.5 - kC) / radius, dy = (y + 0.5 - kC) / radius;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d >= 1) continue;
            const double n = fractalNoise(x * scale / kCell, y * scale / kCell, 4, seed);
            const double falloff = std::pow(1 - d * d, 1.4);
            const double a = std::clamp((0.6 + n * contrast) * falloff * density, 0.0, 1.0);
            const double lit = std::clamp(1 - 0.25 * (dx + dy) * 0.5 + n * 0.15, 0.6, 1.0);
            uint32_t* px = reinterpret_cast<uint32_t*>(data + y * stride) + x;
            auto ch = [&](double v) { return uint32_t(std::lround(std::clamp(v * lit, 0.0, 1.0) * a * 255)); };
            *px = (uint32_t(std::lround(a * 255)) << 24) | (ch(color.r) << 16) | (ch(color.g) << 8) |
                  ch(color.b);
        }
    }
    cairo_surface_mark_dirty(c.surface());
}

// ---------------------------------------------------------------------------
// The 64 cells. Each draws into its own 64 x 64 canvas.

void paintCell(int n, Canvas& c) {
    cairo_t* cr = c.cr();
    switch (n) {
    // Row 0: glows, soft dots and squares.
    case 0: glow(cr, 30, 0.85); break;                       // very soft glow
    case 1: glow(cr, 24, 1, 0.1); break;                     // soft glow
    case 2:                                                  // glow with a bright core
        glow(cr, 30, 0.55);
        glow(cr, 9, 1, 0.5);
        break;
    case 3: {  // falling shard: a faceted sliver of crystal, drawn upright
        cairo_new_path(cr);
        cairo_move_to(cr, kC - 1, 6);
        cairo_line_to(cr, kC + 8, 24);
        cairo_line_to(cr, kC + 5, 50);
        cairo_line_to(cr, kC - 2, 58);
        cairo_line_to(cr, kC - 8, 30);
        cairo_close_path(cr);
        setSource(cr, hex(0xD8D6D2));
        cairo_fill_preserve(cr);
        setSource(cr, hex(0xFFFFFF, 0.9));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        // Lit facet on the left, shaded facet on the right.
        cairo_move_to(cr, kC - 1, 6);
        cairo_line_to(cr, kC + 1, 30);
        cairo_line_to(cr, kC - 2, 58);
        cairo_line_to(cr, kC - 8, 30);
        cairo_close_path(cr);
        setSource(cr, hex(0xFFFFFF));
        cairo_fill(cr);
        glow(cr, 10, 0.7, 0.3, kC - 2, 22);
        break;
    }
    case 4: glow(cr, 20, 1, 0.75); break;                    // soft-edged disc
    case 5: glow(cr, 10, 1, 0.35); break;                    // small dot
    case 6:                                                  // soft square
        roundedRectPath(cr, 14, 14, 36, 36, 4);
        setSource(cr, kWhite);
        cairo_fill(cr);
        blur(c, 4);
        break;
    case 7:                                                  // soft rounded tile glow
        roundedRectPath(cr, 10, 10, 44, 44, 12);
        setSource(cr, withAlpha(kWhite, 0.8));
        cairo_fill(cr);
        blur(c, 9);
        break;

    // Row 1: rings (and the trail spark and the main glow).
    case 8: ring(cr, 25, 2.2); blur(c, 1.2); break;          // thin ring
    case 9: ring(cr, 21, 7, 0.9); blur(c, 4); break;         // soft ring
    case 10:                                                 // small trail spark
        glow(cr, 18, 0.6);
        crossRays(cr, 4, 22, 3.2, 0, 0.9);
        crossRays(cr, 4, 12, 2.2, 45, 0.6);
        glow(cr, 6, 1, 0.5);
        break;
    case 11: {                                               // shock wave: bright outer edge
        cairo_new_path(cr);
        cairo_arc(cr, kC, kC, 28, 0, 2 * M_PI);
        setRadialGradient(cr, kC, kC, 12, kC, kC, 28,
                          {{0, withAlpha(kWhite, 0)}, {0.7, withAlpha(kWhite, 0.45)},
                           {0.9, kWhite}, {1, withAlpha(kWhite, 0)}});
        cairo_fill(cr);
        blur(c, 1.5);
        break;
    }
    case 12:                                                 // the main soft round glow
        glow(cr, 30, 1, 0.25);
        glow(cr, 14, 0.6, 0.2);
        break;
    case 13: ring(cr, 26, 2.4); ring(cr, 17, 2.4, 0.7); blur(c, 1.5); break;  // double ring
    case 14:                                                 // ring with a glowing inside
        glow(cr, 26, 0.35, 0.5);
        ring(cr, 25, 3);
        blur(c, 1.5);
        break;
    case 15:                                                 // ring of dots
        for (int i = 0; i < 12; ++i)
            glow(cr, 5, 1, 0.45, kC + 24 * std::cos(rad(30.0 * i)), kC + 24 * std::sin(rad(30.0 * i)));
        break;

    // Row 2: puffs, smoke and dust.
    case 16: noisePuff(c, 29, 2.5, 0.45, 16, kSmoke, 2.2); blur(c, 2); break;  // smoke puff
    case 17: {                                               // puff ring: soft body, brighter rim
        cairo_new_path(cr);
        cairo_arc(cr, kC, kC, 28, 0, 2 * M_PI);
        setRadialGradient(cr, kC, kC, 0, kC, kC, 28,
                          {{0, withAlpha(kWhite, 0.3)}, {0.5, withAlpha(kWhite, 0.55)},
                           {0.78, withAlpha(kWhite, 0.95)}, {0.9, withAlpha(kWhite, 0.5)},
                           {1, withAlpha(kWhite, 0)}});
        cairo_fill(cr);
        blur(c, 2.5);
        break;
    }
    case 18: {                                               // lumpy cloud puff
        ArtRandom random(18);
        for (int i = 0; i < 7; ++i) {
            const double a = rad(i * 51.4 + random.range(-10, 10)), d = random.range(6, 13);
            glow(cr, random.range(12, 17), 0.75, 0.55, kC + std::cos(a) * d, kC + std::sin(a) * d);
        }
        glow(cr, 16, 0.8, 0.5);
        break;
    }
    case 19: noisePuff(c, 29, 5, 0.9, 19, kSmoke, 1.8); blur(c, 1.5); break;  // wispy smoke
    case 20: {                                               // cloud with a flat base
        ArtRandom random(20);
        const double xs[] = {18, 28, 38, 47, 24, 40};
        const double ys[] = {38, 31, 30, 38, 39, 40};
        const double rs[] = {10, 14, 13, 9, 9, 9};
        for (int i = 0; i < 6; ++i) {
            cairo_new_path(cr);
            cairo_arc(cr, xs[i], ys[i], rs[i], 0, 2 * M_PI);
            setSource(cr, kWhite);
            cairo_fill(cr);
        }
        cairo_rectangle(cr, 0, 46, kCell, kCell - 46);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_fill(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        blur(c, 3);
        (void)random;
        break;
    }
    case 21: noisePuff(c, 27, 10, 1.0, 21, hex(0xD9D2C6), 1.4); blur(c, 1); break;  // grainy dust cloud
    case 22: {                                               // vapour streak
        cairo_save(cr);
        cairo_translate(cr, kC, kC);
        cairo_scale(cr, 1, 0.28);
        paintSoftGlow(cr, 0, 0, 28, kWhite, 0.2);
        cairo_restore(cr);
        break;
    }
    case 23: {                                               // dust specks
        ArtRandom random(23);
        for (int i = 0; i < 14; ++i) {
            const double a = random.range(0, 2 * M_PI), d = 22 * std::sqrt(random.unit());
            glow(cr, random.range(2.5, 5), random.range(0.6, 1), 0.4, kC + std::cos(a) * d,
                 kC + std::sin(a) * d);
        }
        break;
    }

    // Row 3: stars and sparkle crosses.
    case 24:                                                 // four-point star
        glow(cr, 22, 0.45);
        twinklePath(cr, kC, kC, 27, 0.12);
        setSource(cr, kWhite);
        cairo_fill(cr);
        break;
    case 25: case 26: case 27: {                             // five, six and eight points
        const int points = n == 25 ? 5 : n == 26 ? 6 : 8;
        const double inner = n == 25 ? 12 : n == 26 ? 14 : 13;
        starPath(cr, kC, kC + (n == 25 ? 2 : 0), 27, inner, points, n == 27 ? 22.5 : 0);
        fillLitWhite(cr, 27);
        setSource(cr, withAlpha(hex(0x9C968E), 0.6));
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        paintSpecular(cr, kC, kC, 16, 0.5);
        break;
    }
    case 28:                                                 // soft rounded star
        starPath(cr, kC, kC + 2, 25, 13, 5);
        setSource(cr, kWhite);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_width(cr, 6);
        cairo_fill_preserve(cr);
        cairo_stroke(cr);
        blur(c, 3);
        break;
    case 29:                                                 // sparkle cross +
        glow(cr, 14, 0.6);
        crossRays(cr, 4, 29, 3, 0);
        glow(cr, 5, 1, 0.5);
        break;
    case 30:                                                 // eight-ray sparkle
        glow(cr, 16, 0.5);
        crossRays(cr, 4, 29, 3, 0);
        crossRays(cr, 4, 17, 2.4, 45, 0.8);
        glow(cr, 6, 1, 0.5);
        break;
    case 31:                                                 // twinkle: long thin rays
        glow(cr, 12, 0.7);
        crossRays(cr, 4, 30, 1.6, 0);
        crossRays(cr, 4, 9, 1.4, 45, 0.7);
        break;

    // Row 4: leaves, glints, wisps, petals, hearts.
    case 32:                                                 // leaf with veins
        cairo_save(cr);
        cairo_translate(cr, kC, kC);
        cairo_rotate(cr, rad(-30));
        cairo_translate(cr, -kC, -kC);
        leafPath(cr, kC, kC, 52, 20);
        fillLitWhite(cr, 26);
        cairo_new_path(cr);
        cairo_move_to(cr, kC, kC - 24);
        cairo_line_to(cr, kC, kC + 27);
        for (int i = -2; i <= 2; ++i) {
            cairo_move_to(cr, kC, kC + i * 8);
            cairo_line_to(cr, kC - 10, kC + i * 8 - 7);
            cairo_move_to(cr, kC, kC + i * 8);
            cairo_line_to(cr, kC + 10, kC + i * 8 - 7);
        }
        setSource(cr, withAlpha(hex(0x8C877E), 0.7));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        cairo_restore(cr);
        break;
    case 33:                                                 // glint: a leaf-shaped lens of light
        glow(cr, 20, 0.45);
        leafPath(cr, kC, kC, 52, 15);
        setRadialGradient(cr, kC, kC, 0, kC, kC, 26,
                          {{0, kWhite}, {0.5, withAlpha(kWhite, 0.7)}, {1, withAlpha(kWhite, 0.1)}});
        cairo_fill(cr);
        ray(cr, 0, 22, 2, 0.8);
        ray(cr, 180, 22, 2, 0.8);
        ray(cr, 90, 12, 1.6, 0.6);
        ray(cr, 270, 12, 1.6, 0.6);
        glow(cr, 5, 1, 0.5);
        blur(c, 1);
        break;
    case 34: {                                               // rising wisp: tip to the left
        cairo_new_path(cr);
        cairo_move_to(cr, 5, kC - 2);
        cairo_curve_to(cr, 18, kC - 10, 26, kC + 4, 38, kC - 9);
        cairo_curve_to(cr, 48, kC - 18, 60, kC - 6, 58, kC + 3);
        cairo_curve_to(cr, 56, kC + 13, 44, kC + 12, 34, kC + 6);
        cairo_curve_to(cr, 24, kC + 1, 16, kC + 6, 5, kC - 2);
        cairo_close_path(cr);
        setLinearGradient(cr, 5, 0, 58, 0,
                          {{0, withAlpha(kWhite, 0.15)}, {0.4, withAlpha(kWhite, 0.75)},
                           {1, kWhite}});
        cairo_fill(cr);
        blur(c, 2.5);
        break;
    }
    case 35: {                                               // round leaf on a stem
        cairo_new_path(cr);
        cairo_move_to(cr, kC + 2, 56);
        cairo_curve_to(cr, kC + 1, 50, kC, 46, kC, 42);
        setSource(cr, hex(0xC8C2B8));
        cairo_set_line_width(cr, 2.4);
        cairo_stroke(cr);
        cairo_save(cr);
        cairo_translate(cr, kC, 25);
        cairo_scale(cr, 1, 1.2);
        cairo_arc(cr, 0, 0, 15, 0, 2 * M_PI);
        cairo_restore(cr);
        fillLitWhite(cr, 20);
        cairo_new_path(cr);
        cairo_move_to(cr, kC, 43);
        cairo_line_to(cr, kC, 10);
        setSource(cr, withAlpha(hex(0x8C877E), 0.6));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        break;
    }
    case 36: {                                               // petal
        cairo_new_path(cr);
        cairo_move_to(cr, kC, 56);
        cairo_curve_to(cr, kC - 22, 40, kC - 16, 10, kC - 3, 8);
        cairo_curve_to(cr, kC - 1, 12, kC + 1, 12, kC + 3, 8);
        cairo_curve_to(cr, kC + 16, 10, kC + 22, 40, kC, 56);
        cairo_close_path(cr);
        setRadialGradient(cr, kC, 50, 2, kC, 36, 28,
                          {{0, hex(0xE6E0D8)}, {0.6, hex(0xFAF8F4)}, {1, kWhite}});
        cairo_fill(cr);
        break;
    }
    case 37:                                                 // glossy heart
        heartPath(cr, kC, kC + 2, 24);
        fillLitWhite(cr, 26);
        setSource(cr, withAlpha(hex(0x9C968E), 0.5));
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        paintSpecular(cr, kC - 10, kC - 8, 12, 0.9);
        break;
    case 38:                                                 // soft glowing heart
        heartPath(cr, kC, kC + 2, 20);
        setSource(cr, kWhite);
        cairo_fill(cr);
        blur(c, 5);
        heartPath(cr, kC, kC + 2, 17);
        setSource(cr, withAlpha(kWhite, 0.7));
        cairo_fill(cr);
        blur(c, 1.5);
        break;
    case 39: {                                               // curl of smoke
        cairo_new_path(cr);
        for (int i = 0; i <= 80; ++i) {
            const double t = i / 80.0, a = rad(-90 + t * 470), r = 4 + t * 21;
            const double x = kC + std::cos(a) * r, y = kC + std::sin(a) * r;
            if (i == 0) cairo_move_to(cr, x, y);
            else cairo_line_to(cr, x, y);
        }
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_width(cr, 5);
        setSource(cr, withAlpha(kWhite, 0.85));
        cairo_stroke(cr);
        blur(c, 2.5);
        break;
    }

    // Row 5: streaks and shards.
    case 40:                                                 // soft light streak
        cairo_save(cr);
        cairo_translate(cr, kC, kC);
        cairo_scale(cr, 1, 0.14);
        paintSoftGlow(cr, 0, 0, 29, kWhite, 0.3);
        cairo_restore(cr);
        break;
    case 41: {                                               // comet: head right, tail left
        cairo_new_path(cr);
        cairo_move_to(cr, 4, kC);
        cairo_curve_to(cr, 30, kC - 4, 44, kC - 8, 50, kC - 7);
        cairo_arc(cr, 50, kC, 7, -M_PI / 2, M_PI / 2);
        cairo_curve_to(cr, 44, kC + 8, 30, kC + 4, 4, kC);
        cairo_close_path(cr);
        setLinearGradient(cr, 4, 0, 57, 0, {{0, withAlpha(kWhite, 0)}, {0.7, withAlpha(kWhite, 0.7)}, {1, kWhite}});
        cairo_fill(cr);
        blur(c, 1.5);
        glow(cr, 9, 1, 0.4, 50, kC);
        break;
    }
    case 42:                                                 // thin hard streak
        glow(cr, 10, 0.4);
        ray(cr, 0, 29, 2.4);
        ray(cr, 180, 29, 2.4);
        break;
    case 43: {                                               // zigzag spark
        const double xs[] = {6, 18, 26, 36, 42, 58};
        const double ys[] = {30, 22, 38, 24, 40, 32};
        cairo_new_path(cr);
        cairo_move_to(cr, xs[0], ys[0]);
        for (int i = 1; i < 6; ++i) cairo_line_to(cr, xs[i], ys[i]);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_width(cr, 6);
        setSource(cr, withAlpha(kWhite, 0.5));
        cairo_stroke_preserve(cr);
        blur(c, 2.5);
        cairo_set_line_width(cr, 2);
        setSource(cr, kWhite);
        cairo_stroke(cr);
        break;
    }
    case 44: {                                               // triangular shard
        cairo_new_path(cr);
        cairo_move_to(cr, 12, 48);
        cairo_line_to(cr, 36, 8);
        cairo_line_to(cr, 52, 52);
        cairo_close_path(cr);
        setSource(cr, hex(0xC4C0BA));
        cairo_fill(cr);
        cairo_move_to(cr, 12, 48);
        cairo_line_to(cr, 36, 8);
        cairo_line_to(cr, 34, 38);
        cairo_close_path(cr);
        setSource(cr, kWhite);
        cairo_fill(cr);
        break;
    }
    case 45: {                                               // long splinter
        cairo_save(cr);
        cairo_translate(cr, kC, kC);
        cairo_rotate(cr, rad(30));
        cairo_new_path(cr);
        cairo_move_to(cr, 0, -28);
        cairo_line_to(cr, 4, -4);
        cairo_line_to(cr, 1, 28);
        cairo_line_to(cr, -4, 6);
        cairo_close_path(cr);
        setSource(cr, hex(0xD0CCC6));
        cairo_fill(cr);
        cairo_move_to(cr, 0, -28);
        cairo_line_to(cr, 1, 28);
        cairo_line_to(cr, -4, 6);
        cairo_close_path(cr);
        setSource(cr, kWhite);
        cairo_fill(cr);
        cairo_restore(cr);
        break;
    }
    case 46: {                                               // cut crystal
        const double top = 12, girdle = 26, bottom = 54;
        cairo_new_path(cr);
        cairo_move_to(cr, 18, top);
        cairo_line_to(cr, 46, top);
        cairo_line_to(cr, 56, girdle);
        cairo_line_to(cr, kC, bottom);
        cairo_line_to(cr, 8, girdle);
        cairo_close_path(cr);
        setSource(cr, hex(0xD6D4D0));
        cairo_fill(cr);
        // Facets: lit crown, shaded pavilion.
        const double fx[][3] = {{18, 46, kC}, {8, 18, 24}, {46, 56, 40}, {8, 24, kC}, {24, 40, kC}, {40, 56, kC}};
        const double fy[][3] = {{top, top, girdle}, {girdle, top, girdle}, {top, girdle, girdle},
                                {girdle, girdle, bottom}, {girdle, girdle, bottom}, {girdle, girdle, bottom}};
        const uint32_t tones[] = {0xFFFFFF, 0xF4F2EE, 0xDCD8D2, 0xE8E6E2, 0xC8C4BE, 0xAEAAA4};
        for (int f = 0; f < 6; ++f) {
            cairo_move_to(cr, fx[f][0], fy[f][0]);
            cairo_line_to(cr, fx[f][1], fy[f][1]);
            cairo_line_to(cr, fx[f][2], fy[f][2]);
            cairo_close_path(cr);
            setSource(cr, hex(tones[f]));
            cairo_fill(cr);
        }
        glow(cr, 7, 0.9, 0.4, 22, 17);
        break;
    }
    case 47: {                                               // chips
        const double cx[] = {22, 42, 30};
        const double cy[] = {24, 30, 44};
        const double rot[] = {10, 70, 140};
        for (int i = 0; i < 3; ++i) {
            cairo_save(cr);
            cairo_translate(cr, cx[i], cy[i]);
            cairo_rotate(cr, rad(rot[i]));
            cairo_new_path(cr);
            cairo_move_to(cr, -7, -4);
            cairo_line_to(cr, 5, -7);
            cairo_line_to(cr, 8, 4);
            cairo_line_to(cr, -3, 7);
            cairo_close_path(cr);
            setSource(cr, hex(0xCFCBC5));
            cairo_fill(cr);
            cairo_move_to(cr, -7, -4);
            cairo_line_to(cr, 5, -7);
            cairo_line_to(cr, 0, 0);
            cairo_close_path(cr);
            setSource(cr, kWhite);
            cairo_fill(cr);
            cairo_restore(cr);
        }
        break;
    }

    // Row 6: bubbles, drops, ball, halo, flares.
    case 48: case 49: {                                      // bubble, bubble cluster
        const int count = n == 48 ? 1 : 3;
        const double bx[] = {kC, 22, 44, 36}, by[] = {kC, 24, 26, 46}, br[] = {26, 14, 10, 12};
        for (int i = n == 48 ? 0 : 1; i < (n == 48 ? 1 : 1 + count); ++i) {
            const double x = bx[i], y = by[i], r = br[i];
            cairo_new_path(cr);
            cairo_arc(cr, x, y, r, 0, 2 * M_PI);
            setRadialGradient(cr, x, y, 0, x, y, r,
                              {{0, withAlpha(kWhite, 0.08)}, {0.7, withAlpha(hex(0xE8F6FF), 0.2)},
                               {0.9, withAlpha(hex(0xF4E4FF), 0.65)}, {1, withAlpha(hex(0xDFF8F0), 0.9)}});
            cairo_fill(cr);
            paintSpecular(cr, x, y, r, 0.9);
        }
        break;
    }
    case 50: {                                               // water drop
        cairo_new_path(cr);
        cairo_move_to(cr, kC, 6);
        cairo_curve_to(cr, kC + 4, 20, kC + 18, 30, kC + 18, 42);
        cairo_arc(cr, kC, 42, 18, 0, M_PI);
        cairo_curve_to(cr, kC - 18, 30, kC - 4, 20, kC, 6);
        cairo_close_path(cr);
        setRadialGradient(cr, kC + 4, 46, 2, kC, 40, 24,
                          {{0, withAlpha(kWhite, 0.95)}, {0.5, withAlpha(hex(0xECEAE6), 0.55)},
                           {1, withAlpha(kWhite, 0.9)}});
        cairo_fill(cr);
        paintSpecular(cr, kC, 40, 16, 1);
        break;
    }
    case 51: paintGlossyBall(cr, kC, kC, 27, hex(0xD8D6D2)); break;  // tintable glossy ball
    case 52:                                                 // lens halo
        glow(cr, 20, 0.15, 0.6);
        ring(cr, 24, 3.5, 0.7);
        ring(cr, 18, 1.2, 0.35);
        blur(c, 1.5);
        break;
    case 53:                                                 // spinning star flare
        glow(cr, 28, 0.5);
        crossRays(cr, 4, 30, 4.5, 0);
        crossRays(cr, 4, 20, 3, 45, 0.8);
        crossRays(cr, 8, 12, 2, 22.5, 0.5);
        glow(cr, 9, 1, 0.45);
        break;
    case 54: {                                               // sun burst
        for (int i = 0; i < 16; ++i) ray(cr, 360.0 * i / 16, i % 2 ? 21 : 29, 6.5, 1);
        glow(cr, 12, 1, 0.45);
        break;
    }
    case 55: {                                               // swirl of light
        for (int arm = 0; arm < 3; ++arm) {
            cairo_new_path(cr);
            for (int i = 0; i <= 40; ++i) {
                const double t = i / 40.0, a = rad(arm * 120 + t * 200), r = 4 + t * 24;
                const double x = kC + std::cos(a) * r, y = kC + std::sin(a) * r;
                if (i == 0) cairo_move_to(cr, x, y);
                else cairo_line_to(cr, x, y);
            }
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_width(cr, 5);
            setRadialGradient(cr, kC, kC, 2, kC, kC, 29,
                              {{0, kWhite}, {0.6, withAlpha(kWhite, 0.8)}, {1, withAlpha(kWhite, 0)}});
            cairo_stroke(cr);
        }
        blur(c, 1.5);
        break;
    }

    // Row 7: dust, glitter, confetti, snowflake, small stars, blossom.
    case 56: {                                               // scattered motes
        ArtRandom random(56);
        for (int i = 0; i < 9; ++i) {
            const double x = random.range(10, 54), y = random.range(10, 54);
            glow(cr, random.range(3, 7), random.range(0.6, 1), 0.3, x, y);
        }
        break;
    }
    case 57: {                                               // glitter cluster
        const double gx[] = {22, 42, 30, 46, 16}, gy[] = {20, 24, 40, 46, 44}, gr[] = {12, 9, 14, 7, 7};
        for (int i = 0; i < 5; ++i) {
            glow(cr, gr[i] * 0.6, 0.5, 0, gx[i], gy[i]);
            twinklePath(cr, gx[i], gy[i], gr[i], 0.1);
            setSource(cr, kWhite);
            cairo_fill(cr);
        }
        break;
    }
    case 58: {                                               // confetti square
        cairo_save(cr);
        cairo_translate(cr, kC, kC);
        cairo_rotate(cr, rad(20));
        cairo_scale(cr, 1, 0.7);
        roundedRectPath(cr, -16, -16, 32, 32, 3);
        cairo_restore(cr);
        fillLitWhite(cr, 20);
        break;
    }
    case 59: {                                               // ribbon curl
        cairo_new_path(cr);
        for (int i = 0; i <= 60; ++i) {
            const double t = i / 60.0;
            const double x = 8 + t * 48, y = kC + std::sin(t * 3 * M_PI) * 12;
            if (i == 0) cairo_move_to(cr, x, y);
            else cairo_line_to(cr, x, y);
        }
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_width(cr, 5);
        setSource(cr, hex(0xF4F2EE));
        cairo_stroke(cr);
        break;
    }
    case 60: {                                               // snowflake
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (int i = 0; i < 6; ++i) {
            const double a = rad(60.0 * i - 90), dx = std::cos(a), dy = std::sin(a);
            cairo_move_to(cr, kC, kC);
            cairo_line_to(cr, kC + dx * 26, kC + dy * 26);
            for (int s = -1; s <= 1; s += 2) {
                const double b = a + s * rad(40);
                for (double d : {12.0, 19.0}) {
                    cairo_move_to(cr, kC + dx * d, kC + dy * d);
                    cairo_line_to(cr, kC + dx * d + std::cos(b) * 6, kC + dy * d + std::sin(b) * 6);
                }
            }
        }
        cairo_set_line_width(cr, 2.6);
        setSource(cr, kWhite);
        cairo_stroke(cr);
        glow(cr, 7, 0.8, 0.4);
        break;
    }
    case 61:                                                 // small twinkling star (soft)
        glow(cr, 18, 0.5);
        twinklePath(cr, kC, kC, 22, 0.15);
        setSource(cr, kWhite);
        cairo_fill(cr);
        blur(c, 1);
        glow(cr, 6, 1, 0.5);
        break;
    case 62:                                                 // small bright star (for adding light)
        glow(cr, 24, 0.6);
        twinklePath(cr, kC, kC, 26, 0.08);
        setSource(cr, kWhite);
        cairo_fill(cr);
        twinklePath(cr, kC, kC, 13, 0.1, 45);
        setSource(cr, withAlpha(kWhite, 0.7));
        cairo_fill(cr);
        glow(cr, 8, 1, 0.5);
        break;
    case 63: {                                               // blossom
        for (int i = 0; i < 5; ++i) {
            const double a = rad(72.0 * i - 90);
            cairo_save(cr);
            cairo_translate(cr, kC + std::cos(a) * 13, kC + std::sin(a) * 13);
            cairo_rotate(cr, a + M_PI / 2);
            cairo_scale(cr, 0.75, 1);
            cairo_arc(cr, 0, 0, 12, 0, 2 * M_PI);
            cairo_restore(cr);
            setRadialGradient(cr, kC, kC, 4, kC, kC, 26,
                              {{0, hex(0xE2DCD4)}, {0.5, hex(0xFAF8F4)}, {1, kWhite}});
            cairo_fill(cr);
        }
        cairo_arc(cr, kC, kC, 6, 0, 2 * M_PI);
        setSource(cr, hex(0xC8C2B6));
        cairo_fill(cr);
        glow(cr, 5, 0.8, 0.4, kC - 1.5, kC - 1.5);
        break;
    }
    default: break;
    }
}

}  // namespace

void generateParticleSheet(Output& out) {
    Canvas sheet(kCell * kCellsPerRow, kCell * kCellsPerRow);
    for (int n = 0; n < kCellsPerRow * kCellsPerRow; ++n) {
        Canvas cell(kCell, kCell);
        paintCell(n, cell);
        // Keep the outer two texels clear whatever the painting did.
        cairo_new_path(cell.cr());
        cairo_set_operator(cell.cr(), CAIRO_OPERATOR_CLEAR);
        cairo_rectangle(cell.cr(), 0, 0, kCell, kCell);
        cairo_rectangle(cell.cr(), kCell - 2, 2, -(kCell - 4), kCell - 4);
        cairo_set_fill_rule(cell.cr(), CAIRO_FILL_RULE_EVEN_ODD);
        cairo_fill(cell.cr());
        sheet.paintCanvas(cell, (n % kCellsPerRow) * kCell, (n / kCellsPerRow) * kCell);
    }
    Image image = sheet.toImage();
    for (size_t i = 0; i < image.pixels.size(); i += 4) {
        const double k = std::sqrt(image.pixels[i + 3] / 255.0);
        for (int c = 0; c < 3; ++c)
            image.pixels[i + size_t(c)] = uint8_t(std::lround(image.pixels[i + size_t(c)] * k));
    }
    out.addToPack("targa.dat", "particles.tga", writeTga(image));
}

}  // namespace datagen
