// Encodes a mono float signal as an Ogg Vorbis file (libvorbisenc, VBR).
// The stream serial is fixed, so the same signal always gives the same bytes.
#pragma once

#include "pack_format.h"
#include "synth.h"

namespace datagen {

// `quality` is libvorbisenc's VBR quality, -0.1..1 (0.4 is transparent for
// short effects). Throws std::runtime_error if the encoder refuses.
Bytes encodeOggVorbis(const synth::Signal& mono, int rateHz, float quality = 0.4f);

}  // namespace datagen
