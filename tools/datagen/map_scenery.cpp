// Things standing on the level map; see map_scenery.h.
//
// Sections: shared pieces; trees and plants; rocks and landforms; buildings;
// ground decals; dispatch.
#include "map_scenery.h"

#include <algorithm>
#include <cmath>

namespace datagen::levelmap {
namespace {

const Rgba kShadow = hex(0x1A0E05);
const Rgba kBark = hex(0x4A2C16);
const Rgba kSnow = hex(0xF4F8FF);
const Rgba kSnowShade = hex(0xB4C6E4);
const Rgba kWarmLight = hex(0xFFE9B8);

// The cast shadow of a thing of height h standing at (x, y): a soft ellipse
// down and to the right.
void castShadow(cairo_t* cr, double x, double y, double width, double h, double strength = 1) {
    cairo_save(cr);
    cairo_translate(cr, x + h * 0.22, y + h * 0.04);
    cairo_scale(cr, 1, 0.34);
    paintSoftGlow(cr, 0, 0, width * 0.62 + h * 0.25, withAlpha(kShadow, 0.42 * strength), 0.35);
    cairo_restore(cr);
}

// A blob lit from the top left: light towards the upper left, the colour in
// the middle, a deeper shade at the far rim.
void litBlob(cairo_t* cr, double cx, double cy, double r, Rgba c, double lift = 0.3) {
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    setRadialGradient(cr, cx + kLightX * r * 0.55, cy + kLightY * r * 0.55, r * 0.05, cx, cy, r,
                      {{0, mix(shade(c, lift), kWarmLight, 0.18)}, {0.55, c},
                       {1, shade(c, -0.38)}});
    cairo_fill(cr);
}

void polygon(cairo_t* cr, std::initializer_list<std::pair<double, double>> pts) {
    cairo_new_path(cr);
    bool first = true;
    for (const auto& [x, y] : pts) {
        if (first) cairo_move_to(cr, x, y);
        else cairo_line_to(cr, x, y);
        first = false;
    }
    cairo_close_path(cr);
}

// ---------------------------------------------------------------------------
// Trees and plants

void roundTree(cairo_t* cr, const SceneryItem& t, bool fruit) {
    const double h = t.size, r = h * 0.36;
    ArtRandom random(t.seed);
    castShadow(cr, t.x, t.y, r * 1.6, h);
    const double cy = t.y - h + r;
    cairo_rectangle(cr, t.x - h * 0.05, cy, h * 0.1, t.y - cy);
    setLinearGradient(cr, t.x - h * 0.05, 0, t.x + h * 0.05, 0,
                      {{0, shade(kBark, 0.25)}, {1, shade(kBark, -0.3)}});
    cairo_fill(cr);
    // Back blobs darker, front blobs lighter: the crown reads as a volume.
    for (int k = 0; k < 5; ++k) {
        const double a = random.range(0, 2 * M_PI);
        const double d = k == 4 ? 0 : r * random.range(0.35, 0.55);
        const double bx = t.x + std::cos(a) * d, by = cy + std::sin(a) * d * 0.8;
        litBlob(cr, bx, by, r * (k == 4 ? 0.78 : random.range(0.52, 0.66)),
                shade(t.color, k == 4 ? 0.04 : -0.08));
    }
    // Leaf dabs catching the light on the upper left.
    for (int k = 0; k < 6; ++k) {
        const double a = random.range(M_PI * 1.0, M_PI * 1.6);
        const double d = r * random.range(0.3, 0.7);
        paintSoftGlow(cr, t.x + std::cos(a) * d, cy + std::sin(a) * d, r * 0.28,
                      withAlpha(mix(shade(t.color, 0.45), kWarmLight, 0.3), 0.55), 0.5);
    }
    if (!fruit) return;
    const Rgba fruitColors[] = {hex(0xF07B1E), hex(0xE8452C), hex(0xF2C21B)};
    const Rgba f = fruitColors[random.below(3)];
    for (int k = 0; k < 7; ++k) {
        const double a = random.range(0, 2 * M_PI), d = r * random.range(0.2, 0.8);
        const double fx = t.x + std::cos(a) * d, fy = cy + std::sin(a) * d * 0.8;
        litBlob(cr, fx, fy, std::max(1.2, h * 0.045), f, 0.5);
    }
}

void pine(cairo_t* cr, const SceneryItem& t, bool snowy) {
    const double h = t.size, w = h * 0.5;
    castShadow(cr, t.x, t.y, w * 0.9, h);
    cairo_rectangle(cr, t.x - h * 0.035, t.y - h * 0.16, h * 0.07, h * 0.16);
    setSource(cr, kBark);
    cairo_fill(cr);
    constexpr int kTiers = 4;
    for (int i = 0; i < kTiers; ++i) {
        const double f = double(i) / kTiers;
        const double bottom = t.y - h * (0.12 + 0.2 * i);
        const double top = t.y - h * (0.45 + 0.18 * i);
        const double half = w * 0.5 * (1 - f * 0.55);
        polygon(cr, {{t.x - half, bottom}, {t.x, top}, {t.x + half, bottom}});
        cairo_close_path(cr);
        setLinearGradient(cr, t.x - half, 0, t.x + half, 0,
                          {{0, shade(t.color, 0.28)}, {0.48, shade(t.color, 0.05)},
                           {0.52, shade(t.color, -0.22)}, {1, shade(t.color, -0.42)}});
        cairo_fill(cr);
        if (snowy) {
            // Snow lies on the upper part of every tier, thicker on the lit side.
            cairo_new_path(cr);
            cairo_move_to(cr, t.x, top);
            cairo_line_to(cr, t.x + half * 0.6, top + (bottom - top) * 0.62);
            cairo_curve_to(cr, t.x + half * 0.2, top + (bottom - top) * 0.5, t.x - half * 0.2,
                           top + (bottom - top) * 0.78, t.x - half * 0.75,
                           top + (bottom - top) * 0.7);
            cairo_close_path(cr);
            setLinearGradient(cr, t.x - half, 0, t.x + half, 0,
                              {{0, kSnow}, {0.55, kSnow}, {1, kSnowShade}});
            cairo_fill(cr);
        }
    }
}

void bush(cairo_t* cr, const SceneryItem& t) {
    const double h = t.size;
    ArtRandom random(t.seed);
    castShadow(cr, t.x, t.y, h * 1.2, h * 0.6);
    for (int k = 0; k < 3; ++k) {
        const double bx = t.x + (k - 1) * h * 0.42, by = t.y - h * (k == 1 ? 0.55 : 0.42);
        litBlob(cr, bx, by, h * (k == 1 ? 0.5 : 0.4) * random.range(0.9, 1.1), t.color);
    }
}

void palm(cairo_t* cr, const SceneryItem& t) {
    const double h = t.size;
    ArtRandom random(t.seed);
    const double lean = h * random.range(0.12, 0.28) * (random.unit() < 0.5 ? -1 : 1);
    const double topX = t.x + lean, topY = t.y - h;
    castShadow(cr, t.x + lean * 0.5, t.y, h * 0.5, h * 0.8);
    // Trunk: a curved band, ringed.
    cairo_new_path(cr);
    cairo_move_to(cr, t.x - h * 0.05, t.y);
    cairo_curve_to(cr, t.x - h * 0.05, t.y - h * 0.5, topX - h * 0.03 - lean * 0.3, topY + h * 0.3,
                   topX - h * 0.03, topY);
    cairo_line_to(cr, topX + h * 0.03, topY);
    cairo_curve_to(cr, topX + h * 0.03 - lean * 0.3, topY + h * 0.3, t.x + h * 0.05,
                   t.y - h * 0.5, t.x + h * 0.05, t.y);
    cairo_close_path(cr);
    setLinearGradient(cr, t.x - h * 0.06, 0, t.x + h * 0.06, 0,
                      {{0, hex(0xC09060)}, {1, hex(0x6A4424)}});
    cairo_fill(cr);
    for (int k = 1; k < 7; ++k) {
        const double f = k / 7.0;
        const double rx = t.x + lean * f * f, ry = t.y - h * f;
        cairo_new_path(cr);
        cairo_move_to(cr, rx - h * 0.045, ry);
        cairo_line_to(cr, rx + h * 0.045, ry + h * 0.01);
        cairo_set_line_width(cr, std::max(0.6, h * 0.018));
        setSource(cr, withAlpha(hex(0x4A2C16), 0.6));
        cairo_stroke(cr);
    }
    // Fronds: curved leaves drooping from the crown.
    const Rgba leaf = hex(0x3E9A3A);
    for (int k = 0; k < 7; ++k) {
        const double a = -M_PI / 2 + (k - 3) * 0.5 + random.range(-0.12, 0.12);
        const double len = h * random.range(0.42, 0.55);
        const double ex = topX + std::cos(a) * len * 1.15, ey = topY + std::sin(a) * len * 0.5 + len * 0.45;
        const double mx = topX + std::cos(a) * len * 0.6, my = topY + std::sin(a) * len * 0.6;
        cairo_new_path(cr);
        cairo_move_to(cr, topX, topY);
        cairo_curve_to(cr, mx - h * 0.06, my - h * 0.05, ex, ey - h * 0.05, ex, ey);
        cairo_curve_to(cr, ex - h * 0.02, ey - h * 0.02, mx + h * 0.05, my + h * 0.07, topX, topY);
        cairo_close_path(cr);
        const bool lit = std::cos(a) < 0.2;
        setSource(cr, lit ? shade(leaf, 0.15) : shade(leaf, -0.22));
        cairo_fill(cr);
    }
    litBlob(cr, topX - h * 0.03, topY + h * 0.04, h * 0.045, hex(0x6A4020));
    litBlob(cr, topX + h * 0.04, topY + h * 0.05, h * 0.045, hex(0x6A4020));
}

void reeds(cairo_t* cr, const SceneryItem& t) {
    const double h = t.size;
    ArtRandom random(t.seed);
    castShadow(cr, t.x, t.y, h * 0.3, h * 0.5, 0.6);
    for (int k = 0; k < 6; ++k) {
        const double bx = t.x + random.range(-0.25, 0.25) * h;
        const double top = t.y - h * random.range(0.65, 1.0);
        const double bend = random.range(-0.12, 0.12) * h;
        cairo_new_path(cr);
        cairo_move_to(cr, bx, t.y);
        cairo_curve_to(cr, bx, t.y - h * 0.4, bx + bend, top + h * 0.2, bx + bend, top);
        cairo_set_line_width(cr, std::max(0.8, h * 0.035));
        setSource(cr, k % 2 ? hex(0x5E7A34) : hex(0x7E9A44));
        cairo_stroke(cr);
        if (k % 2 == 0) {
            cairo_save(cr);
            cairo_translate(cr, bx + bend, top + h * 0.1);
            cairo_scale(cr, 1, 2.6);
            litBlob(cr, 0, 0, std::max(1.0, h * 0.05), hex(0x7A4A24));
            cairo_restore(cr);
        }
    }
}

void cactus(cairo_t* cr, const SceneryItem& t) {
    const double h = t.size, w = h * 0.22;
    const Rgba green = hex(0x4F8A3C);
    castShadow(cr, t.x, t.y, w * 2, h);
    auto column = [&](double x0, double y0, double y1, double width) {
        roundedRectPath(cr, x0 - width / 2, y1, width, y0 - y1, width / 2);
        setLinearGradient(cr, x0 - width / 2, 0, x0 + width / 2, 0,
                          {{0, shade(green, 0.3)}, {0.45, green}, {1, shade(green, -0.4)}});
        cairo_fill(cr);
    };
    column(t.x, t.y, t.y - h, w);
    // Arms: a bend out then up.
    column(t.x - w * 1.05, t.y - h * 0.42, t.y - h * 0.78, w * 0.75);
    cairo_rectangle(cr, t.x - w * 1.1, t.y - h * 0.5, w * 0.8, w * 0.5);
    setSource(cr, shade(green, -0.05));
    cairo_fill(cr);
    column(t.x + w * 1.05, t.y - h * 0.32, t.y - h * 0.62, w * 0.75);
    cairo_rectangle(cr, t.x + w * 0.3, t.y - h * 0.4, w * 0.8, w * 0.5);
    setSource(cr, shade(green, -0.2));
    cairo_fill(cr);
}

void mushroom(cairo_t* cr, const SceneryItem& t) {
    const double h = t.size;
    castShadow(cr, t.x, t.y, h * 0.7, h * 0.6);
    roundedRectPath(cr, t.x - h * 0.12, t.y - h * 0.6, h * 0.24, h * 0.6, h * 0.1);
    setLinearGradient(cr, t.x - h * 0.12, 0, t.x + h * 0.12, 0,
                      {{0, hex(0xFFF4DC)}, {1, hex(0xC8B090)}});
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, t.x, t.y - h * 0.58);
    cairo_scale(cr, 1, 0.7);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, h * 0.42, M_PI, 2 * M_PI);
    cairo_close_path(cr);
    setRadialGradient(cr, -h * 0.15, -h * 0.25, h * 0.02, 0, 0, h * 0.45,
                      {{0, hex(0xFF8A70)}, {0.5, hex(0xD8342C)}, {1, hex(0x8A1A14)}});
    cairo_fill(cr);
    setSource(cr, hex(0xFFF6E8, 0.95));
    for (const auto& [dx, dy, r] : {std::tuple{-0.18, -0.14, 0.06}, {0.08, -0.26, 0.05},
                                    {0.22, -0.1, 0.045}, {-0.02, -0.07, 0.04}}) {
        cairo_new_path(cr);
        cairo_arc(cr, dx * h, dy * h, r * h, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

// ---------------------------------------------------------------------------
// Rocks and landforms

void rock(cairo_t* cr, const SceneryItem& t, bool snowy) {
    const double h = t.size, w = h * 1.4;
    ArtRandom random(t.seed);
    castShadow(cr, t.x, t.y, w * 0.8, h * 0.7);
    auto outline = [&](double inset) {
        cairo_new_path(cr);
        cairo_move_to(cr, t.x - w / 2 + inset, t.y);
        cairo_curve_to(cr, t.x - w / 2 + inset, t.y - h * 0.7, t.x - w * 0.2, t.y - h + inset,
                       t.x + w * random.range(-0.05, 0.05), t.y - h + inset);
        cairo_curve_to(cr, t.x + w * 0.3, t.y - h + inset, t.x + w / 2 - inset, t.y - h * 0.6,
                       t.x + w / 2 - inset, t.y);
        cairo_close_path(cr);
    };
    outline(0);
    setRadialGradient(cr, t.x - w * 0.22, t.y - h * 0.75, h * 0.05, t.x, t.y - h * 0.4, w * 0.7,
                      {{0, shade(t.color, 0.35)}, {0.5, t.color}, {1, shade(t.color, -0.45)}});
    cairo_fill(cr);
    if (snowy) {
        cairo_save(cr);
        outline(0);
        cairo_clip(cr);
        cairo_new_path(cr);
        cairo_move_to(cr, t.x - w, t.y - h * 0.55);
        cairo_curve_to(cr, t.x - w * 0.2, t.y - h * 0.75, t.x + w * 0.1, t.y - h * 0.52,
                       t.x + w, t.y - h * 0.7);
        cairo_line_to(cr, t.x + w, t.y - h * 2);
        cairo_line_to(cr, t.x - w, t.y - h * 2);
        cairo_close_path(cr);
        setLinearGradient(cr, t.x - w / 2, 0, t.x + w / 2, 0, {{0, kSnow}, {1, kSnowShade}});
        cairo_fill(cr);
        cairo_restore(cr);
    }
}

void peak(cairo_t* cr, const SceneryItem& t) {
    const double h = t.size, w = h * 1.7;
    ArtRandom random(t.seed);
    const double sx = t.x - w * 0.06, sy = t.y - h;
    castShadow(cr, t.x, t.y, w * 0.8, h * 0.4, 0.8);
    // Lit west face and shaded east face meet along a ridge.
    const double ridgeX = t.x + w * 0.08;
    const double l1 = random.range(0.1, 0.2), r1 = random.range(0.15, 0.25);
    polygon(cr, {{t.x - w / 2, t.y}, {t.x - w * 0.32, t.y - h * (0.3 + l1)}, {sx - w * 0.08, sy + h * 0.12},
                 {sx, sy}, {ridgeX, t.y}});
    setLinearGradient(cr, 0, sy, 0, t.y,
                      {{0, shade(t.color, 0.3)}, {1, mix(shade(t.color, 0.05), hex(0xB79AB4), 0.2)}});
    cairo_fill(cr);
    polygon(cr, {{sx, sy}, {sx + w * 0.12, sy + h * 0.14}, {t.x + w * 0.3, t.y - h * (0.35 + r1)},
                 {t.x + w / 2, t.y}, {ridgeX, t.y}});
    setLinearGradient(cr, 0, sy, 0, t.y, {{0, shade(t.color, -0.25)}, {1, shade(t.color, -0.4)}});
    cairo_fill(cr);
    // Snow cap with a ragged lower edge, bright west, blue east.
    polygon(cr, {{sx, sy}, {sx - w * 0.08, sy + h * 0.12}, {sx - w * 0.13, sy + h * 0.3},
                 {sx - w * 0.06, sy + h * 0.24}, {sx - w * 0.02, sy + h * 0.36},
                 {sx + w * 0.05, sy + h * 0.26}, {sx + w * 0.1, sy + h * 0.33},
                 {sx + w * 0.16, sy + h * 0.2}, {sx + w * 0.12, sy + h * 0.14}});
    setLinearGradient(cr, sx - w * 0.1, 0, sx + w * 0.15, 0,
                      {{0, kSnow}, {0.45, kSnow}, {0.55, kSnowShade}, {1, shade(kSnowShade, -0.1)}});
    cairo_fill(cr);
    // Rim light along the west ridge.
    cairo_new_path(cr);
    cairo_move_to(cr, t.x - w * 0.45, t.y - h * 0.06);
    cairo_line_to(cr, t.x - w * 0.32, t.y - h * (0.3 + l1));
    cairo_line_to(cr, sx - w * 0.08, sy + h * 0.12);
    cairo_set_line_width(cr, std::max(0.8, h * 0.025));
    setSource(cr, withAlpha(kWarmLight, 0.45));
    cairo_stroke(cr);
}

void mesa(cairo_t* cr, const SceneryItem& t) {
    const double h = t.size, w = h * 1.3;
    ArtRandom random(t.seed);
    castShadow(cr, t.x, t.y, w * 0.8, h * 0.8);
    const double topW = w * random.range(0.62, 0.75), topY = t.y - h;
    auto body = [&] {
        cairo_new_path(cr);
        cairo_move_to(cr, t.x - w / 2, t.y);
        cairo_curve_to(cr, t.x - w * 0.45, t.y - h * 0.3, t.x - topW / 2, topY + h * 0.3,
                       t.x - topW / 2, topY);
        cairo_line_to(cr, t.x + topW / 2, topY);
        cairo_curve_to(cr, t.x + topW / 2, topY + h * 0.3, t.x + w * 0.45, t.y - h * 0.3,
                       t.x + w / 2, t.y);
        cairo_close_path(cr);
    };
    body();
    setLinearGradient(cr, t.x - w / 2, 0, t.x + w / 2, 0,
                      {{0, shade(t.color, 0.22)}, {0.5, t.color}, {0.62, shade(t.color, -0.25)},
                       {1, shade(t.color, -0.4)}});
    cairo_fill(cr);
    // Bands of rock.
    cairo_save(cr);
    body();
    cairo_clip(cr);
    for (int k = 1; k < 6; ++k) {
        const double y = topY + h * (k / 6.0) + random.range(-1, 1);
        cairo_rectangle(cr, t.x - w, y, 2 * w, h * 0.05);
        setSource(cr, withAlpha(k % 2 ? hex(0xFFD8A0) : hex(0x6A2410), 0.22));
        cairo_fill(cr);
    }
    cairo_restore(cr);
    // The flat top, seen from slightly above.
    cairo_save(cr);
    cairo_translate(cr, t.x, topY);
    cairo_scale(cr, 1, 0.22);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, topW / 2, 0, 2 * M_PI);
    cairo_restore(cr);
    setSource(cr, mix(shade(t.color, 0.3), hex(0x9A9A50), 0.25));
    cairo_fill(cr);
}

void crystal(cairo_t* cr, const SceneryItem& t) {
    const double h = t.size;
    ArtRandom random(t.seed);
    paintSoftGlow(cr, t.x, t.y - h * 0.45, h * 0.9, withAlpha(shade(t.color, 0.3), 0.45));
    castShadow(cr, t.x, t.y, h * 0.5, h * 0.5, 0.6);
    const int count = 3 + random.below(3);
    for (int k = 0; k < count; ++k) {
        const double lean = (k - (count - 1) / 2.0) * 0.32 + random.range(-0.1, 0.1);
        const double len = h * (k == count / 2 ? 1.0 : random.range(0.5, 0.8));
        const double width = h * random.range(0.14, 0.2);
        cairo_save(cr);
        cairo_translate(cr, t.x + lean * h * 0.18, t.y);
        cairo_rotate(cr, lean);
        // Left facet lit, right facet shaded, a pointed tip.
        polygon(cr, {{-width / 2, 0}, {-width / 2, -len * 0.78}, {0, -len}, {0, 0}});
        setSource(cr, shade(t.color, 0.35));
        cairo_fill(cr);
        polygon(cr, {{0, 0}, {0, -len}, {width / 2, -len * 0.78}, {width / 2, 0}});
        setSource(cr, shade(t.color, -0.2));
        cairo_fill(cr);
        cairo_new_path(cr);
        cairo_move_to(cr, -width * 0.25, -len * 0.12);
        cairo_line_to(cr, -width * 0.25, -len * 0.74);
        cairo_set_line_width(cr, std::max(0.7, width * 0.16));
        setSource(cr, hex(0xFFFFFF, 0.75));
        cairo_stroke(cr);
        cairo_restore(cr);
    }
}

void caveMouth(cairo_t* cr, const SceneryItem& t) {
    const double h = t.size, w = h * 1.8;
    castShadow(cr, t.x, t.y, w * 0.7, h * 0.6);
    cairo_new_path(cr);
    cairo_move_to(cr, t.x - w / 2, t.y);
    cairo_curve_to(cr, t.x - w * 0.45, t.y - h * 0.9, t.x - w * 0.1, t.y - h * 1.05, t.x + w * 0.1,
                   t.y - h);
    cairo_curve_to(cr, t.x + w * 0.35, t.y - h * 0.9, t.x + w * 0.5, t.y - h * 0.4, t.x + w / 2, t.y);
    cairo_close_path(cr);
    setRadialGradient(cr, t.x - w * 0.2, t.y - h * 0.8, h * 0.05, t.x, t.y - h * 0.4, w * 0.65,
                      {{0, shade(t.color, 0.3)}, {0.55, t.color}, {1, shade(t.color, -0.45)}});
    cairo_fill(cr);
    // The opening: a dark arch, with a faint glow deep inside.
    cairo_new_path(cr);
    cairo_move_to(cr, t.x - w * 0.2, t.y);
    cairo_curve_to(cr, t.x - w * 0.2, t.y - h * 0.6, t.x + w * 0.2, t.y - h * 0.6, t.x + w * 0.2, t.y);
    cairo_close_path(cr);
    setLinearGradient(cr, 0, t.y - h * 0.5, 0, t.y,
                      {{0, hex(0x0E0814)}, {1, hex(0x2A1A3A)}});
    cairo_fill(cr);
    paintSoftGlow(cr, t.x, t.y - h * 0.12, h * 0.2, hex(0x9AE8FF, 0.35));
}

void waterfall(cairo_t* cr, const SceneryItem& t) {
    const double h = t.size, w = h * 1.1;
    ArtRandom random(t.seed);
    castShadow(cr, t.x, t.y, w * 0.7, h * 0.5);
    // A craggy rock mass, broad at its foot, with a ragged grassy top.
    auto cliff = [&] {
        cairo_new_path(cr);
        cairo_move_to(cr, t.x - w / 2, t.y);
        cairo_curve_to(cr, t.x - w * 0.5, t.y - h * 0.5, t.x - w * 0.44, t.y - h * 0.8,
                       t.x - w * 0.34, t.y - h * 0.92);
        for (int k = 1; k <= 6; ++k) {
            const double x = t.x - w * 0.34 + w * 0.68 * k / 6;
            cairo_line_to(cr, x, t.y - h * (0.9 + random.range(0, 0.1)));
        }
        cairo_curve_to(cr, t.x + w * 0.44, t.y - h * 0.8, t.x + w * 0.5, t.y - h * 0.5, t.x + w / 2, t.y);
        cairo_close_path(cr);
    };
    cliff();
    setLinearGradient(cr, t.x - w / 2, 0, t.x + w / 2, 0,
                      {{0, shade(t.color, 0.3)}, {0.45, t.color}, {1, shade(t.color, -0.45)}});
    cairo_fill(cr);
    cairo_save(cr);
    cliff();
    cairo_clip(cr);
    // Cracks and ledges in the rock.
    for (int k = 0; k < 5; ++k) {
        const double x = t.x + w * random.range(-0.42, 0.42);
        cairo_new_path(cr);
        cairo_move_to(cr, x, t.y - h * random.range(0.6, 0.85));
        cairo_line_to(cr, x + random.range(-3, 3), t.y - h * random.range(0.15, 0.4));
        cairo_set_line_width(cr, std::max(0.7, h * 0.025));
        setSource(cr, withAlpha(shade(t.color, -0.55), 0.45));
        cairo_stroke(cr);
    }
    cairo_rectangle(cr, t.x - w, t.y - h * 1.1, 2 * w, h * 0.24);
    setLinearGradient(cr, 0, t.y - h * 1.0, 0, t.y - h * 0.84,
                      {{0, hex(0x8AB85A)}, {0.6, hex(0x5E8A40)}, {1, hex(0x5E8A40, 0)}});
    cairo_fill(cr);
    cairo_restore(cr);
    // The falling water: out of a notch at the top, widening as it falls.
    const double fw = w * 0.2;
    cairo_new_path(cr);
    cairo_move_to(cr, t.x - fw / 2, t.y - h * 0.9);
    cairo_line_to(cr, t.x + fw / 2, t.y - h * 0.9);
    cairo_curve_to(cr, t.x + fw * 0.55, t.y - h * 0.5, t.x + fw * 0.7, t.y - h * 0.3, t.x + fw * 0.85,
                   t.y - h * 0.06);
    cairo_line_to(cr, t.x - fw * 0.85, t.y - h * 0.06);
    cairo_curve_to(cr, t.x - fw * 0.7, t.y - h * 0.3, t.x - fw * 0.55, t.y - h * 0.5, t.x - fw / 2,
                   t.y - h * 0.9);
    cairo_close_path(cr);
    setLinearGradient(cr, t.x - fw, 0, t.x + fw, 0,
                      {{0, hex(0xF4FCFF)}, {0.55, hex(0xB8E2F4)}, {1, hex(0x78B4D8)}});
    cairo_fill(cr);
    for (int k = 0; k < 5; ++k) {
        const double f = random.range(-0.35, 0.35);
        cairo_new_path(cr);
        cairo_move_to(cr, t.x + f * fw, t.y - h * random.range(0.75, 0.88));
        cairo_line_to(cr, t.x + f * fw * 1.6, t.y - h * random.range(0.12, 0.35));
        cairo_set_line_width(cr, std::max(0.6, fw * 0.12));
        setSource(cr, hex(0xFFFFFF, 0.75));
        cairo_stroke(cr);
    }
    // The pool, its foam and a little spray.
    cairo_save(cr);
    cairo_translate(cr, t.x, t.y - h * 0.02);
    cairo_scale(cr, 1, 0.32);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, w * 0.42, 0, 2 * M_PI);
    cairo_restore(cr);
    setSource(cr, hex(0x5AA8D0));
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, t.x, t.y - h * 0.06);
    cairo_scale(cr, 1, 0.45);
    paintSoftGlow(cr, 0, 0, fw * 1.6, hex(0xFFFFFF, 0.95), 0.4);
    cairo_restore(cr);
}

// ---------------------------------------------------------------------------
// Buildings

void lighthouse(cairo_t* cr, const SceneryItem& t) {
    const double h = t.size, w = h * 0.26;
    castShadow(cr, t.x, t.y, w * 1.4, h);
    const double top = t.y - h * 0.78;
    auto tower = [&] {
        polygon(cr, {{t.x - w / 2, t.y}, {t.x - w * 0.32, top}, {t.x + w * 0.32, top}, {t.x + w / 2, t.y}});
    };
    tower();
    setLinearGradient(cr, t.x - w / 2, 0, t.x + w / 2, 0,
                      {{0, hex(0xFFF8EE)}, {0.55, hex(0xE8DCD0)}, {1, hex(0x9A8CA0)}});
    cairo_fill(cr);
    cairo_save(cr);
    tower();
    cairo_clip(cr);
    for (int k = 0; k < 3; ++k) {
        const double y = t.y - h * (0.12 + 0.22 * k);
        cairo_rectangle(cr, t.x - w, y - h * 0.1, 2 * w, h * 0.1);
        setLinearGradient(cr, t.x - w / 2, 0, t.x + w / 2, 0,
                          {{0, hex(0xE0483A)}, {0.55, hex(0xC0302A)}, {1, hex(0x6A1A24)}});
        cairo_fill(cr);
    }
    cairo_restore(cr);
    // The lamp room, lit.
    paintSoftGlow(cr, t.x, top - h * 0.08, h * 0.45, hex(0xFFE08A, 0.55));
    cairo_rectangle(cr, t.x - w * 0.3, top - h * 0.13, w * 0.6, h * 0.13);
    setSource(cr, hex(0xFFF0B0));
    cairo_fill(cr);
    polygon(cr, {{t.x - w * 0.4, top - h * 0.13}, {t.x, top - h * 0.24}, {t.x + w * 0.4, top - h * 0.13}});
    setSource(cr, hex(0x8A2420));
    cairo_fill(cr);
}

void cottage(cairo_t* cr, const SceneryItem& t) {
    const double h = t.size, w = h * 1.1;
    castShadow(cr, t.x, t.y, w, h * 0.7);
    const double wallTop = t.y - h * 0.5;
    // Front wall and the darker side wall.
    cairo_rectangle(cr, t.x - w / 2, wallTop, w * 0.62, h * 0.5);
    setSource(cr, hex(0xF6E2C0));
    cairo_fill(cr);
    polygon(cr, {{t.x + w * 0.12, wallTop}, {t.x + w / 2, wallTop - h * 0.08}, {t.x + w / 2, t.y - h * 0.06},
                 {t.x + w * 0.12, t.y}});
    setSource(cr, hex(0xC0A48A));
    cairo_fill(cr);
    // Roof.
    polygon(cr, {{t.x - w * 0.58, wallTop + h * 0.02}, {t.x - w * 0.19, t.y - h}, {t.x + w * 0.2, wallTop + h * 0.02}});
    setLinearGradient(cr, t.x - w / 2, 0, t.x + w * 0.2, 0, {{0, hex(0xE8604A)}, {1, hex(0xB83A2A)}});
    cairo_fill(cr);
    polygon(cr, {{t.x - w * 0.19, t.y - h}, {t.x + w * 0.55, t.y - h * 1.06}, {t.x + w * 0.58, wallTop - h * 0.06},
                 {t.x + w * 0.2, wallTop + h * 0.02}});
    setSource(cr, hex(0x8A2A20));
    cairo_fill(cr);
    // Door and a lit window.
    cairo_rectangle(cr, t.x - w * 0.1, t.y - h * 0.28, w * 0.14, h * 0.28);
    setSource(cr, hex(0x5A341C));
    cairo_fill(cr);
    cairo_rectangle(cr, t.x - w * 0.38, t.y - h * 0.38, w * 0.16, h * 0.14);
    setSource(cr, hex(0xFFD870));
    cairo_fill(cr);
}

// ---------------------------------------------------------------------------
// Ground decals

void scatterDots(cairo_t* cr, double x, double y, double radius, uint32_t seed, int count,
                 std::initializer_list<Rgba> colors, double dotMin, double dotMax, double squash) {
    ArtRandom random(seed);
    const Rgba* palette = colors.begin();
    const int n = int(colors.size());
    for (int k = 0; k < count; ++k) {
        const double a = random.range(0, 2 * M_PI), d = radius * std::sqrt(random.unit());
        const double px = x + std::cos(a) * d, py = y + std::sin(a) * d * 0.6;
        const double r = random.range(dotMin, dotMax);
        cairo_save(cr);
        cairo_translate(cr, px, py);
        cairo_rotate(cr, random.range(0, M_PI));
        cairo_scale(cr, 1, squash);
        cairo_new_path(cr);
        cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
        cairo_restore(cr);
        setSource(cr, withAlpha(palette[random.below(n)], random.range(0.7, 0.95)));
        cairo_fill(cr);
    }
}

}  // namespace

SceneryExtent extentOf(Scenery kind, double size) {
    switch (kind) {
        case Scenery::RoundTree:
        case Scenery::FruitTree: return {size * 0.4, size};
        case Scenery::Pine:
        case Scenery::SnowyPine: return {size * 0.28, size};
        case Scenery::Bush: return {size * 0.7, size * 0.7};
        case Scenery::Rock:
        case Scenery::SnowyRock: return {size * 0.75, size};
        case Scenery::Peak: return {size * 0.85, size};
        case Scenery::Palm: return {size * 0.55, size};
        case Scenery::Reeds: return {size * 0.3, size};
        case Scenery::Mesa: return {size * 0.65, size};
        case Scenery::Cactus: return {size * 0.35, size};
        case Scenery::Crystal: return {size * 0.45, size};
        case Scenery::CaveMouth: return {size * 0.9, size};
        case Scenery::Lighthouse: return {size * 0.22, size};
        case Scenery::Cottage: return {size * 0.6, size};
        case Scenery::Waterfall: return {size * 0.55, size};
        case Scenery::Mushroom: return {size * 0.45, size * 0.8};
    }
    return {size, size};
}

void paintScenery(Canvas& canvas, const SceneryItem& item) {
    cairo_t* cr = canvas.cr();
    cairo_save(cr);
    switch (item.kind) {
        case Scenery::RoundTree: roundTree(cr, item, false); break;
        case Scenery::FruitTree: roundTree(cr, item, true); break;
        case Scenery::Pine: pine(cr, item, false); break;
        case Scenery::SnowyPine: pine(cr, item, true); break;
        case Scenery::Bush: bush(cr, item); break;
        case Scenery::Rock: rock(cr, item, false); break;
        case Scenery::SnowyRock: rock(cr, item, true); break;
        case Scenery::Peak: peak(cr, item); break;
        case Scenery::Palm: palm(cr, item); break;
        case Scenery::Reeds: reeds(cr, item); break;
        case Scenery::Mesa: mesa(cr, item); break;
        case Scenery::Cactus: cactus(cr, item); break;
        case Scenery::Crystal: crystal(cr, item); break;
        case Scenery::CaveMouth: caveMouth(cr, item); break;
        case Scenery::Lighthouse: lighthouse(cr, item); break;
        case Scenery::Cottage: cottage(cr, item); break;
        case Scenery::Waterfall: waterfall(cr, item); break;
        case Scenery::Mushroom: mushroom(cr, item); break;
    }
    cairo_restore(cr);
}

void paintFlowers(cairo_t* cr, double x, double y, double radius, uint32_t seed) {
    scatterDots(cr, x, y, radius, seed, 14,
                {hex(0xF7E27A), hex(0xFFF6EE), hex(0xF09AB8), hex(0xC8A8F0)}, 0.9, 1.8, 1);
}

void paintFallenLeaves(cairo_t* cr, double x, double y, double radius, uint32_t seed) {
    scatterDots(cr, x, y, radius, seed, 16,
                {hex(0xE8902A), hex(0xC8482A), hex(0xF2C23A), hex(0x9A4A1E)}, 1.2, 2.2, 0.5);
}

void paintLilyPads(cairo_t* cr, double x, double y, double radius, uint32_t seed) {
    ArtRandom random(seed);
    for (int k = 0; k < 5; ++k) {
        const double a = random.range(0, 2 * M_PI), d = radius * random.unit();
        const double px = x + std::cos(a) * d, py = y + std::sin(a) * d * 0.5;
        const double r = random.range(2.2, 3.8);
        cairo_save(cr);
        cairo_translate(cr, px, py);
        cairo_scale(cr, 1, 0.55);
        const double notch = random.range(0, 2 * M_PI);
        cairo_new_path(cr);
        cairo_move_to(cr, 0, 0);
        cairo_arc(cr, 0, 0, r, notch + 0.5, notch + 2 * M_PI - 0.5);
        cairo_close_path(cr);
        cairo_restore(cr);
        setSource(cr, random.unit() < 0.5 ? hex(0x5E9A44) : hex(0x4A8A3C));
        cairo_fill(cr);
        if (k == 0) {
            cairo_new_path(cr);
            cairo_arc(cr, px, py - 0.6, 1.3, 0, 2 * M_PI);
            setSource(cr, hex(0xF8C8E0));
            cairo_fill(cr);
        }
    }
}

}  // namespace datagen::levelmap
