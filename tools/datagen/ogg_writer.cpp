// Ogg Vorbis encoding of generated sounds; see ogg_writer.h.
#include "ogg_writer.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <stdexcept>

namespace datagen {

namespace {

constexpr int kStreamSerial = 0x7E55A1;  // fixed: identical input, identical file
constexpr int kAnalysisBlock = 1024;     // frames handed to the encoder at a time

void appendPage(Bytes& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

Bytes encodeOggVorbis(const synth::Signal& mono, int rateHz, float quality) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, rateHz, quality) != 0) {
        vorbis_info_clear(&info);
        throw std::runtime_error("vorbis encoder refused the settings");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "ENCODER", "tessaly-datagen");

    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, kStreamSerial);

    Bytes out;
    ogg_page page;
    ogg_packet header, commentPacket, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codebooks);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentPacket);
    ogg_stream_packetin(&stream, &codebooks);
    // The headers stand on pages of their own, before any audio.
    while (ogg_stream_flush(&stream, &page) != 0) appendPage(out, page);

    size_t done = 0;
    bool ended = false;
    while (!ended) {
        const size_t n = std::min<size_t>(kAnalysisBlock, mono.size() - done);
        if (n == 0) {
            vorbis_analysis_wrote(&dsp, 0);  // end of stream
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, int(n));
            for (size_t i = 0; i < n; ++i) buffer[0][i] = std::clamp(mono[done + i], -1.0f, 1.0f);
            vorbis_analysis_wrote(&dsp, int(n));
            done += n;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    appendPage(out, page);
                    if (ogg_page_eos(&page)) ended = true;
                }
            }
        }
        if (n == 0 && !ended) {
            while (ogg_stream_flush(&stream, &page) != 0) appendPage(out, page);
            ended = true;
        }
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

}  // namespace datagen
