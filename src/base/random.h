// Random numbers. Two sources:
//  - the C library generator (multiplier 214013, increment 2531011, result
//    bits 16..30), seeded once at start-up; every game and effect random
//    number comes from it, so a fixed seed replays a run exactly. It is ours,
//    not the platform's rand(), whose sequence differs. Decorations that
//    never touch play (the landscapes, the help demonstration's board) draw
//    from a second generator of the same kind, g_decorationRandom, seeded
//    with it: watching them never shifts the game's own sequence.
//  - the repeatable sequence: a fixed 256-entry permutation walked by two
//    positions, reseeded by callers that want the same jitter every frame.
#pragma once

#include <cstdint>

namespace tessaly::base {

struct CRandom {
    uint32_t state = 1;

    void seed(uint32_t s) { state = s; }
    // Next value, 0..32767.
    int next() {
        state = state * 214013u + 2531011u;
        return int((state >> 16) & 0x7FFF);
    }
};

inline CRandom g_random;
inline CRandom g_decorationRandom;

// Seeds both generators.
void seedRandom(uint32_t seed);
int randomBelow(int n);          // next value modulo n, n > 0
float randomSigned(float r);     // (2v - 32767) / 32767 * r, in [-r, r]
float randomUnit(float r);       // v / 32767 * r, in [0, r]
float randomSigned(CRandom& source, float r);  // the same from another generator

// While it lives, g_random draws from `source` (left advanced afterwards):
// code that runs the rules for a decoration keeps the game's own sequence
// untouched.
class UsingRandomSource final {
public:
    explicit UsingRandomSource(CRandom& source) : m_source(source), m_saved(g_random) { g_random = source; }
    ~UsingRandomSource() {
        m_source = g_random;
        g_random = m_saved;
    }
    UsingRandomSource(const UsingRandomSource&) = delete;
    UsingRandomSource& operator=(const UsingRandomSource&) = delete;

private:
    CRandom& m_source;
    CRandom m_saved;
};

struct RepeatableRandom {
    int p = 0, q = 0;

    void seed(int s) { p = (s / 256) & 0xFF; q = s % 256; }
    int next();                   // 0..65535
};

inline RepeatableRandom g_repeatable;

void seedRepeatable(int s);
int repeatableInt(int m);         // n mod m
float repeatableSigned(float x);  // n / 32768 * x - x, in [-x, x)
float repeatableUnit(float x);    // n * x / 65536

}  // namespace tessaly::base
