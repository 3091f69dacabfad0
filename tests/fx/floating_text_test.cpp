#include "fx/floating_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "base/math.h"
#include "base/random.h"
#include "fx/sparks.h"

namespace tessaly::fx {
namespace {

class FloatingTextTest : public ::testing::Test {
protected:
    void SetUp() override { base::seedRandom(3); }
    FloatingTexts texts;
    std::unique_ptr<fx::SparkSystem> sparks = std::make_unique<fx::SparkSystem>();
};

TEST_F(FloatingTextTest, LivesItsDurationInThreePhases) {
    addFloatingText(texts, "+500", 10, 20, 30, 1000);
    const FloatingText& t = texts.slots[0];
    int growing = 0, pulsing = 0, shrinking = 0;
    for (int ms = 0; ms < 2000 && t.life > 0; ++ms) {
        const float life = t.life;
        stepFloatingTexts(texts, *sparks, 1);
        if (life > kFloatingGrowEnd) ++growing;
        else if (life > kFloatingPulseEnd) ++pulsing;
        else ++shrinking;
    }
    EXPECT_NEAR(growing, 300, 1);
    EXPECT_NEAR(pulsing, 400, 1);
    EXPECT_NEAR(shrinking, 300, 1);
    // Each growing frame throws one glow spark.
    EXPECT_EQ(sparks->nextSpark, growing);
    EXPECT_EQ(sparks->sparks[0].preset, kFloatingTextSparkPreset);
}

TEST_F(FloatingTextTest, LooksGrowPulseAndShrink) {
    FloatingText t;
    t.size = 20;
    struct Case {
        float life, size;
        int alpha;
    };
    const Case cases[] = {
        {2000, 0, 0},      // born invisible
        {1700, 10, 128},   // half grown
        {1400, 20, 255},   // pulse starts at full size
        {1000, 20 * (1 + 0.1f * std::sin(400.0f / 800 * 3 * base::kPi)), 255},
        {300, 10, 128},    // half shrunk
    };
    for (const Case& c : cases) {
        t.life = c.life;
        const FloatingTextLook look = floatingTextLook(t);
        EXPECT_NEAR(look.size, c.size, 1e-3) << c.life;
        EXPECT_EQ(look.alpha, c.alpha) << c.life;
    }
}

TEST_F(FloatingTextTest, SeventeenthTextReplacesTheOldest) {
    for (int i = 0; i < kMaxFloatingTexts + 1; ++i)
        addFloatingText(texts, std::to_string(i), float(i), 0, 10, 1000);
    EXPECT_STREQ(texts.slots[0].text, "16");
    EXPECT_STREQ(texts.slots[1].text, "1");
    for (const FloatingText& t : texts.slots) EXPECT_GT(t.life, 0);
    EXPECT_EQ(texts.use.replaced, 1);
}

TEST_F(FloatingTextTest, NonPositiveDurationsAddNothing) {
    addFloatingText(texts, "a", 0, 0, 10, 0);
    addFloatingText(texts, "b", 0, 0, 10, -5);
    EXPECT_EQ(texts.next, 0);
    for (const FloatingText& t : texts.slots) EXPECT_LE(t.life, 0);
}

TEST_F(FloatingTextTest, AStepLongerThanTheRestEndsTheText) {
    addFloatingText(texts, "x", 0, 0, 10, 1000);
    texts.slots[0].life = 100;  // 50 ms left
    stepFloatingTexts(texts, *sparks, 80);
    EXPECT_LE(texts.slots[0].life, 0);
}

}  // namespace
}  // namespace tessaly::fx
