#include <gtest/gtest.h>

#include <algorithm>

#include "gfx/draw.h"
#include "gfx/sprite_sheet.h"
#include "gfx/texture.h"
#include "support/test_support.h"

namespace tessaly::gfx {
namespace {

using platform::RenderState;
using test::Bytes;

class SpriteSheetTest : public test::NullDeviceTest {
protected:
    void SetUp() override {
        NullDeviceTest::SetUp();
        m_folder.write("particles.tga", test::makeTga(8, 8, Bytes(8 * 8 * 4, 255)));
        m_folder.write("lightning.jpg", test::makeJpeg(8, 8, 255, 255, 255));
        loadSpriteSheet();
        m_device.recordVertices = true;
    }
    void TearDown() override {
        g_spriteSheet = SpriteSheet{};
        NullDeviceTest::TearDown();
    }
};

TEST(SheetCells, CellsAreEighthsInsetAtEveryEdge) {
    struct Case {
        int cell;
        int column, row;
    };
    const Case cases[] = {{0, 0, 0}, {7, 7, 0}, {8, 0, 1}, {62, 6, 7}, {63, 7, 7}, {64, 0, 0}, {-1, 7, 7}};
    for (const Case& c : cases) {
        const SheetCellUv uv = sheetCellUv(c.cell);
        EXPECT_FLOAT_EQ(uv.uLeft, c.column / 8.0f + 0.001f) << c.cell;
        EXPECT_FLOAT_EQ(uv.uRight, (c.column + 1) / 8.0f - 0.001f) << c.cell;
        EXPECT_FLOAT_EQ(uv.vTop, c.row / 8.0f + 0.001f) << c.cell;
        EXPECT_FLOAT_EQ(uv.vBottom, (c.row + 1) / 8.0f - 0.001f) << c.cell;
    }
}

TEST_F(SpriteSheetTest, DrawsOneSquareSpriteWithItsBlend) {
    ASSERT_NE(g_spriteSheet.particles, nullptr);
    ASSERT_NE(g_spriteSheet.lightning, nullptr);
    drawSheetSprite(10, 20, 0, 30, 0x80FFFFFFu, 1, 17);
    ASSERT_EQ(m_device.calls.size(), 1u);
    const platform::RecordedCall& call = m_device.calls[0];
    EXPECT_EQ(call.texture, g_spriteSheet.particles->texture);
    EXPECT_EQ(call.state(RenderState::SrcBlend), uint32_t(platform::BlendSrcAlpha));
    EXPECT_EQ(call.state(RenderState::DstBlend), uint32_t(platform::BlendOne));
    float left = 1e9f, right = -1e9f, bottom = 1e9f, top = -1e9f, uMin = 9;
    for (int k = 0; k < 4; ++k) {
        const platform::RecordedVertex& v = m_device.vertices[size_t(k)];
        left = std::min(left, v.x), right = std::max(right, v.x);
        bottom = std::min(bottom, v.y), top = std::max(top, v.y);
        uMin = std::min(uMin, v.u);
        EXPECT_EQ(v.color, 0x80FFFFFFu);
    }
    EXPECT_FLOAT_EQ(right - left, 30);
    EXPECT_FLOAT_EQ(top - bottom, 30);
    EXPECT_FLOAT_EQ((left + right) / 2, 10);
    EXPECT_FLOAT_EQ(uMin, 1 / 8.0f + 0.001f);  // cell 17: column 1, row 2

    drawSheetSprite(0, 0, 45, 10, 0xFF102030u, 0, 3);
    EXPECT_EQ(m_device.calls[1].state(RenderState::DstBlend), uint32_t(platform::BlendInvSrcAlpha));
}

TEST_F(SpriteSheetTest, InvisibleSpritesDrawNothing) {
    drawSheetSprite(0, 0, 0, 0, 0xFFFFFFFFu, 0, 1);  // no size
    drawSheetSprite(0, 0, 0, 10, 0xFF000000u, 1, 1);  // black: nothing to add or show
    EXPECT_TRUE(m_device.calls.empty());
    EXPECT_EQ(g_draw.triangleCount, 0);
}

}  // namespace
}  // namespace tessaly::gfx
