// The software mixer that stands in for an audio library: a table of decoded
// samples, a pool of voices that each play one sample once at a chosen
// playback rate (linear interpolation), and the music module, summed into
// interleaved stereo float at kOutputRateHz with the global sample and music
// volumes and the music channel volume on top.
//
// mix() is what the audio output's thread calls; it can as well be called
// by hand to render into a buffer without any device (tests, benchmarks).
// Everything else runs on the main thread under the output's lock (the
// SoundSystem takes it). mix() allocates nothing.
//
// Handles: a sample handle is its table index + 1; a channel handle carries
// the voice index in its low 8 bits and a serial above it, so a handle of a
// voice that has since been reused is no longer active. 0 is never a handle.
#pragma once

#include <array>
#include <cstdint>

#include "platform/music_module.h"
#include "platform/sample.h"

namespace tessaly::sound {

constexpr int kOutputRateHz = 44100;
// The rate at which a sample plays at its own pitch. A playback rate is
// relative to it: a sample recorded at 22050 Hz still plays true at 44100.
constexpr int kNormalRateHz = 44100;
constexpr int kMaxSamples = 256;             // one per sound file the game loads
// The request ring starts at most 256 sounds per frame; more at once are
// inaudible. When all voices play, a new playback takes the oldest voice.
constexpr int kMaxVoices = 256;
// At most this many playbacks of one sample at once; one more takes the
// oldest voice of that sample.
constexpr int kMaxPlaybacksPerSample = 255;
constexpr int kMixBlockFrames = 1024;        // music render block, frames
constexpr int kMaxVolume = 100;              // volumes run 0..100

struct Voice {
    uint32_t channel = 0;     // handle, 0 while idle
    int sample = -1;          // index into Mixer::samples
    uint64_t position = 0;    // sample frames, 32.32 fixed point
    uint64_t step = 0;        // sample frames per output frame, 32.32
    uint32_t started = 0;     // start serial, to find the oldest voice
};

struct Mixer {
    std::array<platform::Sample, kMaxSamples> samples;
    int sampleCount = 0;
    std::array<Voice, kMaxVoices> voices;
    uint32_t startSerial = 0;       // counts playbacks started
    int sampleVolume = kMaxVolume;  // global sample volume, 0..100
    int musicVolume = kMaxVolume;   // global music volume, 0..100
    int musicChannelVolume = kMaxVolume;  // the music channel's own volume (fades), 0..100
    platform::MusicModule music;
    std::array<float, 2 * kMixBlockFrames> musicBlock{};  // music render scratch
};

// Takes a decoded sample into the table. Returns its handle, or 0 when the
// sample is empty or the table is full (the sample is dropped).
uint32_t addSample(Mixer& mixer, platform::Sample&& sample);

// Plays a sample once at `rateHz` (kNormalRateHz = its own pitch). Returns
// the channel handle, or 0 for a handle that names no sample or a rate <= 0.
uint32_t playSample(Mixer& mixer, uint32_t sample, int rateHz);
bool channelActive(const Mixer& mixer, uint32_t channel);
void stopSample(Mixer& mixer, uint32_t sample);  // every playing channel of it
int activeVoices(const Mixer& mixer);

// Renders `frames` stereo frames into `out` (2 floats per frame, clamped to
// -1..1) and advances every voice and the music.
void mix(Mixer& mixer, float* out, int frames);

// Adapter for platform::AudioOutput (user = the Mixer).
void mixCallback(void* mixer, float* out, int frames);

}  // namespace tessaly::sound
