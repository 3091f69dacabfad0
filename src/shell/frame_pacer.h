// Frame pacing: the loop never presents faster than the display refreshes,
// whether or not the driver honours vertical sync.
//
// At start-up a few back-to-back presents tell whether a swap actually waits
// for the display. Where it does, the pacer only keeps presents half an
// interval apart, which a waiting swap always does anyway. Where it does not,
// each present waits until one refresh interval has passed since the
// previous one: a sleep to within kSpinUs of that time, then a short spin,
// because a sleep wakes late by tens of microseconds, and by more under load.
//
// The pacer only decides when to present; the measured time between frames
// still drives every clock, so nothing in the game changes speed. Time comes
// through PacerClock so that tests can drive it with a fake clock.
#pragma once

#include <cstdint>

namespace tessaly::shell {

constexpr int kDefaultRefreshHz = 60;    // where the display does not say
constexpr int kMinRefreshHz = 24;        // rates outside these are taken as unknown
constexpr int kMaxRefreshHz = 500;
constexpr uint32_t kSpinUs = 250;        // the last stretch before a present is spun
constexpr int kSwapProbePresents = 4;    // presents measured at start-up

struct PacerClock {
    uint64_t (*nowUs)() = nullptr;           // monotonic microseconds
    void (*sleepUs)(uint64_t us) = nullptr;  // sleeps at least `us`
};

struct FramePacer {
    int refreshHz = kDefaultRefreshHz;
    uint32_t intervalUs = 1000000 / kDefaultRefreshHz;  // one display refresh
    bool swapWaits = false;      // vertical sync found working
    uint64_t lastPresentUs = 0;  // when the previous present was let through; 0 none yet
};

// The display's refresh rate, kDefaultRefreshHz where it is unknown (0) or
// out of any real display's range.
void setRefreshRate(FramePacer& pacer, int hz);

// Whether presents made back to back, at the times given, waited for the
// display: on average at least half a refresh interval apart.
bool swapsWait(const uint64_t* presentTimesUs, int count, uint32_t intervalUs);

// Called just before a present: returns once it may happen.
void waitForPresent(FramePacer& pacer, const PacerClock& clock);

}  // namespace tessaly::shell
