#include <gtest/gtest.h>

#include <cmath>

#include "gfx/camera.h"
#include "gfx/draw.h"
#include "gfx/texture.h"
#include "platform/null/null_device.h"
#include "platform/window.h"

namespace tessaly::gfx {
namespace {

using platform::RecordedVertex;
using platform::RenderState;

class Draw : public ::testing::Test {
protected:
    void SetUp() override {
        g_draw = DrawState{};
        g_draw.device = &device;
        device.recordVertices = true;
    }
    void TearDown() override { g_draw = DrawState{}; }

    const RecordedVertex& vertex(int call, int i) const {
        return device.vertices[size_t(device.calls[size_t(call)].firstVertex + i)];
    }
    // Signed area of a recorded call's first triangle, y up: negative when it
    // runs clockwise on screen, the winding the devices keep.
    float firstTriangleArea(int call) const {
        const RecordedVertex &a = vertex(call, 0), &b = vertex(call, 1), &c = vertex(call, 2);
        return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    }

    platform::NullDevice device;
};

// Where a point lands in clip space under a row-vector matrix.
base::Vec2 project(const base::Matrix& m, float x, float y, float z) {
    const float cx = x * m.m[0][0] + y * m.m[1][0] + z * m.m[2][0] + m.m[3][0];
    const float cy = x * m.m[0][1] + y * m.m[1][1] + z * m.m[2][1] + m.m[3][1];
    const float w = x * m.m[0][3] + y * m.m[1][3] + z * m.m[2][3] + m.m[3][3];
    return {cx / w, cy / w};
}

TEST_F(Draw, Begin2DSetsUpTheLayeredScreen) {
    begin2D();
    EXPECT_EQ(device.renderState(RenderState::DepthTest), 0u);  // later quads cover earlier ones
    EXPECT_EQ(device.renderState(RenderState::AlphaBlend), 1u);
    EXPECT_EQ(device.renderState(RenderState::SrcBlend), uint32_t(platform::BlendSrcAlpha));
    EXPECT_EQ(device.renderState(RenderState::DstBlend), uint32_t(platform::BlendInvSrcAlpha));
    EXPECT_EQ(device.renderState(RenderState::AlphaTest), 1u);
    EXPECT_EQ(device.renderState(RenderState::AlphaRef), 1u);
    EXPECT_EQ(device.renderState(RenderState::TextureFilter), uint32_t(platform::FilterLinear));

    // A pixel rectangle of the whole screen covers clip space exactly.
    drawPixelRect(0, 0, 800, 600, 0, 0, 1, 1, 0xFFFFFFFFu);
    const base::Matrix& proj = device.transform(platform::TransformKind::Projection);
    float minX = 9, maxX = -9, minY = 9, maxY = -9;
    for (int i = 0; i < 4; ++i) {
        const RecordedVertex& v = vertex(0, i);
        EXPECT_FLOAT_EQ(v.z, 10);
        const base::Vec2 p = project(proj, v.x, v.y, v.z);
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        EXPECT_TRUE(v.u == 0.001f || v.u == 0.999f) << v.u;  // texture coordinates inset
        EXPECT_TRUE(v.v == 0.001f || v.v == 0.999f) << v.v;
    }
    EXPECT_FLOAT_EQ(minX, -1);
    EXPECT_FLOAT_EQ(maxX, 1);
    EXPECT_FLOAT_EQ(minY, -1);
    EXPECT_FLOAT_EQ(maxY, 1);
}

TEST_F(Draw, StateSwitchesAndBlendModes) {
    struct Case {
        int which;
        RenderState state;
        uint32_t on, off;
    };
    const Case cases[] = {{0, RenderState::Lighting, 1, 0},   {1, RenderState::DepthTest, 1, 0},
                          {2, RenderState::DepthWrite, 1, 0}, {4, RenderState::AlphaBlend, 1, 0},
                          {5, RenderState::AlphaTest, 1, 0},
                          {7, RenderState::TextureFilter, platform::FilterLinear, platform::FilterPoint}};
    for (const Case& c : cases) {
        enableState(c.which);
        EXPECT_EQ(device.renderState(c.state), c.on) << c.which;
        disableState(c.which);
        EXPECT_EQ(device.renderState(c.state), c.off) << c.which;
    }
    setPerspectiveFromClient(800, 600);
    enableState(3);
    const base::Matrix ortho = orthoProjection(500);
    EXPECT_EQ(device.transform(platform::TransformKind::Projection).m[2][2], ortho.m[2][2]);
    disableState(3);
    EXPECT_EQ(device.transform(platform::TransformKind::Projection).m[2][3], 1.0f);  // perspective

    const uint32_t blends[3][2] = {{platform::BlendSrcAlpha, platform::BlendInvSrcAlpha},
                                   {platform::BlendSrcColor, platform::BlendOne},
                                   {platform::BlendOne, platform::BlendZero}};
    for (int mode = 0; mode < 3; ++mode) {
        setBlendMode(mode);
        EXPECT_EQ(device.renderState(RenderState::SrcBlend), blends[mode][0]) << mode;
        EXPECT_EQ(device.renderState(RenderState::DstBlend), blends[mode][1]) << mode;
    }
}

TEST_F(Draw, ColourMultiplierScalesEveryQuadColour) {
    setColorMultiplier(1, 1, 1, 0.5f);
    drawRect(0, 10, 10, 0, 0, 0, 1, 1, 0xFF804020u, 5);
    EXPECT_EQ(vertex(0, 0).color, 0x7F804020u);
    const base::Vec3 corners[4] = {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    const uint32_t colors[4] = {0xFFFFFFFFu, 0x80FFFFFFu, 0x00FFFFFFu, 0xFF000000u};
    drawQuadColors(corners, colors);
    EXPECT_EQ(vertex(1, 0).color, 0x7FFFFFFFu);
    EXPECT_EQ(vertex(1, 1).color, 0x40FFFFFFu);
    setColorMultiplier(0.5f, 2, 1, 1);  // above 1 saturates
    drawRect(0, 10, 10, 0, 0, 0, 1, 1, 0xFF808080u, 5);
    EXPECT_EQ(vertex(2, 0).color, 0xFF40FF80u);
}

TEST_F(Draw, QuadsMapCornersToTextureCoordinatesAndKeepTheirWinding) {
    drawRect(-10, 20, 30, -40, 0.1f, 0.2f, 0.3f, 0.4f, 0xFFFFFFFFu, 7);
    // Each corner carries the texture corner of the same side.
    for (int i = 0; i < 4; ++i) {
        const RecordedVertex& v = vertex(0, i);
        EXPECT_FLOAT_EQ(v.u, v.x < 0 ? 0.1f : 0.3f);
        EXPECT_FLOAT_EQ(v.v, v.y > 0 ? 0.2f : 0.4f);
        EXPECT_FLOAT_EQ(v.z, 7);
    }
    EXPECT_LT(firstTriangleArea(0), 0);

    drawSprite(100, 50, 90, 20, 10, 0, 0, 1, 1, 0xFFFFFFFFu, 10);
    // Turned a quarter counter-clockwise, the top-left corner (-10, +5)
    // lands at (-5, -10) from the centre.
    bool found = false;
    for (int i = 0; i < 4; ++i) {
        const RecordedVertex& v = vertex(1, i);
        if (v.u == 0 && v.v == 0) {
            found = true;
            EXPECT_NEAR(v.x, 95, 1e-4f);
            EXPECT_NEAR(v.y, 40, 1e-4f);
        }
    }
    EXPECT_TRUE(found);
    EXPECT_LT(firstTriangleArea(1), 0);

    const base::Vec3 around[4] = {{1, 1, 3}, {1, -1, 3}, {-1, -1, 3}, {-1, 1, 3}};
    const base::Vec2 uv[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    drawQuad(around, uv, 0xFFFFFFFFu);
    EXPECT_LT(firstTriangleArea(2), 0);

    drawTexturedQuad(around);
    const platform::RecordedCall& list = device.calls[3];
    EXPECT_EQ(list.type, platform::Primitive::TriangleList);
    EXPECT_EQ(list.format, platform::VertexFormat::PosTex);
    ASSERT_EQ(list.vertexCount, 6);
    EXPECT_FLOAT_EQ(vertex(3, 2).u, -1);  // corner 2 at (-1, -1)
    EXPECT_FLOAT_EQ(vertex(3, 2).v, -1);
    EXPECT_FLOAT_EQ(vertex(3, 5).x, -1);  // corners 0, 2, 3 make the second triangle
    EXPECT_FLOAT_EQ(vertex(3, 5).y, 1);

    EXPECT_EQ(g_draw.triangleCount, 8);
    EXPECT_EQ(device.stats().primitiveCalls, 4u);
}

TEST_F(Draw, SpritesTurnAboutTheirPivot) {
    // A 20 x 10 sprite centred at (100, 50), hinged at its left end (90, 50)
    // and turned a quarter counter-clockwise: the hinge stays, the centre
    // goes to (90, 60) and the top-right corner (+10, +5 from the centre)
    // to (85, 70).
    drawSpriteAbout(100, 50, 90, 50, 90, 20, 10, 0, 0, 1, 1, 0xFFFFFFFFu, 10);
    float cx = 0, cy = 0;
    bool found = false;
    for (int i = 0; i < 4; ++i) {
        const RecordedVertex& v = vertex(0, i);
        cx += v.x / 4;
        cy += v.y / 4;
        if (v.u == 1 && v.v == 0) {
            found = true;
            EXPECT_NEAR(v.x, 85, 1e-4f);
            EXPECT_NEAR(v.y, 70, 1e-4f);
        }
    }
    EXPECT_TRUE(found);
    EXPECT_NEAR(cx, 90, 1e-4f);
    EXPECT_NEAR(cy, 60, 1e-4f);
    EXPECT_LT(firstTriangleArea(0), 0);
}

TEST_F(Draw, BillboardsFaceTheCameraAndSkipWhatIsOutOfView) {
    const gfx::Camera saved = gfx::g_camera;
    gfx::g_camera = gfx::Camera{};
    gfx::g_camera.updateViewPlanes(base::perspectiveFovLH(base::kPi / 4, 4.0f / 3, 5, 400));
    TextureManager textures;
    textures.device = &device;
    TextureEntry* tex = textures.create("spark", 4, 4, kFormatA8R8G8B8, false);

    g_draw.billboardColor = 0x80FF0000u;
    drawBillboard(tex, {0, 0, -50}, 0, 2);  // behind the camera
    EXPECT_TRUE(device.calls.empty());
    drawBillboard(tex, {0, 0, 100}, 0, 2);
    ASSERT_EQ(device.calls.size(), 1u);
    EXPECT_EQ(device.calls[0].texture, tex->texture);
    EXPECT_EQ(device.calls[0].state(RenderState::AlphaBlend), 1u);
    EXPECT_EQ(vertex(0, 0).color, 0x80FF0000u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(std::fabs(vertex(0, i).x), 2);  // half-size 2 along the camera axes
        EXPECT_FLOAT_EQ(std::fabs(vertex(0, i).y), 2);
        EXPECT_FLOAT_EQ(vertex(0, i).z, 100);
    }
    textures.clear();
    gfx::g_camera = saved;
}

TEST_F(Draw, CursorMapsBetweenPixelsAndScreenUnits) {
    worldToScreenCursor(100, -50);
    float px = 0, py = 0;
    platform::cursorPosition(&px, &py);
    EXPECT_FLOAT_EQ(px, 500);
    EXPECT_FLOAT_EQ(py, 350);
    platform::setCursorPosition(0, 0);
    float x = 0, y = 0;
    screenToWorldCursor(&x, &y);
    EXPECT_FLOAT_EQ(x, -400);
    EXPECT_FLOAT_EQ(y, 300);
}

}  // namespace
}  // namespace tessaly::gfx
