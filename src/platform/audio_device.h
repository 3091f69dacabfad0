// The audio output seam: something that pulls interleaved stereo float
// frames from a mixing function and plays them. Two outputs implement it:
//  - SdlAudioOutput, the sound card through SDL2. Its audio subsystem is
//    initialised on its own, apart from video, so a machine without a sound
//    card (or with SDL_AUDIODRIVER naming a driver that does not exist) only
//    loses sound. The mixing function runs on SDL's audio thread.
//  - NullAudioOutput, no device at all: it never pulls, so whoever owns the
//    mixer renders it by hand (tests, benchmarks, tools).
//
// lock()/unlock() keep the mixing function from running while the main
// thread changes what it reads (voices, volumes, the music module). Hold the
// lock briefly: the audio thread waits on it.
//
// No SDL header is reachable from here.
#pragma once

#include <cstdint>

namespace tessaly::platform {

// Fills `frames` stereo frames (2 floats each, -1..1) at `out`.
using MixFunction = void (*)(void* user, float* out, int frames);

class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Starts pulling from `mix` at `rateHz`, paused until resume(). False when
    // no output could be opened; the caller then runs silent.
    virtual bool open(int rateHz, MixFunction mix, void* user) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    virtual void lock() = 0;
    virtual void unlock() = 0;
};

class SdlAudioOutput final : public AudioOutput {
public:
    SdlAudioOutput() = default;
    ~SdlAudioOutput() override { close(); }
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

    bool open(int rateHz, MixFunction mix, void* user) override;
    void close() override;
    bool isOpen() const override { return m_device != 0; }
    void pause() override;
    void resume() override;
    void lock() override;
    void unlock() override;

    // SDL's callback target: forwards to the mixing function.
    static void callback(void* self, uint8_t* stream, int bytes);

private:
    uint32_t m_device = 0;          // SDL_AudioDeviceID, 0 when closed
    bool m_subsystemStarted = false;
    MixFunction m_mix = nullptr;
    void* m_user = nullptr;
};

class NullAudioOutput final : public AudioOutput {
public:
    NullAudioOutput() = default;
    NullAudioOutput(const NullAudioOutput&) = delete;
    NullAudioOutput& operator=(const NullAudioOutput&) = delete;

    bool open(int, MixFunction, void*) override { m_open = true; return true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void pause() override { m_paused = true; }
    void resume() override { m_paused = false; }
    void lock() override { ++m_lockDepth; }
    void unlock() override { --m_lockDepth; }

    bool paused() const { return m_paused; }
    int lockDepth() const { return m_lockDepth; }  // 0 when balanced

private:
    bool m_open = false;
    bool m_paused = true;
    int m_lockDepth = 0;
};

// Holds an output's lock for a scope.
class AudioLock final {
public:
    explicit AudioLock(AudioOutput* output) : m_output(output) {
        if (m_output) m_output->lock();
    }
    ~AudioLock() {
        if (m_output) m_output->unlock();
    }
    AudioLock(const AudioLock&) = delete;
    AudioLock& operator=(const AudioLock&) = delete;

private:
    AudioOutput* m_output;
};

}  // namespace tessaly::platform
