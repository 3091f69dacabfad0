#include <gtest/gtest.h>

#include "base/random.h"

namespace tessaly::base {
namespace {

// The generator state whose next value is `value` (0..32767): solves
// state * 214013 + 2531011 = value << 16 modulo 2^32.
uint32_t stateBefore(int value) {
    uint32_t inverse = 214013u;  // Newton's iteration for the inverse mod 2^32
    for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;
    return ((uint32_t(value) << 16) - 2531011u) * inverse;
}

TEST(CRandom, ReproducesTheClassicSequence) {
    CRandom r;
    r.seed(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int v : expected) EXPECT_EQ(r.next(), v);
}

TEST(CRandom, DerivedRangesAtTheirExtremes) {
    const CRandom saved = g_random;
    seedRandom(12345);
    for (int i = 0; i < 1000; ++i) EXPECT_EQ(randomBelow(1), 0);

    g_random.state = stateBefore(0);
    EXPECT_FLOAT_EQ(randomSigned(3), -3);
    g_random.state = stateBefore(32767);
    EXPECT_FLOAT_EQ(randomSigned(3), 3);
    g_random.state = stateBefore(32767);
    EXPECT_FLOAT_EQ(randomUnit(2), 2);
    g_random.state = stateBefore(0);
    EXPECT_FLOAT_EQ(randomUnit(2), 0);
    g_random = saved;
}

TEST(RepeatableRandom, ReseedingRepeatsTheSequence) {
    int first[20];
    seedRepeatable(1000);
    for (int& v : first) v = repeatableInt(1 << 30);
    seedRepeatable(1000);
    for (int v : first) EXPECT_EQ(repeatableInt(1 << 30), v);

    seedRepeatable(7);
    bool differs = false;
    for (int v : first) differs |= repeatableInt(1 << 30) != v;
    EXPECT_TRUE(differs);

    for (int i = 0; i < 2000; ++i) {
        const int n = g_repeatable.next();
        ASSERT_GE(n, 0);
        ASSERT_LE(n, 65535);
        const float s = repeatableSigned(5);
        ASSERT_GE(s, -5.0f);
        ASSERT_LT(s, 5.0f);
    }
}

}  // namespace
}  // namespace tessaly::base
