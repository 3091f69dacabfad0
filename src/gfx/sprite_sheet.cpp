#include "gfx/sprite_sheet.h"

#include "gfx/draw.h"
#include "gfx/texture.h"
#include "platform/device.h"

namespace tessaly::gfx {

namespace {

constexpr float kSpriteDepth = 10;

}  // namespace

void loadSpriteSheet() {
    g_spriteSheet.particles = loadTexture("particles.tga");
    g_spriteSheet.lightning = loadTexture("lightning.jpg");
}

SheetCellUv sheetCellUv(int cell) {
    constexpr int kCells = kSheetCellsPerRow * kSheetCellsPerRow;
    cell = ((cell % kCells) + kCells) % kCells;
    const float step = 1.0f / kSheetCellsPerRow;
    const float u = float(cell % kSheetCellsPerRow) * step;
    const float v = float(cell / kSheetCellsPerRow) * step;
    return {u + kSheetCellInset, v + kSheetCellInset, u + step - kSheetCellInset,
            v + step - kSheetCellInset};
}

void setSheetBlend(int blend) {
    g_draw.device->setRenderState(platform::RenderState::SrcBlend, platform::BlendSrcAlpha);
    g_draw.device->setRenderState(platform::RenderState::DstBlend,
                                  blend == 1 ? platform::BlendOne : platform::BlendInvSrcAlpha);
}

void drawSheetSprite(float x, float y, float rotationDeg, float size, uint32_t argb, int blend,
                     int cell) {
    if (size == 0 || (argb & 0x00FFFFFFu) == 0) return;
    setSheetBlend(blend);
    setTexture(g_spriteSheet.particles);
    const SheetCellUv uv = sheetCellUv(cell);
    drawSprite(x, y, rotationDeg, size, size, uv.uLeft, uv.vTop, uv.uRight, uv.vBottom, argb,
               kSpriteDepth);
}

}  // namespace tessaly::gfx
