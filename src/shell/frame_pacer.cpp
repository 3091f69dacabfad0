#include "shell/frame_pacer.h"

namespace tessaly::shell {

void setRefreshRate(FramePacer& pacer, int hz) {
    if (hz < kMinRefreshHz || hz > kMaxRefreshHz) hz = kDefaultRefreshHz;
    pacer.refreshHz = hz;
    pacer.intervalUs = uint32_t(1000000 / hz);
}

bool swapsWait(const uint64_t* presentTimesUs, int count, uint32_t intervalUs) {
    if (count < 2) return false;
    const uint64_t span = presentTimesUs[count - 1] - presentTimesUs[0];
    return span * 2 >= uint64_t(intervalUs) * uint64_t(count - 1);
}

void waitForPresent(FramePacer& pacer, const PacerClock& clock) {
    uint64_t now = clock.nowUs();
    if (pacer.lastPresentUs != 0) {
        // Where the swap waits, half an interval never delays a frame; it
        // only bounds the rate should the swap stop waiting.
        const uint64_t due = pacer.lastPresentUs + (pacer.swapWaits ? pacer.intervalUs / 2 : pacer.intervalUs);
        if (now + kSpinUs < due) {
            clock.sleepUs(due - now - kSpinUs);
            now = clock.nowUs();
        }
        while (now < due) now = clock.nowUs();
    }
    // The next interval counts from this present, so a frame that ran late
    // is followed by a full interval rather than a hurried catch-up frame.
    pacer.lastPresentUs = now;
}

}  // namespace tessaly::shell
