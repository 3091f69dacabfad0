#include <gtest/gtest.h>

#include "platform/null/null_device.h"

namespace tessaly::platform {
namespace {

const VertexPCT kQuad[4] = {
    {0, 0, 1, 0xFF112233u, 0, 0}, {1, 0, 1, 0xFF112233u, 1, 0},
    {0, 1, 1, 0xFF112233u, 0, 1}, {1, 1, 1, 0xFF112233u, 1, 1}};

const uint16_t kTriangle[3] = {0, 1, 2};

void drawQuad(Device& d) { d.drawPrimitive(Primitive::TriangleStrip, VertexFormat::PosColorTex, kQuad, 4); }

TEST(NullDevice, StartsWithTheDeviceDefaultsAndCountsRealChanges) {
    NullDevice d;
    EXPECT_EQ(d.width(), 800);
    EXPECT_EQ(d.renderState(RenderState::AlphaRef), 128u);
    EXPECT_EQ(d.renderState(RenderState::Cull), uint32_t(CullCounterClockwise));
    EXPECT_EQ(d.renderState(RenderState::DepthTest), 1u);

    d.setRenderState(RenderState::AlphaBlend, 1);
    d.setRenderState(RenderState::AlphaBlend, 1);  // unchanged: not a change
    d.setRenderState(RenderState::AlphaBlend, 0);
    EXPECT_EQ(d.stats().stateChanges, 2u);

    base::Matrix m = base::Matrix::identity();
    m.m[3][0] = 5;
    d.setTransform(TransformKind::View, m);
    EXPECT_EQ(d.transform(TransformKind::View).m[3][0], 5);
    EXPECT_FALSE(d.readPixels(nullptr));
}

// How many backend draw calls a frame of operations costs.
TEST(NullDevice, MergesConsecutiveCallsIntoDrawCalls) {
    struct Case {
        const char* name;
        void (*run)(NullDevice&);
        uint64_t drawCalls;
    };
    const Case cases[] = {
        {"three quads, nothing between", [](NullDevice& d) { for (int i = 0; i < 3; ++i) drawQuad(d); }, 1},
        {"a state change splits",
         [](NullDevice& d) {
             drawQuad(d);
             d.setRenderState(RenderState::DstBlend, BlendOne);
             drawQuad(d);
         },
         2},
        {"setting an unchanged state or binding does not split",
         [](NullDevice& d) {
             drawQuad(d);
             d.setRenderState(RenderState::DepthTest, 1);
             d.setTexture(0);
             d.createTexture(4, 4);
             drawQuad(d);
         },
         1},
        {"a texture bind splits",
         [](NullDevice& d) {
             const TextureId t = d.createTexture(4, 4);
             drawQuad(d);
             d.setTexture(t);
             drawQuad(d);
         },
         2},
        {"a texture update splits",
         [](NullDevice& d) {
             const TextureId t = d.createTexture(1, 1);
             const uint8_t px[4] = {};
             drawQuad(d);
             d.updateTexture(t, 0, 0, 1, 1, px, 4);
             drawQuad(d);
         },
         2},
        {"uncoloured and indexed calls merge",
         [](NullDevice& d) {
             drawQuad(d);
             const VertexPT v[6] = {};
             d.drawPrimitive(Primitive::TriangleList, VertexFormat::PosTex, v, 6);
             d.drawPrimitive(Primitive::TriangleList, VertexFormat::PosColorTex, kQuad, 4, kTriangle, 3);
         },
         1},
        {"lit vertices split",
         [](NullDevice& d) {
             const VertexPNT v[3] = {};
             drawQuad(d);
             d.drawPrimitive(Primitive::TriangleList, VertexFormat::PosNormalTex, v, 3);
             d.drawPrimitive(Primitive::TriangleList, VertexFormat::PosNormalTex, v, 3);
             drawQuad(d);
         },
         3},
        {"calls that draw nothing cost nothing",
         [](NullDevice& d) {
             const uint16_t bad[3] = {0, 1, 9};
             d.drawPrimitive(Primitive::TriangleList, VertexFormat::PosColorTex, kQuad, 4, bad, 3);
             d.drawPrimitive(Primitive::TriangleStrip, VertexFormat::PosColorTex, kQuad, 2);
             d.drawPrimitive(Primitive::TriangleStrip, VertexFormat::PosColorTex, nullptr, 4);
         },
         0},
        {"present ends the batch", [](NullDevice& d) { drawQuad(d); d.present(); drawQuad(d); }, 2},
        {"a batch holds 16384 quads",
         [](NullDevice& d) { for (int i = 0; i < 16385; ++i) drawQuad(d); }, 2},
    };
    for (const Case& c : cases) {
        NullDevice d;
        c.run(d);
        d.present();
        EXPECT_EQ(d.stats().drawCalls, c.drawCalls) << c.name;
    }
}

TEST(NullDevice, CountsTrianglesAndRecordsVerticesOnRequest) {
    NullDevice d;
    drawQuad(d);
    EXPECT_TRUE(d.calls.empty());  // recording is off by default

    d.recordVertices = true;
    drawQuad(d);
    const VertexPNT lit[3] = {{1, 2, 3, 0, 0, 1, 0.5f, 0.25f}, {}, {}};
    const uint16_t idx[3] = {0, 1, 2};
    d.drawPrimitive(Primitive::TriangleList, VertexFormat::PosNormalTex, lit, 3, idx, 3);

    EXPECT_EQ(d.stats().primitiveCalls, 3u);
    EXPECT_EQ(d.stats().triangles, 5u);
    EXPECT_EQ(d.stats().drawCalls, 1u);  // the quads; the lit triangle waits for a flush
    ASSERT_EQ(d.calls.size(), 2u);
    EXPECT_EQ(d.calls[0].vertexCount, 4);
    EXPECT_FALSE(d.calls[0].startedBatch);  // merged into the unrecorded first quad
    EXPECT_EQ(d.vertices[3].u, 1.0f);
    EXPECT_EQ(d.vertices[0].color, 0xFF112233u);
    EXPECT_EQ(d.calls[1].indexCount, 3);
    const RecordedVertex& v = d.vertices[size_t(d.calls[1].firstVertex)];
    EXPECT_EQ(v.z, 3.0f);
    EXPECT_EQ(v.nz, 1.0f);
    EXPECT_EQ(v.v, 0.25f);
}

TEST(NullDevice, TexturesKeepSizesAndClippedPixels) {
    NullDevice d;
    d.keepPixels = true;
    const TextureId a = d.createTexture(4, 2);
    const TextureId b = d.createTexture(8, 8);
    EXPECT_NE(a, 0u);
    EXPECT_NE(a, b);
    int w = 0, h = 0;
    ASSERT_TRUE(d.textureSize(a, &w, &h));
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 2);

    // A 3 x 3 block written at (2, 1) keeps only the 2 x 1 part inside.
    uint8_t block[3 * 3 * 4];
    for (int i = 0; i < 36; ++i) block[i] = uint8_t(i + 1);
    d.updateTexture(a, 2, 1, 3, 3, block, 12);
    const std::vector<uint8_t>& px = *d.texturePixels(a);
    EXPECT_EQ(px[(1 * 4 + 2) * 4], 1);
    EXPECT_EQ(px[(1 * 4 + 3) * 4 + 3], 8);
    EXPECT_EQ(px[0], 0);

    d.setTexture(a);
    d.destroyTexture(a);
    EXPECT_EQ(d.boundTexture(), 0u);
    EXPECT_FALSE(d.textureSize(a, nullptr, nullptr));
    EXPECT_EQ(d.liveTextureCount(), 1);

    d.failTextureCreations(1);
    EXPECT_EQ(d.createTexture(2, 2), 0u);
    EXPECT_NE(d.createTexture(2, 2), 0u);
    EXPECT_EQ(d.createTexture(0, 2), 0u);
}

}  // namespace
}  // namespace tessaly::platform
