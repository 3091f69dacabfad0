// The XM module writer; see xm_writer.h.
#include "xm_writer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace datagen::xm {

namespace {

constexpr double kC4Hz = 261.6255653;
constexpr double kC4PlaybackHz = 8363.0;  // an untuned sample's rate at C-4
constexpr int kHeaderSize = 276;           // from the size field on: 20 bytes + 256 orders
constexpr int kInstrumentHeaderSize = 263;
constexpr int kSampleHeaderSize = 40;
constexpr int kMaxEnvelopePoints = 12;

class Writer {
public:
    void u8(int v) { m_out.push_back(uint8_t(v)); }
    void u16(int v) {
        u8(v & 0xFF);
        u8((v >> 8) & 0xFF);
    }
    void u32(uint32_t v) {
        u16(int(v & 0xFFFF));
        u16(int(v >> 16));
    }
    void text(const std::string& s, size_t width) {
        for (size_t i = 0; i < width; ++i) u8(i < s.size() ? uint8_t(s[i]) : 0);
    }
    void zeros(size_t n) { m_out.insert(m_out.end(), n, 0); }
    size_t size() const { return m_out.size(); }
    Bytes& bytes() { return m_out; }

private:
    Bytes m_out;
};

void require(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(std::string("xm: ") + what);
}

// Packed pattern data: a flag byte (0x80 | which fields follow) and only the
// fields present; a cell with all five fields is stored whole.
Bytes packPattern(const Pattern& p) {
    Bytes out;
    for (const Cell& c : p.cells) {
        const uint8_t fields[5] = {c.note, c.instrument, c.volume, c.effect, c.param};
        uint8_t mask = 0;
        for (int i = 0; i < 5; ++i) mask |= fields[i] ? uint8_t(1 << i) : 0;
        if (mask == 0x1F) {
            out.insert(out.end(), fields, fields + 5);
            continue;
        }
        out.push_back(uint8_t(0x80 | mask));
        for (int i = 0; i < 5; ++i) {
            if (fields[i]) out.push_back(fields[i]);
        }
    }
    return out;
}

void writeInstrument(Writer& w, const Instrument& in) {
    require(in.volumeEnvelope.points.size() <= size_t(kMaxEnvelopePoints), "too many envelope points");
    const bool hasSample = !in.pcm.empty();
    w.u32(hasSample ? kInstrumentHeaderSize : 29);
    w.text(in.name, 22);
    w.u8(0);
    w.u16(hasSample ? 1 : 0);
    if (!hasSample) return;

    w.u32(kSampleHeaderSize);
    w.zeros(96);  // every key plays sample 0
    for (int i = 0; i < kMaxEnvelopePoints; ++i) {
        const bool used = size_t(i) < in.volumeEnvelope.points.size();
        w.u16(used ? in.volumeEnvelope.points[size_t(i)].first : 0);
        w.u16(used ? std::min<int>(64, in.volumeEnvelope.points[size_t(i)].second) : 0);
    }
    w.zeros(48);  // no panning envelope
    w.u8(int(in.volumeEnvelope.points.size()));
    w.u8(0);
    w.u8(std::max(0, in.volumeEnvelope.sustain));
    w.u8(0);  // volume loop start
    w.u8(0);  // volume loop end
    w.u8(0);  // panning sustain, loop start, loop end
    w.u8(0);
    w.u8(0);
    int type = 0;
    if (in.volumeEnvelope.enabled()) type |= 1;
    if (in.volumeEnvelope.enabled() && in.volumeEnvelope.sustain >= 0) type |= 2;
    w.u8(type);
    w.u8(0);  // panning envelope type
    w.u8(0);  // vibrato: sine
    w.u8(std::clamp(in.vibratoSweep, 0, 255));
    w.u8(std::clamp(in.vibratoDepth, 0, 15));
    w.u8(std::clamp(in.vibratoRate, 0, 63));
    w.u16(std::clamp(in.fadeout, 0, 0xFFF));
    w.zeros(kInstrumentHeaderSize - 241);  // reserved

    // Sample header; lengths are in bytes for 16-bit data.
    const int frames = int(in.pcm.size());
    const bool looped = in.loopLength > 0;
    require(!looped || (in.loopStart >= 0 && in.loopStart + in.loopLength <= frames), "loop outside the sample");
    w.u32(uint32_t(frames * 2));
    w.u32(uint32_t(looped ? in.loopStart * 2 : 0));
    w.u32(uint32_t(looped ? in.loopLength * 2 : 0));
    w.u8(std::clamp(in.volume, 0, 64));
    w.u8(uint8_t(int8_t(std::clamp(in.finetune, -128, 127))));
    w.u8((looped ? 1 : 0) | 0x10);  // forward loop, 16-bit
    w.u8(std::clamp(in.panning, 0, 255));
    w.u8(uint8_t(int8_t(std::clamp(in.relativeNote, -96, 95))));
    w.u8(0);
    w.text(in.name, 22);
}

// Sample data follows all of an instrument's headers, delta-coded.
void writeSampleData(Writer& w, const Instrument& in) {
    int16_t previous = 0;
    for (int16_t v : in.pcm) {
        w.u16(uint16_t(int16_t(v - previous)));
        previous = v;
    }
}

}  // namespace

void tuneSample(Instrument& instrument, double sampleRate, double pitchHz) {
    const double rateAtC4 = sampleRate * kC4Hz / pitchHz;
    const double semitones = 12.0 * std::log2(rateAtC4 / kC4PlaybackHz);
    int note = int(std::lround(semitones));
    int fine = int(std::lround((semitones - note) * 128.0));
    if (fine > 127) {
        ++note;
        fine -= 128;
    }
    instrument.relativeNote = note;
    instrument.finetune = fine;
}

Bytes writeXm(const Module& m) {
    require(m.channels >= 2 && m.channels <= 32, "2..32 channels");
    require(!m.orders.empty() && m.orders.size() <= 256, "1..256 orders");
    require(!m.patterns.empty() && m.patterns.size() <= 256, "1..256 patterns");
    require(m.instruments.size() <= 128, "at most 128 instruments");
    for (uint8_t o : m.orders) require(o < m.patterns.size(), "order names a missing pattern");

    Writer w;
    w.text("Extended Module: ", 17);
    w.text(m.name, 20);
    w.u8(0x1A);
    w.text(m.tracker, 20);
    w.u16(0x0104);
    w.u32(kHeaderSize);
    w.u16(int(m.orders.size()));
    w.u16(m.restart);
    w.u16(m.channels);
    w.u16(int(m.patterns.size()));
    w.u16(int(m.instruments.size()));
    w.u16(1);  // linear frequency table
    w.u16(m.speed);
    w.u16(m.bpm);
    for (int i = 0; i < 256; ++i) w.u8(size_t(i) < m.orders.size() ? m.orders[size_t(i)] : 0);

    for (const Pattern& p : m.patterns) {
        require(p.rows >= 1 && p.rows <= 256, "1..256 rows per pattern");
        require(p.channels == m.channels, "pattern channel count differs from the module's");
        const Bytes packed = packPattern(p);
        require(packed.size() <= 0xFFFF, "pattern too large");
        w.u32(9);
        w.u8(0);
        w.u16(p.rows);
        w.u16(int(packed.size()));
        w.bytes().insert(w.bytes().end(), packed.begin(), packed.end());
    }

    for (const Instrument& in : m.instruments) {
        writeInstrument(w, in);
        writeSampleData(w, in);
    }
    return std::move(w.bytes());
}

}  // namespace datagen::xm
