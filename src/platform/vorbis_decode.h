// Decodes a whole Ogg Vorbis file held in memory into 16-bit PCM, once, at
// load time (libvorbisfile). Mono and stereo files are accepted; files with
// more channels are refused. Anything longer than kMaxSampleSeconds is cut
// off there, so a broken or hostile file cannot eat the memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/sample.h"

namespace tessaly::platform {

constexpr int kMaxSampleSeconds = 120;  // sound effects last seconds; beds loop

// True and a filled `out` on success; false (and `out` left empty) for bytes
// that are not a playable Ogg Vorbis file. `error` names the reason.
bool decodeVorbis(const uint8_t* bytes, size_t size, Sample& out, const char** error = nullptr);

}  // namespace tessaly::platform
