#include "gfx/draw.h"

#include <algorithm>
#include <cmath>

#include "gfx/camera.h"
#include "gfx/texture.h"
#include "platform/window.h"

namespace tessaly::gfx {

void installDevice(platform::Device* device) {
    g_draw.device = device ? device : &platform::g_idleDevice;
    g_textures.device = g_draw.device;
}

namespace {

using platform::BlendFactor;
using platform::Primitive;
using platform::RenderState;
using platform::TransformKind;
using platform::VertexFormat;
using platform::VertexPCT;
using platform::VertexPT;

constexpr float kPixelInset = 0.001f;  // keeps pixel rectangles off the neighbouring texels

// The shared vertex array every quad is written into before its call; the
// primitives are therefore not reentrant.
VertexPCT s_quad[6];
VertexPT s_plainQuad[6];

void state(RenderState s, uint32_t value) {
    g_draw.device->setRenderState(s, value);
}

void setBlend(BlendFactor src, BlendFactor dst) {
    state(RenderState::SrcBlend, src);
    state(RenderState::DstBlend, dst);
}

// Submits four corners given in order around the quad as a strip of two
// triangles (0, 1, 3 and 1, 3, 2 keep the corners' winding).
void submitQuad(const VertexPCT (&corners)[4]) {
    s_quad[0] = corners[0];
    s_quad[1] = corners[1];
    s_quad[2] = corners[3];
    s_quad[3] = corners[2];
    g_draw.triangleCount += 2;
    g_draw.device->drawPrimitive(Primitive::TriangleStrip, VertexFormat::PosColorTex, s_quad, 4);
}

uint8_t scaleChannel(int value, float factor) {
    const float v = float(value) * factor;
    return uint8_t(std::clamp(v, 0.0f, 255.0f));
}

}  // namespace

uint32_t modulateColor(int r, int g, int b, int a) {
    const float* m = g_draw.colorMultiplier;
    return uint32_t(scaleChannel(a, m[3])) << 24 | uint32_t(scaleChannel(r, m[0])) << 16 |
           uint32_t(scaleChannel(g, m[1])) << 8 | uint32_t(scaleChannel(b, m[2]));
}

uint32_t modulateColor(uint32_t argb) {
    return modulateColor(int((argb >> 16) & 0xFF), int((argb >> 8) & 0xFF), int(argb & 0xFF),
                         int(argb >> 24));
}

base::Matrix orthoProjection(float zFar) { return base::orthoLH(800, 600, 1, zFar); }

void begin2D() {
    state(RenderState::DepthTest, 0);
    setBlend(platform::BlendSrcAlpha, platform::BlendInvSrcAlpha);
    state(RenderState::AlphaBlend, 1);
    state(RenderState::AlphaTest, 1);
    state(RenderState::AlphaRef, 1);
    state(RenderState::TextureFilter, platform::FilterLinear);
    g_draw.device->setTransform(TransformKind::World, base::Matrix::identity());
    g_draw.device->setTransform(TransformKind::View, base::Matrix::identity());
    g_draw.device->setTransform(TransformKind::Projection, orthoProjection(100));
}

static void switchState(int which, bool on) {
    switch (which) {
    case 0: state(RenderState::Lighting, on); break;
    case 1: state(RenderState::DepthTest, on); break;
    case 2: state(RenderState::DepthWrite, on); break;
    case 3:
        g_draw.device->setTransform(TransformKind::Projection,
                                        on ? orthoProjection(500) : g_draw.perspective);
        break;
    case 4: state(RenderState::AlphaBlend, on); break;
    case 5: state(RenderState::AlphaTest, on); break;
    case 6: break;  // point sprites: the devices draw no points, nothing to switch
    case 7: state(RenderState::TextureFilter, on ? platform::FilterLinear : platform::FilterPoint); break;
    default: break;
    }
}

void enableState(int which) { switchState(which, true); }
void disableState(int which) { switchState(which, false); }

void setBlendMode(int mode) {
    switch (mode) {
    case 0: setBlend(platform::BlendSrcAlpha, platform::BlendInvSrcAlpha); break;
    case 1: setBlend(platform::BlendSrcColor, platform::BlendOne); break;
    case 2: setBlend(platform::BlendOne, platform::BlendZero); break;
    default: break;
    }
}

void setTexture(const TextureEntry* entry) {
    // Quads always take their coordinates from the vertices, whatever a
    // shiny mesh left behind.
    state(RenderState::TexCoordSource, platform::TexCoordVertex);
    g_draw.device->setTexture(entry ? entry->texture : 0);
}

void setTextureWithNormalCoords(const TextureEntry* entry) {
    state(RenderState::TexCoordSource, platform::TexCoordCameraNormal);
    g_draw.device->setTexture(entry ? entry->texture : 0);
}

void setColorMultiplier(float r, float g, float b, float a) {
    g_draw.colorMultiplier[0] = r;
    g_draw.colorMultiplier[1] = g;
    g_draw.colorMultiplier[2] = b;
    g_draw.colorMultiplier[3] = a;
}

void setPerspectiveFromClient(int clientWidth, int clientHeight) {
    const float aspect =
        clientWidth > 0 && clientHeight > 0 ? float(clientWidth) / float(clientHeight) : 800.0f / 600;
    g_draw.perspective = base::perspectiveFovLH(base::kPi / 4, aspect, 5, 400);
}

void drawRect(float x0, float y0, float x1, float y1, float uLeft, float vTop, float uRight,
              float vBottom, uint32_t argb, float depth) {
    const uint32_t c = modulateColor(argb);
    submitQuad({{x0, y0, depth, c, uLeft, vTop},
                {x1, y0, depth, c, uRight, vTop},
                {x1, y1, depth, c, uRight, vBottom},
                {x0, y1, depth, c, uLeft, vBottom}});
}

void drawPixelRect(float x0, float y0, float x1, float y1, float uLeft, float vTop, float uRight,
                   float vBottom, uint32_t argb) {
    drawRect(x0 - 400, 300 - y0, x1 - 400, 300 - y1, uLeft + kPixelInset, vTop + kPixelInset,
             uRight - kPixelInset, vBottom - kPixelInset, argb, 10);
}

void drawQuad(const base::Vec3 corners[4], const base::Vec2 uv[4], uint32_t argb) {
    const uint32_t c = modulateColor(argb);
    VertexPCT v[4];
    for (int i = 0; i < 4; ++i) v[i] = {corners[i].x, corners[i].y, corners[i].z, c, uv[i].x, uv[i].y};
    submitQuad(v);
}

void drawQuadColors(const base::Vec3 corners[4], const uint32_t argb[4]) {
    static constexpr float kU[4] = {0, 0, -1, -1};
    static constexpr float kV[4] = {0, -1, -1, 0};
    static constexpr int kOrder[6] = {0, 1, 2, 0, 2, 3};
    for (int i = 0; i < 6; ++i) {
        const int k = kOrder[i];
        s_quad[i] = {corners[k].x, corners[k].y, corners[k].z, modulateColor(argb[k]), kU[k], kV[k]};
    }
    g_draw.triangleCount += 2;
    g_draw.device->drawPrimitive(Primitive::TriangleList, VertexFormat::PosColorTex, s_quad, 6);
}

void drawSprite(float x, float y, float angleDeg, float w, float h, float uLeft, float vTop,
                float uRight, float vBottom, uint32_t argb, float depth) {
    drawSpriteAbout(x, y, x, y, angleDeg, w, h, uLeft, vTop, uRight, vBottom, argb, depth);
}

void drawSpriteAbout(float x, float y, float pivotX, float pivotY, float angleDeg, float w, float h,
                     float uLeft, float vTop, float uRight, float vBottom, uint32_t argb, float depth) {
    const float a = angleDeg * base::kDegToRad;
    const float cs = std::cos(a), sn = std::sin(a);
    const float hw = w / 2, hh = h / 2;
    // Corners relative to the pivot, turned, then put back.
    const float dx = x - pivotX, dy = y - pivotY;
    const float local[4][2] = {{dx - hw, dy + hh}, {dx + hw, dy + hh}, {dx + hw, dy - hh}, {dx - hw, dy - hh}};
    const float u[4] = {uLeft, uRight, uRight, uLeft};
    const float v[4] = {vTop, vTop, vBottom, vBottom};
    const uint32_t c = modulateColor(argb);
    VertexPCT q[4];
    for (int i = 0; i < 4; ++i) {
        const float lx = local[i][0], ly = local[i][1];
        q[i] = {pivotX + lx * cs - ly * sn, pivotY + lx * sn + ly * cs, depth, c, u[i], v[i]};
    }
    submitQuad(q);
}

void drawTexturedQuad(const base::Vec3 corners[4]) {
    static constexpr float kU[4] = {0, 0, -1, -1};
    static constexpr float kV[4] = {0, -1, -1, 0};
    static constexpr int kOrder[6] = {0, 1, 2, 0, 2, 3};
    for (int i = 0; i < 6; ++i) {
        const int k = kOrder[i];
        s_plainQuad[i] = {corners[k].x, corners[k].y, corners[k].z, kU[k], kV[k]};
    }
    g_draw.triangleCount += 2;
    g_draw.device->drawPrimitive(Primitive::TriangleList, VertexFormat::PosTex, s_plainQuad, 6);
}

void drawBillboard(const TextureEntry* texture, base::Vec3 position, float angleDeg, float size) {
    if (!gfx::g_camera.sphereVisible(position.x, position.y, position.z, size)) return;
    state(RenderState::AlphaBlend, 1);
    setBlendMode(0);
    setTexture(texture);
    // The camera's right and up axes, turned by the angle within their plane.
    const float a = angleDeg * base::kDegToRad;
    const float cs = std::cos(a), sn = std::sin(a);
    const base::Vec3 right = gfx::g_camera.rightAxis(), up = gfx::g_camera.upAxis();
    const base::Vec3 x = (right * cs + up * sn) * size;
    const base::Vec3 y = (up * cs - right * sn) * size;
    const base::Vec3 corners[4] = {position - x + y, position + x + y, position + x - y, position - x - y};
    const base::Vec2 uv[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    drawQuad(corners, uv, g_draw.billboardColor);
}

void screenToWorldCursor(float* outX, float* outY) {
    float px = 0, py = 0;
    platform::cursorPosition(&px, &py);
    if (outX) *outX = px - 400;
    if (outY) *outY = 300 - py;
}

void worldToScreenCursor(float x, float y) { platform::setCursorPosition(x + 400, 300 - y); }

}  // namespace tessaly::gfx
