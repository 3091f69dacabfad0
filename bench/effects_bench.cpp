// Effect passes at full load:
//  - the particle pass with all 1024 particles alive and 256 timed emitters
//    spawning into the ring every frame;
//  - the spark pass with all 2048 sparks alive.
// Each runs on the null device (simulation and submission only) and on the
// OpenGL device (offscreen, Mesa's software renderer when headless), with
// one blend for everything (the batcher can merge) or alternating blends
// (it cannot). Counters per frame: quads submitted and draw calls that
// reached the backend after batching.
//
// Run: ./tessaly_bench --benchmark_filter=Effects
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "base/math.h"
#include "base/random.h"
#include "bench_devices.h"
#include "fx/particles.h"
#include "fx/sparks.h"
#include "gfx/camera.h"
#include "gfx/draw.h"
#include "gfx/sprite_sheet.h"
#include "gfx/texture.h"
#include "platform/device.h"
#include "platform/letterbox.h"

namespace {

using namespace tessaly;

constexpr float kFrameMs = 16;

// The device under test, made current for drawing and textures.
platform::Device* useDevice(bool gl) {
    platform::Device* device = bench::benchDevice(gl);
    if (!device) return nullptr;
    gfx::g_draw.device = device;
    gfx::g_textures.device = device;
    gfx::g_textures.clear();
    return device;
}

void setUp2D(platform::Device& device) {
    device.clear(platform::ClearColor | platform::ClearDepth, 0xFF000000u, 1, 0);
    gfx::begin2D();
    gfx::g_camera.setIdentity();
    gfx::g_camera.translate(0, 0, 50);
    device.setTransform(platform::TransformKind::View, gfx::g_camera.view);
}

void reportPerFrame(benchmark::State& state, platform::Device& device, uint64_t calls0, uint64_t prims0) {
    const double frames = double(state.iterations());
    state.counters["drawCalls/frame"] = double(device.stats().drawCalls - calls0) / frames;
    state.counters["quads/frame"] = double(device.stats().primitiveCalls - prims0) / frames;
}

// range(0): 0 null device, 1 OpenGL; range(1): 0 one blend, 1 alternating.
void Effects_ParticlePass(benchmark::State& state) {
    const bool gl = state.range(0) == 1;
    const bool alternate = state.range(1) == 1;
    platform::Device* device = useDevice(gl);
    if (!device) {
        state.SkipWithError("no OpenGL device");
        return;
    }
    base::seedRandom(1);
    auto ps = std::make_unique<fx::ParticleSystem>();
    fx::setParticleAtlas(*ps, gfx::g_textures.create("particles.tga", 512, 512, gfx::kFormatA8R8G8B8, false));
    const char* sparks =
        "parfrequency=70\r\neffecttime=100000000\r\npartime=100000000\r\ncolor0={1,0.8,0.4,1}\r\n"
        "radius0=12\r\nradius1=4\r\npositiondev=(380,280,0)\r\nspeeddev=(30,30,0)\r\n"
        "polarpar={5,0,0,90}\r\nlissparx={3,2,0}\r\nblendtype=0\r\nnumparticle=12\r\n";
    fx::addParticleEffect(*ps, "sparks.par", sparks);
    fx::addParticleEffect(*ps, "smoke.par", sparks);
    ps->effects[1].blendType = 1;  // the same particles with ordinary transparency
    for (int i = 0; i < fx::kMaxEmitters; ++i)
        fx::startEffect(*ps, alternate ? i % 2 : 0, {0, 0, 0}, fx::kNoTarget, 1, -1, 0);
    for (int i = 0; i < 60; ++i) fx::updateParticles(*ps, kFrameMs), ps->quadCount = 0;
    if (fx::liveParticleCount(*ps) != fx::kMaxParticles || fx::liveEmitterCount(*ps) != fx::kMaxEmitters) {
        state.SkipWithError("the rings are not full");
        return;
    }

    const uint64_t calls0 = device->stats().drawCalls, prims0 = device->stats().primitiveCalls;
    for (auto _ : state) {
        setUp2D(*device);
        fx::updateParticles(*ps, kFrameMs);
        fx::drawParticleQueue(*ps);
        device->present();  // ends the frame's last batch
    }
    reportPerFrame(state, *device, calls0, prims0);
    state.counters["particles"] = fx::liveParticleCount(*ps);
    gfx::g_textures.clear();
}
BENCHMARK(Effects_ParticlePass)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);

void Effects_SparkPass(benchmark::State& state) {
    const bool gl = state.range(0) == 1;
    const bool alternate = state.range(1) == 1;
    platform::Device* device = useDevice(gl);
    if (!device) {
        state.SkipWithError("no OpenGL device");
        return;
    }
    base::seedRandom(2);
    gfx::g_spriteSheet.particles = gfx::g_textures.create("particles.tga", 512, 512, gfx::kFormatA8R8G8B8, false);
    auto sparks = std::make_unique<fx::SparkSystem>();
    for (int i = 0; i < fx::kMaxSparks; ++i) {
        // Preset 8 is drawn with alpha blending, 17 additively.
        fx::spawnSpark(*sparks, base::randomSigned(380), base::randomSigned(280), alternate && i % 2 ? 17 : 8);
        fx::Spark& k = sparks->sparks[i];
        // Kept alive and in place for the whole run.
        k.lifeMs = 1e9f;
        k.vx = k.vy = k.gravity = 0;
        k.sizeRate = 0;
        for (float& rate : k.colorRate) rate = 0;
    }

    const uint64_t calls0 = device->stats().drawCalls, prims0 = device->stats().primitiveCalls;
    for (auto _ : state) {
        setUp2D(*device);
        gfx::begin2D();
        fx::updateSparks(*sparks, kFrameMs);
        fx::drawSparkQueue(*sparks);
        device->present();  // ends the frame's last batch
    }
    reportPerFrame(state, *device, calls0, prims0);
    state.counters["sparks"] = fx::activeSparkCount(*sparks);
    gfx::g_spriteSheet.particles = nullptr;
    gfx::g_textures.clear();
}
BENCHMARK(Effects_SparkPass)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);

}  // namespace
