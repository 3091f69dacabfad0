// Ogg Vorbis sound files: decoded as the sound loader does, and when a
// sample came out, taken into the mixer, played at a rate the first byte
// chooses and mixed for a few blocks.
#include <memory>

#include "fuzz_support.h"
#include "platform/vorbis_decode.h"
#include "sound/mixer.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto mixer = std::make_unique<sound::Mixer>();
    fuzz::Input in(data, size);
    const int rateHz = 8000 + int(in.byte()) * 400;
    platform::Sample sample;
    const char* error = nullptr;
    if (!platform::decodeVorbis(in.data(), in.size(), sample, &error)) return 0;
    const uint32_t handle = sound::addSample(*mixer, std::move(sample));
    if (handle != 0) {
        sound::playSample(*mixer, handle, rateHz);
        static float out[2 * sound::kMixBlockFrames];
        for (int i = 0; i < 4; ++i) sound::mix(*mixer, out, sound::kMixBlockFrames);
    }
    return 0;
}
