#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "shell/frame_pacer.h"

namespace tessaly::shell {
namespace {

// A fake clock: every reading takes a microsecond (so a spin ends), and a
// sleep oversleeps by up to two milliseconds, as a coarse sleep does.
struct FakeTime {
    uint64_t nowUs = 1000000;
    std::mt19937 random{7};
    int sleeps = 0;
};
FakeTime g_fake;

uint64_t fakeNow() { return g_fake.nowUs++; }
void fakeSleep(uint64_t us) {
    ++g_fake.sleeps;
    g_fake.nowUs += us + std::uniform_int_distribution<uint64_t>(0, 2000)(g_fake.random);
}
const PacerClock kFakeClock{&fakeNow, &fakeSleep};

// Drives the pacer like the loop does with a swap that returns at once:
// frames of random work, from none to longer than an interval, then the
// wait, then the present. Returns the present times.
std::vector<uint64_t> presentTimes(FramePacer& pacer, int frames, uint64_t maxWorkUs) {
    std::vector<uint64_t> times;
    std::uniform_int_distribution<uint64_t> work(0, maxWorkUs);
    for (int i = 0; i < frames; ++i) {
        g_fake.nowUs += work(g_fake.random);
        waitForPresent(pacer, kFakeClock);
        times.push_back(g_fake.nowUs);
    }
    return times;
}

TEST(FramePacer, NeverPresentsFasterThanTheDisplayWhenTheSwapDoesNotWait) {
    for (int hz : {60, 75, 144}) {
        SCOPED_TRACE(hz);
        g_fake = FakeTime{};
        FramePacer pacer;
        setRefreshRate(pacer, hz);
        const std::vector<uint64_t> times = presentTimes(pacer, 2000, 20000);
        uint64_t closest = UINT64_MAX, total = 0;
        for (size_t i = 1; i < times.size(); ++i) {
            closest = std::min(closest, times[i] - times[i - 1]);
            total += times[i] - times[i - 1];
        }
        // No two presents closer than the interval (less a reading or two);
        // and no frame waits much longer than it must: the average stays
        // within what the slow frames add.
        EXPECT_GE(closest, pacer.intervalUs);
        EXPECT_LT(total / (times.size() - 1), uint64_t(pacer.intervalUs) + 10000);
        EXPECT_GT(g_fake.sleeps, 0);
    }
}

TEST(FramePacer, SleepsToJustBeforeTheDueTimeAndNeverWaitsOnSlowFrames) {
    g_fake = FakeTime{};
    FramePacer pacer;
    setRefreshRate(pacer, 60);
    waitForPresent(pacer, kFakeClock);
    // Work of 5 ms: one sleep to just before the due time, then the spin.
    g_fake.nowUs += 5000;
    waitForPresent(pacer, kFakeClock);
    EXPECT_EQ(g_fake.sleeps, 1);
    // A frame slower than the interval is presented at once.
    g_fake.nowUs += 30000;
    const uint64_t before = g_fake.nowUs;
    waitForPresent(pacer, kFakeClock);
    EXPECT_EQ(g_fake.sleeps, 1);
    EXPECT_LT(g_fake.nowUs - before, 10u);
}

TEST(FramePacer, AWaitingSwapIsLeftAloneButStillBounded) {
    g_fake = FakeTime{};
    FramePacer pacer;
    setRefreshRate(pacer, 60);
    pacer.swapWaits = true;
    // Presents at the display's pace never wait.
    presentTimes(pacer, 1, 0);
    for (int i = 0; i < 10; ++i) {
        g_fake.nowUs += pacer.intervalUs;
        waitForPresent(pacer, kFakeClock);
    }
    EXPECT_EQ(g_fake.sleeps, 0);
    // Should it stop waiting, presents still keep half an interval apart.
    const std::vector<uint64_t> times = presentTimes(pacer, 100, 0);
    for (size_t i = 1; i < times.size(); ++i) EXPECT_GE(times[i] - times[i - 1], pacer.intervalUs / 2);
}

TEST(FramePacer, RefreshRatesAndSwapProbes) {
    FramePacer pacer;
    const struct {
        int hz, used;
    } rates[] = {{60, 60}, {144, 144}, {0, 60}, {-5, 60}, {1000, 60}, {24, 24}};
    for (const auto& r : rates) {
        setRefreshRate(pacer, r.hz);
        EXPECT_EQ(pacer.refreshHz, r.used) << r.hz;
        EXPECT_EQ(pacer.intervalUs, uint32_t(1000000 / r.used)) << r.hz;
    }

    const uint32_t interval = 16666;
    const uint64_t waited[] = {0, 16600, 33300, 50000};
    const uint64_t atOnce[] = {0, 900, 1800, 2700};
    const uint64_t oneSlow[] = {0, 20000, 20500, 21000};  // one slow swap is not vertical sync
    EXPECT_TRUE(swapsWait(waited, 4, interval));
    EXPECT_FALSE(swapsWait(atOnce, 4, interval));
    EXPECT_FALSE(swapsWait(oneSlow, 4, interval));
    EXPECT_FALSE(swapsWait(waited, 1, interval));
}

}  // namespace
}  // namespace tessaly::shell
