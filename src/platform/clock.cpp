// The monotonic millisecond clock the frame loop measures frames with.
#include <chrono>
#include <thread>

#include "platform/window.h"

namespace tessaly::platform {

uint32_t milliseconds() {
    using namespace std::chrono;
    static const steady_clock::time_point s_start = steady_clock::now();
    // Wraps after 49 days, like the unsigned frame timer it feeds; the frame
    // loop only ever subtracts two readings.
    return uint32_t(duration_cast<std::chrono::milliseconds>(steady_clock::now() - s_start).count());
}

uint32_t systemUptimeMs() {
    using namespace std::chrono;
    // steady_clock counts from boot on Linux.
    return uint32_t(duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void sleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace tessaly::platform
