// The menus' atlas and fill:
//  - "menutex.tga" (256 x 512, "targa.dat"): 4 x 8 cells of 64 pixels;
//    cell (column c, row r) covers x 64c.., y 64r.. (row 0 at the top). The
//    game samples every cell 0.003 of the texture inside its edges (about
//    one pixel across, one and a half down), and draws a cell at scale 1 as
//    64 x 64 units. Cells (number: column,row, size in cells):
//      0 (0,0) 1 (1,0) 2 (0,1) 3 (1,1): the panel's corners, top-left,
//        top-right, bottom-left, bottom-right;
//      10 (0,3, 2x1) top edge, 11 (0,4, 2x1) bottom edge, 12 (2,3, 1x2) left
//        edge, 13 (3,3, 1x2) right edge: the same frame, uniform along the
//        side so it tiles and stretches; cell 10 at half scale is also a
//        separator line;
//      4 (0,2) slider track, 19 (3,5) slider knob, 14 (0,7) and 15 (1,7) the
//        left and right arrows, 20 (1,6) tick box ticked, 21 (1,5) empty;
//      22 (3,7) the pointer, its tip at pixel (2, 1) of the cell, and 23
//        (2,7) its glow, in the same place;
//      6 (2,0) a corner glint and 5 (1,2) a glow band, both white light
//        added by the game: their colour is stored times the square root of
//        alpha (as in the particle sheet), so adding by colour lights
//        nothing alpha hides;
//      16 (0,5), 17 (0,6), 18 (2,5): the text field's frame, left cap,
//        stretchable middle, right cap;
//      7 (3,0) a gold stud, 8 (2,1) an ornament for under titles; 9 (3,1)
//        and the unnamed cells stay empty.
//    The panel frame is a gold moulding with a warm wood inlay, lying 4..20
//    pixels in from each cell's outer edges; outside and inside it the cells
//    are transparent (the game fills the panel itself). Corners and edges
//    are shaded from one description of the frame, so they join without a
//    seam.
//  - "winfill.jpg" (256 x 256, "jpeg.dat"): a dark warm leather that tiles
//    seamlessly, inside the text field and behind the level preview.
//
// Sections: the atlas canvas; the frame (panel and text field); small
// pieces; pointer; glows; leather fill; the generator.
#include <algorithm>
#include <cmath>
#include <functional>

#include <stb_perlin.h>

#include "datagen.h"
#include "generators.h"
#include "image_io.h"
#include "paint.h"

namespace datagen {
namespace {

constexpr int kAtlasWidth = 256, kAtlasHeight = 512, kCell = 64;

const Rgba kWarmDark = hex(0x3A1C0C);

double smoothstep(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Pixel passes write straight into the atlas image: B, G, R, A, straight
// alpha.
void putPixel(Image& image, int x, int y, Rgba c) {
    uint8_t* p = image.at(x, y);
    auto byte = [](double v) { return uint8_t(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    p[0] = byte(c.b);
    p[1] = byte(c.g);
    p[2] = byte(c.r);
    p[3] = byte(c.a);
}

// Copies a cairo canvas (one or more cells painted at their own origin)
// into the atlas at cell (column, row).
void placeCanvas(Image& atlas, const Canvas& canvas, int column, int row) {
    const Image part = canvas.toImage();
    for (int y = 0; y < part.height; ++y)
        for (int x = 0; x < part.width; ++x)
            std::copy_n(part.at(x, y), 4, atlas.at(column * kCell + x, row * kCell + y));
}

// ---------------------------------------------------------------------------
// The frame: a band that follows the outline of a rounded rectangle, shaded
// per pixel from its profile across the band. A piece sees a window of a
// virtual rectangle: a corner piece one corner of it, an edge piece a
// straight stretch, so all pieces share the same cross-section.

// A rounded rectangle's signed distance (negative inside) and outward
// direction at a point.
struct Outline {
    double left, top, right, bottom, radius;

    double distance(double x, double y, double& nx, double& ny) const {
        const double cx = (left + right) / 2, cy = (top + bottom) / 2;
        const double hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
        const double qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
        const double sx = x < cx ? -1 : 1, sy = y < cy ? -1 : 1;
        if (qx > 0 && qy > 0) {
            const double len = std::hypot(qx, qy);
            nx = sx * qx / len;
            ny = sy * qy / len;
            return len - radius;
        }
        if (qx > qy) {
            nx = sx;
            ny = 0;
        } else {
            nx = 0;
            ny = sy;
        }
        return std::max(qx, qy) - radius;
    }
};

// The look of a band at depth t (pixels in from its outer edge), facing
// `normal` (x, y, z); alpha 0 outside the band.
using BandShader = Rgba (*)(double t, double nx, double ny, double nz);
// The band's height profile across it, for the normal.
using BandProfile = double (*)(double t);

struct Band {
    double width;  // pixels
    BandProfile height;
    BandShader shade;
};

double lambert(double nx, double ny, double nz) {
    return std::max(0.0, nx * kLightX + ny * kLightY + nz * kLightZ);
}

double specular(double nx, double ny, double nz, double power) {
    double hx = kLightX, hy = kLightY, hz = kLightZ + 1;
    const double len = std::sqrt(hx * hx + hy * hy + hz * hz);
    hx /= len, hy /= len, hz /= len;
    return std::pow(std::max(0.0, nx * hx + ny * hy + nz * hz), power);
}

Rgba goldAt(double light) {
    // Deep to pale gold (docs/art-direction.md) by how much light falls on it.
    const Rgba ramp[] = {hex(0x7A3A10), hex(0xC0561A), hex(0xF39A2C), hex(0xFFD45C), hex(0xFFF6CC)};
    const double t = std::clamp(light, 0.0, 1.0) * 4;
    const int i = std::min(3, int(t));
    return mix(ramp[i], ramp[i + 1], t - i);
}

// The panel frame, 17 pixels across: a round gold bead outside, a groove,
// a warm wood inlay and a thin gold bead inside.
double panelProfile(double t) {
    auto bead = [](double t, double centre, double r) {
        const double u = (t - centre) / r;
        return std::fabs(u) < 1 ? r * std::sqrt(1 - u * u) : 0.0;
    };
    if (t < 7) return bead(t, 3.5, 3.5) + 1;
    if (t < 8) return 0.6;
    if (t < 15) return 1.6 + 0.5 * std::sin((t - 8) / 7 * M_PI);
    return bead(t, 16, 1.3) + 0.8;
}

Rgba panelShade(double t, double nx, double ny, double nz) {
    const double light = lambert(nx, ny, nz), shine = specular(nx, ny, nz, 40);
    Rgba c;
    if (t < 7 || t >= 15) {
        c = goldAt(0.15 + light * 0.95);
        c = mix(c, hex(0xFFFFFF), shine * 0.8);
    } else if (t < 8) {
        c = hex(0x2A1206);
    } else {
        // Wood, its grain running along the band.
        const double grain = 0.5 + 0.5 * std::sin(t * 4.1 + std::sin(t * 1.7) * 2);
        c = mix(hex(0x5A3018), hex(0x7A4A26), grain);
        c = shade(c, (light - 0.6) * 0.7);
        c = mix(c, hex(0xFFE6B0), shine * 0.25);
    }
    // A thin warm dark line on both outer edges, so the frame reads on any
    // ground.
    const double rim = std::max(1 - smoothstep(0, 0.9, t), smoothstep(16.2, 17, t));
    return mix(c, kWarmDark, rim * 0.8);
}

constexpr Band kPanelBand{17, panelProfile, panelShade};

// The text field's frame, 10 pixels across: a dark edge, a gold rim, then
// the field's sunken wall, dark where it faces away from the light and
// fading into the field.
double fieldProfile(double t) {
    if (t < 4) return 1.2 * std::sqrt(std::max(0.0, 1 - std::pow((t - 2) / 2, 2))) + 2.5;
    return 2.5 * (1 - smoothstep(4, 10, t));
}

Rgba fieldShade(double t, double nx, double ny, double nz) {
    const double light = lambert(nx, ny, nz);
    if (t < 4) {
        Rgba c = goldAt(0.2 + light * 0.85);
        c = mix(c, hex(0xFFFFFF), specular(nx, ny, nz, 40) * 0.7);
        return mix(c, kWarmDark, std::max(1 - smoothstep(0, 0.9, t), smoothstep(3.3, 4, t)) * 0.8);
    }
    // The wall: shadowed where it faces away from the light, warm where it
    // faces it; its alpha fades so the fill below shows through.
    const Rgba wall = mix(hex(0x140804), hex(0xA87448), std::clamp(light * 1.2 - 0.2, 0.0, 1.0));
    return withAlpha(wall, 0.85 * (1 - smoothstep(4, 10, t)));
}

constexpr Band kFieldBand{10, fieldProfile, fieldShade};

// Paints the band of `outline` into the atlas rectangle (x0, y0, w, h),
// where the rectangle's own coordinates are those of the outline. 4 x 4
// samples per pixel.
void paintBand(Image& atlas, int x0, int y0, int w, int h, const Outline& outline, const Band& band) {
    constexpr int kSub = 4;
    for (int py = 0; py < h; ++py) {
        for (int px = 0; px < w; ++px) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < kSub; ++sy) {
                for (int sx = 0; sx < kSub; ++sx) {
                    const double x = px + (sx + 0.5) / kSub, y = py + (sy + 0.5) / kSub;
                    double ox, oy;
                    const double t = -outline.distance(x, y, ox, oy);
                    if (t < 0 || t >= band.width) continue;
                    // Normal from the profile's slope: rising inwards tips
                    // the surface outwards.
                    const double slope = (band.height(std::min(band.width, t + 0.25)) -
                                          band.height(std::max(0.0, t - 0.25))) / 0.5;
                    double nx = ox * slope, ny = oy * slope, nz = 1;
                    const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
                    nx /= len, ny /= len, nz /= len;
                    const Rgba c = band.shade(t, nx, ny, nz);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            if (a <= 0) continue;
            putPixel(atlas, x0 + px, y0 + py,
                     {r / a, g / a, b / a, a / (kSub * kSub)});
        }
    }
}

// The panel pieces. The band's outer edge lies 4 pixels in from a piece's
// outer sides; the virtual rectangle reaches far past its inner sides, so
// the band runs straight out of them.
constexpr double kFrameInset = 4;
constexpr double kFrameRadius = 24;
constexpr double kFar = 4000;

void paintPanelFrame(Image& atlas) {
    const double lo = kFrameInset, hi = kCell - kFrameInset;
    struct Piece {
        int column, row, w, h;  // cells
        Outline outline;        // in the piece's pixels
    };
    const Piece pieces[] = {
        {0, 0, 1, 1, {lo, lo, kFar, kFar, kFrameRadius}},       // 0 top-left
        {1, 0, 1, 1, {-kFar, lo, hi, kFar, kFrameRadius}},      // 1 top-right
        {0, 1, 1, 1, {lo, -kFar, kFar, hi, kFrameRadius}},      // 2 bottom-left
        {1, 1, 1, 1, {-kFar, -kFar, hi, hi, kFrameRadius}},     // 3 bottom-right
        {0, 3, 2, 1, {-kFar, lo, kFar, kFar, kFrameRadius}},    // 10 top edge
        {0, 4, 2, 1, {-kFar, -kFar, kFar, hi, kFrameRadius}},   // 11 bottom edge
        {2, 3, 1, 2, {lo, -kFar, kFar, kFar, kFrameRadius}},    // 12 left edge
        {3, 3, 1, 2, {-kFar, -kFar, hi, kFar, kFrameRadius}},   // 13 right edge
    };
    for (const Piece& p : pieces)
        paintBand(atlas, p.column * kCell, p.row * kCell, p.w * kCell, p.h * kCell, p.outline,
                  kPanelBand);
}

// The text field: 52 pixels tall (rows 6..57), rounded at both ends.
void paintFieldFrame(Image& atlas) {
    const double top = 6, bottom = kCell - 6, r = 16;
    paintBand(atlas, 0 * kCell, 5 * kCell, kCell, kCell, {6, top, kFar, bottom, r}, kFieldBand);        // 16
    paintBand(atlas, 0 * kCell, 6 * kCell, kCell, kCell, {-kFar, top, kFar, bottom, r}, kFieldBand);   // 17
    paintBand(atlas, 2 * kCell, 5 * kCell, kCell, kCell, {-kFar, top, kCell - 6, bottom, r}, kFieldBand);  // 18
}

// ---------------------------------------------------------------------------
// Small pieces

// The slider's groove: uniform along x so it stretches between any two
// points, 14 pixels tall around the middle row.
void paintSliderTrack(Image& atlas) {
    Canvas c(kCell, kCell);
    cairo_t* cr = c.cr();
    const double top = 25, bottom = 39;
    cairo_rectangle(cr, 0, top - 1.5, kCell, bottom - top + 3);
    setLinearGradient(cr, 0, top - 1.5, 0, bottom + 1.5,
                      {{0, hex(0xC0561A)}, {0.12, hex(0x7A3A10)}, {0.88, hex(0xFFD45C)},
                       {1, hex(0xFFF6CC)}});
    cairo_fill(cr);
    cairo_rectangle(cr, 0, top, kCell, bottom - top);
    setLinearGradient(cr, 0, top, 0, bottom,
                      {{0, hex(0x0E0604)}, {0.35, hex(0x24120A)}, {1, hex(0x4A2A16)}});
    cairo_fill(cr);
    cairo_rectangle(cr, 0, bottom - 2, kCell, 1);
    setSource(cr, hex(0xC8904A, 0.5));
    cairo_fill(cr);
    cairo_rectangle(cr, 0, top - 2.5, kCell, 1);
    setSource(cr, withAlpha(kWarmDark, 0.8));
    cairo_fill(cr);
    cairo_rectangle(cr, 0, bottom + 1.5, kCell, 1);
    setSource(cr, withAlpha(kWarmDark, 0.8));
    cairo_fill(cr);
    placeCanvas(atlas, c, 0, 2);
}

// A glossy gold dome of `radius` with a warm dark edge and a soft shadow.
void goldDome(Canvas& c, double cx, double cy, double radius) {
    Canvas dome(c.width(), c.height());
    cairo_t* cr = dome.cr();
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, radius + 1.5, 0, 2 * M_PI);
    setSource(cr, kWarmDark);
    cairo_fill(cr);
    paintGlossyBall(cr, cx, cy, radius, hex(0xF0A83A));
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, radius * 0.62, 0, 2 * M_PI);
    cairo_set_line_width(cr, 1.2);
    setSource(cr, hex(0xFFF0B0, 0.45));
    cairo_stroke(cr);
    paintDropShadow(c, dome, 2, 3, 3, hex(0x1A0E05, 0.5));
    c.paintCanvas(dome);
}

void paintKnob(Image& atlas) {
    Canvas c(kCell, kCell);
    goldDome(c, 31, 31, 17);
    placeCanvas(atlas, c, 3, 5);
}

void paintStud(Image& atlas) {
    Canvas c(kCell, kCell);
    goldDome(c, 31, 31, 10);
    placeCanvas(atlas, c, 3, 0);
}

// A glossy gold arrow pointing left (direction -1) or right (+1), lit from
// the top left either way.
void paintArrow(Image& atlas, int column, double direction) {
    Canvas shape(kCell, kCell);
    cairo_t* cr = shape.cr();
    auto path = [&](cairo_t* c) {
        const double tipX = 32 + direction * 17, backX = 32 - direction * 12;
        cairo_new_path(c);
        cairo_move_to(c, tipX, 31);
        cairo_line_to(c, backX, 14);
        cairo_line_to(c, backX, 48);
        cairo_close_path(c);
        cairo_set_line_join(c, CAIRO_LINE_JOIN_ROUND);
    };
    path(cr);
    cairo_set_line_width(cr, 9);
    setSource(cr, kWarmDark);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    path(cr);
    cairo_set_line_width(cr, 5);
    setLinearGradient(cr, 14, 12, 48, 50,
                      {{0, hex(0xFFF6CC)}, {0.35, hex(0xFFD45C)}, {0.7, hex(0xF39A2C)},
                       {1, hex(0xC0561A)}});
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    // Gloss on the upper half.
    cairo_save(cr);
    path(cr);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, 0, kCell, 29);
    setLinearGradient(cr, 0, 12, 0, 29, {{0, hex(0xFFFFFF, 0.55)}, {1, hex(0xFFFFFF, 0.05)}});
    cairo_fill(cr);
    cairo_restore(cr);
    Canvas c(kCell, kCell);
    paintDropShadow(c, shape, 1.5, 2, 2, hex(0x1A0E05, 0.5));
    c.paintCanvas(shape);
    placeCanvas(atlas, c, column, 7);
}

// The tick box: a rounded square well in a gold rim; ticked, a bold cream
// tick with a dark edge over it.
void paintTickBox(Image& atlas, bool ticked) {
    Canvas c(kCell, kCell);
    cairo_t* cr = c.cr();
    const double x = 11, y = 11, s = 42, r = 10;
    roundedRectPath(cr, x - 2, y - 2, s + 4, s + 4, r + 2);
    setSource(cr, kWarmDark);
    cairo_fill(cr);
    roundedRectPath(cr, x, y, s, s, r);
    setLinearGradient(cr, x, y, x + s, y + s,
                      {{0, hex(0xFFF6CC)}, {0.35, hex(0xFFD45C)}, {0.7, hex(0xF39A2C)},
                       {1, hex(0xC0561A)}});
    cairo_fill(cr);
    roundedRectPath(cr, x + 4, y + 4, s - 8, s - 8, r - 3);
    setLinearGradient(cr, 0, y + 4, 0, y + s - 4,
                      {{0, hex(0x0E0604)}, {0.4, hex(0x2A160A)}, {1, hex(0x5A341C)}});
    cairo_fill(cr);
    if (ticked) {
        Canvas tick(kCell, kCell);
        cairo_t* tc = tick.cr();
        auto path = [tc] {
            cairo_new_path(tc);
            cairo_move_to(tc, 19, 31);
            cairo_line_to(tc, 29, 42);
            cairo_line_to(tc, 47, 17);
            cairo_set_line_cap(tc, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_join(tc, CAIRO_LINE_JOIN_ROUND);
        };
        path();
        cairo_set_line_width(tc, 11);
        setSource(tc, kWarmDark);
        cairo_stroke(tc);
        path();
        cairo_set_line_width(tc, 6.5);
        setLinearGradient(tc, 19, 17, 47, 42, {{0, hex(0xFFFBEA)}, {1, hex(0xFFD45C)}});
        cairo_stroke(tc);
        paintDropShadow(c, tick, 1.5, 2, 2, hex(0x1A0E05, 0.5));
        c.paintCanvas(tick);
    }
    placeCanvas(atlas, c, 1, ticked ? 6 : 5);
}

// An ornament for under titles: a gold lozenge between two scrolls.
void paintOrnament(Image& atlas) {
    Canvas shape(kCell, kCell);
    cairo_t* cr = shape.cr();
    cairo_translate(cr, 32, 32);
    cairo_scale(cr, 0.8, 0.8);
    cairo_translate(cr, -32, -32);
    auto path = [](cairo_t* c) {
        cairo_new_path(c);
        for (double side : {-1.0, 1.0}) {
            cairo_move_to(c, 32 + side * 7, 32);
            cairo_curve_to(c, 32 + side * 16, 26, 32 + side * 22, 38, 32 + side * 27, 31);
            cairo_curve_to(c, 32 + side * 29, 28, 32 + side * 25, 25, 32 + side * 22, 28);
        }
        cairo_set_line_cap(c, CAIRO_LINE_CAP_ROUND);
    };
    path(cr);
    cairo_set_line_width(cr, 5.5);
    setSource(cr, kWarmDark);
    cairo_stroke(cr);
    path(cr);
    cairo_set_line_width(cr, 2.8);
    setLinearGradient(cr, 0, 24, 0, 40, {{0, hex(0xFFF6CC)}, {0.5, hex(0xFFD45C)}, {1, hex(0xC0561A)}});
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, 32, 23);
    cairo_line_to(cr, 40, 32);
    cairo_line_to(cr, 32, 41);
    cairo_line_to(cr, 24, 32);
    cairo_close_path(cr);
    cairo_set_line_width(cr, 3);
    setSource(cr, kWarmDark);
    cairo_stroke_preserve(cr);
    setLinearGradient(cr, 24, 23, 40, 41,
                      {{0, hex(0xFFF6CC)}, {0.4, hex(0xFFD45C)}, {1, hex(0xC0561A)}});
    cairo_fill(cr);
    paintSoftGlow(cr, 30, 29, 3.5, hex(0xFFFFFF, 0.9));
    Canvas c(kCell, kCell);
    paintDropShadow(c, shape, 1, 1.5, 1.5, hex(0x1A0E05, 0.45));
    c.paintCanvas(shape);
    placeCanvas(atlas, c, 2, 1);
}

// ---------------------------------------------------------------------------
// Pointer

// The arrow pointer, its tip at (3, 2.2) so that with its edge the tip
// pixel is (2, 1); about 36 x 50 pixels.
void pointerPath(cairo_t* cr) {
    const double pts[][2] = {{0, 0}, {0, 41}, {9.5, 32.5}, {16.5, 48}, {24, 44.5},
                             {17, 29.5}, {29.5, 29.5}};
    cairo_new_path(cr);
    for (const auto& p : pts) cairo_line_to(cr, 3 + p[0] * 1.1, 2.2 + p[1] * 1.0);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
}

void paintPointer(Image& atlas) {
    Canvas shape(kCell, kCell);
    cairo_t* cr = shape.cr();
    pointerPath(cr);
    cairo_set_line_width(cr, 2.6);
    setSource(cr, kWarmDark);
    cairo_stroke_preserve(cr);
    setLinearGradient(cr, 3, 2, 30, 50,
                      {{0, hex(0xFFFBEA)}, {0.3, hex(0xFFE9A0)}, {0.7, hex(0xF6B846)},
                       {1, hex(0xD0701E)}});
    cairo_fill(cr);
    // A bevel: light inside the left edge, a gloss over the upper part.
    cairo_save(cr);
    pointerPath(cr);
    cairo_clip(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, 5.2, 8);
    cairo_line_to(cr, 5.2, 40);
    cairo_set_line_width(cr, 2);
    setSource(cr, hex(0xFFFFFF, 0.7));
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, 3, 2.2);
    cairo_line_to(cr, 3, 26);
    cairo_line_to(cr, 22, 26);
    cairo_close_path(cr);
    setSource(cr, hex(0xFFFFFF, 0.25));
    cairo_fill(cr);
    cairo_restore(cr);
    Canvas c(kCell, kCell);
    paintDropShadow(c, shape, 2.5, 3, 2.5, hex(0x1A0E05, 0.5));
    c.paintCanvas(shape);
    placeCanvas(atlas, c, 3, 7);
}

// Fades a canvas's alpha to nothing over the last `fade` pixels before
// every edge, so a glow never shows the cell's square.
void fadeToEdges(Canvas& canvas, double fade) {
    const int w = canvas.width(), h = canvas.height();
    shadeVisiblePixels(canvas, [&](int x, int y, uint32_t& pixel) {
        const double edge = std::min({x + 0.5, y + 0.5, w - x - 0.5, h - y - 0.5});
        const double k = smoothstep(0.5, fade, edge);
        const uint32_t a = pixel >> 24;
        auto ch = [&](int shift) { return uint32_t(std::lround(((pixel >> shift) & 0xFF) * k)); };
        pixel = uint32_t(std::lround(a * k)) << 24 | ch(16) << 16 | ch(8) << 8 | ch(0);
    });
}

void paintPointerGlow(Image& atlas) {
    Canvas c(kCell, kCell);
    cairo_t* cr = c.cr();
    pointerPath(cr);
    cairo_set_line_width(cr, 9);
    setSource(cr, hex(0xFFD078, 0.95));
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    blur(c, 6);
    fadeToEdges(c, 8);
    placeCanvas(atlas, c, 2, 7);
}

// ---------------------------------------------------------------------------
// Glows added by the game: white light, colour times sqrt(alpha).

void storeAsAddedLight(Image& atlas, int column, int row, int w, int h) {
    for (int y = 0; y < h * kCell; ++y) {
        for (int x = 0; x < w * kCell; ++x) {
            uint8_t* p = atlas.at(column * kCell + x, row * kCell + y);
            const double k = std::sqrt(p[3] / 255.0);
            for (int i = 0; i < 3; ++i) p[i] = uint8_t(std::lround(p[i] * k));
        }
    }
}

// A four-point twinkle with concave sides and a soft core.
void paintGlint(Image& atlas) {
    Canvas c(kCell, kCell);
    cairo_t* cr = c.cr();
    paintSoftGlow(cr, 32, 32, 22, hex(0xFFFFFF, 0.55));
    for (const auto& [r, w, alpha] : {std::tuple{27.0, 4.5, 0.55}, {22.0, 2.6, 1.0}}) {
        cairo_new_path(cr);
        for (int k = 0; k < 4; ++k) {
            const double a = k * M_PI / 2, b = a + M_PI / 2;
            const double tx = 32 + std::cos(a) * r, ty = 32 + std::sin(a) * r;
            const double nx = 32 + std::cos(b) * r, ny = 32 + std::sin(b) * r;
            if (k == 0) cairo_move_to(cr, tx, ty);
            // Concave sides: curves pulled in towards the centre.
            const double m = M_PI / 4 + a;
            cairo_curve_to(cr, 32 + std::cos(m) * w, 32 + std::sin(m) * w, 32 + std::cos(m) * w,
                           32 + std::sin(m) * w, nx, ny);
        }
        cairo_close_path(cr);
        setSource(cr, hex(0xFFFFFF, alpha));
        cairo_fill(cr);
    }
    paintSoftGlow(cr, 32, 32, 7, hex(0xFFFFFF, 1), 0.3);
    fadeToEdges(c, 4);
    placeCanvas(atlas, c, 2, 0);
    storeAsAddedLight(atlas, 2, 0, 1, 1);
}

// A soft horizontal band of light, even along its middle.
void paintGlowBand(Image& atlas) {
    Image band(kCell, kCell);
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            const double u = (x + 0.5) / kCell * 2 - 1, v = (y + 0.5) / kCell * 2 - 1;
            const double along = 1 - smoothstep(0.55, 0.94, std::fabs(u));
            const double across = std::exp(-v * v * 5) * (1 - smoothstep(0.7, 0.94, std::fabs(v)));
            const double a = along * across;
            putPixel(band, x, y, {1, 1, 1, a});
        }
    }
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            std::copy_n(band.at(x, y), 4, atlas.at(1 * kCell + x, 2 * kCell + y));
    storeAsAddedLight(atlas, 1, 2, 1, 1);
}

// ---------------------------------------------------------------------------
// Leather fill

// Fractal noise that repeats every 256 pixels in both directions.
double tilingNoise(double x, double y, int firstCells, int octaves, int seed) {
    double sum = 0, amplitude = 1, norm = 0;
    int cells = firstCells;
    for (int i = 0; i < octaves && cells <= 256; ++i, cells *= 2) {
        sum += amplitude * stb_perlin_noise3_seed(float(x / 256.0 * cells), float(y / 256.0 * cells),
                                                  float(0.31 * i), cells, cells, 0, seed + i);
        norm += amplitude;
        amplitude *= 0.55;
    }
    return sum / norm * 1.6;
}

Image paintWindowFill() {
    constexpr int kSize = 256;
    Image image(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            // Soft mottling, a fine pebbled grain and faint creases.
            const double mottle = tilingNoise(x, y, 4, 3, 901);
            const double pebble = tilingNoise(x, y, 64, 2, 911);
            const double crease = std::fabs(tilingNoise(x, y, 8, 3, 921));
            double v = 0.5 + 0.22 * mottle + 0.12 * pebble - 0.25 * (1 - smoothstep(0, 0.08, crease));
            v = std::clamp(v, 0.0, 1.0);
            putPixel(image, x, y, mix(hex(0x1E0E06), hex(0x4E2E18), v));
        }
    }
    return image;
}

}  // namespace

void generateMenuArt(Output& out) {
    Image atlas(kAtlasWidth, kAtlasHeight);
    paintPanelFrame(atlas);
    paintFieldFrame(atlas);
    paintSliderTrack(atlas);
    paintKnob(atlas);
    paintStud(atlas);
    paintArrow(atlas, 0, -1);
    paintArrow(atlas, 1, 1);
    paintTickBox(atlas, false);
    paintTickBox(atlas, true);
    paintOrnament(atlas);
    paintPointer(atlas);
    paintPointerGlow(atlas);
    paintGlint(atlas);
    paintGlowBand(atlas);
    out.addToPack("targa.dat", "menutex.tga", writeTga(atlas));
    out.addToPack("jpeg.dat", "winfill.jpg", writeJpeg(paintWindowFill(), 92));
}

}  // namespace datagen
