// The frame clocks every animation and game clock reads. The frame loop is
// the only writer and the only place that reads the wall clock; everything
// else advances by frameStepMs, which is what makes a fixed-step run repeat
// exactly.
#pragma once

#include <cstdint>

namespace tessaly::base {

struct FrameClock {
    uint32_t frameDeltaMs = 0;     // ms between the last two frames
    float frameStepMs = 0;         // the same as a float: the step every clock adds
    float animationClockMs = 0;    // advanced by frameStepMs at each frame end
    uint64_t frameNumber = 0;      // frames completed since start-up
};

inline FrameClock g_frame;

}  // namespace tessaly::base
