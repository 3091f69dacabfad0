#include "gfx/message_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/math.h"

namespace tessaly::gfx {
namespace {

TEST(MessageLine, ArrivesWobblesAndLeavesInItsPhases) {
    struct Case {
        float timer, step;
        float expectTimer, expectY, expectSize;
    };
    const float pi = base::kPi;
    const Case cases[] = {
        // Arriving: slides up from below the screen, growing.
        {1400, 100, 1300, -300, (std::sin(1300 * pi / 1500) * 12 + 6) * 1.3f},
        // Wobbling in place at a third of the speed.
        {800, 100, 770, -270, std::sin(270 * 2 * pi / 125) + 21.58f},
        // Leaving: slides down.
        {400, 100, 300, -290, 21.58f},
    };
    for (const Case& c : cases) {
        MessageLine m;
        m.timerMs = c.timer;
        const MessageFrame f = advanceMessageLine(m, c.step);
        EXPECT_TRUE(f.visible);
        EXPECT_NEAR(m.timerMs, c.expectTimer, 1e-3) << c.timer;
        EXPECT_NEAR(f.y, c.expectY, 1e-3) << c.timer;
        EXPECT_NEAR(f.size, c.expectSize, 1e-3) << c.timer;
    }
}

TEST(MessageLine, ShowsForAboutTwoAndAHalfSeconds) {
    MessageLine m;
    EXPECT_FALSE(advanceMessageLine(m, 1).visible && m.timerMs >= 0);
    showMessage(m, "Cheat key enabled");
    EXPECT_FLOAT_EQ(m.timerMs, kMessageStartMs);
    int visibleMs = 0;
    while (advanceMessageLine(m, 1).visible) ++visibleMs;
    // 400 ms arriving, 500 / 0.3 ms wobbling, 500 ms leaving.
    EXPECT_NEAR(visibleMs, 400 + 1667 + 500, 3);
}

TEST(MessageLine, ASecondMessageReplacesTheTextWithoutRestarting) {
    MessageLine m;
    showMessage(m, "first");
    advanceMessageLine(m, 300);
    const float timer = m.timerMs;
    showMessage(m, "second");
    EXPECT_STREQ(m.text, "second");
    EXPECT_FLOAT_EQ(m.timerMs, timer);
}

TEST(MessageLine, LongTextsAreCut) {
    MessageLine m;
    showMessage(m, std::string(300, 'x'));
    EXPECT_EQ(std::string(m.text), std::string(kMessageLength, 'x'));
}

}  // namespace
}  // namespace tessaly::gfx
