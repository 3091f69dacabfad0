// One decoded sound: 16-bit PCM frames held in memory for the mixer, mono or
// stereo interleaved, at the rate the file was recorded at.
#pragma once

#include <cstdint>
#include <memory>

namespace tessaly::platform {

struct Sample {
    std::unique_ptr<int16_t[]> pcm;  // frames x channels values, interleaved
    int32_t frames = 0;              // sample frames
    int32_t rateHz = 0;              // recorded rate, Hz
    int channels = 0;                // 1 or 2; 0 for an empty slot

    bool empty() const { return channels == 0 || frames == 0; }
};

}  // namespace tessaly::platform
