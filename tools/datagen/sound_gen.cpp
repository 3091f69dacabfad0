// The game's sound effects, synthesised and written loose as 44100 Hz mono
// Ogg Vorbis files under "Sounds/". Every sound is finished the same way: no
// DC offset, short edge fades, peak at -3 dBFS (ambience and long held
// sounds a little lower, so they do not stand out).
//
// Sections: interface clicks | ball and board | specials and rewards |
// ambience (birds, water beds) | level end | the table and the generator
//
// "ball.ogg" and "score.ogg" are replayed by the game at other playback
// rates (about 0.35 to 1.8 times their pitch), so both are short and mostly
// below 4 kHz, which keeps them clean when pitched up. The water beds are
// replayed every 3.0 s ("waterfall.ogg") and 3.1 s ("brook.ogg"): each is
// 0.2 s longer than its period with equal-power fades at both ends, so one
// playback fades out while the next fades in and the bed never clicks.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "datagen.h"
#include "ogg_writer.h"
#include "synth.h"

namespace datagen {

namespace {

using namespace synth;

// Harmonic tone (harmonics 1..count with amplitude 1/n^tilt) for warm,
// brass-like or buzzy voices.
void addHarmonic(Signal& s, double start, Tone tone, int count, double tilt) {
    const double base = tone.freq, amp = tone.amp;
    for (int n = 1; n <= count && base * n < kRate * 0.45; ++n) {
        tone.freq = base * n;
        tone.amp = amp / std::pow(double(n), tilt);
        tone.phase = 0.7 * n;
        addTone(s, start, tone, kRate);
    }
}

// A click's transient: a very short band of noise.
void addClick(Signal& s, double start, double freq, double amp, ArtRandom& r) {
    NoiseBurst b;
    b.freq = freq;
    b.q = 1.2;
    b.amp = amp;
    b.attackSec = 0.0003;
    b.decaySec = 0.003;
    b.lengthSec = 0.02;
    addNoise(s, start, b, r);
}

// ------------------------------------------------------ interface clicks

Signal menuClick() {  // "menu.ogg": a clean, short confirming click
    ArtRandom r(101);
    Signal s = silence(0.12);
    addTone(s, 0, Tone{.freq = 1180, .amp = 0.8, .attackSec = 0.0008, .decaySec = 0.014, .lengthSec = 0.1});
    addTone(s, 0, Tone{.freq = 2360, .amp = 0.25, .attackSec = 0.0005, .decaySec = 0.006, .lengthSec = 0.05});
    addClick(s, 0, 3500, 0.3, r);
    return s;
}

Signal menuHover() {  // "menu2.ogg": a lighter, higher tick for the highlight
    ArtRandom r(102);
    Signal s = silence(0.08);
    addTone(s, 0, Tone{.freq = 1760, .amp = 0.6, .attackSec = 0.0008, .decaySec = 0.008, .lengthSec = 0.06});
    addTone(s, 0, Tone{.freq = 3520, .amp = 0.12, .attackSec = 0.0005, .decaySec = 0.004, .lengthSec = 0.03});
    addClick(s, 0, 5000, 0.15, r);
    return s;
}

Signal sliderTick() {  // "chpok1.ogg": a soft wooden 'pok' for the volume slider
    ArtRandom r(103);
    Signal s = silence(0.12);
    addTone(s, 0, Tone{.freq = 950, .amp = 0.8, .attackSec = 0.001, .decaySec = 0.018, .lengthSec = 0.1, .glide = 0.6, .glideSec = 0.025});
    addClick(s, 0, 2200, 0.35, r);
    return s;
}

Signal refusal() {  // "gaf.ogg": a low, gently buzzing two-tone 'nope'
    Signal s = silence(0.5);
    addHarmonic(s, 0.0, Tone{.freq = 196, .amp = 0.5, .attackSec = 0.006, .decaySec = 0, .lengthSec = 0.13}, 8, 1.2);
    addHarmonic(s, 0.15, Tone{.freq = 147, .amp = 0.5, .attackSec = 0.006, .decaySec = 0.15, .lengthSec = 0.33}, 8, 1.2);
    Biquad soften = Biquad::lowpass(1800, 0.7);
    for (float& v : s) v = soften.process(v);
    return s;
}

// ------------------------------------------------------ ball and board

Signal glassPop() {  // "ball.ogg": a soft glassy pop per removed ball
    ArtRandom r(201);
    Signal s = silence(0.25);
    addTone(s, 0, Tone{.freq = 1000, .amp = 0.7, .attackSec = 0.001, .decaySec = 0.06, .lengthSec = 0.24, .glide = 1.18, .glideSec = 0.03});
    addTone(s, 0, Tone{.freq = 2760, .amp = 0.22, .attackSec = 0.0008, .decaySec = 0.028, .lengthSec = 0.15});
    addTone(s, 0, Tone{.freq = 5400, .amp = 0.06, .attackSec = 0.0005, .decaySec = 0.012, .lengthSec = 0.06});
    addClick(s, 0, 2600, 0.25, r);
    return s;
}

Signal selectBall() {  // "selectball.ogg": a woody tock when a ball is picked
    ArtRandom r(202);
    Signal s = silence(0.2);
    addMallet(s, 0, 660, 0.8, 0.05);
    addClick(s, 0, 2500, 0.2, r);
    return s;
}

Signal selectAim() {  // "selectaim.ogg": a quick upward swish as the ball sets off
    ArtRandom r(203);
    Signal s = silence(0.22);
    addTone(s, 0, Tone{.freq = 520, .amp = 0.6, .attackSec = 0.006, .decaySec = 0.06, .lengthSec = 0.2, .glide = 1.8, .glideSec = 0.09});
    addTone(s, 0, Tone{.freq = 1040, .amp = 0.12, .attackSec = 0.006, .decaySec = 0.04, .lengthSec = 0.15, .glide = 1.8, .glideSec = 0.09});
    addNoise(s, 0, NoiseBurst{.freq = 1400, .q = 1.5, .amp = 0.35, .attackSec = 0.02, .decaySec = 0.05, .lengthSec = 0.2, .glide = 2.2}, r);
    return s;
}

Signal ballStand() {  // "ballstand.ogg": the ball settles in its cell
    ArtRandom r(204);
    Signal s = silence(0.3);
    addTone(s, 0, Tone{.freq = 230, .amp = 0.8, .attackSec = 0.002, .decaySec = 0.05, .lengthSec = 0.28, .glide = 0.7, .glideSec = 0.05});
    addMallet(s, 0, 460, 0.25, 0.04);
    addNoise(s, 0, NoiseBurst{.freq = 900, .q = 0, .amp = 0.3, .attackSec = 0.001, .decaySec = 0.015, .lengthSec = 0.08}, r);
    return s;
}

Signal addBalls() {  // "addball.ogg": three soft plinks as new balls arrive
    Signal s = silence(0.6);
    const double notes[3] = {76, 79, 84};  // E5 G5 C6
    for (int i = 0; i < 3; ++i) addMallet(s, 0.06 * i, noteHz(notes[i]), 0.5 - 0.08 * i, 0.12);
    return s;
}

Signal squareCrack() {  // "square.ogg": a stone tile cracks
    ArtRandom r(206);
    Signal s = silence(0.4);
    addNoise(s, 0, NoiseBurst{.freq = 1800, .q = 1.5, .amp = 0.8, .attackSec = 0.0005, .decaySec = 0.035, .lengthSec = 0.25}, r);
    addNoise(s, 0.028, NoiseBurst{.freq = 2600, .q = 2.0, .amp = 0.5, .attackSec = 0.0005, .decaySec = 0.02, .lengthSec = 0.15}, r);
    addNoise(s, 0, NoiseBurst{.freq = 600, .q = 1.0, .amp = 0.5, .attackSec = 0.001, .decaySec = 0.07, .lengthSec = 0.3}, r);
    addMallet(s, 0, 330, 0.35, 0.06);
    return s;
}

Signal chainBreak() {  // "chain.ogg": two metallic clinks of a breaking chain
    ArtRandom r(207);
    Signal s = silence(0.7);
    const std::vector<double> metal{1.0, 1.48, 2.11, 2.97, 3.6};
    addBell(s, 0.0, 1900, 0.5, 0.12, metal);
    addBell(s, 0.07, 2350, 0.4, 0.1, metal);
    addClick(s, 0.0, 6000, 0.3, r);
    addClick(s, 0.07, 6500, 0.2, r);
    return s;
}

Signal scoreTick() {  // "score.ogg": a bright counting blip
    Signal s = silence(0.12);
    addTone(s, 0, Tone{.freq = 1320, .amp = 0.7, .attackSec = 0.001, .decaySec = 0.03, .lengthSec = 0.11});
    addTone(s, 0, Tone{.freq = 2640, .amp = 0.2, .attackSec = 0.001, .decaySec = 0.018, .lengthSec = 0.07});
    addTone(s, 0, Tone{.freq = 3960, .amp = 0.07, .attackSec = 0.001, .decaySec = 0.01, .lengthSec = 0.04});
    return s;
}

// ------------------------------------------------- specials and rewards

Signal bomb(bool super) {  // "bomb1.ogg" / "bomb2.ogg": a deep rumbling blast
    ArtRandom r(super ? 302 : 301);
    const double length = super ? 2.2 : 1.4;
    Signal s = silence(length);
    const double boom = super ? 68 : 90;
    addTone(s, 0, Tone{.freq = boom, .amp = 0.8, .attackSec = 0.003, .decaySec = super ? 0.55 : 0.35, .lengthSec = length, .glide = 0.45, .glideSec = super ? 0.8 : 0.5});
    addNoise(s, 0, NoiseBurst{.freq = super ? 2600.0 : 1800.0, .q = 0, .amp = 0.9, .attackSec = 0.002, .decaySec = super ? 0.45 : 0.28, .lengthSec = length, .glide = 0.12}, r);
    addNoise(s, 0, NoiseBurst{.freq = 220, .q = 0.7, .amp = 0.7, .attackSec = 0.01, .decaySec = super ? 0.8 : 0.5, .lengthSec = length}, r);
    if (super) {
        // A second, nearer blast and the crackle of debris.
        addTone(s, 0.12, Tone{.freq = 55, .amp = 0.6, .attackSec = 0.003, .decaySec = 0.5, .lengthSec = 2.0, .glide = 0.5, .glideSec = 0.6});
        for (int i = 0; i < 28; ++i) {
            const double at = 0.1 + r.unit() * 1.2;
            addNoise(s, at, NoiseBurst{.freq = r.range(1500, 4500), .q = 3, .amp = 0.25 * (1.3 - at), .attackSec = 0.0005, .decaySec = 0.006, .lengthSec = 0.04}, r);
        }
    }
    return s;
}

Signal crystalChime() {  // "diamond.ogg": a ringing crystal chord
    Signal s = silence(1.8);
    const std::vector<double> crystal{1.0, 2.0, 2.76, 5.4};
    addBell(s, 0.0, noteHz(96), 0.45, 0.45, crystal);   // C7
    addBell(s, 0.05, noteHz(100), 0.35, 0.4, crystal);  // E7
    addBell(s, 0.1, noteHz(103), 0.3, 0.35, crystal);   // G7
    addTone(s, 0, Tone{.freq = noteHz(84), .amp = 0.25, .attackSec = 0.002, .decaySec = 0.5, .lengthSec = 1.7});
    return s;
}

Signal sparkleRun() {  // "diamond0.ogg": a fast sparkling run upwards
    Signal s = silence(1.0);
    const int pentatonic[5] = {0, 2, 4, 7, 9};
    for (int i = 0; i < 12; ++i) {
        const double note = 84 + 12 * (i / 5) + pentatonic[i % 5];
        addBell(s, 0.028 * i, noteHz(note), 0.35, 0.15, {1.0, 2.0, 3.0});
    }
    return s;
}

Signal bonusShimmer() {  // "addbonus.ogg": a shimmering rise as a special arrives
    Signal s = silence(1.3);
    const int pentatonic[5] = {0, 2, 4, 7, 9};
    for (int i = 0; i < 9; ++i) {
        const double note = 79 + 12 * (i / 5) + pentatonic[i % 5];
        addBell(s, 0.035 * i, noteHz(note), 0.3, 0.3, {1.0, 2.76, 5.4});
    }
    addTone(s, 0, Tone{.freq = 700, .amp = 0.25, .attackSec = 0.15, .decaySec = 0.2, .lengthSec = 0.6, .glide = 3.0, .glideSec = 0.35});
    return s;
}

Signal extraLife() {  // "addlife.ogg": a happy arpeggio and chord
    Signal s = silence(1.6);
    const double notes[4] = {72, 76, 79, 84};  // C5 E5 G5 C6
    for (int i = 0; i < 4; ++i) addEpiano(s, 0.09 * i, noteHz(notes[i]), 0.35, 0.35);
    for (double n : {72.0, 76.0, 79.0, 84.0}) addEpiano(s, 0.4, noteHz(n), 0.2, 0.6);
    addBell(s, 0.4, noteHz(96), 0.15, 0.4, {1.0, 2.76});
    return s;
}

void brassChord(Signal& s, double start, std::initializer_list<double> notes, double length) {
    for (double n : notes) {
        addHarmonic(s, start, Tone{.freq = noteHz(n), .amp = 0.18, .attackSec = 0.02, .decaySec = 0, .lengthSec = length, .vibratoHz = 5.5, .vibratoCents = 8}, 10, 1.3);
    }
}

Signal excellent() {  // "excellent.ogg": a bright, cheerful fanfare
    Signal s = silence(1.4);
    brassChord(s, 0.0, {67, 72, 76}, 0.14);
    brassChord(s, 0.18, {72, 76, 79, 84}, 0.9);
    Biquad warm = Biquad::lowpass(3500, 0.7);
    for (float& v : s) v = warm.process(v);
    // A fade over the held chord's tail.
    const int from = framesOf(0.6), to = framesOf(1.08);
    for (int i = from; i < int(s.size()); ++i) s[size_t(i)] *= float(std::max(0.0, double(to - i) / (to - from)));
    addBell(s, 0.18, noteHz(96), 0.2, 0.35, {1.0, 2.76});
    return s;
}

Signal megaClear() {  // "deleteballs.ogg": a great sweep that clears the board
    ArtRandom r(310);
    Signal s = silence(1.8);
    addNoise(s, 0, NoiseBurst{.freq = 300, .q = 1.2, .amp = 0.9, .attackSec = 0.35, .decaySec = 0.5, .lengthSec = 1.6, .glide = 20}, r);
    addTone(s, 0, Tone{.freq = 80, .amp = 0.5, .attackSec = 0.01, .decaySec = 0.4, .lengthSec = 1.5, .glide = 0.6, .glideSec = 0.6});
    for (int i = 0; i < 10; ++i) addBell(s, 0.3 + 0.06 * i, noteHz(96 - 2 * i), 0.18, 0.25, {1.0, 2.76});
    return s;
}

Signal hammerReady() {  // "gethammer.ogg": a metallic rising 'shing' and chord
    ArtRandom r(311);
    Signal s = silence(1.4);
    addNoise(s, 0, NoiseBurst{.freq = 3000, .q = 4, .amp = 0.5, .attackSec = 0.05, .decaySec = 0.2, .lengthSec = 0.6, .glide = 2.3}, r);
    addTone(s, 0, Tone{.freq = 400, .amp = 0.4, .attackSec = 0.01, .decaySec = 0, .lengthSec = 0.28, .glide = 4.0, .glideSec = 0.25});
    for (double n : {79.0, 83.0, 86.0}) addBell(s, 0.28, noteHz(n), 0.3, 0.45, {1.0, 2.0, 2.76, 5.4});
    return s;
}

Signal hammerStrike() {  // "hammer.ogg": a heavy thump with a metal clank
    ArtRandom r(312);
    Signal s = silence(0.7);
    addTone(s, 0, Tone{.freq = 120, .amp = 0.9, .attackSec = 0.001, .decaySec = 0.08, .lengthSec = 0.5, .glide = 0.6, .glideSec = 0.06});
    addNoise(s, 0, NoiseBurst{.freq = 3000, .q = 0, .amp = 0.7, .attackSec = 0.0005, .decaySec = 0.025, .lengthSec = 0.2}, r);
    addBell(s, 0.005, 700, 0.35, 0.15, {1.0, 1.59, 2.14, 2.83, 3.7});
    return s;
}

Signal wow() {  // "wow.ogg": a voice-like "wow" for a matched record
    // A harmonic source whose pitch rises and falls, through two formant
    // bands moving from "oo" to "ah" and back.
    const double length = 0.9;
    Signal s = silence(length);
    Biquad f1 = Biquad::bandpass(300, 5), f2 = Biquad::bandpass(870, 8);
    double phase = 0;
    for (int i = 0; i < int(s.size()); ++i) {
        const double t = double(i) / kRate, u = t / length;
        const double open = std::sin(kPi * std::min(1.0, u * 1.6)) * (u < 0.62 ? 1.0 : 0.7);  // "oo" -> "ah" -> "oo"
        const double pitch = 190 + 80 * std::sin(kPi * std::min(1.0, u * 1.4));
        if (i % 32 == 0) {
            f1.retune(Biquad::bandpass(300 + 430 * open, 5));
            f2.retune(Biquad::bandpass(870 + 220 * open, 8));
        }
        double source = 0;
        for (int n = 1; n * pitch < 5000; ++n) source += std::sin(n * phase) / n;
        phase += 2 * kPi * pitch / kRate;
        const double env = std::min(1.0, t / 0.05) * std::min(1.0, (length - t) / 0.25);
        s[size_t(i)] = float(env * (f1.process(float(source)) + 0.6 * f2.process(float(source))));
    }
    return s;
}

// --------------------------------------- ambience (birds, water beds)

// A bird's chirp: a quick pitch sweep with a faint octave.
void chirp(Signal& s, double at, double freq, double glide, double length, double amp) {
    addTone(s, at, Tone{.freq = freq, .amp = amp, .attackSec = length * 0.2, .decaySec = length * 0.5, .lengthSec = length, .glide = glide, .glideSec = length});
    addTone(s, at, Tone{.freq = freq * 2, .amp = amp * 0.08, .attackSec = length * 0.2, .decaySec = length * 0.4, .lengthSec = length, .glide = glide, .glideSec = length});
}

Signal birds(int which) {  // "birds1..3.ogg"
    Signal s = silence(1.4);
    if (which == 1) {  // two pairs of tweets
        for (double at : {0.0, 0.13, 0.55, 0.66}) chirp(s, at, 3100, 1.45, 0.08, 0.5);
        chirp(s, 0.8, 3700, 0.8, 0.12, 0.4);
    } else if (which == 2) {  // a trill, then a rising whistle
        for (int i = 0; i < 10; ++i) chirp(s, 0.05 * i, i % 2 ? 3600 : 4200, 0.85, 0.04, 0.4);
        chirp(s, 0.65, 2500, 1.4, 0.28, 0.45);
    } else {  // a warbled little descending song
        const double notes[5] = {3800, 3400, 3000, 3300, 2800};
        for (int i = 0; i < 5; ++i) {
            addTone(s, 0.17 * i, Tone{.freq = notes[i], .amp = 0.45, .attackSec = 0.02, .decaySec = 0.1, .lengthSec = 0.16, .vibratoHz = 28, .vibratoCents = 70});
        }
    }
    return s;
}

// Equal-power fades at both ends: overlapping playbacks of a noise bed
// keep a constant loudness through the join.
void crossfadeEdges(Signal& s, double fadeSec) {
    const int n = framesOf(fadeSec);
    for (int i = 0; i < n && i < int(s.size()); ++i) {
        const float g = float(std::sin(0.5 * kPi * double(i) / n));
        s[size_t(i)] *= g;
        s[s.size() - 1 - size_t(i)] *= g;
    }
}

Signal brook() {  // "brook.ogg": a babbling brook, replayed every 3.1 s
    ArtRandom r(401);
    const double length = 3.3;
    Signal s = silence(length);
    addNoise(s, 0, NoiseBurst{.freq = 1200, .q = 0.5, .amp = 0.12, .attackSec = 0, .decaySec = 0, .lengthSec = length}, r);
    addNoise(s, 0, NoiseBurst{.freq = 500, .q = 0, .amp = 0.15, .attackSec = 0, .decaySec = 0, .lengthSec = length}, r);
    // Bubbles: short rising blips, as air pockets burst in the current.
    for (int i = 0; i < 85; ++i) {
        const double at = r.unit() * (length - 0.08);
        addTone(s, at, Tone{.freq = r.range(480, 1400), .amp = r.range(0.06, 0.22), .attackSec = 0.002, .decaySec = 0.018, .lengthSec = 0.07, .glide = r.range(1.3, 1.8), .glideSec = 0.03});
    }
    crossfadeEdges(s, 0.2);
    return s;
}

Signal waterfall() {  // "waterfall.ogg": the steady rush of falling water, every 3.0 s
    ArtRandom r(402);
    const double length = 3.2;
    Signal s = silence(length);
    addNoise(s, 0, NoiseBurst{.freq = 1900, .q = 0, .amp = 0.5, .attackSec = 0, .decaySec = 0, .lengthSec = length}, r);
    addNoise(s, 0, NoiseBurst{.freq = 380, .q = 0.6, .amp = 0.6, .attackSec = 0, .decaySec = 0, .lengthSec = length}, r);
    addNoise(s, 0, NoiseBurst{.freq = 4200, .q = 0.8, .amp = 0.08, .attackSec = 0, .decaySec = 0, .lengthSec = length}, r);
    // A slow, uneven swell, as spray gusts in the wind.
    for (int i = 0; i < int(s.size()); ++i) {
        const double t = double(i) / kRate;
        s[size_t(i)] *= float(0.85 + 0.1 * std::sin(2 * kPi * 0.7 * t) + 0.05 * std::sin(2 * kPi * 1.9 * t + 1.0));
    }
    crossfadeEdges(s, 0.2);
    return s;
}

// ----------------------------------------------------------- level end

Signal levelComplete() {  // "levelcomplete.ogg": a rising, bright jingle
    Signal s = silence(2.6);
    const double notes[5] = {72, 76, 79, 84, 88};  // C5 E5 G5 C6 E6
    for (int i = 0; i < 5; ++i) {
        addMallet(s, 0.1 * i, noteHz(notes[i]), 0.35, 0.25);
        addBell(s, 0.1 * i, noteHz(notes[i] + 12), 0.12, 0.2, {1.0, 2.76});
    }
    for (double n : {60.0, 67.0, 72.0, 76.0, 79.0, 84.0}) addEpiano(s, 0.55, noteHz(n), 0.16, 0.9);
    addBell(s, 0.55, noteHz(96), 0.12, 0.6, {1.0, 2.0, 2.76});
    return s;
}

Signal gameOver() {  // "defeat.ogg": a gentle phrase falling to A minor
    Signal s = silence(3.0);
    const double melody[4] = {69, 67, 64, 62};  // A4 G4 E4 D4
    for (int i = 0; i < 4; ++i) addEpiano(s, 0.32 * i, noteHz(melody[i]), 0.35, 0.45);
    for (double n : {45.0, 57.0, 60.0, 64.0}) addEpiano(s, 1.3, noteHz(n), 0.22, 0.9);  // A2 A3 C4 E4
    return s;
}

Signal boardFull() {  // "level_defeat.ogg": a sad, sliding fall
    Signal s = silence(2.2);
    const double notes[3] = {64, 63, 62};  // E4 Eb4 D4
    for (int i = 0; i < 3; ++i) {
        addHarmonic(s, 0.3 * i, Tone{.freq = noteHz(notes[i]), .amp = 0.35, .attackSec = 0.02, .decaySec = 0, .lengthSec = 0.26, .vibratoHz = 5, .vibratoCents = 15}, 6, 1.6);
    }
    addHarmonic(s, 0.9, Tone{.freq = noteHz(61), .amp = 0.35, .attackSec = 0.02, .decaySec = 0.5, .lengthSec = 1.25, .glide = 0.94, .glideSec = 1.0, .vibratoHz = 5, .vibratoCents = 20}, 6, 1.6);
    Biquad soften = Biquad::lowpass(2200, 0.7);
    for (float& v : s) v = soften.process(v);
    return s;
}

// ------------------------------------------- the table and the generator

struct SoundRecipe {
    const char* name;
    std::function<Signal()> make;
    double fadeOutSec;  // the edge fade before the file ends
    double peakDb = -3.0;  // ambience and long held sounds sit a little lower
};

std::vector<SoundRecipe> recipes() {
    return {
        {"addball.ogg", addBalls, 0.01},
        {"addbonus.ogg", bonusShimmer, 0.05},
        {"addlife.ogg", extraLife, 0.05},
        {"ball.ogg", glassPop, 0.01},
        {"ballstand.ogg", ballStand, 0.01},
        {"birds1.ogg", [] { return birds(1); }, 0.02, -4.5},
        {"birds2.ogg", [] { return birds(2); }, 0.02, -4.5},
        {"birds3.ogg", [] { return birds(3); }, 0.02, -4.5},
        {"bomb1.ogg", [] { return bomb(false); }, 0.1},
        {"bomb2.ogg", [] { return bomb(true); }, 0.1},
        {"brook.ogg", brook, 0.0, -4.0},
        {"chain.ogg", chainBreak, 0.02},
        {"chpok1.ogg", sliderTick, 0.005},
        {"defeat.ogg", gameOver, 0.1},
        {"deleteballs.ogg", megaClear, 0.1},
        {"diamond.ogg", crystalChime, 0.1},
        {"diamond0.ogg", sparkleRun, 0.05},
        {"excellent.ogg", excellent, 0.05},
        {"gaf.ogg", refusal, 0.02, -4.0},
        {"gethammer.ogg", hammerReady, 0.05},
        {"hammer.ogg", hammerStrike, 0.03},
        {"level_defeat.ogg", boardFull, 0.1, -4.5},
        {"levelcomplete.ogg", levelComplete, 0.1},
        {"menu.ogg", menuClick, 0.005},
        {"menu2.ogg", menuHover, 0.005},
        {"score.ogg", scoreTick, 0.005},
        {"selectaim.ogg", selectAim, 0.01},
        {"selectball.ogg", selectBall, 0.01},
        {"square.ogg", squareCrack, 0.02},
        {"waterfall.ogg", waterfall, 0.0, -5.0},
        {"wow.ogg", wow, 0.02},
    };
}

}  // namespace

void generateSounds(Output& out) {
    for (const SoundRecipe& recipe : recipes()) {
        Signal s = recipe.make();
        finish(s, recipe.peakDb, 0.001, recipe.fadeOutSec);
        out.writeLoose(std::string("Sounds/") + recipe.name, encodeOggVorbis(s, kRate));
    }
}

}  // namespace datagen
