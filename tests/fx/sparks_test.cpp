#include "fx/sparks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "base/random.h"
#include "gfx/draw.h"
#include "gfx/sprite_sheet.h"
#include "gfx/texture.h"
#include "support/test_support.h"

namespace tessaly::fx {
namespace {

class SparksTest : public ::testing::Test {
protected:
    void SetUp() override {
        s = std::make_unique<SparkSystem>();
        base::seedRandom(7);
    }
    std::unique_ptr<SparkSystem> s;
};

TEST_F(SparksTest, TheRingOverwritesTheOldestSpark) {
    for (int i = 0; i < kMaxSparks; ++i) spawnSpark(*s, float(i), 0, 4);
    EXPECT_EQ(activeSparkCount(*s), kMaxSparks);
    spawnSpark(*s, -5, 0, 8);
    EXPECT_EQ(activeSparkCount(*s), kMaxSparks);
    EXPECT_EQ(s->sparks[0].preset, 8);
    EXPECT_FLOAT_EQ(s->sparks[0].x, -5);
    EXPECT_EQ(s->sparks[1].preset, 4);
}

TEST_F(SparksTest, UnknownPresetsSpawnNothing) {
    spawnSpark(*s, 0, 0, 18);
    spawnSpark(*s, 0, 0, -1);
    EXPECT_EQ(activeSparkCount(*s), 0);
    EXPECT_EQ(s->nextSpark, 0);
}

TEST_F(SparksTest, AChannelPassingFullBrightnessTurnsAndFades) {
    spawnSpark(*s, 0, 0, 4);  // brightening glow: red, green, blue rise at 0.00033 per ms
    Spark& k = s->sparks[0];
    k.color[0] = 0.99f;
    updateSparks(*s, 100);  // 0.99 + 0.033 passes 1
    EXPECT_FLOAT_EQ(k.color[0], 1);
    EXPECT_FLOAT_EQ(k.colorRate[0], kSparkFadeRate);
    updateSparks(*s, 100);
    EXPECT_NEAR(k.color[0], 0.7f, 1e-5);
    updateSparks(*s, 300);
    EXPECT_FLOAT_EQ(k.color[0], 0);  // clamped, not negative
    EXPECT_FLOAT_EQ(k.color[3], 1);  // alpha has no rate in this preset
}

TEST_F(SparksTest, ShrinkingBelowZeroEndsTheSpark) {
    spawnSpark(*s, 0, 0, 17);  // size 25 shrinking 0.03 per ms, life 2000
    updateSparks(*s, 800);
    EXPECT_EQ(activeSparkCount(*s), 1);
    updateSparks(*s, 100);
    EXPECT_EQ(activeSparkCount(*s), 0);
    EXPECT_FLOAT_EQ(s->sparks[0].size, 0);
}

TEST_F(SparksTest, MotionFollowsVelocityGravityAndOrbit) {
    spawnSpark(*s, 10, 20, 1);
    Spark& k = s->sparks[0];
    k.vx = 0.1f;
    k.vy = 0.2f;
    k.gravity = 0.001f;
    k.orbitAngle = 90;
    k.orbitRadius = 5;
    k.orbitAngleRate = 0;
    k.orbitRadiusRate = 0;
    updateSparks(*s, 100);
    // Queued where it was, displaced by its orbit: (sin 90, cos 90) x 5.
    ASSERT_EQ(s->queueCount, 1);
    EXPECT_NEAR(s->queue[0].x, 15, 1e-4);
    EXPECT_NEAR(s->queue[0].y, 20, 1e-4);
    // Then moved, and gravity took from the vertical speed.
    EXPECT_NEAR(k.x, 20, 1e-4);
    EXPECT_NEAR(k.y, 40, 1e-4);
    EXPECT_NEAR(k.vy, 0.1f, 1e-6);
}

TEST_F(SparksTest, BurstsSpendTheirSlots) {
    struct Case {
        int kind;
        int sparks;
    };
    // Kind 4 from (0, 0) to (100, 0): a spark every 10 units (11) and a ring of 32.
    const Case cases[] = {{0, 5}, {1, 32}, {4, 11 + 32}, {5, 0}, {-1, 0}};
    for (const Case& c : cases) {
        resetSparks(*s);
        sparkBurst(*s, 0, 0, 100, 0, c.kind);
        EXPECT_EQ(activeSparkCount(*s), c.sparks) << "kind " << c.kind;
    }
}

TEST_F(SparksTest, RingsStandEvenlyAroundTheirCentre) {
    sparkRing(*s, 100, 100, 0, 40, 4, 2);  // preset 2 rests where it is spawned
    const float expected[4][2] = {{100, 140}, {60, 100}, {100, 60}, {140, 100}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(s->sparks[i].x, expected[i][0], 1e-3) << i;
        EXPECT_NEAR(s->sparks[i].y, expected[i][1], 1e-3) << i;
    }
}

TEST_F(SparksTest, EmittersThrowARingWheneverTheirStepChanges) {
    struct Case {
        int kind;
        float frameMs;
        int sparks;
    };
    const Case cases[] = {
        {2, 10, 40 * 5},  // 40 steps over 400 ms, five sparks each
        {3, 20, 20 * 5},  // 20 steps
        {2, 400, 5},      // one long frame: one ring
    };
    for (const Case& c : cases) {
        resetSparks(*s);
        sparkBurstAt(*s, 0, 0, c.kind);
        EXPECT_EQ(activeSparkCount(*s), 0);
        for (float t = 0; t < 800; t += c.frameMs) updateSparks(*s, c.frameMs);
        // The ring position counts every spark spawned since the reset.
        EXPECT_EQ(s->nextSpark, c.sparks) << "kind " << c.kind << " frame " << c.frameMs;
        EXPECT_FLOAT_EQ(s->emitters[0].timeLeftMs, 0);
    }
}

TEST_F(SparksTest, OffScreenSparksAreNotQueued) {
    spawnSpark(*s, 0, 0, 8);
    spawnSpark(*s, 1000, 0, 8);
    spawnSpark(*s, 0, -700, 8);
    updateSparks(*s, 16);
    EXPECT_EQ(s->queueCount, 1);
}

TEST_F(SparksTest, QueueDropsEntriesBeyondItsCapacity) {
    for (int i = 0; i < kMaxSparks; ++i) spawnSpark(*s, 0, 0, 8);
    updateSparks(*s, 16);
    updateSparks(*s, 16);
    EXPECT_EQ(s->queueCount, kMaxSparkQueue);
    EXPECT_EQ(s->droppedEntries, 2 * kMaxSparks - kMaxSparkQueue);
    EXPECT_EQ(s->queueUse.dropped, 2 * kMaxSparks - kMaxSparkQueue);
    // A spark ring full of live sparks gives the oldest slot to the next one.
    spawnSpark(*s, 0, 0, 8);
    EXPECT_EQ(s->sparkUse.replaced, 1);
}

class SparkDrawingTest : public test::NullDeviceTest {};

TEST_F(SparkDrawingTest, BlendSwitchesOnlyWhenTheNextEntryNeedsTheOtherOne) {
    auto sparks = std::make_unique<SparkSystem>();
    gfx::g_spriteSheet.particles = gfx::g_textures.create("particles.tga", 512, 512, gfx::kFormatA8R8G8B8, false);
    m_device.recordVertices = true;
    // alpha, alpha, additive, additive, alpha
    for (int preset : {8, 8, 0, 2, 8}) spawnSpark(*sparks, 0, 0, preset);
    sparks->sparks[2].size = 10;
    updateSparks(*sparks, 1);
    drawSparkQueue(*sparks);
    EXPECT_EQ(sparks->queueCount, 0);

    const auto& calls = m_device.calls;
    ASSERT_EQ(calls.size(), 5u);
    const uint32_t expectedDst[] = {platform::BlendInvSrcAlpha, platform::BlendInvSrcAlpha, platform::BlendOne,
                                    platform::BlendOne, platform::BlendInvSrcAlpha};
    for (size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(calls[i].state(platform::RenderState::DstBlend), expectedDst[i]) << i;
    // Consecutive sprites of one blend share a draw call.
    int batches = 0;
    for (const auto& call : calls) batches += call.startedBatch;
    EXPECT_EQ(batches, 3);
}

}  // namespace
}  // namespace tessaly::fx
