// The floor of the board: "field0.tga" (plain floor), "field1.tga" and
// "field2.tga" (squares of strength 1 and 2), their pulsing overlays
// "field1a.tga" and "field2a.tga", and "fieldspodsv.tga", the highlight of
// the cell under the pointer. All 64 x 64 texels, drawn as 46.2 x 46.2 unit
// quads on the cell centre: the 40-unit cell is the middle 55.4 texels, and
// the margin holds only a soft shadow, so that neighbouring tiles overlap in
// a faint dark seam.
//
// The floor is a pale, slightly translucent cushion, so the backdrop shows
// through a little and the saturated balls stand out on it. Squares are
// plates laid over that floor: strength 1 a honey-coloured glass, strength 2
// a riveted slate-blue steel plate, clearly heavier. Their overlays carry
// only light (a glowing inner rim and glints, transparent elsewhere), so the
// game can pulse them through vertex alpha or draw them additively.
#include <cmath>

#include "game_art.h"

namespace datagen::gameart {
namespace {

constexpr double kC = kPieceCentre;
// The cell's square in texels and the corner radius of the tiles.
constexpr double kCellTexels = kCellUnits * kTileTexelsPerUnit;  // 55.4
constexpr double kInset = (kPieceTexels - kCellTexels) / 2;      // 4.3
constexpr double kRadius = 9;

void cellPath(cairo_t* cr, double grow = 0) {
    roundedRectPath(cr, kInset - grow, kInset - grow, kCellTexels + 2 * grow,
                    kCellTexels + 2 * grow, kRadius + grow);
}

// The soft shadow of a tile in its margin.
void paintTileShadow(Canvas& canvas, double alpha) {
    Canvas shape(kPieceTexels, kPieceTexels);
    cellPath(shape.cr(), -1);
    setSource(shape.cr(), hex(0x000000));
    cairo_fill(shape.cr());
    paintDropShadow(canvas, shape, 1.2, 1.6, 4, hex(0x1A0E05, alpha));
}

// A cushion: a rounded square with a light rim above and left, a darker rim
// below and right, and a gently hollow face.
void paintCushion(cairo_t* cr, Rgba base, double alpha, double hollow) {
    cellPath(cr);
    setLinearGradient(cr, kInset, kInset, kInset + kCellTexels, kInset + kCellTexels,
                      {{0, withAlpha(shade(base, -hollow), alpha)},
                       {0.5, withAlpha(base, alpha)},
                       {1, withAlpha(shade(base, hollow * 0.6), alpha)}});
    cairo_fill(cr);
    // Rims: the outer edge catches the light on the top and left.
    cellPath(cr, -0.9);
    cairo_set_line_width(cr, 1.8);
    setLinearGradient(cr, kInset, kInset, kInset + kCellTexels, kInset + kCellTexels,
                      {{0, hex(0xFFFFFF, 0.85)}, {0.45, hex(0xFFFFFF, 0.25)},
                       {0.55, hex(0x3A2410, 0.12)}, {1, hex(0x3A2410, 0.45)}});
    cairo_stroke(cr);
    // The inner edge of the hollow: dark on the top and left.
    cellPath(cr, -3.2);
    cairo_set_line_width(cr, 2.2);
    setLinearGradient(cr, kInset, kInset, kInset + kCellTexels, kInset + kCellTexels,
                      {{0, hex(0x3A2410, 0.18 * hollow / 0.1)}, {0.5, hex(0x3A2410, 0)},
                       {1, hex(0xFFFFFF, 0.2)}});
    cairo_stroke(cr);
}

void paintFloor(Canvas& canvas) {
    paintTileShadow(canvas, 0.45);
    paintCushion(canvas.cr(), hex(0xDCCDB2), 0.74, 0.1);
    addGrain(canvas, 0.025, 101);
}

// A corner rivet of the steel plate.
void paintRivet(cairo_t* cr, double x, double y, double r) {
    cairo_arc(cr, x + 0.6, y + 0.8, r, 0, 2 * M_PI);
    setSource(cr, hex(0x0A1420, 0.55));
    cairo_fill(cr);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    setRadialGradient(cr, x - r * 0.4, y - r * 0.45, 0, x, y, r,
                      {{0, hex(0xFFFFFF)}, {0.35, hex(0xC8D4E0)}, {1, hex(0x4A5A6A)}});
    cairo_fill(cr);
}

// Strength 1: a honey glass plate with a narrow gold frame.
void paintSquare1(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    paintTileShadow(canvas, 0.55);
    paintCushion(cr, hex(0xF3E6CC), 0.85, 0.08);
    // The plate, a little smaller than the cell, standing on the floor.
    const double in = 4.2;
    Canvas plate(kPieceTexels, kPieceTexels);
    cellPath(plate.cr(), -in);
    setSource(plate.cr(), hex(0x000000));
    cairo_fill(plate.cr());
    paintDropShadow(canvas, plate, 0.8, 1.4, 2.5, hex(0x3A2008, 0.55));
    paintGlossyPanel(cr, kInset + in, kInset + in, kCellTexels - 2 * in, kCellTexels - 2 * in,
                     kRadius - 2, hex(0xE8A63A, 0.92), 2.4);
    // A warm glow in the glass.
    paintSoftGlow(cr, kC + 3, kC + 4, 20, hex(0xFFD27A, 0.35));
    cellPath(cr, -in - 0.6);
    cairo_set_line_width(cr, 1.2);
    setSource(cr, hex(0x7A4A10, 0.7));
    cairo_stroke(cr);
}

// Strength 2: a heavy steel plate with a double frame and four rivets.
void paintSquare2(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    paintTileShadow(canvas, 0.65);
    const double in = 2.6;
    cellPath(cr, 0);
    setSource(cr, hex(0x3A4A5C));
    cairo_fill(cr);
    paintGlossyPanel(cr, kInset + 0.5, kInset + 0.5, kCellTexels - 1, kCellTexels - 1, kRadius,
                     hex(0x5A7894), 3);
    // The inner panel, sunk into the frame.
    const double x = kInset + in + 4, w = kCellTexels - 2 * (in + 4);
    roundedRectPath(cr, x, x, w, w, kRadius - 4);
    setLinearGradient(cr, x, x, x + w, x + w,
                      {{0, hex(0x2A3A4E)}, {0.5, hex(0x4A6884)}, {1, hex(0x6A8AA8)}});
    cairo_fill(cr);
    roundedRectPath(cr, x, x, w, w, kRadius - 4);
    cairo_set_line_width(cr, 1.4);
    setLinearGradient(cr, x, x, x + w, x + w,
                      {{0, hex(0x0A1420, 0.8)}, {0.5, hex(0x0A1420, 0.2)},
                       {1, hex(0xE0ECF8, 0.6)}});
    cairo_stroke(cr);
    // A brushed sheen across the inner panel.
    cairo_save(cr);
    roundedRectPath(cr, x, x, w, w, kRadius - 4);
    cairo_clip(cr);
    setLinearGradient(cr, x, x + w, x + w, x,
                      {{0.3, hex(0xFFFFFF, 0)}, {0.5, hex(0xFFFFFF, 0.16)},
                       {0.56, hex(0xFFFFFF, 0.05)}, {0.7, hex(0xFFFFFF, 0)}});
    cairo_paint(cr);
    cairo_restore(cr);
    const double r0 = kInset + 5.2, r1 = kInset + kCellTexels - 5.2;
    paintRivet(cr, r0, r0, 2.4);
    paintRivet(cr, r1, r0, 2.4);
    paintRivet(cr, r0, r1, 2.4);
    paintRivet(cr, r1, r1, 2.4);
    addGrain(canvas, 0.03, 102);
}

// Overlays: a glowing line just inside the plate's edge, a soft inner glow
// and a couple of glints at the corners.
void paintOverlay(Canvas& canvas, Rgba glow, double inset, double lineWidth, bool rivets) {
    cairo_t* cr = canvas.cr();
    Canvas line(kPieceTexels, kPieceTexels);
    cellPath(line.cr(), -inset);
    cairo_set_line_width(line.cr(), lineWidth * 2.6);
    setSource(line.cr(), withAlpha(glow, 0.6));
    cairo_stroke(line.cr());
    blur(line, 3);
    canvas.paintCanvas(line);
    cellPath(cr, -inset);
    cairo_set_line_width(cr, lineWidth);
    setSource(cr, mix(glow, hex(0xFFFFFF), 0.6));
    cairo_stroke(cr);
    // Glints at the top-left and bottom-right corners.
    const double a = kInset + inset + 3, b = kInset + kCellTexels - inset - 3;
    for (const auto& [gx, gy, size] : {std::tuple{a, a, 7.0}, std::tuple{b, b, 5.0}}) {
        paintSoftGlow(cr, gx, gy, size, withAlpha(mix(glow, hex(0xFFFFFF), 0.5), 0.9));
        starPath(cr, gx, gy, size, size * 0.22, 4, 0);
        setSource(cr, hex(0xFFFFFF, 0.95));
        cairo_fill(cr);
    }
    if (rivets) {
        const double r0 = kInset + 5.2, r1 = kInset + kCellTexels - 5.2;
        for (const auto& [rx, ry] : {std::pair{r1, r0}, std::pair{r0, r1}})
            paintSoftGlow(cr, rx - 0.6, ry - 0.6, 3.5, hex(0xFFFFFF, 0.9), 0.3);
    }
}

void paintHighlight(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    // A soft fill and a bright rounded ring with a halo, in warm white.
    cellPath(cr, -2);
    setRadialGradient(cr, kC, kC, 4, kC, kC, kCellTexels * 0.72,
                      {{0, hex(0xFFF6D8, 0.05)}, {0.7, hex(0xFFF0C0, 0.2)},
                       {1, hex(0xFFE8A0, 0.4)}});
    cairo_fill(cr);
    Canvas halo(kPieceTexels, kPieceTexels);
    cellPath(halo.cr(), -0.5);
    cairo_set_line_width(halo.cr(), 5);
    setSource(halo.cr(), hex(0xFFD878, 0.9));
    cairo_stroke(halo.cr());
    blur(halo, 3.5);
    canvas.paintCanvas(halo);
    cellPath(cr, -1.2);
    cairo_set_line_width(cr, 2);
    setSource(cr, hex(0xFFFBEA, 0.95));
    cairo_stroke(cr);
}

}  // namespace

void generateBoardArt(Output& out) {
    struct Tile {
        const char* name;
        void (*paint)(Canvas&);
    };
    const Tile tiles[] = {
        {"field0.tga", paintFloor},
        {"field1.tga", paintSquare1},
        {"field1a.tga", [](Canvas& c) { paintOverlay(c, hex(0xFFC24A), 4.8, 1.5, false); }},
        {"field2.tga", paintSquare2},
        {"field2a.tga", [](Canvas& c) { paintOverlay(c, hex(0x8AD8FF), 1.6, 1.8, true); }},
        {"fieldspodsv.tga", paintHighlight},
    };
    for (const Tile& tile : tiles) {
        Canvas canvas(kPieceTexels, kPieceTexels);
        tile.paint(canvas);
        packTga(out, tile.name, canvas);
    }
}

}  // namespace datagen::gameart

