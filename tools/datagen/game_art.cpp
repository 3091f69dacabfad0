// The pieces of the board: "bal00.tga" .. "bal07.tga", "shadow.tga",
// "jocker.tga", "bomb.tga", "superbomb.tga", the diamond's frames
// "diamond0101.tga" .. "diamond0116.tga", and the chain "zep2.tga" drawn over
// a chained piece. See game_art.h for the shared sizes and
// docs/game-art.md for how the game screen draws them.
//
// The eight ball colours are told apart by more than hue: they spread over
// light and dark, and each carries its own embossed mark (heart, leaf, drop,
// star, rhombus, ring, cross, moon) so that players who confuse some hues
// still read every colour at 37 units.
//
// Sections: shared helpers; balls; joker; bombs; diamond; shadow and chain;
// the generator.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

#include "game_art.h"

namespace datagen::gameart {

// ---------------------------------------------------------------------------
// Shared helpers (declared in game_art.h)

double radians(double degrees) { return degrees * M_PI / 180; }

void packTga(Output& out, const std::string& name, const Canvas& canvas) {
    out.addToPack("targa.dat", name, writeTga(canvas.toImage()));
}

void packJpeg(Output& out, const std::string& name, const Canvas& canvas, int quality) {
    out.addToPack("jpeg.dat", name, writeJpeg(canvas.toImage(), quality));
}

void heartPath(cairo_t* cr, double cx, double cy, double size) {
    const double s = size / 2;
    cairo_new_path(cr);
    cairo_move_to(cr, cx, cy + s * 0.95);
    cairo_curve_to(cr, cx - s * 0.35, cy + s * 0.62, cx - s * 1.02, cy + s * 0.2, cx - s * 0.98,
                   cy - s * 0.3);
    cairo_curve_to(cr, cx - s * 0.95, cy - s * 0.85, cx - s * 0.22, cy - s * 1.0, cx,
                   cy - s * 0.52);
    cairo_curve_to(cr, cx + s * 0.22, cy - s * 1.0, cx + s * 0.95, cy - s * 0.85, cx + s * 0.98,
                   cy - s * 0.3);
    cairo_curve_to(cr, cx + s * 1.02, cy + s * 0.2, cx + s * 0.35, cy + s * 0.62, cx,
                   cy + s * 0.95);
    cairo_close_path(cr);
}

void rhombusPath(cairo_t* cr, double cx, double cy, double w, double h) {
    cairo_new_path(cr);
    cairo_move_to(cr, cx, cy - h / 2);
    cairo_line_to(cr, cx + w / 2, cy);
    cairo_line_to(cr, cx, cy + h / 2);
    cairo_line_to(cr, cx - w / 2, cy);
    cairo_close_path(cr);
}

namespace {

constexpr double kC = kPieceCentre;

// Relative luminance of an sRGB colour (0..1).
double luminance(Rgba c) {
    auto lin = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b);
}

// ---------------------------------------------------------------------------
// Balls

enum class Mark { Heart, Leaf, Drop, Star, Rhombus, Ring, Cross, Moon };

struct BallStyle {
    Rgba base;
    Mark mark;
};

// Colours 0..7 as the level files number them. Hue and lightness both vary:
// under red-green colour blindness the warm colours still differ in
// lightness (dark red, mid orange, light yellow) and the cool ones too (dark
// blue, mid violet, light cyan), and every ball has its own mark.
const std::array<BallStyle, 8> kBalls = {{
    {hex(0xC8141E), Mark::Heart},    // red: dark
    {hex(0x2CB478), Mark::Leaf},     // green: a little blue, so it stays apart from red
    {hex(0x2050D0), Mark::Drop},     // blue: dark
    {hex(0xF8CC20), Mark::Star},     // yellow: light
    {hex(0xA368E0), Mark::Rhombus},  // violet: mid
    {hex(0xEC6A0E), Mark::Ring},     // orange: mid, darker than yellow
    {hex(0x48D0E8), Mark::Cross},    // cyan: light
    {hex(0xE8EAF0), Mark::Moon},     // pearl: lightest
}};

void markPath(cairo_t* cr, Mark mark, double cx, double cy, double s) {
    cairo_new_path(cr);
    switch (mark) {
        case Mark::Heart:
            heartPath(cr, cx, cy + s * 0.05, s * 2.0);
            break;
        case Mark::Leaf: {
            // Two arcs meeting in points at the lower left and upper right.
            cairo_save(cr);
            cairo_translate(cr, cx, cy);
            cairo_rotate(cr, radians(-45));
            const double l = s * 1.05, w = s * 0.62;
            cairo_move_to(cr, -l, 0);
            cairo_curve_to(cr, -l * 0.4, -w * 1.25, l * 0.4, -w * 1.25, l, 0);
            cairo_curve_to(cr, l * 0.4, w * 1.25, -l * 0.4, w * 1.25, -l, 0);
            cairo_close_path(cr);
            cairo_restore(cr);
            break;
        }
        case Mark::Drop:
            cairo_move_to(cr, cx, cy - s * 1.08);
            cairo_curve_to(cr, cx + s * 0.3, cy - s * 0.6, cx + s * 0.82, cy - s * 0.1,
                           cx + s * 0.82, cy + s * 0.36);
            cairo_arc(cr, cx, cy + s * 0.36, s * 0.82, 0, M_PI);
            cairo_curve_to(cr, cx - s * 0.82, cy - s * 0.1, cx - s * 0.3, cy - s * 0.6, cx,
                           cy - s * 1.08);
            cairo_close_path(cr);
            break;
        case Mark::Star:
            starPath(cr, cx, cy + s * 0.08, s * 1.12, s * 0.5, 5);
            break;
        case Mark::Rhombus:
            rhombusPath(cr, cx, cy, s * 1.5, s * 2.05);
            break;
        case Mark::Ring:
            cairo_arc(cr, cx, cy, s * 0.95, 0, 2 * M_PI);
            cairo_new_sub_path(cr);
            cairo_arc_negative(cr, cx, cy, s * 0.5, 2 * M_PI, 0);
            break;
        case Mark::Cross: {
            const double a = s * 1.0, b = s * 0.34;
            roundedRectPath(cr, cx - a, cy - b, 2 * a, 2 * b, b * 0.6);
            roundedRectPath(cr, cx - b, cy - a, 2 * b, 2 * a, b * 0.6);
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
            break;
        }
        case Mark::Moon:
            // A crescent: a disc minus a disc shifted to the upper right.
            cairo_arc(cr, cx, cy, s * 0.98, radians(-20), radians(-20) + 2 * M_PI);
            cairo_new_sub_path(cr);
            cairo_arc_negative(cr, cx + s * 0.46, cy - s * 0.3, s * 0.8, 2 * M_PI, 0);
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
            break;
    }
}

void paintBall(Canvas& canvas, const BallStyle& style) {
    cairo_t* cr = canvas.cr();
    paintGlossyBall(cr, kC, kC, kBallRadius, style.base);

    // The mark sits a little below the centre, clear of the highlight, and is
    // lighter than a dark ball or darker than a light one.
    const double size = kBallRadius * 0.4;
    const double mx = kC + 0.6, my = kC + 1.8;
    const bool lightBall = luminance(style.base) > 0.42;
    const Rgba face = lightBall ? withAlpha(shade(style.base, -0.42), 0.9)
                                : withAlpha(shade(style.base, 0.5), 0.92);
    const Rgba light = withAlpha(shade(style.base, 0.75), lightBall ? 0.8 : 0.55);
    const Rgba dark = withAlpha(shade(style.base, -0.6), lightBall ? 0.45 : 0.6);
    auto path = [&](cairo_t* c) { markPath(c, style.mark, mx, my, size); };
    cairo_save(cr);
    embossShape(cr, path, face, light, dark, 0.9);
    cairo_restore(cr);
    // The glaze goes over the mark: a faint second highlight keeps it under
    // the glass rather than painted on top.
    cairo_save(cr);
    path(cr);
    cairo_clip(cr);
    paintSpecular(cr, kC, kC, kBallRadius, 0.45);
    cairo_restore(cr);
}

// ---------------------------------------------------------------------------
// Joker: a prismatic ball whose colours swirl round the centre, with a white
// four-point sparkle for its mark.

void hsvToRgb(double h, double s, double v, double& r, double& g, double& b) {
    h = (h - std::floor(h)) * 6;
    const int i = int(h);
    const double f = h - i, p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i % 6) {
        case 0: r = v, g = t, b = p; break;
        case 1: r = q, g = v, b = p; break;
        case 2: r = p, g = v, b = t; break;
        case 3: r = p, g = q, b = v; break;
        case 4: r = t, g = p, b = v; break;
        default: r = v, g = p, b = q; break;
    }
}

// Four-point sparkle (long vertical and horizontal rays).
void sparklePath(cairo_t* cr, double cx, double cy, double size, double rotationDeg = 0) {
    starPath(cr, cx, cy, size, size * 0.26, 4, rotationDeg);
}

void paintJoker(Canvas& canvas) {
    const double r = kBallRadius;
    // The swirl, pixel by pixel, with 4 x 4 supersampling at the rim.
    cairo_surface_flush(canvas.surface());
    uint8_t* data = cairo_image_surface_get_data(canvas.surface());
    const int stride = cairo_image_surface_get_stride(canvas.surface());
    for (int y = 0; y < kPieceTexels; ++y) {
        for (int x = 0; x < kPieceTexels; ++x) {
            double sr = 0, sg = 0, sb = 0, cover = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    const double px = x + (sx + 0.5) / 4 - kC, py = y + (sy + 0.5) / 4 - kC;
                    const double d = std::hypot(px, py) / r;
                    if (d > 1) continue;
                    const double hue = std::atan2(py, px) / (2 * M_PI) + 0.42 * d + 0.1;
                    double cr = 0, cg = 0, cb = 0;
                    hsvToRgb(hue, 0.62 + 0.2 * d, 1.0, cr, cg, cb);
                    sr += cr, sg += cg, sb += cb, cover += 1;
                }
            }
            if (cover == 0) continue;
            const double a = cover / 16;
            uint32_t* p = reinterpret_cast<uint32_t*>(data + y * stride) + x;
            auto ch = [&](double v) { return uint32_t(std::lround(v / cover * a * 255)); };
            *p = (uint32_t(std::lround(a * 255)) << 24) | (ch(sr) << 16) | (ch(sg) << 8) | ch(sb);
        }
    }
    cairo_surface_mark_dirty(canvas.surface());

    cairo_t* cr = canvas.cr();
    cairo_save(cr);
    cairo_arc(cr, kC, kC, r, 0, 2 * M_PI);
    cairo_clip(cr);
    // Sphere shading over the colours: pale towards the light, deep at the
    // far rim.
    const double fx = kC + kLightX * r * 0.5, fy = kC + kLightY * r * 0.5;
    setRadialGradient(cr, fx, fy, 0, kC, kC, r,
                      {{0, hex(0xFFFFFF, 0.55)},
                       {0.3, hex(0xFFFFFF, 0.12)},
                       {0.62, hex(0x000000, 0)},
                       {0.88, hex(0x201030, 0.35)},
                       {1, hex(0x180828, 0.6)}});
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_arc(cr, kC, kC, r - 0.6, 0, 2 * M_PI);
    setSource(cr, hex(0x3A2050, 0.35));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);

    // The mark: a bright sparkle with a soft halo.
    paintSoftGlow(cr, kC + 0.6, kC + 1.5, r * 0.55, hex(0xFFFFFF, 0.55));
    auto path = [&](cairo_t* c) { sparklePath(c, kC + 0.6, kC + 1.5, r * 0.44); };
    embossShape(cr, path, hex(0xFFFFFF, 0.95), hex(0xFFFFFF, 0.5), hex(0x50306A, 0.45), 0.8);
    paintSpecular(cr, kC, kC, r, 0.9);
}

// ---------------------------------------------------------------------------
// Bombs

// The fuse: a rope from (x0, y0) curling up to (x1, y1), with a burning tip.
void paintFuse(cairo_t* cr, double x0, double y0, double x1, double y1, double width,
               double sparkSize) {
    cairo_new_path(cr);
    cairo_move_to(cr, x0, y0);
    cairo_curve_to(cr, x0 + 2, y0 - 7, x1 - 9, y1 + 4, x1, y1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, width + 1.6);
    setSource(cr, hex(0x3A2412, 0.9));
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, width);
    setSource(cr, hex(0xC8995E));
    cairo_stroke_preserve(cr);
    // Twist of the rope.
    const double dashes[] = {1.4, 2.2};
    cairo_set_dash(cr, dashes, 2, 0);
    cairo_set_line_width(cr, width * 0.7);
    setSource(cr, hex(0x8A6236, 0.8));
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    // The burning tip: a warm glow, a hot core and a small star of sparks.
    paintSoftGlow(cr, x1, y1, sparkSize * 1.15, hex(0xFF8A1E, 0.85));
    paintSoftGlow(cr, x1, y1, sparkSize * 0.6, hex(0xFFE070, 1), 0.3);
    sparklePath(cr, x1, y1, sparkSize * 0.95, 45);
    setSource(cr, hex(0xFFFFFF, 0.95));
    cairo_fill(cr);
    sparklePath(cr, x1, y1, sparkSize * 0.7, 0);
    setSource(cr, hex(0xFFF6C0, 0.9));
    cairo_fill(cr);
}

// The metal collar where the fuse leaves the body.
void paintCollar(cairo_t* cr, double cx, double cy, double angleDeg, double w, double h) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, radians(angleDeg));
    roundedRectPath(cr, -w / 2, -h / 2, w, h, 1.6);
    setLinearGradient(cr, -w / 2, 0, w / 2, 0,
                      {{0, hex(0x6A5030)}, {0.3, hex(0xF2D49A)}, {0.55, hex(0xC09050)},
                       {1, hex(0x5A3E1E)}});
    cairo_fill_preserve(cr);
    setSource(cr, hex(0x2A1808, 0.7));
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void paintBomb(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    const double bx = 30.5, by = 35, r = 25.5;
    paintGlossyBall(cr, bx, by, r, hex(0x343A4C));
    const double a = radians(-48);
    const double collarX = bx + std::cos(a) * r * 0.93, collarY = by + std::sin(a) * r * 0.93;
    paintFuse(cr, collarX + 1, collarY - 2, 55, 8.5, 2.6, 7.5);
    paintCollar(cr, collarX, collarY, 42, 11, 7);
}

void paintSuperbomb(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    const double bx = 31, by = 34.5, r = 23.5;
    // Spikes first; the body covers their roots.
    for (int i = 0; i < 8; ++i) {
        const double a = radians(i * 45 + 22.5);
        if (i == 6) continue;  // the fuse leaves here
        const double dx = std::cos(a), dy = std::sin(a), px = -dy, py = dx;
        const double root = r * 0.8, tip = r + 7.5, half = 4.2;
        cairo_new_path(cr);
        cairo_move_to(cr, bx + dx * root + px * half, by + dy * root + py * half);
        cairo_line_to(cr, bx + dx * tip, by + dy * tip);
        cairo_line_to(cr, bx + dx * root - px * half, by + dy * root - py * half);
        cairo_close_path(cr);
        // Lit side towards the top left.
        const double lit = std::clamp(-(dx * kLightX + dy * kLightY) * 0.5 + 0.5, 0.0, 1.0);
        setLinearGradient(cr, bx + dx * root + px * half, by + dy * root + py * half,
                          bx + dx * root - px * half, by + dy * root - py * half,
                          {{0, mix(hex(0x4A4450), hex(0xD8D0D8), lit)},
                           {0.5, mix(hex(0x2A2430), hex(0x9A90A0), lit)},
                           {1, hex(0x18141C)}});
        cairo_fill_preserve(cr);
        setSource(cr, hex(0x100810, 0.6));
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
    }
    paintGlossyBall(cr, bx, by, r, hex(0x7A1420));

    // A riveted steel band round the middle, bent with the sphere.
    cairo_save(cr);
    cairo_arc(cr, bx, by, r, 0, 2 * M_PI);
    cairo_clip(cr);
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, bx, by + 2);
    cairo_scale(cr, 1, 0.34);
    cairo_arc(cr, 0, 0, r + 1, 0, M_PI);
    cairo_restore(cr);
    cairo_set_line_width(cr, 6.5);
    setLinearGradient(cr, bx - r, by, bx + r, by,
                      {{0, hex(0x3A3440)}, {0.3, hex(0xC8C0CC)}, {0.6, hex(0x8A8090)},
                       {1, hex(0x2A2430)}});
    cairo_stroke(cr);
    for (int i = 0; i < 5; ++i) {
        const double t = M_PI * (0.12 + 0.19 * i);
        const double rx = bx + std::cos(t) * (r + 1), ry = by + 2 + std::sin(t) * (r + 1) * 0.34;
        paintSoftGlow(cr, rx - 0.4, ry - 0.5, 1.9, hex(0xFFFFFF, 0.9), 0.5);
        cairo_arc(cr, rx + 0.3, ry + 0.4, 1.2, 0, 2 * M_PI);
        setSource(cr, hex(0x201820, 0.6));
        cairo_fill(cr);
    }
    cairo_restore(cr);
    paintSpecular(cr, bx, by, r, 0.5);

    const double a = radians(-48);
    const double collarX = bx + std::cos(a) * r * 0.95, collarY = by + std::sin(a) * r * 0.95;
    paintFuse(cr, collarX + 1, collarY - 2, 55.5, 8, 3.2, 8.5);
    paintCollar(cr, collarX, collarY, 42, 12, 8);
}

// ---------------------------------------------------------------------------
// Diamond: a brilliant-cut gem turning about its vertical axis. The cut has
// eight-fold symmetry, so the frames turn it by 45 degrees in all and the
// animation loops without a jump.

constexpr int kDiamondFrames = 16;

struct V3 {
    double x, y, z;
};
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator*(V3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 normalize(V3 a) { return a * (1 / std::sqrt(dot(a, a))); }

struct Facet {
    std::array<V3, 3> corner;  // model space, y up
    int count;                 // 3, or 8 for the table
    std::array<V3, 8> table;
    int group;                 // 0 table, 1 crown, 2 pavilion
};

std::vector<Facet> diamondModel() {
    std::vector<Facet> facets;
    constexpr double kTableY = 0.46, kTableR = 0.56, kGirdleY = 0.1, kPavilionY = -0.5,
                     kPavilionR = 0.5, kCuletY = -1.2;
    auto ring = [](int i, double y, double radius, double offsetDeg) {
        const double a = radians(i * 45 + offsetDeg);
        return V3{std::cos(a) * radius, y, std::sin(a) * radius};
    };
    auto tri = [&](V3 a, V3 b, V3 c, int group) {
        Facet f{};
        f.corner = {a, b, c};
        f.count = 3;
        f.group = group;
        facets.push_back(f);
    };
    Facet table{};
    table.count = 8;
    table.group = 0;
    for (int i = 0; i < 8; ++i) table.table[size_t(i)] = ring(i, kTableY, kTableR, 0);
    facets.push_back(table);
    const V3 culet{0, kCuletY, 0};
    for (int i = 0; i < 8; ++i) {
        const V3 t0 = ring(i, kTableY, kTableR, 0), t1 = ring(i + 1, kTableY, kTableR, 0);
        const V3 gPrev = ring(i - 1, kGirdleY, 1.0, 22.5), g = ring(i, kGirdleY, 1.0, 22.5);
        const V3 p = ring(i, kPavilionY, kPavilionR, 0);
        const V3 pNext = ring(i + 1, kPavilionY, kPavilionR, 0);
        tri(t0, t1, g, 1);      // star facet
        tri(gPrev, t0, g, 1);   // bezel
        tri(gPrev, g, p, 2);    // upper pavilion
        tri(g, pNext, p, 2);
        tri(p, pNext, culet, 2);  // lower pavilion
    }
    return facets;
}

// Brightness of the environment seen in direction d: a bright sky above, a
// warm horizon band, dark ground; sharp enough that facets flash as they
// turn.
double environment(V3 d) {
    const double up = std::clamp(d.y * 0.5 + 0.5, 0.0, 1.0);
    const double band = std::exp(-std::pow((d.y - 0.2) * 4.5, 2));
    const double side = std::exp(-std::pow((d.x + 0.55) * 3, 2));
    return 0.08 + 0.6 * up * up * up + 0.45 * band + 0.35 * side;
}

void paintDiamondFrame(Canvas& canvas, int frame) {
    cairo_t* cr = canvas.cr();
    const double turn = radians(45.0 * frame / kDiamondFrames + 7);
    const double tilt = radians(20);
    const double scale = 29.5, cx = kC, cy = kC - 7.5;
    const V3 toViewer{0, 0, 1};
    const V3 light = normalize({kLightX, -kLightY, kLightZ});  // model y is up

    auto view = [&](V3 p) {
        // Turn about y, then tilt the top towards the viewer.
        const V3 a{p.x * std::cos(turn) - p.z * std::sin(turn), p.y,
                   p.x * std::sin(turn) + p.z * std::cos(turn)};
        return V3{a.x, a.y * std::cos(tilt) - a.z * std::sin(tilt),
                  a.y * std::sin(tilt) + a.z * std::cos(tilt)};
    };
    auto screen = [&](V3 v, double& sx, double& sy) {
        sx = cx + v.x * scale;
        sy = cy - v.y * scale;
    };

    // A soft glow behind the gem so it reads as precious on any floor.
    paintSoftGlow(cr, cx, cy + 6, 31, hex(0xBFF0FF, 0.5));

    const std::vector<Facet> model = diamondModel();
    int index = 0;
    for (const Facet& f : model) {
        ++index;
        std::array<V3, 8> pts{};
        const int n = f.count;
        for (int i = 0; i < n; ++i)
            pts[size_t(i)] = view(n == 8 ? f.table[size_t(i)] : f.corner[size_t(i)]);
        V3 normal = normalize(cross(pts[1] - pts[0], pts[2] - pts[0]));
        V3 centroid{0, 0, 0};
        for (int i = 0; i < n; ++i) centroid = centroid + pts[size_t(i)];
        centroid = centroid * (1.0 / n);
        if (dot(normal, centroid) < 0) normal = normal * -1;  // outward
        if (dot(normal, toViewer) <= 0.01) continue;          // the far side

        // Light seen in the facet: the environment in the mirror direction,
        // a specular flash from the house light, and dispersion ("fire")
        // that shifts colour as the gem turns.
        const V3 reflected = normal * (2 * dot(normal, toViewer)) - toViewer;
        const double env = environment(reflected);
        const double specular = std::pow(std::max(0.0, dot(reflected, light)), 18);
        const double value = std::clamp(env + specular * 1.1, 0.0, 1.3);
        double fr = 0, fg = 0, fb = 0;
        hsvToRgb(index * 0.137 + frame / double(kDiamondFrames) * 0.5, 0.75, 1, fr, fg, fb);
        const Rgba ice = f.group == 2 ? hex(0x8FD8FF) : hex(0xC8F0FF);
        const double fire = f.group == 0 ? 0.12 : 0.5;
        const Rgba c = mix(ice, Rgba{fr, fg, fb, 1}, fire);
        const Rgba lit =
            value <= 1 ? mix(hex(0x0A2A5A), c, std::sqrt(value)) : mix(c, hex(0xFFFFFF), (value - 1) / 0.3);

        cairo_new_path(cr);
        for (int i = 0; i < n; ++i) {
            double sx = 0, sy = 0;
            screen(pts[size_t(i)], sx, sy);
            if (i == 0) cairo_move_to(cr, sx, sy);
            else cairo_line_to(cr, sx, sy);
        }
        cairo_close_path(cr);
        setSource(cr, lit);
        cairo_fill_preserve(cr);
        if (f.group == 0) {
            // The table mirrors the sky: a diagonal sheen that slides across
            // it as the gem turns.
            const double slide = frame / double(kDiamondFrames);
            const double x0 = cx - scale * (0.9 - slide * 0.6), y0 = cy - scale * 0.62;
            setLinearGradient(cr, x0, y0, x0 + scale * 0.5, y0 + scale * 0.25,
                              {{0, hex(0xFFFFFF, 0.1)},
                               {0.45, hex(0xFFFFFF, 0.75)},
                               {0.6, hex(0xFFFFFF, 0.35)},
                               {1, hex(0xFFFFFF, 0.05)}});
            cairo_fill_preserve(cr);
        }
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_width(cr, 0.7);
        setSource(cr, hex(0xFFFFFF, 0.45));
        cairo_stroke(cr);
    }

    // Glints that twinkle in turn where the light catches the gem.
    struct Glint {
        double x, y, size, phase;
    };
    const Glint glints[] = {{-14, 1, 10, 0.0}, {12, 10, 8, 0.4}, {3, 27, 7, 0.7}};
    for (const Glint& g : glints) {
        const double s = std::pow(
            std::max(0.0, std::sin(2 * M_PI * (frame / double(kDiamondFrames) + g.phase))), 3);
        if (s < 0.02) continue;
        const double gx = cx + g.x, gy = cy + g.y;
        paintSoftGlow(cr, gx, gy, g.size * 0.8 * s + 1, hex(0xFFFFFF, 0.8 * s));
        sparklePath(cr, gx, gy, g.size * (0.5 + 0.5 * s), 0);
        setSource(cr, hex(0xFFFFFF, s));
        cairo_fill(cr);
    }
}

// ---------------------------------------------------------------------------
// Shadow and chain

void paintShadow(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    cairo_save(cr);
    cairo_translate(cr, kC, kC);
    cairo_scale(cr, 1, 0.86);
    cairo_arc(cr, 0, 0, 23, 0, 2 * M_PI);
    cairo_restore(cr);
    setSource(cr, hex(0x1A0E05, 0.6));
    cairo_fill(cr);
    blur(canvas, 6);
}

// One chain link centred at (x, y) along direction `angle`; `open` links are
// seen from the side (a ring), the others edge-on (a bar).
void paintLink(cairo_t* cr, double x, double y, double angle, bool open) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    const double l = 14.5, h = open ? 9.5 : 4.2, line = 3.2;
    auto outline = [&] { roundedRectPath(cr, -l / 2, -h / 2, l, h, h / 2); };
    // A dark outline first, so the steel reads on light and dark balls.
    outline();
    setSource(cr, hex(0x0C1016, 0.85));
    if (open) {
        cairo_set_line_width(cr, line + 1.8);
        cairo_stroke(cr);
    } else {
        cairo_set_line_width(cr, 1.8);
        cairo_stroke_preserve(cr);
        cairo_fill(cr);
    }
    outline();
    setLinearGradient(cr, 0, -h / 2 - line / 2, 0, h / 2 + line / 2,
                      {{0, hex(0xFFFFFF)}, {0.3, hex(0xC4CCD8)}, {0.65, hex(0x6A7484)},
                       {1, hex(0x343C48)}});
    if (open) {
        cairo_set_line_width(cr, line);
        cairo_stroke(cr);
    } else {
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void paintChain(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    // The chain runs round the lower half of the ball like a belt, so the
    // ball's mark at the centre stays visible, and a padlock hangs in front.
    const double ex = kC, ey = kC + 10, rx = 31, ry = 11, tiltRad = radians(-12);
    constexpr int kLinks = 7;
    auto along = [&](double t, double& x, double& y, double& angle) {
        const double lx = std::cos(t) * rx, ly = std::sin(t) * ry;
        x = ex + lx * std::cos(tiltRad) - ly * std::sin(tiltRad);
        y = ey + lx * std::sin(tiltRad) + ly * std::cos(tiltRad);
        const double tx = -std::sin(t) * rx, ty = std::cos(t) * ry;
        angle = std::atan2(tx * std::sin(tiltRad) + ty * std::cos(tiltRad),
                           tx * std::cos(tiltRad) - ty * std::sin(tiltRad));
    };
    // Edge-on links under the side links, as a real chain lies.
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < kLinks; ++i) {
            if ((i % 2 == 0) != (pass == 1)) continue;
            double x = 0, y = 0, angle = 0;
            along(M_PI * (0.02 + 0.96 * i / (kLinks - 1)), x, y, angle);
            paintLink(cr, x, y, angle, i % 2 == 0);
        }
    }
    const double px = kC + 1.5, py = kC + 24;
    cairo_new_path(cr);
    cairo_arc(cr, px, py - 6, 4, M_PI, 2 * M_PI);
    cairo_set_line_width(cr, 3.2);
    setSource(cr, hex(0x0C1016, 0.85));
    cairo_stroke(cr);
    cairo_arc(cr, px, py - 6, 4, M_PI, 2 * M_PI);
    cairo_set_line_width(cr, 1.5);
    setSource(cr, hex(0xD8DEE8));
    cairo_stroke(cr);
    roundedRectPath(cr, px - 6.5, py - 6.5, 13, 11, 2.5);
    setLinearGradient(cr, px - 6.5, py - 6.5, px + 6.5, py + 4.5,
                      {{0, hex(0xFFEAB0)}, {0.45, hex(0xE0AC48)}, {1, hex(0x7A4E14)}});
    cairo_fill_preserve(cr);
    setSource(cr, hex(0x2A1604, 0.9));
    cairo_set_line_width(cr, 1.1);
    cairo_stroke(cr);
    cairo_arc(cr, px, py - 2.2, 1.5, 0, 2 * M_PI);
    cairo_move_to(cr, px - 0.7, py - 1.8);
    cairo_line_to(cr, px + 0.7, py - 1.8);
    cairo_line_to(cr, px + 0.5, py + 2);
    cairo_line_to(cr, px - 0.5, py + 2);
    cairo_close_path(cr);
    setSource(cr, hex(0x2A1604, 0.95));
    cairo_fill(cr);
}

// ---------------------------------------------------------------------------
// The generator

}  // namespace

void generatePieces(Output& out) {
    for (size_t i = 0; i < kBalls.size(); ++i) {
        Canvas canvas(kPieceTexels, kPieceTexels);
        paintBall(canvas, kBalls[i]);
        char name[32];
        std::snprintf(name, sizeof name, "bal%.2zu.tga", i);
        packTga(out, name, canvas);
    }
    {
        Canvas canvas(kPieceTexels, kPieceTexels);
        paintShadow(canvas);
        packTga(out, "shadow.tga", canvas);
    }
    {
        Canvas canvas(kPieceTexels, kPieceTexels);
        paintJoker(canvas);
        packTga(out, "jocker.tga", canvas);
    }
    {
        Canvas canvas(kPieceTexels, kPieceTexels);
        paintBomb(canvas);
        packTga(out, "bomb.tga", canvas);
    }
    {
        Canvas canvas(kPieceTexels, kPieceTexels);
        paintSuperbomb(canvas);
        packTga(out, "superbomb.tga", canvas);
    }
    for (int frame = 0; frame < kDiamondFrames; ++frame) {
        Canvas canvas(kPieceTexels, kPieceTexels);
        paintDiamondFrame(canvas, frame);
        char name[32];
        std::snprintf(name, sizeof name, "diamond01%.2i.tga", frame + 1);
        packTga(out, name, canvas);
    }
    {
        Canvas canvas(kPieceTexels, kPieceTexels);
        paintChain(canvas);
        packTga(out, "zep2.tga", canvas);
    }
}

}  // namespace datagen::gameart

