// Writes an extended tracker module (XM, version 1.04): header, order list,
// packed patterns and instruments with one 16-bit sample each. The game's
// music library recognises the format by content, so the file can carry any
// name ("music.mo3").
//
// Notes are XM note numbers: 1 = C-0 ... 49 = C-4 ... 96 = B-7, 97 = key
// off (xmNoteOf converts from MIDI numbers). Linear frequency table: an
// instrument tuned with tuneSample plays its recorded pitch at C-4.
//
// Limits (the format's): 2..32 channels, up to 256 orders and patterns,
// 1..256 rows per pattern, 128 instruments, 12 envelope points. Building a
// module outside them throws std::runtime_error.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "pack_format.h"

namespace datagen::xm {

constexpr uint8_t kKeyOff = 97;
constexpr uint8_t kEffectVolumeSlide = 0x0A;
constexpr uint8_t kEffectPositionJump = 0x0B;
constexpr uint8_t kEffectSetVolume = 0x0C;
constexpr uint8_t kEffectSetSpeed = 0x0F;  // < 32: ticks per row; >= 32: BPM
constexpr uint8_t kVolumeColumnSet = 0x10; // + 0..64

// MIDI note (60 = middle C) to XM note (49 = C-4).
inline uint8_t xmNoteOf(int midi) { return uint8_t(midi - 11); }

struct Cell {
    uint8_t note = 0;        // 0 = none, 1..96, kKeyOff
    uint8_t instrument = 0;  // 0 = none, 1..128
    uint8_t volume = 0;      // volume column: 0 = none, kVolumeColumnSet + 0..64
    uint8_t effect = 0;
    uint8_t param = 0;

    bool empty() const { return !note && !instrument && !volume && !effect && !param; }
    bool operator==(const Cell&) const = default;
};

struct Pattern {
    int rows = 64;
    int channels = 0;
    std::vector<Cell> cells;  // rows x channels, row-major

    Pattern() = default;
    Pattern(int rowCount, int channelCount)
        : rows(rowCount), channels(channelCount), cells(size_t(rowCount * channelCount)) {}
    Cell& at(int row, int channel) { return cells[size_t(row * channels + channel)]; }
    const Cell& at(int row, int channel) const { return cells[size_t(row * channels + channel)]; }
    bool operator==(const Pattern&) const = default;
};

struct Envelope {
    std::vector<std::pair<uint16_t, uint16_t>> points;  // (tick, level 0..64)
    int sustain = -1;                                   // point index, -1 = none
    bool enabled() const { return !points.empty(); }
};

struct Instrument {
    std::string name;
    std::vector<int16_t> pcm;   // mono sample frames
    int loopStart = 0;          // frames
    int loopLength = 0;         // frames; 0 = plays once
    int volume = 64;            // 0..64
    int relativeNote = 0;       // semitones
    int finetune = 0;           // 1/128 semitone, -128..127
    int panning = 128;          // 0 left .. 255 right
    Envelope volumeEnvelope;
    int fadeout = 0;            // after key-off, volume falls by this / 65536 per tick
    int vibratoDepth = 0;       // automatic vibrato, 0..15
    int vibratoRate = 0;        // 0..63
    int vibratoSweep = 0;       // ticks to full depth
};

// Sets relativeNote and finetune so that a sample recorded at `sampleRate`
// whose content has the pitch `pitchHz` plays that pitch's note at its own
// pitch (a C4 recording sounds C4 at C-4, a C5 recording C5 at C-5).
// Unpitched samples: pass the pitch of C4 (261.63 Hz) to play at the
// recorded rate at C-4.
void tuneSample(Instrument& instrument, double sampleRate, double pitchHz);

struct Module {
    std::string name;
    std::string tracker = "tessaly-datagen";
    int channels = 8;
    int speed = 6;    // ticks per row
    int bpm = 125;
    int restart = 0;  // order the player goes to after the last one
    std::vector<uint8_t> orders;
    std::vector<Pattern> patterns;
    std::vector<Instrument> instruments;
};

Bytes writeXm(const Module& module);

}  // namespace datagen::xm
