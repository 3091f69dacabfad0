// The game's music: one XM module, "music.mo3", holding seven tunes one
// after another in its order list. The game starts a tune at its first
// order; each tune ends in a pattern jump back inside its own range, so it
// loops forever and never runs into the next one.
//
//   tune  orders   mood
//   0     0..10    level: a meadow morning (F major, flute over a harp)
//   1     11..28   level: a waltz by the lake (D major, 3/4, marimba)
//   2     29..43   title and menus: the main theme (C major, e-piano)
//   6     44..46   mode screens: calm and spacious (Eb major, bells)
//   3     47..62   level: a lively hillside dance (G major, plucked strings)
//   4     63..64   level complete: a bright fanfare, then a gentle vamp
//   5     65..66   defeat: a soft phrase in A minor
//
// Sections: instruments | harmony and melody | tunes | building the module
//
// Everything is composed here: instruments are synthesised (synth.h),
// harmony is written as chord progressions per tune, and melodies are grown
// from motifs over the chords with a seeded ArtRandom (chord tones on strong
// beats, stepwise motion between, a sequence in the second bar, a cadence
// in the fourth), so the same build always writes the same module.
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "datagen.h"
#include "synth.h"
#include "xm_writer.h"

namespace datagen {

namespace {

using namespace synth;

// ============================================================ instruments

constexpr int kSampleRate = 22050;  // the instruments' recording rate, Hz

enum Instrument : uint8_t {
    kPiano = 1, kMallet, kPluck, kPad, kBass, kFlute, kBell, kKick, kRim, kShaker,
};

// Float signal to 16-bit, peak at about -1 dBFS.
std::vector<int16_t> toPcm(Signal s) {
    normalizePeak(s, -1.0);
    std::vector<int16_t> pcm(s.size());
    for (size_t i = 0; i < s.size(); ++i) pcm[i] = int16_t(std::lround(std::clamp(s[i], -1.0f, 1.0f) * 32767.0f));
    return pcm;
}

struct Partial {
    int harmonic;
    double amp;
    double decaySec;  // 0 = steady
};

// A harmonic tone whose period is a whole number of frames, so any run of
// whole periods after `loopStartPeriods` loops without a seam. Partials
// decay until the loop starts and hold their level after it; the
// instrument's volume envelope shapes the rest.
xm::Instrument loopedHarmonic(const char* name, int period, const std::vector<Partial>& partials,
                              int loopStartPeriods, int loopPeriods, ArtRandom& random) {
    const int frames = period * (loopStartPeriods + loopPeriods);
    const double loopAt = double(period * loopStartPeriods) / kSampleRate;
    Signal s(size_t(frames), 0.0f);
    for (const Partial& p : partials) {
        const double freq = double(p.harmonic) * kSampleRate / period;
        if (freq > kSampleRate * 0.45) continue;
        const double phase = random.unit() * 2 * kPi;
        for (int i = 0; i < frames; ++i) {
            const double t = double(i) / kSampleRate;
            const double level = p.decaySec > 0 ? std::exp(-std::min(t, loopAt) / p.decaySec) : 1.0;
            s[size_t(i)] += float(p.amp * level * std::sin(2 * kPi * freq * t + phase));
        }
    }
    const int attack = std::min(frames / 4, framesOf(0.002, kSampleRate));
    for (int i = 0; i < attack; ++i) s[size_t(i)] *= float(i) / float(attack);
    xm::Instrument in;
    in.name = name;
    in.pcm = toPcm(std::move(s));
    in.loopStart = period * loopStartPeriods;
    in.loopLength = period * loopPeriods;
    xm::tuneSample(in, kSampleRate, double(kSampleRate) / period);
    return in;
}

// A one-shot sample from a rendered signal, tuned to `pitchHz`.
xm::Instrument oneShot(const char* name, Signal s, double pitchHz) {
    xm::Instrument in;
    in.name = name;
    finish(s, -1.0, 0.0005, 0.01, kSampleRate);
    in.pcm = toPcm(std::move(s));
    xm::tuneSample(in, kSampleRate, pitchHz);
    return in;
}

constexpr int kPeriodC4 = 84;   // 22050 / 84 = 262.5 Hz, a few cents above C4
constexpr int kPeriodC3 = 168;

std::vector<xm::Instrument> buildInstruments() {
    ArtRandom random(9001);
    std::vector<xm::Instrument> list;

    // A soft electric piano: a round body, a little second harmonic, and the
    // tine's brief bell-like ring. It decays like a struck note; key-off damps it.
    xm::Instrument piano = loopedHarmonic("e-piano", kPeriodC4,
        {{1, 1.0, 0.9}, {2, 0.28, 0.35}, {3, 0.06, 0.2}, {7, 0.14, 0.045}, {14, 0.035, 0.02}}, 80, 4, random);
    piano.volumeEnvelope = {{{0, 64}, {6, 56}, {24, 40}, {60, 26}, {110, 14}, {180, 6}, {260, 0}}, -1};
    piano.fadeout = 0x0A00;
    list.push_back(std::move(piano));

    // A marimba: a wooden bar's fundamental with its 3.9x and 9.9x partials.
    {
        Signal s = silence(0.85, kSampleRate);
        addMallet(s, 0, noteHz(72), 0.8, 0.24, kSampleRate);
        xm::Instrument mallet = oneShot("marimba", std::move(s), noteHz(72));
        mallet.volumeEnvelope = {{{0, 64}, {1, 64}}, 1};
        mallet.fadeout = 0x0600;
        mallet.panning = 108;
        list.push_back(std::move(mallet));
    }

    // A plucked harp-like string.
    {
        Signal s = silence(1.0, kSampleRate);
        addPluck(s, 0, noteHz(60), 0.8, 0.45, random, kSampleRate);
        Biquad warm = Biquad::lowpass(4500, 0.7, kSampleRate);
        for (float& v : s) v = warm.process(v);
        xm::Instrument pluck = oneShot("harp", std::move(s), noteHz(60));
        pluck.volumeEnvelope = {{{0, 64}, {1, 64}}, 1};
        pluck.fadeout = 0x0500;
        pluck.panning = 150;
        list.push_back(std::move(pluck));
    }

    // A warm pad: three slightly detuned copies of a soft saw-like tone. The
    // loop holds 100 periods, and each copy is detuned by whole cycles per
    // loop, so the gentle beating loops seamlessly too.
    {
        constexpr int periods = 100;
        const int frames = kPeriodC4 * periods;
        Signal s(size_t(frames), 0.0f);
        for (int h = 1; h <= 12; ++h) {
            const double amp = 1.0 / std::pow(h, 1.25) / (1.0 + std::pow(h / 5.0, 2.0));
            for (int detune : {-1, 0, 1}) {
                const double cycles = double(h * periods + detune);
                const double phase = random.unit() * 2 * kPi;
                for (int i = 0; i < frames; ++i) {
                    s[size_t(i)] += float(amp * std::sin(2 * kPi * cycles * i / frames + phase));
                }
            }
        }
        xm::Instrument pad;
        pad.name = "pad";
        pad.pcm = toPcm(std::move(s));
        pad.loopStart = 0;
        pad.loopLength = frames;
        xm::tuneSample(pad, kSampleRate, double(kSampleRate) / kPeriodC4);
        pad.volumeEnvelope = {{{0, 0}, {10, 40}, {22, 58}, {34, 64}}, 3};
        pad.fadeout = 0x0300;
        list.push_back(std::move(pad));
    }

    // A round bass with a soft pluck at the start.
    xm::Instrument bass = loopedHarmonic("bass", kPeriodC3,
        {{1, 1.0, 0}, {2, 0.45, 0.5}, {3, 0.2, 0.25}, {4, 0.08, 0.12}, {5, 0.05, 0.05}, {6, 0.03, 0.04}}, 40, 2, random);
    bass.volumeEnvelope = {{{0, 64}, {8, 54}, {40, 38}, {120, 30}}, 3};
    bass.fadeout = 0x0C00;
    list.push_back(std::move(bass));

    // A soft flute: nearly pure, with a breath at the start and a slow vibrato.
    {
        xm::Instrument flute = loopedHarmonic("flute", kPeriodC4,
            {{1, 1.0, 0}, {2, 0.16, 0}, {3, 0.09, 0}, {4, 0.025, 0}, {5, 0.012, 0}}, 14, 4, random);
        Signal breath = silence(0.06, kSampleRate);
        addNoise(breath, 0, NoiseBurst{.freq = 1600, .q = 1.0, .amp = 0.25, .attackSec = 0.008, .decaySec = 0.015, .lengthSec = 0.05}, random, kSampleRate);
        for (size_t i = 0; i < breath.size() && i < size_t(flute.loopStart); ++i) {
            flute.pcm[i] = int16_t(std::clamp(flute.pcm[i] + breath[i] * 32767.0f, -32767.0f, 32767.0f));
        }
        flute.volumeEnvelope = {{{0, 0}, {3, 50}, {7, 64}, {40, 56}}, 3};
        flute.fadeout = 0x0900;
        flute.vibratoDepth = 3;
        flute.vibratoRate = 9;
        flute.vibratoSweep = 30;
        flute.panning = 120;
        list.push_back(std::move(flute));
    }

    // Bells: a bright glockenspiel-like ring.
    {
        Signal s = silence(0.9, kSampleRate);
        addBell(s, 0, noteHz(72), 0.8, 0.35, {1.0, 2.0, 3.0, 4.17, 5.43}, kSampleRate);
        xm::Instrument bell = oneShot("bells", std::move(s), noteHz(72));
        bell.volumeEnvelope = {{{0, 64}, {1, 64}}, 1};
        bell.fadeout = 0x0400;
        bell.panning = 146;
        list.push_back(std::move(bell));
    }

    // Light percussion: a soft kick, a wooden rim click and a shaker.
    {
        Signal s = silence(0.3, kSampleRate);
        addTone(s, 0, Tone{.freq = 110, .amp = 1.0, .attackSec = 0.001, .decaySec = 0.09, .lengthSec = 0.3, .glide = 0.42, .glideSec = 0.05}, kSampleRate);
        addNoise(s, 0, NoiseBurst{.freq = 1200, .q = 0, .amp = 0.25, .attackSec = 0.0005, .decaySec = 0.006, .lengthSec = 0.03}, random, kSampleRate);
        list.push_back(oneShot("kick", std::move(s), noteHz(60)));
    }
    {
        Signal s = silence(0.14, kSampleRate);
        addMallet(s, 0, 820, 0.7, 0.025, kSampleRate);
        addNoise(s, 0, NoiseBurst{.freq = 2600, .q = 1.5, .amp = 0.5, .attackSec = 0.0005, .decaySec = 0.01, .lengthSec = 0.06}, random, kSampleRate);
        xm::Instrument rim = oneShot("rim", std::move(s), noteHz(60));
        rim.panning = 112;
        list.push_back(std::move(rim));
    }
    {
        Signal s = silence(0.11, kSampleRate);
        addNoise(s, 0, NoiseBurst{.freq = 6500, .q = 0.9, .amp = 0.9, .attackSec = 0.012, .decaySec = 0.025, .lengthSec = 0.1}, random, kSampleRate);
        xm::Instrument shaker = oneShot("shaker", std::move(s), noteHz(60));
        shaker.panning = 168;
        list.push_back(std::move(shaker));
    }
    return list;
}

// ===================================================== harmony and melody

struct Chord {
    int root = 0;              // pitch class, 0 = C
    std::vector<int> tones;    // pitch classes, root first

    bool has(int pitch) const {
        const int pc = ((pitch % 12) + 12) % 12;
        return std::find(tones.begin(), tones.end(), pc) != tones.end();
    }
};

// "C", "F#m", "Bb", "Am7", "Fmaj7", "G7", "Esus4", "Bdim".
Chord parseChord(std::string_view name) {
    static const std::map<char, int> letters{{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5}, {'G', 7}, {'A', 9}, {'B', 11}};
    if (name.empty() || !letters.count(name[0])) throw std::runtime_error("bad chord " + std::string(name));
    int root = letters.at(name[0]);
    size_t i = 1;
    if (i < name.size() && name[i] == '#') root += 1, ++i;
    else if (i < name.size() && name[i] == 'b') root -= 1, ++i;
    root = (root + 12) % 12;
    const std::string_view kind = name.substr(i);
    std::vector<int> intervals;
    if (kind == "") intervals = {0, 4, 7};
    else if (kind == "m") intervals = {0, 3, 7};
    else if (kind == "7") intervals = {0, 4, 7, 10};
    else if (kind == "maj7") intervals = {0, 4, 7, 11};
    else if (kind == "m7") intervals = {0, 3, 7, 10};
    else if (kind == "sus4") intervals = {0, 5, 7};
    else if (kind == "dim") intervals = {0, 3, 6};
    else throw std::runtime_error("bad chord " + std::string(name));
    Chord c;
    c.root = root;
    for (int v : intervals) c.tones.push_back((root + v) % 12);
    return c;
}

struct Note {
    int row;      // from the pattern's start
    int length;   // rows
    int pitch;    // MIDI
    int volume;   // 0..64
};
using Line = std::vector<Note>;

class Scale {
public:
    Scale(int tonic, bool minor) : m_tonic(tonic % 12) {
        static const int major[7] = {0, 2, 4, 5, 7, 9, 11}, natural[7] = {0, 2, 3, 5, 7, 8, 10};
        for (int i = 0; i < 7; ++i) m_steps[size_t(i)] = (m_tonic + (minor ? natural[i] : major[i])) % 12;
    }
    // This scale with the chord's tones replacing the scale notes a
    // semitone from them (the raised seventh over a major V in minor).
    Scale over(const Chord& chord) const {
        Scale s = *this;
        for (int t : chord.tones) {
            for (int& step : s.m_steps) {
                const int d = ((t - step) % 12 + 12) % 12;
                if (d == 1 || d == 11) step = t;
            }
        }
        std::sort(s.m_steps.begin(), s.m_steps.end());
        return s;
    }
    // Moves `steps` scale notes from `pitch` (snapped down onto the scale first).
    int step(int pitch, int steps) const {
        while (!contains(pitch)) --pitch;
        while (steps > 0) {
            do ++pitch; while (!contains(pitch));
            --steps;
        }
        while (steps < 0) {
            do --pitch; while (!contains(pitch));
            ++steps;
        }
        return pitch;
    }
    // Scale steps from a to b (both on the scale).
    int distance(int a, int b) const {
        int n = 0;
        while (a < b) a = step(a, 1), ++n;
        while (a > b) a = step(a, -1), --n;
        return n;
    }
    bool contains(int pitch) const {
        const int pc = ((pitch % 12) + 12) % 12;
        return std::find(m_steps.begin(), m_steps.end(), pc) != m_steps.end();
    }
    int tonic() const { return m_tonic; }

private:
    int m_tonic;
    std::array<int, 7> m_steps{};
};

// The chord tone nearest to `target` within [low, high], preferring the
// lower of two at equal distance; `avoid` (a pitch class) is skipped if
// anything else is near.
int nearestChordTone(int target, const Chord& chord, int low, int high, int avoid = -1) {
    for (int d = 0; d <= 12; ++d) {
        for (int sign : {-1, 1}) {
            const int p = target + sign * d;
            if (p < low || p > high || !chord.has(p)) continue;
            if (avoid >= 0 && p % 12 == avoid && d < 12) continue;
            return p;
        }
    }
    return std::clamp(target, low, high);
}

// Rhythms, one bar each: 'x' starts a note, '.' holds it, '-' rests.
struct Rhythm {
    int row, length;
};
std::vector<Rhythm> parseRhythm(std::string_view text) {
    std::vector<Rhythm> out;
    for (int i = 0; i < int(text.size()); ++i) {
        if (text[size_t(i)] != 'x') continue;
        int end = i + 1;
        while (end < int(text.size()) && text[size_t(end)] == '.') ++end;
        out.push_back({i, end - i});
    }
    return out;
}

struct RhythmBank {
    std::vector<std::string_view> motifs, answers, cadences;
};

const RhythmBank kFourFour{
    {"x...x.x.x.......", "x.....x.x...x...", "x.x.x...x...x...", "x...x...x.x.x...", "--x.x.x.x.......", "x.......x...x..."},
    {"x.x.x.x.x...x...", "x...x...x.x.x.x.", "x.....x.x.x.x...", "x...x.x.x...x..."},
    {"x...x...x.....--", "x.x.x...x.....--", "x.......x.....--", "x...x.x.x.....--"},
};
// For slow, spacious tunes: fewer, longer notes.
const RhythmBank kFourFourSparse{
    {"x.......x.......", "x.....x.x.......", "x...x...x.......", "x.......x...x..."},
    {"x...x...x...x...", "x.....x.x...x...", "x.......x.x.x..."},
    {"x.......x.....--", "x.............--", "x...x...x.....--"},
};
const RhythmBank kThreeFour{
    {"x...x...x...", "x.....x.x...", "x.x.x...x...", "x.......x..."},
    {"x.x.x.x.x...", "x...x.x.x.x.", "x.....x.x.x."},
    {"x...x......-", "x.......x..-", "x.x.x......-"},
};

struct MelodyStyle {
    int low, high;        // range, MIDI
    int volume;           // strong-beat volume, 0..64
    double leapChance;    // a skip of a third between weak notes
    bool sparse = false;  // fewer, longer notes
};

// Grows melodies phrase by phrase; see the file's header.
class MelodyWriter {
public:
    MelodyWriter(const Scale& scale, int rowsPerBar, const MelodyStyle& style, ArtRandom& random)
        : m_scale(scale), m_rowsPerBar(rowsPerBar), m_style(style), m_random(random),
          m_bank(rowsPerBar != 16 ? kThreeFour : (style.sparse ? kFourFourSparse : kFourFour)),
          m_last((style.low + style.high) / 2) {}

    // A four-bar phrase over `chords`. With `answer`, its first two bars
    // repeat `answer`'s and it comes to rest on the tonic; otherwise it ends
    // open, on a chord tone other than the tonic where it can.
    Line phrase(const std::vector<Chord>& chords, const Line* answer = nullptr) {
        Line out;
        if (answer) {
            for (const Note& n : *answer) {
                if (n.row < 2 * m_rowsPerBar) out.push_back(n);
            }
            m_last = out.empty() ? m_last : out.back().pitch;
        } else {
            // Phrases begin in the lower middle of the range, with room to rise.
            const auto motif = parseRhythm(pick(m_bank.motifs));
            const int middle = (m_style.low + m_style.high) / 2 - 2 + m_random.below(5) - 2;
            const int start = nearestChordTone(middle, chords[0], m_style.low + 2, m_style.high - 5);
            Line first = bar(chords[0], motif, 0, start, +1);
            out.insert(out.end(), first.begin(), first.end());
            Line second = sequence(first, chords[1], m_rowsPerBar);
            out.insert(out.end(), second.begin(), second.end());
        }
        const auto turn = parseRhythm(pick(m_bank.answers));
        const int peakDirection = m_last < (m_style.low + m_style.high) / 2 + 2 ? +1 : -1;
        Line third = bar(chords[2], turn, 2 * m_rowsPerBar, -1, peakDirection);
        out.insert(out.end(), third.begin(), third.end());
        Line fourth = cadence(chords[3], 3 * m_rowsPerBar, answer != nullptr);
        out.insert(out.end(), fourth.begin(), fourth.end());
        return out;
    }

private:
    std::string_view pick(const std::vector<std::string_view>& list) { return list[size_t(m_random.below(int(list.size())))]; }

    bool strong(int rowInBar) const { return rowInBar == 0 || (m_rowsPerBar == 16 && rowInBar == 8); }
    bool inRange(int pitch) const { return pitch >= m_style.low && pitch <= m_style.high; }

    int volumeFor(int rowInBar) {
        const int accent = rowInBar == 0 ? 0 : (strong(rowInBar) ? -3 : -7);
        return std::clamp(m_style.volume + accent + m_random.below(5) - 2, 8, 64);
    }

    // The next chord tone above (direction +1) or below `pitch`, turning
    // round at the edge of the range.
    int nextChordTone(int pitch, const Chord& chord, int direction) const {
        for (int d : {direction, -direction}) {
            int p = pitch + d;
            while (inRange(p) && !chord.has(p)) p += d;
            if (inRange(p)) return p;
        }
        return pitch;
    }

    // One bar: chord tones on strong beats, steps (sometimes a skip) between,
    // never running out of the range and not standing on one note.
    // `start` < 0 continues from the last note.
    Line bar(const Chord& chord, const std::vector<Rhythm>& rhythm, int rowOffset, int start, int direction) {
        const Scale scale = m_scale.over(chord);
        Line out;
        int pitch = m_last;
        for (size_t i = 0; i < rhythm.size(); ++i) {
            const Rhythm& r = rhythm[i];
            if (m_random.unit() < 0.18) direction = -direction;
            // Near the edges the line turns back inwards.
            if (pitch >= m_style.high - 2) direction = -1;
            if (pitch <= m_style.low + 2) direction = +1;
            int next;
            if (i == 0 && start >= 0) {
                next = start;
            } else if (strong(r.row)) {
                next = nearestChordTone(scale.step(pitch, direction * (1 + m_random.below(2))), chord, m_style.low, m_style.high);
                if (next == pitch) next = nextChordTone(pitch, chord, direction);
            } else {
                const int steps = m_random.unit() < m_style.leapChance ? 2 : 1;
                next = scale.step(pitch, direction * steps);
                if (!inRange(next)) next = scale.step(pitch, -direction * steps);
            }
            pitch = next;
            out.push_back({rowOffset + r.row, r.length, pitch, volumeFor(r.row)});
        }
        if (!out.empty()) m_last = out.back().pitch;
        return out;
    }

    // The previous bar's shape again, moved onto the next chord: a step up,
    // the same height or a step down, whichever keeps it inside the range.
    Line sequence(const Line& model, const Chord& chord, int rowOffset) {
        const Scale scale = m_scale.over(chord);
        const int base = scale.step(model.front().pitch, 0);
        int shifts[3] = {1, 0, -1};
        for (int i = 2; i > 0; --i) std::swap(shifts[i], shifts[m_random.below(i + 1)]);
        Line out;
        for (int attempt = 0; attempt < 3; ++attempt) {
            const int first = nearestChordTone(scale.step(base, shifts[attempt]), chord, m_style.low, m_style.high);
            out.clear();
            bool fits = true;
            for (const Note& n : model) {
                const int steps = scale.distance(base, scale.step(n.pitch, 0));
                int pitch = scale.step(first, steps);
                const int rowInBar = n.row % m_rowsPerBar;
                if (strong(rowInBar) && !chord.has(pitch)) pitch = nearestChordTone(pitch, chord, m_style.low, m_style.high);
                fits &= inRange(pitch);
                out.push_back({rowOffset + rowInBar, n.length, std::clamp(pitch, m_style.low, m_style.high), volumeFor(rowInBar)});
            }
            if (fits) break;
        }
        m_last = out.back().pitch;
        return out;
    }

    // The phrase's last bar: steps towards a resting note held to the end.
    Line cadence(const Chord& chord, int rowOffset, bool home) {
        const auto rhythm = parseRhythm(pick(m_bank.cadences));
        const Scale scale = m_scale.over(chord);
        int goal = nearestChordTone(m_last, chord, m_style.low, m_style.high, home ? -1 : m_scale.tonic());
        if (home && chord.has(m_scale.tonic())) {
            // Come home: the tonic nearest to where the line is.
            for (int d = 0; d <= 12; ++d) {
                const int below = m_last - d, above = m_last + d;
                if (below >= m_style.low && ((below % 12) + 12) % 12 == m_scale.tonic()) { goal = below; break; }
                if (above <= m_style.high && above % 12 == m_scale.tonic()) { goal = above; break; }
            }
        }
        const int count = int(rhythm.size());
        // Approach from the side the line comes from, or from the other
        // side where that side runs out of the range.
        int side = goal >= m_last ? -1 : 1;
        if (!inRange(scale.step(goal, side * (count - 1)))) side = -side;
        Line out;
        for (int i = 0; i < count; ++i) {
            const int left = count - 1 - i;  // notes still to come after this one
            int pitch = left == 0 ? goal : scale.step(goal, side * left);
            if (left > 0 && strong(rhythm[size_t(i)].row)) {
                // A chord tone on the beat, unless that would sit on the goal early.
                const int snapped = nearestChordTone(pitch, chord, m_style.low, m_style.high, goal % 12);
                if (snapped != goal) pitch = snapped;
            }
            out.push_back({rowOffset + rhythm[size_t(i)].row, rhythm[size_t(i)].length, std::clamp(pitch, m_style.low, m_style.high),
                           volumeFor(rhythm[size_t(i)].row)});
        }
        m_last = goal;
        return out;
    }

    Scale m_scale;
    int m_rowsPerBar;
    MelodyStyle m_style;
    ArtRandom& m_random;
    const RhythmBank& m_bank;
    int m_last;  // the last pitch written
};

// Close chord voicings that move as little as possible from the last one.
class Voicer {
public:
    Voicer(int low, int high) : m_low(low), m_high(high) {}

    std::array<int, 3> next(const Chord& chord) {
        // Four-note chords drop the root (the bass has it): 3rd, 5th, 7th.
        std::vector<int> pcs = chord.tones;
        if (pcs.size() > 3) pcs.erase(pcs.begin());
        std::array<int, 3> best{};
        int bestCost = 1 << 30;
        for (int bottom = m_low; bottom <= m_high; ++bottom) {
            if (bottom % 12 != pcs[0] && bottom % 12 != pcs[1] && bottom % 12 != pcs[2]) continue;
            // The voicing stacked upwards from `bottom`: each next chord tone above.
            std::array<int, 3> v{bottom, 0, 0};
            std::vector<int> rest;
            for (int pc : pcs) {
                if (pc != bottom % 12) rest.push_back(pc);
            }
            int at = bottom;
            for (size_t k = 0; k < 2; ++k) {
                int p = at + 1;
                while (std::find(rest.begin(), rest.end(), p % 12) == rest.end()) ++p;
                rest.erase(std::find(rest.begin(), rest.end(), p % 12));
                v[k + 1] = at = p;
            }
            if (v[2] > m_high) continue;
            int cost = 0;
            if (m_started) {
                for (size_t k = 0; k < 3; ++k) cost += std::abs(v[k] - m_last[k]);
            } else {
                cost = std::abs(v[1] - (m_low + m_high) / 2);
            }
            if (cost < bestCost) bestCost = cost, best = v;
        }
        m_last = best;
        m_started = true;
        return best;
    }

private:
    int m_low, m_high;
    std::array<int, 3> m_last{};
    bool m_started = false;
};

// ================================================================= tunes

enum Channel : int {
    kLeadCh, kCounterCh, kArpCh1, kArpCh2, kPadCh1, kPadCh2, kPadCh3, kBassCh, kKickCh, kRimCh, kShakerCh, kBellCh, kChannelCount,
};

enum class Role { None, Theme, Answer, Bridge, BridgeAnswer, Free, Written };
enum class Arp { None, Eighths, Flowing, Quarters, Waltz, Offbeat };
enum class BassLine { Calm, Pulse, Sparse, Waltz };
enum class Drums { None, Light, Backbeat, Waltz };

struct Section {
    std::vector<const char*> chords;  // one per bar, four bars
    Role melody = Role::None;
    bool counter = false;   // a sustained second voice
    bool bells = false;     // bells double the melody's long notes an octave up
    Arp arp = Arp::Eighths;
    bool pad = true;
    bool bass = true;
    Drums drums = Drums::None;
    const Line* written = nullptr;  // for Role::Written
};

struct TunePlan {
    const char* name;
    int firstOrder;
    int tonic;         // MIDI note of the key's tonic
    bool minor;
    int bpm;           // quarter notes a minute
    int beatsPerBar;   // 4 or 3
    uint8_t lead, counter, arp;
    MelodyStyle melody;
    int counterLow, counterHigh, counterVolume;
    int arpLow, arpVolume;
    int padVolume, bassVolume, drumVolume;
    BassLine bassLine;
    uint32_t seed;
    std::vector<Section> sections;
    int loopTo;        // order the last section jumps back to
};

// Hand-written lines for the two short end-of-level tunes.
const Line kFanfare{
    {0, 2, 69, 50}, {2, 2, 73, 46}, {4, 2, 76, 48}, {6, 10, 81, 54},
    {16, 4, 78, 50}, {20, 2, 76, 44}, {22, 2, 78, 46}, {24, 8, 81, 52},
    {32, 4, 80, 50}, {36, 4, 83, 50}, {40, 4, 76, 46}, {44, 4, 80, 48},
    {48, 12, 81, 54},
};
const Line kDefeatQuestion{
    {0, 6, 76, 46}, {6, 2, 74, 40}, {8, 8, 72, 44},
    {16, 6, 69, 44}, {22, 2, 72, 38}, {24, 8, 65, 42},
    {32, 4, 74, 44}, {36, 4, 72, 40}, {40, 8, 69, 42},
    {48, 8, 71, 44}, {56, 7, 68, 40},
};
const Line kDefeatAnswer{
    {0, 6, 72, 46}, {6, 2, 71, 40}, {8, 8, 69, 44},
    {16, 4, 65, 42}, {20, 4, 69, 40}, {24, 8, 74, 44},
    {32, 8, 76, 44}, {40, 4, 74, 40}, {44, 4, 71, 40},
    {48, 14, 69, 44},
};

std::vector<TunePlan> tunes() {
    std::vector<TunePlan> list;

    // Tune 0: a meadow morning. F major, flute over a harp's flowing arpeggio.
    {
        const std::vector<const char*> intro{"F", "Bb", "F", "C"}, a{"F", "Dm", "Bb", "C"}, a2{"F", "Dm", "C", "F"},
            b{"Bb", "C", "Am", "Dm"}, b2{"Gm", "Bb", "C", "C"}, c{"Dm", "Bb", "F", "C"}, end{"Bb", "C", "Dm", "C"};
        list.push_back({"meadow", 0, 65, false, 92, 4, kFlute, kPiano, kPluck, {65, 84, 50, 0.25}, 57, 72, 30, 53, 30, 20, 32, 34, BassLine::Calm, 11,
            {{intro, Role::None, false, false, Arp::Flowing, true, true, Drums::None},
             {a, Role::Theme, false, false, Arp::Flowing, true, true, Drums::Light},
             {a2, Role::Answer, false, false, Arp::Flowing, true, true, Drums::Light},
             {b, Role::Bridge, true, false, Arp::Flowing, true, true, Drums::Light},
             {b2, Role::BridgeAnswer, true, false, Arp::Flowing, true, true, Drums::Light},
             {a, Role::Theme, true, true, Arp::Flowing, true, true, Drums::Light},
             {a2, Role::Answer, true, true, Arp::Flowing, true, true, Drums::Light},
             {c, Role::None, true, false, Arp::Quarters, true, true, Drums::None},
             {b, Role::Bridge, false, true, Arp::Flowing, true, true, Drums::Light},
             {b2, Role::BridgeAnswer, true, false, Arp::Flowing, true, true, Drums::Light},
             {end, Role::Free, false, false, Arp::Flowing, true, true, Drums::None}},
            1});
    }

    // Tune 1: a waltz by the lake. D major in 3/4, marimba over e-piano.
    {
        const std::vector<const char*> intro{"D", "G", "D", "A"}, a{"D", "Bm", "G", "A"}, a2{"D", "Bm", "A", "D"},
            b{"Em", "A", "F#m", "Bm"}, b2{"G", "Em", "A7", "A"}, c{"Bm", "G", "D", "A"}, c2{"Bm", "G", "Em", "A"},
            rest{"D", "G", "Em", "A"}, end{"G", "A", "G", "A7"};
        const Section s[] = {
            {intro, Role::None, false, false, Arp::Waltz, true, true, Drums::None},
            {a, Role::Theme, false, false, Arp::Waltz, true, true, Drums::Waltz},
            {a2, Role::Answer, false, false, Arp::Waltz, true, true, Drums::Waltz},
            {b, Role::Bridge, true, false, Arp::Waltz, true, true, Drums::Waltz},
            {b2, Role::BridgeAnswer, true, false, Arp::Waltz, true, true, Drums::Waltz},
            {c, Role::Free, false, false, Arp::Flowing, true, true, Drums::Waltz},
            {c2, Role::Free, false, false, Arp::Flowing, true, true, Drums::Waltz},
            {rest, Role::None, true, false, Arp::Flowing, true, true, Drums::None},
        };
        list.push_back({"lake waltz", 11, 62, false, 126, 3, kMallet, kFlute, kPiano, {69, 88, 52, 0.3}, 62, 76, 24, 54, 26, 18, 30, 30, BassLine::Waltz, 22,
            {s[0], s[1], s[2], s[3], s[4], s[1], s[2], s[5], s[6], s[1], s[2], s[3], s[4], s[7], s[5], s[6], s[2],
             {end, Role::None, true, false, Arp::Waltz, true, true, Drums::Waltz}},
            12});
    }

    // Tune 2: the title theme. C major, e-piano melody, flute answering.
    {
        const std::vector<const char*> intro{"Cmaj7", "Fmaj7", "Cmaj7", "G"}, a{"Cmaj7", "G", "Am7", "Fmaj7"},
            a2{"Cmaj7", "G", "Fmaj7", "C"}, b{"Fmaj7", "G", "Em7", "Am7"}, b2{"Dm7", "Em7", "Fmaj7", "G"},
            rest{"Am7", "Fmaj7", "C", "G"}, d{"Fmaj7", "G", "Em7", "Am7"}, d2{"Dm7", "G", "C", "C"}, end{"Fmaj7", "G", "Fmaj7", "G"};
        list.push_back({"title theme", 29, 60, false, 80, 4, kPiano, kFlute, kPluck, {64, 84, 54, 0.25}, 60, 76, 22, 55, 26, 20, 32, 26, BassLine::Calm, 33,
            {{intro, Role::None, false, false, Arp::Quarters, true, true, Drums::None},
             {a, Role::Theme, false, false, Arp::Quarters, true, true, Drums::None},
             {a2, Role::Answer, false, false, Arp::Quarters, true, true, Drums::None},
             {b, Role::Bridge, true, false, Arp::Eighths, true, true, Drums::Light},
             {b2, Role::BridgeAnswer, true, false, Arp::Eighths, true, true, Drums::Light},
             {a, Role::Theme, true, true, Arp::Eighths, true, true, Drums::Light},
             {a2, Role::Answer, true, true, Arp::Eighths, true, true, Drums::Light},
             {rest, Role::None, true, false, Arp::Quarters, true, true, Drums::None},
             {b, Role::Bridge, false, true, Arp::Eighths, true, true, Drums::Light},
             {b2, Role::BridgeAnswer, true, false, Arp::Eighths, true, true, Drums::Light},
             {a, Role::Theme, false, false, Arp::Quarters, true, true, Drums::None},
             {a2, Role::Answer, true, false, Arp::Quarters, true, true, Drums::None},
             {d, Role::Free, false, false, Arp::Flowing, true, true, Drums::Light},
             {d2, Role::Free, true, false, Arp::Flowing, true, true, Drums::Light},
             {end, Role::None, true, false, Arp::Quarters, true, true, Drums::None}},
            30});
    }

    // Tune 6: the mode screens. Eb major, slow, bells over a flowing e-piano.
    {
        const std::vector<const char*> s1{"Eb", "Cm", "Ab", "Bb"}, s2{"Ab", "Bb", "Gm", "Cm"}, s3{"Ab", "Fm7", "Bb", "Bb"};
        list.push_back({"mode screens", 44, 75, false, 72, 4, kBell, kFlute, kPiano, {75, 91, 46, 0.3, true}, 63, 75, 22, 51, 26, 20, 28, 0, BassLine::Sparse, 66,
            {{s1, Role::Theme, false, false, Arp::Flowing, true, true, Drums::None},
             {s2, Role::Bridge, true, false, Arp::Flowing, true, true, Drums::None},
             {s3, Role::None, true, false, Arp::Flowing, true, true, Drums::None}},
            44});
    }

    // Tune 3: a lively hillside dance. G major, plucked strings and marimba.
    {
        const std::vector<const char*> intro{"G", "C", "G", "D"}, a{"G", "Em", "C", "D"}, a2{"G", "Em", "D", "G"},
            b{"C", "D", "Bm", "Em"}, b2{"C", "Am", "D", "D"}, c{"Em", "C", "G", "D"}, c2{"Em", "C", "Am", "D"},
            brk{"Em", "C", "G", "D"}, end{"C", "D", "C", "D"};
        list.push_back({"hillside", 47, 67, false, 108, 4, kPluck, kFlute, kMallet, {67, 86, 62, 0.3}, 62, 76, 18, 55, 22, 20, 34, 34, BassLine::Pulse, 44,
            {{intro, Role::None, false, false, Arp::Eighths, true, true, Drums::Light},
             {a, Role::Theme, false, false, Arp::Eighths, true, true, Drums::Backbeat},
             {a2, Role::Answer, false, false, Arp::Eighths, true, true, Drums::Backbeat},
             {b, Role::Bridge, true, false, Arp::Offbeat, true, true, Drums::Backbeat},
             {b2, Role::BridgeAnswer, true, false, Arp::Offbeat, true, true, Drums::Backbeat},
             {a, Role::Theme, true, true, Arp::Eighths, true, true, Drums::Backbeat},
             {a2, Role::Answer, true, true, Arp::Eighths, true, true, Drums::Backbeat},
             {c, Role::Free, false, false, Arp::Flowing, true, true, Drums::Light},
             {c2, Role::Free, true, false, Arp::Flowing, true, true, Drums::Light},
             {b, Role::Bridge, false, true, Arp::Offbeat, true, true, Drums::Backbeat},
             {b2, Role::BridgeAnswer, true, false, Arp::Offbeat, true, true, Drums::Backbeat},
             {a, Role::Theme, false, false, Arp::Eighths, true, true, Drums::Backbeat},
             {a2, Role::Answer, true, false, Arp::Eighths, true, true, Drums::Backbeat},
             {brk, Role::None, true, false, Arp::Flowing, true, true, Drums::Light},
             {c, Role::Free, false, true, Arp::Flowing, true, true, Drums::Light},
             {end, Role::None, true, false, Arp::Eighths, true, true, Drums::Backbeat}},
            48});
    }

    // Tune 4: level complete. A major, a bright fanfare, then a gentle vamp.
    {
        const std::vector<const char*> fanfare{"A", "D", "E", "A"}, vamp{"D", "E", "C#m", "A"};
        TunePlan t{"level complete", 63, 69, false, 120, 4, kMallet, kFlute, kPluck, {69, 88, 56, 0.3}, 64, 76, 22, 57, 26, 20, 30, 30, BassLine::Calm, 55,
            {{fanfare, Role::Written, false, true, Arp::Eighths, true, true, Drums::Light},
             {vamp, Role::None, true, false, Arp::Flowing, true, true, Drums::Light}},
            64};
        t.sections[0].written = &kFanfare;
        list.push_back(std::move(t));
    }

    // Tune 5: defeat. A minor, slow and soft, e-piano alone over the pad.
    {
        const std::vector<const char*> q{"Am", "F", "Dm", "E"}, a{"Am", "Dm", "E", "Am"};
        TunePlan t{"defeat", 65, 69, true, 66, 4, kPiano, kFlute, kPiano, {57, 79, 46, 0.2}, 57, 69, 22, 48, 22, 20, 28, 0, BassLine::Sparse, 66,
            {{q, Role::Written, false, false, Arp::Quarters, true, true, Drums::None},
             {a, Role::Written, false, false, Arp::Quarters, true, true, Drums::None}},
            65};
        t.sections[0].written = &kDefeatQuestion;
        t.sections[1].written = &kDefeatAnswer;
        list.push_back(std::move(t));
    }
    return list;
}

// ==================================================== building the module

class PatternWriter {
public:
    PatternWriter(int rows) : m_pattern(rows, kChannelCount) {}

    void note(int row, int channel, int pitch, uint8_t instrument, int volume) {
        if (row < 0 || row >= m_pattern.rows) return;
        xm::Cell& c = m_pattern.at(row, channel);
        c.note = xm::xmNoteOf(pitch);
        c.instrument = instrument;
        c.volume = uint8_t(xm::kVolumeColumnSet + std::clamp(volume, 0, 64));
    }
    void keyOff(int row, int channel) {
        if (row < 0 || row >= m_pattern.rows) return;
        xm::Cell& c = m_pattern.at(row, channel);
        if (c.note == 0) c.note = xm::kKeyOff;
    }
    void effect(int row, int channel, uint8_t effect, uint8_t param) {
        xm::Cell& c = m_pattern.at(row, channel);
        c.effect = effect;
        c.param = param;
    }
    // A melodic line; sustained instruments are released where a rest follows.
    void line(const Line& notes, int channel, uint8_t instrument, int transpose, int volumeShift, bool release) {
        for (size_t i = 0; i < notes.size(); ++i) {
            const Note& n = notes[i];
            note(n.row, channel, n.pitch + transpose, instrument, n.volume + volumeShift);
            const int end = n.row + n.length;
            const bool gap = i + 1 == notes.size() ? end < m_pattern.rows : notes[i + 1].row > end;
            if (release && gap) keyOff(end, channel);
        }
    }
    xm::Pattern& pattern() { return m_pattern; }

private:
    xm::Pattern m_pattern;
};

// The chord's root in the bass register, A1 .. G#2.
int bassPitch(const Chord& chord) {
    const int p = 36 + chord.root;  // C2 .. B2
    return p > 44 ? p - 12 : p;
}

class TuneBuilder {
public:
    TuneBuilder(const TunePlan& plan, ArtRandom& random)
        : m_plan(plan), m_random(random), m_scale(plan.tonic, plan.minor),
          m_rowsPerBar(plan.beatsPerBar * 4),
          m_melody(m_scale, m_rowsPerBar, plan.melody, random),
          m_pads(53, 72), m_counterLast((plan.counterLow + plan.counterHigh) / 2) {}

    xm::Pattern section(const Section& s, bool last) {
        std::vector<Chord> chords;
        for (const char* name : s.chords) chords.push_back(parseChord(name));
        PatternWriter w(4 * m_rowsPerBar);

        // Tempo on every pattern, so starting a tune anywhere plays it right.
        w.effect(0, kKickCh, xm::kEffectSetSpeed, 6);
        w.effect(0, kRimCh, xm::kEffectSetSpeed, uint8_t(m_plan.bpm));
        if (last) w.effect(w.pattern().rows - 1, kShakerCh, xm::kEffectPositionJump, uint8_t(m_plan.loopTo));

        const Line melody = melodyFor(s, chords);
        const bool sustained = m_plan.lead == kFlute || m_plan.lead == kPiano;
        w.line(melody, kLeadCh, m_plan.lead, 0, 0, sustained);
        if (s.bells) {
            Line longNotes;
            for (const Note& n : melody) {
                if (n.length >= 4) longNotes.push_back({n.row, n.length, n.pitch, n.volume});
            }
            w.line(longNotes, kBellCh, kBell, m_plan.lead == kBell ? 0 : 12, -22, false);
        }
        if (s.counter) w.line(counterLine(chords, melody), kCounterCh, m_plan.counter, 0, 0, true);

        for (int bar = 0; bar < 4; ++bar) {
            const Chord& chord = chords[size_t(bar)];
            const int at = bar * m_rowsPerBar;
            const Chord* next = bar < 3 ? &chords[size_t(bar + 1)] : nullptr;
            if (s.pad) padBar(w, chord, at);
            if (s.bass) bassBar(w, chord, next, at);
            arpBar(w, s.arp, chord, at);
            drumBar(w, s.drums, at);
        }
        return std::move(w.pattern());
    }

private:
    Line melodyFor(const Section& s, const std::vector<Chord>& chords) {
        switch (s.melody) {
            case Role::None: return {};
            case Role::Written: return s.written ? *s.written : Line{};
            case Role::Theme:
                if (m_theme.empty()) m_theme = m_melody.phrase(chords);
                return m_theme;
            case Role::Answer:
                if (m_answer.empty()) m_answer = m_melody.phrase(chords, m_theme.empty() ? nullptr : &m_theme);
                return m_answer;
            case Role::Bridge:
                if (m_bridge.empty()) m_bridge = m_melody.phrase(chords);
                return m_bridge;
            case Role::BridgeAnswer:
                if (m_bridgeAnswer.empty()) m_bridgeAnswer = m_melody.phrase(chords, m_bridge.empty() ? nullptr : &m_bridge);
                return m_bridgeAnswer;
            case Role::Free: return m_melody.phrase(chords);
        }
        return {};
    }

    // A slow second voice: a chord tone per half bar (per bar in 3/4) that
    // moves as little as it can and keeps off the melody's pitch class.
    Line counterLine(const std::vector<Chord>& chords, const Line& melody) {
        Line out;
        const int span = m_rowsPerBar == 16 ? 8 : 12;
        for (int row = 0; row < 4 * m_rowsPerBar; row += span) {
            const Chord& chord = chords[size_t(row / m_rowsPerBar)];
            int sounding = -1;
            for (const Note& n : melody) {
                if (n.row <= row && row < n.row + n.length) sounding = n.pitch % 12;
            }
            const int pitch = nearestChordTone(m_counterLast + (m_random.below(3) - 1), chord, m_plan.counterLow, m_plan.counterHigh, sounding);
            if (!out.empty() && out.back().pitch == pitch) {
                out.back().length += span;  // hold it
            } else {
                out.push_back({row, span, pitch, m_plan.counterVolume + m_random.below(4)});
            }
            m_counterLast = pitch;
        }
        if (!out.empty()) out.back().length -= 1;  // breathe before the next section
        return out;
    }

    void padBar(PatternWriter& w, const Chord& chord, int at) {
        const std::array<int, 3> v = m_pads.next(chord);
        const int channels[3] = {kPadCh1, kPadCh2, kPadCh3};
        for (int k = 0; k < 3; ++k) {
            // A voice that keeps its note holds it instead of restarting.
            if (at > 0 && v[size_t(k)] == m_padHeld[size_t(k)]) continue;
            w.note(at, channels[k], v[size_t(k)], kPad, m_plan.padVolume);
            m_padHeld[size_t(k)] = v[size_t(k)];
        }
        if (at == 0) m_padHeld = v;
    }

    void bassBar(PatternWriter& w, const Chord& chord, const Chord* next, int at) {
        const int root = bassPitch(chord);
        const int fifth = root + ((chord.tones.size() > 2 && chord.tones[2] == (chord.root + 6) % 12) ? 6 : 7);
        const int v = m_plan.bassVolume;
        const int lowFifth = fifth - 12 >= 33 ? fifth - 12 : fifth;  // the fifth below the root where it is not too low
        switch (m_plan.bassLine) {
            case BassLine::Calm:
                w.note(at, kBassCh, root, kBass, v);
                w.note(at + 8, kBassCh, m_random.below(3) ? lowFifth : root, kBass, v - 6);
                break;
            case BassLine::Pulse: {
                w.note(at, kBassCh, root, kBass, v);
                w.note(at + 6, kBassCh, root, kBass, v - 10);
                w.note(at + 8, kBassCh, lowFifth, kBass, v - 4);
                // A step towards the next chord's root on the last eighth.
                const int target = next ? bassPitch(*next) : root;
                const int approach = target + (target > root ? -2 : 2);
                w.note(at + 12, kBassCh, m_scale.over(chord).step(approach, 0), kBass, v - 10);
                break;
            }
            case BassLine::Sparse:
                w.note(at, kBassCh, root, kBass, v);
                break;
            case BassLine::Waltz:
                w.note(at, kBassCh, root, kBass, v);
                if (m_random.below(2)) w.note(at + 8, kBassCh, lowFifth, kBass, v - 12);
                break;
        }
    }

    void arpBar(PatternWriter& w, Arp arp, const Chord& chord, int at) {
        // Chord tones upwards from the root near arpLow.
        int base = m_plan.arpLow;
        while (base % 12 != chord.root) ++base;
        std::vector<int> tones;
        for (int octave = 0; octave < 3; ++octave) {
            for (int pc : chord.tones) tones.push_back(base + ((pc - chord.root + 12) % 12) + 12 * octave);
        }
        std::sort(tones.begin(), tones.end());
        const int v = m_plan.arpVolume;
        auto play = [&](int row, int index, int volume) {
            w.note(at + row, (m_arpFlip ^= 1) ? kArpCh1 : kArpCh2, tones[size_t(index)], m_plan.arp, volume + m_random.below(4) - 2);
        };
        switch (arp) {
            case Arp::None: break;
            case Arp::Eighths: {
                const int order[8] = {0, 1, 2, 1, 3, 1, 2, 1};
                for (int i = 0; i < m_rowsPerBar / 2; ++i) play(2 * i, order[i % 8], i % 2 ? v - 6 : v);
                break;
            }
            case Arp::Flowing: {
                const int order[8] = {0, 2, 1, 3, 2, 4, 3, 1};
                for (int i = 0; i < m_rowsPerBar / 2; ++i) play(2 * i, order[i % 8], i % 2 ? v - 5 : v);
                break;
            }
            case Arp::Quarters: {
                const int order[4] = {0, 1, 2, 3};
                for (int i = 0; i < m_rowsPerBar / 4; ++i) play(4 * i, order[i % 4], v);
                break;
            }
            case Arp::Offbeat: {
                const int order[4] = {1, 2, 1, 3};
                for (int i = 0; i < m_rowsPerBar / 4; ++i) play(4 * i + 2, order[i % 4], v - 2);
                break;
            }
            case Arp::Waltz:
                // Oom-pah-pah: the bass has the "oom", two chord tones the "pah"s.
                for (int row : {4, 8}) {
                    w.note(at + row, kArpCh1, tones[1], m_plan.arp, v - 4);
                    w.note(at + row, kArpCh2, tones[2], m_plan.arp, v - 6);
                }
                break;
        }
    }

    void drumBar(PatternWriter& w, Drums drums, int at) {
        const int v = m_plan.drumVolume;
        auto shake = [&](int row, int volume) { w.note(at + row, kShakerCh, 60 + m_random.below(2), kShaker, volume + m_random.below(5) - 2); };
        switch (drums) {
            case Drums::None: break;
            case Drums::Light:
                w.note(at, kKickCh, 60, kKick, v);
                for (int row = 0; row < m_rowsPerBar; row += 2) shake(row, row % 4 ? 18 : 12);
                break;
            case Drums::Backbeat:
                w.note(at, kKickCh, 60, kKick, v + 4);
                w.note(at + 8, kKickCh, 60, kKick, v - 4);
                w.note(at + 4, kRimCh, 60, kRim, 26);
                w.note(at + 12, kRimCh, 60, kRim, 24);
                for (int row = 0; row < m_rowsPerBar; row += 2) shake(row, row % 4 ? 20 : 13);
                break;
            case Drums::Waltz:
                w.note(at, kKickCh, 60, kKick, v);
                shake(4, 14);
                shake(8, 16);
                break;
        }
    }

    const TunePlan& m_plan;
    ArtRandom& m_random;
    Scale m_scale;
    int m_rowsPerBar;
    MelodyWriter m_melody;
    Voicer m_pads;
    std::array<int, 3> m_padHeld{};
    int m_counterLast;
    int m_arpFlip = 0;
    Line m_theme, m_answer, m_bridge, m_bridgeAnswer;
};

xm::Module buildModule() {
    xm::Module m;
    m.name = "Tessaly";
    m.channels = kChannelCount;
    m.speed = 6;
    m.bpm = 80;
    m.instruments = buildInstruments();

    std::vector<xm::Pattern> orderPatterns;
    for (const TunePlan& plan : tunes()) {
        if (int(orderPatterns.size()) != plan.firstOrder) {
            throw std::runtime_error(std::string("music: tune \"") + plan.name + "\" does not start at its order");
        }
        ArtRandom random(plan.seed);
        TuneBuilder builder(plan, random);
        for (size_t i = 0; i < plan.sections.size(); ++i) {
            orderPatterns.push_back(builder.section(plan.sections[i], i + 1 == plan.sections.size()));
        }
    }
    // A pattern that repeats exactly (a theme played again) is stored once.
    for (const xm::Pattern& p : orderPatterns) {
        auto found = std::find(m.patterns.begin(), m.patterns.end(), p);
        if (found == m.patterns.end()) {
            m.patterns.push_back(p);
            found = m.patterns.end() - 1;
        }
        m.orders.push_back(uint8_t(found - m.patterns.begin()));
    }
    return m;
}

}  // namespace

void generateMusic(Output& out) { out.writeLoose("music.mo3", xm::writeXm(buildModule())); }

}  // namespace datagen
