#include "sound/sound_test_support.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace tessaly::sound::test {

platform::Sample sineSample(double freqHz, int frames, int rateHz, double amplitude, int channels) {
    platform::Sample s;
    s.pcm = std::make_unique<int16_t[]>(size_t(frames * channels));
    s.frames = frames;
    s.rateHz = rateHz;
    s.channels = channels;
    for (int i = 0; i < frames; ++i) {
        const double v = amplitude * std::sin(2 * M_PI * freqHz * i / rateHz);
        for (int c = 0; c < channels; ++c) s.pcm[size_t(i * channels + c)] = int16_t(std::lround(v * 32767));
    }
    return s;
}

platform::Sample constantSample(int16_t value, int frames, int rateHz) {
    platform::Sample s;
    s.pcm = std::make_unique<int16_t[]>(size_t(frames));
    std::fill(s.pcm.get(), s.pcm.get() + frames, value);
    s.frames = frames;
    s.rateHz = rateHz;
    s.channels = 1;
    return s;
}

Bytes encodeOgg(double freqHz, double seconds, int rateHz, int channels) {
    vorbis_info info;
    vorbis_info_init(&info);
    vorbis_encode_init_vbr(&info, channels, rateHz, 0.3f);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    Bytes out;
    auto append = [&](const ogg_page& page) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    };
    ogg_packet a, b, c;
    vorbis_analysis_headerout(&dsp, &comment, &a, &b, &c);
    ogg_stream_packetin(&stream, &a);
    ogg_stream_packetin(&stream, &b);
    ogg_stream_packetin(&stream, &c);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page)) append(page);

    const int frames = int(seconds * rateHz);
    float** buffer = vorbis_analysis_buffer(&dsp, frames);
    for (int i = 0; i < frames; ++i) {
        for (int ch = 0; ch < channels; ++ch) buffer[ch][i] = float(0.5 * std::sin(2 * M_PI * freqHz * i / rateHz));
    }
    vorbis_analysis_wrote(&dsp, frames);
    vorbis_analysis_wrote(&dsp, 0);
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            while (ogg_stream_pageout(&stream, &page)) append(page);
        }
    }
    while (ogg_stream_flush(&stream, &page)) append(page);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

std::vector<float> render(Mixer& mixer, int frames, int block) {
    std::vector<float> out(size_t(frames) * 2);
    for (int done = 0; done < frames; done += block) {
        mix(mixer, out.data() + 2 * done, std::min(block, frames - done));
    }
    return out;
}

float peakOf(const std::vector<float>& stereo, int channel) {
    float peak = 0;
    for (size_t i = 0; i < stereo.size(); ++i) {
        if (channel < 0 || int(i % 2) == channel) peak = std::max(peak, std::fabs(stereo[i]));
    }
    return peak;
}

int soundingFrames(const std::vector<float>& stereo) {
    for (size_t i = stereo.size(); i-- > 0;) {
        if (stereo[i] != 0.0f) return int(i / 2) + 1;
    }
    return 0;
}

double measuredHz(const std::vector<float>& stereo, int from, int to, int rateHz) {
    int first = -1, last = -1, crossings = 0;
    for (int i = std::max(from, 1); i < to; ++i) {
        if (stereo[size_t(2 * (i - 1))] < 0 && stereo[size_t(2 * i)] >= 0) {
            if (first < 0) first = i;
            last = i;
            ++crossings;
        }
    }
    if (crossings < 2) return 0;
    return (crossings - 1) / (double(last - first) / rateHz);
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tessaly::sound::test
