// Ogg Vorbis sound files through the sound loader: decoded into the table
// and, when a sample came out, played at a rate the first byte chooses and
// mixed for a few blocks.
#include <memory>

#include "fuzz_support.h"
#include "sound/sound_system.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto system = std::make_unique<sound::SoundSystem>();
    fuzz::Input in(data, size);
    const int rateHz = 8000 + int(in.byte()) * 400;
    sound::addSound(*system, "fuzz.ogg", in.data(), in.size());
    if (system->soundCount > 0 && system->sounds[0].sample != 0) {
        sound::playSample(system->mixer, system->sounds[0].sample, rateHz);
        static float out[2 * sound::kMixBlockFrames];
        for (int i = 0; i < 4; ++i) sound::mix(system->mixer, out, sound::kMixBlockFrames);
    }
    return 0;
}
