// The mixer rendered into a buffer, without any device: playback rates,
// volumes, stopping, and what happens when the voices run out.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "sound/mixer.h"
#include "sound/sound_test_support.h"

namespace tessaly::sound {
namespace {

using test::measuredHz;
using test::render;
using test::sineSample;
using test::soundingFrames;

class MixerTest : public ::testing::Test {
protected:
    std::unique_ptr<Mixer> m_mixer = std::make_unique<Mixer>();
};

TEST_F(MixerTest, PlaybackRateSetsLengthAndPitch) {
    struct Case {
        int rateHz;
        int recordedHz;   // the sample's own rate
        double expectedLength;  // in output frames per sample frame
        double expectedPitch;   // times the recorded pitch
    };
    const Case cases[] = {
        {44100, 44100, 1.0, 1.0},
        {88200, 44100, 0.5, 2.0},   // twice the rate: half as long, an octave up
        {22050, 44100, 2.0, 0.5},
        {35000, 44100, 44100.0 / 35000, 35000.0 / 44100},  // a removed ball at combo 0
        // A sample recorded at 22050 Hz plays true at the normal rate.
        {44100, 22050, 2.0, 1.0},
    };
    for (const Case& c : cases) {
        m_mixer = std::make_unique<Mixer>();
        const int frames = c.recordedHz / 5;  // 0.2 s
        const uint32_t sample = addSample(*m_mixer, sineSample(441, frames, c.recordedHz));
        ASSERT_NE(sample, 0u);
        ASSERT_NE(playSample(*m_mixer, sample, c.rateHz), 0u);
        const auto out = render(*m_mixer, 44100);
        const int length = soundingFrames(out);
        EXPECT_NEAR(length, frames * c.expectedLength, 3) << c.rateHz << " Hz";
        EXPECT_NEAR(measuredHz(out, 0, length), 441.0 * c.expectedPitch, 441.0 * c.expectedPitch * 0.01) << c.rateHz << " Hz";
        EXPECT_EQ(activeVoices(*m_mixer), 0) << "a voice that has played out is freed";
    }
}

TEST_F(MixerTest, LinearInterpolationBetweenFrames) {
    // Two frames, 0 and 16384, played at a quarter of the rate: the output
    // walks up in quarters and then towards silence.
    platform::Sample ramp;
    ramp.pcm = std::make_unique<int16_t[]>(2);
    ramp.pcm[0] = 0;
    ramp.pcm[1] = 16384;
    ramp.frames = 2;
    ramp.rateHz = 44100;
    ramp.channels = 1;
    const uint32_t sample = addSample(*m_mixer, std::move(ramp));
    playSample(*m_mixer, sample, 44100 / 4);
    const auto out = render(*m_mixer, 10);
    const float expected[8] = {0, 0.125f, 0.25f, 0.375f, 0.5f, 0.375f, 0.25f, 0.125f};
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(out[size_t(2 * i)], expected[i], 1e-4) << "frame " << i;
        EXPECT_FLOAT_EQ(out[size_t(2 * i + 1)], out[size_t(2 * i)]) << "mono plays on both sides";
    }
    EXPECT_EQ(out[16], 0.0f);
}

TEST_F(MixerTest, StereoSamplesKeepTheirSides) {
    platform::Sample s = sineSample(441, 4410, 44100, 0.5, 2);
    for (int i = 0; i < s.frames; ++i) s.pcm[size_t(2 * i + 1)] = 0;  // right side silent
    playSample(*m_mixer, addSample(*m_mixer, std::move(s)), 44100);
    const auto out = render(*m_mixer, 4410);
    EXPECT_NEAR(test::peakOf(out, 0), 0.5f, 0.01f);
    EXPECT_EQ(test::peakOf(out, 1), 0.0f);
}

TEST_F(MixerTest, SampleVolumeScalesEffects) {
    const uint32_t sample = addSample(*m_mixer, test::constantSample(16384, 1000));
    for (int volume : {100, 50, 0}) {
        m_mixer->sampleVolume = volume;
        playSample(*m_mixer, sample, 44100);
        const auto out = render(*m_mixer, 100);
        EXPECT_NEAR(out[100], 0.5f * volume / 100, 1e-4) << "volume " << volume;
        stopSample(*m_mixer, sample);
    }
}

TEST_F(MixerTest, OutputIsClampedToFullScale) {
    const uint32_t sample = addSample(*m_mixer, test::constantSample(30000, 100));
    for (int i = 0; i < 3; ++i) playSample(*m_mixer, sample, 44100);
    const auto out = render(*m_mixer, 50);
    EXPECT_EQ(out[10], 1.0f);
}

TEST_F(MixerTest, StoppingASampleSilencesAllItsChannels) {
    const uint32_t a = addSample(*m_mixer, sineSample(441, 44100));
    const uint32_t b = addSample(*m_mixer, sineSample(661, 44100));
    const uint32_t a1 = playSample(*m_mixer, a, 44100);
    const uint32_t a2 = playSample(*m_mixer, a, 50000);
    const uint32_t b1 = playSample(*m_mixer, b, 44100);
    render(*m_mixer, 100);
    stopSample(*m_mixer, a);
    EXPECT_FALSE(channelActive(*m_mixer, a1));
    EXPECT_FALSE(channelActive(*m_mixer, a2));
    EXPECT_TRUE(channelActive(*m_mixer, b1));
    stopSample(*m_mixer, b);
    const auto out = render(*m_mixer, 1000);
    EXPECT_EQ(test::peakOf(out), 0.0f);
}

TEST_F(MixerTest, FullVoicePoolTakesTheOldestVoice) {
    const uint32_t a = addSample(*m_mixer, sineSample(441, 44100));
    const uint32_t b = addSample(*m_mixer, sineSample(441, 44100));
    std::vector<uint32_t> channels;
    for (int i = 0; i < kMaxVoices; ++i) channels.push_back(playSample(*m_mixer, i % 2 ? a : b, 44100));
    ASSERT_EQ(activeVoices(*m_mixer), kMaxVoices);
    const uint32_t newest = playSample(*m_mixer, a, 44100);
    EXPECT_TRUE(channelActive(*m_mixer, newest));
    EXPECT_FALSE(channelActive(*m_mixer, channels[0])) << "the oldest voice was taken";
    for (size_t i = 1; i < channels.size(); ++i) EXPECT_TRUE(channelActive(*m_mixer, channels[i])) << i;
    EXPECT_EQ(activeVoices(*m_mixer), kMaxVoices);
}

TEST_F(MixerTest, OneSampleHasAtMost255Playbacks) {
    const uint32_t a = addSample(*m_mixer, sineSample(441, 44100));
    std::vector<uint32_t> channels;
    for (int i = 0; i < kMaxPlaybacksPerSample; ++i) channels.push_back(playSample(*m_mixer, a, 44100));
    const uint32_t extra = playSample(*m_mixer, a, 44100);
    EXPECT_TRUE(channelActive(*m_mixer, extra));
    EXPECT_FALSE(channelActive(*m_mixer, channels[0])) << "its own oldest playback makes room";
    EXPECT_EQ(activeVoices(*m_mixer), kMaxPlaybacksPerSample) << "a free voice is left for other sounds";
}

TEST_F(MixerTest, RefusesWhatItCannotPlay) {
    EXPECT_EQ(addSample(*m_mixer, platform::Sample{}), 0u) << "an empty sample";
    const uint32_t a = addSample(*m_mixer, sineSample(441, 100));
    EXPECT_EQ(playSample(*m_mixer, 0, 44100), 0u);
    EXPECT_EQ(playSample(*m_mixer, a + 1, 44100), 0u) << "a handle past the table";
    EXPECT_EQ(playSample(*m_mixer, a, 0), 0u);
    EXPECT_EQ(playSample(*m_mixer, a, -44100), 0u);
    EXPECT_FALSE(channelActive(*m_mixer, 0));

    while (m_mixer->sampleCount < kMaxSamples) ASSERT_NE(addSample(*m_mixer, sineSample(441, 10)), 0u);
    EXPECT_EQ(addSample(*m_mixer, sineSample(441, 10)), 0u) << "a full table drops the sample";
}

TEST_F(MixerTest, MusicFollowsItsVolumes) {
    const auto bytes = test::readFile(std::string(TESSALY_DATA_DIR) + "/music.mo3");
    ASSERT_TRUE(m_mixer->music.load(bytes.data(), bytes.size()));
    auto level = [&](int musicVolume, int channelVolume) {
        m_mixer->music.start(29);
        m_mixer->musicVolume = musicVolume;
        m_mixer->musicChannelVolume = channelVolume;
        const auto out = render(*m_mixer, 44100);
        double sum = 0;
        for (float v : out) sum += double(v) * v;
        return std::sqrt(sum / double(out.size()));
    };
    const double full = level(100, 100);
    ASSERT_GT(full, 0.01) << "the title tune is heard";
    EXPECT_NEAR(level(50, 100) / full, 0.5, 0.01);
    EXPECT_NEAR(level(100, 50) / full, 0.5, 0.01) << "the fade's channel volume";
    EXPECT_NEAR(level(50, 50) / full, 0.25, 0.01) << "both, one on top of the other";
    EXPECT_EQ(level(0, 100), 0.0);
}

}  // namespace
}  // namespace tessaly::sound
