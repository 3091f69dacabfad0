// Immediate-mode drawing on the display device: state switches with fixed
// meanings, quads by corners or rectangles, rotated sprites, camera-facing
// billboards, the global colour multiplier and triangle counting.
//
// Screen units: an 800 x 600 logical screen with the origin at its centre,
// x from -400 (left) to 400 (right), y from -300 (bottom) to 300 (top).
// Pixel rectangles use top-left pixel coordinates of the same screen.
// Fixed depths: 10 for pixel rectangles and rotated glyphs, 45 for text, 35
// for highlight bars.
//
// Every primitive is one call per quad; the device merges consecutive quads
// that share state and texture into one draw call.
#pragma once

#include <cstdint>

#include "base/math.h"
#include "platform/device.h"
#include "platform/null/null_device.h"

namespace tessaly::gfx {

struct TextureEntry;

struct DrawState {
    platform::Device* device = &platform::g_idleDevice;  // never null: see installDevice
    float colorMultiplier[4] = {1, 1, 1, 1};  // r, g, b, a
    int triangleCount = 0;                    // reset each frame by the frame loop
    base::Matrix perspective = base::Matrix::identity();  // from the window's aspect
    uint32_t billboardColor = 0xFFFFFFFFu;
};

inline DrawState g_draw;

// Makes `device` the device of the drawing code and the texture manager;
// null installs the idle null device (platform/null), so drawing code never
// needs to ask whether a device exists.
void installDevice(platform::Device* device);

// Colour given as bytes, multiplied per channel by the colour multiplier and
// truncated.
uint32_t modulateColor(uint32_t argb);
uint32_t modulateColor(int r, int g, int b, int a);

// State operations.
void begin2D();
// which: 0 lighting, 1 depth test, 2 depth writes, 3 ortho (enable) /
// perspective (disable) projection, 4 alpha blending, 5 alpha test,
// 6 point sprites, 7 linear (enable) / point (disable) filtering.
void enableState(int which);
void disableState(int which);
// 0 normal alpha, 1 additive by colour (src colour, one), 2 opaque.
void setBlendMode(int mode);
void setTexture(const TextureEntry* entry);
void setTextureWithNormalCoords(const TextureEntry* entry);
void setColorMultiplier(float r, float g, float b, float a);
void setPerspectiveFromClient(int clientWidth, int clientHeight);
base::Matrix orthoProjection(float zFar);  // 800 x 600, near 1

// Quad primitives. Each submits two triangles.
void drawRect(float x0, float y0, float x1, float y1, float uLeft, float vTop, float uRight,
              float vBottom, uint32_t argb, float depth);
void drawPixelRect(float x0, float y0, float x1, float y1, float uLeft, float vTop, float uRight,
                   float vBottom, uint32_t argb);
void drawQuad(const base::Vec3 corners[4], const base::Vec2 uv[4], uint32_t argb);
void drawQuadColors(const base::Vec3 corners[4], const uint32_t argb[4]);
void drawSprite(float x, float y, float angleDeg, float w, float h, float uLeft, float vTop,
                float uRight, float vBottom, uint32_t argb, float depth);
// drawSprite turned about (pivotX, pivotY) instead of its centre: hinged
// branches swing about one end.
void drawSpriteAbout(float x, float y, float pivotX, float pivotY, float angleDeg, float w, float h,
                     float uLeft, float vTop, float uRight, float vBottom, uint32_t argb, float depth);
void drawTexturedQuad(const base::Vec3 corners[4]);
void drawBillboard(const TextureEntry* texture, base::Vec3 position, float angleDeg, float size);

// The cursor in screen units, mapped through the letterboxed window.
void screenToWorldCursor(float* outX, float* outY);
void worldToScreenCursor(float x, float y);

}  // namespace tessaly::gfx
