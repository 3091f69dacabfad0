// The default art of the game screen, shared by its generators:
//  - game_art.cpp: the pieces (eight balls, their shadow, joker, bomb,
//    superbomb, the diamond's turning frames) and the chain over a piece;
//  - game_art_board.cpp: floor tiles, squares and their pulsing overlays,
//    the cell highlight;
//  - game_art_panel.cpp: the panel on the right and everything drawn on it
//    (hearts, level bar, scene buttons, question button, hammer, its glow and
//    cursor) and the fade gradient;
//  - game_art_backdrop.cpp: the calm landscape behind the board until the
//    animated scenes exist.
// docs/game-art.md lists every file with its size and where the game screen
// draws it; keep the two in step.
//
// Sizes shared with the game screen: pieces and tiles are 64 x 64 texels;
// a piece is drawn as a 40 x 40 unit quad on its cell centre, a tile as a
// 46.2 x 46.2 unit quad (half-size 23.1) so that neighbours overlap a little.
//
// Depends on paint.h (the house light and shading) and image_io.h.
#pragma once

#include <cairo.h>

#include <string>

#include "datagen.h"
#include "image_io.h"
#include "paint.h"

namespace datagen::gameart {

constexpr int kPieceTexels = 64;        // pieces, shadow, chain, tiles, highlight
constexpr double kPieceCentre = 32;     // texel centre of a piece
constexpr double kBallRadius = 29.5;    // texels: a 37-unit ball in the 40-unit quad
constexpr double kTileQuadUnits = 46.2; // drawn size of a 64-texel tile
constexpr double kTileTexelsPerUnit = kPieceTexels / kTileQuadUnits;
constexpr double kCellUnits = 40;       // one board cell

// The game screen's warm panel palette (shared with the balloons' brown and
// gold so the whole screen reads as one set).
const Rgba kWoodDark = hex(0x2E1A0E);
const Rgba kWood = hex(0x5A341C);
const Rgba kWoodLight = hex(0x8A5A32);
const Rgba kGold = hex(0xD9A441);
const Rgba kGoldLight = hex(0xFFE6A0);
const Rgba kGoldDeep = hex(0x8A5A1A);
const Rgba kCream = hex(0xFFF4DC);
const Rgba kInk = hex(0x1A0E05);

double radians(double degrees);

// The file goes into "targa.dat" / "jpeg.dat".
void packTga(Output& out, const std::string& name, const Canvas& canvas);
void packJpeg(Output& out, const std::string& name, const Canvas& canvas, int quality = 90);

// Paths (current path of cr replaced), centred on (cx, cy).
// A heart `size` wide, point down.
void heartPath(cairo_t* cr, double cx, double cy, double size);
// A rhombus `w` x `h`.
void rhombusPath(cairo_t* cr, double cx, double cy, double w, double h);

// A shape lifted out of a surface lit from the top left: a dark rim below
// and right, a light rim above and left, then the face. `drawPath` sets the
// shape's path on cr (it is called several times).
template <typename PathFn>
void embossShape(cairo_t* cr, PathFn drawPath, Rgba face, Rgba light, Rgba dark, double depth) {
    cairo_save(cr);
    cairo_translate(cr, depth * 0.9, depth);
    drawPath(cr);
    setSource(cr, dark);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, -depth * 0.7, -depth * 0.8);
    drawPath(cr);
    setSource(cr, light);
    cairo_fill(cr);
    cairo_restore(cr);
    drawPath(cr);
    setSource(cr, face);
    cairo_fill(cr);
}

}  // namespace datagen::gameart
