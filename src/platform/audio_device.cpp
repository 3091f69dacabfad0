// SDL2 audio output; see audio_device.h.
#include "platform/audio_device.h"

#include <SDL.h>

#include <cstring>

namespace tessaly::platform {

namespace {

// About 23 ms at 44.1 kHz: short enough that a click answers the mouse,
// long enough that a busy software-rendered frame does not starve the card.
constexpr int kBufferFrames = 1024;

}  // namespace

bool SdlAudioOutput::open(int rateHz, MixFunction mix, void* user) {
    close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    m_subsystemStarted = true;
    m_mix = mix;
    m_user = user;

    SDL_AudioSpec want{};
    want.freq = rateHz;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = kBufferFrames;
    want.callback = &SdlAudioOutput::callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the card wants, so the
    // mixer always sees 2-channel float at its own rate.
    m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (m_device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_subsystemStarted = false;
        return false;
    }
    return true;  // opened paused
}

void SdlAudioOutput::close() {
    if (m_device != 0) {
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
    }
    if (m_subsystemStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_subsystemStarted = false;
    }
}

void SdlAudioOutput::pause() {
    if (m_device != 0) SDL_PauseAudioDevice(m_device, 1);
}

void SdlAudioOutput::resume() {
    if (m_device != 0) SDL_PauseAudioDevice(m_device, 0);
}

void SdlAudioOutput::lock() {
    if (m_device != 0) SDL_LockAudioDevice(m_device);
}

void SdlAudioOutput::unlock() {
    if (m_device != 0) SDL_UnlockAudioDevice(m_device);
}

void SdlAudioOutput::callback(void* self, uint8_t* stream, int bytes) {
    auto* output = static_cast<SdlAudioOutput*>(self);
    const int frames = bytes / int(2 * sizeof(float));
    if (output->m_mix) {
        output->m_mix(output->m_user, reinterpret_cast<float*>(stream), frames);
    } else {
        std::memset(stream, 0, size_t(bytes));
    }
}

}  // namespace tessaly::platform
