// The sound system on its own record with a null output: the repeat guard,
// the request ring, tune requests and fades, volumes, and loading the
// "Sounds" folder and the music.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/loading.h"
#include "platform/audio_device.h"
#include "sound/sound_system.h"
#include "sound/sound_test_support.h"
#include "support/test_support.h"

namespace tessaly::sound {
namespace {

using test::sineSample;

const std::string kDataDir = TESSALY_DATA_DIR;

class SoundSystemTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(openSound(*m_system, m_output)); }
    void TearDown() override {
        EXPECT_EQ(m_output.lockDepth(), 0) << "every lock was released";
        closeSound(*m_system);
    }

    uint32_t add(const std::string& name, int frames = 44100) {
        EXPECT_TRUE(addSound(*m_system, name, sineSample(441, frames)));
        return m_system->sounds[size_t(m_system->soundCount - 1)].sample;
    }
    int playbacksOf(uint32_t sample) const {
        int n = 0;
        for (const Voice& v : m_system->mixer.voices) n += v.channel != 0 && v.sample == int(sample) - 1;
        return n;
    }
    int playbacksStarted() const { return int(m_system->mixer.startSerial); }
    void loadTheMusic() {
        const auto bytes = test::readFile(kDataDir + "/music.mo3");
        ASSERT_TRUE(loadMusic(*m_system, bytes.data(), bytes.size()));
    }

    platform::NullAudioOutput m_output;  // outlives the system that points at it
    std::unique_ptr<SoundSystem> m_system = std::make_unique<SoundSystem>();
};

TEST_F(SoundSystemTest, RepeatGuardStartsASoundOncePerFiveMilliseconds) {
    struct Case {
        const char* what;
        float frameMs;
        int requestsPerFrame;
        int frames;
        int expectedStarts;
    };
    const Case cases[] = {
        {"two requests in one frame", 16, 2, 1, 1},
        {"one request in each of three 16 ms frames", 16, 1, 3, 3},
        {"a 5 ms frame clears the guard", 5, 1, 2, 2},
        {"2 ms frames: the guard holds for three updates", 2, 1, 4, 2},
    };
    for (const Case& c : cases) {
        m_system = std::make_unique<SoundSystem>();
        ASSERT_TRUE(openSound(*m_system, m_output));
        add("menu.ogg");
        for (int f = 0; f < c.frames; ++f) {
            for (int r = 0; r < c.requestsPerFrame; ++r) requestSound(*m_system, "menu.ogg", kNormalRateHz);
            updateSound(*m_system, c.frameMs);
        }
        EXPECT_EQ(playbacksStarted(), c.expectedStarts) << c.what;
    }
}

TEST_F(SoundSystemTest, OnlyLoadedNamesMatchAndExactly) {
    add("menu.ogg");
    for (const char* name : {"MENU.ogg", "menu", "menu.ogg ", "", "missing.ogg"}) {
        requestSound(*m_system, name, kNormalRateHz);
        EXPECT_EQ(m_system->ringPosition, 0) << "'" << name << "' asks for nothing";
    }
    requestSound(*m_system, "menu.ogg", kNormalRateHz);
    EXPECT_EQ(m_system->ringPosition, 1);
}

TEST_F(SoundSystemTest, RequestWaitsForTheUpdateThenPlaysUntilTheChannelEnds) {
    const uint32_t ball = add("ball.ogg", 4410);
    requestSound(*m_system, "ball.ogg", 88200);
    const SoundRequest& slot = m_system->requests[0];
    EXPECT_EQ(slot.state, kRequestWaiting);
    EXPECT_EQ(slot.sample, ball);
    EXPECT_EQ(slot.rateHz, 88200);
    EXPECT_EQ(playbacksOf(ball), 0) << "nothing starts before the frame's update";

    updateSound(*m_system, 16);
    EXPECT_EQ(slot.state, kRequestPlaying);
    EXPECT_TRUE(channelActive(m_system->mixer, slot.channel));
    EXPECT_EQ(m_system->mixer.voices[slot.channel & 0xFF].step, uint64_t(2) << 32) << "twice the rate";

    test::render(m_system->mixer, 2205);  // the sample's whole length at twice the rate
    updateSound(*m_system, 16);
    EXPECT_EQ(slot.state, kRequestFree);
}

TEST_F(SoundSystemTest, RingOverwritesTheOldestSlotAndTheChannelPlaysOn) {
    for (int i = 0; i < kRequestRingSize; ++i) add("s" + std::to_string(i) + ".ogg", 441);
    requestSound(*m_system, "s0.ogg", kNormalRateHz);
    updateSound(*m_system, 16);
    const uint32_t firstChannel = m_system->requests[0].channel;
    for (int i = 1; i < kRequestRingSize; ++i) requestSound(*m_system, "s" + std::to_string(i) + ".ogg", kNormalRateHz);
    EXPECT_EQ(m_system->ringPosition, 0) << "the ring has wrapped";
    requestSound(*m_system, "s0.ogg", kNormalRateHz);
    EXPECT_EQ(m_system->requests[0].state, kRequestWaiting) << "slot 0 is taken again";
    EXPECT_TRUE(channelActive(m_system->mixer, firstChannel)) << "its channel plays on, untracked";
}

TEST_F(SoundSystemTest, ThreeHundredRequestsInAFrameKeepTheLast256) {
    for (int i = 0; i < kRequestRingSize; ++i) add("s" + std::to_string(i) + ".ogg", 441);
    for (int i = 0; i < kRequestRingSize; ++i) requestSound(*m_system, "s" + std::to_string(i) + ".ogg", kNormalRateHz);
    // The table holds 256 sounds and the guard lets each be asked for once a
    // frame; clearing the guards of 44 of them stands in for more sounds.
    for (int i = 100; i < 144; ++i) {
        m_system->sounds[size_t(i)].repeatGuardMs = 0;
        requestSound(*m_system, "s" + std::to_string(i) + ".ogg", kNormalRateHz);
    }
    updateSound(*m_system, 16);
    EXPECT_EQ(playbacksStarted(), kRequestRingSize);
    for (int i = 0; i < kRequestRingSize; ++i) {
        const int expected = i < 44 ? 0 : (i >= 100 && i < 144 ? 2 : 1);
        EXPECT_EQ(playbacksOf(m_system->sounds[size_t(i)].sample), expected) << "s" << i;
    }
    EXPECT_EQ(m_system->requestUse.dropped, 44);  // never played: counted for the state dump
}

TEST_F(SoundSystemTest, StopAllSoundsSilencesEveryLoadedSample) {
    add("a.ogg");
    add("b.ogg");
    requestSound(*m_system, "a.ogg", kNormalRateHz);
    requestSound(*m_system, "b.ogg", 30000);
    updateSound(*m_system, 16);
    ASSERT_EQ(activeVoices(m_system->mixer), 2);
    stopAllSounds(*m_system);
    EXPECT_EQ(activeVoices(m_system->mixer), 0);
    EXPECT_EQ(test::peakOf(test::render(m_system->mixer, 512)), 0.0f);
    updateSound(*m_system, 16);
    EXPECT_EQ(m_system->requests[0].state, kRequestFree);
}

TEST(Tunes, EachTuneStartsAtItsOrderPosition) {
    const int expected[][2] = {{0, 0}, {1, 11}, {2, 29}, {3, 47}, {4, 63}, {5, 65}, {6, 44}, {-1, 0}, {7, 0}, {100, 0}};
    for (const auto& [tune, position] : expected) EXPECT_EQ(tunePosition(tune), position) << "tune " << tune;
}

TEST_F(SoundSystemTest, RequestingTheSameTuneTwiceKeepsOneFade) {
    requestTune(*m_system, 2);
    updateSound(*m_system, 100);
    requestTune(*m_system, 2);
    EXPECT_FLOAT_EQ(m_system->music.fadeLeftMs, 700);
    EXPECT_EQ(m_system->music.requestedPosition, 29);
}

TEST_F(SoundSystemTest, FadeFallsLinearlyThenTheNewTuneStarts) {
    loadTheMusic();
    switchTuneNow(*m_system, 0);
    ASSERT_EQ(m_system->mixer.music.currentOrder(), 0);
    requestTune(*m_system, 3);
    const std::pair<float, int> steps[] = {{0, 100}, {200, 75}, {200, 50}, {200, 25}, {199, 0}};
    for (const auto& [dt, volume] : steps) {
        updateSound(*m_system, dt);
        EXPECT_EQ(m_system->mixer.musicChannelVolume, volume) << "after another " << dt << " ms";
        EXPECT_EQ(m_system->mixer.music.currentOrder(), 0) << "the old tune plays on while it fades";
    }
    updateSound(*m_system, 1);
    EXPECT_EQ(m_system->mixer.musicChannelVolume, 100);
    EXPECT_EQ(m_system->mixer.music.currentOrder(), 47);
    EXPECT_LE(m_system->music.fadeLeftMs, 0);
}

TEST_F(SoundSystemTest, ANewRequestDuringAFadeRestartsIt) {
    loadTheMusic();
    requestTune(*m_system, 2);
    updateSound(*m_system, 500);
    requestTune(*m_system, 6);
    EXPECT_FLOAT_EQ(m_system->music.fadeLeftMs, 800);
    updateSound(*m_system, 799);
    EXPECT_FALSE(m_system->mixer.music.playing()) << "the first request never started";
    updateSound(*m_system, 1);
    EXPECT_TRUE(m_system->mixer.music.playing());
    EXPECT_EQ(m_system->mixer.music.currentOrder(), 44);
}

TEST_F(SoundSystemTest, SwitchTuneNowIgnoresTheTuneAlreadyRequested) {
    loadTheMusic();
    requestTune(*m_system, 2);
    updateSound(*m_system, 300);
    switchTuneNow(*m_system, 2);
    EXPECT_FLOAT_EQ(m_system->music.fadeLeftMs, 500) << "the fade goes on";
    EXPECT_FALSE(m_system->mixer.music.playing());

    switchTuneNow(*m_system, 5);
    EXPECT_EQ(m_system->music.fadeLeftMs, 0);
    EXPECT_EQ(m_system->mixer.musicChannelVolume, 100);
    EXPECT_EQ(m_system->mixer.music.currentOrder(), 65);
}

TEST_F(SoundSystemTest, VolumesReachTheMixerClamped) {
    const int cases[][4] = {{50, 50, 50, 50}, {0, 99, 0, 99}, {-5, 150, 0, 100}};
    for (const auto& [sfx, music, mixedSfx, mixedMusic] : cases) {
        m_system->sfxVolume = sfx;
        m_system->musicVolume = music;
        applyVolumes(*m_system);
        EXPECT_EQ(m_system->mixer.sampleVolume, mixedSfx);
        EXPECT_EQ(m_system->mixer.musicVolume, mixedMusic);
    }
}

TEST_F(SoundSystemTest, PauseAndResumeReachTheOutput) {
    EXPECT_FALSE(m_output.paused()) << "opening starts the output";
    pauseAudio(*m_system);
    EXPECT_TRUE(m_output.paused());
    resumeAudio(*m_system);
    EXPECT_FALSE(m_output.paused());
}

TEST(SoundSystemClosed, EverythingIsQuietlyAccepted) {
    auto system = std::make_unique<SoundSystem>();
    addSound(*system, "menu.ogg", sineSample(441, 100));
    EXPECT_EQ(system->sounds[0].sample, 0u) << "nothing is decoded without an output";
    requestSound(*system, "menu.ogg", kNormalRateHz);
    updateSound(*system, 16);
    switchTuneNow(*system, 2);
    requestTune(*system, 3);
    updateSound(*system, 1000);
    stopAllSounds(*system);
    applyVolumes(*system);
    pauseAudio(*system);
    resumeAudio(*system);
    EXPECT_EQ(activeVoices(system->mixer), 0);
    EXPECT_FALSE(system->mixer.music.playing());
    EXPECT_EQ(system->music.requestedPosition, 47);
}

// ------------------------------------------------------------- loading

class SoundLoadingTest : public SoundSystemTest {
protected:
    tessaly::test::TempFolder m_data;
};

TEST_F(SoundLoadingTest, FolderIsReadSortedByNameWithItsSizesReported) {
    const auto ogg = test::encodeOgg(440, 0.1);
    m_data.write("Sounds/b.ogg", ogg);
    m_data.write("Sounds/a.ogg", ogg);
    m_data.write("Sounds/c.OGG", ogg);
    m_data.write("Sounds/bad.ogg", std::string("not a sound"));
    m_data.write("Sounds/readme.txt", std::string("skipped"));
    m_data.write("Sounds/" + std::string(30, 'x') + ".ogg", ogg);  // 34 characters: too long
    const auto before = base::g_loading;
    loadSounds(*m_system, m_data.path().string());

    ASSERT_EQ(m_system->soundCount, 4);
    const char* order[] = {"a.ogg", "b.ogg", "bad.ogg", "c.OGG"};
    for (int i = 0; i < 4; ++i) EXPECT_STREQ(m_system->sounds[size_t(i)].name, order[i]);
    EXPECT_NE(m_system->sounds[0].sample, 0u);
    EXPECT_EQ(m_system->sounds[2].sample, 0u) << "a file that does not decode plays nothing";
    EXPECT_EQ(base::g_loading.reports - before.reports, 5) << "four sounds and the music";
    EXPECT_EQ(base::g_loading.loadedBytes - before.loadedBytes,
              int64_t(3 * ogg.size() + 11 + kMusicLoadReportBytes));
    EXPECT_FALSE(m_system->music.loaded) << "no music.mo3 here";

    requestSound(*m_system, "bad.ogg", kNormalRateHz);
    updateSound(*m_system, 16);
    EXPECT_EQ(activeVoices(m_system->mixer), 0);
}

TEST_F(SoundLoadingTest, AFullTableLeavesTheRestUnloaded) {
    for (int i = 0; i < kMaxSounds + 4; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Sounds/%03d.ogg", i);
        m_data.write(name, std::string("x"));
    }
    loadSounds(*m_system, m_data.path().string());
    EXPECT_EQ(m_system->soundCount, kMaxSounds);
    EXPECT_STREQ(m_system->sounds[kMaxSounds - 1].name, "255.ogg");
}

TEST_F(SoundLoadingTest, MusicLoadsByContentWhateverItsName) {
    m_data.write("music.mo3", test::readFile(kDataDir + "/music.mo3"));
    loadSounds(*m_system, m_data.path().string());
    EXPECT_TRUE(m_system->music.loaded);
    EXPECT_GE(m_system->mixer.music.orderCount(), 66);

    auto other = std::make_unique<SoundSystem>();
    platform::NullAudioOutput output;
    ASSERT_TRUE(openSound(*other, output));
    tessaly::test::TempFolder broken;
    broken.write("music.mo3", std::string(2000, 'z'));
    loadSounds(*other, broken.path().string());
    EXPECT_FALSE(other->music.loaded);
    switchTuneNow(*other, 2);  // no module: nothing plays, nothing breaks
    EXPECT_FALSE(other->mixer.music.playing());
    closeSound(*other);
}

TEST(SoundLoadingClosed, NamesAndProgressWithoutDecoding) {
    tessaly::test::TempFolder data;
    data.write("Sounds/menu.ogg", test::encodeOgg(440, 0.1));
    data.write("music.mo3", test::readFile(kDataDir + "/music.mo3"));
    auto system = std::make_unique<SoundSystem>();
    const auto before = base::g_loading;
    loadSounds(*system, data.path().string());
    EXPECT_EQ(system->soundCount, 1);
    EXPECT_EQ(system->sounds[0].sample, 0u);
    EXPECT_FALSE(system->music.loaded);
    EXPECT_EQ(base::g_loading.reports - before.reports, 2);
}

}  // namespace
}  // namespace tessaly::sound
