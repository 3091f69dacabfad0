// The software mixer; see mixer.h.
#include "sound/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tessaly::sound {

namespace {

constexpr uint32_t kVoiceBits = 8;  // kMaxVoices = 256 voices fit 8 bits
static_assert(kMaxVoices <= (1 << kVoiceBits), "channel handles keep the voice in 8 bits");
constexpr float kPcmScale = 1.0f / 32768.0f;

int voiceOf(uint32_t channel) { return int(channel & ((1u << kVoiceBits) - 1)); }

Voice* oldest(Mixer& mixer, int sample) {
    Voice* found = nullptr;
    for (Voice& v : mixer.voices) {
        if (v.channel == 0 || (sample >= 0 && v.sample != sample)) continue;
        // Serials grow by one per playback; the difference orders them even
        // across a wrap of the counter.
        if (!found || int32_t(v.started - found->started) < 0) found = &v;
    }
    return found;
}

// Adds one voice into `out` at `gain`; returns false when the sample ended.
bool mixVoice(Voice& v, const platform::Sample& s, float* out, int frames, float gain) {
    const int16_t* pcm = s.pcm.get();
    const uint64_t end = uint64_t(s.frames) << 32;
    uint64_t pos = v.position;
    const uint64_t step = v.step;
    int i = 0;
    if (s.channels == 1) {
        for (; i < frames && pos < end; ++i, pos += step) {
            const uint32_t at = uint32_t(pos >> 32);
            const float frac = float(uint32_t(pos)) * (1.0f / 4294967296.0f);
            const float a = pcm[at];
            const float b = at + 1 < uint32_t(s.frames) ? pcm[at + 1] : 0.0f;
            const float value = (a + (b - a) * frac) * gain;
            out[2 * i] += value;
            out[2 * i + 1] += value;
        }
    } else {
        for (; i < frames && pos < end; ++i, pos += step) {
            const uint32_t at = uint32_t(pos >> 32);
            const float frac = float(uint32_t(pos)) * (1.0f / 4294967296.0f);
            const bool last = at + 1 >= uint32_t(s.frames);
            for (int c = 0; c < 2; ++c) {
                const float a = pcm[2 * at + c];
                const float b = last ? 0.0f : pcm[2 * (at + 1) + c];
                out[2 * i + c] += (a + (b - a) * frac) * gain;
            }
        }
    }
    v.position = pos;
    return pos < end;
}

}  // namespace

uint32_t addSample(Mixer& mixer, platform::Sample&& sample) {
    if (sample.empty() || !sample.pcm || (sample.channels != 1 && sample.channels != 2)) return 0;
    if (mixer.sampleCount >= kMaxSamples) return 0;
    mixer.samples[size_t(mixer.sampleCount)] = std::move(sample);
    return uint32_t(++mixer.sampleCount);
}

uint32_t playSample(Mixer& mixer, uint32_t sample, int rateHz) {
    if (sample == 0 || sample > uint32_t(mixer.sampleCount) || rateHz <= 0) return 0;
    const int index = int(sample) - 1;
    const platform::Sample& s = mixer.samples[size_t(index)];

    int playing = 0;
    for (const Voice& v : mixer.voices) playing += (v.channel != 0 && v.sample == index);
    Voice* voice = nullptr;
    if (playing >= kMaxPlaybacksPerSample) {
        voice = oldest(mixer, index);
    } else {
        for (Voice& v : mixer.voices) {
            if (v.channel == 0) {
                voice = &v;
                break;
            }
        }
        if (!voice) voice = oldest(mixer, -1);
    }

    const int slot = int(voice - mixer.voices.data());
    ++mixer.startSerial;
    // The serial sits above the voice bits; skip the one serial that would
    // give the handle 0 for voice 0.
    uint32_t channel = (mixer.startSerial << kVoiceBits) | uint32_t(slot);
    if (channel == 0) channel = (++mixer.startSerial << kVoiceBits) | uint32_t(slot);

    const double step = double(rateHz) / kNormalRateHz * double(s.rateHz) / kOutputRateHz;
    voice->channel = channel;
    voice->sample = index;
    voice->position = 0;
    voice->step = std::max<uint64_t>(1, uint64_t(std::llround(step * 4294967296.0)));
    voice->started = mixer.startSerial;
    return channel;
}

bool channelActive(const Mixer& mixer, uint32_t channel) {
    if (channel == 0) return false;
    return mixer.voices[size_t(voiceOf(channel))].channel == channel;
}

void stopSample(Mixer& mixer, uint32_t sample) {
    if (sample == 0) return;
    for (Voice& v : mixer.voices) {
        if (v.channel != 0 && v.sample == int(sample) - 1) v = Voice{};
    }
}

int activeVoices(const Mixer& mixer) {
    int n = 0;
    for (const Voice& v : mixer.voices) n += v.channel != 0;
    return n;
}

void mix(Mixer& mixer, float* out, int frames) {
    if (frames <= 0) return;
    std::memset(out, 0, size_t(frames) * 2 * sizeof(float));

    const float sampleGain = float(std::clamp(mixer.sampleVolume, 0, kMaxVolume)) / kMaxVolume * kPcmScale;
    for (Voice& v : mixer.voices) {
        if (v.channel == 0) continue;
        const platform::Sample& s = mixer.samples[size_t(v.sample)];
        if (!mixVoice(v, s, out, frames, sampleGain)) v = Voice{};
    }

    const float musicGain = float(std::clamp(mixer.musicVolume, 0, kMaxVolume)) / kMaxVolume *
                            float(std::clamp(mixer.musicChannelVolume, 0, kMaxVolume)) / kMaxVolume;
    if (mixer.music.playing()) {
        float* block = mixer.musicBlock.data();
        for (int done = 0; done < frames;) {
            const int n = std::min(kMixBlockFrames, frames - done);
            // The module keeps playing under a zero volume, as a muted channel would.
            mixer.music.render(block, n, kOutputRateHz);
            float* dest = out + 2 * done;
            for (int i = 0; i < 2 * n; ++i) dest[i] += block[i] * musicGain;
            done += n;
        }
    }

    for (int i = 0; i < 2 * frames; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

void mixCallback(void* mixer, float* out, int frames) {
    mix(*static_cast<Mixer*>(mixer), out, frames);
}

}  // namespace tessaly::sound
