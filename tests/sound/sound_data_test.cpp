// The generated data set holds every sound the game asks for, each one
// playable: it decodes, it is 44100 Hz, and it peaks between -6 and 0 dBFS.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/vorbis_decode.h"
#include "sound/sound_test_support.h"

namespace tessaly::sound {
namespace {

const char* const kRequestedSounds[] = {
    "addball.ogg", "addbonus.ogg", "addlife.ogg", "ball.ogg", "ballstand.ogg", "birds1.ogg", "birds2.ogg",
    "birds3.ogg", "bomb1.ogg", "bomb2.ogg", "brook.ogg", "chain.ogg", "chpok1.ogg", "defeat.ogg",
    "deleteballs.ogg", "diamond.ogg", "diamond0.ogg", "excellent.ogg", "gaf.ogg", "gethammer.ogg",
    "hammer.ogg", "level_defeat.ogg", "levelcomplete.ogg", "menu.ogg", "menu2.ogg", "score.ogg",
    "selectaim.ogg", "selectball.ogg", "square.ogg", "waterfall.ogg", "wow.ogg",
};

TEST(SoundData, EveryRequestedSoundIsThereAndPlayable) {
    for (const char* name : kRequestedSounds) {
        const auto bytes = test::readFile(std::string(TESSALY_DATA_DIR) + "/Sounds/" + name);
        ASSERT_FALSE(bytes.empty()) << name << " is missing";
        platform::Sample s;
        ASSERT_TRUE(platform::decodeVorbis(bytes.data(), bytes.size(), s)) << name;
        EXPECT_EQ(s.rateHz, 44100) << name;
        int peak = 0;
        double sum = 0;
        for (int i = 0; i < s.frames * s.channels; ++i) {
            peak = std::max(peak, std::abs(int(s.pcm[size_t(i)])));
            sum += s.pcm[size_t(i)];
        }
        const double peakDb = 20 * std::log10(peak / 32768.0);
        EXPECT_GE(peakDb, -6.0) << name;
        EXPECT_LT(peakDb, 0.0) << name;
        EXPECT_LT(std::fabs(sum / (s.frames * s.channels)), 0.002 * 32768) << name << " has a DC offset";
    }
}

}  // namespace
}  // namespace tessaly::sound
