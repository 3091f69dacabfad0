// The OpenGL device on a real (offscreen) window: what it draws is read back
// and checked, and the batching is seen in the draw-call counts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/device.h"
#include "platform/window.h"

namespace tessaly::platform {
namespace {

struct Rgba {
    int r, g, b, a;
};

class GlDeviceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!windowOpen()) s_opened = openWindow({false, "Tessaly test"});
    }
    static void TearDownTestSuite() { closeWindow(); }

    void SetUp() override {
        ASSERT_TRUE(s_opened) << "no OpenGL window: " << windowError();
        m_device = windowDevice();
        ASSERT_NE(m_device, nullptr);
        // 2D drawing as the game sets it up: screen units, no depth test.
        m_device->setTransform(TransformKind::World, base::Matrix::identity());
        m_device->setTransform(TransformKind::View, base::Matrix::identity());
        m_device->setTransform(TransformKind::Projection, base::orthoLH(800, 600, 1, 100));
        m_device->setTransform(TransformKind::Texture0, base::Matrix::identity());
        m_device->setRenderState(RenderState::DepthTest, 0);
        m_device->setRenderState(RenderState::Cull, CullNone);
        m_device->setRenderState(RenderState::AlphaBlend, 0);
        m_device->setRenderState(RenderState::AlphaTest, 0);
        m_device->setRenderState(RenderState::TextureFilter, FilterPoint);
        m_device->setTexture(0);
        m_device->clear(ClearColor | ClearDepth, 0xFF000000u, 1.0f, 0);
        m_pixels.assign(800 * 600 * 4, 0);
    }

    // A quad as a 4-vertex strip, corners top-left, top-right, bottom-left,
    // bottom-right (screen units, y up).
    void quad(float x0, float y0, float x1, float y1, uint32_t argb, float z = 10,
              float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1) {
        const VertexPCT v[4] = {{x0, y0, z, argb, u0, v0},
                                {x1, y0, z, argb, u1, v0},
                                {x0, y1, z, argb, u0, v1},
                                {x1, y1, z, argb, u1, v1}};
        m_device->drawPrimitive(Primitive::TriangleStrip, VertexFormat::PosColorTex, v, 4);
    }

    // Pixel of the picture, x right and y down from the top-left.
    Rgba pixel(int x, int y) {
        const uint8_t* p = &m_pixels[(size_t(y) * 800 + size_t(x)) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
    void read() { ASSERT_TRUE(m_device->readPixels(m_pixels.data())); }

    static void expectColor(Rgba got, Rgba want, const char* where) {
        EXPECT_NEAR(got.r, want.r, 1) << where;
        EXPECT_NEAR(got.g, want.g, 1) << where;
        EXPECT_NEAR(got.b, want.b, 1) << where;
        EXPECT_EQ(got.a, 255) << where;
    }

    static inline bool s_opened = false;
    Device* m_device = nullptr;
    std::vector<uint8_t> m_pixels;
};

TEST_F(GlDeviceTest, ClearAndQuadLandWhereTheScreenUnitsSay) {
    m_device->clear(ClearColor, 0xFF102030u, 1.0f, 0);
    quad(-400, 300, 0, 0, 0xFFFF0000u);  // the top-left quarter, red
    read();
    EXPECT_EQ(m_device->width(), 800);
    EXPECT_EQ(m_device->height(), 600);
    expectColor(pixel(0, 0), {255, 0, 0, 255}, "top-left corner");
    expectColor(pixel(399, 299), {255, 0, 0, 255}, "inside the quad's bottom-right");
    expectColor(pixel(400, 0), {0x10, 0x20, 0x30, 255}, "right of the quad");
    expectColor(pixel(0, 300), {0x10, 0x20, 0x30, 255}, "below the quad");
    expectColor(pixel(799, 599), {0x10, 0x20, 0x30, 255}, "bottom-right corner");
}

TEST_F(GlDeviceTest, TexturesAreBgraWithTheFirstRowOnTop) {
    // 2 x 2 texels, bytes B, G, R, A: red, green / blue, white.
    const uint8_t texels[16] = {0, 0, 255, 255, 0, 255, 0, 255,  //
                                255, 0, 0, 255, 255, 255, 255, 255};
    const TextureId tex = m_device->createTexture(2, 2);
    ASSERT_NE(tex, 0u);
    m_device->updateTexture(tex, 0, 0, 2, 2, texels, 8);
    m_device->setTexture(tex);
    quad(-400, 300, 400, -300, 0xFFFFFFFFu);
    read();
    expectColor(pixel(100, 100), {255, 0, 0, 255}, "top-left texel");
    expectColor(pixel(700, 100), {0, 255, 0, 255}, "top-right texel");
    expectColor(pixel(100, 500), {0, 0, 255, 255}, "bottom-left texel");
    expectColor(pixel(700, 500), {255, 255, 255, 255}, "bottom-right texel");
    // The vertex colour modulates the texture.
    m_device->setTexture(tex);
    quad(-400, 300, 400, -300, 0xFF808080u);
    read();
    expectColor(pixel(700, 500), {128, 128, 128, 255}, "modulated white texel");
    m_device->setTexture(0);
    m_device->destroyTexture(tex);
}

TEST_F(GlDeviceTest, UpdatingATextureKeepsWhatWasAlreadyDrawnWithIt) {
    const uint8_t red[4] = {0, 0, 255, 255}, blue[4] = {255, 0, 0, 255};
    const TextureId tex = m_device->createTexture(1, 1);
    m_device->updateTexture(tex, 0, 0, 1, 1, red, 4);
    m_device->setTexture(tex);
    quad(-400, 300, 0, 0, 0xFFFFFFFFu);
    m_device->updateTexture(tex, 0, 0, 1, 1, blue, 4);
    quad(0, 300, 400, 0, 0xFFFFFFFFu);
    read();
    expectColor(pixel(100, 100), {255, 0, 0, 255}, "drawn before the update");
    expectColor(pixel(700, 100), {0, 0, 255, 255}, "drawn after the update");
    m_device->setTexture(0);
    m_device->destroyTexture(tex);
}

TEST_F(GlDeviceTest, AlphaTestAndBlendModes) {
    m_device->clear(ClearColor, 0xFF404040u, 1.0f, 0);
    m_device->setRenderState(RenderState::AlphaTest, 1);
    m_device->setRenderState(RenderState::AlphaRef, 128);
    quad(-400, 300, -200, 0, 0x7FFF0000u);  // alpha 127 < 128: discarded
    quad(-200, 300, 0, 0, 0x80FF0000u);     // alpha 128: passes
    m_device->setRenderState(RenderState::AlphaTest, 0);
    m_device->setRenderState(RenderState::AlphaBlend, 1);
    m_device->setRenderState(RenderState::SrcBlend, BlendSrcAlpha);
    m_device->setRenderState(RenderState::DstBlend, BlendInvSrcAlpha);
    quad(0, 300, 200, 0, 0x80FFFFFFu);  // half white over grey
    m_device->setRenderState(RenderState::SrcBlend, BlendSrcColor);
    m_device->setRenderState(RenderState::DstBlend, BlendOne);
    quad(200, 300, 400, 0, 0xFF404040u);  // additive by colour: 0x40 + 0x40 * 0x40/255
    read();
    expectColor(pixel(100, 100), {0x40, 0x40, 0x40, 255}, "alpha below the reference");
    expectColor(pixel(300, 100), {255, 0, 0, 255}, "alpha at the reference");
    expectColor(pixel(500, 100), {160, 160, 160, 255}, "normal alpha blend");
    expectColor(pixel(700, 100), {80, 80, 80, 255}, "additive blend");
}

TEST_F(GlDeviceTest, DepthTestKeepsTheNearerQuadAndCullingRemovesByWinding) {
    m_device->setRenderState(RenderState::DepthTest, 1);
    m_device->setRenderState(RenderState::DepthWrite, 1);
    quad(-400, 300, 0, 0, 0xFF00FF00u, 20);  // near, green
    quad(-400, 300, 0, 0, 0xFFFF0000u, 80);  // far, red: hidden
    m_device->setRenderState(RenderState::DepthTest, 0);

    // A triangle wound clockwise on screen, and one counter-clockwise.
    const VertexPCT clockwise[3] = {{0, 300, 10, 0xFFFFFFFFu, 0, 0},
                                    {400, 300, 10, 0xFFFFFFFFu, 0, 0},
                                    {0, 0, 10, 0xFFFFFFFFu, 0, 0}};
    const VertexPCT counterClockwise[3] = {{0, -300, 10, 0xFF0000FFu, 0, 0},
                                           {0, 0, 10, 0xFF0000FFu, 0, 0},
                                           {-400, -300, 10, 0xFF0000FFu, 0, 0}};
    m_device->setRenderState(RenderState::Cull, CullCounterClockwise);
    m_device->drawPrimitive(Primitive::TriangleList, VertexFormat::PosColorTex, clockwise, 3);
    m_device->drawPrimitive(Primitive::TriangleList, VertexFormat::PosColorTex, counterClockwise, 3);
    m_device->setRenderState(RenderState::Cull, CullNone);
    read();
    expectColor(pixel(100, 100), {0, 255, 0, 255}, "nearer quad");
    expectColor(pixel(450, 50), {255, 255, 255, 255}, "clockwise triangle kept");
    expectColor(pixel(350, 550), {0, 0, 0, 255}, "counter-clockwise triangle culled");
}

TEST_F(GlDeviceTest, ConsecutiveQuadsShareOneDrawCall) {
    m_device->present();
    m_device->stats() = DrawStats{};
    for (int i = 0; i < 100; ++i) quad(-400 + i * 8, 300, -396 + i * 8, 290, 0xFFFFFFFFu);
    // A quad given as a six-vertex list joins the same batch.
    const VertexPCT list[6] = {{0, 0, 10, 0xFFFFFFFFu, 0, 0},  {10, 0, 10, 0xFFFFFFFFu, 0, 0},
                               {10, -10, 10, 0xFFFFFFFFu, 0, 0}, {0, 0, 10, 0xFFFFFFFFu, 0, 0},
                               {10, -10, 10, 0xFFFFFFFFu, 0, 0}, {0, -10, 10, 0xFFFFFFFFu, 0, 0}};
    m_device->drawPrimitive(Primitive::TriangleList, VertexFormat::PosColorTex, list, 6);
    m_device->present();
    EXPECT_EQ(m_device->stats().primitiveCalls, 101u);
    EXPECT_EQ(m_device->stats().triangles, 202u);
    EXPECT_EQ(m_device->stats().drawCalls, 1u);

    // Every texture change ends a batch.
    const TextureId a = m_device->createTexture(1, 1), b = m_device->createTexture(1, 1);
    m_device->stats() = DrawStats{};
    for (int i = 0; i < 10; ++i) {
        m_device->setTexture(i % 2 ? a : b);
        quad(-400, 300, -390, 290, 0xFFFFFFFFu);
    }
    // A state set to the value it has changes nothing.
    m_device->setRenderState(RenderState::AlphaBlend, 0);
    quad(-400, 300, -390, 290, 0xFFFFFFFFu);
    m_device->present();
    EXPECT_EQ(m_device->stats().drawCalls, 10u);
    EXPECT_EQ(m_device->stats().textureBinds, 10u);
    EXPECT_EQ(m_device->stats().stateChanges, 0u);
    m_device->setTexture(0);
    m_device->destroyTexture(a);
    m_device->destroyTexture(b);
}

TEST_F(GlDeviceTest, AFrameOfManyDrawsIsOneUpload) {
    const TextureId a = m_device->createTexture(1, 1), b = m_device->createTexture(1, 1);
    m_device->present();
    m_device->stats() = DrawStats{};
    for (int i = 0; i < 40; ++i) {
        m_device->setTexture(i % 2 ? a : b);
        m_device->setRenderState(RenderState::AlphaBlend, i % 3 == 0);
        quad(-400 + i * 10, 300, -392 + i * 10, 290, 0xFFFFFFFFu);
    }
    m_device->present();
    EXPECT_EQ(m_device->stats().drawCalls, 40u);
    EXPECT_EQ(m_device->stats().flushes, 1u);
    EXPECT_EQ(m_device->stats().uploadedVertices, 160u);
    // A clear in the middle sends what came before it first.
    quad(-400, 300, -390, 290, 0xFFFFFFFFu);
    m_device->clear(ClearDepth, 0, 1, 0);
    quad(-400, 300, -390, 290, 0xFFFFFFFFu);
    m_device->present();
    EXPECT_EQ(m_device->stats().flushes, 3u);
    m_device->setTexture(0);
    m_device->destroyTexture(a);
    m_device->destroyTexture(b);
}

TEST_F(GlDeviceTest, UnsafePrimitivesAreNotDrawn) {
    m_device->present();
    m_device->stats() = DrawStats{};
    // An index past the vertices.
    const VertexPCT v[3] = {{-400, 300, 10, 0xFFFFFFFFu, 0, 0},
                            {400, 300, 10, 0xFFFFFFFFu, 0, 0},
                            {-400, -300, 10, 0xFFFFFFFFu, 0, 0}};
    const uint16_t badIndices[3] = {0, 1, 3};
    m_device->drawPrimitive(Primitive::TriangleList, VertexFormat::PosColorTex, v, 3, badIndices, 3);
    // More vertices than a batch holds.
    std::vector<VertexPCT> huge(size_t(kBatchMaxVertices) + 1, v[0]);
    m_device->drawPrimitive(Primitive::TriangleList, VertexFormat::PosColorTex, huge.data(),
                            int(huge.size()));
    // Too few vertices for a triangle, and none at all.
    m_device->drawPrimitive(Primitive::TriangleStrip, VertexFormat::PosColorTex, v, 2);
    m_device->drawPrimitive(Primitive::TriangleList, VertexFormat::PosColorTex, nullptr, 0);
    read();
    m_device->present();
    expectColor(pixel(10, 10), {0, 0, 0, 255}, "nothing drawn");
    EXPECT_EQ(m_device->stats().primitiveCalls, 4u);
    EXPECT_EQ(m_device->stats().triangles, 0u);
    EXPECT_EQ(m_device->stats().drawCalls, 0u);
    // A texture of impossible size is refused.
    EXPECT_EQ(m_device->createTexture(0, 16), 0u);
    EXPECT_EQ(m_device->createTexture(1 << 20, 16), 0u);
}

TEST_F(GlDeviceTest, BrightnessScalesTheWindowNotTheScreenshot) {
    m_device->clear(ClearColor, 0xFF646464u, 1.0f, 0);
    m_device->setBrightness(1.0f);
    m_device->present();
    read();
    m_device->setBrightness(0.5f);
    expectColor(pixel(400, 300), {100, 100, 100, 255}, "screenshot after a bright present");
}

TEST_F(GlDeviceTest, StoredBuffersLeaveTheFramesDrawingAlone) {
    // Buffers made between the draws of a frame (a mesh loading while the
    // loading screen draws) must not disturb the draws queued around them.
    quad(-400, 300, 0, 0, 0xFFFF0000u);
    const VertexPNT vertices[3] = {{0, 0, 0, 0, 0, 1, 0, 0}, {1, 0, 0, 0, 0, 1, 1, 0}, {0, 1, 0, 0, 0, 1, 0, 1}};
    const uint16_t indices[3] = {0, 1, 2};
    const BufferId vb = m_device->createVertexBuffer(VertexFormat::PosNormalTex, vertices, 3);
    const BufferId ib = m_device->createIndexBuffer(indices, 3);
    EXPECT_NE(vb, 0u);
    EXPECT_NE(ib, 0u);
    EXPECT_NE(vb, ib);
    EXPECT_EQ(m_device->createVertexBuffer(VertexFormat::PosNormalTex, vertices, 0), 0u);
    EXPECT_EQ(m_device->createIndexBuffer(nullptr, 3), 0u);
    quad(0, 0, 400, -300, 0xFF00FF00u);
    read();
    expectColor(pixel(100, 100), {255, 0, 0, 255}, "the quad before the buffers");
    expectColor(pixel(700, 500), {0, 255, 0, 255}, "the quad after them");
    m_device->destroyBuffer(vb);
    m_device->destroyBuffer(ib);
    m_device->destroyBuffer(0);
}

}  // namespace
}  // namespace tessaly::platform
