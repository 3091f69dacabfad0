// Lightning bolts and beams: jagged glowing lines between two points, used
// when a bomb or a chain connects balls. A bolt is a random polyline from its
// start to its end, drawn as camera-facing ribbons (beams) with additive
// blending and the texture "flare.jpg": one straight glow from end to end and
// one thin ribbon per segment. The texture is looked up in the cache when
// drawn; without it the ribbons are drawn untextured. Bolts live for one drawn frame: the game adds
// the bolts it wants each frame, drawing empties the table, so a lasting bolt
// is regenerated and jitters every frame.
//
// Capacity: kMaxBolts per frame (further bolts of the frame are ignored),
// kMaxBoltSegments per bolt (longer bolts get longer segments).
// Depends on: drawing primitives, the camera's viewing direction, random.
#pragma once

#include <array>
#include <cstdint>

#include "base/math.h"
#include "base/pool_use.h"

namespace tessaly::gfx {

constexpr int kMaxBolts = 63;            // a bomb connects at most a few dozen balls
constexpr int kMaxBoltSegments = 100;

struct Bolt {
    base::Vec3 points[kMaxBoltSegments + 1] = {};
    int count = 0;                        // segments; points[0..count]
    uint32_t segmentColor = 0;            // ARGB
    uint32_t glowColor = 0;               // ARGB
    float segmentWidth = 0;               // half-width of each segment ribbon
    float glowWidth = 0;                  // half-width of the straight glow
};

struct Bolts {
    std::array<Bolt, kMaxBolts> bolts;
    int count = 0;
    base::PoolUse use;   // a bolt that does not fit the full table is dropped
};

inline Bolts g_bolts;

// Adds a bolt unless the table is full or start and end coincide (no
// direction to build it on). Returns whether it was added.
bool addBolt(Bolts& b, base::Vec3 start, base::Vec3 end, float step, float segmentWidth, float glowWidth,
             float jitter, uint32_t segmentColor, uint32_t glowColor);
// Draws the table; only reads. A screen empties and refills the table in
// its step (bolts are rebuilt every frame, with fresh jitter).
void drawBolts(const Bolts& b);
inline void clearBolts(Bolts& b) {
    b.use.noteLive(b.count);
    b.count = 0;
}
// Draws and empties (tools that draw as they go).
inline void drawBoltQueue(Bolts& b) {
    drawBolts(b);
    clearBolts(b);
}

// One camera-facing ribbon from p to q with the current texture.
void drawBeam(base::Vec3 p, base::Vec3 q, float halfWidth, uint32_t argb);

inline bool addBolt(base::Vec3 start, base::Vec3 end, float step, float segmentWidth, float glowWidth,
                    float jitter, uint32_t segmentColor, uint32_t glowColor) {
    return addBolt(g_bolts, start, end, step, segmentWidth, glowWidth, jitter, segmentColor, glowColor);
}
inline void drawBolts() { drawBolts(g_bolts); }
inline void clearBolts() { clearBolts(g_bolts); }

}  // namespace tessaly::gfx
