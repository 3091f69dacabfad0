#include <gtest/gtest.h>

#include <string>

#include "base/frame_clock.h"
#include "shell/frame_loop.h"

namespace tessaly::shell {
namespace {

TEST(FpsSample, WindowClosesOnlyPastThreeHundredMs) {
    FpsSample fps;
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(fps.addFrame(100));
    EXPECT_EQ(fps.accumulatorMs, 300u);
    EXPECT_EQ(fps.frames, 3);
    EXPECT_STREQ(fps.text, "");

    // The fourth frame takes the window to 301 ms: 4 frames in 301 ms, and
    // the 1 ms past the window starts the next one.
    EXPECT_TRUE(fps.addFrame(1));
    EXPECT_STREQ(fps.text, "13.3 FPS");
    EXPECT_EQ(fps.accumulatorMs, 1u);
    EXPECT_EQ(fps.frames, 0);
}

TEST(FpsSample, CarriedTimeCountsTowardsTheNextWindow) {
    FpsSample fps;
    EXPECT_TRUE(fps.addFrame(350));  // one long frame: 1 frame in 350 ms
    EXPECT_STREQ(fps.text, "2.9 FPS");
    EXPECT_EQ(fps.accumulatorMs, 50u);
    // 50 carried + 250 = 300: still no sample; one more ms closes it.
    EXPECT_FALSE(fps.addFrame(250));
    EXPECT_TRUE(fps.addFrame(1));
    EXPECT_STREQ(fps.text, "6.6 FPS");
}

TEST(FrameTiming, StepIsTheMeasuredDeltaWithoutCap) {
    advanceFrameTiming(500);
    EXPECT_EQ(base::g_frame.frameDeltaMs, 500u);
    EXPECT_FLOAT_EQ(base::g_frame.frameStepMs, 500.0f);
    advanceFrameTiming(0);
    EXPECT_FLOAT_EQ(base::g_frame.frameStepMs, 0.0f);
}

}  // namespace
}  // namespace tessaly::shell
