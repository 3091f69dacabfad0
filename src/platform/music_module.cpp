// The music module on libopenmpt; see music.h.
#include "platform/music_module.h"

#include <libopenmpt/libopenmpt.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tessaly::platform {

MusicModule& MusicModule::operator=(MusicModule&& other) noexcept {
    if (this != &other) {
        unload();
        m_module = other.m_module;
        m_playing = other.m_playing;
        m_muted = other.m_muted;
        other.m_module = nullptr;
        other.m_playing = false;
    }
    return *this;
}

bool MusicModule::load(const uint8_t* bytes, size_t size) {
    unload();
    if (!bytes || size == 0) return false;
    int error = 0;
    // The silent log keeps libopenmpt from writing its loader remarks to
    // stderr; a module that does not load is simply not played.
    m_module = openmpt_module_create_from_memory2(bytes, size, openmpt_log_func_silent, nullptr,
                                                  openmpt_error_func_ignore, nullptr, &error,
                                                  nullptr, nullptr);
    if (!m_module) return false;
    openmpt_module_set_repeat_count(m_module, -1);
    return true;
}

void MusicModule::unload() {
    if (m_module) openmpt_module_destroy(m_module);
    m_module = nullptr;
    m_playing = false;
}

void MusicModule::setAmplify(int amplify) {
    amplify = std::clamp(amplify, 0, 100);
    m_muted = amplify == 0;
    if (!m_module || m_muted) return;
    const double gainDb = 20.0 * std::log10(double(amplify) / kNeutralAmplify);
    openmpt_module_set_render_param(m_module, OPENMPT_MODULE_RENDER_MASTERGAIN_MILLIBEL,
                                    int32_t(std::lround(gainDb * 100.0)));
}

void MusicModule::start(int order) {
    if (!m_module) return;
    if (order < 0 || order >= openmpt_module_get_num_orders(m_module)) order = 0;
    openmpt_module_set_position_order_row(m_module, order, 0);
    m_playing = true;
}

void MusicModule::render(float* out, int frames, int rateHz) {
    int done = 0;
    if (m_module && m_playing && !m_muted) {
        done = int(openmpt_module_read_interleaved_float_stereo(m_module, rateHz, size_t(frames), out));
    }
    if (done < frames) std::memset(out + 2 * done, 0, size_t(frames - done) * 2 * sizeof(float));
}

int MusicModule::currentOrder() const {
    return m_module ? openmpt_module_get_current_order(m_module) : -1;
}

int MusicModule::currentRow() const {
    return m_module ? openmpt_module_get_current_row(m_module) : -1;
}

int MusicModule::orderCount() const {
    return m_module ? openmpt_module_get_num_orders(m_module) : 0;
}

}  // namespace tessaly::platform
