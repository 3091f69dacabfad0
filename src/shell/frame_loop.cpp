#include "shell/frame_loop.h"

#include <cstdio>
#include <cstring>

#include "base/frame_clock.h"
#include "gfx/camera.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "platform/letterbox.h"
#include "shell/hooks.h"
#include "shell/screen.h"
#include "sound/sound.h"

namespace tessaly::shell {

bool FpsSample::addFrame(uint32_t deltaMs) {
    accumulatorMs += deltaMs;
    ++frames;
    if (accumulatorMs <= kFpsWindowMs) return false;
    std::snprintf(text, sizeof text, "%.1f FPS", double(1000.0f / float(accumulatorMs) * float(frames)));
    accumulatorMs -= kFpsWindowMs;
    frames = 0;
    return true;
}

void advanceFrameTiming(uint32_t deltaMs) {
    base::g_frame.frameDeltaMs = deltaMs;
    g_loop.fps.addFrame(deltaMs);
    base::g_frame.frameStepMs = float(deltaMs);
}

void restartFrameClock() { g_loop.lastFrameTimeMs = platform::milliseconds(); }

const PacerClock& platformPacerClock() {
    static const PacerClock clock{&platform::microseconds, &platform::sleepUs};
    return clock;
}

void readDisplayRefresh() { setRefreshRate(g_loop.pacer, platform::displayRefreshHz()); }

void probeSwap(platform::Device& device) {
    uint64_t times[kSwapProbePresents];
    for (uint64_t& t : times) {
        device.present();
        t = platform::microseconds();
    }
    g_loop.pacer.swapWaits = swapsWait(times, kSwapProbePresents, g_loop.pacer.intervalUs);
    g_loop.pacer.lastPresentUs = times[kSwapProbePresents - 1];
}

void dispatchEvent(const platform::Event& event) {
    using platform::EventType;
    Screen* screen = currentScreen();
    switch (event.type) {
    case EventType::Activate:
        sound::resumeAudio();
        g_shell.appActive = true;
        // The first frame after the pause measures from now, so animations
        // do not jump by the time spent away.
        base::g_frame.frameStepMs = 0;
        base::g_frame.frameDeltaMs = 0;
        restartFrameClock();
        return;
    case EventType::Deactivate:
        if (g_hooks.clearBoardHover) g_hooks.clearBoardHover();
        sound::pauseAudio();
        g_shell.appActive = false;
        return;
    case EventType::Close:
        if (g_hooks.saveGameOnClose) g_hooks.saveGameOnClose();
        requestQuit();
        return;
    case EventType::Raise:
        platform::raiseWindow();
        ++g_shell.raiseRequests;
        return;
    case EventType::Resize:
        // The picture keeps its 4:3 aspect inside the window (letterbox), so
        // the projection keeps the picture's aspect too.
        gfx::setPerspectiveFromClient(platform::kLogicalWidth, platform::kLogicalHeight);
        return;
    default:
        break;
    }
    if (!screen) return;
    switch (event.type) {
    case EventType::KeyDown: screen->onKeyDown(event.key); break;
    case EventType::LeftDown: screen->onLeftButtonDown(); break;
    case EventType::LeftUp: screen->onLeftButtonUp(); break;
    case EventType::LeftDoubleClick: screen->onLeftDoubleClick(); break;
    case EventType::RightDown: screen->onRightButtonDown(); break;
    case EventType::RightUp: screen->onRightButtonUp(); break;
    case EventType::MiddleDown: screen->onMiddleButtonDown(); break;
    case EventType::MouseMove: screen->onMouseMove(); break;
    default: break;
    }
}

namespace {

// The FPS and triangle texts (when switched on by the typed code), then the
// render state every screen may rely on at the start of its draw.
void statisticsOverlay(platform::Device& device) {
    std::snprintf(g_loop.triangleText, sizeof g_loop.triangleText, "%i TRI", gfx::g_draw.triangleCount);
    gfx::begin2D();
    if (g_shell.statsOverlay) {
        // In opaque white whatever colour the screen left behind (a faded
        // title leaves it transparent); the screen's colour is put back.
        uint8_t saved[4];
        std::memcpy(saved, gfx::g_text.color, sizeof saved);
        gfx::setTextColor(255, 255, 255, 255);
        gfx::drawText(-360, -100, 10, g_loop.fps.text);
        gfx::drawText(-360, -115, 10, g_loop.triangleText);
        gfx::setTextColor(saved[0], saved[1], saved[2], saved[3]);
    }
    device.setTransform(platform::TransformKind::Projection, gfx::g_draw.perspective);
    device.setTransform(platform::TransformKind::View, gfx::g_camera.view);
    device.setRenderState(platform::RenderState::AlphaBlend, 0);
    device.setRenderState(platform::RenderState::AlphaTest, 0);
    gfx::g_draw.triangleCount = 0;
}

}  // namespace

void runFrame() {
    ++base::g_frame.frameNumber;
    const bool fixed = g_loop.fixedStepMs > 0;
    if (!g_shell.appActive) {
        if (!fixed) platform::sleepMs(kInactiveSleepMs);
        return;
    }
    platform::Device* device = gfx::g_draw.device;
    Screen* screen = currentScreen();
    if (screen) screen->step(base::g_frame.frameStepMs);
    if (screen) {
        device->clear(platform::ClearDepth, 0, 1.0f, 0);
        screen->draw();
        statisticsOverlay(*device);
        if (!fixed) waitForPresent(g_loop.pacer, platformPacerClock());
        device->present();
    }

    const uint32_t now = fixed ? g_loop.lastFrameTimeMs + g_loop.fixedStepMs : platform::milliseconds();
    advanceFrameTiming(now - g_loop.lastFrameTimeMs);
    g_loop.lastFrameTimeMs = now;

    // The screens' tick, every 33 ms of frame time. Every screen leaves it
    // empty today; it runs here rather than on a timer thread, so it could
    // never race the frame.
    g_loop.tickAccumulatorMs += base::g_frame.frameDeltaMs;
    while (g_loop.tickAccumulatorMs >= kTickPeriodMs) {
        g_loop.tickAccumulatorMs -= kTickPeriodMs;
        if (!g_shell.tickSuspended && currentScreen()) currentScreen()->tick();
    }

    if (Screen* s = currentScreen()) s->afterFrame();
    switchPendingScreen();
    base::g_frame.animationClockMs += base::g_frame.frameStepMs;
}

}  // namespace tessaly::shell
