// Helpers for the sound tests: samples made in code, Ogg Vorbis files
// encoded in memory, rendering a mixer by hand and measuring what came out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sample.h"
#include "sound/mixer.h"

namespace tessaly::sound::test {

using Bytes = std::vector<uint8_t>;

// A sine of `frames` frames at `freqHz`, peak `amplitude` (0..1).
platform::Sample sineSample(double freqHz, int frames, int rateHz = kOutputRateHz, double amplitude = 0.5, int channels = 1);
// A constant level, for exact volume checks.
platform::Sample constantSample(int16_t value, int frames, int rateHz = kOutputRateHz);

// An Ogg Vorbis file of `channels` copies of a sine (libvorbisenc).
Bytes encodeOgg(double freqHz, double seconds, int rateHz = 44100, int channels = 1);

// Renders `frames` stereo frames in blocks of `block` frames, as an audio
// callback would.
std::vector<float> render(Mixer& mixer, int frames, int block = 512);

float peakOf(const std::vector<float>& stereo, int channel = -1);  // -1: both
// Frames from the start to the last frame with any sound.
int soundingFrames(const std::vector<float>& stereo);
// Pitch from rising zero crossings of the left channel over [from, to).
double measuredHz(const std::vector<float>& stereo, int from, int to, int rateHz = kOutputRateHz);

Bytes readFile(const std::string& path);

}  // namespace tessaly::sound::test
