// Described particle effects: every sparkle, burst, trail and score
// flourish of the game. Each ".par" file in the "effects" folder is one
// effect definition; the game starts an effect by name at a position. An
// effect either emits all its particles at once (a burst, effecttime 0) or
// becomes an emitter that lives effecttime ms, travels in a straight line to
// an optional target and emits groups of particles at parfrequency per
// second. An effect may start up to eight others with it ("externeffect").
//
// Particles are drawn once per frame as camera-facing quads cut from the
// atlas "particles.tga" (cells of 64 x 64 texels), with additive (blend
// type 0) or ordinary (1) transparency.
//
// Everything lives in fixed tables filled in ring order; nothing is
// allocated after loading. Time comes from the frame step only.
// Depends on: data registry and key readers, texture manager, drawing
// primitives, the camera's right and up axes, the frame clocks.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/math.h"
#include "base/pool_use.h"

namespace tessaly::gfx {
struct TextureEntry;
}

namespace tessaly::fx {

constexpr int kMaxEffects = 256;         // the data set holds a few dozen
constexpr int kMaxEmitters = 256;        // timed effects running at once; a new one overwrites the oldest
constexpr int kMaxParticles = 1024;      // live particles; a new one overwrites the oldest
constexpr int kMaxParticleQuads = 4096;  // quads per frame; further quads of the frame are dropped
constexpr int kMaxChainedEffects = 8;    // "externeffect1=" .. "externeffect8="
constexpr int kEffectNameSize = 32;      // 31 characters and the terminator; longer names are cut
constexpr int kAtlasCellTexels = 64;

constexpr float kChainWindowMs = 100;    // chained starts closer than this count as one run
constexpr int kMaxChainedStarts = 8;     // chained starts allowed in one run

// The "no target" position: an effect started with it stays where it began.
constexpr base::Vec3 kNoTarget = {-1000000.0f, -1000000.0f, 0};

struct ParticleEffect {
    char name[kEffectNameSize] = {};
    char chained[kMaxChainedEffects][kEffectNameSize] = {};
    float frequency = 0;               // groups per second (timed) or groups (burst)
    base::ColorF color0 = {1, 1, 1, 1};      // colour at birth
    base::ColorF color0Dev = {0, 0, 0, 0};
    base::ColorF color1 = {0, 0, 0, 0};      // colour at death
    base::ColorF color1Dev = {0, 0, 0, 0};
    float size0 = 0, size0Dev = 0;     // size at birth, units
    float size1 = 0, size1Dev = 0;     // size at death, units
    float life = 0, lifeDev = 0;       // ms
    base::Vec3 positionDev = {};             // units
    base::Vec3 speed = {}, speedDev = {};    // units per second
    float gravity = 0, gravityDev = 0; // units per second squared
    int32_t blendType = 0;             // 0 additive, 1 transparency, other: keep the previous
    int32_t cell = 0;                  // atlas cell
    float rot = 0, rotDev = 0;         // degrees
    float spin = 0, spinDev = 0;       // degrees per second
    float effectTime = 0;              // ms; 0 makes the effect a burst
    float particleOrbit[4] = {};       // radius, radius speed /s, angle deg, angular speed deg/s
    float particleOrbitDev[4] = {};
    float particleWobbleX[3] = {};     // amplitude, frequency, phase deg
    float particleWobbleY[3] = {};
    int32_t copiesAtEmit = 0;          // particles spawned evenly around the position
    int32_t copiesAtDraw = 0;          // quads drawn evenly around each particle
    float emitterOrbit[4] = {};
    float emitterOrbitDev[4] = {};
    float emitterWobbleX[3] = {};
    float emitterWobbleY[3] = {};
};

struct Emitter {
    int32_t effect = -1;          // index into the effect table; -1 for an empty slot
    int32_t cell = 0;
    float scale = 1;
    float ageMs = 0;
    base::Vec3 position = {};
    base::Vec3 velocity = {};           // units per ms
    float spawnCountdownMs = 0;
    float orbitRadius = 0, orbitRadiusSpeed = 0, orbitAngle = 0, orbitAngularSpeed = 0;
    float spawnPeriodMs = 0;
};

struct Particle {
    int32_t effect = 0;
    float ageMs = 0;
    int32_t cell = 0;
    base::Vec3 position = {};
    base::Vec3 velocity = {};           // units per second
    float rotation = 0;           // degrees
    float spin = 0;               // degrees per second
    float orbitRadius = 0, orbitRadiusSpeed = 0, orbitAngle = 0, orbitAngularSpeed = 0;
    float sizeBirth = 0, sizeDeath = 0;
    base::ColorF colorBirth = {0, 0, 0, 0}, colorDeath = {0, 0, 0, 0};
    float lifeMs = 0;             // 0: a dead slot
    float gravity = 0;
};

struct ParticleQuad {
    base::Vec3 centre = {};
    float rotation = 0;           // degrees
    float size = 0;
    uint32_t argb = 0;
    int32_t cell = 0;
    int32_t blendType = 0;
};

struct ParticleSystem {
    std::array<ParticleEffect, kMaxEffects> effects;
    int effectCount = 0;

    std::array<Emitter, kMaxEmitters> emitters;
    int nextEmitter = 0;          // ring position of the next timed start

    std::array<Particle, kMaxParticles> particles;
    int nextParticle = 0;         // ring position of the next spawn

    std::array<ParticleQuad, kMaxParticleQuads> quads;
    int quadCount = 0;            // quads queued this frame
    int droppedQuads = 0;         // quads of this frame that did not fit

    // Use of the three pools since start-up (or the last clear).
    base::PoolUse particleUse, emitterUse, quadUse;

    int chainCount = 0;           // chained starts in the current run
    float chainClockMs = -1e30f;  // animation clock of the previous chained start

    gfx::TextureEntry* atlas = nullptr;  // "particles.tga"
    int atlasColumns = 1, atlasRows = 1;
};

inline ParticleSystem g_particles;

// -- Loading -----------------------------------------------------------------

// Adds one definition from the text of a ".par" file (NUL-terminated).
// `fileName` gives the name, cut at its first "." and at 31 characters.
// Returns the new index, or -1 when the table is full (the file is ignored).
int addParticleEffect(ParticleSystem& ps, std::string_view fileName, const char* text);
// Resets `out` to the defaults and reads every key of `text` into it. Rates
// and counts are bounded: parfrequency to 0..kMaxParticles, simetria to at
// most kMaxParticles, simetriapar to at most kMaxParticleQuads.
void parseParticleEffect(ParticleEffect& out, const char* text);
// Atlas columns and rows for a texture of the given size (at least 1 each).
void setParticleAtlas(ParticleSystem& ps, gfx::TextureEntry* atlas);

// Start-up: loads "particles.tga" and every "effects/*.par", in name order.
void loadParticleEffects();

// -- Running -----------------------------------------------------------------

// Kills all emitters, particles and queued quads.
void clearParticles(ParticleSystem& ps);
void clearParticles();

// Starts effect `index` at `position`, travelling to `target` (kNoTarget:
// stay). `cell` < 0 uses the definition's atlas cell. `clockMs` is the
// animation clock, read by the chain limiter.
void startEffect(ParticleSystem& ps, int index, base::Vec3 position, base::Vec3 target, float scale, int cell,
                 float clockMs);
void startEffect(int index, base::Vec3 position, base::Vec3 target, float scale = 1, int cell = -1);
// Looks the name up (exact, first match); an unknown name does nothing.
void startEffectByName(ParticleSystem& ps, std::string_view name, float x, float y, float targetX,
                       float targetY, float scale, int cell, float clockMs);
void startEffectByName(std::string_view name, float x, float y, float targetX = kNoTarget.x,
                       float targetY = kNoTarget.y, float scale = 1, int cell = -1);
// startEffectByName behind the chain limiter: at most kMaxChainedStarts in a
// run of calls spaced no more than kChainWindowMs apart.
void startChainedEffect(ParticleSystem& ps, std::string_view name, float x, float y, float targetX,
                        float targetY, float scale, int cell, float clockMs);
int findParticleEffect(const ParticleSystem& ps, std::string_view name);

// Advances emitters and particles by dtMs and queues this frame's quads
// (each particle as it was before the advance), after what is queued.
void updateParticles(ParticleSystem& ps, float dtMs);
// The frame's step: a fresh quad queue, then updateParticles.
void stepParticles(ParticleSystem& ps, float dtMs);
// Draws the queued quads; drawing only reads.
void drawParticles(const ParticleSystem& ps);
// Draws the queued quads and empties the queue (tools that draw without a step).
void drawParticleQueue(ParticleSystem& ps);
// The process-wide system.
inline void stepParticles(float dtMs) { stepParticles(g_particles, dtMs); }
inline void drawParticles() { drawParticles(g_particles); }

// Counters for tests and tools.
int liveParticleCount(const ParticleSystem& ps);
int liveEmitterCount(const ParticleSystem& ps);

}  // namespace tessaly::fx
