// The settings every player shares: volumes, full screen, the drawn pointer,
// the ball speed, and which player is current. Kept as one 48-byte block
// ("settings.dat" in the player-data folder), little-endian, in this order:
//
//   0 music volume (int32, 0..99)       4 effects volume (int32, 0..99)
//   8 display width, 12 display height, 16 and 20 two display values (int32,
//     written, never read back: every start uses 800 x 600)
//  24 reserved flag (byte, kept)       25 custom pointer (byte)
//  26 two bytes of padding (zeros)     28 reserved int32 (0)
//  32 current player (int32)           36 player count (int32)
//  40 full screen (int32)              44 ball speed factor (float32, 21..150)
//
// A block of any other size counts as absent: every default. Values read
// back are clamped to what the options screen can set, so a damaged block
// can't give the game a volume of a million or a ball that never arrives.
//
// Depends on: nothing but the byte layout.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessaly::player {

constexpr size_t kSettingsBytes = 48;
constexpr int kMaxVolume = 99;
constexpr float kMinBallSpeed = 21.0f;    // the options' slider: factor = 150 - position, 130 positions
constexpr float kMaxBallSpeed = 150.0f;
constexpr float kDefaultBallSpeed = 70.0f;

struct SettingsBlock {
    int32_t musicVolume = 90;
    int32_t effectsVolume = 90;
    int32_t displayWidth = 800;
    int32_t displayHeight = 600;
    int32_t displayValueA = 1;
    int32_t displayValueB = 1;
    uint8_t reservedFlag = 1;
    uint8_t customPointer = 0;
    int32_t currentPlayer = 0;
    int32_t playerCount = 0;
    int32_t fullscreen = 1;
    float ballSpeed = kDefaultBallSpeed;
};

// The 48 bytes of a block.
void encodeSettings(const SettingsBlock& s, uint8_t (&out)[kSettingsBytes]);
// A block from bytes; false (and the defaults in `out`) when `size` is not
// 48. The player index and count are taken as they stand (the player files
// decide what they mean); every other value is clamped into its range.
bool decodeSettings(const uint8_t* bytes, size_t size, SettingsBlock& out);

}  // namespace tessaly::player
