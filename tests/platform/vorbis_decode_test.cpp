// Ogg Vorbis decoding from memory, with the malformed files that matter.
#include <gtest/gtest.h>

#include <string>

#include "platform/vorbis_decode.h"
#include "sound/sound_test_support.h"

namespace tessaly::platform {
namespace {

TEST(VorbisDecode, MonoAndStereoFilesDecodeWhole) {
    for (int channels : {1, 2}) {
        const auto bytes = sound::test::encodeOgg(440, 0.5, 44100, channels);
        Sample s;
        ASSERT_TRUE(decodeVorbis(bytes.data(), bytes.size(), s)) << channels;
        EXPECT_EQ(s.channels, channels);
        EXPECT_EQ(s.rateHz, 44100);
        EXPECT_EQ(s.frames, 22050);
        int16_t peak = 0;
        for (int i = 0; i < s.frames * channels; ++i) peak = std::max<int16_t>(peak, s.pcm[size_t(i)]);
        EXPECT_NEAR(peak, 16384, 1200) << "a sine at half scale";
    }
    const auto slow = sound::test::encodeOgg(440, 0.25, 22050);
    Sample s;
    ASSERT_TRUE(decodeVorbis(slow.data(), slow.size(), s));
    EXPECT_EQ(s.rateHz, 22050);
}

TEST(VorbisDecode, MalformedFilesAreRefusedOrCutShort) {
    // A noisy bed spans many Ogg pages, so a cut leaves whole pages before it.
    const auto good = sound::test::readFile(std::string(TESSALY_DATA_DIR) + "/Sounds/brook.ogg");
    ASSERT_GT(good.size(), 20000u);
    Sample whole;
    ASSERT_TRUE(decodeVorbis(good.data(), good.size(), whole));
    const auto cut = [&](size_t n) { return sound::test::Bytes(good.begin(), good.begin() + long(n)); };
    sound::test::Bytes flipped = good;
    for (size_t i = flipped.size() / 2; i < flipped.size(); i += 7) flipped[i] ^= 0xA5;

    struct Case {
        const char* what;
        sound::test::Bytes bytes;
        bool decodes;
    };
    const Case cases[] = {
        {"empty", {}, false},
        {"not Ogg", sound::test::Bytes(500, 0x41), false},
        {"headers cut", cut(60), false},
        {"cut in the codebooks", cut(1000), false},
        {"cut mid-audio", cut(good.size() / 2), true},
        {"damaged audio pages", flipped, true},
        {"three channels", sound::test::encodeOgg(440, 0.1, 44100, 3), false},
    };
    for (const Case& c : cases) {
        Sample s;
        const char* why = nullptr;
        EXPECT_EQ(decodeVorbis(c.bytes.data(), c.bytes.size(), s, &why), c.decodes) << c.what;
        if (c.decodes) {
            EXPECT_GT(s.frames, 0) << c.what;
            EXPECT_LE(s.frames, whole.frames) << c.what;
        } else {
            EXPECT_TRUE(s.empty()) << c.what;
            EXPECT_NE(why, nullptr) << c.what;
        }
    }
    Sample none;
    EXPECT_FALSE(decodeVorbis(nullptr, 100, none));
}

}  // namespace
}  // namespace tessaly::platform
