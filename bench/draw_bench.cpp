// The drawing code's half of quad and text throughput: the real primitives
// (drawRect, drawSprite, drawText) submitting to the null device, so the
// figures are the cost of building vertices and of the calls, without a GPU.
// Counters per frame: primitiveCalls (draw calls without batching, one per
// quad) and drawCalls (merged batches, by the same rule as the OpenGL
// device); quads/s is the submission rate. gl_draw_bench.cpp measures the
// same scenes on the OpenGL device.
#include <benchmark/benchmark.h>

#include <string>

#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/texture.h"
#include "platform/null/null_device.h"

namespace {

using namespace tessaly;

struct Scene {
    platform::NullDevice device;
    gfx::TextureEntry* a = nullptr;
    gfx::TextureEntry* b = nullptr;

    Scene() {
        gfx::g_draw = gfx::DrawState{};
        gfx::g_draw.device = &device;
        gfx::g_textures.clear();
        gfx::g_textures.device = &device;
        a = gfx::g_textures.create("bench-a", 64, 64, gfx::kFormatA8R8G8B8, false);
        b = gfx::g_textures.create("bench-b", 64, 64, gfx::kFormatA8R8G8B8, false);
        // A font of 16 x 16 cells with varied widths, on texture a.
        gfx::g_text = gfx::TextState{};
        gfx::Font& font = gfx::g_text.fonts[0];
        font.cellsPerRow = 16;
        font.cellFraction = 1.0f / 16;
        font.texture = a;
        for (int c = 0; c < 256; ++c) {
            font.advance[c] = 1.0f + float(c % 5) * 0.25f;
            font.cell[c] = uint8_t(c);
        }
        gfx::g_text.fontCount = 1;
        gfx::g_text.current = &font;
        gfx::begin2D();
    }
    ~Scene() {
        gfx::g_textures.clear();
        gfx::installDevice(nullptr);
        gfx::g_draw = gfx::DrawState{};
        gfx::g_text = gfx::TextState{};
    }
};

template <typename Frame>
void runFrames(benchmark::State& state, Frame frame) {
    Scene scene;
    scene.device.present();
    scene.device.stats() = platform::DrawStats{};
    for (auto _ : state) {
        frame(scene);
        scene.device.present();
    }
    const platform::DrawStats& s = scene.device.stats();
    const double frames = double(state.iterations());
    state.counters["primitiveCalls"] = double(s.primitiveCalls) / frames;
    state.counters["drawCalls"] = double(s.drawCalls) / frames;
    state.counters["quads/s"] = benchmark::Counter(double(s.primitiveCalls), benchmark::Counter::kIsRate);
}

// Quads of one texture and state: the best case for batching.
void BM_NullRects(benchmark::State& state) {
    const int quads = int(state.range(0));
    runFrames(state, [quads](Scene& s) {
        gfx::setTexture(s.a);
        for (int i = 0; i < quads; ++i)
            gfx::drawRect(-400 + float(i % 50) * 16, 300 - float(i / 50) * 30, -386 + float(i % 50) * 16,
                          272 - float(i / 50) * 30, 0, 0, 1, 1, 0xFFFFFFFFu, 10);
    });
}
BENCHMARK(BM_NullRects)->Arg(1000)->Arg(4000)->Unit(benchmark::kMicrosecond);

// Rotated sprites, as the sparks draw them.
void BM_NullSprites(benchmark::State& state) {
    runFrames(state, [](Scene& s) {
        gfx::setTexture(s.b);
        for (int i = 0; i < 2000; ++i)
            gfx::drawSprite(float(i % 80) * 10 - 400, float(i / 80) * 20 - 300, float(i), 12, 12, 0, 0,
                            0.125f, 0.125f, 0xC0FFFFFFu, 10);
    });
}
BENCHMARK(BM_NullSprites)->Unit(benchmark::kMicrosecond);

// A page of text, 80 characters a line.
void BM_NullTextPage(benchmark::State& state) {
    const int lines = int(state.range(0)) / 80;
    std::string line;
    for (int i = 0; i < 80; ++i) line += char('A' + i % 26);
    runFrames(state, [&](Scene&) {
        for (int l = 0; l < lines; ++l) gfx::drawText(-390, 290 - float(l) * 18, 5, line);
    });
}
BENCHMARK(BM_NullTextPage)->Arg(480)->Arg(2000)->Unit(benchmark::kMicrosecond);

// A menu-like frame: runs of quads between texture and blend changes.
void BM_NullMixedScene(benchmark::State& state) {
    runFrames(state, [](Scene& s) {
        for (int run = 0; run < 20; ++run) {
            gfx::setTexture(run % 2 ? s.a : s.b);
            gfx::setBlendMode(run % 3 ? 0 : 1);
            for (int i = 0; i < 50; ++i)
                gfx::drawRect(-400 + float(i) * 16, 300 - float(run) * 30, -386 + float(i) * 16,
                              272 - float(run) * 30, 0, 0, 1, 1, 0xC0FFFFFFu, 10);
        }
    });
}
BENCHMARK(BM_NullMixedScene)->Unit(benchmark::kMicrosecond);

// Measuring and wrapping a tooltip-sized text.
void BM_WrapText(benchmark::State& state) {
    Scene scene;
    const std::string text =
        "Three or more balls of one colour in a row, a column or a diagonal vanish and score. "
        "A move that removes nothing lets the announced balls arrive.";
    for (auto _ : state) benchmark::DoNotOptimize(gfx::wrapText(200, text, 5));
}
BENCHMARK(BM_WrapText);

}  // namespace
