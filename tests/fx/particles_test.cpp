#include "fx/particles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "base/random.h"
#include "gfx/camera.h"
#include "gfx/texture.h"
#include "support/test_support.h"

namespace tessaly::fx {
namespace {

class ParticlesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ps = std::make_unique<ParticleSystem>();
        base::seedRandom(1);
    }

    int add(const std::string& fileName, const std::string& text) {
        return addParticleEffect(*ps, fileName, text.c_str());
    }
    const ParticleEffect& effect(int i) const { return ps->effects[i]; }
    void start(const char* name, float x = 0, float y = 0, float clock = 0) {
        startEffectByName(*ps, name, x, y, kNoTarget.x, kNoTarget.y, 1, -1, clock);
    }

    std::unique_ptr<ParticleSystem> ps;
};

// -- loading ---------------------------------------------------------------------

TEST_F(ParticlesTest, ReadsEveryValueForm) {
    const int i = add("spark.par",
                      "externeffect1=flash\r\n"
                      "parfrequency=2.5\r\n"
                      "color0={0.5,0.25}\r\n"
                      "color1=(0.1,0.2,0.3,0.4)\r\n"
                      "blendtype=1.9\r\n"
                      "simetria=-2.5\r\n"
                      "speed=(0,-40,7.5)\r\n"
                      "polar={12,0,90,30}\r\n"
                      "lissx={3,2,45,99}\r\n"
                      "partime=700\r\n");
    ASSERT_EQ(i, 0);
    const ParticleEffect& e = effect(i);
    EXPECT_STREQ(e.name, "spark");
    EXPECT_STREQ(e.chained[0], "flash");
    EXPECT_STREQ(e.chained[1], "");
    EXPECT_FLOAT_EQ(e.frequency, 2.5f);
    // A list fills from its first element and leaves the rest as they were.
    EXPECT_FLOAT_EQ(e.color0.r, 0.5f);
    EXPECT_FLOAT_EQ(e.color0.g, 0.25f);
    EXPECT_FLOAT_EQ(e.color0.b, 1);
    EXPECT_FLOAT_EQ(e.color0.a, 1);
    EXPECT_FLOAT_EQ(e.color1.a, 0.4f);
    // Integers truncate toward zero.
    EXPECT_EQ(e.blendType, 1);
    EXPECT_EQ(e.copiesAtEmit, -2);
    EXPECT_FLOAT_EQ(e.speed.y, -40);
    EXPECT_FLOAT_EQ(e.speed.z, 7.5f);
    EXPECT_FLOAT_EQ(e.emitterOrbit[2], 90);
    EXPECT_FLOAT_EQ(e.emitterOrbit[3], 30);
    // A wobble holds three values; the fourth is ignored.
    EXPECT_FLOAT_EQ(e.emitterWobbleX[2], 45);
    EXPECT_FLOAT_EQ(e.emitterWobbleY[0], 0);
    EXPECT_FLOAT_EQ(e.life, 700);
}

TEST_F(ParticlesTest, MissingKeysGiveDefaults) {
    const ParticleEffect& e = effect(add("empty.par", ""));
    EXPECT_FLOAT_EQ(e.color0.r, 1);
    EXPECT_FLOAT_EQ(e.color0.a, 1);
    EXPECT_FLOAT_EQ(e.color1.r, 0);
    EXPECT_FLOAT_EQ(e.color1.a, 0);
    EXPECT_FLOAT_EQ(e.frequency, 0);
    EXPECT_FLOAT_EQ(e.effectTime, 0);
    EXPECT_EQ(e.cell, 0);
    EXPECT_EQ(e.blendType, 0);
    EXPECT_FLOAT_EQ(e.speed.x, 0);
    for (const auto& name : e.chained) EXPECT_STREQ(name, "");
}

TEST_F(ParticlesTest, ListWithoutClosingBracketStoresNothing) {
    const ParticleEffect& e = effect(add("a.par", "color0={0.5,0.5,0.5,0.5\r\nspeed=(1,2\r\n"));
    EXPECT_FLOAT_EQ(e.color0.r, 1);
    EXPECT_FLOAT_EQ(e.color0.a, 1);
    EXPECT_FLOAT_EQ(e.speed.x, 0);
    EXPECT_FLOAT_EQ(e.speed.y, 0);
}

TEST_F(ParticlesTest, RotationKeysCollideWithTheSpinKeysThatEndInThem) {
    struct Case {
        const char* text;
        float rot, spin, rotDev, spinDev;
    };
    const Case cases[] = {
        {"rot=10\r\nrotdev=1\r\ndrot=30\r\ndrotdev=3\r\n", 10, 30, 1, 3},
        // "rot=" is the tail of "drot=": a spin line above takes both.
        {"drot=30\r\ndrotdev=3\r\nrot=10\r\nrotdev=1\r\n", 30, 30, 3, 3},
    };
    for (const Case& c : cases) {
        const ParticleEffect& e = effect(add("r.par", c.text));
        EXPECT_FLOAT_EQ(e.rot, c.rot) << c.text;
        EXPECT_FLOAT_EQ(e.spin, c.spin) << c.text;
        EXPECT_FLOAT_EQ(e.rotDev, c.rotDev) << c.text;
        EXPECT_FLOAT_EQ(e.spinDev, c.spinDev) << c.text;
    }
}

TEST_F(ParticlesTest, NamesAreCutAtTheFirstDotAndAt31Characters) {
    const std::string longName(40, 'n');
    const ParticleEffect& a = effect(add(longName + ".par", "externeffect2=" + std::string(40, 'x') + "\r\n"));
    EXPECT_EQ(std::string(a.name), std::string(31, 'n'));
    EXPECT_EQ(std::string(a.chained[1]), std::string(31, 'x'));
    EXPECT_STREQ(effect(add("ball1.old.par", "")).name, "ball1");
}

TEST_F(ParticlesTest, FullTableIgnoresFurtherFiles) {
    for (int i = 0; i < kMaxEffects; ++i) ASSERT_EQ(add("e" + std::to_string(i) + ".par", ""), i);
    EXPECT_EQ(add("extra.par", ""), -1);
    EXPECT_EQ(ps->effectCount, kMaxEffects);
}

// -- emission ----------------------------------------------------------------------

TEST_F(ParticlesTest, BurstEmitsCeilingOfFrequencyGroups) {
    struct Case {
        const char* frequency;
        int particles;
    };
    const Case cases[] = {{"2.5", 3}, {"3", 3}, {"0", 0}, {"0.1", 1}};
    for (const Case& c : cases) {
        clearParticles(*ps);
        ps->effectCount = 0;
        add("b.par", std::string("parfrequency=") + c.frequency + "\r\npartime=500\r\n");
        start("b");
        EXPECT_EQ(liveParticleCount(*ps), c.particles) << "frequency " << c.frequency;
    }
}

TEST_F(ParticlesTest, CopiesAtEmitStandEvenlyAroundTheStart) {
    struct Case {
        int copies;
        std::vector<base::Vec2> positions;
    };
    const Case cases[] = {
        {4, {{110, 50}, {100, 60}, {90, 50}, {100, 40}}},
        {1, {{110, 50}}},
        {0, {{110, 50}}},
        {-1, {}},
    };
    for (const Case& c : cases) {
        clearParticles(*ps);
        ps->effectCount = 0;
        add("s.par", "parfrequency=1\r\npartime=500\r\npolar={10,0,0,0}\r\nsimetria=" +
                         std::to_string(c.copies) + "\r\n");
        start("s", 100, 50);
        ASSERT_EQ(liveParticleCount(*ps), int(c.positions.size())) << "copies " << c.copies;
        for (size_t i = 0; i < c.positions.size(); ++i) {
            EXPECT_NEAR(ps->particles[i].position.x, c.positions[i].x, 1e-3) << c.copies << " #" << i;
            EXPECT_NEAR(ps->particles[i].position.y, c.positions[i].y, 1e-3) << c.copies << " #" << i;
        }
    }
}

TEST_F(ParticlesTest, TimedEmitterCatchesUpOnALongFrame) {
    add("t.par", "parfrequency=100\r\neffecttime=1000\r\npartime=5000\r\n");
    start("t");
    ASSERT_EQ(liveEmitterCount(*ps), 1);
    EXPECT_FLOAT_EQ(ps->emitters[0].spawnPeriodMs, 10);
    updateParticles(*ps, 35);
    EXPECT_EQ(liveParticleCount(*ps), 3);
    EXPECT_FLOAT_EQ(ps->emitters[0].spawnCountdownMs, 10 - 25);
}

TEST_F(ParticlesTest, TimedEmitterWithoutFrequencyEmitsNothingButStartsItsChain) {
    add("flash.par", "parfrequency=1\r\npartime=500\r\n");
    add("quiet.par", "effecttime=1000\r\npartime=500\r\nexterneffect1=flash\r\n");
    start("quiet");
    EXPECT_EQ(liveParticleCount(*ps), 1);  // the chained flash
    for (int i = 0; i < 10; ++i) updateParticles(*ps, 16);
    EXPECT_EQ(liveParticleCount(*ps), 1);
}

TEST_F(ParticlesTest, EmitterTravelsToItsTargetInEffectTime) {
    add("trail.par", "parfrequency=1\r\neffecttime=1000\r\n");
    startEffectByName(*ps, "trail", 0, 0, 100, -50, 1, -1, 0);
    startEffectByName(*ps, "trail", 20, 30, kNoTarget.x, kNoTarget.y, 1, -1, 0);
    for (int i = 0; i < 40; ++i) updateParticles(*ps, 25);
    EXPECT_NEAR(ps->emitters[0].position.x, 100, 1e-2);
    EXPECT_NEAR(ps->emitters[0].position.y, -50, 1e-2);
    EXPECT_FLOAT_EQ(ps->emitters[1].position.x, 20);
    EXPECT_FLOAT_EQ(ps->emitters[1].position.y, 30);
    EXPECT_EQ(liveEmitterCount(*ps), 0);
}

TEST_F(ParticlesTest, RingsOverwriteTheirOldestSlots) {
    add("one.par", "parfrequency=1\r\npartime=10000\r\n");
    add("timed.par", "parfrequency=1\r\neffecttime=10000\r\n");
    for (int i = 0; i < kMaxParticles + 1; ++i) start("one", float(i));
    EXPECT_EQ(liveParticleCount(*ps), kMaxParticles);
    EXPECT_FLOAT_EQ(ps->particles[0].position.x, float(kMaxParticles));  // the 1025th
    EXPECT_FLOAT_EQ(ps->particles[1].position.x, 1);
    for (int i = 0; i < kMaxEmitters + 1; ++i) start("timed", float(i));
    EXPECT_EQ(liveEmitterCount(*ps), kMaxEmitters);
    EXPECT_FLOAT_EQ(ps->emitters[0].position.x, float(kMaxEmitters));
}

TEST_F(ParticlesTest, ChainLimiterAllowsEightStartsPerRun) {
    add("leaf.par", "parfrequency=1\r\npartime=10000\r\n");
    for (int i = 0; i < 10; ++i) startChainedEffect(*ps, "leaf", 0, 0, kNoTarget.x, kNoTarget.y, 1, -1, 1000);
    EXPECT_EQ(liveParticleCount(*ps), 8);
    // Calls spaced no more than 100 ms apart keep the run going.
    startChainedEffect(*ps, "leaf", 0, 0, kNoTarget.x, kNoTarget.y, 1, -1, 1100);
    EXPECT_EQ(liveParticleCount(*ps), 8);
    // A longer pause starts a fresh run.
    startChainedEffect(*ps, "leaf", 0, 0, kNoTarget.x, kNoTarget.y, 1, -1, 1201);
    EXPECT_EQ(liveParticleCount(*ps), 9);
}

TEST_F(ParticlesTest, SelfAndMutualChainsAreBounded) {
    add("self.par", "parfrequency=1\r\npartime=10000\r\nexterneffect1=self\r\n");
    start("self");
    EXPECT_EQ(liveParticleCount(*ps), 1);
    add("ping.par", "parfrequency=1\r\npartime=10000\r\nexterneffect1=pong\r\n");
    add("pong.par", "parfrequency=1\r\npartime=10000\r\nexterneffect1=ping\r\n");
    clearParticles(*ps);
    start("ping", 0, 0, 5000);
    EXPECT_EQ(liveParticleCount(*ps), 1 + kMaxChainedStarts);
}

TEST_F(ParticlesTest, UnknownNamesAndBadIndicesDoNothing) {
    add("x.par", "parfrequency=1\r\npartime=100\r\n");
    start("X");
    startEffect(*ps, -1, {}, kNoTarget, 1, -1, 0);
    startEffect(*ps, 7, {}, kNoTarget, 1, -1, 0);
    EXPECT_EQ(liveParticleCount(*ps), 0);
}

TEST_F(ParticlesTest, ClearedEmitterSlotsStayDead) {
    // The first effect is timed: a cleared slot must not come alive as it.
    add("timed.par", "parfrequency=1000000\r\neffecttime=1000\r\npartime=100\r\n");
    clearParticles(*ps);
    updateParticles(*ps, 16);
    EXPECT_EQ(liveEmitterCount(*ps), 0);
    EXPECT_EQ(liveParticleCount(*ps), 0);
}

TEST_F(ParticlesTest, HugeFrequencyIsBoundedByTheRing) {
    add("flood.par", "parfrequency=1e30\r\npartime=100\r\n");
    add("stream.par", "parfrequency=1e30\r\neffecttime=1000\r\npartime=100000\r\n");
    start("flood");
    EXPECT_EQ(liveParticleCount(*ps), kMaxParticles);
    clearParticles(*ps);
    start("stream");
    updateParticles(*ps, 1000);
    EXPECT_EQ(liveParticleCount(*ps), kMaxParticles);
}

// -- the pass ------------------------------------------------------------------------

TEST_F(ParticlesTest, BirthColoursAreClampedAndInterpolated) {
    add("c.par",
        "parfrequency=1\r\npartime=1000\r\ncolor0={0.9,0.9,0.9,1}\r\ncolor0dev={0.5,0.5,0.5,0.5}\r\n"
        "color1={0,0,0,-1}\r\ncolor1dev={0,0,0,0.5}\r\n");
    for (int i = 0; i < 50; ++i) start("c");
    for (int i = 0; i < 50; ++i) {
        const Particle& p = ps->particles[i];
        for (float v : {p.colorBirth.r, p.colorBirth.g, p.colorBirth.b, p.colorBirth.a, p.colorDeath.a}) {
            EXPECT_GE(v, 0);
            EXPECT_LE(v, 1);
        }
    }
    // Halfway through its life the colour is the mean of birth and death.
    clearParticles(*ps);
    ps->effectCount = 0;
    add("h.par", "parfrequency=1\r\npartime=1000\r\ncolor0={1,0.5,0,1}\r\ncolor1={0,0.5,1,0}\r\n");
    start("h");
    updateParticles(*ps, 500);
    ps->quadCount = 0;
    updateParticles(*ps, 0);
    ASSERT_EQ(ps->quadCount, 1);
    EXPECT_EQ(ps->quads[0].argb, base::Color32(127, 127, 127, 127).argb);
}

TEST_F(ParticlesTest, OrbitAndWobbleMoveTheQuadNotTheParticle) {
    add("o.par",
        "parfrequency=1\r\npartime=10000\r\npolarpar={10,0,90,0}\r\nlissparx={5,0,0}\r\n"
        "speed=(100,0,0)\r\nradius0=8\r\nradius1=8\r\n");
    start("o", 50, 50);
    updateParticles(*ps, 100);
    ASSERT_EQ(ps->quadCount, 1);
    // Drawn at age 0: the orbit puts it 10 up, the wobble 5 right.
    EXPECT_NEAR(ps->quads[0].centre.x, 55, 1e-3);
    EXPECT_NEAR(ps->quads[0].centre.y, 60, 1e-3);
    EXPECT_FLOAT_EQ(ps->quads[0].size, 8);
    // Then it moved 10 units right at 100 units per second.
    EXPECT_NEAR(ps->particles[0].position.x, 60, 1e-3);
    EXPECT_NEAR(ps->particles[0].position.y, 50, 1e-3);
}

TEST_F(ParticlesTest, ScaleAppliesToSpeedSizeAndOrbitOnly) {
    add("s.par",
        "parfrequency=1\r\npartime=100\r\nspeed=(10,0,0)\r\nradius0=4\r\nradius1=2\r\n"
        "polarpar={3,0,0,0}\r\ngravity=7\r\n");
    startEffectByName(*ps, "s", 0, 0, kNoTarget.x, kNoTarget.y, 2, -1, 0);
    const Particle& p = ps->particles[0];
    EXPECT_FLOAT_EQ(p.velocity.x, 20);
    EXPECT_FLOAT_EQ(p.sizeBirth, 8);
    EXPECT_FLOAT_EQ(p.sizeDeath, 4);
    EXPECT_FLOAT_EQ(p.orbitRadius, 6);
    EXPECT_FLOAT_EQ(p.gravity, 7);
    EXPECT_FLOAT_EQ(p.lifeMs, 100);
}

TEST_F(ParticlesTest, QuadQueueDropsWhatDoesNotFit) {
    add("many.par", "parfrequency=1024\r\npartime=1000\r\nsimetriapar=8\r\n");
    start("many");
    EXPECT_EQ(liveParticleCount(*ps), kMaxParticles);
    updateParticles(*ps, 16);
    EXPECT_EQ(ps->quadCount, kMaxParticleQuads);
    EXPECT_EQ(ps->droppedQuads, kMaxParticles * 8 - kMaxParticleQuads);
    EXPECT_EQ(ps->quadUse.dropped, kMaxParticles * 8 - kMaxParticleQuads);  // kept for the state dump
}

TEST_F(ParticlesTest, ParticlesDieWhenTheirAgeReachesTheirLife) {
    add("d.par", "parfrequency=1\r\npartime=100\r\n");
    start("d");
    updateParticles(*ps, 60);
    EXPECT_EQ(liveParticleCount(*ps), 1);
    updateParticles(*ps, 40);
    EXPECT_EQ(liveParticleCount(*ps), 0);
    ps->quadCount = 0;
    updateParticles(*ps, 16);
    EXPECT_EQ(ps->quadCount, 0);
}

// -- drawing and loading -------------------------------------------------------------

class ParticleDrawingTest : public test::NullDeviceTest {
protected:
    void SetUp() override {
        NullDeviceTest::SetUp();
        ps = std::make_unique<ParticleSystem>();
        gfx::g_camera.setIdentity();
        m_device.recordVertices = true;
    }
    std::unique_ptr<ParticleSystem> ps;
};

TEST_F(ParticleDrawingTest, QuadsFaceTheCameraWithTheirBlendAndAtlasCell) {
    // A 256 x 128 atlas: four columns, two rows of 64-texel cells.
    setParticleAtlas(*ps, gfx::g_textures.create("particles.tga", 256, 128, gfx::kFormatA8R8G8B8, false));
    ASSERT_EQ(ps->atlasColumns, 4);
    ASSERT_EQ(ps->atlasRows, 2);
    ps->quads[0] = {{10, 20, 5}, 0, 8, 0xFFFFFFFFu, 5, 0};
    ps->quads[1] = {{0, 0, 0}, 90, 8, 0x80FFFFFFu, 0, 1};
    ps->quads[2] = {{0, 0, 0}, 0, 8, 0x80FFFFFFu, 0, 7};  // keeps the factors of the previous quad
    ps->quadCount = 3;
    drawParticleQueue(*ps);
    EXPECT_EQ(ps->quadCount, 0);

    const auto& calls = m_device.calls;
    ASSERT_EQ(calls.size(), 3u);
    using platform::RenderState;
    const uint32_t expectedSrc[] = {platform::BlendSrcColor, platform::BlendSrcAlpha, platform::BlendSrcAlpha};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(calls[i].state(RenderState::SrcBlend), expectedSrc[i]) << i;
        EXPECT_EQ(calls[i].state(RenderState::DepthTest), 1u);
        EXPECT_EQ(calls[i].state(RenderState::DepthWrite), 0u);
        EXPECT_EQ(calls[i].state(RenderState::AlphaTest), 0u);
    }
    // Cell 5 is column 1, row 1: its corners span 8 x 8 around the centre
    // and the texture rectangle of that cell, inset.
    float minX = 1e9f, maxX = -1e9f, minU = 1e9f, maxU = -1e9f, minV = 1e9f, maxV = -1e9f;
    for (int v = 0; v < calls[0].vertexCount; ++v) {
        const auto& p = m_device.vertices[calls[0].firstVertex + v];
        EXPECT_FLOAT_EQ(p.z, 5);
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minU = std::min(minU, p.u), maxU = std::max(maxU, p.u);
        minV = std::min(minV, p.v), maxV = std::max(maxV, p.v);
    }
    EXPECT_NEAR(minX, 6, 1e-4);
    EXPECT_NEAR(maxX, 14, 1e-4);
    EXPECT_NEAR(minU, 0.25f + 0.001f, 1e-5);
    EXPECT_NEAR(maxU, 0.5f, 1e-5);
    EXPECT_NEAR(minV, 0.5f + 0.001f, 1e-5);
    EXPECT_NEAR(maxV, 1.0f, 1e-5);
    // The pass leaves 2D drawing as it expects to find it.
    EXPECT_EQ(m_device.renderState(RenderState::AlphaTest), 1u);
    EXPECT_EQ(m_device.renderState(RenderState::DepthTest), 0u);
    EXPECT_EQ(m_device.renderState(RenderState::DepthWrite), 1u);
    EXPECT_EQ(m_device.renderState(RenderState::SrcBlend), uint32_t(platform::BlendSrcAlpha));
    EXPECT_EQ(m_device.renderState(RenderState::DstBlend), uint32_t(platform::BlendInvSrcAlpha));
}

// An uncompressed 32-bit TGA of the given size, top-left origin.
test::Bytes tga(int width, int height) {
    test::Bytes b = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8),
                     uint8_t(height), uint8_t(height >> 8), 32, 0x28};
    b.resize(b.size() + size_t(width) * size_t(height) * 4, 0xFF);
    return b;
}

TEST_F(ParticleDrawingTest, LoadsEveryEffectFileInNameOrder) {
    m_folder.write("particles.tga", tga(128, 64));
    m_folder.write("effects/spark.par", std::string("parfrequency=3\r\npartime=200\r\n"));
    m_folder.write("effects/ash.par", std::string("numparticle=9\r\n"));
    m_folder.write("effects/glow.old.par", std::string(""));
    m_folder.write("effects/readme.txt", std::string("not an effect"));
    loadParticleEffects();
    ParticleSystem& g = g_particles;
    ASSERT_EQ(g.effectCount, 3);
    EXPECT_STREQ(g.effects[0].name, "ash");
    EXPECT_STREQ(g.effects[1].name, "glow");
    EXPECT_STREQ(g.effects[2].name, "spark");
    EXPECT_EQ(g.effects[0].cell, 9);
    EXPECT_FLOAT_EQ(g.effects[2].frequency, 3);
    EXPECT_EQ(g.atlasColumns, 2);
    EXPECT_EQ(g.atlasRows, 1);
    startEffectByName("spark", 0, 0);
    EXPECT_EQ(liveParticleCount(g), 3);
    clearParticles();
    EXPECT_EQ(liveParticleCount(g), 0);
    g.effectCount = 0;
    g.atlas = nullptr;
}

TEST_F(ParticlesTest, NonFiniteValuesAndOversizedCountsAreBoundedOnLoad) {
    // A NaN colour channel: the whole key takes its default.
    const ParticleEffect& nan = effect(add("nan.par", "parfrequency=1\r\npartime=100\r\ncolor0={1,nan,0.5,1}\r\n"));
    EXPECT_FLOAT_EQ(nan.color0.g, 1);
    EXPECT_FLOAT_EQ(nan.color0.b, 1);

    // A negative frequency on a timed effect emits nothing, at any frame.
    for (const char* frequency : {"-5", "-1e30"}) {
        clearParticles(*ps);
        ps->effectCount = 0;
        add("neg.par", std::string("parfrequency=") + frequency + "\r\neffecttime=1000\r\npartime=100\r\n");
        EXPECT_GE(effect(0).frequency, 0) << frequency;
        start("neg");
        for (int i = 0; i < 10; ++i) updateParticles(*ps, 16);
        EXPECT_EQ(liveParticleCount(*ps), 0) << frequency;
    }

    // The largest counts: one start fills the ring once instead of
    // overwriting it a thousand times, and a particle asks for no more
    // quads than the queue holds.
    clearParticles(*ps);
    ps->effectCount = 0;
    add("huge.par", "parfrequency=1e9\r\nsimetria=1e9\r\nsimetriapar=1e9\r\npartime=1000\r\n");
    EXPECT_LE(effect(0).frequency, float(kMaxParticles));
    EXPECT_LE(effect(0).copiesAtEmit, kMaxParticles);
    EXPECT_LE(effect(0).copiesAtDraw, kMaxParticleQuads);
    start("huge");
    EXPECT_EQ(liveParticleCount(*ps), kMaxParticles);
    EXPECT_EQ(ps->particleUse.replaced, 0);
    updateParticles(*ps, 16);
    EXPECT_EQ(ps->quadCount, kMaxParticleQuads);
}

}  // namespace
}  // namespace tessaly::fx
