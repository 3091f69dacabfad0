// The built-in spark system: short-lived sprites from the 8 x 8 sheet
// "particles.tga" with eighteen fixed presets (0..17), spawned one at a time,
// in rings, along lines, as bursts by kind, and by small spiralling emitters.
// Unlike the described particle effects, sparks need no data files: the game
// rules and the floating texts throw them by preset number.
//
// Sparks move in screen units per millisecond and are drawn in 2D after the
// screen's own drawing: advanced and queued by the screen's step, then drawn
// in one pass that switches between alpha and additive blending only when the next
// entry needs the other one.
//
// Fixed tables, ring allocation, no allocation per frame. Time comes from
// the frame step; randomness from base::randomSigned / randomUnit / randomBelow.
// Depends on: gfx/sprite_sheet (the single-sprite drawing), the frame clock.
#pragma once

#include <array>
#include <cstdint>

#include "base/pool_use.h"

namespace tessaly::fx {

constexpr int kMaxSparks = 2048;          // a spark burst costs up to 32 slots; a new spark overwrites the oldest
constexpr int kMaxSparkQueue = 4095;      // entries drawn per frame; further entries are dropped
constexpr int kMaxSparkEmitters = 32;     // spiralling emitters; a new one overwrites the oldest
constexpr int kSparkPresetCount = 18;     // presets 0..17; other numbers spawn nothing
constexpr float kSparkEmitterMs = 400;    // life of a spiralling emitter
constexpr float kSparkFadeRate = -0.003f; // a colour channel that passes 1 turns and fades at this rate, per ms

struct Spark {
    float lifeMs = 0;                     // ms left; active while above 0
    float x = 0, y = 0;                   // screen units
    float vx = 0, vy = 0;                 // units per ms
    float orbitAngle = 0;                 // degrees
    float orbitRadius = 0;                // units
    float orbitAngleRate = 0;             // degrees per ms
    float orbitRadiusRate = 0;            // units per ms
    float reserved[2] = {};
    float rotation = 0, rotationRate = 0; // degrees, degrees per ms
    float size = 0, sizeRate = 0;         // units, units per ms
    float color[4] = {1, 1, 1, 1};        // red, green, blue, alpha, 0..1
    float colorRate[4] = {};              // per ms
    float gravity = 0;                    // units per ms², taken from the vertical velocity
    int32_t cell = 0;                     // sheet cell 0..63
    int32_t blend = 0;                    // 0 alpha blending, 1 additive
    int32_t preset = 0;
};

struct SparkQueueEntry {
    float x = 0, y = 0;
    float rotation = 0;                   // degrees
    float size = 0;
    uint32_t argb = 0;
    int32_t blend = 0;
    int32_t cell = 0;
};

struct SparkEmitter {
    float durationMs = kSparkEmitterMs;
    float timeLeftMs = 0;                 // active while above 0
    float x = 0, y = 0;
    int32_t kind = 0;                     // 2 or 3
    int32_t lastStep = -1;                // trunc(steps x u) at the previous ring
};

struct SparkSystem {
    std::array<Spark, kMaxSparks> sparks;
    int nextSpark = 0;

    std::array<SparkQueueEntry, kMaxSparkQueue> queue;
    int queueCount = 0;
    int droppedEntries = 0;               // entries of this frame that did not fit

    std::array<SparkEmitter, kMaxSparkEmitters> emitters;
    int nextEmitter = 0;

    // Use of the pools since start-up (or the last reset).
    base::PoolUse sparkUse, queueUse, emitterUse;
};

inline SparkSystem g_sparks;

// Takes the next ring slot and sets it from the preset. Presets outside
// 0..17 spawn nothing.
void spawnSpark(SparkSystem& s, float x, float y, int preset);
// n sparks at (x, y) + offset, the offset turned by 360 / n after each.
void sparkRing(SparkSystem& s, float x, float y, float offsetX, float offsetY, int n, int preset);
// A spark every `step` units from (x0, y0) to (x1, y1), both ends included.
void sparkLine(SparkSystem& s, float x0, float y0, float x1, float y1, float step, int preset);
// Kinds: 0 small star ring, 1 puff ring, 2 and 3 spiralling emitters at
// (x0, y0), 4 a trail from (x0, y0) to (x1, y1) ending in a shower. Other
// kinds do nothing.
void sparkBurst(SparkSystem& s, float x0, float y0, float x1, float y1, int kind);
inline void sparkBurstAt(SparkSystem& s, float x, float y, int kind) { sparkBurst(s, x, y, x, y, kind); }

// Advances emitters and sparks by dtMs and queues what is visible (each
// spark as it was before the advance), after what is already queued.
void updateSparks(SparkSystem& s, float dtMs);
// The frame's step: a fresh queue, then updateSparks.
void stepSparks(SparkSystem& s, float dtMs);
// Draws the queue in order; drawing only reads, so a frame drawn twice
// looks the same twice.
void drawSparks(const SparkSystem& s);
// Draws the queue and empties it (tools that draw without a step).
void drawSparkQueue(SparkSystem& s);
void resetSparks(SparkSystem& s);
int activeSparkCount(const SparkSystem& s);

// The process-wide system, in the words the game uses.
inline void spawnSpark(float x, float y, int preset) { spawnSpark(g_sparks, x, y, preset); }
inline void sparkBurst(float x0, float y0, float x1, float y1, int kind) {
    sparkBurst(g_sparks, x0, y0, x1, y1, kind);
}
inline void sparkBurstAt(float x, float y, int kind) { sparkBurst(g_sparks, x, y, x, y, kind); }
inline void resetSparks() { resetSparks(g_sparks); }
inline void stepSparks(float dtMs) { stepSparks(g_sparks, dtMs); }
inline void drawSparks() { drawSparks(g_sparks); }

}  // namespace tessaly::fx
