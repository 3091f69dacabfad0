// Ogg Vorbis decoding from memory; see vorbis_decode.h.
#include "platform/vorbis_decode.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tessaly::platform {

namespace {

struct MemoryFile {
    const uint8_t* data;
    size_t size;
    size_t position;
};

size_t readMemory(void* dest, size_t size, size_t count, void* source) {
    auto* file = static_cast<MemoryFile*>(source);
    if (size == 0) return 0;
    const size_t wanted = size * count;
    const size_t left = file->size - file->position;
    const size_t bytes = std::min(wanted, left) / size * size;
    std::memcpy(dest, file->data + file->position, bytes);
    file->position += bytes;
    return bytes / size;
}

int seekMemory(void* source, ogg_int64_t offset, int whence) {
    auto* file = static_cast<MemoryFile*>(source);
    ogg_int64_t base = 0;
    switch (whence) {
        case SEEK_SET: base = 0; break;
        case SEEK_CUR: base = ogg_int64_t(file->position); break;
        case SEEK_END: base = ogg_int64_t(file->size); break;
        default: return -1;
    }
    const ogg_int64_t target = base + offset;
    if (target < 0 || target > ogg_int64_t(file->size)) return -1;
    file->position = size_t(target);
    return 0;
}

long tellMemory(void* source) { return long(static_cast<MemoryFile*>(source)->position); }

bool fail(const char** error, const char* why) {
    if (error) *error = why;
    return false;
}

}  // namespace

bool decodeVorbis(const uint8_t* bytes, size_t size, Sample& out, const char** error) {
    out = Sample{};
    if (!bytes || size == 0) return fail(error, "empty file");

    MemoryFile file{bytes, size, 0};
    OggVorbis_File vf;
    const ov_callbacks seekable{readMemory, seekMemory, nullptr, tellMemory};
    if (ov_open_callbacks(&file, &vf, nullptr, 0, seekable) != 0) {
        // Opening as seekable reads the stream's end to learn its length; a
        // cut or damaged end fails that. Read as a stream then, and keep
        // whatever decodes.
        file.position = 0;
        const ov_callbacks streaming{readMemory, nullptr, nullptr, nullptr};
        if (ov_open_callbacks(&file, &vf, nullptr, 0, streaming) != 0) return fail(error, "not an Ogg Vorbis file");
    }

    const vorbis_info* info = ov_info(&vf, -1);
    if (!info || info->rate <= 0 || info->rate > 192000) {
        ov_clear(&vf);
        return fail(error, "unsupported sample rate");
    }
    if (info->channels != 1 && info->channels != 2) {
        ov_clear(&vf);
        return fail(error, "only mono and stereo sounds are played");
    }
    const int channels = info->channels;
    const int64_t limit = int64_t(info->rate) * kMaxSampleSeconds;
    // The stated length sizes the buffer; a file that lies about it is cut at
    // the stated length or grows up to the limit.
    int64_t capacity = ov_pcm_total(&vf, -1);
    if (capacity <= 0) capacity = info->rate;  // unknown: start with a second
    capacity = std::min(capacity, limit);

    auto pcm = std::make_unique<int16_t[]>(size_t(capacity * channels));
    int64_t frames = 0;
    int section = 0;
    char buffer[4096];
    bool broken = false;
    while (frames < limit) {
        const long got = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section);
        if (got == 0) break;
        if (got < 0) {
            // A hole in the stream: libvorbisfile resynchronises on the next
            // page. Give up only if nothing at all decodes.
            if (got == OV_HOLE) continue;
            broken = true;
            break;
        }
        // The stream's channel count must not change between sections.
        const vorbis_info* now = ov_info(&vf, section);
        if (!now || now->channels != channels) {
            broken = true;
            break;
        }
        int64_t gotFrames = got / (2 * channels);
        if (frames + gotFrames > capacity) {
            const int64_t grown = std::min(limit, std::max(capacity * 2, frames + gotFrames));
            auto bigger = std::make_unique<int16_t[]>(size_t(grown * channels));
            std::memcpy(bigger.get(), pcm.get(), size_t(frames * channels) * sizeof(int16_t));
            pcm = std::move(bigger);
            capacity = grown;
            gotFrames = std::min(gotFrames, capacity - frames);
        }
        std::memcpy(pcm.get() + frames * channels, buffer, size_t(gotFrames * channels) * sizeof(int16_t));
        frames += gotFrames;
    }
    const long rate = info->rate;
    ov_clear(&vf);

    if (frames == 0) return fail(error, broken ? "undecodable audio data" : "no audio data");
    out.pcm = std::move(pcm);
    out.frames = int32_t(frames);
    out.rateHz = int32_t(rate);
    out.channels = channels;
    return true;
}

}  // namespace tessaly::platform
