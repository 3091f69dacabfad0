// The sprite sheet of the spark system: "particles.tga" seen as 8 x 8 cells
// (cell n is column n mod 8, row n div 8), and the drawing of one rotated
// square sprite cut from it. The spark presets, rings and bursts live in
// menus/sparks and draw through drawSheetSprite.
//
// Depends on the texture manager (g_textures) and the quad primitives
// (g_draw). Cells outside 0..63 wrap into the sheet.
#pragma once

#include <cstdint>

namespace tessaly::gfx {

struct TextureEntry;

constexpr int kSheetCellsPerRow = 8;
constexpr float kSheetCellInset = 0.001f;  // keeps the filter off the neighbouring cells

struct SpriteSheet {
    TextureEntry* particles = nullptr;  // "particles.tga"
    TextureEntry* lightning = nullptr;  // "lightning.jpg", loaded with the sheet
};

inline SpriteSheet g_spriteSheet;

// Loads both pictures (required).
void loadSpriteSheet();

// Texture rectangle of a cell, inset at every edge.
struct SheetCellUv {
    float uLeft, vTop, uRight, vBottom;
};
SheetCellUv sheetCellUv(int cell);

// Blend of the sprites: 0 normal alpha, 1 additive (source alpha onto one),
// so that a fading alpha also fades an additive sprite.
void setSheetBlend(int blend);

// One square sprite of side `size` screen units centred on (x, y), rotated
// counter-clockwise by rotationDeg, in the given colour and blend. Nothing
// is drawn when size is 0 or red, green and blue are all 0.
void drawSheetSprite(float x, float y, float rotationDeg, float size, uint32_t argb, int blend,
                     int cell);

}  // namespace tessaly::gfx
