// The frame loop: once per pass it turns pending window events into the
// current screen's operations, draws one frame (the screen's draw, the
// statistics overlay, present), measures the frame, runs afterFrame and a
// pending screen switch. The only place the wall clock is read.
//
// Timing: frameDeltaMs is the time between two presents; with a fixed step
// (tests, recordings) every frame advances exactly that step and nothing
// sleeps. Otherwise the pacer keeps presents a display refresh apart where
// vertical sync does not (see frame_pacer.h); while the window is inactive
// (unfocused, minimised or hidden) the loop sleeps kInactiveSleepMs per pass
// and draws nothing.
//
// Depends on: platform (events, clock, device), gfx (2D set-up, text), the
// screens.
#pragma once

#include <cstdint>

#include "platform/window.h"
#include "shell/frame_pacer.h"

namespace tessaly::shell {

constexpr uint32_t kFpsWindowMs = 300;     // an FPS sample covers just over this
constexpr uint32_t kTickPeriodMs = 33;     // the screens' tick
constexpr uint32_t kInactiveSleepMs = 200;

// Frames per second over windows of a little more than 300 ms.
struct FpsSample {
    uint32_t accumulatorMs = 0;  // time summed since the last sample, ms
    int frames = 0;              // frames since the last sample
    char text[32] = {};          // the last sample, "%.1f FPS"

    // Adds one frame; true when it completed a window and `text` changed.
    // The time past 300 ms carries into the next window.
    bool addFrame(uint32_t deltaMs);
};

struct FrameLoop {
    uint32_t lastFrameTimeMs = 0;    // clock reading at the previous present
    uint32_t fixedStepMs = 0;        // 0: measure frames
    uint32_t tickAccumulatorMs = 0;  // time towards the next tick, ms
    FpsSample fps;
    char triangleText[32] = {};      // "%i TRI" of the last frame
    FramePacer pacer;
    uint64_t lastLoadingFrameUs = 0; // when the last loading frame was presented
    int loadingFrames = 0;           // loading frames presented
};

inline FrameLoop g_loop;

// Turns one event into the current screen's operation (or the shell's own
// handling: activation, close, resize).
void dispatchEvent(const platform::Event& event);

// Restarts the frame clock from now (start of the loop, reactivation).
void restartFrameClock();

// The pacer's clock: the platform's monotonic clock and sleep.
const PacerClock& platformPacerClock();

// The refresh rate of the window's display, for the pacer and the loading
// frames; right after the window opens.
void readDisplayRefresh();

// With vertical sync asked for: presents the current picture a few times
// back to back and notes whether the swap waited for the display.
void probeSwap(platform::Device& device);

// One pass of the loop after the events: a frame when active, a sleep when
// not. Always counts the pass in base::g_frame.frameNumber.
void runFrame();

// Sets the frame clocks from a measured delta: frameDeltaMs, frameStepMs and
// the FPS sample.
void advanceFrameTiming(uint32_t deltaMs);

}  // namespace tessaly::shell
