// The OpenGL device's half of quad and text throughput, on the offscreen
// driver (Mesa's software renderer when headless, so absolute times are the
// CPU's). Each iteration submits one frame of quads the way the drawing code
// does, one drawPrimitive per quad, and presents it. Counters per frame:
// primitiveCalls (draw calls there would be without batching) and drawCalls
// (those that reached OpenGL after batching).
#include <benchmark/benchmark.h>

#include <vector>

#include "bench_devices.h"
#include "platform/device.h"

namespace {

using namespace tessaly::platform;

struct Textures {
    TextureId a = 0, b = 0;
};

Textures textures(Device& d) {
    static Textures t;
    if (!t.a) {
        std::vector<uint8_t> pixels(64 * 64 * 4, 0xFF);
        t.a = d.createTexture(64, 64);
        t.b = d.createTexture(64, 64);
        d.updateTexture(t.a, 0, 0, 64, 64, pixels.data(), 64 * 4);
        d.updateTexture(t.b, 0, 0, 64, 64, pixels.data(), 64 * 4);
    }
    return t;
}

void set2D(Device& d) {
    d.setTransform(TransformKind::World, tessaly::base::Matrix::identity());
    d.setTransform(TransformKind::View, tessaly::base::Matrix::identity());
    d.setTransform(TransformKind::Projection, tessaly::base::orthoLH(800, 600, 1, 100));
    d.setRenderState(RenderState::DepthTest, 0);
    d.setRenderState(RenderState::Cull, CullNone);
    d.setRenderState(RenderState::AlphaBlend, 1);
    d.setRenderState(RenderState::SrcBlend, BlendSrcAlpha);
    d.setRenderState(RenderState::DstBlend, BlendInvSrcAlpha);
}

void quad(Device& d, float x, float y, float w, float h, uint32_t argb) {
    const VertexPCT v[4] = {{x, y, 45, argb, 0, 0},
                            {x + w, y, 45, argb, 1, 0},
                            {x, y - h, 45, argb, 0, 1},
                            {x + w, y - h, 45, argb, 1, 1}};
    d.drawPrimitive(Primitive::TriangleStrip, VertexFormat::PosColorTex, v, 4);
}

// Runs `frame` once per iteration and reports per-frame counts.
template <typename Frame>
void runFrames(benchmark::State& state, Frame frame) {
    Device* d = tessaly::bench::glDevice();
    if (!d) {
        state.SkipWithError("no OpenGL window");
        return;
    }
    set2D(*d);
    const Textures t = textures(*d);
    d->present();
    d->stats() = DrawStats{};
    for (auto _ : state) {
        d->clear(ClearColor, 0xFF000000u, 1, 0);
        frame(*d, t);
        d->present();
    }
    const double frames = double(state.iterations());
    state.counters["primitiveCalls"] = double(d->stats().primitiveCalls) / frames;
    state.counters["drawCalls"] = double(d->stats().drawCalls) / frames;
    state.counters["quads/s"] = benchmark::Counter(double(d->stats().primitiveCalls),
                                                   benchmark::Counter::kIsRate);
}

// A screen of text: glyph quads of one font texture in changing colours.
void BM_GlTextPage(benchmark::State& state) {
    const int glyphs = int(state.range(0));
    runFrames(state, [glyphs](Device& d, const Textures& t) {
        d.setTexture(t.a);
        for (int i = 0; i < glyphs; ++i)
            quad(d, -390 + float(i % 80) * 9.7f, 290 - float(i / 80) * 18, 9, 16,
                 0xFF000000u | uint32_t(i * 2654435761u >> 8));
    });
}
BENCHMARK(BM_GlTextPage)->Arg(500)->Arg(2000)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A menu-like frame: runs of quads between blend-mode and texture changes.
void BM_GlMixedScene(benchmark::State& state) {
    runFrames(state, [](Device& d, const Textures& t) {
        for (int run = 0; run < 20; ++run) {
            d.setTexture(run % 2 ? t.a : t.b);
            d.setRenderState(RenderState::DstBlend, run % 3 ? BlendInvSrcAlpha : BlendOne);
            for (int i = 0; i < 50; ++i)
                quad(d, -400 + float(i) * 16, 300 - float(run) * 30, 14, 28, 0xC0FFFFFFu);
        }
    });
}
BENCHMARK(BM_GlMixedScene)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The worst case for batching: the texture changes on every quad.
void BM_GlAlternatingTextures(benchmark::State& state) {
    runFrames(state, [](Device& d, const Textures& t) {
        for (int i = 0; i < 1000; ++i) {
            d.setTexture(i % 2 ? t.a : t.b);
            quad(d, -400 + float(i % 50) * 16, 300 - float(i / 50) * 30, 14, 28, 0xFFFFFFFFu);
        }
    });
}
BENCHMARK(BM_GlAlternatingTextures)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
