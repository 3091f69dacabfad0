// The music module through the mixer: loaded, started at an order position
// the first byte chooses, and rendered for a few blocks.
#include <memory>

#include "fuzz_support.h"
#include "sound/mixer.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static auto mixer = std::make_unique<sound::Mixer>();
    fuzz::Input in(data, size);
    const int order = in.byte() % 16;
    platform::MusicModule& music = mixer->music;
    if (music.load(in.data(), in.size())) {
        music.setAmplify(80);
        music.start(order);
        static float out[2 * sound::kMixBlockFrames];
        for (int i = 0; i < 4; ++i) sound::mix(*mixer, out, sound::kMixBlockFrames);
        (void)music.currentOrder();
        (void)music.currentRow();
        (void)music.orderCount();
    }
    music.unload();
    return 0;
}
