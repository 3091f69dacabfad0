#include "gfx/button.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "gfx/texture.h"
#include "support/test_support.h"

namespace tessaly::gfx {
namespace {

class ButtonTest : public test::NullDeviceTest {
protected:
    void SetUp() override {
        NullDeviceTest::SetUp();
        gfx::g_textures.create("button.tga", 256, 64, gfx::kFormatA8R8G8B8, false);
        m_device.recordVertices = true;
    }
    // Left and right edges of the recorded quad i.
    std::pair<float, float> span(size_t i) const {
        float l = 1e9f, r = -1e9f;
        for (int v = 0; v < m_device.calls[i].vertexCount; ++v) {
            l = std::min(l, m_device.vertices[m_device.calls[i].firstVertex + v].x);
            r = std::max(r, m_device.vertices[m_device.calls[i].firstVertex + v].x);
        }
        return {l, r};
    }
};

TEST_F(ButtonTest, CapsKeepTheirShapeAndTheMiddleStretches) {
    const base::Rect r = drawMenuButton(10, 0, 140, 40, 12, "", false);
    EXPECT_FLOAT_EQ(r.left, -60);
    EXPECT_FLOAT_EQ(r.right, 80);
    EXPECT_FLOAT_EQ(r.top, 20);
    EXPECT_FLOAT_EQ(r.bottom, -20);
    ASSERT_EQ(m_device.calls.size(), 3u);
    EXPECT_EQ(span(0), std::make_pair(-60.0f, -20.0f));
    EXPECT_EQ(span(1), std::make_pair(-20.0f, 40.0f));
    EXPECT_EQ(span(2), std::make_pair(40.0f, 80.0f));
}

TEST_F(ButtonTest, ANarrowButtonSqueezesItsCaps) {
    drawMenuButton(0, 0, 60, 40, 12, "", false);
    ASSERT_EQ(m_device.calls.size(), 2u);
    EXPECT_EQ(span(0), std::make_pair(-30.0f, 0.0f));
    EXPECT_EQ(span(1), std::make_pair(0.0f, 30.0f));
}

}  // namespace
}  // namespace tessaly::gfx
