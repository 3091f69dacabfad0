// Art of the feedback effects:
//  - "baloon.tga" (256 x 128): the tooltip balloon as a 4 x 2 grid of 64 px
//    cells. Top row: top-left corner, top-right corner, horizontal edge,
//    vertical edge; bottom row: bottom-left corner, bottom-right corner and
//    the arrow across the last two cells, pointing right (the game turns it).
//    The box's edge runs through the middle of the edge and corner cells;
//    corner cells carry the rounded fill of their inner quadrant, the edge
//    cells only the frame line (the same cell serves both sides).
//  - "button.tga" (256 x 64): the menu button in three parts: left cap
//    (first 64 px), a middle that is stretched (uniform along x), right cap.
//  - "white.jpg": plain white, tinted by vertex colour for flat fills.
//  - "flare.jpg" (128 x 64): the lightning beam, greyscale for additive
//    blending: bright along the middle row, dark at the top and bottom rows;
//    the beam runs along x.
//  - "lightning.jpg" (128 x 128): a bolt on black, loaded with the spark
//    sheet.
#include <cmath>
#include <utility>
#include <vector>

#include "datagen.h"
#include "image_io.h"
#include "paint.h"

namespace datagen {
namespace {

// The balloon's colours: a deep warm brown fill (the same as the fill strips
// the game draws with "white.jpg", 63, 30, 11 at alpha 210) and a gold frame.
const Rgba kFill = {63 / 255.0, 30 / 255.0, 11 / 255.0, 210 / 255.0};
const Rgba kFrameDark = hex(0x2A1206, 0.9);
const Rgba kFrameGold = hex(0xD9A441);
const Rgba kFrameLight = hex(0xFFE6A0);

constexpr double kCornerRadius = 24;

void strokeFrame(cairo_t* cr) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setSource(cr, kFrameDark);
    cairo_set_line_width(cr, 7);
    cairo_stroke_preserve(cr);
    setSource(cr, kFrameGold);
    cairo_set_line_width(cr, 4);
    cairo_stroke_preserve(cr);
    setSource(cr, kFrameLight);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
}

// A corner cell at (ox, oy), drawn as the top-left corner and mirrored for
// the others. The box corner is the cell's centre (32, 32).
void cornerCell(cairo_t* cr, double ox, double oy, bool flipX, bool flipY) {
    cairo_save(cr);
    cairo_translate(cr, ox + (flipX ? 64 : 0), oy + (flipY ? 64 : 0));
    cairo_scale(cr, flipX ? -1 : 1, flipY ? -1 : 1);
    const double c = 32 + kCornerRadius;
    // Fill of the inner quadrant, rounded at the corner.
    cairo_move_to(cr, 64, 32);
    cairo_line_to(cr, c, 32);
    cairo_arc_negative(cr, c, c, kCornerRadius, -M_PI / 2, -M_PI);
    cairo_line_to(cr, 32, 64);
    cairo_line_to(cr, 64, 64);
    cairo_close_path(cr);
    setSource(cr, kFill);
    cairo_fill(cr);
    // The frame line along the same corner.
    cairo_move_to(cr, 64, 32);
    cairo_line_to(cr, c, 32);
    cairo_arc_negative(cr, c, c, kCornerRadius, -M_PI / 2, -M_PI);
    cairo_line_to(cr, 32, 64);
    strokeFrame(cr);
    cairo_restore(cr);
}

void balloonArt(Output& out) {
    Canvas canvas(256, 128);
    cairo_t* cr = canvas.cr();
    cornerCell(cr, 0, 0, false, false);
    cornerCell(cr, 64, 0, true, false);
    cornerCell(cr, 0, 64, false, true);
    cornerCell(cr, 64, 64, true, true);

    // Edges: the frame line through the middle of the cell.
    cairo_move_to(cr, 128, 32);
    cairo_line_to(cr, 192, 32);
    strokeFrame(cr);
    cairo_move_to(cr, 224, 0);
    cairo_line_to(cr, 224, 64);
    strokeFrame(cr);

    // The arrow, pointing right with its tip near the cell's right edge. Its
    // base lies under the box when drawn, so only the two long sides are
    // framed.
    auto arrowSides = [cr] {
        cairo_move_to(cr, 128, 70);
        cairo_curve_to(cr, 178, 78, 220, 90, 249, 96);
        cairo_curve_to(cr, 220, 102, 178, 114, 128, 122);
    };
    arrowSides();
    cairo_close_path(cr);
    setSource(cr, kFill);
    cairo_fill(cr);
    arrowSides();
    strokeFrame(cr);

    out.addToPack("targa.dat", "baloon.tga", writeTga(canvas.toImage()));
}

void buttonArt(Output& out) {
    Canvas canvas(256, 64);
    cairo_t* cr = canvas.cr();
    const double x = 3, y = 5, w = 250, h = 54, r = 24;
    // Everything varies only vertically outside the caps, so the middle can
    // be stretched to any width.
    roundedRectPath(cr, x, y, w, h, r);
    setLinearGradient(cr, 0, y, 0, y + h,
                      {{0, hex(0xD2763A)}, {0.5, hex(0xA8471A)}, {1, hex(0x6E2A0C)}});
    cairo_fill_preserve(cr);
    setSource(cr, kFrameDark);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    // Gold rim, as on the balloon frame.
    roundedRectPath(cr, x + 2.5, y + 2.5, w - 5, h - 5, r - 2.5);
    setSource(cr, withAlpha(kFrameGold, 0.9));
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
    // Sheen on the upper half, light from above.
    roundedRectPath(cr, x + 6, y + 5, w - 12, h * 0.45, r - 6);
    setLinearGradient(cr, 0, y + 5, 0, y + 5 + h * 0.45,
                      {{0, hex(0xFFFFFF, 0.38)}, {1, hex(0xFFFFFF, 0.04)}});
    cairo_fill(cr);
    out.addToPack("targa.dat", "button.tga", writeTga(canvas.toImage()));
}

void whiteArt(Output& out) {
    Image image(64, 64);
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = 255;
    out.addToPack("jpeg.dat", "white.jpg", writeJpeg(image, 95));
}

void flareArt(Output& out) {
    Image image(128, 64);
    for (int py = 0; py < image.height; ++py) {
        const double v = (py + 0.5) / image.height - 0.5;  // across the beam
        const double across = std::exp(-(v * v) / (2 * 0.07 * 0.07)) * 0.8 +
                              std::exp(-(v * v) / (2 * 0.2 * 0.2)) * 0.35;
        for (int px = 0; px < image.width; ++px) {
            const double u = (px + 0.5) / image.width;  // along the beam
            const double along = 0.8 + 0.2 * std::sin(M_PI * u);
            const double value = std::fmin(1.0, across * along);
            // A slightly cool white core, so a tinted bolt keeps a bright heart.
            uint8_t* p = image.at(px, py);
            p[0] = uint8_t(std::lround(255 * value));
            p[1] = uint8_t(std::lround(250 * value));
            p[2] = uint8_t(std::lround(244 * value));
            p[3] = 255;
        }
    }
    out.addToPack("jpeg.dat", "flare.jpg", writeJpeg(image, 92));
}

void lightningArt(Output& out) {
    Canvas canvas(128, 128);
    cairo_t* cr = canvas.cr();
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    ArtRandom random(5151);
    std::vector<std::pair<double, double>> points = {{40, 4}};
    while (points.back().second < 124) {
        const double px = std::fmin(110, std::fmax(18, points.back().first + random.range(-16, 18)));
        points.push_back({px, std::fmin(124, points.back().second + random.range(8, 16))});
    }
    auto boltPath = [&points](cairo_t* c) {
        cairo_move_to(c, points[0].first, points[0].second);
        for (const auto& [x, y] : points) cairo_line_to(c, x, y);
        cairo_set_line_join(c, CAIRO_LINE_JOIN_ROUND);
    };
    Canvas glow(128, 128);
    cairo_t* g = glow.cr();
    boltPath(g);
    setSource(g, hex(0x8FB8FF, 0.9));
    cairo_set_line_width(g, 10);
    cairo_stroke(g);
    blur(glow, 6);
    canvas.paintCanvas(glow);
    boltPath(cr);
    setSource(cr, hex(0xF4F8FF));
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    out.addToPack("jpeg.dat", "lightning.jpg", writeJpeg(canvas.toImage(), 90));
}

}  // namespace

void effectsArt(Output& out) {
    balloonArt(out);
    buttonArt(out);
    whiteArt(out);
    flareArt(out);
    lightningArt(out);
}

}  // namespace datagen

