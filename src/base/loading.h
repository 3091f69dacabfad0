// Loading progress: every data block registered (and the music module, which
// the sound loader reads itself) reports its size here; the shell draws one
// loading-screen frame per report and sums the bytes for the progress bar.
// Without a hook installed (tests, tools) reports only add up.
#pragma once

#include <cstdint>

namespace tessaly::base {

struct LoadingProgress {
    int64_t loadedBytes = 0;   // sum of reported sizes
    int reports = 0;           // number of reports
    void (*drawFrame)() = nullptr;  // draws and presents one loading frame
};

inline LoadingProgress g_loading;

inline void reportLoadProgress(int32_t bytes) {
    g_loading.loadedBytes += bytes;
    ++g_loading.reports;
    if (g_loading.drawFrame) g_loading.drawFrame();
}

}  // namespace tessaly::base
