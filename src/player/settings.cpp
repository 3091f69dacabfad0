#include "player/settings.h"

#include <algorithm>
#include <cmath>

#include "base/byte_io.h"

namespace tessaly::player {

namespace {

// The block's fields in file order; reading and writing share the list.
template <typename IO, typename S>
void transfer(IO& io, S& s) {
    io.i32(s.musicVolume);
    io.i32(s.effectsVolume);
    io.i32(s.displayWidth);
    io.i32(s.displayHeight);
    io.i32(s.displayValueA);
    io.i32(s.displayValueB);
    io.u8(s.reservedFlag);
    io.u8(s.customPointer);
    io.zeros(2);  // padding
    io.zeros(4);  // reserved int32, written 0, ignored on reading
    io.i32(s.currentPlayer);
    io.i32(s.playerCount);
    io.i32(s.fullscreen);
    io.f32(s.ballSpeed);
}

}  // namespace

void encodeSettings(const SettingsBlock& s, uint8_t (&out)[kSettingsBytes]) {
    base::ByteWriter w{out};
    transfer(w, s);
}

bool decodeSettings(const uint8_t* bytes, size_t size, SettingsBlock& out) {
    out = SettingsBlock{};
    if (!bytes || size != kSettingsBytes) return false;
    base::ByteReader r{bytes};
    SettingsBlock s;
    transfer(r, s);
    // Every start uses 800 x 600: the display values are only carried along.
    s.displayWidth = 800;
    s.displayHeight = 600;
    s.musicVolume = std::clamp(s.musicVolume, 0, kMaxVolume);
    s.effectsVolume = std::clamp(s.effectsVolume, 0, kMaxVolume);
    s.customPointer = s.customPointer ? 1 : 0;
    s.fullscreen = s.fullscreen ? 1 : 0;
    s.ballSpeed = std::isfinite(s.ballSpeed) ? std::clamp(s.ballSpeed, kMinBallSpeed, kMaxBallSpeed)
                                             : kDefaultBallSpeed;
    out = s;
    return true;
}

}  // namespace tessaly::player
