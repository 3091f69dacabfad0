#include "gfx/bolts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "base/random.h"
#include "gfx/camera.h"
#include "gfx/draw.h"
#include "support/test_support.h"

namespace tessaly::gfx {
namespace {

class BoltsTest : public test::NullDeviceTest {
protected:
    void SetUp() override {
        NullDeviceTest::SetUp();
        base::seedRandom(11);
        gfx::g_camera.setIdentity();
    }
    std::unique_ptr<Bolts> bolts = std::make_unique<Bolts>();
};

TEST_F(BoltsTest, SegmentCountFollowsTheStepUpToAHundred) {
    struct Case {
        float length, step;
        int segments;
    };
    const Case cases[] = {{50, 80, 1}, {100, 30, 4}, {1000, 5, 100}, {1000, 10, 100}};
    for (const Case& c : cases) {
        clearBolts(*bolts);
        ASSERT_TRUE(addBolt(*bolts, {0, 0, 0}, {c.length, 0, 0}, c.step, 2, 8, 0, 0xFFFFFFFF, 0x80FFFFFF));
        EXPECT_EQ(bolts->bolts[0].count, c.segments) << c.length << "/" << c.step;
    }
}

TEST_F(BoltsTest, ALongBoltIsCutIntoEqualStepsWithJitterAcrossIt) {
    const base::Vec3 start = {-300, 100, 0}, end = {300, -100, 0};
    ASSERT_TRUE(addBolt(*bolts, start, end, 1, 2, 8, 6, 0xFFFFFFFF, 0x80FFFFFF));
    const Bolt& b = bolts->bolts[0];
    ASSERT_EQ(b.count, 100);
    const base::Vec3 d = end - start;
    const float dist = std::sqrt(base::dot(d, d));
    const base::Vec3 dir = d / dist;
    EXPECT_FLOAT_EQ(b.points[0].x, start.x);
    EXPECT_FLOAT_EQ(b.points[100].y, end.y);
    for (int i = 1; i < 100; ++i) {
        const base::Vec3 rel = b.points[i] - start;
        EXPECT_NEAR(base::dot(rel, dir), dist / 100 * i, 1e-2) << i;
        const base::Vec3 across = rel - dir * base::dot(rel, dir);
        EXPECT_LE(std::sqrt(base::dot(across, across)), 6.001f) << i;
    }
}

TEST_F(BoltsTest, TableHoldsSixtyThreeBoltsAndSkipsPointBolts) {
    EXPECT_FALSE(addBolt(*bolts, {5, 5, 0}, {5, 5, 0}, 10, 1, 1, 1, 0, 0));
    for (int i = 0; i < kMaxBolts; ++i) EXPECT_TRUE(addBolt(*bolts, {0, 0, 0}, {10, 0, 0}, 20, 1, 1, 1, 0, 0));
    EXPECT_FALSE(addBolt(*bolts, {0, 0, 0}, {10, 0, 0}, 20, 1, 1, 1, 0, 0));
    EXPECT_EQ(bolts->count, kMaxBolts);
}

TEST_F(BoltsTest, DrawingGivesAGlowAndOneRibbonPerSegmentThenEmpties) {
    m_device.recordVertices = true;
    addBolt(*bolts, {0, 0, 0}, {100, 0, 0}, 30, 2, 8, 0, 0xFFFF0000, 0x400000FF);
    drawBoltQueue(*bolts);
    ASSERT_EQ(m_device.calls.size(), 5u);  // glow + 4 segments
    const auto& glow = m_device.calls[0];
    EXPECT_EQ(glow.state(platform::RenderState::SrcBlend), platform::BlendSrcAlpha);
    EXPECT_EQ(glow.state(platform::RenderState::DstBlend), platform::BlendOne);
    EXPECT_EQ(glow.state(platform::RenderState::DepthWrite), 0u);
    // The glow ribbon spans the whole bolt, 8 units to each side.
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (int v = 0; v < glow.vertexCount; ++v) {
        const auto& p = m_device.vertices[glow.firstVertex + v];
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    EXPECT_NEAR(minX, 0, 1e-3);
    EXPECT_NEAR(maxX, 100, 1e-3);
    EXPECT_NEAR(minY, -8, 1e-3);
    EXPECT_NEAR(maxY, 8, 1e-3);
    EXPECT_EQ(m_device.renderState(platform::RenderState::DepthWrite), 1u);
    EXPECT_EQ(m_device.renderState(platform::RenderState::DstBlend), platform::BlendInvSrcAlpha);

    m_device.clearRecording();
    drawBoltQueue(*bolts);
    EXPECT_TRUE(m_device.calls.empty());
    EXPECT_EQ(bolts->count, 0);
}

}  // namespace
}  // namespace tessaly::gfx
