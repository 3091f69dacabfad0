// A small synthesiser for the generated sound effects and the music's
// instrument samples: mono float signals at a given rate, tones with
// envelopes and pitch glides, inharmonic bells, plucked strings, noise
// through biquad filters, and the finishing steps every sound goes through
// (DC removal, edge fades, peak normalisation).
//
// Deterministic: noise comes from a seeded ArtRandom (paint.h). Nothing here
// knows file formats; ogg_writer.h and xm_writer.h turn signals into bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "paint.h"

namespace datagen::synth {

constexpr int kRate = 44100;  // the sound effects' rate, Hz
constexpr double kPi = 3.14159265358979323846;

using Signal = std::vector<float>;

// Frames in `seconds` at `rate`.
int framesOf(double seconds, int rate = kRate);
Signal silence(double seconds, int rate = kRate);

// Converts a level in dB (full scale = 0) to a linear gain.
double dbToGain(double db);

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
double noteHz(double midiNote);

// One sine partial. Pitch glides exponentially from freq to freq * glide
// over `glideSec`; amplitude rises linearly over `attackSec`, then decays
// exponentially with time constant `decaySec` (0 = no decay), and is cut
// with a short fade at `lengthSec`.
struct Tone {
    double freq = 440;       // Hz
    double amp = 0.5;        // linear peak
    double attackSec = 0.002;
    double decaySec = 0.2;   // exponential time constant, s; 0 = sustained
    double lengthSec = 1.0;  // where the tone ends (with a 5 ms fade)
    double glide = 1.0;      // pitch ratio reached after glideSec
    double glideSec = 0.0;
    double vibratoHz = 0;    // gentle pitch wobble
    double vibratoCents = 0;
    double phase = 0;        // start phase, radians
};
void addTone(Signal& s, double startSec, const Tone& tone, int rate = kRate);

// A struck bar or bell: a fundamental and partials at `ratios` with falling
// amplitudes and faster decays for higher partials.
void addBell(Signal& s, double startSec, double freq, double amp, double decaySec,
             const std::vector<double>& ratios, int rate = kRate);
// A marimba-like wooden bar (partials 1, 4, 9.9).
void addMallet(Signal& s, double startSec, double freq, double amp, double decaySec, int rate = kRate);
// A soft electric-piano tone (sine with a decaying bell-like overtone).
void addEpiano(Signal& s, double startSec, double freq, double amp, double decaySec, int rate = kRate);
// A plucked string (Karplus-Strong with a soft-pick lowpass).
void addPluck(Signal& s, double startSec, double freq, double amp, double decaySec,
              ArtRandom& random, int rate = kRate);

// RBJ biquad filters.
class Biquad final {
public:
    static Biquad lowpass(double freq, double q, int rate = kRate);
    static Biquad highpass(double freq, double q, int rate = kRate);
    static Biquad bandpass(double freq, double q, int rate = kRate);  // 0 dB peak
    float process(float x);
    void reset() { m_x1 = m_x2 = m_y1 = m_y2 = 0; }
    // Takes another filter's coefficients and keeps this one's state, so a
    // moving cut-off does not click.
    void retune(const Biquad& other);

private:
    double m_b0 = 1, m_b1 = 0, m_b2 = 0, m_a1 = 0, m_a2 = 0;
    double m_x1 = 0, m_x2 = 0, m_y1 = 0, m_y2 = 0;
};

// White noise in -1..1.
float whiteNoise(ArtRandom& random);

// Filtered noise burst: noise through a band (bandpass at `freq`, or
// lowpass when q <= 0), shaped like a Tone's envelope. The filter cut-off
// glides from freq to freq * glide over the length.
struct NoiseBurst {
    double freq = 1000;
    double q = 1.0;          // <= 0: lowpass at freq
    double amp = 0.5;
    double attackSec = 0.002;
    double decaySec = 0.2;
    double lengthSec = 0.5;
    double glide = 1.0;
};
void addNoise(Signal& s, double startSec, const NoiseBurst& burst, ArtRandom& random, int rate = kRate);

// Mixes `src` into `dest` at `startSec` with `gain`.
void mixInto(Signal& dest, const Signal& src, double startSec, double gain, int rate = kRate);

// Finishing: removes the DC offset (mean and a 20 Hz high-pass), fades the
// first and last few milliseconds, then scales the peak to `peakDb` dBFS.
void finish(Signal& s, double peakDb = -3.0, double fadeInSec = 0.001, double fadeOutSec = 0.005,
            int rate = kRate);
void normalizePeak(Signal& s, double peakDb);
float peakOf(const Signal& s);

}  // namespace datagen::synth
