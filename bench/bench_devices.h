// The devices the benchmarks draw on: the null device, or the OpenGL device
// of one window opened for the whole benchmark run (under SDL's offscreen
// driver unless SDL_VIDEODRIVER says otherwise).
#pragma once

#include <cstdlib>

#include "platform/device.h"
#include "platform/null/null_device.h"
#include "platform/window.h"

namespace tessaly::bench {

// Null when no OpenGL window can be had.
inline platform::Device* glDevice() {
    if (!platform::windowDevice()) {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        platform::openWindow({false, "Tessaly benchmark"});
    }
    return platform::windowDevice();
}

inline platform::Device* benchDevice(bool gl) {
    static platform::NullDevice nullDevice;
    return gl ? glDevice() : &nullDevice;
}

}  // namespace tessaly::bench
