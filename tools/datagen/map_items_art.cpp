// What the mode screens draw over the level map ("targa.dat"):
//  - "levelmark.tga" (64 x 64): the level mark, drawn as a 32 x 32 unit
//    square turned so that the picture's +x axis follows the trail, and
//    tinted by vertex colour (open levels red to yellow, the selected one
//    pulsing red and green, locked ones pale yellow and faint). So it is
//    white and light grey, a rounded stone pointing right with a darker rim
//    and a soft dark halo; its shading is symmetric about the x axis so it
//    looks the same on trails running left or right.
//  - "artefact1.tga" .. "artefact15.tga" (128 x 128): the treasures at the
//    stage boundaries, drawn 64 x 64 units, in full colour when earned and
//    as a faint pale-yellow silhouette when not: so each has its own
//    outline, a warm dark edge that reads on any ground, gloss lit from the
//    top left and a soft drop shadow. Each is fitted to the same box and
//    stands with its foot 40 pixels below the picture's centre, on the
//    plinth the map paints there.
//
// Sections: the level mark; treasure helpers; the fifteen treasures; the
// generator.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "datagen.h"
#include "image_io.h"
#include "map_layout.h"
#include "paint.h"

namespace datagen::levelmap {
namespace {

// ---------------------------------------------------------------------------
// The level mark

void markPath(cairo_t* cr) {
    // A rounded stone, blunt at the back (left) and drawn to a soft point
    // at the front (right): 42 x 30 pixels around the centre.
    cairo_new_path(cr);
    cairo_move_to(cr, 54, 32);
    cairo_curve_to(cr, 49, 26, 40, 17, 28, 17);
    cairo_arc_negative(cr, 28, 32, 15, -M_PI / 2, -3 * M_PI / 2);
    cairo_curve_to(cr, 40, 47, 49, 38, 54, 32);
    cairo_close_path(cr);
}

Image paintLevelMark() {
    Canvas canvas(64, 64);
    cairo_t* cr = canvas.cr();
    {
        // A soft dark halo all round, so the tinted stone reads on a light
        // trail as well as on dark ground.
        Canvas halo(64, 64);
        markPath(halo.cr());
        setSource(halo.cr(), hex(0x1A0E05, 0.55));
        cairo_set_line_width(halo.cr(), 5);
        cairo_stroke_preserve(halo.cr());
        cairo_fill(halo.cr());
        blur(halo, 3);
        canvas.paintCanvas(halo);
    }
    // Body: a dome, brightest along the middle, grey towards the rim.
    markPath(cr);
    setRadialGradient(cr, 32, 32, 2, 32, 32, 21,
                      {{0, hex(0xFFFFFF)}, {0.5, hex(0xF2F2F2)}, {0.85, hex(0xC4C4C4)},
                       {1, hex(0x9A9A9A)}});
    cairo_fill(cr);
    // Darker rim.
    markPath(cr);
    setSource(cr, hex(0x6E6E6E));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // A raised chevron that shows which way the trail runs.
    cairo_new_path(cr);
    cairo_move_to(cr, 30, 24.5);
    cairo_line_to(cr, 42, 32);
    cairo_line_to(cr, 30, 39.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 4.5);
    setSource(cr, hex(0xA8A8A8));
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 2.2);
    setSource(cr, hex(0xFFFFFF));
    cairo_stroke(cr);
    // Gloss along the back of the dome.
    cairo_save(cr);
    cairo_translate(cr, 26, 32);
    cairo_scale(cr, 1, 0.55);
    paintSoftGlow(cr, 0, 0, 9, hex(0xFFFFFF, 0.9), 0.4);
    cairo_restore(cr);
    return canvas.toImage();
}

// ---------------------------------------------------------------------------
// Treasure helpers

constexpr int kTreasureSize = 128;
const Rgba kEdge = hex(0x3A1C0C);

void setGold(cairo_t* cr, double x0, double y0, double x1, double y1) {
    setLinearGradient(cr, x0, y0, x1, y1,
                      {{0, hex(0xFFF6CC)}, {0.3, hex(0xFFD45C)}, {0.7, hex(0xF39A2C)},
                       {1, hex(0xC0561A)}});
}

// A colour lit from the top left across a box: light, the colour, deep.
void setLit(cairo_t* cr, Rgba c, double x0, double y0, double x1, double y1) {
    setLinearGradient(cr, x0, y0, x1, y1,
                      {{0, shade(c, 0.45)}, {0.45, c}, {1, shade(c, -0.45)}});
}

void fillPolygon(cairo_t* cr, std::initializer_list<std::pair<double, double>> pts, Rgba c) {
    cairo_new_path(cr);
    bool first = true;
    for (const auto& [x, y] : pts) {
        if (first) cairo_move_to(cr, x, y);
        else cairo_line_to(cr, x, y);
        first = false;
    }
    cairo_close_path(cr);
    setSource(cr, c);
    cairo_fill(cr);
}

// A small four-point twinkle.
void twinkle(cairo_t* cr, double x, double y, double r) {
    paintSoftGlow(cr, x, y, r * 0.9, hex(0xFFFFFF, 0.8));
    cairo_new_path(cr);
    for (int k = 0; k < 4; ++k) {
        const double a = k * M_PI / 2;
        const double tx = x + std::cos(a) * r, ty = y + std::sin(a) * r;
        const double na = a + M_PI / 4;
        if (k == 0) cairo_move_to(cr, tx, ty);
        else cairo_line_to(cr, tx, ty);
        cairo_line_to(cr, x + std::cos(na) * r * 0.16, y + std::sin(na) * r * 0.16);
    }
    cairo_close_path(cr);
    setSource(cr, hex(0xFFFFFF, 0.95));
    cairo_fill(cr);
}

// A gloss streak over the upper left of a form.
void glossStreak(cairo_t* cr, double x, double y, double w, double h, double angle) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_scale(cr, w, h);
    paintSoftGlow(cr, 0, 0, 1, hex(0xFFFFFF, 0.75), 0.45);
    cairo_restore(cr);
}

// ---------------------------------------------------------------------------
// The fifteen treasures, in the order of the stage boundaries

// 1, at the start of the Sunny Meadow: a sunflower medallion.
void sunflowerMedallion(cairo_t* cr) {
    const double cx = 64, cy = 60;
    for (int k = 0; k < 16; ++k) {
        const double a = k * M_PI / 8;
        cairo_save(cr);
        cairo_translate(cr, cx + std::cos(a) * 31, cy + std::sin(a) * 31);
        cairo_rotate(cr, a);
        cairo_scale(cr, 1, 0.48);
        cairo_new_path(cr);
        cairo_arc(cr, 0, 0, 13, 0, 2 * M_PI);
        cairo_restore(cr);
        setLit(cr, k % 2 ? hex(0xF6C21E) : hex(0xFFD43A), cx - 40, cy - 40, cx + 40, cy + 40);
        cairo_fill(cr);
    }
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, 25, 0, 2 * M_PI);
    setGold(cr, cx - 25, cy - 25, cx + 25, cy + 25);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, 19, 0, 2 * M_PI);
    setRadialGradient(cr, cx - 6, cy - 7, 1, cx, cy, 19,
                      {{0, hex(0xA8682C)}, {0.6, hex(0x6A3A14)}, {1, hex(0x3A1C0C)}});
    cairo_fill(cr);
    // Seeds in a spiral.
    for (int k = 0; k < 40; ++k) {
        const double a = k * 2.39996, r = 2.6 * std::sqrt(double(k));
        cairo_new_path(cr);
        cairo_arc(cr, cx + std::cos(a) * r, cy + std::sin(a) * r, 1.2, 0, 2 * M_PI);
        setSource(cr, hex(0xE8B060, 0.7));
        cairo_fill(cr);
    }
    paintSpecular(cr, cx, cy, 25, 0.9);
}

// 2, between the meadow and the Mirror Lake: a hand mirror.
void handMirror(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, 64, 64);
    cairo_rotate(cr, -0.32);
    cairo_translate(cr, -64, -64);
    roundedRectPath(cr, 58, 72, 12, 32, 5);
    setGold(cr, 56, 72, 72, 104);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, 64, 104, 7, 0, 2 * M_PI);
    setGold(cr, 57, 97, 71, 111);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, 64, 42);
    cairo_scale(cr, 1, 1.2);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 30, 0, 2 * M_PI);
    cairo_restore(cr);
    setGold(cr, 34, 6, 94, 78);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, 64, 42);
    cairo_scale(cr, 1, 1.22);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 23, 0, 2 * M_PI);
    cairo_restore(cr);
    setLinearGradient(cr, 44, 16, 84, 70,
                      {{0, hex(0xEAF6FF)}, {0.35, hex(0x9CCCF0)}, {1, hex(0x3A6EB8)}});
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    fillPolygon(cr, {{40, 36}, {60, 12}, {70, 12}, {46, 44}}, hex(0xFFFFFF, 0.55));
    fillPolygon(cr, {{48, 50}, {74, 18}, {78, 20}, {52, 54}}, hex(0xFFFFFF, 0.35));
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_arc(cr, 64, 5.5, 5, 0, 2 * M_PI);
    setRadialGradient(cr, 62, 4, 0.5, 64, 5.5, 5,
                      {{0, hex(0xFF9A90)}, {0.6, hex(0xD8342C)}, {1, hex(0x7A140E)}});
    cairo_fill(cr);
    cairo_restore(cr);
}

// 3, between the lake and the River Gorge: a golden fish leaping from a wave.
void goldenFish(cairo_t* cr) {
    // The wave at its foot.
    cairo_new_path(cr);
    cairo_move_to(cr, 26, 106);
    cairo_curve_to(cr, 34, 88, 54, 86, 62, 94);
    cairo_curve_to(cr, 70, 84, 92, 84, 102, 106);
    cairo_close_path(cr);
    setLinearGradient(cr, 0, 84, 0, 106, {{0, hex(0x8AD8F0)}, {1, hex(0x2F7FC8)}});
    cairo_fill(cr);
    for (const auto& [x, y, r] : {std::tuple{40.0, 84.0, 3.0}, {86.0, 80.0, 2.5}, {96.0, 90.0, 2.0}}) {
        cairo_new_path(cr);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        setSource(cr, hex(0xCFF0FF));
        cairo_fill(cr);
    }
    cairo_save(cr);
    cairo_translate(cr, 66, 56);
    cairo_rotate(cr, -0.5);
    // Tail, fins, body.
    cairo_new_path(cr);
    cairo_move_to(cr, -24, 0);
    cairo_line_to(cr, -46, -17);
    cairo_curve_to(cr, -40, -4, -40, 4, -46, 17);
    cairo_close_path(cr);
    setGold(cr, -46, -17, -24, 17);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, -8, -15);
    cairo_curve_to(cr, -4, -28, 10, -28, 14, -15);
    cairo_close_path(cr);
    setSource(cr, hex(0xF39A2C));
    cairo_fill(cr);
    cairo_save(cr);
    cairo_scale(cr, 1, 0.58);
    cairo_new_path(cr);
    cairo_arc(cr, 2, 0, 30, 0, 2 * M_PI);
    cairo_restore(cr);
    setGold(cr, -20, -18, 24, 18);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    // Scales.
    for (int col = 0; col < 5; ++col) {
        for (int row = -2; row <= 2; ++row) {
            const double x = -18 + col * 9, y = row * 7 + (col % 2) * 3.5;
            cairo_new_path(cr);
            cairo_arc(cr, x, y, 5, -M_PI / 2, M_PI / 2);
            cairo_set_line_width(cr, 1.2);
            setSource(cr, hex(0x9A4A10, 0.35));
            cairo_stroke(cr);
        }
    }
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, 4, 8);
    cairo_curve_to(cr, 2, 16, -6, 18, -10, 16);
    cairo_curve_to(cr, -6, 12, -2, 10, 4, 8);
    setSource(cr, hex(0xC0561A));
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, 21, -4, 4.2, 0, 2 * M_PI);
    setSource(cr, hex(0xFFFFFF));
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, 22, -4, 2.2, 0, 2 * M_PI);
    setSource(cr, hex(0x2A1206));
    cairo_fill(cr);
    glossStreak(cr, -2, -9, 20, 4.5, -0.05);
    cairo_restore(cr);
}

// 4, between the gorge and the Old Forest: a golden acorn with an oak leaf.
void acorn(cairo_t* cr) {
    // The leaf behind.
    cairo_save(cr);
    cairo_translate(cr, 40, 56);
    cairo_rotate(cr, -0.7);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 30);
    for (int k = 0; k <= 6; ++k) {
        const double y = 24 - k * 9, bulge = (k % 2 ? 13 : 9) * (1 - k / 9.0);
        cairo_curve_to(cr, -bulge - 4, y + 4, -bulge, y - 2, -2, y - 5);
    }
    cairo_line_to(cr, 0, -36);
    for (int k = 6; k >= 0; --k) {
        const double y = 24 - k * 9, bulge = (k % 2 ? 13 : 9) * (1 - k / 9.0);
        cairo_curve_to(cr, bulge, y - 2, bulge + 4, y + 4, 2, y + 7);
    }
    cairo_close_path(cr);
    setLit(cr, hex(0x5EA040), -14, -36, 14, 30);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 32);
    cairo_line_to(cr, 0, -30);
    cairo_set_line_width(cr, 1.5);
    setSource(cr, hex(0x2E5A20, 0.8));
    cairo_stroke(cr);
    cairo_restore(cr);
    // The nut.
    cairo_new_path(cr);
    cairo_move_to(cr, 40, 58);
    cairo_curve_to(cr, 38, 84, 56, 100, 68, 106);
    cairo_curve_to(cr, 82, 98, 98, 84, 96, 58);
    cairo_close_path(cr);
    setLinearGradient(cr, 40, 56, 96, 106,
                      {{0, hex(0xFFD890)}, {0.3, hex(0xF2A846)}, {0.7, hex(0xB8641E)},
                       {1, hex(0x6A3010)}});
    cairo_fill(cr);
    glossStreak(cr, 54, 72, 6, 13, 0.2);
    // The cap, with its knobbly texture.
    cairo_new_path(cr);
    cairo_move_to(cr, 34, 62);
    cairo_curve_to(cr, 30, 36, 106, 36, 102, 62);
    cairo_curve_to(cr, 90, 68, 46, 68, 34, 62);
    cairo_close_path(cr);
    setLit(cr, hex(0x8A5424), 40, 36, 96, 68);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    for (int k = -8; k < 12; ++k) {
        cairo_new_path(cr);
        cairo_move_to(cr, 20 + k * 7, 70);
        cairo_line_to(cr, 44 + k * 7, 36);
        cairo_move_to(cr, 44 + k * 7, 70);
        cairo_line_to(cr, 20 + k * 7, 36);
        cairo_set_line_width(cr, 1.2);
        setSource(cr, hex(0x3A1C0C, 0.4));
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    glossStreak(cr, 54, 46, 12, 3.5, -0.15);
    cairo_new_path(cr);
    cairo_move_to(cr, 68, 42);
    cairo_curve_to(cr, 68, 34, 72, 28, 78, 26);
    cairo_set_line_width(cr, 5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setSource(cr, hex(0x6A3A14));
    cairo_stroke(cr);
}

// 5, between the forest and the Blue Mountains: an alpine bell with a bow.
void alpineBell(cairo_t* cr) {
    auto bellPath = [cr] {
        cairo_new_path(cr);
        cairo_move_to(cr, 52, 34);
        cairo_curve_to(cr, 52, 24, 76, 24, 76, 34);
        cairo_curve_to(cr, 84, 40, 86, 66, 88, 80);
        cairo_curve_to(cr, 90, 88, 100, 90, 102, 94);
        cairo_curve_to(cr, 90, 102, 38, 102, 26, 94);
        cairo_curve_to(cr, 28, 90, 38, 88, 40, 80);
        cairo_curve_to(cr, 42, 66, 44, 40, 52, 34);
        cairo_close_path(cr);
    };
    // Clapper.
    cairo_new_path(cr);
    cairo_arc(cr, 64, 101, 8, 0, 2 * M_PI);
    setGold(cr, 56, 93, 72, 109);
    cairo_fill(cr);
    bellPath();
    setLinearGradient(cr, 28, 0, 100, 0,
                      {{0, hex(0xC0561A)}, {0.16, hex(0xFFD45C)}, {0.3, hex(0xFFF6CC)},
                       {0.5, hex(0xF6B640)}, {0.82, hex(0xC0561A)}, {1, hex(0x8A3A10)}});
    cairo_fill(cr);
    // The lip.
    cairo_save(cr);
    cairo_translate(cr, 64, 95);
    cairo_scale(cr, 1, 0.16);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 37, 0, 2 * M_PI);
    cairo_restore(cr);
    setSource(cr, hex(0xFFE69A, 0.8));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Bow on top.
    for (double side : {-1.0, 1.0}) {
        cairo_new_path(cr);
        cairo_move_to(cr, 64, 24);
        cairo_curve_to(cr, 64 + side * 10, 6, 64 + side * 30, 10, 64 + side * 24, 26);
        cairo_curve_to(cr, 64 + side * 18, 32, 64 + side * 8, 28, 64, 24);
        cairo_close_path(cr);
        setLit(cr, hex(0xD8342C), 40, 6, 88, 32);
        cairo_fill(cr);
        cairo_new_path(cr);
        cairo_move_to(cr, 64 + side * 2, 26);
        cairo_line_to(cr, 64 + side * 12, 44);
        cairo_line_to(cr, 64 + side * 6, 44);
        cairo_close_path(cr);
        setSource(cr, hex(0xB02420));
        cairo_fill(cr);
    }
    cairo_new_path(cr);
    cairo_arc(cr, 64, 24, 4.5, 0, 2 * M_PI);
    setSource(cr, hex(0xE8483C));
    cairo_fill(cr);
}

// 6, between the mountains and the Palm Islands: a mountain sapphire.
void sapphire(cairo_t* cr) {
    const Rgba blue = hex(0x2F6FD8);
    const double top = 30, girdle = 50, tip = 106;
    // Crown facets.
    fillPolygon(cr, {{16, girdle}, {42, top}, {50, girdle}}, shade(blue, 0.35));
    fillPolygon(cr, {{42, top}, {64, top}, {50, girdle}}, shade(blue, 0.55));
    fillPolygon(cr, {{50, girdle}, {64, top}, {78, girdle}}, shade(blue, 0.25));
    fillPolygon(cr, {{64, top}, {86, top}, {78, girdle}}, shade(blue, 0.05));
    fillPolygon(cr, {{86, top}, {112, girdle}, {78, girdle}}, shade(blue, -0.25));
    // Pavilion facets.
    fillPolygon(cr, {{16, girdle}, {50, girdle}, {64, tip}}, shade(blue, 0.12));
    fillPolygon(cr, {{50, girdle}, {78, girdle}, {64, tip}}, shade(blue, -0.12));
    fillPolygon(cr, {{78, girdle}, {112, girdle}, {64, tip}}, shade(blue, -0.42));
    fillPolygon(cr, {{34, girdle}, {50, girdle}, {64, tip}}, withAlpha(shade(blue, 0.4), 0.5));
    // Facet edges.
    cairo_new_path(cr);
    cairo_move_to(cr, 16, girdle);
    cairo_line_to(cr, 112, girdle);
    for (double x : {50.0, 78.0}) {
        cairo_move_to(cr, x, girdle);
        cairo_line_to(cr, 64, tip);
    }
    cairo_set_line_width(cr, 1);
    setSource(cr, hex(0xDCEBFF, 0.6));
    cairo_stroke(cr);
    fillPolygon(cr, {{44, top + 2}, {58, top + 2}, {48, girdle - 6}}, hex(0xFFFFFF, 0.6));
    twinkle(cr, 40, 34, 13);
    twinkle(cr, 86, 72, 7);
}

// 7, between the islands and the Autumn Wood: a scallop shell with a pearl.
void shellAndPearl(cairo_t* cr) {
    const double hx = 64, hy = 102;
    auto fan = [&] {
        cairo_new_path(cr);
        cairo_move_to(cr, hx, hy);
        constexpr int kRibs = 9;
        for (int k = 0; k <= kRibs; ++k) {
            const double a = M_PI * (1.12 + 0.76 * k / kRibs);
            const double r = 58;
            if (k == 0) cairo_line_to(cr, hx + std::cos(a) * r, hy + std::sin(a) * r);
            else {
                const double prev = M_PI * (1.12 + 0.76 * (k - 1) / kRibs), mid = (a + prev) / 2;
                cairo_curve_to(cr, hx + std::cos(prev) * r * 1.06, hy + std::sin(prev) * r * 1.06,
                               hx + std::cos(mid) * r * 1.12, hy + std::sin(mid) * r * 1.12,
                               hx + std::cos(a) * r, hy + std::sin(a) * r);
            }
        }
        cairo_close_path(cr);
    };
    fan();
    setLinearGradient(cr, 20, 40, 100, 100,
                      {{0, hex(0xFFE6D0)}, {0.4, hex(0xF8B49A)}, {1, hex(0xC8605A)}});
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    for (int k = 0; k < 9; ++k) {
        const double a = M_PI * (1.12 + 0.76 * (k + 0.5) / 9);
        cairo_new_path(cr);
        cairo_move_to(cr, hx, hy);
        cairo_line_to(cr, hx + std::cos(a) * 70, hy + std::sin(a) * 70);
        cairo_set_line_width(cr, 3);
        setSource(cr, hex(0x9A3A34, 0.35));
        cairo_stroke(cr);
        cairo_new_path(cr);
        cairo_move_to(cr, hx + std::cos(a + 0.06) * 8, hy + std::sin(a + 0.06) * 8);
        cairo_line_to(cr, hx + std::cos(a + 0.06) * 66, hy + std::sin(a + 0.06) * 66);
        cairo_set_line_width(cr, 1.5);
        setSource(cr, hex(0xFFF4EA, 0.45));
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    // The hinge.
    fillPolygon(cr, {{hx - 16, hy - 2}, {hx - 4, hy - 10}, {hx + 4, hy - 10}, {hx + 16, hy - 2},
                     {hx + 10, hy + 5}, {hx - 10, hy + 5}},
                hex(0xE8907A));
    paintGlossyBall(cr, 64, 66, 14, hex(0xEDE6F2));
    paintSoftGlow(cr, 70, 72, 7, hex(0xF8D0F0, 0.5));
}

// 8, between the Autumn Wood and the Waterfall Cliffs: a golden maple leaf.
void mapleLeaf(cairo_t* cr) {
    const double cx = 64, cy = 70;
    // Five toothed lobes from one centre: the long middle one up, two broad
    // ones to the sides, two short ones down.
    struct Lobe {
        double angle, length;  // degrees (y down), pixels
    };
    const Lobe lobes[] = {{-90, 56}, {-28, 50}, {-152, 50}, {28, 30}, {152, 30}};
    auto leafPath = [&] {
        cairo_new_path(cr);
        for (const Lobe& lobe : lobes) {
            const double a = lobe.angle * M_PI / 180, L = lobe.length;
            const double ca = std::cos(a), sa = std::sin(a);
            auto to = [&](double along, double across) {
                return std::pair{cx + ca * along * L - sa * across * L, cy + sa * along * L + ca * across * L};
            };
            const std::pair<double, double> outline[] = {
                to(0, -0.2),    to(0.42, -0.36), to(0.5, -0.24), to(0.7, -0.32), to(0.72, -0.16),
                to(1, 0),       to(0.72, 0.16),  to(0.7, 0.32),  to(0.5, 0.24),  to(0.42, 0.36),
                to(0, 0.2),
            };
            cairo_new_sub_path(cr);
            for (const auto& [x, y] : outline) cairo_line_to(cr, x, y);
            cairo_close_path(cr);
        }
        cairo_new_sub_path(cr);
        cairo_arc(cr, cx, cy, 14, 0, 2 * M_PI);
    };
    // The lobes overlap; filling them as one shape (non-zero winding) keeps
    // the gradient continuous across the whole leaf.
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    leafPath();
    setLinearGradient(cr, cx - 44, cy - 56, cx + 40, cy + 30,
                      {{0, hex(0xFFE070)}, {0.35, hex(0xF6A030)}, {0.7, hex(0xE0542A)},
                       {1, hex(0xA02A1A)}});
    cairo_fill(cr);
    // Veins and stem.
    cairo_new_path(cr);
    for (const Lobe& lobe : lobes) {
        const double a = lobe.angle * M_PI / 180;
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + std::cos(a) * lobe.length * 0.85, cy + std::sin(a) * lobe.length * 0.85);
    }
    cairo_set_line_width(cr, 1.8);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setSource(cr, hex(0x8A2A10, 0.5));
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, cx, cy);
    cairo_curve_to(cr, cx, cy + 16, cx + 3, cy + 28, cx + 9, cy + 36);
    cairo_set_line_width(cr, 4);
    setSource(cr, hex(0x8A3A14));
    cairo_stroke(cr);
    glossStreak(cr, cx - 18, cy - 24, 10, 3.5, -0.8);
}

// 9, between the cliffs and the Misty Marsh: a glowing potion.
void potion(cairo_t* cr) {
    paintSoftGlow(cr, 64, 78, 42, hex(0x8AF07A, 0.35));
    auto flask = [cr] {
        cairo_new_path(cr);
        // The neck meets the round bulb where x = 56 and x = 72; the bulb
        // is drawn from the left joint round the bottom to the right one.
        const double rise = std::sqrt(28.0 * 28.0 - 8.0 * 8.0);
        cairo_move_to(cr, 56, 26);
        cairo_arc_negative(cr, 64, 78, 28, std::atan2(-rise, -8.0),
                           std::atan2(-rise, 8.0) - 2 * M_PI);
        cairo_line_to(cr, 72, 26);
        cairo_close_path(cr);
    };
    flask();
    setSource(cr, hex(0xDFF4F0, 0.55));
    cairo_fill(cr);
    // The liquid fills the bulb below a gentle meniscus.
    cairo_save(cr);
    flask();
    cairo_clip(cr);
    cairo_rectangle(cr, 30, 68, 70, 42);
    setRadialGradient(cr, 56, 80, 2, 64, 84, 30,
                      {{0, hex(0xC8FF9A)}, {0.45, hex(0x5AD04A)}, {1, hex(0x1E7A34)}});
    cairo_fill(cr);
    for (const auto& [x, y, r] : {std::tuple{54.0, 90.0, 3.0}, {70.0, 80.0, 2.2}, {62.0, 96.0, 1.8},
                                   {74.0, 94.0, 2.6}}) {
        cairo_new_path(cr);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        setSource(cr, hex(0xEFFFE0, 0.8));
        cairo_fill(cr);
    }
    cairo_restore(cr);
    // Glass edge and gloss.
    flask();
    cairo_set_line_width(cr, 2.5);
    setSource(cr, hex(0xFFFFFF, 0.6));
    cairo_stroke(cr);
    glossStreak(cr, 50, 68, 5, 11, 0.5);
    // Lip and cork.
    roundedRectPath(cr, 52, 22, 24, 6, 3);
    setSource(cr, hex(0xE8F4F0));
    cairo_fill(cr);
    roundedRectPath(cr, 56, 8, 16, 16, 4);
    setLit(cr, hex(0xB07A44), 56, 8, 72, 24);
    cairo_fill(cr);
}

// 10, between the marsh and the Red Canyon: a lantern that keeps its light.
void lantern(cairo_t* cr) {
    paintSoftGlow(cr, 64, 64, 50, hex(0xFFD070, 0.45));
    const Rgba bronze = hex(0x8A5A2A);
    cairo_new_path(cr);
    cairo_arc(cr, 64, 15, 8, 0, 2 * M_PI);
    cairo_set_line_width(cr, 4);
    setSource(cr, shade(bronze, -0.1));
    cairo_stroke(cr);
    // A square lantern: a broad roof, a glass box, a heavy foot.
    fillPolygon(cr, {{34, 38}, {52, 22}, {76, 22}, {94, 38}}, bronze);
    fillPolygon(cr, {{34, 38}, {52, 22}, {62, 22}, {50, 38}}, shade(bronze, 0.35));
    roundedRectPath(cr, 38, 38, 52, 52, 5);
    setRadialGradient(cr, 62, 62, 2, 64, 64, 34,
                      {{0, hex(0xFFFBE0)}, {0.35, hex(0xFFE08A)}, {1, hex(0xE88A2C)}});
    cairo_fill(cr);
    // The flame.
    cairo_new_path(cr);
    cairo_move_to(cr, 64, 48);
    cairo_curve_to(cr, 71, 58, 73, 67, 64, 73);
    cairo_curve_to(cr, 55, 67, 57, 58, 64, 48);
    setSource(cr, hex(0xFFFFFF, 0.9));
    cairo_fill(cr);
    // Frame bars.
    for (double x : {38.0, 64.0, 90.0}) {
        cairo_rectangle(cr, x - 3, 38, 6, 52);
        setLit(cr, bronze, x - 3, 0, x + 3, 0);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 35, 36, 58, 5);
    setLit(cr, bronze, 0, 36, 0, 41);
    cairo_fill(cr);
    fillPolygon(cr, {{32, 90}, {96, 90}, {90, 104}, {38, 104}}, bronze);
    fillPolygon(cr, {{32, 90}, {64, 90}, {60, 104}, {38, 104}}, shade(bronze, 0.25));
    glossStreak(cr, 48, 52, 3, 11, 0);
}

// 11, between the canyon and the Snowy Pass: an ice crystal.
void snowflake(cairo_t* cr) {
    const double cx = 64, cy = 60;
    auto arms = [&](double width, Rgba color) {
        cairo_new_path(cr);
        for (int k = 0; k < 6; ++k) {
            const double a = -M_PI / 2 + k * M_PI / 3;
            const double ca = std::cos(a), sa = std::sin(a);
            cairo_move_to(cr, cx, cy);
            cairo_line_to(cr, cx + ca * 44, cy + sa * 44);
            for (double d : {18.0, 31.0}) {
                const double len = d < 20 ? 13 : 9;
                for (double side : {-1.0, 1.0}) {
                    const double b = a + side * M_PI / 3;
                    cairo_move_to(cr, cx + ca * d, cy + sa * d);
                    cairo_line_to(cr, cx + ca * d + std::cos(b) * len, cy + sa * d + std::sin(b) * len);
                }
            }
        }
        cairo_set_line_width(cr, width);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        setSource(cr, color);
        cairo_stroke(cr);
    };
    arms(9, hex(0x4A8AD0));
    arms(6, hex(0x9AD4F4));
    arms(2.2, hex(0xFFFFFF, 0.9));
    cairo_new_path(cr);
    for (int k = 0; k < 6; ++k) {
        const double a = -M_PI / 2 + k * M_PI / 3;
        if (k == 0) cairo_move_to(cr, cx + std::cos(a) * 12, cy + std::sin(a) * 12);
        else cairo_line_to(cr, cx + std::cos(a) * 12, cy + std::sin(a) * 12);
    }
    cairo_close_path(cr);
    setLinearGradient(cr, cx - 12, cy - 12, cx + 12, cy + 12,
                      {{0, hex(0xFFFFFF)}, {0.5, hex(0xB8E4FA)}, {1, hex(0x5A9AD8)}});
    cairo_fill(cr);
    twinkle(cr, 42, 36, 11);
}

// 12, between the pass and the Twilight Coast: the crescent moon and a star.
void moonAndStar(cairo_t* cr) {
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, 56, 62, 42, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, 76, 50, 35, 2 * M_PI, 0);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    setLinearGradient(cr, 14, 20, 90, 104,
                      {{0, hex(0xFFFBE8)}, {0.35, hex(0xFFE07A)}, {0.75, hex(0xF0A638)},
                       {1, hex(0xB0601E)}});
    cairo_fill(cr);
    cairo_restore(cr);
    glossStreak(cr, 28, 50, 4.5, 14, 0.35);
    starPath(cr, 96, 32, 16, 7, 5, 8);
    setGold(cr, 80, 16, 112, 48);
    cairo_fill(cr);
    twinkle(cr, 104, 74, 7);
}

// 13, between the coast and the Crystal Caves: an amethyst cluster.
void amethyst(cairo_t* cr) {
    // The rock it grows from.
    cairo_new_path(cr);
    cairo_move_to(cr, 22, 104);
    cairo_curve_to(cr, 20, 88, 40, 82, 64, 84);
    cairo_curve_to(cr, 90, 82, 108, 90, 106, 104);
    cairo_close_path(cr);
    setLit(cr, hex(0x6E6478), 20, 82, 108, 106);
    cairo_fill(cr);
    struct Prism {
        double x, angle, length, width;
        Rgba color;
    };
    const Prism prisms[] = {{44, -0.55, 46, 15, hex(0x9A5AD8)}, {86, 0.5, 44, 14, hex(0xB070E0)},
                            {54, -0.18, 66, 18, hex(0x8A48D0)}, {74, 0.2, 58, 17, hex(0xA060E8)},
                            {64, 0.02, 36, 13, hex(0xC890F0)}};
    for (const Prism& p : prisms) {
        cairo_save(cr);
        cairo_translate(cr, p.x, 92);
        cairo_rotate(cr, p.angle);
        const double w = p.width / 2, l = p.length;
        fillPolygon(cr, {{-w, 0}, {-w, -l * 0.78}, {0, -l}, {0, 0}}, shade(p.color, 0.3));
        fillPolygon(cr, {{0, 0}, {0, -l}, {w, -l * 0.78}, {w, 0}}, shade(p.color, -0.25));
        fillPolygon(cr, {{-w * 0.6, -l * 0.1}, {-w * 0.6, -l * 0.72}, {-w * 0.3, -l * 0.74},
                         {-w * 0.3, -l * 0.1}},
                    hex(0xFFFFFF, 0.45));
        cairo_restore(cr);
    }
    twinkle(cr, 50, 34, 10);
}

// 14, between the caves and the Sunset Valley: a ruby heart set in gold.
void rubyHeart(cairo_t* cr) {
    auto heart = [cr](double cx, double cy, double s) {
        cairo_new_path(cr);
        cairo_move_to(cr, cx, cy + s * 0.62);
        cairo_curve_to(cr, cx - s * 0.2, cy + s * 0.42, cx - s * 0.62, cy + s * 0.2, cx - s * 0.6,
                       cy - s * 0.16);
        cairo_curve_to(cr, cx - s * 0.58, cy - s * 0.48, cx - s * 0.16, cy - s * 0.56, cx,
                       cy - s * 0.3);
        cairo_curve_to(cr, cx + s * 0.16, cy - s * 0.56, cx + s * 0.58, cy - s * 0.48,
                       cx + s * 0.6, cy - s * 0.16);
        cairo_curve_to(cr, cx + s * 0.62, cy + s * 0.2, cx + s * 0.2, cy + s * 0.42, cx,
                       cy + s * 0.62);
        cairo_close_path(cr);
    };
    heart(64, 62, 86);
    setGold(cr, 12, 14, 116, 116);
    cairo_fill(cr);
    heart(64, 62, 72);
    setLinearGradient(cr, 24, 24, 104, 104,
                      {{0, hex(0xFF9A8A)}, {0.35, hex(0xE8403A)}, {0.7, hex(0xB01E24)},
                       {1, hex(0x6A0E16)}});
    cairo_fill_preserve(cr);
    // Facets: a star of cuts from an inner point.
    cairo_save(cr);
    cairo_clip(cr);
    const double fx = 62, fy = 56;
    const double rim[][2] = {{64, 40}, {30, 30}, {20, 56}, {40, 84}, {64, 106},
                             {88, 84}, {108, 56}, {98, 30}};
    for (int k = 0; k < 8; ++k) {
        const auto& a = rim[k];
        const auto& b = rim[(k + 1) % 8];
        const double lift = (k == 1 || k == 0 || k == 2) ? 0.25 : (k >= 4 && k <= 6 ? -0.3 : 0);
        fillPolygon(cr, {{fx, fy}, {a[0], a[1]}, {b[0], b[1]}},
                    withAlpha(lift >= 0 ? hex(0xFFFFFF) : hex(0x3A0008), std::fabs(lift) * 0.7));
    }
    cairo_restore(cr);
    glossStreak(cr, 40, 42, 11, 5, -0.6);
    twinkle(cr, 36, 36, 10);
}

// 15, at the end of the Sunset Valley: the golden cup crowning the journey.
void trophy(cairo_t* cr) {
    // Handles.
    for (double side : {-1.0, 1.0}) {
        cairo_new_path(cr);
        cairo_move_to(cr, 64 + side * 28, 30);
        cairo_curve_to(cr, 64 + side * 54, 28, 64 + side * 54, 60, 64 + side * 20, 66);
        cairo_set_line_width(cr, 7);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        setGold(cr, 64 + side * 20, 28, 64 + side * 52, 66);
        cairo_stroke(cr);
    }
    // The bowl.
    cairo_new_path(cr);
    cairo_move_to(cr, 30, 20);
    cairo_curve_to(cr, 30, 52, 44, 70, 64, 72);
    cairo_curve_to(cr, 84, 70, 98, 52, 98, 20);
    cairo_close_path(cr);
    setLinearGradient(cr, 30, 0, 98, 0,
                      {{0, hex(0xC0561A)}, {0.14, hex(0xFFD45C)}, {0.3, hex(0xFFF6CC)},
                       {0.5, hex(0xF6B640)}, {0.85, hex(0xC0561A)}, {1, hex(0x8A3A10)}});
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, 64, 20);
    cairo_scale(cr, 1, 0.2);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 34, 0, 2 * M_PI);
    cairo_restore(cr);
    setLinearGradient(cr, 30, 14, 98, 26, {{0, hex(0x8A3A10)}, {1, hex(0xC0561A)}});
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 2);
    setSource(cr, hex(0xFFF0B0));
    cairo_stroke(cr);
    // Stem, knot and foot.
    fillPolygon(cr, {{58, 70}, {70, 70}, {68, 88}, {60, 88}}, hex(0xE89A30));
    cairo_new_path(cr);
    cairo_arc(cr, 64, 80, 6.5, 0, 2 * M_PI);
    setGold(cr, 57, 73, 71, 87);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, 60, 88);
    cairo_line_to(cr, 68, 88);
    cairo_curve_to(cr, 74, 94, 86, 96, 88, 100);
    cairo_line_to(cr, 40, 100);
    cairo_curve_to(cr, 42, 96, 54, 94, 60, 88);
    cairo_close_path(cr);
    setGold(cr, 40, 88, 88, 100);
    cairo_fill(cr);
    roundedRectPath(cr, 36, 99, 56, 9, 2.5);
    setLit(cr, hex(0x5A341C), 36, 99, 92, 108);
    cairo_fill(cr);
    // A jewel on the front, and the glints of a prize.
    cairo_new_path(cr);
    cairo_arc(cr, 64, 42, 8, 0, 2 * M_PI);
    setSource(cr, hex(0x8A3A10));
    cairo_fill(cr);
    paintGlossyBall(cr, 64, 42, 6.5, hex(0xD8342C));
    glossStreak(cr, 44, 36, 4, 13, 0.1);
    twinkle(cr, 40, 24, 10);
    twinkle(cr, 92, 60, 7);
}

using TreasurePainter = void (*)(cairo_t*);
constexpr TreasurePainter kTreasures[kArtefacts] = {
    sunflowerMedallion, handMirror, goldenFish, acorn,     alpineBell,
    sapphire,           shellAndPearl, mapleLeaf, potion,  lantern,
    snowflake,          moonAndStar, amethyst,  rubyHeart, trophy,
};

// Where every treasure stands in its picture: its foot on row 104 (the
// plinth's top, 20 units below the centre when drawn at 64 units), centred
// across, and no larger than this box, so that its edge and shadow stay
// clear of the picture's border.
constexpr double kFootY = 104, kMaxWidth = 92, kMaxHeight = 90;

// The box a painter fills, from a trial painting.
void paintedBounds(TreasurePainter painter, double& left, double& top, double& right, double& bottom) {
    Canvas trial(kTreasureSize, kTreasureSize);
    painter(trial.cr());
    const Image image = trial.toImage();
    left = top = kTreasureSize;
    right = bottom = 0;
    for (int y = 0; y < kTreasureSize; ++y)
        for (int x = 0; x < kTreasureSize; ++x)
            if (image.at(x, y)[3] > 128) {  // faint glows may reach further
                left = std::min(left, double(x));
                right = std::max(right, x + 1.0);
                top = std::min(top, double(y));
                bottom = std::max(bottom, y + 1.0);
            }
}

// A treasure fitted to its place, with its warm dark edge (the silhouette
// grown by a little over two pixels) and its soft shadow falling down and to
// the right.
Image paintTreasure(TreasurePainter painter) {
    double left, top, right, bottom;
    paintedBounds(painter, left, top, right, bottom);
    const double scale = std::min({1.0, kMaxWidth / (right - left), kMaxHeight / (bottom - top)});
    Canvas shape(kTreasureSize, kTreasureSize);
    cairo_t* cr = shape.cr();
    cairo_translate(cr, kTreasureSize / 2.0, kFootY);
    cairo_scale(cr, scale, scale);
    cairo_translate(cr, -(left + right) / 2, -bottom);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    painter(cr);
    Canvas out(kTreasureSize, kTreasureSize);
    Canvas edge(kTreasureSize, kTreasureSize);
    for (int k = 0; k < 16; ++k) {
        const double a = k * M_PI / 8;
        setSource(edge.cr(), kEdge);
        cairo_mask_surface(edge.cr(), shape.surface(), 2.4 * std::cos(a), 2.4 * std::sin(a));
    }
    paintDropShadow(out, edge, 3, 4, 3.5, hex(0x1A0E05, 0.5));
    out.paintCanvas(edge, 0, 0, 0.85);
    out.paintCanvas(shape);
    return out.toImage();
}

}  // namespace

void generateMapItems(Output& out) {
    out.addToPack("targa.dat", "levelmark.tga", writeTga(paintLevelMark()));
    for (int j = 0; j < kArtefacts; ++j) {
        char name[24];
        std::snprintf(name, sizeof name, "artefact%d.tga", j + 1);
        out.addToPack("targa.dat", name, writeTga(paintTreasure(kTreasures[j])));
    }
}

}  // namespace datagen::levelmap
