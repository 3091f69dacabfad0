#include "base/random.h"

namespace tessaly::base {

namespace {

// A fixed permutation of 0..255 for the repeatable sequence, built once from
// a small linear congruential shuffle so that it needs no table in the source.
struct Permutation {
    uint8_t value[256];

    Permutation() {
        for (int i = 0; i < 256; ++i) value[i] = uint8_t(i);
        uint32_t s = 0x2545F491u;
        for (int i = 255; i > 0; --i) {
            s = s * 1664525u + 1013904223u;
            const int j = int((s >> 8) % uint32_t(i + 1));
            const uint8_t t = value[i];
            value[i] = value[j];
            value[j] = t;
        }
    }
};

const Permutation s_permutation;

}  // namespace

void seedRandom(uint32_t seed) {
    g_random.seed(seed);
    g_decorationRandom.seed(seed ^ 0x5EEDu);
}

int randomBelow(int n) { return g_random.next() % n; }

float randomSigned(float r) { return randomSigned(g_random, r); }

float randomSigned(CRandom& source, float r) { return float(2 * source.next() - 32767) / 32767.0f * r; }

float randomUnit(float r) { return float(g_random.next()) / 32767.0f * r; }

int RepeatableRandom::next() {
    p = (p + 1) & 0xFF;
    q = (q + 3) & 0xFF;
    return s_permutation.value[p] * 256 + s_permutation.value[q];
}

void seedRepeatable(int s) { g_repeatable.seed(s); }
int repeatableInt(int m) { return g_repeatable.next() % m; }
float repeatableSigned(float x) { return float(g_repeatable.next()) / 32768.0f * x - x; }
float repeatableUnit(float x) { return float(g_repeatable.next()) * x / 65536.0f; }

}  // namespace tessaly::base
