// The monotonic millisecond clock the frame loop measures frames with.
#include <chrono>
#include <thread>

#include "platform/window.h"

namespace tessaly::platform {

namespace {

const std::chrono::steady_clock::time_point g_clockStart = std::chrono::steady_clock::now();

}  // namespace

uint32_t milliseconds() {
    using namespace std::chrono;
    // Wraps after 49 days, like the unsigned frame timer it feeds; the frame
    // loop only ever subtracts two readings.
    return uint32_t(duration_cast<std::chrono::milliseconds>(steady_clock::now() - g_clockStart).count());
}

uint64_t microseconds() {
    using namespace std::chrono;
    return uint64_t(duration_cast<std::chrono::microseconds>(steady_clock::now() - g_clockStart).count());
}

uint32_t systemUptimeMs() {
    using namespace std::chrono;
    // steady_clock counts from boot on Linux.
    return uint32_t(duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void sleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void sleepUs(uint64_t us) { std::this_thread::sleep_for(std::chrono::microseconds(us)); }

}  // namespace tessaly::platform
