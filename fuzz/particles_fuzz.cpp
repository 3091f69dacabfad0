// Particle effect definitions (".par"): the text is read into the table
// and the effect is run for a second of frames, so that values the reader
// lets through are also driven through emission and motion.
#include <memory>
#include <string>

#include "base/random.h"
#include "fx/particles.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto ps = std::make_unique<fx::ParticleSystem>();
    base::seedRandom(1);
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int index = fx::addParticleEffect(*ps, "fuzz.par", text.c_str());
    // A second copy under another name, so chains to either name resolve.
    fx::addParticleEffect(*ps, "spark.par", text.c_str());
    if (index >= 0) {
        fx::startEffect(*ps, index, {0, 0, 0}, {100, 50, 0}, 1, -1, 0);
        fx::startEffect(*ps, index, {10, 10, 0}, fx::kNoTarget, 2, 3, 0);
        for (int frame = 0; frame < 60; ++frame) fx::stepParticles(*ps, 16.7f);
    }
    return 0;
}
