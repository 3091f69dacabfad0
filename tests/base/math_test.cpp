#include <gtest/gtest.h>

#include <cmath>

#include "base/frame_clock.h"
#include "base/math.h"

namespace tessaly::base {
namespace {

TEST(FastSqrt, MatchesTheLibraryToFifteenBits) {
    buildSqrtTables();
    // Odd and even exponents on both sides of 1, the ends of a mantissa range
    // and large and small magnitudes.
    for (float x : {1.0f, 2.0f, 3.999f, 4.0f, 0.5f, 0.25f, 0.3f, 7.0f, 1e-6f, 3e-7f, 12345.678f,
                    1e30f, 2.5e-30f}) {
        const float want = std::sqrt(x);
        EXPECT_NEAR(fastSqrt(x), want, want * (1.0f / 16384)) << "x = " << x;
    }
    EXPECT_EQ(fastSqrt(0.0f), 0.0f);
    EXPECT_EQ(fastSqrt(-4.0f), 0.0f);
}

TEST(Vectors, LengthNormaliseAndRotate) {
    EXPECT_NEAR(length(Vec2{3, 4}), 5.0f, 5.0f / 16384);
    EXPECT_NEAR(length(Vec3{2, 3, 6}), 7.0f, 7.0f / 16384);
    const Vec2 zero = normalize(Vec2{0, 0});
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    const Vec3 n = normalize(Vec3{0, 0, -3});
    EXPECT_NEAR(n.z, -1.0f, 1e-4f);

    const Vec2 r = rotateDeg({1, 0}, 90);
    EXPECT_NEAR(r.x, 0.0f, 1e-6f);
    EXPECT_NEAR(r.y, 1.0f, 1e-6f);
}

TEST(Vectors, AngleOfCoversAllQuadrants) {
    struct Case {
        Vec2 v;
        float degrees;
    };
    const Case cases[] = {{{1, 0}, 0},     {{0, 2}, 90},    {{-1, 0}, 180}, {{0, -1}, 270},
                          {{1, 1}, 45},    {{-2, 2}, 135},  {{3, -3}, 315}};
    for (const Case& c : cases)
        EXPECT_NEAR(angleOf(c.v), c.degrees, 0.02f) << c.v.x << ", " << c.v.y;
}

TEST(Rects, CentreSizeAndOffset) {
    const Rect r = rectFromCentre({10, 20}, 40, 30);
    EXPECT_FLOAT_EQ(r.left, -10);
    EXPECT_FLOAT_EQ(r.top, 35);  // y grows upwards
    EXPECT_FLOAT_EQ(r.right, 30);
    EXPECT_FLOAT_EQ(r.bottom, 5);
    EXPECT_FLOAT_EQ(width(r), 40);
    EXPECT_FLOAT_EQ(height(r), 30);
    const Rect moved = offsetRect(r, {5, -5});
    EXPECT_FLOAT_EQ(centre(moved).x, 15);
    EXPECT_FLOAT_EQ(centre(moved).y, 15);
}

TEST(Colors, PackedBytesAndLerp) {
    const Color32 c(0x1FF, 0x80, 0, 0x40);  // only the low 8 bits are kept
    EXPECT_EQ(c.argb, 0x40FF8000u);
    EXPECT_EQ(Color32().argb, 0xFFFFFFFFu);
    const ColorF d;
    EXPECT_EQ(d.a, 0.0f);
    const ColorF mid = lerp(ColorF{0, 0, 0, 0}, ColorF{1, 0.5f, 0, 1}, 0.5f);
    EXPECT_FLOAT_EQ(mid.r, 0.5f);
    EXPECT_FLOAT_EQ(mid.g, 0.25f);
    EXPECT_FLOAT_EQ(mid.a, 0.5f);
}

TEST(Pulse, ExplicitTimeOrTheAnimationClock) {
    EXPECT_NEAR(pulse(1, 250), 1.0f, 1e-5f);
    EXPECT_NEAR(pulse(1, 750), 0.0f, 1e-5f);
    EXPECT_NEAR(pulse(2, 0), 0.5f, 1e-5f);
    const float saved = g_frame.animationClockMs;
    g_frame.animationClockMs = 125;
    EXPECT_NEAR(pulse(2), 1.0f, 1e-5f);
    g_frame.animationClockMs = saved;
}

TEST(Clamp01, NaNBecomesZero) {
    EXPECT_FLOAT_EQ(clamp01(std::nanf("")), 0.0f);
    EXPECT_FLOAT_EQ(clamp01(-0.5f), 0.0f);
    EXPECT_FLOAT_EQ(clamp01(0.25f), 0.25f);
    EXPECT_FLOAT_EQ(clamp01(7.0f), 1.0f);
}

}  // namespace
}  // namespace tessaly::base
