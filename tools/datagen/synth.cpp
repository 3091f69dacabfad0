// The synthesiser behind the generated sounds; see synth.h.
#include "synth.h"

#include <algorithm>
#include <cmath>

namespace datagen::synth {

int framesOf(double seconds, int rate) { return std::max(0, int(std::lround(seconds * rate))); }

Signal silence(double seconds, int rate) { return Signal(size_t(framesOf(seconds, rate)), 0.0f); }

double dbToGain(double db) { return std::pow(10.0, db / 20.0); }

double noteHz(double midiNote) { return 440.0 * std::pow(2.0, (midiNote - 69.0) / 12.0); }

namespace {

// Attack ramp, exponential decay and a 5 ms cut at the end.
double envelope(double t, double attack, double decay, double length) {
    if (t < 0 || t >= length) return 0;
    double e = attack > 0 && t < attack ? t / attack : 1.0;
    if (decay > 0 && t > attack) e *= std::exp(-(t - attack) / decay);
    const double cut = std::min(0.005, length * 0.25);
    if (t > length - cut) e *= (length - t) / cut;
    return e;
}

}  // namespace

void addTone(Signal& s, double startSec, const Tone& tone, int rate) {
    const int first = framesOf(startSec, rate);
    const int count = framesOf(tone.lengthSec, rate);
    double phase = tone.phase;
    const double logGlide = std::log(tone.glide);
    for (int i = 0; i < count && first + i < int(s.size()); ++i) {
        const double t = double(i) / rate;
        double f = tone.freq;
        if (tone.glideSec > 0 && tone.glide != 1.0) f *= std::exp(logGlide * std::min(t / tone.glideSec, 1.0));
        if (tone.vibratoHz > 0) f *= std::pow(2.0, tone.vibratoCents / 1200.0 * std::sin(2 * kPi * tone.vibratoHz * t));
        const double e = envelope(t, tone.attackSec, tone.decaySec, tone.lengthSec);
        if (first + i >= 0) s[size_t(first + i)] += float(tone.amp * e * std::sin(phase));
        phase += 2 * kPi * f / rate;
    }
}

void addBell(Signal& s, double startSec, double freq, double amp, double decaySec,
             const std::vector<double>& ratios, int rate) {
    double a = amp;
    for (size_t i = 0; i < ratios.size(); ++i) {
        if (freq * ratios[i] >= rate * 0.45) break;  // nothing above Nyquist
        Tone t;
        t.freq = freq * ratios[i];
        t.amp = a;
        t.attackSec = 0.001;
        t.decaySec = decaySec / (1.0 + 0.8 * double(i));
        t.lengthSec = std::min(t.decaySec * 7.0, decaySec * 7.0);
        t.phase = double(i) * 1.3;
        addTone(s, startSec, t, rate);
        a *= 0.55;
    }
}

void addMallet(Signal& s, double startSec, double freq, double amp, double decaySec, int rate) {
    const double ratios[3] = {1.0, 3.93, 9.9};
    const double amps[3] = {1.0, 0.22, 0.06};
    const double decays[3] = {1.0, 0.3, 0.1};
    for (int i = 0; i < 3; ++i) {
        if (freq * ratios[i] >= rate * 0.45) break;
        Tone t;
        t.freq = freq * ratios[i];
        t.amp = amp * amps[i];
        t.attackSec = 0.0015;
        t.decaySec = decaySec * decays[i];
        t.lengthSec = decaySec * decays[i] * 7.0;
        addTone(s, startSec, t, rate);
    }
}

void addEpiano(Signal& s, double startSec, double freq, double amp, double decaySec, int rate) {
    Tone body;
    body.freq = freq;
    body.amp = amp;
    body.attackSec = 0.003;
    body.decaySec = decaySec;
    body.lengthSec = decaySec * 6.0;
    addTone(s, startSec, body, rate);

    Tone second = body;  // warmth
    second.freq = freq * 2.0;
    second.amp = amp * 0.18;
    second.decaySec = decaySec * 0.5;
    second.lengthSec = decaySec * 3.0;
    addTone(s, startSec, second, rate);

    if (freq * 7.0 < rate * 0.45) {  // the tine's short metallic ring
        Tone tine = body;
        tine.freq = freq * 7.0;
        tine.amp = amp * 0.10;
        tine.attackSec = 0.001;
        tine.decaySec = 0.06;
        tine.lengthSec = 0.4;
        addTone(s, startSec, tine, rate);
    }
}

void addPluck(Signal& s, double startSec, double freq, double amp, double decaySec,
              ArtRandom& random, int rate) {
    // The loop's averaging filter delays by half a sample; the rest of the
    // period is a fractional delay read by linear interpolation.
    const double period = double(rate) / freq - 0.5;
    const int size = int(std::ceil(period)) + 2;
    std::vector<float> line(size_t(size), 0.0f);
    Biquad pick = Biquad::lowpass(std::min(freq * 6.0, rate * 0.4), 0.7, rate);
    for (int i = 0; i < size; ++i) line[size_t(i)] = pick.process(whiteNoise(random));
    const double loss = std::exp(-1.0 / (freq * decaySec));

    const int first = framesOf(startSec, rate);
    const int count = framesOf(decaySec * 6.0, rate);
    std::vector<float> history(size_t(count + size), 0.0f);
    for (int i = 0; i < size; ++i) history[size_t(i)] = line[size_t(i)];
    for (int n = size; n < count + size; ++n) {
        const double readAt = double(n) - period;
        const int k = int(std::floor(readAt));
        const double frac = readAt - k;
        const double delayed = history[size_t(k)] * (1 - frac) + history[size_t(k + 1)] * frac;
        const double before = history[size_t(k - 1)] * (1 - frac) + history[size_t(k)] * frac;
        history[size_t(n)] = float(loss * 0.5 * (delayed + before));
    }
    // Normalise the string's own level so `amp` means the same for every pitch.
    float peak = 0;
    for (float v : history) peak = std::max(peak, std::fabs(v));
    if (peak <= 0) return;
    const int fade = framesOf(0.005, rate);
    for (int i = 0; i < count && first + i < int(s.size()); ++i) {
        double e = 1.0;
        if (i > count - fade) e = double(count - i) / fade;
        s[size_t(first + i)] += float(amp * e * history[size_t(i)] / peak);
    }
}

Biquad Biquad::lowpass(double freq, double q, int rate) {
    Biquad b;
    const double w = 2 * kPi * std::min(freq, rate * 0.49) / rate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
    const double a0 = 1 + alpha;
    b.m_b0 = (1 - c) / 2 / a0;
    b.m_b1 = (1 - c) / a0;
    b.m_b2 = (1 - c) / 2 / a0;
    b.m_a1 = -2 * c / a0;
    b.m_a2 = (1 - alpha) / a0;
    return b;
}

Biquad Biquad::highpass(double freq, double q, int rate) {
    Biquad b;
    const double w = 2 * kPi * std::min(freq, rate * 0.49) / rate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
    const double a0 = 1 + alpha;
    b.m_b0 = (1 + c) / 2 / a0;
    b.m_b1 = -(1 + c) / a0;
    b.m_b2 = (1 + c) / 2 / a0;
    b.m_a1 = -2 * c / a0;
    b.m_a2 = (1 - alpha) / a0;
    return b;
}

Biquad Biquad::bandpass(double freq, double q, int rate) {
    Biquad b;
    const double w = 2 * kPi * std::min(freq, rate * 0.49) / rate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
    const double a0 = 1 + alpha;
    b.m_b0 = alpha / a0;
    b.m_b1 = 0;
    b.m_b2 = -alpha / a0;
    b.m_a1 = -2 * c / a0;
    b.m_a2 = (1 - alpha) / a0;
    return b;
}

void Biquad::retune(const Biquad& other) {
    m_b0 = other.m_b0;
    m_b1 = other.m_b1;
    m_b2 = other.m_b2;
    m_a1 = other.m_a1;
    m_a2 = other.m_a2;
}

float Biquad::process(float x) {
    const double y = m_b0 * x + m_b1 * m_x1 + m_b2 * m_x2 - m_a1 * m_y1 - m_a2 * m_y2;
    m_x2 = m_x1;
    m_x1 = x;
    m_y2 = m_y1;
    m_y1 = y;
    return float(y);
}

float whiteNoise(ArtRandom& random) { return float(random.unit() * 2.0 - 1.0); }

void addNoise(Signal& s, double startSec, const NoiseBurst& burst, ArtRandom& random, int rate) {
    const int first = framesOf(startSec, rate);
    const int count = framesOf(burst.lengthSec, rate);
    auto design = [&](double f) {
        return burst.q <= 0 ? Biquad::lowpass(f, 0.707, rate) : Biquad::bandpass(f, burst.q, rate);
    };
    Biquad filter = design(burst.freq);
    const double logGlide = std::log(burst.glide);
    for (int i = 0; i < count && first + i < int(s.size()); ++i) {
        const double t = double(i) / rate;
        if (burst.glide != 1.0 && i % 32 == 0) {
            filter.retune(design(burst.freq * std::exp(logGlide * t / burst.lengthSec)));
        }
        const float v = filter.process(whiteNoise(random));
        if (first + i >= 0) {
            s[size_t(first + i)] += float(burst.amp * envelope(t, burst.attackSec, burst.decaySec, burst.lengthSec) * v);
        }
    }
}

void mixInto(Signal& dest, const Signal& src, double startSec, double gain, int rate) {
    const int first = framesOf(startSec, rate);
    for (size_t i = 0; i < src.size() && first + i < dest.size(); ++i) dest[first + i] += float(src[i] * gain);
}

float peakOf(const Signal& s) {
    float peak = 0;
    for (float v : s) peak = std::max(peak, std::fabs(v));
    return peak;
}

void normalizePeak(Signal& s, double peakDb) {
    const float peak = peakOf(s);
    if (peak <= 0) return;
    const float gain = float(dbToGain(peakDb) / peak);
    for (float& v : s) v *= gain;
}

void finish(Signal& s, double peakDb, double fadeInSec, double fadeOutSec, int rate) {
    if (s.empty()) return;
    double mean = 0;
    for (float v : s) mean += v;
    mean /= double(s.size());
    Biquad dc = Biquad::highpass(20.0, 0.707, rate);
    for (float& v : s) v = dc.process(float(v - mean));
    const int in = std::min(int(s.size()), framesOf(fadeInSec, rate));
    for (int i = 0; i < in; ++i) s[size_t(i)] *= float(i) / float(in);
    const int out = std::min(int(s.size()), framesOf(fadeOutSec, rate));
    for (int i = 0; i < out; ++i) s[s.size() - 1 - size_t(i)] *= float(i) / float(out);
    normalizePeak(s, peakDb);
}

}  // namespace datagen::synth
