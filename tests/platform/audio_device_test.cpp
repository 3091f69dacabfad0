// The SDL audio output with SDL's dummy driver (it pulls like a sound card
// would, into nothing) and with a driver that does not exist (no sound card):
// the game's sound functions on top of both.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/audio_device.h"
#include "sound/sound.h"
#include "sound/sound_system.h"

namespace tessaly::platform {
namespace {

// Sets SDL_AUDIODRIVER for one test and puts the old value back.
class AudioDriver final {
public:
    explicit AudioDriver(const char* driver) {
        if (const char* old = std::getenv("SDL_AUDIODRIVER")) m_old = old, m_had = true;
        setenv("SDL_AUDIODRIVER", driver, 1);
    }
    ~AudioDriver() {
        if (m_had) setenv("SDL_AUDIODRIVER", m_old.c_str(), 1);
        else unsetenv("SDL_AUDIODRIVER");
    }
    AudioDriver(const AudioDriver&) = delete;
    AudioDriver& operator=(const AudioDriver&) = delete;

private:
    std::string m_old;
    bool m_had = false;
};

struct Pull {
    std::atomic<int> calls{0};
    std::atomic<int> frames{0};
};

void countingMix(void* user, float* out, int frames) {
    auto* pull = static_cast<Pull*>(user);
    for (int i = 0; i < 2 * frames; ++i) out[i] = 0;
    pull->frames += frames;
    ++pull->calls;
}

// Waits up to two seconds for the callback to have run `atLeast` times.
bool waitForCalls(const Pull& pull, int atLeast) {
    for (int i = 0; i < 200 && pull.calls < atLeast; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return pull.calls >= atLeast;
}

TEST(SdlAudioOutput, PullsFramesOnlyWhileRunning) {
    AudioDriver driver("dummy");
    Pull pull;
    SdlAudioOutput output;
    ASSERT_TRUE(output.open(44100, &countingMix, &pull));
    EXPECT_TRUE(output.isOpen());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(pull.calls, 0) << "an output opens paused";

    output.resume();
    ASSERT_TRUE(waitForCalls(pull, 2));
    EXPECT_GT(pull.frames, 0);

    output.pause();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));  // a callback in flight ends
    const int paused = pull.calls;
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(pull.calls, paused) << "nothing is pulled while paused";

    output.close();
    EXPECT_FALSE(output.isOpen());
}

TEST(SdlAudioOutput, LockKeepsTheMixerFromRunning) {
    AudioDriver driver("dummy");
    Pull pull;
    SdlAudioOutput output;
    ASSERT_TRUE(output.open(44100, &countingMix, &pull));
    output.resume();
    ASSERT_TRUE(waitForCalls(pull, 1));
    {
        AudioLock lock(&output);
        const int before = pull.calls;
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        EXPECT_EQ(pull.calls, before) << "the callback waits for the lock";
    }
    const int released = pull.calls;
    EXPECT_TRUE(waitForCalls(pull, released + 1)) << "and runs again once it is released";
}

TEST(SdlAudioOutput, NoDriverMeansNoOutputAndNoHarm) {
    AudioDriver driver("nonexistent");
    Pull pull;
    SdlAudioOutput output;
    EXPECT_FALSE(output.open(44100, &countingMix, &pull));
    EXPECT_FALSE(output.isOpen());
    output.resume();
    output.lock();
    output.unlock();
    output.pause();
    output.close();
    EXPECT_EQ(pull.calls, 0);
}

// The game's functions on the process-wide sound state, loaded from the
// generated data set, with and without a driver.
TEST(GameSound, RunsWithTheDummyDriverAndSilentlyWithout) {
    for (const char* name : {"dummy", "nonexistent"}) {
        AudioDriver driver(name);
        const bool expectOpen = std::string(name) == "dummy";
        sound::g_sound = {};
        EXPECT_EQ(sound::initSound(), expectOpen) << name;
        sound::loadSounds(sound::g_sound, TESSALY_DATA_DIR);
        EXPECT_EQ(sound::g_sound.soundCount, 31) << name;
        EXPECT_EQ(sound::g_sound.music.loaded, expectOpen) << name;

        sound::switchTuneNow(2);
        sound::playSound("menu.ogg");
        sound::playSoundAtRate("ball.ogg", 60000);
        sound::updateSound(16);
        sound::requestTune(6);
        for (int i = 0; i < 60; ++i) sound::updateSound(16);
        sound::applyVolumes();
        sound::pauseAudio();
        sound::resumeAudio();
        sound::stopAllSounds();
        EXPECT_EQ(sound::g_sound.music.requestedPosition, 44) << name;
        if (expectOpen) {
            AudioLock lock(sound::g_sound.output);
            EXPECT_TRUE(sound::g_sound.mixer.music.playing());
            EXPECT_GE(sound::g_sound.mixer.music.currentOrder(), 44);
            EXPECT_LE(sound::g_sound.mixer.music.currentOrder(), 46);
        }
        sound::shutdownSound();
        EXPECT_FALSE(sound::g_sound.open) << name;
        EXPECT_EQ(sound::g_sound.ownedOutput, nullptr) << name;
    }
    sound::g_sound = {};
}

}  // namespace
}  // namespace tessaly::platform
